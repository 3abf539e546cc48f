#pragma once

// The program's settings key: named values in the INI file $XDG_CONFIG_HOME/Corvane/Corvane.conf
// (~/.config when XDG_CONFIG_HOME is unset). Booleans and integers are stored as integers, texts
// as texts. One object is one opening of the key; the values written are kept together and stored
// by store(), or else when the object is destroyed.

#include <QString>
#include <memory>
#include <optional>

class QSettings;

class Registry {
public:
    // Opens the key, creating it when it does not exist. A file that can be read but not written
    // is still read; what is written to it then fails to be stored.
    Registry();
    ~Registry();
    Registry(const Registry&) = delete;
    Registry& operator=(const Registry&) = delete;

    // False when the key can be neither read nor created; every read then answers nothing and
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

    // Stores the values written since the key was opened; answers the name of the first of them
    // when they could not be stored, nothing when they were.
    std::optional<QString> store();

    static QString filePath();

private:
    std::unique_ptr<QSettings> settings;
    QString firstWritten;
};
