// The timers window's hot key on a real X server: Ctrl+F10 pressed with xdotool starts a quick
// recording, stops the running timer with its entry, and is gone once the options drop it.
#include "tests/support/TimerRows.h"
#include "tests/tray/TimersFixture.h"
#include "tests/xserver/KeyMarker.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

#include <QWidget>

#include <memory>

using namespace modMain;

namespace {

class HotKeyTimersX : public traytest::TimersFixture {
protected:
    void TearDown() override
    {
        marker.reset();
        TimersFixture::TearDown();
    }

    void Press(const QString &combination) { Run({QStringLiteral("key"), combination}); }

    // Presses Ctrl+F9, a key of the test's own, and waits for it: whatever Ctrl+F10 was going
    // to do has been done by then.
    void Settle()
    {
        if (!marker)
            marker = std::make_unique<xtest::KeyMarker>(120 /* F9 */, hotkey::MOD_CONTROL, QStringLiteral("ctrl+F9"));
        marker->Settle(*x);
    }

    std::unique_ptr<xtest::KeyMarker> marker;
};

} // namespace

TEST_F(HotKeyTimersX, CtrlF10StartsAQuickRecordingAndStopsTheRunningTimerWithItsEntry)
{
    ASSERT_EQ(HotKeyCode, 121);
    ASSERT_EQ(HotKeyMask, 2);
    timers->SetHotKey();
    ASSERT_TRUE(timers->m_Hotkey);

    Press(QStringLiteral("ctrl+F10"));
    ASSERT_TRUE(testenv::WaitFor([] { return TimerRunning; }, 5000));
    ASSERT_EQ(timers->lstTimers->Rows(), 1);
    EXPECT_EQ(timers->GetRunning(), 0);

    // With NumLock on, the same key stops it and the segment is written.
    GiveCategory(0);
    Press(QStringLiteral("Num_Lock"));
    ASSERT_TRUE(testenv::WaitFor([&] { return (x->ModifierState() & 16) != 0; }, 5000));
    Press(QStringLiteral("ctrl+F10"));
    ASSERT_TRUE(testenv::WaitFor([] { return !TimerRunning; }, 5000));
    EXPECT_EQ(timers->GetRunning(), -1);
    EXPECT_EQ(DailyRows(), 1);
    EXPECT_EQ(timers->lstTimers->Rows(), 1);
}

TEST_F(HotKeyTimersX, TheRunningRowStopsWhicheverRowIsSelected)
{
    timers->SetHotKey();
    Press(QStringLiteral("ctrl+F10"));
    ASSERT_TRUE(testenv::WaitFor([] { return TimerRunning; }, 5000));
    GiveCategory(0);
    // A second timer, stopped, selected by the person.
    forms::FlexGrid *g = timers->lstTimers;
    g->SetRows(2);
    g->SetTextMatrix(1, frmStart::colName, QStringLiteral("Other"));
    g->SetTextMatrix(1, frmStart::colState, QStringLiteral("0"));
    g->SetRow(1);
    Press(QStringLiteral("ctrl+F10"));
    ASSERT_TRUE(testenv::WaitFor([] { return !TimerRunning; }, 5000));
    EXPECT_EQ(g->TextMatrix(0, frmStart::colState), QStringLiteral("0"));
    EXPECT_EQ(DailyRows(), 1);
}

