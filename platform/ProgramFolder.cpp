#include "ProgramFolder.h"

#include <QCoreApplication>

namespace {
QString overridden;
}

QString programFolder()
{
    if (!overridden.isEmpty())
        return overridden;
    return QCoreApplication::applicationDirPath() + QLatin1Char('/');
}

void setProgramFolder(const QString& folder)
{
    overridden = folder.isEmpty() || folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
}
