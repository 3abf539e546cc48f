#include "FolderTree.h"
#include "Registry.h"
#include "ScriptedUserInterface.h"
#include "SettingsHome.h"
#include "TestAudio.h"
#include "UnitMain.h"
#include "UnitProgressForm.h"

#include <QApplication>
#include <QFileInfo>
#include <QGuiApplication>
#include <QScreen>
#include <QTest>
#include <QTreeView>
#include <gtest/gtest.h>

namespace {

// Records whether the main window was already visible when each progress window showed.
class ShowSpy : public QObject {
public:
    ShowSpy() { qApp->installEventFilter(this); }
    ~ShowSpy() override { qApp->removeEventFilter(this); }
    int progressShown = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Show && qobject_cast<TFormProgress*>(watched))
            ++progressShown;
        return false;
    }
};

class CommandLineTest : public ::testing::Test {
protected:
    QStringList names(const TFormMain& form) const
    {
        QStringList result;
        for (const auto& file : form.FileList)
            result.append(QFileInfo(file->FileName).fileName());
        return result;
    }

    QStringList writeFiles(const QString& folder, int count)
    {
        QStringList paths;
        for (int i = 1; i <= count; ++i)
            paths.append(writeAudio(dir, QStringLiteral("%1/song%2.mp3").arg(folder).arg(i, 2, 10, QLatin1Char('0'))));
        return paths;
    }

    SettingsHome home;
    ScriptedUserInterface messages;
    TempDir dir;
};

TEST_F(CommandLineTest, NoArgumentOpensNothingAndCentresTheWindow)
{
    TFormMain form;
    EXPECT_TRUE(form.FileList.empty());
    EXPECT_FALSE(form.isVisible());
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_LE((form.frameGeometry().center() - screen.center()).manhattanLength(), 2);
}

TEST_F(CommandLineTest, OneFileIsOpenedAfterTheWindowIsShownAndStaysWhenTheTreeReports)
{
    const QStringList paths = writeFiles("a", 1);
    writeFiles("start", 2);
    Registry().writeString("Default Folder Open", dir.filePath("start"));
    TFormMain form({paths.first(), "/no/such/path"});
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(names(form), QStringList({"song01.mp3"}));
    QTest::qWait(FolderTree::changeDelay + 100);
    EXPECT_EQ(names(form), QStringList({"song01.mp3"}));
    EXPECT_TRUE(messages.messages.isEmpty());
}

TEST_F(CommandLineTest, WithFilesKeptTheFirstFolderChosenInTheTreeIsLoaded)
{
    Registry().writeBool("Option Load Files Startup", false);
    writeFiles("start", 2);
    writeFiles("other", 1);
    Registry().writeString("Default Folder Open", dir.filePath("start"));
    TFormMain form(writeFiles("a", 1));
    form.VETreeMain->browseTo(dir.filePath("other"));
    ASSERT_TRUE(QTest::qWaitFor([&form] { return form.FileList.size() == 1 && form.FileList[0]->FileName.contains("/other/"); }, 30000));
    ASSERT_EQ(form.FileList.size(), 1u);
    EXPECT_TRUE(form.FileList[0]->FileName.contains("/other/"));
}

TEST_F(CommandLineTest, AFileWhoseReadRaisesIsReportedAndTheWindowStillStarts)
{
    const QString damaged = dir.write("cut.mp3", "ID3\x03");
    const QStringList after = writeFiles("a", 1);
    TFormMain form({damaged, after.first()});
    EXPECT_TRUE(form.isVisible());
    EXPECT_TRUE(form.FileList.empty());
    ASSERT_FALSE(messages.messages.isEmpty());
    EXPECT_TRUE(messages.messages.last().text.contains("cut.mp3"));
    EXPECT_EQ(messages.messages.last().icon, ui::Icon::Error);
}

TEST_F(CommandLineTest, OneFolderAloneIsSelectedInTheTreeNotScanned)
{
    writeFiles("folder", 2);
    TFormMain form({dir.filePath("folder")});
    EXPECT_TRUE(form.FileList.empty());
    EXPECT_EQ(form.VETreeMain->selectedPath(), dir.filePath("folder"));
}

TEST_F(CommandLineTest, TwoFoldersAreScannedWithSubfoldersInArgumentOrder)
{
    writeFiles("two", 1);
    writeFiles("one/inner", 2);
    TFormMain form({dir.filePath("two"), dir.filePath("one")});
    EXPECT_EQ(names(form), QStringList({"song01.mp3", "song01.mp3", "song02.mp3"}));
    EXPECT_TRUE(form.FileList[1]->FileName.contains("/one/inner/"));
}

TEST_F(CommandLineTest, TwentySixFilesShowTheProgressWindowAndTwentyFiveDoNot)
{
    const QStringList paths = writeFiles("many", 26);
    {
        ShowSpy spy;
        TFormMain form(paths);
        EXPECT_EQ(form.FileList.size(), 26u);
        EXPECT_EQ(spy.progressShown, 1);
    }
    ShowSpy spy;
    TFormMain form(paths.mid(0, 25));
    EXPECT_EQ(form.FileList.size(), 25u);
    EXPECT_EQ(spy.progressShown, 0);
}

TEST_F(CommandLineTest, SortAfterOpenSortsTheOpenedFilesByName)
{
    Registry().writeBool("Option Sort After Open", true);
    const QStringList paths = writeFiles("s", 3);
    TFormMain form({paths[2], paths[0], paths[1]});
    EXPECT_EQ(names(form), QStringList({"song01.mp3", "song02.mp3", "song03.mp3"}));
}

}  // namespace
