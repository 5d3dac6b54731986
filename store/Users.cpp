// The profile rows of tblUsers: look-up by logon name, load into the run's profile, creation.
#include "store/modDBchr.h"

#include "core/modMain.h"
#include "platform/dao/dao.h"
#include "store/StoreUtil.h"

#include <cmath>

using namespace modMain;

namespace modDBchr {

namespace {

using detail::CloseQuietly;

int16_t ToInt16(const QVariant &v)
{
    bool ok = false;
    const double d = v.toString().trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(d) || d < -32768.0 || d > 32767.0)
        throw dao::DaoError(dao::ErrTypeConversion, QStringLiteral("Type mismatch"));
    return static_cast<int16_t>(std::lround(d));
}

double ToDouble(const QVariant &v)
{
    bool ok = false;
    const double d = v.toString().trimmed().toDouble(&ok);
    if (!ok)
        throw dao::DaoError(dao::ErrTypeConversion, QStringLiteral("Type mismatch"));
    return d;
}

} // namespace

int16_t GetUserID(const QString &logonName)
{
    int16_t result = -1;
    std::unique_ptr<dao::Recordset> rs;
    try {
        if (!DB)
            return result;
        rs = DB->OpenRecordset(QStringLiteral("SELECT cUsrID FROM tblUsers WHERE cPCUserName = ?"),
                               dao::dbOpenDefault, {logonName});
        if (rs->RecordCount() != 0) {
            rs->MoveFirst();
            result = ToInt16(rs->Value(0));
        }
    } catch (...) {
    }
    CloseQuietly(rs);
    return result;
}

int16_t LoadUserSettings(const QString &logonName)
{
    int16_t result = -1;
    std::unique_ptr<dao::Recordset> rs;
    try {
        if (!DB)
            return result;
        rs = DB->OpenRecordset(QStringLiteral("SELECT * FROM tblUsers WHERE cPCUserName = ?"),
                               dao::dbOpenDefault, {logonName});
        if (rs->RecordCount() != 0) {
            rs->MoveFirst();
            CurrentUserID = ToInt16(rs->Value(0));
            PCUserName = rs->Value(1).toString();
            StoredUserName = rs->Value(2).toString();
            StoredPassword = rs->Value(3).toString();
            UserFullName = rs->Value(4).toString();
            LangID = ToInt16(rs->Value(5));
            WorkDayStart = ToDouble(rs->Value(6));
            WorkDayEnd = ToDouble(rs->Value(7));
            AutoStart = ToInt16(rs->Value(8));
            AutoSynch = ToInt16(rs->Value(9));
            AutoCheck = ToInt16(rs->Value(10));
            ShowBalloons = ToInt16(rs->Value(11));
            HotKeyCode = ToInt16(rs->Value(12));
            HotKeyMask = ToInt16(rs->Value(13));
            TimeOut = ToInt16(rs->Value(14));
            result = ToInt16(rs->Value(0));
        }
    } catch (...) {
    }
    CloseQuietly(rs);
    return result;
}

int16_t CreateUser()
{
    int16_t result = -1;
    std::unique_ptr<dao::Recordset> rs;
    try {
        if (!DB)
            return result;
        const double next = std::round(GetLastID(QStringLiteral("tblUsers"), QStringLiteral("cUsrID"))) + 1.0;
        // Ids are 16-bit: past the last one no profile can be made.
        if (next > 32767.0)
            return result;
        const int16_t newId = static_cast<int16_t>(next);
        DB->Execute(QStringLiteral(
                        "INSERT INTO tblUsers (cUsrID, cPCUserName, cUserName, "
                        "cPassw, cFullName, cLangID, cTimeStart, cTimeEnd, cAutoStart, "
                        "cAutoSynch, cAutoCheck, cBalloons, cKey, cMask, cTimeOut) "
                        "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
                    dao::dbFailOnError,
                    {int(newId), PCUserName, detail::NullIfEmpty(StoredUserName),
                     detail::NullIfEmpty(StoredPassword), detail::NameValue(UserFullName, 60), int(LangID),
                     WorkDayStart, WorkDayEnd, int(AutoStart), int(AutoSynch), int(AutoCheck),
                     int(ShowBalloons), QString::number(HotKeyCode), QString::number(HotKeyMask),
                     int(TimeOut)});
        rs = DB->OpenRecordset(QStringLiteral("Select *  from tblUsers where cUsrID = ") +
                               QString::number(newId));
        if (rs->RecordCount() != 0)
            result = newId;
        SetStartupShortcut(true);
    } catch (...) {
    }
    CloseQuietly(rs);
    return result;
}

int16_t CountCategs()
{
    int16_t result = 0;
    std::unique_ptr<dao::Recordset> rs;
    try {
        if (!DB)
            return result;
        rs = DB->OpenRecordset(QStringLiteral("SELECT cCatID FROM tblCategs WHERE cUsrID = ") +
                               QString::number(CurrentUserID));
        rs->MoveLast();
        result = static_cast<int16_t>(rs->RecordCount());
    } catch (...) {
    }
    CloseQuietly(rs);
    return result;
}

double GetLastID(QString table, QString column)
{
    if (table.isEmpty())
        table = QStringLiteral("tblDaily");
    if (column.isEmpty())
        column = QStringLiteral("cID");
    double result = 0;
    std::unique_ptr<dao::Recordset> rs;
    try {
        if (!DB)
            return 0;
        rs = DB->OpenRecordset(QStringLiteral("SELECT ") + column + QStringLiteral(" FROM ") + table +
                               QStringLiteral(" ORDER BY ") + column);
        rs->MoveLast();
        result = rs->Value(0).toDouble();
    } catch (...) {
        result = 0;
    }
    CloseQuietly(rs);
    return result;
}

} // namespace modDBchr
