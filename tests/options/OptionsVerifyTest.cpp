// The credential check of the options window against the reference service: the full name
// stored after the right credentials; a wrong password, a reply without a full name, a full
// name that reads as a number, no reply and a web page told; the credentials in use after each.
#include "tests/options/OptionsFixture.h"

#include "core/frmMain.h"
#include "core/modMain.h"
#include "platform/registry/Registry.h"
#include "tests/service/ServiceProcess.h"
#include "tests/support/TestEnv.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <memory>

using namespace modMain;
using frametest::BoxText;
using frametest::BoxWatcher;

namespace {

const QByteArray kAccounts = R"json({
  "version": "1.0.0",
  "accounts": [
    { "username": "maria.o", "password": "s3cret", "fullname": "Maria Ortiz" },
    { "username": "maria.n", "password": "n3w pass", "fullname": "María Núñez" },
    { "username": "agent", "password": "x", "fullname": "12345" }
  ]
})json";

class OptionsVerify : public optiontest::OptionsTest {
protected:
    void SetUp() override
    {
        OptionsTest::SetUp();
        if (HasFatalFailure())
            return;
        qputenv("TARV_ONLINE", "1");
        IsConnected = true;
        UserFullName = QStringLiteral("Maria O'Brien");
        SaveSettings();
    }

    // The service with these options, and the program pointed at it.
    void Serve(const QStringList &options = {})
    {
        svc = std::make_unique<testsvc::ServiceProcess>();
        QStringList all{QStringLiteral("--data"), testsvc::WriteDataFile(kAccounts)};
        all += options;
        ASSERT_TRUE(svc->start(all)) << svc->output().toStdString();
        svc->pointProgramHere();
        ServerLoggedIn = true;
    }

    void Type(const QString &user, const QString &password, const QString &again)
    {
        w->txtUserName->setText(user);
        w->txtPassw->setText(password);
        w->txtPasswR->setText(again);
    }

    // A check that failed leaves everything as it was and the stored password in the box.
    void ExpectNothingChanged()
    {
        EXPECT_EQ(UserNameURL, optiontest::kUser);
        EXPECT_EQ(PasswordURL, optiontest::kPassword);
        EXPECT_EQ(UserFullName, "Maria O'Brien");
        EXPECT_EQ(Setting("user", "fullname"), "Maria O'Brien");
        EXPECT_EQ(SavedUser(), optiontest::kUser);
        EXPECT_EQ(SavedPassword(), optiontest::kPassword);
        EXPECT_EQ(w->txtPassw->text(), optiontest::kPassword);
        EXPECT_EQ(w->txtPasswR->text(), "");
        EXPECT_EQ(Status(), GetLangString(754, true));
    }

    std::unique_ptr<testsvc::ServiceProcess> svc;
};

} // namespace

TEST_F(OptionsVerify, TheRightCredentialsStoreTheFullName)
{
    Serve();
    ASSERT_TRUE(Open());
    EXPECT_TRUE(w->btnVerify->isEnabled());
    EXPECT_EQ(w->lbl[13]->text(), GetLangString(702));
    EXPECT_EQ(w->lbl[3]->text(), GetLangString(703));
    BoxWatcher boxes;
    Type("maria.n", "n3w pass", "n3w pass");
    w->btnVerify->click();
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].text, BoxText(753) + "\n" + BoxText(755));
    EXPECT_EQ(boxes.Boxes()[0].icon, 0);
    EXPECT_EQ(Status(), GetLangString(753, true));
    EXPECT_EQ(UserFullName, "María Núñez");
    EXPECT_EQ(Setting("user", "fullname"), "María Núñez");
    // The accepted credentials are those of the requests from now on; stored with Save.
    EXPECT_EQ(UserNameURL, "maria%2En");
    EXPECT_EQ(PasswordURL, "n3w+pass");
    EXPECT_EQ(SavedUser(), optiontest::kUser);
    const auto requests = svc->requests();
    ASSERT_FALSE(requests.isEmpty());
    EXPECT_TRUE(requests.last().value("query").toString().startsWith("action=name&username=maria%2En&password=n3w+pass"))
        << requests.last().value("query").toString().toStdString();

    w->btnSave->click();
    EXPECT_EQ(Status(), GetLangString(631, true));
    EXPECT_EQ(SavedUser(), "maria.n");
    EXPECT_EQ(SavedPassword(), "n3w pass");
    NewStart();
    EXPECT_EQ(UserNameURL, "maria%2En");
    EXPECT_EQ(PasswordURL, "n3w+pass");
    EXPECT_EQ(UserFullName, "María Núñez");
}

