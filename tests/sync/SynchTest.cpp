// The synchronisation window's download against the reference service over HTTPS, into a real
// encrypted database: what a receive stores, counts and sweeps, and that a reply that is no
// whole tag tree never empties the person's reference tables.
#include "core/RequestGuard.h"
#include "core/frmMain.h"
#include "core/modHttp.h"
#include "core/modMain.h"
#include "platform/dao/dao.h"
#include "platform/forms/FlexGrid.h"
#include "platform/forms/Label.h"
#include "platform/forms/TreeView.h"
#include "platform/registry/Registry.h"
#include "store/modDBchr.h"
#include "sync/frmSynch.h"
#include "tests/service/ServiceProcess.h"
#include "tests/support/ProgramFixture.h"
#include "tests/support/TestEnv.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDate>
#include <QEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

using namespace modMain;
using testsvc::ServiceProcess;

namespace {

const char FullData[] = R"({
  "accounts": [
    { "username": "anna", "password": "pw", "fullname": "Anna",
      "categories": [ { "id": 100, "name": "Design" }, { "id": 101, "name": "Ανάπτυξη" }, { "id": 102, "name": "Rédaction" } ],
      "expenseCategories": [ { "id": 7, "name": "Hôtel" }, { "id": 8, "name": "Taxi" } ],
      "projects": [
        { "id": 1, "name": "Café", "tasks": [
            { "id": 10, "name": "Logo", "categories": [100, 101] },
            { "id": 11, "name": "Workshop", "expenses": false, "categories": [101, 102] } ] },
        { "id": 2, "name": "O'Neill", "expenses": false, "tasks": [ { "id": 20, "name": "Prüfung", "categories": [100] } ] } ] }
  ]
})";

// Project 2 with its task, task 11, category 102 and expense category 8 are gone.
const char SmallerData[] = R"({
  "accounts": [
    { "username": "anna", "password": "pw", "fullname": "Anna",
      "categories": [ { "id": 100, "name": "Design" }, { "id": 101, "name": "Ανάπτυξη" } ],
      "expenseCategories": [ { "id": 7, "name": "Hôtel" } ],
      "projects": [ { "id": 1, "name": "Café", "tasks": [ { "id": 10, "name": "Logo", "categories": [100, 101] } ] } ] }
  ]
})";

// SmallerData with a new expense category.
const char SmallerWithParking[] = R"({
  "accounts": [
    { "username": "anna", "password": "pw", "fullname": "Anna",
      "categories": [ { "id": 100, "name": "Design" }, { "id": 101, "name": "Ανάπτυξη" } ],
      "expenseCategories": [ { "id": 7, "name": "Hôtel" }, { "id": 9, "name": "Parking" } ],
      "projects": [ { "id": 1, "name": "Café", "tasks": [ { "id": 10, "name": "Logo", "categories": [100, 101] } ] } ] }
  ]
})";

const char NoProjects[] = R"({
  "accounts": [ { "username": "anna", "password": "pw", "fullname": "Anna",
                  "expenseCategories": [ { "id": 7, "name": "Hôtel" } ] } ]
})";

const QString Projects = QStringLiteral("SELECT cProjID, cName, cChk, cExp FROM tblProjects");
const QString Tasks = QStringLiteral("SELECT cTaskID, cProjID, cChk, cExp FROM tblProjTasks");
const QString Categs = QStringLiteral("SELECT cCatID, cName, cChk FROM tblCategs");
const QString Links = QStringLiteral("SELECT cTaskID, cCatID, cChk FROM tblTaskCategs");
const QString ExpCategs = QStringLiteral("SELECT cExpID, cExpName, cChk FROM tblExpCategs");

class SynchTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(testenv::OpenProgramFolder(m_dir));
        TimeOut = 15;
        UserFullName = QStringLiteral("Anna");
        SetPassword(QStringLiteral("pw"));
        ASSERT_NO_FATAL_FAILURE(testenv::AddCurrentUser());
        registry::DeleteSetting(SettingsApp, QString::number(CurrentUserID));
    }
    void TearDown() override
    {
        frmSynch::Unload();
        frmMain::Unload();
        testenv::CloseDatabase();
    }

    static void SetPassword(const QString &password) { testenv::StoreCredentials(QStringLiteral("anna"), password); }

    // One receive from a service that serves data, with the given options.
    void Receive(const char *data, QStringList options = {})
    {
        ServiceProcess svc;
        options << QStringLiteral("--data") << testsvc::WriteDataFile(data);
        ASSERT_TRUE(svc.start(options)) << svc.output().toStdString();
        svc.pointProgramHere();
        frmSynch::Get()->btnConnect_Click(0);
    }

    static QStringList Rows(const QString &select) { return testenv::UserRows(select); }

    static QStringList Log()
    {
        QStringList out;
        forms::FlexGrid *grid = frmSynch::Get()->lstLog;
        for (int r = 0; r < grid->Rows(); ++r)
            out << grid->TextMatrix(r, 0);
        return out;
    }

    static QStringList Catalogue()
    {
        return Rows(Projects) + Rows(Tasks) + Rows(Categs) + Rows(Links) + Rows(ExpCategs);
    }

    static QString Line(int id, int count) { return GetLangString(int16_t(id)) + QStringLiteral(" ") + QString::number(count); }

    QString m_dir;
};

} // namespace

TEST_F(SynchTest, TheWindowLoadsInTheDocumentAreaWithItsCaptions)
{
    frmSynch *w = frmSynch::Get();
    EXPECT_TRUE(FormLoaded[fiSynch]);
    ASSERT_NE(w->subWindow(), nullptr);
    EXPECT_EQ(w->subWindow()->mdiArea(), frmMain::Get()->mdi);
    w->show();
    EXPECT_FALSE(w->subWindow()->isHidden()) << "showing the window shows its frame";
    EXPECT_EQ(w->btnConnect[0]->text(), GetLangString(808));
    EXPECT_EQ(w->lblCon->Caption(), GetLangString(801));
    EXPECT_EQ(w->lblStatus->Caption(), GetLangString(802));
    LangID = 3;
    w->ApplyLang();
    EXPECT_EQ(w->btnConnect[0]->text(), GetLangString(808));
    LangID = 0;
    frmSynch::Unload();
    EXPECT_FALSE(FormLoaded[fiSynch]);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(frmMain::Get()->mdi->subWindowList().isEmpty()) << "its frame goes with it";
}

TEST_F(SynchTest, AFirstReceiveStoresCountsAndResetsEveryMark)
{
    Receive(FullData);
    EXPECT_EQ(Rows(Projects), (QStringList{"1|Café|0|0", "2|O'Neill|0|-1"}));
    EXPECT_EQ(Rows(Tasks), (QStringList{"10|1|0|0", "11|1|0|-1", "20|2|0|0"}));
    EXPECT_EQ(Rows(Categs), (QStringList{"100|Design|0", "101|Ανάπτυξη|0", "102|Rédaction|0"}));
    EXPECT_EQ(Rows(Links), (QStringList{"10|100|0", "10|101|0", "11|101|0", "11|102|0", "20|100|0"}));
    EXPECT_EQ(Rows(ExpCategs), (QStringList{"7|Hôtel|0", "8|Taxi|0"}));
    const QStringList log = Log();
    for (const QString &line : {Line(827, 2), Line(828, 3), Line(829, 3), Line(830, 5), Line(831, 2)})
        EXPECT_TRUE(log.contains(line)) << line.toStdString() << " in " << log.join(u'/').toStdString();
    EXPECT_TRUE(log.contains(GetLangString(846)));
    EXPECT_EQ(registry::GetSetting(SettingsApp, QString::number(CurrentUserID), QStringLiteral("CheckTablesDate")),
              QString::number(DateToLong(QDate::currentDate())));

    // The same again: nothing new, nothing removed.
    Receive(FullData);
    EXPECT_TRUE(Log().contains(Line(827, 0)));
    EXPECT_TRUE(Log().contains(Line(830, 0)));
    EXPECT_EQ(Rows(Projects).size(), 2);
    EXPECT_EQ(Rows(Links).size(), 5);
}

