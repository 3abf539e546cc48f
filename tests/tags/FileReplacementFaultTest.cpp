#include "AudioFixtures.h"
#include "FakeDisk.h"
#include "ScriptedUserInterface.h"
#include "TempDir.h"
#include "UnitID3Tag.h"
#include "UnitUtilities.h"

#include <QDir>
#include <QFileInfo>
#include <functional>
#include <gtest/gtest.h>

#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using fixtures::ID3v2TagBuilder;

// Whatever fails while a file is replaced, the original stays as it was, the temporary copy is
// gone and the user is told.

namespace {

QByteArray original()
{
    return ID3v2TagBuilder(3).textFrame("TIT2", QStringLiteral("Old")).build() + fixtures::mpegFrames({}, 600);
}

struct Fault {
    const char* name;
    std::function<void(FakeDisk&, const QString& path)> arrange;
    const char* writerMessage;
    const char* removalMessage;
};

const char* const CannotCreate = "Error when saving tag v2. Cannot create 'song.mp3.temp'.";
const char* const CannotSave = "Error when saving tag v2 of 'song.mp3'.";
const char* const CannotRemove = "Cannot remove tag v2 of 'song.mp3'.";

const Fault faults[] = {
    {"a folder where the temporary file goes",
     [](FakeDisk&, const QString& path) { QDir().mkdir(path + ".temp"); }, CannotCreate, CannotRemove},
    {"a disk that fills up", [](FakeDisk& disk, const QString&) { disk.writableBytes = 210000; }, CannotSave,
     CannotRemove},
    {"a source that cannot be read to its end", [](FakeDisk& disk, const QString&) { disk.readableBytes = 200000; },
     CannotSave, CannotRemove},
    {"a flush that fails", [](FakeDisk& disk, const QString&) { disk.flushFails = true; }, CannotSave, CannotRemove},
    {"a rename that fails", [](FakeDisk& disk, const QString&) { disk.renameFails = true; }, CannotSave,
     CannotRemove},
};

// A save in place, a save that grows the tag and a removal, with the message each shows when the
// file cannot be opened.
struct Operation {
    const char* name;
    QByteArray bytes;
    std::function<bool(const QString& path)> run;
    const char* message;
};

std::vector<Operation> operations()
{
    const QByteArray roomy = ID3v2TagBuilder(3).textFrame("TIT2", QStringLiteral("Old")).padding(100).build() + fixtures::mpegFrames({}, 10);
    return {
        {"write in place", roomy,
         [](const QString& path) {
             TID3v2 tag;
             ReadID3v2(path, tag);
             return WriteID3v2(tag, path);
         },
         "Cannot save tag v2 of 'song.mp3'."},
        {"rewrite", original(),
         [](const QString& path) {
             TID3v2 tag;
             ReadID3v2(path, tag);
             tag.Title = QStringLiteral("A title longer than the tag");
             return WriteID3v2(tag, path);
         },
         "Error when saving tag v2. Cannot open 'song.mp3'."},
        {"removal", original(), [](const QString& path) { return RemoveID3v2(path); }, CannotRemove},
    };
}

class FileReplacementFaultTest : public ::testing::Test {
protected:
    void SetUp() override { setDelayScale(0); }
    void TearDown() override { setDelayScale(1); }

    QString file() { return dir.write(QStringLiteral("song.mp3"), original()); }

    void expectUnchanged(const QString& path, const char* message)
    {
        EXPECT_EQ(sha256(readAll(path)), sha256(original()));
        EXPECT_EQ(ui.texts(), QStringList({message}));
        EXPECT_EQ(ui.messages.value(0).icon, ui::Icon::Error);
        EXPECT_FALSE(QFileInfo(path + ".temp").isFile());
    }

    TempDir dir;
    ScriptedUserInterface ui;
};

}  // namespace

TEST_F(FileReplacementFaultTest, FailedRewriteLeavesTheOriginal)
{
    for (const Fault& fault : faults) {
        SCOPED_TRACE(fault.name);
        const QString path = file();
        TID3v2 tag;
        ReadID3v2(path, tag);
        tag.Title = QStringLiteral("A title longer than the tag");
        ui.messages.clear();
        FakeDisk disk;
        fault.arrange(disk, path);

        EXPECT_FALSE(WriteID3v2(tag, path));
        expectUnchanged(path, fault.writerMessage);
        QDir().rmdir(path + ".temp");
    }
}

TEST_F(FileReplacementFaultTest, FailedRemovalLeavesTheOriginal)
{
    for (const Fault& fault : faults) {
        SCOPED_TRACE(fault.name);
        const QString path = file();
        ui.messages.clear();
        FakeDisk disk;
        fault.arrange(disk, path);

        EXPECT_FALSE(RemoveID3v2(path));
        expectUnchanged(path, fault.removalMessage);
        QDir().rmdir(path + ".temp");
    }
}

TEST_F(FileReplacementFaultTest, FailedWriteInPlaceIsReportedWithAWarning)
{
    const QByteArray tag = ID3v2TagBuilder(3).textFrame("TIT2", QStringLiteral("Old")).padding(100).build();
    const QString path = dir.write(QStringLiteral("song.mp3"), tag + fixtures::mpegFrames({}, 10));
    TID3v2 record;
    ReadID3v2(path, record);
    record.Title = QStringLiteral("New");
    FakeDisk disk;
    disk.writableBytes = 0;

    EXPECT_FALSE(WriteID3v2(record, path));
    EXPECT_EQ(readAll(path), tag + fixtures::mpegFrames({}, 10));
    EXPECT_EQ(ui.texts(), QStringList({"Error when saving tag v2. Cannot write file."}));
    EXPECT_EQ(ui.messages.value(0).icon, ui::Icon::Warning);
}

