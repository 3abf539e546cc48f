#include "TagFieldTexts.h"

#include "UnitID3Tag.h"

#include <QList>

namespace {

bool isTrimmed(QChar c)
{
    return c.unicode() <= 32;
}

}  // namespace

QString trimmedText(const QString& text)
{
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && isTrimmed(text.at(first)))
        ++first;
    while (last > first && isTrimmed(text.at(last - 1)))
        --last;
    return text.mid(first, last - first);
}

qsizetype characterCount(const QString& text)
{
    return text.toUcs4().size();
}

QString leftCharacters(const QString& text, qsizetype count)
{
    qsizetype end = 0;
    for (; count > 0 && end < text.size(); --count) {
        const bool pair = text.at(end).isHighSurrogate() && end + 1 < text.size() && text.at(end + 1).isLowSurrogate();
        end += pair ? 2 : 1;
    }
    return text.left(end);
}

QString id3v1FieldText(const char* field, int width)
{
    return trimmedText(id3v1Text(field, width));
}

QString id3v1GenreName(quint8 genre)
{
    return genre < ID3GenreCount ? QString::fromLatin1(ID3Genres[genre]) : QString();
}
