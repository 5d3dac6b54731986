#pragma once
// What the rest of the program knows of the live timers: the running timer's description
// (RecArr), the states a timer row can be in, the marks the timer rows leave in tblDaily's
// cStarted, and the clock the timers read. TimerRunning itself is in core/modMain.h.
#include <QDateTime>
#include <QString>
#include <array>
#include <functional>

namespace modMain {

// The running timer as the other windows see it, filled by frmStart::LoadRecArr from the row
// at its start: 0 the start as a date-and-time text, 1 the timer name, 2 the task name,
// 3 the project name.
using RecArrType = std::array<QString, 4>;
extern RecArrType RecArr;
// The same start as a date-time value (invalid while no timer has started), so that no one
// reads it back from the text of element 0.
extern QDateTime RecStart;

// Column 3 of a timer row ("0", "1", "2"; empty on a quick-record row before its start).
enum TimerState : int { Stopped = 0, Running = 1, Parked = 2 };

// cStarted of tblDaily: an ordinary entry, or a timer parked at exit.
enum TimerParkState : int { Recorded = 0, ParkedRunning = 1, ParkedStopped = 2 };

// The clock of the timers (start, elapsed time, the day a segment is saved on). It is the
// system clock unless a test sets another; an empty function gives the system clock back.
QDateTime TimerNow();
void SetTimerClock(std::function<QDateTime()> clock);

// A date and time as the timers window writes it: the locale's short date and the time of day
// with seconds ("12/10/26 09:05:07").
QString GeneralDateText(const QDateTime &value);

} // namespace modMain
