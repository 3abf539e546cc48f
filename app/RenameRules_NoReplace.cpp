#include "RenameRules.h"

#include "NoReplaceRename.h"

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

// On a file system that ignores letter case a new spelling of the same name exists already: it
// is the file itself, which a plain rename gives its new spelling without replacing anything.
bool isSameFile(int folder, const QByteArray& oldName, const QByteArray& newName)
{
    struct stat oldStatus;
    struct stat newStatus;
    return fstatat(folder, oldName.constData(), &oldStatus, AT_SYMLINK_NOFOLLOW) == 0
        && fstatat(folder, newName.constData(), &newStatus, AT_SYMLINK_NOFOLLOW) == 0
        && oldStatus.st_dev == newStatus.st_dev && oldStatus.st_ino == newStatus.st_ino;
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
    } else if (renameWithoutReplacing(folderFd, oldBytes, newBytes)) {
        renamed = true;
    } else if (errno == EEXIST) {
        renamed = isSameFile(folderFd, oldBytes, newBytes)
            && renameat(folderFd, oldBytes.constData(), folderFd, newBytes.constData()) == 0;
    }
    close(folderFd);
    return renamed;
}
