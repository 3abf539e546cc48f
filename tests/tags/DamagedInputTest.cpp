#include "AudioFixtures.h"
#include "ScriptedUserInterface.h"
#include "TempDir.h"
#include "UnitID3Tag.h"

#include <QDir>
#include <gtest/gtest.h>
#include <random>

// Damaged and odd files: none may crash or read beyond what the file holds. Reads that a damaged
// tag claims past the end of the file raise TagFileError, which the callers catch per file.

using fixtures::ID3v2TagBuilder;

namespace {

const QByteArray audio = fixtures::mpegFrames({}, 20);

QByteArray frameHeader(const QByteArray& id, const QByteArray& sizeBytes)
{
    return id + sizeBytes + QByteArray(2, '\0');
}

}  // namespace

TEST(DamagedInput, EmptyAndTinyFilesReadAsFilesWithoutAudio)
{
    for (const QByteArray& bytes : {QByteArray(), QByteArray("I"), QByteArray("ID"), QByteArray("\xFF\xFB\x90\x00", 4)}) {
        ScriptedUserInterface ui;
        TempDir dir;
        const QString path = dir.write("tiny.mp3", bytes);
        TMpegFile file;
        EXPECT_FALSE(file.ReadFromFile(path)) << bytes.size();
        EXPECT_FALSE(file.HasID3v1);
        EXPECT_FALSE(file.HasID3v2);
        EXPECT_FALSE(file.IsVBR);
        EXPECT_FALSE(file.Header.Found);
        EXPECT_TRUE(ui.messages.isEmpty());
        TMpegFileInfo info;
        GetMpegFileInfo(path, info);
        EXPECT_FALSE(info.Valid);
        EXPECT_EQ(info.FileSize, "0 kb");
    }
}

TEST(DamagedInput, TinyFilesAndTheID3v1Block)
{
    ScriptedUserInterface ui;
    TempDir dir;
    const QString path = dir.write("tiny.mp3", QByteArray("\xFF\xFB\x90\x00", 4));
    qint32 kind = -2;
    TID3v1 block;
    ReadID3v1(path, kind, block);
    EXPECT_EQ(kind, NoID3v1);
    EXPECT_TRUE(RemoveID3v1(path));
    EXPECT_EQ(readAll(path), QByteArray("\xFF\xFB\x90\x00", 4));
    TID3v1 empty;
    ClearID3v1(empty);
    EXPECT_TRUE(WriteID3v1(empty, path));
    EXPECT_EQ(readAll(path).left(4), QByteArray("\xFF\xFB\x90\x00", 4));
    EXPECT_TRUE(ui.messages.isEmpty());
}

TEST(DamagedInput, TagHeaderCutShortRaises)
{
    TempDir dir;
    const QString path = dir.write("cut.mp3", QByteArray("ID3\x03\x00\x00", 6));
    TID3v2 tag;
    EXPECT_THROW(ReadID3v2(path, tag), TagFileError);
    TMpegFile file;
    EXPECT_THROW(file.ReadFromFile(path), TagFileError);
}

TEST(DamagedInput, FileCutInsideAFrameRaises)
{
    TempDir dir;
    const QByteArray whole = ID3v2TagBuilder(3).textFrame("TIT2", "A title long enough to cut").padding(50).build();
    for (const int length : {15, 30, 40}) {
        const QString path = dir.write("cut.mp3", whole.left(length));
        TID3v2 tag;
        EXPECT_THROW(ReadID3v2(path, tag), TagFileError) << length;
    }
}

TEST(DamagedInput, TagWhoseFramesRunToTheEndOfTheFileRaises)
{
    TempDir dir;
    const QByteArray tag = ID3v2TagBuilder(3).textFrame("TIT2", "Title").claimedSize(100000).build();
    TMpegFile file;
    EXPECT_THROW(file.ReadFromFile(dir.write("cut.mp3", tag)), TagFileError);
}

