#include "core/frmLogin.h"
#include "core/modMain.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

frmLogin::frmLogin()
{
    setObjectName("frmLogin");
    auto *lay = new QVBoxLayout(this);
    txtPCUserName = new QLineEdit(this);
    txtPCUserName->setObjectName("txtPCUserName");
    lay->addWidget(txtPCUserName);
    frMsg = new QGroupBox(this);
    frMsg->setObjectName("frMsg");
    auto *msgLay = new QVBoxLayout(frMsg);
    lblMsg = new QLabel(frMsg);
    lblMsg->setObjectName("lblMsg");
    lblMsg->setWordWrap(true);
    msgLay->addWidget(lblMsg);
    lblMsg1 = new QLabel(frMsg);
    lblMsg1->setObjectName("lblMsg1");
    msgLay->addWidget(lblMsg1);
    lay->addWidget(frMsg);
    lblInfo = new QLabel(this);
    lblInfo->setObjectName("lblInfo");
    lblInfo->setWordWrap(true);
    lay->addWidget(lblInfo);
    for (int i = 0; i < 2; ++i) {
        btn[i] = new QPushButton(this);
        btn[i]->setObjectName(QStringLiteral("btn_%1").arg(i));
        lay->addWidget(btn[i]);
    }
    modMain::FormLoaded[modMain::fiLogin] = true;
}

frmLogin::~frmLogin()
{
    modMain::FormLoaded[modMain::fiLogin] = false;
    Forget(this);
}
