// The tray icon and its menu on a real X server with a tray host (trayer) and a window
// manager, clicked with xdotool.
#include "platform/tray/TrayIcon.h"
#include "core/modMain_ShutDown.h"
#include "tests/support/TimerRows.h"
#include "tests/tray/TimersFixture.h"

#include <QPushButton>

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QMenu>
#include <QSystemTrayIcon>

using namespace modMain;

namespace {

class TrayX : public traytest::TimersFixture {
protected:
    void SetUp() override
    {
        TimersFixture::SetUp();
        if (HasFatalFailure())
            return;
        ASSERT_TRUE(tray::IsHostAvailable());
        tray = timers->m_frmSysTray.get();
        ASSERT_NE(tray, nullptr);
        // AutoStart is 1: the load has built the menu.
        ASSERT_EQ(tray->mnuSysTrayUBound(), 6);
    }

    // The icon's own window, which the tray host has taken in (Qt reports its place inside
    // the host, not on the screen, so the pointer is moved relative to the window itself).
    static QWidget *IconWindow()
    {
        for (QWidget *w : QApplication::allWidgets())
            if (QLatin1String(w->metaObject()->className()) == QLatin1String("QSystemTrayIconSys") && w->isVisible()
                && w->width() > 0)
                return w;
        return nullptr;
    }

    // Waits until the tray host shows the icon.
    void WaitForIcon()
    {
        ASSERT_TRUE(testenv::WaitFor([&] { return IconWindow() != nullptr; }, 10000)) << "no icon in the tray";
        // Embedded means: a window of the tray host is its parent now.
        const QString id = QString::number(IconWindow()->winId());
        ASSERT_TRUE(testenv::WaitFor([&] {
            const xtest::RunResult r = x->Run(QStringLiteral("xdotool"), {QStringLiteral("getwindowgeometry"), id});
            return r.finished && r.exitCode == 0 && !r.out.contains(QStringLiteral("Position: 0,0 "));
        }, 10000)) << "the tray host did not take the icon in";
    }

    void ClickIcon(int button, int repeat = 1)
    {
        WaitForIcon();
        // Two clicks within the double-click time would make a double click of the second.
        if (m_lastClick.isValid())
            testenv::WaitFor([&] { return m_lastClick.elapsed() > QApplication::doubleClickInterval() + 100; }, 5000);
        QWidget *icon = IconWindow();
        Run({QStringLiteral("mousemove"), QStringLiteral("--window"), QString::number(icon->winId()),
             QString::number(icon->width() / 2), QString::number(icon->height() / 2)});
        QStringList click{QStringLiteral("click")};
        if (repeat > 1)
            click << QStringLiteral("--repeat") << QString::number(repeat) << QStringLiteral("--delay") << QStringLiteral("60");
        click << QString::number(button);
        Run(click);
        m_lastClick.start();
    }

    // Right click on the icon; true once the menu is open.
    bool OpenMenu()
    {
        ClickIcon(3);
        return testenv::WaitFor([&] { return tray->mnuPopup()->isVisible(); }, 5000);
    }

    void CloseMenu()
    {
        Run({QStringLiteral("key"), QStringLiteral("Escape")});
        ASSERT_TRUE(testenv::WaitFor([&] { return !tray->mnuPopup()->isVisible(); }, 5000));
    }

    // Clicks the item of the open menu.
    void ChooseItem(int index)
    {
        QMenu *menu = tray->mnuPopup();
        ASSERT_TRUE(menu->isVisible());
        const QPoint c = menu->mapToGlobal(menu->actionGeometry(tray->mnuSysTray(index)).center());
        Run({QStringLiteral("mousemove"), QString::number(c.x()), QString::number(c.y())});
        // Qt arms the item once the pointer has been seen over it.
        testenv::WaitFor([&] { return menu->activeAction() == tray->mnuSysTray(index); }, 2000);
        Run({QStringLiteral("click"), QStringLiteral("1")});
        ASSERT_TRUE(testenv::WaitFor([&] { return !menu->isVisible(); }, 5000));
        QCoreApplication::processEvents();
    }

    struct ItemStates { bool openOn, hideOn, recOn, recChecked, startOn, stopOn; int defaultIndex; };
    ItemStates States() const
    {
        return {tray->mnuSysTray(0)->isEnabled(), tray->mnuSysTray(1)->isEnabled(),
                tray->mnuSysTray(2)->isEnabled(), tray->mnuSysTray(2)->isChecked(),
                tray->mnuSysTray(3)->isEnabled(), tray->mnuSysTray(4)->isEnabled(),
                tray->DefaultMenuIndex()};
    }

    frmSysTray *tray = nullptr;
    QElapsedTimer m_lastClick;
};

} // namespace

