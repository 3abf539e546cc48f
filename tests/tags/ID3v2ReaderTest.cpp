#include "AudioFixtures.h"
#include "ScriptedUserInterface.h"
#include "TempDir.h"
#include "UnitID3Tag.h"

#include <gtest/gtest.h>

using fixtures::ID3v2TagBuilder;

namespace {

const QByteArray audio = fixtures::mpegFrames({}, 3);

TID3v2 readTag(const QByteArray& fileBytes)
{
    TempDir dir;
    TID3v2 tag;
    ReadID3v2(dir.write("song.mp3", fileBytes), tag);
    return tag;
}

QString frameID(const TID3v2Frame& frame)
{
    return QString::fromLatin1(frame.FrameID.data(), 4);
}

}  // namespace

TEST(ID3v2Reader, FileWithoutTagHasNoTagAndNoFrames)
{
    const TID3v2 tag = readTag(audio);
    EXPECT_FALSE(tag.Present);
    EXPECT_EQ(tag.TagSize, 0);
    EXPECT_TRUE(tag.Frames->empty());
}

TEST(ID3v2Reader, Version22TagGivesItsHeaderOnly)
{
    const QByteArray tag22 = ID3v2TagBuilder(2).textFrame("TT2", "Title").padding(20).build();
    const TID3v2 tag = readTag(tag22 + audio);
    EXPECT_TRUE(tag.Present);
    EXPECT_EQ(tag.Version, 2);
    EXPECT_EQ(tag.TagSize, tag22.size() - 10);
    EXPECT_TRUE(tag.Frames->empty());
    EXPECT_TRUE(tag.Title.isEmpty());
}

TEST(ID3v2Reader, ReadsHeaderFieldsAndTextFrames)
{
    const ID3v2TagBuilder builder = ID3v2TagBuilder(3)
                                        .textFrame("TIT2", "Title")
                                        .textFrame("TPE1", "Artist")
                                        .textFrame("TALB", "Album")
                                        .textFrame("TYER", "1999")
                                        .textFrame("TCOM", "Composer")
                                        .textFrame("TOPE", "Original")
                                        .textFrame("TENC", "Encoder")
                                        .textFrame("TRCK", "7/12")
                                        .textFrame("TCON", "(17)")
                                        .padding(100);
    const TID3v2 tag = readTag(builder.build() + audio);
    EXPECT_TRUE(tag.Present);
    EXPECT_EQ(QByteArray(tag.Identifier.data(), 3), "ID3");
    EXPECT_EQ(tag.Version, 3);
    EXPECT_EQ(tag.Revision, 0);
    EXPECT_EQ(tag.TagStart, 0);
    EXPECT_EQ(tag.TagSize, builder.size());
    EXPECT_EQ(tag.Title, "Title");
    EXPECT_EQ(tag.Artist, "Artist");
    EXPECT_EQ(tag.Album, "Album");
    EXPECT_EQ(tag.Year, "1999");
    EXPECT_EQ(tag.Composer, "Composer");
    EXPECT_EQ(tag.OrigArtist, "Original");
    EXPECT_EQ(tag.Encoder, "Encoder");
    EXPECT_EQ(tag.Track, "7/12");
    EXPECT_EQ(tag.Genre, "(17)");
    ASSERT_EQ(tag.Frames->size(), 9u);
    EXPECT_EQ(frameID(tag.Frames->front()), "TIT2");
    EXPECT_EQ(frameID(tag.Frames->back()), "TCON");
}

TEST(ID3v2Reader, FrameKeepsItsStoredBytes)
{
    const QByteArray flags("\x40\x01", 2);
    const TID3v2 tag = readTag(ID3v2TagBuilder(4).frame("TIT2", QByteArray("\0Song", 5), flags).build() + audio);
    ASSERT_EQ(tag.Frames->size(), 1u);
    const TID3v2Frame& frame = tag.Frames->front();
    EXPECT_EQ(frame.Size, 5);
    EXPECT_EQ(frame.Capacity, 6);
    EXPECT_EQ(frame.Data, QByteArray("\0Song", 5));
    EXPECT_EQ(frame.Flags[0], 0x40);
    EXPECT_EQ(frame.Flags[1], 0x01);
    EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(frame.SizeBytes.data()), 4), fixtures::syncsafe32(5));
}

