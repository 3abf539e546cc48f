#pragma once

// Text files as the program writes them: UTF-8, every line ended by CR LF.

#include <QSaveFile>
#include <QString>
#include <stdexcept>

// A text file that cannot be created, opened, read or written, for the caller's error report.
class TextFileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The lines go to a new file beside the name, which takes the name only when every line is on the
// disk: a write that fails leaves an earlier file of that name as it was, and no part of the new one.
class TextFileWriter {
public:
    explicit TextFileWriter(const QString& fileName) : file(fileName) {}

    // False also for a name that holds something other than a regular file (a device, a pipe).
    bool open();
    // False once any write has failed.
    bool writeLine(const QString& line);
    // Puts the file in place; false when it could not be written whole.
    bool close();

    // "Cannot create file 'name'." and the like, with the system's reason, for an exception or a report.
    QString createErrorText() const;
    QString writeErrorText() const;
    // The system's words for the first failure, such as "No space left on device".
    QString failure() const { return reason; }

private:
    QSaveFile file;
    QString reason;

    // Keeps the reason of the first failure; always false.
    bool failed();
};
