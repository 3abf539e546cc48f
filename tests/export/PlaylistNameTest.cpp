#include "PlaylistName.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

namespace {

const QString defaultFormat = QStringLiteral("#ARTIST# - #ALBUM#");

TMpegFile fileWithID3v2(const TagFields& fields)
{
    TMpegFile file;
    setID3v2(file, fields);
    return file;
}

}  // namespace

TEST(MakePlaylistName, InvalidCharactersOfTheTagsAreReplaced)
{
    const TMpegFile file = fileWithID3v2({.Artist = "AC/DC", .Album = "Live: 1992"});
    EXPECT_EQ(MakePlaylistName(defaultFormat, &file, "-"), "AC-DC - Live- 1992");
}

TEST(MakePlaylistName, AFileWithoutTagsLeavesOnlyTheSeparator)
{
    const TMpegFile file;
    EXPECT_EQ(MakePlaylistName(defaultFormat, &file, "-"), " - ");
}

TEST(MakePlaylistName, NoSelectedFileGivesAnEmptyName)
{
    EXPECT_EQ(MakePlaylistName(defaultFormat, nullptr, "-"), "");
}

TEST(MakePlaylistName, ANumericGenreReferenceStaysAsStored)
{
    const TMpegFile file = fileWithID3v2({.Genre = "(17)"});
    EXPECT_EQ(MakePlaylistName("#GENRE#", &file, "-"), "(17)");
}

TEST(MakePlaylistName, EmptyID3v2FieldsAreFilledFromID3v1)
{
    TMpegFile file = fileWithID3v2({.Artist = "Band", .Year = "2001"});
    setID3v1(file, {.Artist = "Other", .Album = "From One", .Year = "1999"}, 3, 17);
    EXPECT_EQ(MakePlaylistName("#ARTIST#|#ALBUM#|#YEAR#|#GENRE#", &file, "_"), "Band_From One_2001_Rock");
}

TEST(MakePlaylistName, ID3v1GenreNoneLeavesTheGenreEmpty)
{
    TMpegFile file;
    setID3v1(file, {.Artist = "Band"}, 0, NoGenre);
    EXPECT_EQ(MakePlaylistName("#ARTIST#[#GENRE#]", &file, "-"), "Band[]");
}

TEST(MakePlaylistName, AnID3v1BlockWithoutItsIdentifierIsIgnored)
{
    TMpegFile file;
    setID3v1(file, {.Artist = "Band"}, 0, 1);
    file.ID3v1.Identifier[0] = 'X';
    EXPECT_EQ(MakePlaylistName("#ARTIST#.#GENRE#", &file, "-"), ".");
}

TEST(MakePlaylistName, TagTextsAreTrimmedOfBlanksAndControlCharacters)
{
    TMpegFile file = fileWithID3v2({.Artist = QString(" \t\x01") + "Band  ", .Album = ""});
    setID3v1(file, {.Album = "  Disc "}, 0, NoGenre);
    EXPECT_EQ(MakePlaylistName(defaultFormat, &file, "-"), "Band - Disc");
}

TEST(MakePlaylistName, OtherPlaceholdersAndOtherCasesStayLiteral)
{
    const TMpegFile file = fileWithID3v2({.Title = "Song", .Artist = "Band"});
    EXPECT_EQ(MakePlaylistName("#TITLE# #artist# #TRACK# #ARTIST#", &file, "-"), "#TITLE# #artist# #TRACK# Band");
}

TEST(MakePlaylistName, EveryOccurrenceOfAPlaceholderIsReplaced)
{
    const TMpegFile file = fileWithID3v2({.Artist = "Band", .Album = "Disc"});
    EXPECT_EQ(MakePlaylistName("#ARTIST#-#ALBUM#-#ARTIST#", &file, "+"), "Band-Disc-Band");
}

TEST(MakePlaylistName, ALaterPassReplacesPlaceholdersThatAnEarlierPassInserted)
{
    const TMpegFile file = fileWithID3v2({.Artist = "Band #YEAR#", .Year = "1999"});
    EXPECT_EQ(MakePlaylistName("#ARTIST#", &file, "-"), "Band 1999");
}

TEST(MakePlaylistName, APlaceholderThatTheReplacementFormsAgainIsReplacedToo)
{
    const TMpegFile file;
    EXPECT_EQ(MakePlaylistName("#ART#ARTIST#IST#", &file, "-"), "");
}

TEST(MakePlaylistName, AFieldThatRebuildsItsPlaceholderWithoutEndStillGivesAName)
{
    const TMpegFile file = fileWithID3v2({.Artist = "ARTIST##ARTIST"});
    EXPECT_FALSE(MakePlaylistName("##ARTIST#", &file, "-").isEmpty());
}

TEST(MakePlaylistName, AFieldHoldingItsOwnPlaceholderIsInsertedOnce)
{
    const TMpegFile file = fileWithID3v2({.Artist = "x#ARTIST#y"});
    EXPECT_EQ(MakePlaylistName("#ARTIST# and #ARTIST#", &file, "-"), "x#ARTIST#y and x#ARTIST#y");
}

TEST(MakePlaylistName, TheReplacementIsUsedWholeWhateverItsLength)
{
    const TMpegFile file = fileWithID3v2({.Artist = "a\\b/c:d*e?f\"g<h>i|j"});
    EXPECT_EQ(MakePlaylistName("#ARTIST#", &file, "__"), "a__b__c__d__e__f__g__h__i__j");
    EXPECT_EQ(MakePlaylistName("#ARTIST#", &file, ""), "abcdefghij");
}

TEST(MakePlaylistName, CharactersOutsideTheInvalidSetAreKept)
{
    const TMpegFile file = fileWithID3v2({.Artist = QString::fromUtf8("Bj\xc3\xb6rk\x7f#")});
    EXPECT_EQ(MakePlaylistName("#ARTIST#", &file, "-"), QString::fromUtf8("Bj\xc3\xb6rk\x7f#"));
}
