#include "AudioFixtures.h"
#include "FakeDisk.h"
#include "ScriptedUserInterface.h"
#include "TempDir.h"
#include "UnitID3Tag.h"
#include "UnitUtilities.h"

#include <QFileInfo>
#include <cstring>
#include <functional>
#include <numeric>
#include <gtest/gtest.h>

using fixtures::ID3v2TagBuilder;

// Faults at every step of replacing a file: a disk that fills at any byte of the copy, a source
// that stops reading at any byte, calls that are interrupted. A fault never changes the file and
// is always reported; an interruption is no fault.

namespace {

// A disk as it really fills: a write takes what still fits and the next one fails.
class FillingDisk : public FakeDisk {
public:
    explicit FillingDisk(qint64 room) : room(room) {}

    qint64 write(int fd, const char* data, qint64 size) override
    {
        if (room == 0) {
            errno = ENOSPC;
            return -1;
        }
        const qint64 written = FakeDisk::write(fd, data, std::min(size, room));
        room -= std::max<qint64>(written, 0);
        return written;
    }

private:
    qint64 room;
};

// Every other read and write is interrupted by a signal before it moves a byte.
class InterruptedDisk : public FakeDisk {
public:
    qint64 read(int fd, char* data, qint64 size) override
    {
        return interrupted() ? -1 : FakeDisk::read(fd, data, size);
    }

    qint64 write(int fd, const char* data, qint64 size) override
    {
        return interrupted() ? -1 : FakeDisk::write(fd, data, size);
    }

    int interruptions = 0;

private:
    bool interrupted()
    {
        calls = !calls;
        if (!calls)
            return false;
        ++interruptions;
        errno = EINTR;
        return true;
    }

    bool calls = false;
};

// 450000 bytes of audio: nine pieces of the writer's copy, two and a half of the removal's.
const QByteArray audio = fixtures::mpegFrames({}, 1080).left(450000);

QByteArray original()
{
    return ID3v2TagBuilder(3).textFrame("TIT2", QStringLiteral("Old")).build() + audio;
}

bool saveLongTitle(const QString& path)
{
    TID3v2 tag;
    ReadID3v2(path, tag);
    tag.Title = QString(200, u'N');
    return WriteID3v2(tag, path);
}

struct Operation {
    const char* name;
    std::function<bool(const QString& path)> run;
    const char* failure;
    qint64 pieceSize;
};

const Operation operations[] = {
    {"save", saveLongTitle, "Error when saving tag v2 of 'song.mp3'.", 50000},
    {"removal", [](const QString& path) { return RemoveID3v2(path); }, "Cannot remove tag v2 of 'song.mp3'.", 200000},
};

class InjectedFaultTest : public ::testing::Test {
protected:
    void SetUp() override { setDelayScale(0); }
    void TearDown() override { setDelayScale(1); }

    QString file() { return dir.write(QStringLiteral("song.mp3"), original()); }

    // The bytes an operation writes into the temporary file before its audio, found by running it.
    qint64 bytesBeforeAudio(const Operation& operation)
    {
        FakeDisk disk;
        EXPECT_TRUE(operation.run(file()));
        const qint64 all = std::accumulate(disk.writes.begin(), disk.writes.end(), qint64(0));
        return all - audio.size();
    }

    void expectUnchanged(const QString& path, const char* message)
    {
        EXPECT_EQ(sha256(readAll(path)), sha256(original()));
        EXPECT_EQ(ui.texts(), QStringList({message}));
        EXPECT_EQ(ui.messages.value(0).icon, ui::Icon::Error);
        EXPECT_FALSE(QFileInfo::exists(path + ".temp"));
        ui.messages.clear();
    }

    TempDir dir;
    ScriptedUserInterface ui;
};

}  // namespace

TEST_F(InjectedFaultTest, DiskFillingAtAnyByteOfTheCopyLeavesTheFile)
{
    for (const Operation& operation : operations) {
        const qint64 head = bytesBeforeAudio(operation);
        const qint64 piece = operation.pieceSize;
        const qint64 whole = head + audio.size();
        for (const qint64 room : {qint64(0), qint64(1), qint64(10), head - 1, head, head + 1, head + piece - 1,
                                  head + piece, head + piece + 1, whole - 1}) {
            if (room < 0)
                continue;
            SCOPED_TRACE(testing::Message() << operation.name << ", room for " << room << " of " << whole << " bytes");
            const QString path = file();
            FillingDisk disk(room);

            EXPECT_FALSE(operation.run(path));
            expectUnchanged(path, operation.failure);
        }
    }
}

TEST_F(InjectedFaultTest, SourceUnreadableAtAnyPieceLeavesTheFile)
{
    for (const Operation& operation : operations) {
        const qint64 piece = operation.pieceSize;
        for (const qint64 readable : {qint64(0), piece - 1, piece, 2 * piece, audio.size() - 1}) {
            SCOPED_TRACE(testing::Message() << operation.name << ", " << readable << " bytes readable");
            const QString path = file();
            FakeDisk disk;
            disk.readableBytes = readable;

            EXPECT_FALSE(operation.run(path));
            expectUnchanged(path, operation.failure);
        }
    }
}

TEST_F(InjectedFaultTest, InterruptedReadsAndWritesAreRetried)
{
    const QString path = file();
    InterruptedDisk disk;

    ASSERT_TRUE(saveLongTitle(path));
    TID3v2 tag;
    ReadID3v2(path, tag);
    EXPECT_EQ(tag.Title, QString(200, u'N'));
    EXPECT_EQ(readAll(path).right(audio.size()), audio);
    ASSERT_TRUE(RemoveID3v2(path));
    EXPECT_EQ(readAll(path), audio);
    EXPECT_GT(disk.interruptions, 10);
    EXPECT_TRUE(ui.messages.isEmpty());
}

TEST_F(InjectedFaultTest, FailingFlushOfAWriteInPlaceIsReportedWithAWarning)
{
    const QByteArray roomy = ID3v2TagBuilder(3).textFrame("TIT2", QStringLiteral("Old")).padding(100).build() + audio;
    const QString path = dir.write(QStringLiteral("song.mp3"), roomy);
    TID3v2 tag;
    ReadID3v2(path, tag);
    tag.Title = QStringLiteral("New");
    FakeDisk disk;
    disk.flushFails = true;

    EXPECT_FALSE(WriteID3v2(tag, path));
    EXPECT_EQ(ui.texts(), QStringList({"Error when saving tag v2. Cannot write file."}));
    EXPECT_EQ(ui.messages.value(0).icon, ui::Icon::Warning);
    EXPECT_EQ(readAll(path).right(audio.size()), audio);
}

TEST_F(InjectedFaultTest, Id3v1BlockOnADiskThatFillsIsWrittenWholeOrNotAtAll)
{
    TID3v1 block;
    ClearID3v1(block);
    std::memcpy(block.Identifier, "TAG", 3);
    setId3v1Text(block.Title, 30, QStringLiteral("v1title"));
    for (const qint64 room : {qint64(0), qint64(60), qint64(127)}) {
        SCOPED_TRACE(testing::Message() << "room for " << room);
        const QString path = dir.write(QStringLiteral("song.mp3"), audio);
        ui.messages.clear();
        FillingDisk disk(room);

        EXPECT_FALSE(WriteID3v1(block, path));

        EXPECT_EQ(sha256(readAll(path)), sha256(audio));
        EXPECT_EQ(ui.texts(), QStringList({"Cannot save tag v1 of 'song.mp3'."}));
        EXPECT_EQ(ui.messages.value(0).icon, ui::Icon::Error);
    }
}
