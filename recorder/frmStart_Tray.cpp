// The timers window's tray icon with its menu, and the global hot key.
#include "recorder/frmStart.h"

#include "core/frmMain.h"
#include "core/modMain.h"
#include "core/modMain_ShutDown.h"
#include "recorder/CHotKey.h"
#include "recorder/frmSysTray.h"
#include "resources/Pictures.h"

#include <QAction>
#include <QApplication>
#include <QTimer>

namespace {

// Items of the tray menu, in the order setSysTray adds them.
enum TrayItem { itOpen = 0, itHide = 1, itRec = 2, itStart = 3, itStop = 4, itDash = 5, itClose = 6 };

bool IsNormal(const QWidget *w)
{
    return !(w->windowState() & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen));
}

bool IsMinimised(const QWidget *w)
{
    return (w->windowState() & Qt::WindowMinimized) != 0;
}

} // namespace

void frmStart::CreateSysTray()
{
    m_frmSysTray = std::make_shared<frmSysTray>();
    frmSysTray *tray = m_frmSysTray.get();
    connect(tray, &frmSysTray::MenuClick, this, &frmStart::m_frmSysTray_MenuClick);
    connect(tray, &frmSysTray::SysTrayMouseDown, this, &frmStart::m_frmSysTray_SysTrayMouseDown);
    connect(tray, &frmSysTray::SysTrayDoubleClick, this, &frmStart::m_frmSysTray_SysTrayDoubleClick);
}

void frmStart::setSysTray()
{
    using modMain::GetLangString;
    // The menu belongs to its component: a second build goes on a new one.
    if (!m_frmSysTray || m_frmSysTray->mnuSysTray(0)->isVisible())
        CreateSysTray();
    frmSysTray *tray = m_frmSysTray.get();
    const QString amp = QStringLiteral("&");
    tray->AddMenuItem(amp + GetLangString(86), QStringLiteral("open"), false);
    tray->AddMenuItem(amp + GetLangString(87), QStringLiteral("hide"), false);
    tray->AddMenuItem(GetLangString(88), QStringLiteral("rec"), false);
    tray->AddMenuItem(amp + GetLangString(89), QStringLiteral("start"), false);
    tray->AddMenuItem(amp + GetLangString(90), QStringLiteral("stop"), false);
    tray->AddMenuItem(QStringLiteral("-"), QString(), false);
    tray->AddMenuItem(amp + GetLangString(24), QStringLiteral("close"), false);
    tray->ToolTip(QStringLiteral("Tarvelo Desktop"));
    if (frmMain *main = frmMain::Peek())
        tray->IconHandle(main->windowIcon());
}

void frmStart::SetTaskbarIcon()
{
    if (modMain::ShowBalloons != 1)
        return;
    frmMain *main = frmMain::Peek();
    if (!main)
        return;
    if (modMain::TimerRunning) {
        if (main->tmrIcon)
            main->tmrIcon->start();
    } else {
        if (main->tmrIcon)
            main->tmrIcon->stop();
        main->setWindowIcon(res::Icon(QStringLiteral("ARUNNOT")));
    }
    if (!m_frmSysTray)
        CreateSysTray();
    m_frmSysTray->IconHandle(main->windowIcon());
}

void frmStart::m_frmSysTray_MenuClick(int Index, const QString &Key)
{
    if (Key == QStringLiteral("open")) {
        frmMain::Get()->ShowFromTray(false);
    } else if (Key == QStringLiteral("hide")) {
        frmMain *main = frmMain::Get();
        main->GoToTray();
        main->raise();
    } else if (Key == QStringLiteral("rec")) {
        if (m_frmSysTray)
            m_frmSysTray->ShowMenu();
    } else if (Key == QStringLiteral("start")) {
        if (!modMain::TimerRunning)
            QuickRec();
    } else if (Key == QStringLiteral("stop")) {
        // From the tray the segment ends without an entry. The buttons then follow the
        // selected row, whichever it is.
        StopAction(GetRunning(), false);
        DoClick();
    } else if (Key == QStringLiteral("close")) {
        // Once this handler has returned: the shutdown takes the tray component (whose event
        // this is) and this window down with it.
        QMetaObject::invokeMethod(qApp, [] { modMain::ShutDown(false); }, Qt::QueuedConnection);
    }
}

void frmStart::m_frmSysTray_SysTrayMouseDown(int Button)
{
    if (Button != 2 || !m_frmSysTray)
        return;
    frmSysTray *tray = m_frmSysTray.get();
    const bool running = modMain::TimerRunning;
    tray->EnableMenuItem(itRec, false);
    tray->CheckMenuItem(itRec, running);
    tray->EnableMenuItem(itStart, !running);
    tray->EnableMenuItem(itStop, running);
    if (modMain::AutoStart == 1) {
        const frmMain *main = frmMain::Get();
        tray->EnableMenuItem(itHide, IsNormal(main));
        tray->EnableMenuItem(itOpen, IsMinimised(main));
        const QAction *hide = tray->mnuSysTray(itHide);
        tray->DefaultMenuIndex(hide && hide->isEnabled() ? itHide : itOpen);
    }
    // A component without the menu (AutoStart 0: the icon only carries balloons) shows nothing.
    tray->ShowMenu();
}

void frmStart::m_frmSysTray_SysTrayDoubleClick(int Button)
{
    frmMain::Get()->ShowFromTray(true);
}

void frmStart::SetHotKey()
{
    // The old key goes first, so that the same combination can be taken again.
    m_Hotkey.reset();
    if (modMain::HotKeyCode == 0 || modMain::HotKeyMask == 0)
        return;
    m_Hotkey = std::make_shared<CHotKey>();
    connect(m_Hotkey.get(), &CHotKey::Hotkey, this, &frmStart::m_Hotkey_Hotkey);
    m_Hotkey->hwnd(this);
    // A key another program holds stays unregistered; nobody is told.
    m_Hotkey->SetHotKey(modMain::HotKeyCode, static_cast<uint8_t>(modMain::HotKeyMask));
}

void frmStart::m_Hotkey_Hotkey()
{
    if (modMain::TimerRunning) {
        // The running row, whichever row the person has selected since, stopped as the Stop
        // button would: a timer without an activity keeps running (it could not be saved).
        const int16_t running = GetRunning();
        if (running >= 0 && lstTimers->TextMatrix(running, colCatID).trimmed().isEmpty()) {
            modMain::ShowMsg(modMain::GetLangString(71), 16);
            return;
        }
        StopAction(running, true);
        DoClick();
    } else {
        QuickRec();
    }
}
