#include "TagCommandRules.h"

#include "TagFieldTexts.h"

#include <cstring>

namespace {

constexpr int TextWidth = 30;
constexpr int YearWidth = 4;
constexpr int CommentWidth = 29;   // bytes 97..125; byte 126 is the track
constexpr int ShortCommentWidth = 28;

// The field's bytes up to its first zero, into a field that is zero already.
void copyUpToZero(char* to, const char* from, int width)
{
    std::memcpy(to, from, qstrnlen(from, uint(width)));
}

}  // namespace

bool isDigitsOnly(const QString& text)
{
    for (const QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    }
    return true;
}

void placeId3v1Text(char* field, int width, const QString& text)
{
    const QByteArray bytes = id3v1Bytes(text, width);
    std::memcpy(field, bytes.constData(), size_t(bytes.size()));
    if (bytes.size() < width)
        field[bytes.size()] = 0;
}

TID3v1 emptyId3v1Block()
{
    TID3v1 block;
    ClearID3v1(block);
    std::memcpy(block.Identifier, "TAG", 3);
    return block;
}

quint8 id3v1TrackByte(const QString& digits)
{
    if (!isDigitsOnly(digits))
        return 0;
    int value = 0;
    for (const QChar c : digits)
        value = (value * 10 + (c.unicode() - '0')) % 256;
    return static_cast<quint8>(value);
}

void keepTrackReadable(TID3v1& block)
{
    if (block.track() != 0)
        block.Comment[ShortCommentWidth] = 0;
}

void placeId3v1Fields(TID3v1& block, const Id3v1PageFields& fields, const Id3v1FieldChoice& chosen)
{
    if (chosen.title)
        placeId3v1Text(block.Title, TextWidth, trimmedText(fields.title));
    if (chosen.artist)
        placeId3v1Text(block.Artist, TextWidth, trimmedText(fields.artist));
    if (chosen.album)
        placeId3v1Text(block.Album, TextWidth, trimmedText(fields.album));
    if (chosen.year)
        placeId3v1Text(block.Year, YearWidth, fields.year);
    if (chosen.comment)
        placeId3v1Text(block.Comment, CommentWidth, trimmedText(fields.comment));
    if (chosen.track)
        block.setTrack(id3v1TrackByte(fields.track));
    if (chosen.genre)
        block.Genre = fields.genre;
    if (chosen.comment || chosen.track)
        keepTrackReadable(block);
}

QString id3v2TrackFromId3v1(quint8 track, bool leadingZero)
{
    if (track == 0)
        return QString();
    QString text = QString::number(track);
    if (leadingZero && text.size() < 2)
        text.prepend(QLatin1Char('0'));
    return text;
}

void copyId3v1IntoId3v2(const TID3v1& block, TID3v2& tag, bool leadingZero)
{
    tag.Title = id3v1FieldText(block.Title, TextWidth);
    tag.Artist = id3v1FieldText(block.Artist, TextWidth);
    tag.Album = id3v1FieldText(block.Album, TextWidth);
    tag.Comment = id3v1FieldText(block.Comment, CommentWidth);
    tag.Year = id3v1FieldText(block.Year, YearWidth);
    tag.Genre = id3v1GenreName(block.Genre);
    tag.Track = id3v2TrackFromId3v1(block.track(), leadingZero);
}

QString id3v1TrackText(const QString& track)
{
    const qsizetype slash = track.indexOf(QLatin1Char('/'));
    return slash >= 0 ? track.left(slash) : leftCharacters(track, 2);
}

quint8 id3v1TrackFromId3v2(const QString& track)
{
    return id3v1TrackByte(id3v1TrackText(track));
}

quint8 id3v1GenreFromId3v2(const QString& genre)
{
    return GenreByteOf(DecodeGenre(genre));
}

TID3v1 id3v1FromId3v2(const TID3v2& tag)
{
    TID3v1 block = emptyId3v1Block();
    placeId3v1Text(block.Title, TextWidth, tag.Title);
    placeId3v1Text(block.Artist, TextWidth, tag.Artist);
    placeId3v1Text(block.Album, TextWidth, tag.Album);
    placeId3v1Text(block.Year, YearWidth, tag.Year);
    placeId3v1Text(block.Comment, ShortCommentWidth, tag.Comment);
    block.setTrack(id3v1TrackFromId3v2(tag.Track));
    block.Genre = id3v1GenreFromId3v2(tag.Genre);
    return block;
}

QString autoNumberTrack(int position, int count, bool leadingZero, bool addTotal)
{
    QString text = leadingZero && position < 10 ? QStringLiteral("0%1").arg(position) : QString::number(position);
    if (addTotal)
        text += (leadingZero && count < 10 ? QStringLiteral("/0%1") : QStringLiteral("/%1")).arg(count);
    return text;
}

TID3v1 numberedId3v1(const TID3v1& own, bool hasId3v1, int position)
{
    TID3v1 block = emptyId3v1Block();
    if (hasId3v1) {
        copyUpToZero(block.Title, own.Title, TextWidth);
        copyUpToZero(block.Artist, own.Artist, TextWidth);
        copyUpToZero(block.Album, own.Album, TextWidth);
        copyUpToZero(block.Year, own.Year, YearWidth);
        copyUpToZero(block.Comment, own.Comment, CommentWidth);
        block.Genre = own.Genre;
    }
    block.setTrack(static_cast<quint8>(position % 256));
    keepTrackReadable(block);
    return block;
}
