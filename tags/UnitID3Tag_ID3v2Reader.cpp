#include "ByteOrder.h"
#include "UnitID3Tag_Readers.h"
#include "UserInterface.h"

#include <algorithm>
#include <vector>

namespace {

constexpr qint64 FrameHeaderSize = 10;
// The first read takes the tag's header and the frames of a usual tag's texts; a later one the
// frames after a picture, and the padding.
constexpr qint64 PieceSize = 4096;

// A digest of the bytes taken from a tag (FNV-1a): a few hundred bytes a file, taken in small
// pieces, where a general hash costs more in setting up than in hashing.
size_t addToDigest(QByteArrayView bytes, size_t digest)
{
    for (const char c : bytes)
        digest = (digest ^ uchar(c)) * 0x100000001b3;
    return digest;
}

constexpr size_t EmptyDigest = 0xcbf29ce484222325;

[[noreturn]] void raiseReadPastEnd(const ReadFile& file)
{
    throw TagFileError("Read beyond end of file '" + fileNameForMessage(file.fileName()).toStdString() + "'");
}

// Reads a tag front to back in pieces: the frame headers and the data of the frames the program
// decodes come from the file, the data of other frames is passed over (a picture is never read).
// Whatever a damaged size claims beyond the file is read only as far as the file goes; a read past
// its end raises. The bytes taken go into a digest, for the outside-change check.
class TagBytes {
public:
    // The tag from `position` to `end` in the file; `first` holds the file's bytes from 0 on. The
    // read that reaches the tag's end reads on `readAhead` bytes, for a caller that reads them next.
    TagBytes(ReadFile& file, qint64 position, qint64 end, const QByteArray& first, qint64 readAhead)
        : file(file), length(file.length()), end(end), readAhead(readAhead), position(position), bufferStart(0),
          buffer(first)
    {
    }

    // The bytes from `position` on as they read with the unsynchronisation undone: they are no
    // longer where the file holds them, so every frame is read into memory.
    TagBytes(ReadFile& file, qint64 position, const QByteArray& plain)
        : file(file), length(position + plain.size()), end(length), position(position), bufferStart(position),
          buffer(plain), inFile(false)
    {
    }

    // True while positions are those of the file.
    bool holdsFilePositions() const { return inFile; }
    qint64 at() const { return position; }
    qint64 fileLength() const { return length; }
    // The length of the file itself, also while the bytes come from memory.
    qint64 fileLengthOnDisk() const { return file.length(); }
    QString fileName() const { return file.fileName(); }
    // The digest of every header and every frame's data taken.
    size_t digest() const { return taken; }
    // The bytes of the last read.
    FileBytes lastRead() const { return {buffer, bufferStart}; }

    QByteArray read(qint64 count)
    {
        if (count > length - position || !holds(position, count))
            raiseReadPastEnd(file);
        const QByteArray bytes = buffer.mid(position - bufferStart, count);
        position += count;
        taken = addToDigest(bytes, taken);
        return bytes;
    }

    // The next bytes of a frame header, without a copy.
    QByteArrayView readHeader()
    {
        if (FrameHeaderSize > length - position || !holds(position, FrameHeaderSize))
            raiseReadPastEnd(file);
        const QByteArrayView header = QByteArrayView(buffer).sliced(position - bufferStart, FrameHeaderSize);
        position += FrameHeaderSize;
        taken = addToDigest(header, taken);
        return header;
    }

    // The next `count` bytes, which are read again by the next read.
    QByteArray peek(qint64 count)
    {
        QByteArray bytes = read(count);
        position -= count;
        return bytes;
    }

    // At most `count` bytes at `start`; fewer, or none, where the tag or the file ends first.
    QByteArray peekAt(qint64 start, qint64 count)
    {
        count = std::min(count, std::min(length, end) - start);
        if (count <= 0 || start < 0)
            return {};
        holds(start, count);
        return start < bufferStart ? QByteArray() : buffer.mid(start - bufferStart, count);
    }

