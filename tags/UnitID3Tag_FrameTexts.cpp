#include "ByteOrder.h"
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

// A URL is stored in ISO-8859-1; one written as UTF-16 is recognised by its byte-order mark.
QString decodeUrl(const QByteArray& data, qsizetype offset)
{
    const bool marked = (byteAt(data, offset) == 0xFF && byteAt(data, offset + 1) == 0xFE)
        || (byteAt(data, offset) == 0xFE && byteAt(data, offset + 1) == 0xFF);
    return decodeText(data, offset, marked ? Utf16Text : Latin1Text).text;
}

QString* textFieldFor(const TID3v2Frame& frame, TID3v2& tag)
{
    QString TID3v2::*field = textFieldOf(frame.FrameID);
    return field ? &(tag.*field) : nullptr;
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

bool isDecoded(const TID3v2Frame& frame)
{
    return textFieldOf(frame.FrameID) != nullptr || MatchFrameID(frame.FrameID, "COMM")
        || MatchFrameID(frame.FrameID, "WXXX");
}

// Only the user's own comment and URL, those without a description, are shown; the others (a
// player's volume or gapless data, a shop's link) are not the user's to see or edit here. A frame
// whose content cannot be had shows nothing.
void decodeFrame(TID3v2Frame& frame, TID3v2& tag)
{
    const std::optional<QByteArray> content = frameContent(frame, tag.Version);
    if (!content)
        return;
    const QByteArray& data = *content;
    if (QString* field = textFieldFor(frame, tag)) {
        frame.Encoding = byteAt(data, 0);
        *field = decodeText(data, 1, frame.Encoding).text;
    } else if (MatchFrameID(frame.FrameID, "COMM")) {
        CommentFields comment = decodeComment(data);
        frame.Encoding = comment.encoding;
        if (!comment.description.isEmpty())
            return;
        tag.CommentLanguage = comment.language;
        tag.CommentDescription.clear();
        tag.Comment = std::move(comment.text);
    } else if (MatchFrameID(frame.FrameID, "WXXX")) {
        UrlFields url = decodeUrlFrame(data);
        frame.Encoding = url.encoding;
        if (!url.description.isEmpty())
            return;
        tag.UrlDescription.clear();
        tag.Url = std::move(url.url);
    }
}

TID3v2 textsOfFrames(const TID3v2FrameList& frames, qint32 version)
{
    TID3v2 texts;
    texts.Version = version;
    for (TID3v2Frame frame : frames) {
        if (frame.DataOffset < 0)
            decodeFrame(frame, texts);
    }
    return texts;
}

CommentFields decodeComment(const QByteArray& data)
{
    CommentFields comment;
    comment.encoding = byteAt(data, 0);
    copyBytes(comment.language, data, 1);
    const DecodedText description = decodeText(data, 4, comment.encoding);
    comment.description = description.text;
    comment.text = decodeText(data, description.next, comment.encoding).text;
    return comment;
}

UrlFields decodeUrlFrame(const QByteArray& data)
{
    UrlFields url;
    url.encoding = byteAt(data, 0);
    const DecodedText description = decodeText(data, 1, url.encoding);
    url.description = description.text;
    url.url = decodeUrl(data, description.next);
    return url;
}