TEST_F(HotKeyTimersX, NoKeyOnceTheOptionsDropIt)
{
    timers->SetHotKey();
    Press(QStringLiteral("ctrl+F10"));
    ASSERT_TRUE(testenv::WaitFor([] { return TimerRunning; }, 5000));
    timers->StopAction(timers->GetRunning(), false);
    ASSERT_FALSE(TimerRunning);

    // The options saved without a key.
    HotKeyCode = 0;
    timers->SetHotKey();
    EXPECT_FALSE(timers->m_Hotkey);
    Press(QStringLiteral("ctrl+F10"));
    Settle();
    EXPECT_FALSE(TimerRunning);
    EXPECT_EQ(timers->lstTimers->Rows(), 1);

    // Saved again with another key: only that one reacts.
    HotKeyCode = 118;   // F7
    HotKeyMask = 4;     // Alt
    timers->SetHotKey();
    Press(QStringLiteral("ctrl+F10"));
    Settle();
    EXPECT_FALSE(TimerRunning);
    Press(QStringLiteral("alt+F7"));
    EXPECT_TRUE(testenv::WaitFor([] { return TimerRunning; }, 5000));
    EXPECT_EQ(timers->lstTimers->Rows(), 2);
}

// The key of the settings holds from the window's load on: the options need not be saved in
// this run first.
TEST_F(HotKeyTimersX, TheStoredKeyWorksFromTheWindowsLoad)
{
    ASSERT_TRUE(timers->m_Hotkey);
    Press(QStringLiteral("ctrl+F10"));
    ASSERT_TRUE(testenv::WaitFor([] { return TimerRunning; }, 5000));
    EXPECT_EQ(timers->lstTimers->Rows(), 1);
    EXPECT_EQ(timers->GetRunning(), 0);
}

int main(int argc, char **argv)
{
    return xtest::RunAllTestsOnX(argc, argv, {.windowManager = true, .trayHost = false});
}

TEST_F(HotKeyTimersX, OnAQuickRecordWithoutActivityItDoesWhatStopDoesAndAStopKeepsTheSelectedRowsButtons)
{
    timers->SetHotKey();
    ASSERT_TRUE(timers->m_Hotkey);
    // Design: started and cancelled, its segment still to be saved.
    testenv::AddTimerRow(timers, QStringLiteral("Design"), 11, QStringLiteral("Logo"), 1001, QStringLiteral("Café Lumière"), 101);
    testenv::ClickTimerRow(timers, 0);
    testenv::ClickButton(timers->btnStart);
    testenv::ClickButton(timers->btnCancel);

    Press(QStringLiteral("ctrl+F10"));
    ASSERT_TRUE(testenv::WaitFor([] { return TimerRunning; }, 5000));
    ASSERT_EQ(timers->GetRunning(), 1);

    // Pressed again before the quick record has an activity: the Stop button's refusal, and
    // the timer runs on.
    QString shown;
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [&] {
        if (QWidget *modal = QApplication::activeModalWidget())
            if (auto *ok = modal->findChild<QAbstractButton *>(QStringLiteral("btnOK"))) {
                for (const QLabel *l : modal->findChildren<QLabel *>())
                    shown += l->text();
                ok->click();
            }
    });
    answer.start(20);
    Press(QStringLiteral("ctrl+F10"));
    ASSERT_TRUE(testenv::WaitFor([&] { return !shown.isEmpty(); }, 5000));
    answer.stop();
    EXPECT_TRUE(shown.contains(GetLangString(71).left(20))) << shown.toStdString();
    Settle();
    EXPECT_TRUE(TimerRunning);
    EXPECT_EQ(timers->GetRunning(), 1);
    EXPECT_EQ(DailyRows(), 0);

    // With an activity it stops with its entry; Design, selected meanwhile, keeps its buttons.
    GiveCategory(1);
    timers->lstTimers->SetTextMatrix(1, frmStart::colCatID, QStringLiteral("12"));
    testenv::ClickTimerRow(timers, 0);
    ASSERT_TRUE(timers->btnStop->isEnabled());
    Press(QStringLiteral("ctrl+F10"));
    ASSERT_TRUE(testenv::WaitFor([] { return !TimerRunning; }, 5000));
    EXPECT_EQ(DailyRows(), 1);
    EXPECT_EQ(timers->lstTimers->Row(), 0);
    EXPECT_TRUE(timers->btnStart->isEnabled());
    EXPECT_TRUE(timers->btnStop->isEnabled());
    EXPECT_FALSE(timers->btnCancel->isEnabled());
}