    // At most `count` bytes of the file at `start`, also beyond the tag, without taking the place
    // of the last read; none while the bytes are not the file's own.
    QByteArray peekFile(qint64 start, qint64 count) const
    {
        if (!inFile)
            return {};
        const qint64 offset = start - bufferStart;
        if (offset >= 0 && offset + count <= buffer.size())
            return buffer.mid(offset, count);
        return file.readAt(start, count);
    }

    // Goes back to `to`, for another walk over the same frames.
    void moveTo(qint64 to) { position = to; }

    // Passes over `count` bytes that stay in the file; where they start.
    qint64 skip(qint64 count)
    {
        if (count > length - position)
            raiseReadPastEnd(file);
        const qint64 start = position;
        position += count;
        return start;
    }

private:
    // Whether the buffer holds `count` bytes at `start`, after reading them in a piece of their
    // own where it did not: a piece goes on to the tag's end, or as far as a few frames' headers.
    bool holds(qint64 start, qint64 count)
    {
        const qint64 offset = start - bufferStart;
        if (offset >= 0 && offset + count <= buffer.size())
            return true;
        if (!inFile)
            return false;
        const qint64 toEnd = std::max<qint64>(end - start, 0);
        buffer = file.readAt(start, std::max(count, toEnd <= PieceSize ? toEnd + readAhead : PieceSize));
        bufferStart = start;
        return count <= buffer.size();
    }

