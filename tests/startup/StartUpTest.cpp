// Start-up's four ways in, run headless on a test program folder with a logon name and a
// settings folder of the test's own.
#include "core/modMain.h"

#include "core/frmLogin.h"
#include "core/frmMain.h"
#include "platform/dao/dao.h"
#include "platform/fs/FileSystem.h"
#include "platform/registry/Registry.h"
#include "recorder/frmStart.h"
#include "store/modDBchr.h"
#include "tests/support/TestEnv.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
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
    void TearDown() override
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

} // namespace
