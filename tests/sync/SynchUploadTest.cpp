// The bulk upload of the synchronisation window against the reference service on loopback
// HTTPS: which rows go, the bytes on the wire, the send state of every row after each kind of
// reply, and that nothing is sent twice.
#include "core/RequestGuard.h"
#include "core/ServiceRequests.h"
#include "core/frmMain.h"
#include "core/modHttp.h"
#include "core/modMain.h"
#include "platform/dao/dao.h"
#include "platform/forms/ComboBox.h"
#include "platform/forms/FlexGrid.h"
#include "platform/forms/Label.h"
#include "store/modDBchr.h"
#include "sync/frmSynch.h"
#include "tests/service/ServiceProcess.h"
#include "tests/support/ProgramFixture.h"
#include "tests/support/TestEnv.h"
#include "timelog/frmDaily.h"

#include <QApplication>
#include <QCheckBox>
#include <QDate>
#include <QElapsedTimer>
#include <QJsonObject>
#include <QUrl>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

using namespace modMain;
using testsvc::ServiceProcess;

namespace {

// Project 1 takes expenses, its task 10 offers categories 100 and 101, task 11 only 101.
const char Data[] = R"({
  "accounts": [
    { "username": "anna", "password": "pw é", "fullname": "Anna",
      "categories": [ { "id": 100, "name": "Design" }, { "id": 101, "name": "Meetings" }, { "id": 102, "name": "Other" } ],
      "expenseCategories": [ { "id": 7, "name": "Hotel" }, { "id": 8, "name": "Taxi" } ],
      "projects": [
        { "id": 1, "name": "Alpha", "tasks": [
            { "id": 10, "name": "Logo", "categories": [100, 101] },
            { "id": 11, "name": "Print", "categories": [101] } ] } ] }
  ]
})";

constexpr int32_t Day1 = 20070105, Day2 = 20070110, Day3 = 20070112;

class SynchUploadTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        TimeOut = 15;
        ServerLoggedIn = false;
        ASSERT_NO_FATAL_FAILURE(testenv::OpenProgramFolder(m_dir));
        SetCredentials(QStringLiteral("anna"), QStringLiteral("pw é"));
        ASSERT_NO_FATAL_FAILURE(testenv::AddCurrentUser());
        for (const auto &t : {std::pair{10, 1}, std::pair{11, 1}})
            DB->Execute(QStringLiteral("INSERT INTO tblProjTasks (cTaskID, cUsrID, cTaskName, cProjID, cChk, cExp) "
                                       "VALUES (?, ?, 't', ?, 0, 0)"),
                        dao::dbFailOnError, {t.first, CurrentUserID, t.second});
    }
    void TearDown() override
    {
        frmSynch::Unload();
        frmDaily::Unload();
        frmMain::Unload();
        testenv::CloseDatabase();
        TimeOut = 15;
        qunsetenv("TARV_CA_FILE");
    }

    static void SetCredentials(const QString &user, const QString &password)
    {
        testenv::StoreCredentials(user, password);
    }

    void Start(ServiceProcess &svc, QStringList options = {})
    {
        options << QStringLiteral("--data") << testsvc::WriteDataFile(Data);
        ASSERT_TRUE(svc.start(options)) << svc.output().toStdString();
        svc.pointProgramHere();
    }

    // A time-log entry; its comment names it so that the service's log tells which it was.
    static void Entry(double id, int32_t day, double start, double sec, double task, double cat, int chk = 0,
                      int started = 0, const QString &comment = QString())
    {
        DB->Execute(QStringLiteral("INSERT INTO tblDaily (cID, cUsrID, cName, cStarted, cStarttime, cSec, cDate, "
                                   "cTaskID, cCatID, cChk) VALUES (?, ?, 'x', ?, ?, ?, ?, ?, ?, ?)"),
                    dao::dbFailOnError, {id, CurrentUserID, started, start, sec, double(day), task, cat, chk});
        DB->Execute(QStringLiteral("INSERT INTO tblDailyComments (cID, cUsrID, cComments) VALUES (?, ?, ?)"),
                    dao::dbFailOnError,
                    {id, CurrentUserID, comment.isEmpty() ? QStringLiteral("t%1").arg(id) : comment});
    }
    static void Expense(double id, int32_t day, double cat, const QString &code, int chk = 0, double task = 10)
    {
        DB->Execute(QStringLiteral("INSERT INTO tblDailyExp (cID, cUsrID, cExpID, cAmount, cDate, cTime, cTaskID, "
                                   "cProjID, cPayee, cCode, cChk) VALUES (?, ?, ?, '12.50', ?, 36000, ?, 99, 'Inn', ?, ?)"),
                    dao::dbFailOnError,
                    {id, CurrentUserID, cat, double(day), task, code.isEmpty() ? QVariant() : QVariant(code), chk});
        DB->Execute(QStringLiteral("INSERT INTO tblDailyExpComments (cID, cUsrID, cComments) VALUES (?, ?, ?)"),
                    dao::dbFailOnError, {id, CurrentUserID, QStringLiteral("x%1").arg(id)});
    }

    static std::map<int, int> States(const char *table)
    {
        std::map<int, int> out;
        auto rs = DB->OpenRecordset(QStringLiteral("SELECT cID, cChk FROM %1 WHERE cUsrID = ?").arg(QLatin1String(table)),
                                    dao::dbOpenSnapshot, {CurrentUserID});
        for (; !rs->Eof(); rs->MoveNext())
            out[rs->Value(0).toInt()] = rs->Value(1).toInt();
        return out;
    }

    // The comments of what the service accepted, in order ("t3" for time-log entry 3, "x2" for expense 2).
    static QStringList Accepted(const ServiceProcess &svc)
    {
        QStringList out;
        for (const QJsonObject &line : svc.received())
            out << line.value(QStringLiteral("params")).toObject().value(QStringLiteral("cmt")).toString();
        return out;
    }
    // The comments of every upload request that reached the service, in order.
    static QStringList Posted(const ServiceProcess &svc)
    {
        QStringList out;
        for (const QJsonObject &line : svc.requests()) {
            const QString body = line.value(QStringLiteral("body")).toString();
            if (!body.startsWith(QStringLiteral("action=add")))
                continue;
            QString cmt = body.section(u'&', 1, 1).section(u'=', 1);
            cmt.replace(u'+', u' ');
            out << QString::fromUtf8(QByteArray::fromPercentEncoding(cmt.toLatin1()));
        }
        return out;
    }

    static QStringList Log()
    {
        QStringList out;
        forms::FlexGrid *grid = frmSynch::Get()->lstLog;
        for (int r = 0; r < grid->Rows(); ++r)
            out << grid->TextMatrix(r, 0);
        return out;
    }

    static void Pick(forms::ComboBox *list, int32_t day)
    {
        const int index = FindComboData(day, list);
        ASSERT_GE(index, 0) << day;
        list->setCurrentIndex(index);
        emit list->activated(index);
    }

    QString m_dir;
};

} // namespace

