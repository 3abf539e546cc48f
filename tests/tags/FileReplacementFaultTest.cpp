#include "AudioFixtures.h"
#include "ExtendedAttributes.h"
#include "FakeDisk.h"
#include "PeerReader.h"
#include "ScriptedUserInterface.h"
#include "TempDir.h"
#include "UnitID3Tag.h"
#include "UnitUtilities.h"

#include <QDir>
#include <QFileInfo>
#include <cstdio>
#include <functional>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <grp.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>

using fixtures::ID3v2TagBuilder;

// Whatever fails while a file is replaced, the original stays as it was, the temporary copy is
// gone and the user is told.

namespace {

QByteArray original()
{
    return ID3v2TagBuilder(3).textFrame("TIT2", QStringLiteral("Old")).commentFrame("eng", {}, QStringLiteral("Kept")).build()
        + fixtures::mpegFrames({}, 600);
}

struct Fault {
    const char* name;
    std::function<void(FakeDisk&, const QString& path)> arrange;
    const char* writerMessage;
    const char* removalMessage;
    QByteArray theirs = {};   // what another program added to the file meanwhile
};

// Another program appends to the file, or moves another copy with the bytes appended onto its
// name, while the copy is made.
void changeDuringTheCopy(FakeDisk& disk, const QString& path, bool moveOnto)
{
    disk.beforeFirstRead = [path, moveOnto] {
        const QString changed = moveOnto ? path + ".theirs" : path;
        QFile file(changed);
        if (moveOnto)
            QFile::copy(path, changed);
        if (file.open(QIODevice::Append))
            file.write("theirs");
        if (moveOnto)
            std::rename(QFile::encodeName(changed).constData(), QFile::encodeName(path).constData());
    };
}

const char* const CannotCreate = "Error when saving tag v2. Cannot create 'song.mp3.temp'.";
const char* const CannotSave = "Error when saving tag v2 of 'song.mp3'.";
const char* const CannotRemove = "Cannot remove tag v2 of 'song.mp3'.";
const char* const ChangedSave = "'song.mp3' changed since it was read; refresh it and save again.";
const char* const ChangedRemove = "'song.mp3' changed since it was read; refresh it and remove the tag again.";

const Fault faults[] = {
    {"a temporary file that cannot be created",
     [](FakeDisk& disk, const QString& path) { disk.unopenable = {path + ".temp"}; }, CannotCreate, CannotRemove},
    {"a disk that fills up", [](FakeDisk& disk, const QString&) { disk.writableBytes = 210000; }, CannotSave,
     CannotRemove},
    {"a source that cannot be read to its end", [](FakeDisk& disk, const QString&) { disk.readableBytes = 200000; },
     CannotSave, CannotRemove},
    {"a flush that fails", [](FakeDisk& disk, const QString&) { disk.flushFails = true; }, CannotSave, CannotRemove},
    {"a rename that fails", [](FakeDisk& disk, const QString&) { disk.renameFails = true; }, CannotSave,
     CannotRemove},
    {"another program's write", [](FakeDisk& disk, const QString& path) { changeDuringTheCopy(disk, path, false); },
     ChangedSave, ChangedRemove, "theirs"},
    {"another file moved onto its name",
     [](FakeDisk& disk, const QString& path) { changeDuringTheCopy(disk, path, true); }, ChangedSave, ChangedRemove,
     "theirs"},
};

// A save in place, a save that grows the tag and a removal, with the message each shows when the
// file cannot be opened.
struct Operation {
    const char* name;
    QByteArray bytes;
    QByteArray audio;   // the bytes after the tag
    std::function<bool(const QString& path)> run;
    const char* message;
};

std::vector<Operation> operations()
{
    const QByteArray roomy = ID3v2TagBuilder(3)
                                 .textFrame("TIT2", QStringLiteral("Old"))
                                 .commentFrame("eng", {}, QStringLiteral("Kept"))
                                 .padding(100)
                                 .build()
        + fixtures::mpegFrames({}, 10);
    return {
        {"write in place", roomy, fixtures::mpegFrames({}, 10),
         [](const QString& path) {
             TID3v2 tag;
             ReadID3v2(path, tag);
             return WriteID3v2(tag, path);
         },
         "Cannot save tag v2 of 'song.mp3'."},
        {"rewrite", original(), fixtures::mpegFrames({}, 600),
         [](const QString& path) {
             TID3v2 tag;
             ReadID3v2(path, tag);
             tag.Title = QStringLiteral("A title longer than the tag");
             return WriteID3v2(tag, path);
         },
         "Error when saving tag v2. Cannot open 'song.mp3'."},
        {"removal", original(), fixtures::mpegFrames({}, 600), [](const QString& path) { return RemoveID3v2(path); },
         CannotRemove},
    };
}

class FileReplacementFaultTest : public ::testing::Test {
protected:
    void SetUp() override { setDelayScale(0); }
    void TearDown() override { setDelayScale(1); }

