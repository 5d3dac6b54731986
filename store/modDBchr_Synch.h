#pragma once
// The bulk upload's statements (namespace modDBchr): the current user's time-log entries and
// expenses that the service has not accepted yet over a range of days, and the send state of
// one expense. (The send state of a time-log entry is SetDailySendState.)
//
// Every procedure binds its values as parameters and returns 0 or the engine's error number,
// with LastSynchError() describing it; nothing is shown to the person.
#include "core/ServiceRequests.h"
#include "store/modDBchr_Daily.h"

#include <QString>
#include <cstdint>
#include <vector>

namespace modDBchr {

// The days a bulk upload takes: every day, or the day keys from..to, both included.
struct DayRange {
    bool all = true;
    int32_t from = 0;
    int32_t to = 0;
};

// One stored expense as the bulk upload sends it.
struct UnsentExpense {
    double cID = 0;
    double cExpID = 0;      // expense category
    QString cAmount;        // as stored, in the locale's number format
    int32_t cDate = 0;      // day key yyyymmdd
    double cTime = 0;       // seconds after midnight
    double cTaskID = 0;
    double projID = 0;      // the project of the task (not the row's own cProjID); 0 when unknown
    QString cPayee;
    QString cCode;          // "" when the expense has none
    int16_t cChk = 0;       // 0 not sent, 2 to resend, 3 rejected
    QString comment;        // the expense's own comment; "" when it has none
};

// The current user's recorded time-log entries (cStarted 0: never the timers window's running
// or parked rows) of the range whose send state is not 1, by day, start and id, each with its
// comment and the project of its task.
int32_t LoadUnsentDaily(const DayRange &range, std::vector<DailyEntry> &out);
// The current user's expenses of the range whose send state is not 1, by day and id, each with
// its own comment and the project of its task.
int32_t LoadUnsentExpenses(const DayRange &range, std::vector<UnsentExpense> &out);
// Writes the send state of one of the current user's expenses.
int32_t SetExpenseSendState(double cID, int16_t state);

// What the service is sent of a stored entry or expense.
modHttp::AddTimeValues UploadValuesOf(const DailyEntry &entry);
modHttp::AddExpenseValues UploadValuesOf(const UnsentExpense &expense);

// The description of the last failure of the procedures above ("" after a success).
QString LastSynchError();

} // namespace modDBchr
