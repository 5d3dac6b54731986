#pragma once
// The per-user program settings: text values kept by application, section and key, in an INI
// file of the person's settings folder, $XDG_CONFIG_HOME/<application>/<application>.ini
// ($HOME/.config when XDG_CONFIG_HOME is unset or not absolute). The folder is looked up on
// every call, so a change of XDG_CONFIG_HOME takes effect at once.
//
// Any character of a value survives a save and a load, NUL and the control characters
// included (encrypted credentials are stored here).
#include <QString>
#include <stdexcept>

namespace registry {

// A settings file that cannot be written.
class RegistryError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The settings file of an application.
QString SettingsFilePath(const QString &appName);

// The stored value, or defaultValue when the key is not there.
QString GetSetting(const QString &appName, const QString &section, const QString &key,
                   const QString &defaultValue = QString());

// Stores a value (creating the file, the section and the key as needed); throws RegistryError
// when the file cannot be written.
void SaveSetting(const QString &appName, const QString &section, const QString &key,
                 const QString &value);

// Removes one key, or the whole section when key is empty. A key or section that is not
// there is no error; throws RegistryError when the file cannot be written.
void DeleteSetting(const QString &appName, const QString &section, const QString &key = QString());

} // namespace registry
