#pragma once
// Hooks a window so that its messages go to an IHookSink first (the sink decides what the
// window itself still sees). On Qt a hook is an event filter on the widget; hooks on one
// window stack, the latest first.
#include "recorder/IHookSink.h"

#include <QtGlobal>

class QWidget;

namespace MHookMe {

// The window's messages go to sink from now on; the window keeps the sink's identity in its
// property "ObjectPointer". Hooking the same sink twice on one window changes nothing.
void HookWindow(QWidget *hwnd, IHookSink *sink);

// Takes sink's hook off the window (the latest hook when sink is null); the property stays.
void UnhookWindow(QWidget *hwnd, IHookSink *sink = nullptr);

// Passes the message being handled on to the window's own handling; returns 0 (Qt hands the
// event on once the hook returns, so its result is not known here).
long CallOldWindowProc(QWidget *hwnd, unsigned uMsg, quintptr wParam, qintptr lParam);

} // namespace MHookMe
