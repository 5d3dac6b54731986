// The store's expense rows on a real encrypted database: a day for the editor, the insert,
// update and delete of an expense with its comment, and what the upload reads and writes.
#include "tests/store_queries/StoreFixture.h"

#include <gtest/gtest.h>

using namespace modDBchr;
using storetest::StoreFixture;

namespace {

class ExpenseStore : public StoreFixture {
protected:
    static ExpenseEntry Entry(const QString &payee = QStringLiteral("Shop"))
    {
        ExpenseEntry e;
        e.cExpID = 3;
        e.cAmount = QStringLiteral("12.50");
        e.cDate = 20240315;
        e.cTime = 36000;
        e.cTaskID = 10;
        e.cProjID = 1;
        e.cPayee = payee;
        return e;
    }
    static QVariant Field(const char *column, double id)
    {
        return Scalar(QStringLiteral("SELECT %1 FROM tblDailyExp WHERE cID = ?").arg(QLatin1String(column)), {id});
    }
    static QVariant Comment(double id)
    {
        return Scalar(QStringLiteral("SELECT cComments FROM tblDailyExpComments WHERE cID = ?"), {id});
    }
};

} // namespace

TEST_F(ExpenseStore, TheFirstExpenseGetsIdOneAndANewOneTheNextId)
{
    ExpenseEntry a = Entry();
    a.cChk = 1;   // never taken from the caller
    ASSERT_EQ(InsertExpense(a), 0) << LastExpError().toStdString();
    EXPECT_EQ(a.cID, 1);
    EXPECT_EQ(Field("cChk", 1).toInt(), 0);
    EXPECT_EQ(Field("cUsrID", 1).toInt(), 1);
    AddExp(40, 2, 20240315);   // another person's row counts for the ids too
    ExpenseEntry b = Entry();
    ASSERT_EQ(InsertExpense(b), 0);
    EXPECT_EQ(b.cID, 41);
}

TEST_F(ExpenseStore, TextsAreStoredAsTypedAndAnEmptyCodeAsNull)
{
    const QString payee = QStringLiteral("O'Brien's Café «Ελαιώνας»");
    ExpenseEntry e = Entry(payee);
    e.cCode = QStringLiteral("R-'7'-ΑΒΓ");
    e.comment = QStringLiteral("Lunch with 'Anna'; a&b é\r\nsecond line");
    ASSERT_EQ(InsertExpense(e), 0);
    EXPECT_EQ(Field("cPayee", e.cID).toString(), payee);
    EXPECT_EQ(Field("cCode", e.cID).toString(), e.cCode);
    EXPECT_EQ(Comment(e.cID).toString(), e.comment);

    ExpenseEntry none = Entry();
    ASSERT_EQ(InsertExpense(none), 0);
    EXPECT_EQ(Field("cCode", none.cID).toString(), QStringLiteral("<Null>"));
    EXPECT_EQ(Count(QStringLiteral("SELECT * FROM tblDailyExpComments WHERE cID = ?"), {none.cID}), 0);

    ExpenseEntry back;
    ASSERT_EQ(ReadExpense(none.cID, back), 0);
    EXPECT_EQ(back.cCode, QString());
    EXPECT_EQ(back.cAmount, QStringLiteral("12.50"));
    EXPECT_EQ(back.cDate, 20240315);
    EXPECT_EQ(back.cTime, 36000);
}

