// The profile in the settings file, its defaults, the default language and the autostart entry.
#include "core/modMain.h"

#include "core/CCrypto.h"
#include "core/modHttp.h"
#include "platform/registry/Registry.h"
#include "platform/shell/Shell.h"
#include "platform/system/LangId.h"

#include <QLocale>
#include <cmath>
#include <exception>
#include <limits>

namespace modMain {

namespace {

const QString kUser = QStringLiteral("user");
const QString kOrg = QStringLiteral("org");
const QString kTarv = QStringLiteral("tarv");
const QString kStartupEntry = QStringLiteral("Tarvelo Desktop");

QString Get(const QString &section, const QString &key, const QString &def = QString())
{
    return registry::GetSetting(SettingsApp, section, key, def);
}

void Save(const QString &section, const QString &key, const QString &value)
{
    registry::SaveSetting(SettingsApp, section, key, value);
}

// A stored integer, rounded to the nearest (halves to even) as the settings have always been
// read; false when the text is not a number or does not fit 16 bits.
bool ToInt16(const QString &text, int16_t &value)
{
    bool ok = false;
    const double d = QLocale::c().toDouble(text.trimmed(), &ok);
    if (!ok || !std::isfinite(d))
        return false;
    const double r = std::nearbyint(d);
    if (r < std::numeric_limits<int16_t>::min() || r > std::numeric_limits<int16_t>::max())
        return false;
    value = static_cast<int16_t>(r);
    return true;
}

// A numeric option: its stored value, or def when it is missing or not a number.
int16_t GetInt16(const QString &section, const QString &key, int16_t def)
{
    int16_t value = def;
    if (!ToInt16(Get(section, key, QString::number(def)), value))
        return def;
    return value;
}

// A time of day stored as "hh:mm:ss", or def when it is missing or unreadable.
double GetTime(const QString &key, const QString &def)
{
    QString text = Get(kOrg, key);
    if (text.isEmpty())
        text = def;
    try {
        return TimeStrToSecs(text);
    } catch (const std::exception &) {
        return TimeStrToSecs(def);
    }
}

QString DecryptForURL(const QString &stored)
{
    return modHttp::URLEncode(Crypto->Decrypt(stored, CryptoPassPhrase, false, CCrypto::TypeRC2));
}

} // namespace

void LoadSettings()
{
    StoredPassword = Get(kUser, QStringLiteral("passw"));
    StoredUserName = Get(kUser, QStringLiteral("user"));
    if (!StoredPassword.isEmpty() || !StoredUserName.isEmpty()) {
        try {
            if (!Crypto)
                Crypto = std::make_unique<CCrypto>();
            if (!StoredPassword.isEmpty())
                PasswordURL = DecryptForURL(StoredPassword);
            if (!StoredUserName.isEmpty())
                UserNameURL = DecryptForURL(StoredUserName);
        } catch (const CCryptoError &e) {
            // Without the encryption component the credentials stay unread (start-up tells
            // the person); the rest of the profile still loads, so the program can start.
            if (e.Number() != CCrypto::ErrAcquireContext)
                throw;
        }
    }

    PCUserName = Get(kUser, QStringLiteral("pcuser"));
    UserFullName = Get(kUser, QStringLiteral("fullname"));

    // Only an empty language is taken from the desktop; "0" is English by choice. A value
    // outside the four languages would make the string lookup read past its row.
    const QString lang = Get(kUser, QStringLiteral("langid"));
    int16_t langId = 0;
    if (!lang.isEmpty() && ToInt16(lang, langId) && langId >= 0 && langId <= 3)
        LangID = langId;
    else
        SetDefaultLang();

    WorkDayStart = GetTime(QStringLiteral("timestart"), QStringLiteral("09:00:00"));
    WorkDayEnd = GetTime(QStringLiteral("timeend"), QStringLiteral("17:00:00"));

    AutoStart = GetInt16(kTarv, QStringLiteral("autostart"), 1);
    AutoCheck = GetInt16(kTarv, QStringLiteral("autocheck"), 1);
    AutoSynch = GetInt16(kTarv, QStringLiteral("autosynch"), 1);
    ShowBalloons = GetInt16(kTarv, QStringLiteral("showballoons"), 1);
    TimeOut = GetInt16(kTarv, QStringLiteral("timeout"), 15);
    HotKeyCode = GetInt16(kTarv, QStringLiteral("vkey"), 121);
    HotKeyMask = GetInt16(kTarv, QStringLiteral("vmask"), 2);
}

void SaveSettings()
{
    Save(kUser, QStringLiteral("user"), StoredUserName);
    Save(kUser, QStringLiteral("passw"), StoredPassword);
    Save(kUser, QStringLiteral("pcuser"), PCUserName);
    Save(kUser, QStringLiteral("fullname"), UserFullName);
    Save(kUser, QStringLiteral("langid"), QString::number(LangID));
    Save(kOrg, QStringLiteral("timestart"), SecsToHMS(WorkDayStart));
    Save(kOrg, QStringLiteral("timeend"), SecsToHMS(WorkDayEnd));
    Save(kTarv, QStringLiteral("autostart"), QString::number(AutoStart));
    Save(kTarv, QStringLiteral("autocheck"), QString::number(AutoCheck));
    Save(kTarv, QStringLiteral("autosynch"), QString::number(AutoSynch));
    Save(kTarv, QStringLiteral("showballoons"), QString::number(ShowBalloons));
    Save(kTarv, QStringLiteral("timeout"), QString::number(TimeOut));
    Save(kTarv, QStringLiteral("vkey"), QString::number(HotKeyCode));
    Save(kTarv, QStringLiteral("vmask"), QString::number(HotKeyMask));
}

void SetDefaultSettings()
{
    WorkDayStart = 32400;
    WorkDayEnd = 61200;
    AutoStart = 1;
    AutoSynch = 1;
    AutoCheck = 1;
    ShowBalloons = 1;
    HotKeyCode = 121;
    HotKeyMask = 2;
    TimeOut = 15;
}

void SetDefaultLang()
{
    switch (sysplat::UserDefaultLangID()) {
    case 1032: LangID = 1; break;
    case 1036: LangID = 2; break;
    case 1031: LangID = 3; break;
    default: LangID = 0; break;
    }
}

void SetStartupShortcut(bool on)
{
    if (on) {
        const QString folder = AppPath();
        shell::CreateAutostartEntry(kStartupEntry, folder + QStringLiteral("/TarveloPC"), folder);
        return;
    }
    // The option is off even when the entry cannot be removed.
    AutoStart = 0;
    shell::RemoveAutostartEntry(kStartupEntry);
}

} // namespace modMain
