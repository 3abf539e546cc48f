#include "ChmArchive.h"

#include <QFile>
#include <chm_lib.h>

ChmArchive::ChmArchive(const QString& fileName)
{
    if (QFile::exists(fileName))
        file = chm_open(QFile::encodeName(fileName).constData());
}

ChmArchive::~ChmArchive()
{
    if (file)
        chm_close(file);
}

bool ChmArchive::contains(const QString& path) const
{
    chmUnitInfo unit{};
    return file && chm_resolve_object(file, path.toUtf8().constData(), &unit) == CHM_RESOLVE_SUCCESS;
}

QByteArray ChmArchive::object(const QString& path) const
{
    chmUnitInfo unit{};
    if (!file || chm_resolve_object(file, path.toUtf8().constData(), &unit) != CHM_RESOLVE_SUCCESS)
        return {};
    QByteArray bytes(static_cast<qsizetype>(unit.length), '\0');
    const LONGINT64 read = chm_retrieve_object(file, &unit, reinterpret_cast<unsigned char*>(bytes.data()), 0,
                                               static_cast<LONGINT64>(unit.length));
    bytes.truncate(read > 0 ? static_cast<qsizetype>(read) : 0);
    return bytes;
}
