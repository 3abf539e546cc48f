#pragma once

// The tag library: one MPEG audio file's first frame header, VBR frame count, ID3v1 block and
// ID3v2 tag, read, written and removed. Knows nothing of widgets; reports through the UI seam.

#include <QByteArray>
#include <QString>
#include <array>
#include <memory>
#include <stdexcept>
#include <vector>

// An input/output error the tag library raises to its caller (a read past the end of a damaged
// file, a file that cannot be opened to take its length). Batch commands catch it per file.
class TagFileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// ---------------------------------------------------------------- MPEG frame header

struct TMpegHeader {
    bool Found = false;
    qint32 Position = 0;
    quint16 HeaderSize = 0;
    std::array<quint8, 4> Raw{};
    quint8 VersionID = 0;        // 0 MPEG 2.5, 1 reserved, 2 MPEG 2, 3 MPEG 1
    quint8 LayerID = 0;          // 0 reserved, 1 Layer III, 2 Layer II, 3 Layer I
    quint8 ProtectionBit = 0;    // 0 = a CRC follows the header
    quint16 BitrateIndex = 0;
    quint16 SampleRateIndex = 0;
    quint8 PaddingBit = 0;
    quint8 PrivateBit = 0;
    quint8 ChannelMode = 0;      // 0 stereo, 1 joint stereo, 2 dual channel, 3 mono
    quint8 ModeExtension = 0;
    quint8 Copyright = 0;
    quint8 Original = 0;
    quint8 Emphasis = 0;
};

extern const quint16 MpegBitrates[4][4][16];   // kbit/s by VersionID, LayerID, BitrateIndex
extern const quint16 MpegSampleRates[4][4];    // Hz by VersionID, SampleRateIndex

void FindMpegHeader(const QString& fileName, TMpegHeader& header);
qint32 FindVbrFrameCount(const QString& fileName, qint32 offset);

// ---------------------------------------------------------------- ID3v1

// The 128-byte block exactly as stored at the end of the file.
struct TID3v1 {
    char Identifier[3];
    char Title[30];
    char Artist[30];
    char Album[30];
    char Year[4];
    char Comment[30];   // ID3v1.1: Comment[28] is zero and Comment[29] holds the track number
    quint8 Genre;       // index into ID3Genres; 255 = no genre

    quint8 track() const { return static_cast<quint8>(Comment[29]); }
    void setTrack(quint8 track) { Comment[29] = static_cast<char>(track); }
};
static_assert(sizeof(TID3v1) == 128, "TID3v1 is the block as stored");

enum ID3v1Kinds : qint32 { NoID3v1 = -1, ID3v1_0 = 0, ID3v1_1 = 1 };

// ID3v1 texts are ISO-8859-1, zero-padded; a character outside ISO-8859-1 is stored as "?".
QString id3v1Text(const char* field, int width);
// The bytes of at most width characters of text, one byte per character.
QByteArray id3v1Bytes(const QString& text, int width);
void setId3v1Text(char* field, int width, const QString& text);

constexpr int ID3GenreCount = 148;
constexpr quint8 NoGenre = 255;
extern const char* const ID3Genres[ID3GenreCount];

void ReadID3v1(const QString& fileName, qint32& kind, TID3v1& block);
bool WriteID3v1(const TID3v1& block, const QString& fileName);
bool RemoveID3v1(const QString& fileName);
void ClearID3v1(TID3v1& block);
QString DecodeGenre(const QString& text);
// The ID3v1 genre byte of a genre name, ignoring the case of A to Z; NoGenre when the name is none of the list.
quint8 GenreByteOf(const QString& Name);

// ---------------------------------------------------------------- ID3v2

using TFrameID = std::array<char, 4>;

class TID3v2Frame {
public:
    TFrameID FrameID{};
    std::array<quint8, 4> SizeBytes{};   // as stored: big-endian (2.3) or syncsafe (2.4)
    std::array<quint8, 2> Flags{};       // as stored; never interpreted
    QByteArray Data;                     // the data of a frame the program decodes or edits
    quint8 Encoding = 0;                 // first data byte of a decoded text, comment or URL frame
    qint32 Capacity = 0;                 // Size + 1 once read or written: the data and a zero byte after it
    qint32 Size = 0;
    // Any other frame read from a file keeps its place there instead of its bytes, which are not
    // even read (a picture would cost its size for every open file): its Size bytes start at
    // DataOffset in DataFile. -1: in Data.
    QString DataFile;
    qint64 DataOffset = -1;
};

using TID3v2FrameList = std::vector<TID3v2Frame>;

