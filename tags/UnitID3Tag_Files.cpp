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

namespace {

TFileState stateOf(const QString& fileName, const struct stat& info)
{
    TFileState state;
    state.FileName = fileName;
    state.Size = info.st_size;
    state.Device = info.st_dev;
    state.Inode = info.st_ino;
    state.ChangeTime = qint64(info.st_ctim.tv_sec) * 1'000'000'000 + info.st_ctim.tv_nsec;
    state.ModifyTime = qint64(info.st_mtim.tv_sec) * 1'000'000'000 + info.st_mtim.tv_nsec;
    return state;
}

}  // namespace

FileIdentity identityOf(const TFileState& state)
{
    return {state.Device, state.Inode, state.Size, state.ModifyTime, state.ChangeTime};
}

// A folder opens as well, but is no file to read.
ReadFile::ReadFile(const QString& fileName, int opened) : name(fileName)
{
    fd = opened >= 0 ? opened : ::open(QFile::encodeName(fileName).constData(), O_RDONLY | O_CLOEXEC);
    struct stat info {};
    if (fd >= 0 && (::fstat(fd, &info) != 0 || S_ISDIR(info.st_mode))) {
        ::close(fd);
        fd = -1;
    }
    if (fd >= 0)
        status = stateOf(fileName, info);
}

ReadFile::~ReadFile()
{
    close();
}

TFileState ReadFile::stateNow() const
{
    struct stat info {};
    return fd >= 0 && ::fstat(fd, &info) == 0 ? stateOf(name, info) : TFileState();
}

bool ReadFile::close()
{
    const bool closed = fd < 0 || ::close(fd) == 0;
    fd = -1;
    return closed;
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
