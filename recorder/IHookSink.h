#pragma once
// An object that receives the messages of a window it has hooked (MHookMe::HookWindow).
//
// Messages: WM_HOTKEY (786) carries the hot key's id in wParam and, in lParam, the MOD_*
// modifiers in the low word and the virtual-key code in the high word. Every other event of
// the window comes as HookQtEvent + its QEvent type, with the QEvent's address in wParam.
// A message reaches the window's own handling only when the sink passes it on with
// MHookMe::CallOldWindowProc.
#include <QtGlobal>

class QWidget;

class IHookSink {
public:
    static constexpr unsigned HookQtEvent = 0x10000;

    virtual ~IHookSink() = default;
    virtual long WindowProc(QWidget *hwnd, unsigned uMsg, quintptr wParam, qintptr lParam)
    {
        return 0;
    }
};
