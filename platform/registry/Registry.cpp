#include "platform/registry/Registry.h"

#include <QDir>
#include <QSettings>
#include <QStringList>
#include <QVariant>

namespace registry {

namespace {

QString ConfigHome()
{
    const QString xdg = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (!xdg.isEmpty() && QDir::isAbsolutePath(xdg))
        return QDir::cleanPath(xdg);
    return QDir::homePath() + QStringLiteral("/.config");
}

QString Path(const QString &section, const QString &key)
{
    return section + QLatin1Char('/') + key;
}

void Commit(QSettings &settings)
{
    settings.sync();
    if (settings.status() != QSettings::NoError)
        throw RegistryError("cannot write the settings file " + settings.fileName().toStdString());
}

} // namespace

QString SettingsFilePath(const QString &appName)
{
    return ConfigHome() + QLatin1Char('/') + appName + QLatin1Char('/') + appName + QStringLiteral(".ini");
}

QString GetSetting(const QString &appName, const QString &section, const QString &key,
                   const QString &defaultValue)
{
    QSettings settings(SettingsFilePath(appName), QSettings::IniFormat);
    const QVariant value = settings.value(Path(section, key));
    if (!value.isValid())
        return defaultValue;
    // A hand-edited value with unquoted commas reads back as a list.
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList().join(QStringLiteral(", "));
    return value.toString();
}

void SaveSetting(const QString &appName, const QString &section, const QString &key,
                 const QString &value)
{
    QSettings settings(SettingsFilePath(appName), QSettings::IniFormat);
    settings.setValue(Path(section, key), value);
    Commit(settings);
}

void DeleteSetting(const QString &appName, const QString &section, const QString &key)
{
    QSettings settings(SettingsFilePath(appName), QSettings::IniFormat);
    settings.remove(key.isEmpty() ? section : Path(section, key));
    Commit(settings);
}

} // namespace registry
