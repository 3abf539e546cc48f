#include "Measure.h"

#include <QFile>
#include <algorithm>
#include <chrono>
#include <cstdio>

std::vector<double> timeRuns(int repeats, const std::function<void()>& work)
{
    return timeRunsInTurn(repeats, {work}).front();
}

std::vector<std::vector<double>> timeRunsInTurn(int repeats, const std::vector<std::function<void()>>& works,
                                                const std::function<void()>& beforeEach)
{
    std::vector<std::vector<double>> runs(works.size());
    for (int i = 0; i < repeats; ++i) {
        for (size_t w = 0; w < works.size(); ++w) {
            if (beforeEach)
                beforeEach();
            const auto start = std::chrono::steady_clock::now();
            works[w]();
            runs[w].push_back(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
        }
    }
    return runs;
}

namespace {

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const size_t middle = values.size() / 2;
    return values.size() % 2 != 0 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

QString readable(double seconds)
{
    if (seconds >= 1)
        return QString::number(seconds, 'f', 2) + QStringLiteral(" s");
    if (seconds >= 1e-3)
        return QString::number(seconds * 1e3, 'f', 1) + QStringLiteral(" ms");
    return QString::number(seconds * 1e6, 'f', 1) + QStringLiteral(" us");
}

constexpr int NameWidth = 58;

qint64 statusValue(const char* key)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(key))
            return line.mid(qsizetype(qstrlen(key))).trimmed().split(' ').value(0).toLongLong() * 1024;
    }
    return -1;
}

}  // namespace

void ResultTable::section(const QString& title)
{
    lines.append(QString());
    lines.append(title);
    sectionReference = 0;
    columnsShown = false;
}

void ResultTable::row(const QString& name, const std::vector<double>& runs, int items, const QString& itemName)
{
    if (!columnsShown) {
        lines.append(QStringLiteral("  %1 %2 %3 %4 %5")
                         .arg(QStringLiteral("row"), -NameWidth)
                         .arg(QStringLiteral("min"), 10)
                         .arg(QStringLiteral("median"), 10)
                         .arg(QStringLiteral("per item"), 16)
                         .arg(QStringLiteral("ratio"), 7));
        columnsShown = true;
    }
    const double middle = median(runs);
    if (sectionReference == 0)
        sectionReference = middle;
    const double least = *std::min_element(runs.begin(), runs.end());
    lines.append(QStringLiteral("  %1 %2 %3 %4 %5")
                         .arg(name, -NameWidth)
                         .arg(readable(least), 10)
                         .arg(readable(middle), 10)
                         .arg(readable(middle / std::max(items, 1)) + QLatin1Char('/') + itemName, 16)
                         .arg(QString::number(middle / sectionReference, 'f', 2) + QLatin1Char('x'), 7));
}

void ResultTable::note(const QString& text)
{
    lines.append(QStringLiteral("  ") + text);
}

void ResultTable::print() const
{
    for (const QString& line : lines)
        std::printf("%s\n", line.toUtf8().constData());
    std::fflush(stdout);
}

qint64 residentBytes()
{
    return statusValue("VmRSS:");
}

qint64 peakResidentBytes()
{
    return statusValue("VmHWM:");
}

bool resetPeakResident()
{
    QFile clearRefs(QStringLiteral("/proc/self/clear_refs"));
    return clearRefs.open(QIODevice::WriteOnly) && clearRefs.write("5") == 1;
}
