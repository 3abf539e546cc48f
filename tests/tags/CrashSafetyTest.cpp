#include "AudioFixtures.h"
#include "FakeDisk.h"
#include "ScriptedUserInterface.h"
#include "TempDir.h"
#include "UnitID3Tag.h"

#include <QElapsedTimer>
#include <QFile>
#include <QThread>
#include <cstdio>
#include <cstring>
#include <gtest/gtest.h>
#include <random>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

// A save that grows the tag of a large file writes a temporary copy and renames it over the file.
// Killed at any moment, the program leaves the file exactly as it was before the save or exactly
// as the save makes it, never anything between.

namespace {

constexpr qint64 AudioBytes = 50 * 1000 * 1000;
constexpr int KillsWanted = 50;

// Audio that differs at every offset, so a piece copied to the wrong place changes the hash.
QByteArray noise(qint64 size)
{
    std::mt19937_64 random(2026);
    QByteArray bytes(size, Qt::Uninitialized);
    for (qint64 i = 0; i + 8 <= size; i += 8) {
        const quint64 value = random();
        std::memcpy(bytes.data() + i, &value, 8);
    }
    return bytes;
}

// A child process that saves a title too long for the file's tag, then ends.
pid_t startSave(const QString& path)
{
    const pid_t child = ::fork();
    if (child == 0) {
        TID3v2 tag;
        ReadID3v2(path, tag);
        tag.Title = QString(300, u'N');
        ::_exit(WriteID3v2(tag, path) ? 0 : 1);
    }
    return child;
}

struct Outcome {
    bool killed = false;
    int exitCode = -1;
};

Outcome waitFor(pid_t child)
{
    int status = 0;
    ::waitpid(child, &status, 0);
    return {WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL, WIFEXITED(status) ? WEXITSTATUS(status) : -1};
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

}  // namespace

TEST(CrashSafety, SaveKilledAtAnyMomentLeavesTheOldOrTheNewFile)
{
    ScriptedUserInterface ui;
    TempDir dir;
    const QString path = dir.filePath("large.mp3");
    const QByteArray old = fixtures::ID3v2TagBuilder(3).textFrame("TIT2", QStringLiteral("Old")).build()
        + noise(AudioBytes);
    const QByteArray oldHash = sha256(old);

    // One save to its end gives the new file and how long a save takes.
    writeFile(path, old);
    QElapsedTimer clock;
    clock.start();
    ASSERT_EQ(waitFor(startSave(path)).exitCode, 0);
    const qint64 saveNanoseconds = clock.nsecsElapsed();
    const QByteArray newHash = sha256(readAll(path));
    ASSERT_NE(newHash, oldHash);

    // A busy machine makes saves slower or faster than the one measured: a save that ends before
    // its kill shows how soon saves end now, and later kills aim within that.
    qint64 latestMoment = saveNanoseconds;
    std::mt19937 random(8);
    int tried = 0;
    int killed = 0;
    int survived = 0;
    int keptOld = 0;
    writeFile(path, old);
    while (killed < KillsWanted && tried < 5 * KillsWanted) {
        ++tried;
        const pid_t child = startSave(path);
        const qint64 moment = std::uniform_int_distribution<qint64>(0, latestMoment)(random);
        QThread::usleep(static_cast<unsigned long>(moment / 1000));
        ::kill(child, SIGKILL);
        const Outcome outcome = waitFor(child);
        if (!outcome.killed)
            latestMoment = moment;
        const QByteArray hash = sha256(readAll(path));
        if (outcome.killed) {
            ++killed;
            EXPECT_TRUE(hash == oldHash || hash == newHash) << "kill " << killed;
            survived += hash == oldHash || hash == newHash ? 1 : 0;
            keptOld += hash == oldHash ? 1 : 0;
        }
        // The next save starts from the old file again, and without the copy a kill can leave,
        // which no save touches: the user, told its name, removes it.
        if (hash != oldHash)
            writeFile(path, old);
        QFile::remove(path + ".temp");
    }
    std::printf("Save killed %d times (%d tried): %d old files, %d new files, %d damaged; a save takes %lld ms\n",
                killed, tried, keptOld, survived - keptOld, killed - survived, saveNanoseconds / 1000000);
    EXPECT_EQ(killed, KillsWanted);
    EXPECT_EQ(survived, killed);
    // Kills spread over the whole save: some land before the rename.
    EXPECT_GT(keptOld, 0);
}