TEST(DamagedInput, TagLargerThanTheFileEndingInPaddingReadsItsFrames)
{
    for (const quint32 claimed : {100000u, 0x0FFFFFFFu}) {
        TempDir dir;
        const QByteArray tag = ID3v2TagBuilder(4).textFrame("TIT2", "Title").padding(10).claimedSize(claimed).build();
        TMpegFile file;
        EXPECT_FALSE(file.ReadFromFile(dir.write("big.mp3", tag + audio)));
        EXPECT_EQ(file.ID3v2.Title, "Title");
        EXPECT_EQ(file.ID3v2.TagSize, qint32(claimed));
        EXPECT_FALSE(file.IsVBR);
    }
}

TEST(DamagedInput, SizeBytesWithTopBitsSetReadAsTheLargerValue)
{
    TempDir dir;
    QByteArray tag = ID3v2TagBuilder(4).textFrame("TIT2", "Title").padding(10).build();
    tag.replace(6, 4, QByteArray(4, '\xFF'));
    TID3v2 read;
    ReadID3v2(dir.write("big.mp3", tag + audio), read);
    EXPECT_EQ(read.TagSize, 255 * (1 << 21) + 255 * (1 << 14) + 255 * (1 << 7) + 255);
    EXPECT_EQ(read.Title, "Title");
}

TEST(DamagedInput, FrameSizesNearTwoToThe31EndTheFramesQuietly)
{
    const struct {
        int version;
        QByteArray sizeBytes;
    } cases[] = {
        {3, QByteArray("\x7F\xFF\xFF\xFF", 4)},
        {3, QByteArray("\x80\x00\x00\x00", 4)},
        {3, QByteArray("\xFF\xFF\xFF\xFF", 4)},
        {4, QByteArray("\x7F\x7F\x7F\x7F", 4)},
        {4, QByteArray("\xFF\xFF\xFF\xFF", 4)},
    };
    for (const auto& c : cases) {
        ScriptedUserInterface ui;
        TempDir dir;
        const QByteArray tag = ID3v2TagBuilder(c.version)
                                   .textFrame("TIT2", "Title")
                                   .raw(frameHeader("TALB", c.sizeBytes) + "Album")
                                   .padding(100)
                                   .build();
        TMpegFile file;
        EXPECT_TRUE(file.ReadFromFile(dir.write("huge.mp3", tag + audio))) << c.sizeBytes.toHex().constData();
        EXPECT_EQ(file.ID3v2.Frames->size(), 1u);
        EXPECT_EQ(file.ID3v2.Title, "Title");
        EXPECT_TRUE(file.ID3v2.Album.isEmpty());
        EXPECT_EQ(file.Bitrate, 128u);
        EXPECT_TRUE(ui.messages.isEmpty());
    }
}

TEST(DamagedInput, HugeExtendedHeaderIsTakenAsAbsentWithoutOverrun)
{
    for (const int version : {3, 4}) {
        TempDir dir;
        const QByteArray size = version == 3 ? fixtures::bigEndian32(0xFFFFFFF0u) : QByteArray(4, '\x7F');
        const QByteArray tag = ID3v2TagBuilder(version).extendedHeader(size + QByteArray(2, '\0')).padding(100).build();
        TID3v2 read;
        ReadID3v2(dir.write("ext.mp3", tag + audio), read);
        EXPECT_EQ(read.ExtendedHeader, 0) << version;
        EXPECT_TRUE(read.Frames->empty()) << version;
    }
}

TEST(DamagedInput, ExtendedHeaderShorterThanItsFixedPartStillReadsFrames)
{
    TempDir dir;
    const QByteArray tag =
        ID3v2TagBuilder(4).extendedHeader(fixtures::syncsafe32(0) + QByteArray(2, '\0')).textFrame("TIT2", "T").build();
    TID3v2 read;
    ReadID3v2(dir.write("ext.mp3", tag), read);
    EXPECT_TRUE(read.ExtData.isEmpty());
    EXPECT_EQ(read.Title, "T");
}

