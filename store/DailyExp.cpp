// The daily expenses' rows: one day for the editor, the insert, update and delete of one expense
// with its comment, and the reading and state writing of its upload.
#include "store/modDBchr.h"

#include "core/modMain.h"
#include "platform/dao/dao.h"
#include "store/ExpenseRead.h"
#include "store/StoreUtil.h"

#include <cmath>
#include <exception>
#include <functional>

using namespace modMain;

namespace modDBchr {

namespace detail {

void ReadExpenseFields(dao::Recordset &rs, ExpenseEntry &e)
{
    e.cID = rs.Value(0).toDouble();
    e.cExpID = rs.Value(2).toDouble();
    e.cAmount = rs.Value(3).toString().trimmed();
    e.cDate = static_cast<int32_t>(rs.Value(4).toDouble());
    e.cTime = rs.Value(5).toDouble();
    e.cTaskID = rs.Value(6).toDouble();
    e.cProjID = rs.Value(7).toDouble();
    e.cPayee = rs.Value(8).toString().trimmed();
    const QVariant code = rs.Value(9);
    e.cCode = code.isNull() ? QString() : code.toString();
    e.cChk = static_cast<int16_t>(rs.Value(10).toInt());
}

} // namespace detail

namespace {

using detail::CloseOnExit;
using detail::OpenDatabase;

// Runs each procedure's work and turns what it throws into the engine's number and description.
detail::FailureKeeper Guarded;

// A row and its comment are written together or not at all.
void InOneTransaction(dao::Database &db, const std::function<void()> &work)
{
    detail::Savepoint step(db, "expense_row");
    work();
    step.Release();
}

// The comment of an expense made text: a row when there is text, none when there is not.
void WriteComment(dao::Database &db, double cID, const QString &text)
{
    db.Execute(QStringLiteral("DELETE FROM tblDailyExpComments WHERE cID = ?"), dao::dbFailOnError, {cID});
    if (!text.isEmpty())
        db.Execute(QStringLiteral("INSERT INTO tblDailyExpComments (cID, cUsrID, cComments) VALUES (?, ?, ?)"),
                   dao::dbFailOnError, {cID, CurrentUserID, text});
}

// The stored send state of the current user's expense; -1 when there is no such row.
int StoredState(dao::Database &db, double cID)
{
    std::unique_ptr<dao::Recordset> rs;
    CloseOnExit guard{rs};
    rs = db.OpenRecordset(QStringLiteral("SELECT cChk FROM tblDailyExp WHERE cID = ? AND cUsrID = ?"),
                          dao::dbOpenSnapshot, {cID, CurrentUserID});
    if (rs->RecordCount() == 0)
        return -1;
    rs->MoveFirst();
    return rs->Value(0).toInt();
}

} // namespace

QString LastExpError()
{
    return Guarded.Last();
}

int32_t LoadExpDay(int32_t dayKey, std::vector<ExpenseDayRow> &rows)
{
    return Guarded([&] {
        std::unique_ptr<dao::Recordset> rs;
        CloseOnExit guard{rs};
        rs = OpenDatabase().OpenRecordset(
            QStringLiteral("SELECT * FROM tblDailyExp WHERE cUsrID = ? AND cDate = ? ORDER BY cID"),
            dao::dbOpenSnapshot, {CurrentUserID, double(dayKey)});
        if (rs->RecordCount() == 0)
            return;
        for (rs->MoveFirst(); !rs->Eof(); rs->MoveNext()) {
            ExpenseDayRow row;
            detail::ReadExpenseFields(*rs, row);
            row.categoryName = GetExpCategName(row.cExpID);
            row.taskName = GetTaskName(row.cTaskID);
            row.projectName = GetProjectName(row.cProjID);
            row.comment = GetExpComment(row.cID);
            rows.push_back(std::move(row));
        }
    });
}

int32_t InsertExpense(ExpenseEntry &entry)
{
    double newId = 0;
    const int32_t err = Guarded([&] {
        dao::Database &db = OpenDatabase();
        newId = std::round(GetLastID(QStringLiteral("tblDailyExp"), QStringLiteral("cID"))) + 1.0;
        InOneTransaction(db, [&] {
            db.Execute(QStringLiteral("INSERT INTO tblDailyExp (cID, cUsrID, cExpID, cAmount, cDate, cTime, "
                                      "cTaskID, cProjID, cPayee, cCode, cChk) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, 0)"),
                       dao::dbFailOnError,
                       {newId, CurrentUserID, entry.cExpID, detail::NullIfEmpty(entry.cAmount.trimmed()),
                        double(entry.cDate), entry.cTime, entry.cTaskID, entry.cProjID,
                        detail::NullIfEmpty(entry.cPayee.trimmed()), detail::NullIfEmpty(entry.cCode.trimmed())});
            if (!entry.comment.isEmpty())
                WriteComment(db, newId, entry.comment);
        });
    });
    if (err == 0) {
        entry.cID = newId;
        entry.cChk = 0;
    }
    return err;
}

int32_t UpdateExpense(const ExpenseEntry &entry)
{
    return Guarded([&] {
        dao::Database &db = OpenDatabase();
        InOneTransaction(db, [&] {
            const int state = StoredState(db, entry.cID);
            if (state < 0)
                throw dao::DaoError(ErrExpenseMissing, QStringLiteral("The expense is not stored."));
            if (state == 1)
                throw dao::DaoError(ErrExpenseSent,
                                    QStringLiteral("The expense has been accepted by the service and cannot be changed."));
            db.Execute(QStringLiteral("UPDATE tblDailyExp SET cExpID = ?, cAmount = ?, cTime = ?, cTaskID = ?, "
                                      "cProjID = ?, cPayee = ?, cCode = ? WHERE cID = ? AND cUsrID = ? AND cChk <> 1"),
                       dao::dbFailOnError,
                       {entry.cExpID, detail::NullIfEmpty(entry.cAmount.trimmed()), entry.cTime, entry.cTaskID,
                        entry.cProjID, detail::NullIfEmpty(entry.cPayee.trimmed()),
                        detail::NullIfEmpty(entry.cCode.trimmed()), entry.cID, CurrentUserID});
            WriteComment(db, entry.cID, entry.comment);
        });
    });
}

int32_t DeleteExpense(double cID)
{
    return Guarded([&] {
        dao::Database &db = OpenDatabase();
        InOneTransaction(db, [&] {
            db.Execute(QStringLiteral("DELETE FROM tblDailyExp WHERE cID = ? AND cUsrID = ?"), dao::dbFailOnError,
                       {cID, CurrentUserID});
            db.Execute(QStringLiteral("DELETE FROM tblDailyExpComments WHERE cID = ? AND cUsrID = ?"),
                       dao::dbFailOnError, {cID, CurrentUserID});
        });
    });
}

int32_t ReadExpense(double cID, ExpenseEntry &entry)
{
    return Guarded([&] {
        std::unique_ptr<dao::Recordset> rs;
        CloseOnExit guard{rs};
        rs = OpenDatabase().OpenRecordset(QStringLiteral("SELECT * FROM tblDailyExp WHERE cID = ? AND cUsrID = ?"),
                                          dao::dbOpenSnapshot, {cID, CurrentUserID});
        if (rs->RecordCount() == 0)
            throw dao::DaoError(ErrExpenseMissing, QStringLiteral("The expense is not stored."));
        rs->MoveFirst();
        detail::ReadExpenseFields(*rs, entry);
        entry.comment = GetExpComment(cID);
    });
}

int32_t SetExpenseState(double cID, int16_t state)
{
    return Guarded([&] {
        dao::Database &db = OpenDatabase();
        db.Execute(QStringLiteral("UPDATE tblDailyExp SET cChk = ? WHERE cID = ? AND cUsrID = ?"), dao::dbFailOnError,
                   {int(state), cID, CurrentUserID});
        if (db.RecordsAffected() == 0)
            throw dao::DaoError(ErrExpenseMissing, QStringLiteral("The expense is not stored."));
    });
}

} // namespace modDBchr
