#include "options_help/HelpLinks.h"

#include "core/frmLogin.h"
#include "core/frmMain.h"
#include "core/modHttp.h"
#include "core/modMain.h"
#include "options_help/frmOptions.h"
#include "recorder/frmStart.h"
#include "resources/Pictures.h"

#include <QUrl>

namespace helplinks {

QString WebSiteAddress()
{
    const QUrl endpoint(modHttp::ServiceEndpoint());
    return endpoint.adjusted(QUrl::RemovePath | QUrl::RemoveQuery | QUrl::RemoveFragment).toString();
}

QString WebSitePage()
{
    return WebSiteAddress() + QStringLiteral("/web/action.do?null");
}

void OpenWebSite(QWidget *owner)
{
    modMain::ShellOpen(owner, WebSitePage());
}

QCursor HandCursor()
{
    const QPixmap hand = res::Picture(QStringLiteral("HAND"));
    if (hand.isNull())
        return QCursor(Qt::PointingHandCursor);
    // the tip of the index finger
    return QCursor(hand, 12, 1);
}

namespace {

// The main window comes forward with the window a link opened inside it.
void MainToFront()
{
    frmMain *main = frmMain::Peek();
    if (main && main->isVisible()) {
        main->raise();
        main->activateWindow();
    }
}

// The toolbar entry of the main window: 0 timers, 1 daily log, 2 expenses, 3 synchronisation.
// Its handler makes the checks (expenses allowed, the question while offline), opens or
// brings the window, and moves the toolbar marker.
void Toolbar(int16_t index)
{
    frmMain::Get()->btn_MouseUp(index);
    MainToFront();
}

} // namespace

bool OpenProgramWindow(const QString &name)
{
    using namespace modMain;
    if (name == QStringLiteral("frmStart")) {
        Toolbar(0);
    } else if (name == QStringLiteral("frmDaily")) {
        Toolbar(1);
    } else if (name == QStringLiteral("frmDailyExp")) {
        Toolbar(2);
    } else if (name == QStringLiteral("frmSynch")) {
        Toolbar(3);
    } else if (name == QStringLiteral("frmOptions")) {
        if (frmOptions *open = frmOptions::Peek(); open && FormLoaded[fiOptions]) {
            open->show();
            open->raise();
        } else {
            // The timers window's entry refuses while a timer runs.
            frmStart::Get()->mnuOptions_Form_Click();
        }
        MainToFront();
    } else if (name == QStringLiteral("frmLogin")) {
        frmLogin *login = frmLogin::Peek();
        if (login && FormLoaded[fiLogin]) {
            login->show();
            login->raise();
            login->activateWindow();
        } else {
            frmLogin::Get()->OpenForReading();
        }
    } else {
        return false;
    }
    return true;
}

} // namespace helplinks
