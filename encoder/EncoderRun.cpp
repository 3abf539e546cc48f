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
#include <memory>

namespace {

// Starts the encoder without a window and waits, events flowing, until it ends or Cancel is
// pressed; the program's quitting ends every event loop, this wait included. False when the
// encoder cannot be started. A process the wait leaves behind finishes its file by itself.
bool runOnce(const LameCommand& command, TFormProgress* progress, QObject* owner)
{
    auto* process = new QProcess(owner);
    process->setStandardInputFile(QProcess::nullDevice());
    process->setStandardOutputFile(QProcess::nullDevice());
    process->setStandardErrorFile(QProcess::nullDevice());
    process->start(programFolder() + QStringLiteral("lame"), lameArguments(command));
    if (!process->waitForStarted()) {
        delete process;
        return false;
    }
    QObject::connect(process, &QProcess::finished, process, &QObject::deleteLater);

    QEventLoop wait;
    QObject::connect(process, &QProcess::finished, &wait, &QEventLoop::quit);
    QObject::connect(progress->btnCancel, &QPushButton::clicked, &wait, &QEventLoop::quit);
    wait.exec();
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
            if (!runOnce(commandFor(inputs.at(k)), progress.get(), owner)) {
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
