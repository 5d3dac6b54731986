#pragma once
// The language string table (namespace modMain).
#include <QString>
#include <cstdint>

namespace modMain {

// Text of string id in the current language (LangID), falling back to English; "~" becomes a
// space when oneLine is true, else a line break (CR LF). An unknown id gives "".
QString GetLangString(int16_t id, bool oneLine = false);

} // namespace modMain