TEST_F(SynchTest, WhatTheServiceNoLongerListsIsRemoved)
{
    Receive(FullData);
    Receive(SmallerData);
    EXPECT_EQ(Rows(Projects), QStringList{"1|Café|0|0"});
    EXPECT_EQ(Rows(Tasks), QStringList{"10|1|0|0"});
    EXPECT_EQ(Rows(Categs), (QStringList{"100|Design|0", "101|Ανάπτυξη|0"}));
    EXPECT_EQ(Rows(Links), (QStringList{"10|100|0", "10|101|0"})) << "the links of removed tasks go with them";
    EXPECT_EQ(Rows(ExpCategs), (QStringList{"7|Hôtel|0", "8|Taxi|0"})) << "expense categories are kept";
    const QStringList log = Log();
    const qsizetype at = log.indexOf(QStringLiteral("You have been unAssigned from the following Projects: "));
    ASSERT_GE(at, 0) << log.join(u'/').toStdString();
    EXPECT_EQ(log.value(at + 1), QStringLiteral("- O'Neill"));
}

TEST_F(SynchTest, AnEmptyProjectListEmptiesTheProjects)
{
    Receive(FullData);
    Receive(NoProjects);
    EXPECT_TRUE(Rows(Projects).isEmpty());
    EXPECT_TRUE(Rows(Tasks).isEmpty());
    EXPECT_TRUE(Rows(Categs).isEmpty());
    EXPECT_TRUE(Rows(Links).isEmpty());
    EXPECT_EQ(Rows(ExpCategs).size(), 2);
}

TEST_F(SynchTest, AReplyThatIsNoWholeTreeNeverEmptiesTheTables)
{
    Receive(FullData);
    const QStringList before = Rows(Projects) + Rows(Tasks) + Rows(Categs) + Rows(Links) + Rows(ExpCategs);
    ASSERT_EQ(before.size(), 2 + 3 + 3 + 5 + 2);
    registry::DeleteSetting(SettingsApp, QString::number(CurrentUserID));

    const struct {
        const char *what;
        QStringList options;
        QString password;
    } cases[] = {
        {"garbage", {QStringLiteral("--garbage")}, QStringLiteral("pw")},
        {"projects cut after the head", {QStringLiteral("--truncate"), QStringLiteral("30"), QStringLiteral("--only"), QStringLiteral("projects")}, QStringLiteral("pw")},
        {"projects cut in a project", {QStringLiteral("--truncate"), QStringLiteral("100"), QStringLiteral("--only"), QStringLiteral("projects")}, QStringLiteral("pw")},
        {"only the head", {QStringLiteral("--truncate"), QStringLiteral("22"), QStringLiteral("--only"), QStringLiteral("projects")}, QStringLiteral("pw")},
        {"expenses cut", {QStringLiteral("--truncate"), QStringLiteral("40"), QStringLiteral("--only"), QStringLiteral("expenses")}, QStringLiteral("pw")},
        {"no expenses reply", {QStringLiteral("--error-page"), QStringLiteral("502"), QStringLiteral("--only"), QStringLiteral("expenses")}, QStringLiteral("pw")},
        {"error page", {QStringLiteral("--error-page"), QStringLiteral("500"), QStringLiteral("--only"), QStringLiteral("projects")}, QStringLiteral("pw")},
        {"wrong password", {}, QStringLiteral("nope")},
    };
    for (const auto &c : cases) {
        SetPassword(c.password);
        Receive(SmallerData, c.options);
        const QStringList after = Rows(Projects) + Rows(Tasks) + Rows(Categs) + Rows(Links) + Rows(ExpCategs);
        EXPECT_EQ(after.size(), before.size()) << c.what;
        EXPECT_EQ(registry::GetSetting(SettingsApp, QString::number(CurrentUserID), QStringLiteral("CheckTablesDate")),
                  QString())
            << c.what;
        EXPECT_FALSE(Log().contains(GetLangString(846))) << c.what;
        if (c.options.contains(QStringLiteral("projects")) || c.password != u"pw" || c.options.contains(QStringLiteral("--garbage")))
            EXPECT_FALSE(Log().contains(GetLangString(845) + QStringLiteral("..."))) << c.what << ": nothing to save";
    }
    // The error reply is told in the log with its text.
    EXPECT_TRUE(Log().contains(modHttp::GetErrMsg(2))) << Log().join(u'/').toStdString();
}

