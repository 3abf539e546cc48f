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
    // A frame's id damaged; a frame's size damaged behind a picture whose size, read as a plain
    // number, ends in the padding.
    const QByteArray damagedID = "T\x01T2" + fixtures::bigEndian32(2) + QByteArray(2, '\0') + QByteArray("\0x", 2);
    const QByteArray damagedSize = "TPE1" + fixtures::syncsafe32(0xFFFFF) + QByteArray("\0\0\0Band", 7);
    for (const QByteArray& original :
         {ID3v2TagBuilder(3).textFrame("TIT2", "Song").raw(damagedID).frame("APIC", picture).padding(100).build() + audio,
          ID3v2TagBuilder(4).textFrame("TIT2", "Song").frame("APIC", QByteArray(300, 'p')).raw(damagedSize).padding(900).build()
              + audio}) {
        const QString path = dir.write(QStringLiteral("song.mp3"), original);
        TID3v2 tag = readTag(path);
        newTitle(tag);
        ui.messages.clear();

        EXPECT_FALSE(WriteID3v2(tag, path));
        EXPECT_EQ(readAll(path), original);
        EXPECT_EQ(ui.texts(), QStringList({"Cannot save tag v2 of 'song.mp3': part of its tag cannot be read and would be lost."}));
        EXPECT_TRUE(RemoveID3v2(path, *readTag(path).ReadState));
        EXPECT_EQ(readAll(path), audio);
    }
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

TEST_F(UneditedFramesTest, StoredFormsOfAFrameAreNotPartOfItsText)
{
    // Compressed data starts with its size decompressed: 2.3 stores it as qCompress does, 2.4 in
    // the length before the data. A frame that does not decompress shows nothing.
    const QByteArray compressed = qCompress(QByteArray("\0Compressed title", 17));
    const QByteArray notCompressed = "not zlib data";
    const std::pair<QByteArray, QString> cases[] = {
        {ID3v2TagBuilder(4)
             .frame("TIT2", fixtures::syncsafe32(17) + compressed.mid(4), QByteArray("\0\x09", 2))
             .frame("TALB", QByteArray("\x80\0Album", 7), QByteArray("\0\x40", 2))
             .frame("TPE1", fixtures::syncsafe32(5) + QByteArray("\0Band", 5), QByteArray("\0\1", 2))
             .frame("TCOM", fixtures::syncsafe32(9) + notCompressed, QByteArray("\0\x09", 2))
             .padding(100)
             .build(),
         "Compressed title|Album|Band|"},
        {ID3v2TagBuilder(3)
             .frame("TIT2", compressed, QByteArray("\0\x80", 2))
             .frame("TCOM", fixtures::bigEndian32(9) + notCompressed, QByteArray("\0\x80", 2))
             .padding(100)
             .build(),
         "Compressed title|||"},
    };
    for (const auto& [original, texts] : cases) {
        const TID3v2 tag = readTag(dir.write(QStringLiteral("read.mp3"), original + audio));
        EXPECT_EQ(tag.Title + "|" + tag.Album + "|" + tag.Artist + "|" + tag.Composer, texts);
        expectSaveKeepsTheRest(original + audio, [](TID3v2& tag) { tag.Year = QStringLiteral("2001"); }, {"TYER", "TDRC"});
        // The header and every frame as stored.
        const qsizetype framesEnd = original.size() - 100;
        EXPECT_EQ(readAll(dir.filePath(QStringLiteral("song.mp3"))).left(framesEnd), original.left(framesEnd));
    }
}

TEST_F(UneditedFramesTest, FillerAfterTheFramesIsPaddingAndAudioTheTagCountsIsKept)
{
    const QByteArray firstFrame = fixtures::mpegFrame({});
    QByteArray pictureWithHeader(1000, 'p');
    pictureWithHeader.replace(616, 4, QByteArray::fromHex("fffb9000"));
    QByteArray leftover(300, '\x81');
    leftover.replace(100, 4, QByteArray::fromHex("fffb9064"));
    QByteArray frameLike = audio;
    frameLike.replace(200, 8, QByteArray("ABCD\0\0\0\5", 8));
    struct Row {
        QByteArray tag;
        QByteArray counted;   // the audio the tag's size counts, at its end
        QByteArray behind;
    };
    const ID3v2TagBuilder withPicture = ID3v2TagBuilder(3).textFrame("TIT2", "Song").frame("APIC", picture);
    const Row rows[] = {
        {ID3v2TagBuilder(withPicture).raw(QByteArray(300, ' ')).build(), {}, audio},
        {ID3v2TagBuilder(withPicture).raw(QByteArray(40, '\0') + firstFrame).build(), firstFrame, audio},
        // Filler behind a picture whose size, read as a plain number, ends in the padding.
        {ID3v2TagBuilder(4)
             .textFrame("TIT2", "Song")
             .frame("APIC", QByteArray(300, 'p'))
             .textFrame("TPE1", "Band")
             .textFrame("TALB", "Album")
             .raw(QByteArray(100, ' ') + QByteArray(900, '\0'))
             .build(),
         {}, audio},
        // A frame header where the syncsafe reading of a plain size ends.
        {ID3v2TagBuilder(4).plainSizes().textFrame("TIT2", "Song").frame("APIC", pictureWithHeader).build(), {}, audio},
        // One header in leftovers, which no frame follows.
        {ID3v2TagBuilder(3).textFrame("TIT2", "Song").raw(leftover).build(), {}, audio},
        // Counted audio holding what looks like a frame; a size that runs into the audio.
        {ID3v2TagBuilder(withPicture).raw(frameLike.left(600)).build(), frameLike.left(600), frameLike.mid(600)},
        {ID3v2TagBuilder(3).textFrame("TIT2", "Song").raw(audio.left(694)).build(), audio.left(694), audio.mid(694)},
    };
    for (const Row& row : rows) {
        const QByteArray original = row.tag + row.behind;
        for (const QString& title : {QStringLiteral("Short"), QString(400, u'L')})
            expectSaveKeepsTheRest(original, [&title](TID3v2& tag) { tag.Title = title; }, {"TIT2"}, row.counted + row.behind);
        const QString path = dir.write(QStringLiteral("song.mp3"), original);
        EXPECT_TRUE(RemoveID3v2(path, *readTag(path).ReadState));
        EXPECT_EQ(readAll(path), row.counted + row.behind);
    }
}
