#include "QtUserInterface.h"
#include "UnitProgressForm.h"

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

class ProgressFormTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        first.show();
        second.show();
        alreadyDisabled.show();
        alreadyDisabled.setEnabled(false);
    }

    QWidget first;
    QWidget second;
    QWidget alreadyDisabled;
    QWidget hidden;
};

TEST_F(ProgressFormTest, SetupProgressSetsTheBarAndTheCancelButtonAndClearsTheFlag)
{
    TFormProgress progress;
    progress.Cancelled = true;
    progress.SetupProgress(2, 1, 9, 3, false);
    EXPECT_FALSE(progress.Cancelled);
    EXPECT_EQ(progress.ProgressBar1->minimum(), 1);
    EXPECT_EQ(progress.ProgressBar1->maximum(), 9);
    EXPECT_EQ(progress.ProgressBar1->value(), 2);
    progress.ProgressBar1->StepIt();
    EXPECT_EQ(progress.ProgressBar1->value(), 5);
    EXPECT_TRUE(progress.btnCancel->isHidden());
    progress.SetupProgress(0, 0, 4, 1, true);
    EXPECT_FALSE(progress.btnCancel->isHidden());
}

TEST_F(ProgressFormTest, HasItsLayout)
{
    TFormProgress progress;
    EXPECT_EQ(progress.windowTitle(), "Please wait...");
    // As designed, but Cancel no smaller than the style makes a button, and the window wider by as much.
    const int wider = std::max(45, progress.btnCancel->sizeHint().width()) - 45;
    EXPECT_EQ(progress.size(), QSize(323 + wider, 99));
    EXPECT_EQ(progress.lbMsg->text(), "Please wait");
    EXPECT_EQ(progress.lbMsg->geometry(), QRect(8, 24, 256, 49));
    EXPECT_EQ(progress.btnCancel->text(), "Cancel");
    EXPECT_EQ(progress.btnCancel->geometry(), QRect(272, 25, 45 + wider, 33));
    EXPECT_EQ(progress.ProgressBar1->geometry(), QRect(0, 83, 323 + wider, 16));
    EXPECT_FALSE(progress.windowFlags() & Qt::WindowCloseButtonHint);
}

TEST_F(ProgressFormTest, ShowingDisablesEveryOtherVisibleWindowAndOnlyThose)
{
    TFormProgress progress;
    progress.SetupProgress(0, 0, 3, 1, true);
    progress.ShowProgress();
    EXPECT_TRUE(progress.isVisible());
    EXPECT_TRUE(progress.isEnabled());
    EXPECT_FALSE(first.isEnabled());
    EXPECT_FALSE(second.isEnabled());
    EXPECT_TRUE(hidden.isEnabled());
    EXPECT_EQ(progress.DisabledWindows.size(), 2);
    progress.CloseProgress();
}

TEST_F(ProgressFormTest, CancelSetsTheFlagHidesTheWindowAndEnablesExactlyTheDisabledWindows)
{
    TFormProgress progress;
    progress.SetupProgress(0, 0, 3, 1, true);
    progress.ShowProgress();
    QTest::mouseClick(progress.btnCancel, Qt::LeftButton);
    EXPECT_TRUE(progress.Cancelled);
    EXPECT_FALSE(progress.isVisible());
    EXPECT_TRUE(first.isEnabled());
    EXPECT_TRUE(second.isEnabled());
    EXPECT_FALSE(alreadyDisabled.isEnabled());
}

TEST_F(ProgressFormTest, EscapeCancelsWhereThereIsACancelButton)
{
    TFormProgress progress;
    progress.SetupProgress(0, 0, 1, 1, false);
    progress.ShowProgress();
    QTest::keyClick(&progress, Qt::Key_Escape);
    EXPECT_FALSE(progress.Cancelled);
    progress.SetupProgress(0, 0, 3, 1, true);
    QTest::keyClick(&progress, Qt::Key_Escape);
    EXPECT_TRUE(progress.Cancelled);
    EXPECT_TRUE(first.isEnabled());
}

TEST_F(ProgressFormTest, ClosingAfterCancelOrTwiceEnablesTheWindowsOnlyOnce)
{
    TFormProgress progress;
    progress.SetupProgress(0, 0, 3, 1, true);
    progress.ShowProgress();
    progress.btnCancelClick();
    // Something else disables the window afterwards; the later closes must not undo that.
    first.setEnabled(false);
    progress.CloseProgress();
    progress.CloseProgress();
    EXPECT_FALSE(first.isEnabled());
    EXPECT_TRUE(second.isEnabled());
}

TEST_F(ProgressFormTest, ACloseRequestIsRefusedAndTheOthersStayDisabled)
{
    TFormProgress progress;
    progress.SetupProgress(0, 0, 3, 1, true);
    progress.ShowProgress();
    EXPECT_FALSE(progress.close());
    EXPECT_TRUE(progress.isVisible());
    EXPECT_FALSE(first.isEnabled());
    EXPECT_FALSE(progress.Cancelled);
    progress.CloseProgress();
}

TEST_F(ProgressFormTest, CancelTakesAClickAboveAModalDialog)
{
    QDialog lookup;
    lookup.setWindowModality(Qt::ApplicationModal);
    lookup.show();
    TFormProgress progress;
    progress.SetupProgress(0, 0, 3, 1, true);
    progress.ShowProgress();
    // Through the window system, where a window blocked by a modal one gets no input.
    QTest::mouseClick(progress.windowHandle(), Qt::LeftButton, {}, progress.btnCancel->geometry().center());
    EXPECT_TRUE(progress.Cancelled);
}

TEST_F(ProgressFormTest, ADeletedWindowIsSkippedWhenEnabling)
{
    TFormProgress progress;
    auto transient = std::make_unique<QWidget>();
    transient->show();
    progress.ShowProgress();
    transient.reset();
    progress.CloseProgress();
    EXPECT_TRUE(first.isEnabled());
}

TEST_F(ProgressFormTest, AMessageOfTheBatchLeavesCancelInSightAndInReach)
{
    ui::QtUserInterface userInterface;
    TFormProgress progress;
    progress.SetupProgress(0, 0, 3, 1, true);
    progress.ShowProgress();
    const QRect cancel(progress.btnCancel->mapToGlobal(QPoint(0, 0)), progress.btnCancel->size());
    QTimer::singleShot(0, [&] {
        QWidget* box = nullptr;
        for (QWidget* window : QApplication::topLevelWidgets())
            box = window->isVisible() && qobject_cast<QMessageBox*>(window) ? window : box;
        ASSERT_TRUE(box);
        EXPECT_FALSE(box->frameGeometry().intersects(cancel));
        // Through the window system, where a window blocked by a modal one gets no input.
        QTest::mouseClick(progress.windowHandle(), Qt::LeftButton, {}, progress.btnCancel->geometry().center());
        box->close();
    });
    userInterface.messageBox("Cannot save tag v1 of 'a.mp3'.", ui::Icon::Error, ui::Buttons::Ok, "Corvane");
    EXPECT_TRUE(progress.Cancelled);
}

}  // namespace
