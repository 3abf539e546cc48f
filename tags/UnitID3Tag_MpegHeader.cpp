#include "ByteOrder.h"
#include "UnitID3Tag_Readers.h"
#include "UserInterface.h"

#include <cstring>

const quint16 MpegBitrates[4][4][16] = {
    {   // MPEG 2.5
        {},
        {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, 0},
        {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, 0},
        {0, 32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256, 0},
    },
    {},   // reserved
    {   // MPEG 2
        {},
        {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, 0},
        {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, 0},
        {0, 32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256, 0},
    },
    {   // MPEG 1
        {},
        {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 0},
        {0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384, 0},
        {0, 32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448, 0},
    },
};

const quint16 MpegSampleRates[4][4] = {
    {11025, 12000, 8000, 0},
    {0, 0, 0, 0},
    {22050, 24000, 16000, 0},
    {44100, 48000, 32000, 0},
};

namespace {

constexpr qint64 ScanPieceSize = 65536;

void decodeHeader(TMpegHeader& header)
{
    const auto& b = header.Raw;
    header.VersionID = (b[1] >> 3) & 3;
    header.LayerID = (b[1] >> 1) & 3;
    header.ProtectionBit = b[1] & 1;
    header.BitrateIndex = b[2] >> 4;
    header.SampleRateIndex = (b[2] >> 2) & 3;
    header.PaddingBit = (b[2] >> 1) & 1;
    header.PrivateBit = b[2] & 1;
    header.ChannelMode = b[3] >> 6;
    header.ModeExtension = (b[3] >> 4) & 3;
    header.Copyright = (b[3] >> 3) & 1;
    header.Original = (b[3] >> 2) & 1;
    header.Emphasis = b[3] & 3;
}

// The scan over a file read in pieces. Position by position it behaves as a four-byte read at
// each offset: near the end fewer bytes are there, and the bytes not read keep their last values.
class HeaderScan {
public:
    HeaderScan(const ReadFile& file, qint64 size, qint64 start, const QByteArray& prefetched, qint64 prefetchedAt,
               std::array<quint8, 4> raw)
        : file(file), size(size), start(start), pieceStart(prefetchedAt), piece(prefetched), raw(raw)
    {
    }

    // The first offset from `start` on that holds a valid header, or -1.
    qint64 find()
    {
        const qint64 last = size - 3;
        qint64 i = start;
        while (i <= last) {
            if (!covers(i) && !load(i))
                return -1;
            // Only offsets whose four bytes are in the piece, or the last few of the file, are tested here.
            const qint64 pieceEnd = pieceStart + piece.size();
            const qint64 limit = pieceEnd == size ? last + 1 : pieceEnd - 3;
            const char* from = piece.constData() + (i - pieceStart);
            const void* sync = std::memchr(from, 0xFF, size_t(limit - i));
            if (sync == nullptr) {
                i = limit;
                continue;
            }
            i += static_cast<const char*>(sync) - from;
            if (isMpegFrameHeader(rawAt(i)))
                return i;
            ++i;
        }
        return -1;
    }

    // The bytes the read at offset `i` leaves in the header.
    std::array<quint8, 4> rawAt(qint64 i)
    {
        if (!covers(i))
            load(i);
        std::array<quint8, 4> bytes = raw;
        const qint64 available = std::min<qint64>(4, pieceStart + piece.size() - i);
        for (qint64 k = 0; k < available; ++k)
            bytes[k] = quint8(piece.at(i - pieceStart + k));
        // The one read short of bytes is the last; the read before it left the file's last byte.
        if (available == 3 && i - 1 >= start)
            bytes[3] = quint8(piece.at(piece.size() - 1));
        return bytes;
    }

private:
    bool covers(qint64 i) const
    {
        const qint64 pieceEnd = pieceStart + piece.size();
        return i >= pieceStart && (i + 4 <= pieceEnd || (pieceEnd == size && i < pieceEnd));
    }

    bool load(qint64 i)
    {
        piece = file.readAt(i, ScanPieceSize);
        pieceStart = i;
        return !piece.isEmpty();
    }

