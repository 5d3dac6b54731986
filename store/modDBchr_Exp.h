#pragma once
// The daily expenses' rows (tblDailyExp) with their comments (tblDailyExpComments): one day's
// rows for the editor, the insert, update and delete of one expense, and what its upload reads
// and writes. Part of the database module (included by store/modDBchr.h).
//
// Every procedure works on the current user's rows only, binds every value as a parameter, and
// returns 0 or the engine's error number; LastExpError() then describes the failure. A write
// of a row and its comment is one transaction: it happens whole or not at all.
#include <QString>
#include <cstdint>
#include <vector>

namespace modDBchr {

// One stored expense as the editor and the upload see it.
struct ExpenseEntry {
    double cID = 0;
    double cExpID = 0;      // expense category
    QString cAmount;        // the amount text in the locale's number form
    int32_t cDate = 0;      // day key yyyymmdd
    double cTime = 0;       // seconds after midnight
    double cTaskID = 0;
    double cProjID = 0;
    QString cPayee;
    QString cCode;          // receipt code; "" when there is none (stored as Null)
    int16_t cChk = 0;       // send state: 0 not sent, 1 accepted, 2 to resend, 3 rejected
    QString comment;        // the comment row's text; "" when there is none
};

// A day's row for the grid: the entry with the names of its category, task and project.
struct ExpenseDayRow : ExpenseEntry {
    QString categoryName;
    QString taskName;
    QString projectName;
};

// What an update of an expense that the service has already accepted returns: such a row is
// never written again (the engine's "read-only" number).
inline constexpr int32_t ErrExpenseSent = 3027;
// What an update or upload of an expense that is not stored (any more) returns.
inline constexpr int32_t ErrExpenseMissing = 3021;

// The current user's expenses of the day in ascending cID order, names and comments read with
// them. On failure rows holds the rows read before it.
int32_t LoadExpDay(int32_t dayKey, std::vector<ExpenseDayRow> &rows);

// Stores a new expense of the current user with the next free id (the highest stored cID + 1,
// so the first is 1), send state 0, and its comment when it has one; entry.cID and entry.cChk
// get what was stored. Texts are stored as given (apostrophes and all); an empty code is Null.
int32_t InsertExpense(ExpenseEntry &entry);

// Writes the category, amount, time, task, project, payee and code of the stored expense
// entry.cID, and makes its comment entry.comment (an empty text deletes it). The id, the day,
// the owner and the send state are never written. A row the service has already accepted
// gives ErrExpenseSent and changes nothing; an id that is not stored gives ErrExpenseMissing.
int32_t UpdateExpense(const ExpenseEntry &entry);

// Deletes the stored expense and its comment (nothing is an error when there is no such row).
int32_t DeleteExpense(double cID);

// Reads the stored expense with its comment, as it goes to the service; ErrExpenseMissing when
// there is no such row.
int32_t ReadExpense(double cID, ExpenseEntry &entry);

// Writes the send state of the stored expense; ErrExpenseMissing when there is no such row.
int32_t SetExpenseState(double cID, int16_t state);

// The description of the last failure of the procedures above ("" after a success).
QString LastExpError();

} // namespace modDBchr
