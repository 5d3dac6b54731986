// The compaction of the database file at exit and the recovery of an interrupted one at start:
// whatever fails and wherever the process dies, the data stays reachable under "Tarv.crn".
#include "tests/shutdown/ShutFixture.h"

#include "core/modMain.h"
#include "platform/dao/dao.h"
#include "platform/fs/FileSystem.h"
#include "store/modDBchr.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QThread>

#include <csignal>

using namespace modMain;
using shuttest::Bytes;
using shuttest::CountRows;
using shuttest::FilesIn;

namespace {

class Compaction : public shuttest::ProgramFolderTest {
protected:
    // A database of `entries` rows, half of them deleted again, so that there is free space
    // to drop; closed.
    void MakeClosedDatabase(int entries = 400)
    {
        shuttest::MakeDatabase(dir, entries);
        DB->Execute(QStringLiteral("DELETE FROM tblDaily WHERE cID > ?"), 0, {entries / 2});
        kept = entries / 2;
        CloseDb();
    }
    // Runs the child program; returns its exit status (-1 when it was killed).
    int RunChild(const QStringList &args, QByteArray *out = nullptr)
    {
        QProcess p;
        p.start(QStringLiteral(SHUTDOWN_CHILD), args);
        EXPECT_TRUE(p.waitForFinished(60000));
        if (out)
            *out = p.readAllStandardOutput();
        return p.exitStatus() == QProcess::CrashExit ? -1 : p.exitCode();
    }
    // What the next start does before it opens the database, then the opening itself.
    int NextStartRows()
    {
        RecoverInterruptedCompaction(Db());
        if (modDBchr::OpenDB(Db()) != 0)
            return -1;
        CloseDb();
        return CountRows(Db());
    }
    int kept = 0;
};

TEST_F(Compaction, CompactsInPlaceKeepingEveryRowAndLeavesOnlyTheDatabase)
{
    MakeClosedDatabase();
    fsys::SetAttributes(Db(), fsys::Hidden);
    const qint64 before = QFileInfo(Db()).size();

    ASSERT_TRUE(CompactDatabaseFile(Db()));

    EXPECT_EQ(FilesIn(dir), QStringList{QStringLiteral("Tarv.crn")});
    EXPECT_LT(QFileInfo(Db()).size(), before);
    EXPECT_EQ(fsys::GetAttributes(Db()), fsys::Normal);
    // The copy kept the password, the rows and the texts with their quotes.
    ASSERT_EQ(CountRows(Db()), kept);
    ASSERT_EQ(modDBchr::OpenDB(Db()), 0);
    auto rs = DB->OpenRecordset(QStringLiteral("SELECT cName FROM tblDaily WHERE cID = 7"), dao::dbOpenSnapshot);
    EXPECT_EQ(rs->Value(0).toString(), QStringLiteral("Meeting's notes 7"));
}

TEST_F(Compaction, AFailureAtAnyStepLeavesTheDatabaseAsItWas)
{
    MakeClosedDatabase();
    const QByteArray original = Bytes(Db());
    for (int failAt : {csRemoveOldCopy, csCompact, csVerify, csFlush, csReplace}) {
        SCOPED_TRACE(failAt);
        std::vector<int> seen;
        EXPECT_FALSE(CompactDatabaseFile(Db(), [&](int step) {
            seen.push_back(step);
            return step != failAt;
        }));
        // The steps ran in their order up to the one that failed, and nothing after it.
        ASSERT_EQ(int(seen.size()), failAt);
        for (int i = 0; i < failAt; ++i)
            EXPECT_EQ(seen[i], i + 1);
        EXPECT_EQ(FilesIn(dir), QStringList{QStringLiteral("Tarv.crn")});
        EXPECT_EQ(Bytes(Db()), original);
    }
    EXPECT_EQ(NextStartRows(), kept);
}

TEST_F(Compaction, ACopyThatIsNotCompleteNeverReplacesTheDatabase)
{
    MakeClosedDatabase();
    const QByteArray original = Bytes(Db());
    // Right after the copy is made, rows vanish from it (as a copy cut short would lose them).
    EXPECT_FALSE(CompactDatabaseFile(Db(), [&](int step) {
        if (step == csVerify) {
            auto copy = dao::OpenDatabase(In("Tarv.mdb"), modDBchr::DBConnect());
            copy->Execute(QStringLiteral("DELETE FROM tblDaily WHERE cID = 3"));
            copy->Close();
        }
        return true;
    }));
    EXPECT_EQ(Bytes(Db()), original);
    EXPECT_EQ(FilesIn(dir), QStringList{QStringLiteral("Tarv.crn")});

    // A copy that is not a database of ours at all.
    EXPECT_FALSE(CompactDatabaseFile(Db(), [&](int step) {
        if (step == csVerify) {
            QFile f(In("Tarv.mdb"));
            EXPECT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
            f.write(QByteArray(4096, 'x'));
        }
        return true;
    }));
    EXPECT_EQ(Bytes(Db()), original);
    EXPECT_EQ(FilesIn(dir), QStringList{QStringLiteral("Tarv.crn")});
}

TEST_F(Compaction, ACopyLeftByAnEarlierRunIsReplacedAndAForeignFileIsLeftAlone)
{
    MakeClosedDatabase();
    QFile stale(In("Tarv.mdb"));
    ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
    stale.write("half a copy");
    stale.close();
    EXPECT_TRUE(CompactDatabaseFile(Db()));
    EXPECT_EQ(FilesIn(dir), QStringList{QStringLiteral("Tarv.crn")});
    EXPECT_EQ(CountRows(Db()), kept);

    // A "Tarv.crn" that is not the database (another password, or no database at all) is not
    // touched, and neither is a missing one.
    QFile::remove(Db());
    EXPECT_FALSE(CompactDatabaseFile(Db()));
    QFile junk(Db());
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write(QByteArray(8192, '\0'));
    junk.close();
    EXPECT_FALSE(CompactDatabaseFile(Db()));
    EXPECT_EQ(Bytes(Db()), QByteArray(8192, '\0'));
    EXPECT_EQ(FilesIn(dir), QStringList{QStringLiteral("Tarv.crn")});
}

TEST_F(Compaction, AProcessKilledAtAnyStepLosesNothing)
{
    MakeClosedDatabase();
    for (int killAt : {csRemoveOldCopy, csCompact, csVerify, csFlush, csReplace}) {
        SCOPED_TRACE(killAt);
        EXPECT_EQ(RunChild({QStringLiteral("compact"), Db(), QString::number(killAt)}), -1);
        EXPECT_TRUE(fsys::FileExists(Db()));
        EXPECT_EQ(NextStartRows(), kept);
    }
    // The next exit is a normal one again: only the database stays.
    QByteArray out;
    EXPECT_EQ(RunChild({QStringLiteral("compact"), Db(), QStringLiteral("0")}, &out), 0);
    EXPECT_EQ(out.trimmed(), QByteArray("compacted"));
    EXPECT_EQ(FilesIn(dir), QStringList{QStringLiteral("Tarv.crn")});
    EXPECT_EQ(NextStartRows(), kept);
}

TEST_F(Compaction, AProcessKilledWhileTheCopyIsWrittenLosesNothing)
{
    // Large enough that the copy takes a while to write.
    shuttest::MakeDatabase(dir, 0);
    DB->Execute(QStringLiteral("INSERT INTO tblDailyComments (cID, cComments, cUsrID) VALUES (1, ?, 1)"), 0,
                {QString(60000, QLatin1Char('c'))});
    for (int i = 1; i <= 6000; ++i)
        DB->Execute(QStringLiteral("INSERT INTO tblDaily (cName, cID, cUsrID, cStarted, cStarttime, cSec, cDate, "
                                   "cTaskID, cCatID, cChk) VALUES (?, ?, 1, 0, 0, 60, 20260310, 100, 1000, 0)"),
                    0, {QStringLiteral("entry %1 ").arg(i).repeated(4), i});
    CloseDb();
    QProcess p;
    p.start(QStringLiteral(SHUTDOWN_CHILD), {QStringLiteral("compact"), Db(), QStringLiteral("0")});
    ASSERT_TRUE(p.waitForStarted());
    // Killed as soon as the copy shows up (or wherever the child is by then).
    for (int i = 0; i < 2000 && p.state() == QProcess::Running && !QFileInfo::exists(In("Tarv.mdb")); ++i)
        QThread::usleep(500);
    ::kill(pid_t(p.processId()), SIGKILL);
    p.waitForFinished(30000);
    EXPECT_EQ(NextStartRows(), 6000);
    EXPECT_TRUE(CompactDatabaseFile(Db()));
    EXPECT_EQ(FilesIn(dir), QStringList{QStringLiteral("Tarv.crn")});
}

struct Leftovers {
    const char *name;
    bool tmp;         // "Tmp.mdb": the database under its temporary name, whole
    bool copy;        // "Tarv.mdb": its compacted copy, whole
    bool tmpBroken;   // "Tmp.mdb" is there but does not open
    bool restored;
    int rows;         // rows found at the next start
};

TEST_F(Compaction, TheNextStartBringsBackWhatAnInterruptedCompactionLeft)
{
    const Leftovers cases[] = {
        {"only the temporary name", true, false, false, true, 5},
        {"only the finished copy", false, true, false, true, 4},
        {"both: the temporary name wins", true, true, false, true, 5},
        {"an unreadable temporary name and a good copy", false, true, true, true, 4},
        {"nothing usable", false, false, true, false, -1},
    };
    for (const Leftovers &c : cases) {
        SCOPED_TRACE(c.name);
        for (const QString &f : FilesIn(dir))
            QFile::remove(In(f));
        // The copy holds 4 rows, the database under its temporary name 5.
        if (c.copy) {
            shuttest::MakeDatabase(dir, 4);
            CloseDb();
            ASSERT_TRUE(QFile::rename(Db(), In("Tarv.mdb")));
        }
        if (c.tmp) {
            shuttest::MakeDatabase(dir, 5);
            CloseDb();
            ASSERT_TRUE(QFile::rename(Db(), In("Tmp.mdb")));
        }
        if (c.tmpBroken) {
            QFile f(In("Tmp.mdb"));
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.write(QByteArray(4096, 'x'));
        }
        EXPECT_EQ(RecoverInterruptedCompaction(Db()), c.restored);
        EXPECT_EQ(CountRows(Db()), c.rows);
        if (!c.restored) {
            EXPECT_FALSE(fsys::FileExists(Db()));
        }
    }
}

TEST_F(Compaction, AStartWithTheDatabaseInPlaceTouchesNothing)
{
    shuttest::MakeDatabase(dir, 3);
    CloseDb();
    ASSERT_TRUE(QFile::copy(Db(), In("Tmp.mdb")));
    const QByteArray original = Bytes(Db());
    EXPECT_FALSE(RecoverInterruptedCompaction(Db()));
    EXPECT_EQ(Bytes(Db()), original);
    EXPECT_EQ(FilesIn(dir), (QStringList{QStringLiteral("Tarv.crn"), QStringLiteral("Tmp.mdb")}));
}

} // namespace