TEST_F(SynchTest, NoReplyIsLoggedForEachRequest)
{
    Receive(FullData);
    qputenv("TARV_SERVICE_ENDPOINT", "https://127.0.0.1:1");
    frmSynch::Get()->btnConnect_Click(0);
    EXPECT_EQ(Log().count(GetLangString(1411)), 2);
    EXPECT_EQ(Rows(Projects).size(), 2);
    EXPECT_EQ(frmSynch::Get()->lblStatus->Caption(), GetLangString(928));
}

TEST_F(SynchTest, GoesWithTheMainWindow)
{
    frmSynch::Get()->show();
    frmMain::Unload();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(frmSynch::Peek(), nullptr);
    EXPECT_FALSE(FormLoaded[fiSynch]);
    // And it can be loaded again into a new main window.
    frmSynch *again = frmSynch::Get();
    EXPECT_EQ(again->subWindow()->mdiArea(), frmMain::Get()->mdi);
}

TEST_F(SynchTest, ItsFrameShowsTheWholeWindowInsideTheMainWindow)
{
    frmMain *main = frmMain::Get();
    main->show();
    frmSynch *w = frmSynch::Get();
    w->show();
    QApplication::processEvents();
    QMdiSubWindow *sub = w->subWindow();
    EXPECT_GE(sub->widget()->width(), w->sizeHint().width());
    EXPECT_GE(sub->widget()->height(), w->sizeHint().height());
    // Every button lies inside the window as the frame shows it.
    for (QPushButton *b : {w->btnConnect[0], w->btnExit}) {
        const QRect r(b->mapTo(w, QPoint(0, 0)), b->size());
        EXPECT_TRUE(w->rect().contains(r)) << b->objectName().toStdString();
    }
}

TEST_F(SynchTest, ADailyDownloadThenAReceiveThatDropsAProjectRemovesItAndCountsOnlyWhatIsNew)
{
    {
        ServiceProcess svc;
        ASSERT_TRUE(svc.start({QStringLiteral("--data"), testsvc::WriteDataFile(FullData)})) << svc.output().toStdString();
        svc.pointProgramHere();
        ASSERT_TRUE(frmMain::Get()->UpdateTables());
    }
    ASSERT_EQ(Rows(Projects).size(), 2);

    // Project 2 with its task 20 is gone; project 3 with task 30 is new.
    QByteArray changed(FullData);
    changed.replace(R"({ "id": 2, "name": "O'Neill", "expenses": false, "tasks": [ { "id": 20, "name": "Prüfung", "categories": [100] } ] })",
                    R"({ "id": 3, "name": "Hotel", "tasks": [ { "id": 30, "name": "Rooms", "categories": [100] } ] })");
    ASSERT_NE(changed, QByteArray(FullData));
    Receive(changed.constData());
    EXPECT_EQ(Rows(Projects), (QStringList{"1|Café|0|0", "3|Hotel|0|0"}));
    EXPECT_EQ(Rows(Tasks), (QStringList{"10|1|0|0", "11|1|0|-1", "30|3|0|0"}));
    EXPECT_EQ(Rows(Links), (QStringList{"10|100|0", "10|101|0", "11|101|0", "11|102|0", "30|100|0"}));
    EXPECT_EQ(Rows(Categs).size(), 3);
    EXPECT_EQ(Rows(ExpCategs).size(), 2);
    // One new project, one new task, no new category, one new link, no new expense category.
    const QStringList log = Log();
    for (const QString &line : {Line(827, 1), Line(828, 1), Line(829, 0), Line(830, 1), Line(831, 0)})
        EXPECT_TRUE(log.contains(line)) << line.toStdString() << " in " << log.join(u'/').toStdString();
    const qsizetype at = log.indexOf(QStringLiteral("You have been unAssigned from the following Projects: "));
    ASSERT_GE(at, 0);
    EXPECT_EQ(log.value(at + 1), QStringLiteral("- O'Neill"));
    EXPECT_EQ(log.size(), at + 2) << "no other project is named";
}

