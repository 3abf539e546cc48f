#include "SettingsWriter.h"

#include "Registry.h"
#include "UserInterface.h"

bool RegistryWriter::isOpen() const
{
    return registry.isOpen();
}

bool RegistryWriter::writeBool(const QString& name, bool value)
{
    registry.writeBool(name, value);
    return true;
}

bool RegistryWriter::writeInteger(const QString& name, qint32 value)
{
    registry.writeInteger(name, value);
    return true;
}

bool RegistryWriter::writeString(const QString& name, const QString& value)
{
    registry.writeString(name, value);
    return true;
}

bool writeSettings(SettingsWriter& writer, const std::vector<SettingValue>& values)
{
    if (!writer.isOpen())
        return true;
    for (const auto& [name, value] : values) {
        bool written = false;
        if (const bool* flag = std::get_if<bool>(&value))
            written = writer.writeBool(name, *flag);
        else if (const qint32* number = std::get_if<qint32>(&value))
            written = writer.writeInteger(name, *number);
        else
            written = writer.writeString(name, std::get<QString>(value));
        if (!written) {
            ui::showMessage("Failed to set data for '" + name + "'");
            return false;
        }
    }
    return true;
}
