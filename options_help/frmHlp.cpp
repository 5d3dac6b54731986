#include "options_help/frmHlp.h"
#include "core/modMain.h"

#include <QMdiSubWindow>
#include <QMenuBar>
#include <QUrl>
#include <QVBoxLayout>

HelpBrowser::HelpBrowser(QWidget *parent) : QTextBrowser(parent)
{
    setOpenLinks(true);
}

void HelpBrowser::Navigate2(const QString &path)
{
    m_location = path;
    setSource(QUrl::fromLocalFile(path));
}

frmHlp::frmHlp()
{
    setObjectName("frmHlp");
    setWindowTitle(QStringLiteral("Tarvelo Desktop help"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    mnuBar = new QMenuBar(this);
    mnuBar->setObjectName("mnuBar");
    layout->setMenuBar(mnuBar);
    WBr = new HelpBrowser(this);
    WBr->setObjectName("WBr");
    layout->addWidget(WBr);
    resize(640, 480);
    PlaceInMainWindow(QStringLiteral("frmHlpSub"));
    ApplyLang();
    modMain::FormLoaded[modMain::fiHlp] = true;
}

frmHlp::~frmHlp()
{
    modMain::FormLoaded[modMain::fiHlp] = false;
    Forget(this);
}

void frmHlp::setVisible(bool visible)
{
    ChildWindow::setVisible(visible);
    if (visible && WBr->LocationPath().isEmpty() && !m_startPage.isEmpty())
        WBr->Navigate2(m_startPage);
}

void frmHlp::SetStartPage(const QString &path)
{
    m_startPage = path;
    if (isVisible())
        WBr->Navigate2(path);
}

void frmHlp::ApplyLang()
{
    modMain::ApplyLangOrTell([&] {
        modMain::ApplyTagCaptions(this);
    });
}
