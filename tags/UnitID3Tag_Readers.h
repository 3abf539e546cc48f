#pragma once

// The readers behind the public functions, working on a file the caller has opened, so that
// reading a whole audio file opens it once.

#include "FileReplacement.h"
#include "UnitID3Tag.h"

#include <QByteArray>
#include <QString>
#include <functional>
#include <optional>
#include <vector>

// A file's name without its folder, as messages show it.
QString fileNameForMessage(const QString& path);

// What tells the file a state was taken of from another, and from itself changed.
FileIdentity identityOf(const TFileState& state);

// A file opened for the readers, which read it in a few pieces of their own. It is opened and
// looked at once: its length and its state for the outside-change check come from one stat.
class ReadFile {
public:
    // Opens the file for reading, or takes `opened`, a descriptor of it open for reading and
    // writing, when there is one.
    explicit ReadFile(const QString& fileName, int opened = -1);
    ~ReadFile();
    ReadFile(const ReadFile&) = delete;
    ReadFile& operator=(const ReadFile&) = delete;

    bool isOpen() const { return fd >= 0; }
    const QString& fileName() const { return name; }
    qint64 length() const { return status.Size; }
    // Size, identity and times; Size -1 when the file could not be opened.
    const TFileState& state() const { return status; }
    // The same as they are now.
    TFileState stateNow() const;
    // False when the last of the data written through the descriptor could not be stored.
    bool close();
    // Reads `count` bytes at `position`; fewer when the file ends first.
    QByteArray readAt(qint64 position, qint64 count) const;
    int handle() const { return fd; }

private:
    int fd = -1;
    QString name;
    TFileState status;
};

// What the ID3v2 reader and the header scan say of a file they cannot open. ReadFromFile, which
// opens the file once for both, says the same in their order.
void reportID3v2FileNotOpened(const QString& fileName);
void reportMpegHeaderFileNotOpened();

// Reads `count` bytes at `position` of an open file; fewer when the file ends first.
QByteArray readAt(int fd, qint64 position, qint64 count);

// Each reader takes the open file. An ID3v1 block lies wholly after the ID3v2 tag's bytes, which
// end at `tagEnd` (id3v2BytesEnd).
void readID3v1From(ReadFile& file, qint64 tagEnd, qint32& kind, TID3v1& block);

// The bytes of an ID3v2 tag's header, and of its footer.
constexpr qint64 TagHeaderSize = 10;

// The record's text that a text frame the program edits holds, for the reader and the writer
// alike; none for any other frame.
QString TID3v2::*textFieldOf(const TFrameID& frameID);

// Fills the header fields from a file's first bytes; false when they hold no tag header.
bool parseID3v2Header(ReadFile& file, const QByteArray& firstBytes, TID3v2& tag);
// Bytes of a file as one read gave them, from `at` on.
struct FileBytes {
    QByteArray bytes;
    qint64 at = 0;
};

// Raises TagFileError when the tag's header or frames claim bytes past the end of the file. The
// read that reaches the tag's end reads on `readAhead` bytes; the bytes of the last read are given
// back, for a caller that reads on behind the tag.
FileBytes readID3v2From(ReadFile& file, TID3v2& tag, qint64 readAhead = 0);
// Where the tag ends: after its header, data and footer; 0 without a tag.
qint64 id3v2TagEnd(const TID3v2& tag);
// The tag whose header starts the file; of a tag whose frames run past the file's end, the header.
TID3v2 id3v2TagIn(ReadFile& file);
// Where the audio begins: at the tag's end, or where the tag holds audio inside its size.
qint64 audioStartAfter(const TID3v2& tag);
// Where the tag's own bytes end, with an ID3v1 block only behind them: where the audio begins, or
// after the frames of a tag that claims more bytes than the file holds.
qint64 id3v2BytesEnd(const TID3v2& tag);
// True when a state was taken at the read and the file is no longer in it.
bool changedSinceRead(const TFileState& read, const TFileState& now);

