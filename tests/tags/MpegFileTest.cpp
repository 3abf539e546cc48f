#include "AudioFixtures.h"
#include "ScriptedUserInterface.h"
#include "TempDir.h"
#include "UnitID3Tag.h"

#include <QDir>
#include <cmath>
#include <gtest/gtest.h>

using fixtures::MpegFrameShape;

namespace {

// Constant-bitrate audio of the given length, 128 kbit/s unless the frame says otherwise.
QByteArray cbrAudio(qsizetype bytes, const MpegFrameShape& shape = {})
{
    QByteArray audio = fixtures::mpegFrames(shape, int(bytes / fixtures::mpegFrameLength(shape)) + 1);
    audio.resize(bytes);
    return audio;
}

// Frames of 400 bytes at 44100 Hz, in a file whose Xing header announces `count` frames.
QByteArray vbrAudio(int frames, std::optional<quint32> count)
{
    QByteArray audio = fixtures::xingFrame({}, count) + fixtures::mpegFrames({}, frames - 1);
    audio.resize(qsizetype(frames) * 400);
    return audio;
}

struct ReadResult {
    bool ok = false;
    TMpegFile file;
};

ReadResult readFile(const TempDir& dir, const QByteArray& bytes)
{
    ReadResult result;
    result.ok = result.file.ReadFromFile(dir.write("song.mp3", bytes));
    return result;
}

}  // namespace

TEST(TMpegFile, StartsEmpty)
{
    const TMpegFile file;
    EXPECT_TRUE(file.FileName.isEmpty());
    EXPECT_FALSE(file.HasID3v1);
    EXPECT_FALSE(file.HasID3v2);
    EXPECT_EQ(file.ID3v1.Genre, NoGenre);
    EXPECT_EQ(file.ID3v1.Identifier[0], '\0');
    EXPECT_EQ(file.Header.Raw, (std::array<quint8, 4>{}));
    EXPECT_TRUE(file.ID3v2.Frames->empty());
}

TEST(TMpegFile, EmptyNameReadsNothing)
{
    ScriptedUserInterface ui;
    TMpegFile file;
    EXPECT_FALSE(file.ReadFromFile(""));
    EXPECT_TRUE(file.FileName.isEmpty());
    EXPECT_TRUE(ui.messages.isEmpty());
}

TEST(TMpegFile, ConstantBitrateDurationCountsAudioBytesOnly)
{
    TempDir dir;
    const QByteArray audio = cbrAudio(1600000);
    const ReadResult plain = readFile(dir, audio);
    EXPECT_TRUE(plain.ok);
    EXPECT_FALSE(plain.file.IsVBR);
    EXPECT_EQ(plain.file.Bitrate, 128u);
    EXPECT_EQ(plain.file.Duration, 100);

    // One byte less than 100 seconds, then the same with a block and a tag around it.
    const QByteArray shorter = audio.left(1599999);
    EXPECT_EQ(readFile(dir, shorter).file.Duration, 99);
    const QByteArray block = fixtures::id3v1Block({"T", "", "", "", "", 1, 1});
    const fixtures::ID3v2TagBuilder tag = fixtures::ID3v2TagBuilder(3).textFrame("TIT2", "Title");
    const ReadResult tagged = readFile(dir, fixtures::ID3v2TagBuilder(tag).padding(500).build() + audio + block);
    EXPECT_TRUE(tagged.ok);
    EXPECT_TRUE(tagged.file.HasID3v1);
    EXPECT_TRUE(tagged.file.HasID3v2);
    EXPECT_EQ(tagged.file.ID3v1Kind, ID3v1_1);
    EXPECT_EQ(tagged.file.ID3v2.Title, "Title");
    EXPECT_EQ(tagged.file.Duration, 100);
    // A tag whose size counts the audio and the block.
    const ReadResult counting = readFile(dir, fixtures::ID3v2TagBuilder(tag).raw(audio + block).build());
    EXPECT_TRUE(counting.file.HasID3v1);
    EXPECT_EQ(counting.file.Duration, 100);
}

TEST(TMpegFile, FalseSyncInAPictureDoesNotChangeTheBitrate)
{
    TempDir dir;
    const QByteArray picture = QByteArray("\0image/jpeg\0\x03\0", 14) + QByteArray("\xFF\xFB\x10\x44", 4) + QByteArray(3000, '\1');
    const QByteArray tag = fixtures::ID3v2TagBuilder(3).frame("APIC", picture).build();
    const ReadResult result = readFile(dir, tag + cbrAudio(160000));
    EXPECT_TRUE(result.ok);
    EXPECT_EQ(result.file.Header.Position, tag.size());
    EXPECT_EQ(result.file.Bitrate, 128u);
    EXPECT_EQ(result.file.Duration, 10);
}

