// The timers window's side of the tray and the hot key, headless: the menu it builds, what
// its items do, the icon that follows the recording, and the hot key's two actions.
#include "core/modMain_ShutDown.h"
#include "platform/tray/TrayIcon.h"
#include "recorder/CHotKey.h"
#include "resources/Pictures.h"
#include "tests/tray/TimersFixture.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QTimer>

using namespace modMain;

namespace {

class TrayMenu : public traytest::TimersFixture {
protected:
    frmSysTray *Tray() const { return timers->m_frmSysTray.get(); }
};

} // namespace

TEST_F(TrayMenu, TheMenuIsBuiltOnceWithItsKeysCaptionsTooltipAndIcon)
{
    ASSERT_NE(Tray(), nullptr);
    ASSERT_EQ(Tray()->mnuSysTrayUBound(), 6);
    // Built again (the options switch the autostart on): a new component, not doubled items.
    const frmSysTray *before = Tray();
    timers->setSysTray();
    EXPECT_NE(Tray(), before);
    ASSERT_EQ(Tray()->mnuSysTrayUBound(), 6);
    const QStringList keys{"open", "hide", "rec", "start", "stop", "", "close"};
    const QStringList captions{"&" + GetLangString(86), "&" + GetLangString(87), GetLangString(88),
                               "&" + GetLangString(89), "&" + GetLangString(90), "-", "&" + GetLangString(24)};
    for (int i = 0; i <= 6; ++i) {
        EXPECT_EQ(Tray()->mnuSysTray(i)->data().toString(), keys[i]) << i;
        if (captions[i] == QStringLiteral("-")) {
            // A separator is a line without text.
            EXPECT_TRUE(Tray()->mnuSysTray(i)->isSeparator());
            EXPECT_EQ(Tray()->mnuSysTray(i)->text(), QString());
        } else {
            EXPECT_EQ(Tray()->mnuSysTray(i)->text(), captions[i]) << i;
        }
    }
    EXPECT_EQ(Tray()->DefaultMenuIndex(), 0);
    EXPECT_EQ(Tray()->ToolTip(), QStringLiteral("Tarvelo Desktop"));
    EXPECT_EQ(Tray()->IconHandle().cacheKey(), main->windowIcon().cacheKey());

    // The new component's events reach the window: a right click shows its menu.
    emit Tray()->TrayIconObject()->Notify(516);
    EXPECT_TRUE(Tray()->mnuPopup()->isVisible());
    Tray()->mnuPopup()->hide();
}

TEST_F(TrayMenu, TheItemsOpenHideStartStopAndShowTheMenuAgain)
{
    // "hide" minimises and hides the main window, "open" brings it back normal.
    timers->m_frmSysTray_MenuClick(1, QStringLiteral("hide"));
    EXPECT_FALSE(main->isVisible());
    EXPECT_TRUE(main->windowState() & Qt::WindowMinimized);
    timers->m_frmSysTray_MenuClick(0, QStringLiteral("open"));
    EXPECT_TRUE(main->isVisible());
    EXPECT_FALSE(main->windowState() & Qt::WindowMinimized);

    // "start" starts a quick recording, but not a second one.
    timers->m_frmSysTray_MenuClick(3, QStringLiteral("start"));
    ASSERT_TRUE(TimerRunning);
    timers->m_frmSysTray_MenuClick(3, QStringLiteral("start"));
    EXPECT_EQ(timers->lstTimers->Rows(), 1);

    // "rec" shows the menu again with the states of the last right click.
    timers->m_frmSysTray_SysTrayMouseDown(2);
    Tray()->mnuPopup()->hide();
    timers->m_frmSysTray_MenuClick(2, QStringLiteral("rec"));
    EXPECT_TRUE(Tray()->mnuPopup()->isVisible());
    EXPECT_FALSE(Tray()->mnuSysTray(3)->isEnabled());
    Tray()->mnuPopup()->hide();

    // "stop" ends the segment without an entry, though the timer has its category.
    GiveCategory(0);
    timers->m_frmSysTray_MenuClick(4, QStringLiteral("stop"));
    EXPECT_FALSE(TimerRunning);
    EXPECT_EQ(DailyRows(), 0);

    // Keys are compared exactly; the left button does nothing.
    timers->m_frmSysTray_MenuClick(3, QStringLiteral("Start"));
    timers->m_frmSysTray_SysTrayMouseDown(1);
    EXPECT_FALSE(TimerRunning);
    EXPECT_FALSE(Tray()->mnuPopup()->isVisible());

    // A double click with either button shows the main window normal.
    for (int button : {1, 2}) {
        main->showMinimized();
        timers->m_frmSysTray_SysTrayDoubleClick(button);
        EXPECT_TRUE(main->isVisible());
        EXPECT_FALSE(main->windowState() & Qt::WindowMinimized) << button;
    }
}

