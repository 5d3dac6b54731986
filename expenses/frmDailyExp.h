#pragma once
// The daily expenses window: a child window of the main window for one day's expenses. Its
// grid, editor and commands grow with the expenses editor itself.
#include "core/ChildWindow.h"
#include "core/FormInstance.h"

#include <QWidget>

class frmDailyExp : public ChildWindow, public FormInstance<frmDailyExp> {
    Q_OBJECT
public:
    frmDailyExp();
    ~frmDailyExp() override;

    // Every caption of the window in the current language; a failure is told and LangID goes
    // back to PrevLangID.
    void ApplyLang();
};
