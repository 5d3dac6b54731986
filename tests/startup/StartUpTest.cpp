// Start-up's four ways in, run headless on a test program folder with a logon name and a
// settings folder of the test's own.
#include "core/modMain.h"

#include "core/CCrypto.h"
#include "core/StartUpRules.h"
#include "core/frmLogin.h"
#include "core/frmMain.h"
#include "platform/dao/dao.h"
#include "platform/fs/FileSystem.h"
#include "platform/registry/Registry.h"
#include "recorder/frmStart.h"
#include "store/modDBchr.h"
#include "sync/frmSynch.h"
#include "tests/mainwindow/FrameFixture.h"
#include "tests/service/ServiceProcess.h"
#include "tests/support/TestEnv.h"

#include <QDate>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QGroupBox>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <thread>
#include <unistd.h>

using namespace modMain;

namespace {

class StartUpTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        qputenv("TARV_NO_PAUSES", "1");
        m_dir = testenv::MakeTempDir(QStringLiteral("prog"));
        qputenv("TARV_PROGRAM_DIR", m_dir.toLocal8Bit());
        qputenv("TARV_LOGON_NAME", "maria");
        qputenv("TARV_ONLINE", "0");
        // The run's profile as a fresh process has it.
        PCUserName.clear();
        UserFullName.clear();
        CurrentUserID = -1;
        LoadLangTable(QStringLiteral(TARV_SOURCE_DIR "/data/StringTables.csv"));
    }
    void TearDown() override { EndRun(); }

    // What a run leaves: its windows and the open database.
    static void EndRun()
    {
        frmLogin::Unload();
        frmStart::Unload();
        frmMain::Unload();
        if (DB)
            DB->Close();
        DB.reset();
    }

    QString DbPath() const { return m_dir + QStringLiteral("/Tarv.crn"); }

    // A database holding one profile for the logon name, made the way the sign-in makes it.
    int16_t PrepareKnownPerson(const QString &logon, const QString &fullName)
    {
        EXPECT_EQ(modDBchr::CreateDB(DbPath()), 0);
        PCUserName = logon;
        UserFullName = fullName;
        StoredUserName = QStringLiteral("x1");
        StoredPassword = QStringLiteral("x2");
        LangID = 0;
        const int16_t id = modDBchr::CreateUser();
        DB->Close();
        DB.reset();
        PCUserName.clear();
        UserFullName.clear();
        return id;
    }

    QString m_dir;
};

TEST_F(StartUpTest, FirstRunCreatesTheDatabaseWithTheSignInWindowAsProgressScreen)
{
    StartUp();

    ASSERT_TRUE(QFile::exists(DbPath()));
    ASSERT_TRUE(DB);
    EXPECT_EQ(DB->TableNames().size(), 10);
    EXPECT_TRUE(fsys::GetAttributes(DbPath()) & fsys::Hidden);

    frmLogin *login = frmLogin::Peek();
    ASSERT_NE(login, nullptr);
    EXPECT_TRUE(FormLoaded[fiLogin]);
    EXPECT_TRUE(login->isVisible());
    EXPECT_EQ(login->txtPCUserName->text(), QStringLiteral("maria"));
    EXPECT_FALSE(login->btn[0]->isEnabled());
    EXPECT_TRUE(login->btn[1]->isEnabled());
    EXPECT_EQ(login->btn[1]->text(), GetLangString(24));
    // Offline: the person is told the sign-in needs a connection.
    EXPECT_TRUE(login->lblMsg->text().contains(GetLangString(1012))) << login->lblMsg->text().toStdString();
    EXPECT_EQ(frmStart::Peek(), nullptr);

    // The update keys of a first run.
    EXPECT_EQ(registry::GetSetting("Tarv", "updates", "versionCurrent", QString()), VersionText());
    EXPECT_EQ(registry::GetSetting("Tarv", "updates", "versionNew", QString()), VersionText());
}

