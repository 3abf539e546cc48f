#include "AudioFixtures.h"
#include "ScriptedUserInterface.h"
#include "TempDir.h"
#include "UnitID3Tag.h"

#include <QDir>
#include <gtest/gtest.h>

using fixtures::MpegFrameShape;

namespace {

TMpegHeader headerOf(const QByteArray& fileBytes)
{
    TempDir dir;
    TMpegHeader header;
    FindMpegHeader(dir.write("song.mp3", fileBytes), header);
    return header;
}

qint32 vbrCountOf(const QByteArray& fileBytes, qint32 offset = 10)
{
    TempDir dir;
    return FindVbrFrameCount(dir.write("song.mp3", fileBytes), offset);
}

// Enough plain frames after a first frame to fill the 50000-byte window.
QByteArray vbrFile(const QByteArray& firstFrame)
{
    return firstFrame + fixtures::mpegFrames({}, 130);
}

}  // namespace

TEST(MpegTables, HoldTheStandardValues)
{
    EXPECT_EQ(MpegBitrates[3][1][9], 128);
    EXPECT_EQ(MpegBitrates[3][2][14], 384);
    EXPECT_EQ(MpegBitrates[3][3][14], 448);
    EXPECT_EQ(MpegBitrates[2][3][1], 32);
    EXPECT_EQ(MpegBitrates[0][1][14], 160);
    EXPECT_EQ(MpegBitrates[2][2][8], 64);
    for (int version = 0; version < 4; ++version) {
        for (int layer = 0; layer < 4; ++layer) {
            EXPECT_EQ(MpegBitrates[version][layer][0], 0);
            EXPECT_EQ(MpegBitrates[version][layer][15], 0);
        }
        EXPECT_EQ(MpegBitrates[version][0][5], 0);
        EXPECT_EQ(MpegSampleRates[version][3], 0);
    }
    EXPECT_EQ(MpegBitrates[1][1][5], 0);
    EXPECT_EQ(MpegSampleRates[3][0], 44100);
    EXPECT_EQ(MpegSampleRates[2][1], 24000);
    EXPECT_EQ(MpegSampleRates[0][2], 8000);
}

TEST(FindMpegHeader, DecodesAHeaderAtTheFirstByte)
{
    const TMpegHeader header = headerOf(QByteArray("\xFF\xFB\x90\x00", 4) + QByteArray(400, '\0'));
    EXPECT_TRUE(header.Found);
    EXPECT_EQ(header.Position, 0);
    EXPECT_EQ(header.HeaderSize, 4);
    EXPECT_EQ(header.VersionID, 3);
    EXPECT_EQ(header.LayerID, 1);
    EXPECT_EQ(header.ProtectionBit, 1);
    EXPECT_EQ(header.BitrateIndex, 9);
    EXPECT_EQ(header.SampleRateIndex, 0);
    EXPECT_EQ(header.ChannelMode, 0);
}

TEST(FindMpegHeader, DecodesEveryField)
{
    MpegFrameShape shape;
    shape.versionID = 2;
    shape.layerID = 2;
    shape.bitrateIndex = 5;
    shape.sampleRateIndex = 1;
    shape.padding = true;
    shape.crc = true;
    shape.channelMode = 3;
    shape.copyright = true;
    shape.original = false;
    shape.emphasis = 3;
    const TMpegHeader header = headerOf(QByteArray(7, 'x') + fixtures::mpegFrames(shape, 2));
    EXPECT_EQ(header.Position, 7);
    EXPECT_EQ(header.VersionID, 2);
    EXPECT_EQ(header.LayerID, 2);
    EXPECT_EQ(header.ProtectionBit, 0);
    EXPECT_EQ(header.BitrateIndex, 5);
    EXPECT_EQ(header.SampleRateIndex, 1);
    EXPECT_EQ(header.PaddingBit, 1);
    EXPECT_EQ(header.ChannelMode, 3);
    EXPECT_EQ(header.Copyright, 1);
    EXPECT_EQ(header.Original, 0);
    EXPECT_EQ(header.Emphasis, 3);
    EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(header.Raw.data()), 4), fixtures::mpegHeader(shape));
}