TEST_F(TrayX, TheIconAppearsWithTheMenuOfTheTimersWindow)
{
    WaitForIcon();
    EXPECT_EQ(tray->ToolTip(), QStringLiteral("Tarvelo Desktop"));
    const QStringList keys{"open", "hide", "rec", "start", "stop", "", "close"};
    for (int i = 0; i <= 6; ++i)
        EXPECT_EQ(tray->mnuSysTray(i)->data().toString(), keys[i]) << i;
    EXPECT_EQ(tray->mnuSysTray(0)->text(), QStringLiteral("&") + GetLangString(86));
    // The load's captions give the recording item its "&" too.
    EXPECT_EQ(tray->mnuSysTray(2)->text(), QStringLiteral("&") + GetLangString(88));
    EXPECT_EQ(tray->mnuSysTray(6)->text(), QStringLiteral("&") + GetLangString(24));
    EXPECT_TRUE(tray->mnuSysTray(5)->isSeparator());
}

TEST_F(TrayX, RightClickShowsTheItemStatesOfTheRecording)
{
    // No timer runs, the main window is normal.
    ASSERT_TRUE(OpenMenu());
    ItemStates s = States();
    EXPECT_FALSE(s.recOn);
    EXPECT_FALSE(s.recChecked);
    EXPECT_TRUE(s.startOn);
    EXPECT_FALSE(s.stopOn);
    EXPECT_TRUE(s.hideOn);
    EXPECT_FALSE(s.openOn);
    EXPECT_EQ(s.defaultIndex, 1);
    EXPECT_EQ(tray->mnuPopup()->defaultAction(), tray->mnuSysTray(1));
    CloseMenu();

    // A timer runs and the main window is minimised.
    timers->QuickRec();
    ASSERT_TRUE(TimerRunning);
    main->showMinimized();
    ASSERT_TRUE(testenv::WaitFor([&] { return main->isMinimized(); }, 5000));
    ASSERT_TRUE(OpenMenu());
    s = States();
    EXPECT_FALSE(s.recOn);
    EXPECT_TRUE(s.recChecked);
    EXPECT_FALSE(s.startOn);
    EXPECT_TRUE(s.stopOn);
    EXPECT_FALSE(s.hideOn);
    EXPECT_TRUE(s.openOn);
    EXPECT_EQ(s.defaultIndex, 0);
    CloseMenu();

    // Maximised (the main window puts itself back to normal at once, so the handler is called
    // in that moment): neither "open" nor "hide", and "open" is the default.
    main->showNormal();
    ASSERT_TRUE(testenv::WaitFor([&] { return !main->isMinimized() && main->isVisible(); }, 5000));
    main->setWindowState(Qt::WindowMaximized);
    timers->m_frmSysTray_SysTrayMouseDown(2);
    s = States();
    EXPECT_FALSE(s.hideOn);
    EXPECT_FALSE(s.openOn);
    EXPECT_EQ(s.defaultIndex, 0);
    EXPECT_EQ(tray->mnuPopup()->defaultAction(), tray->mnuSysTray(0));
    tray->mnuPopup()->hide();
}

TEST_F(TrayX, StartBeginsAQuickRecordingAndStopEndsItWithoutAnEntry)
{
    ASSERT_TRUE(OpenMenu());
    ChooseItem(3);
    ASSERT_TRUE(testenv::WaitFor([] { return TimerRunning; }, 5000));
    ASSERT_EQ(timers->lstTimers->Rows(), 1);
    EXPECT_EQ(timers->GetRunning(), 0);
    EXPECT_EQ(timers->lstTimers->TextMatrix(0, frmStart::colName), timers->QuickRecName);

    // "start" while a timer runs does nothing, even when called directly.
    timers->m_frmSysTray_MenuClick(3, QStringLiteral("start"));
    EXPECT_EQ(timers->lstTimers->Rows(), 1);

    // A timer with its category, so that a save would write an entry.
    GiveCategory(0);
    ASSERT_TRUE(OpenMenu());
    ChooseItem(4);
    ASSERT_TRUE(testenv::WaitFor([] { return !TimerRunning; }, 5000));
    EXPECT_EQ(timers->GetRunning(), -1);
    EXPECT_EQ(DailyRows(), 0);
}

TEST_F(TrayX, DoubleClickBringsTheHiddenMainWindowBack)
{
    // "hide" minimises and hides the main window.
    ASSERT_TRUE(OpenMenu());
    ChooseItem(1);
    ASSERT_TRUE(testenv::WaitFor([&] { return !main->isVisible(); }, 5000));
    EXPECT_TRUE(main->windowState() & Qt::WindowMinimized);

    ClickIcon(1, 2);
    ASSERT_TRUE(testenv::WaitFor([&] { return main->isVisible() && !main->isMinimized(); }, 5000));
    EXPECT_FALSE(main->windowState() & (Qt::WindowMinimized | Qt::WindowMaximized));
}

