#pragma once
// The bulk upload's statements (namespace modDBchr): the current user's time-log entries and
// expenses that the service has not accepted yet over a range of days. (The send states are
// written as the single uploads write them: SetDailySendState and SetExpenseState.)
//
// Every procedure binds its values as parameters and returns 0 or the engine's error number,
// with LastSynchError() describing it; nothing is shown to the person.
#include "core/ServiceRequests.h"
#include "store/modDBchr_Daily.h"
#include "store/modDBchr_Exp.h"

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

// One stored expense as the bulk upload sends it: the row as the editor reads it (its send
// state 0 not sent, 2 to resend or 3 rejected; its own comment), and the project it goes to.
struct UnsentExpense : ExpenseEntry {
    double projID = 0;      // the project of the task (not the row's own cProjID); 0 when unknown
};

// The current user's recorded time-log entries (cStarted 0: never the timers window's running
// or parked rows) of the range whose send state is not 1, by day, start and id, each with its
// comment and the project of its task.
int32_t LoadUnsentDaily(const DayRange &range, std::vector<DailyEntry> &out);
// The current user's expenses of the range whose send state is not 1, by day and id, each with
// its own comment and the project of its task.
int32_t LoadUnsentExpenses(const DayRange &range, std::vector<UnsentExpense> &out);

// What the service is sent of a stored entry or expense.
modHttp::AddTimeValues UploadValuesOf(const DailyEntry &entry);
modHttp::AddExpenseValues UploadValuesOf(const UnsentExpense &expense);

// The description of the last failure of the procedures above ("" after a success).
QString LastSynchError();

} // namespace modDBchr
