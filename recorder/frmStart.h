#pragma once
// The timers window: a child window of the main window that lists the loaded timers and
// records time with them.
#include "core/FormInstance.h"

#include <QWidget>

class QMdiSubWindow;

class frmStart : public QWidget, public FormInstance<frmStart> {
    Q_OBJECT
public:
    frmStart();
    ~frmStart() override;

    // Shows the window inside the main window.
    void ShowForm();
    QMdiSubWindow *subWindow() const { return m_sub; }

    void ApplyLang();
    // Reports the outcome of a version check; showAlways false reports a newer version only.
    void DisplayUpdatesResult(bool showAlways);

private:
    QMdiSubWindow *m_sub = nullptr;
};
