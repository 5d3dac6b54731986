// Sending one entry from the daily log window to the reference service on loopback HTTPS: the
// bytes on the wire, the send state after each reply class, the refusals, and the automatic
// send after a save.
#include "tests/timelog/DailyFixture.h"

#include "core/frmMain.h"
#include "core/modHttp.h"
#include "core/modMain.h"
#include "platform/dao/dao.h"
#include "platform/forms/Forms.h"
#include "tests/service/ServiceProcess.h"
#include "tests/support/TestEnv.h"
#include "timelog/DailyRules.h"
#include "timelog/frmDaily.h"
#include "store/modDBchr.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTcpServer>

using namespace modMain;
using namespace dailyrules;
using testsvc::ServiceProcess;

namespace {

const char Accounts[] = R"({
  "version": "1.0.0",
  "accounts": [
    { "username": "maria", "password": "s3cret é", "fullname": "Maria",
      "categories": [ { "id": 100, "name": "Drawing" }, { "id": 101, "name": "Meetings" } ],
      "projects": [ { "id": 1, "name": "Alpha", "tasks": [ { "id": 10, "name": "Design", "categories": [100] } ] } ] },
    { "username": "locked", "password": "x", "fullname": "L", "locked": true }
  ]
})";

class DailyUploadTest : public dailytest::DailyTest {
protected:
    void SetUp() override
    {
        DailyTest::SetUp();
        TimeOut = 15;
        ServerLoggedIn = false;
        UserNameURL = modHttp::URLEncode(QStringLiteral("maria"));
        PasswordURL = modHttp::URLEncode(QStringLiteral("s3cret é"));
    }
    void TearDown() override
    {
        qunsetenv("TARV_CA_FILE");
        TimeOut = 15;
        DailyTest::TearDown();
    }
    void Start(ServiceProcess &svc, QStringList options = {})
    {
        options << QStringLiteral("--data") << testsvc::WriteDataFile(Accounts);
        ASSERT_TRUE(svc.start(options)) << svc.output().toStdString();
        svc.pointProgramHere();
    }
    int ChkOf(double id)
    {
        auto rs = DB->OpenRecordset(QStringLiteral("SELECT cChk FROM tblDaily WHERE cID = ?"), dao::dbOpenDefault, {id});
        rs->MoveFirst();
        return rs->Value(0).toInt();
    }
    QString Status() { return frmMain::Get()->lblMsg->Caption().trimmed(); }
    // The POST bodies the service saw, without their time stamps.
    QStringList Posts(const ServiceProcess &svc)
    {
        QStringList out;
        for (const QJsonObject &r : svc.requests())
            if (r["method"].toString() == QLatin1String("POST")) {
                QString b = r["body"].toString();
                out << b.left(b.lastIndexOf(QLatin1String("&tstmp=")));
            }
        return out;
    }
    static QString Creds() { return QStringLiteral("&username=maria&password=s3cret+%E9"); }
};

TEST_F(DailyUploadTest, EntriesGoOnTheWireAsStored)
{
    ServiceProcess svc;
    Start(svc);
    Entry(1, 20061231, 23 * 3600 + 45 * 60, 1800, QStringLiteral("a&b c"));
    Entry(2, 20061231, 8 * 3600 + 5 * 60 + 29, 600, QStringLiteral("é"));
    Entry(3, 20061231, 8 * 3600 + 5 * 60 + 30, 59 * 60 + 59);
    frmDaily *w = Open();
    ShowDay(w, 20061231);
    ASSERT_EQ(w->lstLog->Rows(), 3);
    // The grid's copy differs from the stored entry: what is stored goes out.
    w->lstLog->SetTextMatrix(2, ColStart, QStringLiteral("1"));
    for (int r = 0; r < 3; ++r)
        w->SynchTimeLog(r);

    const QStringList posts = Posts(svc);
    ASSERT_EQ(posts.size(), 3);
    EXPECT_EQ(posts[0], QStringLiteral("action=addTime&cmt=%C3%A9&prj=1&task=10&tc=100&start=200612310805&end=200612310815") + Creds());
    EXPECT_EQ(posts[1], QStringLiteral("action=addTime&cmt=&prj=1&task=10&tc=100&start=200612310806&end=200612310905") + Creds());
    EXPECT_EQ(posts[2], QStringLiteral("action=addTime&cmt=a%26b+c&prj=1&task=10&tc=100&start=200612312345&end=200612312415") + Creds());
    EXPECT_EQ(svc.requests().first()["query"].toString().left(20), QStringLiteral("action=name&username"))
        << "the sign-in goes before the first POST";
    Q_UNUSED(w);
}

