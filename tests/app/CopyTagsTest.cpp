#include "TagCommandsFixture.h"
#include "../tags/FakeDisk.h"

namespace {

using CopyTags = TagCommandsTest;
using fixtures::ID3v2TagBuilder;

QByteArray v2Track(const QString& track, const QString& genre = "")
{
    return ID3v2TagBuilder(3).textFrame("TIT2", "Title 2").textFrame("TRCK", track).textFrame("TCON", genre).build();
}

}  // namespace

TEST_F(CopyTags, QuestionsNameTheSelectedCountAndNoCopiesNothing)
{
    const QStringList paths = open({{v2Track("1"), v1("a")}, {v2Track("2"), v1("b")}});
    const QByteArray before0 = readAll(paths[0]);
    const QByteArray before1 = readAll(paths[1]);
    script.answers = {ui::Answer::No, ui::Answer::No};
    selectRows({0, 1});
    form.miV1V2Click();
    form.miV2V1Click();
    EXPECT_EQ(script.texts(), QStringList({"Copy Tag ID3 V1 to V2 for 2 selected file(s)?",
                                           "Copy tag ID3 V2 to V1 for 2 selected file(s)?"}));
    EXPECT_EQ(readAll(paths[0]), before0);
    EXPECT_EQ(readAll(paths[1]), before1);
}

TEST_F(CopyTags, V1ToV2TrackRule)
{
    const QStringList paths = open({{{}, v1("a", "x", 7)}, {{}, v1("b", "x", 12)}, {{}, v1("c", "x", 0)}});
    selectRows({0, 1, 2});
    form.OptionLeadingZero = true;
    form.miV1V2Click();
    EXPECT_EQ(reread(paths[0]).ID3v2.Track, "07");
    EXPECT_EQ(reread(paths[1]).ID3v2.Track, "12");
    EXPECT_EQ(reread(paths[2]).ID3v2.Track, "");
    form.OptionLeadingZero = false;
    form.miV1V2Click();
    EXPECT_EQ(reread(paths[0]).ID3v2.Track, "7");
    EXPECT_EQ(reread(paths[2]).ID3v2.Track, "");
}

TEST_F(CopyTags, V1ToV2CopiesTextsAndGenreAndKeepsComposerUrlAndEncoder)
{
    const QByteArray tag = ID3v2TagBuilder(3)
                               .textFrame("TIT2", "Old")
                               .textFrame("TCOM", "Composer")
                               .textFrame("TENC", "Encoder")
                               .urlFrame("", "http://example.invalid/")
                               .textFrame("TOPE", "Original")
                               .build();
    const QStringList paths = open({{tag, v1("Title 1", "Artist 1", 3, 17, "Comment 1")}, {{}, v1("b", "x", 0, 255)}});
    selectRows({0, 1});
    form.miV1V2Click();
    const TMpegFile first = reread(paths[0]);
    EXPECT_EQ(first.ID3v2.Title, "Title 1");
    EXPECT_EQ(first.ID3v2.Artist, "Artist 1");
    EXPECT_EQ(first.ID3v2.Album, "album");
    EXPECT_EQ(first.ID3v2.Year, "1999");
    EXPECT_EQ(first.ID3v2.Comment, "Comment 1");
    EXPECT_EQ(first.ID3v2.Genre, "Rock");
    EXPECT_EQ(first.ID3v2.Composer, "Composer");
    EXPECT_EQ(first.ID3v2.Encoder, "Encoder");
    EXPECT_EQ(first.ID3v2.Url, "http://example.invalid/");
    EXPECT_EQ(first.ID3v2.OrigArtist, "Original");
    const TMpegFile second = reread(paths[1]);
    EXPECT_EQ(second.ID3v2.MajorVersion, 3);
    EXPECT_EQ(second.ID3v2.Genre, "");
    EXPECT_EQ(second.ID3v2.Track, "");
}

TEST_F(CopyTags, V1ToV2OfAVersion10BlockGivesNoTrackAndTheCommentOfItsFirst29Bytes)
{
    const QStringList paths = open({{{}, v1("a", "x", 0, 255, QByteArray(29, 'c') + '\x05')}});
    ASSERT_EQ(form.FileList[0]->ID3v1Kind, ID3v1_0);
    form.OptionLeadingZero = true;
    selectRows({0});
    form.miV1V2Click();
    const TMpegFile file = reread(paths[0]);
    EXPECT_EQ(file.ID3v2.Track, "");
    EXPECT_EQ(file.ID3v2.Comment, QString(29, 'c'));
}

