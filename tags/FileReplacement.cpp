#include "FileReplacement.h"

#include "ExtendedAttributes.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QStorageInfo>

#include <cerrno>
#include <climits>
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

// Names tried for the temporary copy before the save gives up.
constexpr int TemporaryNames = 100;

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

namespace {

// `path` with `ending`, the file's name cut short, between characters, where the folder holds no
// name that long.
QString nameBeside(const QString& path, const QString& ending)
{
    const QFileInfo info(path);
    const long longest = ::pathconf(QFile::encodeName(info.absolutePath()).constData(), _PC_NAME_MAX);
    const qsizetype room = (longest > 0 ? longest : NAME_MAX) - QFile::encodeName(ending).size();
    QString name = info.fileName();
    while (!name.isEmpty() && QFile::encodeName(name).size() > room)
        name.chop(name.size() > 1 && name.back().isLowSurrogate() ? 2 : 1);
    return path.left(path.size() - info.fileName().size()) + name + ending;
}

}  // namespace

int createTemporaryBeside(const QString& path, int mode, QString& temporary)
{
    for (int taken = 0; taken < TemporaryNames; ++taken) {
        const QString number = taken == 0 ? QString() : "." + QString::number(taken);
        temporary = nameBeside(path, number + QStringLiteral(".temp"));
        const int fd = fileOperations().open(temporary, O_WRONLY | O_CREAT | O_EXCL, mode);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

void letWritesFailAtFileSizeLimit()
{
    std::signal(SIGXFSZ, SIG_IGN);
}

FileIdentity FileReplacement::identityOf(const struct stat& status)
{
    return {status.st_dev, status.st_ino, status.st_size,
            qint64(status.st_mtim.tv_sec) * 1'000'000'000 + status.st_mtim.tv_nsec,
            qint64(status.st_ctim.tv_sec) * 1'000'000'000 + status.st_ctim.tv_nsec};
}

// A symbolic link is followed, so the file it names is replaced and the link stays a link.
FileReplacement::FileReplacement(const QString& path)
{
    const QFileInfo info(path);
    target = info.isSymLink() && !info.canonicalFilePath().isEmpty() ? info.canonicalFilePath() : path;
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
bool FileReplacement::openSource(const FileIdentity& asRead)
{
    source = fileOperations().open(target, O_RDONLY);
    struct stat status {};
    if (source < 0 || ::fstat(source, &status) != 0)
        return false;
    opened = identityOf(status);
    // Another program's write since the reading, even one just before the opening, would be lost.
    changed = !(opened == asRead);
    if (changed)
        return false;
    return ::faccessat(AT_FDCWD, QFile::encodeName(target).constData(), W_OK, AT_EACCESS) == 0;
}

bool FileReplacement::createTemporary()
{
    copy = createTemporaryBeside(target, 0600, temporary);
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
    // Another program's write since the copy began, or another file moved onto the name, would be
    // lost by the rename: the name must still hold the file opened, as it was then.
    struct stat now {};
    changed = ::stat(QFile::encodeName(target).constData(), &now) != 0 || !(identityOf(now) == opened);
    if (!closed || changed || !fileOperations().rename(temporary, target)) {
        ::unlink(QFile::encodeName(temporary).constData());
        return false;
    }
    ::close(source);
    source = -1;
    return true;
}
