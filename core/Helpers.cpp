#include "core/modMain.h"

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

} // namespace modMain