TEST(FindMpegHeader, SkipsInvalidHeaders)
{
    const QByteArray valid = fixtures::mpegHeader({});
    const struct {
        const char* why;
        QByteArray bytes;
    } invalid[] = {
        {"free format", QByteArray("\xFF\xFB\x00\x00", 4)},
        {"bitrate index 15", QByteArray("\xFF\xFB\xF0\x00", 4)},
        {"sample-rate index 3", QByteArray("\xFF\xFB\x9C\x00", 4)},
        {"emphasis 2", QByteArray("\xFF\xFB\x90\x02", 4)},
        {"reserved version", QByteArray("\xFF\xEB\x90\x00", 4)},
        {"reserved layer", QByteArray("\xFF\xF9\x90\x00", 4)},
        {"no sync", QByteArray("\xFF\x7B\x90\x00", 4)},
    };
    for (const auto& c : invalid) {
        const TMpegHeader header = headerOf(c.bytes + QByteArray(10, '\0') + valid + QByteArray(100, '\0'));
        EXPECT_EQ(header.Position, 14) << c.why;
    }
}

TEST(FindMpegHeader, ScanStartsAfterTheID3v2Tag)
{
    // A picture whose bytes hold a valid 320 kbit/s header.
    const QByteArray picture = QByteArray("\0image/jpeg\0\x03\0", 14) + QByteArray("\xFF\xFB\xE0\x44", 4) + QByteArray(60, '\1');
    const QByteArray tag = fixtures::ID3v2TagBuilder(3).frame("APIC", picture).padding(30).build();
    const TMpegHeader header = headerOf(tag + fixtures::mpegFrames({}, 3));
    EXPECT_EQ(header.Position, tag.size());
    EXPECT_EQ(header.BitrateIndex, 9);
}

TEST(FindMpegHeader, ScanStartsAfterTheTagFooter)
{
    const QByteArray tag = fixtures::ID3v2TagBuilder(4).textFrame("TIT2", "T").footer().build();
    ASSERT_TRUE(tag.endsWith(fixtures::syncsafe32(quint32(tag.size() - 20))));
    // The footer itself holds no sync; a header right after it is found at once.
    const TMpegHeader header = headerOf(tag + fixtures::mpegFrames({}, 2));
    EXPECT_EQ(header.Position, tag.size());
}

TEST(FindMpegHeader, HeaderFarIntoTheFileIsFound)
{
    QByteArray bytes(200000, '\0');
    for (int i = 0; i < bytes.size(); i += 7)
        bytes[i] = '\xFF';
    const TMpegHeader header = headerOf(bytes + fixtures::mpegFrames({}, 2));
    EXPECT_EQ(header.Position, 200000);
    EXPECT_EQ(header.BitrateIndex, 9);
}

TEST(FindMpegHeader, FourByteFileLeavesTheHeaderUntouched)
{
    const TMpegHeader header = headerOf(QByteArray("\xFF\xFB\x90\x00", 4));
    EXPECT_FALSE(header.Found);
    EXPECT_EQ(header.Position, 0);
    EXPECT_EQ(header.VersionID, 0);
    EXPECT_EQ(header.Raw, (std::array<quint8, 4>{}));
}

TEST(FindMpegHeader, FileWithoutHeaderStillEndsFound)
{
    const TMpegHeader header = headerOf(QByteArray("\x01\x02\x03\x04\x05\x06", 6));
    EXPECT_TRUE(header.Found);
    EXPECT_EQ(header.Position, 4);
    // The last read, at offset 3, filled three bytes; the fourth kept the file's last byte.
    EXPECT_EQ(header.Raw, (std::array<quint8, 4>{4, 5, 6, 6}));
}

TEST(FindMpegHeader, ShortReadAtTheEndCanCompleteAHeader)
{
    // Offset 3 reads $FF $FB $90 and keeps $90 from the read before: a valid header.
    const TMpegHeader header = headerOf(QByteArray("\x01\x02\x03\xFF\xFB\x90", 6));
    EXPECT_EQ(header.Position, 3);
    EXPECT_EQ(header.Raw, (std::array<quint8, 4>{0xFF, 0xFB, 0x90, 0x90}));
}