TEST_F(DailyUploadTest, CommentsAreSentAsUtf8)
{
    ServiceProcess svc;
    Start(svc);
    Entry(1, m_yesterday, 8 * 3600, 60, QStringLiteral("é Ω"));
    frmDaily *w = Open();
    ShowDay(w, m_yesterday);
    w->SynchTimeLog(0);
    const QStringList posts = Posts(svc);
    ASSERT_EQ(posts.size(), 1);
    EXPECT_TRUE(posts[0].startsWith(QStringLiteral("action=addTime&cmt=%C3%A9+%CE%A9&prj=1&"))) << posts[0].toStdString();
    ASSERT_EQ(svc.received().size(), 1);
    EXPECT_EQ(svc.received()[0]["params"].toObject()["cmt"].toString(), QStringLiteral("é Ω"));
}

TEST_F(DailyUploadTest, AcceptanceMarksTheRowSentAndReadOnly)
{
    ServiceProcess svc;
    Start(svc);
    Entry(1, m_yesterday, 8 * 3600, 60);
    frmDaily *w = Open();
    ShowDay(w, m_yesterday);
    w->SynchTimeLog(0);
    EXPECT_EQ(ChkOf(1), 1);
    EXPECT_EQ(w->lstLog->TextMatrix(0, ColChk), QStringLiteral("1"));
    EXPECT_EQ(Status(), GetLangString(290, false));
    EXPECT_EQ(w->lstLog->CellBackColorAt(0, ColName), 0xE0E0E0);
    w->lstLog->SetRow(0);
    w->lstLog_Click();
    EXPECT_FALSE(w->btnSave->isEnabled());
    EXPECT_FALSE(w->txtComments->isEnabled());
}

TEST_F(DailyUploadTest, EachReplyClassGivesItsSendState)
{
    const QString good = QStringLiteral("s3cret+%E9");
    struct Case {
        const char *name;
        QStringList options;
        QString user, pass;
        double project;
        int chk;
    } cases[] = {
        {"wrong password", {}, QStringLiteral("maria"), QStringLiteral("wrong"), 1, Resend},
        {"unknown user", {}, QStringLiteral("nobody"), good, 1, Resend},
        {"locked account", {}, QStringLiteral("locked"), QStringLiteral("x"), 1, Resend},
        {"unknown project", {}, QStringLiteral("maria"), good, 9, Rejected},
        {"404 page", {QStringLiteral("--error-page"), QStringLiteral("404")}, QStringLiteral("maria"), good, 1, Resend},
        {"500 page", {QStringLiteral("--error-page"), QStringLiteral("500")}, QStringLiteral("maria"), good, 1, Resend},
        {"servlet 500", {QStringLiteral("--error-page"), QStringLiteral("servlet-500")}, QStringLiteral("maria"), good, 1, Resend},
        {"guest network page with 200", {QStringLiteral("--error-page"), QStringLiteral("portal")}, QStringLiteral("maria"), good, 1, Resend},
        {"time-out", {QStringLiteral("--delay-ms"), QStringLiteral("4000"), QStringLiteral("--only"), QStringLiteral("addTime")}, QStringLiteral("maria"), good, 1, Resend},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        ServiceProcess svc;
        Start(svc, c.options);
        DB->Execute(QStringLiteral("DELETE FROM tblDaily"));
        DB->Execute(QStringLiteral("DELETE FROM tblProjTasks WHERE cTaskID = 10"));
        modDBchr::SaveTask(10, QStringLiteral("Design"), c.project, QStringLiteral("FALSE"));
        Entry(1, m_yesterday, 8 * 3600, 60);
        ServerLoggedIn = false;
        UserNameURL = c.user;
        PasswordURL = c.pass;
        TimeOut = QLatin1String(c.name) == QLatin1String("time-out") ? 1 : 15;
        frmDaily::Unload();
        frmDaily *w = Open();
        ShowDay(w, m_yesterday);
        w->SynchTimeLog(0);
        EXPECT_EQ(ChkOf(1), c.chk);
        EXPECT_EQ(w->lstLog->TextMatrix(0, ColChk), QString::number(c.chk));
        EXPECT_EQ(Status(), GetLangString(291, false));
        EXPECT_TRUE(svc.received().isEmpty());
    }
}

