// The synchronisation window's rules on their own: the From/To pairs, which entries a send
// takes, and what a reply makes of a row and of its kind.
#include "core/ServiceRequests.h"
#include "sync/SynchRules.h"

#include <QDateTime>
#include <gtest/gtest.h>

using namespace synchrules;

TEST(SynchRules, APairIsAllOnBothSidesOrADayOnBothSides)
{
    const struct {
        int picked, partner, expected;
    } cases[] = {
        {0, 3, 0},    // "<ALL>" picked: the partner follows
        {0, 0, 0},
        {2, 0, 2},    // a day picked while the partner shows "<ALL>": the same day
        {2, 5, 5},    // both days: nothing changes, a later From is allowed here
        {5, 2, 2},
        {-1, 4, 4},   // nothing picked
    };
    for (const auto &c : cases)
        EXPECT_EQ(PartnerIndex(c.picked, c.partner), c.expected) << c.picked << "/" << c.partner;
}

TEST(SynchRules, ARangeCheckLooksOnlyAtTheKindsThatAreSent)
{
    const PairChoice all{0, 0, 0};
    const PairChoice sameDay{2, 20070105, 20070105};
    const PairChoice ordered{1, 20070101, 20070110};
    const PairChoice reversed{3, 20070110, 20070101};
    EXPECT_FALSE(PairWrong(all));
    EXPECT_FALSE(PairWrong(sameDay));
    EXPECT_FALSE(PairWrong(ordered));
    EXPECT_TRUE(PairWrong(reversed));

    EXPECT_FALSE(DatesWrong(ordered, false, sameDay, false));
    EXPECT_TRUE(DatesWrong(reversed, false, ordered, false));
    EXPECT_TRUE(DatesWrong(ordered, false, reversed, false));
    // A skipped kind's range does not block the other kind.
    EXPECT_FALSE(DatesWrong(reversed, true, ordered, false));
    EXPECT_FALSE(DatesWrong(ordered, false, reversed, true));
    EXPECT_FALSE(DatesWrong(reversed, true, reversed, true));

    EXPECT_TRUE(RangeOf(all).all);
    const modDBchr::DayRange r = RangeOf(ordered);
    EXPECT_FALSE(r.all);
    EXPECT_EQ(r.from, 20070101);
    EXPECT_EQ(r.to, 20070110);
}

TEST(SynchRules, OnlyEntriesThatHaveEndedAreSent)
{
    const QDateTime now(QDate(2007, 3, 15), QTime(14, 30, 40));
    auto entry = [](double id, int32_t day, double start, double sec) {
        modDBchr::DailyEntry e;
        e.cID = id;
        e.cDate = day;
        e.cStarttime = start;
        e.cSec = sec;
        return e;
    };
    const std::vector<modDBchr::DailyEntry> rows = {
        entry(1, 20070314, 23 * 3600, 3 * 3600),           // yesterday, past midnight: ended
        entry(2, 20070315, 9 * 3600, 3600),                // this morning
        entry(3, 20070315, 14 * 3600, 30 * 60),            // ends 14:30, in the current minute
        entry(4, 20070315, 14 * 3600, 30 * 60 + 60),       // ends 14:31, after the current minute
        entry(5, 20070316, 9 * 3600, 60),                  // tomorrow
        entry(6, 20070101, 0, 0),
    };
    std::vector<double> ids;
    for (const auto &e : FinishedEntries(rows, now))
        ids.push_back(e.cID);
    EXPECT_EQ(ids, (std::vector<double>{1, 2, 3, 6}));
}

TEST(SynchRules, WhatAReplyMakesOfTheRowAndOfItsKind)
{
    const struct {
        int16_t code;
        bool write;
        int16_t state;
        bool stop;
    } cases[] = {
        {0, true, 1, false},     // accepted
        {5, true, 3, false},     // refused entry: marked, the next goes on
        {7, true, 3, false},
        {99, true, 3, false},
        {-1, true, 2, false},
        {1, false, 0, true},     // the account or the request as a whole: the row is untouched
        {2, false, 0, true},
        {3, false, 0, true},
        {4, false, 0, true},
        {100, true, 2, true},    // no reply: stop; the row is to be sent again
        {404, true, 2, true},
        {410, true, 2, true},
        {500, true, 2, true},
    };
    for (const auto &c : cases) {
        const ReplyOutcome o = OutcomeOf(c.code);
        EXPECT_EQ(o.writeState, c.write) << c.code;
        if (c.write)
            EXPECT_EQ(o.state, c.state) << c.code;
        EXPECT_EQ(o.stopKind, c.stop) << c.code;
    }
    // An HTML page that came with a success status is no acceptance.
    EXPECT_EQ(OutcomeOf(modHttp::AddReplyCode(QStringLiteral("<html><body>Sign in</body></html>"))).state, 2);
    EXPECT_EQ(OutcomeOf(modHttp::AddReplyCode(QStringLiteral("<?xml version=\"1.0\" ?>\n<RESULT><ID>4</ID></RESULT>"))).state, 1);
}
