// The pauses of long work and the busy pointer of a progress display.
#include "core/Progress.h"

#include "core/modMain.h"

#include <QApplication>
#include <QEventLoop>
#include <QTimer>

#include <chrono>

namespace modMain {

namespace {
bool g_ending = false;
} // namespace

void Progress::SetBusy(bool busy)
{
    if (!qApp)
        return;
    if (busy)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

void PauseSecs(double secs)
{
    using clock = std::chrono::steady_clock;
    const auto until = PauseEnd(secs);
    if (!qApp) {
        WaitSecs(secs);
        return;
    }
    // A loop of its own that takes no input: the signal pipe and the session manager are
    // socket notifiers, painting comes as window-system and posted events. A shutdown that
    // runs in here ends the process (or, in tests, comes back with ProgramEnding set).
    while (!g_ending) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(until - clock::now()).count();
        if (left <= 0)
            break;
        QEventLoop loop;
        QTimer::singleShot(int(left), Qt::PreciseTimer, &loop, &QEventLoop::quit);
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    }
}

bool ProgramEnding()
{
    return g_ending;
}

void SetProgramEnding(bool ending)
{
    g_ending = ending;
}

} // namespace modMain