    QString file() { return dir.write(QStringLiteral("song.mp3"), original()); }

    // The file as it was, or as another program left it.
    void expectUnchanged(const QString& path, const char* message, const QByteArray& theirs = {})
    {
        EXPECT_EQ(sha256(readAll(path)), sha256(original() + theirs));
        EXPECT_EQ(ui.texts(), QStringList({message}));
        EXPECT_EQ(ui.messages.value(0).icon, ui::Icon::Error);
        EXPECT_FALSE(QFileInfo(path + ".temp").isFile());
    }

    // The operation works: the audio stays behind the tag, and a save keeps every other frame.
    void expectDone(const Operation& c, const QString& path)
    {
        const QStringList frames = withoutFrames(framesByPeer(path), {"TIT2"});
        ui.messages.clear();
        EXPECT_TRUE(c.run(path));
        EXPECT_TRUE(readAll(path).endsWith(c.audio));
        if (QByteArray(c.name) != "removal") {
            EXPECT_EQ(withoutFrames(framesByPeer(path), {"TIT2"}), frames);
        }
        EXPECT_TRUE(ui.messages.isEmpty());
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
        expectUnchanged(path, fault.writerMessage, fault.theirs);
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
        expectUnchanged(path, fault.removalMessage, fault.theirs);
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

TEST_F(FileReplacementFaultTest, FileOfTheTemporaryNameIsNeitherReplacedNorWrittenThroughAndTheCopyTakesAnother)
{
    TempDir elsewhere;
    const QString other = elsewhere.write(QStringLiteral("other.mp3"), "keep me");
    for (const Operation& c : operations()) {
        if (QByteArray(c.name) == "write in place")
            continue;
        for (const bool link : {false, true}) {
            SCOPED_TRACE(std::string(c.name) + (link ? ", a link" : ", the user's file"));
            const QString path = dir.write(QStringLiteral("song.mp3"), c.bytes);
            const QString temporary = path + ".temp";
            if (link)
                ASSERT_TRUE(QFile::link(other, temporary));
            else
                dir.write(QStringLiteral("song.mp3.temp"), "mine");
            expectDone(c, path);
            EXPECT_EQ(QFileInfo(temporary).isSymLink(), link);
            EXPECT_EQ(readAll(temporary), link ? "keep me" : "mine");
            EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::System),
                      QStringList({"song.mp3", "song.mp3.temp"}));
            QFile::remove(temporary);
        }
    }
}

TEST_F(FileReplacementFaultTest, FileAnotherCorvaneIsWritingIsLeftToIt)
{
    TID3v1 block;
    ClearID3v1(block);
    std::vector<Operation> writes = operations();
    writes.push_back({"ID3v1 save", original(), {}, [&block](const QString& path) { return WriteID3v1(block, path); },
                      ""});
    writes.push_back({"ID3v1 removal", original(), {}, RemoveID3v1, ""});
    const QString refusals[] = {"Cannot save tag v2", "Cannot save tag v2", "Cannot remove tag v2",
                                "Cannot save tag v1", "Cannot remove tag v1"};
    for (size_t i = 0; i < writes.size(); ++i) {
        SCOPED_TRACE(writes[i].name);
        const QString path = dir.write(QStringLiteral("song.mp3"), writes[i].bytes);
        // The other's lock is on an open file of its own, as it is in another process.
        const int other = ::open(QFile::encodeName(path).constData(), O_RDONLY);
        ASSERT_EQ(::flock(other, LOCK_EX), 0);
        ui.messages.clear();

        EXPECT_FALSE(writes[i].run(path));
        EXPECT_EQ(ui.texts(), QStringList({refusals[i] + " of 'song.mp3': another program is writing it."}));
        EXPECT_EQ(sha256(readAll(path)), sha256(writes[i].bytes));
        EXPECT_FALSE(QFileInfo::exists(path + ".temp"));
        ::close(other);
    }
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

TEST_F(FileReplacementFaultTest, AnotherProgramsWriteJustBeforeTheFileIsOpenedIsNeverWrittenOver)
{
    for (const Operation& c : operations()) {
        SCOPED_TRACE(c.name);
        const QString path = dir.write(QStringLiteral("song.mp3"), c.bytes);
        QByteArray theirs = c.bytes;
        theirs.replace(theirs.indexOf("Old"), 3, "Odd");
        ui.messages.clear();
        FakeDisk disk;
        disk.beforeFirstOpen = [&path, &theirs] {
            QFile file(path);
            if (file.open(QIODevice::ReadWrite) && file.seek(theirs.indexOf("Odd")))
                file.write("Odd");
        };

        EXPECT_FALSE(c.run(path));
        EXPECT_EQ(readAll(path), theirs);
        EXPECT_EQ(ui.texts(), QStringList({QByteArray(c.name) == "removal" ? ChangedRemove : ChangedSave}));
    }
}

TEST_F(FileReplacementFaultTest, FileOfTheLongestNameTakesACopyOfAShorterName)
{
    // 255 bytes, the last letters of two bytes each: a name cut short keeps whole letters.
    const QString name = QString(245, u'n') + QString::fromUtf8("\u00e9\u00e9\u00e9") + QStringLiteral(".mp3");
    for (const Operation& c : operations()) {
        SCOPED_TRACE(c.name);
        const QString path = dir.write(name, c.bytes);
        expectDone(c, path);
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList({name}));
        QFile::remove(path);
    }
}

namespace {

constexpr uid_t Nobody = 65534;
constexpr gid_t NoGroup = 65534;

struct ChildOutcome {
    bool done = false;
    QStringList messages;
};

// Runs `run` in a child process once `prepare` succeeded there; the child's own messages come back.
ChildOutcome runInChild(const std::function<bool()>& prepare, const std::function<bool()>& run)
{
    int channel[2];
    if (::pipe(channel) != 0)
        throw std::runtime_error("no pipe");
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(channel[0]);
        ScriptedUserInterface childUi;
        const bool done = prepare() && run();
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

// As a user who owns neither the file nor its folder would. The tests run as root, who may write
// anything.
ChildOutcome runAsNobody(const std::function<bool()>& run)
{
    return runInChild([] { return ::setgroups(0, nullptr) == 0 && ::setgid(NoGroup) == 0 && ::setuid(Nobody) == 0; },
                      run);
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

TEST_F(FileReplacementFaultTest, WritePastTheFileSizeLimitFailsAndIsUndone)
{
    TID3v1 block;
    ClearID3v1(block);
    const std::pair<std::function<bool(const QString&)>, const char*> writes[] = {
        {[&block](const QString& path) { return WriteID3v1(block, path); }, "Cannot save tag v1 of 'song.mp3'."},
        {operations()[1].run, CannotSave},
    };
    for (const auto& [write, message] : writes) {
        SCOPED_TRACE(message);
        const QString path = file();
        // Room for part of an ID3v1 block, or of a copy with a grown tag.
        const rlim_t limit = rlim_t(original().size()) + 50;
        const ChildOutcome outcome = runInChild(
            [limit] {
                letWritesFailAtFileSizeLimit();
                const rlimit fileSize{limit, limit};
                return ::setrlimit(RLIMIT_FSIZE, &fileSize) == 0;
            },
            [&write, &path] { return write(path); });

        EXPECT_FALSE(outcome.done);
        EXPECT_EQ(outcome.messages, QStringList({message}));
        EXPECT_EQ(sha256(readAll(path)), sha256(original()));
        EXPECT_FALSE(QFileInfo::exists(path + ".temp"));
    }
}

namespace {

bool setAttribute(const QString& path, const char* name, const QByteArray& value)
{
    return ::setxattr(QFile::encodeName(path).constData(), name, value.constData(), size_t(value.size()), 0) == 0;
}

ExtendedAttributes attributesOf(const QString& path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY);
    const ExtendedAttributes attributes = extendedAttributesOf(fd).value_or(ExtendedAttributes{{"unreadable", ""}});
    ::close(fd);
    return attributes;
}

}  // namespace

TEST_F(FileReplacementFaultTest, ExtendedAttributesAndACLsAreCarriedOrTheFileIsNotReplaced)
{
    // ACLs as the kernel stores them, a version and entries of kind, permissions and id. The file's:
    // owner rw-, "nobody" rw-, group rw-, the mask r-- narrowing those two, others ---. The
    // folder's default, which a copy made there takes: owner rwx, user 1 rwx, group r-x, mask rwx,
    // others r-x.
    const QByteArray access = QByteArray::fromHex("0200000001000600ffffffff02000600feff000004000600ffffffff"
                                                  "10000400ffffffff20000000ffffffff");
    const QByteArray folderDefault = QByteArray::fromHex("0200000001000700ffffffff020007000100000004000500ffffffff"
                                                         "10000700ffffffff20000500ffffffff");
    if (!setAttribute(dir.write(QStringLiteral("probe"), {}), "user.probe", "1")
        || !setAttribute(dir.path(), "system.posix_acl_default", folderDefault))
        GTEST_SKIP() << "the file system of " << dir.path().toStdString() << " keeps no user attributes or ACLs";
    const ExtendedAttributes rated{
        {"user.rating", "5"}, {"user.xdg.comment", "Live take"}, {"system.posix_acl_access", access}};
    for (const Operation& c : operations()) {
        for (const ExtendedAttributes& attributes : {rated, ExtendedAttributes{}}) {
            SCOPED_TRACE(std::string(c.name) + (attributes.empty() ? ", none" : ", rated"));
            const QString path = dir.write(QStringLiteral("song.mp3"), c.bytes);
            ::removexattr(QFile::encodeName(path).constData(), "system.posix_acl_access");
            for (const auto& [name, value] : attributes)
                ASSERT_TRUE(setAttribute(path, name.constData(), value));
            const mode_t mode = statusOf(path).st_mode;
            const QStringList frames = withoutFrames(framesByPeer(path), {"TIT2"});

            EXPECT_TRUE(c.run(path));
            EXPECT_TRUE(readAll(path).endsWith(c.audio));
            if (QByteArray(c.name) != "removal") {
                EXPECT_EQ(withoutFrames(framesByPeer(path), {"TIT2"}), frames);
            }
            EXPECT_EQ(attributesOf(path), attributes);
            EXPECT_EQ(statusOf(path).st_mode, mode);

            // Where one cannot be carried, the copy does not take the file's place.
            if (QByteArray(c.name) != "write in place" && !attributes.empty()) {
                dir.write(QStringLiteral("song.mp3"), c.bytes);
                FakeDisk disk;
                disk.attributesFail = true;
                ui.messages.clear();
                EXPECT_FALSE(c.run(path));
                expectUnchanged(path, QByteArray(c.name) == "removal" ? CannotRemove : CannotSave);
                EXPECT_EQ(attributesOf(path), attributes);
            }
            QFile::remove(path);
        }
    }
}
