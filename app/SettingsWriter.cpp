#include "SettingsWriter.h"

#include "Registry.h"
#include "UserInterface.h"

RegistryWriter::RegistryWriter() = default;
RegistryWriter::~RegistryWriter() = default;

bool RegistryWriter::open()
{
    key = std::make_unique<Registry>();
    return key->isOpen();
}

std::optional<QString> RegistryWriter::close()
{
    const std::optional<QString> unstored = key->store();
    key.reset();
    return unstored;
}

bool RegistryWriter::writeBool(const QString& name, bool value)
{
    key->writeBool(name, value);
    return true;
}

bool RegistryWriter::writeInteger(const QString& name, qint32 value)
{
    key->writeInteger(name, value);
    return true;
}

bool RegistryWriter::writeString(const QString& name, const QString& value)
{
    key->writeString(name, value);
    return true;
}

namespace {

bool writeValue(SettingsWriter& writer, const SettingValue& setting)
{
    const auto& [name, value] = setting;
    if (const bool* flag = std::get_if<bool>(&value))
        return writer.writeBool(name, *flag);
    if (const qint32* number = std::get_if<qint32>(&value))
        return writer.writeInteger(name, *number);
    return writer.writeString(name, std::get<QString>(value));
}

}  // namespace

bool writeSettings(SettingsWriter& writer, const std::vector<SettingValue>& values)
{
    std::optional<QString> failed;
    if (writer.open()) {
        for (const SettingValue& value : values) {
            if (!writeValue(writer, value)) {
                failed = value.first;
                break;
            }
        }
    }
    // What closing could not store was written before the write that failed.
    if (std::optional<QString> unstored = writer.close())
        failed = std::move(unstored);
    if (failed)
        ui::showMessage("Failed to set data for '" + *failed + "'");
    return !failed;
}