TEST_F(StartUpTest, FirstRunOnlineOffersTheSignIn)
{
    qputenv("TARV_ONLINE", "1");
    StartUp();

    frmLogin *login = frmLogin::Peek();
    ASSERT_NE(login, nullptr);
    EXPECT_EQ(login->btn[0]->text(), QStringLiteral("OK"));
    EXPECT_FALSE(login->frMsg->isVisible());
    EXPECT_EQ(login->lblInfo->property("tag").toString(), QStringLiteral("1011"));
    EXPECT_TRUE(login->lblInfo->text().contains(QStringLiteral("maria")));
}

TEST_F(StartUpTest, UnusableFileIsKeptAsideAndANewDatabaseCreated)
{
    const QByteArray junk("this is no database, but it may be all a person has");
    {
        QFile f(DbPath());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(junk);
    }

    StartUp();

    const QStringList aside = QDir(m_dir).entryList({QStringLiteral("Tarv.crn.unreadable-*")}, QDir::Files | QDir::Hidden);
    ASSERT_EQ(aside.size(), 1);
    QFile kept(m_dir + QLatin1Char('/') + aside.first());
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), junk);

    ASSERT_TRUE(DB);
    DB->Close();
    DB.reset();
    EXPECT_EQ(modDBchr::OpenDB(DbPath()), 0);
    EXPECT_NE(frmLogin::Peek(), nullptr);
}

TEST_F(StartUpTest, ADatabaseWithoutItsTablesIsKeptAsideAndANewOneCreated)
{
    // What a creation cut short by an older version of the program left behind: the file
    // opens with the password but holds only the first tables.
    {
        auto db = dao::CreateDatabase(DbPath(), modDBchr::DBLocale + QStringLiteral(";pwd=") + modDBchr::DBPassword,
                                      dao::dbEncrypt);
        auto t = db->CreateTableDef(QStringLiteral("tblUsers"));
        t->AppendField(t->CreateField(QStringLiteral("cUsrID"), dao::dbInteger, 0));
        db->AppendTableDef(*t);
        db->Close();
    }

    StartUp();

    const QStringList aside = QDir(m_dir).entryList({QStringLiteral("Tarv.crn.unreadable-*")}, QDir::Files | QDir::Hidden);
    EXPECT_EQ(aside.size(), 1);
    ASSERT_TRUE(DB);
    EXPECT_EQ(DB->TableNames().size(), 10);
    frmLogin *login = frmLogin::Peek();
    ASSERT_NE(login, nullptr);
    EXPECT_TRUE(login->btn[1]->isEnabled());
}

// A termination signal during the first run's creation ends the program within a pause, not
// once the creation is over, and leaves no database behind.
TEST_F(StartUpTest, ATerminationSignalDuringTheCreationIsNotKeptWaiting)
{
    qunsetenv("TARV_NO_PAUSES");
    qputenv("TARV_PAUSE_MS", "150");
    InstallSessionEndHandlers();
    bool ended = false;
    SetEndProcess([&] { ended = true; });

    // Sent from outside the window thread, as the system would, while the creation runs.
    QElapsedTimer clock;
    clock.start();
    std::thread sender([] {
        std::this_thread::sleep_for(std::chrono::milliseconds(700));
        ::kill(::getpid(), SIGTERM);
    });
    StartUp();
    const qint64 took = clock.elapsed();
    sender.join();

    EXPECT_TRUE(ended);
    // Thirteen pauses of 150 ms would take about two seconds.
    EXPECT_LT(took, 1300) << "the shutdown waited for the creation";
    EXPECT_FALSE(DB);
    EXPECT_FALSE(QFile::exists(DbPath()));
    EXPECT_TRUE(QDir(m_dir).entryList({QStringLiteral("Tarv.crn*")}, QDir::Files | QDir::Hidden).isEmpty());
    EXPECT_EQ(frmLogin::Peek(), nullptr) << "the shutdown unloaded the sign-in window";

    // The next start creates the database whole.
    SetEndProcess([] {});
    qputenv("TARV_NO_PAUSES", "1");
    qunsetenv("TARV_PAUSE_MS");
    StartUp();
    ASSERT_TRUE(DB);
    EXPECT_EQ(DB->TableNames().size(), 10);
}

