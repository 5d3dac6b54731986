#include "recorder/frmStart.h"
#include "core/frmMain.h"
#include "core/modMain.h"

#include <QMdiArea>
#include <QMdiSubWindow>

frmStart::frmStart()
{
    setObjectName("frmStart");
    setWindowTitle(QStringLiteral("Live Recording"));
    CreateControls();
    frmMain *main = frmMain::Get();
    m_sub = main->mdi->addSubWindow(this);
    m_sub->setObjectName("frmStartSub");
    m_sub->move(0, 0);
    ApplyLang();
    modMain::FormLoaded[modMain::fiStart] = true;
}

frmStart::~frmStart()
{
    Forget(this);
}

void frmStart::ShowForm()
{
    m_sub->show();
    show();
    modMain::FormLoaded[modMain::fiStart] = true;
}

void frmStart::ApplyLang()
{
    if (modMain::LangTableText.isEmpty())
        return;
}

void frmStart::DisplayUpdatesResult(bool showAlways)
{
    (void)showAlways;
}
