#include "options_help/frmOptions.h"
#include "core/modMain.h"
#include "platform/forms/TreeView.h"
#include "platform/forms/Units.h"

#include <QMdiSubWindow>

frmOptions::frmOptions()
{
    setObjectName("frmOptions");
    setWindowTitle(QStringLiteral("Options"));
    resize(forms::TwipsToPixels(7800), forms::TwipsToPixels(6000));
    lstOptions = new forms::TreeView(this);
    lstOptions->setObjectName("lstOptions");
    forms::Move(lstOptions, 120, 120, 3600, 5700);
    PlaceInMainWindow(QStringLiteral("frmOptionsSub"));
    m_sub->move(0, 0);
    ApplyLang();
    LoadLstOptions();
    modMain::FormLoaded[modMain::fiOptions] = true;
}

frmOptions::~frmOptions()
{
    modMain::FormLoaded[modMain::fiOptions] = false;
    Forget(this);
}

void frmOptions::ApplyLang()
{
    modMain::ApplyLangOrTell([&] {
        modMain::ApplyTagCaptions(this);
    });
}

void frmOptions::LoadLstOptions()
{
    // The option nodes come with the dialog's own controls; until then the tree stays empty.
    lstOptions->Clear();
}