    ReadFile& file;
    qint64 length;
    qint64 end;
    qint64 readAhead = 0;
    qint64 position;
    qint64 bufferStart;
    QByteArray buffer;
    size_t taken = EmptyDigest;
    bool inFile = true;
};

bool isFrameIDChar(char c)
{
    return c >= '0' && c <= 'Z';
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

bool isSyncsafe(const std::array<quint8, 4>& sizeBytes)
{
    return std::none_of(sizeBytes.begin(), sizeBytes.end(), [](quint8 b) { return (b & 0x80) != 0; });
}

// What the bytes between the last frame walked and the tag's end hold.
struct Rest {
    // Something that starts like a frame: four id characters and a size that fits in the file, or
    // four id characters where the walk ended (a frame whose size, or the tag's, is damaged still
    // holds what other readers show).
    bool framesBehind = false;
    // One byte value throughout up to the audio, as padding of zeros, spaces or other filler is.
    bool uniform = true;
    // Nothing but zero bytes, or no bytes at all.
    bool zeros = true;
    // Where audio counted in the tag by some writers begins; -1: none.
    qint64 audio = -1;
};

// One reading of the frames' sizes, walked from the first frame.
struct Walk {
    TID3v2FrameList frames;
    qint64 stop = 0;   // where the frames walked end
    // The id of the header the walk ended at whose size does not fit; none where it ended otherwise.
    std::optional<TFrameID> unfitting;
    // A size walked reads otherwise as a plain number.
    bool sizesDiffer = false;
    // A size walked as syncsafe has a byte with its top bit set, which no syncsafe number has.
    bool sizesNotSyncsafe = false;
    Rest rest;
};

// How well a walk accounts for the tag's bytes beside the other reading's walk, from worst to
// best. Frames that run over the audio the other finds are no better than frames left behind.
enum class Fit { LeavesFrames, EndsInOtherBytes, EndsCleanly };

Fit fitOf(const Walk& walk, const Walk& other)
{
    if (walk.rest.framesBehind || (other.rest.audio >= 0 && other.rest.audio < walk.stop))
        return Fit::LeavesFrames;
    return walk.rest.uniform ? Fit::EndsCleanly : Fit::EndsInOtherBytes;
}

// Frame headers a walk met with known ids, the one whose size does not fit included: how much of
// the tag its reading explains.
int framesFound(const Walk& walk)
{
    const auto known = [](const TID3v2Frame& frame) { return isKnownFrameID(frame.FrameID); };
    return int(std::count_if(walk.frames.begin(), walk.frames.end(), known))
        + (walk.unfitting && isKnownFrameID(*walk.unfitting) ? 1 : 0);
}

enum class Reading { TagsOwn, Plain, Undecided };

// Which reading of a 2.4 tag's sizes holds: the one that meets more frames; between two that meet
// as many, the one that accounts better for the bytes after them. Where both leave other bytes
// after as many frames, sizes no syncsafe number has tell for the plain reading; without them
// nothing tells.
Reading readingOf(const Walk& own, const Walk& plain)
{
    const int ownFound = framesFound(own);
    const int plainFound = framesFound(plain);
    if (ownFound != plainFound)
        return plainFound > ownFound ? Reading::Plain : Reading::TagsOwn;
    const Fit ownFit = fitOf(own, plain);
    const Fit plainFit = fitOf(plain, own);
    if (ownFit != plainFit)
        return plainFit > ownFit ? Reading::Plain : Reading::TagsOwn;
    if (ownFit != Fit::EndsInOtherBytes)
        return Reading::TagsOwn;
    return own.sizesNotSyncsafe ? Reading::Plain : Reading::Undecided;
}

// Walks the frames from the current position up to `end`, each frame's size read as the version
// stores it or, with `plainSizes`, as a plain number.
Walk walkFrames(TagBytes& bytes, qint64 end, const TID3v2& tag, bool plainSizes)
{
    Walk walk;
    walk.stop = bytes.at();
    // Fewer bytes than a frame header left in the tag can only be padding, even where the file ends.
    for (; end - bytes.at() >= FrameHeaderSize; walk.stop = bytes.at()) {
        TID3v2Frame frame;
        const QByteArrayView header = bytes.readHeader();
        copyBytes(frame.FrameID, header, 0);
        copyBytes(frame.SizeBytes, header, 4);
        copyBytes(frame.Flags, header, 8);
        if (!std::all_of(frame.FrameID.begin(), frame.FrameID.end(), isFrameIDChar))
            break;
        const qint64 plain = bigEndianToInt(frame.SizeBytes.data());
        const qint64 size = tag.Version == 4 && !plainSizes ? qint64(syncsafeToInt(frame.SizeBytes.data())) : plain;
        walk.sizesDiffer = walk.sizesDiffer || size != plain;
        walk.sizesNotSyncsafe = walk.sizesNotSyncsafe || (size != plain && !isSyncsafe(frame.SizeBytes));
        if (size > bytes.fileLength() || size > end - bytes.at()) {
            walk.unfitting = frame.FrameID;
            break;
        }
        const bool unsynchronised =
            tag.Version == 4 && (tag.Unsynchronisation != 0 || (frame.Flags[1] & UnsynchronisationFlag) != 0);
        if (unsynchronised || !bytes.holdsFilePositions() || isDecoded(frame)) {
            frame.Data = bytes.read(size);
            if (unsynchronised)
                makePlain(frame);
        } else {
            frame.DataFile = bytes.fileName();
            frame.DataOffset = bytes.skip(size);
        }
        frame.Size = qint32(frame.DataOffset >= 0 ? size : frame.Data.size());
        frame.Capacity = frame.Size + 1;
        walk.frames.push_back(std::move(frame));
    }
    return walk;
}

Rest restOf(TagBytes& bytes, qint64 stop, qint64 end, qint32 version)
{
    Rest rest;
    const QByteArray held = bytes.peekAt(stop, end - stop);
    const auto* b = reinterpret_cast<const uchar*>(held.constData());
    const qsizetype n = held.size();
    if (std::all_of(held.begin(), held.end(), [](char c) { return c == '\0'; }))
        return rest;
    rest.zeros = false;
    // Audio may start in the tag's last bytes, its header running on behind the tag. Bytes read
    // with the unsynchronisation undone stand elsewhere in the file: whether a header there starts
    // audio cannot be told.
    const QByteArray headers = held + bytes.peekFile(end, 3);
    const auto fileBytes = [&bytes](qint64 position, qint64 count) { return bytes.peekFile(position, count); };
    for (qsizetype i = 0; i < n && rest.audio < 0; ++i) {
        if (b[i] == 0xFF && i + 4 <= headers.size() && isMpegFrameHeader(headerAt(headers, i))
            && (!bytes.holdsFilePositions() || isAudioAt(fileBytes, stop + i, end, bytes.fileLength())))
            rest.audio = stop + i;
    }
    // Nothing from the audio on is the tag's.
    const qsizetype audioAt = rest.audio < 0 ? n : rest.audio - stop;
    rest.uniform = std::all_of(held.begin(), held.begin() + audioAt, [&held](char c) { return c == held[0]; });
    // A 2.4 size read as syncsafe is never larger than read as a plain number: a frame fits if
    // either reading fits.
    for (qsizetype i = 0; i + FrameHeaderSize <= audioAt && !rest.framesBehind; ++i) {
        const qint64 size = version == 4 ? syncsafeToInt(b + i + 4) : bigEndianToInt(b + i + 4);
        rest.framesBehind = std::all_of(b + i, b + i + 4, [](uchar c) { return isFrameIDChar(char(c)); })
            && (i == 0 || size <= bytes.fileLengthOnDisk() - (stop + i + FrameHeaderSize));
    }
    return rest;
}

Walk restedWalk(TagBytes& bytes, qint64 end, const TID3v2& tag, bool plainSizes)
{
    Walk walk = walkFrames(bytes, end, tag, plainSizes);
    walk.rest = restOf(bytes, walk.stop, end, tag.Version);
    return walk;
}

// Reads the frames up to `end`. Bytes after the last frame read that start like a frame are
// frames the walk could not reach: the tag says so, and a save does not drop them. MPEG frames
// there that lead into the audio are audio, which a save keeps; any other bytes are padding.
void readFrames(TagBytes& bytes, qint64 end, TID3v2& tag)
{
    const qint64 start = bytes.at();
    Walk walk = restedWalk(bytes, end, tag, false);
    // Some writers store the frame sizes of a 2.4 tag as plain numbers, as 2.3 does. Unless the
    // tag's own reading ends in padding of zeros, the plain reading is walked too, and one of the
    // two holds for the whole tag. A tag cut short by the file's end is not walked again: its
    // frames may claim bytes that are not there.
    bool undecided = false;
    if (walk.sizesDiffer && !walk.rest.zeros && end <= bytes.fileLength()) {
        bytes.moveTo(start);
        Walk plain = restedWalk(bytes, end, tag, true);
        const Reading reading = readingOf(walk, plain);
        undecided = reading == Reading::Undecided;
        if (reading == Reading::Plain)
            walk = std::move(plain);
    }
    *tag.Frames = std::move(walk.frames);
    for (TID3v2Frame& frame : *tag.Frames) {
        if (frame.DataOffset < 0)
            decodeFrame(frame, tag);
    }
    // A tag claiming more than the file holds is not written over anyway; an ID3v1 block after its
    // frames is the file's.
    if (end > bytes.fileLength()) {
        if (bytes.holdsFilePositions())
            tag.FramesEnd = walk.stop;
        return;
    }
    const Rest& rest = walk.rest;
    // Where the frames of one reading may be bytes the other leaves, a save could lose either.
    tag.UnwalkedBytes = rest.framesBehind || undecided || (rest.audio >= 0 && !bytes.holdsFilePositions());
    if (rest.audio >= 0 && bytes.holdsFilePositions())
        tag.AudioInTag = rest.audio;
}

// A list and a state that copies of the record share stay theirs; the record's own are reused.
void startRead(TID3v2& tag)
{
    if (tag.Frames.use_count() == 1)
        tag.Frames->clear();
    else
        tag.Frames = std::make_shared<TID3v2FrameList>();
    if (tag.ReadState.use_count() == 1)
        *tag.ReadState = TFileState();
    else
        tag.ReadState = std::make_shared<TFileState>();
    tag.Present = false;
    tag.UnwalkedBytes = false;
    tag.AudioInTag = 0;
    tag.FramesEnd = 0;
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

bool parseID3v2Header(ReadFile& file, const QByteArray& firstBytes, TID3v2& tag)
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
        && (tag.Version != 4 || !file.readAt(TagHeaderSize + qint64(tag.TagSize), 3).startsWith("3DI")))
        tag.Flags &= quint8(~0x10);
    tag.FooterPresent = tag.Flags & 0x10;
    return true;
}

FileBytes readID3v2From(ReadFile& file, TID3v2& tag, qint64 readAhead)
{
    startRead(tag);
    TFileState& state = *tag.ReadState;
    state = file.state();
    // One read for the header and the start of the tag, where the texts usually are.
    const QByteArray first = file.readAt(0, TagHeaderSize + PieceSize);
    const QByteArray header = first.left(TagHeaderSize);
    state.TagDigest = addToDigest(header, EmptyDigest);
    if (!parseID3v2Header(file, header, tag)) {
        // "ID3" with the rest of the header cut off is a damaged tag.
        if (first.startsWith("ID3"))
            raiseReadPastEnd(file);
        return {first, 0};
    }
    // The frames of a version 2.2 tag, or of one of a version not known, are not read; whatever
    // they are, a save must not take them for frames of another version.
    if (!isKnownVersion(tag.Version))
        return {first, 0};
    const qint64 end = TagHeaderSize + qint64(tag.TagSize);
    TagBytes bytes(file, TagHeaderSize, end, first, readAhead);
    if (tag.Version == 3 && tag.Unsynchronisation != 0) {
        // The whole of a 2.3 tag is unsynchronised, its frames' sizes counting their plain bytes.
        const QByteArray stored = bytes.read(std::min<qint64>(tag.TagSize, file.length() - TagHeaderSize));
        TagBytes plain(file, TagHeaderSize, withoutUnsynchronisation(stored));
        readTagBody(plain, plain.fileLength(), tag);
    } else {
        readTagBody(bytes, end, tag);
    }
    state.TagDigest = addToDigest(header, bytes.digest());
    return bytes.lastRead();
}

bool changedSinceRead(const TFileState& read, const TFileState& now)
{
    return read.Size >= 0 && read.FileName == now.FileName && !(read == now);
}

TFileState currentFileState(const QString& fileName)
{
    ReadFile file(fileName);
    TID3v2 now;
    if (!file.isOpen())
        return {};
    try {
        readID3v2From(file, now);
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
    const TFileState now = ReadFile(newFileName).state();
    if (unchanged && now.Size == read.Size && now.Device == read.Device && now.Inode == read.Inode
        && now.ModifyTime == read.ModifyTime)
        read.ChangeTime = now.ChangeTime;
}

qint64 id3v2TagEnd(const TID3v2& tag)
{
    if (!tag.Present)
        return 0;
    return tag.TagStart + tag.TagSize + TagHeaderSize + (tag.FooterPresent != 0 ? TagHeaderSize : 0);
}

TID3v2 id3v2TagIn(ReadFile& file)
{
    TID3v2 tag;
    try {
        readID3v2From(file, tag);
    } catch (const TagFileError&) {
        // Its header alone tells where it ends.
    }
    return tag;
}

qint64 audioStartAfter(const TID3v2& tag)
{
    return tag.AudioInTag > 0 ? tag.AudioInTag : id3v2TagEnd(tag);
}

qint64 id3v2BytesEnd(const TID3v2& tag)
{
    return tag.FramesEnd > 0 ? tag.FramesEnd : audioStartAfter(tag);
}

void reportID3v2FileNotOpened(const QString& fileName)
{
    ui::showMessage("Cannot open '" + fileNameForMessage(fileName) + "'.", ui::Icon::Error);
}

void ReadID3v2(const QString& fileName, TID3v2& tag)
{
    startRead(tag);
    ReadFile file(fileName);
    if (!file.isOpen()) {
        reportID3v2FileNotOpened(fileName);
        return;
    }
    readID3v2From(file, tag);
}
