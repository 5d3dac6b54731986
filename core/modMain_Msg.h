#pragma once
// The program's own message box (namespace modMain).
#include <QString>
#include <cstdint>

namespace modMain {

// Shows a modal, top-most box and returns the button pressed (1 OK ... 7 No, 0 none).
// style = button set (0..5) + icon (16, 32, 48, 64) + default button (0, 256, 512, 768).
// An empty title becomes "Tarvelo Desktop". The box's buttons are named "btnOK", "btnCancel",
// "btnAbort", "btnRetry", "btnIgnore", "btnYes", "btnNo" and "btnHelp"; its close command
// counts as the set's Cancel or No button (as OK when OK is the only one).
int32_t ShowMsg(const QString &prompt, int32_t style = 0, const QString &title = QString(),
                const QString &helpFile = QString(), int32_t helpContext = 0);

} // namespace modMain
