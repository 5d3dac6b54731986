// The bulk upload's statements: what is still to send over a range of days, and the send state
// of an expense.
#include "store/modDBchr.h"

#include "core/modMain.h"
#include "platform/dao/dao.h"
#include "store/DailyRead.h"
#include "store/StoreUtil.h"

using namespace modMain;

namespace modDBchr {

namespace {

using detail::CloseOnExit;
using detail::OpenDatabase;

QString g_lastError;

template <class F>
int32_t Guarded(F &&body)
{
    return detail::Guarded(g_lastError, std::forward<F>(body));
}

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
    return g_lastError;
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
        // The comment is the expense's own (by its id); the project is that of the task.
        const QString sql =
            QStringLiteral(
                "SELECT e.cID, e.cExpID, e.cAmount, e.cDate, e.cTime, e.cTaskID, "
                "(SELECT MIN(t.cProjID) FROM tblProjTasks t WHERE t.cUsrID = e.cUsrID AND t.cTaskID = e.cTaskID), "
                "e.cPayee, e.cCode, e.cChk, c.cComments "
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
            e.cID = rs->Value(0).toDouble();
            e.cExpID = rs->Value(1).toDouble();
            e.cAmount = rs->Value(2).toString().trimmed();
            e.cDate = static_cast<int32_t>(rs->Value(3).toDouble());
            e.cTime = rs->Value(4).toDouble();
            e.cTaskID = rs->Value(5).toDouble();
            e.projID = rs->Value(6).toDouble();
            e.cPayee = rs->Value(7).toString().trimmed();
            e.cCode = rs->Value(8).toString().trimmed();
            e.cChk = static_cast<int16_t>(rs->Value(9).toInt());
            e.comment = rs->Value(10).toString().trimmed();
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

int32_t SetExpenseSendState(double cID, int16_t state)
{
    return Guarded([&] {
        OpenDatabase().Execute(QStringLiteral("UPDATE tblDailyExp SET cChk = ? WHERE cID = ? AND cUsrID = ?"),
                               dao::dbFailOnError, {int(state), cID, CurrentUserID});
    });
}

} // namespace modDBchr
