#include "AudioFixtures.h"
#include "FakeDisk.h"
#include "ScriptedUserInterface.h"
#include "TempDir.h"
#include "UnitID3Tag.h"
#include "UnitUtilities.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <functional>
#include <gtest/gtest.h>

#include <sys/stat.h>

using fixtures::ID3v2TagBuilder;

namespace {

QByteArray audio()
{
    return fixtures::mpegFrames({}, 8);
}

QByteArray text(const char* latin1)
{
    return '\0' + QByteArray(latin1);
}

TID3v2 readTag(const QString& path)
{
    TID3v2 tag;
    ReadID3v2(path, tag);
    return tag;
}

TID3v2 newTag()
{
    TID3v2 tag;
    MakeNewID3v2Header(tag);
    return tag;
}

class ID3v2WriterTest : public ::testing::Test {
protected:
    void SetUp() override { setDelayScale(0); }
    void TearDown() override { setDelayScale(1); }

    QString file(const QByteArray& bytes) { return dir.write(QStringLiteral("song.mp3"), bytes); }

    TempDir dir;
    ScriptedUserInterface ui;
};

}  // namespace

TEST_F(ID3v2WriterTest, AbsentTagWritesNothing)
{
    const QString path = file(audio());
    TID3v2 tag;
    tag.Title = QStringLiteral("Title");
    EXPECT_FALSE(WriteID3v2(tag, path));
    EXPECT_EQ(readAll(path), audio());
    EXPECT_TRUE(ui.messages.isEmpty());
}

TEST_F(ID3v2WriterTest, FileWithoutTagGetsNewTagWithPaddingBeforeTheAudio)
{
    const QString path = file(audio());
    TID3v2 tag = newTag();
    tag.Title = QStringLiteral("Song");
    tag.Artist = QStringLiteral("Band");
    tag.Album = QStringLiteral("Record");
    tag.Year = QStringLiteral("1999");
    tag.Comment = QStringLiteral("Nice");
    tag.CommentLanguage = {'e', 'n', 'g'};
    tag.Composer = QStringLiteral("Writer");
    tag.OrigArtist = QStringLiteral("First");
    tag.Url = QStringLiteral("http://example.org/");
    tag.UrlDescription = QStringLiteral("home");
    tag.Encoder = QStringLiteral("Enc");
    tag.Track = QStringLiteral("7");
    tag.Genre = QStringLiteral("Rock");

    ASSERT_TRUE(WriteID3v2(tag, path));

    const ID3v2TagBuilder expected = ID3v2TagBuilder(3)
                                         .frame("TIT2", text("Song"))
                                         .frame("TPE1", text("Band"))
                                         .frame("TALB", text("Record"))
                                         .frame("TYER", text("1999"))
                                         .commentFrame("eng", "", "Nice")
                                         .frame("TCOM", text("Writer"))
                                         .frame("TOPE", text("First"))
                                         .urlFrame("home", "http://example.org/")
                                         .frame("TENC", text("Enc"))
                                         .frame("TRCK", text("7"))
                                         .frame("TCON", text("Rock"))
                                         .padding(1000);
    EXPECT_EQ(readAll(path), expected.build() + audio());
    EXPECT_EQ(QFileInfo(path).size(), audio().size() + 10 + expected.size());
    EXPECT_FALSE(QFile::exists(path + ".temp"));
    EXPECT_TRUE(ui.messages.isEmpty());
}

TEST_F(ID3v2WriterTest, EmptyTextsOfANewTagAddNoFrames)
{
    const QString path = file(audio());
    TID3v2 tag = newTag();
    tag.Track = QStringLiteral("3");
    ASSERT_TRUE(WriteID3v2(tag, path));
    EXPECT_EQ(readAll(path), ID3v2TagBuilder(3).frame("TRCK", text("3")).padding(1000).build() + audio());
}

