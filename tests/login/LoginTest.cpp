// The sign-in window against the reference service on loopback: the checks made before
// anything is sent, the service's answers, and the profile made on confirmation.
#include "core/CCrypto.h"
#include "core/FMessage.h"
#include "core/frmLogin.h"
#include "core/frmMain.h"
#include "core/modHttp.h"
#include "core/modMain.h"
#include "options_help/frmHlp.h"
#include "platform/dao/dao.h"
#include "platform/forms/Tag.h"
#include "platform/registry/Registry.h"
#include "platform/shell/Shell.h"
#include "recorder/frmStart.h"
#include "store/modDBchr.h"
#include "tests/service/ServiceProcess.h"
#include "tests/support/BoxWatcher.h"
#include "tests/support/TestEnv.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>

using namespace modMain;

namespace {

int g_ends = 0;
void RecordEnd() { ++g_ends; }

// The accounts the service knows in these tests.
const char *const kAccounts = R"json({
  "version": "1.0.0",
  "accounts": [
    { "username": "sean", "password": "Gr33n-Fields", "fullname": "Seán O'Neill (Dublin office)" },
    { "username": "eleni", "password": "pass word", "fullname": "Eléni Papadáki" }
  ]
})json";

using testenv::BoxWatcher;

// The texts of the boxes the watcher closed; the box shows the table's line breaks as plain ones.
QStringList Texts(const BoxWatcher &watcher)
{
    QStringList out;
    for (const BoxWatcher::Box &b : watcher.boxes)
        out << QString(b.text).remove(QLatin1Char('\r'));
    return out;
}

// A string as the message box shows it.
QString Boxed(int16_t id)
{
    return GetLangString(id).remove(QLatin1Char('\r'));
}

class LoginTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        svc = new testsvc::ServiceProcess;
        const QString data = testenv::MakeTempDir(QStringLiteral("accounts")) + QStringLiteral("/accounts.json");
        QFile f(data);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(kAccounts);
        f.close();
        ASSERT_TRUE(svc->start({QStringLiteral("--data"), data})) << svc->output().toStdString();
    }
    static void TearDownTestSuite()
    {
        delete svc;
        svc = nullptr;
    }

    void SetUp() override
    {
        qputenv("TARV_NO_PAUSES", "1");
        qputenv("TARV_ONLINE", "0");
        qputenv("TARV_SERVICE_ENDPOINT", svc->baseUrl().toUtf8());
        qputenv("TARV_CA_FILE", QFile::encodeName(svc->caFile()));
        m_dir = testenv::MakeTempDir(QStringLiteral("prog"));
        qputenv("TARV_PROGRAM_DIR", m_dir.toLocal8Bit());
        LoadLangTable(QStringLiteral(TARV_SOURCE_DIR "/data/StringTables.csv"));
        LangID = 0;
        PCUserName.clear();
        UserFullName.clear();
        StoredUserName.clear();
        StoredPassword.clear();
        CurrentUserID = -1;
        ServerLoggedIn = false;
        TimeOut = 15;
        ASSERT_EQ(modDBchr::CreateDB(m_dir + QStringLiteral("/Tarv.crn")), 0);

        g_ends = 0;
        frmLogin::EndProgram = &RecordEnd;
        frmMain::Get();
        // As start-up leaves the window for a new person.
        login = frmLogin::Get();
        login->show();
        login->btn[1]->setText(GetLangString(24));
        login->btn[0]->setEnabled(false);
        login->txtPCUserName->setText(QStringLiteral("maria"));
        m_requestsBefore = svc->requests().size();
    }
    void TearDown() override
    {
        frmLogin::Unload();
        frmHlp::Unload();
        frmStart::Unload();
        frmMain::Unload();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        if (DB)
            DB->Close();
        DB.reset();
    }

    void Fill(const QString &user, const QString &pass, const QString &retype)
    {
        login->txtUserName->setText(user);
        login->txtPassw->setText(pass);
        login->txtPasswR->setText(retype);
    }
    qsizetype NewRequests() const { return svc->requests().size() - m_requestsBefore; }
    QString Result(int i) const { return login->lblResult[i]->text(); }

    static inline testsvc::ServiceProcess *svc = nullptr;
    frmLogin *login = nullptr;
    QString m_dir;
    qsizetype m_requestsBefore = 0;
};

} // namespace

