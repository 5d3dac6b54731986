#pragma once
// The tray icon component: one icon in the notification area with its tooltip and picture,
// balloon tips, and a pop-up menu whose items are added at run time. Its owner (the timers
// window) holds it as m_frmSysTray and answers its events; deleting the component removes
// the icon.
//
// The component is a hidden window ("Sys Tray Interface") that is never shown. It loads,
// and puts its icon into the tray, at the first use of any of its operations. Where no tray
// host runs it still works in full and simply shows nothing.
//
// Mouse events as they arrive here: a left click raises SysTrayMouseDown(1) (for the
// release of the button), a right press SysTrayMouseDown(2), a left double click
// SysTrayDoubleClick(1). The desktop's tray reports no right-button release, no mouse move
// and no right double click, so SysTrayMouseUp, SysTrayMouseMove and SysTrayDoubleClick(2)
// exist for the owner's sake but are not raised on this platform.
#include <QIcon>
#include <QString>
#include <QWidget>

#include <cstdint>
#include <vector>

class QAction;
class QMenu;

namespace tray {
class TrayIcon;
}

class frmSysTray : public QWidget {
    Q_OBJECT
public:
    explicit frmSysTray(QWidget *parent = nullptr);
    ~frmSysTray() override;

    // Balloon at the icon: Icon 0 none, 1 information, 2 warning, 3 error (16 added, for no
    // sound, changes nothing); TimeOut in ms, held between 10 and 30 seconds as the desktop's
    // notification area holds it. Nothing happens where balloons cannot be shown.
    void ShowBalloonTip(const QString &Text, const QString &Title = QString(), int Icon = 0,
                        int TimeOut = 10000);
    // Closes the balloon on show.
    void HideBalloonTip(const QString &Title = QString(), int Icon = 0, int TimeOut = 0);

    QString ToolTip();
    void ToolTip(const QString &text);

    QIcon IconHandle();
    void IconHandle(const QIcon &icon);

    // Adds an item (caption "-" makes a separator) with its key; the first call reuses item 0.
    // Returns the item's index.
    int16_t AddMenuItem(const QString &Caption, const QString &Key = QString(), bool Default = false);
    void EnableMenuItem(int Index, bool Enabled);
    // Check mark of an item (the owner shows the recording state with it).
    void CheckMenuItem(int Index, bool Checked);
    // Index 0 only loses its caption; a later item goes, the items after it move up.
    void RemoveMenuItem(int Index);
    int DefaultMenuIndex();
    void DefaultMenuIndex(int index);
    // Pops the menu up at the mouse; the default item shows bold. A menu without any item
    // shows nothing.
    void ShowMenu();

    // The menu and its items, for the owner's and the tests' reading (nullptr for an index
    // outside the item array).
    QMenu *mnuPopup() const { return m_mnuPopup; }
    QAction *mnuSysTray(int Index) const;
    int mnuSysTrayUBound() const { return static_cast<int>(m_mnuSysTray.size()) - 1; }

    // The icon underneath (tests look for its window on the tray host).
    tray::TrayIcon *TrayIconObject() const { return m_tray; }

signals:
    void SysTrayMouseDown(int Button);
    void SysTrayMouseUp(int Button);
    void SysTrayMouseMove();
    void SysTrayDoubleClick(int Button);
    void MenuClick(int Index, const QString &Key);
    void BalloonShow();
    void BalloonHide();
    void BalloonTimeOut();
    void BalloonClicked();

private:
    void EnsureLoaded();
    void TrayNotify(int code);
    void mnuSysTray_Click(QAction *item);
    bool ValidIndex(int Index) const;
    QAction *NewItem();
    static void SetCaption(QAction *item, const QString &caption);
    QString Cut(const QString &text, int field) const;

    bool m_loaded = false;
    bool m_balloons = false;     // the desktop can show balloon tips
    tray::TrayIcon *m_tray = nullptr;
    QString m_tip;
    QIcon m_icon;
    QMenu *m_mnuPopup = nullptr;
    std::vector<QAction *> m_mnuSysTray;
    bool m_firstItem = false;
    int m_defaultIndex = 0;
};
