#include "GridText.h"
#include "UnitID3Tag.h"

#include <QApplication>
#include <QPalette>
#include <cstring>
#include <gtest/gtest.h>

namespace {

TMpegFile fileWithID3v1()
{
    TMpegFile file;
    file.FileName = "/music/album/01 Song.mp3";
    file.HasID3v1 = true;
    file.ID3v1Kind = ID3v1_1;
    std::memcpy(file.ID3v1.Identifier, "TAG", 3);
    std::memcpy(file.ID3v1.Title, " Title\t", 7);
    std::memcpy(file.ID3v1.Year, "1999", 4);
    std::memset(file.ID3v1.Comment, 'c', 30);
    file.ID3v1.setTrack(7);
    file.ID3v1.Genre = 17;
    return file;
}

TEST(GridTextTest, ColumnsThatDoNotDependOnThePage)
{
    TMpegFile file = fileWithID3v1();
    file.ID3v2.MajorVersion = 3;
    EXPECT_EQ(gridCellText(file, -1, TagPage::V1), "/music/album/01 Song.mp3");
    EXPECT_EQ(gridCellText(file, 0, TagPage::V2), "/music/album/01 Song.mp3");
    EXPECT_EQ(gridCellText(file, 1, TagPage::V2), "1.1");
    EXPECT_EQ(gridCellText(file, 2, TagPage::V1), "2.3");
    EXPECT_EQ(gridCellText(file, 3, TagPage::V1), "01 Song.mp3");
    file.ID3v1Kind = ID3v1_0;
    file.ID3v2.MajorVersion = 0;
    EXPECT_EQ(gridCellText(file, 1, TagPage::V1), "1.0");
    EXPECT_EQ(gridCellText(file, 2, TagPage::V1), "");
    file.ID3v1Kind = NoID3v1;
    EXPECT_EQ(gridCellText(file, 1, TagPage::V1), "");
}

TEST(GridTextTest, ID3v1TextsAreTrimmedAndTheCommentHoldsTwentyNineBytes)
{
    const TMpegFile file = fileWithID3v1();
    EXPECT_EQ(gridCellText(file, 4, TagPage::V1), "Title");
    EXPECT_EQ(gridCellText(file, 7, TagPage::V1), "1999");
    EXPECT_EQ(gridCellText(file, 10, TagPage::V1), QString(29, 'c'));
    EXPECT_EQ(gridCellText(file, 8, TagPage::V1), "7");
    EXPECT_EQ(gridCellText(file, 9, TagPage::V1), "Rock");
}

TEST(GridTextTest, ID3v1TrackAndGenreOutOfRangeShowNothing)
{
    TMpegFile file = fileWithID3v1();
    for (int track : {0, 100, 255}) {
        file.ID3v1.setTrack(static_cast<quint8>(track));
        EXPECT_EQ(gridCellText(file, 8, TagPage::V1), "") << track;
    }
    for (int genre : {148, 200, 255}) {
        file.ID3v1.Genre = static_cast<quint8>(genre);
        EXPECT_EQ(gridCellText(file, 9, TagPage::V1), "") << genre;
    }
    file.ID3v1.setTrack(99);
    file.ID3v1.Genre = 0;
    file.HasID3v1 = false;
    EXPECT_EQ(gridCellText(file, 8, TagPage::V1), "");
    EXPECT_EQ(gridCellText(file, 9, TagPage::V1), "");
}

TEST(GridTextTest, ID3v2TextsAreShownUntrimmedWithTheGenreDecoded)
{
    TMpegFile file = fileWithID3v1();
    file.ID3v2.Title = " Spaced ";
    file.ID3v2.Track = "3/12";
    file.ID3v2.Genre = "(17)";
    file.ID3v2.Comment = "Note";
    EXPECT_EQ(gridCellText(file, 4, TagPage::V2), " Spaced ");
    EXPECT_EQ(gridCellText(file, 8, TagPage::V2), "3/12");
    EXPECT_EQ(gridCellText(file, 9, TagPage::V2), DecodeGenre("(17)"));
    EXPECT_EQ(gridCellText(file, 10, TagPage::V2), "Note");
    EXPECT_EQ(gridCellText(file, 11, TagPage::V2), "");
}

TEST(GridTextTest, ShortTrackNumbersGainALeadingZero)
{
    EXPECT_EQ(trackSortKey("7"), "07");
    EXPECT_EQ(trackSortKey("7/12"), "07/12");
    EXPECT_EQ(trackSortKey("10"), "10");
    EXPECT_EQ(trackSortKey("x"), "x");
    EXPECT_EQ(trackSortKey("x/2"), "x/2");
    EXPECT_EQ(trackSortKey(""), "");
}

TEST(GridTextTest, TheWindowColourFollowsTheStyle)
{
    EXPECT_EQ(gridColor(static_cast<qint32>(0xFF000005u)), QApplication::palette().color(QPalette::Base));
    EXPECT_EQ(gridColor(static_cast<qint32>(0xFF336699u)), QColor(0x33, 0x66, 0x99));
}

}  // namespace
