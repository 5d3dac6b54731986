#include "timelog/FreeTime.h"

#include <algorithm>
#include <numeric>

namespace FreeTime {

std::vector<Gap> FreeGaps(double dayStart, double dayEnd, const std::vector<Entry> &entries)
{
    std::vector<Gap> gaps;
    if (!(dayEnd > dayStart))
        return gaps;
    if (entries.empty()) {
        gaps.push_back({dayStart, dayEnd, -1});
        return gaps;
    }

    // Walk the entries by start; ties keep the order given.
    std::vector<int> order(entries.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(),
                     [&](int a, int b) { return entries[size_t(a)].start < entries[size_t(b)].start; });

    // The end of the busy time so far: everything before it is covered by some entry (or lies
    // before the working day, in front of the first entry).
    const double firstStart = entries[size_t(order.front())].start;
    double busyEnd = std::min(dayStart, firstStart);
    for (int i : order) {
        const Entry &e = entries[size_t(i)];
        const double end = e.start + std::max(0.0, e.duration);
        if (e.start - busyEnd > kMinGap)
            gaps.push_back({busyEnd, e.start, i});
        busyEnd = std::max(busyEnd, end);
    }
    // The tail starts where the last busy stretch ends, which need not be the end of the entry
    // that starts last.
    if (busyEnd < dayEnd)
        gaps.push_back({busyEnd, dayEnd, -1});
    return gaps;
}

std::vector<int> StartOrder(const std::vector<std::optional<double>> &starts)
{
    // A row without a start takes the start of the row before it (or the earliest of all).
    std::vector<double> key(starts.size());
    double last = -1e300;
    for (size_t i = 0; i < starts.size(); ++i) {
        if (starts[i])
            last = *starts[i];
        key[i] = last;
    }
    std::vector<int> order(starts.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return key[size_t(a)] < key[size_t(b)]; });
    return order;
}

} // namespace FreeTime
