#include "FileSizeLimit.h"
#include "Playlist.h"
#include "QStringPrinter.h"
#include "TempDir.h"
#include "TextFile.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

// Restores the current folder a test changes.
class CurrentFolder {
public:
    explicit CurrentFolder(const QString& folder) : previous(QDir::currentPath()) { QDir::setCurrent(folder); }
    ~CurrentFolder() { QDir::setCurrent(previous); }

private:
    QString previous;
};

}  // namespace

TEST(Playlist, KindComesFromTheExtensionIgnoringCase)
{
    EXPECT_EQ(playlistKind("/a/list.m3u"), PlaylistKind::M3U);
    EXPECT_EQ(playlistKind("/a/LIST.Pls"), PlaylistKind::PLS);
    EXPECT_EQ(playlistKind("/a/list.txt"), PlaylistKind::Other);
    EXPECT_EQ(playlistKind("/a.m3u/list"), PlaylistKind::Other);
}

TEST(Playlist, EntryIsTheBareNameRelativeBelowAndAbsoluteElsewhere)
{
    EXPECT_EQ(playlistEntryPath("/music/lists/all.m3u", "/music/lists/a.mp3"), "a.mp3");
    EXPECT_EQ(playlistEntryPath("/music/lists/all.m3u", "/music/lists/sub/deeper/b.mp3"), "sub/deeper/b.mp3");
    EXPECT_EQ(playlistEntryPath("/music/lists/all.m3u", "/music/other/c.mp3"), "/music/other/c.mp3");
    EXPECT_EQ(playlistEntryPath("/music/lists/all.m3u", "/music/listsmore/d.mp3"), "/music/listsmore/d.mp3");
    EXPECT_EQ(playlistEntryPath("/music/lists/all.m3u", "/music/lists/../e.mp3"), "/music/e.mp3");
    EXPECT_EQ(playlistEntryPath("/all.m3u", "/music/f.mp3"), "music/f.mp3");
}

TEST(Playlist, FoldersAreComparedExactly)
{
    EXPECT_EQ(playlistEntryPath("/music/Lists/all.m3u", "/music/lists/a.mp3"), "/music/lists/a.mp3");
}

TEST(Playlist, PlsListsTheEntriesBetweenHeaderAndCount)
{
    TempDir dir;
    const QString playlist = dir.filePath("list.pls");
    ASSERT_TRUE(writePlaylist(playlist, {dir.filePath("a.mp3"), dir.filePath("sub/b.mp3")}));
    EXPECT_EQ(readAll(playlist), "[playlist]\r\nFile1=a.mp3\r\nFile2=sub/b.mp3\r\nNumberOfEntries=2\r\nVersion=2\r\n");
}

TEST(Playlist, M3uHoldsOnlyTheEntryLinesInUtf8)
{
    TempDir dir;
    const QString playlist = dir.filePath("list.M3U");
    const QString name = QString::fromUtf8("\xd0\x9c\xd1\x83\xd0\xb7\xd1\x8b\xd0\xba\xd0\xb0.mp3");
    ASSERT_TRUE(writePlaylist(playlist, {dir.filePath(name), "/elsewhere/c.mp3"}));
    EXPECT_EQ(readAll(playlist), name.toUtf8() + "\r\n/elsewhere/c.mp3\r\n");
}

TEST(Playlist, AnotherExtensionIsNoPlaylistAndLeavesTheFileAlone)
{
    TempDir dir;
    const QString playlist = dir.write("list.txt", "old content");
    EXPECT_FALSE(writePlaylist(playlist, {dir.filePath("a.mp3")}));
    EXPECT_EQ(readAll(playlist), "old content");
}

TEST(Playlist, APlaylistThatCannotBeCreatedThrows)
{
    TempDir dir;
    EXPECT_THROW(writePlaylist(dir.filePath("missing/list.m3u"), {dir.filePath("a.mp3")}), TextFileError);
}