TEST_F(StartUpTest, KnownPersonGetsTheNormalStart)
{
    const int16_t id = PrepareKnownPerson(QStringLiteral("maria"), QStringLiteral("Maria O'Brien"));
    ASSERT_EQ(id, 1);
    PCUserName = QStringLiteral("maria");
    UserFullName = QStringLiteral("Maria O'Brien");
    AutoStart = 0;   // started by hand, not with the desktop
    SaveSettings();

    // Offline, the daily download reminds that the lists were not brought up to date.
    testenv::AnswerNextModal(QStringLiteral("btnOK"));
    StartUp();

    EXPECT_EQ(CurrentUserID, id);
    EXPECT_EQ(frmLogin::Peek(), nullptr);
    ASSERT_NE(frmMain::Peek(), nullptr);
    EXPECT_TRUE(frmMain::Peek()->isVisible());
    EXPECT_TRUE(frmMain::Peek()->lblUser->text().contains(QStringLiteral("Maria O'Brien")));
    EXPECT_NE(frmStart::Peek(), nullptr);
    EXPECT_TRUE(FormLoaded[fiStart]);
    // The file is no longer hidden while the program has it open.
    EXPECT_FALSE(fsys::GetAttributes(DbPath()) & fsys::Hidden);
}

TEST_F(StartUpTest, AnotherPersonsProfileInTheSettingsLeadsToTheSwitch)
{
    const int16_t id = PrepareKnownPerson(QStringLiteral("maria"), QStringLiteral("Maria Ortiz"));
    // The settings hold the profile of whoever used the program last.
    PCUserName = QStringLiteral("nikos");
    UserFullName = QStringLiteral("Nikos Pappas");
    SaveSettings();
    PCUserName.clear();
    UserFullName.clear();

    StartUp();

    EXPECT_EQ(CurrentUserID, id);
    EXPECT_EQ(PCUserName, QStringLiteral("maria"));
    EXPECT_EQ(UserFullName, QStringLiteral("Maria Ortiz"));
    // The switched profile is now the stored one.
    EXPECT_EQ(registry::GetSetting(SettingsApp, "user", "pcuser", QString()), QStringLiteral("maria"));
    EXPECT_EQ(frmLogin::Peek(), nullptr);
    EXPECT_NE(frmStart::Peek(), nullptr);
    EXPECT_TRUE(frmMain::Peek()->lblUser->text().contains(QStringLiteral("Maria Ortiz")));
}

TEST_F(StartUpTest, PersonWithoutProfileIsAskedToSignIn)
{
    PrepareKnownPerson(QStringLiteral("nikos"), QStringLiteral("Nikos Pappas"));
    qputenv("TARV_ONLINE", "1");

    StartUp();

    frmLogin *login = frmLogin::Peek();
    ASSERT_NE(login, nullptr);
    EXPECT_EQ(login->txtPCUserName->text(), QStringLiteral("maria"));
    EXPECT_EQ(login->lblInfo->property("tag").toString(), QStringLiteral("1013"));
    EXPECT_EQ(frmStart::Peek(), nullptr);
    // The existing database is kept as it is.
    EXPECT_EQ(modDBchr::GetUserID(QStringLiteral("nikos")), 1);
}

// A later start brings the minimised main window back, also while its caption shows the
// running time of a timer; a window that is not minimised is left as it is.
TEST_F(StartUpTest, ALaterStartBringsTheMinimisedMainWindowBack)
{
    RestoreMainWindow();   // nothing loaded yet: nothing happens
    frmMain *main = frmMain::Get();
    main->show();
    for (const QString &caption : {QStringLiteral("Tarvelo Desktop Companion"), QStringLiteral("00:42:07")}) {
        SCOPED_TRACE(caption.toStdString());
        main->setWindowTitle(caption);
        main->showMinimized();
        ASSERT_TRUE(testenv::WaitFor([&] { return main->isMinimized(); }));
        RestoreMainWindow();
        EXPECT_TRUE(testenv::WaitFor([&] { return !main->isMinimized() && main->isVisible(); }));
    }
    // Hidden to the tray while minimised, it comes back too.
    main->showMinimized();
    main->hide();
    RestoreMainWindow();
    EXPECT_TRUE(testenv::WaitFor([&] { return !main->isMinimized() && main->isVisible(); }));

    main->showNormal();
    const Qt::WindowStates before = main->windowState();
    RestoreMainWindow();
    EXPECT_EQ(main->windowState(), before);
}

