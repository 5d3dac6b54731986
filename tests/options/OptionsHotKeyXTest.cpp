// The hot key of the options window on a private X server: a combination captured from the
// keyboard and saved is the one the desktop delivers, the old one is let go; closing without a
// save gives the old one back; a modifier alone and a combination another program holds are
// refused.
#include "tests/options/OptionsFixture.h"

#include "core/frmMain.h"
#include "core/modMain.h"
#include "recorder/frmStart.h"
#include "tests/support/TestEnv.h"
#include "tests/xserver/KeyMarker.h"
#include "tests/xserver/XServer.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>

#include <memory>

using namespace modMain;
using frametest::BoxText;
using frametest::BoxWatcher;

namespace {

constexpr uint32_t kXK_F9 = 0xffc6;
constexpr uint16_t kShiftMask = 1, kControlMask = 4;

class OptionsHotKeyX : public optiontest::OptionsTest {
protected:
    void SetUp() override
    {
        x = xtest::Current();
        ASSERT_NE(x, nullptr) << "no X server";
        OptionsTest::SetUp();
    }
    void TearDown() override
    {
        marker.reset();
        x->ReleaseGrabs();
        OptionsTest::TearDown();
    }

    void Press(const QString &combination)
    {
        const xtest::RunResult r = x->Run(QStringLiteral("xdotool"), {QStringLiteral("key"), combination});
        ASSERT_TRUE(r.finished && r.exitCode == 0) << r.err.toStdString();
    }

    // Presses Ctrl+F8, a key of the test's own, and waits for it: whatever came before has
    // been handled by then.
    void Settle()
    {
        if (!marker)
            marker = std::make_unique<xtest::KeyMarker>(119 /* F8 */, hotkey::MOD_CONTROL, QStringLiteral("ctrl+F8"));
        marker->Settle(*x);
    }

    // The new-key box with the keyboard's focus, on the hotkey node.
    void FocusKeyBox()
    {
        ClickNode(QStringLiteral("hotkey"));
        frmMain *m = frmMain::Get();
        m->activateWindow();
        m->raise();
        w->txtHotKey->setFocus(Qt::OtherFocusReason);
        ASSERT_TRUE(testenv::WaitFor([this] { return QApplication::focusWidget() == w->txtHotKey && w->window()->isActiveWindow(); }, 5000));
    }

    void Capture(const QString &combination, const QString &shown)
    {
        FocusKeyBox();
        Press(combination);
        ASSERT_TRUE(testenv::WaitFor([&] { return w->txtHotKey->text() == shown; }, 5000)) << w->txtHotKey->text().toStdString();
    }

    xtest::XServer *x = nullptr;
    std::unique_ptr<xtest::KeyMarker> marker;
};

} // namespace

TEST_F(OptionsHotKeyX, ACapturedKeyIsRegisteredOnSaveAndTheOldOneLetGo)
{
    ASSERT_TRUE(frmStart::Peek()->m_Hotkey);
    ASSERT_TRUE(Open());
    // While the window is open the key reaches the box, not the timers.
    EXPECT_FALSE(frmStart::Peek()->m_Hotkey);
    Capture(QStringLiteral("ctrl+shift+F9"), QStringLiteral("SHIFT+CTRL+F9"));
    EXPECT_FALSE(TimerRunning);
    EXPECT_EQ(w->KeyCode(), 120);
    EXPECT_EQ(w->KeyMask(), 3);

    w->btnSave->click();
    EXPECT_EQ(Status(), GetLangString(631, true));
    EXPECT_EQ(HotKeyCode, 120);
    EXPECT_EQ(HotKeyMask, 3);
    Close();

    // The old key does nothing any more, the new one starts a quick recording.
    Press(QStringLiteral("ctrl+F10"));
    Settle();
    EXPECT_FALSE(TimerRunning);
    Press(QStringLiteral("ctrl+shift+F9"));
    ASSERT_TRUE(testenv::WaitFor([] { return TimerRunning; }, 5000));
    EXPECT_EQ(frmStart::Peek()->lstTimers->Rows(), 1);
}

TEST_F(OptionsHotKeyX, CloseWithoutSaveKeepsTheOldKey)
{
    ASSERT_TRUE(Open());
    Capture(QStringLiteral("ctrl+shift+F9"), QStringLiteral("SHIFT+CTRL+F9"));
    // The old key is let go while the window is open.
    FocusKeyBox();
    Press(QStringLiteral("ctrl+F10"));
    ASSERT_TRUE(testenv::WaitFor([this] { return w->txtHotKey->text() == "CTRL+F10"; }, 5000));
    EXPECT_FALSE(TimerRunning);
    Close();
    EXPECT_EQ(HotKeyCode, 121);
    ASSERT_TRUE(frmStart::Peek()->m_Hotkey);

    Press(QStringLiteral("ctrl+shift+F9"));
    Settle();
    EXPECT_FALSE(TimerRunning);
    Press(QStringLiteral("ctrl+F10"));
    EXPECT_TRUE(testenv::WaitFor([] { return TimerRunning; }, 5000));
}

TEST_F(OptionsHotKeyX, AModifierAloneIsNeverTaken)
{
    ASSERT_TRUE(Open());
    BoxWatcher boxes;
    FocusKeyBox();
    Press(QStringLiteral("ctrl"));
    Press(QStringLiteral("shift"));
    Press(QStringLiteral("alt"));
    Settle();
    QApplication::processEvents();
    EXPECT_EQ(w->txtHotKey->text(), "");
    EXPECT_EQ(w->KeyCode(), 121);
    EXPECT_EQ(w->KeyMask(), 2);
    EXPECT_TRUE(boxes.Boxes().empty());
    w->btnSave->click();
    EXPECT_EQ(Status(), GetLangString(631, true));
    EXPECT_EQ(HotKeyCode, 121);
    EXPECT_EQ(HotKeyMask, 2);
    Close();
    Press(QStringLiteral("ctrl+F10"));
    EXPECT_TRUE(testenv::WaitFor([] { return TimerRunning; }, 5000));
}

TEST_F(OptionsHotKeyX, ACombinationAnotherProgramHoldsIsRefused)
{
    ASSERT_TRUE(Open());
    BoxWatcher boxes;
    Capture(QStringLiteral("ctrl+shift+F9"), QStringLiteral("SHIFT+CTRL+F9"));
    // Another program takes it before the save.
    ASSERT_TRUE(x->GrabKeyAsOtherClient(kXK_F9, kShiftMask | kControlMask));
    w->btnSave->click();
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].text, BoxText(766).replace("%1", "SHIFT+CTRL+F9"));
    EXPECT_EQ(boxes.Boxes()[0].icon, 16);
    EXPECT_EQ(Status(), GetLangString(768, true));
    EXPECT_NE(Status(), GetLangString(631, true));
    // The key in force stays, and works; the rest was saved.
    EXPECT_EQ(HotKeyCode, 121);
    EXPECT_EQ(HotKeyMask, 2);
    EXPECT_EQ(Setting("tarv", "vkey"), "121");
    EXPECT_EQ(w->txtHotKeyPre->text(), "CTRL+F10");
    EXPECT_EQ(w->KeyCode(), 121);
    Close();
    Press(QStringLiteral("ctrl+F10"));
    EXPECT_TRUE(testenv::WaitFor([] { return TimerRunning; }, 5000));
}

int main(int argc, char **argv)
{
    return xtest::RunAllTestsOnX(argc, argv, {.windowManager = true, .trayHost = false});
}
