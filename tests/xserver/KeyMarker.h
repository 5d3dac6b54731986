#pragma once
// A hot key of the test's own that tells when every key press sent before it has been handled:
// X delivers the presses in order, so once the marker's own combination has arrived, whatever
// the earlier presses were going to do has been done. Header only; the suite links
// tarv_platform_hotkey.
//
//   xtest::KeyMarker marker(119 /* F8 */, hotkey::MOD_CONTROL, "ctrl+F8");
//   x->Run("xdotool", {"key", "ctrl+F10"});
//   ASSERT_NO_FATAL_FAILURE(marker.Settle(*x));   // Ctrl+F10 has done what it does
#include "platform/hotkey/HotKey.h"
#include "tests/support/TestEnv.h"
#include "tests/xserver/XServer.h"

#include <QEvent>
#include <QObject>
#include <QString>
#include <gtest/gtest.h>

namespace xtest {

class KeyMarker : public QObject {
public:
    // vKey (a virtual-key code) with the MOD_* modifiers, and the same combination as xdotool
    // names it. The grab is taken at the first Settle, after whatever the test registers first.
    KeyMarker(unsigned vKey, unsigned modifiers, QString combination)
        : m_vKey(vKey), m_modifiers(modifiers), m_combination(std::move(combination)) {}
    ~KeyMarker() override
    {
        if (m_registered)
            hotkey::UnregisterHotKey(this, 1);
    }

    // Presses the marker's combination and waits until it has arrived.
    void Settle(const XServer &x)
    {
        if (!m_registered) {
            m_registered = hotkey::RegisterHotKey(this, 1, m_modifiers, m_vKey);
            ASSERT_TRUE(m_registered) << "the marker " << m_combination.toStdString() << " could not be grabbed";
        }
        const int before = m_count;
        const RunResult r = x.Run(QStringLiteral("xdotool"), {QStringLiteral("key"), m_combination});
        ASSERT_TRUE(r.finished && r.exitCode == 0) << r.err.toStdString();
        ASSERT_TRUE(testenv::WaitFor([&] { return m_count > before; }, 5000));
    }

protected:
    bool event(QEvent *e) override
    {
        if (e->type() == hotkey::HotKeyEventType()) {
            ++m_count;
            return true;
        }
        return QObject::event(e);
    }

private:
    unsigned m_vKey;
    unsigned m_modifiers;
    QString m_combination;
    bool m_registered = false;
    int m_count = 0;
};

} // namespace xtest
