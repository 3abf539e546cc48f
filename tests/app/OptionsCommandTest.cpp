#include "FileSizeLimit.h"
#include "Registry.h"
#include "ScriptedUserInterface.h"
#include "SettingsHome.h"
#include "UnitMain.h"
#include "UnitOptions.h"
#include "UnitRenamingFormats.h"

#include <QCheckBox>
#include <QFile>
#include <QListWidget>
#include <QPushButton>
#include <QSettings>
#include <QSplitter>
#include <QTimer>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

class OptionsCommand : public ::testing::Test {
protected:
    OptionsCommand()
    {
        for (QToolButton* button : playerButtons())
            button->setEnabled(false);
    }

    // Runs the Options command; inside() acts on the shown dialog before OK or Cancel.
    void runOptions(const std::function<void()>& inside, bool ok)
    {
        QTimer::singleShot(0, &options, [&, ok] {
            inside();
            (ok ? options.btnOk : options.btnCancel)->click();
        });
        form.miOptionsClick();
    }

    QList<QToolButton*> playerButtons() { return {form.ToolBtnPlay, form.ToolBtnPause, form.ToolBtnStop}; }

    int storedValueCount() const { return static_cast<int>(QSettings(home.settingsFile(), QSettings::IniFormat).allKeys().size()); }

    SettingsHome home;
    ScriptedUserInterface script;
    TFormMain form;
    TFormOptions options;
    TFormRenamingFormats renamingFormats;
};

}  // namespace

TEST_F(OptionsCommand, UnchangedOkWritesTheValuesAndEnablesThePlayerButtons)
{
    QFile::remove(home.settingsFile());
    runOptions([] {}, true);
    EXPECT_EQ(storedValueCount(), 44);
    for (QToolButton* button : playerButtons())
        EXPECT_TRUE(button->isEnabled());
    EXPECT_EQ(form.PanelTopLeft->parentWidget(), form.Splitter1);
}

TEST_F(OptionsCommand, CancelKeepsTheSettingsAndTheButtons)
{
    const bool before = form.OptionKeepTimestamp;
    runOptions([&] { options.cbKeepTimestamp->setChecked(!before); }, false);
    EXPECT_EQ(form.OptionKeepTimestamp, before);
    for (QToolButton* button : playerButtons())
        EXPECT_FALSE(button->isEnabled());
}

TEST_F(OptionsCommand, OkStoresIntoTheMainWindowAndTheSettingsKey)
{
    runOptions([&] { options.cbKeepTimestamp->setChecked(true); }, true);
    EXPECT_TRUE(form.OptionKeepTimestamp);
    EXPECT_EQ(Registry().readBool("Option Keep Timestamp"), true);
}

TEST_F(OptionsCommand, ChangedLayoutBoxMovesTheFolderTreeAtOnce)
{
    form.show();
    form.OptionExplorerFull = false;
    runOptions([&] { options.cbExplorerFullLeft->setChecked(true); }, true);
    EXPECT_TRUE(form.OptionExplorerFull);
    EXPECT_EQ(form.PanelTopLeft->parentWidget(), form.PanelRightForFullTree);
}

TEST_F(OptionsCommand, RenamingFormatsStayAfterTheOptionsAreCancelled)
{
    form.RenameFormats = {"#ARTIST#"};
    runOptions([&] {
        QTimer::singleShot(0, &renamingFormats, [&] {
            renamingFormats.ListBoxFormats->addItem("#TITLE#");
            renamingFormats.btnOk->click();
        });
        options.btnEditformats->click();
    }, false);
    EXPECT_EQ(form.RenameFormats, QStringList({"#ARTIST#", "#TITLE#"}));
    EXPECT_EQ(form.RenameFormat2, "#TITLE#");
    EXPECT_EQ(Registry().readString("Rename Format 2"), "#TITLE#");
    EXPECT_EQ(Registry().readString("Rename Format 10"), "");
}

TEST_F(OptionsCommand, ValuesThatCannotBeStoredAreToldAndEndTheCommand)
{
    form.RenameFormats = {"#ARTIST#"};
    const QByteArray before = readAll(home.settingsFile());
    {
        const FileSizeLimit limit;
        runOptions([&] {
            QTimer::singleShot(0, &renamingFormats, [&] { renamingFormats.btnOk->click(); });
            options.btnEditformats->click();
        }, true);
    }
    EXPECT_EQ(script.texts(), QStringList({"Failed to set data for 'Rename Format 1'",
                                           "Failed to set data for 'Option Remember Size'"}));
    for (QToolButton* button : playerButtons())
        EXPECT_FALSE(button->isEnabled());
    EXPECT_EQ(readAll(home.settingsFile()), before);
}
