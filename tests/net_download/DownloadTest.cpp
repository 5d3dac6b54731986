// The main window's daily download against the reference service over HTTPS, into a real
// encrypted database: what it stores and marks, when it sends nothing, what a failed or
// malformed reply leaves behind, and the reminder after more than 7 days.
#include "core/RequestGuard.h"
#include "core/frmMain.h"
#include "core/modHttp.h"
#include "core/modMain.h"
#include "platform/dao/dao.h"
#include "platform/forms/Label.h"
#include "platform/registry/Registry.h"
#include "store/modDBchr.h"
#include "tests/service/ServiceProcess.h"
#include "tests/support/BoxWatcher.h"
#include "tests/support/ProgramFixture.h"
#include "tests/support/TestEnv.h"

#include <QApplication>
#include <QDate>
#include <QTimer>
#include <gtest/gtest.h>

using namespace modMain;
using testsvc::ServiceProcess;

namespace {

const char TestData[] = R"({
  "version": "1.0.0",
  "accounts": [
    { "username": "anna", "password": "pässwörd", "fullname": "Anna",
      "categories": [ { "id": 100, "name": "Design" }, { "id": 101, "name": "Ανάπτυξη" },
                      { "id": 102, "name": "Rédaction d'audit" } ],
      "expenseCategories": [ { "id": 7, "name": "Hôtel & hébergement" }, { "id": 8, "name": "Taxi" } ],
      "projects": [
        { "id": 1, "name": "Café Lumière – rebranding", "expenses": true, "tasks": [
            { "id": 10, "name": "Logo & identity", "categories": [100, 101] },
            { "id": 11, "name": "Client's workshop", "expenses": false, "categories": [101, 102] } ] },
        { "id": 2, "name": "O'Neill & Söhne", "expenses": false, "tasks": [
            { "id": 20, "name": "Prüfung", "categories": [100] } ] },
        { "id": 3, "name": "Ξενοδοχείο Αιγαίο", "expenses": true } ] }
  ]
})";

// Every message box is answered with OK and its text kept, so that no box can hang a test.
using testenv::BoxWatcher;

QStringList Texts(const BoxWatcher &watcher)
{
    QStringList out;
    for (const BoxWatcher::Box &b : watcher.boxes)
        out << b.text;
    return out;
}

class DownloadTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        TimeOut = 15;
        ShowBalloons = 1;
        IsConnected = true;
        ASSERT_NO_FATAL_FAILURE(testenv::OpenProgramFolder(m_dir));
        UserFullName = QStringLiteral("Anna");
        SetCredentials(QStringLiteral("anna"), QStringLiteral("pässwörd"));
        ASSERT_NO_FATAL_FAILURE(testenv::AddCurrentUser());
        registry::DeleteSetting(SettingsApp, QString::number(CurrentUserID));
        m_main = frmMain::Get();
    }
    void TearDown() override
    {
        frmMain::Unload();
        testenv::CloseDatabase();
        qunsetenv("TARV_SERVICE_ENDPOINT");
        qunsetenv("TARV_CA_FILE");
    }

    static void SetCredentials(const QString &user, const QString &password)
    {
        testenv::StoreCredentials(user, password);
    }

    void Start(ServiceProcess &svc, QStringList options = {})
    {
        if (!options.contains(QStringLiteral("--data")))
            options << QStringLiteral("--data") << testsvc::WriteDataFile(TestData);
        ASSERT_TRUE(svc.start(options)) << svc.output().toStdString();
        svc.pointProgramHere();
    }

    // Rows of a reference table of the current user, one text per row, ordered.
    static QStringList Rows(const QString &select) { return testenv::UserRows(select); }

    static QString Checked()
    {
        return registry::GetSetting(SettingsApp, QString::number(CurrentUserID), QStringLiteral("CheckTablesDate"),
                                    QStringLiteral("(none)"));
    }

    static QString Today() { return QString::number(DateToLong(QDate::currentDate())); }
    QString Status() const { return m_main->lblMsg->Caption(); }

    QString m_dir;
    frmMain *m_main = nullptr;
};

