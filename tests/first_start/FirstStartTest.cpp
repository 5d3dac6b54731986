// The first start of the real program (build/bin/TarveloPC) from a fresh program folder, on
// the offscreen platform, with the designed pauses shortened (TARV_PAUSE_MS) but kept: the
// database creation takes its eleven steps, the sign-in window shows them. The program is
// killed (SIGKILL) at moments spread over the whole creation and started again; the second
// start must always end with the complete database and the sign-in window. A termination
// signal during the creation ends the program within a pause.
#include "core/modMain.h"
#include "platform/dao/dao.h"
#include "store/modDBchr.h"
#include "tests/support/TestEnv.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QThread>

#include <gtest/gtest.h>

#include <csignal>
#include <functional>
#include <iostream>

namespace {

struct Schema {
    bool opened = false;
    int tables = 0;
    int indexes = 0;
    QString error;
};

// The tables and indexes of the database file, read with a connection of its own.
Schema ReadSchema(const QString &path)
{
    Schema s;
    try {
        auto db = dao::OpenDatabase(path, modDBchr::DBConnect());
        const QStringList tables = db->TableNames();
        s.tables = int(tables.size());
        for (const QString &t : tables)
            s.indexes += int(db->ReadTableDef(t)->Indexes().size());
        db->Close();
        s.opened = true;
    } catch (const dao::DaoError &e) {
        s.error = e.Description();
    }
    return s;
}

class FirstStart : public ::testing::Test {
protected:
    void SetUp() override { root = testenv::MakeTempDir(QStringLiteral("first")); }
    void TearDown() override
    {
        if (program && program->state() != QProcess::NotRunning) {
            program->kill();
            program->waitForFinished(5000);
        }
    }

    // A fresh program folder with the string table, as the build leaves it beside the program.
    QString NewFolder()
    {
        const QString dir = root + QStringLiteral("/run%1").arg(++runs);
        EXPECT_TRUE(QDir().mkpath(dir));
        EXPECT_TRUE(QFile::copy(QStringLiteral(TARV_BIN_DIR "/StringTables.csv"), dir + QStringLiteral("/StringTables.csv")));
        return dir;
    }

    void Start(const QString &dir, int pauseMs)
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove(QStringLiteral("TARV_NO_PAUSES"));
        env.remove(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"));
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("TARV_PROGRAM_DIR"), dir);
        env.insert(QStringLiteral("TARV_LOGON_NAME"), QStringLiteral("maria"));
        env.insert(QStringLiteral("TARV_ONLINE"), QStringLiteral("0"));
        env.insert(QStringLiteral("TARV_PAUSE_MS"), QString::number(pauseMs));
        env.insert(QStringLiteral("TARV_UI_MAP"), dir + QStringLiteral("/ui.map"));
        QFile::remove(dir + QStringLiteral("/ui.map"));
        program = std::make_unique<QProcess>();
        program->setProcessEnvironment(env);
        program->setProcessChannelMode(QProcess::MergedChannels);
        program->start(QStringLiteral(TARV_BIN_DIR "/TarveloPC"), {});
        ASSERT_TRUE(program->waitForStarted(10000)) << program->errorString().toStdString();
    }

    // The sign-in window stands with its leave button enabled: start-up is over.
    static bool SignInShown(const QString &dir)
    {
        QFile f(dir + QStringLiteral("/ui.map"));
        if (!f.open(QIODevice::ReadOnly))
            return false;
        bool window = false, button = false;
        for (const QByteArray &raw : f.readAll().split('\n')) {
            const QList<QByteArray> cells = raw.split('\t');
            if (cells.size() < 8)
                continue;
            if (cells[0] == "window" && cells[1] == "frmLogin")
                window = true;
            if (cells[1].startsWith("frmLogin/") && cells[1].endsWith("/btn_1") && cells[7] == "1")
                button = true;
        }
        return window && button;
    }

    static bool PollUntil(const std::function<bool()> &pred, int timeoutMs, int stepMs = 5)
    {
        QElapsedTimer t;
        t.start();
        while (!pred()) {
            if (t.elapsed() > timeoutMs)
                return false;
            QThread::msleep(stepMs);
        }
        return true;
    }

    static QStringList Files(const QString &dir, const QString &pattern)
    {
        return QDir(dir).entryList({pattern}, QDir::Files | QDir::Hidden);
    }

    // Ends the program the way the system ends a session and waits for it.
    void Terminate()
    {
        ::kill(pid_t(program->processId()), SIGTERM);
        ASSERT_TRUE(program->waitForFinished(20000)) << "the program did not end on SIGTERM";
        EXPECT_EQ(program->exitStatus(), QProcess::NormalExit) << program->readAll().toStdString();
        EXPECT_EQ(program->exitCode(), 0);
    }

