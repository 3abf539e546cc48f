#include "UnitFreedb.h"

#include <gtest/gtest.h>

TEST(FreedbEntry, TitleSplitsAtFirstSeparatorAndFieldsFollowInOrder)
{
    const QList<QByteArray> raw{"# xmcd", "DISCID=05001e02", "DTITLE=Band / Live / Loud", "DYEAR=1999",
                          "DGENRE=Rock", "TTITLE0=One", "TTITLE1=Two", "EXTD="};
    EXPECT_EQ(ParseAlbumEntry(raw), QStringList({"Band", "Live / Loud", "Rock", "1999", "One", "Two"}));
}

TEST(FreedbEntry, TitleWithoutSeparatorIsArtistAndAlbum)
{
    const QList<QByteArray> raw{"DTITLE=Solo", "TTITLE0=A", "EXTD="};
    EXPECT_EQ(ParseAlbumEntry(raw), QStringList({"Solo", "Solo", "", "", "A"}));
}

TEST(FreedbEntry, MissingTitleLineKeepsPositionsOfTheOtherFields)
{
    const QList<QByteArray> raw{"DYEAR=2001", "DGENRE=Jazz", "TTITLE0=First", "EXTD="};
    EXPECT_EQ(ParseAlbumEntry(raw), QStringList({"", "", "Jazz", "2001", "First"}));
}

TEST(FreedbEntry, LinesOfAKeyAreJoinedInOrderAndValuesAreNotTrimmed)
{
    const QList<QByteArray> raw{"DTITLE= A / B ", "TTITLE0=x ", "DTITLE=continued", "TTITLE0=y", "dyear=1", "EXTD="};
    EXPECT_EQ(ParseAlbumEntry(raw), QStringList({" A", "B continued", "", "", "x y"}));
}

TEST(FreedbEntry, ValuesAreDecodedOnceJoinedAndUnescaped)
{
    const struct {
        QList<QByteArray> lines;
        QString title;
    } cases[] = {
        {{"TTITLE0=\xE4\xBA\xA4\xE9", "TTITLE0=\x9F\xBF"}, QStringLiteral("\u4EA4\u97FF")},
        {{"TTITLE0=\xE4\xBA\xA4\xE9\x9F"}, QStringLiteral("\u4EA4")},
        {{"TTITLE0=Caf\xE9"}, QStringLiteral("Caf\u00E9")},
        {{"TTITLE0=AC\\\\DC"}, QStringLiteral("AC\\DC")},
        {{"TTITLE0=Mind\\n(alternate\\", "TTITLE0=ttake)"}, QStringLiteral("Mind (alternate take)")},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ParseAlbumEntry(c.lines).value(4), c.title) << c.lines.join('|').toStdString();
}

TEST(FreedbEntry, FirstMissingTrackNumberEndsTheTitles)
{
    QList<QByteArray> raw;
    for (int n = 0; n <= 11; ++n) {
        if (n != 4)
            raw << QStringLiteral("TTITLE%1=T%1").arg(n).toLatin1();
    }
    raw << "EXTD=";
    EXPECT_EQ(ParseAlbumEntry(raw).mid(4), QStringList({"T0", "T1", "T2", "T3"}));
}

TEST(FreedbEntry, TrackTenIsFoundAfterZeroToNineAndNotConfusedWithOne)
{
    QList<QByteArray> raw;
    for (int n = 10; n >= 0; --n)
        raw << QStringLiteral("TTITLE%1=T%1").arg(n).toLatin1();
    raw << "EXTD=";
    const QStringList titles = ParseAlbumEntry(raw).mid(4);
    ASSERT_EQ(titles.size(), 11);
    EXPECT_EQ(titles.at(1), "T1");
    EXPECT_EQ(titles.at(10), "T10");
}

TEST(FreedbEntry, AtMostOneHundredTitles)
{
    QList<QByteArray> raw;
    for (int n = 0; n <= 120; ++n)
        raw << QStringLiteral("TTITLE%1=T%1").arg(n).toLatin1();
    raw << "EXTD=";
    const QStringList titles = ParseAlbumEntry(raw).mid(4);
    ASSERT_EQ(titles.size(), 100);
    EXPECT_EQ(titles.last(), "T99");
}

TEST(FreedbEntry, TitleOnTheLastLineEndsTheTitlesButAContinuationThereDoesNot)
{
    const struct {
        QList<QByteArray> lines;
        QStringList titles;
    } cases[] = {
        {{"TTITLE0=A", "TTITLE2=C", "TTITLE1=B"}, {"A", "B"}},
        {{"TTITLE0=one", "TTITLE1=two", "TTITLE2=three", "TTITLE0= (cont)"}, {"one (cont)", "two", "three"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ParseAlbumEntry(c.lines).mid(4), c.titles) << c.lines.join('|').toStdString();
}
