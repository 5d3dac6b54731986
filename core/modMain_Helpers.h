#pragma once
// Shared window and query helpers of the main module (namespace modMain).
#include <QString>
#include <cstdint>

class QWidget;

namespace modMain {

// Pauses for the given seconds without letting the event loop run (what was painted stays).
void WaitSecs(double secs);

// Fading windows: Qt's window opacity serves for layered windows. MakeLayered prepares a
// window for it, SetAlpha sets its opacity (0 transparent .. 255 opaque).
void MakeLayered(QWidget *window);
void SetAlpha(QWidget *window, uint8_t alpha);

} // namespace modMain
