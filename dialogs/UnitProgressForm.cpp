#include "UnitProgressForm.h"

#include "QtUserInterface.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

TFormProgress::TFormProgress()
    : QWidget(nullptr, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    setWindowTitle(QStringLiteral("Please wait..."));
    // Above a modal dialog only the newest modal window takes input.
    setWindowModality(Qt::ApplicationModal);

    ProgressBar1 = new TProgressBar(this);
    ProgressBar1->setTextVisible(false);

    lbMsg = new QLabel(QStringLiteral("Please wait"), this);
    lbMsg->setGeometry(8, 24, 256, 49);
    lbMsg->setAlignment(Qt::AlignCenter);
    lbMsg->setWordWrap(true);

    btnCancel = new QPushButton(QStringLiteral("Cancel"), this);
    connect(btnCancel, &QPushButton::clicked, this, &TFormProgress::btnCancelClick);

    // As designed, and wider by as much as Cancel needs to show itself whole at this desktop's font.
    const QSize cancel = QSize(45, 33).expandedTo(btnCancel->sizeHint());
    setFixedSize(323 + cancel.width() - 45, 99);
    btnCancel->setGeometry(272, 25, cancel.width(), cancel.height());
    ProgressBar1->setGeometry(0, height() - 16, width(), 16);

    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

TFormProgress::~TFormProgress()
{
    enableDisabledWindows();
}

void TFormProgress::SetupProgress(qint32 Position, qint32 Min, qint32 Max, qint32 Step, bool ShowCancel)
{
    Cancelled = false;
    ProgressBar1->setValue(Position);
    ProgressBar1->setMinimum(Min);
    ProgressBar1->setMaximum(Max);
    ProgressBar1->Step = Step;
    btnCancel->setVisible(ShowCancel);
}

void TFormProgress::ShowProgress()
{
    // Only windows the user can reach are taken, so that exactly these are enabled again.
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window == this || !window->isWindow() || !window->isVisible() || !window->isEnabled())
            continue;
        window->setEnabled(false);
        DisabledWindows.append(window);
    }
    show();
    raise();
    activateWindow();
    // The batch's messages stand beside the window, whose Cancel stays in reach between them.
    ui::setBatchWindow(this);
}

void TFormProgress::CloseProgress()
{
    enableDisabledWindows();
    hide();
}

void TFormProgress::btnCancelClick()
{
    Cancelled = true;
    CloseProgress();
}

void TFormProgress::closeEvent(QCloseEvent* event)
{
    // The batch is still running: closing would enable the program mid-batch and lose Cancel.
    event->ignore();
}

void TFormProgress::keyPressEvent(QKeyEvent* event)
{
    // Esc answers as Cancel does, where there is a Cancel.
    if (event->matches(QKeySequence::Cancel) && !btnCancel->isHidden()) {
        btnCancel->click();
        return;
    }
    QWidget::keyPressEvent(event);
}

void TFormProgress::enableDisabledWindows()
{
    for (const QPointer<QWidget>& window : std::as_const(DisabledWindows)) {
        if (window)
            window->setEnabled(true);
    }
    DisabledWindows.clear();
}
