#include "AudioFixtures.h"
#include "PeerReader.h"
#include "ScriptedUserInterface.h"
#include "TempDir.h"
#include "UnitID3Tag.h"

#include <QDir>
#include <QFile>
#include <cstring>
#include <gtest/gtest.h>

using fixtures::ID3v1Fields;

namespace {

const QByteArray audio = fixtures::mpegFrames({}, 2);

QByteArray blockBytes(const TID3v1& block)
{
    return QByteArray(reinterpret_cast<const char*>(&block), sizeof block);
}

TID3v1 filledBlock()
{
    TID3v1 block;
    ClearID3v1(block);
    std::memcpy(block.Identifier, "TAG", 3);
    setId3v1Text(block.Title, 30, "New title");
    block.setTrack(4);
    block.Genre = 17;
    return block;
}

}  // namespace

TEST(ReadID3v1, Version11BlockGivesItsFieldsAndTrack)
{
    TempDir dir;
    const QString path = dir.write("a.mp3", audio + fixtures::id3v1Block({"Title", "Artist", "Album", "1999", "Note", 5, 17}));
    qint32 kind = -2;
    TID3v1 block;
    ReadID3v1(path, kind, block);
    EXPECT_EQ(kind, ID3v1_1);
    EXPECT_EQ(id3v1Text(block.Title, 30), "Title");
    EXPECT_EQ(id3v1Text(block.Artist, 30), "Artist");
    EXPECT_EQ(id3v1Text(block.Album, 30), "Album");
    EXPECT_EQ(id3v1Text(block.Year, 4), "1999");
    EXPECT_EQ(id3v1Text(block.Comment, 30), "Note");
    EXPECT_EQ(block.track(), 5);
    EXPECT_EQ(block.Genre, 17);
}

TEST(ReadID3v1, FullCommentReadsAsVersion10CutTo29Characters)
{
    TempDir dir;
    const QByteArray comment = "123456789012345678901234567890";
    const QString path = dir.write("a.mp3", audio + fixtures::id3v1Block({"T", "", "", "", comment, 0, 1}));
    qint32 kind = -2;
    TID3v1 block;
    ReadID3v1(path, kind, block);
    EXPECT_EQ(kind, ID3v1_0);
    EXPECT_EQ(id3v1Text(block.Comment, 30), QString::fromLatin1(comment.left(29)));
    EXPECT_EQ(block.track(), 0);
}

TEST(ReadID3v1, BlockWithBothTrackBytesZeroIsVersion10)
{
    TempDir dir;
    const QString path = dir.write("a.mp3", audio + fixtures::id3v1Block({"T", "", "", "", "Note", 0, 1}));
    qint32 kind = -2;
    TID3v1 block;
    ReadID3v1(path, kind, block);
    EXPECT_EQ(kind, ID3v1_0);
}

TEST(ReadID3v1, FileWithoutBlockGivesNoKindAndZeroFields)
{
    TempDir dir;
    const QString path = dir.write("a.mp3", audio);
    qint32 kind = -2;
    TID3v1 block = filledBlock();
    ReadID3v1(path, kind, block);
    EXPECT_EQ(kind, NoID3v1);
    EXPECT_EQ(blockBytes(block).left(126), QByteArray(126, '\0'));
}

TEST(ReadID3v1, FileThatIsOneWholeBlockHasNoBlock)
{
    TempDir dir;
    const QString path = dir.write("a.mp3", fixtures::id3v1Block({"Title", "", "", "", "", 1, 1}));
    qint32 kind = -2;
    TID3v1 block = filledBlock();
    ReadID3v1(path, kind, block);
    EXPECT_EQ(kind, NoID3v1);
    EXPECT_EQ(id3v1Text(block.Title, 30), "");
}

TEST(ReadID3v1, MissingFileGivesNoKindSilently)
{
    ScriptedUserInterface ui;
    TempDir dir;
    qint32 kind = -2;
    TID3v1 block;
    ReadID3v1(dir.filePath("missing.mp3"), kind, block);
    EXPECT_EQ(kind, NoID3v1);
    EXPECT_TRUE(ui.messages.isEmpty());
}

