#include "UnitUtilities.h"

#include <QLocale>
#include <gtest/gtest.h>

namespace {

struct TextCase {
    QString input;
    QString expected;
};

QString capitalized(const QString& text, const QStringList& words = {})
{
    return ApplyDictionaryWords(CapitalizeWords(text), words);
}

}  // namespace

TEST(ReplaceCharTest, ReplacesEveryOccurrenceAndLeavesTheInputAlone)
{
    const QString input = QStringLiteral("a b c");
    EXPECT_EQ(ReplaceChar(input, ' ', '_'), QStringLiteral("a_b_c"));
    EXPECT_EQ(input, QStringLiteral("a b c"));
    EXPECT_EQ(ReplaceChar(QString(), ' ', '_'), QString());
    EXPECT_EQ(ReplaceChar(QStringLiteral("a_b"), '_', ' '), QStringLiteral("a b"));
}

TEST(IsWordCharTest, SeparatorsAreExactlyThePunctuationRangesWithoutTheApostrophe)
{
    for (int code = 0; code < 0x180; ++code) {
        const bool separator = (code >= 0x20 && code <= 0x2F && code != 0x27)
            || (code >= 0x3A && code <= 0x40) || (code >= 0x5B && code <= 0x60);
        EXPECT_EQ(IsWordChar(QChar(code)), !separator) << "code " << code;
    }
}

TEST(IsWordCharTest, NamedCharacters)
{
    for (const char c : {' ', '!', '"', '(', '-', '.', '/', ':', '@', '[', '\\', '_', '`'})
        EXPECT_FALSE(IsWordChar(QLatin1Char(c))) << c;
    for (const char c : {'\'', '0', '9', 'a', 'Z', '{', '|', '}', '~', '\t'})
        EXPECT_TRUE(IsWordChar(QLatin1Char(c))) << c;
}

TEST(CapitalizeWordsTest, FirstWordCharacterAfterSeparatorsIsUpperCase)
{
    const TextCase cases[] = {
        {QString(), QString()},
        {QStringLiteral("hELLO wORLD"), QStringLiteral("Hello World")},
        {QStringLiteral("  the  end "), QStringLiteral("  The  End ")},
        {QStringLiteral("ac/dc"), QStringLiteral("Ac/Dc")},
        {QStringLiteral("o'neil"), QStringLiteral("O'neil")},
        {QStringLiteral("2nd time"), QStringLiteral("2nd Time")},
        {QStringLiteral("rock-n-roll"), QStringLiteral("Rock-N-Roll")},
        {QStringLiteral("a_b.c"), QStringLiteral("A_B.C")},
        {QStringLiteral("{x} y|z"), QStringLiteral("{x} Y|z")},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CapitalizeWords(c.input), c.expected) << c.input.toStdString();
}

TEST(CapitalizeWordsTest, AnyUnicodeLetterChangesCase)
{
    const TextCase cases[] = {
        {QStringLiteral("ÉCOLE ÉTÉ"), QStringLiteral("École Été")},
        {QStringLiteral("кино группа"), QStringLiteral("Кино Группа")},
        {QStringLiteral("ΑΘΗΝΑ"), QStringLiteral("Αθηνα")},
        {QStringLiteral("straße"), QStringLiteral("Straße")},
        {QStringLiteral("ßach"), QStringLiteral("ßach")},
        {QStringLiteral("𐐨𐐨 𐐨"), QStringLiteral("𐐀𐐨 𐐀")},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CapitalizeWords(c.input), c.expected) << c.input.toStdString();
}

TEST(CapitalizeWordsTest, FollowsTheUsersLocale)
{
    const QLocale previous;
    QLocale::setDefault(QLocale(QLocale::Turkish, QLocale::Turkey));
    const QString turkish = CapitalizeWords(QStringLiteral("istanbul IZMIR"));
    QLocale::setDefault(previous);
    EXPECT_EQ(turkish, QStringLiteral("İstanbul Izmır"));
}

