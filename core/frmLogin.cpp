#include "core/frmLogin.h"
#include "core/Captions.h"

#include "core/CCrypto.h"
#include "core/frmMain.h"
#include "core/modHttp.h"
#include "core/modMain.h"
#include "options_help/frmHlp.h"
#include "platform/dao/dao.h"
#include "platform/forms/Tag.h"
#include "platform/forms/Units.h"
#include "recorder/frmStart.h"
#include "store/modDBchr.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QProxyStyle>
#include <QPushButton>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QProgressBar>
#include <QTimer>
#include <QWindow>

namespace {

// Password boxes show every character as "*".
class StarStyle : public QProxyStyle {
public:
    int styleHint(StyleHint hint, const QStyleOption *option = nullptr, const QWidget *widget = nullptr,
                  QStyleHintReturn *returnData = nullptr) const override
    {
        if (hint == SH_LineEdit_PasswordCharacter)
            return '*';
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

QStyle *PasswordStyle()
{
    static StarStyle *style = [] {
        auto *s = new StarStyle;
        s->setParent(qApp);
        return s;
    }();
    return style;
}

void EndAtOnce()
{
    // Nothing of the run is left to keep: the database closes as it stands, the run ends.
    try {
        if (modMain::DB)
            modMain::DB->Close();
    } catch (...) {
    }
    modMain::DB.reset();
    QCoreApplication::exit(0);
}

// Where the main window's cover picture stands while this window is open, in twips.
constexpr int kCoverLeftOpen = 2100;
constexpr int kOutOfView = -12000;

void MoveCover(int leftTwips)
{
    frmMain *main = frmMain::Peek();
    if (main && main->picCover)
        forms::Move(main->picCover, leftTwips, forms::Top(main->picCover));
}

// A service reply that is a number is a reply code.
bool IsReplyCode(const QString &reply, int *code)
{
    bool ok = false;
    const int value = reply.trimmed().toInt(&ok);
    if (ok && code)
        *code = value;
    return ok;
}

} // namespace

frmLogin::frmLogin()
{
    // Form_Load
    if (!EndProgram)
        EndProgram = &EndAtOnce;
    CreateControls();
    move(0, 0);
    MoveCover(kCoverLeftOpen);
    ApplyLang();
    modMain::FormLoaded[modMain::fiLogin] = true;
}

frmLogin::~frmLogin()
{
    // Form_Unload (unless UnloadSelf did it already, or a new sign-in window stands by now).
    if (!Peek() || Peek() == this) {
        modMain::FormLoaded[modMain::fiLogin] = false;
        MoveCover(kOutOfView);
    }
    Forget(this);
}

// ---- progress -----------------------------------------------------------------------------

void frmLogin::ShowStep(const QString &caption, const QString &detail)
{
    lblMsg->setText(caption);
    if (!detail.isEmpty())
        lblMsg1->setText(detail);
    // The work pauses right after a step: paint what changed now.
    lblMsg->repaint();
    lblMsg1->repaint();
}

void frmLogin::SetBarValue(int value)
{
    if (frmMain *main = frmMain::Peek())
        main->SetBarValue(value);
}

void frmLogin::SetBarVisible(bool visible)
{
    if (frmMain *main = frmMain::Peek())
        main->SetBarVisible(visible);
}

void frmLogin::LabelLine::ShowStep(const QString &caption, const QString &detail)
{
    (void)detail;
    if (label)
        label->setText(caption);
}

void frmLogin::ShowPainted()
{
    show();
    // The window system maps the window and asks for its paint only through the event loop;
    // the person's input stays out meanwhile. A window system that never shows it (none
    // running) does not hold the start for long.
    QElapsedTimer waited;
    waited.start();
    while (!(windowHandle() && windowHandle()->isExposed()) && waited.elapsed() < 2000) {
        QEventLoop loop;
        QTimer::singleShot(20, &loop, &QEventLoop::quit);
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    }
    repaint();
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void frmLogin::CreateControls()
{
    setObjectName("frmLogin");
    setWindowTitle(QStringLiteral("Tarvelo Desktop"));
    setFixedSize(forms::TwipsToPixels(6300), forms::TwipsToPixels(6240));

    auto label = [](QWidget *parent, const QString &name, const QString &caption, int l, int t, int w, int h) {
        auto *lb = new QLabel(caption, parent);
        lb->setObjectName(name);
        forms::Move(lb, l, t, w, h);
        return lb;
    };
    auto textBox = [](QWidget *parent, const QString &name, int l, int t, int w, int h) {
        auto *tb = new QLineEdit(parent);
        tb->setObjectName(name);
        forms::Move(tb, l, t, w, h);
        return tb;
    };
    auto frame = [this](const QString &name, const QString &caption, int l, int t, int w, int h) {
        auto *fr = new QGroupBox(caption, this);
        fr->setObjectName(name);
        forms::Move(fr, l, t, w, h);
        return fr;
    };

    mnuBar = new QMenuBar(this);
    mnuBar->setObjectName("mnuBar");
    mnuHelp = mnuBar->addMenu(QStringLiteral("Help"));
    mnuHelp->setObjectName("mnuHelp");
    mnuHelp_AddUser = mnuHelp->addAction(QStringLiteral("Help on adding a User"));
    mnuHelp_AddUser->setObjectName("mnuHelp_AddUser");
    connect(mnuHelp_AddUser, &QAction::triggered, this, &frmLogin::mnuHelp_AddUser_Click);
    forms::Move(mnuBar, 0, 0, 6300, 330);

    frPCUser = frame("frPCUser", QStringLiteral("PC User:"), 120, 420, 6060, 780);
    forms::SetTag(frPCUser, QStringLiteral("601"));
    lbl[1] = label(frPCUser, "lbl_1", QStringLiteral("PC User Name:"), 180, 345, 1900, 285);
    forms::SetTag(lbl[1], QStringLiteral("600"));
    txtPCUserName = textBox(frPCUser, "txtPCUserName", 2160, 300, 3720, 330);

    fruser = frame("fruser", QStringLiteral("Tarvelo User Authentication"), 120, 1320, 6060, 1980);
    forms::SetTag(fruser, QStringLiteral("602"));
    lbl[0] = label(fruser, "lbl_0", QStringLiteral("User Name:"), 180, 375, 1900, 285);
    forms::SetTag(lbl[0], QStringLiteral("970"));
    txtUserName = textBox(fruser, "txtUserName", 2160, 330, 3720, 330);
    lbl[2] = label(fruser, "lbl_2", QStringLiteral("Password:"), 180, 795, 1900, 285);
    forms::SetTag(lbl[2], QStringLiteral("971"));
    txtPassw = textBox(fruser, "txtPassw", 2160, 750, 3720, 330);
    lbl[9] = label(fruser, "lbl_9", QStringLiteral("Retype Password:"), 180, 1215, 1900, 285);
    forms::SetTag(lbl[9], QStringLiteral("972"));
    txtPasswR = textBox(fruser, "txtPasswR", 2160, 1170, 3720, 330);
    for (QLineEdit *box : {txtPassw, txtPasswR}) {
        box->setEchoMode(QLineEdit::Password);
        box->setStyle(PasswordStyle());
    }
    btnLogin = new QPushButton(QStringLiteral("Authenticate"), fruser);
    btnLogin->setObjectName("btnLogin");
    forms::SetTag(btnLogin, QStringLiteral("973"));
    forms::Move(btnLogin, 3720, 1560, 2160, 345);
    connect(btnLogin, &QPushButton::clicked, this, &frmLogin::btnLogin_Click);

    frInfo = frame("frInfo", QStringLiteral("Info"), 120, 3420, 6060, 2040);
    forms::SetTag(frInfo, QStringLiteral("974"));
    lblInfo = label(frInfo, "lblInfo", QString(), 180, 300, 5700, 660);
    lblResult[1] = label(frInfo, "lblResult_1", QString(), 180, 1000, 5700, 480);
    m_resultLine.label = lblResult[1];
    lblResult[2] = label(frInfo, "lblResult_2", QString(), 180, 1500, 5700, 450);
    for (QLabel *l : {lblInfo, lblResult[1], lblResult[2]}) {
        l->setWordWrap(true);
        l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    }

    // The message frame lies over the three frames above while it is in view.
    frMsg = frame("frMsg", QString(), 60, 420, 6180, 5040);
    frMsg->setAutoFillBackground(true);
    lblMsg = label(frMsg, "lblMsg", QString(), 180, 360, 5820, 3600);
    lblMsg->setWordWrap(true);
    lblMsg->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lblMsg1 = label(frMsg, "lblMsg1", QString(), 180, 4080, 5820, 600);
    lblMsg1->setWordWrap(true);
    frMsg->raise();

    picFooter = new QWidget(this);
    picFooter->setObjectName("picFooter");
    forms::Move(picFooter, 0, 5580, 6300, 660);
    for (int i = 0; i < 2; ++i) {
        btn[i] = new QPushButton(picFooter);
        btn[i]->setObjectName(QStringLiteral("btn_%1").arg(i));
        forms::Move(btn[i], 2820 + i * 1740, 150, 1560, 375);
        connect(btn[i], &QPushButton::clicked, this, [this, i] { btn_Click(i); });
    }
    btn[0]->setText(QStringLiteral("OK"));
    forms::SetTag(btn[0], QStringLiteral("901"));
    btn[1]->setText(QStringLiteral("Cancel"));
    forms::SetTag(btn[1], QStringLiteral("906"));
}

void frmLogin::ApplyLang()
{
    using modMain::GetLangString;
    modMain::ApplyLangOrTell([&] {
        modMain::ApplyTagCaptions(this);
        // Start-up keeps the id of the greeting's second part on lblInfo.
        QString infoTag = forms::Tag(lblInfo);
        if (infoTag.isEmpty())
            infoTag = lblInfo->property("tag").toString();
        if (!infoTag.isEmpty()) {
            // The greeting names the person start-up put in the logon-name box.
            QString name = txtPCUserName->text();
            if (name.isEmpty())
                name = modMain::PCUserName;
            lblInfo->setText(GetLangString(1010) + QStringLiteral(", ") + name + QStringLiteral(" ")
                             + GetLangString(static_cast<int16_t>(infoTag.toInt())));
        }
        mnuHelp->setTitle(GetLangString(287));
        mnuHelp_AddUser->setText(GetLangString(603));
    });
}

void frmLogin::btnLogin_Click()
{
    using modMain::GetLangString;
    if (m_forReading)
        return;
    lblResult[1]->setText(QString());
    lblResult[2]->setText(QString());
    if (txtUserName->text().isEmpty() || txtPassw->text().isEmpty()) {
        modMain::ShowMsg(GetLangString(621), 16, QString());
        return;
    }
    if (txtPasswR->text().isEmpty()) {
        modMain::ShowMsg(GetLangString(622), 16, QString());
        txtPasswR->setFocus();
        return;
    }
    if (txtPassw->text() != txtPasswR->text()) {
        modMain::ShowMsg(GetLangString(623), 16, QString());
        return;
    }
    m_checkedLogon = txtPCUserName->text();

    const QString reply = modMain::CheckName(txtUserName->text(), txtPassw->text(), 6, ResultLine());
    int code = 0;
    if (IsReplyCode(reply, &code)) {
        lblResult[1]->setText(modHttp::GetErrMsg(static_cast<int16_t>(code)));
        lblResult[2]->setText(GetLangString(625, true) + QStringLiteral(" ") + m_checkedLogon + QStringLiteral(" ")
                              + GetLangString(626, true));
        return;
    }
    const qsizetype paren = reply.indexOf(QLatin1Char('('));
    m_checkedFullName = (paren >= 0 ? reply.left(paren) : reply).trimmed();
    if (frmMain *main = frmMain::Peek())
        main->lblUser->setText(QStringLiteral(" ") + GetLangString(627) + QStringLiteral(" ") + m_checkedFullName);
    lblResult[1]->setText(GetLangString(625, true) + QStringLiteral(" ") + m_checkedLogon + QStringLiteral(" ")
                          + GetLangString(628, true) + QStringLiteral(" ") + m_checkedFullName);
    lblResult[2]->setText(GetLangString(630, true));
    m_profileLogon = m_checkedLogon;
    m_checkedUser = txtUserName->text();
    m_checkedPassword = txtPassw->text();
    btn[0]->setEnabled(true);
}

void frmLogin::btn_Click(int index)
{
    using namespace modMain;
    if (m_forReading) {
        if (index == 1)
            UnloadSelf();
        return;
    }
    if (index == 0) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        if (!Crypto)
            Crypto = std::make_unique<CCrypto>();
        // The profile keeps the credentials the service accepted, even when the boxes were
        // changed (or failed a later check) since.
        StoredUserName = Crypto->Encrypt(m_checkedUser, CryptoPassPhrase, false, CCrypto::TypeRC2);
        StoredPassword = Crypto->Encrypt(m_checkedPassword, CryptoPassPhrase, false, CCrypto::TypeRC2);
        PCUserName = m_profileLogon;
        PasswordURL = modHttp::URLEncode(m_checkedPassword);
        UserNameURL = modHttp::URLEncode(m_checkedUser);
        UserFullName = m_checkedFullName;
        SetDefaultSettings();
        CurrentUserID = modDBchr::CreateUser();
        if (CurrentUserID == -1) {
            QApplication::restoreOverrideCursor();
            // The profile could not be written: say so (not that the passwords differ).
            ShowMsg(GetLangString(620), 16, QString());
            EndProgram();
            return;
        }
        try {
            SaveSettings();
        } catch (...) {
            // The profile row stands; the next start finds it by the logon name and writes
            // the settings again.
        }
        QApplication::restoreOverrideCursor();
        // The timers window lives in the main window, which shows with it.
        if (frmMain *main = frmMain::Peek(); main && !main->isVisible())
            main->show();
        frmStart::Get()->ShowForm();
        UnloadSelf();
        return;
    }
    if (btn[1]->text() == GetLangString(905)) {
        UnloadSelf();
        return;
    }
    ShowMsg(GetLangString(620), 16, QString());
    EndProgram();
}

void frmLogin::mnuHelp_AddUser_Click()
{
    const QString page = modMain::AppPath() + QStringLiteral("/hlp_Login_") + QString::number(modMain::LangID)
        + QStringLiteral(".htm");
    frmHlp::ShowPage(page);
}

void frmLogin::OpenForReading()
{
    m_forReading = true;
    btnLogin->setEnabled(false);
    btn[0]->setEnabled(false);
    btn[1]->setEnabled(true);
    // The caption follows the language as "Close".
    forms::SetTag(btn[1], QStringLiteral("905"));
    const QString close = modMain::GetLangString(905);
    btn[1]->setText(close.isEmpty() ? QStringLiteral("Close") : close);
    forms::Move(frMsg, -20000, forms::Top(frMsg));
    show();
    raise();
    activateWindow();
}

void frmLogin::closeEvent(QCloseEvent *e)
{
    // The close box leaves the way the leave button does: without a profile the program
    // ends (it would otherwise go on with no window to show).
    e->ignore();
    if (btn[1]->isEnabled())
        btn_Click(1);
}

void frmLogin::UnloadSelf()
{
    modMain::FormLoaded[modMain::fiLogin] = false;
    MoveCover(kOutOfView);
    Forget(this);
    hide();
    deleteLater();
}
