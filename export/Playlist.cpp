#include "Playlist.h"

#include "TextFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <optional>

namespace {

// Far above any real playlist; a larger file is none.
constexpr qint64 MaxPlaylistBytes = 64 * 1024 * 1024;

QString absoluteCleanPath(const QString& path)
{
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

QString folderWithSlash(const QString& folder)
{
    return folder.endsWith('/') ? folder : folder + '/';
}

bool holdsLineBreak(const QString& text)
{
    return text.contains('\n') || text.contains('\r');
}

// The entry paths of the files, in order, leaving out those a playlist line cannot hold.
QStringList holdableEntryPaths(const QString& playlistFileName, const QStringList& files)
{
    QStringList entries;
    for (const QString& file : files) {
        const QString entry = playlistEntryPath(playlistFileName, file);
        if (!holdsLineBreak(entry))
            entries << entry;
    }
    return entries;
}

// A line beginning with "#" is a comment of the playlist, and a first line beginning with U+FEFF
// loses it to the reader as a byte-order mark, so such an entry is named from the playlist's folder.
QString m3uEntry(const QString& entryPath)
{
    return entryPath.startsWith('#') || entryPath.startsWith(QChar(0xFEFF)) ? QStringLiteral("./") + entryPath
                                                                              : entryPath;
}

QStringList playlistLines(const QString& playlistFileName, const QStringList& files)
{
    const QStringList entries = holdableEntryPaths(playlistFileName, files);
    QStringList lines;
    switch (playlistKind(playlistFileName)) {
    case PlaylistKind::PLS:
        lines << QStringLiteral("[playlist]");
        for (qsizetype n = 0; n < entries.size(); ++n)
            lines << QStringLiteral("File%1=%2").arg(n + 1).arg(entries.at(n));
        lines << QStringLiteral("NumberOfEntries=%1").arg(entries.size()) << QStringLiteral("Version=2");
        break;
    case PlaylistKind::M3U:
        for (const QString& entry : entries)
            lines << m3uEntry(entry);
        break;
    case PlaylistKind::Other:
        break;
    }
    return lines;
}

// The text after "File...=" of a PLS line; nothing for every other line.
std::optional<QString> plsValue(const QString& line)
{
    if (line.size() < 6 || !line.startsWith(QLatin1String("File")))
        return std::nullopt;
    const qsizetype equals = line.indexOf('=');
    if (equals < 0)
        return std::nullopt;
    return line.mid(equals + 1);
}

std::optional<QString> m3uValue(const QString& line)
{
    if (line.isEmpty() || line.startsWith('#'))
        return std::nullopt;
    return line;
}

// A relative entry is looked for beside the playlist first, then from the current folder.
std::optional<QString> existingFile(const QString& playlistFolder, const QString& entry)
{
    // No path holds a zero byte, and Qt warns about every name that does.
    if (entry.contains(QChar(0)))
        return std::nullopt;
    if (QDir::isRelativePath(entry)) {
        const QString joined = QDir::cleanPath(folderWithSlash(playlistFolder) + entry);
        if (QFileInfo(joined).isFile())
            return joined;
    }
    if (QFileInfo(entry).isFile())
        return absoluteCleanPath(entry);
    return std::nullopt;
}

QStringList textLines(const QByteArray& bytes)
{
    QStringDecoder decode(QStringDecoder::Utf8);
    QStringList lines = QString(decode(bytes)).split('\n');
    if (lines.last().isEmpty())
        lines.removeLast();
    for (QString& line : lines) {
        if (line.endsWith('\r'))
            line.chop(1);
    }
    return lines;
}

}  // namespace

PlaylistKind playlistKind(const QString& playlistFileName)
{
    const QString name = QFileInfo(playlistFileName).fileName().toLower();
    if (name.endsWith(QLatin1String(".m3u")))
        return PlaylistKind::M3U;
    if (name.endsWith(QLatin1String(".pls")))
        return PlaylistKind::PLS;
    return PlaylistKind::Other;
}

QString playlistEntryPath(const QString& playlistFileName, const QString& fileName)
{
    const QString folder = folderWithSlash(absoluteCleanPath(QFileInfo(playlistFileName).absolutePath()));
    const QString path = absoluteCleanPath(fileName);
    return path.startsWith(folder) ? path.mid(folder.size()) : path;
}

QStringList filesThePlaylistCannotHold(const QString& playlistFileName, const QStringList& files)
{
    QStringList unholdable;
    for (const QString& file : files) {
        if (holdsLineBreak(playlistEntryPath(playlistFileName, file)))
            unholdable << file;
    }
    return unholdable;
}

bool writePlaylist(const QString& playlistFileName, const QStringList& files, QString* reason)
{
    if (playlistKind(playlistFileName) == PlaylistKind::Other)
        return false;
    TextFileWriter file(playlistFileName);
    if (!file.open())
        throw TextFileError(file.createErrorText().toStdString());
    bool written = true;
    for (const QString& line : playlistLines(playlistFileName, files))
        written = written && file.writeLine(line);
    if (file.close() && written)
        return true;
    if (reason)
        *reason = file.failure();
    return false;
}

bool readPlaylist(const QString& playlistFileName, QStringList& paths)
{
    paths.clear();
    const PlaylistKind kind = playlistKind(playlistFileName);
    const QFileInfo info(playlistFileName);
    // A pipe would block the reading for ever and a device never end, so only regular files are read.
    if (info.exists() && !info.isFile())
        throw TextFileError(
            QStringLiteral("Cannot open file '%1'. It is not a regular file.").arg(info.fileName()).toStdString());
    QFile file(playlistFileName);
    if (!file.open(QIODevice::ReadOnly))
        throw TextFileError(QStringLiteral("Cannot open file '%1'. %2")
                                .arg(info.fileName(), file.errorString())
                                .toStdString());
    if (kind == PlaylistKind::Other)
        return true;
    if (info.size() > MaxPlaylistBytes)
        return false;
    // Sized by the file rather than by the limit, which would cost 64 MiB for every playlist; only a
    // file that grew since it was looked at is read on towards the limit.
    QByteArray bytes = file.read(info.size() + 1);
    if (bytes.size() > info.size())
        bytes += file.read(MaxPlaylistBytes + 1 - bytes.size());
    if (file.error() != QFileDevice::NoError || bytes.size() > MaxPlaylistBytes)
        return false;
    const QString folder = QFileInfo(playlistFileName).absolutePath();
    for (const QString& line : textLines(bytes)) {
        const std::optional<QString> entry = kind == PlaylistKind::PLS ? plsValue(line) : m3uValue(line);
        if (!entry)
            continue;
        if (const std::optional<QString> path = existingFile(folder, *entry))
            paths << *path;
    }
    return true;
}
