#include "PlaylistName.h"

#include "TagFieldTexts.h"
#include "UnitID3Tag.h"

#include <algorithm>

namespace {

// A name grown this long is no file name any more: a text can rebuild the placeholder around
// itself without end ("##ARTIST#" with the artist "ARTIST##ARTIST"), and this ends such a pass.
constexpr qsizetype MaxNameLength = 64 * 1024;

// Each occurrence is replaced once, searching on after the inserted text.
QString replaceEachOnce(const QString& name, const QString& placeholder, const QString& text)
{
    QString result;
    qsizetype from = 0;
    for (qsizetype found = name.indexOf(placeholder); found >= 0; found = name.indexOf(placeholder, from)) {
        result += name.mid(from, found - from) + text;
        from = found + placeholder.size();
    }
    return result + name.mid(from);
}

// The leftmost occurrence is replaced while there is one, so the text around an inserted field
// can form the placeholder again. A field that holds its own placeholder would never end that
// way, so there each occurrence is replaced once.
QString replacePlaceholder(const QString& name, const QString& placeholder, const QString& text)
{
    if (text.contains(placeholder))
        return replaceEachOnce(name, placeholder, text);
    QString result = name;
    for (qsizetype found = result.indexOf(placeholder); found >= 0 && result.size() <= MaxNameLength;) {
        result.replace(found, placeholder.size(), text);
        // Nothing before the replaced one matched, so a new one overlaps the text or follows it.
        found = result.indexOf(placeholder, std::max<qsizetype>(0, found - placeholder.size() + 1));
    }
    return result;
}

QString replaceInvalidChars(const QString& name, const QString& replacement)
{
    static const QString invalidChars = QStringLiteral("\\/:*?\"<>|");
    QString result;
    for (const QChar c : name)
        result += invalidChars.contains(c) ? replacement : QString(c);
    return result;
}

void fillIfEmpty(QString& text, const QString& fallback)
{
    if (text.isEmpty())
        text = fallback;
}

}  // namespace

PlaylistPlaceholderTexts playlistPlaceholderTexts(const TMpegFile& file)
{
    PlaylistPlaceholderTexts texts;
    if (file.HasID3v2 && file.ID3v2.Present) {
        texts.Artist = trimmedText(file.ID3v2.Artist);
        texts.Album = trimmedText(file.ID3v2.Album);
        texts.Year = trimmedText(file.ID3v2.Year);
        texts.Genre = trimmedText(file.ID3v2.Genre);
    }
    const TID3v1& v1 = file.ID3v1;
    if (file.HasID3v1 && QByteArray(v1.Identifier, 3) == "TAG") {
        fillIfEmpty(texts.Artist, id3v1FieldText(v1.Artist, 30));
        fillIfEmpty(texts.Album, id3v1FieldText(v1.Album, 30));
        fillIfEmpty(texts.Year, id3v1FieldText(v1.Year, 4));
        fillIfEmpty(texts.Genre, id3v1GenreName(v1.Genre));
    }
    return texts;
}

QString MakePlaylistName(const QString& format, const TMpegFile* file, const QString& invalidCharReplacement)
{
    if (!file)
        return {};
    const PlaylistPlaceholderTexts texts = playlistPlaceholderTexts(*file);
    QString name = format;
    name = replacePlaceholder(name, QStringLiteral("#ARTIST#"), texts.Artist);
    name = replacePlaceholder(name, QStringLiteral("#ALBUM#"), texts.Album);
    name = replacePlaceholder(name, QStringLiteral("#YEAR#"), texts.Year);
    name = replacePlaceholder(name, QStringLiteral("#GENRE#"), texts.Genre);
    return replaceInvalidChars(name, invalidCharReplacement);
}
