#pragma once
// The sign-in window: links the desktop's logon name to an account of the web service and
// creates the person's local profile. At the first run start-up also uses it as the progress
// screen of the database creation (frMsg with lblMsg and lblMsg1 over the rest).
#include "core/FormInstance.h"
#include "core/Progress.h"

#include <QString>
#include <QWidget>
#include <array>

class QAction;
class QCloseEvent;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QMenuBar;
class QPushButton;

// As a progress display (the database creation, start-up's messages) the window shows the
// step in lblMsg and its detail in lblMsg1, and the value in the main window's progress bar
// while the main window is loaded. ResultLine() shows a request's lines in lblResult element 1.
class frmLogin : public QWidget, public FormInstance<frmLogin>, public modMain::Progress {
    Q_OBJECT
public:
    frmLogin();  // Form_Load
    ~frmLogin() override;  // Form_Unload

    void ShowStep(const QString &caption, const QString &detail) override;
    void SetBarValue(int value) override;
    void SetBarVisible(bool visible) override;
    // The line under the check's button where the service check shows how far it got.
    modMain::Progress *ResultLine() { return &m_resultLine; }
    // Shows the window and lets the window system map and paint it before the caller goes
    // on with work that keeps the event loop from running.
    void ShowPainted();

    // Captions from the string table in the current language; each captioned control carries
    // its string id in its Tag. lblInfo's Tag names the second part of its text.
    void ApplyLang();

    // Event handlers (connected to the controls; tests call them too).
    void btnLogin_Click();
    void btn_Click(int index);
    void mnuHelp_AddUser_Click();

    // Shows the window for reading only (the help opens it to show how a user is added):
    // nothing can be checked or created, and leaving only closes the window, whatever the
    // language or the button pressed, so that it never ends the program.
    void OpenForReading();
    bool ForReading() const { return m_forReading; }

    // How "end the program at once" is done; tests put a recorder of their own in its place.
    // The default closes the database and leaves the event loop.
    static inline void (*EndProgram)() = nullptr;

    QGroupBox *frMsg = nullptr;           // message frame; shown at 60 twips, -12000 hides it
    QLabel *lblMsg = nullptr;             // progress text
    QLabel *lblMsg1 = nullptr;            // detail line under the message
    QGroupBox *frPCUser = nullptr;
    QLineEdit *txtPCUserName = nullptr;   // the logon name
    QGroupBox *fruser = nullptr;
    QLineEdit *txtUserName = nullptr;     // the service user name
    QLineEdit *txtPassw = nullptr;        // the password, masked
    QLineEdit *txtPasswR = nullptr;       // the password again, masked
    QPushButton *btnLogin = nullptr;      // check with the service
    QGroupBox *frInfo = nullptr;
    QLabel *lblInfo = nullptr;            // information; its Tag holds a string id
    QWidget *picFooter = nullptr;         // strip holding the buttons
    // Labels 0 "User Name:", 1 "PC User Name:", 2 "Password:", 9 "Retype Password:"
    // (the other elements are not used).
    std::array<QLabel *, 10> lbl{};
    std::array<QPushButton *, 2> btn{};   // 0 creates the profile ("OK"), 1 leaves
    std::array<QLabel *, 3> lblResult{};  // 1 and 2: the check's result (0 is not used)
    QMenuBar *mnuBar = nullptr;
    QMenu *mnuHelp = nullptr;
    QAction *mnuHelp_AddUser = nullptr;

    // What a successful check found, used when the profile is created.
    QString CheckedLogonName() const { return m_checkedLogon; }
    QString CheckedFullName() const { return m_checkedFullName; }

private:
    class LabelLine : public modMain::Progress {
    public:
        QLabel *label = nullptr;
        void ShowStep(const QString &caption, const QString &detail) override;
    };

    void CreateControls();
    // Unloads the window from one of its own handlers (the object goes once they return).
    void UnloadSelf();
    void closeEvent(QCloseEvent *e) override;

    QString m_checkedLogon;
    QString m_checkedFullName;
    // What the last successful check accepted: the profile is made of these.
    QString m_profileLogon;
    QString m_checkedUser;
    QString m_checkedPassword;
    bool m_forReading = false;
    LabelLine m_resultLine;
};
