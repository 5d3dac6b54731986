// The editors' drop-down lists (expense categories, payees, days with entries), the comment of
// a time-log entry or an expense, and the names of tasks and expense categories.
#include "store/modDBchr.h"

#include "core/modMain.h"
#include "platform/dao/dao.h"
#include "platform/forms/ComboBox.h"
#include "store/StoreUtil.h"

#include <QSet>

using namespace modMain;

namespace modDBchr {

namespace {

using detail::CloseOnExit;
using detail::OpenDatabase;
using detail::FirstText;

// One item per distinct day of the rows, in the order they come.
void FillDates(forms::ComboBox *list, const QString &defaultQuery, const QString &query)
{
    if (!list)
        return;
    list->Clear();
    try {
        std::unique_ptr<dao::Recordset> rs;
        CloseOnExit guard{rs};
        if (query.isEmpty())
            rs = OpenDatabase().OpenRecordset(defaultQuery, dao::dbOpenDefault, {CurrentUserID});
        else
            rs = OpenDatabase().OpenRecordset(query);
        if (rs->RecordCount() == 0)
            return;
        int32_t previous = 0;
        for (rs->MoveFirst(); !rs->Eof(); rs->MoveNext()) {
            const int32_t key = static_cast<int32_t>(rs->Value(0).toDouble());
            if (key != previous)
                AddDateItem(key, list);
            previous = key;
        }
    } catch (...) {
    }
}

void InsertComment(const char *table, double cID, const QString &text)
{
    if (text.isEmpty())
        return;
    try {
        OpenDatabase().Execute(QStringLiteral("INSERT INTO %1 (cID, cUsrID, cComments) VALUES (?, ?, ?)")
                                   .arg(QLatin1String(table)),
                               0, {cID, CurrentUserID, text});
    } catch (...) {
    }
}

void UpdateComment(const char *table, double cID, const QString &text)
{
    // The column takes no empty text: the old comment stays (the caller deletes it instead).
    if (text.isEmpty())
        return;
    try {
        OpenDatabase().Execute(
            QStringLiteral("UPDATE %1 SET cComments = ? WHERE cID = ?").arg(QLatin1String(table)), 0,
            {text, cID});
    } catch (...) {
    }
}

void DeleteComment(const char *table, double cID)
{
    try {
        OpenDatabase().Execute(QStringLiteral("DELETE FROM %1 WHERE cID = ?").arg(QLatin1String(table)), 0, {cID});
    } catch (...) {
    }
}

} // namespace

void FillExpCategCombo(forms::ComboBox *list)
{
    if (!list)
        return;
    list->Clear();
    try {
        std::unique_ptr<dao::Recordset> rs;
        CloseOnExit guard{rs};
        rs = OpenDatabase().OpenRecordset(
            QStringLiteral("Select cExpID, cExpName from tblExpCategs WHERE cUsrID = ? order by cExpName"),
            dao::dbOpenSnapshot, {CurrentUserID});
        if (rs->RecordCount() == 0)
            return;
        for (rs->MoveFirst(); !rs->Eof(); rs->MoveNext()) {
            const double id = rs->Value(0).toDouble();
            list->AddItem(rs->Value(1).toString().trimmed());
            list->SetItemData(list->NewIndex(), static_cast<int>(id));
        }
    } catch (...) {
    }
}

void FillPayeeCombo(forms::ComboBox *list)
{
    if (!list)
        return;
    list->Clear();
    try {
        std::unique_ptr<dao::Recordset> rs;
        CloseOnExit guard{rs};
        rs = OpenDatabase().OpenRecordset(
            QStringLiteral("SELECT cPayee from tblDailyExp WHERE cUsrID = ? ORDER BY cPayee"), dao::dbOpenDefault,
            {CurrentUserID});
        if (rs->RecordCount() == 0)
            return;
        // The rows come in the engine's order, which ignores case and leading blanks do not
        // trim away: "Bob", "bob" and "Bob " may interleave. Each payee is listed once.
        QSet<QString> listed;
        for (rs->MoveFirst(); !rs->Eof(); rs->MoveNext()) {
            const QVariant v = rs->Value(0);
            if (v.isNull())
                continue;
            const QString payee = v.toString().trimmed();
            if (payee.isEmpty() || listed.contains(payee))
                continue;
            listed.insert(payee);
            list->AddItem(payee);
        }
    } catch (...) {
    }
}

void FillDailyDatesCombo(forms::ComboBox *list, const QString &query)
{
    // The timers window's parked timers are no entries: their days are not listed.
    FillDates(list, QStringLiteral("SELECT cDate FROM tblDaily WHERE cUsrID = ? AND ") + EntriesOnly + QStringLiteral(" ORDER BY cDate"),
              query);
}

void FillExpDatesCombo(forms::ComboBox *list, const QString &query)
{
    FillDates(list, QStringLiteral("SELECT cDate FROM tblDailyExp WHERE cUsrID = ? ORDER BY cDate"), query);
}

QString GetDailyComment(double cID)
{
    return FirstText(QStringLiteral("SELECT cComments FROM tblDailyComments WHERE cID = ?"), cID);
}

QString GetExpComment(double cID)
{
    return FirstText(QStringLiteral("SELECT cComments from tblDailyExpComments WHERE cID = ?"), cID);
}

QString GetTaskName(double cTaskID)
{
    return FirstText(QStringLiteral("SELECT cTaskName FROM tblProjTasks WHERE cTaskID = ?"), cTaskID);
}

QString GetExpCategName(double cExpID)
{
    return FirstText(QStringLiteral("SELECT cExpName FROM tblExpCategs WHERE cExpID = ?"), cExpID);
}

void InsertDailyComment(double cID, const QString &text)
{
    InsertComment("tblDailyComments", cID, text);
}

void InsertExpComment(double cID, const QString &text)
{
    InsertComment("tblDailyExpComments", cID, text);
}

void UpdateDailyComment(double cID, const QString &text)
{
    UpdateComment("tblDailyComments", cID, text);
}

void UpdateExpComment(double cID, const QString &text)
{
    UpdateComment("tblDailyExpComments", cID, text);
}

void DeleteDailyComment(double cID)
{
    DeleteComment("tblDailyComments", cID);
}

void DeleteExpComment(double cID)
{
    DeleteComment("tblDailyExpComments", cID);
}

} // namespace modDBchr
