#include "core/modMain.h"

#include <QWidget>

#include <chrono>
#include <thread>

namespace modMain {

void WaitSecs(double secs)
{
    // Tests and benchmarks shorten the designed pauses with TARV_NO_PAUSES=1.
    static const bool noPauses = qEnvironmentVariableIntValue("TARV_NO_PAUSES") == 1;
    if (noPauses || secs <= 0)
        return;
    std::this_thread::sleep_for(std::chrono::duration<double>(secs));
}

void MakeLayered(QWidget *window)
{
    // Every top-level Qt window can change its opacity: nothing to prepare.
    (void)window;
}

void SetAlpha(QWidget *window, uint8_t alpha)
{
    if (window)
        window->setWindowOpacity(alpha / 255.0);
}

} // namespace modMain
