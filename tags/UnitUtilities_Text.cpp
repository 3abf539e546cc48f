#include "UnitUtilities.h"

#include <QLocale>

QString ReplaceChar(const QString& text, QChar oldChar, QChar newChar)
{
    QString result = text;
    result.replace(oldChar, newChar);
    return result;
}

bool IsWordChar(QChar c)
{
    const char16_t code = c.unicode();
    const bool separator = (code >= 0x20 && code <= 0x2F && code != 0x27)
        || (code >= 0x3A && code <= 0x40)
        || (code >= 0x5B && code <= 0x60);
    return !separator;
}

namespace {

// The upper case of one character (a surrogate pair counts as one). A letter whose upper case
// is longer, such as the sharp s, stays as it is rather than shifting the rest of the word.
QString upperCaseOf(const QString& character, const QLocale& locale)
{
    const QString upper = locale.toUpper(character);
    return upper.size() == character.size() ? upper : character;
}

}  // namespace

QString CapitalizeWords(const QString& text)
{
    const QLocale locale;
    const QString lower = locale.toLower(text);
    QString result;
    result.reserve(lower.size());
    bool atWordStart = true;
    for (qsizetype i = 0; i < lower.size(); ++i) {
        const bool pair = lower[i].isHighSurrogate() && i + 1 < lower.size() && lower[i + 1].isLowSurrogate();
        const QString character = lower.mid(i, pair ? 2 : 1);
        if (pair)
            ++i;
        if (!IsWordChar(character[0])) {
            atWordStart = true;
            result += character;
        } else if (atWordStart) {
            atWordStart = false;
            result += upperCaseOf(character, locale);
        } else {
            result += character;
        }
    }
    return result;
}

namespace {

// Gives a whole word bounded by the separator its dictionary spelling: inside the text, at its
// start and at its end. Inside, each match consumes its separators, so a word that shares its
// leading separator with the match before it is not found.
QString applyWordBetween(QString work, const QString& word, QChar separator)
{
    const QString inside = separator + word + separator;
    work.replace(inside, inside, Qt::CaseInsensitive);

    const qsizetype edge = word.size() + 1;
    if (work.size() >= edge && work.left(edge).compare(word + separator, Qt::CaseInsensitive) == 0)
        work = word + work.mid(word.size());
    if (work.size() >= edge && work.right(edge).compare(separator + word, Qt::CaseInsensitive) == 0)
        work = work.left(work.size() - word.size()) + word;
    return work;
}

}  // namespace

QString ApplyDictionaryWords(const QString& text, const QStringList& words)
{
    QString work = text;
    for (const QString& word : words) {
        if (work.compare(word, Qt::CaseInsensitive) == 0)
            work = word;
        work = applyWordBetween(work, word, QLatin1Char(' '));
        work = applyWordBetween(work, word, QLatin1Char('_'));
    }
    return work;
}

namespace {

bool isBlankOrControl(QChar c)
{
    return c.unicode() >= 0x01 && c.unicode() <= 0x20;
}

// A quoted item: the text up to the closing quote, a doubled quote standing for one. Without a
// closing quote the item runs to the end.
QString takeQuoted(const QString& text, qsizetype& i)
{
    QString item;
    for (++i; i < text.size(); ++i) {
        if (text[i] != QLatin1Char('"')) {
            item += text[i];
        } else if (i + 1 < text.size() && text[i + 1] == QLatin1Char('"')) {
            item += text[i];
            ++i;
        } else {
            ++i;
            break;
        }
    }
    return item;
}

}  // namespace

QStringList DictionaryWordList(const QString& setting)
{
    const QChar delimiter = QLatin1Char(';');
    QStringList words;
    qsizetype i = 0;
    const auto skipBlanks = [&] {
        while (i < setting.size() && isBlankOrControl(setting[i]))
            ++i;
    };
    skipBlanks();
    // A zero character ends the setting, as it ends a C string.
    while (i < setting.size() && setting[i] != QChar(0)) {
        if (setting[i] == QLatin1Char('"')) {
            words += takeQuoted(setting, i);
        } else {
            const qsizetype start = i;
            while (i < setting.size() && setting[i].unicode() > 0x20 && setting[i] != delimiter)
                ++i;
            words += setting.mid(start, i - start);
        }
        skipBlanks();
        if (i < setting.size() && setting[i] == delimiter) {
            if (i + 1 == setting.size())
                words += QString();
            ++i;
            skipBlanks();
        }
    }
    return words;
}
