#include "platform/forms/TopWindow.h"

#include "platform/x11/X11.h"

#include <QWidget>
#include <QWindow>

#include <xcb/xcb.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>

namespace forms {
namespace {

// WM_HINTS as nine 32-bit fields; the ones used here.
constexpr uint32_t kStateHint = 1u << 1;   // flags bit: initial_state is set
constexpr uint32_t kNormalState = 1;
constexpr int kFlags = 0;
constexpr int kInitialState = 2;
constexpr int kFields = 9;

void HintNormalState(QWidget *top)
{
    xcb_connection_t *c = x11::Connection();
    if (!c || !top->windowHandle())
        return;
    const auto win = static_cast<xcb_window_t>(top->winId());
    std::array<uint32_t, kFields> hints{};
    xcb_get_property_reply_t *reply = xcb_get_property_reply(
        c, xcb_get_property(c, 0, win, XCB_ATOM_WM_HINTS, XCB_ATOM_WM_HINTS, 0, kFields), nullptr);
    if (reply) {
        if (reply->format == 32) {
            const int n = std::min(xcb_get_property_value_length(reply) / 4, kFields);
            std::memcpy(hints.data(), xcb_get_property_value(reply), size_t(n) * 4);
        }
        std::free(reply);
    }
    hints[kFlags] |= kStateHint;
    hints[kInitialState] = kNormalState;
    // On the toolkit's own connection: the server sees it before the toolkit's map request.
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, win, XCB_ATOM_WM_HINTS, XCB_ATOM_WM_HINTS, 32,
                        kFields, hints.data());
}

}

void ShowNormal(QWidget *top)
{
    if (!top)
        return;
    const Qt::WindowStates state = top->windowState();
    if (!top->isVisible() && (state & Qt::WindowMinimized))
        HintNormalState(top);
    top->setWindowState(state & ~(Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen));
    top->show();
}

}
