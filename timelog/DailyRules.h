#pragma once
// The daily log window's rules, without widgets: when an entry conflicts with the running
// timer, when an entry may be sent and what a reply makes of its send state,
// and which grid rows a send takes.
#include "core/ServiceRequests.h"

#include <QDateTime>
#include <QString>
#include <cstdint>
#include <optional>

namespace dailyrules {

// The grid's columns.
enum Column : int {
    ColPicture = 0, ColID = 1, ColName = 2, ColStart = 4, ColSec = 5, ColDate = 6, ColTask = 7, ColCat = 8,
    ColChk = 9, ColComment = 10, ColProjID = 11, ColProjName = 12, ColTaskName = 13, ColStartText = 14,
    ColEndText = 15, ColChanged = 17, ColCount = 18
};

// Send states (cChk).
enum SendState : int16_t { NotSent = 0, Sent = 1, Resend = 2, Rejected = 3 };

// Whether an entry of the shown day from start to end (seconds after its midnight; an end past
// 24:00 lies on the next day) conflicts with the running timer: a timer runs and the entry
// reaches past the moment it started, on whatever day that was (the running segment becomes an
// entry from that moment on). An entry that ends exactly at the timer's start touches it and
// passes; an instant (start = end) conflicts from the timer's start on.
bool RecordingConflict(bool timerRunning, const QDateTime &timerStart, int32_t shownDay, double start, double end);

// Why an entry may not be sent now: std::nullopt when it may; else the status string (256) for
// an entry of a later day, or of today ending after the current minute.
std::optional<int16_t> SendRefusal(int32_t entryDay, double start, double sec, const QDateTime &now);

// The send state a reply code gives: 0 accepted, 5..99 rejected, anything else to resend
// (the one rule of every sender).
using modHttp::SendStateOf;
// The status string of a send state: 290 accepted, 291 otherwise.
int16_t SendStatusOf(int16_t state);

// What one grid row holds for the send rules.
struct RowFacts {
    QString id;       // column 1
    QString chk;      // column 9
    QString changed;  // column 17
};
// A day send takes a row that has an entry id, is not accepted yet and has no unsaved edits.
bool RowTakenByDaySend(const RowFacts &row);
// A single send takes any saved row without unsaved edits.
bool RowSendable(const RowFacts &row);

// A duration from the hours, minutes and seconds boxes (empty reads as 0); std::nullopt when a
// box holds something that is not a whole number of 0 or more.
std::optional<double> DurationOf(const QString &hours, const QString &minutes, const QString &seconds);

// A time of day typed as h:mm or h:mm:ss (0..23, 0..59, 0..59), in seconds; std::nullopt when
// the text is no such time.
std::optional<double> TimeOfDay(const QString &text);

// An id cell as a number; std::nullopt for an empty cell or one that is no whole number.
std::optional<double> IdOf(const QString &cell);

} // namespace dailyrules
