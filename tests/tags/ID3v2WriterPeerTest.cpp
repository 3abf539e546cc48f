#include "AudioFixtures.h"
#include "PeerReader.h"
#include "ScriptedUserInterface.h"
#include "TempDir.h"
#include "UnitID3Tag.h"
#include "UnitUtilities.h"

#include <QFileInfo>
#include <gtest/gtest.h>

using fixtures::ID3v2TagBuilder;

// What the writer writes, the reader reads back, and so does another program's tag reader
// (Python's mutagen), for texts within ISO-8859-1 and beyond it.

namespace {

const char* const PeerScript = R"(
import sys
from mutagen.id3 import ID3
tag = ID3(sys.argv[1], translate=False)
print("version=%d.%d" % tag.version[:2])
for key in ("TIT2", "TPE1", "TYER", "TDRC"):
    for frame in tag.getall(key):
        print("%s=%s" % (key, "/".join(str(text) for text in frame.text)))
for frame in tag.getall("COMM"):
    print("COMM=%s|%s|%s" % (frame.lang, frame.desc, "/".join(frame.text)))
for frame in tag.getall("WXXX"):
    print("WXXX=%s|%s" % (frame.desc, frame.url))
)";

QStringList readByPeer(const QString& path)
{
    return runPeerScript(PeerScript, {path});
}

struct PeerCase {
    QString title;
    QString artist;
    QString comment;
};

const PeerCase peerCases[] = {
    {QStringLiteral("Plain title"), QStringLiteral("Band"), QStringLiteral("A comment")},
    {QStringLiteral("Café crème"), QStringLiteral("Björk"), QStringLiteral("Ça va")},
    {QStringLiteral("Кино и музыка"), QStringLiteral("Цой"), QStringLiteral("Группа крови")},
    {QStringLiteral("東京の夜"), QStringLiteral("坂本"), QStringLiteral("ピアノ")},
};

class ID3v2WriterPeerTest : public ::testing::Test {
protected:
    void SetUp() override { setDelayScale(0); }
    void TearDown() override { setDelayScale(1); }

    TempDir dir;
    ScriptedUserInterface ui;
};

}  // namespace

TEST_F(ID3v2WriterPeerTest, WrittenTagsReadBackHereAndInAnotherProgram)
{
    const QByteArray audio = fixtures::mpegFrames({}, 20);
    for (const int version : {3, 4}) {
        for (const int padding : {2000, 0}) {
            for (const PeerCase& c : peerCases) {
                SCOPED_TRACE(QStringLiteral("2.%1, padding %2, %3").arg(version).arg(padding).arg(c.title).toStdString());
                const QByteArray original = ID3v2TagBuilder(version).textFrame("TIT2", QStringLiteral("x")).padding(padding).build() + audio;
                const QString path = dir.write(QStringLiteral("song.mp3"), original);
                TID3v2 tag;
                ReadID3v2(path, tag);
                tag.Title = c.title;
                tag.Artist = c.artist;
                tag.Year = QStringLiteral("2004");
                tag.Comment = c.comment;
                tag.CommentLanguage = {'e', 'n', 'g'};
                tag.Url = QStringLiteral("http://example.org/");

                ASSERT_TRUE(WriteID3v2(tag, path));
                EXPECT_EQ(QFileInfo(path).size() == original.size(), padding != 0);

                TID3v2 back;
                ReadID3v2(path, back);
                EXPECT_EQ(back.Title, c.title);
                EXPECT_EQ(back.Artist, c.artist);
                EXPECT_EQ(back.Year, QStringLiteral("2004"));
                EXPECT_EQ(back.Comment, c.comment);
                EXPECT_EQ(back.Url, QStringLiteral("http://example.org/"));

                const QString yearFrame = version == 3 ? QStringLiteral("TYER") : QStringLiteral("TDRC");
                EXPECT_EQ(readByPeer(path), QStringList({
                                                "version=2." + QString::number(version),
                                                "TIT2=" + c.title,
                                                "TPE1=" + c.artist,
                                                yearFrame + "=2004",
                                                "COMM=eng||" + c.comment,
                                                "WXXX=|http://example.org/",
                                            }));
            }
        }
    }
    EXPECT_TRUE(ui.messages.isEmpty());
}

TEST_F(ID3v2WriterPeerTest, NewTagOnAnUntaggedFileReadsInAnotherProgram)
{
    const QString path = dir.write(QStringLiteral("song.mp3"), fixtures::mpegFrames({}, 20));
    TID3v2 tag;
    MakeNewID3v2Header(tag);
    tag.Title = QStringLiteral("Звезда по имени Солнце");
    tag.Artist = QStringLiteral("Кино");

    ASSERT_TRUE(WriteID3v2(tag, path));
    EXPECT_EQ(readByPeer(path), QStringList({"version=2.3", "TIT2=Звезда по имени Солнце", "TPE1=Кино"}));
}
