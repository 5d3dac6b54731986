#pragma once
// Shared window and query helpers of the main module (namespace modMain).
#include <QString>
#include <cstdint>

namespace modMain {

// Pauses for the given seconds without letting the event loop run (what was painted stays).
void WaitSecs(double secs);

} // namespace modMain