// ---- the version check of a normal start ---------------------------------------------------

TEST(VersionRules, ANewerVersionIsOneWithHigherNumbers)
{
    const struct {
        const char *version, *running;
        bool newer;
    } cases[] = {
        {"1.0.1", "1.0.0", true},   {"1.1", "1.0.9", true},    {"2.0.0", "1.10.10", true},
        {"1.10.0", "1.9.0", true},  {"1.0.0", "1.0.0", false}, {"1.0", "1.0.0", false},
        {"0.9.9", "1.0.0", false},  {"", "1.0.0", false},      {"(none)", "1.0.0", false},
        {"1.0.x", "1.0.0", false},  {" 1.0.2 ", "1.0.0", true}, {"1..2", "1.0.0", false},
    };
    for (const auto &c : cases)
        EXPECT_EQ(IsNewerVersion(QString::fromLatin1(c.version), QString::fromLatin1(c.running)), c.newer)
            << c.version << " against " << c.running;
}

TEST(VersionRules, DaysSinceTheLastCheckAreCalendarDays)
{
    const QDate feb1(2007, 2, 1);
    EXPECT_EQ(DaysSinceCheck(QStringLiteral("20070131"), feb1), 1);
    EXPECT_EQ(DaysSinceCheck(QStringLiteral("20061231"), QDate(2007, 1, 1)), 1);
    EXPECT_EQ(DaysSinceCheck(QStringLiteral("20070115"), QDate(2007, 1, 30)), 15);
    EXPECT_EQ(DaysSinceCheck(QStringLiteral("20070201"), feb1), 0);
    for (const char *bad : {"", "2007013", "20071301", "20070230", "abc", "2007-01-31"})
        EXPECT_FALSE(DaysSinceCheck(QString::fromLatin1(bad), feb1).has_value()) << bad;
}

TEST(VersionRules, WhatANormalStartDoes)
{
    using S = VersionStep;
    const QString running = QStringLiteral("1.0.0");
    const struct {
        const char *newer, *checked;
        QDate today;
        bool connected, daily;
        S step;
    } cases[] = {
        // A newer version known from an earlier check is announced, connected or not.
        {"1.2.0", "20070101", {2007, 1, 2}, false, false, S::AnnounceKnown},
        // The program was updated to it, or beyond: nothing to announce.
        {"1.0.0", "20070101", {2007, 1, 2}, true, false, S::Nothing},
        {"0.9.0", "20070101", {2007, 1, 2}, true, false, S::Nothing},
        // A month turn is one day, not 70.
        {"1.0.0", "20070131", {2007, 2, 1}, true, false, S::Nothing},
        {"1.0.0", "20070131", {2007, 2, 1}, true, true, S::Check},
        {"1.0.0", "20070115", {2007, 1, 30}, true, false, S::Nothing},
        {"1.0.0", "20070115", {2007, 1, 30}, true, true, S::Check},
        {"1.0.0", "20070114", {2007, 1, 30}, true, false, S::Check},
        {"1.0.0", "20070130", {2007, 1, 30}, true, true, S::Nothing},
        // Never checked, or a date that is no date.
        {"1.0.0", "", {2007, 1, 30}, true, false, S::Check},
        {"1.0.0", "soon", {2007, 1, 30}, true, false, S::Check},
        // Offline nothing is checked.
        {"1.0.0", "", {2007, 1, 30}, false, true, S::Nothing},
    };
    for (const auto &c : cases)
        EXPECT_EQ(ScheduledVersionStep(QString::fromLatin1(c.newer), running, QString::fromLatin1(c.checked), c.today,
                                       c.connected, c.daily),
                  c.step)
            << c.newer << " " << c.checked << " " << c.today.toString(Qt::ISODate).toStdString();
}

