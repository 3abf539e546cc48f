#pragma once

// Where the dialogs write the settings they change: the settings key, or a stand-in in tests.

#include <QString>
#include <memory>
#include <optional>
#include <utility>
#include <variant>
#include <vector>

class Registry;

class SettingsWriter {
public:
    virtual ~SettingsWriter() = default;

    // Opens the key, creating it when missing; false when it can be neither opened nor created.
    virtual bool open() = 0;
    // Answers the name of the first value written that could not be stored, nothing when all were.
    virtual std::optional<QString> close() = 0;
    // Each answers false when the value could not be set.
    virtual bool writeBool(const QString& name, bool value) = 0;
    virtual bool writeInteger(const QString& name, qint32 value) = 0;
    virtual bool writeString(const QString& name, const QString& value) = 0;
};

// The settings key. Its layer keeps every value and stores them together when the key is
// closed, so no single write fails: closing tells whether they were stored.
class RegistryWriter : public SettingsWriter {
public:
    RegistryWriter();
    ~RegistryWriter() override;

    bool open() override;
    std::optional<QString> close() override;
    bool writeBool(const QString& name, bool value) override;
    bool writeInteger(const QString& name, qint32 value) override;
    bool writeString(const QString& name, const QString& value) override;

private:
    std::unique_ptr<Registry> key;
};

using SettingValue = std::pair<QString, std::variant<bool, qint32, QString>>;

// Writes the values in order between opening and closing the key. A key that cannot be opened
// takes nothing, silently. A write that fails, or values that closing could not store, are
// reported and end the writing; only then is the answer false.
bool writeSettings(SettingsWriter& writer, const std::vector<SettingValue>& values);
