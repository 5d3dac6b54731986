#pragma once
// The rules of the daily expenses, without any widget: reading and writing amounts in the
// person's number form, the day's total, the checks of the editor's fields before a save, the
// look of a grid row by its send state, and the send state that the service's reply gives.
//
// Amounts are texts in the locale's number form as modMain::DecimalSep and modMain::GroupSep
// give it ("1,234.50" where the point is the decimal separator, "1.234,50" where it is the
// comma). They are kept with two decimals and sent to the service with a point and a leading
// digit ("0.50").
#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>

namespace expenserules {

// ---- amounts ----------------------------------------------------------------------------

// The value of an amount text: blanks around it are ignored; an optional leading minus; the
// whole part in digits, with group separators only between groups of three digits ("1,234",
// never "12,50" where the comma groups); at most one decimal separator with digits after it.
// An empty text or anything else is no amount (nullopt).
std::optional<double> ReadAmount(const QString &text);

// An amount with two decimals, the locale's decimal separator, its digit grouping, a leading
// zero below one and a leading minus when negative: 1234.5 gives "1,234.50", 0.5 "0.50".
QString FormatAmount(double value);

// The amount text as it is stored: FormatAmount of its value, or the text unchanged (trimmed)
// when it is no amount.
QString NormalizeAmount(const QString &text);

// The amount text as the add-expense request takes it: the locale's decimal separator before
// two decimals, no group separator and a digit before the separator, so that the request's
// conversion to the service's form (modMain::NumToDot) gives digits with a point: "1,234.50"
// and "1.234,50" both go as "1234.50", ".50" as "0.50". A text that is no amount goes as it
// is, with a leading "0" before a bare decimal separator.
QString AmountForRequest(const QString &stored);

// What a character typed into the amount box puts there: a digit itself, either separator
// ("." or ",") the locale's decimal separator; nullopt for anything else, which is dropped. (A
// text pasted with other characters, or typed with two separators, is refused when the box is
// left.)
std::optional<QString> AmountKeyText(QChar typed);

// The sum of the amounts that are numbers; texts that are not (an empty cell, a half-typed
// amount) are skipped.
double DayTotal(const QStringList &amounts);

// ---- the editor's fields before a save ------------------------------------------------------

struct ExpenseFields {
    QString payee;          // the payee box
    QString project;        // the project caption: empty while no task is chosen
    int categoryIndex = -1; // the category list's choice, -1 for none
    QString amount;         // the amount box
};

// The lines of what is missing or wrong, field by field in the order payee, task, category,
// amount, each after a line break (the payee's line, when there is one, comes first without
// it); "" when the fields may be saved. A payee that is blank or still the prompt text of a
// new row is missing. The amount must be given, be a number, not be zero and not be negative.
// The texts are the string table's in the current language.
QString FieldProblems(const ExpenseFields &fields, const QString &payeePrompt);

// The whole message of a refused save: the heading (string 359), a line break, the lines.
QString FieldProblemsMessage(const QString &problems);

// ---- the look of a grid row ------------------------------------------------------------------

struct RowLook {
    QString picture;   // picture resource of the row's first cell
    int32_t fore = 0;  // text colour of the shown cells (red in the low byte)
    int32_t back = 0;  // background colour of the shown cells
};

inline constexpr int32_t kRowBack = 0xF8E8D6;     // the window colour of editable rows
inline constexpr int32_t kSentBack = 0xE0E0E0;    // light grey behind an accepted row
inline constexpr int32_t kSentFore = 0x808080;    // its grey text
inline constexpr int32_t kNewFore = 255;          // red text of a row without category

// By the row's category id (empty for a row that has none yet) and its send state digit: a
// row without category "PLUS" in red, else "NORMAL" (0, and any state the program never
// writes), "CHECK" in grey on light grey (1), "RESEND" (2), "QUEST" (3).
RowLook LookOfRow(const QString &categoryId, const QString &state);

// ---- the upload -------------------------------------------------------------------------

// The send state of a row after the service's reply to its add request, by the reply code of
// modHttp::AddReplyCode: 1 accepted (code 0: the service's own answer without an error code);
// 3 rejected, for an error code of the service about the entry itself (5 to 99); 2 to resend
// for everything else: no reply, a time-out, an error page, an HTML page, garbage, an answer cut
// off, and the codes about the account or the request as a whole (1 to 4).
int16_t SyncStateOfReply(const QString &reply);

// The status-line text of a send state: string 290 for an accepted row, else 291.
int16_t StatusOfSyncState(int16_t state);

} // namespace expenserules
