#pragma once

// The program's settings key: named values in the INI file $XDG_CONFIG_HOME/Corvane/Corvane.conf
// (~/.config when XDG_CONFIG_HOME is unset). Booleans and integers are stored as integers, texts
// as texts. One object is one opening of the key; the values are flushed when it is destroyed.

#include <QString>
#include <memory>
#include <optional>

class QSettings;

class Registry {
public:
    Registry();   // opens the key, creating it when it does not exist
    ~Registry();
    Registry(const Registry&) = delete;
    Registry& operator=(const Registry&) = delete;

    // False when the key can be neither read nor written; every read then answers nothing and
    // every write is skipped.
    bool isOpen() const { return settings != nullptr; }

    bool valueExists(const QString& name) const;

    // Each answers nothing when the value is missing or stored with another type.
    std::optional<bool> readBool(const QString& name) const;
    std::optional<qint32> readInteger(const QString& name) const;
    std::optional<QString> readString(const QString& name) const;

    void writeBool(const QString& name, bool value);
    void writeInteger(const QString& name, qint32 value);
    void writeString(const QString& name, const QString& value);

    static QString filePath();

private:
    std::unique_ptr<QSettings> settings;
};
