#pragma once

// A disk for the tests of file replacement: its free space can be set, and writes, reads,
// flushes, renames and the setting of extended attributes can be made to fail; another program
// can act before the first opening of a file to write or copy it, or before the first read of a copy. Installed while it lives; the real disk does the rest.

#include "FileReplacement.h"

#include <QCryptographicHash>
#include <QList>
#include <cerrno>
#include <functional>
#include <utility>

class FakeDisk : public FileOperations {
public:
    FakeDisk() { setFileOperations(this); }
    ~FakeDisk() override { setFileOperations(nullptr); }
    FakeDisk(const FakeDisk&) = delete;
    FakeDisk& operator=(const FakeDisk&) = delete;

    static constexpr qint64 RealFreeSpace = -2;
    qint64 free = RealFreeSpace;
    qint64 writableBytes = -1;   // the disk is full once this many bytes are written; -1 no limit
    qint64 readableBytes = -1;   // reads fail once this many bytes are read; -1 no limit
    bool flushFails = false;
    bool renameFails = false;
    bool attributesFail = false;
    QList<QString> unopenable;   // files that cannot be opened
    QList<qint64> writes;        // the size of every write that succeeded
    QList<QString> folders;      // every folder whose free space was asked
    std::function<void()> beforeFirstRead;
    std::function<void()> beforeFirstOpen;

    qint64 freeSpace(const QString& folder) override
    {
        folders.append(folder);
        return free == RealFreeSpace ? FileOperations::freeSpace(folder) : free;
    }

    int open(const QString& path, int flags, int mode) override
    {
        if (beforeFirstOpen)
            std::exchange(beforeFirstOpen, nullptr)();
        if (unopenable.contains(path)) {
            errno = EACCES;
            return -1;
        }
        return FileOperations::open(path, flags, mode);
    }

    qint64 read(int fd, char* data, qint64 size) override
    {
        if (beforeFirstRead)
            std::exchange(beforeFirstRead, nullptr)();
        if (readableBytes >= 0 && readBytes + size > readableBytes) {
            errno = EIO;
            return -1;
        }
        const qint64 got = FileOperations::read(fd, data, size);
        readBytes += std::max<qint64>(got, 0);
        return got;
    }

    qint64 write(int fd, const char* data, qint64 size) override
    {
        if (writableBytes >= 0 && writtenBytes + size > writableBytes) {
            errno = ENOSPC;
            return -1;
        }
        const qint64 written = FileOperations::write(fd, data, size);
        if (written > 0) {
            writtenBytes += written;
            writes.append(written);
        }
        return written;
    }

    bool flush(int fd) override { return !flushFails && FileOperations::flush(fd); }

    bool rename(const QString& from, const QString& to) override
    {
        return !renameFails && FileOperations::rename(from, to);
    }

    bool setAttribute(int fd, const QByteArray& name, const QByteArray& value) override
    {
        return !attributesFail && FileOperations::setAttribute(fd, name, value);
    }

private:
    qint64 readBytes = 0;
    qint64 writtenBytes = 0;
};

inline QByteArray sha256(const QByteArray& bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256);
}
