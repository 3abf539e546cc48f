#pragma once

// The "Please wait..." window of every batch command. The command sets it up, shows it, writes
// lbMsg, steps the bar and polls Cancelled; while it is shown the program's other windows are
// disabled, so Cancel (or Esc) is the only input the program takes, also when a modal dialog started the
// batch; a message box of the batch stands beside the window and leaves Cancel usable. A close
// request from the window frame is refused: Cancel is the only way out.
//
//     auto progress = std::make_unique<TFormProgress>();
//     progress->SetupProgress(0, 0, n, 1, true);
//     progress->ShowProgress();
//     for (...) { if (progress->Cancelled) break; progress->lbMsg->setText(...); progress->repaint(); ...
//                 progress->ProgressBar1->StepIt(); Delay(50); }
//     progress->CloseProgress();

#include <QList>
#include <QPointer>
#include <QProgressBar>
#include <QWidget>

class QLabel;
class QPushButton;

// A progress bar that advances by a fixed step.
class TProgressBar : public QProgressBar {
    Q_OBJECT
public:
    using QProgressBar::QProgressBar;
    int Step = 10;
    void StepIt() { setValue(qMin(value() + Step, maximum())); }
};

class TFormProgress : public QWidget {
    Q_OBJECT
public:
    // A top-level window of its own: a child of a window that it disables would be disabled too.
    TFormProgress();
    ~TFormProgress() override;   // hands back the windows it still holds

    // ---- components
    TProgressBar* ProgressBar1;
    QLabel* lbMsg;
    QPushButton* btnCancel;

    // ---- fields
    QList<QPointer<QWidget>> DisabledWindows;   // handed back once, then empty
    bool Cancelled = false;

    void SetupProgress(qint32 Position, qint32 Min, qint32 Max, qint32 Step, bool ShowCancel);
    void ShowProgress();
    void CloseProgress();

    // ---- handlers
    void btnCancelClick();

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void enableDisabledWindows();
};
