#include "AlbumTrackTags.h"

#include <cstring>

TrackArtistTitle SplitTrackTitle(const QString& Cell, const QString& AlbumArtist)
{
    const QString separator = QStringLiteral(" / ");
    const qsizetype split = Cell.indexOf(separator);
    if (split < 0)
        return {AlbumArtist, Cell};
    return {Cell.left(split), Cell.mid(split + separator.size())};
}

QString TrackText(const QString& Number, int Total, bool LeadingZero, bool AddTotal)
{
    QString text = LeadingZero && Number.toInt() < 10 ? QStringLiteral("0") + Number : Number;
    if (AddTotal)
        text += (LeadingZero && Total < 10 ? QStringLiteral("/0") : QStringLiteral("/")) + QString::number(Total);
    return text;
}

TID3v1 TrackID3v1(const TID3v1& Current, const TrackArtistTitle& Track, const QString& Album, const QString& Year,
                  quint8 TrackNumber, quint8 Genre)
{
    TID3v1 block;
    ClearID3v1(block);
    std::memcpy(block.Identifier, "TAG", 3);
    setId3v1Text(block.Title, 30, Track.Title);
    setId3v1Text(block.Artist, 30, Track.Artist);
    setId3v1Text(block.Album, 30, Album);
    setId3v1Text(block.Year, 4, Year);
    // The track byte is the comment's last byte: a 30-character comment loses its end to it.
    std::memcpy(block.Comment, Current.Comment, qstrnlen(Current.Comment, sizeof Current.Comment));
    block.setTrack(TrackNumber);
    block.Genre = Genre;
    return block;
}
