#include "UnitFreedb.h"

namespace {

// Only the first line with a key counts: entries continue long values on repeated key lines.
qsizetype findKey(const QStringList& raw, const QString& key)
{
    for (qsizetype i = 0; i < raw.size(); ++i) {
        if (raw.at(i).startsWith(key))
            return i;
    }
    return -1;
}

QString valueOf(const QStringList& raw, const QString& key)
{
    const qsizetype line = findKey(raw, key);
    return line < 0 ? QString() : raw.at(line).mid(key.size());
}

}  // namespace

QStringList ParseAlbumEntry(const QStringList& Raw)
{
    QStringList entry;

    // Without a title line the artist and album stay empty, so the other fields keep their places.
    const QString title = valueOf(Raw, QStringLiteral("DTITLE="));
    const QString separator = QStringLiteral(" / ");
    const qsizetype split = title.indexOf(separator);
    if (split < 0)
        entry << title << title;
    else
        entry << title.left(split) << title.mid(split + separator.size());

    entry << valueOf(Raw, QStringLiteral("DGENRE=")) << valueOf(Raw, QStringLiteral("DYEAR="));

    // Titles are numbered from 0 without gaps; the first missing number ends the list.
    for (int track = 0; track < 100; ++track) {
        const QString key = QStringLiteral("TTITLE%1=").arg(track);
        const qsizetype line = findKey(Raw, key);
        if (line < 0)
            break;
        entry << Raw.at(line).mid(key.size());
        if (line == Raw.size() - 1)
            break;
    }
    return entry;
}