TEST_F(SynchUploadTest, AMixOfStatesOverSeveralDaysOfBothKinds)
{
    const QDateTime now = QDateTime::currentDateTime();
    const int32_t today = DateToLong(now.date());
    const int32_t tomorrow = DateToLong(now.date().addDays(1));
    const double nowSecs = now.time().msecsSinceStartOfDay() / 1000;
    Entry(1, Day1, 9 * 3600, 3600, 10, 100);
    Entry(2, Day1, 11 * 3600, 3600, 10, 100, 1);           // accepted before: not sent
    Entry(3, Day1, 13 * 3600, 3600, 10, 101, 2);           // to resend
    Entry(4, Day1, 15 * 3600, 3600, 11, 100, 3);           // task 11 does not offer 100: code 7
    Entry(5, Day2, 9 * 3600, 3600, 10, 100, 0, 1);         // the timers window's running row
    Entry(6, Day2, 10 * 3600, 3600, 10, 100, 0, 2);        // and a parked one
    Entry(7, Day2, 12 * 3600, 1800, 10, 100);
    Entry(8, tomorrow, 9 * 3600, 60, 10, 100);             // a later day
    Entry(9, today, nowSecs, 3600, 10, 100);               // still under way
    Entry(10, Day3, 23 * 3600 + 45 * 60, 1800, 10, 100, 0, 0, QStringLiteral("a&b c é"));
    Expense(1, Day1, 7, QStringLiteral("R-1"));
    Expense(2, Day1, 8, QString());                         // no code
    Expense(3, Day2, 9, QStringLiteral("R-3"));            // unknown expense category: code 10
    Expense(4, Day2, 7, QStringLiteral("R-4"), 1);         // accepted before

    ServiceProcess svc;
    Start(svc);
    frmSynch *w = frmSynch::Get();
    w->show();
    w->btnConnect[1]->click();

    const std::map<int, int> daily = States("tblDaily");
    EXPECT_EQ(daily, (std::map<int, int>{{1, 1}, {2, 1}, {3, 1}, {4, 3}, {5, 0}, {6, 0}, {7, 1}, {8, 0}, {9, 0}, {10, 1}}));
    EXPECT_EQ(States("tblDailyExp"), (std::map<int, int>{{1, 1}, {2, 1}, {3, 3}, {4, 1}}));
    EXPECT_EQ(Accepted(svc), (QStringList{"t1", "t3", "t7", "a&b c é", "x1", "x2"}));
    EXPECT_EQ(Posted(svc), (QStringList{"t1", "t3", "t4", "t7", "a&b c é", "x1", "x2", "x3"}));

    // The bytes of two rows as the service received them.
    const QList<QJsonObject> received = svc.received();
    ASSERT_EQ(received.size(), 6);
    const QString time = received[3].value(QStringLiteral("raw")).toString();
    EXPECT_TRUE(time.startsWith(QStringLiteral("action=addTime&cmt=a%26b+c+%C3%A9&prj=1&task=10&tc=100&start=200701122345"
                                               "&end=200701122415&username=anna&password=pw+%E9&tstmp=")))
        << time.toStdString();
    const QString exp = received[5].value(QStringLiteral("raw")).toString();
    EXPECT_TRUE(exp.startsWith(QStringLiteral("action=addExpense&cmt=x2&prj=1&task=10&ec=8&amount=12.50"
                                              "&charge=200701051000&payee=Inn&code=&username=anna")))
        << exp.toStdString();
    // The first POST of the run came after a sign-in.
    ASSERT_FALSE(svc.requests().isEmpty());
    EXPECT_TRUE(svc.requests().first().value(QStringLiteral("query")).toString().startsWith(QStringLiteral("action=name")));

    const QStringList log = Log();
    EXPECT_TRUE(log.first().startsWith(GetLangString(834)));
    EXPECT_TRUE(log.contains(GetLangString(835) + QStringLiteral(" ")));
    EXPECT_TRUE(log.contains(GetLangString(836)));
    EXPECT_TRUE(log.contains(GetLangString(840) + QStringLiteral(" 3 ") + GetLangString(841) + QStringLiteral(" 5")))
        << log.join(u'/').toStdString();
    EXPECT_TRUE(log.contains(GetLangString(843) + QStringLiteral(" 3 ") + GetLangString(844)));
    EXPECT_TRUE(log.contains(modHttp::GetErrMsg(7)));
    EXPECT_TRUE(log.contains(modHttp::GetErrMsg(10)));
    EXPECT_EQ(w->lblStatus->Caption(), GetLangString(928));

    // A second run offers only what was not accepted: the refused rows, never an accepted one.
    w->btnConnect[1]->click();
    EXPECT_EQ(Accepted(svc).size(), 6);
    EXPECT_EQ(Posted(svc).mid(8), (QStringList{"t4", "x3"}));
}

