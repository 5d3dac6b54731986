#pragma once
// The timers window's rows of tblDaily: the time-log entries its segments become, and the
// parked records that carry its loaded timers from one run to the next (cStarted 1 for the
// running timer, 2 for the others). The parked records stand in the database for as long as
// the timers are loaded, so that a run that ends in any way (a crash included) leaves them for
// the next start. They are no entries: every reader of entries leaves them out
// (EntriesOnly below).
#include <QString>
#include <cstdint>
#include <optional>
#include <vector>

namespace modDBchr {

// The condition that keeps a statement on tblDaily to time-log entries: parked timers
// (cStarted 1 or 2) are not entries. Put it after WHERE ... AND.
inline const QString EntriesOnly = QStringLiteral("IFNULL(cStarted, 0) NOT IN (1, 2)");

// One tblDaily row as the timers window writes and reads it.
struct TimerRecord {
    double id = 0;                    // cID (read back; a write draws a new one)
    QString name;                     // cName
    int16_t started = 0;              // cStarted: 0 an entry, 1 parked running, 2 parked stopped
    double startSecs = 0;             // cStarttime: seconds after midnight of day
    double secs = 0;                  // cSec
    int32_t day = 0;                  // cDate: the day key the segment started on
    std::optional<double> task;       // cTaskID; an entry without one stores 0
    std::optional<double> category;   // cCatID; only a parked timer may have none
    // A parked stopped timer whose last segment has not been recorded yet: it comes back
    // with that segment, to be saved or dropped then (kept in cChk as 1; 0 otherwise).
    bool heldSegment = false;
    QString comment;                  // its row in tblDailyComments ("" none)
};

// Writes one segment as a time-log entry (cStarted 0, cChk 0) of the current user, with its
// comment, under the next free id, which comes back in newId. The entry and its comment are
// written together or not at all. Returns 0, or the engine's error number (nothing written;
// *description gets the engine's message when given). A record without a category is refused
// with 3314 (Null in a required field).
int32_t AddTimerEntry(const TimerRecord &entry, double &newId, QString *description = nullptr);

// Puts these records in place of every parked timer of the current user, in this order, with
// their comments, in one transaction. Returns 0, or the engine's error number (the parked
// timers stay as they were; *description gets the engine's message when given).
int32_t ReplaceParkedTimers(const std::vector<TimerRecord> &timers, QString *description = nullptr);

// The parked timers of the current user in the order they were written, with their comments.
// Returns 0, or the engine's error number (out then holds what was read).
int32_t ReadParkedTimers(std::vector<TimerRecord> &out, QString *description = nullptr);

} // namespace modDBchr
