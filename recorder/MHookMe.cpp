#include "recorder/MHookMe.h"

#include "platform/hotkey/HotKey.h"

#include <QEvent>
#include <QPointer>
#include <QVariant>
#include <QWidget>

namespace MHookMe {
namespace {

const char *const HookName = "MHookMe";

// The message a hook is handling right now; CallOldWindowProc marks it as passed on.
struct Dispatch {
    QWidget *hwnd;
    bool passedOn;
};
thread_local Dispatch *t_current = nullptr;

class HookFilter : public QObject {
public:
    HookFilter(QWidget *hwnd, IHookSink *sink) : QObject(hwnd), m_hwnd(hwnd), m_sink(sink)
    {
        setObjectName(QString::fromLatin1(HookName));
    }
    IHookSink *sink() const { return m_sink; }
    void Detach() { m_sink = nullptr; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched != m_hwnd || !m_sink || !m_hwnd)
            return false;
        unsigned uMsg;
        quintptr wParam;
        qintptr lParam = 0;
        if (event->type() == hotkey::HotKeyEventType()) {
            auto *hk = static_cast<hotkey::HotKeyEvent *>(event);
            uMsg = hotkey::WM_HOTKEY;
            wParam = static_cast<quintptr>(static_cast<qintptr>(hk->id()));
            lParam = static_cast<qintptr>((hk->vKey() << 16) | (hk->modifiers() & 0xffff));
        } else {
            uMsg = IHookSink::HookQtEvent + static_cast<unsigned>(event->type());
            wParam = reinterpret_cast<quintptr>(event);
        }
        return !HookWndProc(uMsg, wParam, lParam);
    }

private:
    // Runs the sink on one message; true when the window shall still handle it.
    bool HookWndProc(unsigned uMsg, quintptr wParam, qintptr lParam)
    {
        Dispatch frame{m_hwnd.data(), false};
        Dispatch *outer = t_current;
        t_current = &frame;
        QWidget *hwnd = m_hwnd.data();
        try {
            m_sink->WindowProc(hwnd, uMsg, wParam, lParam);
        } catch (...) {
            // A failing sink loses its hook; the window carries on by itself.
            frame.passedOn = true;
            UnhookWindow(hwnd, m_sink);
        }
        t_current = outer;
        return frame.passedOn;
    }

    QPointer<QWidget> m_hwnd;
    IHookSink *m_sink;
};

HookFilter *FindHook(QWidget *hwnd, IHookSink *sink)
{
    // Children come in creation order: the last match is the latest hook.
    HookFilter *found = nullptr;
    for (QObject *child : hwnd->children()) {
        auto *hook = dynamic_cast<HookFilter *>(child);
        if (hook && hook->sink() && (!sink || hook->sink() == sink))
            found = hook;
    }
    return found;
}

} // namespace

void HookWindow(QWidget *hwnd, IHookSink *sink)
{
    if (!hwnd || !sink || FindHook(hwnd, sink))
        return;
    hwnd->setProperty("ObjectPointer", QVariant::fromValue(reinterpret_cast<quintptr>(sink)));
    hwnd->installEventFilter(new HookFilter(hwnd, sink));
}

void UnhookWindow(QWidget *hwnd, IHookSink *sink)
{
    if (!hwnd)
        return;
    if (HookFilter *hook = FindHook(hwnd, sink)) {
        hwnd->removeEventFilter(hook);
        hook->Detach();
        // The hook may be in the middle of its own eventFilter call.
        hook->deleteLater();
    }
}

long CallOldWindowProc(QWidget *hwnd, unsigned uMsg, quintptr wParam, qintptr lParam)
{
    if (t_current && t_current->hwnd == hwnd)
        t_current->passedOn = true;
    return 0;
}

} // namespace MHookMe
