#pragma once
// A person with a fresh database and the main and timers windows open, as after a normal
// start, for the tests of the tray menu and the hot key (headless, or on their own X server).
#include "core/frmMain.h"
#include "core/modMain.h"
#include "platform/dao/dao.h"
#include "recorder/frmStart.h"
#include "recorder/frmSysTray.h"
#include "store/modDBchr.h"
#include "tests/support/TestEnv.h"
#include "tests/xserver/XServer.h"

#include <QCoreApplication>
#include <gtest/gtest.h>

namespace traytest {

class TimersFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        using namespace modMain;
        x = xtest::Current();   // null when the test runs headless
        qputenv("TARV_NO_PAUSES", "1");
        qputenv("TARV_ONLINE", "0");
        const QString dir = testenv::MakeTempDir(QStringLiteral("prog"));
        qputenv("TARV_PROGRAM_DIR", dir.toLocal8Bit());
        LoadLangTable(QStringLiteral(TARV_SOURCE_DIR "/data/StringTables.csv"));
        LangID = 0;
        ASSERT_EQ(modDBchr::CreateDB(dir + QStringLiteral("/Tarv.crn")), 0);
        PCUserName = QStringLiteral("maria");
        UserFullName = QStringLiteral("Maria Ortiz");
        StoredUserName = QStringLiteral("u");
        StoredPassword = QStringLiteral("p");
        SetDefaultSettings();   // autostart and balloons on, hot key Ctrl+F10
        CurrentUserID = modDBchr::CreateUser();
        ASSERT_EQ(CurrentUserID, 1);
        TimerRunning = false;

        main = frmMain::Get();
        main->show();
        timers = frmStart::Get();
        timers->ShowForm();
        ASSERT_TRUE(testenv::WaitFor([&] { return main->isVisible(); }, 5000));
    }
    void TearDown() override
    {
        frmStart::Unload();
        frmMain::Unload();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        if (modMain::DB)
            modMain::DB->Close();
        modMain::DB.reset();
        modMain::TimerRunning = false;
    }

    // Time-log entries written so far (the parked timers are none).
    static int DailyRows(const QString &where = QStringLiteral("IFNULL(cStarted, 0) NOT IN (1, 2)"))
    {
        auto rs = modMain::DB->OpenRecordset(QStringLiteral("SELECT cID FROM tblDaily WHERE ") + where);
        int n = 0;
        if (rs->RecordCount() > 0) {
            rs->MoveLast();
            n = rs->RecordCount();
        }
        rs->Close();
        return n;
    }

    // Gives the row a project, task and category, as picking them in the task tree does.
    void GiveCategory(int row)
    {
        forms::FlexGrid *g = timers->lstTimers;
        g->SetTextMatrix(row, frmStart::colProjID, QStringLiteral("101"));
        g->SetTextMatrix(row, frmStart::colProjName, QStringLiteral("Café Lumière"));
        g->SetTextMatrix(row, frmStart::colTaskID, QStringLiteral("1001"));
        g->SetTextMatrix(row, frmStart::colTaskName, QStringLiteral("Logo"));
        g->SetTextMatrix(row, frmStart::colCatID, QStringLiteral("11"));
        g->SetTextMatrix(row, frmStart::colName, QStringLiteral("Design"));
    }

    void Run(const QStringList &args)
    {
        ASSERT_NE(x, nullptr) << "no X server";
        const xtest::RunResult r = x->Run(QStringLiteral("xdotool"), args);
        ASSERT_TRUE(r.finished && r.exitCode == 0) << args.join(' ').toStdString() << ": " << r.err.toStdString();
    }

    xtest::XServer *x = nullptr;
    frmMain *main = nullptr;
    frmStart *timers = nullptr;
};

} // namespace traytest
