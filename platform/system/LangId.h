#pragma once
// The person's language as a Windows language id (the numbers the program's settings have
// always compared with: 1032 Greek, 1036 French, 1031 German, 1033 English of the US, ...),
// taken from the POSIX locale.
#include <QString>
#include <cstdint>

namespace sysplat {

// The language id of a locale name such as "el_GR.UTF-8" or "de_CH@euro":
// - a known language and territory gives its id (el_GR 1032, fr_FR 1036, de_DE 1031,
//   de_CH 2055, en_US 1033, en_GB 2057, ...);
// - a language alone gives the id of its main territory ("de" 1031);
// - "C", "POSIX" and an empty name give 1033;
// - anything else gives 4096, the id of a locale that has none of its own.
uint16_t LangIdOfLocale(const QString &localeName);

// The id of the person's messages locale: the first non-empty of LC_ALL, LC_MESSAGES, LANG.
uint16_t UserDefaultLangID();

} // namespace sysplat
