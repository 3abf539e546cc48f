#include "RenameRules.h"

#include <QFile>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool isPlainName(const QString& name)
{
    return !name.isEmpty() && name != QLatin1String(".") && name != QLatin1String("..")
        && !name.contains(QLatin1Char('/')) && !name.contains(QChar(0));
}

// A file system without the no-replace rename still refuses to link over an existing name.
bool linkThenUnlink(int folder, const QByteArray& oldName, const QByteArray& newName)
{
    if (linkat(folder, oldName.constData(), folder, newName.constData(), 0) != 0)
        return false;
    if (unlinkat(folder, oldName.constData(), 0) == 0)
        return true;
    unlinkat(folder, newName.constData(), 0);
    return false;
}

}  // namespace

bool renameInFolder(const QString& folder, const QString& oldName, const QString& newName)
{
    if (!isPlainName(oldName) || !isPlainName(newName))
        return false;
    const int folderFd = open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folderFd < 0)
        return false;
    const QByteArray oldBytes = QFile::encodeName(oldName);
    const QByteArray newBytes = QFile::encodeName(newName);
    bool renamed = false;
    if (oldName == newName) {
        struct stat status;
        renamed = fstatat(folderFd, oldBytes.constData(), &status, AT_SYMLINK_NOFOLLOW) == 0;
    } else if (renameat2(folderFd, oldBytes.constData(), folderFd, newBytes.constData(), RENAME_NOREPLACE) == 0) {
        renamed = true;
    } else if (errno == EINVAL || errno == ENOSYS || errno == EOPNOTSUPP) {
        renamed = linkThenUnlink(folderFd, oldBytes, newBytes);
    }
    close(folderFd);
    return renamed;
}