TEST_F(LoginTest, IncompleteOrDifferingPasswordsAreRefusedWithoutAskingTheService)
{
    struct Case { const char *user, *pass, *retype; int16_t id; bool focusRetype; };
    const Case cases[] = {
        {"", "Gr33n-Fields", "Gr33n-Fields", 621, false},
        {"sean", "", "Gr33n-Fields", 621, false},
        {"sean", "Gr33n-Fields", "", 622, true},
        {"sean", "Gr33n-Fields", "gr33n-fields", 623, false},   // case counts
        {"sean", "Gr33n-Fields", "Gr33n-Fields ", 623, false},
    };
    for (const Case &c : cases) {
        login->lblResult[1]->setText(QStringLiteral("old"));
        login->txtUserName->setFocus();
        Fill(QString::fromUtf8(c.user), QString::fromUtf8(c.pass), QString::fromUtf8(c.retype));
        BoxWatcher boxes;
        login->btnLogin_Click();
        EXPECT_EQ(Texts(boxes), QStringList{Boxed(c.id)}) << c.user << "/" << c.pass << "/" << c.retype;
        EXPECT_TRUE(Result(1).isEmpty());
        EXPECT_FALSE(login->btn[0]->isEnabled());
        if (c.focusRetype)
            EXPECT_TRUE(testenv::WaitFor([&] { return login->txtPasswR->hasFocus() || !QApplication::focusWidget(); }, 1000));
    }
    EXPECT_EQ(NewRequests(), 0);
}

TEST_F(LoginTest, AWrongPasswordShowsTheCodesTextAndKeepsOKDisabled)
{
    Fill(QStringLiteral("sean"), QStringLiteral("wrong"), QStringLiteral("wrong"));
    BoxWatcher boxes;
    login->btnLogin_Click();
    EXPECT_TRUE(Texts(boxes).isEmpty());
    EXPECT_EQ(NewRequests(), 1);
    EXPECT_EQ(Result(1), modHttp::GetErrMsg(2));
    EXPECT_EQ(Result(2), GetLangString(625, true) + QStringLiteral(" maria ") + GetLangString(626, true));
    EXPECT_FALSE(login->btn[0]->isEnabled());

    // An unknown user is the service's code 1.
    Fill(QStringLiteral("nobody"), QStringLiteral("x"), QStringLiteral("x"));
    login->btnLogin_Click();
    EXPECT_EQ(Result(1), modHttp::GetErrMsg(1));
    EXPECT_FALSE(login->btn[0]->isEnabled());
}

TEST_F(LoginTest, NoAnswerFromTheServiceShowsTheTextOfCode100)
{
    // Nothing listens on the service's port once it is stopped.
    testsvc::ServiceProcess gone;
    ASSERT_TRUE(gone.start({QStringLiteral("--http")}));
    const QString url = gone.baseUrl();
    gone.stop();
    qputenv("TARV_SERVICE_ENDPOINT", url.toUtf8());
    Fill(QStringLiteral("sean"), QStringLiteral("Gr33n-Fields"), QStringLiteral("Gr33n-Fields"));
    login->btnLogin_Click();
    EXPECT_EQ(Result(1), modHttp::GetErrMsg(100));
    EXPECT_FALSE(login->btn[0]->isEnabled());
}

