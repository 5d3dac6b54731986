// Speed of the reference tables: a whole download stored item by item through the upserts,
// and the project tree filled from it. The set: 200 projects of 10 tasks, 5 categories per
// task (from a pool of 60), 20 expense categories; a second local user holds the same set.
#include "bench/BenchSupport.h"
#include "core/modMain.h"
#include "platform/dao/dao.h"
#include "platform/forms/ImageList.h"
#include "platform/forms/TreeView.h"
#include "store/modDBchr.h"

#include <QFile>

#include <benchmark/benchmark.h>

namespace {

constexpr int kProjects = 200;
constexpr int kTasksPerProject = 10;
constexpr int kCategsPerTask = 5;
constexpr int kCategPool = 60;
constexpr int kExpCategs = 20;

bench::BenchApp *g_app = nullptr;

QString FreshDB()
{
    const QString path = g_app->NextDatabasePath();
    modDBchr::CreateDB(path);
    return path;
}

// One download as the synchronisation window stores it, for the current user.
void Download()
{
    for (int p = 1; p <= kProjects; ++p) {
        modDBchr::SaveProject(p, QStringLiteral("Project %1's").arg(p, 3, 10, QLatin1Char('0')),
                              p % 7 == 0 ? QStringLiteral("FALSE") : QStringLiteral("TRUE"));
        for (int t = 1; t <= kTasksPerProject; ++t) {
            const int task = p * 100 + t;
            modDBchr::SaveTask(task, QStringLiteral("Task %1").arg(task), p,
                               t % 4 == 0 ? QStringLiteral("FALSE") : QString());
            for (int c = 0; c < kCategsPerTask; ++c) {
                const int categ = (task * 7 + c * 11) % kCategPool + 1;
                modDBchr::SaveCategory(categ, QStringLiteral("Activity %1").arg(categ), task);
            }
        }
    }
    for (int x = 1; x <= kExpCategs; ++x)
        modDBchr::SaveExpCategory(x, QStringLiteral("Expense %1").arg(x));
}

void ResetMarks()
{
    for (const char *t : {"tblProjects", "tblProjTasks", "tblCategs", "tblTaskCategs", "tblExpCategs"})
        modMain::DB->Execute(QStringLiteral("UPDATE %1 SET cChk = 0").arg(QLatin1String(t)));
}

// The first download of user 1 into tables that hold user 2's set already.
void BM_FirstDownload(benchmark::State &state)
{
    for (auto _ : state) {
        state.PauseTiming();
        const QString path = FreshDB();
        modMain::CurrentUserID = 2;
        Download();
        modMain::CurrentUserID = 1;
        state.ResumeTiming();
        Download();
        state.PauseTiming();
        bench::CloseDatabase();
        QFile::remove(path);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_FirstDownload)->Unit(benchmark::kMillisecond)->Iterations(3);

// A later download of the same set: every item is found and its mark raised.
void BM_RepeatDownload(benchmark::State &state)
{
    const QString path = FreshDB();
    modMain::CurrentUserID = 2;
    Download();
    modMain::CurrentUserID = 1;
    Download();
    for (auto _ : state) {
        state.PauseTiming();
        ResetMarks();
        state.ResumeTiming();
        Download();
    }
    bench::CloseDatabase();
    QFile::remove(path);
}
BENCHMARK(BM_RepeatDownload)->Unit(benchmark::kMillisecond)->Iterations(3);

void FillTree(benchmark::State &state, bool tasksOnly, bool expensesOnly, int expectedMin)
{
    const QString path = FreshDB();
    modMain::CurrentUserID = 2;
    Download();
    modMain::CurrentUserID = 1;
    Download();
    forms::TreeView tree;
    tree.SetImageList(&forms::ProjectTreeImages());
    for (auto _ : state) {
        modDBchr::FillProjectTree(&tree, tasksOnly, expensesOnly);
        if (tree.Count() < expectedMin)
            state.SkipWithError("tree not filled");
    }
    state.counters["nodes"] = tree.Count();
    bench::CloseDatabase();
    QFile::remove(path);
}

// The full tree as the timers window, the task loader and the daily log show it.
void BM_FillProjectTree(benchmark::State &state)
{
    FillTree(state, false, false, kProjects * kTasksPerProject * (1 + kCategsPerTask));
}
BENCHMARK(BM_FillProjectTree)->Unit(benchmark::kMillisecond);

// Tasks only, with the expense filter, as the daily expenses window shows it.
void BM_FillExpenseTree(benchmark::State &state)
{
    FillTree(state, true, true, 1);
}
BENCHMARK(BM_FillExpenseTree)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    bench::BenchApp app(argc, argv);
    g_app = &app;
    app.Run();
    return 0;
}