TEST(Playlist, AWriteErrorIsReportedAsFalseWithItsReasonAndTheEarlierFileStays)
{
    TempDir dir;
    for (const char* name : {"old.m3u", "old.pls"}) {
        const QString playlist = dir.write(name, "earlier");
        const FileSizeLimit limit;
        QString reason;
        EXPECT_FALSE(writePlaylist(playlist, {dir.filePath("a long name.mp3")}, &reason));
        EXPECT_EQ(reason, "File too large");
        EXPECT_EQ(readAll(playlist), "earlier");
    }
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList({"old.m3u", "old.pls"}));
}

TEST(Playlist, PlsReadingTakesEveryLineBeginningWithFile)
{
    TempDir dir;
    const QString x = dir.write("x.mp3", "x");
    const QString y = dir.write("sub/y.mp3", "y");
    const QString playlist = dir.write("list.pls",
                                       "[playlist]\r\n"
                                       "File12=\r\n"
                                       "Filename=x.mp3\r\n"
                                       "file2=x.mp3\r\n"
                                       "File3 sub/y.mp3\r\n"
                                       "Title1=x.mp3\r\n"
                                       "File4=missing.mp3\r\n"
                                       "File5=sub/y.mp3\r\n"
                                       "NumberOfEntries=5\r\n"
                                       "Version=2\r\n");
    QStringList paths;
    ASSERT_TRUE(readPlaylist(playlist, paths));
    EXPECT_EQ(paths, QStringList({x, y}));
}

TEST(Playlist, PlsValueIsNotTrimmed)
{
    TempDir dir;
    dir.write("x.mp3", "x");
    const QString playlist = dir.write("list.pls", "File1= x.mp3\nFile2=x.mp3 \n");
    QStringList paths;
    ASSERT_TRUE(readPlaylist(playlist, paths));
    EXPECT_TRUE(paths.isEmpty());
}

TEST(Playlist, ExtendedM3uReadsOnlyThePathLines)
{
    TempDir dir;
    const QString a = dir.write("a.mp3", "a");
    const QString b = dir.write("sub/b.mp3", "b");
    const QString playlist = dir.write("list.m3u",
                                       "#EXTM3U\r\n"
                                       "#EXTINF:245,Band - Song\r\n"
                                       "a.mp3\r\n"
                                       "\r\n"
                                       "#EXTINF:60,Band - Other\r\n" +
                                           b.toUtf8() + "\r\n");
    QStringList paths;
    ASSERT_TRUE(readPlaylist(playlist, paths));
    EXPECT_EQ(paths, QStringList({a, b}));
}

TEST(Playlist, ARelativeEntryIsLookedForBesideThePlaylistFirst)
{
    TempDir lists;
    TempDir current;
    const QString beside = lists.write("a.mp3", "a");
    current.write("a.mp3", "a");
    const QString onlyInCurrent = current.write("b.mp3", "b");
    const QString playlist = lists.write("list.m3u", "a.mp3\nb.mp3\n");
    CurrentFolder inCurrent(current.path());
    QStringList paths;
    ASSERT_TRUE(readPlaylist(playlist, paths));
    EXPECT_EQ(paths, QStringList({beside, onlyInCurrent}));
}

TEST(Playlist, AnAbsoluteEntryIsNotJoinedToThePlaylistFolder)
{
    TempDir dir;
    const QString outside = dir.write("music/a.mp3", "a");
    dir.write("lists/" + outside, "decoy");
    const QString playlist = dir.write("lists/list.m3u", outside.toUtf8() + "\n");
    QStringList paths;
    ASSERT_TRUE(readPlaylist(playlist, paths));
    EXPECT_EQ(paths, QStringList({outside}));
}