TEST_F(ID3v2WriterTest, TagWithRoomIsOverwrittenInPlace)
{
    const QByteArray original = ID3v2TagBuilder(3)
                                    .frame("TIT2", text("A much longer old title"))
                                    .frame("TPE1", text("Old artist"))
                                    .padding(300)
                                    .build();
    const QString path = file(original + audio());
    TID3v2 tag = readTag(path);
    tag.Title = QStringLiteral("New");

    ASSERT_TRUE(WriteID3v2(tag, path));

    const QByteArray frames = ID3v2TagBuilder(3).frame("TIT2", text("New")).frame("TPE1", text("Old artist")).build().mid(10);
    const QByteArray expectedTag = (original.left(10) + frames).leftJustified(original.size(), '\0');
    EXPECT_EQ(readAll(path), expectedTag + audio());
    EXPECT_TRUE(ui.messages.isEmpty());
}

TEST_F(ID3v2WriterTest, TagThatFillsTheOldOneExactlyIsWrittenInPlace)
{
    const QByteArray original = ID3v2TagBuilder(3).frame("TIT2", text("ABCDE")).build();
    const QString path = file(original + audio());
    TID3v2 tag = readTag(path);
    tag.Title = QStringLiteral("VWXYZ");

    ASSERT_TRUE(WriteID3v2(tag, path));
    EXPECT_EQ(readAll(path), ID3v2TagBuilder(3).frame("TIT2", text("VWXYZ")).build() + audio());
}

TEST_F(ID3v2WriterTest, GrowingTagIsRewrittenAndTheNextSaveFitsInPlace)
{
    const QString path = file(ID3v2TagBuilder(3).frame("TIT2", text("A")).build() + audio());
    TID3v2 tag = readTag(path);
    tag.Title = QStringLiteral("A title that no longer fits");

    ASSERT_TRUE(WriteID3v2(tag, path));
    const QByteArray rewritten = readAll(path);
    EXPECT_EQ(rewritten, ID3v2TagBuilder(3).frame("TIT2", text("A title that no longer fits")).padding(1000).build() + audio());

    TID3v2 again = readTag(path);
    again.Title = QStringLiteral("A title that no longer fits");
    again.Artist = QStringLiteral("Someone");
    ASSERT_TRUE(WriteID3v2(again, path));
    const QByteArray frames = ID3v2TagBuilder(3)
                                  .frame("TIT2", text("A title that no longer fits"))
                                  .frame("TPE1", text("Someone"))
                                  .build()
                                  .mid(10);
    const qsizetype tagLength = rewritten.size() - audio().size();
    EXPECT_EQ(readAll(path), (rewritten.left(10) + frames).leftJustified(tagLength, '\0') + audio());
}

TEST_F(ID3v2WriterTest, UnknownFramesKeepTheirBytesAndPlace)
{
    const QByteArray picture = QByteArray("\0image/png\0\3\0", 13) + QByteArray(300, '\x89');
    for (const int padding : {0, 2000}) {
        SCOPED_TRACE(padding);
        const QByteArray original = ID3v2TagBuilder(3)
                                        .frame("PRIV", QByteArray("owner\0\1\2\3", 9), QByteArray("\x40\x00", 2))
                                        .frame("TIT2", text("Old"))
                                        .frame("APIC", picture, QByteArray("\x00\x20", 2))
                                        .frame("TXXX", QByteArray("\0key\0value", 10))
                                        .padding(padding)
                                        .build();
        const QString path = file(original + audio());
        TID3v2 tag = readTag(path);
        tag.Title = QStringLiteral("New title");
        tag.Artist = QStringLiteral("Added");

        ASSERT_TRUE(WriteID3v2(tag, path));

        const QByteArray frames = ID3v2TagBuilder(3)
                                      .frame("PRIV", QByteArray("owner\0\1\2\3", 9), QByteArray("\x40\x00", 2))
                                      .frame("TIT2", text("New title"))
                                      .frame("APIC", picture, QByteArray("\x00\x20", 2))
                                      .frame("TXXX", QByteArray("\0key\0value", 10))
                                      .frame("TPE1", text("Added"))
                                      .build()
                                      .mid(10);
        EXPECT_EQ(readAll(path).mid(10, frames.size()), frames);
        EXPECT_TRUE(readAll(path).endsWith(audio()));
    }
}