TEST(FindMpegHeader, UnopenableFileGivesAWarningAndNoHeader)
{
    ScriptedUserInterface ui;
    TempDir dir;
    TMpegHeader header;
    FindMpegHeader(dir.filePath("missing.mp3"), header);
    EXPECT_FALSE(header.Found);
    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_EQ(ui.messages[0].text, "File access error");
    EXPECT_EQ(ui.messages[0].icon, ui::Icon::Warning);
}

TEST(FindVbrFrameCount, XingHeaderGivesItsFrameCount)
{
    EXPECT_EQ(vbrCountOf(vbrFile(fixtures::xingFrame({}, 5000))), 5000);
}

TEST(FindVbrFrameCount, XingHeaderWithoutCountGivesZero)
{
    EXPECT_EQ(vbrCountOf(vbrFile(fixtures::xingFrame({}, std::nullopt))), 0);
}

TEST(FindVbrFrameCount, VbriHeaderGivesItsFrameCountUpTo500000)
{
    EXPECT_EQ(vbrCountOf(vbrFile(fixtures::vbriFrame({}, 777))), 777);
    EXPECT_EQ(vbrCountOf(vbrFile(fixtures::vbriFrame({}, 500000))), 500000);
    EXPECT_EQ(vbrCountOf(vbrFile(fixtures::vbriFrame({}, 500001))), 0);
    EXPECT_EQ(vbrCountOf(vbrFile(fixtures::vbriFrame({}, 0x80000001))), 0);
}

TEST(FindVbrFrameCount, PlainFramesGiveMinusOne)
{
    EXPECT_EQ(vbrCountOf(vbrFile(fixtures::mpegFrame({}))), -1);
}

TEST(FindVbrFrameCount, FileShorterThanTheWindowIsNeverVbr)
{
    const QByteArray file = vbrFile(fixtures::xingFrame({}, 5000));
    EXPECT_EQ(vbrCountOf(file.left(50010)), 5000);
    EXPECT_EQ(vbrCountOf(file.left(50009)), -1);
}

TEST(FindVbrFrameCount, LowerPositionWins)
{
    const QByteArray vbri = fixtures::vbriFrame({}, 20);
    const QByteArray xing = fixtures::xingFrame({}, 30);
    EXPECT_EQ(vbrCountOf(vbrFile(vbri + xing)), 20);
    EXPECT_EQ(vbrCountOf(vbrFile(xing + vbri)), 30);
}

TEST(FindVbrFrameCount, SearchesOnlyTheWindowFromTheOffset)
{
    const QByteArray file = QByteArray(100, '\0') + vbrFile(fixtures::xingFrame({}, 42));
    EXPECT_EQ(vbrCountOf(file, 10), 42);
    EXPECT_EQ(vbrCountOf(file, 200), -1);
    // The marker must begin within the first 49997 bytes of the window.
    const QByteArray late = QByteArray(49996, '\0') + "Xing" + fixtures::bigEndian32(1) + fixtures::bigEndian32(9);
    EXPECT_EQ(vbrCountOf(late + QByteArray(100, '\0'), 0), 9);
    EXPECT_EQ(vbrCountOf('\0' + late + QByteArray(100, '\0'), 0), -1);
}

TEST(FindVbrFrameCount, CountAtTheVeryEndOfTheFileReadsMissingBytesAsZero)
{
    // The marker ends the window and the file; its flags and count are beyond both.
    const QByteArray file = QByteArray(49996, '\0') + "VBRI";
    EXPECT_EQ(vbrCountOf(file, 0), 0);
    const QByteArray xing = QByteArray(49996, '\0') + "Xing" + fixtures::bigEndian32(1) + QByteArray("\x00\x00\x01", 3);
    EXPECT_EQ(vbrCountOf(xing, 0), 256);
}

TEST(FindVbrFrameCount, MissingFileGivesMinusOne)
{
    ScriptedUserInterface ui;
    TempDir dir;
    EXPECT_EQ(FindVbrFrameCount(dir.filePath("missing.mp3"), 10), -1);
    EXPECT_EQ(FindVbrFrameCount(dir.path(), 10), -1);
    EXPECT_TRUE(ui.messages.isEmpty());
}
