#pragma once

#include "ProgramFolder.h"
#include "TempDir.h"

#include <QByteArray>

// A settings folder and a program folder of the test's own, so every test starts with no settings
// file; the previous ones come back when the test ends.
class SettingsHome {
public:
    SettingsHome()
        : previousHome(qgetenv("XDG_CONFIG_HOME")), previousProgramFolder(programFolder())
    {
        qputenv("XDG_CONFIG_HOME", home.path().toLocal8Bit());
        setProgramFolder(program.path());
    }
    ~SettingsHome()
    {
        qputenv("XDG_CONFIG_HOME", previousHome);
        setProgramFolder(previousProgramFolder);
    }
    SettingsHome(const SettingsHome&) = delete;
    SettingsHome& operator=(const SettingsHome&) = delete;

    QString settingsFile() const { return home.filePath(QStringLiteral("Corvane/Corvane.conf")); }
    QString programPath() const { return program.path() + QLatin1Char('/'); }
    const TempDir& programDir() const { return program; }

private:
    TempDir home;
    TempDir program;
    QByteArray previousHome;
    QString previousProgramFolder;
};
