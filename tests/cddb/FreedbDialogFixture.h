#pragma once

#include "CddbTestServer.h"
#include "ScriptedUserInterface.h"
#include "TempDir.h"
#include "UnitGetAlbumFreedb.h"
#include "UnitID3Tag.h"

#include <QTimer>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

// What the album write showed in its progress window.
struct ProgressLog {
    bool shown = false;
    bool closed = false;
    qint32 maximum = -1;
    QStringList messages;
    int steps = 0;
    int cancelAfterSteps = -1;   // the user presses Cancel once this many files are done
};

class RecordingProgress : public TFreedbProgress {
public:
    explicit RecordingProgress(ProgressLog& log) : log(log) {}
    void SetupProgress(qint32, qint32, qint32 Max, qint32, bool) override { log.maximum = Max; }
    void ShowProgress() override { log.shown = true; }
    void ShowMessage(const QString& Text) override { log.messages << Text; }
    void StepIt() override { ++log.steps; }
    bool Cancelled() const override { return log.cancelAfterSteps >= 0 && log.steps >= log.cancelAfterSteps; }
    void CloseProgress() override { log.closed = true; }

private:
    ProgressLog& log;
};

// The lookup dialog over opened files, a scripted server on 127.0.0.1 and a recording main window.
class FreedbDialog : public ::testing::Test {
protected:
    // Files in memory with the given lengths; enough for a lookup.
    void openLengths(const QList<qint32>& lengths);
    // Real files in the temporary folder, each from the bytes given.
    void openFiles(const QList<QByteArray>& contents);
    // The dialog over the opened files, shown as the main window shows it.
    TFormFreedb& showForm(const QString& portSetting = QString());

    QString queryLine() const;
    // A lookup whose one exact match reads an entry with these titles.
    void lookUpTitles(const QStringList& titles);

    // Runs the action on the next modal window that opens (the chooser).
    void onNextModal(std::function<void(QWidget*)> action);
    QList<QWidget*> modalsSeen;

    ScriptedUserInterface userInterface;
    CddbTestServer server;
    TempDir dir;
    std::vector<std::unique_ptr<TMpegFile>> files;
    QStringList stoppedFor;
    int reloads = 0;
    ProgressLog progress;
    bool leadingZero = false;
    bool addTotalTracks = false;
    std::unique_ptr<TFormFreedb> form;

private:
    std::unique_ptr<QTimer> modalWatch;
};

// An MPEG file of a few silent frames, with the tags given before and after it.
QByteArray audioFile(const QByteArray& id3v2 = QByteArray(), const QByteArray& id3v1 = QByteArray());

// The cell texts of a grid column for the track rows.
QStringList columnOf(const TFormFreedb& form, int column);
