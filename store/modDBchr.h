#pragma once
// The database module: the local database file "Tarv.crn", its ten tables, and every query
// and update the windows use. The open database is modMain::DB for the whole run.
#include "store/ReferenceDownload.h"

#include <QString>
#include <cstdint>

namespace dao { class TableDef; }
namespace modMain { class Progress; }

namespace modDBchr {

// ======================================================================================
// The database file: creation and opening
// ======================================================================================

// The password of the database file; creation, every opening and the compaction at
// shutdown use it (as ";pwd=" + DBPassword).
inline const QString DBPassword = QStringLiteral("Qw7pz!uHKx!3rtVmd!58");
// The creation locale: general (English) sort order, code page 1252.
inline const QString DBLocale = QStringLiteral(";LANGID=0x0409;CP=1252;COUNTRY=0");
// The connect string of an opening (and the source of a compaction).
inline QString DBConnect() { return QStringLiteral(";pwd=") + DBPassword; }

// Opens the existing file at path exclusively for reading and writing and sets modMain::DB.
// Returns 0, or the engine's error number: 3024 when the file does not exist, another number
// (3031 another password, 3343 not a database, 3045 in use, 3049 a database without one of
// the ten tables, ...) for a file that exists but cannot be used. On failure modMain::DB is
// left as it was and LastDBError() describes it.
int32_t OpenDB(const QString &path);

// Creates the file at path with the ten tables and their indexes and sets modMain::DB to it,
// showing its steps on progress when one is handed in (without one nothing is shown and
// nothing pauses). The database is built as path + ".creating" and takes its name only when
// complete, so that an interrupted creation never leaves a half-built file at path. Returns 0
// when all ten tables stand. On failure it returns the engine's error number, hands the
// description to *description when given (LastDBError() gives it too), closes and clears
// modMain::DB, removes what it built, hides the progress bar and restores the pointer; the
// program goes on. A file that already stands at path is refused (3204) and left alone.
// When the program starts ending during a step's pause the creation stops there, builds and
// shows nothing more, and returns 3000.
int32_t CreateDB(const QString &path, QString *description = nullptr, modMain::Progress *progress = nullptr);

// The description of the last failure of OpenDB or CreateDB ("" after a success).
QString LastDBError();

// One progress step: the progress bar's value (0..100), the caption as the step's main line
// and, unless detail is "", two spaces and detail as its detail line; then a pause of a second
// that lets the end of the program through. Does nothing without a progress.
void ShowProgress(const QString &caption, int16_t value, const QString &detail, modMain::Progress *progress);

// Adds to a table that already stands in the database a required index on one field, named
// after the field, primary (unique) when asked.
void CreateIdx(dao::TableDef &table, const QString &field, bool primary);

} // namespace modDBchr

namespace modDBchr {

// ======================================================================================
// Profiles (tblUsers)
// ======================================================================================

// cUsrID of the profile of the logon name; -1 when there is none.
int16_t GetUserID(const QString &logonName);
// Copies the logon name's profile into the run's profile and returns its cUsrID; -1 (and the
// profile untouched) when there is none.
int16_t LoadUserSettings(const QString &logonName);
// Writes the run's profile as a new row with the next free id and returns that id (the
// caller stores it in CurrentUserID); -1 when the row could not be written or read back, or
// when the ids are used up. Also creates the start-with-the-desktop entry.
int16_t CreateUser();
// Number of work categories of the current user; 0 when there are none.
int16_t CountCategs();

// ======================================================================================
// Entry ids
// ======================================================================================

// The highest value of the column in the table (empty names: "tblDaily", "cID"); 0 when the
// table is empty or cannot be read.
double GetLastID(QString table = {}, QString column = {});

} // namespace modDBchr

class QDate;
namespace forms {
class ComboBox;
class Node;
class TreeView;
} // namespace forms

