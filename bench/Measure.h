#pragma once

// Timing a piece of work several times and printing the results as a table a person reads at a
// glance: minimum and median of the runs, the median per item, and the ratio to the section's
// first row.

#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

// The seconds each run of `work` took.
std::vector<double> timeRuns(int repeats, const std::function<void()>& work);
// The same for several pieces of work run in turn, one run of each per round, so that whatever
// else the machine does at some moment weighs on all of them alike. `beforeEach`, when given, runs
// untimed before every run.
std::vector<std::vector<double>> timeRunsInTurn(int repeats, const std::vector<std::function<void()>>& works,
                                                const std::function<void()>& beforeEach = {});

class ResultTable {
public:
    void section(const QString& title);
    // `items` is what one run handles (files, rows), for the per-item column.
    void row(const QString& name, const std::vector<double>& runs, int items, const QString& itemName);
    void note(const QString& text);
    void print() const;

private:
    QStringList lines;
    double sectionReference = 0;
    bool columnsShown = false;
};

// The process's resident memory now and at its peak since the last reset, in bytes.
qint64 residentBytes();
qint64 peakResidentBytes();
// Starts the peak over from the present size (Linux 4.0 and later); false where that is refused.
bool resetPeakResident();
