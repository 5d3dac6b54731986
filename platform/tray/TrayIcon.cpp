#include "platform/tray/TrayIcon.h"

#include <QSystemTrayIcon>

namespace tray {

bool IsHostAvailable()
{
    return QSystemTrayIcon::isSystemTrayAvailable();
}

TrayIcon::TrayIcon(QObject *parent) : QObject(parent)
{
    m_icon_sys = new QSystemTrayIcon(this);
    m_balloonTimer.setSingleShot(true);
    connect(&m_balloonTimer, &QTimer::timeout, this, [this] { EndBalloon(NIN_BALLOONTIMEOUT); });
    connect(m_icon_sys, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason r) {
        switch (r) {
        case QSystemTrayIcon::Trigger: emit Notify(WM_LBUTTONUP); break;
        case QSystemTrayIcon::Context: emit Notify(WM_RBUTTONDOWN); break;
        case QSystemTrayIcon::DoubleClick: emit Notify(WM_LBUTTONDBLCLK); break;
        default: break; // the middle button means nothing to the program
        }
    });
    connect(m_icon_sys, &QSystemTrayIcon::messageClicked, this, [this] {
        if (m_balloonShown)
            EndBalloon(NIN_BALLOONUSERCLICK);
    });
}

TrayIcon::~TrayIcon()
{
    m_balloonTimer.stop();
    m_balloonShown = false;
    if (m_icon_sys)
        m_icon_sys->hide();
}

void TrayIcon::Add(const QIcon &icon, const QString &tip)
{
    m_icon = icon;
    m_tip = tip;
    m_icon_sys->setIcon(icon);
    m_icon_sys->setToolTip(tip);
    // Qt refuses to show an icon without a picture; the owner may give one later.
    if (!icon.isNull())
        m_icon_sys->show();
    m_added = true;
}

void TrayIcon::Delete()
{
    if (m_balloonShown)
        EndBalloon(NIN_BALLOONHIDE);
    m_icon_sys->hide();
    m_added = false;
}

void TrayIcon::SetIcon(const QIcon &icon)
{
    m_icon = icon;
    m_icon_sys->setIcon(icon);
    if (m_added && !icon.isNull() && !m_icon_sys->isVisible())
        m_icon_sys->show();
}

void TrayIcon::SetTip(const QString &tip)
{
    m_tip = tip;
    m_icon_sys->setToolTip(tip);
}

void TrayIcon::ShowBalloon(const QString &title, const QString &text, int icon, int timeoutMs)
{
    if (!m_added || !m_icon_sys->isVisible() || !IsHostAvailable())
        return;
    if (text.isEmpty() && title.isEmpty()) {
        HideBalloon();
        return;
    }
    QSystemTrayIcon::MessageIcon qicon = QSystemTrayIcon::NoIcon;
    switch (icon) {
    case NIIF_INFO: qicon = QSystemTrayIcon::Information; break;
    case NIIF_WARNING: qicon = QSystemTrayIcon::Warning; break;
    case NIIF_ERROR: qicon = QSystemTrayIcon::Critical; break;
    default: break;
    }
    // A new balloon replaces the one on show, which therefore ends hidden.
    if (m_balloonShown)
        EndBalloon(NIN_BALLOONHIDE);
    m_icon_sys->showMessage(title, text, qicon, timeoutMs > 0 ? timeoutMs : 0);
    m_balloonShown = true;
    if (timeoutMs > 0)
        m_balloonTimer.start(timeoutMs);
    emit Notify(NIN_BALLOONSHOW);
}

void TrayIcon::HideBalloon()
{
    if (!m_balloonShown)
        return;
    // An empty message closes Qt's balloon (and shows no new one).
    m_icon_sys->showMessage(QString(), QString(), QSystemTrayIcon::NoIcon, 0);
    EndBalloon(NIN_BALLOONHIDE);
}

void TrayIcon::EndBalloon(int code)
{
    m_balloonTimer.stop();
    m_balloonShown = false;
    emit Notify(code);
}

} // namespace tray
