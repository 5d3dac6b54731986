#pragma once
// Where the help pages' link commands lead outside the help window: the service's web site in
// the person's browser, and the program's own windows, opened the way their menu or toolbar
// entries open them.
#include <QCursor>
#include <QString>

class QWidget;

namespace helplinks {

// The service's web site: scheme, host and port of the address the requests go to.
QString WebSiteAddress();
// The page of the web site the help and the about panel open.
QString WebSitePage();
// Opens WebSitePage() with the desktop's handler.
void OpenWebSite(QWidget *owner);

// The pointer over a link: the program's hand picture.
QCursor HandCursor();

// Brings the named window to the front, or opens it through the same path as its menu or
// toolbar entry, with the same refusals and questions: frmStart, frmDaily, frmDailyExp,
// frmSynch, frmOptions, and frmLogin (opened for reading only). False for any other name.
bool OpenProgramWindow(const QString &name);

} // namespace helplinks
