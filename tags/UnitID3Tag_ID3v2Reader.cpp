#include "ByteOrder.h"
#include "UnitID3Tag_Readers.h"
#include "UserInterface.h"

#include <QHashFunctions>
#include <algorithm>
#include <cstring>
#include <sys/stat.h>

namespace {

constexpr qint64 FrameHeaderSize = 10;

[[noreturn]] void raiseReadPastEnd(const QFile& file)
{
    throw TagFileError("Read beyond end of file '" + fileNameForMessage(file.fileName()).toStdString() + "'");
}

// Reads a tag front to back. The tag's bytes come in one read; whatever a damaged size claims
// beyond them is read only as far as the file goes, and a read past its end raises.
class TagBytes {
public:
    TagBytes(QFile& file, qint64 length, qint64 position, qint64 prefetch)
        : file(file), length(length), position(position), bufferStart(position),
          buffer(readAt(file, position, std::min(prefetch, length - position)))
    {
    }

    // The bytes from `position` on as they read with the unsynchronisation undone: they are no
    // longer where the file holds them, so every frame is read into memory.
    TagBytes(QFile& file, qint64 position, const QByteArray& plain)
        : file(file), length(position + plain.size()), position(position), bufferStart(position), buffer(plain),
          inFile(false)
    {
    }

    // True while positions are those of the file.
    bool holdsFilePositions() const { return inFile; }
    qint64 at() const { return position; }
    qint64 fileLength() const { return length; }
    QString fileName() const { return file.fileName(); }

    QByteArray read(qint64 count)
    {
        if (count > length - position)
            raiseReadPastEnd(file);
        const qint64 offset = position - bufferStart;
        QByteArray bytes = offset + count <= buffer.size() ? buffer.mid(offset, count) : readAt(file, position, count);
        if (bytes.size() != count)
            raiseReadPastEnd(file);
        position += count;
        return bytes;
    }

    // The next bytes of a frame header, without a copy where the tag's read holds them.
    QByteArrayView readHeader()
    {
        const qint64 offset = position - bufferStart;
        if (FrameHeaderSize > length - position || offset + FrameHeaderSize > buffer.size()) {
            header = read(FrameHeaderSize);
            return header;
        }
        position += FrameHeaderSize;
        return QByteArrayView(buffer).sliced(offset, FrameHeaderSize);
    }

    // The next `count` bytes, which are read again by the next read.
    QByteArray peek(qint64 count)
    {
        QByteArray bytes = read(count);
        position -= count;
        return bytes;
    }

    // At most `count` bytes at `start`; fewer, or none, where the bytes end first.
    QByteArray peekAt(qint64 start, qint64 count)
    {
        count = std::min(count, length - start);
        const qint64 offset = start - bufferStart;
        if (offset < 0 || count <= 0)
            return {};
        if (offset + count <= buffer.size())
            return buffer.mid(offset, count);
        return inFile ? readAt(file, start, count) : QByteArray();
    }

    // True when a byte from `start` up to `end` (or the end of the bytes) is not zero.
    bool anyNonZeroIn(qint64 start, qint64 end)
    {
        const QByteArray rest = peekAt(start, end - start);
        return std::any_of(rest.begin(), rest.end(), [](char c) { return c != '\0'; });
    }

    // The digest of every byte of the tag read in one piece.
    size_t digest() const { return keptFrameDigest(buffer); }

    // Passes over `count` bytes that stay in the file; where they start.
    qint64 skip(qint64 count)
    {
        if (count > length - position)
            raiseReadPastEnd(file);
        const qint64 start = position;
        position += count;
        return start;
    }

