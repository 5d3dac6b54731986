// Speed of the daily log window on a large database: 50,000 entries over ten years (2,500
// days), one of them with 100 entries. Loading that day into the window's grid and filling
// the day list should each take well under 50 ms.
#include "bench/BenchSupport.h"
#include "core/frmMain.h"
#include "core/modMain.h"
#include "platform/dao/dao.h"
#include "platform/forms/ComboBox.h"
#include "platform/forms/FlexGrid.h"
#include "platform/forms/Tag.h"
#include "store/modDBchr.h"
#include "timelog/frmDaily.h"

#include <QDate>

#include <benchmark/benchmark.h>

namespace {

constexpr int kDays = 2500;
constexpr int kEntries = 50000;
constexpr int kBigDay = 100;
int32_t g_bigDay = 0;

bool Fill(const QString &path)
{
    using namespace modMain;
    if (modDBchr::CreateDB(path) != 0)
        return false;
    CurrentUserID = 1;
    modDBchr::SaveProject(1, QStringLiteral("Alpha"), QStringLiteral("TRUE"));
    modDBchr::SaveTask(10, QStringLiteral("Design"), 1, QStringLiteral("TRUE"));
    modDBchr::SaveCategory(100, QStringLiteral("Drawing"), 10);
    // Every fourth or so day of ten years has entries.
    const QDate first(2015, 1, 1);
    double id = 0;
    int left = kEntries - kBigDay;
    for (int d = 0; d < kDays; ++d) {
        const int32_t day = DateToLong(first.addDays(d * 3650 / kDays));
        const bool big = d == kDays / 2;
        if (big)
            g_bigDay = day;
        const int n = big ? kBigDay : left / (kDays - d - (d < kDays / 2 ? 1 : 0));
        if (!big)
            left -= n;
        DB->Execute(QStringLiteral("BEGIN"));
        for (int i = 0; i < n; ++i) {
            ++id;
            DB->Execute(QStringLiteral("INSERT INTO tblDaily (cName, cID, cUsrID, cStarted, cStarttime, cSec, cDate, "
                                       "cTaskID, cCatID, cChk) VALUES ('Drawing', ?, 1, 0, ?, 300, ?, 10, 100, 0)"),
                        dao::dbFailOnError, {id, double((n - i) * 400 % 86000), double(day)});
            if (i % 4 == 0)
                DB->Execute(QStringLiteral("INSERT INTO tblDailyComments (cID, cUsrID, cComments) VALUES (?, 1, ?)"),
                            dao::dbFailOnError, {id, QStringLiteral("A comment of some length, as people write them.")});
        }
        DB->Execute(QStringLiteral("COMMIT"));
    }
    return true;
}

void BM_LoadDayOf100Entries(benchmark::State &state)
{
    frmDaily *w = frmDaily::Get();
    forms::SetTag(w->lblDay, QString::number(g_bigDay));
    for (auto _ : state) {
        if (w->LoadDailyLog())
            state.SkipWithError("LoadDailyLog failed");
    }
    if (w->lstLog->Rows() != kBigDay)
        state.SkipWithError("the day did not load whole");
}
BENCHMARK(BM_LoadDayOf100Entries)->Unit(benchmark::kMillisecond);

void BM_FillDayListOf2500Days(benchmark::State &state)
{
    forms::ComboBox list;
    for (auto _ : state)
        modDBchr::FillRecordedDatesCombo(&list);
    if (list.ListCount() != kDays)
        state.SkipWithError("the list is not whole");
}
BENCHMARK(BM_FillDayListOf2500Days)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    bench::BenchApp app(argc, argv);
    app.UseAsProgramDir();
    if (!Fill(app.Path(QStringLiteral("Tarv.crn"))))
        return 1;
    app.Run();
    frmDaily::Unload();
    frmMain::Unload();
    return 0;
}
