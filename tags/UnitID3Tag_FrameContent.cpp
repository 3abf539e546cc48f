#include "UnitID3Tag_Readers.h"

#include <zlib.h>

namespace {

// The format flags of a 2.3 frame, in the second of its flag bytes.
constexpr quint8 Compression23 = 0x80;
constexpr quint8 Encryption23 = 0x40;

// More than any text a tag holds: a damaged or hostile frame does not fill the memory.
constexpr qsizetype LargestInflated = 16 << 20;

std::optional<QByteArray> inflated(QByteArrayView compressed)
{
    z_stream stream{};
    if (inflateInit(&stream) != Z_OK)
        return std::nullopt;
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(compressed.data()));
    stream.avail_in = uInt(compressed.size());
    QByteArray content;
    char piece[16384];
    int status = Z_OK;
    while (status == Z_OK && content.size() <= LargestInflated) {
        stream.next_out = reinterpret_cast<Bytef*>(piece);
        stream.avail_out = sizeof piece;
        status = inflate(&stream, Z_NO_FLUSH);
        content.append(piece, qsizetype(sizeof piece - stream.avail_out));
    }
    inflateEnd(&stream);
    if (status != Z_STREAM_END || content.size() > LargestInflated)
        return std::nullopt;
    return content;
}

}  // namespace

std::optional<QByteArray> frameContent(const TID3v2Frame& frame, qint32 version)
{
    const quint8 format = frame.Flags[1];
    const QByteArrayView data(frame.Data);
    if (version == 3) {
        if ((format & Encryption23) != 0)
            return std::nullopt;
        // The size of the decompressed data comes first; the data says it again.
        if ((format & Compression23) != 0)
            return inflated(data.sliced(std::min<qsizetype>(4, data.size())));
        return frame.Data;
    }
    if (version != 4 || (format & (GroupingFlag | DataLengthFlag | CompressionFlag | EncryptionFlag)) == 0)
        return frame.Data;
    if ((format & EncryptionFlag) != 0)
        return std::nullopt;
    const qsizetype before = ((format & GroupingFlag) != 0 ? 1 : 0) + ((format & DataLengthFlag) != 0 ? 4 : 0);
    const QByteArrayView content = data.sliced(std::min(before, data.size()));
    if ((format & CompressionFlag) != 0)
        return inflated(content);
    return content.toByteArray();
}
