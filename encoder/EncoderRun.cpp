#include "EncoderRun.h"

#include "EncoderProcess.h"
#include "ProgramFolder.h"
#include "RunOutput.h"
#include "UnitProgressForm.h"
#include "UnitUtilities.h"
#include "UserInterface.h"

#include <QApplication>
#include <QEventLoop>
#include <QFileInfo>
#include <QLabel>
#include <QTimer>
#include <memory>

namespace {

enum class RunResult { NotStarted, Written, Failed, NameTaken, Unknown };

RunResult resultOf(RunOutput::Placed placed)
{
    switch (placed) {
    case RunOutput::Placed::Written: return RunResult::Written;
    case RunOutput::Placed::NameTaken: return RunResult::NameTaken;
    case RunOutput::Placed::Failed: break;
    }
    return RunResult::Failed;
}

// Runs the encoder on one file and waits for it until it ends or Cancel is pressed. A run that
// fails, or writes no audio, leaves no part of an output behind. A run left by Cancel finishes on
// its own, unjudged, and its file takes the output's name when it ends, if the program still runs.
RunResult runOnce(const LameCommand& command, TFormProgress* progress)
{
    RunOutput output(command.output);
    if (!output.create())
        return RunResult::Failed;
    LameCommand ownCommand = command;
    ownCommand.output = output.path();
    EncoderProcess encoder;
    if (!encoder.start(programFolder() + QStringLiteral("lame"), lameArguments(ownCommand))) {
        output.discard();
        return RunResult::NotStarted;
    }
    switch (encoder.wait(progress->btnCancel)) {
    case EncoderProcess::End::StillRunning:
        encoder.whenEndedLater([output](bool succeeded) {
            if (succeeded)
                output.place();
            else
                output.discard();
        });
        return RunResult::Unknown;
    case EncoderProcess::End::Succeeded:
        return resultOf(output.place());
    case EncoderProcess::End::Failed:
        output.discard();
        break;
    }
    return RunResult::Failed;
}

// Once the program is told to quit, every event loop of the thread returns at once, also one begun
// later, so a wait would no longer wait: a loop that ends before its own timer tells it.
bool programQuitting()
{
    QEventLoop loop;
    bool ran = false;
    QTimer::singleShot(0, &loop, [&] {
        ran = true;
        loop.quit();
    });
    loop.exec();
    return !ran;
}

// A file of that name, or a link, even one to nothing, which the encoder would write through.
bool isTaken(const QString& path)
{
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

void reportFailure(TFormProgress* progress, const LameRunTexts& texts, const QString& name)
{
    progress->hide();
    ui::showMessage(QStringLiteral("Cannot ") + texts.verb + QStringLiteral(" '") + name + QStringLiteral("'."));
    progress->show();
    progress->ProgressBar1->StepIt();
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

// The run inside its progress window; gives the inputs skipped because their output name is taken.
QStringList runEach(QWidget* owner, const QStringList& inputs, const LameRunTexts& texts,
                    const std::function<LameCommand(const QString& input)>& commandFor)
{
    const auto progress = std::make_unique<TFormProgress>();
    const RunEnd end(owner, progress.get());
    const auto count = inputs.size();
    progress->SetupProgress(0, 0, static_cast<int>(count), 1, true);
    progress->ShowProgress();

    QStringList skipped;
    // The program's end cancels the run as Cancel does.
    for (qsizetype k = 0; k < count && !programQuitting() && !progress->Cancelled; ++k) {
        const QString name = QFileInfo(inputs.at(k)).fileName();
        try {
            progress->setWindowTitle(texts.activity + QStringLiteral("...%1/%2").arg(k + 1).arg(count));
            progress->lbMsg->setText(texts.activity + QStringLiteral(" '") + name + QStringLiteral("'."));
            progress->repaint();
            const LameCommand command = commandFor(inputs.at(k));
            // The encoder would replace it without a word, and it may be the user's own file.
            if (isTaken(command.output)) {
                skipped << name;
                progress->ProgressBar1->StepIt();
                continue;
            }
            switch (runOnce(command, progress.get())) {
            case RunResult::NotStarted:
                ui::showMessage(QStringLiteral("Error executing LAME.EXE!"));
                continue;
            case RunResult::Failed:
                reportFailure(progress.get(), texts, name);
                continue;
            case RunResult::NameTaken:
                skipped << name;
                break;
            case RunResult::Written:
            case RunResult::Unknown:
                break;
            }
            progress->ProgressBar1->StepIt();
            Delay(100);
        } catch (const std::exception&) {
            reportFailure(progress.get(), texts, name);
        }
    }
    return skipped;
}

}  // namespace

void restoreDefaultCursor()
{
    while (QApplication::overrideCursor())
        QApplication::restoreOverrideCursor();
}

void runLame(QWidget* owner, const QStringList& inputs, const LameRunTexts& texts,
             const std::function<LameCommand(const QString& input)>& commandFor)
{
    const QStringList skipped = runEach(owner, inputs, texts, commandFor);
    if (!skipped.isEmpty())
        ui::showMessage(QStringLiteral("These files were not %1d, as the output folder already holds a file of "
                                       "their output's name:\n'%2'")
                            .arg(texts.verb, skipped.join(QStringLiteral("'\n'"))),
                        ui::Icon::Warning);
}
