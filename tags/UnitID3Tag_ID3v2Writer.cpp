#include "ByteOrder.h"
#include "FileLock.h"
#include "FileReplacement.h"
#include "UnitID3Tag.h"
#include "UnitID3Tag_Readers.h"
#include "UnitUtilities.h"
#include "UserInterface.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QUrl>

#include <algorithm>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr qint32 NewTagPadding = 1000;
constexpr qint64 FreeSpaceReserve = 500000;
constexpr qint64 CopyPieceSize = 50000;

bool sameComment(const TID3v2& a, const TID3v2& b)
{
    return a.Comment == b.Comment && a.CommentDescription == b.CommentDescription
        && a.CommentLanguage == b.CommentLanguage;
}

// Whether the frame holds the text the record shows: any frame of a text; of the comment and URL
// frames, those of the comment's description and language and the URL's description. The others
// (a player's volume or gapless data, a shop's link), and frames whose content cannot be had, are
// not the user's to edit here.
bool standsForShownText(const TID3v2Frame& frame, const TID3v2& asRead)
{
    const bool comment = MatchFrameID(frame.FrameID, "COMM");
    if (!comment && !MatchFrameID(frame.FrameID, "WXXX"))
        return true;
    const std::optional<QByteArray> content = frameContent(frame, asRead.Version);
    if (!content)
        return false;
    if (!comment)
        return decodeUrlFrame(*content).description == asRead.UrlDescription;
    const CommentFields fields = decodeComment(*content);
    return fields.description == asRead.CommentDescription && fields.language == asRead.CommentLanguage;
}

// Frames for edited texts that have none yet, in the order a new tag lists them.
void addMissingFrames(TID3v2& tag, const TID3v2& asRead)
{
    const char* yearFrame = tag.Version == 4 ? "TDRC" : tag.Version == 3 ? "TYER" : nullptr;
    const std::pair<const char*, QString TID3v2::*> wanted[] = {
        {"TIT2", &TID3v2::Title},   {"TPE1", &TID3v2::Artist},     {"TALB", &TID3v2::Album},
        {yearFrame, &TID3v2::Year}, {"COMM", &TID3v2::Comment},    {"TCOM", &TID3v2::Composer},
        {"TOPE", &TID3v2::OrigArtist}, {"WXXX", &TID3v2::Url},     {"TENC", &TID3v2::Encoder},
        {"TRCK", &TID3v2::Track},   {"TCON", &TID3v2::Genre},
    };
    for (const auto& [id, field] : wanted) {
        if (!id || (tag.*field).isEmpty() || tag.*field == asRead.*field)
            continue;
        const char* const wantedID = id;
        const bool held = std::any_of(tag.Frames->begin(), tag.Frames->end(), [&](const TID3v2Frame& frame) {
            return MatchFrameID(frame.FrameID, wantedID) && standsForShownText(frame, asRead);
        });
        if (held)
            continue;
        TID3v2Frame frame;
        std::memcpy(frame.FrameID.data(), id, 4);
        tag.Frames->push_back(std::move(frame));
    }
}

quint8 encodingFor(std::initializer_list<QString> texts)
{
    quint8 encoding = Latin1Text;
    for (const QString& text : texts)
        encoding = std::max(encoding, textEncodingFor(text));
    return encoding;
}

// A URL is stored in ISO-8859-1 whatever the frame's encoding; characters beyond it are kept as
// percent-encoded UTF-8, as in any link.
QByteArray urlBytes(const QString& url)
{
    QByteArray bytes;
    QString beyond;
    for (const QChar c : url) {
        if (c.unicode() > 0xFF) {
            beyond += c;
            continue;
        }
        bytes += QUrl::toPercentEncoding(beyond);
        beyond.clear();
        bytes += char(c.unicode());
    }
    return bytes + QUrl::toPercentEncoding(beyond);
}

// The data of a frame whose text the record changed; a null array for any other frame, which keeps
// its bytes. `asRead` holds the texts the frames held when they were read.
QByteArray editedFrameData(const TID3v2Frame& frame, const TID3v2& tag, const TID3v2& asRead)
{
    if (QString TID3v2::*field = textFieldOf(frame.FrameID)) {
        if (tag.*field == asRead.*field)
            return {};
        const quint8 encoding = textEncodingFor(tag.*field);
        return char(encoding) + encodeText(tag.*field, encoding);
    }
    if (MatchFrameID(frame.FrameID, "COMM")) {
        if (sameComment(tag, asRead) || !standsForShownText(frame, asRead))
            return {};
        const quint8 encoding = encodingFor({tag.CommentDescription, tag.Comment});
        return char(encoding) + QByteArray(tag.CommentLanguage.data(), 3)
            + encodeText(tag.CommentDescription, encoding) + textTerminator(encoding)
            + encodeText(tag.Comment, encoding);
    }
    if (MatchFrameID(frame.FrameID, "WXXX")) {
        if ((tag.Url == asRead.Url && tag.UrlDescription == asRead.UrlDescription) || !standsForShownText(frame, asRead))
            return {};
        const quint8 encoding = textEncodingFor(tag.UrlDescription);
        return char(encoding) + encodeText(tag.UrlDescription, encoding) + textTerminator(encoding)
            + urlBytes(tag.Url);
    }
    return {};
}

