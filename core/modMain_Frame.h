#pragma once
// The main window's status line (namespace modMain).
#include <QString>
#include <cstdint>

namespace modMain {

// Puts " " + the text of string id (on one line) + suffix into the main window's status line;
// an id below 0 empties it. Nothing happens while the main window is not loaded.
void SetStatus(int16_t id, const QString &suffix = QString());

} // namespace modMain
