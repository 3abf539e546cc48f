#include "AudioFixtures.h"

#include "TempDir.h"

#include <QProcess>
#include <QtEndian>
#include <cmath>
#include <initializer_list>
#include <numbers>
#include <stdexcept>

namespace fixtures {

namespace {

QByteArray bytes(std::initializer_list<int> values)
{
    QByteArray result;
    for (const int value : values)
        result.append(char(value));
    return result;
}

}  // namespace

QByteArray bigEndian32(quint32 value)
{
    QByteArray bytes(4, '\0');
    qToBigEndian(value, bytes.data());
    return bytes;
}

QByteArray syncsafe32(quint32 value)
{
    return bytes({int(value >> 21) & 0x7F, int(value >> 14) & 0x7F, int(value >> 7) & 0x7F, int(value) & 0x7F});
}

// ---------------------------------------------------------------- MPEG audio frames

namespace {

// ISO/IEC 11172-3 and 13818-3; MPEG 2.5 uses the MPEG 2 rows.
const int bitratesMpeg1[4][15] = {
    {},
    {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320},
    {0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384},
    {0, 32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448},
};
const int bitratesMpeg2[4][15] = {
    {},
    {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160},
    {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160},
    {0, 32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256},
};
const int sampleRates[4][3] = {{11025, 12000, 8000}, {}, {22050, 24000, 16000}, {44100, 48000, 32000}};

bool isMpeg1(const MpegFrameShape& shape)
{
    return shape.versionID == 3;
}

// Where a Layer III frame's side information ends and a Xing header may begin.
int sideInfoEnd(const MpegFrameShape& shape)
{
    const bool mono = shape.channelMode == 3;
    const int sideInfo = isMpeg1(shape) ? (mono ? 17 : 32) : (mono ? 9 : 17);
    return 4 + (shape.crc ? 2 : 0) + sideInfo;
}

std::optional<MpegFrameShape> parseHeader(const uchar* b)
{
    if (b[0] != 0xFF || (b[1] & 0xE0) != 0xE0)
        return std::nullopt;
    MpegFrameShape shape;
    shape.versionID = (b[1] >> 3) & 3;
    shape.layerID = (b[1] >> 1) & 3;
    shape.crc = (b[1] & 1) == 0;
    shape.bitrateIndex = b[2] >> 4;
    shape.sampleRateIndex = (b[2] >> 2) & 3;
    shape.padding = (b[2] >> 1) & 1;
    shape.channelMode = b[3] >> 6;
    if (shape.versionID == 1 || shape.layerID == 0 || shape.bitrateIndex == 0 || shape.bitrateIndex == 15
        || shape.sampleRateIndex == 3)
        return std::nullopt;
    return shape;
}

}  // namespace

int bitrateOf(const MpegFrameShape& shape)
{
    return isMpeg1(shape) ? bitratesMpeg1[shape.layerID][shape.bitrateIndex] : bitratesMpeg2[shape.layerID][shape.bitrateIndex];
}

int sampleRateOf(const MpegFrameShape& shape)
{
    return sampleRates[shape.versionID][shape.sampleRateIndex];
}

int samplesPerFrameOf(const MpegFrameShape& shape)
{
    if (shape.layerID == 3)
        return 384;
    return shape.layerID == 1 && !isMpeg1(shape) ? 576 : 1152;
}

QByteArray mpegHeader(const MpegFrameShape& shape)
{
    return bytes({0xFF, 0xE0 | shape.versionID << 3 | shape.layerID << 1 | (shape.crc ? 0 : 1),
                  shape.bitrateIndex << 4 | shape.sampleRateIndex << 2 | (shape.padding ? 2 : 0),
                  shape.channelMode << 6 | (shape.copyright ? 8 : 0) | (shape.original ? 4 : 0) | shape.emphasis});
}

int mpegFrameLength(const MpegFrameShape& shape)
{
    const int bitsPerSecond = bitrateOf(shape) * 1000;
    const int rate = sampleRateOf(shape);
    if (shape.layerID == 3)
        return (12 * bitsPerSecond / rate + (shape.padding ? 1 : 0)) * 4;
    // Bytes per frame = samples per frame / 8 x bit rate / sample rate.
    return samplesPerFrameOf(shape) / 8 * bitsPerSecond / rate + (shape.padding ? 1 : 0);
}

QByteArray mpegFrame(const MpegFrameShape& shape)
{
    QByteArray frame = mpegHeader(shape);
    frame.append(QByteArray(mpegFrameLength(shape) - 4, '\0'));
    return frame;
}

QByteArray mpegFrames(const MpegFrameShape& shape, int count)
{
    return mpegFrame(shape).repeated(count);
}

QByteArray xingFrame(const MpegFrameShape& shape, std::optional<quint32> frameCount)
{
    QByteArray frame = mpegFrame(shape);
    const QByteArray xing = "Xing" + bigEndian32(frameCount ? 1 : 0) + bigEndian32(frameCount.value_or(0));
    frame.replace(sideInfoEnd(shape), xing.size(), xing);
    return frame;
}

QByteArray vbriFrame(const MpegFrameShape& shape, quint32 frameCount)
{
    QByteArray frame = mpegFrame(shape);
    // "VBRI", version, delay, quality, byte count, frame count.
    const QByteArray vbri = "VBRI" + QByteArray("\x00\x01\x00\x00\x00\x50", 6) + bigEndian32(quint32(frame.size()))
        + bigEndian32(frameCount);
    frame.replace(4 + 32, vbri.size(), vbri);
    return frame;
}

double FrameWalk::meanBitrate() const
{
    return double(bytes) * 8 / seconds() / 1000;
}

double FrameWalk::seconds() const
{
    return double(frames) * samplesPerFrame / sampleRate;
}

FrameWalk walkFrames(const QByteArray& file, qint64 start)
{
    FrameWalk walk;
    qint64 position = start;
    while (position + 4 <= file.size()) {
        const auto shape = parseHeader(reinterpret_cast<const uchar*>(file.constData()) + position);
        if (!shape)
            break;
        const int length = mpegFrameLength(*shape);
        walk.frames += 1;
        walk.bytes += length;
        walk.sampleRate = sampleRateOf(*shape);
        walk.samplesPerFrame = samplesPerFrameOf(*shape);
        position += length;
    }
    return walk;
}

// ---------------------------------------------------------------- ID3v2 tags

QByteArray encodedText(const QString& text, quint8 encoding)
{
    switch (encoding) {
    case 1: {
        QByteArray utf16("\xFF\xFE", 2);
        for (const QChar c : text)
            utf16 += bytes({c.unicode() & 0xFF, c.unicode() >> 8});
        return utf16;
    }
    case 2: {
        QByteArray utf16;
        for (const QChar c : text)
            utf16 += bytes({c.unicode() >> 8, c.unicode() & 0xFF});
        return utf16;
    }
    case 3:
        return text.toUtf8();
    default:
        return text.toLatin1();
    }
}

QByteArray terminatorFor(quint8 encoding)
{
    return QByteArray(encoding == 1 || encoding == 2 ? 2 : 1, '\0');
}

ID3v2TagBuilder& ID3v2TagBuilder::frame(const QByteArray& id, const QByteArray& data, const QByteArray& flags)
{
    if (majorVersion == 2) {
        body += id.left(3) + bigEndian32(quint32(data.size())).right(3) + data;
        return *this;
    }
    if (unsynchronise && majorVersion == 4) {
        const QByteArray stored = unsynchronisedBytes(data);
        body += id.left(4) + syncsafe32(quint32(stored.size())) + flags.left(1) + char(flags[1] | 0x02) + stored;
        return *this;
    }
    const bool syncsafe = majorVersion == 4 && !plainSize;
    const QByteArray size = syncsafe ? syncsafe32(quint32(data.size())) : bigEndian32(quint32(data.size()));
    body += id.left(4) + size + flags + data;
    return *this;
}

ID3v2TagBuilder& ID3v2TagBuilder::textFrame(const QByteArray& id, const QString& text, quint8 encoding)
{
    return frame(id, char(encoding) + encodedText(text, encoding));
}

ID3v2TagBuilder& ID3v2TagBuilder::commentFrame(const QByteArray& language, const QString& description,
                                               const QString& text, quint8 encoding)
{
    return frame("COMM", char(encoding) + language + encodedText(description, encoding) + terminatorFor(encoding)
                             + encodedText(text, encoding));
}

ID3v2TagBuilder& ID3v2TagBuilder::urlFrame(const QString& description, const QString& url, quint8 encoding)
{
    return frame("WXXX", char(encoding) + encodedText(description, encoding) + terminatorFor(encoding) + url.toLatin1());
}

ID3v2TagBuilder& ID3v2TagBuilder::raw(const QByteArray& bytes)
{
    body += bytes;
    return *this;
}

ID3v2TagBuilder& ID3v2TagBuilder::extendedHeader(const QByteArray& stored)
{
    extended = stored;
    headerFlags |= 0x40;
    return *this;
}

ID3v2TagBuilder& ID3v2TagBuilder::padding(int bytes)
{
    paddingBytes = bytes;
    return *this;
}

ID3v2TagBuilder& ID3v2TagBuilder::footer()
{
    withFooter = true;
    headerFlags |= 0x10;
    return *this;
}

ID3v2TagBuilder& ID3v2TagBuilder::flags(quint8 extraFlags)
{
    headerFlags |= extraFlags;
    return *this;
}

ID3v2TagBuilder& ID3v2TagBuilder::claimedSize(quint32 size)
{
    sizeClaim = size;
    return *this;
}

ID3v2TagBuilder& ID3v2TagBuilder::unsynchronised()
{
    unsynchronise = true;
    if (majorVersion == 3)
        headerFlags |= 0x80;
    return *this;
}

ID3v2TagBuilder& ID3v2TagBuilder::plainSizes()
{
    plainSize = true;
    return *this;
}

QByteArray unsynchronisedBytes(const QByteArray& plain)
{
    QByteArray stored;
    for (qsizetype i = 0; i < plain.size(); ++i) {
        stored += plain[i];
        const bool last = i + 1 == plain.size();
        if (plain[i] == '\xFF' && (last || quint8(plain[i + 1]) >= 0xE0 || plain[i + 1] == '\0'))
            stored += '\0';
    }
    return stored;
}

// The body of a 2.3 tag, whose unsynchronisation covers the extended header and every frame.
QByteArray ID3v2TagBuilder::storedBody() const
{
    const QByteArray plain = extended + body;
    return unsynchronise && majorVersion == 3 ? unsynchronisedBytes(plain) : plain;
}

int ID3v2TagBuilder::size() const
{
    return int(storedBody().size()) + paddingBytes;
}

QByteArray ID3v2TagBuilder::build() const
{
    const QByteArray sizeBytes = syncsafe32(sizeClaim.value_or(quint32(size())));
    const QByteArray versionBytes = bytes({majorVersion, 0, headerFlags});
    QByteArray tag = "ID3" + versionBytes + sizeBytes + storedBody() + QByteArray(paddingBytes, '\0');
    if (withFooter)
        tag += "3DI" + versionBytes + sizeBytes;
    return tag;
}

QList<QByteArray> realWorldTags()
{
    const QByteArray picture = QByteArray("\0image/png\0\x03\0", 13) + QByteArray("\xFF\xE0\x00\xFF\x10", 5).repeated(40);
    return {
        ID3v2TagBuilder(3)
            .textFrame("TIT2", QStringLiteral("Title"))
            .commentFrame("eng", QString(), QStringLiteral("Mine"))
            .commentFrame("eng", QStringLiteral("iTunNORM"), QStringLiteral(" 00000A2B 00000B3C"))
            .commentFrame("eng", QStringLiteral("iTunPGAP"), QStringLiteral("0"))
            .padding(30)
            .build(),
        ID3v2TagBuilder(4)
            .frame("TPE1", QByteArray("\3Artist A\0Artist B", 18))
            .frame("TCON", QByteArray("\0(17)(6)Grunge", 14))
            .textFrame("TIT2", QStringLiteral("Title"))
            .padding(20)
            .build(),
        ID3v2TagBuilder(3).unsynchronised().textFrame("TIT2", QStringLiteral("Ünsync"), 1).frame("APIC", picture).build(),
        ID3v2TagBuilder(4).unsynchronised().textFrame("TIT2", QStringLiteral("Ünsync"), 1).frame("APIC", picture).build(),
        ID3v2TagBuilder(4).plainSizes().frame("APIC", picture).textFrame("TIT2", QStringLiteral("Title")).padding(10).build(),
        ID3v2TagBuilder(2).textFrame("TT2", QStringLiteral("Title")).padding(10).build(),
    };
}

// ---------------------------------------------------------------- ID3v1 blocks

QByteArray id3v1Block(const ID3v1Fields& fields)
{
    const auto field = [](const QByteArray& text, int width) { return text.left(width).leftJustified(width, '\0'); };
    QByteArray block = "TAG" + field(fields.title, 30) + field(fields.artist, 30) + field(fields.album, 30)
        + field(fields.year, 4);
    if (fields.track == 0)
        block += field(fields.comment, 30);
    else
        block += field(fields.comment, 28) + '\0' + char(fields.track);
    block += char(fields.genre);
    return block;
}

// ---------------------------------------------------------------- real encoded files

QByteArray sineWav(double seconds, int sampleRate, int channels)
{
    const auto frames = quint32(std::lround(seconds * sampleRate));
    const quint32 dataSize = frames * quint32(channels) * 2;
    QByteArray wav;
    const auto put16 = [&wav](quint16 value) { wav.append(char(value & 0xFF)).append(char(value >> 8)); };
    const auto put32 = [&](quint32 value) { put16(quint16(value & 0xFFFF)); put16(quint16(value >> 16)); };
    wav += "RIFF";
    put32(36 + dataSize);
    wav += "WAVEfmt ";
    put32(16);
    put16(1);
    put16(quint16(channels));
    put32(quint32(sampleRate));
    put32(quint32(sampleRate * channels * 2));
    put16(quint16(channels * 2));
    put16(16);
    wav += "data";
    put32(dataSize);
    for (quint32 i = 0; i < frames; ++i) {
        const auto sample = qint16(std::lround(12000 * std::sin(2 * std::numbers::pi * 440 * i / sampleRate)));
        for (int c = 0; c < channels; ++c)
            put16(quint16(sample));
    }
    return wav;
}

namespace {

QString encode(const QString& encoder, const TempDir& dir, const QString& name, double seconds,
               const QStringList& options, int sampleRate)
{
    const QString wav = dir.write(name + ".wav", sineWav(seconds, sampleRate));
    const QString encoded = dir.filePath(name);
    QProcess process;
    process.start(encoder, QStringList{"--quiet"} + options + QStringList{wav, encoded});
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        throw std::runtime_error(encoder.toStdString() + " failed: " + process.readAllStandardError().toStdString());
    return encoded;
}

}  // namespace

QString encodeWithLame(const TempDir& dir, const QString& name, double seconds, const QStringList& options,
                       int sampleRate)
{
    return encode("lame", dir, name, seconds, options, sampleRate);
}

QString encodeWithTwolame(const TempDir& dir, const QString& name, double seconds, const QStringList& options)
{
    return encode("twolame", dir, name, seconds, options, 44100);
}

}  // namespace fixtures