TEST_F(ID3v2WriterTest, EditedFramesKeepTheirStatusFlagsAndLoseTheirFormatFlags)
{
    const QByteArray lengthFirst = QByteArray("\0\0\0\x04", 4) + text("Old");
    const QString path = file(ID3v2TagBuilder(4)
                                  .frame("TIT2", lengthFirst, QByteArray("\x20\x01", 2))
                                  .frame("TALB", text("Album"), QByteArray("\x40\x00", 2))
                                  .padding(100)
                                  .build()
                              + audio());
    TID3v2 tag = readTag(path);
    tag.Title = QStringLiteral("New");
    tag.Album = QStringLiteral("Other");

    ASSERT_TRUE(WriteID3v2(tag, path));

    const QByteArray frames = ID3v2TagBuilder(4)
                                  .frame("TIT2", text("New"), QByteArray("\x20\x00", 2))
                                  .frame("TALB", text("Other"), QByteArray("\x40\x00", 2))
                                  .build()
                                  .mid(10);
    EXPECT_EQ(readAll(path).mid(10, frames.size()), frames);
}

TEST_F(ID3v2WriterTest, EmptiedTextsLeaveFramesWithOnlyTheirFixedBytes)
{
    const QByteArray original = ID3v2TagBuilder(3)
                                    .frame("TIT2", text("Title"))
                                    .commentFrame("eng", "", "comment")
                                    .urlFrame("", "http://example.org/")
                                    .padding(100)
                                    .build();
    const QString path = file(original + audio());
    TID3v2 tag = readTag(path);
    tag.Title.clear();
    tag.Comment.clear();
    tag.CommentDescription.clear();
    tag.Url.clear();
    tag.UrlDescription.clear();

    ASSERT_TRUE(WriteID3v2(tag, path));

    const QByteArray frames = ID3v2TagBuilder(3)
                                  .frame("TIT2", text(""))
                                  .frame("COMM", QByteArray("\0eng\0", 5))
                                  .frame("WXXX", QByteArray(2, '\0'))
                                  .build()
                                  .mid(10);
    EXPECT_EQ(readAll(path), (original.left(10) + frames).leftJustified(original.size(), '\0') + audio());
}

TEST_F(ID3v2WriterTest, YearFillsBothTyerAndANewTdrcOfAVersion4Tag)
{
    const QString path = file(ID3v2TagBuilder(4).frame("TYER", text("1990")).padding(200).build() + audio());
    TID3v2 tag = readTag(path);
    tag.Year = QStringLiteral("2001");

    ASSERT_TRUE(WriteID3v2(tag, path));

    const QByteArray frames = ID3v2TagBuilder(4).frame("TYER", text("2001")).frame("TDRC", text("2001")).build().mid(10);
    EXPECT_EQ(readAll(path).mid(10, frames.size()), frames);
    EXPECT_EQ(readTag(path).Year, QStringLiteral("2001"));
}

TEST_F(ID3v2WriterTest, EveryCommentFrameOfTheShownDescriptionAndLanguageTakesTheComment)
{
    const QString path = file(ID3v2TagBuilder(3)
                                  .commentFrame("deu", "", "one")
                                  .commentFrame("eng", "", "other")
                                  .commentFrame("deu", "second", "kept")
                                  .commentFrame("deu", "", "two")
                                  .padding(100)
                                  .build()
                              + audio());
    TID3v2 tag = readTag(path);
    tag.Comment = QStringLiteral("Same for all");
    tag.CommentLanguage = {'f', 'r', 'a'};

    ASSERT_TRUE(WriteID3v2(tag, path));

    const QByteArray frames = ID3v2TagBuilder(3)
                                  .commentFrame("fra", "", "Same for all")
                                  .commentFrame("eng", "", "other")
                                  .commentFrame("deu", "second", "kept")
                                  .commentFrame("fra", "", "Same for all")
                                  .build()
                                  .mid(10);
    EXPECT_EQ(readAll(path).mid(10, frames.size()), frames);
}