class VersionCheckAtStart : public StartUpTest {
protected:
    // A known person's normal start, offline unless online.
    void Start()
    {
        StartUp();
        EndRun();
    }
    void Prepare()
    {
        const int16_t id = PrepareKnownPerson(QStringLiteral("maria"), QStringLiteral("Maria O'Brien"));
        PCUserName = QStringLiteral("maria");
        UserFullName = QStringLiteral("Maria O'Brien");
        AutoStart = 0;
        AutoCheck = 0;
        SaveSettings();
        // Downloaded today: the start brings no reminder and no download.
        registry::SaveSetting(SettingsApp, QString::number(id), "CheckTablesDate", Today());
        registry::SaveSetting(SettingsApp, "updates", "DateCheckedforUpdates", Today());
    }
    static QString Today() { return QString::number(DateToLong(QDate::currentDate())); }
    static void Updates(const QString &current, const QString &newer)
    {
        registry::SaveSetting(SettingsApp, "updates", "versionCurrent", current);
        registry::SaveSetting(SettingsApp, "updates", "versionNew", newer);
    }
    static int Announcements(const frametest::BoxWatcher &boxes)
    {
        int n = 0;
        for (const frametest::Box &b : boxes.Boxes())
            n += b.text == frametest::BoxText(1015);
        return n;
    }
};

// After the program was updated to the version that was announced, the announcement does not
// come back.
TEST_F(VersionCheckAtStart, AfterAnUpdateTheNewerVersionIsNoLongerAnnounced)
{
    Prepare();
    Updates(QStringLiteral("0.9.0"), VersionText());
    frametest::BoxWatcher boxes;
    Start();
    Start();
    EXPECT_EQ(Announcements(boxes), 0);
    EXPECT_EQ(registry::GetSetting(SettingsApp, "updates", "versionCurrent", QString()), VersionText());
    EXPECT_EQ(registry::GetSetting(SettingsApp, "updates", "versionNew", QString()), VersionText());
}

TEST_F(VersionCheckAtStart, AVersionThatIsReallyNewerIsAnnouncedAtEveryStart)
{
    Prepare();
    Updates(VersionText(), QStringLiteral("99.0.0"));
    frametest::BoxWatcher boxes;
    Start();
    Start();
    EXPECT_EQ(Announcements(boxes), 2);
    EXPECT_EQ(registry::GetSetting(SettingsApp, "updates", "versionNew", QString()), QStringLiteral("99.0.0"));

    // An older version that the service once named is nothing to announce.
    Updates(VersionText(), QStringLiteral("0.1.0"));
    Start();
    EXPECT_EQ(Announcements(boxes), 2);
}

// With the daily check off the service is asked only when more than 15 days have passed, in
// days: 15 days back across the turn of a month is not yet due.
TEST_F(VersionCheckAtStart, TheServiceIsAskedWhenMoreThanFifteenDaysHavePassed)
{
    testsvc::ServiceProcess svc;
    ASSERT_TRUE(svc.start({QStringLiteral("--http")})) << svc.output().toStdString();
    qputenv("TARV_SERVICE_ENDPOINT", svc.endpoint().toLocal8Bit());
    qputenv("TARV_ONLINE", "1");
    Prepare();
    const auto versionRequests = [&svc] {
        int n = 0;
        for (const QJsonObject &r : svc.requests())
            n += r[QStringLiteral("query")].toString().startsWith(QLatin1String("action=version"));
        return n;
    };
    const QDate today = QDate::currentDate();
    frametest::BoxWatcher boxes;

    registry::SaveSetting(SettingsApp, "updates", "DateCheckedforUpdates", QString::number(DateToLong(today.addDays(-15))));
    Start();
    EXPECT_EQ(versionRequests(), 0);

    registry::SaveSetting(SettingsApp, "updates", "DateCheckedforUpdates", QString::number(DateToLong(today.addDays(-16))));
    Start();
    EXPECT_EQ(versionRequests(), 1);
    qunsetenv("TARV_SERVICE_ENDPOINT");
}

