#include "TagGuess.h"

#include "UnitUtilities.h"

#include <QFileInfo>
#include <QStringList>

namespace {

struct FormatParts {
    QStringList separators;
    QStringList placeholders;
};

FormatParts splitFormat(QString format)
{
    FormatParts parts;
    for (qsizetype open = format.indexOf(QLatin1Char('#')); open >= 0; open = format.indexOf(QLatin1Char('#'))) {
        if (open > 0)
            parts.separators.append(format.left(open));
        format = format.mid(open);
        const qsizetype close = format.indexOf(QLatin1Char('#'), 1);
        const qsizetype length = close < 0 ? 1 : close + 1;
        parts.placeholders.append(format.left(length));
        format = format.mid(length);
    }
    return parts;
}

}  // namespace

QList<GuessedValue> guessFromFileName(const QString& format, const QString& fileName)
{
    FormatParts parts = splitFormat(format);
    const QString name = QFileInfo(fileName).fileName();
    QString rest = ReplaceChar(name.left(std::max<qsizetype>(0, name.size() - 4)), QLatin1Char('_'), QLatin1Char(' '));

    QList<GuessedValue> values;
    for (const QString& placeholder : std::as_const(parts.placeholders)) {
        const qsizetype found = parts.separators.isEmpty() ? -1 : rest.indexOf(parts.separators.first());
        if (found >= 0) {
            values.append({placeholder, rest.left(found)});
            rest = rest.mid(found + parts.separators.first().size());
            parts.separators.removeFirst();
        } else {
            values.append({placeholder, rest});
            parts.separators.clear();
            rest.clear();
        }
    }
    return values;
}
