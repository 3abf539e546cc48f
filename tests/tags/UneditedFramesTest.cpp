#include "AudioFixtures.h"
#include "PeerReader.h"
#include "ScriptedUserInterface.h"
#include "TempDir.h"
#include "UnitID3Tag.h"
#include "UnitUtilities.h"

#include <functional>
#include <gtest/gtest.h>

using fixtures::ID3v2TagBuilder;

// Tags as other programs write them: a save keeps every frame it was not asked to edit, as another
// program's reader sees it, and every byte behind the tag.

namespace {

const QByteArray audio = fixtures::mpegFrames({}, 6);
// Every byte value, $FF before $E0 and more among them.
const QByteArray picture = QByteArray("\0image/png\0\3\0", 13) + QByteArray("\xFF\xE0\x00\xFF\x10\x89PNG", 8).repeated(400);

// The bytes behind the tag, by the header's size and a real footer.
QByteArray behindTag(const QByteArray& file)
{
    const auto* size = reinterpret_cast<const uchar*>(file.constData()) + 6;
    qint64 end = 10 + (qint64(size[0]) << 21 | qint64(size[1]) << 14 | qint64(size[2]) << 7 | size[3]);
    return file.mid(file[3] == 4 && file.mid(end, 3) == "3DI" ? end + 10 : end);
}

TID3v2 readTag(const QString& path)
{
    TID3v2 tag;
    ReadID3v2(path, tag);
    return tag;
}

class UneditedFramesTest : public ::testing::Test {
protected:
    void SetUp() override { setDelayScale(0); }
    void TearDown() override { setDelayScale(1); }

    // Reads the file, edits its tag and saves it; the peer reads every other frame as before.
    void expectSaveKeepsTheRest(const QByteArray& original, const std::function<void(TID3v2&)>& edit,
                                const QStringList& edited, const QByteArray& kept = audio)
    {
        const QString path = dir.write(QStringLiteral("song.mp3"), original);
        const QStringList before = framesByPeer(path);
        TID3v2 tag = readTag(path);
        edit(tag);
        ASSERT_TRUE(WriteID3v2(tag, path));
        EXPECT_EQ(withoutFrames(framesByPeer(path), edited), withoutFrames(before, edited));
        EXPECT_EQ(behindTag(readAll(path)), kept);
        EXPECT_TRUE(ui.messages.isEmpty());
    }

    const std::function<void(TID3v2&)> newTitle = [](TID3v2& tag) { tag.Title = QStringLiteral("New title"); };
    TempDir dir;
    ScriptedUserInterface ui;
};

}  // namespace

TEST_F(UneditedFramesTest, OnlyTheUsersOwnCommentAndUrlAreShownAndSaved)
{
    // Without a comment or URL of the user's own, a typed one gets a frame of its own.
    for (const QString& own : {QStringLiteral("My comment"), QString()}) {
        ID3v2TagBuilder builder = ID3v2TagBuilder(3)
                                      .commentFrame("eng", "iTunNORM", " 00000A2B 00000B3C 000057E1")
                                      .commentFrame("eng", "iTunSMPB", " 00000000 00000210 0000089C")
                                      .urlFrame("shop", "http://shop.example/");
        const QString ownUrl = own.isEmpty() ? QString() : QStringLiteral("http://band.example/");
        if (!own.isEmpty())
            builder.commentFrame("eng", "", own).urlFrame("", ownUrl);
        const QByteArray original = builder.padding(200).build() + audio;
        const TID3v2 shown = readTag(dir.write(QStringLiteral("shown.mp3"), original));
        EXPECT_EQ(shown.Comment, own);
        EXPECT_EQ(shown.Url, ownUrl);
        expectSaveKeepsTheRest(original, newTitle, {"TIT2"});
        expectSaveKeepsTheRest(original, [](TID3v2& tag) { tag.Comment = QStringLiteral("Mine"); },
                               {own.isEmpty() ? "COMM::" + QString(3, QChar(0)) : "COMM::eng"});
        EXPECT_EQ(readTag(dir.filePath(QStringLiteral("song.mp3"))).Comment, "Mine");
        expectSaveKeepsTheRest(original, [](TID3v2& tag) { tag.Url = QStringLiteral("http://new.example/"); }, {"WXXX:"});
        EXPECT_EQ(readTag(dir.filePath(QStringLiteral("song.mp3"))).Url, "http://new.example/");
    }
}

TEST_F(UneditedFramesTest, SeveralValuesAndStoredFormsOfUneditedFieldsStay)
{
    expectSaveKeepsTheRest(ID3v2TagBuilder(4)
                               .frame("TPE1", QByteArray("\3Artist A\0Artist B", 18))
                               .frame("TCON", QByteArray("\0(17)(6)Grunge", 14))
                               .commentFrame("eng", "", QString::fromUtf8("a\r\nb\u00A0c\u2028d"), 1)
                               .padding(100)
                               .build()
                               + audio,
                           newTitle, {"TIT2"});
}

