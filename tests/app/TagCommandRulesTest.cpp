#include "TagCommandRules.h"

#include <QList>
#include <cstring>
#include <gtest/gtest.h>

namespace {

QByteArray bytesOf(const TID3v1& block)
{
    return QByteArray(reinterpret_cast<const char*>(&block), sizeof block);
}

}  // namespace

TEST(TagCommandRules, DigitsOnlyAcceptsAsciiDigitsAndTheEmptyText)
{
    EXPECT_TRUE(isDigitsOnly(""));
    EXPECT_TRUE(isDigitsOnly("0123456789"));
    EXPECT_FALSE(isDigitsOnly("2004-05-06"));
    EXPECT_FALSE(isDigitsOnly("1a"));
    EXPECT_FALSE(isDigitsOnly(QString::fromUtf8("\u0663")));   // an Arabic-Indic three
}

TEST(TagCommandRules, PlacedTextIsCutOrEndedByOneZeroAndTouchesNothingElse)
{
    QByteArray field(12, 'x');
    placeId3v1Text(field.data() + 1, 10, "abc");
    EXPECT_EQ(field, QByteArray("xabc") + '\0' + "xxxxxxx");
    placeId3v1Text(field.data() + 1, 10, "0123456789ABC");
    EXPECT_EQ(field, "x0123456789x");
    placeId3v1Text(field.data() + 1, 10, QString::fromUtf8("Пé"));
    EXPECT_EQ(field, QByteArray("x?\xe9") + '\0' + "3456789x");
}

TEST(TagCommandRules, TrackByteOfDigitsIsTheValueModulo256)
{
    const QList<QPair<QString, int>> cases = {{"", 0}, {"0", 0}, {"7", 7}, {"255", 255}, {"256", 0}, {"300", 44},
                                              {"1000000000007", 7},
                                              {"7a", 0}};
    for (const auto& [digits, value] : cases)
        EXPECT_EQ(id3v1TrackByte(digits), value) << digits.toStdString();
}

TEST(TagCommandRules, FieldsArePlacedTrimmedAtTheirBytes)
{
    TID3v1 block = emptyId3v1Block();
    Id3v1PageFields fields;
    fields.title = "  Title \t";
    fields.artist = QString(30, 'A');
    fields.album = "Album";
    fields.year = "2004";
    fields.comment = "Comment";
    fields.track = "7";
    fields.genre = 17;
    placeId3v1Fields(block, fields, Id3v1FieldChoice{});
    const QByteArray bytes = bytesOf(block);
    EXPECT_EQ(bytes.left(3), "TAG");
    EXPECT_EQ(bytes.mid(3, 30), QByteArray("Title").leftJustified(30, '\0'));
    EXPECT_EQ(bytes.mid(33, 30), QByteArray(30, 'A'));
    EXPECT_EQ(bytes.mid(63, 30), QByteArray("Album").leftJustified(30, '\0'));
    EXPECT_EQ(bytes.mid(93, 4), "2004");
    EXPECT_EQ(bytes.mid(97, 29), QByteArray("Comment").leftJustified(29, '\0'));
    EXPECT_EQ(bytes.at(126), 7);
    EXPECT_EQ(quint8(bytes.at(127)), 17);
}

TEST(TagCommandRules, ALongCommentGivesByte125BackToANonZeroTrack)
{
    Id3v1PageFields fields;
    fields.comment = QString(29, 'c');
    fields.track = "7";
    TID3v1 block = emptyId3v1Block();
    placeId3v1Fields(block, fields, Id3v1FieldChoice{});
    EXPECT_EQ(bytesOf(block).mid(97, 30), QByteArray(28, 'c') + '\0' + '\x07');

    fields.track.clear();
    block = emptyId3v1Block();
    placeId3v1Fields(block, fields, Id3v1FieldChoice{});
    EXPECT_EQ(bytesOf(block).mid(97, 30), QByteArray(29, 'c') + '\0');
}

TEST(TagCommandRules, ALongCommentAloneKeepsTheBlocksOwnTrackReadable)
{
    TID3v1 block = emptyId3v1Block();
    block.setTrack(5);
    Id3v1PageFields fields;
    fields.comment = QString(29, 'c');
    fields.track = "9";   // not chosen
    Id3v1FieldChoice choice{false, false, false, false, true, false, false};
    placeId3v1Fields(block, fields, choice);
    EXPECT_EQ(bytesOf(block).mid(97, 30), QByteArray(28, 'c') + '\0' + '\x05');
}

