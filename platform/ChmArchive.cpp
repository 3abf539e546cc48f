#include "ChmArchive.h"

#include <QFile>
#include <chm_lib.h>

namespace {

// A damaged directory can claim any length; no topic or picture of a help file comes near this.
constexpr LONGUINT64 largestObject = 64 * 1024 * 1024;

}  // namespace

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
    if (!file || chm_resolve_object(file, path.toUtf8().constData(), &unit) != CHM_RESOLVE_SUCCESS ||
        unit.length > largestObject)
        return {};
    QByteArray bytes(static_cast<qsizetype>(unit.length), '\0');
    const LONGINT64 read = chm_retrieve_object(file, &unit, reinterpret_cast<unsigned char*>(bytes.data()), 0,
                                               static_cast<LONGINT64>(unit.length));
    bytes.truncate(read > 0 ? static_cast<qsizetype>(read) : 0);
    return bytes;
}
