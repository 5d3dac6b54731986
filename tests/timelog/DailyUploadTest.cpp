// Sending one entry from the daily log window to the reference service on loopback HTTPS: the
// bytes on the wire, the send state after each reply class, the refusals, and the automatic
// send after a save.
#include "tests/timelog/DailyFixture.h"

#include "core/RequestGuard.h"
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

#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTcpServer>
#include <QTimer>

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

// The day's send through the Synch menu: the saved entries not yet accepted go out in grid
// order (not sent, to resend, rejected); an accepted entry, a free-time row, an entry with
// unsaved edits and one that has not ended yet stay, and the edited one is told.
TEST_F(DailyUploadTest, TheDaySendTakesSavedFinishedEntriesNotYetAccepted)
{
    const QTime now = QTime::currentTime();
    if (now < QTime(0, 10) || now > QTime(23, 50))
        GTEST_SKIP() << "the day's first and last minutes are needed as finished and unfinished";
    ServiceProcess svc;
    Start(svc);
    Entry(1, m_today, 60 * 0, 60, QString(), Sent);
    Entry(2, m_today, 60 * 1, 60, QString(), NotSent);
    Entry(3, m_today, 60 * 2, 60, QString(), Resend);
    Entry(4, m_today, 60 * 3, 60, QString(), Rejected);
    Entry(5, m_today, 60 * 4, 60, QString(), NotSent);          // edited below, not saved
    Entry(6, m_today, 23 * 3600 + 58 * 60, 60, QString(), NotSent);   // ends after now
    frmDaily *w = Open();
    w->mnuLogs_FreeBusy->trigger();
    ASSERT_GT(w->lstLog->Rows(), 6) << "free rows between the entries";
    for (int r = 0; r < w->lstLog->Rows(); ++r)
        if (w->lstLog->TextMatrix(r, ColID) == QLatin1String("5")) {
            w->lstLog->SetRow(r);
            w->lstLog_Click();
            w->txtComments->setPlainText(QStringLiteral("not saved"));
        }
    IsConnected = true;
    w->mnuSynch->popup(QPoint(0, 0));
    w->mnuSynch->hide();
    ASSERT_TRUE(w->mnuSynch_Day->isEnabled());
    w->mnuSynch_Day->trigger();

    const QStringList posts = Posts(svc);
    ASSERT_EQ(posts.size(), 3);
    const QString day = QString::number(m_today);
    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(posts[i].contains(QStringLiteral("&start=%1%2&").arg(day, QStringLiteral("000%1").arg(i + 1))))
            << posts[i].toStdString();
    EXPECT_EQ(ChkOf(1), Sent);
    EXPECT_EQ(ChkOf(2), Sent);
    EXPECT_EQ(ChkOf(3), Sent);
    EXPECT_EQ(ChkOf(4), Sent);
    EXPECT_EQ(ChkOf(5), NotSent);
    EXPECT_EQ(ChkOf(6), NotSent);
    EXPECT_EQ(Status(), GetLangString(1883, true));
    EXPECT_EQ(CommentOf(5), QStringLiteral("<none>")) << "nothing was saved on the way";
    EXPECT_TRUE(w->isEnabled());
    EXPECT_FALSE(RequestGuard::Busy());
}

// The selected entry through the Synch menu: sent once saved; an accepted one cannot be
// chosen, an edited one is told to be saved first and nothing goes out.
TEST_F(DailyUploadTest, TheItemSendTakesTheSelectedSavedEntry)
{
    ServiceProcess svc;
    Start(svc);
    Entry(1, m_yesterday, 8 * 3600, 60);
    Entry(2, m_yesterday, 9 * 3600, 60);
    frmDaily *w = Open();
    ShowDay(w, m_yesterday);
    IsConnected = true;
    const auto drop = [&] {
        w->mnuSynch->popup(QPoint(0, 0));
        w->mnuSynch->hide();
    };
    w->lstLog->SetRow(0);
    w->lstLog_Click();
    drop();
    ASSERT_TRUE(w->mnuSynch_Item->isEnabled());
    w->mnuSynch_Item->trigger();
    EXPECT_EQ(ChkOf(1), Sent);
    EXPECT_EQ(Posts(svc).size(), 1);
    drop();
    EXPECT_FALSE(w->mnuSynch_Item->isEnabled()) << "accepted";

    Edit(w, 1, QStringLiteral("09:00"), QStringLiteral("09:30"), QString());
    drop();
    ASSERT_TRUE(w->mnuSynch_Item->isEnabled());
    frametest::BoxWatcher boxes;
    w->mnuSynch_Item->trigger();
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].text, frametest::BoxText(1031));
    EXPECT_EQ(Posts(svc).size(), 1);
    EXPECT_EQ(ChkOf(2), NotSent);

    IsConnected = false;
    drop();
    EXPECT_FALSE(w->mnuSynch_Item->isEnabled());
    EXPECT_FALSE(w->mnuSynch_Day->isEnabled());
}

// The selected entry of today that has not ended yet waits: the menu offers it, nothing goes
// out and the status line says why.
TEST_F(DailyUploadTest, TheItemSendLeavesTodaysUnfinishedEntry)
{
    if (QTime::currentTime() > QTime(23, 50))
        GTEST_SKIP() << "the day's last minutes are needed as unfinished";
    ServiceProcess svc;
    Start(svc);
    Entry(1, m_today, 23 * 3600 + 58 * 60, 60);
    frmDaily *w = Open();
    IsConnected = true;
    w->lstLog->SetRow(0);
    w->lstLog_Click();
    w->mnuSynch->popup(QPoint(0, 0));
    w->mnuSynch->hide();
    ASSERT_TRUE(w->mnuSynch_Item->isEnabled());
    w->mnuSynch_Item->trigger();
    EXPECT_EQ(Status(), GetLangString(256, false));
    EXPECT_TRUE(Posts(svc).isEmpty());
    EXPECT_EQ(ChkOf(1), NotSent);
    EXPECT_EQ(w->lstLog->TextMatrix(0, ColChk), QStringLiteral("0"));
}

// While the window's own request is under way, the window takes no command.
TEST_F(DailyUploadTest, WhileAnEntryIsSentTheWindowTakesNoCommand)
{
    ServiceProcess svc;
    Start(svc);
    Entry(1, m_yesterday, 8 * 3600, 60);
    frmDaily *w = Open();
    ShowDay(w, m_yesterday);
    IsConnected = true;
    w->lstLog->SetRow(0);
    w->lstLog_Click();
    ASSERT_TRUE(w->btnDel->isEnabled());
    // Looked at the moment the request begins.
    int checked = 0;
    QObject during;
    QObject::connect(RequestGuard::Notifier(), &RequestBusy::BusyChanged, &during, [&](bool busy) {
        if (!busy)
            return;
        ++checked;
        EXPECT_FALSE(w->isEnabled());
        EXPECT_FALSE(w->btnDel->isEnabled());
        EXPECT_FALSE(w->mnuLogs_Del->isEnabled());
        EXPECT_FALSE(w->btnDelDate->isEnabled());
    });
    w->mnuSynch_Item->trigger();
    EXPECT_EQ(checked, 1);
    EXPECT_EQ(ChkOf(1), Sent);
    EXPECT_TRUE(w->isEnabled());
    EXPECT_TRUE(w->btnDelDate->isEnabled());
}

} // namespace