TEST(ID3v2Reader, YearComesFromWhicheverYearFrameIsLater)
{
    EXPECT_EQ(readTag(ID3v2TagBuilder(3).textFrame("TYER", "1999").build()).Year, "1999");
    EXPECT_EQ(readTag(ID3v2TagBuilder(4).textFrame("TDRC", "2004").build()).Year, "2004");
    EXPECT_EQ(readTag(ID3v2TagBuilder(4).textFrame("TYER", "1999").textFrame("TDRC", "2004").build()).Year, "2004");
    EXPECT_EQ(readTag(ID3v2TagBuilder(4).textFrame("TDRC", "2004").textFrame("TYER", "1999").build()).Year, "1999");
}

TEST(ID3v2Reader, TextFramesInEachEncodingReadAlike)
{
    const QString text = QString::fromUtf8("Café Ωmega ♫");
    for (const quint8 encoding : {1, 2, 3}) {
        const TID3v2 tag = readTag(ID3v2TagBuilder(4).textFrame("TIT2", text, encoding).build());
        EXPECT_EQ(tag.Title, text) << "encoding " << int(encoding);
        EXPECT_EQ(tag.Frames->front().Encoding, encoding);
    }
    EXPECT_EQ(readTag(ID3v2TagBuilder(3).textFrame("TIT2", "Café", 0).build()).Title, QString::fromUtf8("Café"));
}

TEST(ID3v2Reader, Utf16TextOfLatin1CharactersReadsAsItsLetters)
{
    const TID3v2 tag = readTag(ID3v2TagBuilder(3).frame("TIT2", QByteArray("\x01\xFF\xFE\x41\x00\x42\x00", 7)).build());
    EXPECT_EQ(tag.Title, "AB");
}

TEST(ID3v2Reader, Utf16TextKeepsCharactersWhoseBytesLookLikeAByteOrderMark)
{
    // Little-endian, these characters hold the bytes $FF and $FE.
    const QString text = QString::fromUtf8("ÿþ") + QChar(0x01FF) + QChar(0x20FE);
    EXPECT_EQ(readTag(ID3v2TagBuilder(3).textFrame("TIT2", text, 1).build()).Title, text);
}

TEST(ID3v2Reader, Utf16TextsOfSeveralValuesShowTheFirst)
{
    const QByteArray data = '\x01' + fixtures::encodedText("AB", 1) + fixtures::terminatorFor(1)
        + fixtures::encodedText("CD", 1);
    EXPECT_EQ(readTag(ID3v2TagBuilder(4).frame("TPE1", data).build()).Artist, "AB");
}

TEST(ID3v2Reader, Latin1TextEndsAtItsFirstZero)
{
    EXPECT_EQ(readTag(ID3v2TagBuilder(3).frame("TIT2", QByteArray("\0AB\0CD", 6)).build()).Title, "AB");
}

TEST(ID3v2Reader, Utf16TextWithoutByteOrderMarkReadsItsLetters)
{
    EXPECT_EQ(readTag(ID3v2TagBuilder(3).frame("TIT2", QByteArray("\x01\x41\x00\x42\x00", 5)).build()).Title, "AB");
    EXPECT_EQ(readTag(ID3v2TagBuilder(3).frame("TIT2", QByteArray("\x01\x00\x41\x00\x42", 5)).build()).Title, "AB");
}

TEST(ID3v2Reader, CommentFrameGivesLanguageAndText)
{
    const TID3v2 tag = readTag(ID3v2TagBuilder(3).frame("COMM", QByteArray("\0eng\0note", 9)).build());
    EXPECT_EQ(QByteArray(tag.CommentLanguage.data(), 3), "eng");
    EXPECT_EQ(tag.CommentDescription, "");
    EXPECT_EQ(tag.Comment, "note");
}

