#pragma once
// The synchronisation window's rules, without widgets: the From/To pairs of days, which rows a
// bulk upload takes, and what one reply makes of a row and of the rest of its kind.
#include "store/modDBchr.h"

#include <QDateTime>
#include <QString>
#include <cstdint>
#include <vector>

namespace synchrules {

// ---- the date lists: item 0 is "<ALL>", every other item a day (item data its day key) -------

// The partner list's index after the person picked pickedIndex in one list of a pair: "<ALL>"
// (0) in one list puts the other on "<ALL>" as well; a day picked while the partner shows
// "<ALL>" puts the partner on the same item; otherwise the partner stays (the days are not
// ordered here). A negative index (nothing picked) changes nothing.
int PartnerIndex(int pickedIndex, int partnerIndex);

// One pair's choice: fromIndex the From list's index with the day keys of both selections.
struct PairChoice {
    int fromIndex = 0;
    int32_t fromKey = 0;
    int32_t toKey = 0;
};

// A pair is wrong when it names days and its To day lies before its From day.
bool PairWrong(const PairChoice &pair);
// The check before sending: true ("stop") when the time-log pair is wrong, or else the
// expense pair; a pair whose kind is skipped is not looked at (its range does not matter).
bool DatesWrong(const PairChoice &time, bool skipTime, const PairChoice &exp, bool skipExp);

// The days a pair chooses.
modDBchr::DayRange RangeOf(const PairChoice &pair);

// ---- what a bulk upload sends ----------------------------------------------------------------

// The entries a bulk upload takes from those not yet accepted: only those that have ended by
// now (none of a later day, none of today ending after the current minute).
std::vector<modDBchr::DailyEntry> FinishedEntries(std::vector<modDBchr::DailyEntry> entries, const QDateTime &now);

// What one reply makes of the row that was sent and of its kind's other rows.
struct ReplyOutcome {
    bool writeState = false;   // write state into the row
    int16_t state = 0;
    bool stopKind = false;     // send nothing more of this kind
};
// Code 0 accepts the row (1); 5..99 reject it (3); a negative code leaves it to resend (2).
// Codes 1..4 concern the account or the request as a whole: the kind stops and the row keeps
// its state. No reply, a time-out or a web page (100 and above): the kind stops after this one
// attempt and the row is left to resend (2), since it is not known whether the service took it.
ReplyOutcome OutcomeOf(int16_t replyCode);

} // namespace synchrules
