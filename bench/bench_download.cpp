// Speed of the daily download: 200 projects with 10 tasks each and 5 categories per task
// (2,000 tasks, 10,000 task-category links) and 20 expense categories, requested from the
// reference service on 127.0.0.1 over HTTPS, read into the hidden tree and stored in a fresh
// encrypted database. The designed one-second progress pauses are switched off.
#include "bench/BenchSupport.h"
#include "core/frmMain.h"
#include "core/modMain.h"
#include "platform/dao/dao.h"
#include "store/modDBchr.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <benchmark/benchmark.h>

namespace {

constexpr int kProjects = 200, kTasks = 10, kCategsPerTask = 5, kCategPool = 60, kExpCategs = 20;

bench::BenchApp *g_app = nullptr;

QByteArray DemoData()
{
    QJsonArray categories, expense, projects;
    for (int c = 1; c <= kCategPool; ++c)
        categories.append(QJsonObject{{"id", 1000 + c}, {"name", QStringLiteral("Activité n° %1").arg(c)}});
    for (int x = 1; x <= kExpCategs; ++x)
        expense.append(QJsonObject{{"id", x}, {"name", QStringLiteral("Έξοδο %1").arg(x)}});
    for (int p = 1; p <= kProjects; ++p) {
        QJsonArray tasks;
        for (int t = 1; t <= kTasks; ++t) {
            QJsonArray ids;
            for (int k = 0; k < kCategsPerTask; ++k)
                ids.append(1000 + 1 + (p * 7 + t * 3 + k * 11) % kCategPool);
            tasks.append(QJsonObject{{"id", p * 100 + t},
                                     {"name", QStringLiteral("Task %1 of the client's project").arg(t)},
                                     {"expenses", t % 3 != 0},
                                     {"categories", ids}});
        }
        projects.append(QJsonObject{{"id", p}, {"name", QStringLiteral("Projet %1 – Café d'Aigaío").arg(p)},
                                    {"expenses", p % 4 != 0}, {"tasks", tasks}});
    }
    const QJsonObject account{{"username", "bench"}, {"password", "bench"}, {"fullname", "Bench"},
                              {"categories", categories}, {"expenseCategories", expense}, {"projects", projects}};
    return QJsonDocument(QJsonObject{{"accounts", QJsonArray{account}}}).toJson(QJsonDocument::Compact);
}

int Count(const QString &table)
{
    auto rs = modMain::DB->OpenRecordset(QStringLiteral("SELECT * FROM %1").arg(table), dao::dbOpenSnapshot);
    return rs->RecordCount();
}

void FreshDatabase()
{
    bench::CloseDatabase();
    const QString path = g_app->NextDatabasePath();
    modDBchr::CreateDB(path);
    modMain::PCUserName = QStringLiteral("bench");
    modMain::UserFullName = QStringLiteral("Bench");
    modMain::CurrentUserID = modDBchr::CreateUser();
}

void BM_DailyDownload200Projects(benchmark::State &state)
{
    for (auto _ : state) {
        state.PauseTiming();
        FreshDatabase();
        state.ResumeTiming();
        if (!frmMain::Get()->UpdateTables())
            state.SkipWithError("the download failed");
        state.PauseTiming();
        if (Count("tblProjects") != kProjects || Count("tblProjTasks") != kProjects * kTasks
            || Count("tblTaskCategs") != kProjects * kTasks * kCategsPerTask || Count("tblExpCategs") != kExpCategs)
            state.SkipWithError("not everything was stored");
        state.ResumeTiming();
    }
}
BENCHMARK(BM_DailyDownload200Projects)->Unit(benchmark::kMillisecond)->Iterations(3);

// The next day: every item is met again and only its marks change.
void BM_DailyDownloadAgain(benchmark::State &state)
{
    FreshDatabase();
    frmMain::Get()->UpdateTables();
    for (auto _ : state) {
        if (!frmMain::Get()->UpdateTables())
            state.SkipWithError("the download failed");
    }
}
BENCHMARK(BM_DailyDownloadAgain)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

int main(int argc, char **argv)
{
    bench::BenchApp app(argc, argv);
    g_app = &app;
    app.UseAsProgramDir();

    bench::BenchService service;
    if (!service.Start(app, DemoData()))
        return 1;
    bench::StoreBenchCredentials();

    app.Run();

    frmMain::Unload();
    return 0;
}