TEST_F(SynchUploadTest, TheChosenDaysAreSentAndTold)
{
    Entry(1, Day1, 9 * 3600, 3600, 10, 100);
    Entry(2, Day2, 9 * 3600, 3600, 10, 100);
    Entry(3, Day3, 9 * 3600, 3600, 10, 100);
    Expense(1, Day1, 7, QString());
    Expense(2, Day2, 7, QString());
    Expense(3, Day3, 7, QString());
    ServiceProcess svc;
    Start(svc);
    frmSynch *w = frmSynch::Get();
    w->show();

    // One day of time logs, a range of expenses.
    Pick(w->cmbTimeFrom, Day2);
    Pick(w->cmbExpFrom, Day2);
    Pick(w->cmbExpTo, Day3);
    w->btnConnect[1]->click();
    EXPECT_EQ(Accepted(svc), (QStringList{"t2", "x2", "x3"}));
    QStringList log = Log();
    EXPECT_TRUE(log.contains(GetLangString(837) + QStringLiteral(" ") + ShortDateText(QDate(2007, 1, 10))));
    EXPECT_TRUE(log.contains(GetLangString(857) + QStringLiteral(" ") + ShortDateText(QDate(2007, 1, 10)) + u' '
                             + GetLangString(805) + u' ' + ShortDateText(QDate(2007, 1, 12))))
        << log.join(u'/').toStdString();

    // The same day again: nothing left there.
    w->chk[1]->click();
    w->btnConnect[1]->click();
    log = Log();
    EXPECT_TRUE(log.contains(GetLangString(839)));
    EXPECT_FALSE(log.contains(GetLangString(855) + QStringLiteral(" "))) << "the expenses are skipped";

    // With both kinds skipped the menu still starts and clears the log, and sends nothing.
    w->chk[0]->click();
    w->mnuSynch_User->trigger();
    EXPECT_EQ(Log().size(), 1);
    EXPECT_EQ(Accepted(svc).size(), 3);

    // "<ALL>": every day, whatever To shows.
    w->chk[0]->click();
    w->chk[1]->click();
    for (forms::ComboBox *from : {w->cmbTimeFrom, w->cmbExpFrom}) {
        from->setCurrentIndex(0);
        emit from->activated(0);
    }
    w->btnConnect[1]->click();
    EXPECT_EQ(Accepted(svc), (QStringList{"t2", "x2", "x3", "t1", "t3", "x1"}));
}

