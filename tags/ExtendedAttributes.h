#pragma once

// The extended attributes of a file: desktop ratings and comments (user.*), access control lists
// (system.posix_acl_access), security labels. A copy that takes a file's place takes them too.

#include <QByteArray>
#include <map>
#include <optional>

using ExtendedAttributes = std::map<QByteArray, QByteArray>;

// Every attribute of the open file that the process may see; none on a file system without
// them. Nothing when they cannot be read.
std::optional<ExtendedAttributes> extendedAttributesOf(int fd);

// Gives `to` the attributes of `from` and no others: an attribute `to` already holds with the
// same value is left as it is. False when one cannot be carried or removed.
bool copyExtendedAttributes(int from, int to);