TEST_F(FileReplacementFaultTest, LeftoverTemporaryFileIsReplacedNotWrittenThrough)
{
    const QString path = file();
    TempDir elsewhere;
    const QString victim = elsewhere.write(QStringLiteral("other.mp3"), "keep me");
    ASSERT_TRUE(QFile::link(victim, path + ".temp"));

    ASSERT_TRUE(RemoveID3v2(path));
    EXPECT_EQ(readAll(victim), QByteArray("keep me"));
    EXPECT_EQ(readAll(path), fixtures::mpegFrames({}, 600));
    EXPECT_FALSE(QFileInfo::exists(path + ".temp"));
}

TEST_F(FileReplacementFaultTest, FileThatCannotBeOpenedIsReported)
{
    for (const Operation& c : operations()) {
        SCOPED_TRACE(c.name);
        const QString path = dir.write(QStringLiteral("song.mp3"), c.bytes);
        ui.messages.clear();
        FakeDisk disk;
        disk.unopenable = {path};

        EXPECT_FALSE(c.run(path));
        EXPECT_EQ(readAll(path), c.bytes);
        EXPECT_EQ(ui.texts(), QStringList({c.message}));
        EXPECT_EQ(ui.messages.value(0).icon, ui::Icon::Error);
        EXPECT_FALSE(QFileInfo::exists(path + ".temp"));
    }
}

namespace {

constexpr uid_t Nobody = 65534;
constexpr gid_t NoGroup = 65534;

struct ChildOutcome {
    bool done = false;
    QStringList messages;
};

// Runs `run` in a child process that acts as the user "nobody", as a user who owns neither the
// file nor its folder would. The tests run as root, who may write anything.
ChildOutcome runAsNobody(const std::function<bool()>& run)
{
    int channel[2];
    if (::pipe(channel) != 0)
        throw std::runtime_error("no pipe");
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(channel[0]);
        ScriptedUserInterface childUi;
        bool done = false;
        if (::setgroups(0, nullptr) == 0 && ::setgid(NoGroup) == 0 && ::setuid(Nobody) == 0)
            done = run();
        const QByteArray report = childUi.texts().join(QLatin1Char('\n')).toUtf8();
        [[maybe_unused]] const auto written = ::write(channel[1], report.constData(), size_t(report.size()));
        ::_exit(done ? 1 : 0);
    }
    ::close(channel[1]);
    QByteArray report;
    char buffer[512];
    for (ssize_t got; (got = ::read(channel[0], buffer, sizeof buffer)) > 0;)
        report.append(buffer, got);
    ::close(channel[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    ChildOutcome outcome;
    outcome.done = WIFEXITED(status) && WEXITSTATUS(status) == 1;
    if (!report.isEmpty())
        outcome.messages = QString::fromUtf8(report).split(QLatin1Char('\n'));
    return outcome;
}

struct stat statusOf(const QString& path)
{
    struct stat status {};
    ::stat(QFile::encodeName(path).constData(), &status);
    return status;
}

}  // namespace

TEST_F(FileReplacementFaultTest, FileTheUserMayNotWriteIsNeverReplaced)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "acting as another user needs the tests to run as root";
    ASSERT_EQ(::chmod(QFile::encodeName(dir.path()).constData(), 0777), 0);
    for (const Operation& c : operations()) {
        SCOPED_TRACE(c.name);
        const QString path = dir.write(QStringLiteral("song.mp3"), c.bytes);
        ASSERT_EQ(::chown(QFile::encodeName(path).constData(), Nobody, NoGroup), 0);
        ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), 0444), 0);

        const ChildOutcome outcome = runAsNobody([&c, &path] { return c.run(path); });

        EXPECT_FALSE(outcome.done);
        EXPECT_EQ(outcome.messages, QStringList({c.message}));
        EXPECT_EQ(sha256(readAll(path)), sha256(c.bytes));
        EXPECT_EQ(statusOf(path).st_mode & 07777, 0444u);
        EXPECT_FALSE(QFileInfo::exists(path + ".temp"));
        QFile::remove(path);
    }
}

TEST_F(FileReplacementFaultTest, FileOfAnotherOwnerIsNotReplacedByACopyOfTheUsersOwn)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "acting as another user needs the tests to run as root";
    ASSERT_EQ(::chmod(QFile::encodeName(dir.path()).constData(), 0777), 0);
    // Root's file, which anyone may write: written in place it stays root's; a copy would be nobody's.
    for (const Operation& c : operations()) {
        SCOPED_TRACE(c.name);
        const QString path = dir.write(QStringLiteral("song.mp3"), c.bytes);
        ASSERT_EQ(::chown(QFile::encodeName(path).constData(), 0, 0), 0);
        ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), 0666), 0);
        const bool inPlace = QByteArray(c.name) == "write in place";

        const ChildOutcome outcome = runAsNobody([&c, &path] { return c.run(path); });

        EXPECT_EQ(outcome.done, inPlace);
        const struct stat status = statusOf(path);
        EXPECT_EQ(status.st_uid, 0u);
        EXPECT_EQ(status.st_gid, 0u);
        EXPECT_EQ(status.st_mode & 07777, 0666u);
        EXPECT_FALSE(QFileInfo::exists(path + ".temp"));
        if (!inPlace) {
            EXPECT_EQ(outcome.messages, QStringList({QByteArray(c.name) == "removal" ? CannotRemove : CannotSave}));
            EXPECT_EQ(sha256(readAll(path)), sha256(c.bytes));
        }
        QFile::remove(path);
    }
}
