// A program run by the shutdown tests in a process of its own, so that a test can kill it or
// send it a signal:
//   shutdown_child compact DBPATH STEP   compacts the database; at STEP (1..5) the process
//                                        kills itself before the step runs (0: never)
//   shutdown_child session               opens the program folder's database (TARV_PROGRAM_DIR)
//                                        with the timers window, starts the first of three
//                                        timers, says "ready" and waits for the end
//   shutdown_child session quick         the same, then a quick record takes over and runs
#include "core/frmMain.h"
#include "core/modMain.h"
#include "recorder/frmStart.h"
#include "store/modDBchr.h"

#include <QApplication>
#include <QDateTime>

#include <vector>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

int Compact(const QString &dbPath, int killAt)
{
    const bool ok = modMain::CompactDatabaseFile(dbPath, [killAt](int step) {
        if (step == killAt)
            std::raise(SIGKILL);
        return true;
    });
    std::printf("%s\n", ok ? "compacted" : "failed");
    return ok ? 0 : 1;
}

int Session(bool quick)
{
    using namespace modMain;
    LoadLangTable(QString());
    if (modDBchr::OpenDB(AppPath() + QStringLiteral("/Tarv.crn")) != 0) {
        std::printf("no database\n");
        return 1;
    }
    CurrentUserID = 1;
    ShowBalloons = 0;
    AutoStart = 0;
    InstallSessionEndHandlers();
    frmMain::Get()->show();
    frmStart *w = frmStart::Get();
    w->ShowForm();
    struct Timer {
        const char *cat, *task, *proj;
        int catId, taskId, projId;
    };
    const Timer timers[] = {{"Meetings", "Design", "Website", 1000, 100, 10},
                            {"Drawing", "Design", "Website", 1001, 100, 10},
                            {"Mail", "Admin", "Office", 2000, 200, 20}};
    std::vector<frmStart::NewTimer> load;
    for (const Timer &t : timers)
        load.push_back({QString::fromUtf8(t.cat), QString::number(t.catId), QString::fromUtf8(t.task),
                        QString::number(t.taskId), QString::fromUtf8(t.proj), QString::number(t.projId)});
    w->AddTimers(load);
    w->lstTimers->SetRow(0);
    w->lstTimers_Click();
    w->btnStart_Click();
    // With "quick": a quick record takes over (the first timer's segment becomes an entry)
    // and runs without an activity.
    if (quick)
        w->btnQ_Click();
    std::printf("%s\n", TimerRunning ? "ready" : "not running");
    std::fflush(stdout);
    return QApplication::exec();
}

} // namespace

int main(int argc, char **argv)
{
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    app.setQuitOnLastWindowClosed(false);
    if (argc >= 4 && std::strcmp(argv[1], "compact") == 0)
        return Compact(QString::fromLocal8Bit(argv[2]), std::atoi(argv[3]));
    if (argc >= 2 && std::strcmp(argv[1], "session") == 0)
        return Session(argc >= 3 && std::strcmp(argv[2], "quick") == 0);
    std::fprintf(stderr, "usage: %s compact DBPATH STEP | session\n", argv[0]);
    return 2;
}