TEST_F(ID3v2WriterTest, FrameSizesAreBigEndianInVersion3AndSyncsafeInVersion4)
{
    const QString title(200, QLatin1Char('x'));
    for (const int version : {3, 4}) {
        SCOPED_TRACE(version);
        const QString path = file(ID3v2TagBuilder(version).frame("TIT2", text("short")).build() + audio());
        TID3v2 tag = readTag(path);
        tag.Title = title;
        ASSERT_TRUE(WriteID3v2(tag, path));
        const QByteArray sizeBytes = version == 3 ? QByteArray("\0\0\0\xC9", 4) : QByteArray("\0\0\x01\x49", 4);
        EXPECT_EQ(readAll(path).mid(14, 4), sizeBytes);
        EXPECT_EQ(readTag(path).Title, title);
    }
}

TEST_F(ID3v2WriterTest, TextsBeyondLatin1AreWrittenAsUtf16WithByteOrderMark)
{
    const QString path = file(audio());
    TID3v2 tag = newTag();
    tag.Title = QStringLiteral("Кино");
    tag.Artist = QStringLiteral("Café");
    tag.Comment = QStringLiteral("東京");
    tag.CommentDescription = QStringLiteral("note");
    tag.CommentLanguage = {'j', 'p', 'n'};
    tag.UrlDescription = QStringLiteral("サイト");
    tag.Url = QStringLiteral("http://example.org/café/東京");

    ASSERT_TRUE(WriteID3v2(tag, path));

    const QByteArray expected = ID3v2TagBuilder(3)
                                    .textFrame("TIT2", QStringLiteral("Кино"), 1)
                                    .textFrame("TPE1", QStringLiteral("Café"), 0)
                                    .commentFrame("jpn", QStringLiteral("note"), QStringLiteral("東京"), 1)
                                    .urlFrame(QStringLiteral("サイト"), QStringLiteral("http://example.org/café/%E6%9D%B1%E4%BA%AC"), 1)
                                    .padding(1000)
                                    .build();
    EXPECT_EQ(readAll(path), expected + audio());
}

TEST_F(ID3v2WriterTest, FooterIsAValidFooterWhereTheHeaderSaysTheTagEnds)
{
    const QByteArray footer = QByteArray("3DI\x04\x00\x10", 6);
    const QByteArray room = ID3v2TagBuilder(4).frame("TIT2", text("Old")).padding(100).footer().build();
    const QString path = file(room + audio());
    TID3v2 tag = readTag(path);
    tag.Title = QStringLiteral("New");
    ASSERT_TRUE(WriteID3v2(tag, path));
    const QByteArray inPlace = readAll(path);
    EXPECT_EQ(inPlace.size(), room.size() + audio().size());
    EXPECT_EQ(inPlace.mid(room.size() - 10, 10), footer + room.mid(6, 4));
    EXPECT_EQ(readTag(path).Title, QStringLiteral("New"));

    tag = readTag(path);
    tag.Title = QString(200, QLatin1Char('t'));
    ASSERT_TRUE(WriteID3v2(tag, path));
    const QByteArray rewritten = readAll(path);
    const QByteArray expected = ID3v2TagBuilder(4).frame("TIT2", '\0' + QByteArray(200, 't')).padding(1000).footer().build();
    EXPECT_EQ(rewritten, expected + audio());
}