TEST_F(SynchTest, AStoreWriteThatFailsLeavesTheCatalogueAsItWasAndSetsNoDate)
{
    Receive(FullData);
    registry::DeleteSetting(SettingsApp, QString::number(CurrentUserID));
    // The engine refuses the new expense category as it refuses a row it cannot apply.
    DB->Execute(QStringLiteral("CREATE TRIGGER refuse BEFORE INSERT ON tblExpCategs "
                               "BEGIN SELECT RAISE(ABORT, 'dao:null:tblExpCategs.cExpName'); END"));
    const QStringList before = Catalogue();

    Receive(SmallerWithParking);
    EXPECT_EQ(Catalogue(), before) << "nothing stored, nothing swept";
    EXPECT_EQ(registry::GetSetting(SettingsApp, QString::number(CurrentUserID), QStringLiteral("CheckTablesDate")),
              QString());
    const QStringList log = Log();
    EXPECT_FALSE(log.contains(GetLangString(846))) << log.join(u'/').toStdString();
    EXPECT_FALSE(log.contains(QStringLiteral("=============Result Summary==========================")));
    ASSERT_TRUE(log.contains(GetLangString(821)));
    EXPECT_TRUE(log.last().contains(QStringLiteral("cExpName"))) << "the engine's own text: " << log.last().toStdString();
}

TEST_F(SynchTest, AnErrorPageIsToldByItsOwnTextAndNothingIsSaved)
{
    const QString expenses = QStringLiteral("<?xml version=\"1.0\"?>\n<EXPENSECATEGORIES></EXPENSECATEGORIES>");
    const struct {
        const char *what;
        QString page;
        int code;
    } cases[] = {
        // The marker of this page starts inside the reply's first 22 characters.
        {"proxy's 404 page", QStringLiteral("<html>\r\n<head><title>404 Not Found</title></head>\r\n<body></body>\r\n</html>"), 404},
        {"bare 500 text", QStringLiteral("500 Internal Server Error"), 500},
        {"servlet 404 page", QStringLiteral("<h1>HTTP Status 404 - /tarv/XMLServer</h1>"), 410},
    };
    frmSynch *w = frmSynch::Get();
    for (const auto &c : cases) {
        w->lstLog->SetRows(0);
        w->ProjectsReply = c.page;
        w->ExpensesReply = expenses;
        EXPECT_FALSE(w->SaveReceived()) << c.what;
        const QStringList log = Log();
        EXPECT_EQ(log, (QStringList{GetLangString(821), modHttp::GetErrMsg(int16_t(c.code))})) << c.what;
    }
    EXPECT_TRUE(Rows(Projects).isEmpty());

    // The same through a whole receive from the reference service's 404 page.
    Receive(FullData, {QStringLiteral("--error-page"), QStringLiteral("404"), QStringLiteral("--only"), QStringLiteral("projects")});
    const QStringList log = Log();
    EXPECT_TRUE(log.contains(modHttp::GetErrMsg(404))) << log.join(u'/').toStdString();
    EXPECT_FALSE(log.contains(GetLangString(845) + QStringLiteral("..."))) << "nothing to save";
    EXPECT_FALSE(log.contains(GetLangString(1416)));
    EXPECT_TRUE(Rows(Projects).isEmpty());
}

TEST_F(SynchTest, AfterASuccessfulReceiveTheStatusLineDoesNotSayTheServiceCouldNotBeReached)
{
    frmMain *main = frmMain::Get();
    qputenv("TARV_SERVICE_ENDPOINT", "https://127.0.0.1:1");
    frmSynch::Get()->btnConnect_Click(0);
    ASSERT_EQ(Log().count(GetLangString(1411)), 2);
    Receive(FullData);
    ASSERT_TRUE(Log().contains(GetLangString(846)));
    EXPECT_FALSE(main->lblMsg->Caption().contains(GetLangString(817, true))) << main->lblMsg->Caption().toStdString();
}

