#include "Registry.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

namespace {

// The key opens when its file can be read, or created when it does not exist yet.
bool canOpen(const QString& path)
{
    const QFileInfo file(path);
    if (file.exists())
        return file.isFile() && file.isReadable();
    return QDir().mkpath(file.absolutePath()) && QFileInfo(file.absolutePath()).isWritable();
}

}  // namespace

Registry::Registry()
{
    const QString path = filePath();
    if (canOpen(path))
        settings = std::make_unique<QSettings>(path, QSettings::IniFormat);
}

// QSettings stores what is still unstored when it is destroyed.
Registry::~Registry() = default;

std::optional<QString> Registry::store()
{
    if (!settings)
        return std::nullopt;
    settings->sync();
    // The values are stored together: when the store fails, none of them reached the file.
    if (settings->status() != QSettings::AccessError || firstWritten.isEmpty())
        return std::nullopt;
    return firstWritten;
}

QString Registry::filePath()
{
    QString home = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (home.isEmpty())
        home = QDir::homePath() + QStringLiteral("/.config");
    return home + QStringLiteral("/Corvane/Corvane.conf");
}

bool Registry::valueExists(const QString& name) const
{
    return settings && settings->contains(name);
}

std::optional<bool> Registry::readBool(const QString& name) const
{
    const std::optional<qint32> number = readInteger(name);
    if (!number)
        return std::nullopt;
    return *number != 0;
}

std::optional<qint32> Registry::readInteger(const QString& name) const
{
    const std::optional<QString> text = readString(name);
    if (!text)
        return std::nullopt;
    bool ok = false;
    const qint32 number = text->toInt(&ok);
    if (!ok)
        return std::nullopt;
    return number;
}

std::optional<QString> Registry::readString(const QString& name) const
{
    if (!valueExists(name))
        return std::nullopt;
    // An INI file keeps every plain value as text; lists, byte arrays and other variants are
    // values of another type.
    const QVariant value = settings->value(name);
    if (value.typeId() != QMetaType::QString)
        return std::nullopt;
    return value.toString();
}

void Registry::writeBool(const QString& name, bool value)
{
    writeInteger(name, value ? 1 : 0);
}

void Registry::writeInteger(const QString& name, qint32 value)
{
    // As text, the form every reader of the file sees, also readers in this process.
    writeString(name, QString::number(value));
}

void Registry::writeString(const QString& name, const QString& value)
{
    if (!settings)
        return;
    settings->setValue(name, value);
    if (firstWritten.isEmpty())
        firstWritten = name;
}