TEST(ID3v1Texts, AreIso88591AndZeroPadded)
{
    char field[30];
    setId3v1Text(field, 30, QString::fromUtf8("Ça été ☃"));
    EXPECT_EQ(QByteArray(field, 9), QByteArray("\xC7" "a \xE9t\xE9 ?", 9));
    EXPECT_EQ(QByteArray(field + 9, 21), QByteArray(21, '\0'));
    EXPECT_EQ(id3v1Text(field, 30), QString::fromUtf8("Ça été ?"));
}

TEST(ID3v1Texts, ACharacterBeyondSixteenBitsIsOneQuestionMarkAndOneOfTheWidth)
{
    char field[4];
    setId3v1Text(field, 4, QString::fromUtf8("a\U0001F3B5bcd"));
    EXPECT_EQ(QByteArray(field, 4), "a?bc");
}

TEST(ID3v1Texts, AccentsWrittenAsMarksAreComposedFirst)
{
    EXPECT_EQ(id3v1Bytes(QStringLiteral("Cafe\u0301 Tacvba"), 30), "Caf\xE9 Tacvba");
    EXPECT_EQ(id3v1Bytes(QStringLiteral("q\u0301"), 30), "q?");
}

TEST(ID3v1Texts, LongTextIsCutToTheFieldWithoutTerminator)
{
    char field[4];
    setId3v1Text(field, 4, "199999");
    EXPECT_EQ(QByteArray(field, 4), "1999");
    EXPECT_EQ(id3v1Text(field, 4), "1999");
}

TEST(ClearID3v1, ZeroesEverythingButTheGenre)
{
    TID3v1 block = filledBlock();
    ClearID3v1(block);
    EXPECT_EQ(blockBytes(block).left(127), QByteArray(127, '\0'));
    EXPECT_EQ(block.Genre, NoGenre);
}

TEST(WriteID3v1, AppendsToFileWithoutBlockThenReplacesIt)
{
    TempDir dir;
    const QString path = dir.write("a.mp3", audio);
    TID3v1 block = filledBlock();
    ASSERT_TRUE(WriteID3v1(block, path));
    EXPECT_EQ(readAll(path), audio + blockBytes(block));

    setId3v1Text(block.Title, 30, "Second");
    ASSERT_TRUE(WriteID3v1(block, path));
    EXPECT_EQ(readAll(path), audio + blockBytes(block));
}

TEST(WriteID3v1, BlockBehindTheAudioATagCountsOrBehindATagRunningPastTheFileIsReplaced)
{
    ScriptedUserInterface ui;
    TempDir dir;
    const QByteArray block = fixtures::id3v1Block({"Old", "", "", "", "", 1, 1});
    const fixtures::ID3v2TagBuilder tag = fixtures::ID3v2TagBuilder(3).textFrame("TIT2", "Title");
    for (const QByteArray& bytes : {fixtures::ID3v2TagBuilder(tag).raw(audio + block).build(),
                                    fixtures::ID3v2TagBuilder(tag).padding(10).claimedSize(100000).build() + audio + block}) {
        const QString path = dir.write("a.mp3", bytes);
        qint32 kind = -2;
        TID3v1 read;
        ReadID3v1(path, kind, read);
        EXPECT_EQ(kind, ID3v1_1);
        ASSERT_TRUE(WriteID3v1(filledBlock(), path));
        EXPECT_EQ(readAll(path), bytes.left(bytes.size() - 128) + blockBytes(filledBlock()));
    }
    EXPECT_TRUE(ui.messages.isEmpty());
}

TEST(WriteID3v1, MissingFileGivesFalseSilently)
{
    ScriptedUserInterface ui;
    TempDir dir;
    EXPECT_FALSE(WriteID3v1(filledBlock(), dir.filePath("missing.mp3")));
    EXPECT_TRUE(ui.messages.isEmpty());
    EXPECT_FALSE(QFile::exists(dir.filePath("missing.mp3")));
}

TEST(WriteID3v1, FileThatCannotBeOpenedIsReported)
{
    ScriptedUserInterface ui;
    TempDir dir;
    // A folder exists but cannot be opened as a file, even by root.
    QDir(dir.path()).mkdir("folder.mp3");
    EXPECT_FALSE(WriteID3v1(filledBlock(), dir.filePath("folder.mp3")));
    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_EQ(ui.messages[0].text, "Cannot save tag v1 of 'folder.mp3'.");
    EXPECT_EQ(ui.messages[0].icon, ui::Icon::Error);
}

