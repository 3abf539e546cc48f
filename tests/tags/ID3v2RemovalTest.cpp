#include "AudioFixtures.h"
#include "FakeDisk.h"
#include "ScriptedUserInterface.h"
#include "TempDir.h"
#include "UnitID3Tag.h"
#include "UnitUtilities.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

#include <sys/stat.h>

using fixtures::ID3v2TagBuilder;

namespace {

QByteArray audio(qsizetype size = 4000)
{
    QByteArray bytes(size, '\0');
    for (qsizetype i = 0; i < size; ++i)
        bytes[i] = char((i * 7 + i / 251) & 0xFF);
    return bytes;
}

QByteArray someTag()
{
    return ID3v2TagBuilder(3).textFrame("TIT2", QStringLiteral("Title")).padding(500).build();
}

class ID3v2RemovalTest : public ::testing::Test {
protected:
    void SetUp() override { setDelayScale(0); }
    void TearDown() override { setDelayScale(1); }

    QString file(const QByteArray& bytes) { return dir.write(QStringLiteral("song.mp3"), bytes); }
    QStringList entries() const { return QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden); }

    TempDir dir;
    ScriptedUserInterface ui;
};

}  // namespace

TEST_F(ID3v2RemovalTest, FileWithoutTagIsNotTouched)
{
    const QString path = file(audio());
    FakeDisk disk;
    EXPECT_FALSE(RemoveID3v2(path));
    EXPECT_EQ(readAll(path), audio());
    EXPECT_TRUE(ui.messages.isEmpty());
    EXPECT_TRUE(disk.writes.isEmpty());
    EXPECT_EQ(entries(), QStringList({"song.mp3"}));
}

TEST_F(ID3v2RemovalTest, TagPaddingAndFooterGoAndTheAudioStays)
{
    const QByteArray tags[] = {
        someTag(),
        ID3v2TagBuilder(4).textFrame("TIT2", QStringLiteral("Title")).padding(20).footer().build(),
        ID3v2TagBuilder(2).frame("TT2", "\0Title").build(),
    };
    for (const QByteArray& tag : tags) {
        SCOPED_TRACE(tag.left(4).toHex().toStdString());
        const QString path = file(tag + audio());
        EXPECT_TRUE(RemoveID3v2(path));
        EXPECT_EQ(readAll(path), audio());
        EXPECT_EQ(entries(), QStringList({"song.mp3"}));
        EXPECT_TRUE(ui.messages.isEmpty());
    }
}

TEST_F(ID3v2RemovalTest, AudioIsCopiedInPiecesOf200000Bytes)
{
    const QString path = file(someTag() + audio(450000));
    FakeDisk disk;
    ASSERT_TRUE(RemoveID3v2(path));
    EXPECT_EQ(disk.writes, QList<qint64>({200000, 200000, 50000}));
    EXPECT_EQ(readAll(path), audio(450000));
}

TEST_F(ID3v2RemovalTest, FreeSpaceOfTheFilesLengthIsEnough)
{
    const QByteArray original = someTag() + audio();
    for (const qint64 missing : {1, 0}) {
        SCOPED_TRACE(missing);
        const QString path = file(original);
        FakeDisk disk;
        disk.free = original.size() - missing;
        ui.messages.clear();

        const QString workingFolder = QDir::currentPath();
        EXPECT_EQ(RemoveID3v2(path), missing == 0);
        EXPECT_EQ(disk.folders, QList<QString>({dir.path()}));
        EXPECT_EQ(QDir::currentPath(), workingFolder);
        EXPECT_EQ(entries(), QStringList({"song.mp3"}));
        if (missing) {
            EXPECT_EQ(ui.texts(), QStringList({"Not enough free space on disk for temporary file."}));
            EXPECT_EQ(ui.messages.value(0).icon, ui::Icon::Error);
            EXPECT_EQ(readAll(path), original);
        } else {
            EXPECT_TRUE(ui.messages.isEmpty());
            EXPECT_EQ(readAll(path), audio());
        }
    }
}

TEST_F(ID3v2RemovalTest, KeepsThePermissions)
{
    const QString path = file(someTag() + audio());
    ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), 0604), 0);
    ASSERT_TRUE(RemoveID3v2(path));
    struct stat status {};
    ASSERT_EQ(::stat(QFile::encodeName(path).constData(), &status), 0);
    EXPECT_EQ(status.st_mode & 07777, 0604u);
}

TEST_F(ID3v2RemovalTest, TagWhoseSizeRunsPastTheEndOfTheFileIsNotRemoved)
{
    const QByteArray original = ID3v2TagBuilder(3).textFrame("TIT2", "Title").claimedSize(0x100000).build() + audio();
    const QString path = file(original);

    EXPECT_FALSE(RemoveID3v2(path));

    EXPECT_EQ(sha256(readAll(path)), sha256(original));
    EXPECT_EQ(ui.texts(), QStringList({"Cannot remove tag v2 of 'song.mp3': its tag claims more bytes than the file holds."}));
}

TEST_F(ID3v2RemovalTest, FileChangedSinceItWasReadKeepsItsTagEvenWithItsDateRestored)
{
    const QByteArray tagged = someTag() + audio();
    const QByteArray theirs = ID3v2TagBuilder(3).textFrame("TIT2", QStringLiteral("Other")).padding(500).build() + audio();
    const QString path = file(tagged);
    TFileDate date = -1;
    ASSERT_TRUE(GetFileDate(path, date));
    TID3v2 tag;
    ReadID3v2(path, tag);
    file(theirs);
    ASSERT_TRUE(SetFileDate(path, date));

    EXPECT_FALSE(RemoveID3v2(path, *tag.ReadState));

    EXPECT_EQ(sha256(readAll(path)), sha256(theirs));
    EXPECT_EQ(ui.texts(), QStringList({"'song.mp3' changed since it was read; refresh it and remove the tag again."}));
    ReadID3v2(path, tag);
    EXPECT_TRUE(RemoveID3v2(path, *tag.ReadState));
    EXPECT_EQ(readAll(path), audio());
}
