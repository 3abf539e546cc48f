#include "AlbumTrackTags.h"

#include <gtest/gtest.h>

#include <QList>
#include <cstring>

TEST(AlbumTrackTags, TrackTextFollowsTheLeadingZeroAndTotalOptions)
{
    struct Case {
        QString number;
        int total;
        bool leadingZero;
        bool addTotal;
        QString text;
    };
    const QList<Case> cases{
        {"3", 12, true, true, "03/12"}, {"3", 9, true, true, "03/09"}, {"3", 9, false, true, "3/9"},
        {"3", 9, true, false, "03"},    {"3", 9, false, false, "3"},   {"12", 12, true, true, "12/12"},
        {"10", 9, true, true, "10/09"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(TrackText(c.number, c.total, c.leadingZero, c.addTotal), c.text) << c.text.toStdString();
}

TEST(AlbumTrackTags, TitleNamesItsOwnArtistBeforeTheFirstSeparator)
{
    const TrackArtistTitle own = SplitTrackTitle("Artist A / Song / Reprise", "Band");
    EXPECT_EQ(own.Artist, "Artist A");
    EXPECT_EQ(own.Title, "Song / Reprise");
    const TrackArtistTitle plain = SplitTrackTitle("Song", "Band");
    EXPECT_EQ(plain.Artist, "Band");
    EXPECT_EQ(plain.Title, "Song");
}

TEST(AlbumTrackTags, ID3v1BlockKeepsTheCommentAndPutsTheTrackInItsLastByte)
{
    TID3v1 current;
    ClearID3v1(current);
    std::memcpy(current.Comment, "123456789012345678901234567890", 30);
    const TID3v1 block = TrackID3v1(current, {"An artist whose name is far too long", "Title"}, "Album", "20011",
                                    7, 17);
    EXPECT_EQ(QByteArray(block.Identifier, 3), "TAG");
    EXPECT_EQ(id3v1Text(block.Title, 30), "Title");
    EXPECT_EQ(id3v1Text(block.Artist, 30), "An artist whose name is far to");
    EXPECT_EQ(id3v1Text(block.Year, 4), "2001");
    EXPECT_EQ(QByteArray(block.Comment, 30), QByteArray("12345678901234567890123456789\x07"));
    EXPECT_EQ(block.Genre, 17);

    std::memset(current.Comment, 0, 30);
    std::memcpy(current.Comment, "short", 5);
    const TID3v1 shortComment = TrackID3v1(current, {"A", "T"}, "", "", 3, 255);
    EXPECT_EQ(QByteArray(shortComment.Comment, 30), QByteArray("short") + QByteArray(24, '\0') + '\x03');
}