// ---- the first start of an account that has no categories yet --------------------------------

// The lines of the synchronisation window's connection log.
QStringList SynchLog()
{
    QStringList lines;
    if (frmSynch *w = frmSynch::Peek())
        for (int r = 0; r < w->lstLog->Rows(); ++r)
            lines << w->lstLog->TextMatrix(r, 0);
    return lines;
}

// The day's download holds the service while the timers window finds no categories: the
// synchronisation window it opens for them waits, says so, and downloads once the service is
// free. Back in the timers window the question comes (the account has none to give); Yes
// downloads again and the program stays.
TEST_F(StartUpTest, AnAccountWithoutCategoriesHasThemDownloadedInTheSynchronisationWindow)
{
    const QString data = testsvc::WriteDataFile(R"({"version": "1.0.0", "accounts": [
        {"username": "maria", "password": "pw-2024", "fullname": "Maria O'Brien",
         "categories": [], "expenseCategories": [{"id": 1, "name": "Travel"}], "projects": []}]})");
    testsvc::ServiceProcess svc;
    ASSERT_TRUE(svc.start({QStringLiteral("--http"), QStringLiteral("--data"), data})) << svc.output().toStdString();
    qputenv("TARV_SERVICE_ENDPOINT", svc.endpoint().toLocal8Bit());
    qputenv("TARV_ONLINE", "1");

    ASSERT_EQ(modDBchr::CreateDB(DbPath()), 0);
    if (!Crypto)
        Crypto = std::make_unique<CCrypto>();
    PCUserName = QStringLiteral("maria");
    UserFullName = QStringLiteral("Maria O'Brien");
    StoredUserName = Crypto->Encrypt(QStringLiteral("maria"), CryptoPassPhrase, false, CCrypto::TypeRC2);
    StoredPassword = Crypto->Encrypt(QStringLiteral("pw-2024"), CryptoPassPhrase, false, CCrypto::TypeRC2);
    LangID = 0;
    AutoStart = 0;
    AutoCheck = 0;
    const int16_t id = modDBchr::CreateUser();
    ASSERT_GE(id, 1);
    DB->Close();
    DB.reset();
    SaveSettings();
    // The version was checked today; the lists were never downloaded.
    registry::SaveSetting(SettingsApp, "updates", "DateCheckedforUpdates", QString::number(DateToLong(QDate::currentDate())));
    int ended = 0;
    SetEndProcess([&ended] { ++ended; });
    const auto projectRequests = [&svc] {
        int n = 0;
        for (const QJsonObject &r : svc.requests())
            n += r[QStringLiteral("query")].toString().startsWith(QLatin1String("action=projects"));
        return n;
    };

    frametest::BoxWatcher boxes;
    // What the window says while it waits for the day's download to end.
    QString waiting;
    QTimer look;
    QObject::connect(&look, &QTimer::timeout, [&waiting] {
        if (frmSynch *w = frmSynch::Peek(); w && waiting.isEmpty() && w->lstLog->Rows() > 0)
            waiting = w->txtFull->text() + QStringLiteral(" | ") + w->lstLog->TextMatrix(0, 0);
    });
    look.start(5);
    StartUp();
    look.stop();
    EXPECT_EQ(waiting, GetLangString(1860) + QStringLiteral(" | ") + GetLangString(1860));
    ASSERT_FALSE(boxes.Boxes().empty());
    EXPECT_EQ(boxes.Boxes()[0].text, frametest::BoxText(73));
    ASSERT_NE(frmSynch::Peek(), nullptr);
    // The window's own download ran once the day's download had ended, and its log tells it.
    ASSERT_TRUE(testenv::WaitFor([&] { return projectRequests() == 2; }, 20000))
        << SynchLog().join(QLatin1Char('\n')).toStdString();
    ASSERT_TRUE(testenv::WaitFor([] { return SynchLog().contains(GetLangString(846)); }, 20000))
        << SynchLog().join(QLatin1Char('\n')).toStdString();
    EXPECT_TRUE(frmSynch::Peek()->btnConnect[0]->isEnabled());

    // Back in the timers window: still none, the question; Yes downloads again.
    boxes.Answer(QStringLiteral("btnYes"));
    frmSynch::Unload();
    frametest::Click(frmMain::Get()->btn[0]);
    ASSERT_TRUE(testenv::WaitFor([&] { return boxes.Boxes().size() >= 2; }));
    EXPECT_EQ(boxes.Boxes()[1].text, frametest::BoxText(72));
    EXPECT_EQ(boxes.Boxes()[1].pressed, QStringLiteral("btnYes"));
    ASSERT_TRUE(testenv::WaitFor([&] { return projectRequests() == 3; }, 20000));
    ASSERT_TRUE(testenv::WaitFor([] { return SynchLog().contains(GetLangString(846)); }, 20000))
        << SynchLog().join(QLatin1Char('\n')).toStdString();
    testenv::WaitFor([] { return false; }, 300);
    EXPECT_EQ(ended, 0);
    EXPECT_NE(frmMain::Peek(), nullptr);
    EXPECT_NE(frmStart::Peek(), nullptr);
    EXPECT_TRUE(DB);
    frmSynch::Unload();
    SetEndProcess([] {});
    qunsetenv("TARV_SERVICE_ENDPOINT");
}

