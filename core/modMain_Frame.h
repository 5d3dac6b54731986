#pragma once
// The main window's status line (namespace modMain).
#include <QString>
#include <cstdint>
#include <functional>

namespace modMain {

// Puts " " + the text of string id (on one line) + suffix into the main window's status line;
// an id below 0 empties it. Nothing happens while the main window is not loaded.
void SetStatus(int16_t id, const QString &suffix = QString());
// Puts " " + text into the status line as it stands (a text that is not in the string table,
// such as a window's own status); an empty text empties the line.
void SetStatusText(const QString &text);

// Where SetStatus writes: the main window hands in its status line when it loads and takes
// it back (an empty function) when it unloads, so that the services need no window.
void SetStatusLine(std::function<void(const QString &text)> line);

} // namespace modMain
