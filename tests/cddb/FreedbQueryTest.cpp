#include "UnitFreedb.h"

#include <gtest/gtest.h>

TEST(FreedbQuery, WorkedExampleOfTwoTracks)
{
    EXPECT_EQ(TFreedb::BuildQuery({10, 20}), "05001E02 2 150 900 30");
}

TEST(FreedbQuery, OneTrackStartsAtFrame150WithChecksumTwo)
{
    EXPECT_EQ(TFreedb::BuildQuery({245}), "0200F501 1 150 245");
}

TEST(FreedbQuery, ChecksumOf255ContributesNothingAndIdKeepsLeadingZerosInUpperCase)
{
    // Starts: 2, then 9 for 27 tracks (digit sum 243), then 19 (10): a checksum of exactly 255.
    QList<qint32> lengths{7};
    for (int i = 0; i < 26; ++i)
        lengths << 0;
    lengths << 10 << 5;
    const QString query = TFreedb::BuildQuery(lengths);
    EXPECT_TRUE(query.startsWith("0000161D 29 150 675 675 "));
    EXPECT_TRUE(query.endsWith(" 675 1425 22"));
}

TEST(FreedbQuery, TrackCountAboveAByteIsNotMasked)
{
    const QList<qint32> lengths(300, 0);
    const QString query = TFreedb::BuildQuery(lengths);
    // 300 starts of 2 seconds: checksum 600, 600 mod 255 = 90; the count 0x12C spills into the total.
    EXPECT_TRUE(query.startsWith("5A00012C 300 150 150 "));
    EXPECT_TRUE(query.endsWith(" 150 0"));
}

TEST(FreedbQuery, ZeroLengthTakesPartLikeAnyOther)
{
    EXPECT_EQ(TFreedb::BuildQuery({0, 60}), "04003C02 2 150 150 60");
}

TEST(FreedbQuery, DigitSumAddsDecimalDigits)
{
    EXPECT_EQ(TFreedb::DigitSum(382), 13);
    EXPECT_EQ(TFreedb::DigitSum(2), 2);
    EXPECT_EQ(TFreedb::DigitSum(0), 0);
    EXPECT_EQ(TFreedb::DigitSum(-45), 0);
}
