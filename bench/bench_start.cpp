// Timing tool for the second start of the day: prepares a program folder with a database and
// a known person's profile, then starts the real program several times (offscreen) and
// reports, from the program's start log (TARV_START_LOG):
//   process start -> splash shown,  splash closed -> timers window shown,
// and the resident memory once the timers window is up.
//
//   bench_start [runs] [path of TarveloPC]
#include "core/modMain.h"
#include "platform/dao/dao.h"
#include "store/modDBchr.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <ctime>
#include <spawn.h>
#include <sys/wait.h>
#include <vector>

extern char **environ;

namespace {

qint64 NowNs()
{
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return qint64(ts.tv_sec) * 1000000000LL + ts.tv_nsec;
}

long RssKb(pid_t pid)
{
    QFile f(QStringLiteral("/proc/%1/status").arg(pid));
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : f.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    return -1;
}

bool Prepare(const QString &programDir)
{
    using namespace modMain;
    if (modDBchr::CreateDB(programDir + QStringLiteral("/Tarv.crn")) != 0)
        return false;
    SetDefaultSettings();
    PCUserName = QStringLiteral("bench");
    UserFullName = QStringLiteral("Bench Person");
    StoredUserName = QStringLiteral("x");
    StoredPassword = QStringLiteral("x");
    LangID = 0;
    AutoStart = 0;
    CurrentUserID = modDBchr::CreateUser();
    SaveSettings();
    DB->Close();
    DB.reset();
    return CurrentUserID > 0;
}

double Median(std::vector<double> v)
{
    if (v.empty())
        return -1;
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

int main(int argc, char **argv)
{
    QTemporaryDir root;
    const QString programDir = root.path() + QStringLiteral("/prog");
    const QString configDir = root.path() + QStringLiteral("/config");
    const QString runtimeDir = root.path() + QStringLiteral("/run");
    QDir().mkpath(programDir);
    QDir().mkpath(configDir);
    QDir().mkpath(runtimeDir);
    qputenv("XDG_CONFIG_HOME", configDir.toLocal8Bit());
    qputenv("XDG_RUNTIME_DIR", runtimeDir.toLocal8Bit());
    qputenv("TARV_PROGRAM_DIR", programDir.toLocal8Bit());
    qputenv("TARV_NO_PAUSES", "1");
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 5;
    const QByteArray program = argc > 2 ? QByteArray(argv[2]) : QByteArray(TARV_PROGRAM_BINARY);
    QFile::copy(QStringLiteral(TARV_PROGRAM_DATA "/StringTables.csv"), programDir + QStringLiteral("/StringTables.csv"));
    if (!Prepare(programDir)) {
        std::fprintf(stderr, "could not prepare the program folder\n");
        return 1;
    }
    qputenv("TARV_NO_PAUSES", "0");
    qputenv("TARV_LOGON_NAME", "bench");
    qputenv("TARV_ONLINE", "0");

    std::vector<double> toSplash, toTimers, rss;
    for (int i = 0; i < runs; ++i) {
        const QString log = root.path() + QStringLiteral("/start-%1.log").arg(i);
        qputenv("TARV_START_LOG", log.toLocal8Bit());
        char *args[] = {const_cast<char *>(program.constData()), nullptr};
        pid_t pid = 0;
        const qint64 started = NowNs();
        if (posix_spawn(&pid, program.constData(), nullptr, nullptr, args, environ) != 0) {
            std::fprintf(stderr, "cannot start %s\n", program.constData());
            return 1;
        }
        QElapsedTimer wait;
        wait.start();
        qint64 splashShown = 0, splashClosed = 0, timersShown = 0;
        while (wait.elapsed() < 30000 && !timersShown) {
            QThread::msleep(20);
            QFile f(log);
            if (!f.open(QIODevice::ReadOnly))
                continue;
            for (const QByteArray &line : f.readAll().split('\n')) {
                const QList<QByteArray> p = line.split(' ');
                if (p.size() != 2)
                    continue;
                const qint64 t = p[1].toLongLong();
                if (p[0] == "splash-shown" && !splashShown)
                    splashShown = t;
                else if (p[0] == "splash-closed" && !splashClosed)
                    splashClosed = t;
                else if (p[0] == "timers-shown" && !timersShown)
                    timersShown = t;
            }
        }
        QThread::msleep(1000);
        const long kb = RssKb(pid);
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
        if (!splashShown || !timersShown) {
            std::fprintf(stderr, "run %d: the program did not reach the timers window\n", i + 1);
            return 1;
        }
        toSplash.push_back((splashShown - started) / 1e6);
        // The timers window waits for the splash; without a close event count from its show.
        const qint64 from = splashClosed ? splashClosed : splashShown;
        toTimers.push_back(std::max<qint64>(0, timersShown - from) / 1e6);
        rss.push_back(kb / 1024.0);
        std::printf("run %d: start -> splash %.1f ms, splash closed -> timers window %.1f ms, memory %.1f MB\n", i + 1,
                    toSplash.back(), toTimers.back(), rss.back());
    }
    std::printf("median of %d runs: start -> splash %.1f ms, splash closed -> timers window %.1f ms, resident memory %.1f MB\n",
                runs, Median(toSplash), Median(toTimers), Median(rss));
    return 0;
}