TEST_F(TrayX, ABalloonAppearsWithItsTextAndStaysReadable)
{
    WaitForIcon();
    int shown = 0;
    QObject::connect(tray, &frmSysTray::BalloonShow, [&] { ++shown; });
    // The running timer's balloon asks for a time-out of 5: the desktop's shortest time holds.
    tray->ShowBalloonTip(QStringLiteral("Logo – 00:12:05"), QStringLiteral("Recording..."), 17, 5);
    auto balloonWith = [](const QString &text) -> QWidget * {
        for (QWidget *w : QApplication::topLevelWidgets()) {
            if (!w->isVisible() || QLatin1String(w->metaObject()->className()) != QLatin1String("QBalloonTip"))
                continue;
            for (QLabel *l : w->findChildren<QLabel *>())
                if (l->text().contains(text))
                    return w;
        }
        return nullptr;
    };
    ASSERT_TRUE(testenv::WaitFor([&] { return balloonWith(QStringLiteral("Logo – 00:12:05")) != nullptr; }, 5000));
    EXPECT_NE(balloonWith(QStringLiteral("Recording...")), nullptr);
    EXPECT_EQ(shown, 1);
    testenv::WaitFor([] { return false; }, 1500);
    EXPECT_NE(balloonWith(QStringLiteral("Logo – 00:12:05")), nullptr);

    tray->HideBalloonTip(QString(), 0, 30000);
    EXPECT_TRUE(testenv::WaitFor([&] { return balloonWith(QStringLiteral("Logo")) == nullptr; }, 5000));
}

TEST_F(TrayX, WithoutTheMenuARightClickShowsNothing)
{
    // AutoStart 0: the component carries balloons only.
    AutoStart = 0;
    timers->CreateSysTray();
    tray = timers->m_frmSysTray.get();
    tray->ShowBalloonTip(QStringLiteral("Tarvelo Desktop"), QString(), 0, 30000);
    ClickIcon(3);
    testenv::WaitFor([] { return false; }, 500);
    EXPECT_FALSE(tray->mnuPopup()->isVisible());
    EXPECT_EQ(tray->mnuSysTrayUBound(), 0);
}

// The parked timers of the closed database file, as "name/cStarted/cChk/has a category".
static QStringList ParkedInFile(const QString &path)
{
    QStringList out;
    auto db = dao::OpenDatabase(path, modDBchr::DBConnect());
    auto rs = db->OpenRecordset(QStringLiteral("SELECT cName, cStarted, cChk, cCatID, cStarttime FROM tblDaily "
                                               "WHERE cStarted IN (1, 2) ORDER BY cID"),
                                dao::dbOpenSnapshot);
    for (; !rs->Eof(); rs->MoveNext())
        out << QStringLiteral("%1/%2/%3/%4").arg(rs->Value(0).toString()).arg(rs->Value(1).toInt()).arg(rs->Value(2).toInt())
                   .arg(rs->Value(3).isNull() ? QStringLiteral("none") : QStringLiteral("cat"));
    rs->Close();
    db->Close();
    return out;
}

