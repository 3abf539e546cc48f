#include "ExportTable.h"

#include "TagFieldTexts.h"
#include "TextFile.h"
#include "UnitID3Tag.h"

#include <QFile>
#include <QFileInfo>

const QStringList ExportFieldNames = {
    QStringLiteral("File Name"), QStringLiteral("Path"),    QStringLiteral("Title"),     QStringLiteral("Artist"),
    QStringLiteral("Album"),     QStringLiteral("Year"),    QStringLiteral("Track"),     QStringLiteral("Genre"),
    QStringLiteral("Comment"),   QStringLiteral("KBps"),    QStringLiteral("Size (kb)"), QStringLiteral("Length"),
};

namespace {

// The tag fields of the page the export reads, as its cells show them.
struct TagPageFields {
    QString Title;
    QString Artist;
    QString Album;
    QString Year;
    QString Track;
    QString Genre;
    QString Comment;
};

TagPageFields id3v1PageFields(const TMpegFile& file)
{
    const TID3v1& block = file.ID3v1;
    TagPageFields fields;
    fields.Title = id3v1FieldText(block.Title, 30);
    fields.Artist = id3v1FieldText(block.Artist, 30);
    fields.Album = id3v1FieldText(block.Album, 30);
    fields.Year = id3v1FieldText(block.Year, 4);
    fields.Comment = id3v1FieldText(block.Comment, 29);
    if (file.HasID3v1) {
        if (block.track() >= 1 && block.track() <= 99)
            fields.Track = QString::number(block.track());
        fields.Genre = id3v1GenreName(block.Genre);
    }
    return fields;
}

TagPageFields id3v2PageFields(const TMpegFile& file)
{
    const TID3v2& tag = file.ID3v2;
    return {tag.Title, tag.Artist, tag.Album, tag.Year, tag.Track, tag.Genre, tag.Comment};
}

qint64 fileSize(const QString& fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        throw TextFileError(QStringLiteral("Cannot open file '%1'. %2")
                                .arg(QFileInfo(fileName).fileName(), file.errorString())
                                .toStdString());
    return file.size();
}

QString cellText(const QString& field, const TMpegFile& file, const TagPageFields& tags)
{
    const auto is = [&field](const char* name) { return field.compare(QLatin1String(name), Qt::CaseInsensitive) == 0; };
    if (is("File Name"))
        return QFileInfo(file.FileName).fileName();
    if (is("Path")) {
        const QString folder = QFileInfo(file.FileName).path();
        return folder.endsWith('/') ? folder : folder + '/';
    }
    if (is("Title"))
        return tags.Title;
    if (is("Artist"))
        return tags.Artist;
    if (is("Album"))
        return tags.Album;
    if (is("Year"))
        return tags.Year;
    if (is("Track"))
        return tags.Track;
    if (is("Genre"))
        return tags.Genre;
    if (is("Comment"))
        return tags.Comment;
    if (is("KBps"))
        return QString::number(file.Bitrate);
    if (is("Size (kb)"))
        return exportSizeText(fileSize(file.FileName));
    if (is("Length"))
        return exportLengthText(file.Duration);
    return {};
}

}  // namespace

QString exportSizeText(qint64 bytes)
{
    qint64 kilobytes = bytes / 1000;
    const qint64 rest = bytes % 1000;
    if (rest > 500 || (rest == 500 && kilobytes % 2 == 1))
        ++kilobytes;
    return QString::number(kilobytes);
}

QString exportLengthText(qint32 seconds)
{
    return QStringLiteral("%1:%2").arg(seconds / 60).arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

QStringList exportRow(const TMpegFile& file, bool id3v1Page, const QStringList& fields)
{
    const TagPageFields tags = id3v1Page ? id3v1PageFields(file) : id3v2PageFields(file);
    QStringList row;
    for (const QString& field : fields)
        row << cellText(field, file, tags);
    return row;
}