// A file of one block's length or less holds audio, not a block, for the reader as for the writer;
// so does the end of a tiny file that its ID3v2 tag reaches into.
const QByteArray shortFiles[] = {
    "TAG",
    fixtures::id3v1Block({"Audio", "", "", "", "", 1, 1}),
    fixtures::ID3v2TagBuilder(3).frame("PRIV", fixtures::id3v1Block({"Inside the tag", "", "", "", "", 1, 1})).build(),
};

TEST(WriteID3v1, FileOfOneBlockOrLessKeepsItsBytesAndHasTheBlockAppended)
{
    ScriptedUserInterface ui;
    TempDir dir;
    for (const QByteArray& bytes : shortFiles) {
        SCOPED_TRACE(bytes.size());
        const QString path = dir.write("short.mp3", bytes);
        const QStringList frames = framesByPeer(path);
        ASSERT_TRUE(WriteID3v1(filledBlock(), path));
        EXPECT_EQ(readAll(path), bytes + blockBytes(filledBlock()));
        EXPECT_EQ(framesByPeer(path), frames);
        qint32 kind = -2;
        TID3v1 block;
        ReadID3v1(path, kind, block);
        EXPECT_EQ(kind, ID3v1_1);
    }
    EXPECT_TRUE(ui.messages.isEmpty());
}

TEST(RemoveID3v1, CutsTheBlockOff)
{
    TempDir dir;
    const QString path = dir.write("a.mp3", audio + fixtures::id3v1Block({"T", "", "", "", "", 1, 1}));
    EXPECT_TRUE(RemoveID3v1(path));
    EXPECT_EQ(readAll(path), audio);
}

TEST(RemoveID3v1, FileWithoutBlockIsUnchangedAndTrue)
{
    TempDir dir;
    const QString path = dir.write("a.mp3", audio);
    EXPECT_TRUE(RemoveID3v1(path));
    EXPECT_EQ(readAll(path), audio);
}

TEST(RemoveID3v1, FileOfOneBlockOrLessHasNoBlockToRemove)
{
    ScriptedUserInterface ui;
    TempDir dir;
    for (const QByteArray& bytes : shortFiles) {
        SCOPED_TRACE(bytes.size());
        const QString path = dir.write("short.mp3", bytes);
        EXPECT_TRUE(RemoveID3v1(path));
        EXPECT_EQ(readAll(path), bytes);
    }
    EXPECT_TRUE(ui.messages.isEmpty());
}

TEST(RemoveID3v1, FileThatCannotBeOpenedIsReportedAndNotCreated)
{
    ScriptedUserInterface ui;
    TempDir dir;
    EXPECT_FALSE(RemoveID3v1(dir.filePath("sub/missing.mp3")));
    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_EQ(ui.messages[0].text, "Cannot remove tag v1 of 'missing.mp3'.");
    EXPECT_EQ(ui.messages[0].icon, ui::Icon::Error);
    EXPECT_FALSE(QFile::exists(dir.filePath("sub/missing.mp3")));
}

TEST(GenreByteOf, IgnoresCaseAndIs255ForOtherNames)
{
    EXPECT_EQ(GenreByteOf("rock"), 17);
    EXPECT_EQ(GenreByteOf("BLUES"), 0);
    EXPECT_EQ(GenreByteOf("Space Polka"), 255);
    EXPECT_EQ(GenreByteOf(""), 255);
}

TEST(DecodeGenre, TurnsStoredGenresIntoNames)
{
    const struct {
        const char* stored;
        const char* shown;
    } cases[] = {
        {"17", "Rock"},       {"(17)", "Rock"},       {"(17)Rocky", "Rock"}, {"0", "Blues"},
        {"147", "Synthpop"},  {"(147)", "Synthpop"},  {"255", "255"},        {"(255)", "(255)"},
        {"()", "()"},         {"(RX)", "(RX)"},       {"Rock", "Rock"},      {"", ""},
        {"(1)(2)", "Classic Rock"}, {"99999999999", "99999999999"}, {"(99999999999)", "(99999999999)"},
        {"017", "Rock"},      {"(17", "(17"},          {"-1", "-1"},          {" 17", " 17"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DecodeGenre(c.stored), c.shown) << c.stored;
}

TEST(ID3Genres, HasTheStandardOrder)
{
    EXPECT_STREQ(ID3Genres[0], "Blues");
    EXPECT_STREQ(ID3Genres[67], "Psychadelic");
    EXPECT_STREQ(ID3Genres[147], "Synthpop");
}