TEST_F(OptionsVerify, AWrongPasswordLeavesTheCredentialsInUse)
{
    Serve();
    ASSERT_TRUE(Open());
    BoxWatcher boxes;
    Type("maria.o", "wrong", "wrong");
    w->btnVerify->click();
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].text, BoxText(1401));
    EXPECT_EQ(boxes.Boxes()[0].icon, 16);
    ExpectNothingChanged();
    // Typed again and saved without a check: refused.
    Type("maria.o", "wrong", "wrong");
    w->btnSave->click();
    ASSERT_EQ(boxes.Boxes().size(), 2u);
    EXPECT_EQ(boxes.Boxes()[1].text, BoxText(763));
    EXPECT_EQ(SavedPassword(), optiontest::kPassword);
}

TEST_F(OptionsVerify, FaultsOfTheBoxesSendNothing)
{
    Serve();
    ASSERT_TRUE(Open());
    BoxWatcher boxes;
    const auto before = svc->requests().size();
    Type("maria.o", "new", "");
    w->btnVerify->click();
    Type("maria.o", "new", "NEW");
    w->btnVerify->click();
    ASSERT_EQ(boxes.Boxes().size(), 2u);
    EXPECT_EQ(boxes.Boxes()[0].text, BoxText(622));
    EXPECT_EQ(boxes.Boxes()[1].text, BoxText(623));
    EXPECT_EQ(w->txtPassw->text(), optiontest::kPassword);
    EXPECT_EQ(w->txtPasswR->text(), "");
    EXPECT_EQ(svc->requests().size(), before);
}

// Every reply that is no acceptance: its message, and the credentials in use, the stored ones
// and the full name as they were.
TEST_F(OptionsVerify, EveryReplyThatIsNoAcceptanceLeavesTheCredentialsInUse)
{
    struct Case {
        const char *what;
        QStringList serviceOptions;   // no service at all when it holds "closed"
        const char *user, *password;
        int16_t timeOut;
        int message;
    };
    const Case cases[] = {
        {"a full name that reads as a number", {}, "agent", "x", 15, 1416},
        {"a reply without a full name", {QStringLiteral("--garbage")}, "maria.n", "n3w pass", 15, 761},
        // A guest network's sign-in page, with status 200.
        {"a sign-in page", {QStringLiteral("--error-page"), QStringLiteral("portal")}, "maria.n", "n3w pass", 15, 761},
        {"a web server's error page", {QStringLiteral("--error-page"), QStringLiteral("404")}, "maria.n", "n3w pass", 15, 1413},
        {"no reply", {QStringLiteral("closed")}, "maria.n", "n3w pass", 15, 1411},
        {"no reply within the time-out", {QStringLiteral("--delay-ms"), QStringLiteral("4000")}, "maria.n", "n3w pass", 1, 1411},
    };
    Serve();
    ASSERT_TRUE(Open());
    BoxWatcher boxes;
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        if (c.serviceOptions == QStringList{QStringLiteral("closed")}) {
            svc.reset();
            qputenv("TARV_SERVICE_ENDPOINT", QStringLiteral("http://127.0.0.1:%1").arg(testsvc::ClosedPort()).toUtf8());
        } else {
            Serve(c.serviceOptions);
        }
        TimeOut = c.timeOut;
        const size_t before = boxes.Boxes().size();
        Type(QString::fromUtf8(c.user), QString::fromUtf8(c.password), QString::fromUtf8(c.password));
        w->btnVerify->click();
        ASSERT_EQ(boxes.Boxes().size(), before + 1);
        EXPECT_EQ(boxes.Boxes().back().text, BoxText(c.message));
        EXPECT_EQ(boxes.Boxes().back().icon, 16);
        EXPECT_EQ(w->txtUserName->text(), QString::fromUtf8(c.user));
        ExpectNothingChanged();
    }
}