TEST(TMpegFile, XingHeaderWithoutCountGivesZeroBitrateAndDuration)
{
    TempDir dir;
    const ReadResult result = readFile(dir, vbrAudio(200, std::nullopt));
    EXPECT_TRUE(result.ok);
    EXPECT_TRUE(result.file.IsVBR);
    EXPECT_EQ(result.file.Bitrate, 0u);
    EXPECT_EQ(result.file.Duration, 0);
}

TEST(TMpegFile, VbrBitrateIsTheFramesMeanRoundedToEven)
{
    TempDir dir;
    // 2,000,000 bytes in 5000 frames of 44100 Hz: 122.5 kbit/s rounds to 122.
    const QByteArray audio = vbrAudio(5000, 5000);
    const ReadResult result = readFile(dir, audio);
    EXPECT_TRUE(result.ok);
    EXPECT_TRUE(result.file.IsVBR);
    EXPECT_EQ(result.file.Bitrate, 122u);
    EXPECT_EQ(result.file.Duration, 131);
    // A tag whose size counts the frame with the Xing header.
    const qsizetype first = fixtures::mpegFrameLength({});
    const QByteArray tag = fixtures::ID3v2TagBuilder(3).textFrame("TIT2", "Title").raw(audio.left(first)).build();
    const ReadResult counting = readFile(dir, tag + audio.mid(first));
    EXPECT_TRUE(counting.file.IsVBR);
    EXPECT_EQ(counting.file.Bitrate, 122u);
}

TEST(TMpegFile, VbrBitrateUsesTheSamplesPerFrameOfEachLayerAndVersion)
{
    const struct {
        const char* what;
        int versionID;
        int layerID;
        int bitrateIndex;
        int sampleRateIndex;
    } cases[] = {
        {"MPEG 1 Layer I, 384 kbit/s", 3, 3, 12, 0},
        {"MPEG 2 Layer I, 128 kbit/s", 2, 3, 8, 0},
        {"MPEG 1 Layer II, 192 kbit/s", 3, 2, 10, 1},
        {"MPEG 2 Layer II, 64 kbit/s", 2, 2, 8, 1},
        {"MPEG 2 Layer III, 64 kbit/s", 2, 1, 8, 0},
        {"MPEG 2.5 Layer III, 32 kbit/s", 0, 1, 4, 2},
    };
    TempDir dir;
    for (const auto& c : cases) {
        MpegFrameShape shape;
        shape.versionID = c.versionID;
        shape.layerID = c.layerID;
        shape.bitrateIndex = c.bitrateIndex;
        shape.sampleRateIndex = c.sampleRateIndex;
        const int frameLength = fixtures::mpegFrameLength(shape);
        const int count = 60000 / frameLength + 2;
        QByteArray audio = fixtures::mpegFrames(shape, count);
        const QByteArray xing = "Xing" + fixtures::bigEndian32(1) + fixtures::bigEndian32(quint32(count));
        audio.replace(4 + 32, xing.size(), xing);
        const ReadResult result = readFile(dir, audio);
        ASSERT_TRUE(result.ok) << c.what;
        // Frames without padding fall short of the nominal rate by less than one slot per frame.
        const double slot = c.layerID == 3 ? 4 : 1;
        const double tolerance = fixtures::bitrateOf(shape) * slot / frameLength + 0.5;
        EXPECT_NEAR(double(result.file.Bitrate), fixtures::bitrateOf(shape), tolerance) << c.what;
        const double seconds = double(count) * fixtures::samplesPerFrameOf(shape) / fixtures::sampleRateOf(shape);
        EXPECT_NEAR(result.file.Duration, seconds, 1.0) << c.what;
    }
}

TEST(TMpegFile, FileShorterThanTheVbrWindowIsNeverVbr)
{
    TempDir dir;
    const QByteArray tag = fixtures::ID3v2TagBuilder(3).textFrame("TIT2", "T").build();
    const QByteArray audio = vbrAudio(125, 5000);   // exactly 50000 bytes
    EXPECT_TRUE(readFile(dir, tag + audio).file.IsVBR);
    EXPECT_FALSE(readFile(dir, tag + audio.left(49999)).file.IsVBR);
}

TEST(TMpegFile, NoValidHeaderGivesFalse)
{
    TempDir dir;
    const ReadResult result = readFile(dir, QByteArray(3000, '\x11'));
    EXPECT_FALSE(result.ok);
    EXPECT_TRUE(result.file.Header.Found);
    EXPECT_EQ(result.file.Bitrate, 0u);
}

TEST(TMpegFile, TagClaimingMoreThanTheFileKeepsItsFramesAndGivesNoLength)
{
    ScriptedUserInterface ui;
    TempDir dir;
    const QByteArray tag = fixtures::ID3v2TagBuilder(3).textFrame("TIT2", "T").padding(20).claimedSize(900000).build();
    const ReadResult result = readFile(dir, tag + fixtures::mpegFrames({}, 10));
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.file.ID3v2.TagSize, 900000);
    EXPECT_EQ(result.file.ID3v2.Title, "T");
    EXPECT_FALSE(result.file.IsVBR);
    EXPECT_EQ(result.file.Duration, 0);
    EXPECT_TRUE(ui.messages.isEmpty());
}

