// The bulk upload's statements: what is still to send over a range of days, and what the
// service is sent of it. (The send states are written by the time log's and the expenses'
// own writers.)
#include "store/modDBchr.h"

#include "core/modMain.h"
#include "platform/dao/dao.h"
#include "store/DailyRead.h"
#include "store/ExpenseRead.h"
#include "store/StoreUtil.h"

using namespace modMain;

namespace modDBchr {

namespace {

using detail::CloseOnExit;
using detail::OpenDatabase;

detail::FailureKeeper Guarded;

// The range's condition on the day column col, and its parameters appended to params.
QString RangeCondition(const DayRange &range, const char *col, QVariantList &params)
{
    if (range.all)
        return QString();
    params << double(range.from) << double(range.to);
    return QStringLiteral("AND %1 >= ? AND %1 <= ? ").arg(QLatin1String(col));
}

} // namespace

QString LastSynchError()
{
    return Guarded.Last();
}

int32_t LoadUnsentDaily(const DayRange &range, std::vector<DailyEntry> &out)
{
    out.clear();
    return Guarded([&] {
        QVariantList params{CurrentUserID};
        const QString sql = detail::DailyEntrySelect + QStringLiteral("AND d.cChk <> 1 ")
                            + RangeCondition(range, "d.cDate", params)
                            + QStringLiteral("ORDER BY d.cDate, d.cStarttime, d.cID");
        std::unique_ptr<dao::Recordset> rs;
        CloseOnExit guard{rs};
        rs = OpenDatabase().OpenRecordset(sql, dao::dbOpenSnapshot, params);
        if (rs->RecordCount() == 0)
            return;
        out.reserve(size_t(rs->RecordCount()));
        for (rs->MoveFirst(); !rs->Eof(); rs->MoveNext())
            out.push_back(detail::ReadDailyEntry(*rs));
    });
}

int32_t LoadUnsentExpenses(const DayRange &range, std::vector<UnsentExpense> &out)
{
    out.clear();
    return Guarded([&] {
        QVariantList params{CurrentUserID};
        // The row's own fields, then the project of its task and the expense's own comment (by
        // its id).
        const QString sql =
            QStringLiteral(
                "SELECT e.*, "
                "(SELECT MIN(t.cProjID) FROM tblProjTasks t WHERE t.cUsrID = e.cUsrID AND t.cTaskID = e.cTaskID), "
                "c.cComments "
                "FROM tblDailyExp e LEFT JOIN tblDailyExpComments c ON c.cID = e.cID "
                "WHERE e.cUsrID = ? AND e.cChk <> 1 ")
            + RangeCondition(range, "e.cDate", params) + QStringLiteral("ORDER BY e.cDate, e.cID");
        std::unique_ptr<dao::Recordset> rs;
        CloseOnExit guard{rs};
        rs = OpenDatabase().OpenRecordset(sql, dao::dbOpenSnapshot, params);
        if (rs->RecordCount() == 0)
            return;
        out.reserve(size_t(rs->RecordCount()));
        for (rs->MoveFirst(); !rs->Eof(); rs->MoveNext()) {
            UnsentExpense e;
            detail::ReadExpenseFields(*rs, e);
            e.projID = rs->Value(11).toDouble();
            e.comment = rs->Value(12).toString().trimmed();
            out.push_back(std::move(e));
        }
    });
}

modHttp::AddTimeValues UploadValuesOf(const DailyEntry &e)
{
    modHttp::AddTimeValues v;
    v.comment = e.comment;
    v.projID = e.projID;
    v.taskID = e.cTaskID;
    v.catID = e.cCatID;
    v.dayKey = e.cDate;
    v.startSecs = e.cStarttime;
    v.durationSecs = e.cSec;
    return v;
}

modHttp::AddExpenseValues UploadValuesOf(const UnsentExpense &e)
{
    modHttp::AddExpenseValues v;
    v.comment = e.comment;
    v.projID = e.projID;
    v.taskID = e.cTaskID;
    v.expCatID = e.cExpID;
    v.amount = e.cAmount;
    v.dayKey = e.cDate;
    v.timeSecs = e.cTime;
    v.payee = e.cPayee;
    v.code = e.cCode;
    return v;
}

} // namespace modDBchr