TEST_F(SynchUploadTest, ARefusalOfTheAccountStopsEachKindAfterOneRowAndChangesNothing)
{
    Entry(1, Day1, 9 * 3600, 3600, 10, 100);
    Entry(2, Day1, 11 * 3600, 3600, 10, 100, 2);
    Expense(1, Day1, 7, QString());
    SetCredentials(QStringLiteral("anna"), QStringLiteral("wrong"));
    ServiceProcess svc;
    Start(svc);
    frmSynch *w = frmSynch::Get();
    w->btnConnect_Click(1);
    EXPECT_EQ(States("tblDaily"), (std::map<int, int>{{1, 0}, {2, 2}}));
    EXPECT_EQ(States("tblDailyExp"), (std::map<int, int>{{1, 0}}));
    EXPECT_EQ(Posted(svc), (QStringList{"t1", "x1"})) << "one attempt per kind";
    const QStringList log = Log();
    EXPECT_EQ(log.count(modHttp::GetErrMsg(2)), 2);
    EXPECT_EQ(log.count(GetLangString(842)), 2);
}

TEST_F(SynchUploadTest, AServiceThatStopsAnsweringMidwayLeavesTheRestUnsent)
{
    for (int i = 1; i <= 4; ++i)
        Entry(i, Day1, i * 3600, 600, 10, 100);
    Expense(1, Day1, 7, QString());
    Expense(2, Day1, 7, QString());
    ServiceProcess svc;
    Start(svc, {QStringLiteral("--stall-after"), QStringLiteral("2")});
    frmSynch *w = frmSynch::Get();
    w->btnConnect_Click(1);
    EXPECT_EQ(Accepted(svc), (QStringList{"t1", "t2"}));
    EXPECT_EQ(States("tblDaily"), (std::map<int, int>{{1, 1}, {2, 1}, {3, 2}, {4, 0}}))
        << "the unanswered row is to be sent again, the untried one stays unsent";
    EXPECT_EQ(States("tblDailyExp"), (std::map<int, int>{{1, 2}, {2, 0}}));
    EXPECT_EQ(Posted(svc), (QStringList{"t1", "t2", "t3", "x1"}));
    const QStringList log = Log();
    EXPECT_EQ(log.count(GetLangString(817)), 2);
    EXPECT_EQ(log.count(modHttp::GetErrMsg(100)), 2);
    EXPECT_EQ(w->lblStatus->Caption(), GetLangString(928)) << "the label does not go on showing a connection";
    EXPECT_FALSE(w->ReceivingProjects);
}

TEST_F(SynchUploadTest, ATimeOutCostsOneWaitPerKind)
{
    for (int i = 1; i <= 3; ++i)
        Entry(i, Day1, i * 3600, 600, 10, 100);
    Expense(1, Day1, 7, QString());
    ServiceProcess svc;
    Start(svc, {QStringLiteral("--stall-after"), QStringLiteral("1"), QStringLiteral("--delay-ms"), QStringLiteral("6000")});
    TimeOut = 1;
    frmSynch *w = frmSynch::Get();
    w->chk[1]->click();
    QElapsedTimer clock;
    clock.start();
    w->btnConnect_Click(1);
    EXPECT_LT(clock.elapsed(), 4500);
    EXPECT_EQ(Accepted(svc), QStringList{"t1"});
    EXPECT_EQ(States("tblDaily"), (std::map<int, int>{{1, 1}, {2, 2}, {3, 0}}));
    EXPECT_EQ(Posted(svc), (QStringList{"t1", "t2"}));
    EXPECT_EQ(States("tblDailyExp"), (std::map<int, int>{{1, 0}})) << "skipped";
}

