#pragma once

// The suggested name of a playlist, made from the tags of one file by a playlist format.

#include <QString>

class TMpegFile;

// The texts the playlist placeholders stand for: the ID3v2 tag's first, ID3v1 fills the gaps.
struct PlaylistPlaceholderTexts {
    QString Artist;
    QString Album;
    QString Year;
    QString Genre;
};

PlaylistPlaceholderTexts playlistPlaceholderTexts(const TMpegFile& file);

// "#ARTIST#", "#ALBUM#", "#YEAR#" and "#GENRE#" of the format replaced by the file's texts, every
// character a file name cannot hold replaced by invalidCharReplacement. No file: empty.
QString MakePlaylistName(const QString& format, const TMpegFile* file, const QString& invalidCharReplacement);
