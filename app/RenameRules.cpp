#include "RenameRules.h"

#include "TagFieldTexts.h"
#include "UnitID3Tag.h"
#include "UnitUtilities.h"

#include <QLocale>

namespace {

QString orDefault(const QString& value, const QString& fallback)
{
    return value.isEmpty() ? fallback : value;
}

// Only a..z change: the sentence's first letter follows the plain ASCII rule.
QString sentenceCase(const QString& text, const QLocale& locale)
{
    if (text.isEmpty())
        return text;
    QChar first = text[0];
    if (first >= QLatin1Char('a') && first <= QLatin1Char('z'))
        first = QChar(first.unicode() - 'a' + 'A');
    return first + locale.toLower(text.mid(1));
}

QString applyCase(const QString& text, const QString& renameCase)
{
    bool isNumber = false;
    const int mode = renameCase.toInt(&isNumber);
    if (!isNumber)
        return text;
    const QLocale locale;
    switch (mode) {
    case 0:
        return CapitalizeWords(text);
    case 1:
        return locale.toLower(text);
    case 2:
        return locale.toUpper(text);
    case 3:
        return sentenceCase(text, locale);
    default:
        return text;
    }
}

QString replacePlaceholders(QString format, const RenameFields& fields, const QString& bitrate)
{
    format.replace(QLatin1String("#ARTIST#"), fields.artist);
    format.replace(QLatin1String("#ALBUM#"), fields.album);
    format.replace(QLatin1String("#TITLE#"), fields.title);
    format.replace(QLatin1String("#TRACK#"), fields.track);
    format.replace(QLatin1String("#BITRATE#"), bitrate);
    return format;
}

QString presetName(const QString& preset, const RenameFields& f, const QString& bitrate)
{
    const QString sep = QStringLiteral(" - ");
    if (preset == QLatin1String("rdTrackArtistTitle"))
        return f.track + sep + f.artist + sep + f.title;
    if (preset == QLatin1String("rdArtistTrackTitle"))
        return f.artist + sep + f.track + sep + f.title;
    if (preset == QLatin1String("rdArtistAlbumTitle"))
        return f.artist + sep + f.album + sep + f.title;
    if (preset == QLatin1String("rdArtistAlbumTrackTitle"))
        return f.artist + sep + f.album + sep + f.track + sep + f.title;
    if (preset == QLatin1String("rdArtistTitle"))
        return f.artist + sep + f.title;
    if (preset == QLatin1String("rdArtistTitleBitrate"))
        return f.artist + sep + f.title + QStringLiteral(" (") + bitrate + QLatin1Char(')');
    return QString();
}

bool isInvalidFileNameChar(QChar c)
{
    return QStringView(u"\\/:*?\"<>|").contains(c);
}

}  // namespace

std::optional<RenameFields> renameFieldsFromID3v1(const TMpegFile& file)
{
    const TID3v1& block = file.ID3v1;
    if (!file.HasID3v1 || QByteArray(block.Identifier, 3) != "TAG")
        return std::nullopt;
    // The track byte counts whatever the kind: a v1.0 comment character gives its code.
    return RenameFields{trimmedText(id3v1Text(block.Artist, 30)), trimmedText(id3v1Text(block.Album, 30)),
                        trimmedText(id3v1Text(block.Title, 30)), QString::number(block.track())};
}

std::optional<RenameFields> renameFieldsFromID3v2(const TMpegFile& file)
{
    const TID3v2& tag = file.ID3v2;
    if (!file.HasID3v2 || !tag.Present)
        return std::nullopt;
    const QString track = trimmedText(tag.Track);
    return RenameFields{trimmedText(tag.Artist), trimmedText(tag.Album), trimmedText(tag.Title),
                        track.left(track.indexOf(QLatin1Char('/')))};
}

QString buildRenameName(const QString& format, RenameFields fields, const QString& bitrate,
                        const QStringList& dictionaryWords, const RenameSettings& settings)
{
    fields.artist = orDefault(fields.artist, QStringLiteral("Artist"));
    fields.album = orDefault(fields.album, QStringLiteral("Album"));
    fields.title = orDefault(fields.title, QStringLiteral("Title"));
    fields.track = orDefault(fields.track, QStringLiteral("00"));
    if (fields.track.size() == 1 && fields.track[0] >= QLatin1Char('0') && fields.track[0] <= QLatin1Char('9'))
        fields.track.prepend(QLatin1Char('0'));

    for (QString* text : {&fields.artist, &fields.album, &fields.title})
        *text = ApplyDictionaryWords(applyCase(*text, settings.renameCase), dictionaryWords);

    QString name;
    if (!format.isEmpty())
        name = replacePlaceholders(format, fields, bitrate);
    else if (settings.renameFormat == QLatin1String("rdOther"))
        name = replacePlaceholders(settings.renameFormatUser, fields, bitrate);
    else
        name = presetName(settings.renameFormat, fields, bitrate);

    QString portable;
    portable.reserve(name.size());
    for (const QChar c : std::as_const(name))
        portable += isInvalidFileNameChar(c) ? settings.invalidChar : QString(c);
    if (settings.replaceSpace)
        portable.replace(QLatin1Char(' '), QLatin1Char('_'));
    return portable;
}

QString renamedFileName(const QString& oldPath, const QString& name)
{
    const qsizetype dot = oldPath.lastIndexOf(QLatin1Char('.'));
    const bool hasExtension = dot > oldPath.lastIndexOf(QLatin1Char('/'));
    return hasExtension ? name + oldPath.mid(dot) : name;
}