const QString Projects = QStringLiteral("SELECT cProjID, cName, cChk, cExp FROM tblProjects");
const QString Tasks = QStringLiteral("SELECT cTaskID, cProjID, cTaskName, cChk, cExp FROM tblProjTasks");
const QString Categs = QStringLiteral("SELECT cCatID, cName, cChk FROM tblCategs");
const QString Links = QStringLiteral("SELECT cTaskID, cCatID, cChk FROM tblTaskCategs");
const QString ExpCategs = QStringLiteral("SELECT cExpID, cExpName, cChk FROM tblExpCategs");

} // namespace

TEST_F(DownloadTest, AFirstDownloadStoresEveryItemWithItsMarkAndFlag)
{
    ServiceProcess svc;
    Start(svc);
    BoxWatcher boxes;
    m_main->SynchTables();

    // Every mark is back at rest once the download is stored.
    EXPECT_EQ(Rows(Projects), (QStringList{"1|Café Lumière – rebranding|0|0", "2|O'Neill & Söhne|0|-1",
                                           "3|Ξενοδοχείο Αιγαίο|0|0"}));
    EXPECT_EQ(Rows(Tasks), (QStringList{"10|1|Logo & identity|0|0", "11|1|Client's workshop|0|-1", "20|2|Prüfung|0|0"}));
    EXPECT_EQ(Rows(Categs), (QStringList{"100|Design|0", "101|Ανάπτυξη|0", "102|Rédaction d'audit|0"}));
    EXPECT_EQ(Rows(Links), (QStringList{"10|100|0", "10|101|0", "11|101|0", "11|102|0", "20|100|0"}));
    EXPECT_EQ(Rows(ExpCategs), (QStringList{"7|Hôtel & hébergement|0", "8|Taxi|0"}));
    EXPECT_EQ(Checked(), Today());
    EXPECT_EQ(Status(), QStringLiteral(" ") + GetLangString(122, true));
    EXPECT_TRUE(Texts(boxes).isEmpty()) << "tables updated just now are not called old: "
                                       << Texts(boxes).join(u'/').toStdString();

    // The two requests, as GETs with the stored credentials.
    const QList<QJsonObject> log = svc.requests();
    ASSERT_EQ(log.size(), 2);
    EXPECT_TRUE(log[0]["query"].toString().startsWith(QStringLiteral("action=projects&username=anna&password=p%E4ssw%F6rd&tstmp=")));
    EXPECT_TRUE(log[1]["query"].toString().startsWith(QStringLiteral("action=expenses&username=anna&password=p%E4ssw%F6rd&tstmp=")));
}

TEST_F(DownloadTest, ASecondStartOnTheSameDaySendsNothingAndADownloadNeverDeletes)
{
    ServiceProcess svc;
    Start(svc);
    BoxWatcher boxes;
    m_main->SynchTables();
    ASSERT_EQ(svc.requests().size(), 2);
    frmMain::Unload();
    m_main = frmMain::Get();
    m_main->SynchTables();
    EXPECT_EQ(svc.requests().size(), 2) << "already downloaded today";

    // On another day the download runs again: none is removed, names stay as first stored,
    // the flags are rewritten and the marks are back at rest.
    registry::SaveSetting(SettingsApp, QString::number(CurrentUserID), QStringLiteral("CheckTablesDate"),
                          QString::number(DateToLong(QDate::currentDate().addDays(-1))));
    DB->Execute(QStringLiteral("UPDATE tblProjects SET cChk = 0, cName = 'Renamed here', cExp = -1 WHERE cProjID = 1"));
    DB->Execute(QStringLiteral("INSERT INTO tblProjects(cName, cProjID, cUsrID, cChk, cExp) Values('Gone', 9, ?, 0, 0)"),
                0, {CurrentUserID});
    m_main->SynchTables();
    EXPECT_EQ(svc.requests().size(), 4);
    EXPECT_EQ(Rows(Projects), (QStringList{"1|Renamed here|0|0", "2|O'Neill & Söhne|0|-1", "3|Ξενοδοχείο Αιγαίο|0|0",
                                           "9|Gone|0|0"}));
    EXPECT_EQ(Rows(Categs), (QStringList{"100|Design|0", "101|Ανάπτυξη|0", "102|Rédaction d'audit|0"}));
    EXPECT_EQ(Checked(), Today());
    EXPECT_TRUE(Texts(boxes).isEmpty());
}