TEST(DamagedInput, TinyFramesOfEveryDecodedKindGiveEmptyOrPartialTexts)
{
    const QByteArray datas[] = {
        QByteArray("\x01", 1), QByteArray("\x01\xFF", 2), QByteArray("\x01\xFF\xFE\x41", 4), QByteArray("\x02\x00", 2),
        QByteArray("\x03\xC3", 2), QByteArray("\x07", 1),  QByteArray("\x00eng", 4),       QByteArray("\x01\xFF\xFE", 3),
    };
    for (const QByteArray& data : datas) {
        TempDir dir;
        const QByteArray tag = ID3v2TagBuilder(3).frame("TIT2", data).frame("COMM", data).frame("WXXX", data).build();
        TID3v2 read;
        ReadID3v2(dir.write("tiny.mp3", tag), read);
        EXPECT_EQ(read.Frames->size(), 3u) << data.toHex().constData();
        EXPECT_LE(read.Title.size(), 3);
        EXPECT_LE(read.Comment.size(), 1);
        EXPECT_LE(read.Url.size(), 3);
    }
}

TEST(DamagedInput, Version22TagBeforeAudio)
{
    TempDir dir;
    const QByteArray tag = ID3v2TagBuilder(2).textFrame("TT2", "Title").textFrame("TP1", "Artist").padding(64).build();
    TMpegFile file;
    EXPECT_TRUE(file.ReadFromFile(dir.write("old.mp3", tag + audio)));
    EXPECT_TRUE(file.HasID3v2);
    EXPECT_EQ(file.ID3v2.Version, 2);
    EXPECT_TRUE(file.ID3v2.Frames->empty());
    EXPECT_TRUE(file.ID3v2.Title.isEmpty());
    EXPECT_EQ(file.Header.Position, tag.size());
    EXPECT_EQ(file.Bitrate, 128u);
}

TEST(DamagedInput, RandomBytesAfterATagHeaderNeverCrash)
{
    std::mt19937 random(2026);
    for (int round = 0; round < 300; ++round) {
        QByteArray body(int(random() % 400), '\0');
        for (char& byte : body)
            byte = char(random() % 4 == 0 ? 'A' + random() % 26 : random());
        const int version = 3 + round % 2;
        const QByteArray tag = "ID3" + QByteArray(1, char(version)) + QByteArray(2, '\0')
            + fixtures::syncsafe32(quint32(random() % 600)) + body;
        TempDir dir;
        const QString path = dir.write("random.mp3", tag + fixtures::mpegFrames({}, int(random() % 3)));
        TMpegFile file;
        try {
            file.ReadFromFile(path);
        } catch (const TagFileError&) {
            // A tag that claims bytes past the end of the file.
        }
        for (const TID3v2Frame& frame : *file.ID3v2.Frames)
            EXPECT_EQ(frameData(file.ID3v2, frame).size(), frame.Size);
    }
}

TEST(DamagedInput, UnreadablePathsAreReported)
{
    // Tests run as root, who may open any file: a folder and a path below a missing folder stand
    // for files that cannot be opened.
    TempDir dir;
    QDir(dir.path()).mkdir("folder.mp3");
    for (const QString& name : {QString("folder.mp3"), QString("missing/song.mp3")}) {
        ScriptedUserInterface ui;
        const QString path = dir.filePath(name);
        TID3v2 tag;
        ReadID3v2(path, tag);
        TMpegHeader header;
        FindMpegHeader(path, header);
        EXPECT_EQ(ui.texts(), (QStringList{"Cannot open '" + path.section('/', -1) + "'.", "File access error"}));
        EXPECT_EQ(FindVbrFrameCount(path, 10), -1);
        TMpegFileInfo info;
        GetMpegFileInfo(path, info);
        EXPECT_FALSE(info.Valid);
        TMpegFile file;
        EXPECT_THROW(file.ReadFromFile(path), TagFileError);
    }
}