TEST_F(LoginTest, AGoodCheckShowsTheNameAndOKCreatesTheProfile)
{
    Fill(QStringLiteral("sean"), QStringLiteral("Gr33n-Fields"), QStringLiteral("Gr33n-Fields"));
    login->btnLogin_Click();
    // The part in parentheses and the space before it go.
    const QString name = QStringLiteral("Seán O'Neill");
    EXPECT_EQ(login->CheckedFullName(), name);
    EXPECT_EQ(Result(1), GetLangString(625, true) + QStringLiteral(" maria ") + GetLangString(628, true)
                             + QStringLiteral(" ") + name);
    EXPECT_EQ(Result(2), GetLangString(630, true));
    EXPECT_EQ(frmMain::Peek()->lblUser->text(), QStringLiteral(" ") + GetLangString(627) + QStringLiteral(" ") + name);
    ASSERT_TRUE(login->btn[0]->isEnabled());

    login->btn[0]->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    EXPECT_EQ(g_ends, 0);
    EXPECT_EQ(CurrentUserID, 1);
    EXPECT_EQ(frmLogin::Peek(), nullptr);
    EXPECT_FALSE(FormLoaded[fiLogin]);
    ASSERT_NE(frmStart::Peek(), nullptr);
    EXPECT_TRUE(frmMain::Peek()->isVisible());

    // The row, with the credentials encrypted.
    std::unique_ptr<dao::Recordset> rs = DB->OpenRecordset(QStringLiteral("SELECT * FROM tblUsers"));
    ASSERT_EQ(rs->RecordCount(), 1);
    EXPECT_EQ(rs->Value(0).toInt(), 1);
    EXPECT_EQ(rs->Value(1).toString(), QStringLiteral("maria"));
    const QString storedUser = rs->Value(2).toString();
    const QString storedPass = rs->Value(3).toString();
    EXPECT_NE(storedUser, QStringLiteral("sean"));
    EXPECT_NE(storedPass, QStringLiteral("Gr33n-Fields"));
    EXPECT_EQ(Crypto->Decrypt(storedUser, CryptoPassPhrase, false, CCrypto::TypeRC2), QStringLiteral("sean"));
    EXPECT_EQ(Crypto->Decrypt(storedPass, CryptoPassPhrase, false, CCrypto::TypeRC2), QStringLiteral("Gr33n-Fields"));
    EXPECT_EQ(rs->Value(4).toString(), name);
    // The defaults of a new profile: the hot key Ctrl+F10.
    EXPECT_EQ(rs->Value(12).toString(), QStringLiteral("121"));
    EXPECT_EQ(rs->Value(13).toString(), QStringLiteral("2"));
    rs->Close();

    // The settings and the autostart entry.
    EXPECT_EQ(registry::GetSetting(SettingsApp, "user", "pcuser", QString()), QStringLiteral("maria"));
    EXPECT_EQ(registry::GetSetting(SettingsApp, "user", "fullname", QString()), name);
    EXPECT_EQ(registry::GetSetting(SettingsApp, "user", "user", QString()), storedUser);
    EXPECT_TRUE(QFile::exists(shell::AutostartEntryPath(QStringLiteral("Tarvelo Desktop"))));
    EXPECT_EQ(UserNameURL, QStringLiteral("sean"));
    EXPECT_EQ(PasswordURL, QStringLiteral("Gr33n%2DFields"));
}

TEST_F(LoginTest, AReplyWithoutParenthesesIsTakenWhole)
{
    Fill(QStringLiteral("eleni"), QStringLiteral("pass word"), QStringLiteral("pass word"));
    login->btnLogin_Click();
    EXPECT_EQ(login->CheckedFullName(), QStringLiteral("Eléni Papadáki"));
    EXPECT_TRUE(login->btn[0]->isEnabled());
}

TEST_F(LoginTest, TheProfileKeepsTheCredentialsTheServiceAccepted)
{
    Fill(QStringLiteral("sean"), QStringLiteral("Gr33n-Fields"), QStringLiteral("Gr33n-Fields"));
    login->btnLogin_Click();
    ASSERT_TRUE(login->btn[0]->isEnabled());
    // A later check that fails leaves OK as it was, but must not put its password in the profile.
    Fill(QStringLiteral("sean"), QStringLiteral("typo"), QStringLiteral("typo"));
    login->btnLogin_Click();
    EXPECT_EQ(Result(1), modHttp::GetErrMsg(2));
    ASSERT_TRUE(login->btn[0]->isEnabled());
    login->btn_Click(0);
    EXPECT_EQ(Crypto->Decrypt(StoredPassword, CryptoPassPhrase, false, CCrypto::TypeRC2), QStringLiteral("Gr33n-Fields"));
    EXPECT_EQ(PasswordURL, QStringLiteral("Gr33n%2DFields"));
}