    // The digest of `count` bytes at `start`, from the tag's read where it holds them.
    size_t digestAt(qint64 start, qint64 count)
    {
        const qint64 offset = start - bufferStart;
        if (offset >= 0 && offset + count <= buffer.size())
            return keptFrameDigest(QByteArrayView(buffer).sliced(offset, count));
        return keptFrameDigest(readAt(file, start, count));
    }

private:
    QFile& file;
    qint64 length;
    qint64 position;
    qint64 bufferStart;
    QByteArray buffer;
    QByteArray header;
    bool inFile = true;
};

// Bytes beyond a frame's data count as zero.
quint8 byteAt(QByteArrayView data, qsizetype index)
{
    return index < data.size() ? quint8(data[index]) : 0;
}

template <typename T, size_t N>
void copyBytes(std::array<T, N>& target, QByteArrayView source, qsizetype offset)
{
    for (size_t i = 0; i < N; ++i)
        target[i] = T(byteAt(source, offset + qsizetype(i)));
}

bool isFrameIDChar(char c)
{
    return c >= '0' && c <= 'Z';
}

// A URL is stored in ISO-8859-1; one written as UTF-16 is recognised by its byte-order mark.
QString decodeUrl(const QByteArray& data, qsizetype offset)
{
    const bool marked = (byteAt(data, offset) == 0xFF && byteAt(data, offset + 1) == 0xFE)
        || (byteAt(data, offset) == 0xFE && byteAt(data, offset + 1) == 0xFF);
    return marked ? decodeTextToEnd(data, offset, Utf16Text) : decodeText(data, offset, Latin1Text).text;
}

QString* textFieldFor(const TID3v2Frame& frame, TID3v2& tag)
{
    QString TID3v2::*field = textFieldOf(frame.FrameID);
    return field ? &(tag.*field) : nullptr;
}

bool isDecoded(const TID3v2Frame& frame, TID3v2& tag)
{
    return textFieldFor(frame, tag) || MatchFrameID(frame.FrameID, "COMM") || MatchFrameID(frame.FrameID, "WXXX");
}

// The user's own comment has no description; the others (a player's volume or gapless data) are
// shown only when there is no such comment.
void decodeFrame(TID3v2Frame& frame, TID3v2& tag, bool& plainCommentShown)
{
    const QByteArray& data = frame.Data;
    if (QString* field = textFieldFor(frame, tag)) {
        frame.Encoding = byteAt(data, 0);
        *field = decodeTextToEnd(data, 1, frame.Encoding);
    } else if (MatchFrameID(frame.FrameID, "COMM")) {
        CommentFields comment = decodeComment(data);
        frame.Encoding = comment.encoding;
        if (plainCommentShown && !comment.description.isEmpty())
            return;
        plainCommentShown = comment.description.isEmpty();
        tag.CommentLanguage = comment.language;
        tag.CommentDescription = std::move(comment.description);
        tag.Comment = std::move(comment.text);
    } else if (MatchFrameID(frame.FrameID, "WXXX")) {
        frame.Encoding = byteAt(data, 0);
        const DecodedText description = decodeText(data, 1, frame.Encoding);
        tag.UrlDescription = description.text;
        tag.Url = decodeUrl(data, description.next);
    }
}

// The largest extended headers the versions define, size bytes included: version 3 with its CRC,
// version 4 with every flag's data.
constexpr qint64 LargestExtendedHeader3 = 14;
constexpr qint64 LargestExtendedHeader4 = 15;

// An extended header is not there, although the flags say so, when its size cannot be: larger
// than the tag, or larger than any extended header where a frame starts in its place. A long one
// before frames of its own is kept whole, so a save does not write over those frames.
void readExtendedHeader(TagBytes& bytes, qint64 end, TID3v2& tag)
{
    const QByteArray fixed = bytes.peek(6);
    std::array<quint8, 4> sizeBytes{};
    copyBytes(sizeBytes, fixed, 0);
    // Version 4 counts the size bytes in the size, version 3 does not.
    const qint64 size = tag.Version == 4 ? qint64(syncsafeToInt(sizeBytes.data()))
                                         : qint64(bigEndianToInt(sizeBytes.data())) + 4;
    const qint64 largest = tag.Version == 4 ? LargestExtendedHeader4 : LargestExtendedHeader3;
    const bool frameInstead = std::all_of(fixed.begin(), fixed.begin() + 4, isFrameIDChar);
    if (size > end - bytes.at() || (size > largest && frameInstead)) {
        tag.ExtendedHeader = 0;
        tag.Flags &= quint8(~0x40);
        return;
    }
    bytes.read(6);
    tag.ExtSizeBytes = sizeBytes;
    tag.ExtByte1 = byteAt(fixed, 4);
    tag.ExtByte2 = byteAt(fixed, 5);
    tag.ExtData = bytes.read(std::max<qint64>(size - 6, 0));
    tag.ExtHeaderSize = qint32(size);
}

// Where a frame may end: at the next frame, at padding (zeros up to the tag's end) or at the end.
bool isFrameBoundary(TagBytes& bytes, qint64 at, qint64 end)
{
    if (at > end)
        return false;
    const QByteArray next = bytes.peekAt(at, 4);
    return (next.size() == 4 && std::all_of(next.begin(), next.end(), isFrameIDChar)) || !bytes.anyNonZeroIn(at, end);
}

// Some writers store the frame sizes of a 2.4 tag as plain numbers, as 2.3 does. Such a size is
// taken where only it leads on to a place a frame may end.
qint64 frameSize(TagBytes& bytes, const TID3v2Frame& frame, qint32 version, qint64 end)
{
    const quint32 plain = bigEndianToInt(frame.SizeBytes.data());
    if (version != 4)
        return qint32(plain);
    const qint64 syncsafe = syncsafeToInt(frame.SizeBytes.data());
    if (syncsafe == plain || isFrameBoundary(bytes, bytes.at() + syncsafe, end)
        || !isFrameBoundary(bytes, bytes.at() + plain, end))
        return syncsafe;
    return plain;
}

constexpr quint8 GroupingFlag = 0x40;
constexpr quint8 CompressionFlag = 0x08;
constexpr quint8 EncryptionFlag = 0x04;
constexpr quint8 UnsynchronisationFlag = 0x02;
constexpr quint8 DataLengthFlag = 0x01;

// A 2.4 frame in its plain form: unsynchronisation undone, and the length of the data before it
// dropped where nothing needs it (compressed and encrypted data do).
void makePlain(TID3v2Frame& frame)
{
    frame.Data = withoutUnsynchronisation(frame.Data);
    quint8& format = frame.Flags[1];
    format &= quint8(~UnsynchronisationFlag);
    const qsizetype lengthAt = (format & GroupingFlag) != 0 ? 1 : 0;
    if ((format & DataLengthFlag) != 0 && (format & (CompressionFlag | EncryptionFlag)) == 0
        && frame.Data.size() >= lengthAt + 4) {
        frame.Data.remove(lengthAt, 4);
        format &= quint8(~DataLengthFlag);
    }
    frame.SizeBytes = {};
    const QByteArray size = intToSyncsafe(quint32(frame.Data.size()));
    std::copy_n(size.constData(), 4, frame.SizeBytes.begin());
}

// Reads the frames up to `end`. Bytes after the last frame read that are not padding are frames
// the walk could not reach: the tag says so, and a save does not drop them.
void readFrames(TagBytes& bytes, qint64 end, TID3v2& tag)
{
    bool plainCommentShown = false;
    qint64 stop = bytes.at();
    // Fewer bytes than a frame header left in the tag can only be padding, even where the file ends.
    for (; end - bytes.at() >= FrameHeaderSize; stop = bytes.at()) {
        TID3v2Frame frame;
        const QByteArrayView header = bytes.readHeader();
        copyBytes(frame.FrameID, header, 0);
        copyBytes(frame.SizeBytes, header, 4);
        copyBytes(frame.Flags, header, 8);
        if (!std::all_of(frame.FrameID.begin(), frame.FrameID.end(), isFrameIDChar))
            break;
        const qint64 size = frameSize(bytes, frame, tag.Version, end);
        if (size < 0 || size > bytes.fileLength() || size > end - bytes.at())
            break;
        const bool unsynchronised =
            tag.Version == 4 && (tag.Unsynchronisation != 0 || (frame.Flags[1] & UnsynchronisationFlag) != 0);
        if (unsynchronised || !bytes.holdsFilePositions() || isDecoded(frame, tag)) {
            frame.Data = bytes.read(size);
            if (unsynchronised)
                makePlain(frame);
            decodeFrame(frame, tag, plainCommentShown);
        } else {
            frame.DataFile = bytes.fileName();
            frame.DataOffset = bytes.skip(size);
            frame.DataDigest = bytes.digestAt(frame.DataOffset, size);
        }
        frame.Size = qint32(frame.DataOffset >= 0 ? size : frame.Data.size());
        frame.Capacity = frame.Size + 1;
        tag.Frames->push_back(std::move(frame));
    }
    // A tag claiming more than the file holds is not written over anyway.
    tag.UnwalkedBytes = end <= bytes.fileLength() && bytes.anyNonZeroIn(stop, end);
}

void startRead(TID3v2& tag)
{
    tag.Frames = std::make_shared<TID3v2FrameList>();
    tag.ReadState = std::make_shared<TFileState>();
    tag.Present = false;
    tag.TagSize = 0;
}

void readTagBody(TagBytes& bytes, qint64 end, TID3v2& tag)
{
    if (tag.ExtendedHeader != 0)
        readExtendedHeader(bytes, end, tag);
    readFrames(bytes, end, tag);
}

bool isKnownVersion(qint32 version)
{
    return version == 3 || version == 4;
}

}  // namespace

