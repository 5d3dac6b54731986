// Speed of the daily expenses window's total: a day of 500 expenses in the real window (headless),
// one amount edited as a person edits it, and the day's total recomputed from the grid, as the
// window does after each edit of an amount. The rule alone (500 amount texts summed) beside it.
#include "bench/BenchSupport.h"
#include "core/frmMain.h"
#include "core/modMain.h"
#include "expenses/ExpenseRules.h"
#include "expenses/frmDailyExp.h"
#include "platform/dao/dao.h"
#include "store/modDBchr.h"

#include <QDate>
#include <QLineEdit>
#include <QLocale>

#include <benchmark/benchmark.h>

namespace {

constexpr int kExpenses = 500;

bench::BenchApp *g_app = nullptr;

QString AmountText(int i)
{
    return expenserules::FormatAmount(1000.0 + i * 1.25);
}

// A database with a day of kExpenses expenses of the current user.
void MakeDay(int32_t dayKey)
{
    using namespace modMain;
    modDBchr::CreateDB(g_app->Path(QStringLiteral("Tarv.crn")));
    CurrentUserID = 1;
    modDBchr::SaveProject(1, QStringLiteral("Alpha"), QStringLiteral("TRUE"));
    modDBchr::SaveTask(10, QStringLiteral("Design"), 1, QStringLiteral("TRUE"));
    modDBchr::SaveExpCategory(3, QStringLiteral("Fuel"));
    DB->Execute(QStringLiteral("BEGIN"));
    for (int i = 1; i <= kExpenses; ++i)
        DB->Execute(QStringLiteral("INSERT INTO tblDailyExp VALUES (?, 1, 3, ?, ?, ?, 10, 1, ?, NULL, 0)"),
                    dao::dbFailOnError,
                    {double(i), AmountText(i), double(dayKey), double(30000 + i), QStringLiteral("Payee %1").arg(i)});
    DB->Execute(QStringLiteral("COMMIT"));
}

// The window on that day; one row selected, its amount typed, the box left: the row takes the
// new text and the total is recomputed from all 500 rows.
void BM_TotalAfterAnEdit(benchmark::State &state)
{
    frmDailyExp *w = frmDailyExp::Get();
    w->show();
    if (w->lstLog->Rows() != kExpenses) {
        state.SkipWithError("the day did not load");
        return;
    }
    int i = 0;
    for (auto _ : state) {
        const int row = i % kExpenses;
        w->lstLog->SetRow(row);
        w->lstLog_Click();
        w->txtAmount->setText(QString::number(10 + i % 90) + modMain::DecimalSep + QStringLiteral("5"));
        w->txtAmount_LostFocus();
        ++i;
    }
    state.counters["rows"] = w->lstLog->Rows();
    benchmark::DoNotOptimize(w->lTotal->Caption());
}
BENCHMARK(BM_TotalAfterAnEdit)->Unit(benchmark::kMillisecond);

// The total alone, from the grid (what UpdateTotals does).
void BM_UpdateTotals(benchmark::State &state)
{
    frmDailyExp *w = frmDailyExp::Get();
    for (auto _ : state)
        w->UpdateTotals();
    benchmark::DoNotOptimize(w->lTotal->Caption());
}
BENCHMARK(BM_UpdateTotals)->Unit(benchmark::kMillisecond);

// The rule alone: 500 amount texts summed.
void BM_DayTotalRule(benchmark::State &state)
{
    QStringList amounts;
    for (int i = 1; i <= kExpenses; ++i)
        amounts << AmountText(i);
    for (auto _ : state)
        benchmark::DoNotOptimize(expenserules::DayTotal(amounts));
}
BENCHMARK(BM_DayTotalRule)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char **argv)
{
    bench::BenchApp app(argc, argv);
    g_app = &app;
    app.UseAsProgramDir();
    modMain::InitSeparators(QLocale(QLocale::English, QLocale::UnitedStates));
    const int32_t day = modMain::DateToLong(QDate::currentDate());
    MakeDay(day);
    app.Run();
    frmDailyExp::Unload();
    frmMain::Unload();
    return 0;
}