TEST(ApplyDictionaryWordsTest, WholeWordsTakeTheDictionarySpelling)
{
    const QStringList dj = {QStringLiteral("DJ")};
    const TextCase cases[] = {
        {QStringLiteral("Dj Shadow"), QStringLiteral("DJ Shadow")},
        {QStringLiteral("The Dj"), QStringLiteral("The DJ")},
        {QStringLiteral("A Dj Set"), QStringLiteral("A DJ Set")},
        {QStringLiteral("Dj_Set"), QStringLiteral("DJ_Set")},
        {QStringLiteral("Set_Dj"), QStringLiteral("Set_DJ")},
        {QStringLiteral("A_Dj_Set"), QStringLiteral("A_DJ_Set")},
        {QStringLiteral("Djembe"), QStringLiteral("Djembe")},
        {QStringLiteral("(Dj) Set"), QStringLiteral("(Dj) Set")},
        {QStringLiteral("dj"), QStringLiteral("DJ")},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ApplyDictionaryWords(c.input, dj), c.expected) << c.input.toStdString();
}

TEST(ApplyDictionaryWordsTest, WholeTextMatchesAWordWithSeparators)
{
    EXPECT_EQ(capitalized(QStringLiteral("ac/dc"), {QStringLiteral("AC/DC")}), QStringLiteral("AC/DC"));
}

TEST(ApplyDictionaryWordsTest, AMatchInsideConsumesTheBlankTheNextWordNeeds)
{
    EXPECT_EQ(ApplyDictionaryWords(QStringLiteral("Ok Ok Ok Go"), {QStringLiteral("OK")}),
              QStringLiteral("OK OK Ok Go"));
}

TEST(ApplyDictionaryWordsTest, WordsApplyInListOrder)
{
    EXPECT_EQ(ApplyDictionaryWords(QStringLiteral("Mc Rock"), {QStringLiteral("mc"), QStringLiteral("MC")}),
              QStringLiteral("MC Rock"));
    EXPECT_EQ(ApplyDictionaryWords(QStringLiteral("Mc Rock"), {QStringLiteral("MC"), QStringLiteral("mc")}),
              QStringLiteral("mc Rock"));
}

TEST(ApplyDictionaryWordsTest, EmptyListOrEmptyWordChangesNothing)
{
    const QString text = QStringLiteral(" Dj  Set_ ");
    EXPECT_EQ(ApplyDictionaryWords(text, {}), text);
    EXPECT_EQ(ApplyDictionaryWords(text, {QString()}), text);
    EXPECT_EQ(ApplyDictionaryWords(QString(), {QString()}), QString());
}

TEST(ApplyDictionaryWordsTest, IgnoresCaseBeyondAscii)
{
    EXPECT_EQ(ApplyDictionaryWords(QStringLiteral("Тв Шоу"), {QStringLiteral("ТВ")}), QStringLiteral("ТВ Шоу"));
}

TEST(DictionaryWordListTest, SplitsAtSemicolonsBlanksAndControlCharacters)
{
    const struct {
        QString setting;
        QStringList words;
    } cases[] = {
        {QString(), {}},
        {QStringLiteral("DJ;AC/DC;UK"), {"DJ", "AC/DC", "UK"}},
        {QStringLiteral("DJ;"), {"DJ", ""}},
        {QStringLiteral("DJ;;UK"), {"DJ", "", "UK"}},
        {QStringLiteral("  DJ ; UK  "), {"DJ", "UK"}},
        {QStringLiteral("Mc Rock;UK"), {"Mc", "Rock", "UK"}},
        {QStringLiteral("A\tB\nC"), {"A", "B", "C"}},
        {QStringLiteral("\"Mc Rock\";UK"), {"Mc Rock", "UK"}},
        {QStringLiteral("\"say \"\"hi\"\"\";x"), {"say \"hi\"", "x"}},
        {QStringLiteral("\"open end"), {"open end"}},
        {QStringLiteral("\"ab\"cd"), {"ab", "cd"}},
        {QStringLiteral("ÉTÉ;ТВ"), {"ÉTÉ", "ТВ"}},
        {QStringLiteral("A") + QChar(0) + QStringLiteral("B"), {"A"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DictionaryWordList(c.setting), c.words) << c.setting.toStdString();
}