TEST_F(ExpenseStore, AnUpdateWritesTheFieldsButNeverTheIdDayOwnerOrSendState)
{
    ExpenseEntry e = Entry();
    e.comment = QStringLiteral("first");
    ASSERT_EQ(InsertExpense(e), 0);
    Exec(QStringLiteral("UPDATE tblDailyExp SET cChk = 2 WHERE cID = ?"), {e.cID});

    ExpenseEntry edit = e;
    edit.cExpID = 4;
    edit.cAmount = QStringLiteral("1,234.00");
    edit.cTime = 37800;
    edit.cTaskID = 11;
    edit.cProjID = 2;
    edit.cPayee = QStringLiteral("Kiosk 'Β'");
    edit.cCode = QStringLiteral("X1");
    edit.cDate = 20991231;   // a day from the grid is never written back
    edit.cChk = 0;           // nor a state
    edit.comment = QStringLiteral("second");
    ASSERT_EQ(UpdateExpense(edit), 0) << LastExpError().toStdString();
    ExpenseEntry back;
    ASSERT_EQ(ReadExpense(e.cID, back), 0);
    EXPECT_EQ(back.cExpID, 4);
    EXPECT_EQ(back.cAmount, QStringLiteral("1,234.00"));
    EXPECT_EQ(back.cTime, 37800);
    EXPECT_EQ(back.cTaskID, 11);
    EXPECT_EQ(back.cProjID, 2);
    EXPECT_EQ(back.cPayee, QStringLiteral("Kiosk 'Β'"));
    EXPECT_EQ(back.cCode, QStringLiteral("X1"));
    EXPECT_EQ(back.cDate, 20240315);
    EXPECT_EQ(back.cChk, 2);
    EXPECT_EQ(back.comment, QStringLiteral("second"));

    // An emptied code goes back to Null, an emptied comment deletes its row.
    edit.cCode.clear();
    edit.comment.clear();
    ASSERT_EQ(UpdateExpense(edit), 0);
    EXPECT_EQ(Field("cCode", e.cID).toString(), QStringLiteral("<Null>"));
    EXPECT_EQ(Count(QStringLiteral("SELECT * FROM tblDailyExpComments WHERE cID = ?"), {e.cID}), 0);
    // A comment typed for an expense that had none is inserted.
    edit.comment = QStringLiteral("third");
    ASSERT_EQ(UpdateExpense(edit), 0);
    EXPECT_EQ(Comment(e.cID).toString(), QStringLiteral("third"));
}

TEST_F(ExpenseStore, AnAcceptedOrMissingExpenseIsNeverUpdated)
{
    ExpenseEntry e = Entry();
    e.comment = QStringLiteral("kept");
    ASSERT_EQ(InsertExpense(e), 0);
    ASSERT_EQ(SetExpenseState(e.cID, 1), 0);
    ExpenseEntry edit = e;
    edit.cAmount = QStringLiteral("99.00");
    edit.comment.clear();
    EXPECT_EQ(UpdateExpense(edit), ErrExpenseSent);
    EXPECT_FALSE(LastExpError().isEmpty());
    EXPECT_EQ(Field("cAmount", e.cID).toString(), QStringLiteral("12.50"));
    EXPECT_EQ(Comment(e.cID).toString(), QStringLiteral("kept"));

    edit.cID = 999;
    EXPECT_EQ(UpdateExpense(edit), ErrExpenseMissing);
    // Another person's expense is as good as missing.
    AddExp(50, 2, 20240315);
    edit.cID = 50;
    EXPECT_EQ(UpdateExpense(edit), ErrExpenseMissing);
    EXPECT_EQ(Field("cAmount", 50).toString(), QStringLiteral("1.00"));
    ExpenseEntry other;
    EXPECT_EQ(ReadExpense(50, other), ErrExpenseMissing);
    EXPECT_EQ(SetExpenseState(50, 1), ErrExpenseMissing);
    EXPECT_EQ(Field("cChk", 50).toInt(), 0);
}

TEST_F(ExpenseStore, ADeleteTakesTheCommentWithItAndOnlyThePersonsOwnRow)
{
    ExpenseEntry e = Entry();
    e.comment = QStringLiteral("gone");
    ASSERT_EQ(InsertExpense(e), 0);
    AddExp(50, 2, 20240315);
    AddComment("tblDailyExpComments", 50, 2, QStringLiteral("not mine"));
    EXPECT_EQ(DeleteExpense(e.cID), 0);
    EXPECT_EQ(DeleteExpense(50), 0);
    EXPECT_EQ(Count(QStringLiteral("SELECT * FROM tblDailyExp WHERE cID = ?"), {e.cID}), 0);
    EXPECT_EQ(Count(QStringLiteral("SELECT * FROM tblDailyExpComments WHERE cID = ?"), {e.cID}), 0);
    EXPECT_EQ(Count(QStringLiteral("SELECT * FROM tblDailyExp WHERE cID = 50")), 1);
    EXPECT_EQ(Comment(50).toString(), QStringLiteral("not mine"));
}