TEST_F(CopyTags, V1ToV2ReplacesAVersion22TagWithANewVersion23Tag)
{
    const QByteArray tag22 = ID3v2TagBuilder(2).textFrame("TT2", "Old").build();
    const QStringList paths = open({{tag22, v1("New Title", "x", 4)}});
    form.OptionConvertV22 = false;   // not consulted here
    selectRows({0});
    form.miV1V2Click();
    const TMpegFile file = reread(paths[0]);
    EXPECT_EQ(file.ID3v2.MajorVersion, 3);
    EXPECT_EQ(file.ID3v2.Title, "New Title");
    EXPECT_EQ(form.FileList[0]->ID3v2.Title, "New Title");
}

TEST_F(CopyTags, V1ToV2LeavesAVersion22TagThatCannotBeRemoved)
{
    const QByteArray tag22 = ID3v2TagBuilder(2).textFrame("TT2", "Old").padding(512).build();
    const QStringList paths = open({{tag22, v1("New Title", "x", 4)}});
    const QByteArray before = readAll(paths[0]);
    selectRows({0});
    FakeDisk disk;
    disk.renameFails = true;   // the removal's copy never replaces the file
    form.miV1V2Click();
    EXPECT_EQ(readAll(paths[0]), before);
    EXPECT_EQ(script.texts(), QStringList({"Copy Tag ID3 V1 to V2 for 1 selected file(s)?",
                                           "Cannot remove tag v2 of '001.mp3'."}));
}

TEST_F(CopyTags, V2ToV1TrackAndGenreRules)
{
    const QStringList paths = open({{v2Track("3/12", "(17)"), {}},
                                    {v2Track("12", "17"), {}},
                                    {v2Track("A1", "Not a genre"), {}},
                                    {v2Track("", "rock"), {}}});
    selectRows({0, 1, 2, 3});
    form.miV2V1Click();
    const QList<QPair<int, int>> expected = {{3, 17}, {12, 17}, {0, 255}, {0, 17}};
    for (int i = 0; i < paths.size(); ++i) {
        const QByteArray block = lastBlock(paths[i]);
        EXPECT_EQ(block.left(3), "TAG");
        EXPECT_EQ(quint8(block.at(126)), expected[i].first) << i;
        EXPECT_EQ(quint8(block.at(127)), expected[i].second) << i;
        EXPECT_EQ(block.mid(3, 30), QByteArray("Title 2").leftJustified(30, '\0')) << i;
    }
    EXPECT_EQ(reread(paths[0]).ID3v1Kind, ID3v1_1);
    EXPECT_EQ(reread(paths[2]).ID3v1Kind, ID3v1_0);
}

TEST_F(CopyTags, V2ToV1OfAVersion22TagWritesAnEmptyBlock)
{
    const QByteArray tag22 = ID3v2TagBuilder(2).textFrame("TT2", "Old").build();
    const QStringList paths = open({{tag22, v1("old", "x", 5, 3)}});
    selectRows({0});
    form.miV2V1Click();
    EXPECT_EQ(lastBlock(paths[0]), QByteArray("TAG") + QByteArray(124, '\0') + '\xff');
}

TEST_F(CopyTags, AFileWithoutTheSourceVersionIsNotWrittenButReloaded)
{
    const QStringList paths = open({{{}, v1("a")}, {{}, {}}});
    const QByteArray before0 = readAll(paths[0]);
    const QByteArray before1 = readAll(paths[1]);
    selectRows({0, 1});
    form.miV2V1Click();
    EXPECT_EQ(readAll(paths[0]), before0);
    form.miV1V2Click();
    EXPECT_EQ(readAll(paths[1]), before1);
    EXPECT_TRUE(form.FileList[0]->HasID3v2);
}

TEST_F(CopyTags, KeepTimestampPutsTheDateBack)
{
    const QStringList paths = open({{v2Track("5"), {}}});
    const TFileDate old = 1'200'000'000'000'000'001LL;
    SetFileDate(paths[0], old);
    form.OptionKeepTimestamp = true;
    selectRows({0});
    form.miV2V1Click();
    TFileDate date = -1;
    ASSERT_TRUE(GetFileDate(paths[0], date));
    EXPECT_EQ(date, old);
    EXPECT_EQ(lastBlock(paths[0]).at(126), 5);
}

TEST_F(CopyTags, TheProgressWindowNamesTheFileBeingSaved)
{
    open({{{}, v1("a")}});
    selectRows({0});
    recordMessageAtFirstWait();
    form.miV1V2Click();
    EXPECT_EQ(progressMessage, "Saving tag of: 001.mp3");
}
