// Speed of the synchronisation window's send: 1,000 time-log entries and 200 expenses of the
// current user, each with a comment, sent one request each to the reference service on
// 127.0.0.1 over HTTPS, every send state written as its reply comes. Each round starts from
// rows that are all unsent.
#include "bench/BenchSupport.h"
#include "core/frmMain.h"
#include "core/modMain.h"
#include "platform/dao/dao.h"
#include "store/modDBchr.h"
#include "sync/frmSynch.h"

#include <benchmark/benchmark.h>

namespace {

constexpr int kEntries = 1000, kExpenses = 200;

const char Data[] = R"({ "accounts": [ { "username": "bench", "password": "bench", "fullname": "Bench",
  "categories": [ { "id": 100, "name": "Design" } ],
  "expenseCategories": [ { "id": 7, "name": "Hotel" } ],
  "projects": [ { "id": 1, "name": "Alpha", "tasks": [ { "id": 10, "name": "Logo", "categories": [100] } ] } ] } ] })";

void FillRows(const QString &path)
{
    modDBchr::CreateDB(path);
    modMain::PCUserName = QStringLiteral("bench");
    modMain::CurrentUserID = modDBchr::CreateUser();
    dao::Database &db = *modMain::DB;
    db.Execute(QStringLiteral("INSERT INTO tblProjTasks (cTaskID, cUsrID, cTaskName, cProjID, cChk, cExp) "
                              "VALUES (10, ?, 'Logo', 1, 0, 0)"),
               dao::dbFailOnError, {modMain::CurrentUserID});
    db.Execute(QStringLiteral("BEGIN"));
    for (int i = 1; i <= kEntries; ++i) {
        const double day = 20070101 + (i / 20) % 28;
        db.Execute(QStringLiteral("INSERT INTO tblDaily (cID, cUsrID, cName, cStarted, cStarttime, cSec, cDate, "
                                  "cTaskID, cCatID, cChk) VALUES (?, ?, 'x', 0, ?, 600, ?, 10, 100, 0)"),
                   dao::dbFailOnError, {double(i), modMain::CurrentUserID, double((i % 20) * 1200), day});
        db.Execute(QStringLiteral("INSERT INTO tblDailyComments (cID, cUsrID, cComments) VALUES (?, ?, ?)"),
                   dao::dbFailOnError, {double(i), modMain::CurrentUserID, QStringLiteral("Entrée n° %1").arg(i)});
    }
    for (int i = 1; i <= kExpenses; ++i) {
        db.Execute(QStringLiteral("INSERT INTO tblDailyExp (cID, cUsrID, cExpID, cAmount, cDate, cTime, cTaskID, "
                                  "cProjID, cPayee, cCode, cChk) VALUES (?, ?, 7, '12.50', 20070105, 36000, 10, 1, "
                                  "'Café', 'R', 0)"),
                   dao::dbFailOnError, {double(i), modMain::CurrentUserID});
    }
    db.Execute(QStringLiteral("COMMIT"));
}

int Sent(const char *table)
{
    auto rs = modMain::DB->OpenRecordset(QStringLiteral("SELECT COUNT(*) FROM %1 WHERE cChk = 1").arg(QLatin1String(table)),
                                         dao::dbOpenSnapshot);
    return rs->Value(0).toInt();
}

void BM_SendAll1000EntriesAnd200Expenses(benchmark::State &state)
{
    frmSynch *w = frmSynch::Get();
    for (auto _ : state) {
        state.PauseTiming();
        modMain::DB->Execute(QStringLiteral("UPDATE tblDaily SET cChk = 0"));
        modMain::DB->Execute(QStringLiteral("UPDATE tblDailyExp SET cChk = 0"));
        modMain::ServerLoggedIn = false;
        state.ResumeTiming();
        w->btnConnect_Click(1);
        state.PauseTiming();
        if (Sent("tblDaily") != kEntries || Sent("tblDailyExp") != kExpenses)
            state.SkipWithError("not every row was accepted");
        state.ResumeTiming();
    }
    state.counters["requests"] = kEntries + kExpenses;
}
BENCHMARK(BM_SendAll1000EntriesAnd200Expenses)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

int main(int argc, char **argv)
{
    bench::BenchApp app(argc, argv);
    app.UseAsProgramDir();
    modMain::LoadLangTable(QStringLiteral(TARV_SOURCE_DIR "/data/StringTables.csv"));

    bench::BenchService service;
    if (!service.Start(app, Data))
        return 1;
    bench::StoreBenchCredentials();
    FillRows(app.Path(QStringLiteral("Tarv.crn")));

    app.Run();

    frmSynch::Unload();
    frmMain::Unload();
    return 0;
}
