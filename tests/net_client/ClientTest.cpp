// The service client against the reference service on loopback over HTTPS: the wire form of
// GET and POST requests, the sign-in before the first POST, URL encoding, the time-out per
// phase, refused connections, error pages, the progress lines, and the credential and
// version checks with their settings.
#include "core/Progress.h"
#include "core/clsTagParser.h"
#include "core/frmLogin.h"
#include "core/frmMain.h"
#include "core/modHttp.h"
#include "core/modMain.h"
#include "platform/forms/Label.h"
#include "platform/registry/Registry.h"
#include "tests/service/ServiceProcess.h"
#include "tests/support/TestEnv.h"

#include <QDate>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QLabel>
#include <QRegularExpression>
#include <QTcpServer>
#include <QTime>
#include <QTimer>
#include <gtest/gtest.h>

using namespace modMain;
using testsvc::ServiceProcess;

namespace {

const QString Form = QStringLiteral("application/x-www-form-urlencoded; charset=UTF-8");

const char TestData[] = R"({
  "version": "2.3.4",
  "accounts": [
    { "username": "anna", "password": "pässwörd", "fullname": "  Anna O'Hara  ",
      "categories": [ { "id": 100, "name": "Work" } ],
      "expenseCategories": [ { "id": 7, "name": "Fuel" } ],
      "projects": [ { "id": 1, "name": "Open", "tasks": [ { "id": 10, "name": "T10", "categories": [100] } ] } ] },
    { "username": "carl", "password": "carl", "fullname": "Carl", "locked": true }
  ]
})";

const QString AnnaParams = QStringLiteral("&username=anna&password=p%E4ssw%F6rd");

class ClientTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        qputenv("TARV_NO_PAUSES", "1");
        qputenv("TARV_PROGRAM_DIR", testenv::MakeTempDir(QStringLiteral("prog")).toLocal8Bit());
        LoadLangTable(QStringLiteral(TARV_SOURCE_DIR "/data/StringTables.csv"));
        LangID = 0;
        TimeOut = 15;
        ServerLoggedIn = false;
        UserNameURL = modHttp::URLEncode(QStringLiteral("anna"));
        PasswordURL = modHttp::URLEncode(QStringLiteral("pässwörd"));
        registry::DeleteSetting(SettingsApp, QStringLiteral("updates"));
        m_main = frmMain::Get();
        m_main->lblMsg->SetCaption(QString());
    }
    void TearDown() override
    {
        frmLogin::Unload();
        frmMain::Unload();
        qunsetenv("TARV_SERVICE_ENDPOINT");
        qunsetenv("TARV_CA_FILE");
    }

    // Starts the service over HTTPS and points the program at it.
    void Start(ServiceProcess &svc, QStringList options = {})
    {
        if (!options.contains(QStringLiteral("--data")))
            options << QStringLiteral("--data") << testsvc::WriteDataFile(TestData);
        ASSERT_TRUE(svc.start(options)) << svc.output().toStdString();
        ASSERT_TRUE(svc.https());
        svc.pointProgramHere();
    }

    QString Status() const { return m_main->lblMsg->Caption(); }

    frmMain *m_main = nullptr;
};

QString AddTime(const QString &comment)
{
    return QStringLiteral("action=addTime&cmt=") + modHttp::URLEncode(modHttp::EncodeUTF8(comment))
           + QStringLiteral("&prj=1&task=10&tc=100&start=200612312345&end=200612312415") + AnnaParams;
}

} // namespace

TEST_F(ClientTest, EndpointComesFromTheEnvironmentOrTheBuild)
{
    qunsetenv("TARV_SERVICE_ENDPOINT");
    EXPECT_EQ(modHttp::ServiceEndpoint(), QStringLiteral(TARV_SERVICE_ENDPOINT_FOR_TESTS "/tarv/XMLServer"));
    qputenv("TARV_SERVICE_ENDPOINT", "https://127.0.0.1:9999/");
    EXPECT_EQ(modHttp::ServiceEndpoint(), QStringLiteral("https://127.0.0.1:9999/tarv/XMLServer"));
    qputenv("TARV_SERVICE_ENDPOINT", "https://127.0.0.1:9999/tarv/XMLServer");
    EXPECT_EQ(modHttp::ServiceEndpoint(), QStringLiteral("https://127.0.0.1:9999/tarv/XMLServer"));
}

