#include "TagFieldTexts.h"

#include "UnitID3Tag.h"

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

QString id3v1FieldText(const char* field, int width)
{
    return trimmedText(id3v1Text(field, width));
}

QString id3v1GenreName(quint8 genre)
{
    return genre < ID3GenreCount ? QString::fromLatin1(ID3Genres[genre]) : QString();
}
