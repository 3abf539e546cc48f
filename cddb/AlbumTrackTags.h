#pragma once

// The tag texts one track of a looked-up album gives its file.

#include "UnitID3Tag.h"

#include <QString>

struct TrackArtistTitle {
    QString Artist;
    QString Title;
};

// Compilations name each track's artist in its title: "Artist / Title".
TrackArtistTitle SplitTrackTitle(const QString& Cell, const QString& AlbumArtist);

// "3", "03", "3/12", "03/12" or "03/09" by the leading-zero and total-tracks options.
QString TrackText(const QString& Number, int Total, bool LeadingZero, bool AddTotal);

// The ID3v1 block of a track; the comment comes from the file's current block.
TID3v1 TrackID3v1(const TID3v1& Current, const TrackArtistTitle& Track, const QString& Album, const QString& Year,
                  quint8 TrackNumber, quint8 Genre);
