#pragma once
// Shared window and query helpers of the main module (namespace modMain).
#include <QString>
#include <chrono>
#include <cstdint>
#include <vector>

class QDate;
class QWidget;

namespace forms {
class ComboBox;
class Node;
class TreeView;
} // namespace forms

namespace modMain {

// ---- windows ----------------------------------------------------------------------------

// A window's rectangle on the screen in pixels; Right and Bottom lie just past the window.
struct WindowRect {
    int32_t Left = 0;
    int32_t Top = 0;
    int32_t Right = 0;
    int32_t Bottom = 0;
};
// Filled by GetFormRect; the help window places itself beside the main window with it.
extern WindowRect FormRect;

// Stores the window's outer rectangle on the screen (its frame included) in FormRect. A
// control inside a window gives its own rectangle in screen pixels.
void GetFormRect(QWidget *window);

// Places a window as the desktop's window-position call does. insertAfter: -1 top-most, -2 no
// longer top-most, 0 to the front, 1 to the back. x, y, width and height are screen pixels of
// the outer window. flags: 0x1 keep the size, 0x2 keep the place, 0x4 keep the stacking
// (insertAfter is ignored), 0x10 do not activate, 0x40 show, 0x80 hide.
void SetFormPos(QWidget *window, int32_t insertAfter, int32_t x, int32_t y, int32_t width,
                int32_t height, int32_t flags);

// Fading windows: Qt's window opacity serves for layered windows. MakeLayered prepares a
// window for it, SetAlpha sets its opacity (0 transparent .. 255 opaque).
void MakeLayered(QWidget *window);
void SetAlpha(QWidget *window, uint8_t alpha);

// The help page of a window: program folder + "/hlp_" + the window's name + ".htm". The
// language is not used: the help window picks the page of the current language itself.
QString HelpPagePath(const QWidget *window, int16_t langID = 0);

// Opens a file or an address with the desktop's handler; a relative file name is taken from
// the program folder. The outcome is not reported.
void ShellOpen(QWidget *owner, const QString &fileOrAddress);

// Returns once more than secs whole-second ticks of the clock have passed since the call
// (between secs and secs + 1 seconds), without letting the event loop run: what was painted
// stays as it is. TARV_NO_PAUSES=1 in the environment makes it return at once; TARV_PAUSE_MS=n
// makes each second of a pause last n milliseconds (tests that need the pauses, only shorter).
void WaitSecs(double secs);
// The moment a pause of secs that starts now ends, by the rules of WaitSecs.
std::chrono::steady_clock::time_point PauseEnd(double secs);

// ---- dates in lists ---------------------------------------------------------------------

// A date as the day lists and the day captions show it: the locale's short date form, with
// the year always written with four digits. ShortDateToDate reads such a text back (an
// invalid date when it cannot).
QString ShortDateText(const QDate &date);
QDate ShortDateToDate(const QString &text);

// ---- trees and lists --------------------------------------------------------------------

// 2 for a node that has a grandparent (a category under a task under a project), 1 for a node
// with a parent only, 0 for a root node (and for no node).
int16_t NodeLevel(const forms::Node *node);

// Finds the first node (in the order the nodes were added) whose tag is parentTag and that has
// a child whose tag is childTag (a project may carry the same id as a task); scrolls the parent
// into view, expands and selects that child and shows the tree. When there is no such pair
// nothing changes.
void SelectNodeByTag(forms::TreeView *tree, const QString &parentTag, const QString &childTag);

// Appends the date of the day key (ShortDateText) with the key as its item data; returns the
// new item's index. It does not look for an item that is already there.
int16_t AddDateItem(int32_t dayKey, forms::ComboBox *combo);

// The index of the first item whose text equals the trimmed text (case counts), or whose item
// data equals value; -1 when there is none.
int16_t FindComboText(const QString &text, const forms::ComboBox *combo);
int16_t FindComboData(int32_t value, const forms::ComboBox *combo);

// ---- queries on the open database --------------------------------------------------------

// True when the table (tblDaily or tblDailyExp) holds a row of the current user on that day;
// false also when the database cannot answer.
bool DayHasRecords(int32_t dayKey, const QString &table);

// True when at least one project of the current user allows expenses (cExp not -1); false
// also when the database cannot answer.
bool CountExpenseProjects();

// The span of a recorded entry in seconds after midnight of the day a check is about: an entry
// of an earlier day that ran past midnight starts below 0, one of the next day at 86400 or
// later. day is the day key the entry is stored on.
struct TimeSpan {
    double start = 0;
    double end = 0;
    int32_t day = 0;
};

// Checks the span start..end (seconds after midnight of the day asked about; an end past 24:00
// lies on the next day) against the other entries' spans. Returns -1 when there is no other
// entry, 0 when nothing overlaps, else the rule that matched first, the entries taken in start
// order, after telling the person: 1 the start lies inside an entry (string 1003, critical
// icon), 2 the end does (1004), 3 the span covers an entry (1005), 4 the span lies inside one
// (1006). Spans that only touch at an end do not overlap; an instant (start = end) overlaps
// only an entry it lies inside, from its start up to, not including, its end (rule 1). The
// entries of a day come from the store (modDBchr::CheckTimeOverlap reads them).
int16_t CheckTimeOverlap(double start, double end, std::vector<TimeSpan> others);

} // namespace modMain
