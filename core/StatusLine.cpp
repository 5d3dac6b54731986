// The status line as the services see it: a text goes to whatever line the main window handed
// in, and nowhere while it is not loaded.
#include "core/modMain.h"

namespace modMain {

namespace {
std::function<void(const QString &)> g_statusLine;
} // namespace

void SetStatusLine(std::function<void(const QString &text)> line)
{
    g_statusLine = std::move(line);
}

void SetStatus(int16_t id, const QString &suffix)
{
    if (!g_statusLine)
        return;
    g_statusLine(id < 0 ? QString() : QStringLiteral(" ") + GetLangString(id, true) + suffix);
}

void SetStatusText(const QString &text)
{
    if (g_statusLine)
        g_statusLine(text.isEmpty() ? QString() : QStringLiteral(" ") + text);
}

} // namespace modMain
