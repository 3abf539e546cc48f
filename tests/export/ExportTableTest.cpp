#include "ExportTable.h"
#include "TempDir.h"
#include "TestFiles.h"
#include "TextFile.h"

#include <gtest/gtest.h>

namespace {

const QStringList tagFields = {"Title", "Artist", "Album", "Year", "Track", "Genre", "Comment"};

}  // namespace

TEST(ExportTable, SizeIsRoundedToTheNearestKilobyteAHalfToEven)
{
    const std::pair<qint64, const char*> cases[] = {
        {0, "0"}, {499, "0"}, {500, "0"}, {501, "1"}, {1500, "2"}, {2500, "2"}, {2501, "3"}, {3500, "4"}};
    for (const auto& [bytes, text] : cases)
        EXPECT_EQ(exportSizeText(bytes), text) << bytes;
}

TEST(ExportTable, LengthIsMinutesAndTwoDigitSeconds)
{
    EXPECT_EQ(exportLengthText(245), "4:05");
    EXPECT_EQ(exportLengthText(60), "1:00");
    EXPECT_EQ(exportLengthText(0), "0:00");
    EXPECT_EQ(exportLengthText(3671), "61:11");
}

TEST(ExportTable, FileFieldsComeFromTheFileItself)
{
    TempDir dir;
    TMpegFile file;
    file.FileName = dir.write("sub/song.mp3", QByteArray(2501, 'x'));
    file.Bitrate = 192;
    file.Duration = 245;
    const QStringList row = exportRow(file, true, {"File Name", "path", "KBPS", "Size (kb)", "Length", "Rating"});
    EXPECT_EQ(row, QStringList({"song.mp3", dir.filePath("sub") + "/", "192", "3", "4:05", ""}));
}

TEST(ExportTable, TheSizeOfAVanishedFileEndsTheExport)
{
    TMpegFile file;
    file.FileName = "/nonexistent/song.mp3";
    EXPECT_THROW(exportRow(file, true, {"Size (kb)"}), TextFileError);
    EXPECT_EQ(exportRow(file, true, {"Title"}), QStringList({""}));
}

TEST(ExportTable, ID3v1TextsAreTrimmedAndTheCommentHas29Characters)
{
    TMpegFile file;
    setID3v1(file, {.Title = " Song ", .Artist = "Band\t", .Album = "Disc", .Year = "1999"}, 7, 17);
    setId3v1Text(file.ID3v1.Comment, 29, QString(29, 'c'));
    EXPECT_EQ(exportRow(file, true, tagFields),
              QStringList({"Song", "Band", "Disc", "1999", "7", "Rock", QString(29, 'c')}));
}

TEST(ExportTable, ID3v1TrackOutsideOneTo99AndGenreNoneAreEmpty)
{
    for (const quint8 track : {0, 100, 255}) {
        TMpegFile file;
        setID3v1(file, {}, track, NoGenre);
        EXPECT_EQ(exportRow(file, true, {"Track", "Genre"}), QStringList({"", ""})) << int(track);
    }
    TMpegFile file;
    setID3v1(file, {}, 99, 147);
    EXPECT_EQ(exportRow(file, true, {"Track", "Genre"}), QStringList({"99", ID3Genres[147]}));
}

TEST(ExportTable, AFileWithoutID3v1ExportsEmptyTagCellsOnTheID3v1Page)
{
    TMpegFile file;
    setID3v2(file, {.Title = "Song"});
    EXPECT_EQ(exportRow(file, true, tagFields), QStringList(tagFields.size(), QString()));
}

TEST(ExportTable, ID3v2TextsAreExportedAsStored)
{
    TMpegFile file;
    setID3v2(file, {" Song ", "Band", "Disc", "1999", "A comment ", "3/12", "(17)"});
    setID3v1(file, {.Title = "Other"}, 1, 1);
    EXPECT_EQ(exportRow(file, false, tagFields),
              QStringList({" Song ", "Band", "Disc", "1999", "3/12", "(17)", "A comment "}));
}

TEST(ExportTable, FieldNamesAreTheTwelveInTheirOrder)
{
    EXPECT_EQ(ExportFieldNames, QStringList({"File Name", "Path", "Title", "Artist", "Album", "Year", "Track", "Genre",
                                             "Comment", "KBps", "Size (kb)", "Length"}));
}
