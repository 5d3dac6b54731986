// Speed of the database file: creation, opening, and a day's worth of single-row inserts.
#include "bench/BenchSupport.h"
#include "core/modMain.h"
#include "platform/dao/dao.h"
#include "store/modDBchr.h"

#include <QFile>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

bench::BenchApp *g_app = nullptr;

QString FreshPath()
{
    return g_app->NextDatabasePath();
}

// The whole creation of the ten tables and 25 indexes (the pauses are switched off).
void BM_CreateDB(benchmark::State &state)
{
    for (auto _ : state) {
        const QString path = FreshPath();
        if (modDBchr::CreateDB(path) != 0)
            state.SkipWithError("CreateDB failed");
        state.PauseTiming();
        bench::CloseDatabase();
        QFile::remove(path);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_CreateDB)->Unit(benchmark::kMillisecond);

// Opening the existing file as at every start: key derivation, exclusive lock, WAL.
void BM_OpenDB(benchmark::State &state)
{
    const QString path = FreshPath();
    modDBchr::CreateDB(path);
    bench::CloseDatabase();
    for (auto _ : state) {
        if (modDBchr::OpenDB(path) != 0)
            state.SkipWithError("OpenDB failed");
        state.PauseTiming();
        bench::CloseDatabase();
        state.ResumeTiming();
    }
    QFile::remove(path);
}
BENCHMARK(BM_OpenDB)->Unit(benchmark::kMillisecond);

// 10,000 time-log entries, each its own INSERT statement committed on its own as the program
// writes them, spread over 100 days.
void BM_Insert10000Daily(benchmark::State &state)
{
    for (auto _ : state) {
        state.PauseTiming();
        const QString path = FreshPath();
        modDBchr::CreateDB(path);
        state.ResumeTiming();
        for (int k = 1; k <= 10000; ++k) {
            const int day = 20240101 + (k % 100);
            modMain::DB->Execute(QStringLiteral("INSERT INTO tblDaily (cName, cID, cUsrID, cStarted, cStarttime, cSec, "
                                                "cDate, cTaskID, cCatID, cChk) VALUES ('Entry %1', %1, 1, 0, %2, 600, "
                                                "%3, 17, 4, 0)")
                                     .arg(k)
                                     .arg(28800 + (k / 100) * 60)
                                     .arg(day),
                                 dao::dbFailOnError);
        }
        state.PauseTiming();
        bench::CloseDatabase();
        QFile::remove(path);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_Insert10000Daily)->Unit(benchmark::kMillisecond)->Iterations(3);

// Reading one day (100 of the 10,000 entries) back as the daily log loads it.
void BM_ReadOneDay(benchmark::State &state)
{
    const QString path = FreshPath();
    modDBchr::CreateDB(path);
    for (int k = 1; k <= 10000; ++k)
        modMain::DB->Execute(QStringLiteral("INSERT INTO tblDaily (cName, cID, cUsrID, cStarted, cStarttime, cSec, cDate, "
                                            "cTaskID, cCatID, cChk) VALUES ('Entry %1', %1, 1, 0, %2, 600, %3, 17, 4, 0)")
                                 .arg(k)
                                 .arg(28800 + (k / 100) * 60)
                                 .arg(20240101 + (k % 100)));
    for (auto _ : state) {
        auto rs = modMain::DB->OpenRecordset(
            QStringLiteral("SELECT * FROM tblDaily WHERE cUsrID = 1 AND cDate = 20240150 ORDER BY cStarttime"));
        double total = 0;
        while (!rs->Eof()) {
            total += rs->Value(5).toDouble();
            rs->MoveNext();
        }
        if (rs->RecordCount() != 100)
            state.SkipWithError("wrong number of rows");
        rs->Close();
        benchmark::DoNotOptimize(total);
    }
    bench::CloseDatabase();
    QFile::remove(path);
}
BENCHMARK(BM_ReadOneDay)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char **argv)
{
    bench::BenchApp app(argc, argv);
    g_app = &app;
    app.Run();
    return 0;
}
