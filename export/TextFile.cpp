#include "TextFile.h"

#include <QFileInfo>

bool TextFileWriter::open()
{
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate);
}

bool TextFileWriter::writeLine(const QString& line)
{
    const QByteArray bytes = line.toUtf8() + "\r\n";
    return file.error() == QFileDevice::NoError && file.write(bytes) == bytes.size();
}

bool TextFileWriter::close()
{
    const bool flushed = file.flush() && file.error() == QFileDevice::NoError;
    file.close();
    return flushed;
}

QString TextFileWriter::createErrorText() const
{
    return QStringLiteral("Cannot create file '%1'. %2").arg(QFileInfo(file.fileName()).fileName(), file.errorString());
}

QString TextFileWriter::writeErrorText() const
{
    return QStringLiteral("Cannot write file '%1'. %2").arg(QFileInfo(file.fileName()).fileName(), file.errorString());
}
