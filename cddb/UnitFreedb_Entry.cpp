#include "UnitFreedb.h"

#include <QHash>

namespace {

// The values of an entry's keys, each joined from all of its lines in order: entries continue a
// long value on lines that repeat its key.
struct EntryValues {
    QHash<QByteArray, QByteArray> joined;
    // The key that the entry's last line begins rather than continues: a title there ends the list.
    QByteArray keyBegunLast;
};

EntryValues entryValues(const QList<QByteArray>& raw)
{
    EntryValues values;
    for (const QByteArray& line : raw) {
        const qsizetype equals = line.indexOf('=');
        if (equals < 0) {
            values.keyBegunLast.clear();
            continue;
        }
        const QByteArray key = line.left(equals);
        values.keyBegunLast = values.joined.contains(key) ? QByteArray() : key;
        values.joined[key] += line.mid(equals + 1);
    }
    return values;
}

// The entry format's escapes. Every value here is shown on one line, so a line break or a tab
// becomes a blank.
QString unescaped(const QString& value)
{
    QString text;
    text.reserve(value.size());
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar next = i + 1 < value.size() ? value.at(i + 1) : QChar();
        if (value.at(i) == u'\\' && next == u'\\') {
            text += next;
            ++i;
        } else if (value.at(i) == u'\\' && (next == u'n' || next == u't')) {
            text += u' ';
            ++i;
        } else {
            text += value.at(i);
        }
    }
    return text;
}

QString valueText(const QByteArray& value)
{
    return unescaped(decodeServerText(value));
}

}  // namespace

QStringList ParseAlbumEntry(const QList<QByteArray>& Raw)
{
    const EntryValues values = entryValues(Raw);
    QStringList entry;

    // Without a title line the artist and album stay empty, so the other fields keep their places.
    const QString title = valueText(values.joined.value("DTITLE"));
    const QString separator = QStringLiteral(" / ");
    const qsizetype split = title.indexOf(separator);
    if (split < 0)
        entry << title << title;
    else
        entry << title.left(split) << title.mid(split + separator.size());

    entry << valueText(values.joined.value("DGENRE")) << valueText(values.joined.value("DYEAR"));

    // Titles are numbered from 0 without gaps; the first missing number ends the list.
    for (int track = 0; track < 100; ++track) {
        const QByteArray key = "TTITLE" + QByteArray::number(track);
        const auto found = values.joined.constFind(key);
        if (found == values.joined.cend())
            break;
        entry << valueText(*found);
        if (key == values.keyBegunLast)
            break;
    }
    return entry;
}
