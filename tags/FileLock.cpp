#include "FileLock.h"

#include "UserInterface.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool sameFile(int fd, const QString& path)
{
    struct stat locked {};
    struct stat named {};
    return ::fstat(fd, &locked) == 0 && ::stat(QFile::encodeName(path).constData(), &named) == 0
        && locked.st_dev == named.st_dev && locked.st_ino == named.st_ino;
}

}  // namespace

FileLock::~FileLock()
{
    if (fd >= 0)
        ::close(fd);
}

std::unique_ptr<FileLock> lockForWriting(const QString& path, const QString& failure)
{
    // A write that replaced the file between its opening here and its lock leaves the lock on the
    // old file: the lock is taken again on the file the name now gives.
    for (int attempt = 0; attempt < 10; ++attempt) {
        const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
        if (fd < 0)
            return std::make_unique<FileLock>(-1);
        int locked;
        while ((locked = ::flock(fd, LOCK_EX | LOCK_NB)) != 0 && errno == EINTR) {
        }
        // On a file system without locks the write goes on unlocked, as it would without them.
        if (locked != 0 && errno != EWOULDBLOCK)
            return std::make_unique<FileLock>(fd);
        if (locked == 0 && sameFile(fd, path))
            return std::make_unique<FileLock>(fd);
        ::close(fd);
        if (locked != 0)
            break;
    }
    ui::showMessage(failure + ": another program is writing it.", ui::Icon::Error);
    return nullptr;
}
