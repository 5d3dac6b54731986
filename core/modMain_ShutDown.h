#pragma once
// The end of the program (namespace modMain): settling the live timers with the person,
// handing them over to the next run, closing the windows and the database, and compacting
// the database file without ever putting its data at risk.
#include <QString>
#include <functional>

namespace modMain {

// Ends the program. With askSave the person is asked about stopped timers whose last segment
// is not saved yet (string 85: Yes, No, Cancel) and, when some timers could not be stored,
// whether to close anyway (string 74: Yes, No). Without askSave (the tray menu, the end of the
// desktop session, a termination signal) nobody is asked: the timers are parked for the next
// run all the same and the program closes. Returns to the caller only when the person chose
// to go on working; otherwise the process ends inside this call.
void ShutDown(bool askSave);

// What ends the process once everything is stored and closed. Tests put their own function
// here (it then returns, and so does ShutDown); an empty function gives the default back,
// which ends the process with exit code 0.
void SetEndProcess(std::function<void()> endProcess);

// The steps of the compaction, in their order. A step hook sees each step before it runs and
// may refuse it (returns false): the compaction then fails as if that step had failed.
enum CompactionStep {
    csRemoveOldCopy = 1,   // a copy left by an earlier, interrupted run is removed
    csCompact = 2,         // the database is compacted into the copy "Tarv.mdb"
    csVerify = 3,          // the copy opens with the password and holds every row
    csFlush = 4,           // the copy is written through to the disk
    csReplace = 5,         // the copy takes the database's name in one rename
};
using CompactionStepHook = std::function<bool(int step)>;

// Compacts the closed database file dbPath ("Tarv.crn") through the copy "Tarv.mdb" beside it.
// The file at dbPath is replaced only by a complete, verified copy, in one rename, and then
// gets normal attributes; when any step fails the copy is removed and dbPath stays exactly as
// it was. True when the database was compacted; false (and nothing changed) otherwise, also
// when dbPath does not exist or does not open with the database password.
bool CompactDatabaseFile(const QString &dbPath, const CompactionStepHook &hook = {});

// Before the database is opened at start: when dbPath is missing but an interrupted
// compaction left the data as "Tmp.mdb" (the database under its temporary name) or
// "Tarv.mdb" (its compacted copy) beside it, the first of these that opens with the database
// password becomes dbPath again. True when a file was brought back.
bool RecoverInterruptedCompaction(const QString &dbPath);

// Makes the end of the desktop session (log-out, shutdown of the machine), SIGTERM and SIGHUP
// run ShutDown without questions, so that the timers are handed over and the database is
// compacted as at a normal exit. Call once, after the application object is made.
void InstallSessionEndHandlers();

} // namespace modMain
