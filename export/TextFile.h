#pragma once

// Text files as the program writes them: UTF-8, every line ended by CR LF.

#include <QFile>
#include <QString>
#include <stdexcept>

// A text file that cannot be created, opened, read or written, for the caller's error report.
class TextFileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class TextFileWriter {
public:
    explicit TextFileWriter(const QString& fileName) : file(fileName) {}

    // Creates the file or empties an existing one.
    bool open();
    // False once any write has failed; the lines written before stay in the file.
    bool writeLine(const QString& line);
    // Flushes and closes; false when the last lines could not be written.
    bool close();

    // "Cannot create file 'name'." with the system's reason, for an exception or a report.
    QString createErrorText() const;
    QString writeErrorText() const;

private:
    QFile file;
};
