#include "core/frmMain.h"
#include "core/modMain.h"

#include <QLabel>
#include <QMdiArea>
#include <QProgressBar>
#include <QStatusBar>
#include <QVBoxLayout>

frmMain::frmMain()
{
    setObjectName("frmMain");
    setWindowTitle(QStringLiteral("Tarvelo Desktop Companion"));
    mdi = new QMdiArea(this);
    mdi->setObjectName("mdi");
    setCentralWidget(mdi);
    PgB = new QProgressBar(this);
    PgB->setObjectName("PgB");
    PgB->setRange(0, 100);
    PgB->setVisible(false);
    lblUser = new QLabel(this);
    lblUser->setObjectName("lblUser");
    lblStatus = new QLabel(this);
    lblStatus->setObjectName("lblStatus");
    statusBar()->addWidget(lblStatus, 1);
    statusBar()->addPermanentWidget(PgB);
}

frmMain::~frmMain()
{
    Forget(this);
}

void frmMain::CheckConnection()
{
    int16_t flags = 0;
    modMain::IsConnected = modMain::IsOnline(flags);
}

