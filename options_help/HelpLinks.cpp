#include "options_help/HelpLinks.h"

#include "core/frmMain.h"
#include "core/modHttp.h"
#include "core/modMain.h"
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

bool OpenProgramWindow(const QString &name)
{
    // The main window opens every window a link names, through the same path and with the
    // same refusals as its menus and toolbar.
    frmMain *main = frmMain::Get();
    const bool opened = main->OpenWindow(name);
    if (opened && main->isVisible()) {
        main->raise();
        main->activateWindow();
    }
    return opened;
}

} // namespace helplinks
