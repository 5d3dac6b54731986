#pragma once
// The person's profile in the settings file (namespace modMain).
//
// The profile variables of modMain.h are stored as text under the application "Tarv":
// section "user" (user, passw, pcuser, fullname, langid), "org" (timestart, timeend as
// "hh:mm:ss") and "tarv" (autostart, autocheck, autosynch, showballoons, timeout, vkey, vmask).
#include <QString>
#include <cstdint>

namespace modMain {

// The application name of the program's settings.
inline const QString SettingsApp = QStringLiteral("Tarv");

// Fills the profile variables from the settings. A missing value takes its default; so does a
// numeric value that is not a number (or a language outside 0..3), and loading goes on with the
// next key, so that a hand-edited file never keeps the program from starting. The stored
// credentials are decrypted with Crypto (made here when Main has not made it yet) and
// URL-encoded into UserNameURL and PasswordURL; an empty stored value leaves its URL variable
// as it is.
void LoadSettings();

// Writes the fourteen values of "user", "org" and "tarv" from the variables (the credentials
// as stored, encrypted; the URL variables are never written). Throws registry::RegistryError
// when the settings file cannot be written.
void SaveSettings();

// The defaults of a new profile: working day 09:00:00 to 17:00:00, the four options on,
// hot key Ctrl+F10 (121, mask 2), time-out 15 seconds. Language and credentials stay.
void SetDefaultSettings();

// LangID from the person's language: Greek (1032) 1, French (1036) 2, German (1031) 3, any
// other id 0 (regional variants such as Swiss German 2055 included).
void SetDefaultLang();

// Creates (on) or removes (off) the autostart entry "Tarvelo Desktop" that starts the program
// folder's TarveloPC. Turning it off sets AutoStart to 0 first; removing an entry that is not
// there is no error. Throws shell::ShellError when the entry cannot be written or removed.
void SetStartupShortcut(bool on);

} // namespace modMain
