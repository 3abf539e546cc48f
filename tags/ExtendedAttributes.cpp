#include "ExtendedAttributes.h"

#include "FileReplacement.h"

#include <QList>

#include <cerrno>
#include <sys/xattr.h>

namespace {

// The bytes a call writes into a buffer it is first asked the size of; the size asked again
// when the attribute grew between the two calls.
template <typename Call>
std::optional<QByteArray> sizedRead(Call call)
{
    for (;;) {
        const ssize_t size = call(nullptr, 0);
        if (size < 0)
            return std::nullopt;
        QByteArray bytes(size, Qt::Uninitialized);
        const ssize_t got = call(bytes.data(), size_t(size));
        if (got >= 0)
            return bytes.left(got);
        if (errno != ERANGE)
            return std::nullopt;
    }
}

}  // namespace

std::optional<ExtendedAttributes> extendedAttributesOf(int fd)
{
    const auto names = sizedRead([fd](char* list, size_t size) { return ::flistxattr(fd, list, size); });
    if (!names)
        return errno == ENOTSUP ? std::optional(ExtendedAttributes{}) : std::nullopt;
    ExtendedAttributes attributes;
    for (const QByteArray& name : names->split('\0')) {
        if (name.isEmpty())
            continue;
        const auto value = sizedRead([fd, &name](char* data, size_t size) {
            return ::fgetxattr(fd, name.constData(), data, size);
        });
        if (!value)
            return std::nullopt;
        attributes[name] = *value;
    }
    return attributes;
}

bool copyExtendedAttributes(int from, int to)
{
    const auto wanted = extendedAttributesOf(from);
    const auto held = extendedAttributesOf(to);
    if (!wanted || !held)
        return false;
    // One the copy took from its folder (a default ACL) would give the file what it did not have.
    for (const auto& [name, value] : *held) {
        if (!wanted->contains(name) && ::fremovexattr(to, name.constData()) != 0)
            return false;
    }
    for (const auto& [name, value] : *wanted) {
        const auto it = held->find(name);
        if ((it == held->end() || it->second != value) && !fileOperations().setAttribute(to, name, value))
            return false;
    }
    return true;
}