TEST_F(UneditedFramesTest, PlainFrameSizesOfA24TagAreReadAsOtherProgramsReadThem)
{
    for (const int padding : {600, 0}) {
        const QByteArray original = ID3v2TagBuilder(4)
                                        .plainSizes()
                                        .textFrame("TIT2", "Song")
                                        .frame("APIC", picture)
                                        // Read as syncsafe, its size ends inside its text, where
                                        // capitals and digits look like a frame's id.
                                        .textFrame("TPE2", QString("0123456789ABCDEF").repeated(20))
                                        .frame("USLT", "\0eng\0" + QByteArray("Line of the song\r\n").repeated(20))
                                        .textFrame("TDRC", "2001")
                                        .padding(padding)
                                        .build()
            + audio;
        EXPECT_EQ(readTag(dir.write(QStringLiteral("read.mp3"), original)).Frames->size(), 5u);
        expectSaveKeepsTheRest(original, newTitle, {"TIT2"});
    }
}

TEST_F(UneditedFramesTest, UnsynchronisedTagsReadRightAndAreSavedPlain)
{
    for (const int version : {3, 4}) {
        const QByteArray original = ID3v2TagBuilder(version)
                                        .unsynchronised()
                                        .textFrame("TIT2", QString::fromUtf8("Ünsync ÿé"), 1)
                                        .frame("APIC", picture)
                                        .padding(100)
                                        .build()
            + audio;
        EXPECT_EQ(readTag(dir.write(QStringLiteral("read.mp3"), original)).Title, QString::fromUtf8("Ünsync ÿé"));
        expectSaveKeepsTheRest(original, [](TID3v2& tag) { tag.Artist = QStringLiteral("Other"); }, {"TPE1"});
        const QByteArray saved = readAll(dir.filePath(QStringLiteral("song.mp3")));
        EXPECT_EQ(quint8(saved[5]) & 0x80, 0);
        EXPECT_TRUE(saved.contains(picture));
    }
}

TEST_F(UneditedFramesTest, FramesBeyondADamagedFrameAreNeverDropped)
{
    const QByteArray damaged = "T\x01T2" + fixtures::bigEndian32(2) + QByteArray(2, '\0') + QByteArray("\0x", 2);
    const QByteArray original =
        ID3v2TagBuilder(3).textFrame("TIT2", "Song").raw(damaged).frame("APIC", picture).padding(100).build() + audio;
    const QString path = dir.write(QStringLiteral("song.mp3"), original);
    TID3v2 tag = readTag(path);
    newTitle(tag);

    EXPECT_FALSE(WriteID3v2(tag, path));
    EXPECT_EQ(readAll(path), original);
    EXPECT_EQ(ui.texts(), QStringList({"Cannot save tag v2 of 'song.mp3': part of its tag cannot be read and would be lost."}));
    EXPECT_TRUE(RemoveID3v2(path, *readTag(path).ReadState));
    EXPECT_EQ(readAll(path), audio);
}

TEST_F(UneditedFramesTest, FooterFlagWithoutAFooterTakesNoByteOfTheAudio)
{
    for (const int version : {3, 4}) {
        const QByteArray original = ID3v2TagBuilder(version).flags(0x10).textFrame("TIT2", "Song").padding(50).build() + audio;
        for (const QString& title : {QStringLiteral("Short"), QString(300, u'L')}) {
            const QString path = dir.write(QStringLiteral("song.mp3"), original);
            TID3v2 tag = readTag(path);
            tag.Title = title;
            ASSERT_TRUE(WriteID3v2(tag, path));
            EXPECT_EQ(behindTag(readAll(path)), audio);
        }
        const QString path = dir.write(QStringLiteral("song.mp3"), original);
        EXPECT_TRUE(RemoveID3v2(path, *readTag(path).ReadState));
        EXPECT_EQ(readAll(path), audio);
    }
}

TEST_F(UneditedFramesTest, GroupByteAndDataLengthOfA24FrameAreNotPartOfItsText)
{
    const QByteArray original = ID3v2TagBuilder(4)
                                    .frame("TIT2", fixtures::syncsafe32(5) + QByteArray("\0Song", 5), QByteArray("\0\1", 2))
                                    .frame("TALB", QByteArray("\x80\0Album", 7), QByteArray("\0\x40", 2))
                                    .padding(100)
                                    .build()
        + audio;
    const TID3v2 tag = readTag(dir.write(QStringLiteral("read.mp3"), original));
    EXPECT_EQ(tag.Title + tag.Album, "SongAlbum");
    expectSaveKeepsTheRest(original, [](TID3v2& tag) { tag.Artist = QStringLiteral("Band"); }, {"TPE1"});
    // The header and both frames as stored.
    EXPECT_EQ(readAll(dir.filePath(QStringLiteral("song.mp3"))).left(46), original.left(46));
}

TEST_F(UneditedFramesTest, FillerAfterTheFramesIsPaddingAndAudioTheTagCountsIsKept)
{
    const QByteArray firstFrame = fixtures::mpegFrame({});
    // The bytes after the frames that the tag's size counts, and of them the audio.
    for (const auto& [rest, counted] : {std::pair(QByteArray(300, ' '), QByteArray()),
                                        std::pair(QByteArray(40, '\0') + firstFrame, firstFrame)}) {
        const QByteArray original =
            ID3v2TagBuilder(3).textFrame("TIT2", "Song").frame("APIC", picture).raw(rest).build() + audio;
        for (const QString& title : {QStringLiteral("Short"), QString(400, u'L')})
            expectSaveKeepsTheRest(original, [&title](TID3v2& tag) { tag.Title = title; }, {"TIT2"}, counted + audio);
    }
}
