#pragma once
// The rules of the daily log's entry editor, without widgets: when a new start or end falls
// inside another entry of the day, the duration between the start and end texts, the digits
// the duration pictures show, the edited mark, the row under the mouse and its status tip.
#include <QString>
#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

namespace editorrules {

// One grid row as the overlap checks see it.
struct RowTimes {
    QString task;       // column 7: empty for free-time and new rows, which never conflict
    QString startText;  // column 14
    QString endText;    // column 15
};

// The first row, other than the open one, in which the time lies: a start conflicts when
// start_i <= t < end_i, an end when start_i < t <= end_i; so a start may meet another entry's
// end and an end another entry's start. -1 when the time is free. A row whose end text is
// earlier than its start runs past midnight: its end is taken on the next day. Rows whose
// times cannot be read are passed over.
// outside holds the spans (start, end in seconds after the shown day's midnight) of entries
// stored on other days that reach into the shown day or lie on the next one: a time inside one
// of them conflicts as well, and gives rows.size() plus its index. A time past 24:00 (an end on
// the next day) meets the next day's entries.
int ConflictingRow(const std::vector<RowTimes> &rows, int openRow, double t, bool isEnd,
                   const std::vector<std::pair<double, double>> &outside = {});

// Whether the end of a row lies on the day after its start: its start (column 4) plus its
// duration (column 5) reaches midnight. Cells that are no numbers say no.
bool EndOnNextDay(const QString &startSecs, const QString &durationSecs);

// The seconds from the start text to the end text, both times of day of the shown day; when
// the end lies on the next day (see EndOnNextDay) an end earlier than the start counts from
// the next midnight. Negative when the end is earlier than the start otherwise; std::nullopt
// when either text is no time of day.
std::optional<double> SpanSeconds(const QString &startText, const QString &endText, bool endOnNextDay);

// The seconds from the start text to the end text of a row whose start and duration cells
// (columns 4 and 5) are startSecs and durationSecs, empty for a row not saved yet: the end lies
// as many whole days after the start as the duration holds, and on the next day besides when
// the row passes midnight (EndOnNextDay) and the end text is earlier than the start text.
// std::nullopt when either text is no time of day.
std::optional<double> RowSpanSeconds(const QString &startText, const QString &endText, const QString &startSecs,
                                     const QString &durationSecs);

// The two digits one duration box shows as pictures: a one-character text shows 0 and that
// character, any other text its first and its last character. -1 for a character that is no
// digit (its picture stays as it was).
std::pair<int, int> DurationDigits(const QString &boxText);

// The edited mark of a row after an edit: "True" (can be saved) once it has a task's project,
// else "False".
QString ChangedMark(const QString &projectId);

// The row under the mouse: y (twips from the top of the cells) over the height of a row, from
// the top row shown. -1 below the last row or when there is no row height.
int RowAt(double y, int rowHeight, int topRow, int rows);

// The status-line text of a row's state: 250 a free-time or new row (no state, no id), 249
// not sent, 251 accepted, 252 to resend, 253 rejected; 0 for a state outside these (the status
// line stays as it is).
int16_t RowTipOf(const QString &chk, const QString &id);

} // namespace editorrules