// ---- a start on a desktop without a tray ------------------------------------------------------

// Started with the desktop (autostart), the main window waits in the tray; without a tray to
// hold its icon it is shown, as at a start by hand: a minimised window is nowhere to be seen on
// a desktop without a panel.
TEST_F(StartUpTest, AnAutostartWithoutATrayShowsTheMainWindow)
{
    PrepareKnownPerson(QStringLiteral("maria"), QStringLiteral("Maria O'Brien"));
    PCUserName = QStringLiteral("maria");
    AutoStart = 1;
    SaveSettings();
    frametest::BoxWatcher boxes;
    StartUp();
    frmMain *main = frmMain::Peek();
    ASSERT_NE(main, nullptr);
    ASSERT_FALSE(main->TrayHoldsIcon());
    ASSERT_TRUE(testenv::WaitFor([main] { return main->isVisible(); }));
    testenv::WaitFor([] { return false; }, 300);
    EXPECT_FALSE(main->isMinimized());
    EXPECT_TRUE(main->isVisible());
    ASSERT_NE(frmStart::Peek(), nullptr);
    EXPECT_TRUE(frmStart::Peek()->isVisible());
}

// ---- without the encryption component -----------------------------------------------------------

// The settings load whole when the stored credentials cannot be decrypted for want of the
// encryption component: the program can still start.
TEST_F(StartUpTest, WithoutTheEncryptionComponentTheSettingsStillLoad)
{
    PCUserName = QStringLiteral("maria");
    UserFullName = QStringLiteral("Maria O'Brien");
    StoredUserName = QStringLiteral("stored");
    StoredPassword = QStringLiteral("stored");
    AutoStart = 0;
    TimeOut = 42;
    SaveSettings();
    PCUserName.clear();
    TimeOut = 15;
    Crypto.reset();
    qputenv("OPENSSL_MODULES", "/nonexistent");
    EXPECT_THROW(CCrypto(), CCryptoError);

    EXPECT_NO_THROW(LoadSettings());
    qunsetenv("OPENSSL_MODULES");
    EXPECT_EQ(PCUserName, QStringLiteral("maria"));
    EXPECT_EQ(UserFullName, QStringLiteral("Maria O'Brien"));
    EXPECT_EQ(TimeOut, 42);
    EXPECT_FALSE(Crypto);
}

} // namespace
