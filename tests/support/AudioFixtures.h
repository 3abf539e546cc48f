#pragma once

// Audio test data made by the tests themselves: MPEG frames, Xing and VBRI headers, ID3v2 tags and
// ID3v1 blocks built byte by byte, and real files encoded by lame from a generated sine.
// Everything here is written from the formats' definitions, apart from the code under test.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

class TempDir;

namespace fixtures {

QByteArray bigEndian32(quint32 value);
QByteArray syncsafe32(quint32 value);

// ---------------------------------------------------------------- MPEG audio frames

struct MpegFrameShape {
    int versionID = 3;        // 0 MPEG 2.5, 2 MPEG 2, 3 MPEG 1
    int layerID = 1;          // 1 Layer III, 2 Layer II, 3 Layer I
    int bitrateIndex = 9;     // 128 kbit/s in MPEG 1 Layer III
    int sampleRateIndex = 0;  // 44100 Hz in MPEG 1
    bool padding = false;
    bool crc = false;         // true: protection bit 0, a CRC follows the header
    int channelMode = 1;      // 0 stereo, 1 joint stereo, 2 dual channel, 3 mono
    bool copyright = false;
    bool original = true;
    int emphasis = 0;
};

int bitrateOf(const MpegFrameShape& shape);      // kbit/s
int sampleRateOf(const MpegFrameShape& shape);   // Hz
int samplesPerFrameOf(const MpegFrameShape& shape);
QByteArray mpegHeader(const MpegFrameShape& shape);
int mpegFrameLength(const MpegFrameShape& shape);   // header included
// One frame: the header and zero bytes, which never form a false sync.
QByteArray mpegFrame(const MpegFrameShape& shape);
QByteArray mpegFrames(const MpegFrameShape& shape, int count);
// A first frame carrying a Xing header; without a count its flags lack the frame-count bit.
QByteArray xingFrame(const MpegFrameShape& shape, std::optional<quint32> frameCount);
QByteArray vbriFrame(const MpegFrameShape& shape, quint32 frameCount);

// The frames of a file found by walking from `start`, each frame's length from its own header.
struct FrameWalk {
    int frames = 0;
    qint64 bytes = 0;
    int sampleRate = 0;
    int samplesPerFrame = 0;
    double meanBitrate() const;   // kbit/s over all frames walked
    double seconds() const;
};
FrameWalk walkFrames(const QByteArray& file, qint64 start);

// ---------------------------------------------------------------- ID3v2 tags

// A text as a frame stores it: encoding 1 is UTF-16 little-endian after its byte-order mark.
QByteArray encodedText(const QString& text, quint8 encoding);
QByteArray terminatorFor(quint8 encoding);

class ID3v2TagBuilder {
public:
    explicit ID3v2TagBuilder(int majorVersion = 3) : majorVersion(majorVersion) {}

    // Frames are written with their ids and sizes as the version stores them (2.2: three-letter ids).
    ID3v2TagBuilder& frame(const QByteArray& id, const QByteArray& data, const QByteArray& flags = QByteArray(2, '\0'));
    ID3v2TagBuilder& textFrame(const QByteArray& id, const QString& text, quint8 encoding = 0);
    ID3v2TagBuilder& commentFrame(const QByteArray& language, const QString& description, const QString& text,
                                  quint8 encoding = 0);
    ID3v2TagBuilder& urlFrame(const QString& description, const QString& url, quint8 encoding = 0);
    // Any bytes in the frame area, for damaged frames.
    ID3v2TagBuilder& raw(const QByteArray& bytes);
    // The extended header as stored, size bytes included; sets the header's flag.
    ID3v2TagBuilder& extendedHeader(const QByteArray& stored);
    ID3v2TagBuilder& padding(int bytes);
    ID3v2TagBuilder& footer();
    ID3v2TagBuilder& flags(quint8 extraFlags);
    // The size the header claims instead of the true one, for damaged tags.
    ID3v2TagBuilder& claimedSize(quint32 size);
    // Every frame after this one stored unsynchronised: 2.3 the whole tag (the header's flag), 2.4
    // each frame (its own flag).
    ID3v2TagBuilder& unsynchronised();
    // Frame sizes of a 2.4 tag as plain numbers, as some writers store them.
    ID3v2TagBuilder& plainSizes();

    QByteArray build() const;
    int size() const;   // the tag's size field: its length without the 10-byte header (and footer)

private:
    QByteArray storedBody() const;

    int majorVersion;
    quint8 headerFlags = 0;
    QByteArray extended;
    QByteArray body;
    int paddingBytes = 0;
    bool withFooter = false;
    std::optional<quint32> sizeClaim;
    bool unsynchronise = false;
    bool plainSize = false;
};

// The bytes as unsynchronisation stores them: a zero after every $FF before a byte of $E0 or more
// or a zero, and after a last $FF.
QByteArray unsynchronisedBytes(const QByteArray& plain);

// Tags as other programs write them: a player's comments beside the user's own, several values,
// unsynchronised 2.3 and 2.4 tags, 2.4 frame sizes stored as plain numbers, and a 2.2 tag.
QList<QByteArray> realWorldTags();

// ---------------------------------------------------------------- ID3v1 blocks

struct ID3v1Fields {
    QByteArray title, artist, album, year, comment;
    int track = 0;   // 0: an ID3v1.0 block whose comment may fill all 30 bytes
    quint8 genre = 255;
};
QByteArray id3v1Block(const ID3v1Fields& fields);

// ---------------------------------------------------------------- real encoded files

// A 16-bit PCM WAV file of a 440 Hz sine.
QByteArray sineWav(double seconds, int sampleRate = 44100, int channels = 2);
// Encodes a generated sine with lame (MPEG Layer III) or twolame (Layer II) and the given options;
// returns the encoded file's path. Throws std::runtime_error when the encoder fails.
QString encodeWithLame(const TempDir& dir, const QString& name, double seconds, const QStringList& options,
                       int sampleRate = 44100);
QString encodeWithTwolame(const TempDir& dir, const QString& name, double seconds, const QStringList& options);

}  // namespace fixtures
