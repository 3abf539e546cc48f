#pragma once

// Giving a file a new name in one step without ever replacing a file or link of that name.

#include <QByteArray>

// Names are relative to the folder descriptor (AT_FDCWD: to the current folder, or absolute).
// False with errno EEXIST when the new name is taken. A file system without the no-replace rename
// links the new name and unlinks the old one, as a link is refused over an existing name too.
bool renameWithoutReplacing(int folder, const QByteArray& oldName, const QByteArray& newName);