TEST_F(TrayX, CloseParksTheRunningQuickRecordAndTheSegmentStoppedFromTheTray)
{
    // A quick record given a category and stopped from the tray (its segment not saved), then
    // a second quick record left running without one.
    ASSERT_TRUE(OpenMenu());
    ChooseItem(3);
    ASSERT_TRUE(testenv::WaitFor([] { return TimerRunning; }, 5000));
    GiveCategory(0);
    ASSERT_TRUE(OpenMenu());
    ChooseItem(4);
    ASSERT_TRUE(testenv::WaitFor([] { return !TimerRunning; }, 5000));
    ASSERT_EQ(timers->lstTimers->TextMatrix(0, frmStart::colMark), QStringLiteral("3"));
    ASSERT_TRUE(OpenMenu());
    ChooseItem(3);
    ASSERT_TRUE(testenv::WaitFor([] { return TimerRunning; }, 5000));
    ASSERT_EQ(timers->lstTimers->Rows(), 2);

    int ended = 0;
    SetEndProcess([&] { ++ended; });
    ASSERT_TRUE(OpenMenu());
    {
        // Clicked as ChooseItem does; the menu goes with the shutdown, so only the end is awaited.
        QMenu *menu = tray->mnuPopup();
        QAction *close = tray->mnuSysTray(6);
        const QPoint c = menu->mapToGlobal(menu->actionGeometry(close).center());
        Run({QStringLiteral("mousemove"), QString::number(c.x()), QString::number(c.y())});
        testenv::WaitFor([&] { return menu->activeAction() == close; }, 2000);
        Run({QStringLiteral("click"), QStringLiteral("1")});
    }
    tray = nullptr;
    ASSERT_TRUE(testenv::WaitFor([&] { return ended == 1; }, 15000));
    SetEndProcess({});
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);   // nobody was asked
    EXPECT_FALSE(DB);
    const QString file = modMain::AppPath() + QStringLiteral("/Tarv.crn");
    EXPECT_EQ(ParkedInFile(file), (QStringList{QStringLiteral("Design/2/1/cat"), timers->QuickRecName + QStringLiteral("/1/0/none")}));

    // The next start brings both back: the segment to be saved, the quick record running.
    frmStart::Unload();
    TimerRunning = false;
    ASSERT_EQ(modDBchr::OpenDB(file), 0);
    timers = frmStart::Get();
    timers->ShowForm();
    ASSERT_EQ(timers->lstTimers->Rows(), 2);
    EXPECT_EQ(timers->lstTimers->TextMatrix(0, frmStart::colMark), QStringLiteral("3"));
    EXPECT_EQ(timers->lstTimers->TextMatrix(1, frmStart::colState), QStringLiteral("1"));
    EXPECT_TRUE(TimerRunning);
}

TEST_F(TrayX, HideStaysWhileATimerRunsAndAStopLeavesTheButtonsOfTheSelectedRow)
{
    // Design: started and cancelled, so that its segment can still be saved with Stop.
    testenv::AddTimerRow(timers, QStringLiteral("Design"), 11, QStringLiteral("Logo"), 1001, QStringLiteral("Café Lumière"), 101);
    testenv::ClickTimerRow(timers, 0);
    testenv::ClickButton(timers->btnStart);
    testenv::ClickButton(timers->btnCancel);
    ASSERT_EQ(timers->lstTimers->TextMatrix(0, frmStart::colMark), QStringLiteral("3"));

    // A quick record from the tray; the main window hidden to the tray while it runs.
    ASSERT_TRUE(OpenMenu());
    ChooseItem(3);
    ASSERT_TRUE(testenv::WaitFor([] { return TimerRunning; }, 5000));
    ASSERT_TRUE(OpenMenu());
    ChooseItem(1);
    ASSERT_TRUE(testenv::WaitFor([&] { return !main->isVisible(); }, 5000));
    // The display ticks on (its time in the title) and leaves the window where it was put.
    const QString title = main->windowTitle();
    testenv::WaitFor([] { return false; }, 1600);
    timers->ShowTime();
    EXPECT_FALSE(main->isVisible());
    EXPECT_TRUE(main->windowTitle().contains(QLatin1Char(':'))) << main->windowTitle().toStdString();

    // Back, with Design selected; the tray's stop ends the quick record.
    timers->m_frmSysTray_SysTrayDoubleClick(1);
    ASSERT_TRUE(testenv::WaitFor([&] { return main->isVisible(); }, 5000));
    testenv::ClickTimerRow(timers, 0);
    ASSERT_TRUE(timers->btnStop->isEnabled());
    ASSERT_TRUE(OpenMenu());
    ChooseItem(4);
    ASSERT_TRUE(testenv::WaitFor([] { return !TimerRunning; }, 5000));
    EXPECT_EQ(timers->lstTimers->Row(), 0);
    EXPECT_TRUE(timers->btnStart->isEnabled());
    EXPECT_TRUE(timers->btnStop->isEnabled());   // Design's unsaved segment
    EXPECT_FALSE(timers->btnCancel->isEnabled());
    EXPECT_TRUE(timers->btnUnload->isEnabled());
}

TEST_F(TrayX, TheMenusSeparatorIsALineWithoutText)
{
    ASSERT_TRUE(OpenMenu());
    QAction *dash = tray->mnuSysTray(5);
    EXPECT_TRUE(dash->isSeparator());
    EXPECT_TRUE(dash->text().isEmpty());
    // No item of the open menu reads "-".
    for (QAction *a : tray->mnuPopup()->actions())
        if (a->isVisible())
            EXPECT_NE(a->text(), QStringLiteral("-"));
    // Its row is the height of a line, not of an item.
    QMenu *menu = tray->mnuPopup();
    EXPECT_LT(menu->actionGeometry(dash).height(), menu->actionGeometry(tray->mnuSysTray(6)).height());
    CloseMenu();
}

int main(int argc, char **argv)
{
    return xtest::RunAllTestsOnX(argc, argv, {.windowManager = true, .trayHost = true});
}
