#include "UnitID3Tag.h"

#include <algorithm>

namespace {

bool allDigits(QStringView text)
{
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

// The genre name for a number written in digits; empty when there is none.
QString genreName(QStringView digits)
{
    bool ok = false;
    const int index = digits.toInt(&ok);
    return ok && index < ID3GenreCount ? QString::fromLatin1(ID3Genres[index]) : QString();
}

// Only the letters A to Z change case; other letters compare as they are.
QString lowerAscii(const QString& text)
{
    QString lower = text;
    for (QChar& c : lower) {
        if (c >= u'A' && c <= u'Z')
            c = QChar(c.unicode() + ('a' - 'A'));
    }
    return lower;
}

}  // namespace

quint8 GenreByteOf(const QString& Name)
{
    const QString wanted = lowerAscii(Name);
    if (wanted.isEmpty())
        return NoGenre;
    for (int genre = 0; genre < ID3GenreCount; ++genre) {
        if (lowerAscii(QString::fromLatin1(ID3Genres[genre])) == wanted)
            return static_cast<quint8>(genre);
    }
    return NoGenre;
}

QString DecodeGenre(const QString& text)
{
    if (text.isEmpty())
        return text;
    if (allDigits(text)) {
        const QString name = genreName(text);
        return name.isEmpty() ? text : name;
    }
    // "(n)" stands for genre n, whatever follows it.
    const qsizetype close = text.indexOf(u')');
    if (text.startsWith(u'(') && close >= 2) {
        const QStringView number = QStringView(text).mid(1, close - 1);
        const QString name = allDigits(number) ? genreName(number) : QString();
        return name.isEmpty() ? text : name;
    }
    return text;
}