bool parseID3v2Header(QFile& file, const QByteArray& firstBytes, TID3v2& tag)
{
    copyBytes(tag.Identifier, firstBytes, 0);
    if (firstBytes.size() < TagHeaderSize || !firstBytes.startsWith("ID3"))
        return false;
    tag.Present = true;
    tag.TagStart = 0;
    tag.MajorVersion = byteAt(firstBytes, 3);
    tag.RevisionByte = byteAt(firstBytes, 4);
    tag.Flags = byteAt(firstBytes, 5);
    copyBytes(tag.SizeBytes, firstBytes, 6);
    tag.Version = tag.MajorVersion;
    tag.Revision = tag.RevisionByte;
    tag.TagSize = qint32(syncsafeToInt(tag.SizeBytes.data()));
    tag.Unsynchronisation = tag.Flags & 0x80;
    if (tag.Version == 2) {
        tag.ExtendedHeader = 0;
        return true;
    }
    tag.ExtendedHeader = tag.Flags & 0x40;
    tag.Experimental = tag.Flags & 0x20;
    // Only a 2.4 tag has a footer, and only where it really stands: a flag without one must not
    // have ten bytes of the audio taken for it.
    if ((tag.Flags & 0x10) != 0
        && (tag.Version != 4 || !readAt(file, TagHeaderSize + qint64(tag.TagSize), 3).startsWith("3DI")))
        tag.Flags &= quint8(~0x10);
    tag.FooterPresent = tag.Flags & 0x10;
    return true;
}

