#pragma once
// The main window's status line (namespace modMain).
#include <QString>
#include <cstdint>

namespace modMain {

// Puts " " + the text of string id (on one line) + suffix into the main window's status line;
// an id below 0 empties it. Nothing happens while the main window is not loaded.
void SetStatus(int16_t id, const QString &suffix = QString());
// Puts " " + text into the status line as it stands (a text that is not in the string table,
// such as a window's own status); an empty text empties the line.
void SetStatusText(const QString &text);

} // namespace modMain