// The frames whose texts the record holds: the text frames it edits, comments and URLs.
bool isDecoded(const TID3v2Frame& frame);
// Fills the record's texts from a frame read into memory, the frame's encoding from its data.
void decodeFrame(TID3v2Frame& frame, TID3v2& tag);
// The texts the frames hold, as the reader takes them from a tag of this version with these frames.
TID3v2 textsOfFrames(const TID3v2FrameList& frames, qint32 version);
// The ids of the frames versions 2.3 and 2.4 define, and of those players add. Bytes that chance
// makes look like a frame header seldom hold one of them.
bool isKnownFrameID(const TFrameID& id);

// The format flags of a 2.4 frame, in the second of its flag bytes.
constexpr quint8 GroupingFlag = 0x40;
constexpr quint8 CompressionFlag = 0x08;
constexpr quint8 EncryptionFlag = 0x04;
constexpr quint8 UnsynchronisationFlag = 0x02;
constexpr quint8 DataLengthFlag = 0x01;

// A frame's data as it reads, the stored frame keeping its form: less what 2.4 puts before it (its
// group byte and the length of its data), decompressed. Nothing for an encrypted frame, or one
// whose data does not decompress.
std::optional<QByteArray> frameContent(const TID3v2Frame& frame, qint32 version);

// A comment frame's fields: the language, the description and the text.
struct CommentFields {
    quint8 encoding = 0;
    std::array<char, 3> language{};
    QString description;
    QString text;
};
CommentFields decodeComment(const QByteArray& data);

// A URL frame's fields: the description and the link.
struct UrlFields {
    quint8 encoding = 0;
    QString description;
    QString url;
};
UrlFields decodeUrlFrame(const QByteArray& data);

// The VBR frame count in the window read at the search offset: VbrWindowSize bytes are searched,
// and a header near the window's end reads its count from the bytes after it (VbrWindowRead in all).
// -1 when fewer than VbrWindowSize bytes were there.
constexpr qint64 VbrWindowSize = 50000;
constexpr qint64 VbrWindowRead = VbrWindowSize + 14;
qint32 findVbrFrameCountIn(QByteArrayView window);

// The four bytes of a valid MPEG audio frame header.
bool isMpegFrameHeader(const std::array<quint8, 4>& b);
// The length of the frame a valid header starts, the header included; 0 for one of no length.
qint32 mpegFrameLength(const std::array<quint8, 4>& b);
// The four bytes at `at` as a header's bytes; those beyond the data count as zero.
std::array<quint8, 4> headerAt(QByteArrayView bytes, qsizetype at);

// At most `count` bytes of a file at `position`.
using FileBytesAt = std::function<QByteArray(qint64 position, qint64 count)>;
// Whether the file's bytes from `start` on, inside a tag that ends at `tagEnd`, are audio: frames of
// one MPEG stream, each followed by the next, that run past the tag's end into the audio behind it,
// or up to the file's end or its ID3v1 block, or that are too many to be there by chance. One
// header alone is often chance.
bool isAudioAt(const FileBytesAt& bytesAt, qint64 start, qint64 tagEnd, qint64 fileLength);

// Scans from `start` on. `prefetched`, when given, holds the file's bytes from `prefetchedAt` on.
void findMpegHeaderFrom(ReadFile& file, qint64 start, TMpegHeader& header,
                        const QByteArray& prefetched = {}, qint64 prefetchedAt = 0);

// Everything TMpegFile::ReadFromFile reads, from the one open file; the same result.
bool readMpegFileFrom(ReadFile& file, TMpegFile& mpeg);

// The data of every frame of the list in order. A kept frame is found again as frameData finds it,
// first in `currentFile`, the open file being written (the record's own file, also under a name a
// rename gave it), then in the file it was read from. `current` is the tag just read from
// `currentFile`. Raises TagFileError when a kept frame is in neither.
std::vector<QByteArray> frameDataOf(const TID3v2& tag, ReadFile& currentFile, const TID3v2& current);
