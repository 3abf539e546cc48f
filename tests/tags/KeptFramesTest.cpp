#include "AudioFixtures.h"
#include "ScriptedUserInterface.h"
#include "TempDir.h"
#include "UnitID3Tag.h"
#include "UnitUtilities.h"

#include <QFile>
#include <gtest/gtest.h>

using fixtures::ID3v2TagBuilder;

namespace {

const QByteArray audio = fixtures::mpegFrames({}, 8);

QByteArray text(const char* latin1)
{
    return '\0' + QByteArray(latin1);
}

// A picture frame as large as real cover art, in bytes that differ from place to place.
QByteArray bigPicture()
{
    QByteArray data = QByteArray("\0image/jpeg\0\3\0", 14);
    for (int i = 0; data.size() < 100 * 1024; ++i)
        data.append(char((i * 7 + i / 251) & 0xFF));
    return data;
}

QByteArray tagWith(const char* title, int padding)
{
    return ID3v2TagBuilder(3)
        .frame("TIT2", text(title))
        .frame("APIC", bigPicture(), QByteArray("\x00\x20", 2))
        .frame("TPE1", text("Artist"))
        .padding(padding)
        .build();
}

// The frames of a tag without their padding, for comparing with a file's tag.
QByteArray framesOf(const QByteArray& tag)
{
    return tag.mid(10, tag.size() - 10);
}

TID3v2 readTag(const QString& path)
{
    TID3v2 tag;
    ReadID3v2(path, tag);
    return tag;
}

class KeptFramesTest : public ::testing::Test {
protected:
    void SetUp() override { setDelayScale(0); }
    void TearDown() override { setDelayScale(1); }

    TempDir dir;
    ScriptedUserInterface ui;
};

}  // namespace

TEST_F(KeptFramesTest, PictureDataStaysInTheFileAfterReading)
{
    const QString path = dir.write("song.mp3", tagWith("Title", 0) + audio);
    TMpegFile file;
    file.ReadFromFile(path);
    const TID3v2Frame& picture = (*file.ID3v2.Frames)[1];
    EXPECT_TRUE(picture.Data.isEmpty());
    EXPECT_EQ(picture.DataFile, path);
    EXPECT_EQ(picture.DataOffset, 10 + 10 + text("Title").size() + 10);
    EXPECT_EQ(frameData(file.ID3v2, picture), bigPicture());
    // The decoded frames hold their bytes.
    EXPECT_EQ(file.ID3v2.Frames->front().Data, text("Title"));
}

TEST_F(KeptFramesTest, SavedInPlaceThePictureIsWrittenBackByteForByte)
{
    const QString path = dir.write("song.mp3", tagWith("Title", 500) + audio);
    TID3v2 tag = readTag(path);
    tag.Title = QStringLiteral("A longer title");

    ASSERT_TRUE(WriteID3v2(tag, path));

    const QByteArray expected = framesOf(tagWith("A longer title", 0));
    EXPECT_EQ(readAll(path).size(), tagWith("Title", 500).size() + audio.size());
    EXPECT_EQ(readAll(path).mid(10, expected.size()), expected);
    EXPECT_TRUE(readAll(path).endsWith(audio));
}

TEST_F(KeptFramesTest, RewrittenThroughACopyThePictureComesFromTheOriginal)
{
    const QString path = dir.write("song.mp3", tagWith("Title", 0) + audio);
    TID3v2 tag = readTag(path);
    tag.Title = QStringLiteral("A title too long for the room the old tag had");

    ASSERT_TRUE(WriteID3v2(tag, path));

    const QByteArray expected = framesOf(tagWith("A title too long for the room the old tag had", 0));
    EXPECT_EQ(readAll(path).mid(10, expected.size()), expected);
    EXPECT_TRUE(readAll(path).endsWith(audio));
}

