#pragma once

// Where the dialogs write the settings they change: the settings key, or a stand-in in tests.

#include <QString>
#include <memory>
#include <utility>
#include <variant>
#include <vector>

class Registry;

class SettingsWriter {
public:
    virtual ~SettingsWriter() = default;

    // Opens the key, creating it when missing; false when it can be neither opened nor created.
    virtual bool open() = 0;
    virtual void close() = 0;
    // Each answers false when the value could not be set.
    virtual bool writeBool(const QString& name, bool value) = 0;
    virtual bool writeInteger(const QString& name, qint32 value) = 0;
    virtual bool writeString(const QString& name, const QString& value) = 0;
};

// The settings key. Its layer keeps every value and stores them together when the key is
// closed, so no single write fails.
class RegistryWriter : public SettingsWriter {
public:
    RegistryWriter();
    ~RegistryWriter() override;

    bool open() override;
    void close() override;
    bool writeBool(const QString& name, bool value) override;
    bool writeInteger(const QString& name, qint32 value) override;
    bool writeString(const QString& name, const QString& value) override;

private:
    std::unique_ptr<Registry> key;
};

using SettingValue = std::pair<QString, std::variant<bool, qint32, QString>>;

// Writes the values in order between opening and closing the key. A key that cannot be opened
// takes nothing, silently. A write that fails is reported and ends the writing; only then is the
// answer false.
bool writeSettings(SettingsWriter& writer, const std::vector<SettingValue>& values);
