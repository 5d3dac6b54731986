#pragma once
// The sign-in window; at the first run it is also the progress screen of the database creation.
#include "core/FormInstance.h"

#include <QWidget>
#include <array>

class QPushButton;
class QLabel;
class QLineEdit;
class QGroupBox;

class frmLogin : public QWidget, public FormInstance<frmLogin> {
    Q_OBJECT
public:
    frmLogin();
    ~frmLogin() override;

    std::array<QPushButton *, 2> btn{};  // 0 confirm ("OK"), 1 the other button
    QGroupBox *frMsg = nullptr;           // message frame; x 60 (twips) shows it, -12000 hides it
    QLabel *lblMsg = nullptr;             // progress text
    QLabel *lblMsg1 = nullptr;            // detail line under the message
    QLabel *lblInfo = nullptr;            // information label; its tag holds the string id
    QLineEdit *txtPCUserName = nullptr;   // logon name box
};
