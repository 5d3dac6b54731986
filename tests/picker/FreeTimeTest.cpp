// Free time of a day: a table of working days and entries to the free stretches.
#include "timelog/FreeTime.h"

#include <string>

#include <gtest/gtest.h>

namespace {

using FreeTime::Entry;
using FreeTime::FreeGaps;
using FreeTime::Gap;

constexpr double H = 3600;
constexpr double M = 60;

std::string Text(const std::vector<Gap> &gaps)
{
    auto hms = [](double s) {
        const long v = long(s);
        char b[64];
        std::snprintf(b, sizeof b, "%02ld:%02ld:%02ld", v / 3600, (v / 60) % 60, v % 60);
        return std::string(b);
    };
    std::string out;
    for (const Gap &g : gaps)
        out += hms(g.start) + "-" + hms(g.end) + (g.before < 0 ? std::string(" end") : " <" + std::to_string(g.before)) + "; ";
    return out;
}

struct Case {
    const char *what;
    double dayStart, dayEnd;
    std::vector<Entry> entries;   // start, duration
    const char *gaps;             // start-end and the entry each comes before ("end": the tail)
};

} // namespace

TEST(FreeTime, GapsOfTheWorkingDay)
{
    const Case cases[] = {
        {"no entries", 9 * H, 17 * H, {}, "09:00:00-17:00:00 end; "},
        {"one entry inside", 9 * H, 17 * H, {{10 * H, H}}, "09:00:00-10:00:00 <0; 11:00:00-17:00:00 end; "},
        {"entries at both edges", 9 * H, 17 * H, {{9 * H, H}, {16 * H, H}}, "10:00:00-16:00:00 <1; "},
        {"touching entries", 9 * H, 17 * H, {{9 * H, H}, {10 * H, H}, {11 * H, 6 * H}}, ""},
        {"a gap of exactly two minutes is none", 9 * H, 17 * H, {{9 * H, H}, {10 * H + 120, 7 * H}}, ""},
        {"a gap of 121 seconds counts", 9 * H, 17 * H, {{9 * H, H}, {10 * H + 121, 7 * H}},
         "10:00:00-10:02:01 <1; "},
        {"first entry at 09:02:00", 9 * H, 17 * H, {{9 * H + 2 * M, 8 * H}}, ""},
        {"first entry at 09:02:01", 9 * H, 17 * H, {{9 * H + 121, 8 * H}}, "09:00:00-09:02:01 <0; "},
        {"an entry before the working day leaves no gap in front", 9 * H, 17 * H, {{8 * H, 2 * H}},
         "10:00:00-17:00:00 end; "},
        {"the tail has no minimum", 9 * H, 17 * H, {{9 * H, 8 * H - 1}}, "16:59:59-17:00:00 end; "},
        {"an entry past the end of the working day", 9 * H, 17 * H, {{16 * H, 2 * H}}, "09:00:00-16:00:00 <0; "},
        {"entries after the working day", 9 * H, 17 * H, {{18 * H, 30 * M}, {19 * H, 30 * M}},
         "09:00:00-18:00:00 <0; 18:30:00-19:00:00 <1; "},
        {"an earlier entry that ends last", 9 * H, 17 * H, {{9 * H, 5 * H}, {10 * H, H}},
         "14:00:00-17:00:00 end; "},
        {"an entry inside another", 9 * H, 17 * H, {{9 * H, 6 * H}, {10 * H, H}, {16 * H, H}},
         "15:00:00-16:00:00 <2; "},
        {"entries in any order", 9 * H, 17 * H, {{14 * H, H}, {10 * H, H}}, 
         "09:00:00-10:00:00 <1; 11:00:00-14:00:00 <0; 15:00:00-17:00:00 end; "},
        {"an entry across midnight", 9 * H, 17 * H, {{10 * H, H}, {23 * H, 2 * H}},
         "09:00:00-10:00:00 <0; 11:00:00-23:00:00 <1; "},
        {"a working day across midnight has no free time", 22 * H, 6 * H, {}, ""},
        {"nor with entries", 22 * H, 6 * H, {{23 * H, H}, {2 * H, H}}, ""},
        {"an empty working day", 9 * H, 9 * H, {}, ""},
        {"a negative duration takes no time", 9 * H, 17 * H, {{10 * H, -2 * H}, {12 * H, H}},
         "09:00:00-10:00:00 <0; 10:00:00-12:00:00 <1; 13:00:00-17:00:00 end; "},
    };
    for (const Case &c : cases) {
        const std::vector<Gap> gaps = FreeGaps(c.dayStart, c.dayEnd, c.entries);
        EXPECT_EQ(Text(gaps), c.gaps) << c.what;
        // No stretch runs backwards, overlaps another or covers part of an entry.
        for (size_t i = 0; i < gaps.size(); ++i) {
            EXPECT_LT(gaps[i].start, gaps[i].end) << c.what;
            if (i > 0) {
                EXPECT_LE(gaps[i - 1].end, gaps[i].start) << c.what;
            }
            for (const Entry &e : c.entries) {
                const double end = e.start + std::max(0.0, e.duration);
                EXPECT_TRUE(gaps[i].end <= e.start || gaps[i].start >= end) << c.what;
            }
        }
    }
}

TEST(FreeTime, RowsInStartOrder)
{
    const std::optional<double> none;
    const struct {
        const char *what;
        std::vector<std::optional<double>> starts;
        std::vector<int> order;
    } cases[] = {
        {"already in order", {1, 2, 3}, {0, 1, 2}},
        {"an edited row moved earlier", {8.5 * H, 13 * H, 11.5 * H}, {0, 2, 1}},
        {"equal starts keep their order", {5, 3, 5, 3}, {1, 3, 0, 2}},
        {"a row without a start follows the one before it", {10, none, 5}, {2, 0, 1}},
        {"nothing", {}, {}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(FreeTime::StartOrder(c.starts), c.order) << c.what;
}
