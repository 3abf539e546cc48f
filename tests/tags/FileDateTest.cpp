#include "TempDir.h"
#include "UnitUtilities.h"

#include <QFile>
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

qint64 modificationTime(const QString& path)
{
    struct stat status {};
    if (::stat(QFile::encodeName(path).constData(), &status) != 0)
        return -2;
    return static_cast<qint64>(status.st_mtim.tv_sec) * 1'000'000'000 + status.st_mtim.tv_nsec;
}

}  // namespace

TEST(FileDateTest, MissingFileGivesFalseAndNoDate)
{
    TempDir dir;
    TFileDate date = 42;
    EXPECT_FALSE(GetFileDate(dir.filePath(QStringLiteral("missing.mp3")), date));
    EXPECT_EQ(date, -1);
}

TEST(FileDateTest, ReadsTheLastWriteTimeToTheNanosecond)
{
    TempDir dir;
    const QString path = dir.write(QStringLiteral("a.mp3"), "audio");
    TFileDate date = -1;
    ASSERT_TRUE(GetFileDate(path, date));
    EXPECT_EQ(date, modificationTime(path));
}

TEST(FileDateTest, KeptDateComesBackExactly)
{
    TempDir dir;
    const QString path = dir.write(QStringLiteral("a.mp3"), "audio");
    const TFileDate kept = 1'234'567'890'123'456'789;
    ASSERT_TRUE(SetFileDate(path, kept));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::Append));
    file.write("more");
    file.close();
    ASSERT_NE(modificationTime(path), kept);

    ASSERT_TRUE(SetFileDate(path, kept));
    TFileDate date = -1;
    ASSERT_TRUE(GetFileDate(path, date));
    EXPECT_EQ(date, kept);
}

TEST(FileDateTest, SettingFailsForMissingFilesFoldersAndNoDate)
{
    TempDir dir;
    EXPECT_FALSE(SetFileDate(dir.filePath(QStringLiteral("missing.mp3")), 1'000'000'000));
    EXPECT_FALSE(SetFileDate(dir.path(), 1'000'000'000));
    const QString path = dir.write(QStringLiteral("a.mp3"), "audio");
    const qint64 before = modificationTime(path);
    EXPECT_FALSE(SetFileDate(path, -1));
    EXPECT_EQ(modificationTime(path), before);
}

// Permission bits do not stop the superuser, so the check runs in a child that gives up its
// privileges and owns the read-only file, as a user owns the files they open.
TEST(FileDateTest, ReadOnlyFileKeepsItsDate)
{
    TempDir dir;
    const QString path = dir.write(QStringLiteral("a.mp3"), "audio");
    const uid_t nobody = 65534;
    const QByteArray folder = QFile::encodeName(dir.path());
    const QByteArray file = QFile::encodeName(path);
    if (::geteuid() == 0) {
        ASSERT_EQ(::chown(folder.constData(), nobody, nobody), 0);
        ASSERT_EQ(::chown(file.constData(), nobody, nobody), 0);
    }
    ASSERT_EQ(::chmod(file.constData(), 0444), 0);
    const qint64 before = modificationTime(path);

    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (::geteuid() == 0 && (::setgid(nobody) != 0 || ::setuid(nobody) != 0))
            ::_exit(2);
        ::_exit(SetFileDate(path, 1'000'000'000) ? 1 : 0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(modificationTime(path), before);
}
