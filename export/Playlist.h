#pragma once

// M3U and PLS playlists: entry paths, writing a list of files, reading the files a playlist names.

#include <QString>
#include <QStringList>

enum class PlaylistKind { Other, M3U, PLS };

// By the extension, ignoring case: ".m3u" or ".pls".
PlaylistKind playlistKind(const QString& playlistFileName);

// How the playlist names a file: the bare name beside the playlist, the relative path below its
// folder, the absolute path anywhere else.
QString playlistEntryPath(const QString& playlistFileName, const QString& fileName);

// The files whose entry paths hold a line break: no playlist line can hold them, as a reader would
// take each part for an entry of its own.
QStringList filesThePlaylistCannotHold(const QString& playlistFileName, const QStringList& files);

// Writes the files, in order, as a playlist of the kind its name gives, leaving out those it
// cannot hold. A name of another kind is no playlist: nothing is created or replaced, and
// the result is false. Throws TextFileError when the file cannot be created; false when writing
// failed, `reason` then giving the system's words and an earlier file of the name staying as it was.
bool writePlaylist(const QString& playlistFileName, const QStringList& files, QString* reason = nullptr);

// The existing files the playlist names, in its order, as absolute paths; entries naming no file
// are left out. Throws TextFileError when the playlist cannot be opened; false when reading
// failed, and then no path is given.
bool readPlaylist(const QString& playlistFileName, QStringList& paths);
