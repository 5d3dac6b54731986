#pragma once
// The free time of a day: the stretches of the working day that no entry covers, as the daily
// log shows them between its entries. Times are seconds after midnight of the shown day; an
// entry that runs past midnight simply ends after 86400.
#include <optional>
#include <vector>

namespace FreeTime {

// A stretch between two entries counts only when it is longer than this (seconds); the
// stretch up to the end of the working day counts however short it is.
constexpr double kMinGap = 120;

struct Entry {
    double start = 0;      // seconds after midnight
    double duration = 0;   // seconds; a negative duration counts as none
};

struct Gap {
    double start = 0;
    double end = 0;
    // The index (in the entries given) of the entry this stretch comes right before; -1 for
    // the stretch at the end of the day.
    int before = -1;
};

// The free stretches of the working day dayStart..dayEnd among the day's entries, in time
// order. Without entries the whole working day is free. The stretch in front of the first
// entry starts at dayStart (none when that entry begins earlier), the one after the latest
// end of any entry ends at dayEnd (none when an entry reaches it); stretches between two
// entries are shown wherever they lie, also outside the working hours. A stretch never
// overlaps an entry or another stretch and never runs backwards. A working day whose end is
// not after its start has no free time. The entries may come in any order.
std::vector<Gap> FreeGaps(double dayStart, double dayEnd, const std::vector<Entry> &entries);

// The order that puts a day's rows in order of start: for each place, the index of the row
// that goes there. Rows with the same start keep their order; a row whose start is not known
// (std::nullopt) stays behind the row it followed.
std::vector<int> StartOrder(const std::vector<std::optional<double>> &starts);

} // namespace FreeTime
