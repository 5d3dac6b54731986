#pragma once
// The main window: the multiple-document frame of the program.
#include "core/FormInstance.h"

#include <QMainWindow>

class QMdiArea;
class QProgressBar;
class QLabel;
class QTreeWidget;

class frmMain : public QMainWindow, public FormInstance<frmMain> {
    Q_OBJECT
public:
    frmMain();
    ~frmMain() override;

    // ==== the frame: toolbar, flags, connection indicator, status, icon (frmMain.cpp) =====
    // Checks the connection and keeps the result in modMain::IsConnected.
    void CheckConnection();

    QMdiArea *mdi = nullptr;
    QProgressBar *PgB = nullptr;   // progress bar of long operations, hidden at rest
    QLabel *lblUser = nullptr;     // the person's name line
    QLabel *lblStatus = nullptr;   // the status line
    // ==== end of the frame ==============================================================

    // ==== daily download of the reference tables (frmMain_Synch.cpp) =====================
    void SynchTables();
    // ==== end of daily download =========================================================

private:
    // ---- the frame
    // ---- daily download
};
