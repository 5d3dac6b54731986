// The display tick while a timer runs: what it costs and that it writes nothing.
#include "tests/recorder/RecorderFixture.h"

#include "core/modMain.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QEventLoop>
#include <QPushButton>
#include <QTimer>

#include <ctime>

using namespace modMain;
using namespace rectest;
using C = frmStart;

namespace {

double CpuSeconds()
{
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return ts.tv_sec + ts.tv_nsec / 1e9;
}

struct FileState {
    qint64 size = -1;
    QDateTime modified;
    bool operator==(const FileState &o) const { return size == o.size && modified == o.modified; }
};

FileState StateOf(const QString &path)
{
    QFileInfo fi(path);
    if (!fi.exists())
        return {};
    return {fi.size(), fi.lastModified()};
}

} // namespace

class TickCost : public RecorderTest {};

TEST_F(TickCost, AMinuteOfARunningTimerCostsUnderOnePercentOfACoreAndWritesNothing)
{
    SetTimerClock({});   // the real clock
    AddMeetings();
    ClickRow(0);
    Click(w->btnStart);
    ASSERT_TRUE(w->tmr->isActive());
    QApplication::processEvents();

    const QString db = m_dir + "/Tarv.crn";
    const FileState file = StateOf(db), wal = StateOf(db + "-wal");
    const size_t entries = Entries().size();
    int ticks = 0;
    QObject::connect(w->tmr, &QTimer::timeout, [&] { ++ticks; });

    const double cpu0 = CpuSeconds();
    QElapsedTimer wall;
    wall.start();
    QEventLoop loop;
    QTimer::singleShot(60000, Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec();
    const double cpu = CpuSeconds() - cpu0;
    const double share = cpu / (wall.elapsed() / 1000.0);
    RecordProperty("cpu_seconds", QString::number(cpu, 'f', 3).toStdString());
    std::printf("display tick: %d ticks, %.3f s CPU in %.1f s (%.3f%% of one core)\n", ticks, cpu,
                wall.elapsed() / 1000.0, share * 100);

    EXPECT_GE(ticks, 110);
    EXPECT_LT(share, 0.01);
    EXPECT_GE(Cell(0, C::colSecs).toInt(), 59);
    EXPECT_EQ(Entries().size(), entries);
    EXPECT_TRUE(StateOf(db) == file);
    EXPECT_TRUE(StateOf(db + "-wal") == wal);
}
