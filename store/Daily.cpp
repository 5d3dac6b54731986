// The daily time log's statements: one day's recorded entries with their comments and
// projects, the days that have entries, and the writes of one entry.
#include "store/modDBchr.h"

#include "core/modMain.h"
#include "platform/dao/dao.h"
#include "platform/forms/ComboBox.h"
#include "store/DailyRead.h"
#include "store/StoreUtil.h"

#include <QDate>

#include <algorithm>
#include <cmath>

using namespace modMain;

namespace modDBchr {

namespace {

using detail::CloseOnExit;
using detail::OpenDatabase;

// Runs each procedure's body, turning the engine's failures into their number (kept with its
// description).
detail::FailureKeeper Guarded;

// The comment of an entry as typed: written, replaced, or removed when empty.
void WriteComment(dao::Database &db, double cID, const QString &text)
{
    if (text.isEmpty()) {
        db.Execute(QStringLiteral("DELETE FROM tblDailyComments WHERE cID = ?"), dao::dbFailOnError, {cID});
        return;
    }
    // Replaced in place, so that a failed write never loses the comment that was there.
    db.Execute(QStringLiteral("UPDATE tblDailyComments SET cComments = ? WHERE cID = ?"), dao::dbFailOnError,
               {text, cID});
    if (db.RecordsAffected() == 0)
        db.Execute(QStringLiteral("INSERT INTO tblDailyComments (cID, cUsrID, cComments) VALUES (?, ?, ?)"),
                   dao::dbFailOnError, {cID, CurrentUserID, text});
}

} // namespace

namespace detail {

// The columns of an entry as LoadDailyEntries and GetDailyEntry read them: the row, its
// comment (Null when it has none) and the project of its task.
const QString DailyEntrySelect = QStringLiteral(
    "SELECT d.cID, d.cName, d.cStarttime, d.cSec, d.cDate, d.cTaskID, d.cCatID, d.cChk, c.cComments, "
    "(SELECT MIN(t.cProjID) FROM tblProjTasks t WHERE t.cUsrID = d.cUsrID AND t.cTaskID = d.cTaskID) "
    "FROM tblDaily d LEFT JOIN tblDailyComments c ON c.cID = d.cID "
    "WHERE d.cUsrID = ? AND d.cStarted = 0 ");

DailyEntry ReadDailyEntry(dao::Recordset &rs)
{
    DailyEntry e;
    e.cID = rs.Value(0).toDouble();
    e.cName = rs.Value(1).toString().trimmed();
    e.cStarttime = rs.Value(2).toDouble();
    e.cSec = rs.Value(3).toDouble();
    e.cDate = static_cast<int32_t>(rs.Value(4).toDouble());
    e.cTaskID = rs.Value(5).toDouble();
    e.cCatID = rs.Value(6).toDouble();
    e.cChk = static_cast<int16_t>(rs.Value(7).toInt());
    e.comment = rs.Value(8).toString().trimmed();
    e.projID = rs.Value(9).toDouble();
    return e;
}

} // namespace detail

QString LastDailyError()
{
    return Guarded.Last();
}

int32_t LoadDailyEntries(int32_t dayKey, std::vector<DailyEntry> &out)
{
    out.clear();
    return Guarded([&] {
        std::unique_ptr<dao::Recordset> rs;
        CloseOnExit guard{rs};
        rs = OpenDatabase().OpenRecordset(detail::DailyEntrySelect + QStringLiteral("AND d.cDate = ? ORDER BY d.cStarttime, d.cID"),
                                          dao::dbOpenSnapshot, {CurrentUserID, double(dayKey)});
        out.reserve(rs->RecordCount());
        if (rs->RecordCount() == 0)
            return;
        for (rs->MoveFirst(); !rs->Eof(); rs->MoveNext())
            out.push_back(detail::ReadDailyEntry(*rs));
    });
}

int32_t GetDailyEntry(double cID, DailyEntry &out)
{
    return Guarded([&] {
        std::unique_ptr<dao::Recordset> rs;
        CloseOnExit guard{rs};
        rs = OpenDatabase().OpenRecordset(detail::DailyEntrySelect + QStringLiteral("AND d.cID = ?"), dao::dbOpenSnapshot,
                                          {CurrentUserID, cID});
        if (rs->RecordCount() == 0)
            throw dao::DaoError(dao::ErrNoCurrentRecord, QStringLiteral("No current record."));
        rs->MoveFirst();
        out = detail::ReadDailyEntry(*rs);
    });
}

int32_t FillRecordedDatesCombo(forms::ComboBox *list)
{
    if (!list)
        return 0;
    list->Clear();
    return Guarded([&] {
        std::unique_ptr<dao::Recordset> rs;
        CloseOnExit guard{rs};
        rs = OpenDatabase().OpenRecordset(
            QStringLiteral("SELECT DISTINCT cDate FROM tblDaily WHERE cUsrID = ? AND cStarted = 0 ORDER BY cDate"),
            dao::dbOpenSnapshot, {CurrentUserID});
        if (rs->RecordCount() == 0)
            return;
        // The list does not paint or resize item by item while it fills.
        const bool blocked = list->blockSignals(true);
        list->setUpdatesEnabled(false);
        for (rs->MoveFirst(); !rs->Eof(); rs->MoveNext())
            AddDateItem(static_cast<int32_t>(rs->Value(0).toDouble()), list);
        list->setUpdatesEnabled(true);
        list->blockSignals(blocked);
    });
}

int32_t AddDailyEntry(int32_t dayKey, const DailyValues &values, double *newId)
{
    return Guarded([&] {
        dao::Database &db = OpenDatabase();
        double last = 0;
        {
            std::unique_ptr<dao::Recordset> rs;
            CloseOnExit guard{rs};
            rs = db.OpenRecordset(QStringLiteral("SELECT MAX(cID) FROM tblDaily"), dao::dbOpenSnapshot);
            if (rs->RecordCount() != 0) {
                rs->MoveFirst();
                last = rs->Value(0).toDouble();
            }
        }
        const double id = std::floor(last) + 1;
        // An entry without the comment the person typed is not what was saved: both or neither.
        detail::Savepoint step(db, "daily_entry");
        db.Execute(QStringLiteral("INSERT INTO tblDaily (cName, cID, cUsrID, cStarted, cStarttime, cSec, cDate, "
                                  "cTaskID, cCatID, cChk) VALUES (?, ?, ?, 0, ?, ?, ?, ?, ?, 0)"),
                   dao::dbFailOnError,
                   {detail::NameValue(values.name, 60), id, CurrentUserID, values.start, values.sec, double(dayKey),
                    values.taskID, values.catID});
        WriteComment(db, id, values.comment);
        step.Release();
        if (newId)
            *newId = id;
    });
}

int32_t UpdateDailyEntry(double cID, const DailyValues &values)
{
    return Guarded([&] {
        dao::Database &db = OpenDatabase();
        // The new times and the comment are stored together or not at all.
        detail::Savepoint step(db, "daily_entry");
        db.Execute(QStringLiteral("UPDATE tblDaily SET cName = ?, cStarttime = ?, cSec = ?, cTaskID = ?, cCatID = ? "
                                  "WHERE cID = ? AND cUsrID = ? AND cStarted = 0 AND cChk <> 1"),
                   dao::dbFailOnError,
                   {detail::NameValue(values.name, 60), values.start, values.sec, values.taskID, values.catID, cID,
                    CurrentUserID});
        if (db.RecordsAffected() == 0)
            throw dao::DaoError(ErrEntryLocked,
                                QStringLiteral("The entry no longer exists or has already been accepted by the service."));
        WriteComment(db, cID, values.comment);
        step.Release();
    });
}

int32_t DeleteDailyEntry(double cID)
{
    return Guarded([&] {
        dao::Database &db = OpenDatabase();
        detail::Savepoint step(db, "daily_entry");
        db.Execute(QStringLiteral("DELETE FROM tblDaily WHERE cID = ? AND cUsrID = ? AND cStarted = 0"),
                   dao::dbFailOnError, {cID, CurrentUserID});
        db.Execute(QStringLiteral("DELETE FROM tblDailyComments WHERE cID = ?"), dao::dbFailOnError, {cID});
        step.Release();
    });
}

int32_t EntrySpansAround(int32_t dayKey, double ownId, std::vector<modMain::TimeSpan> &out)
{
    out.clear();
    return Guarded([&] {
        constexpr double kDay = 86400;
        const QDate day = LongToDate(dayKey);
        // Earlier days matter only for entries that pass their own midnight.
        QString sql = QStringLiteral("SELECT cStarttime, cSec, cDate FROM tblDaily WHERE cUsrID = ? AND ") + EntriesOnly
                      + QStringLiteral(" AND cDate <= ? AND (cDate >= ? OR cStarttime + cSec > ?)");
        QVariantList params{CurrentUserID, double(DateToLong(day.addDays(1))), double(dayKey), kDay};
        if (ownId > -1) {
            sql += QStringLiteral(" AND cID <> ?");
            params << ownId;
        }
        sql += QStringLiteral(" ORDER BY cDate, cStarttime");
        std::unique_ptr<dao::Recordset> rs;
        CloseOnExit guard{rs};
        rs = OpenDatabase().OpenRecordset(sql, dao::dbOpenSnapshot, params);
        if (rs->RecordCount() == 0)
            return;
        for (rs->MoveFirst(); !rs->Eof(); rs->MoveNext()) {
            const int32_t stored = static_cast<int32_t>(rs->Value(2).toDouble());
            QDate on;
            try {
                on = LongToDate(stored);
            } catch (const std::exception &) {
                continue;
            }
            const double start = double(day.daysTo(on)) * kDay + rs->Value(0).toDouble();
            const double end = start + rs->Value(1).toDouble();
            // An earlier entry that ends at or before this day's midnight does not reach it.
            if (stored < dayKey && end <= 0)
                continue;
            out.push_back({start, end, stored});
        }
    });
}

int16_t CheckTimeOverlap(int32_t dayKey, double start, double end, double ownId)
{
    std::vector<modMain::TimeSpan> spans;
    if (const int32_t error = EntrySpansAround(dayKey, ownId, spans))
        throw dao::DaoError(error, Guarded.Last());
    // No entry in the day itself (only next day's ones, or none at all) tells as an empty day.
    const bool dayHasEntries = std::any_of(spans.begin(), spans.end(), [](const modMain::TimeSpan &s) { return s.start < 86400; });
    const int16_t rule = modMain::CheckTimeOverlap(start, end, std::move(spans));
    return rule == 0 && !dayHasEntries ? int16_t(-1) : rule;
}

int32_t SetDailySendState(double cID, int16_t state)
{
    return Guarded([&] {
        OpenDatabase().Execute(QStringLiteral("UPDATE tblDaily SET cChk = ? WHERE cID = ? AND cUsrID = ?"),
                               dao::dbFailOnError, {int(state), cID, CurrentUserID});
    });
}

} // namespace modDBchr
