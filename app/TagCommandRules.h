#pragma once

// The byte and text rules of the tag commands (save, copy between versions, swap, auto numbering),
// free of widgets so that they are tested on their own.

#include "UnitID3Tag.h"

#include <QString>

// True when the text holds nothing but "0".."9" (an empty text too).
bool isDigitsOnly(const QString& text);

// Writes text at the start of an ID3v1 field of width bytes, cut to the width. A shorter text is
// followed by one zero byte; the field's other bytes are left as they are, and nothing is written
// past the field.
void placeId3v1Text(char* field, int width, const QString& text);

// A block with "TAG" and nothing else: empty texts, track 0, no genre.
TID3v1 emptyId3v1Block();

// An ID3v1 track byte from the digits of a track field: empty gives 0, a number is kept modulo 256.
quint8 id3v1TrackByte(const QString& digits);

// A comment reaching byte 125 would hide a track number from every reader, so a non-zero track
// takes that byte back from the comment.
void keepTrackReadable(TID3v1& block);

// The ID3v1 page's fields as the save takes them.
struct Id3v1PageFields {
    QString title;
    QString artist;
    QString album;
    QString year;
    QString comment;
    QString track;               // digits only
    quint8 genre = NoGenre;
};

// Which fields a save writes: all of them for one file, the locked ones for several.
struct Id3v1FieldChoice {
    bool title = true;
    bool artist = true;
    bool album = true;
    bool year = true;
    bool comment = true;
    bool track = true;
    bool genre = true;
};

// Places the chosen fields into the block: texts trimmed (the year as it is), each in its field.
// When the comment or the track is written, a non-zero track keeps byte 125 (keepTrackReadable).
void placeId3v1Fields(TID3v1& block, const Id3v1PageFields& fields, const Id3v1FieldChoice& chosen);

// ---- between the versions

// The ID3v2 track of an ID3v1 track byte: 0 gives an empty track.
QString id3v2TrackFromId3v1(quint8 track, bool leadingZero);

// The ID3v1 texts, track and genre written over an ID3v2 record's; its other fields stay.
void copyId3v1IntoId3v2(const TID3v1& block, TID3v2& tag, bool leadingZero);

// The part of an ID3v2 track an ID3v1 track field takes: the text before the first "/", otherwise
// the first two characters.
QString id3v1TrackText(const QString& track);

// The ID3v1 track byte of an ID3v2 track: anything but digits gives 0.
quint8 id3v1TrackFromId3v2(const QString& track);

// The ID3v1 genre byte of an ID3v2 genre text, a number reference ("(17)", "17") decoded first.
quint8 id3v1GenreFromId3v2(const QString& genre);

// A fresh ID3v1 block holding the ID3v2 record's texts, track and genre.
TID3v1 id3v1FromId3v2(const TID3v2& tag);

// ---- auto numbering

// The ID3v2 track text of the file at position (from 1) among count numbered files.
QString autoNumberTrack(int position, int count, bool leadingZero, bool addTotal);

// A block with the texts and genre of the file's own block (none: empty texts, no genre) and the
// track byte of position.
TID3v1 numberedId3v1(const TID3v1& own, bool hasId3v1, int position);
