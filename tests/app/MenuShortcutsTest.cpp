#include "Registry.h"
#include "ScriptedUserInterface.h"
#include "SettingsHome.h"
#include "UnitMain.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMap>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QTest>
#include <QTreeView>
#include <gtest/gtest.h>

namespace {

// Runs under the offscreen platform and, as a user meets it, under xcb, whose text fields keep
// more keys for their own editing.
class MenuShortcutsTest : public ::testing::Test {
protected:
    MenuShortcutsTest()
    {
        Registry().writeBool("Option Load Files Startup", false);
        form = std::make_unique<TFormMain>();
        // The commands' own work (dialogs, files) is not wanted here: each run is only counted.
        for (QAction* action : form->menuBar()->findChildren<QAction*>()) {
            QObject::disconnect(action, &QAction::triggered, form.get(), nullptr);
            QObject::connect(action, &QAction::triggered, [this, action] { ++runs[action]; });
            if (!action->shortcut().isEmpty())
                commands.append(action);
        }
        form->show();
        form->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(form.get()));
    }

    void focus(QWidget* page, QWidget* field)
    {
        if (page)
            form->PageControlTag->setCurrentWidget(page);
        field->setFocus();
        QApplication::processEvents();
        // As with files open and selected; the page switch sets the commands' state from the list.
        for (QAction* action : form->menuBar()->findChildren<QAction*>())
            action->setEnabled(true);
    }

    SettingsHome home;
    ScriptedUserInterface messages;
    std::unique_ptr<TFormMain> form;
    QList<QAction*> commands;
    QMap<QAction*, int> runs;
};

TEST_F(MenuShortcutsTest, EveryShortcutRunsItsCommandWhateverFieldHasTheFocusAndLeavesTheTextAlone)
{
    ASSERT_EQ(commands.size(), 28);
    const struct {
        QWidget* page;
        QWidget* field;
        std::function<QString()> text;
    } fields[] = {
        {form->TabSheetV1, form->EditTitleV1, [&] { return form->EditTitleV1->text(); }},
        {form->TabSheetV1, form->EditYearV1, [&] { return form->EditYearV1->text(); }},
        {form->TabSheetV2, form->MemoCommentV2, [&] { return form->MemoCommentV2->toPlainText(); }},
        {form->TabSheetV2, form->cbGenreV2, [&] { return form->cbGenreV2->currentText(); }},
        {nullptr, form->vtgrid, [] { return QString(); }},
    };
    form->EditTitleV1->setText("A title");
    form->EditYearV1->setText("2004");
    form->MemoCommentV2->setPlainText("A comment");
    form->cbGenreV2->setEditText("A genre");
    for (const auto& field : fields) {
        focus(field.page, field.field);
        const QString text = field.text();
        for (QAction* command : std::as_const(commands)) {
            // Inside a text field Ctrl+A selects the text, as everywhere on the desktop.
            if (command == form->miSelectAll && field.field != form->vtgrid)
                continue;
            runs.clear();
            QTest::keySequence(field.field, command->shortcut());
            EXPECT_EQ(runs.value(command), 1) << command->text().toStdString() << " in "
                                              << field.field->metaObject()->className();
            EXPECT_EQ(field.text(), text) << command->text().toStdString();
        }
    }
}

TEST_F(MenuShortcutsTest, AltAndTheUnderlinedLetterOfAMenuTitleOpensTheMenu)
{
    const std::pair<Qt::Key, QMenu*> titles[] = {{Qt::Key_F, form->menuFile},     {Qt::Key_E, form->menuEdit},
                                                 {Qt::Key_I, form->menuFields},   {Qt::Key_P, form->menuPlaylist},
                                                 {Qt::Key_T, form->menuTools},    {Qt::Key_H, form->Help1}};
    focus(form->TabSheetV1, form->EditTitleV1);
    for (const auto& [key, menu] : titles) {
        QTest::keyClick(form->EditTitleV1, key, Qt::AltModifier);
        EXPECT_TRUE(menu->isVisible()) << menu->title().toStdString();
        menu->hide();
    }
}

// The key of an item's or a title's underlined letter.
Qt::Key letterOf(const QAction* action)
{
    return QKeySequence::mnemonic(action->text())[0].key();
}

TEST_F(MenuShortcutsTest, AltAndATitlesLetterThenAnItemsUnderlinedLetterRunsTheItem)
{
    focus(form->TabSheetV1, form->EditTitleV1);
    for (QAction* title : form->menuBar()->actions()) {
        for (QAction* item : title->menu()->actions()) {
            for (QAction* leaf : item->menu() ? item->menu()->actions() : QList<QAction*>{item}) {
                if (leaf->isSeparator())
                    continue;
                ASSERT_TRUE(letterOf(item) && letterOf(leaf)) << leaf->text().toStdString();
                runs.clear();
                QTest::keyClick(form->EditTitleV1, letterOf(title), Qt::AltModifier);
                // As with files open and selected; the menu's opening sets the commands' state.
                for (QAction* action : form->menuBar()->findChildren<QAction*>())
                    action->setEnabled(true);
                QTest::keyClick(title->menu(), letterOf(item));
                if (leaf != item)
                    QTest::keyClick(item->menu(), letterOf(leaf));
                EXPECT_EQ(runs.value(leaf), 1) << leaf->text().toStdString();
                while (QWidget* popup = QApplication::activePopupWidget())
                    popup->close();
            }
        }
    }
}

TEST_F(MenuShortcutsTest, CtrlAInATextFieldSelectsItsText)
{
    const struct {
        QWidget* page;
        QWidget* field;
        QLineEdit* edit;
    } fields[] = {
        {form->TabSheetV1, form->EditTitleV1, form->EditTitleV1},
        {form->TabSheetV2, form->cbGenreV2, form->cbGenreV2->lineEdit()},
    };
    for (const auto& field : fields) {
        field.edit->setText("A text");
        focus(field.page, field.field);
        field.edit->deselect();
        QTest::keySequence(field.field, QKeySequence::SelectAll);
        EXPECT_EQ(field.edit->selectedText(), "A text") << field.field->metaObject()->className();
        EXPECT_EQ(runs.value(form->miSelectAll), 0) << field.field->metaObject()->className();
    }
}

TEST_F(MenuShortcutsTest, TheKeyOfADisabledCommandLeavesTheTextFieldAlone)
{
    form->EditTitleV1->setText("A title");
    focus(form->TabSheetV1, form->EditTitleV1);
    form->EditTitleV1->setCursorPosition(2);
    for (QAction* command : std::as_const(commands))
        command->setEnabled(false);
    for (QAction* command : std::as_const(commands)) {
        if (command == form->miSelectAll)
            continue;
        QTest::keySequence(form->EditTitleV1, command->shortcut());
        EXPECT_EQ(form->EditTitleV1->text().toStdString(), "A title") << command->text().toStdString();
        EXPECT_EQ(form->EditTitleV1->cursorPosition(), 2) << command->text().toStdString();
    }
    EXPECT_TRUE(runs.isEmpty());
}

}  // namespace
