#pragma once

// Audio file records built in memory, with only the fields the export and the playlist name read.

#include "UnitID3Tag.h"

#include <QString>

struct TagFields {
    QString Title = {};
    QString Artist = {};
    QString Album = {};
    QString Year = {};
    QString Comment = {};
    QString Track = {};
    QString Genre = {};
};

// A file with an ID3v1.1 block holding the fields (track and genre as numbers).
void setID3v1(TMpegFile& file, const TagFields& fields, quint8 track, quint8 genre);
// A file with a read ID3v2 tag holding the fields.
void setID3v2(TMpegFile& file, const TagFields& fields);

#include "QStringPrinter.h"