TEST(TagCommandRules, UnchosenFieldsKeepTheirBytes)
{
    TID3v1 own;
    std::memset(&own, 'o', sizeof own);
    own.Genre = 3;
    TID3v1 block = own;
    Id3v1PageFields fields;
    fields.genre = 17;
    Id3v1FieldChoice choice{false, false, false, false, false, false, true};
    placeId3v1Fields(block, fields, choice);
    QByteArray expected = bytesOf(own);
    expected[127] = 17;
    EXPECT_EQ(bytesOf(block), expected);
}

TEST(TagCommandRules, Id3v2TrackFromId3v1)
{
    EXPECT_EQ(id3v2TrackFromId3v1(7, true), "07");
    EXPECT_EQ(id3v2TrackFromId3v1(12, true), "12");
    EXPECT_EQ(id3v2TrackFromId3v1(0, true), "");
    EXPECT_EQ(id3v2TrackFromId3v1(7, false), "7");
    EXPECT_EQ(id3v2TrackFromId3v1(0, false), "");
}

TEST(TagCommandRules, Id3v1TrackFromId3v2)
{
    const QList<QPair<QString, int>> cases = {{"3/12", 3}, {"12", 12}, {"A1", 0}, {"", 0},   {"123", 12},
                                              {"300/400", 44}, {"/5", 0}, {"1a/3", 0}};
    for (const auto& [track, value] : cases)
        EXPECT_EQ(id3v1TrackFromId3v2(track), value) << track.toStdString();
    EXPECT_EQ(id3v1TrackText("123/200"), "123");
    EXPECT_EQ(id3v1TrackText("123"), "12");
}

TEST(TagCommandRules, Id3v1GenreFromId3v2DecodesNumberReferences)
{
    EXPECT_EQ(id3v1GenreFromId3v2("(17)"), 17);
    EXPECT_EQ(id3v1GenreFromId3v2("17"), 17);
    EXPECT_EQ(id3v1GenreFromId3v2("rOCK"), 17);
    EXPECT_EQ(id3v1GenreFromId3v2("Not a genre"), 255);
    EXPECT_EQ(id3v1GenreFromId3v2(""), 255);
}

TEST(TagCommandRules, Id3v1FromId3v2)
{
    TID3v2 tag;
    tag.Title = QString(35, 't');
    tag.Artist = "Artist";
    tag.Year = "2004-05-06";
    tag.Comment = QString(40, 'c');
    tag.Track = "3/12";
    tag.Genre = "(17)";
    const QByteArray bytes = bytesOf(id3v1FromId3v2(tag));
    EXPECT_EQ(bytes.left(3), "TAG");
    EXPECT_EQ(bytes.mid(3, 30), QByteArray(30, 't'));
    EXPECT_EQ(bytes.mid(33, 30), QByteArray("Artist").leftJustified(30, '\0'));
    EXPECT_EQ(bytes.mid(63, 30), QByteArray(30, '\0'));
    EXPECT_EQ(bytes.mid(93, 4), "2004");
    EXPECT_EQ(bytes.mid(97, 30), QByteArray(28, 'c') + '\0' + '\x03');
    EXPECT_EQ(bytes.at(127), 17);
}

TEST(TagCommandRules, AutoNumberTrack)
{
    EXPECT_EQ(autoNumberTrack(1, 3, true, true), "01/03");
    EXPECT_EQ(autoNumberTrack(9, 12, true, true), "09/12");
    EXPECT_EQ(autoNumberTrack(10, 12, true, true), "10/12");
    EXPECT_EQ(autoNumberTrack(2, 3, false, true), "2/3");
    EXPECT_EQ(autoNumberTrack(2, 3, true, false), "02");
    EXPECT_EQ(autoNumberTrack(2, 3, false, false), "2");
}

TEST(TagCommandRules, NumberedBlockKeepsTextsAndGenreAndTakesTheTrack)
{
    TID3v1 own = emptyId3v1Block();
    placeId3v1Text(own.Title, 30, "Title");
    own.Title[10] = 'x';   // past the first zero: not copied
    placeId3v1Text(own.Comment, 30, QString(29, 'c'));
    own.Genre = 9;
    const QByteArray bytes = bytesOf(numberedId3v1(own, true, 300));
    EXPECT_EQ(bytes.mid(3, 30), QByteArray("Title").leftJustified(30, '\0'));
    EXPECT_EQ(bytes.mid(97, 30), QByteArray(28, 'c') + '\0' + char(44));
    EXPECT_EQ(bytes.at(127), 9);

    EXPECT_EQ(bytesOf(numberedId3v1(own, false, 2)), bytesOf(emptyId3v1Block()).left(126) + '\x02' + '\xff');
}