    const ReadFile& file;
    qint64 size;
    qint64 start;
    qint64 pieceStart;
    QByteArray piece;
    std::array<quint8, 4> raw;
};

}  // namespace

namespace {

// Headers of one stream share their MPEG version, layer and sample rate.
bool sameStream(const std::array<quint8, 4>& a, const std::array<quint8, 4>& b)
{
    return (a[1] & 0xFE) == (b[1] & 0xFE) && (a[2] & 0x0C) == (b[2] & 0x0C);
}

// Frames in a row that no chance bytes make.
constexpr int ConvincingFrames = 4;

}  // namespace

std::array<quint8, 4> headerAt(QByteArrayView bytes, qsizetype at)
{
    std::array<quint8, 4> header{};
    copyBytes(header, bytes, at);
    return header;
}

bool isAudioAt(const FileBytesAt& bytesAt, qint64 start, qint64 tagEnd, qint64 fileLength)
{
    const qint64 blockAt = fileLength - qint64(sizeof(TID3v1));
    std::array<quint8, 4> first{};
    qint64 at = start;
    for (int frames = 0;; ++frames) {
        if (frames > 0 && (at == fileLength || (at == blockAt && bytesAt(at, 3) == "TAG")))
            return true;
        const QByteArray bytes = bytesAt(at, 4);
        const std::array<quint8, 4> header = headerAt(bytes, 0);
        if (bytes.size() < 4 || !isMpegFrameHeader(header) || (frames > 0 && !sameStream(first, header)))
            return false;
        if (frames == 0)
            first = header;
        else if (at >= tagEnd || frames == ConvincingFrames)
            return true;
        at += mpegFrameLength(header);
    }
}

bool isMpegFrameHeader(const std::array<quint8, 4>& b)
{
    return b[0] == 0xFF && (b[1] & 0xE0) == 0xE0 && ((b[1] >> 3) & 3) != 1 && ((b[1] >> 1) & 3) != 0
        && (b[2] >> 4) != 0 && (b[2] >> 4) != 15 && ((b[2] >> 2) & 3) != 3 && (b[3] & 3) != 2;
}

qint32 mpegFrameLength(const std::array<quint8, 4>& b)
{
    const int version = (b[1] >> 3) & 3;
    const int layer = (b[1] >> 1) & 3;
    const qint32 bitrate = qint32(MpegBitrates[version][layer][b[2] >> 4]) * 1000;
    const qint32 sampleRate = MpegSampleRates[version][(b[2] >> 2) & 3];
    const qint32 padding = (b[2] >> 1) & 1;
    if (bitrate == 0 || sampleRate == 0)
        return 0;
    if (layer == 3)
        return (12 * bitrate / sampleRate + padding) * 4;
    // Layer III of MPEG 2 and 2.5 holds half the samples of MPEG 1's frame.
    const qint32 perFrame = layer == 1 && version != 3 ? 72 : 144;
    return perFrame * bitrate / sampleRate + padding;
}

void findMpegHeaderFrom(ReadFile& file, qint64 start, TMpegHeader& header, const QByteArray& prefetched,
                        qint64 prefetchedAt)
{
    const qint64 size = file.length();
    if (size < 5)
        return;
    HeaderScan scan(file, size, start, prefetched, prefetchedAt, header.Raw);
    qint64 position = scan.find();
    if (position >= 0) {
        header.Raw = scan.rawAt(position);
    } else {
        // Nothing matched: the fields describe the last bytes read.
        position = std::max(start, size - 2);
        if (start <= size - 3)
            header.Raw = scan.rawAt(size - 3);
    }
    header.Found = true;
    header.Position = qint32(position);
    header.HeaderSize = 4;
    decodeHeader(header);
}

void reportMpegHeaderFileNotOpened()
{
    ui::showMessage("File access error", ui::Icon::Warning);
}

void FindMpegHeader(const QString& fileName, TMpegHeader& header)
{
    ReadFile file(fileName);
    if (!file.isOpen()) {
        reportMpegHeaderFileNotOpened();
        return;
    }
    // Start after the tag: a picture inside it can hold a false frame sync.
    findMpegHeaderFrom(file, audioStartAfter(id3v2TagIn(file)), header);
}
