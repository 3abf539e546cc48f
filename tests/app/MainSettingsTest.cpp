#include "FileSizeLimit.h"
#include "Registry.h"
#include "ScriptedUserInterface.h"
#include "SettingsHome.h"
#include "Application.h"
#include "UnitMain.h"

#include <QCheckBox>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QSettings>
#include <QTreeView>
#include <gtest/gtest.h>

namespace {

// Every value of the settings key with the default a first start writes; the folders are the
// program folder, filled in by the test.
struct Default {
    const char* name;
    const char* stored;
};

const Default defaults[] = {
    {"Option Remember Size", "1"}, {"Option Remember Position", "0"}, {"Option Remember Cols Width", "0"},
    {"Option Sort After Open", "0"}, {"Option Select Next Row", "1"}, {"Option Focus Grid", "1"},
    {"Option Add Total Tracks", "1"}, {"Option Leading Zero", "1"}, {"Option Convert V22", "1"},
    {"Option Explorer Full", "0"}, {"Option Keep Timestamp", "0"}, {"Option Load Files Startup", "1"},
    {"Option Recurse Folder", "1"}, {"Form Fullscreen", "0"}, {"Form Pos X", nullptr}, {"Form Pos Y", nullptr},
    {"Form Width", "771"}, {"Form Height", "564"}, {"Cols Width", ""}, {"Panel Top Left Width", "175"},
    {"Rename Case", "0"}, {"Rename Format", "rdTrackArtistTitle"}, {"Rename Format User", "rdArtistTitle"},
    {"Rename Replace Space", "0"}, {"Recurse Folder Explorer", "0"}, {"Rename Format 1", ""},
    {"Rename Format 2", ""}, {"Rename Format 3", ""}, {"Rename Format 4", ""}, {"Rename Format 5", ""},
    {"Rename Format 6", ""}, {"Rename Format 7", ""}, {"Rename Format 8", ""}, {"Rename Format 9", ""},
    {"Rename Format 10", ""}, {"Option Guess Tag", "1"}, {"Option Invalid Char", "-"},
    {"Guess Format", "#ARTIST# - #TITLE#"}, {"Guess Format1", "#ARTIST# - #TITLE#"}, {"Guess Format2", ""},
    {"Guess Format3", ""}, {"Guess Format4", ""}, {"Guess Format5", ""}, {"Option Generate Playlist", "1"},
    {"Option Invalid Char Playlist", "-"}, {"Playlist Format", "#ARTIST# - #ALBUM#"},
    {"Playlist Format1", "#ARTIST# - #ALBUM#"}, {"Playlist Format2", ""}, {"Playlist Format3", ""},
    {"Playlist Format4", ""}, {"Playlist Format5", ""}, {"Default Folder Open", "<program>"},
    {"Default Folder Playlist", "<program>"}, {"Default Folder Enc", "<program>"},
    {"Default Folder Dec", "<program>"}, {"Freedb Server", "gnudb.gnudb.org"}, {"Freedb Port", "8880"},
    {"Export Fields", ""}, {"Dictionary Words", ""}, {"Use Grid Colors", "0"}, {"Color No Tag", "-16777211"},
    {"Color V1", "-16777211"}, {"Color V2", "-16777211"}, {"Color V1 V2", "-16777211"},
};

QString stored(const QString& name)
{
    return Registry().readString(name).value_or(QStringLiteral("<missing>"));
}

void store(const QString& name, const QString& value)
{
    Registry().writeString(name, value);
}

class MainSettingsTest : public ::testing::Test {
protected:
    SettingsHome home;
    ScriptedUserInterface messages;
};

TEST_F(MainSettingsTest, FirstStartWritesAllSixtyFourValuesWithTheirDefaults)
{
    ASSERT_FALSE(QFile::exists(home.settingsFile()));
    TFormMain form;
    QSettings file(home.settingsFile(), QSettings::IniFormat);
    EXPECT_EQ(file.allKeys().size(), 64);
    ASSERT_EQ(std::size(defaults), 64u);
    for (const Default& value : defaults) {
        SCOPED_TRACE(value.name);
        if (!value.stored)
            EXPECT_TRUE(Registry().readInteger(value.name).has_value());
        else if (QString::fromLatin1(value.stored) == "<program>")
            EXPECT_EQ(stored(value.name), home.programPath());
        else
            EXPECT_EQ(stored(value.name), QString::fromLatin1(value.stored));
    }
    EXPECT_TRUE(messages.messages.isEmpty());
}

TEST_F(MainSettingsTest, FieldsTakeTheDefaultsOnAFirstStart)
{
    TFormMain form;
    EXPECT_TRUE(form.OptionRememberSize);
    EXPECT_FALSE(form.OptionRememberPosition);
    EXPECT_TRUE(form.OptionLoadFilesStartup);
    EXPECT_EQ(form.FormWidth, 771);
    EXPECT_EQ(form.FormHeight, 564);
    EXPECT_EQ(form.PanelTopLeftWidth, 175);
    EXPECT_EQ(form.GuessFormat1, "#ARTIST# - #TITLE#");
    EXPECT_EQ(form.DefaultFolderEnc, home.programPath());
    EXPECT_EQ(form.FreedbServer, "gnudb.gnudb.org");
    EXPECT_EQ(form.FreedbPort, "8880");
    EXPECT_EQ(form.ColorV1V2, static_cast<qint32>(0xFF000005u));
    EXPECT_TRUE(form.RenameFormats.isEmpty());
    EXPECT_EQ(form.size(), QSize(771, 564));
}

TEST_F(MainSettingsTest, ADeletedValueIsRecreatedWhileTheOthersKeepTheirs)
{
    { TFormMain first; }
    store("Freedb Port", "9000");
    QSettings(home.settingsFile(), QSettings::IniFormat).remove("Rename Case");
    ASSERT_EQ(stored("Rename Case"), "<missing>");
    TFormMain second;
    EXPECT_EQ(stored("Rename Case"), "0");
    EXPECT_EQ(second.RenameCase, "0");
    EXPECT_EQ(second.FreedbPort, "9000");
    EXPECT_EQ(stored("Freedb Port"), "9000");
}

TEST_F(MainSettingsTest, RenameFormatsHoldTheNonEmptyFormatsWithoutGaps)
{
    store("Rename Format 1", "#ARTIST# - #TITLE#");
    store("Rename Format 2", "");
    store("Rename Format 3", "#TRACK# #TITLE#");
    TFormMain form;
    EXPECT_EQ(form.RenameFormats, QStringList({"#ARTIST# - #TITLE#", "#TRACK# #TITLE#"}));
    EXPECT_EQ(form.RenameFormat3, "#TRACK# #TITLE#");
}

TEST_F(MainSettingsTest, AMissingFirstGuessFormatCopiesTheStoredGuessFormat)
{
    store("Guess Format", "#TITLE#");
    store("Playlist Format", "#ALBUM#");
    TFormMain form;
    EXPECT_EQ(stored("Guess Format1"), "#TITLE#");
    EXPECT_EQ(form.GuessFormat1, "#TITLE#");
    EXPECT_EQ(stored("Playlist Format1"), "#ALBUM#");
}

TEST_F(MainSettingsTest, AValueOfAnotherTypeIsReadAsItsDefaultAndRewritten)
{
    store("Form Width", "wide");
    store("Option Keep Timestamp", "yes");
    QSettings(home.settingsFile(), QSettings::IniFormat).setValue("Freedb Server", QStringList({"a", "b"}));
    TFormMain form;
    EXPECT_EQ(form.FormWidth, 771);
    EXPECT_EQ(stored("Form Width"), "771");
    EXPECT_FALSE(form.OptionKeepTimestamp);
    EXPECT_EQ(stored("Option Keep Timestamp"), "0");
    EXPECT_EQ(form.FreedbServer, "gnudb.gnudb.org");
    EXPECT_EQ(stored("Freedb Server"), "gnudb.gnudb.org");
}

TEST_F(MainSettingsTest, AnyNonZeroNumberIsTrue)
{
    store("Option Keep Timestamp", "7");
    TFormMain form;
    EXPECT_TRUE(form.OptionKeepTimestamp);
}

TEST_F(MainSettingsTest, AKeyThatCannotBeOpenedLeavesEveryFieldEmptyWithoutAMessage)
{
    TempDir blocked;
    // The settings folder's place is taken by a file, so the key can be neither read nor created.
    blocked.write("Corvane", "not a folder");
    qputenv("XDG_CONFIG_HOME", blocked.path().toLocal8Bit());
    TFormMain form;
    EXPECT_FALSE(form.OptionRememberSize);
    EXPECT_FALSE(form.OptionGuessTag);
    EXPECT_EQ(form.FormWidth, 0);
    EXPECT_EQ(form.ColorNoTag, 0);
    EXPECT_EQ(form.FreedbServer, QString());
    EXPECT_EQ(form.DefaultFolderOpen, QString());
    EXPECT_TRUE(form.RenameFormats.isEmpty());
    form.show();
    form.close();
    EXPECT_TRUE(messages.messages.isEmpty());
}

TEST_F(MainSettingsTest, CloseWritesTheWindowValues)
{
    store("Option Recurse Folder", "0");
    TFormMain form;
    form.show();
    form.resize(820, 500);
    form.move(40, 30);
    form.chkSubfolders->setChecked(true);
    form.OptionRecurseFolder = true;
    form.close();
    EXPECT_EQ(stored("Option Recurse Folder"), "1");
    EXPECT_EQ(stored("Form Fullscreen"), "0");
    EXPECT_EQ(stored("Form Width"), "820");
    EXPECT_EQ(stored("Form Height"), "500");
    EXPECT_EQ(stored("Form Pos X"), QString::number(form.x()));
    EXPECT_EQ(stored("Form Pos Y"), QString::number(form.y()));
    EXPECT_EQ(stored("Panel Top Left Width"), QString::number(form.PanelTopLeft->width()));
    EXPECT_EQ(stored("Recurse Folder Explorer"), "1");
}

TEST_F(MainSettingsTest, WindowValuesThatCannotBeStoredAtCloseAreToldOnce)
{
    TFormMain form;
    form.show();
    const QByteArray before = readAll(home.settingsFile());
    {
        const FileSizeLimit limit;
        form.close();
    }
    EXPECT_EQ(messages.texts(), QStringList({"Failed to set data for 'Option Recurse Folder'"}));
    EXPECT_EQ(readAll(home.settingsFile()), before);
}

TEST_F(MainSettingsTest, CloseWhileMaximizedWritesFullscreenAndKeepsWidthAndHeight)
{
    store("Form Width", "640");
    store("Form Height", "400");
    store("Form Pos X", "-5");
    TFormMain form;
    form.showMaximized();
    form.close();
    EXPECT_EQ(stored("Form Fullscreen"), "1");
    EXPECT_EQ(stored("Form Width"), "640");
    EXPECT_EQ(stored("Form Height"), "400");
    EXPECT_EQ(stored("Form Pos X"), QString::number(form.x()));
}

TEST_F(MainSettingsTest, RememberedPositionAndFullscreenStartMaximized)
{
    store("Option Remember Position", "1");
    store("Form Fullscreen", "1");
    TFormMain form;
    EXPECT_TRUE(form.windowState() & Qt::WindowMaximized);
}

TEST_F(MainSettingsTest, RememberedSizeIsApplied)
{
    store("Form Width", "790");
    store("Form Height", "460");
    TFormMain form;
    EXPECT_EQ(form.size(), QSize(790, 460));
}

TEST_F(MainSettingsTest, ARememberedSizeBeyondTheDesktopIsCutToIt)
{
    store("Form Width", "2000000000");
    store("Form Height", "900000");
    TFormMain form;
    const QSize desktop = QGuiApplication::primaryScreen()->availableVirtualSize();
    EXPECT_LE(form.width(), desktop.width());
    EXPECT_LE(form.height(), desktop.height());
    // Its frame too: the title bar and the status bar both in sight.
    form.show();
    EXPECT_TRUE(QGuiApplication::primaryScreen()->availableGeometry().contains(form.frameGeometry()));
}

TEST_F(MainSettingsTest, ARememberedPositionOffTheScreenIsBroughtOntoIt)
{
    store("Option Remember Position", "1");
    store("Form Width", "500");
    store("Form Height", "300");
    // One within the screen stays where it was.
    for (const QPoint position : {QPoint(2500, 1500), QPoint(-3000, -2000), QPoint(600, 400), QPoint(40, 30)}) {
        store("Form Pos X", QString::number(position.x()));
        store("Form Pos Y", QString::number(position.y()));
        TFormMain form;
        form.show();
        EXPECT_TRUE(QGuiApplication::primaryScreen()->availableGeometry().contains(form.frameGeometry()));
        EXPECT_EQ(form.pos() == position, position == QPoint(40, 30)) << position.x();
    }
}

TEST_F(MainSettingsTest, AStoredFolderPanelWidthOfAnySizeKeepsThePanelInTheWindow)
{
    for (const char* width : {"2147483647", "-2147483648"}) {
        SCOPED_TRACE(width);
        store("Panel Top Left Width", width);
        TFormMain form;
        form.show();
        EXPECT_GE(form.PanelTopLeft->width(), 0);
        EXPECT_LE(form.PanelTopLeft->width(), form.width());
    }
}

TEST_F(MainSettingsTest, ColsWidthIsNotWrittenWithoutTheOption)
{
    store("Cols Width", "1 2 3");
    TFormMain form;
    form.show();
    form.close();
    EXPECT_EQ(stored("Cols Width"), "1 2 3");
}

TEST_F(MainSettingsTest, ColsWidthIsWrittenAndRestoredWithTheOption)
{
    store("Option Remember Cols Width", "1");
    store("Cols Width", "60 25 25 130 140 150 160 45 55 105 260");
    {
        TFormMain form;
        form.show();
        EXPECT_EQ(form.vtgrid->columnWidth(4), 140);
        form.vtgrid->setColumnWidth(5, 90);
        form.close();
    }
    EXPECT_EQ(stored("Cols Width"), "60 25 25 130 140 90 160 45 55 105 260");
}

TEST_F(MainSettingsTest, ExtraColsWidthNumbersAreIgnored)
{
    store("Option Remember Cols Width", "1");
    store("Cols Width", "50 25 25 131 132 133 134 41 51 101 251 999 abc");
    TFormMain form;
    form.show();
    EXPECT_EQ(form.vtgrid->columnWidth(3), 131);
    EXPECT_EQ(form.vtgrid->columnWidth(10), 251);
    EXPECT_TRUE(messages.messages.isEmpty());
    EXPECT_EQ(form.sbMainPanels[1]->text(), "Corvane v2.3");
}

TEST_F(MainSettingsTest, AColsWidthPieceThatIsNoNumberIsReportedAndEndsTheShowSteps)
{
    store("Option Remember Cols Width", "1");
    store("Cols Width", "50 25 25 abc 132");
    TFormMain form;
    deliverShowingErrors([&form] {
        form.FormShow();
        return true;
    });
    ASSERT_EQ(messages.messages.size(), 1);
    EXPECT_EQ(messages.messages[0].text, "'abc' is not a valid integer value");
    EXPECT_EQ(messages.messages[0].icon, ui::Icon::Error);
    EXPECT_EQ(form.sbMainPanels[1]->text(), QString());
}

}  // namespace
