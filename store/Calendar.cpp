// The day calendar's look-up: whether a day already has entries of the current user.
#include "store/modDBchr.h"

#include "core/modMain.h"
#include "platform/dao/dao.h"
#include "store/StoreUtil.h"

namespace modDBchr {

bool DayHasEntries(int32_t dayKey, DayEntries which)
{
    // Timers parked at the end of a run sit in tblDaily with cStarted 1 or 2; they are not
    // entries of the day's log.
    static const QString timeLog =
        QStringLiteral("SELECT cID FROM tblDaily WHERE cUsrID = ? AND cDate = ? AND cStarted = 0");
    static const QString expenses = QStringLiteral("SELECT cID FROM tblDailyExp WHERE cUsrID = ? AND cDate = ?");
    std::unique_ptr<dao::Recordset> rs;
    detail::CloseOnExit guard{rs};
    try {
        rs = detail::OpenDatabase().OpenRecordset(which == DayEntries::TimeLog ? timeLog : expenses,
                                                  dao::dbOpenSnapshot, {modMain::CurrentUserID, double(dayKey)});
        return rs->RecordCount() != 0;
    } catch (...) {
        return false;
    }
}

} // namespace modDBchr
