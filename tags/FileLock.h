#pragma once

// Two Corvane processes writing one file at once would mix their writes, or have one's copy take
// the place of the other's. A write holds the file's lock from the check that the file is still
// as read to its end; a second write meanwhile is refused at once rather than made to wait, as
// the window would freeze while it waits and the file it then found would have changed anyway.

#include <QString>
#include <memory>

class FileLock {
public:
    // Held while it lives: the lock goes with the process, should it end.
    explicit FileLock(int fd) : fd(fd) {}
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

private:
    int fd;   // -1: a file that could not be opened, whose write reports its own failure
};

// Locks the file for writing. Null, after the user was told `failure` + ": another program is
// writing it.", when another holds its lock.
std::unique_ptr<FileLock> lockForWriting(const QString& path, const QString& failure);
