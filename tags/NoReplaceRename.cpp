#include "NoReplaceRename.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace {

bool linkThenUnlink(int folder, const QByteArray& oldName, const QByteArray& newName)
{
    if (linkat(folder, oldName.constData(), folder, newName.constData(), 0) != 0)
        return false;
    if (unlinkat(folder, oldName.constData(), 0) == 0)
        return true;
    const int error = errno;
    unlinkat(folder, newName.constData(), 0);
    errno = error;
    return false;
}

}  // namespace

bool renameWithoutReplacing(int folder, const QByteArray& oldName, const QByteArray& newName)
{
    if (renameat2(folder, oldName.constData(), folder, newName.constData(), RENAME_NOREPLACE) == 0)
        return true;
    return (errno == EINVAL || errno == ENOSYS || errno == EOPNOTSUPP) && linkThenUnlink(folder, oldName, newName);
}
