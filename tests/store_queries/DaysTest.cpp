// Day deletes with their comments and the nearest day with entries, on a real database file.
#include "tests/store_queries/StoreFixture.h"

#include <QDate>

#include <functional>

namespace {

using modMain::CurrentUserID;
using storetest::StoreFixture;

// Which editor's tables a case works on.
struct Side {
    const char *name;
    const char *entries;
    const char *comments;
    std::function<void(double, int, int, int)> add;   // id, user, day, cChk
    int32_t (*deleteDay)(int32_t);
    int32_t (*deleteAll)();
    QString (*nextPrev)(const QDate &, bool);
};

const Side kSides[] = {
    {"daily", "tblDaily", "tblDailyComments",
     [](double id, int user, int day, int chk) { StoreFixture::AddDaily(id, user, day, 32400, 600, chk); },
     &modDBchr::DeleteDailyDay, &modDBchr::DeleteAllDaily, &modDBchr::GetNextPrevDailyDate},
    {"expenses", "tblDailyExp", "tblDailyExpComments",
     [](double id, int user, int day, int chk) { StoreFixture::AddExp(id, user, day, chk); },
     &modDBchr::DeleteExpDay, &modDBchr::DeleteAllExp, &modDBchr::GetNextPrevExpDate},
};

// Names the case in test output.
void PrintTo(const Side &s, std::ostream *os)
{
    *os << s.name;
}

class Days : public StoreFixture, public ::testing::WithParamInterface<Side> {
protected:
    // Two days of user 1 and the first day of user 2, each entry with a comment:
    // ids 1, 2 (user 1, 5 Jan), 3 (user 1, 6 Jan), 4 (user 2, 5 Jan).
    void AddTwoDays()
    {
        const Side &s = GetParam();
        s.add(1, 1, 20240105, 0);
        s.add(2, 1, 20240105, 0);
        s.add(3, 1, 20240106, 0);
        s.add(4, 2, 20240105, 0);
        for (int id = 1; id <= 4; ++id)
            AddComment(s.comments, id, id == 4 ? 2 : 1, QStringLiteral("c%1").arg(id));
    }
    QList<int> Ids(const char *table)
    {
        QList<int> out;
        auto rs = modMain::DB->OpenRecordset(QStringLiteral("SELECT cID FROM %1 ORDER BY cID").arg(QLatin1String(table)));
        for (; !rs->Eof(); rs->MoveNext())
            out << rs->Value(0).toInt();
        rs->Close();
        return out;
    }
};

TEST_P(Days, DeletingADayRemovesExactlyThatDaysEntriesOfThisUserWithTheirComments)
{
    const Side &s = GetParam();
    AddTwoDays();
    // A stray comment of another entry id on no day at all stays too.
    AddComment(s.comments, 9, 1, QStringLiteral("orphan"));

    EXPECT_EQ(s.deleteDay(20240105), 0);
    EXPECT_EQ(Ids(s.entries), (QList<int>{3, 4}));
    EXPECT_EQ(Ids(s.comments), (QList<int>{3, 4, 9}));

    // A day without entries deletes nothing and succeeds.
    EXPECT_EQ(s.deleteDay(20240301), 0);
    EXPECT_EQ(Ids(s.entries), (QList<int>{3, 4}));
}

TEST_P(Days, DeletingEverythingKeepsTheOtherUsersRows)
{
    const Side &s = GetParam();
    AddTwoDays();
    EXPECT_EQ(s.deleteAll(), 0);
    EXPECT_EQ(Ids(s.entries), (QList<int>{4}));
    EXPECT_EQ(Ids(s.comments), (QList<int>{4}));
}

TEST_P(Days, ADeleteWithoutADatabaseGivesTheEnginesErrorNumber)
{
    const Side &s = GetParam();
    modMain::DB->Close();
    EXPECT_EQ(s.deleteDay(20240105), dao::ErrClosed);
    EXPECT_EQ(s.deleteAll(), dao::ErrClosed);
}

TEST_P(Days, TheNearestDayWithEntriesOfThisUser)
{
    const Side &s = GetParam();
    s.add(1, 1, 20240105, 0);
    s.add(2, 1, 20240110, 0);
    s.add(3, 1, 20240110, 0);
    s.add(4, 2, 20240120, 0);   // another user's day is never found
    s.add(5, 2, 20240102, 0);

    const QDate today = QDate::currentDate();
    const QString todayText = modMain::ShortDateText(today);
    struct Case {
        QDate from;
        bool later;
        QString expected;
    };
    const Case cases[] = {
        {QDate(2024, 1, 7), true, QStringLiteral("1/10/2024")},
        {QDate(2024, 1, 7), false, QStringLiteral("1/5/2024")},
        {QDate(2024, 1, 1), true, QStringLiteral("1/5/2024")},
        {QDate(2024, 1, 5), true, QStringLiteral("1/10/2024")},   // strictly after
        {QDate(2024, 1, 10), false, QStringLiteral("1/5/2024")},  // strictly before
        {QDate(2024, 1, 30), false, QStringLiteral("1/10/2024")},
        // After the last day: today when the day lies in the past, else nothing.
        {QDate(2024, 1, 11), true, todayText},
        {today, true, QString()},
        {today.addDays(3), true, QString()},
        // Before the first day: nothing.
        {QDate(2024, 1, 5), false, QString()},
        {QDate(2024, 1, 3), false, QString()},
    };
    for (const Case &c : cases)
        EXPECT_EQ(s.nextPrev(c.from, c.later), c.expected)
            << c.from.toString(Qt::ISODate).toStdString() << (c.later ? " later" : " earlier");

    // Without a database only the rule for days in the past answers.
    modMain::DB->Close();
    EXPECT_EQ(s.nextPrev(QDate(2024, 1, 7), true), todayText);
    EXPECT_EQ(s.nextPrev(QDate(2024, 1, 7), false), QString());
}

INSTANTIATE_TEST_SUITE_P(BothEditors, Days, ::testing::ValuesIn(kSides),
                         [](const auto &info) { return std::string(info.param.name); });

class SyncedExpenses : public StoreFixture {
protected:
    // User 1: 5 Jan ids 1 (chk 1), 2 (chk 0), 3 (chk 2); 6 Jan ids 4 (chk 1), 5 (chk 3);
    // user 2: 5 Jan id 6 (chk 1). Every expense has a comment.
    void SetUp() override
    {
        StoreFixture::SetUp();
        const int rows[][4] = {{1, 1, 20240105, 1}, {2, 1, 20240105, 0}, {3, 1, 20240105, 2},
                               {4, 1, 20240106, 1}, {5, 1, 20240106, 3}, {6, 2, 20240105, 1}};
        for (const auto &r : rows) {
            AddExp(r[0], r[1], r[2], r[3]);
            AddComment("tblDailyExpComments", r[0], r[1], QStringLiteral("c"));
        }
    }
    QList<int> Ids(const char *table)
    {
        QList<int> out;
        auto rs = modMain::DB->OpenRecordset(QStringLiteral("SELECT cID FROM %1 ORDER BY cID").arg(QLatin1String(table)));
        for (; !rs->Eof(); rs->MoveNext())
            out << rs->Value(0).toInt();
        rs->Close();
        return out;
    }
};

TEST_F(SyncedExpenses, OneDayRemovesOnlyThatDaysAcceptedExpensesOfThisUser)
{
    EXPECT_EQ(modDBchr::DeleteSyncedExpDay(20240105), 0);
    EXPECT_EQ(Ids("tblDailyExp"), (QList<int>{2, 3, 4, 5, 6}));
    EXPECT_EQ(Ids("tblDailyExpComments"), (QList<int>{2, 3, 4, 5, 6}));
}

TEST_F(SyncedExpenses, MinusOneRemovesEveryAcceptedExpenseOfThisUserAndKeepsStates023)
{
    EXPECT_EQ(modDBchr::DeleteSyncedExpDay(-1), 0);
    EXPECT_EQ(Ids("tblDailyExp"), (QList<int>{2, 3, 5, 6}));
    EXPECT_EQ(Ids("tblDailyExpComments"), (QList<int>{2, 3, 5, 6}));
}

} // namespace