void readID3v2From(QFile& file, qint64 length, TID3v2& tag)
{
    startRead(tag);
    TFileState& state = *tag.ReadState;
    state = fileStateOf(file.handle());
    state.FileName = file.fileName();
    const QByteArray first = readAt(file, 0, TagHeaderSize);
    state.TagDigest = keptFrameDigest(first);
    if (!parseID3v2Header(file, first, tag)) {
        // "ID3" with the rest of the header cut off is a damaged tag.
        if (first.startsWith("ID3"))
            raiseReadPastEnd(file);
        return;
    }
    // The frames of a version 2.2 tag, or of one of a version not known, are not read; whatever
    // they are, a save must not take them for frames of another version.
    if (!isKnownVersion(tag.Version))
        return;
    TagBytes bytes(file, length, TagHeaderSize, tag.TagSize);
    state.TagDigest = qHash(bytes.digest(), state.TagDigest);
    if (tag.Version == 3 && tag.Unsynchronisation != 0) {
        // The whole of a 2.3 tag is unsynchronised, its frames' sizes counting their plain bytes.
        const QByteArray stored = bytes.read(std::min<qint64>(tag.TagSize, length - TagHeaderSize));
        TagBytes plain(file, TagHeaderSize, withoutUnsynchronisation(stored));
        readTagBody(plain, plain.fileLength(), tag);
    } else {
        readTagBody(bytes, TagHeaderSize + qint64(tag.TagSize), tag);
    }
}

TID3v2 textsOfFrames(const TID3v2FrameList& frames)
{
    TID3v2 texts;
    bool plainCommentShown = false;
    for (TID3v2Frame frame : frames) {
        if (frame.DataOffset < 0)
            decodeFrame(frame, texts, plainCommentShown);
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
    comment.text = decodeTextToEnd(data, description.next, comment.encoding);
    return comment;
}

TFileState fileStateOf(int fd)
{
    struct stat status {};
    TFileState state;
    if (fd < 0 || ::fstat(fd, &status) != 0)
        return state;
    state.Size = status.st_size;
    state.Device = status.st_dev;
    state.Inode = status.st_ino;
    state.ChangeTime = qint64(status.st_ctim.tv_sec) * 1'000'000'000 + status.st_ctim.tv_nsec;
    state.ModifyTime = qint64(status.st_mtim.tv_sec) * 1'000'000'000 + status.st_mtim.tv_nsec;
    return state;
}

bool changedSinceRead(const TFileState& read, const TFileState& now)
{
    return read.Size >= 0 && read.FileName == now.FileName && !(read == now);
}

TFileState currentFileState(const QString& fileName)
{
    QFile file(fileName);
    TID3v2 now;
    if (!openForReading(file))
        return {};
    try {
        readID3v2From(file, file.size(), now);
    } catch (const TagFileError&) {
        return {};
    }
    return *now.ReadState;
}

void keepStateAfterRename(TID3v2& tag, const TFileState& beforeRename, const QString& newFileName)
{
    TFileState& read = *tag.ReadState;
    TFileState before = beforeRename;
    before.FileName = read.FileName;
    const bool unchanged = !changedSinceRead(read, before);
    read.FileName = newFileName;
    if (!unchanged)
        return;
    QFile file(newFileName);
    if (!openForReading(file))
        return;
    const TFileState now = fileStateOf(file.handle());
    if (now.Size == read.Size && now.Device == read.Device && now.Inode == read.Inode
        && now.ModifyTime == read.ModifyTime)
        read.ChangeTime = now.ChangeTime;
}

qint64 audioStartAfter(const TID3v2& tag)
{
    if (!tag.Present)
        return 0;
    return tag.TagStart + tag.TagSize + TagHeaderSize + (tag.FooterPresent != 0 ? TagHeaderSize : 0);
}

void reportID3v2FileNotOpened(const QString& fileName)
{
    ui::showMessage("Cannot open '" + fileNameForMessage(fileName) + "'.", ui::Icon::Error);
}

void ReadID3v2(const QString& fileName, TID3v2& tag)
{
    startRead(tag);
    QFile file(fileName);
    if (!openForReading(file)) {
        reportID3v2FileNotOpened(fileName);
        return;
    }
    readID3v2From(file, file.size(), tag);
}