TEST(ID3v2Reader, CommentFrameInEachEncoding)
{
    const QString description = QString::fromUtf8("Dèsc ✓");
    const QString text = QString::fromUtf8("Nöte ✓");
    for (const quint8 encoding : {1, 2, 3}) {
        const TID3v2 tag = readTag(ID3v2TagBuilder(4)
                                       .commentFrame("deu", "", text, encoding)
                                       .commentFrame("fra", description, "x", encoding)
                                       .build());
        EXPECT_EQ(QByteArray(tag.CommentLanguage.data(), 3), "deu");
        EXPECT_EQ(tag.Comment, text) << "encoding " << int(encoding);
    }
}

TEST(ID3v2Reader, Utf16CommentWithEmptyDescriptionKeepsItsText)
{
    const TID3v2 tag = readTag(ID3v2TagBuilder(3).commentFrame("eng", "", "note", 1).build());
    EXPECT_EQ(tag.CommentDescription, "");
    EXPECT_EQ(tag.Comment, "note");
}

TEST(ID3v2Reader, SecondCommentFrameReplacesTheFirst)
{
    const TID3v2 tag =
        readTag(ID3v2TagBuilder(3).commentFrame("eng", "", "one").commentFrame("fra", "", "two").build());
    EXPECT_EQ(QByteArray(tag.CommentLanguage.data(), 3), "fra");
    EXPECT_EQ(tag.Comment, "two");
    EXPECT_EQ(tag.Frames->size(), 2u);
}

TEST(ID3v2Reader, UrlFrameWithoutDescriptionGivesTheLink)
{
    for (const quint8 encoding : {0, 1, 2, 3}) {
        const TID3v2 tag = readTag(ID3v2TagBuilder(3)
                                       .urlFrame("", "http://example.org/", encoding)
                                       .urlFrame("Shop", "http://shop.example/", encoding)
                                       .build());
        EXPECT_EQ(tag.UrlDescription, "") << "encoding " << int(encoding);
        EXPECT_EQ(tag.Url, "http://example.org/") << "encoding " << int(encoding);
        EXPECT_EQ(tag.Frames->front().Encoding, encoding);
    }
}

TEST(ID3v2Reader, UrlFrameDoesNotTouchTheCommentLanguage)
{
    const TID3v2 tag = readTag(ID3v2TagBuilder(3).commentFrame("eng", "", "c").urlFrame("d", "u").build());
    EXPECT_EQ(QByteArray(tag.CommentLanguage.data(), 3), "eng");
}

TEST(ID3v2Reader, EmptyFramesGiveEmptyTexts)
{
    const TID3v2 tag = readTag(ID3v2TagBuilder(3).frame("TIT2", {}).frame("COMM", {}).frame("WXXX", {}).build());
    EXPECT_EQ(tag.Frames->size(), 3u);
    EXPECT_TRUE(tag.Title.isEmpty());
    EXPECT_TRUE(tag.Comment.isEmpty());
    EXPECT_TRUE(tag.Url.isEmpty());
    EXPECT_EQ(QByteArray(tag.CommentLanguage.data(), 3), QByteArray(3, '\0'));
}

TEST(ID3v2Reader, ExtendedHeaderOfVersion3IsKeptAndFramesRead)
{
    const QByteArray extended = fixtures::bigEndian32(6) + QByteArray("\x80\x00\x00\x00\x00\x00", 6);
    const TID3v2 tag = readTag(ID3v2TagBuilder(3).extendedHeader(extended).textFrame("TIT2", "Title").build());
    EXPECT_NE(tag.ExtendedHeader, 0);
    EXPECT_EQ(tag.ExtHeaderSize, 10);
    EXPECT_EQ(tag.ExtByte1, 0x80);
    EXPECT_EQ(tag.ExtData, QByteArray(4, '\0'));
    EXPECT_EQ(tag.Title, "Title");
}