TEST_F(ExpenseStore, AFailedWriteChangesNothingAndSaysWhy)
{
    // A payee longer than its column: the row is refused, and its comment with it.
    ExpenseEntry e = Entry(QString(61, QLatin1Char('x')));
    e.comment = QStringLiteral("with the row or not at all");
    const int32_t err = InsertExpense(e);
    EXPECT_EQ(err, dao::ErrTextTooLong);
    EXPECT_FALSE(LastExpError().isEmpty());
    EXPECT_EQ(e.cID, 0);
    EXPECT_EQ(Count(QStringLiteral("SELECT * FROM tblDailyExp")), 0);
    EXPECT_EQ(Count(QStringLiteral("SELECT * FROM tblDailyExpComments")), 0);

    // An update whose comment cannot be written leaves the row as it was.
    ExpenseEntry ok = Entry();
    ASSERT_EQ(InsertExpense(ok), 0);
    EXPECT_TRUE(LastExpError().isEmpty());
    ExpenseEntry edit = ok;
    edit.cAmount = QStringLiteral("5.00");
    edit.cCode = QString(31, QLatin1Char('c'));
    EXPECT_EQ(UpdateExpense(edit), dao::ErrTextTooLong);
    EXPECT_EQ(Field("cAmount", ok.cID).toString(), QStringLiteral("12.50"));

    // No database at all.
    modMain::DB->Close();
    EXPECT_NE(InsertExpense(e), 0);
    EXPECT_NE(DeleteExpense(ok.cID), 0);
    std::vector<ExpenseDayRow> rows;
    EXPECT_NE(LoadExpDay(20240315, rows), 0);
}

TEST_F(ExpenseStore, ADayComesInIdOrderWithItsNamesAndComments)
{
    modDBchr::SaveProject(9, QStringLiteral("Alpha"), QStringLiteral("TRUE"));
    modDBchr::SaveTask(7, QStringLiteral("Design"), 9, QStringLiteral("TRUE"));
    modDBchr::SaveExpCategory(3, QStringLiteral("Fuel"));
    // Later ids earlier in the day: the order is the ids'.
    Exec(QStringLiteral("INSERT INTO tblDailyExp VALUES (5, 1, 3, ' 2.00 ', 20240315, 30000, 7, 9, ' Bob ', 'C1', 1)"));
    AddExp(2, 1, 20240315);
    AddExp(3, 1, 20240316);
    AddExp(4, 2, 20240315);
    AddComment("tblDailyExpComments", 2, 1, QStringLiteral("note"));
    std::vector<ExpenseDayRow> rows;
    ASSERT_EQ(LoadExpDay(20240315, rows), 0);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].cID, 2);
    EXPECT_EQ(rows[0].cCode, QString());
    EXPECT_EQ(rows[0].comment, QStringLiteral("note"));
    EXPECT_EQ(rows[0].categoryName, QStringLiteral("Fuel"));
    EXPECT_EQ(rows[0].taskName, QStringLiteral("Design"));
    EXPECT_EQ(rows[0].projectName, QStringLiteral("Alpha"));
    EXPECT_EQ(rows[1].cID, 5);
    EXPECT_EQ(rows[1].cAmount, QStringLiteral("2.00"));
    EXPECT_EQ(rows[1].cPayee, QStringLiteral("Bob"));
    EXPECT_EQ(rows[1].cCode, QStringLiteral("C1"));
    EXPECT_EQ(rows[1].cChk, 1);
    rows.clear();
    ASSERT_EQ(LoadExpDay(20240317, rows), 0);
    EXPECT_TRUE(rows.empty());
}