TEST_F(ID3v2WriterTest, FreeSpaceOfExactlyTheFileTheTagAndTheReserveIsEnough)
{
    const QByteArray original = ID3v2TagBuilder(3).frame("TIT2", text("A")).build() + audio();
    const qint64 newTagSize = 10 + 11 + 1000;   // the frame's header and data, and the padding
    for (const qint64 missing : {1, 0}) {
        SCOPED_TRACE(missing);
        const QString path = file(original);
        FakeDisk disk;
        disk.free = original.size() + newTagSize + 500000 - missing;
        TID3v2 tag = readTag(path);
        tag.Title = QStringLiteral("0123456789");
        ui.messages.clear();

        const QString workingFolder = QDir::currentPath();
        EXPECT_EQ(WriteID3v2(tag, path), missing == 0);
        EXPECT_EQ(disk.folders, QList<QString>({dir.path()}));
        EXPECT_EQ(QDir::currentPath(), workingFolder);
        if (missing) {
            EXPECT_EQ(ui.texts(), QStringList({"Not enough free space on disk for temporary file."}));
            EXPECT_EQ(ui.messages.value(0).icon, ui::Icon::Error);
            EXPECT_EQ(readAll(path), original);
        } else {
            EXPECT_TRUE(ui.messages.isEmpty());
            EXPECT_EQ(readTag(path).Title, QStringLiteral("0123456789"));
        }
    }
}

TEST_F(ID3v2WriterTest, RewriteKeepsPermissionsAndWritesThroughALink)
{
    const QString path = file(ID3v2TagBuilder(3).frame("TIT2", text("A")).build() + audio());
    ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), 0640), 0);
    const QString link = dir.filePath(QStringLiteral("link.mp3"));
    ASSERT_TRUE(QFile::link(path, link));
    TID3v2 tag = readTag(link);
    tag.Title = QStringLiteral("Longer than before");

    ASSERT_TRUE(WriteID3v2(tag, link));

    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_EQ(readTag(path).Title, QStringLiteral("Longer than before"));
    struct stat status {};
    ASSERT_EQ(::stat(QFile::encodeName(path).constData(), &status), 0);
    EXPECT_EQ(status.st_mode & 07777, 0640u);
}

TEST_F(ID3v2WriterTest, AudioIsCopiedInPiecesOf50000BytesAfterTheTag)
{
    const QByteArray sound(120000, '\x55');
    const QString path = file(sound);
    TID3v2 tag = newTag();
    tag.Title = QStringLiteral("Song");
    FakeDisk disk;

    ASSERT_TRUE(WriteID3v2(tag, path));
    EXPECT_EQ(disk.writes, QList<qint64>({10 + 15 + 1000, 50000, 50000, 20000}));
    EXPECT_TRUE(readAll(path).endsWith(sound));
}

TEST_F(ID3v2WriterTest, TagWhoseSizeRunsPastTheEndOfTheFileIsNotWrittenOver)
{
    // A truncated download: the header claims 1 MB, the file holds a few kilobytes.
    const QByteArray original = ID3v2TagBuilder(3).textFrame("TIT2", "Title").claimedSize(0x100000).build() + audio();
    for (const QString& title : {QStringLiteral("Fits"), QString(2000, QLatin1Char('x'))}) {
        const QString path = file(original);
        TID3v2 tag = readTag(path);
        tag.Title = title;
        ui.messages.clear();

        EXPECT_FALSE(WriteID3v2(tag, path));

        EXPECT_EQ(sha256(readAll(path)), sha256(original));
        EXPECT_EQ(ui.texts(), QStringList({"Cannot save tag v2 of 'song.mp3': its tag claims more bytes than the file holds."}));
    }
}

