#pragma once
// The daily time-log window: a child window of the main window for one day's time-log
// entries. Its grid, entry editor and commands grow with the time-log editor itself.
#include "core/ChildWindow.h"
#include "core/FormInstance.h"

#include <QWidget>

class frmDaily : public ChildWindow, public FormInstance<frmDaily> {
    Q_OBJECT
public:
    frmDaily();
    ~frmDaily() override;

    // Every caption of the window in the current language; a failure is told and LangID goes
    // back to PrevLangID.
    void ApplyLang();
};