TEST_F(DownloadTest, OfflineNothingIsSentAndAnOldDownloadIsRemindedOf)
{
    ServiceProcess svc;
    Start(svc);
    IsConnected = false;
    const struct {
        int daysAgo;
        bool reminded;
    } cases[] = {{3, false}, {7, false}, {8, true}, {400, true}};
    for (const auto &c : cases) {
        registry::SaveSetting(SettingsApp, QString::number(CurrentUserID), QStringLiteral("CheckTablesDate"),
                              QString::number(DateToLong(QDate::currentDate().addDays(-c.daysAgo))));
        BoxWatcher boxes;
        m_main->SynchTables();
        QApplication::processEvents();
        ASSERT_EQ(Texts(boxes).size(), c.reminded ? 1 : 0) << c.daysAgo << " days";
        if (c.reminded) {
            EXPECT_TRUE(Texts(boxes)[0].contains(GetLangString(124, false).left(20))) << Texts(boxes)[0].toStdString();
        }
    }
    // Never downloaded at all.
    registry::DeleteSetting(SettingsApp, QString::number(CurrentUserID));
    BoxWatcher boxes;
    m_main->SynchTables();
    EXPECT_EQ(Texts(boxes).size(), 1);
    EXPECT_TRUE(svc.requests().isEmpty());
    EXPECT_TRUE(Rows(Projects).isEmpty());
}

TEST_F(DownloadTest, AFailedOrMalformedReplyStoresNothingFurtherAndKeepsTheDate)
{
    const QString yesterday = QString::number(DateToLong(QDate::currentDate().addDays(-1)));
    const struct {
        const char *what;
        QStringList options;
        bool projectsStored;
        QString status;   // the status line after the download's announcement
    } cases[] = {
        {"wrong password", {}, false, QString()},
        {"projects reply cut", {"--truncate", "300", "--only", "projects"}, false, QString()},
        {"expenses reply cut", {"--truncate", "60", "--only", "expenses"}, true, QString()},
        {"garbage", {"--garbage"}, false, QString()},
        {"server error page", {"--error-page", "500", "--only", "expenses"}, true, QString()},
        {"proxy error page", {"--error-page", "502", "--only", "projects"}, false, QString()},
        {"service too slow", {"--delay-ms", "3000", "--only", "projects"}, false, QString()},
    };
    for (const auto &c : cases) {
        DB->Execute(QStringLiteral("DELETE FROM tblProjects"));
        DB->Execute(QStringLiteral("DELETE FROM tblProjTasks"));
        DB->Execute(QStringLiteral("DELETE FROM tblExpCategs"));
        registry::SaveSetting(SettingsApp, QString::number(CurrentUserID), QStringLiteral("CheckTablesDate"), yesterday);
        SetCredentials(QStringLiteral("anna"), QString::fromUtf8(c.what) == u"wrong password" ? QStringLiteral("x")
                                                                                             : QStringLiteral("pässwörd"));
        TimeOut = 1;
        ServiceProcess svc;
        Start(svc, c.options);
        BoxWatcher boxes;
        m_main->SynchTables();
        EXPECT_EQ(Checked(), yesterday) << c.what;
        EXPECT_EQ(Status(), QStringLiteral(" ") + GetLangString(123, true)) << c.what;
        EXPECT_EQ(Rows(Projects).size(), c.projectsStored ? 3 : 0) << c.what;
        EXPECT_TRUE(Rows(ExpCategs).isEmpty()) << c.what;
        EXPECT_TRUE(Texts(boxes).isEmpty()) << c.what;
    }
}

