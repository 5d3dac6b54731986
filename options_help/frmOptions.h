#pragma once
// The options window: a child window of the main window in which the person changes the
// settings of the profile. Its tree lstOptions lists the options by group; the dialog's
// controls and its saving grow with the options dialog itself.
#include "core/ChildWindow.h"
#include "core/FormInstance.h"

#include <QWidget>

namespace forms { class TreeView; }

class frmOptions : public ChildWindow, public FormInstance<frmOptions> {
    Q_OBJECT
public:
    frmOptions();
    ~frmOptions() override;

    // Captions in the current language; a failure is told and LangID goes back to PrevLangID.
    void ApplyLang();
    // Fills lstOptions again from the current settings, captioned in the current language.
    void LoadLstOptions();

    forms::TreeView *lstOptions = nullptr;
};
