#pragma once

// One run of the outside encoder: a child of the program in a session of its own, without a
// window and with its standard streams on the null device. Neither the dialog going nor the
// program quitting stops it, so a file it has begun is always finished.

#include <QString>
#include <QStringList>
#include <functional>
#include <sys/types.h>

class QPushButton;

class EncoderProcess {
public:
    enum class End { Succeeded, Failed, StillRunning };

    EncoderProcess() = default;
    // A process still running is waited for in the background, events flowing, and then given to
    // the finisher set by whenEndedLater.
    ~EncoderProcess();
    EncoderProcess(const EncoderProcess&) = delete;
    EncoderProcess& operator=(const EncoderProcess&) = delete;

    // False when the program cannot be started.
    bool start(const QString& program, const QStringList& arguments);
    // Waits, events flowing, until the process ends or `cancel` is clicked; the program's quitting
    // ends every event loop, this wait included. Failed: ended with a failure status or a signal.
    End wait(const QPushButton* cancel);
    // What to do with the process's work when it ends after the wait: succeeded or not.
    void whenEndedLater(std::function<void(bool succeeded)> finisher) { finish = std::move(finisher); }

private:
    pid_t pid = -1;
    int descriptor = -1;   // becomes readable when the process ends
    std::function<void(bool succeeded)> finish;
};