namespace modDBchr {

// ======================================================================================
// Day deletes and day navigation (tblDaily, tblDailyExp and their comments)
// ======================================================================================
// The deletes work on the current user's rows only, always with the entries' comments, and
// return 0 or the engine's error number of the first statement that failed (the statements
// before it stay done).

// The entries of one day (a day key yyyymmdd) with their comments.
int32_t DeleteDailyDay(int32_t dayKey);
int32_t DeleteExpDay(int32_t dayKey);
// The expenses already accepted by the service (cChk 1) of one day, or of every day for -1,
// with their comments.
int32_t DeleteSyncedExpDay(int32_t dayKey);
// Every entry of the current user with its comment.
int32_t DeleteAllDaily();
int32_t DeleteAllExp();

// The nearest day after (later true) or before the date that has entries of the current user,
// as ShortDateText. When there is none: today's date text when looking later from a day before
// today, else "". Errors give the same.
QString GetNextPrevDailyDate(const QDate &date, bool later);
QString GetNextPrevExpDate(const QDate &date, bool later);

// ======================================================================================
// Comments, names and list fillers
// ======================================================================================
// Each filler empties the list first; an error leaves the items added so far.

// The current user's expense categories by name: text the trimmed name, item data cExpID.
void FillExpCategCombo(forms::ComboBox *list);
// Every distinct payee of the current user's expenses, trimmed, once, in name order; empty and
// Null payees are left out. No item data.
void FillPayeeCombo(forms::ComboBox *list);
// The days that have entries (or expenses), once each, in day order: text the date
// (ShortDateText), item data the day key. A non-empty query replaces the default one; it must
// return day keys in its first column, ordered.
void FillDailyDatesCombo(forms::ComboBox *list, const QString &query = QString());
void FillExpDatesCombo(forms::ComboBox *list, const QString &query = QString());

// The comment of a time-log entry or an expense, trimmed; "" when there is none.
QString GetDailyComment(double cID);
QString GetExpComment(double cID);
// A task's and an expense category's name by id (whichever user stored it), trimmed; "" when
// there is none.
QString GetTaskName(double cTaskID);
QString GetExpCategName(double cExpID);

// The comment writers store the text exactly as typed (apostrophes too) and report nothing.
// An insert with an empty text stores nothing; an insert for an entry that already has a
// comment changes nothing. An update with an empty text keeps the old comment (the caller
// deletes it instead). Only the named entry's row is ever touched.
void InsertDailyComment(double cID, const QString &text);
void InsertExpComment(double cID, const QString &text);
void UpdateDailyComment(double cID, const QString &text);
void UpdateExpComment(double cID, const QString &text);
void DeleteDailyComment(double cID);
void DeleteExpComment(double cID);

// ======================================================================================
// Reference tables: project tree, look-ups and downloads
// ======================================================================================

// Empties the tree and fills it with the current user's projects in name order (bold; images
// "work_closed" / expanded "work_open"), under each its tasks and, unless tasksOnly, under
// each task its categories. Task nodes: "folder_closed" / expanded "folder_open", or with
// tasksOnly "act_normal" / selected "act_sel". Category nodes: "act_normal" / selected
// "act_sel". With expensesOnly, projects and tasks on which expenses are disabled are left
// out. Each node's tag is its id as decimal digits. The caller attaches the image list.
void FillProjectTree(forms::TreeView *tree, bool tasksOnly, bool expensesOnly);
// One project's tasks below its node (and their categories unless tasksOnly).
void FillTaskNodes(forms::TreeView *tree, double projID, forms::Node *projNode, bool expensesOnly,
                   bool tasksOnly);
// One task's categories below its node (a link to an unknown category gives an empty text).
void FillCategNodes(forms::TreeView *tree, double taskID, forms::Node *taskNode);

// A category's and a project's name by id (whichever user stored it), trimmed; "" when none.
QString GetCategName(double cCatID);
QString GetProjectName(double cProjID);
// The project of one of the current user's tasks; 0 when there is none.
double GetTaskProjectID(double cTaskID);

// The download upserts and the writing of a whole download: store/ReferenceDownload.h.

} // namespace modDBchr

#include "store/modDBchr_Daily.h"
#include "store/modDBchr_Synch.h"
#include "store/modDBchr_Cal.h"
#include "store/modDBchr_Exp.h"

// The timers window's entries and parked timers.
#include "store/modDBchr_Timers.h"