void fillFrames(TID3v2& tag, const TID3v2& asRead)
{
    for (TID3v2Frame& frame : *tag.Frames) {
        const QByteArray data = editedFrameData(frame, tag, asRead);
        if (data.isNull())
            continue;
        frame.Data = data;
        // The second flag byte tells how the data is stored (compressed, encrypted, grouped, with
        // a length before it); the new data is stored plainly. The status flags stay.
        frame.Flags[1] = 0;
        frame.Encoding = quint8(data[0]);
        frame.Size = qint32(data.size());
        frame.Capacity = frame.Size + 1;
        const QByteArray size = tag.Version == 4 ? intToSyncsafe(quint32(frame.Size)) : intToBigEndian(quint32(frame.Size));
        std::copy_n(size.constData(), 4, frame.SizeBytes.begin());
    }
}

QByteArray bytesOf(const auto& array)
{
    return QByteArray(reinterpret_cast<const char*>(array.data()), qsizetype(array.size()));
}

// The extended header as read, then every frame with its data: the part of the tag its size
// counts, less padding.
QByteArray tagBody(const TID3v2& tag, const std::vector<QByteArray>& frameData)
{
    QByteArray body;
    if (tag.ExtendedHeader != 0) {
        body += bytesOf(tag.ExtSizeBytes) + char(tag.ExtByte1) + char(tag.ExtByte2)
            + tag.ExtData.leftJustified(std::max(tag.ExtHeaderSize - 6, 0), '\0', true);
    }
    // Every size as the version stores it, also one read as the plain number some writers put
    // in a 2.4 tag: a tag of mixed sizes reads wrongly in other programs.
    for (size_t i = 0; i < tag.Frames->size(); ++i) {
        const TID3v2Frame& frame = (*tag.Frames)[i];
        const quint32 size = quint32(frame.Size);
        body += bytesOf(frame.FrameID) + (tag.Version == 4 ? intToSyncsafe(size) : intToBigEndian(size))
            + bytesOf(frame.Flags) + frameData[i].leftJustified(frame.Size, '\0', true);
    }
    return body;
}

// The header, the body and zero padding up to the size the header gives; then the footer, which
// repeats the header under the identifier "3DI" so the tag can be found from its end.
QByteArray wholeTag(const TID3v2& tag, const QByteArray& body, qint64 tagSize, const QByteArray& sizeBytes)
{
    // The frames are held, and written, in their plain form.
    const quint8 plainFlags = tag.Flags & quint8(~0x80);
    const QByteArray flags = QByteArray(1, char(tag.MajorVersion)) + char(tag.RevisionByte) + char(plainFlags);
    QByteArray bytes = (bytesOf(tag.Identifier) + flags + sizeBytes + body).leftJustified(TagHeaderSize + tagSize, '\0');
    if (tag.FooterPresent != 0)
        bytes += "3DI" + flags + sizeBytes;
    return bytes;
}

// The new tag fills exactly the room of the old one, so the audio behind it is not touched and a
// footer sits where the header's size says it is.
QByteArray tagInPlace(const TID3v2& tag, const TID3v2& old, const QByteArray& body)
{
    const qint64 footerSize = tag.FooterPresent != 0 ? TagHeaderSize : 0;
    const qint64 tagSize = audioStartAfter(old) - TagHeaderSize - footerSize;
    const QByteArray sizeBytes = tagSize == old.TagSize ? bytesOf(old.SizeBytes) : intToSyncsafe(quint32(tagSize));
    return wholeTag(tag, body, tagSize, sizeBytes);
}

QString changedMessage(const QString& name)
{
    return "'" + name + "' changed since it was read; refresh it and save again.";
}

// Writes through the descriptor the old tag was read through, when it is open for writing, and
// only while the file is as it was read.
bool writeInPlace(const TID3v2& tag, const TID3v2& old, const QByteArray& body, ReadFile& file, bool writable)
{
    const QString name = fileNameForMessage(file.fileName());
    if (!writable) {
        ui::showMessage("Cannot save tag v2 of '" + name + "'.", ui::Icon::Error);
        return false;
    }
    if (!(identityOf(file.stateNow()) == identityOf(*old.ReadState))) {
        ui::showMessage(changedMessage(name), ui::Icon::Error);
        return false;
    }
    const int fd = file.handle();
    const bool written = ::lseek(fd, 0, SEEK_SET) == 0 && writeAll(fd, tagInPlace(tag, old, body))
        && fileOperations().flush(fd);
    if (!(file.close() && written)) {
        ui::showMessage(QStringLiteral("Error when saving tag v2. Cannot write file."), ui::Icon::Warning);
        return false;
    }
    Delay(50);
    return true;
}

