#include "ScriptedUserInterface.h"
#include "TempDir.h"
#include "UnitUtilities.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QStringList listed(const QString& folder, bool recursive, const QString& mask = QStringLiteral("*.mp3"))
{
    QStringList list;
    ListFiles(folder, mask, list, recursive);
    return list;
}

QStringList sorted(QStringList list)
{
    list.sort();
    return list;
}

}  // namespace

TEST(ListFilesTest, EmptyFolderNameClearsTheList)
{
    QStringList list = {QStringLiteral("left over")};
    ListFiles(QString(), QStringLiteral("*.mp3"), list, true);
    EXPECT_TRUE(list.isEmpty());
}

TEST(ListFilesTest, MissingFolderAddsNothing)
{
    TempDir dir;
    QStringList list = {QStringLiteral("left over")};
    ListFiles(dir.filePath(QStringLiteral("missing")), QStringLiteral("*.mp3"), list, true);
    EXPECT_TRUE(list.isEmpty());
}

TEST(ListFilesTest, MaskMatchesTheExtensionInAnyCaseAndHiddenFiles)
{
    TempDir dir;
    dir.write(QStringLiteral("a.mp3"), "x");
    dir.write(QStringLiteral("SONG.MP3"), "x");
    dir.write(QStringLiteral(".hidden.mp3"), "x");
    dir.write(QStringLiteral("cover.jpg"), "x");
    dir.write(QStringLiteral("b.mp3.txt"), "x");
    QDir(dir.path()).mkdir(QStringLiteral("folder.mp3"));

    const QString base = dir.path() + QLatin1Char('/');
    EXPECT_EQ(sorted(listed(dir.path(), false)),
              QStringList({base + ".hidden.mp3", base + "SONG.MP3", base + "a.mp3"}));
}

TEST(ListFilesTest, TrailingSlashGivesTheSameEntries)
{
    TempDir dir;
    dir.write(QStringLiteral("a.mp3"), "x");
    dir.write(QStringLiteral("sub/b.mp3"), "x");
    const QStringList expected = {dir.path() + "/a.mp3", dir.path() + "/sub/b.mp3"};
    EXPECT_EQ(listed(dir.path(), true), expected);
    EXPECT_EQ(listed(dir.path() + QLatin1Char('/'), true), expected);
}

TEST(ListFilesTest, WithoutRecursionSubfoldersAreNotListed)
{
    TempDir dir;
    dir.write(QStringLiteral("a.mp3"), "x");
    dir.write(QStringLiteral("sub/b.mp3"), "x");
    EXPECT_EQ(listed(dir.path(), false), QStringList({dir.path() + "/a.mp3"}));
}

TEST(ListFilesTest, EachSubfolderIsFollowedAtOnceByItsOwnSubfolders)
{
    TempDir dir;
    dir.write(QStringLiteral("top.mp3"), "x");
    dir.write(QStringLiteral("one/one.mp3"), "x");
    dir.write(QStringLiteral("one/deep/deep.mp3"), "x");
    dir.write(QStringLiteral("one/deep/deeper/deeper.mp3"), "x");
    dir.write(QStringLiteral("two/two.mp3"), "x");
    dir.write(QStringLiteral("two/inner/inner.mp3"), "x");

    const QString base = dir.path() + QLatin1Char('/');
    const QStringList one = {base + "one/one.mp3", base + "one/deep/deep.mp3", base + "one/deep/deeper/deeper.mp3"};
    const QStringList two = {base + "two/two.mp3", base + "two/inner/inner.mp3"};
    const QStringList list = listed(dir.path(), true);
    ASSERT_EQ(list.size(), 6);
    EXPECT_EQ(list.first(), base + "top.mp3");
    // Subfolders come in the file system's order, so either branch may be first.
    EXPECT_TRUE(list.mid(1) == one + two || list.mid(1) == two + one) << list.join('\n').toStdString();
}

TEST(ListFilesTest, HiddenFoldersAreNotEntered)
{
    TempDir dir;
    dir.write(QStringLiteral(".cache/a.mp3"), "x");
    dir.write(QStringLiteral("visible/.hidden/b.mp3"), "x");
    dir.write(QStringLiteral("visible/c.mp3"), "x");
    EXPECT_EQ(listed(dir.path(), true), QStringList({dir.path() + "/visible/c.mp3"}));
}

TEST(ListFilesTest, ALinkLoopIsScannedOnce)
{
    TempDir dir;
    dir.write(QStringLiteral("a.mp3"), "x");
    dir.write(QStringLiteral("sub/b.mp3"), "x");
    ASSERT_TRUE(QFile::link(dir.path(), dir.filePath(QStringLiteral("sub/back"))));
    ASSERT_TRUE(QFile::link(dir.filePath(QStringLiteral("sub")), dir.filePath(QStringLiteral("again"))));

    const QStringList list = listed(dir.path(), true);
    EXPECT_EQ(list.count(dir.path() + "/a.mp3"), 1);
    ASSERT_EQ(list.size(), 2) << list.join('\n').toStdString();
    EXPECT_TRUE(list.contains(dir.path() + "/sub/b.mp3") || list.contains(dir.path() + "/again/b.mp3"));
}

TEST(ListFilesTest, LinkedFolderOutsideIsScanned)
{
    TempDir dir;
    TempDir elsewhere;
    elsewhere.write(QStringLiteral("far.mp3"), "x");
    ASSERT_TRUE(QFile::link(elsewhere.path(), dir.filePath(QStringLiteral("link"))));
    EXPECT_EQ(listed(dir.path(), true), QStringList({dir.path() + "/link/far.mp3"}));
}

TEST(ListFilesTest, PipesAndDevicesAreNotListed)
{
    TempDir dir;
    dir.write(QStringLiteral("a.mp3"), "x");
    ASSERT_EQ(::mkfifo(QFile::encodeName(dir.filePath(QStringLiteral("pipe.mp3"))).constData(), 0600), 0);
    EXPECT_EQ(listed(dir.path(), false), QStringList({dir.path() + "/a.mp3"}));
}

TEST(ListFilesTest, FilesWhoseNamesAreNotUtf8AreCountedInOneMessage)
{
    ScriptedUserInterface ui;
    TempDir dir;
    dir.write("ok.mp3", "a");
    QDir(dir.path()).mkdir("sub");
    // Latin-1 names, as an old archive holds them.
    const QByteArray folder = QFile::encodeName(dir.path());
    for (const QByteArray& name : {QByteArray("/Caf\xe9.mp3"), QByteArray("/sub/Na\xefve.MP3"), QByteArray("/Caf\xe9.txt")}) {
        const int fd = ::open((folder + name).constData(), O_WRONLY | O_CREAT | O_EXCL, 0644);
        ASSERT_GE(fd, 0);
        ::close(fd);
    }

    EXPECT_EQ(listed(dir.path(), true), QStringList({dir.filePath("ok.mp3")}));

    EXPECT_EQ(ui.texts(), QStringList({QStringLiteral("2 file(s) in '%1' were left out: their names are not valid UTF-8.").arg(dir.path())}));
    EXPECT_EQ(ui.messages.value(0).icon, ui::Icon::Warning);
}
