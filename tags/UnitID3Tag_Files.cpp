#include "UnitID3Tag_Readers.h"

#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

QString fileNameForMessage(const QString& path)
{
    return QFileInfo(path).fileName();
}

// A folder opens as well, but is no file to read.
ReadFile::ReadFile(const QString& fileName) : name(fileName)
{
    fd = ::open(QFile::encodeName(fileName).constData(), O_RDONLY | O_CLOEXEC);
    struct stat info {};
    if (fd >= 0 && (::fstat(fd, &info) != 0 || S_ISDIR(info.st_mode))) {
        ::close(fd);
        fd = -1;
    }
    if (fd < 0)
        return;
    status.FileName = fileName;
    status.Size = info.st_size;
    status.Device = info.st_dev;
    status.Inode = info.st_ino;
    status.ChangeTime = qint64(info.st_ctim.tv_sec) * 1'000'000'000 + info.st_ctim.tv_nsec;
    status.ModifyTime = qint64(info.st_mtim.tv_sec) * 1'000'000'000 + info.st_mtim.tv_nsec;
}

ReadFile::~ReadFile()
{
    if (fd >= 0)
        ::close(fd);
}

QByteArray ReadFile::readAt(qint64 position, qint64 count) const
{
    return ::readAt(fd, position, count);
}

QByteArray readAt(int fd, qint64 position, qint64 count)
{
    if (count <= 0 || position < 0 || fd < 0)
        return {};
    // pread needs no seek, and the array is made once at its full size.
    QByteArray bytes(count, Qt::Uninitialized);
    qint64 done = 0;
    while (done < count) {
        const ssize_t got = ::pread(fd, bytes.data() + done, size_t(count - done), position + done);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            break;
        done += got;
    }
    bytes.truncate(done);
    return bytes;
}
