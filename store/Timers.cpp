// The timers window's rows of tblDaily: entries written when a segment is saved, and the
// parked records of the loaded timers.
#include "store/modDBchr.h"

#include "core/modMain.h"
#include "platform/dao/dao.h"
#include "store/StoreUtil.h"

using namespace modMain;

namespace modDBchr {

namespace {

using detail::CloseOnExit;
using detail::NameValue;
using detail::OpenDatabase;

constexpr int kNameSize = 60;   // cName is Text 60

// Runs f inside a savepoint of the open database: everything f wrote stays, or (when f
// throws) none of it. Returns 0 or the engine's error number, with its message.
template <typename F>
int32_t InOneStep(F &&f, QString *description)
{
    try {
        dao::Database &db = OpenDatabase();
        detail::Savepoint step(db, "timers");
        f(db);
        step.Release();
        if (description)
            description->clear();
        return 0;
    } catch (const dao::DaoError &e) {
        if (description)
            *description = e.Description();
        return e.Number();
    } catch (const std::exception &e) {
        if (description)
            *description = QString::fromLocal8Bit(e.what());
        // Not the engine's own: a failure of the kind "not applicable here".
        return 5;
    }
}

QVariant Optional(const std::optional<double> &v)
{
    return v ? QVariant(*v) : QVariant();
}

std::optional<double> OptionalOf(const QVariant &v)
{
    if (v.isNull() || !v.isValid())
        return std::nullopt;
    return v.toDouble();
}

// The highest cID of tblDaily over every person (0 for an empty table).
double LastDailyID(dao::Database &db)
{
    std::unique_ptr<dao::Recordset> rs;
    CloseOnExit guard{rs};
    rs = db.OpenRecordset(QStringLiteral("SELECT MAX(cID) FROM tblDaily"), dao::dbOpenSnapshot);
    const QVariant v = rs->Value(0);
    return v.isNull() ? 0.0 : v.toDouble();
}

// Inserts one parked timer and its comment under the id given.
void InsertParked(dao::Database &db, const TimerRecord &r, double id)
{
    const QVariant task = Optional(r.task);
    db.Execute(QStringLiteral("INSERT INTO tblDaily (cName, cID, cUsrID, cStarted, cStarttime, cSec, cDate, "
                              "cTaskID, cCatID, cChk) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
               dao::dbFailOnError,
               {NameValue(r.name, kNameSize), id, CurrentUserID, int(r.started), r.startSecs, r.secs,
                double(r.day), task, Optional(r.category), r.heldSegment ? 1 : 0});
    if (db.RecordsAffected() != 1)
        throw dao::DaoError(dao::ErrInvalidOperation, QStringLiteral("The row was not stored."));
    if (!r.comment.isEmpty())
        db.Execute(QStringLiteral("INSERT INTO tblDailyComments (cID, cUsrID, cComments) VALUES (?, ?, ?)"),
                   dao::dbFailOnError, {id, CurrentUserID, r.comment});
}

const QString kParked = QStringLiteral("cUsrID = ? AND cStarted IN (1, 2)");

} // namespace

int32_t AddTimerEntry(const TimerRecord &entry, double &newId, QString *description)
{
    if (!entry.category) {
        if (description)
            *description = QStringLiteral("The entry has no activity.");
        return 3314;
    }
    // An entry like any the daily log writes.
    const DailyValues values{entry.name, entry.startSecs, entry.secs, entry.task.value_or(0), *entry.category,
                             entry.comment};
    double id = 0;
    const int32_t err = AddDailyEntry(entry.day, values, &id);
    if (description)
        *description = err == 0 ? QString() : LastDailyError();
    if (err == 0)
        newId = id;
    return err;
}

int32_t ReplaceParkedTimers(const std::vector<TimerRecord> &timers, QString *description)
{
    return InOneStep(
        [&](dao::Database &db) {
            db.Execute(QStringLiteral("DELETE FROM tblDailyComments WHERE cID IN (SELECT cID FROM tblDaily WHERE ")
                           + kParked + QStringLiteral(")"),
                       dao::dbFailOnError, {CurrentUserID});
            db.Execute(QStringLiteral("DELETE FROM tblDaily WHERE ") + kParked, dao::dbFailOnError, {CurrentUserID});
            double id = LastDailyID(db);
            for (const TimerRecord &t : timers)
                InsertParked(db, t, ++id);
        },
        description);
}

int32_t ReadParkedTimers(std::vector<TimerRecord> &out, QString *description)
{
    out.clear();
    return InOneStep(
        [&](dao::Database &db) {
            std::unique_ptr<dao::Recordset> rs;
            CloseOnExit guard{rs};
            // Read by field position: cID, cUsrID, cName, cStarted, cStarttime, cSec, cDate,
            // cTaskID, cCatID, cChk.
            rs = db.OpenRecordset(QStringLiteral("SELECT * FROM tblDaily WHERE ") + kParked + QStringLiteral(" ORDER BY cID"),
                                  dao::dbOpenSnapshot, {CurrentUserID});
            for (; !rs->Eof(); rs->MoveNext()) {
                TimerRecord r;
                r.id = rs->Value(0).toDouble();
                r.name = rs->Value(2).toString().trimmed();
                r.started = static_cast<int16_t>(rs->Value(3).toInt());
                r.startSecs = rs->Value(4).toDouble();
                r.secs = rs->Value(5).toDouble();
                r.day = static_cast<int32_t>(rs->Value(6).toDouble());
                r.task = OptionalOf(rs->Value(7));
                r.category = OptionalOf(rs->Value(8));
                r.heldSegment = rs->Value(9).toInt() == 1;
                out.push_back(std::move(r));
            }
            detail::CloseQuietly(rs);
            for (TimerRecord &r : out)
                r.comment = GetDailyComment(r.id);
        },
        description);
}

} // namespace modDBchr
