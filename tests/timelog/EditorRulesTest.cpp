// The entry editor's rules without the window: a start or end inside another entry, the
// duration between two time texts (also for an entry that runs past midnight), the digits of
// the duration pictures, the row under the mouse and its status tip.
#include "timelog/EditorRules.h"

#include <gtest/gtest.h>

using namespace editorrules;

namespace {

constexpr double H = 3600;

TEST(EditorRules, AStartOrEndInsideAnotherEntryConflicts)
{
    const std::vector<RowTimes> rows = {
        {"10", "09:00:00", "10:00:00"},   // 0: the entry the cases are about
        {"", "10:00:00", "12:00:00"},     // 1: free time never conflicts
        {"10", "12:00", "13:00"},         // 2: times as the picker writes them
        {"10", "bad", "13:00"},           // 3: unreadable: passed over
        {"10", "20:00:00", "21:00:00"},   // 4: the open row in these cases
    };
    struct Case {
        double t;
        bool isEnd;
        int expected;
    } cases[] = {
        {10 * H, false, -1},     // a start may meet another entry's end
        {9 * H, false, 0},       // not another start
        {9.5 * H, false, 0},     // nor lie inside
        {9 * H, true, -1},       // an end may meet another entry's start
        {10 * H, true, 0},       // not another end
        {9.5 * H, true, 0},
        {11 * H, false, -1},     // inside free time only
        {12.5 * H, true, 2},
        {20.5 * H, false, -1},   // inside the open row itself
        {20.5 * H, true, -1},
    };
    for (const Case &c : cases)
        EXPECT_EQ(ConflictingRow(rows, 4, c.t, c.isEnd), c.expected) << c.t << (c.isEnd ? " end" : " start");
}

TEST(EditorRules, TheFirstConflictCountsAndAnEntryPastMidnightEndsNextDay)
{
    const std::vector<RowTimes> overlapping = {
        {"10", "08:00:00", "09:00:00"},
        {"10", "08:30:00", "10:00:00"},
        {"10", "08:45:00", "09:30:00"},
    };
    EXPECT_EQ(ConflictingRow(overlapping, -1, 8.75 * H, false), 0);
    EXPECT_EQ(ConflictingRow(overlapping, 0, 8.75 * H, false), 1);

    const std::vector<RowTimes> late = {{"10", "23:00:00", "01:00:00"}};
    EXPECT_EQ(ConflictingRow(late, -1, 23.5 * H, false), 0);
    EXPECT_EQ(ConflictingRow(late, -1, 0.5 * H, false), -1) << "the shown day's early morning is free";
    EXPECT_EQ(ConflictingRow(late, -1, 22 * H, true), -1);
}

TEST(EditorRules, TheDurationRunsFromStartToEnd)
{
    struct Case {
        const char *start, *end;
        bool nextDay;
        std::optional<double> expected;
    } cases[] = {
        {"09:00:00", "10:00:00", false, 3600},
        {"09:00", "10:30:15", false, 5415},
        {"09:00", "09:00", false, 0},
        {"10:00", "09:00", false, -3600},     // a start moved past the end
        {"23:00:00", "01:00:00", true, 7200}, // an entry past midnight
        {"23:00:00", "00:00:00", true, 3600},
        {"23:00", "23:40", true, 2400},       // its end moved back before midnight
        {"09:00", "", false, std::nullopt},
        {"9 o'clock", "10:00", false, std::nullopt},
        {"09:00", "24:00", false, std::nullopt},
    };
    for (const Case &c : cases)
        EXPECT_EQ(SpanSeconds(QLatin1String(c.start), QLatin1String(c.end), c.nextDay), c.expected)
            << c.start << " " << c.end;

    EXPECT_TRUE(EndOnNextDay("82800", "7200"));
    EXPECT_TRUE(EndOnNextDay("82800", "3600")) << "ends at midnight";
    EXPECT_FALSE(EndOnNextDay("82800", "3599"));
    EXPECT_FALSE(EndOnNextDay("90000", "-3600")) << "a start moved past the end is no next day";
    EXPECT_FALSE(EndOnNextDay("", "3600"));
    EXPECT_FALSE(EndOnNextDay("82800", "x"));
}

TEST(EditorRules, DurationDigitsAndTheEditedMark)
{
    struct Case {
        const char *text;
        int first, second;
    } cases[] = {
        {"5", 0, 5}, {"12", 1, 2}, {"0", 0, 0}, {"59", 5, 9}, {"123", 1, 3},
        {"-1", -1, 1},   // a negative duration: the sign has no picture
        {"", -1, -1}, {"x", 0, -1},
    };
    for (const Case &c : cases)
        EXPECT_EQ(DurationDigits(QLatin1String(c.text)), std::make_pair(c.first, c.second)) << c.text;

    EXPECT_EQ(ChangedMark("1"), "True");
    EXPECT_EQ(ChangedMark(""), "False");
}

TEST(EditorRules, TheRowUnderTheMouseAndItsTip)
{
    EXPECT_EQ(RowAt(0, 240, 0, 3), 0);
    EXPECT_EQ(RowAt(239, 240, 0, 3), 0);
    EXPECT_EQ(RowAt(240, 240, 0, 3), 1);
    EXPECT_EQ(RowAt(250, 240, 1, 3), 2) << "scrolled by one row";
    EXPECT_EQ(RowAt(720, 240, 0, 3), -1) << "below the last row";
    EXPECT_EQ(RowAt(10, 0, 0, 3), -1);

    struct Case {
        const char *chk, *id;
        int16_t tip;
    } cases[] = {
        {"", "", 250}, {"", "7", 249}, {"0", "7", 249}, {"1", "7", 251},
        {"2", "7", 252}, {"3", "7", 253}, {"4", "7", 0}, {"x", "7", 0},
    };
    for (const Case &c : cases)
        EXPECT_EQ(RowTipOf(QLatin1String(c.chk), QLatin1String(c.id)), c.tip) << c.chk << "/" << c.id;
}

} // namespace
