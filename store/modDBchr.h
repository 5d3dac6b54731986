#pragma once
// The database module: the local database file "Tarv.crn", its ten tables, and every query
// and update the windows use. The open database is modMain::DB for the whole run.
#include <QString>
#include <cstdint>

namespace dao { class TableDef; }

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
// (3031 another password, 3343 not a database, 3045 in use, ...) for a file that exists but
// cannot be opened. On failure modMain::DB is left as it was and LastDBError() describes it.
int32_t OpenDB(const QString &path);

// Creates the file at path with the ten tables and their indexes, showing progress, and sets
// modMain::DB to it. Returns 0 when all ten tables stand. On failure it returns the engine's
// error number, hands the description to *description when given (LastDBError() gives it
// too), closes and clears modMain::DB, removes the partly built file when this call created
// it, hides the progress bar and restores the mouse pointer; the program goes on.
int32_t CreateDB(const QString &path, QString *description = nullptr);

// The description of the last failure of OpenDB or CreateDB ("" after a success).
QString LastDBError();

// One progress step on the sign-in window (lblMsg gets caption, lblMsg1 two spaces and
// detail unless detail is "") and the main window's progress bar (value 0..100), followed by
// a one-second pause. Does nothing while the sign-in window is not loaded.
void ShowProgress(const QString &caption, int16_t value, const QString &detail);

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
