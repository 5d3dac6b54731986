#include "core/RequestGuard.h"

namespace {

int g_requests = 0;   // requests in flight (0 or 1)
int g_commands = 0;   // commands under way (0 or 1)

} // namespace

RequestBusy *RequestGuard::Notifier()
{
    static RequestBusy notifier;
    return &notifier;
}

bool RequestGuard::Busy()
{
    return g_requests > 0 || g_commands > 0;
}

bool RequestGuard::InFlight()
{
    return g_requests > 0;
}

RequestGuard::RequestGuard(Scope scope) : m_scope(scope)
{
    const bool wasBusy = Busy();
    if (scope == Request) {
        // Requests of one command follow each other; only one may be in flight.
        if (g_requests > 0)
            return;
        ++g_requests;
    } else {
        if (wasBusy)
            return;
        ++g_commands;
    }
    m_held = true;
    if (!wasBusy)
        emit Notifier()->BusyChanged(true);
}

RequestGuard::~RequestGuard()
{
    if (!m_held)
        return;
    if (m_scope == Request)
        --g_requests;
    else
        --g_commands;
    if (!Busy())
        emit Notifier()->BusyChanged(false);
}