TEST_F(DownloadTest, AnErrorReplyIsToldWithItsText)
{
    SetCredentials(QStringLiteral("anna"), QStringLiteral("wrong"));
    ServiceProcess svc;
    Start(svc);
    BoxWatcher boxes;
    // The failure announcement replaces the line; the parser's line comes before it.
    QStringList lines;
    QObject::connect(m_main->lblMsg, &forms::Label::Change, [&] { lines << m_main->lblMsg->Caption(); });
    EXPECT_FALSE(m_main->UpdateTables());
    EXPECT_TRUE(lines.contains(QStringLiteral(" ") + GetLangString(821, true) + modHttp::GetErrMsg(2)))
        << lines.join(u'/').toStdString();
    EXPECT_TRUE(Rows(Projects).isEmpty());
}

TEST_F(DownloadTest, AnEmptyProjectListIsAWholeDownload)
{
    ServiceProcess svc;
    Start(svc, {QStringLiteral("--data"),
                testsvc::WriteDataFile(R"({"accounts":[{"username":"anna","password":"pässwörd","fullname":"Anna"}]})")});
    BoxWatcher boxes;
    m_main->SynchTables();
    EXPECT_EQ(Checked(), Today());
    EXPECT_TRUE(Rows(Projects).isEmpty());
    EXPECT_TRUE(Texts(boxes).isEmpty());
}

TEST_F(DownloadTest, AStoreWriteThatFailsLeavesTheCatalogueAsItWasAndSetsNoDate)
{
    {
        ServiceProcess svc;
        Start(svc);
        BoxWatcher boxes;
        m_main->SynchTables();
        ASSERT_EQ(Checked(), Today());
    }
    const QString yesterday = QString::number(DateToLong(QDate::currentDate().addDays(-1)));
    registry::SaveSetting(SettingsApp, QString::number(CurrentUserID), QStringLiteral("CheckTablesDate"), yesterday);
    // The engine refuses the new expense category as it refuses a row it cannot apply.
    DB->Execute(QStringLiteral("CREATE TRIGGER refuse BEFORE INSERT ON tblExpCategs "
                               "BEGIN SELECT RAISE(ABORT, 'dao:null:tblExpCategs.cExpName'); END"));
    const auto catalogue = [] { return Rows(Projects) + Rows(Tasks) + Rows(Categs) + Rows(Links) + Rows(ExpCategs); };
    const QStringList before = catalogue();

    QByteArray more(TestData);
    more.replace(R"({ "id": 8, "name": "Taxi" })", R"({ "id": 8, "name": "Taxi" }, { "id": 9, "name": "Parking" })");
    more.replace(R"({ "id": 3, "name": "Ξενοδοχείο Αιγαίο", "expenses": true })",
                 R"({ "id": 3, "name": "Ξενοδοχείο Αιγαίο", "expenses": false }, { "id": 4, "name": "New" })");
    ServiceProcess svc;
    Start(svc, {QStringLiteral("--data"), testsvc::WriteDataFile(more)});
    BoxWatcher boxes;
    m_main->SynchTables();
    ASSERT_EQ(svc.requests().size(), 2);
    EXPECT_EQ(catalogue(), before) << "neither the new project nor the changed flag is stored";
    EXPECT_EQ(Checked(), yesterday);
    EXPECT_EQ(Status(), QStringLiteral(" ") + GetLangString(123, true));
}

TEST_F(DownloadTest, WhileADownloadRunsNoOtherRequestIsSent)
{
    ServiceProcess svc;
    Start(svc);
    // Runs in the first turn of the event loop inside the download (its first progress line).
    bool ran = false, busy = false, nestedDownload = true;
    QString nestedReply = QStringLiteral("not run");
    QTimer::singleShot(0, m_main, [&] {
        ran = true;
        busy = RequestGuard::Busy();
        nestedReply = modHttp::HttpRequest(QStringLiteral("action=version&username=anna&password=p%E4ssw%F6rd"),
                                           modHttp::KindUpload, false);
        nestedDownload = m_main->UpdateTables();
    });
    EXPECT_TRUE(m_main->UpdateTables());
    ASSERT_TRUE(ran);
    EXPECT_TRUE(busy);
    EXPECT_EQ(nestedReply, QString());
    EXPECT_FALSE(nestedDownload);
    EXPECT_EQ(svc.requests().size(), 2) << "only the download's own two requests";
    EXPECT_FALSE(RequestGuard::Busy());
    EXPECT_EQ(Rows(Projects).size(), 3);
}