TEST_F(ID3v2WriterTest, TagOfAnUnknownVersionIsNotWrittenOver)
{
    for (const quint8 version : {0, 1, 5, 255}) {
        QByteArray original = ID3v2TagBuilder(3).textFrame("TIT2", "Title").frame("APIC", QByteArray(300, 'p')).padding(500).build()
            + audio();
        original[3] = char(version);
        const QString path = file(original);
        TID3v2 tag = readTag(path);
        tag.Title = QStringLiteral("New");
        ui.messages.clear();

        EXPECT_FALSE(WriteID3v2(tag, path));

        EXPECT_EQ(sha256(readAll(path)), sha256(original)) << int(version);
        EXPECT_EQ(ui.texts(), QStringList({QStringLiteral("Cannot save tag v2 of 'song.mp3': tags of version 2.%1 are not supported.").arg(version)}));
    }
}

// What another program does to the file between Corvane's read and its save.
struct OutsideChange {
    const char* name;
    std::function<QByteArray(const QByteArray& tagged)> change;
};

// A tag with room to spare, so most changes keep the file's length.
QByteArray roomyTag(const QString& title)
{
    return ID3v2TagBuilder(3).textFrame("TIT2", title).padding(400).build();
}

const OutsideChange outsideChanges[] = {
    {"a frame added into the padding",
     [](const QByteArray&) {
         return ID3v2TagBuilder(3).textFrame("TIT2", "Old").textFrame("TPE2", "Band").padding(400 - 15).build() + audio();
     }},
    {"a value changed, same size", [](const QByteArray&) { return roomyTag("New") + audio(); }},
    {"audio appended", [](const QByteArray& tagged) { return tagged + fixtures::mpegFrames({}, 1); }},
    {"a byte of audio changed",
     [](const QByteArray& tagged) {
         QByteArray changed = tagged;
         changed[changed.size() - 1] = '\x01';
         return changed;
     }},
};

TEST_F(ID3v2WriterTest, FileChangedSinceItWasReadIsNotWrittenEvenWithItsDateRestored)
{
    const QByteArray tagged = roomyTag("Old") + audio();
    for (const OutsideChange& outside : outsideChanges) {
        const QString path = file(tagged);
        TFileDate date = -1;
        ASSERT_TRUE(GetFileDate(path, date));
        TID3v2 tag = readTag(path);
        tag.Artist = QStringLiteral("Mine");
        const QByteArray theirs = outside.change(tagged);
        dir.write(QStringLiteral("song.mp3"), theirs);
        ASSERT_TRUE(SetFileDate(path, date));
        ui.messages.clear();

        EXPECT_FALSE(WriteID3v2(tag, path)) << outside.name;

        EXPECT_EQ(sha256(readAll(path)), sha256(theirs)) << outside.name;
        EXPECT_EQ(ui.texts(), QStringList({"'song.mp3' changed since it was read; refresh it and save again."}));
        TID3v2 refreshed = readTag(path);
        refreshed.Artist = QStringLiteral("Mine");
        EXPECT_TRUE(WriteID3v2(refreshed, path)) << outside.name;
        EXPECT_EQ(readTag(path).Artist, QStringLiteral("Mine"));
    }
}

TEST_F(ID3v2WriterTest, ExtendedHeaderThatIsNotThereIsLeftOutOfTheSavedTag)
{
    // The flag announces an extended header, but the frames start right after the tag header.
    const QByteArray original = ID3v2TagBuilder(4).flags(0x40).textFrame("TIT2", "Title").padding(100).build() + audio();
    const QString path = file(original);
    TID3v2 tag = readTag(path);
    tag.Artist = QStringLiteral("Band");

    ASSERT_TRUE(WriteID3v2(tag, path));

    const QByteArray saved = readAll(path);
    EXPECT_EQ(saved.size(), original.size());
    EXPECT_EQ(saved.right(audio().size()), audio());
    EXPECT_EQ(quint8(saved[5]) & 0x40, 0);
    const TID3v2 again = readTag(path);
    EXPECT_EQ(again.Title, QStringLiteral("Title"));
    EXPECT_EQ(again.Artist, QStringLiteral("Band"));
}