TEST(ID3v2Reader, ExtendedHeaderOfVersion4IsKeptAndFramesRead)
{
    const QByteArray extended = fixtures::syncsafe32(6) + QByteArray("\x01\x00", 2);
    const TID3v2 tag = readTag(ID3v2TagBuilder(4).extendedHeader(extended).textFrame("TIT2", "Title").build());
    EXPECT_EQ(tag.ExtHeaderSize, 6);
    EXPECT_EQ(tag.ExtByte1, 0x01);
    EXPECT_TRUE(tag.ExtData.isEmpty());
    EXPECT_EQ(tag.Title, "Title");
}

TEST(ID3v2Reader, ExtendedHeaderOfAnImpossibleSizeIsTakenAsAbsent)
{
    // The flag is set, but the frames start right after the header: their first bytes, read as a
    // size, claim far more than the tag holds.
    for (const int version : {3, 4}) {
        const TID3v2 tag = readTag(
            ID3v2TagBuilder(version).flags(0x40).textFrame("TIT2", "Title").textFrame("TALB", "Album").build() + audio);
        EXPECT_EQ(tag.ExtendedHeader, 0);
        EXPECT_EQ(tag.Flags & 0x40, 0);
        EXPECT_EQ(tag.Title, "Title");
        EXPECT_EQ(tag.Album, "Album");
    }
}

TEST(ID3v2Reader, FlagsAreSplitOut)
{
    const TID3v2 tag = readTag(ID3v2TagBuilder(4).flags(0x80 | 0x20).footer().textFrame("TIT2", "T").build());
    EXPECT_EQ(tag.Flags, 0xB0);
    EXPECT_NE(tag.Unsynchronisation, 0);
    EXPECT_NE(tag.Experimental, 0);
    EXPECT_NE(tag.FooterPresent, 0);
    EXPECT_EQ(tag.ExtendedHeader, 0);
    EXPECT_EQ(tag.Title, "T");
}

TEST(ID3v2Reader, PaddingEndsTheFramesQuietly)
{
    ScriptedUserInterface ui;
    const TID3v2 tag = readTag(ID3v2TagBuilder(3).textFrame("TIT2", "Title").padding(500).build() + audio);
    EXPECT_EQ(tag.Frames->size(), 1u);
    EXPECT_TRUE(ui.messages.isEmpty());
}

TEST(ID3v2Reader, UnknownFrameIsKeptWithItsDataAndFillsNoText)
{
    const QByteArray picture = QByteArray("\0image/jpeg\0\x03\0", 14) + QByteArray("\xFF\xFB\x90\x00", 4).repeated(50);
    TempDir dir;
    TID3v2 tag;
    ReadID3v2(dir.write("song.mp3", ID3v2TagBuilder(3).frame("APIC", picture).textFrame("TIT2", "Title").build()), tag);
    ASSERT_EQ(tag.Frames->size(), 2u);
    EXPECT_EQ(frameID(tag.Frames->front()), "APIC");
    EXPECT_EQ(frameData(tag, tag.Frames->front()), picture);
    EXPECT_EQ(tag.Frames->front().Encoding, 0);
    EXPECT_EQ(tag.Title, "Title");
}

TEST(ID3v2Reader, FrameLargerThanTheTagEndsTheLoopKeepingEarlierFrames)
{
    const QByteArray oversized = "TALB" + fixtures::bigEndian32(5000) + QByteArray(2, '\0') + QByteArray(20, 'x');
    const TID3v2 tag = readTag(ID3v2TagBuilder(3).textFrame("TIT2", "Title").raw(oversized).padding(100).build()
                               + fixtures::mpegFrames({}, 20));
    EXPECT_EQ(tag.Frames->size(), 1u);
    EXPECT_EQ(tag.Title, "Title");
    EXPECT_TRUE(tag.Album.isEmpty());
}

