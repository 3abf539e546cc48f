#include "TestFiles.h"

void setID3v1(TMpegFile& file, const TagFields& fields, quint8 track, quint8 genre)
{
    TID3v1& block = file.ID3v1;
    ClearID3v1(block);
    setId3v1Text(block.Identifier, 3, QStringLiteral("TAG"));
    setId3v1Text(block.Title, 30, fields.Title);
    setId3v1Text(block.Artist, 30, fields.Artist);
    setId3v1Text(block.Album, 30, fields.Album);
    setId3v1Text(block.Year, 4, fields.Year);
    setId3v1Text(block.Comment, 28, fields.Comment);
    block.setTrack(track);
    block.Genre = genre;
    file.HasID3v1 = true;
    file.ID3v1Kind = ID3v1_1;
}

void setID3v2(TMpegFile& file, const TagFields& fields)
{
    MakeNewID3v2Header(file.ID3v2);
    file.ID3v2.Title = fields.Title;
    file.ID3v2.Artist = fields.Artist;
    file.ID3v2.Album = fields.Album;
    file.ID3v2.Year = fields.Year;
    file.ID3v2.Comment = fields.Comment;
    file.ID3v2.Track = fields.Track;
    file.ID3v2.Genre = fields.Genre;
    file.HasID3v2 = true;
}
