#include "UnitID3Tag_Readers.h"

#include <QFileInfo>
#include <cerrno>
#include <unistd.h>

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
    if (count <= 0 || position < 0)
        return {};
    // pread needs no seek, and the array is made once at its full size.
    QByteArray bytes(count, Qt::Uninitialized);
    qint64 done = 0;
    while (done < count) {
        const ssize_t got = ::pread(file.handle(), bytes.data() + done, size_t(count - done), position + done);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            break;
        done += got;
    }
    bytes.truncate(done);
    return bytes;
}
