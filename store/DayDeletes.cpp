// Deleting a day's (or all) entries and expenses of the current user with their comments, and
// finding the nearest day that has entries.
#include "store/modDBchr.h"

#include "core/modMain.h"
#include "platform/dao/dao.h"
#include "store/StoreUtil.h"

#include <QDate>

using namespace modMain;

namespace modDBchr {

namespace {

using detail::CloseOnExit;
using detail::OpenDatabase;

// Which tables a delete or a navigation works on.
struct EntryTables {
    const char *entries;
    const char *comments;
    bool hasTimers;   // the table also holds the timers window's parked timers (no entries)
    // " AND ..." that keeps a statement on the table's entries.
    QString EntriesOnly() const { return hasTimers ? QStringLiteral(" AND ") + modDBchr::EntriesOnly : QString(); }
};
const EntryTables Daily{"tblDaily", "tblDailyComments", true};
const EntryTables Exp{"tblDailyExp", "tblDailyExpComments", false};

// Runs f and turns its failure into the engine's error number (0 when it succeeds). What f
// wrote stays only when all of it could be written: a delete that fails half way leaves every
// row and every comment as it was.
template <typename F>
int32_t ErrorNumberOf(F &&f)
{
    try {
        dao::Database &db = OpenDatabase();
        detail::Savepoint step(db, "day_delete");
        f(db);
        step.Release();
        return 0;
    } catch (const dao::DaoError &e) {
        return e.Number();
    } catch (const std::exception &) {
        // Not the engine's: a failure of the kind "not applicable here".
        return 5;
    }
}

// Deletes the comments of the rows that filter selects, then the rows themselves.
int32_t DeleteWithComments(const EntryTables &t, const QString &filter, const QVariantList &params)
{
    return ErrorNumberOf([&](dao::Database &db) {
        db.Execute(QStringLiteral("DELETE FROM %1 WHERE cID IN (SELECT cID FROM %2 WHERE ")
                           .arg(QLatin1String(t.comments), QLatin1String(t.entries))
                       + filter + t.EntriesOnly() + u')',
                   dao::dbFailOnError, params);
        db.Execute(QStringLiteral("DELETE FROM %1 WHERE ").arg(QLatin1String(t.entries)) + filter + t.EntriesOnly(),
                   dao::dbFailOnError, params);
    });
}

int32_t DeleteAllOf(const EntryTables &t)
{
    return ErrorNumberOf([&](dao::Database &db) {
        // The entries go first, then every comment of the user in one statement, except those
        // of the rows that stay (the parked timers).
        db.Execute(QStringLiteral("DELETE FROM %1 WHERE cUsrID = ?").arg(QLatin1String(t.entries)) + t.EntriesOnly(),
                   dao::dbFailOnError, {CurrentUserID});
        if (t.hasTimers)
            db.Execute(QStringLiteral("DELETE FROM %1 WHERE cUsrID = ? AND cID NOT IN (SELECT cID FROM %2 WHERE cUsrID = ?)")
                           .arg(QLatin1String(t.comments), QLatin1String(t.entries)),
                       dao::dbFailOnError, {CurrentUserID, CurrentUserID});
        else
            db.Execute(QStringLiteral("DELETE FROM %1 WHERE cUsrID = ?").arg(QLatin1String(t.comments)),
                       dao::dbFailOnError, {CurrentUserID});
    });
}

QString NextPrevDate(const EntryTables &t, const QDate &date, bool later)
{
    try {
        const int32_t key = DateToLong(date);
        std::unique_ptr<dao::Recordset> rs;
        CloseOnExit guard{rs};
        rs = OpenDatabase().OpenRecordset(
            QStringLiteral("SELECT cDate FROM %1 WHERE cUsrID = ? AND cDate %2 ?%3 ORDER BY cDate")
                .arg(QLatin1String(t.entries), later ? QStringLiteral(">") : QStringLiteral("<"), t.EntriesOnly()),
            dao::dbOpenDefault, {CurrentUserID, double(key)});
        if (rs->RecordCount() > 0) {
            // The smallest later day, or the largest earlier one.
            if (later)
                rs->MoveFirst();
            else
                rs->MoveLast();
            return ShortDateText(LongToDate(static_cast<int32_t>(rs->Value(0).toDouble())));
        }
    } catch (...) {
    }
    // Looking forward from a day in the past always reaches today.
    const QDate today = QDate::currentDate();
    if (later && date.isValid() && date < today)
        return ShortDateText(today);
    return QString();
}

} // namespace

int32_t DeleteDailyDay(int32_t dayKey)
{
    return DeleteWithComments(Daily, QStringLiteral("cUsrID = ? AND cDate = ?"), {CurrentUserID, double(dayKey)});
}

int32_t DeleteExpDay(int32_t dayKey)
{
    return DeleteWithComments(Exp, QStringLiteral("cUsrID = ? AND cDate = ?"), {CurrentUserID, double(dayKey)});
}

int32_t DeleteSyncedExpDay(int32_t dayKey)
{
    if (dayKey == -1)
        return DeleteWithComments(Exp, QStringLiteral("cUsrID = ? AND cChk = 1"), {CurrentUserID});
    return DeleteWithComments(Exp, QStringLiteral("cUsrID = ? AND cChk = 1 AND cDate = ?"),
                              {CurrentUserID, double(dayKey)});
}

int32_t DeleteAllDaily()
{
    return DeleteAllOf(Daily);
}

int32_t DeleteAllExp()
{
    return DeleteAllOf(Exp);
}

QString GetNextPrevDailyDate(const QDate &date, bool later)
{
    return NextPrevDate(Daily, date, later);
}

QString GetNextPrevExpDate(const QDate &date, bool later)
{
    return NextPrevDate(Exp, date, later);
}

} // namespace modDBchr
