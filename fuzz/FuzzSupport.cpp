#include "FuzzSupport.h"

#include "ScriptedUserInterface.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <memory>

namespace {

// Never destroyed: libFuzzer leaves through exit(), when Qt's own globals may be gone already.
QCoreApplication* application = nullptr;
std::unique_ptr<ScriptedUserInterface> userInterface;
std::unique_ptr<QTemporaryDir> folder;

}  // namespace

void initializeFuzzing(int* argc, char*** argv)
{
    application = new QCoreApplication(*argc, *argv);
    userInterface = std::make_unique<ScriptedUserInterface>();
    folder = std::make_unique<QTemporaryDir>();
}

void clearMessages()
{
    userInterface->messages.clear();
}

QString inputFolder()
{
    return folder->path();
}

QString writeInputFile(const uint8_t* data, size_t size, const QString& name)
{
    const QString path = folder->filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)
        || file.write(reinterpret_cast<const char*>(data), qint64(size)) != qint64(size))
        qFatal("Cannot write the fuzz input to %s", qPrintable(path));
    return path;
}

QStringList inputLines(const uint8_t* data, size_t size, qsizetype count)
{
    QStringList lines = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size)).split(u'\n');
    while (lines.size() < count)
        lines.append(QString());
    return lines;
}