TEST_F(SynchTest, WhileAReceiveRunsNoSecondOneStarts)
{
    ServiceProcess svc;
    ASSERT_TRUE(svc.start({QStringLiteral("--data"), testsvc::WriteDataFile(FullData)})) << svc.output().toStdString();
    svc.pointProgramHere();
    frmSynch *w = frmSynch::Get();
    w->show();
    EXPECT_TRUE(w->btnConnect[0]->isEnabled());

    // Runs in the first turn of the event loop inside the receive.
    bool ran = false, buttonEnabled = true, exitEnabled = true, daily = true;
    QTimer::singleShot(0, w, [&] {
        ran = true;
        buttonEnabled = w->btnConnect[0]->isEnabled();
        exitEnabled = w->btnExit->isEnabled();
        w->btnConnect[0]->click();
        w->btnConnect_Click(0);
        daily = frmMain::Get()->UpdateTables();
        w->subWindow()->close();
    });
    w->btnConnect_Click(0);
    QApplication::processEvents();
    ASSERT_TRUE(ran);
    EXPECT_FALSE(buttonEnabled);
    EXPECT_FALSE(exitEnabled);
    EXPECT_FALSE(daily);
    EXPECT_EQ(svc.requests().size(), 2) << "one receive, one request of each";
    EXPECT_EQ(Log().count(GetLangString(846)), 1);
    EXPECT_EQ(frmSynch::Peek(), w) << "the window stays while its receive runs";
    EXPECT_TRUE(FormLoaded[fiSynch]);
    EXPECT_TRUE(w->btnConnect[0]->isEnabled());
    EXPECT_TRUE(w->btnExit->isEnabled());
    EXPECT_FALSE(RequestGuard::Busy());
}

TEST_F(SynchTest, ATaskMovedToAnotherProjectKeepsItsCategoriesAndChangedExpenseCategoriesAreCounted)
{
    Receive(FullData);
    // Task 11 with its categories now belongs to project 2; expense category 8 is gone, 9 is new.
    QByteArray moved(FullData);
    moved.replace(R"(,
            { "id": 11, "name": "Workshop", "expenses": false, "categories": [101, 102] } ] },)",
                  R"( ] },)");
    moved.replace(R"([ { "id": 20, "name": "Prüfung", "categories": [100] } ])",
                  R"([ { "id": 20, "name": "Prüfung", "categories": [100] }, { "id": 11, "name": "Workshop", "expenses": false, "categories": [101, 102] } ])");
    moved.replace(R"({ "id": 8, "name": "Taxi" })", R"({ "id": 9, "name": "Parking" })");
    ASSERT_EQ(moved.count("\"id\": 11"), 1);
    Receive(moved.constData());
    EXPECT_EQ(Rows(Tasks), (QStringList{"10|1|0|0", "11|2|0|-1", "20|2|0|0"}));
    EXPECT_EQ(Rows(Links), (QStringList{"10|100|0", "10|101|0", "11|101|0", "11|102|0", "20|100|0"}));
    EXPECT_EQ(Rows(Categs).size(), 3);
    EXPECT_EQ(Rows(ExpCategs), (QStringList{"7|Hôtel|0", "8|Taxi|0", "9|Parking|0"})) << "a dropped one is kept";
    const QStringList log = Log();
    for (const QString &line : {Line(827, 0), Line(828, 1), Line(830, 0), Line(831, 1)})
        EXPECT_TRUE(log.contains(line)) << line.toStdString() << " in " << log.join(u'/').toStdString();
    EXPECT_FALSE(log.contains(QStringLiteral("You have been unAssigned from the following Projects: ")));

    // The tree keeps the last reply read; the view menu shows the projects with the moved task.
    frmSynch *w = frmSynch::Get();
    ASSERT_EQ(w->MyTree->Count(), 2);
    EXPECT_EQ(w->MyTree->Nodes(2)->Text(), QStringLiteral("Parking"));
    w->mnuView_RecProj_Click();
    EXPECT_FALSE(w->MyTree->isHidden());
    forms::Node *task = nullptr;
    for (int i = 1; i <= w->MyTree->Count(); ++i)
        if (w->MyTree->Nodes(i)->Tag().startsWith(QStringLiteral("isTask;11;")))
            task = w->MyTree->Nodes(i);
    ASSERT_NE(task, nullptr);
    EXPECT_EQ(task->Parent()->Tag(), QStringLiteral("isProj;2;FALSE"));
    EXPECT_EQ(task->Children(), 2);
}
