#include "Registry.h"
#include "ScriptedUserInterface.h"
#include "SettingsHome.h"
#include "TestAudio.h"
#include "UnitDecode.h"
#include "UnitEncode.h"
#include "UnitMain.h"
#include "UnitOptions.h"

#include <QApplication>
#include <QMenu>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QToolBar>
#include <QTreeView>
#include <gtest/gtest.h>

namespace {

// The controls in the order Tab reaches them, from the one that has the focus.
QList<QWidget*> tabChain(QWidget* window)
{
    window->show();
    window->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(window));
    QList<QWidget*> chain{QApplication::focusWidget()};
    while (chain.first() && chain.size() < 100) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        if (QApplication::focusWidget() == chain.first())
            break;
        chain.append(QApplication::focusWidget());
    }
    return chain;
}

// Whether a step of Tab goes down or right: in the innermost box that holds both controls, the part
// that holds the second stands lower, or level with the other and further right.
bool goesDownOrRight(const QWidget* from, const QWidget* to)
{
    while (!from->parentWidget()->isAncestorOf(to))
        from = from->parentWidget();
    while (to->parentWidget() != from->parentWidget())
        to = to->parentWidget();
    const QRect a = from->geometry(), b = to->geometry();
    const bool level = a.top() < b.bottom() && b.top() < a.bottom();
    return level ? b.left() > a.left() : b.top() > a.top();
}

class KeyboardTest : public ::testing::Test {
protected:
    SettingsHome home;
    ScriptedUserInterface messages;
};

TEST_F(KeyboardTest, TabFollowsTheLayoutOfTheDialogsTopToBottomAndLeftToRight)
{
    const EncoderFolderSource folders = [] { return EncoderFolders{"/", "/"}; };
    TFormEncode encode(folders);
    TFormDecode decode(folders);
    TFormOptions options;
    const auto check = [](QWidget* window) {
        const QList<QWidget*> chain = tabChain(window);
        for (qsizetype step = 1; step < chain.size(); ++step)
            EXPECT_TRUE(goesDownOrRight(chain[step - 1], chain[step]))
                << window->windowTitle().toStdString() << ": " << chain[step - 1]->metaObject()->className() << " to "
                << chain[step]->metaObject()->className() << " " << chain[step]->accessibleName().toStdString();
    };
    check(&encode);
    check(&decode);
    for (int page = 0; page < options.PageControlOptions->count(); ++page) {
        options.PageControlOptions->setCurrentIndex(page);
        options.PageControlOptions->tabBar()->setFocus();
        check(&options);
    }
}

TEST_F(KeyboardTest, TheGridsPopupOpensAtTheSelectedRowFromTheMenuKeyAndShiftF10AndTheFirstDownSelectsTheFirstRow)
{
    Registry().writeBool("Option Load Files Startup", false);
    TempDir dir;
    TFormMain form;
    form.OpenFiles({writeAudio(dir, "a.mp3"), writeAudio(dir, "b.mp3"), writeAudio(dir, "c.mp3")}, false);
    tabChain(&form);
    form.vtgrid->setFocus(Qt::TabFocusReason);
    QTest::keyClick(form.vtgrid, Qt::Key_Down);
    EXPECT_EQ(form.gridSelectedRows(), QList<int>{0});
    QTest::keyClick(form.vtgrid, Qt::Key_Down);
    const QRect row = form.vtgrid->visualRect(form.vtgridModel->index(1, 3));
    for (const QKeyCombination key : {QKeyCombination(Qt::Key_Menu), Qt::ShiftModifier | Qt::Key_F10}) {
        QTest::keyClick(form.vtgrid, key.key(), key.keyboardModifiers());
        EXPECT_TRUE(form.Popup->isVisible());
        EXPECT_EQ(form.Popup->y(), form.vtgrid->viewport()->mapToGlobal(row.bottomLeft()).y());
        form.Popup->hide();
    }
}

TEST_F(KeyboardTest, TabPassesTheToolButtonsBy)
{
    TFormMain form;
    for (const QWidget* control : tabChain(&form))
        EXPECT_NE(control->parentWidget(), form.ToolBar1) << control->toolTip().toStdString();
}

}  // namespace