    void KillHard()
    {
        program->kill();   // SIGKILL
        ASSERT_TRUE(program->waitForFinished(10000));
    }

    QString root;
    int runs = 0;
    std::unique_ptr<QProcess> program;
};

constexpr int kPauseMs = 80;

TEST_F(FirstStart, AKillAtAnyMomentOfTheCreationLeavesNoDatabaseOrAWholeOne)
{
    // One start without interruption: how long the creation runs, from the working file's
    // appearance to the database's.
    qint64 creationMs = 0;
    {
        const QString dir = NewFolder();
        const QString db = dir + QStringLiteral("/Tarv.crn");
        Start(dir, kPauseMs);
        ASSERT_TRUE(PollUntil([&] { return QFile::exists(db + QStringLiteral(".creating")); }, 30000));
        QElapsedTimer t;
        t.start();
        ASSERT_TRUE(PollUntil([&] { return QFile::exists(db); }, 60000));
        creationMs = t.elapsed();
        ASSERT_TRUE(PollUntil([&] { return SignInShown(dir); }, 30000));
        Terminate();
        const Schema s = ReadSchema(db);
        EXPECT_EQ(s.tables, 10);
        EXPECT_EQ(s.indexes, 25);
    }
    ASSERT_GT(creationMs, 5 * kPauseMs) << "the creation's pauses were not kept";

    // Kills from the moment the working file appears to the creation's end, and after it.
    constexpr int kKills = 20;
    int midCreation = 0, afterCreation = 0;
    for (int i = 0; i < kKills; ++i) {
        SCOPED_TRACE(i);
        const QString dir = NewFolder();
        const QString db = dir + QStringLiteral("/Tarv.crn");
        Start(dir, kPauseMs);
        ASSERT_TRUE(PollUntil([&] { return QFile::exists(db + QStringLiteral(".creating")); }, 30000));
        if (i < kKills - 2) {
            QThread::msleep(static_cast<unsigned long>(creationMs * i / (kKills - 2)));
        } else {
            // The last two: the moment the database took its name, and once the sign-in
            // window stands (the machine's load moves the moments above, not these).
            ASSERT_TRUE(PollUntil([&] { return QFile::exists(db); }, 60000));
            if (i == kKills - 1)
                ASSERT_TRUE(PollUntil([&] { return SignInShown(dir); }, 60000));
        }
        KillHard();

        // Right after the kill: no database, or a whole one; never one put aside.
        if (QFile::exists(db)) {
            ++afterCreation;
            const Schema s = ReadSchema(db);
            EXPECT_TRUE(s.opened) << s.error.toStdString();
            EXPECT_EQ(s.tables, 10);
            EXPECT_EQ(s.indexes, 25);
        } else {
            ++midCreation;
        }

        // The second start ends with the whole database and the sign-in window.
        Start(dir, kPauseMs);
        ASSERT_TRUE(PollUntil([&] { return SignInShown(dir); }, 60000))
            << "no sign-in window; the program printed:\n" << program->readAll().toStdString();
        Terminate();
        const Schema s = ReadSchema(db);
        EXPECT_TRUE(s.opened) << s.error.toStdString();
        EXPECT_EQ(s.tables, 10);
        EXPECT_EQ(s.indexes, 25);
        EXPECT_TRUE(Files(dir, QStringLiteral("Tarv.crn.unreadable-*")).isEmpty()) << "a database was put aside";
        EXPECT_TRUE(Files(dir, QStringLiteral("*.creating*")).isEmpty());
    }
    std::cout << "killed during the creation: " << midCreation << ", after it: " << afterCreation << "\n";
    EXPECT_GE(midCreation, kKills / 2) << "the kills missed the creation";
    EXPECT_GE(afterCreation, 2);
}

TEST_F(FirstStart, ATerminationSignalDuringTheCreationEndsTheProgramWithinAPause)
{
    // Long pauses: the creation would run on for seconds after the signal.
    constexpr int kLongPauseMs = 400;
    const QString dir = NewFolder();
    const QString db = dir + QStringLiteral("/Tarv.crn");
    Start(dir, kLongPauseMs);
    ASSERT_TRUE(PollUntil([&] { return QFile::exists(db + QStringLiteral(".creating")); }, 30000));
    QThread::msleep(2 * kLongPauseMs);
    QElapsedTimer t;
    t.start();
    Terminate();
    EXPECT_LT(t.elapsed(), 3 * kLongPauseMs) << "the signal waited for the creation";
    EXPECT_FALSE(QFile::exists(db));

    // The next start builds the database whole.
    Start(dir, kPauseMs);
    ASSERT_TRUE(PollUntil([&] { return SignInShown(dir); }, 60000));
    Terminate();
    const Schema s = ReadSchema(db);
    EXPECT_EQ(s.tables, 10);
    EXPECT_EQ(s.indexes, 25);
}

} // namespace