TEST_F(ClientTest, RequestsGoOnTheWireInTheirExactForm)
{
    ServiceProcess svc;
    Start(svc);
    static const QRegularExpression stamp(QStringLiteral("&tstmp=(\\d{2})(\\d{2})(\\d{2})$"));

    // A GET: the parameters and the time stamp as the query, no body, no header of ours.
    const QTime before = QTime::currentTime();
    const QString version = modHttp::HttpRequest(QStringLiteral("action=version") + AnnaParams, 0, false);
    EXPECT_TRUE(version.contains(QStringLiteral("<VERSION>2.3.4</VERSION>"))) << version.toStdString();
    EXPECT_FALSE(ServerLoggedIn) << "a GET never signs in";

    // The first POST signs in with the name request first; the second does not.
    const QString first = modHttp::HttpRequest(AddTime(QStringLiteral("a&b cé")), 4, true);
    EXPECT_EQ(clsTagParser().CheckInput(first), 0) << first.toStdString();
    EXPECT_TRUE(ServerLoggedIn);
    const QString second = modHttp::HttpRequest(AddTime(QString()), 4, true);
    EXPECT_EQ(clsTagParser().CheckInput(second), 0);

    const QList<QJsonObject> log = svc.requests();
    ASSERT_EQ(log.size(), 4);
    EXPECT_EQ(log[0]["method"].toString(), QStringLiteral("GET"));
    EXPECT_EQ(log[0]["path"].toString(), QStringLiteral("/tarv/XMLServer"));
    EXPECT_EQ(log[0]["body"].toString(), QString());
    EXPECT_EQ(log[0]["contentType"].toString(), QString());
    const QString query = log[0]["query"].toString();
    EXPECT_TRUE(query.startsWith(QStringLiteral("action=version&username=anna&password=p%E4ssw%F6rd&tstmp=")))
        << query.toStdString();
    const auto m = stamp.match(query);
    ASSERT_TRUE(m.hasMatch()) << "the time stamp is the last parameter: " << query.toStdString();
    const QTime sent(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
    ASSERT_TRUE(sent.isValid());
    const int drift = before.secsTo(sent);
    EXPECT_TRUE((drift >= 0 && drift <= 5) || drift < -86000) << "the local time of sending as hhmmss";

    EXPECT_EQ(log[1]["method"].toString(), QStringLiteral("GET"));
    EXPECT_TRUE(stamp.match(log[1]["query"].toString()).hasMatch());
    EXPECT_TRUE(log[1]["query"].toString().startsWith(QStringLiteral("action=name&username=anna&password=p%E4ssw%F6rd&tstmp=")));

    for (int i : {2, 3}) {
        EXPECT_EQ(log[i]["method"].toString(), QStringLiteral("POST"));
        EXPECT_EQ(log[i]["path"].toString(), QStringLiteral("/tarv/XMLServer"));
        EXPECT_EQ(log[i]["query"].toString(), QString()) << "a POST goes to the bare endpoint";
        EXPECT_EQ(log[i]["contentType"].toString(), Form);
        EXPECT_TRUE(stamp.match(log[i]["body"].toString()).hasMatch()) << log[i]["body"].toString().toStdString();
    }
    // "a&b c" and the accented letter as the UTF-8 bytes, escaped one by one.
    EXPECT_TRUE(log[2]["body"].toString().startsWith(QStringLiteral("action=addTime&cmt=a%26b+c%C3%A9&prj=1&task=10&tc=100&")))
        << log[2]["body"].toString().toStdString();
    EXPECT_TRUE(log[3]["body"].toString().startsWith(QStringLiteral("action=addTime&cmt=&prj=1&")));

    const QList<QJsonObject> got = svc.received();
    ASSERT_EQ(got.size(), 2);
    EXPECT_EQ(got[0]["params"].toObject()["cmt"].toString(), QStringLiteral("a&b cé"));
}

TEST_F(ClientTest, SignInThatGetsNoReplyIsTriedAgainBeforeTheNextPost)
{
    ServiceProcess svc;
    Start(svc, {QStringLiteral("--error-page"), QStringLiteral("502"), QStringLiteral("--only"), QStringLiteral("addTime")});
    // Without a listening service the sign-in stays undone.
    qputenv("TARV_SERVICE_ENDPOINT", QStringLiteral("https://127.0.0.1:%1").arg(testsvc::ClosedPort()).toLocal8Bit());
    modHttp::ServerLogin();
    EXPECT_FALSE(ServerLoggedIn);
    qputenv("TARV_SERVICE_ENDPOINT", svc.baseUrl().toLocal8Bit());
    // Any non-empty reply to it counts, an error reply too.
    UserNameURL = QStringLiteral("nobody");
    EXPECT_EQ(modHttp::HttpRequest(AddTime(QString()), 4, true), QString()) << "a 502 page is no answer";
    EXPECT_TRUE(ServerLoggedIn);
    const QList<QJsonObject> log = svc.requests();
    ASSERT_EQ(log.size(), 2);
    EXPECT_TRUE(log[0]["query"].toString().startsWith(QStringLiteral("action=name&username=nobody&")));
    EXPECT_EQ(log[1]["method"].toString(), QStringLiteral("POST"));
    EXPECT_TRUE(svc.received().isEmpty());
}

// A display of the transport's lines that is no window.
struct LineRecorder : modMain::Progress {
    QStringList lines;
    void ShowStep(const QString &caption, const QString &) override { lines << caption; }
};

TEST_F(ClientTest, ProgressLinesGoToTheDisplayTheCallerHandsIn)
{
    ServiceProcess svc;
    Start(svc);
    QStringList captions;
    QObject::connect(m_main->lblMsg, &forms::Label::Change, [&] { captions << m_main->lblMsg->Caption(); });
    auto line = [](int id) { return GetLangString(int16_t(id)) + QStringLiteral("..."); };

    EXPECT_FALSE(modHttp::HttpRequest(QStringLiteral("action=version") + AnnaParams, modHttp::KindStatusLine, false, m_main).isEmpty());
    EXPECT_EQ(captions, (QStringList{line(920), line(923), line(924), line(926), line(930)}));

    captions.clear();
    qputenv("TARV_SERVICE_ENDPOINT", QStringLiteral("https://127.0.0.1:%1").arg(testsvc::ClosedPort()).toLocal8Bit());
    EXPECT_TRUE(modHttp::HttpRequest(QStringLiteral("action=version") + AnnaParams, modHttp::KindVersion, false, m_main).isEmpty());
    EXPECT_EQ(captions, (QStringList{line(920), line(923), line(924), line(926), line(929)}));

    // Without a display the failure is told once in the status line.
    captions.clear();
    EXPECT_TRUE(modHttp::HttpRequest(QStringLiteral("action=version") + AnnaParams, 2, false).isEmpty());
    EXPECT_EQ(captions, QStringList{QStringLiteral(" ") + GetLangString(817, true)});

    // The sign-in window's result line.
    frmLogin *login = frmLogin::Get();
    QLabel *result = login->findChild<QLabel *>(QStringLiteral("lblResult_1"));
    ASSERT_NE(result, nullptr);
    captions.clear();
    modHttp::HttpRequest(QStringLiteral("action=version") + AnnaParams, modHttp::KindLogin, false, login->ResultLine());
    EXPECT_EQ(result->text(), line(929));
    EXPECT_TRUE(captions.isEmpty()) << "nothing in the status line";

    // Any display will do, and a display that goes while the request runs ends the lines.
    LineRecorder recorder;
    modHttp::HttpRequest(QStringLiteral("action=version") + AnnaParams, modHttp::KindLogin, false, &recorder);
    EXPECT_EQ(recorder.lines, (QStringList{line(920), line(923), line(924), line(926), line(929)}));
    auto *gone = new LineRecorder;
    QTimer::singleShot(0, [&] { delete gone; });
    EXPECT_TRUE(modHttp::HttpRequest(QStringLiteral("action=version") + AnnaParams, modHttp::KindLogin, false, gone).isEmpty());
}

TEST_F(ClientTest, APhaseLongerThanTheTimeOutIsAborted)
{
    ServiceProcess svc;
    Start(svc, {QStringLiteral("--delay-ms"), QStringLiteral("4000")});
    TimeOut = 1;
    QElapsedTimer t;
    t.start();
    EXPECT_EQ(modHttp::HttpRequest(QStringLiteral("action=version") + AnnaParams, 0, false), QString());
    EXPECT_LT(t.elapsed(), 3000) << "the reply is not waited for";
    EXPECT_GE(t.elapsed(), 900);
    EXPECT_EQ(Status(), QStringLiteral(" ") + GetLangString(817, true));
}

TEST_F(ClientTest, AReplyOneSecondLateIsAbortedWithTimeOutZeroAndReadWithTheDefault)
{
    ServiceProcess svc;
    Start(svc, {QStringLiteral("--delay-ms"), QStringLiteral("1100")});
    TimeOut = 0;
    EXPECT_EQ(modHttp::HttpRequest(QStringLiteral("action=version") + AnnaParams, 0, false), QString());
    TimeOut = 15;
    EXPECT_TRUE(modHttp::HttpRequest(QStringLiteral("action=version") + AnnaParams, 0, false).contains(QStringLiteral("VERSION")));
}

TEST_F(ClientTest, ARefusedConnectionFailsAtOnce)
{
    qputenv("TARV_SERVICE_ENDPOINT", QStringLiteral("https://127.0.0.1:%1").arg(testsvc::ClosedPort()).toLocal8Bit());
    QElapsedTimer t;
    t.start();
    EXPECT_EQ(modHttp::HttpRequest(QStringLiteral("action=version") + AnnaParams, 0, false), QString());
    EXPECT_EQ(modHttp::HttpRequest(AddTime(QString()), 4, true), QString());
    EXPECT_LT(t.elapsed(), 2000);
    EXPECT_FALSE(ServerLoggedIn);
}

TEST_F(ClientTest, AnUntrustedCertificateIsAFailure)
{
    ServiceProcess svc;
    Start(svc);
    qunsetenv("TARV_CA_FILE");
    EXPECT_EQ(modHttp::HttpRequest(QStringLiteral("action=version") + AnnaParams, 0, false), QString());
    EXPECT_TRUE(svc.requests().isEmpty());
}

TEST_F(ClientTest, ErrorPagesAreHandedOnAndOtherFailedStatusesAreNot)
{
    const struct {
        const char *kind;
        bool returned;
        int code;
    } cases[] = {
        {"404", true, 404}, {"servlet-404", true, 410}, {"500", true, 500}, {"servlet-500", true, 500}, {"502", false, 100},
    };
    for (const auto &c : cases) {
        ServiceProcess svc;
        Start(svc, {QStringLiteral("--error-page"), QString::fromLatin1(c.kind)});
        for (bool post : {false, true}) {
            ServerLoggedIn = true;
            const QString reply = post ? modHttp::HttpRequest(AddTime(QString()), 4, true)
                                       : modHttp::HttpRequest(QStringLiteral("action=version") + AnnaParams, 0, false);
            EXPECT_EQ(!reply.isEmpty(), c.returned) << c.kind << (post ? " POST" : " GET");
            EXPECT_EQ(clsTagParser().CheckInput(reply), c.code) << c.kind << (post ? " POST" : " GET");
        }
        EXPECT_TRUE(svc.received().isEmpty());
    }
}

TEST_F(ClientTest, CheckNameGivesTheFullNameOrTheReplyCode)
{
    ServiceProcess svc;
    Start(svc);
    const struct {
        const char *user, *password, *result;
    } cases[] = {
        {"anna", "pässwörd", "Anna O'Hara"},
        {"nobody", "pässwörd", "1"},
        {"anna", "password", "2"},
        {"carl", "carl", "4"},
    };
    for (const auto &c : cases) {
        UserNameURL.clear();
        PasswordURL.clear();
        EXPECT_EQ(CheckName(QString::fromUtf8(c.user), QString::fromUtf8(c.password), 6), QString::fromUtf8(c.result)) << c.user;
        EXPECT_EQ(UserNameURL, modHttp::URLEncode(QString::fromUtf8(c.user)));
        EXPECT_EQ(PasswordURL, modHttp::URLEncode(QString::fromUtf8(c.password)));
    }

    ServiceProcess notFound;
    Start(notFound, {QStringLiteral("--error-page"), QStringLiteral("404")});
    EXPECT_EQ(CheckName(QStringLiteral("anna"), QStringLiteral("pässwörd"), 8), QStringLiteral("404"))
        << "an error page is never a successful check";

    qputenv("TARV_SERVICE_ENDPOINT", QStringLiteral("https://127.0.0.1:%1").arg(testsvc::ClosedPort()).toLocal8Bit());
    EXPECT_EQ(CheckName(QStringLiteral("x y"), QStringLiteral("a&b"), 8), QStringLiteral("100"));
    EXPECT_EQ(UserNameURL, QStringLiteral("x+y"));
    EXPECT_EQ(PasswordURL, QStringLiteral("a%26b"));
}

TEST_F(ClientTest, CheckVersionReportsAndRemembersEachOutcome)
{
    const QString today = QString::number(DateToLong(QDate::currentDate()));
    auto updates = [](const char *key) {
        return registry::GetSetting(SettingsApp, QStringLiteral("updates"), QString::fromLatin1(key), QStringLiteral("(none)"));
    };
    {
        // The service knows the running version.
        QByteArray same = TestData;
        same.replace("\"2.3.4\"", "\"" + VersionText().toLatin1() + "\"");
        ServiceProcess svc;
        Start(svc, {QStringLiteral("--data"), testsvc::WriteDataFile(same)});
        EXPECT_EQ(CheckVersion(), QStringLiteral("-1"));
        EXPECT_EQ(Status(), QStringLiteral(" ") + GetLangString(1001, true));
        EXPECT_EQ(updates("DateCheckedforUpdates"), today);
        EXPECT_EQ(updates("versionNew"), QStringLiteral("(none)"));
    }
    registry::DeleteSetting(SettingsApp, QStringLiteral("updates"));
    ServiceProcess svc;
    Start(svc);
    EXPECT_EQ(CheckVersion(), QStringLiteral("2.3.4"));
    EXPECT_EQ(updates("versionNew"), QStringLiteral("2.3.4"));
    EXPECT_EQ(updates("DateCheckedforUpdates"), today);

    registry::DeleteSetting(SettingsApp, QStringLiteral("updates"));
    PasswordURL = QStringLiteral("wrong");
    EXPECT_EQ(CheckVersion(), QStringLiteral("#") + modHttp::GetErrMsg(2));
    EXPECT_EQ(updates("DateCheckedforUpdates"), QStringLiteral("(none)")) << "only an answer without error is remembered";
    EXPECT_EQ(updates("versionNew"), QStringLiteral("(none)"));

    qputenv("TARV_SERVICE_ENDPOINT", QStringLiteral("https://127.0.0.1:%1").arg(testsvc::ClosedPort()).toLocal8Bit());
    EXPECT_EQ(CheckVersion(), QStringLiteral("#") + GetLangString(1411));
    EXPECT_EQ(updates("DateCheckedforUpdates"), QStringLiteral("(none)"));

    ServiceProcess page;
    Start(page, {QStringLiteral("--error-page"), QStringLiteral("404")});
    EXPECT_EQ(CheckVersion(), QStringLiteral("#") + GetLangString(1413));
    EXPECT_EQ(updates("versionNew"), QStringLiteral("(none)"));
}