TEST_F(KeptFramesTest, ASecondSaveOfTheSameRecordFindsThePictureWhereTheFirstMovedIt)
{
    const QString path = dir.write("song.mp3", tagWith("Title", 0) + audio);
    TID3v2 tag = readTag(path);
    tag.Title = QStringLiteral("A title that moves the picture further back");
    ASSERT_TRUE(WriteID3v2(tag, path));
    tag.Title = QStringLiteral("T");

    ASSERT_TRUE(WriteID3v2(tag, path));

    const QByteArray expected = framesOf(tagWith("T", 0));
    EXPECT_EQ(readAll(path).mid(10, expected.size()), expected);
    EXPECT_EQ(frameData(tag, (*tag.Frames)[1]), bigPicture());
}

TEST_F(KeptFramesTest, TagWrittenIntoAnotherFileTakesThePictureFromItsOwnFile)
{
    const QString source = dir.write("source.mp3", tagWith("Title", 0) + audio);
    const QString target = dir.write("target.mp3", audio);

    ASSERT_TRUE(WriteID3v2(readTag(source), target));

    const QByteArray expected = framesOf(tagWith("Title", 0));
    EXPECT_EQ(readAll(target).mid(10, expected.size()), expected);
}

TEST_F(KeptFramesTest, PictureRemovedSinceReadingFailsTheSaveAndLeavesTheFileAlone)
{
    const QString path = dir.write("song.mp3", tagWith("Title", 0) + audio);
    TID3v2 tag = readTag(path);
    const QByteArray changed = ID3v2TagBuilder(3).frame("TIT2", text("Other")).padding(200).build() + audio;
    dir.write("song.mp3", changed);
    tag.Title = QStringLiteral("New");

    EXPECT_FALSE(WriteID3v2(tag, path));

    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_EQ(ui.messages[0].text, "'song.mp3' changed since it was read; refresh it and save again.");
    EXPECT_EQ(readAll(path), changed);
    EXPECT_THROW(frameData(tag, (*tag.Frames)[1]), TagFileError);
}

TEST_F(KeptFramesTest, FramesAlikeAreFoundAgainInTheirOrder)
{
    const QByteArray first = QByteArray("\0first", 6);
    const QByteArray second = QByteArray("\0other", 6);
    const QString path = dir.write("song.mp3", ID3v2TagBuilder(3).frame("PRIV", first).frame("TIT2", text("Title")).frame("PRIV", second).build() + audio);
    TID3v2 tag = readTag(path);
    tag.Title = QStringLiteral("A much longer title than before");
    ASSERT_TRUE(WriteID3v2(tag, path));

    EXPECT_EQ(frameData(tag, (*tag.Frames)[0]), first);
    EXPECT_EQ(frameData(tag, (*tag.Frames)[2]), second);
}

TEST_F(KeptFramesTest, FileRenamedSinceReadingKeepsItsPicture)
{
    const QString path = dir.write("song.mp3", tagWith("Title", 0) + audio);
    TID3v2 tag = readTag(path);
    const QString renamed = dir.filePath("01 Title.mp3");
    ASSERT_TRUE(QFile::rename(path, renamed));
    tag.Title = QStringLiteral("A title too long for the room the old tag had");

    ASSERT_TRUE(WriteID3v2(tag, renamed));

    const QByteArray expected = framesOf(tagWith("A title too long for the room the old tag had", 0));
    EXPECT_EQ(readAll(renamed).mid(10, expected.size()), expected);
}

TEST_F(KeptFramesTest, AnotherFileNowUnderTheOldNameGivesNothingToTheRenamedOne)
{
    const QString path = dir.write("song.mp3", tagWith("Title", 0) + audio);
    TID3v2 tag = readTag(path);
    const QString renamed = dir.filePath("01 Title.mp3");
    ASSERT_TRUE(QFile::rename(path, renamed));
    // Another picture of the same size under the old name.
    QByteArray other = tagWith("Title", 0);
    other[other.size() - 30] = 'x';
    dir.write("song.mp3", other + audio);

    ASSERT_TRUE(WriteID3v2(tag, renamed));

    EXPECT_EQ(readAll(renamed).mid(10, framesOf(tagWith("Title", 0)).size()), framesOf(tagWith("Title", 0)));
}

