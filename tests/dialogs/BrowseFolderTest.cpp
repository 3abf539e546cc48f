#include "FolderTree.h"
#include "QStringPrinter.h"
#include "TempDir.h"
#include "UnitBrowseFolder.h"

#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace {

TEST(BrowseFolderTest, HasItsCaptionAndControls)
{
    TFormBrowseFolder dialog;
    EXPECT_EQ(dialog.windowTitle(), "Browse for folder");
    EXPECT_EQ(dialog.size(), QSize(334, 332));
    EXPECT_EQ(dialog.chkSubfolders->text(), "Open files in subfolders");
    EXPECT_EQ(dialog.btnOk->text(), "OK");
    EXPECT_TRUE(dialog.btnOk->isDefault());
    EXPECT_EQ(dialog.btnCancel->text(), "Cancel");
    EXPECT_TRUE(dialog.lblMsg->wordWrap());
}

TEST(BrowseFolderTest, MessageAndSubfolderBox)
{
    TFormBrowseFolder dialog;
    dialog.SetMessage("Select a folder to open.");
    EXPECT_EQ(dialog.lblMsg->text(), "Select a folder to open.");
    dialog.SetSubfolders(true);
    EXPECT_TRUE(dialog.GetSubfolders());
    dialog.SetSubfolders(false);
    EXPECT_FALSE(dialog.GetSubfolders());
}

TEST(BrowseFolderTest, ShowingSelectsTheInitialFolderIncludingHiddenOnes)
{
    TempDir temp;
    const QString folder = temp.filePath(".hidden/inner");
    ASSERT_TRUE(QDir().mkpath(folder));
    TFormBrowseFolder dialog;
    dialog.InitialFolder = folder;
    dialog.show();
    EXPECT_EQ(dialog.GetFolder(), folder);
    dialog.reject();
}

TEST(BrowseFolderTest, TheTreeListsNoHiddenFolderButTheOneOnTheWayToTheFolderItShows)
{
    TempDir temp;
    for (const char* path : {".hidden/inner", ".other", "visible"})
        ASSERT_TRUE(QDir().mkpath(temp.filePath(path)));
    FolderTree tree;
    tree.browseTo(temp.filePath(".hidden/inner"));
    const QPersistentModelIndex parent = tree.currentIndex().parent().parent();
    const auto names = [&] {
        QStringList listed;
        for (int row = 0; row < tree.model()->rowCount(parent); ++row)
            listed.append(tree.model()->index(row, 0, parent).data().toString());
        listed.sort();
        return listed;
    };
    // Both folders shown, then time for any other to arrive.
    ASSERT_TRUE(QTest::qWaitFor([&] { return names().size() >= 2; }, 30000));
    QTest::qWait(500);
    EXPECT_EQ(names(), QStringList({".hidden", "visible"}));
}

TEST(BrowseFolderTest, AMissingInitialFolderKeepsTheTreesDefaultSelection)
{
    TFormBrowseFolder dialog;
    dialog.InitialFolder = "/no/such/folder/anywhere";
    dialog.show();
    EXPECT_EQ(dialog.GetFolder(), QString());
    dialog.reject();
}

TEST(BrowseFolderTest, SelectFolderIgnoresAFileAndTakesAFolder)
{
    TempDir temp;
    const QString file = temp.write("song.mp3", "x");
    TFormBrowseFolder dialog;
    dialog.SelectFolder(file);
    EXPECT_EQ(dialog.GetFolder(), QString());
    dialog.SelectFolder(temp.path());
    EXPECT_EQ(dialog.GetFolder(), temp.path());
}

TEST(BrowseFolderTest, TheTreeReportsASelectionOnceItHasSettled)
{
    TempDir temp;
    ASSERT_TRUE(QDir().mkpath(temp.filePath("a")));
    ASSERT_TRUE(QDir().mkpath(temp.filePath("b")));
    FolderTree tree;
    int changes = 0;
    QObject::connect(&tree, &FolderTree::changed, [&changes] { ++changes; });
    tree.browseTo(temp.filePath("a"));
    tree.browseTo(temp.filePath("b"));
    EXPECT_EQ(changes, 0);
    ASSERT_TRUE(QTest::qWaitFor([&changes] { return changes > 0; }, 30000));
    QTest::qWait(FolderTree::changeDelay + 100);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(tree.selectedPath(), temp.filePath("b"));
}

TEST(BrowseFolderTest, TheBrowsedFolderStaysInViewWhileTheFoldersAboveItArrive)
{
    TempDir temp;
    for (int i = 0; i < 30; ++i)
        ASSERT_TRUE(QDir().mkpath(temp.filePath(QStringLiteral("folder%1").arg(i, 2, 10, QLatin1Char('0')))));
    FolderTree tree;
    tree.resize(200, 200);
    tree.show();
    tree.browseTo(temp.filePath("folder29"));
    const auto inView = [&tree] { return tree.viewport()->rect().contains(tree.visualRect(tree.currentIndex())); };
    ASSERT_TRUE(QTest::qWaitFor(inView, 30000));
    QTest::qWait(1000);
    EXPECT_TRUE(inView());
}

}  // namespace
