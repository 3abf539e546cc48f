#pragma once

// Compiles a small help file from HTML pages with chmcmd (Debian fp-utils), for the help window's tests.

#include "TempDir.h"

#include <QMap>
#include <QProcess>
#include <QStringList>
#include <stdexcept>

// Pages by name ("Overview.htm" -> HTML); returns the path of the compiled file.
inline QString makeHelpFile(const TempDir& dir, const QString& name, const QMap<QString, QByteArray>& pages)
{
    QByteArray project = "[OPTIONS]\nCompiled file=" + name.toUtf8() + "\nTitle=Help\n\n[FILES]\n";
    for (auto page = pages.cbegin(); page != pages.cend(); ++page) {
        dir.write(page.key(), page.value());
        project += page.key().toUtf8() + "\n";
    }
    const QString projectFile = dir.write(QStringLiteral("help.hhp"), project);
    QProcess compiler;
    compiler.setWorkingDirectory(dir.path());
    compiler.start(QStringLiteral("chmcmd"), {projectFile});
    if (!compiler.waitForFinished(30000) || compiler.exitCode() != 0)
        throw std::runtime_error("chmcmd could not compile the help file");
    return dir.filePath(name);
}
