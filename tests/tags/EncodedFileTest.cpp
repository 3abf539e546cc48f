#include "AudioFixtures.h"
#include "ScriptedUserInterface.h"
#include "TempDir.h"
#include "UnitID3Tag.h"

#include <QFile>
#include <cmath>
#include <gtest/gtest.h>

// Real files from the encoders. Each sine lasts n.5 seconds: the encoder delay and the padding of
// the last frame add less than 0.1 s (twolame may drop a last partial frame of 26 ms instead), so
// the whole seconds read must be n whichever way the encoder rounds.

namespace {

struct Encoded {
    TMpegFile file;
    bool ok = false;
    fixtures::FrameWalk walk;
};

Encoded readEncoded(const QString& path)
{
    Encoded encoded;
    encoded.ok = encoded.file.ReadFromFile(path);
    encoded.walk = fixtures::walkFrames(readAll(path), encoded.file.Header.Position);
    return encoded;
}

// The mean bitrate of the frames may differ from the one read by the rounding to whole kbit/s and
// by the Xing frame itself, which the count in it may leave out.
void expectMeanBitrate(const Encoded& encoded)
{
    const double mean = encoded.walk.meanBitrate();
    EXPECT_NEAR(double(encoded.file.Bitrate), mean, 0.5 + mean / encoded.walk.frames);
}

}  // namespace

TEST(EncodedFile, ConstantBitrate128)
{
    TempDir dir;
    const Encoded encoded = readEncoded(fixtures::encodeWithLame(dir, "cbr.mp3", 5.5, {"-b", "128"}));
    ASSERT_TRUE(encoded.ok);
    EXPECT_FALSE(encoded.file.IsVBR);
    EXPECT_EQ(encoded.file.Bitrate, 128u);
    EXPECT_EQ(encoded.file.Header.Position, 0);
    EXPECT_EQ(encoded.file.Header.VersionID, 3);
    EXPECT_EQ(encoded.file.Header.LayerID, 1);
    EXPECT_EQ(encoded.file.Header.SampleRateIndex, 0);
    EXPECT_EQ(encoded.file.Duration, 5);
    EXPECT_EQ(encoded.file.Duration, int(encoded.walk.seconds()));
    EXPECT_FALSE(encoded.file.HasID3v1);
    EXPECT_FALSE(encoded.file.HasID3v2);
}

TEST(EncodedFile, VariableBitrate)
{
    TempDir dir;
    const Encoded encoded = readEncoded(fixtures::encodeWithLame(dir, "vbr.mp3", 12.5, {"-V", "0"}));
    ASSERT_TRUE(encoded.ok);
    ASSERT_TRUE(encoded.file.IsVBR);
    expectMeanBitrate(encoded);
    EXPECT_EQ(encoded.file.Duration, 12);
}

TEST(EncodedFile, VariableBitrateMpeg2)
{
    TempDir dir;
    const Encoded encoded = readEncoded(fixtures::encodeWithLame(dir, "vbr22.mp3", 12.5, {"-V", "0"}, 22050));
    ASSERT_TRUE(encoded.ok);
    ASSERT_TRUE(encoded.file.IsVBR);
    EXPECT_EQ(encoded.file.Header.VersionID, 2);
    EXPECT_EQ(encoded.walk.samplesPerFrame, 576);
    expectMeanBitrate(encoded);
    EXPECT_EQ(encoded.file.Duration, 12);
}

TEST(EncodedFile, ConstantBitrateMpeg2)
{
    TempDir dir;
    const Encoded encoded = readEncoded(fixtures::encodeWithLame(dir, "cbr22.mp3", 12.5, {"-b", "64"}, 22050));
    ASSERT_TRUE(encoded.ok);
    EXPECT_FALSE(encoded.file.IsVBR);
    EXPECT_EQ(encoded.file.Header.VersionID, 2);
    EXPECT_EQ(encoded.file.Bitrate, 64u);
    EXPECT_EQ(encoded.file.Duration, 12);
}

TEST(EncodedFile, LayerII)
{
    TempDir dir;
    const Encoded encoded = readEncoded(fixtures::encodeWithTwolame(dir, "song.mp2", 12.5, {"-b", "192"}));
    ASSERT_TRUE(encoded.ok);
    EXPECT_EQ(encoded.file.Header.LayerID, 2);
    EXPECT_EQ(encoded.file.Bitrate, 192u);
    EXPECT_EQ(encoded.file.Duration, 12);
}

TEST(EncodedFile, TagsWrittenByTheEncoderAreReadAndNotCounted)
{
    TempDir dir;
    // The picture holds a valid 32 kbit/s frame header, which must not be taken for the audio's.
    QByteArray picture = QByteArray("\xFF\xD8\xFF\xE0", 4) + QByteArray(100, '\1') + QByteArray("\xFF\xFB\x10\x44", 4)
        + QByteArray(500, '\1') + QByteArray("\xFF\xD9", 2);
    const QString pictureFile = dir.write("cover.jpg", picture);
    const QString title = QString::fromUtf8("Tïtle ♫");
    const QString path = fixtures::encodeWithLame(dir, "tagged.mp3", 5.5,
                                                  {"-b", "128", "--add-id3v2", "--tt", title, "--ta", "Artist",
                                                   "--ty", "2001", "--tc", QString::fromUtf8("Nöte"), "--tn", "3",
                                                   "--tg", "Rock", "--ti", pictureFile});
    const Encoded encoded = readEncoded(path);
    ASSERT_TRUE(encoded.ok);
    EXPECT_TRUE(encoded.file.HasID3v1);
    EXPECT_TRUE(encoded.file.HasID3v2);
    EXPECT_EQ(encoded.file.ID3v1Kind, ID3v1_1);
    EXPECT_EQ(encoded.file.ID3v1.track(), 3);
    EXPECT_EQ(encoded.file.ID3v2.Title, title);
    EXPECT_EQ(encoded.file.ID3v2.Artist, "Artist");
    EXPECT_EQ(encoded.file.ID3v2.Year, "2001");
    EXPECT_EQ(encoded.file.ID3v2.Comment, QString::fromUtf8("Nöte"));
    EXPECT_TRUE(encoded.file.ID3v2.CommentDescription.isEmpty());
    EXPECT_EQ(encoded.file.ID3v2.Track, "3");
    EXPECT_EQ(DecodeGenre(encoded.file.ID3v2.Genre), "Rock");
    EXPECT_EQ(encoded.file.Bitrate, 128u);
    EXPECT_EQ(encoded.file.Header.Position, encoded.file.ID3v2.TagSize + 10);
    EXPECT_EQ(encoded.file.Duration, 5);

    TMpegFileInfo info;
    GetMpegFileInfo(path, info);
    EXPECT_TRUE(info.Valid);
    EXPECT_EQ(info.Bitrate, "128");
    EXPECT_EQ(info.Duration, "0:05");
    EXPECT_EQ(info.SampleRate, "44100");
    EXPECT_EQ(info.Version, "1");
    EXPECT_EQ(info.Layer, "III");
}
