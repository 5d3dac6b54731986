#pragma once
// The timers window: a child window of the main window that lists the loaded timers and
// records time with them. Its members are grouped by area; each area's code lives in its own
// source file (named in the area's heading).
#include "core/FormInstance.h"

#include <QWidget>

class QMdiSubWindow;

class frmStart : public QWidget, public FormInstance<frmStart> {
    Q_OBJECT
public:
    frmStart();
    ~frmStart() override;

    QMdiSubWindow *subWindow() const { return m_sub; }

    // ==== controls of the window, as a designer would lay them out (frmStart_Controls.cpp) ==
    // Creates every control of the window except the menus; the constructor calls it first.
    void CreateControls();
    // ==== end of controls ===============================================================

    // ==== window frame: load, activation, menus, texts (frmStart.cpp) ====================
    // Shows the window inside the main window.
    void ShowForm();
    void ApplyLang();
    // Reports the outcome of a version check; showAlways false reports a newer version only.
    void DisplayUpdatesResult(bool showAlways);
    // ==== end of window frame ===========================================================

    // ==== recording: timers grid, start/stop, saving (frmStart_Recording.cpp) =============
    // ==== end of recording ==============================================================

    // ==== display: the running time in digits (frmStart_Display.cpp) ======================
    // ==== end of display ================================================================

    // ==== hand-over of timers across runs (frmStart_HandOver.cpp) =========================
    // ==== end of hand-over ==============================================================

    // ==== tray menu and hot key (frmStart_Tray.cpp) ======================================
    // ==== end of tray menu and hot key ==================================================

private:
    QMdiSubWindow *m_sub = nullptr;

    // ==== private members: each area keeps its own below its heading ====================
    // ---- window frame
    // ---- recording
    // ---- display
    // ---- hand-over
    // ---- tray menu and hot key
};