TEST_F(SynchUploadTest, CredentialsThatCannotBeReadEndTheCommandWithALogLine)
{
    Entry(1, Day1, 9 * 3600, 3600, 10, 100);
    StoredPassword = QStringLiteral("not encrypted text");
    ServiceProcess svc;
    Start(svc);
    frmSynch *w = frmSynch::Get();
    w->btnConnect_Click(1);
    EXPECT_TRUE(Log().contains(GetLangString(862))) << Log().join(u'/').toStdString();
    EXPECT_TRUE(svc.requests().isEmpty());
    EXPECT_EQ(States("tblDaily"), (std::map<int, int>{{1, 0}}));
    StoredPassword.clear();
    w->btnConnect_Click(0);
    EXPECT_TRUE(Log().contains(GetLangString(862)));
    EXPECT_TRUE(svc.requests().isEmpty());
}

TEST_F(SynchUploadTest, TheWindowAndTheDailyLogPutTheSameBytesOnTheWire)
{
    Entry(1, Day1, 9 * 3600 + 40, 3600, 10, 100, 0, 0, QStringLiteral("O'Neill ü"));
    ServiceProcess svc;
    Start(svc);
    modDBchr::DailyEntry e;
    ASSERT_EQ(modDBchr::GetDailyEntry(1, e), 0);
    const modHttp::AddTimeValues v = modDBchr::UploadValuesOf(e);
    UserNameURL = modHttp::URLEncode(QStringLiteral("anna"));
    PasswordURL = modHttp::URLEncode(QStringLiteral("pw é"));
    ASSERT_FALSE(modHttp::SendRequest(modHttp::AddTimeRequest(v), 4).isEmpty());
    frmSynch::Get()->btnConnect_Click(1);
    const QList<QJsonObject> received = svc.received();
    ASSERT_EQ(received.size(), 2);
    auto withoutStamp = [](const QJsonObject &o) { return o.value(QStringLiteral("raw")).toString().section(QStringLiteral("&tstmp="), 0, 0); };
    EXPECT_EQ(withoutStamp(received[0]), withoutStamp(received[1]));
    QList<QJsonObject> posts;
    for (const QJsonObject &r : svc.requests())
        if (r.value(QStringLiteral("method")).toString() == u"POST")
            posts << r;
    ASSERT_EQ(posts.size(), 2);
    EXPECT_EQ(posts[0].value(QStringLiteral("contentType")), posts[1].value(QStringLiteral("contentType")));
    EXPECT_EQ(posts[0].value(QStringLiteral("contentType")).toString(),
              QStringLiteral("application/x-www-form-urlencoded; charset=UTF-8"));
    // One connection for every request of the run.
    EXPECT_EQ(svc.requests().first().value(QStringLiteral("remotePort")), svc.requests().last().value(QStringLiteral("remotePort")));
}

TEST_F(SynchUploadTest, WhileASendRunsNothingElseStartsAndTheOpenDailyLogShowsTheNewStates)
{
    const QDate today = QDate::currentDate();
    if (QTime::currentTime() < QTime(0, 5))
        GTEST_SKIP() << "needs an entry of today that has ended";
    Entry(1, DateToLong(today), 0, 60, 10, 100);
    Entry(2, DateToLong(today), 60, 60, 10, 100);
    ServiceProcess svc;
    Start(svc);
    frmDaily *daily = frmDaily::Get();
    daily->show();
    ASSERT_EQ(daily->lstLog->Rows(), 2);
    frmSynch *w = frmSynch::Get();
    w->show();

    bool ran = false, dailyEnabled = true, sendEnabled = true, receiveEnabled = true, exitEnabled = true;
    QTimer::singleShot(0, w, [&] {
        ran = true;
        dailyEnabled = daily->isEnabled();
        sendEnabled = w->btnConnect[1]->isEnabled();
        receiveEnabled = w->btnConnect[0]->isEnabled();
        exitEnabled = w->btnExit->isEnabled();
        w->btnConnect[1]->click();
        w->btnConnect_Click(1);
        w->mnuSynch_All->trigger();
        w->subWindow()->close();
    });
    w->btnConnect_Click(1);
    ASSERT_TRUE(ran);
    EXPECT_FALSE(dailyEnabled) << "the rows being sent cannot be edited";
    EXPECT_FALSE(sendEnabled);
    EXPECT_FALSE(receiveEnabled);
    EXPECT_FALSE(exitEnabled);
    EXPECT_EQ(Posted(svc), (QStringList{"t1", "t2"})) << "nothing sent twice";
    EXPECT_NE(frmSynch::Peek(), nullptr) << "the window stays while it sends";
    EXPECT_TRUE(daily->isEnabled());
    EXPECT_EQ(daily->lstLog->TextMatrix(0, 9), QStringLiteral("1"));
    EXPECT_EQ(daily->lstLog->TextMatrix(1, 9), QStringLiteral("1"));
    EXPECT_TRUE(w->btnConnect[1]->isEnabled());
}