TEST(Playlist, WrittenPlaylistsReadBackTheSameFilesAndNoOther)
{
    TempDir dir;
    const QStringList files = {dir.write(QStringLiteral("lists/\uFEFFsong.mp3"), "s"), dir.write("lists/a.mp3", "a"),
                               dir.write("lists/sub/b.mp3", "b"), dir.write("music/c.mp3", "c"),
                               dir.write("lists/#1 hit.mp3", "d")};
    // Names a line break would split into entries naming these decoys.
    dir.write("lists/B/line.mp3", "decoy");
    dir.write("lists/other.mp3", "decoy");
    const QStringList unholdable = {dir.write("lists/A\nB/line.mp3", "e"), dir.write("lists/x\r\nFile1=other.mp3", "f")};
    for (const char* name : {"lists/all.m3u", "lists/all.pls"}) {
        const QString playlist = dir.filePath(name);
        ASSERT_TRUE(writePlaylist(playlist, files + unholdable));
        QStringList paths;
        ASSERT_TRUE(readPlaylist(playlist, paths));
        EXPECT_EQ(paths, files) << name;
        EXPECT_EQ(filesThePlaylistCannotHold(playlist, unholdable + files), unholdable) << name;
    }
}

TEST(Playlist, AnotherKindReadsNothing)
{
    TempDir dir;
    dir.write("a.mp3", "a");
    const QString playlist = dir.write("list.txt", "a.mp3\r\n");
    QStringList paths = {"left over"};
    ASSERT_TRUE(readPlaylist(playlist, paths));
    EXPECT_TRUE(paths.isEmpty());
}

TEST(Playlist, APlaylistThatCannotBeOpenedThrows)
{
    TempDir dir;
    QStringList paths;
    EXPECT_THROW(readPlaylist(dir.filePath("missing.m3u"), paths), TextFileError);
}

TEST(Playlist, AReadErrorGivesNoPath)
{
    TempDir dir;
    const QString playlist = dir.filePath("unreadable.m3u");
    // Reading a process's memory from its start fails with an input/output error.
    ASSERT_TRUE(QFile::link("/proc/self/mem", playlist));
    QStringList paths = {"left over"};
    EXPECT_FALSE(readPlaylist(playlist, paths));
    EXPECT_TRUE(paths.isEmpty());
}

TEST(Playlist, AnythingButARegularFileIsNotOpened)
{
    TempDir dir;
    const QString fifo = dir.filePath("list.m3u");
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const QString device = dir.filePath("zero.m3u");
    ASSERT_TRUE(QFile::link("/dev/zero", device));
    for (const QString& playlist : {fifo, device, dir.path()}) {
        QStringList paths;
        EXPECT_THROW(readPlaylist(playlist, paths), TextFileError) << playlist.toStdString();
    }
}

TEST(Playlist, APlaylistOfMoreThan64MegabytesIsNotRead)
{
    TempDir dir;
    dir.write("a.mp3", "a");
    const QString playlist = dir.write("list.m3u", "a.mp3\n");
    ASSERT_TRUE(QFile::resize(playlist, 64 * 1024 * 1024 + 1));
    QStringList paths;
    EXPECT_FALSE(readPlaylist(playlist, paths));
    EXPECT_TRUE(paths.isEmpty());
}

TEST(Playlist, BinaryBytesAreSkippedWithoutWarnings)
{
    TempDir dir;
    const QString a = dir.write("a.mp3", "a");
    QByteArray bytes("a.mp3\n");
    for (int i = 0; i < 4096; ++i)
        bytes.append(char(i * 7919 % 251));
    bytes.append("\na.mp3\n");
    const QString playlist = dir.write("list.m3u", bytes);
    static QStringList warnings;
    const QtMessageHandler previous =
        qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString& text) { warnings << text; });
    QStringList paths;
    const bool read = readPlaylist(playlist, paths);
    qInstallMessageHandler(previous);
    EXPECT_TRUE(read);
    EXPECT_EQ(paths, QStringList({a, a}));
    EXPECT_TRUE(warnings.isEmpty()) << warnings.value(0).toStdString();
}