TEST_F(TrayMenu, CloseEndsTheProgramWithoutQuestions)
{
    int ended = 0;
    SetEndProcess([&] { ++ended; });
    timers->QuickRec();
    GiveCategory(0);
    timers->m_frmSysTray_MenuClick(6, QStringLiteral("close"));
    ASSERT_TRUE(testenv::WaitFor([&] { return ended == 1; }, 10000));
    // Nobody was asked; the tray icon went with the shutdown.
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    if (frmStart *start = frmStart::Peek())
        EXPECT_EQ(start->m_frmSysTray, nullptr);
    SetEndProcess({});
}

TEST_F(TrayMenu, TheIconFollowsTheRecordingOnlyWhileBalloonsAreOn)
{
    ASSERT_NE(main->tmrIcon, nullptr);
    ShowBalloons = 1;
    TimerRunning = true;
    timers->SetTaskbarIcon();
    EXPECT_TRUE(main->tmrIcon->isActive());
    EXPECT_EQ(Tray()->IconHandle().cacheKey(), main->windowIcon().cacheKey());

    TimerRunning = false;
    timers->SetTaskbarIcon();
    EXPECT_FALSE(main->tmrIcon->isActive());
    EXPECT_EQ(main->windowIcon().pixmap(16).toImage(), res::Icon(QStringLiteral("ARUNNOT")).pixmap(16).toImage());
    EXPECT_EQ(Tray()->IconHandle().cacheKey(), main->windowIcon().cacheKey());

    // Balloons off: neither the timer nor the icon moves.
    ShowBalloons = 0;
    const qint64 icon = Tray()->IconHandle().cacheKey();
    TimerRunning = true;
    timers->SetTaskbarIcon();
    EXPECT_FALSE(main->tmrIcon->isActive());
    EXPECT_EQ(Tray()->IconHandle().cacheKey(), icon);
    TimerRunning = false;
}

TEST_F(TrayMenu, WithoutTheMenuARightClickShowsNothing)
{
    AutoStart = 0;
    timers->CreateSysTray();
    Tray()->ShowBalloonTip(QStringLiteral("Tarvelo Desktop"), QString(), 0, 30000);
    timers->m_frmSysTray_SysTrayMouseDown(2);
    EXPECT_FALSE(Tray()->mnuPopup()->isVisible());
}

TEST_F(TrayMenu, TheHotKeyStartsAQuickRecordingAndStopsTheRunningTimerWithItsEntry)
{
    timers->m_Hotkey_Hotkey();
    ASSERT_TRUE(TimerRunning);
    ASSERT_EQ(timers->lstTimers->Rows(), 1);
    GiveCategory(0);
    timers->m_Hotkey_Hotkey();
    EXPECT_FALSE(TimerRunning);
    EXPECT_EQ(DailyRows(), 1);
    EXPECT_EQ(timers->lstTimers->Rows(), 1);
}

TEST_F(TrayMenu, SetHotKeyMakesAKeyObjectOnlyForAKeyAndAMask)
{
    struct Case { int16_t code, mask; bool object; };
    const Case cases[] = {{121, 2, true}, {0, 2, false}, {121, 0, false}, {118, 7, true}};
    for (const Case &c : cases) {
        HotKeyCode = c.code;
        HotKeyMask = c.mask;
        timers->SetHotKey();
        EXPECT_EQ(bool(timers->m_Hotkey), c.object) << c.code << "/" << c.mask;
        if (timers->m_Hotkey)
            EXPECT_EQ(timers->m_Hotkey->hwnd(), timers);
    }
}