TEST(ID3v2Reader, FrameIdOutsideDigitsAndCapitalsEndsTheLoop)
{
    for (const QByteArray id : {"TIt2", "T T2", "TI\x7F" "2", "/IT2"}) {
        const QByteArray garbage = id + fixtures::bigEndian32(2) + QByteArray(2, '\0') + QByteArray("\0x", 2);
        const TID3v2 tag = readTag(ID3v2TagBuilder(3).textFrame("TALB", "A").raw(garbage).textFrame("TIT2", "T").build());
        EXPECT_EQ(tag.Frames->size(), 1u) << id.constData();
        EXPECT_TRUE(tag.Title.isEmpty());
    }
}

TEST(ID3v2Reader, FrameIdsMayHoldDigitsAndCapitalsOnly)
{
    const TID3v2 tag = readTag(ID3v2TagBuilder(4).frame("XYZ9", "abc").frame("0AZ:", "d").build());
    EXPECT_EQ(tag.Frames->size(), 2u);
}

TEST(ID3v2Reader, UnopenableFileIsReported)
{
    ScriptedUserInterface ui;
    TempDir dir;
    TID3v2 tag;
    tag.Present = true;
    ReadID3v2(dir.filePath("missing.mp3"), tag);
    EXPECT_FALSE(tag.Present);
    EXPECT_TRUE(tag.Frames->empty());
    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_EQ(ui.messages[0].text, "Cannot open 'missing.mp3'.");
    EXPECT_EQ(ui.messages[0].icon, ui::Icon::Error);
    EXPECT_EQ(ui.messages[0].buttons, ui::Buttons::Ok);
}

TEST(ID3v2Reader, EachReadStartsAFreshFrameList)
{
    TempDir dir;
    const QString path = dir.write("song.mp3", ID3v2TagBuilder(3).textFrame("TIT2", "T").build());
    TID3v2 tag;
    ReadID3v2(path, tag);
    const auto first = tag.Frames;
    ReadID3v2(path, tag);
    EXPECT_NE(tag.Frames, first);
    EXPECT_EQ(first->size(), 1u);
    EXPECT_EQ(tag.Frames->size(), 1u);
}

TEST(MatchFrameID, ComparesTheLeadingCharacters)
{
    const TFrameID id{'T', 'I', 'T', '2'};
    EXPECT_TRUE(MatchFrameID(id, "TIT2"));
    EXPECT_TRUE(MatchFrameID(id, "TIT"));
    EXPECT_FALSE(MatchFrameID(id, "TIT3"));
    EXPECT_FALSE(MatchFrameID(id, "TIT2X"));
}

TEST(MakeNewID3v2Header, GivesAnEmptyVersion23Header)
{
    TID3v2 tag;
    tag.Flags = 0x50;
    tag.ExtendedHeader = 0x40;
    tag.FooterPresent = 0x10;
    tag.CommentLanguage = {'e', 'n', 'g'};
    tag.CommentDescription = "desc";
    tag.Title = "kept";
    MakeNewID3v2Header(tag);
    EXPECT_EQ(QByteArray(tag.Identifier.data(), 3), "ID3");
    EXPECT_EQ(tag.MajorVersion, 3);
    EXPECT_EQ(tag.RevisionByte, 0);
    EXPECT_EQ(tag.Flags, 0);
    EXPECT_EQ(tag.ExtendedHeader, 0);
    EXPECT_EQ(tag.FooterPresent, 0);
    EXPECT_TRUE(tag.Present);
    EXPECT_EQ(tag.TagStart, 0);
    EXPECT_EQ(tag.Version, 3);
    EXPECT_EQ(tag.Revision, 0);
    EXPECT_EQ(QByteArray(tag.CommentLanguage.data(), 3), QByteArray(3, '\0'));
    EXPECT_TRUE(tag.CommentDescription.isEmpty());
    EXPECT_EQ(tag.Title, "kept");
}