TEST_F(DailyUploadTest, NoServiceMeansResend)
{
    QTcpServer s;
    s.listen(QHostAddress::LocalHost, 0);
    const int port = s.serverPort();
    s.close();
    qputenv("TARV_SERVICE_ENDPOINT", QStringLiteral("https://127.0.0.1:%1").arg(port).toLocal8Bit());
    Entry(1, m_yesterday, 8 * 3600, 60, QString(), 3);
    frmDaily *w = Open();
    ShowDay(w, m_yesterday);
    w->SynchTimeLog(0);
    EXPECT_EQ(ChkOf(1), Resend);
    EXPECT_EQ(w->lstLog->TextMatrix(0, ColChk), QStringLiteral("2"));
}

TEST_F(DailyUploadTest, UnfinishedLaterAndUnsavedEntriesAreNotSent)
{
    ServiceProcess svc;
    Start(svc);
    const int32_t tomorrow = DateToLong(QDate::currentDate().addDays(1));
    Entry(1, tomorrow, 0, 60);
    Entry(2, m_yesterday, 8 * 3600, 60);
    frmDaily *w = Open();
    ShowDay(w, tomorrow);
    w->SynchTimeLog(0);
    EXPECT_EQ(Status(), GetLangString(256, false));
    ShowDay(w, m_yesterday);
    Edit(w, 0, QStringLiteral("08:00"), QStringLiteral("08:30"), QString());
    w->SynchTimeLog(0);
    EXPECT_EQ(Status(), GetLangString(1031, false));
    EXPECT_TRUE(svc.requests().isEmpty());
    EXPECT_EQ(ChkOf(1), 0);
    EXPECT_EQ(ChkOf(2), 0);
}

TEST_F(DailyUploadTest, ASaveSendsTheEntryWhenOnlineAndNotAfterAFailedWrite)
{
    ServiceProcess svc;
    Start(svc);
    qputenv("TARV_ONLINE", "1");
    AutoSynch = 1;
    Entry(1, m_yesterday, 8 * 3600, 60);
    frmDaily *w = Open();
    ShowDay(w, m_yesterday);
    Edit(w, 0, QStringLiteral("08:00"), QStringLiteral("08:30"), QStringLiteral("now"));
    w->btnSave_Click();
    EXPECT_EQ(ChkOf(1), Sent);
    EXPECT_EQ(w->lstLog->TextMatrix(0, ColChk), QStringLiteral("1"));
    ASSERT_EQ(Posts(svc).size(), 1);
    EXPECT_TRUE(Posts(svc)[0].startsWith(QStringLiteral("action=addTime&cmt=now&prj=1&task=10&tc=100&start=") + QString::number(m_yesterday)
                                       + QStringLiteral("0800&end=") + QString::number(m_yesterday) + QStringLiteral("0830")));

    DB->Execute(QStringLiteral("CREATE TRIGGER no_insert BEFORE INSERT ON tblDaily BEGIN SELECT RAISE(ABORT, 'disk is full'); END"));
    frametest::BoxWatcher boxes;
    w->btnAdd_Click();
    w->txtStart->setText(QStringLiteral("09:00"));
    w->txtEnd->setText(QStringLiteral("09:30"));
    w->MyTree_NodeClick(Category(w, QStringLiteral("100")));
    w->btnSave_Click();
    EXPECT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(Posts(svc).size(), 1) << "nothing is sent after a failed write";
    qputenv("TARV_ONLINE", "0");
}

} // namespace