TEST_F(KeptFramesTest, FrameChangedOnDiskSinceReadingFailsTheSaveAndLeavesTheFileAlone)
{
    const QString path = dir.write("song.mp3", ID3v2TagBuilder(3).frame("PRIV", QByteArray("\0first", 6)).frame("TIT2", text("Title")).build() + audio);
    TID3v2 tag = readTag(path);
    // Another program changes the frame's bytes but not its size.
    const QByteArray changed = ID3v2TagBuilder(3).frame("PRIV", QByteArray("\0other", 6)).frame("TIT2", text("Title")).padding(100).build() + audio;
    dir.write("song.mp3", changed);
    tag.Title = QStringLiteral("New");

    EXPECT_FALSE(WriteID3v2(tag, path));

    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_EQ(ui.messages[0].text, "'song.mp3' changed since it was read; refresh it and save again.");
    EXPECT_EQ(readAll(path), changed);
}

TEST_F(KeptFramesTest, FrameOfTheSameStoredSizeInATagOfAnotherVersionIsNotTakenForIt)
{
    // Size bytes 00 00 01 00 are 256 bytes in a 2.3 tag but 128 in a 2.4 tag.
    const QByteArray read(256, 'r');
    const QString path = dir.write("song.mp3", ID3v2TagBuilder(3).frame("PRIV", read).build() + audio);
    TID3v2 tag = readTag(path);
    const QByteArray changed = ID3v2TagBuilder(4).frame("PRIV", QByteArray(128, 'c')).padding(400).build() + audio;
    dir.write("song.mp3", changed);
    tag.Title = QStringLiteral("New");

    EXPECT_FALSE(WriteID3v2(tag, path));

    EXPECT_EQ(readAll(path), changed);
}

TEST_F(KeptFramesTest, AnotherFileNowUnderTheOldNameGivesNothingWhenTheRenamedOneLostThePicture)
{
    const QString path = dir.write("song.mp3", tagWith("Title", 0) + audio);
    TID3v2 tag = readTag(path);
    const QString renamed = dir.filePath("01 Title.mp3");
    ASSERT_TRUE(QFile::rename(path, renamed));
    const QByteArray stripped = ID3v2TagBuilder(3).frame("TIT2", text("Title")).padding(100).build() + audio;
    dir.write("01 Title.mp3", stripped);
    // Another picture of the same size under the old name.
    QByteArray other = tagWith("Title", 0);
    other[other.size() - 30] = 'x';
    dir.write("song.mp3", other + audio);
    tag.Title = QStringLiteral("New");

    EXPECT_FALSE(WriteID3v2(tag, renamed));

    EXPECT_EQ(readAll(renamed), stripped);
}

TEST_F(KeptFramesTest, TagWrittenIntoAFileWithAnotherPictureOfTheSameSizeTakesItsOwnPicture)
{
    const QString source = dir.write("source.mp3", tagWith("Title", 0) + audio);
    QByteArray other = tagWith("Title", 0);
    other[other.size() - 30] = 'x';
    const QString target = dir.write("target.mp3", other + audio);

    ASSERT_TRUE(WriteID3v2(readTag(source), target));

    const QByteArray expected = framesOf(tagWith("Title", 0));
    EXPECT_EQ(readAll(target).mid(10, expected.size()), expected);
}

// The picture is not read with the tag: a change anywhere in it is a change of the file.
TEST_F(KeptFramesTest, LargePictureChangedAtItsEndsOrASampleSinceReadingFailsTheSave)
{
    const QString path = dir.write("song.mp3", tagWith("Title", 0) + audio);
    TID3v2 tag = readTag(path);
    for (const qsizetype changedAt : {qsizetype(20), qsizetype(4096 * 12 + 30), qsizetype(100 * 1024 - 100)}) {
        SCOPED_TRACE(changedAt);
        QByteArray changed = tagWith("Title", 0) + audio;
        const qsizetype pictureStart = 10 + 10 + text("Title").size() + 10;
        changed[pictureStart + changedAt] = char(changed[pictureStart + changedAt] ^ 0x55);
        dir.write("song.mp3", changed);
        tag.Title = QStringLiteral("New");

        EXPECT_FALSE(WriteID3v2(tag, path));

        EXPECT_EQ(readAll(path), changed);
    }
}
