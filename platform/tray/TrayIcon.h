#pragma once
// One icon in the desktop's notification area, with the notifications the program knows
// from the Windows shell: its owner adds the icon, changes its picture and tooltip, shows and
// hides balloon tips, and hears mouse and balloon events as the shell's notification codes.
//
// Built on QSystemTrayIcon. The icon is visible only while a tray host runs (on X11 a
// system-tray manager such as a panel); without one everything here still works, nothing is
// shown and no notification arrives. Balloons go through QSystemTrayIcon::showMessage, which
// falls back to Qt's own balloon widget when no notification service runs.
//
// What Qt reports of the mouse: a left click (reported as the left button's release, 514), a
// right press (516) and a left double click (515). Qt tells nothing of the right button's
// release, of mouse moves or of right double clicks, so 512, 517 and 518 never arrive.
#include <QIcon>
#include <QObject>
#include <QString>
#include <QTimer>

class QSystemTrayIcon;

namespace tray {

// Notification codes, as the shell numbers them.
constexpr int WM_MOUSEMOVE = 512;
constexpr int WM_LBUTTONDOWN = 513;
constexpr int WM_LBUTTONUP = 514;
constexpr int WM_LBUTTONDBLCLK = 515;
constexpr int WM_RBUTTONDOWN = 516;
constexpr int WM_RBUTTONUP = 517;
constexpr int WM_RBUTTONDBLCLK = 518;
constexpr int NIN_BALLOONSHOW = 1026;
constexpr int NIN_BALLOONHIDE = 1027;
constexpr int NIN_BALLOONTIMEOUT = 1028;
constexpr int NIN_BALLOONUSERCLICK = 1029;

// Balloon icons.
constexpr int NIIF_NONE = 0;
constexpr int NIIF_INFO = 1;
constexpr int NIIF_WARNING = 2;
constexpr int NIIF_ERROR = 3;

// True while a tray host runs that can hold icons.
bool IsHostAvailable();

class TrayIcon : public QObject {
    Q_OBJECT
public:
    explicit TrayIcon(QObject *parent = nullptr);
    ~TrayIcon() override; // removes the icon

    // Puts the icon into the notification area (NIM_ADD); again after Delete is allowed.
    void Add(const QIcon &icon, const QString &tip);
    // Takes the icon out (NIM_DELETE); a balloon on show goes with it.
    void Delete();
    bool IsAdded() const { return m_added; }

    void SetIcon(const QIcon &icon);
    void SetTip(const QString &tip);
    QIcon Icon() const { return m_icon; }
    QString Tip() const { return m_tip; }

    // Shows a balloon at the icon for timeoutMs (0 or less: until clicked or replaced); an
    // empty text with an empty title closes the balloon on show. Nothing happens while the
    // icon is not added or no tray host runs.
    void ShowBalloon(const QString &title, const QString &text, int icon, int timeoutMs);
    void HideBalloon();
    bool IsBalloonShown() const { return m_balloonShown; }

    // The Qt object underneath (tests look for its window).
    QSystemTrayIcon *Native() const { return m_icon_sys; }

signals:
    // A mouse or balloon notification: one of the codes above.
    void Notify(int code);

private:
    void EndBalloon(int code);

    QSystemTrayIcon *m_icon_sys = nullptr;
    QIcon m_icon;
    QString m_tip;
    bool m_added = false;
    bool m_balloonShown = false;
    QTimer m_balloonTimer;
};

} // namespace tray
