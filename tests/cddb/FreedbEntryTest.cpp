#include "UnitFreedb.h"

#include <gtest/gtest.h>

TEST(FreedbEntry, TitleSplitsAtFirstSeparatorAndFieldsFollowInOrder)
{
    const QStringList raw{"# xmcd", "DISCID=05001e02", "DTITLE=Band / Live / Loud", "DYEAR=1999",
                          "DGENRE=Rock", "TTITLE0=One", "TTITLE1=Two", "EXTD="};
    EXPECT_EQ(ParseAlbumEntry(raw), QStringList({"Band", "Live / Loud", "Rock", "1999", "One", "Two"}));
}

TEST(FreedbEntry, TitleWithoutSeparatorIsArtistAndAlbum)
{
    const QStringList raw{"DTITLE=Solo", "TTITLE0=A", "EXTD="};
    EXPECT_EQ(ParseAlbumEntry(raw), QStringList({"Solo", "Solo", "", "", "A"}));
}

TEST(FreedbEntry, MissingTitleLineKeepsPositionsOfTheOtherFields)
{
    const QStringList raw{"DYEAR=2001", "DGENRE=Jazz", "TTITLE0=First", "EXTD="};
    EXPECT_EQ(ParseAlbumEntry(raw), QStringList({"", "", "Jazz", "2001", "First"}));
}

TEST(FreedbEntry, OnlyTheFirstLineOfAKeyCountsAndValuesAreNotTrimmed)
{
    const QStringList raw{"DTITLE= A / B ", "DTITLE=continued", "TTITLE0=x ", "TTITLE0=y", "dyear=1", "EXTD="};
    EXPECT_EQ(ParseAlbumEntry(raw), QStringList({" A", "B ", "", "", "x "}));
}

TEST(FreedbEntry, FirstMissingTrackNumberEndsTheTitles)
{
    QStringList raw;
    for (int n = 0; n <= 11; ++n) {
        if (n != 4)
            raw << QStringLiteral("TTITLE%1=T%1").arg(n);
    }
    raw << "EXTD=";
    EXPECT_EQ(ParseAlbumEntry(raw).mid(4), QStringList({"T0", "T1", "T2", "T3"}));
}

TEST(FreedbEntry, TrackTenIsFoundAfterZeroToNineAndNotConfusedWithOne)
{
    QStringList raw;
    for (int n = 10; n >= 0; --n)
        raw << QStringLiteral("TTITLE%1=T%1").arg(n);
    raw << "EXTD=";
    const QStringList titles = ParseAlbumEntry(raw).mid(4);
    ASSERT_EQ(titles.size(), 11);
    EXPECT_EQ(titles.at(1), "T1");
    EXPECT_EQ(titles.at(10), "T10");
}

TEST(FreedbEntry, AtMostOneHundredTitles)
{
    QStringList raw;
    for (int n = 0; n <= 120; ++n)
        raw << QStringLiteral("TTITLE%1=T%1").arg(n);
    raw << "EXTD=";
    const QStringList titles = ParseAlbumEntry(raw).mid(4);
    ASSERT_EQ(titles.size(), 100);
    EXPECT_EQ(titles.last(), "T99");
}

TEST(FreedbEntry, TitleOnTheLastLineEndsTheTitles)
{
    const QStringList raw{"TTITLE0=A", "TTITLE2=C", "TTITLE1=B"};
    EXPECT_EQ(ParseAlbumEntry(raw).mid(4), QStringList({"A", "B"}));
}
