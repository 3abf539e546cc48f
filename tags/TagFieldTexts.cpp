#include "TagFieldTexts.h"

#include "UnitID3Tag.h"

#include <QList>
#include <QTextBoundaryFinder>

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
    QTextBoundaryFinder clusters(QTextBoundaryFinder::Grapheme, text);
    qsizetype end = 0;
    for (qsizetype next = clusters.toNextBoundary(); next > 0; next = clusters.toNextBoundary()) {
        count -= characterCount(text.mid(end, next - end));
        if (count < 0)
            break;
        end = next;
    }
    return text.left(end);
}

QString id3v1FieldFit(const QString& text, int width)
{
    return leftCharacters(text.normalized(QString::NormalizationForm_C), width);
}

QString id3v1FieldText(const char* field, int width)
{
    return trimmedText(id3v1Text(field, width));
}

QString id3v1GenreName(quint8 genre)
{
    return genre < ID3GenreCount ? QString::fromLatin1(ID3Genres[genre]) : QString();
}
