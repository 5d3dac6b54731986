#pragma once
// The day calendar's look-up (namespace modDBchr).
#include <cstdint>

namespace modDBchr {

// Which editor's rows the calendar counts for a day.
enum class DayEntries {
    TimeLog,    // the recorded time-log entries of tblDaily (timers left parked there do not count)
    Expenses    // the expenses of tblDailyExp
};

// True when the current user has rows of that kind on the day (a day key yyyymmdd); false
// when there are none and when the database cannot answer.
bool DayHasEntries(int32_t dayKey, DayEntries which);

} // namespace modDBchr
