#include "TextFile.h"

#include <QFileInfo>

bool TextFileWriter::open()
{
    // The new file would be renamed over a device or a pipe as over any file.
    const QFileInfo existing(file.fileName());
    if (existing.exists() && !existing.isFile()) {
        reason = QStringLiteral("It is not a regular file.");
        return false;
    }
    // Unbuffered, so that a failing write is seen at once and with the system's reason.
    return file.open(QIODevice::WriteOnly | QIODevice::Unbuffered) || failed();
}

bool TextFileWriter::writeLine(const QString& line)
{
    const QByteArray bytes = line.toUtf8() + "\r\n";
    // A short write says nothing of its reason; the next one fails and names it.
    for (qsizetype done = 0; done < bytes.size();) {
        const qint64 written = file.write(bytes.constData() + done, bytes.size() - done);
        if (written <= 0)
            return failed();
        done += written;
    }
    return true;
}

bool TextFileWriter::close()
{
    // Nothing is put in place after a failed write; a commit would also wipe out its reason.
    return (reason.isEmpty() && file.commit()) || failed();
}

QString TextFileWriter::createErrorText() const
{
    return QStringLiteral("Cannot create file '%1'. %2").arg(QFileInfo(file.fileName()).fileName(), reason);
}

QString TextFileWriter::writeErrorText() const
{
    return QStringLiteral("Cannot write file '%1'. %2").arg(QFileInfo(file.fileName()).fileName(), reason);
}

bool TextFileWriter::failed()
{
    if (reason.isEmpty())
        reason = file.errorString();
    return false;
}
