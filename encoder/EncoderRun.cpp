#include "EncoderRun.h"

#include "ProgramFolder.h"
#include "UnitProgressForm.h"
#include "UnitUtilities.h"
#include "UserInterface.h"

#include <QApplication>
#include <QEventLoop>
#include <QFileInfo>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QSocketNotifier>
#include <memory>
#include <sys/syscall.h>
#include <unistd.h>

namespace {

// The end of a detached process, which is no child of the program: a descriptor of the process
// itself becomes readable when it ends. None is had for a process gone already.
class ProcessEnd {
public:
    explicit ProcessEnd(qint64 pid)
        : descriptor(static_cast<int>(syscall(SYS_pidfd_open, static_cast<pid_t>(pid), 0)))
    {
    }
    ~ProcessEnd()
    {
        if (descriptor >= 0)
            close(descriptor);
    }
    ProcessEnd(const ProcessEnd&) = delete;
    ProcessEnd& operator=(const ProcessEnd&) = delete;

    // Waits, events flowing, until the process ends or `cancel` is clicked; the program's quitting
    // ends every event loop, this wait included.
    void wait(const QPushButton* cancel) const
    {
        if (descriptor < 0)
            return;
        const QSocketNotifier ended(descriptor, QSocketNotifier::Read);
        QEventLoop loop;
        QObject::connect(&ended, &QSocketNotifier::activated, &loop, &QEventLoop::quit);
        QObject::connect(cancel, &QPushButton::clicked, &loop, &QEventLoop::quit);
        loop.exec();
    }

private:
    int descriptor;
};

// Starts the encoder without a window, detached from the program: neither the dialog going nor the
// program quitting stops it, so a file it has begun is always finished. Waits for it until it ends
// or Cancel is pressed. False when the encoder cannot be started.
bool runOnce(const LameCommand& command, TFormProgress* progress)
{
    QProcess encoder;
    encoder.setProgram(programFolder() + QStringLiteral("lame"));
    encoder.setArguments(lameArguments(command));
    encoder.setStandardInputFile(QProcess::nullDevice());
    encoder.setStandardOutputFile(QProcess::nullDevice());
    encoder.setStandardErrorFile(QProcess::nullDevice());
    qint64 pid = 0;
    if (!encoder.startDetached(&pid))
        return false;
    ProcessEnd(pid).wait(progress->btnCancel);
    return true;
}

// Ends a run however it leaves the loop: the owner in front, the progress window closed.
class RunEnd {
public:
    RunEnd(QWidget* owner, TFormProgress* progress) : owner(owner), progress(progress) {}
    ~RunEnd()
    {
        restoreDefaultCursor();
        owner->raise();
        owner->activateWindow();
        progress->CloseProgress();
    }
    RunEnd(const RunEnd&) = delete;
    RunEnd& operator=(const RunEnd&) = delete;

private:
    QWidget* owner;
    TFormProgress* progress;
};

}  // namespace

void restoreDefaultCursor()
{
    while (QApplication::overrideCursor())
        QApplication::restoreOverrideCursor();
}

void runLame(QWidget* owner, const QStringList& inputs, const LameRunTexts& texts,
             const std::function<LameCommand(const QString& input)>& commandFor)
{
    const auto progress = std::make_unique<TFormProgress>();
    const RunEnd end(owner, progress.get());
    const auto count = inputs.size();
    progress->SetupProgress(0, 0, static_cast<int>(count), 1, true);
    progress->ShowProgress();

    for (qsizetype k = 0; k < count && !progress->Cancelled; ++k) {
        const QString name = QFileInfo(inputs.at(k)).fileName();
        try {
            progress->setWindowTitle(texts.activity + QStringLiteral("...%1/%2").arg(k + 1).arg(count));
            progress->lbMsg->setText(texts.activity + QStringLiteral(" '") + name + QStringLiteral("'."));
            progress->repaint();
            if (!runOnce(commandFor(inputs.at(k)), progress.get())) {
                ui::showMessage(QStringLiteral("Error executing LAME.EXE!"));
                continue;
            }
            progress->ProgressBar1->StepIt();
            Delay(100);
        } catch (const std::exception&) {
            progress->hide();
            ui::showMessage(QStringLiteral("Cannot ") + texts.verb + QStringLiteral(" '") + name + QStringLiteral("'."));
            progress->show();
            progress->ProgressBar1->StepIt();
        }
    }
}