bool rewriteWithCopy(const TID3v2& tag, const TID3v2& old, const QByteArray& body, const QString& fileName)
{
    const QString name = fileNameForMessage(fileName);
    const qint64 tagSize = body.size() + NewTagPadding;
    FileReplacement replacement(fileName);

    const qint64 freeBytes = replacement.freeSpace();
    if (QFileInfo(fileName).size() + tagSize + FreeSpaceReserve > freeBytes) {
        ui::showMessage(QStringLiteral("Not enough free space on disk for temporary file."), ui::Icon::Error);
        return false;
    }
    if (!replacement.openSource(identityOf(*old.ReadState))) {
        ui::showMessage(replacement.changedFromOutside() ? changedMessage(name)
                                                         : "Error when saving tag v2. Cannot open '" + name + "'.",
                        ui::Icon::Error);
        return false;
    }
    if (!replacement.createTemporary()) {
        ui::showMessage("Error when saving tag v2. Cannot create '" + name + ".temp" + "'.", ui::Icon::Error);
        return false;
    }
    bool done = replacement.write(wholeTag(tag, body, tagSize, intToSyncsafe(quint32(tagSize))));
    QCoreApplication::processEvents();
    done = done && replacement.copySource(audioStartAfter(old), CopyPieceSize) && replacement.commit();
    if (!done)
        ui::showMessage(replacement.changedFromOutside() ? changedMessage(name)
                                                         : "Error when saving tag v2 of '" + name + "'.",
                        ui::Icon::Error);
    return done;
}

// Why the tag now in the file must not be written over, or an empty text when it may be.
QString refusal(const TID3v2& tag, const TID3v2& old, const QString& name)
{
    if (changedSinceRead(*tag.ReadState, *old.ReadState))
        return changedMessage(name);
    if (old.Present && old.Version != 2 && old.Version != 3 && old.Version != 4)
        return "Cannot save tag v2 of '" + name + "': tags of version 2." + QString::number(old.Version)
            + " are not supported.";
    // A damaged size would have the save write zeros over the audio it claims, or copy none.
    if (old.Present && audioStartAfter(old) > old.ReadState->Size)
        return "Cannot save tag v2 of '" + name + "': its tag claims more bytes than the file holds.";
    if (old.UnwalkedBytes)
        return "Cannot save tag v2 of '" + name + "': part of its tag cannot be read and would be lost.";
    return {};
}

}  // namespace

bool WriteID3v2(TID3v2 tag, const QString& fileName)
{
    if (!tag.Present)
        return false;
    const auto lock = lockForWriting(fileName, "Cannot save tag v2 of '" + fileNameForMessage(fileName) + "'");
    if (!lock)
        return false;
    // The file is opened once, for writing where it may be: what is checked and read is what is
    // written, whatever another program does meanwhile under its name.
    const int writer = fileOperations().open(fileName, O_RDWR);
    ReadFile file(fileName, writer);
    TID3v2 old;
    if (file.isOpen())
        readID3v2From(file, old);
    else
        reportID3v2FileNotOpened(fileName);
    const QString refused = refusal(tag, old, fileNameForMessage(fileName));
    if (!refused.isEmpty()) {
        ui::showMessage(refused, ui::Icon::Error);
        return false;
    }
    // Only the texts the record changed are written: a frame of an unchanged text keeps bytes the
    // record's text may not tell (several values, a genre's numbers, line ends).
    const TID3v2 asRead = textsOfFrames(*tag.Frames, tag.Version);
    addMissingFrames(tag, asRead);
    fillFrames(tag, asRead);
    // Frames kept in a file are read before anything is written: an in-place save overwrites them.
    std::vector<QByteArray> frameData;
    try {
        frameData = frameDataOf(tag, file, old);
    } catch (const TagFileError&) {
        ui::showMessage("Error when saving tag v2 of '" + fileNameForMessage(fileName) + "'.", ui::Icon::Error);
        return false;
    }
    const QByteArray body = tagBody(tag, frameData);
    const qint64 footerSize = tag.FooterPresent != 0 ? TagHeaderSize : 0;
    // The old tag's room ends where audio it counts begins.
    const qint64 room = audioStartAfter(old) - TagHeaderSize - (old.FooterPresent != 0 ? TagHeaderSize : 0);
    const bool fits = old.Present && body.size() + footerSize <= room;
    const bool written = fits ? writeInPlace(tag, old, body, file, writer >= 0) : rewriteWithCopy(tag, old, body, fileName);
    // The record now holds what the file holds: a next save of it is no save over a change.
    if (written && tag.ReadState->FileName == fileName) {
        TID3v2 now;
        ReadID3v2(fileName, now);
        *tag.ReadState = *now.ReadState;
    }
    return written;
}
