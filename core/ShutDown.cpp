// The end of the program: the timers are settled with the person and handed over to the next
// run, the windows and the database are closed, and the database file is compacted.
//
// The compaction never leaves the data under another name: the database is compacted into a
// copy beside it, the copy is checked (it opens with the password, it is sound, and every
// table holds as many rows as in the database), written through to the disk and only then
// renamed over the database in one step. Whatever fails, or wherever the process is killed,
// "Tarv.crn" is either the old file or the complete new one.
#include "core/modMain.h"

#include "core/CCrypto.h"
#include "core/WindowRegistry.h"
#include "core/Progress.h"
#include "core/frmLogin.h"
#include "core/frmMain.h"
#include "platform/dao/dao.h"
#include "platform/fs/FileSystem.h"
#include "recorder/CHotKey.h"
#include "recorder/frmStart.h"
#include "recorder/frmSysTray.h"
#include "store/modDBchr.h"

#include <QApplication>
#include <QFileInfo>
#include <QMap>
#include <QSessionManager>
#include <QSocketNotifier>

#include <csignal>
#include <cstdio>
#include <sys/socket.h>
#include <unistd.h>

namespace modMain {

namespace {

std::function<void()> g_endProcess;
bool g_asking = false;    // the questions of a shutdown are open
bool g_closing = false;   // a shutdown is past its questions: the program ends

void EndProcess()
{
    if (g_endProcess) {
        g_endProcess();
        return;
    }
    // Everything is stored and closed: nothing may run on (a handler that called the shutdown
    // would come back to windows that are gone).
    std::fflush(nullptr);
    ::_exit(0);
}

// ---- the database file ----------------------------------------------------------------------

QString Sibling(const QString &dbPath, const QString &name)
{
    return QFileInfo(dbPath).absolutePath() + QStringLiteral("/") + name;
}

// Removes a database file with whatever its engine kept beside it.
bool RemoveDatabaseFiles(const QString &path)
{
    bool ok = true;
    for (const char *suffix : {"-journal", "-wal", "-shm"})
        ok = fsys::DeleteFile(path + QLatin1String(suffix)) && ok;
    return fsys::DeleteFile(path) && ok;
}

// What a sound database holds: the row count of every table and the user version. Empty
// when the file does not open with the password or fails its integrity check.
struct Contents {
    bool ok = false;
    QMap<QString, qlonglong> rows;
    int version = 0;
    bool operator==(const Contents &o) const { return ok && o.ok && rows == o.rows && version == o.version; }
};

Contents ReadContents(const QString &path)
{
    Contents c;
    try {
        std::unique_ptr<dao::Database> db = dao::OpenDatabase(path, modDBchr::DBConnect());
        {
            auto check = db->OpenRecordset(QStringLiteral("PRAGMA integrity_check"), dao::dbOpenSnapshot);
            if (check->RecordCount() != 1 || check->Value(0).toString() != QLatin1String("ok"))
                return c;
            check->Close();
        }
        for (const QString &table : db->TableNames()) {
            auto rs = db->OpenRecordset(QStringLiteral("SELECT COUNT(*) FROM [%1]").arg(table), dao::dbOpenSnapshot);
            c.rows.insert(table.toLower(), rs->Value(0).toLongLong());
            rs->Close();
        }
        c.version = db->UserVersion();
        db->Close();
        c.ok = true;
    } catch (...) {
        c.ok = false;
    }
    return c;
}

// ---- the end of the session ---------------------------------------------------------------

int g_signalPipe[2] = {-1, -1};

void OnTerminationSignal(int)
{
    const char c = 1;
    // Only the pipe is touched here; the shutdown runs on the window thread.
    [[maybe_unused]] const ssize_t n = ::write(g_signalPipe[0], &c, 1);
}

} // namespace

void SetEndProcess(std::function<void()> endProcess)
{
    g_endProcess = std::move(endProcess);
    g_closing = false;
    g_asking = false;
    SetProgramEnding(false);
}

void ShutDown(bool askSave)
{
    // One shutdown at a time. Only a shutdown without questions (the end of the session) may
    // overtake one whose questions are still open.
    if (g_closing || (g_asking && askSave))
        return;

    // Rows edited in a day editor and not saved are asked about first: a No keeps the program
    // running with everything as it was.
    if (askSave) {
        g_asking = true;
        const bool mayGo = winreg::QueryUnloadLoadedWindows();
        g_asking = false;
        if (!mayGo)
            return;
    }

    // 1. The timers.
    if (FormLoaded[fiStart]) {
        if (frmStart *start = frmStart::Peek()) {
            int16_t err = 0;
            if (askSave) {
                g_asking = true;
                // Asked once, about the first stopped timer with an activity whose last
                // segment is not saved; the answer holds for every such timer.
                bool saveFlag = false;
                if (start->FirstUnsavedSegment() >= 0) {
                    const int32_t answer = ShowMsg(GetLangString(85), 35);
                    if (answer == 2) {
                        g_asking = false;
                        return;
                    }
                    saveFlag = answer == 6;
                }
                try {
                    start->SaveRunning(saveFlag, err);
                } catch (...) {
                    err = -1;
                }
                if (err != 0) {
                    const QString why = start->LastStoreError();
                    QString text = GetLangString(1621);
                    if (!why.isEmpty())
                        text += QStringLiteral("\r\n\r\n") + why;
                    if (ShowMsg(text, 36) == 7) {
                        // The person goes on working: the timers are kept in step again.
                        start->ResumeParking();
                        g_asking = false;
                        return;
                    }
                }
            } else {
                // Nobody can be asked: every timer is parked for the next run as it stands,
                // the unsaved segments with it.
                try {
                    start->ParkForNextRun();
                } catch (...) {
                }
            }
            g_asking = false;
            g_closing = true;
            try {
                start->m_Hotkey.reset();
                start->m_frmSysTray.reset();
            } catch (...) {
            }
        }
    }
    g_asking = false;
    g_closing = true;
    // Long work paused under this call (the database creation) gives up when it comes back.
    SetProgramEnding(true);

    // 2. The windows of the run, each on its own: one that fails to go keeps no other.
    auto step = [](auto &&f) {
        try {
            f();
        } catch (...) {
        }
    };
    step([] { winreg::UnloadLoadedWindows(); });

    // 3.
    step([] { Crypto.reset(); });

    // 4.-5. The database is closed whatever went before; only a closed file is compacted.
    const QString dbPath = AppPath() + QStringLiteral("/Tarv.crn");
    bool closed = true;
    try {
        if (DB && DB->IsOpen())
            DB->Close();
        DB.reset();
    } catch (...) {
        closed = false;
    }
    if (closed)
        step([&] { CompactDatabaseFile(dbPath); });

    // 6.
    step([] {
        if (frmMain *main = frmMain::Peek())
            main->hide();
    });
    EndProcess();
}

bool CompactDatabaseFile(const QString &dbPath, const CompactionStepHook &hook)
{
    if (!fsys::FileExists(dbPath))
        return false;
    const QString copy = Sibling(dbPath, QStringLiteral("Tarv.mdb"));
    auto allowed = [&](int s) { return !hook || hook(s); };
    auto fail = [&] {
        RemoveDatabaseFiles(copy);
        return false;
    };

    // 1. A copy left by a run that was interrupted is of no use: the database is here.
    if (!allowed(csRemoveOldCopy) || !RemoveDatabaseFiles(copy))
        return fail();
    const Contents before = ReadContents(dbPath);
    if (!before.ok)
        return fail();

    // 2. With no locale and no options the copy keeps the database's encryption and password.
    if (!allowed(csCompact))
        return fail();
    try {
        dao::CompactDatabase(dbPath, copy, QString(), 0, modDBchr::DBConnect());
    } catch (...) {
        return fail();
    }

    // 3.
    if (!allowed(csVerify) || !(ReadContents(copy) == before))
        return fail();

    // 4.
    if (!allowed(csFlush) || !fsys::SyncFile(copy))
        return fail();

    // 5. One rename: the database is the old file or the new one, never missing.
    if (!allowed(csReplace) || !fsys::ReplaceFile(copy, dbPath))
        return fail();
    fsys::SyncFile(dbPath);

    // The file is not hidden.
    fsys::SetAttributes(dbPath, fsys::Normal);
    return true;
}

bool RecoverInterruptedCompaction(const QString &dbPath)
{
    if (fsys::FileExists(dbPath))
        return false;
    // The database under its temporary name is the whole data; the compacted copy comes
    // second (it may be one that was never finished).
    for (const QString &name : {QStringLiteral("Tmp.mdb"), QStringLiteral("Tarv.mdb")}) {
        const QString candidate = Sibling(dbPath, name);
        if (!fsys::FileExists(candidate))
            continue;
        const Contents c = ReadContents(candidate);
        if (!c.ok || !c.rows.contains(QStringLiteral("tblusers")))
            continue;
        if (fsys::MoveFile(candidate, dbPath)) {
            fsys::SyncFile(dbPath);
            return true;
        }
    }
    return false;
}

void InstallSessionEndHandlers()
{
    static bool installed = false;
    if (installed || !qApp)
        return;
    installed = true;

    // The end of the desktop session: nobody is there to answer a question.
    if (auto *gui = qobject_cast<QGuiApplication *>(qApp))
        QObject::connect(gui, &QGuiApplication::commitDataRequest, gui, [](QSessionManager &) { ShutDown(false); });
    // The event loop is told to quit by someone else than the shutdown.
    QObject::connect(qApp, &QCoreApplication::aboutToQuit, qApp, [] { ShutDown(false); });

    // SIGTERM and SIGHUP reach the window thread through a pipe.
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, g_signalPipe) != 0)
        return;
    auto *notifier = new QSocketNotifier(g_signalPipe[1], QSocketNotifier::Read, qApp);
    QObject::connect(notifier, &QSocketNotifier::activated, qApp, [] {
        char c = 0;
        [[maybe_unused]] const ssize_t n = ::read(g_signalPipe[1], &c, 1);
        ShutDown(false);
    });
    struct sigaction sa {};
    sa.sa_handler = OnTerminationSignal;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESTART;
    ::sigaction(SIGTERM, &sa, nullptr);
    ::sigaction(SIGHUP, &sa, nullptr);
}

} // namespace modMain