TEST_F(LoginTest, AProfileThatCannotBeWrittenEndsTheProgramWithoutSavingTheSettings)
{
    Fill(QStringLiteral("sean"), QStringLiteral("Gr33n-Fields"), QStringLiteral("Gr33n-Fields"));
    login->btnLogin_Click();
    ASSERT_TRUE(login->btn[0]->isEnabled());
    DB->Close();
    DB.reset();
    BoxWatcher boxes;
    login->btn_Click(0);
    EXPECT_EQ(Texts(boxes), QStringList{Boxed(620)});
    EXPECT_EQ(g_ends, 1);
    EXPECT_EQ(CurrentUserID, -1);
    EXPECT_TRUE(registry::GetSetting(SettingsApp, "user", "pcuser", QString()).isEmpty());
    EXPECT_EQ(frmStart::Peek(), nullptr);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(LoginTest, LeavingWithoutAProfileEndsTheProgramButCloseOnlyUnloads)
{
    {
        BoxWatcher boxes;
        login->btn[1]->click();
        EXPECT_EQ(Texts(boxes), QStringList{Boxed(620)});
        EXPECT_EQ(g_ends, 1);
    }
    {
        // The close box leaves the same way.
        BoxWatcher boxes;
        login->close();
        EXPECT_EQ(Texts(boxes), QStringList{Boxed(620)});
        EXPECT_EQ(g_ends, 2);
        EXPECT_NE(frmLogin::Peek(), nullptr);
    }
    // Opened to add a user, the window closes by itself.
    login->btn[1]->setText(GetLangString(905));
    BoxWatcher boxes;
    login->btn[1]->click();
    EXPECT_TRUE(Texts(boxes).isEmpty());
    EXPECT_EQ(g_ends, 2);
    EXPECT_EQ(frmLogin::Peek(), nullptr);
    EXPECT_FALSE(FormLoaded[fiLogin]);
}

TEST_F(LoginTest, ChangingTheLanguageRecaptionsTheWindow)
{
    forms::SetTag(login->lblInfo, QStringLiteral("1013"));
    LangID = 2;
    login->ApplyLang();
    EXPECT_EQ(login->fruser->title(), GetLangString(602));
    EXPECT_EQ(login->frPCUser->title(), GetLangString(601));
    EXPECT_EQ(login->frInfo->title(), GetLangString(974));
    EXPECT_EQ(login->lbl[9]->text(), GetLangString(972));
    EXPECT_EQ(login->btnLogin->text(), GetLangString(973));
    EXPECT_EQ(login->btn[1]->text(), GetLangString(906));
    EXPECT_EQ(login->mnuHelp->title(), GetLangString(287));
    EXPECT_EQ(login->mnuHelp_AddUser->text(), GetLangString(603));
    EXPECT_EQ(login->lblInfo->text(),
              GetLangString(1010) + QStringLiteral(", maria ") + GetLangString(1013));
    EXPECT_TRUE(login->fruser->title().startsWith(QStringLiteral("Authentification")));

    // An empty string table changes nothing.
    const QString before = login->fruser->title();
    LangTableText.clear();
    LangID = 0;
    login->ApplyLang();
    EXPECT_EQ(login->fruser->title(), before);
    LangID = 0;
}

TEST_F(LoginTest, TheHelpEntryOpensThePageOfTheCurrentLanguage)
{
    // The help pages beside the program.
    for (int16_t lang : {int16_t(0), int16_t(2)})
        ASSERT_TRUE(QFile::copy(QStringLiteral(TARV_SOURCE_DIR "/data/hlp_Login_%1.htm").arg(lang),
                                m_dir + QStringLiteral("/hlp_Login_%1.htm").arg(lang)));
    for (int16_t lang : {int16_t(0), int16_t(2)}) {
        LangID = lang;
        login->mnuHelp_AddUser->trigger();
        frmHlp *hlp = frmHlp::Peek();
        ASSERT_NE(hlp, nullptr);
        EXPECT_TRUE(FormLoaded[fiHlp]);
        EXPECT_EQ(hlp->WBr->LocationPath(), m_dir + QStringLiteral("/hlp_Login_%1.htm").arg(lang));
        EXPECT_TRUE(hlp->isVisible());
        // The sign-in window stays where it was.
        EXPECT_EQ(frmLogin::Peek(), login);
        frmHlp::Unload();
    }
    LangID = 0;
}
