#include "FileReplacement.h"

#include "ExtendedAttributes.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QStorageInfo>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

qint64 FileOperations::freeSpace(const QString& folder)
{
    const QStorageInfo storage(folder);
    return storage.isValid() ? storage.bytesAvailable() : -1;
}

int FileOperations::open(const QString& path, int flags, int mode)
{
    return ::open(QFile::encodeName(path).constData(), flags | O_CLOEXEC, mode);
}

qint64 FileOperations::read(int fd, char* data, qint64 size)
{
    return ::read(fd, data, size_t(size));
}

qint64 FileOperations::write(int fd, const char* data, qint64 size)
{
    return ::write(fd, data, size_t(size));
}

bool FileOperations::flush(int fd)
{
    return ::fsync(fd) == 0;
}

bool FileOperations::rename(const QString& from, const QString& to)
{
    return ::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0;
}

bool FileOperations::setAttribute(int fd, const QByteArray& name, const QByteArray& value)
{
    return ::fsetxattr(fd, name.constData(), value.constData(), size_t(value.size()), 0) == 0;
}

namespace {

FileOperations realOperations;
FileOperations* installedOperations = &realOperations;

}  // namespace

FileOperations& fileOperations()
{
    return *installedOperations;
}

void setFileOperations(FileOperations* operations)
{
    installedOperations = operations ? operations : &realOperations;
}

bool writeAll(int fd, const QByteArray& bytes)
{
    const char* data = bytes.constData();
    qint64 left = bytes.size();
    while (left > 0) {
        const qint64 written = fileOperations().write(fd, data, left);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        data += written;
        left -= written;
    }
    return true;
}

void letWritesFailAtFileSizeLimit()
{
    std::signal(SIGXFSZ, SIG_IGN);
}

// A symbolic link is followed, so the file it names is replaced and the link stays a link.
FileReplacement::FileReplacement(const QString& path)
{
    const QFileInfo info(path);
    target = info.isSymLink() && !info.canonicalFilePath().isEmpty() ? info.canonicalFilePath() : path;
    temporary = target + QStringLiteral(".temp");
}

FileReplacement::~FileReplacement()
{
    if (source >= 0)
        ::close(source);
    if (copy >= 0) {
        ::close(copy);
        ::unlink(QFile::encodeName(temporary).constData());
    }
}

qint64 FileReplacement::freeSpace() const
{
    return fileOperations().freeSpace(QFileInfo(target).absolutePath());
}

// The rename would replace a file the user may not write as readily as any other, since it asks
// only for the folder's permission: the file's own is asked here.
bool FileReplacement::openSource()
{
    source = fileOperations().open(target, O_RDONLY);
    return source >= 0 && ::faccessat(AT_FDCWD, QFile::encodeName(target).constData(), W_OK, AT_EACCESS) == 0;
}

// Created new: a file of that name, or a link, is never written through, replaced nor removed.
bool FileReplacement::createTemporary()
{
    copy = fileOperations().open(temporary, O_WRONLY | O_CREAT | O_EXCL, 0600);
    return copy >= 0;
}

bool FileReplacement::write(const QByteArray& bytes)
{
    return copy >= 0 && writeAll(copy, bytes);
}

bool FileReplacement::copySource(qint64 offset, qint64 pieceSize)
{
    if (source < 0 || copy < 0 || ::lseek(source, offset, SEEK_SET) < 0)
        return false;
    QByteArray piece(pieceSize, '\0');
    for (;;) {
        const qint64 got = fileOperations().read(source, piece.data(), pieceSize);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return false;
        if (got == 0)
            return true;
        if (!writeAll(copy, piece.left(got)))
            return false;
        QCoreApplication::processEvents();
    }
}

bool FileReplacement::commit()
{
    struct stat original {};
    struct stat made {};
    if (source < 0 || copy < 0 || ::fstat(source, &original) != 0 || ::fstat(copy, &made) != 0)
        return false;
    // A copy that cannot take the original's owner and group (a file of another user, or of a
    // group the user is not in) does not replace it. The owner is asked for only where it differs,
    // as file systems without owners refuse any change. A change of owner clears the set-id bits
    // and setting an ACL rewrites the permissions, so the mode comes last; it sets the ACL's mask
    // from the group bits, which are the original's mask.
    const bool sameOwner = made.st_uid == original.st_uid && made.st_gid == original.st_gid;
    if ((!sameOwner && ::fchown(copy, original.st_uid, original.st_gid) != 0)
        || !copyExtendedAttributes(source, copy) || ::fchmod(copy, original.st_mode & 07777) != 0
        || !fileOperations().flush(copy))
        return false;
    const bool closed = ::close(copy) == 0;
    copy = -1;
    if (!closed || !fileOperations().rename(temporary, target)) {
        ::unlink(QFile::encodeName(temporary).constData());
        return false;
    }
    ::close(source);
    source = -1;
    return true;
}