TEST(TMpegFile, UnopenableFileIsReportedByBothReadersAndRaises)
{
    ScriptedUserInterface ui;
    TempDir dir;
    QDir(dir.path()).mkdir("folder.mp3");
    TMpegFile file;
    EXPECT_THROW(file.ReadFromFile(dir.filePath("folder.mp3")), TagFileError);
    EXPECT_EQ(ui.texts(), (QStringList{"Cannot open 'folder.mp3'.", "File access error"}));
    EXPECT_EQ(ui.messages[0].icon, ui::Icon::Error);
    EXPECT_EQ(ui.messages[1].icon, ui::Icon::Warning);
    EXPECT_EQ(file.FileName, dir.filePath("folder.mp3"));
}

TEST(GetMpegFileInfo, FillsTheTexts)
{
    TempDir dir;
    MpegFrameShape shape;
    shape.sampleRateIndex = 2;
    shape.channelMode = 1;
    shape.crc = true;
    shape.copyright = true;
    shape.original = false;
    TMpegFileInfo info;
    GetMpegFileInfo(dir.write("song.mp3", cbrAudio(125000, shape)), info);
    EXPECT_TRUE(info.Valid);
    EXPECT_EQ(info.FileSize, "125 kb");
    EXPECT_EQ(info.Duration, "0:07");
    EXPECT_EQ(info.Bitrate, "128");
    EXPECT_EQ(info.VBR, "No");
    EXPECT_EQ(info.Version, "1");
    EXPECT_EQ(info.Layer, "III");
    EXPECT_EQ(info.ChannelMode, "Joint St.");
    EXPECT_EQ(info.SampleRate, "32000");
    EXPECT_EQ(info.CRC, "Yes");
    EXPECT_EQ(info.Copyright, "Yes");
    EXPECT_EQ(info.Original, "No");
}

TEST(GetMpegFileInfo, DurationShowsMinutesAndTwoDigitSeconds)
{
    TempDir dir;
    const struct {
        int seconds;
        const char* shown;
    } cases[] = {{59, "0:59"}, {125, "2:05"}, {600, "10:00"}};
    for (const auto& c : cases) {
        TMpegFileInfo info;
        GetMpegFileInfo(dir.write("song.mp3", cbrAudio(c.seconds * 16000 + 999)), info);
        EXPECT_EQ(info.Duration, c.shown) << c.seconds;
    }
}

TEST(GetMpegFileInfo, TextsOfEveryVersionLayerAndMode)
{
    TempDir dir;
    MpegFrameShape shape;
    shape.versionID = 0;
    shape.layerID = 2;
    shape.bitrateIndex = 4;
    shape.sampleRateIndex = 1;
    shape.channelMode = 3;
    TMpegFileInfo info;
    GetMpegFileInfo(dir.write("song.mp2", fixtures::mpegFrames(shape, 40)), info);
    EXPECT_EQ(info.Version, "2.5");
    EXPECT_EQ(info.Layer, "II");
    EXPECT_EQ(info.ChannelMode, "Mono");
    EXPECT_EQ(info.SampleRate, "12000");
    EXPECT_EQ(info.Bitrate, "32");
    EXPECT_EQ(info.CRC, "No");
    EXPECT_EQ(info.Original, "Yes");
    shape.versionID = 2;
    shape.layerID = 3;
    shape.channelMode = 2;
    GetMpegFileInfo(dir.write("song.mp2", fixtures::mpegFrames(shape, 40)), info);
    EXPECT_EQ(info.Version, "2");
    EXPECT_EQ(info.Layer, "I");
    EXPECT_EQ(info.ChannelMode, "Dual St.");
    shape.channelMode = 0;
    GetMpegFileInfo(dir.write("song.mp2", fixtures::mpegFrames(shape, 40)), info);
    EXPECT_EQ(info.ChannelMode, "Stereo");
}

TEST(GetMpegFileInfo, FileSizeRoundsTiesToEven)
{
    TempDir dir;
    for (const auto& [size, shown] : {std::pair{1500, "2 kb"}, {2500, "2 kb"}, {2501, "3 kb"}, {499, "0 kb"}}) {
        TMpegFileInfo info;
        GetMpegFileInfo(dir.write("noise.mp3", QByteArray(size, '\x11')), info);
        EXPECT_FALSE(info.Valid);
        EXPECT_EQ(info.FileSize, shown) << size;
    }
}

TEST(GetMpegFileInfo, MissingFileOnlyClearsValid)
{
    ScriptedUserInterface ui;
    TempDir dir;
    TMpegFileInfo info;
    info.Valid = true;
    GetMpegFileInfo(dir.filePath("missing.mp3"), info);
    EXPECT_FALSE(info.Valid);
    EXPECT_TRUE(info.FileSize.isEmpty());
    EXPECT_TRUE(ui.messages.isEmpty());
}
