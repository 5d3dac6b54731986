// The daily log window's rules without the window: the running timer's conflict, when an entry
// may be sent, the send state of each reply class, which rows a send takes, and the editor's
// number and time texts.
#include "core/ServiceRequests.h"
#include "timelog/DailyRules.h"

#include <gtest/gtest.h>

using namespace dailyrules;

namespace {

const QDateTime Start(QDate(2024, 3, 1), QTime(8, 0, 0));

TEST(DailyRules, RecordingConflictIsTheTimersTimeFromItsStartOn)
{
    const double h = 3600;
    struct Case {
        const char *what;
        bool running;
        QDateTime start;
        int32_t day;
        double from, to;
        bool conflict;
    } cases[] = {
        {"an instant after the start", true, Start, 20240301, 9 * h, 9 * h, true},
        {"the very second it started", true, Start, 20240301, 8 * h, 8 * h, true},
        {"an instant just before", true, Start, 20240301, 8 * h - 1, 8 * h - 1, false},
        {"the day before", true, Start, 20240229, 9 * h, 9 * h, false},
        {"no timer runs", false, Start, 20240301, 9 * h, 9 * h, false},
        {"no start known", true, QDateTime(), 20240301, 9 * h, 9 * h, false},
        {"a span ending at the start touches it", true, Start, 20240301, 7 * h, 8 * h, false},
        {"a span ending a second after the start", true, Start, 20240301, 7 * h, 8 * h + 1, true},
        {"a span starting after it", true, Start, 20240301, 10 * h, 11 * h, true},
        // The timer started on an earlier day still runs: the whole of today is its own.
        {"the day after the timer's start", true, Start, 20240302, 0, 0.5 * h, true},
        {"a span of the day before passing midnight into the timer", true, Start, 20240229, 23 * h, 33 * h, true},
        {"a span of the day before ending before the timer", true, Start, 20240229, 23 * h, 32 * h, false},
    };
    for (const Case &c : cases)
        EXPECT_EQ(RecordingConflict(c.running, c.start, c.day, c.from, c.to), c.conflict) << c.what;
}

TEST(DailyRules, EntriesOfLaterDaysAndUnfinishedOnesAreNotSent)
{
    const QDateTime at0929(QDate(2024, 3, 1), QTime(9, 29, 59));
    const QDateTime at0930(QDate(2024, 3, 1), QTime(9, 30, 0));
    EXPECT_EQ(SendRefusal(20240301, 9 * 3600, 1800, at0929), std::optional<int16_t>(256));
    EXPECT_EQ(SendRefusal(20240301, 9 * 3600, 1800, at0930), std::nullopt);
    EXPECT_EQ(SendRefusal(20240302, 0, 60, at0930), std::optional<int16_t>(256));
    EXPECT_EQ(SendRefusal(20240229, 23 * 3600, 7200, at0930), std::nullopt) << "yesterday, whatever its times";
}

TEST(DailyRules, ReplyClassesGiveTheirSendStates)
{
    struct Case {
        QString reply;
        int16_t state;
    } cases[] = {
        {QStringLiteral("<?xml version=\"1.0\" ?>\n<RESULT><ID>4</ID></RESULT>"), Sent},
        {QStringLiteral("<ERROR><CODE>0</CODE></ERROR>"), Sent},
        {QStringLiteral("<ERROR><CODE>5</CODE></ERROR>"), Rejected},
        {QStringLiteral("<ERROR><CODE>7</CODE></ERROR>"), Rejected},
        {QStringLiteral("<ERROR><CODE>4</CODE></ERROR>"), Resend},
        {QStringLiteral("<ERROR><CODE>12</CODE></ERROR>"), Rejected}, // the whole code
        {QString(), Resend},
        {QStringLiteral("<html><title>404 Not Found</title></html>"), Resend},
        {QStringLiteral("<html><title>500 Internal Server Error</title></html>"), Resend},
        {QStringLiteral("<!DOCTYPE html>\n<html><body>Welcome to the guest network</body></html>"), Resend},
        {QStringLiteral("Welcome"), Resend},
    };
    for (const Case &c : cases)
        EXPECT_EQ(SendStateOf(modHttp::AddReplyCode(c.reply)), c.state) << c.reply.toStdString();
    EXPECT_EQ(SendStateOf(-1), Resend);
    EXPECT_EQ(SendStateOf(99), Rejected);
    EXPECT_EQ(SendStateOf(100), Resend);
    EXPECT_EQ(SendStatusOf(Sent), 290);
    EXPECT_EQ(SendStatusOf(Rejected), 291);
    EXPECT_EQ(SendStatusOf(Resend), 291);
}

TEST(DailyRules, RowsASendTakes)
{
    struct Case {
        RowFacts row;
        bool single, day;
    } cases[] = {
        {{"4", "0", ""}, true, true},
        {{"4", "2", "False"}, true, true},
        {{"4", "3", ""}, true, true},
        {{"4", "1", ""}, true, false},      // accepted already
        {{"4", "0", "True"}, false, false}, // unsaved edits
        {{"", "", ""}, false, false},       // free time or a new row
        {{"x", "0", ""}, false, false},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(RowSendable(c.row), c.single) << c.row.id.toStdString() << c.row.chk.toStdString();
        EXPECT_EQ(RowTakenByDaySend(c.row), c.day) << c.row.id.toStdString() << c.row.chk.toStdString();
    }
}

TEST(DailyRules, EditorTexts)
{
    EXPECT_EQ(DurationOf("1", "2", "5"), std::optional<double>(3725));
    EXPECT_EQ(DurationOf("", " 30", ""), std::optional<double>(1800));
    EXPECT_EQ(DurationOf("1", "x", "0"), std::nullopt);
    EXPECT_EQ(DurationOf("-1", "0", "0"), std::nullopt);
    EXPECT_EQ(TimeOfDay("09:05"), std::optional<double>(9 * 3600 + 300));
    EXPECT_EQ(TimeOfDay("23:59:59"), std::optional<double>(86399));
    EXPECT_EQ(TimeOfDay("24:00"), std::nullopt);
    EXPECT_EQ(TimeOfDay("9.30"), std::nullopt);
    EXPECT_EQ(TimeOfDay(""), std::nullopt);
    EXPECT_EQ(IdOf("40000"), std::optional<double>(40000)) << "ids beyond 16 bits";
    EXPECT_EQ(IdOf(""), std::nullopt);
}

} // namespace
