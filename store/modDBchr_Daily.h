#pragma once
// The daily time log's statements (namespace modDBchr): one day's recorded entries, the days
// that have some, and writing, deleting and marking one entry with its comment.
//
// Only recorded entries (cStarted 0) are read or written here: the timers window keeps its
// running and parked timers in tblDaily as well (cStarted 1 and 2), and those rows belong to it.
// Every procedure works on the current user's rows and returns 0 or the engine's error number
// (with LastDailyError() describing it); nothing is shown to the person.
#include "core/modMain_Helpers.h"

#include <QString>
#include <cstdint>
#include <vector>

namespace forms { class ComboBox; }

namespace modDBchr {

// One tblDaily row with its comment and the project of its task.
struct DailyEntry {
    double cID = 0;
    QString cName;
    double cStarttime = 0;   // seconds after midnight
    double cSec = 0;         // duration in seconds
    int32_t cDate = 0;       // day key yyyymmdd
    double cTaskID = 0;
    double cCatID = 0;
    int16_t cChk = 0;        // send state: 0 not sent, 1 accepted, 2 to resend, 3 rejected
    QString comment;         // "" when the entry has none
    double projID = 0;       // the project of the task, 0 when the task is unknown
};

// What a save writes of an entry; the day, the timer mark and the send state are not part of it.
struct DailyValues {
    QString name;
    double start = 0;
    double sec = 0;
    double taskID = 0;
    double catID = 0;
    QString comment;
};

// The error number reported when an update finds no row it may change: the entry is gone, or
// the service has already accepted it (an accepted entry is never changed here).
inline constexpr int32_t ErrEntryLocked = 3197;

// The error number of an entry that is not there (no current record).
inline constexpr int32_t ErrNoEntry = 3021;

// The description of the last failure of these procedures ("" after a success).
QString LastDailyError();

// The day's recorded entries in order of start (ties by id), each with its comment and project.
int32_t LoadDailyEntries(int32_t dayKey, std::vector<DailyEntry> &out);
// One recorded entry by id; ErrNoCurrentRecord (3021) when there is none.
int32_t GetDailyEntry(double cID, DailyEntry &out);

// Empties the list and adds one item per day that has recorded entries, in day order: text the
// date (ShortDateText), item data the day key.
int32_t FillRecordedDatesCombo(forms::ComboBox *list);

// Inserts a new entry of the day (cStarted 0, cChk 0) with the next free id and its comment
// when there is one. On success *newId is the id. The entry and its comment are written
// together or not at all: a failed save leaves nothing behind.
int32_t AddDailyEntry(int32_t dayKey, const DailyValues &values, double *newId);
// Changes name, start, duration, task, category and comment of an entry not yet accepted by
// the service, all of it or (on a failure) nothing; ErrEntryLocked when there is no such entry.
int32_t UpdateDailyEntry(double cID, const DailyValues &values);
// Deletes an entry and its comment, both or neither.
int32_t DeleteDailyEntry(double cID);
// Writes an entry's send state.
int32_t SetDailySendState(double cID, int16_t state);

// The spans of the current user's recorded entries that reach into the day or the next day,
// in seconds after midnight of the day (modMain::TimeSpan), leaving out the entry ownId (-1 for
// none): the day's and the next day's entries, and every entry of an earlier day that runs
// past that day's midnight into them (a timer segment is stored on its start day with its
// whole length). In order of day and start.
int32_t EntrySpansAround(int32_t dayKey, double ownId, std::vector<modMain::TimeSpan> &out);

// The overlap check of a span of the day (modMain::CheckTimeOverlap, which tells the person)
// against the entries EntrySpansAround gives: an end past 24:00 meets the next day's entries,
// a start the earlier entries that reach into the day. A database failure is thrown
// (dao::DaoError).
int16_t CheckTimeOverlap(int32_t dayKey, double start, double end, double ownId);

} // namespace modDBchr
