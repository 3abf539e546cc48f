#include "UnitID3Tag_Readers.h"

#include <QFileInfo>

QString fileNameForMessage(const QString& path)
{
    return QFileInfo(path).fileName();
}

bool openForReading(QFile& file)
{
    return file.open(QIODevice::ReadOnly | QIODevice::Unbuffered);
}

QByteArray readAt(QFile& file, qint64 position, qint64 count)
{
    if (count <= 0 || !file.seek(position))
        return {};
    return file.read(count);
}