// A file as it was when its tag was read. Any write changes its change time, which no program can
// set back, not even one that restores the file's date; the digest of the tag's bytes that were
// read (headers and texts, not a picture's) catches a write to them within one tick of a coarse clock.
struct TFileState {
    QString FileName;   // the name it was read under; a record written into another file is a copy
    qint64 Size = -1;   // -1: not taken, nothing to compare
    quint64 Device = 0;
    quint64 Inode = 0;
    qint64 ChangeTime = 0;   // nanoseconds
    qint64 ModifyTime = 0;
    size_t TagDigest = 0;
    bool operator==(const TFileState&) const = default;
};

// One tag as read. Copies share the frame list of the record they were copied from.
struct TID3v2 {
    std::array<char, 3> Identifier{};
    quint8 MajorVersion = 0;
    quint8 RevisionByte = 0;
    quint8 Flags = 0;
    std::array<quint8, 4> SizeBytes{};
    quint8 Unsynchronisation = 0;
    quint8 ExtendedHeader = 0;
    quint8 Experimental = 0;
    quint8 FooterPresent = 0;
    std::array<quint8, 4> ExtSizeBytes{};
    quint8 ExtByte1 = 0;
    quint8 ExtByte2 = 0;
    QByteArray ExtData;                  // the rest of the extended header, kept whole
    qint32 ExtHeaderSize = 0;
    std::shared_ptr<TID3v2FrameList> Frames = std::make_shared<TID3v2FrameList>();
    // Shared as the frames are: a save makes it the state of the file as written, for every copy.
    std::shared_ptr<TFileState> ReadState = std::make_shared<TFileState>();
    bool Present = false;
    // Bytes after the frames read that start like a frame: frames the reader could not walk to,
    // which a save would drop.
    bool UnwalkedBytes = false;
    // Where audio starts inside the tag's size, which some writers make count the first audio
    // frame; 0: after the tag.
    qint64 AudioInTag = 0;
    // Where the frames end in a tag that claims more bytes than its file holds, whose end is no
    // place to look for an ID3v1 block; 0 for any other tag.
    qint64 FramesEnd = 0;
    qint32 TagStart = 0;
    qint32 TagSize = 0;
    qint32 Version = 0;
    qint32 Revision = 0;
    QString Title;
    QString Artist;
    QString Album;
    QString Year;
    QString Comment;
    std::array<char, 3> CommentLanguage{};
    QString CommentDescription;
    QString Composer;
    QString OrigArtist;
    QString UrlDescription;
    QString Url;
    QString Encoder;
    QString Track;
    QString Genre;
};

// Sets the record to an empty version 2.3 header, as written into a file without a tag.
void MakeNewID3v2Header(TID3v2& tag);

void ReadID3v2(const QString& fileName, TID3v2& tag);
bool MatchFrameID(const TFrameID& frameID, const char* id);
// Refuses, with a message, a file changed since the record was read from it, a tag of a version it
// does not know and a tag whose size runs past the end of the file.
bool WriteID3v2(TID3v2 tag, const QString& fileName);
// A frame's data, read from its file for a frame kept there. The frame is found again among the
// frames its file holds now, by id, size, flags and order, so a save that moved it does no harm;
// raises TagFileError when it is no longer there, or the file is no longer as the tag was read.
QByteArray frameData(const TID3v2& tag, const TID3v2Frame& frame);
// Refuses, with a message, a file no longer as `readState` found it (when one was taken) and a
// tag whose size runs past the end of the file.
bool RemoveID3v2(const QString& fileName, const TFileState& readState = {});
// A file's state now, to be taken just before Corvane renames it; an empty state when its tag
// cannot be read.
TFileState currentFileState(const QString& fileName);
// A rename changes the file's change time alone: the record of a file Corvane renamed, unchanged
// until the rename, takes the new one, so its next save is not taken for a save over someone
// else's change. A file changed before it keeps the state it was read in, under its new name.
void keepStateAfterRename(TID3v2& tag, const TFileState& beforeRename, const QString& newFileName);

// ---------------------------------------------------------------- the audio file

struct TMpegFileInfo {
    bool Valid = false;
    QString FileSize;
    QString Duration;
    QString Bitrate;
    QString VBR;
    QString Version;
    QString Layer;
    QString ChannelMode;
    QString SampleRate;
    QString CRC;
    QString Copyright;
    QString Original;
};

class TMpegFile {
public:
    TMpegFile();

    bool ReadFromFile(const QString& fileName);

    QString FileName;
    TMpegHeader Header;
    bool IsVBR = false;
    qint32 Duration = 0;
    quint32 Bitrate = 0;
    bool HasID3v1 = false;
    bool HasID3v2 = false;
    qint32 ID3v1Kind = NoID3v1;
    TID3v1 ID3v1;
    TID3v2 ID3v2;
};

void GetMpegFileInfo(const QString& fileName, TMpegFileInfo& info);
