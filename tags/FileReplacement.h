#pragma once

// Replacing an audio file by a rewritten copy without ever putting the original at risk: the copy
// is written to path + ".temp" (or path + ".1.temp" and on, where that name is taken), given the
// original's owner, group, permissions and extended attributes, flushed to disk and renamed over
// the original in one step, unless another program changed the file meanwhile. Until that rename
// the original is untouched; after any failure the temporary file is gone.

#include <QByteArray>
#include <QString>

struct stat;

// The operations on the disk that can fail for reasons outside the program. Tests install their
// own (a fuller or a failing disk) by deriving from this one and calling it for what they keep.
class FileOperations {
public:
    virtual ~FileOperations() = default;

    // Bytes free for the user on the file system holding the folder; -1 when unknown.
    virtual qint64 freeSpace(const QString& folder);
    // As open(2), read(2) and write(2): a descriptor or the bytes moved, or -1 with errno set.
    virtual int open(const QString& path, int flags, int mode = 0);
    virtual qint64 read(int fd, char* data, qint64 size);
    virtual qint64 write(int fd, const char* data, qint64 size);
    // Forces written data to the disk.
    virtual bool flush(int fd);
    virtual bool rename(const QString& from, const QString& to);
    // As fsetxattr(2).
    virtual bool setAttribute(int fd, const QByteArray& name, const QByteArray& value);
};

// The installed operations; nullptr installs the real ones again. The caller keeps ownership.
FileOperations& fileOperations();
void setFileOperations(FileOperations* operations);

// Writes all bytes through the installed operations; false on any error.
bool writeAll(int fd, const QByteArray& bytes);

// Creates path + ".temp", or path + ".1.temp" and on where that name is taken, new and for writing:
// a file or link of such a name, the user's or another run's, is never written through. A name too
// long for the folder has the file's name cut short before the ending. Gives the descriptor and the
// name, or -1 when no name can be created.
int createTemporaryBeside(const QString& path, int mode, QString& temporary);

// What tells a file from another, and from itself changed.
struct FileIdentity {
    quint64 device = 0;
    quint64 inode = 0;
    qint64 size = -1;
    qint64 modified = 0;   // nanoseconds
    qint64 statusChanged = 0;
    bool operator==(const FileIdentity&) const = default;
};

// A write past the process's file-size limit (ulimit -f) then fails as a write, which the writers
// undo and report, instead of ending the program with SIGXFSZ. For the whole process; called at
// start.
void letWritesFailAtFileSizeLimit();

// One replacement: open the source, create the temporary file, write and copy into it, commit.
// Each step returns false on failure; whatever is not committed is removed when this goes.
class FileReplacement {
public:
    explicit FileReplacement(const QString& path);
    ~FileReplacement();
    FileReplacement(const FileReplacement&) = delete;
    FileReplacement& operator=(const FileReplacement&) = delete;

    // Free bytes on the file system that will hold the copy; -1 when unknown.
    qint64 freeSpace() const;
    // False also for a file the user may not write, and for one no longer as `asRead` found it
    // (changedFromOutside() then tells).
    bool openSource(const FileIdentity& asRead);
    // A file of the temporary name is the user's, or the copy of another save: it is left alone,
    // and the copy takes the next free name. False when none can be created.
    bool createTemporary();
    bool write(const QByteArray& bytes);
    // Copies the source from `offset` to its end in pieces, processing events after each piece.
    bool copySource(qint64 offset, qint64 pieceSize);
    // Gives the copy the original's owner, group, permissions and extended attributes, flushes it
    // and renames it over the original; false, the original untouched, when the copy cannot take
    // them or the file is no longer the one opened, as it was then.
    bool commit();
    // True when the file changed, or another took its name, since it was read or opened.
    bool changedFromOutside() const { return changed; }

private:
    static FileIdentity identityOf(const struct stat& status);

    QString target;      // the file itself, a symbolic link followed
    QString temporary;
    int source = -1;
    int copy = -1;
    FileIdentity opened;
    bool changed = false;
};
