// The writes of one time-log entry or expense together with its comment: all of it or nothing,
// also when the engine refuses the comment, and the entries around a day that the overlap
// checks see.
#include "tests/store_queries/StoreFixture.h"

namespace {

using storetest::StoreFixture;

class RowWithComment : public StoreFixture {
protected:
    // The engine refuses every write of the table's comments from now on.
    static void RefuseComments(const char *table)
    {
        for (const char *what : {"INSERT", "UPDATE", "DELETE"})
            Exec(QStringLiteral("CREATE TRIGGER refuse_%1_%2 BEFORE %2 ON %1 BEGIN SELECT RAISE(ABORT, 'disk quota "
                                "exceeded'); END")
                     .arg(QLatin1String(table), QLatin1String(what)));
    }
    static QString Row(double id)
    {
        const QVariant start = Scalar(QStringLiteral("SELECT cStarttime FROM tblDaily WHERE cID = ?"), {id});
        const QVariant sec = Scalar(QStringLiteral("SELECT cSec FROM tblDaily WHERE cID = ?"), {id});
        if (!start.isValid())
            return QStringLiteral("<none>");
        return QStringLiteral("%1+%2").arg(start.toDouble()).arg(sec.toDouble());
    }
};

TEST_F(RowWithComment, ATimeLogEntryIsWrittenWithItsCommentOrNotAtAll)
{
    AddDaily(1, 1, 20240105, 9 * 3600, 3600);
    AddComment("tblDailyComments", 1, 1, QStringLiteral("before"));
    RefuseComments("tblDailyComments");

    modDBchr::DailyValues v;
    v.name = QStringLiteral("entry");
    v.start = 10 * 3600;
    v.sec = 1800;
    v.taskID = 7;
    v.catID = 8;
    v.comment = QStringLiteral("after");

    // A changed comment, then none at all: the new times never stay without it.
    EXPECT_NE(modDBchr::UpdateDailyEntry(1, v), 0);
    EXPECT_FALSE(modDBchr::LastDailyError().isEmpty());
    EXPECT_EQ(Row(1), QStringLiteral("32400+3600"));
    v.comment.clear();
    EXPECT_NE(modDBchr::UpdateDailyEntry(1, v), 0);
    EXPECT_EQ(Row(1), QStringLiteral("32400+3600"));
    EXPECT_EQ(Scalar(QStringLiteral("SELECT cComments FROM tblDailyComments WHERE cID = 1")).toString(),
              QStringLiteral("before"));

    // A delete takes the entry only with its comment.
    EXPECT_NE(modDBchr::DeleteDailyEntry(1), 0);
    EXPECT_EQ(Row(1), QStringLiteral("32400+3600"));

    // A new entry whose comment cannot be written leaves nothing behind.
    v.comment = QStringLiteral("new");
    double id = -1;
    EXPECT_NE(modDBchr::AddDailyEntry(20240105, v, &id), 0);
    EXPECT_EQ(Count(QStringLiteral("SELECT * FROM tblDaily")), 1);
}

TEST_F(RowWithComment, AnExpenseIsWrittenWithItsCommentOrNotAtAll)
{
    AddExp(1, 1, 20240105);
    AddComment("tblDailyExpComments", 1, 1, QStringLiteral("before"));
    RefuseComments("tblDailyExpComments");

    modDBchr::ExpenseEntry e;
    ASSERT_EQ(modDBchr::ReadExpense(1, e), 0);
    e.cPayee = QStringLiteral("Elsewhere");
    e.comment = QStringLiteral("after");
    EXPECT_NE(modDBchr::UpdateExpense(e), 0);
    EXPECT_EQ(Scalar(QStringLiteral("SELECT cPayee FROM tblDailyExp WHERE cID = 1")).toString(), QStringLiteral("Shop"));
    EXPECT_NE(modDBchr::DeleteExpense(1), 0);
    EXPECT_EQ(Count(QStringLiteral("SELECT * FROM tblDailyExp")), 1);
    modDBchr::ExpenseEntry fresh = e;
    fresh.cID = 0;
    EXPECT_NE(modDBchr::InsertExpense(fresh), 0);
    EXPECT_EQ(Count(QStringLiteral("SELECT * FROM tblDailyExp")), 1);
}

using Around = StoreFixture;

TEST_F(Around, TheEntriesThatReachIntoADayAndThoseOfTheNextDay)
{
    const double h = 3600;
    AddDaily(1, 1, 20240103, 20 * h, 30 * h);   // the 3rd 20:00 for 30 hours: up to the 5th 02:00
    AddDaily(2, 1, 20240104, 22 * h, 2 * h);    // ends at the 5th's midnight: touches it only
    AddDaily(3, 1, 20240104, 23 * h, 2 * h);    // up to the 5th 01:00
    AddDaily(4, 1, 20240104, 10 * h, h);        // the day before, not reaching in
    AddDaily(5, 1, 20240105, 9 * h, h);         // the day's own
    AddDaily(6, 1, 20240106, 0.25 * h, 0.5 * h);   // the next day's
    AddDaily(7, 1, 20240107, 1 * h, h);         // two days on
    AddDaily(8, 2, 20240104, 23 * h, 2 * h);    // another person's
    Exec(QStringLiteral("INSERT INTO tblDaily VALUES (9, 1, 'parked', 1, 0, 7200, 20240105, 7, 8, 0)"));

    std::vector<modMain::TimeSpan> spans;
    ASSERT_EQ(modDBchr::EntrySpansAround(20240105, -1, spans), 0);
    QStringList got;
    for (const auto &s : spans)
        got << QStringLiteral("%1:%2..%3").arg(s.day).arg(s.start / h).arg(s.end / h);
    EXPECT_EQ(got.join(u' '), QStringLiteral("20240103:-28..2 20240104:-1..1 20240105:9..10 20240106:24.25..24.75"));

    ASSERT_EQ(modDBchr::EntrySpansAround(20240105, 3, spans), 0);
    EXPECT_EQ(spans.size(), 3u) << "the own entry is left out";
}

} // namespace
