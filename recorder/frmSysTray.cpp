#include "recorder/frmSysTray.h"

#include "platform/tray/TrayIcon.h"
#include "resources/Pictures.h"

#include <QAction>
#include <QApplication>
#include <QCursor>
#include <QMenu>
#include <QStyle>
#include <QSystemTrayIcon>
#include <QTimer>

#include <algorithm>

namespace {

// Field sizes of the tray's texts, each including room for the terminating NUL of the
// record the program once filled: the tooltip held 128 characters where the desktop showed
// balloons and 64 where it did not. Callers were written against these lengths.
constexpr int TipFieldLong = 128;
constexpr int TipFieldShort = 64;
constexpr int InfoField = 256;
constexpr int TitleField = 64;

// How long a balloon stays: the desktop's shortest and longest time, in milliseconds.
constexpr int BalloonMinMs = 10000;
constexpr int BalloonMaxMs = 30000;

const char *const CheckedProperty = "sysTrayChecked";
const char *const CaptionProperty = "sysTrayCaption";

} // namespace

frmSysTray::frmSysTray(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("frmSysTray"));
    setWindowTitle(QStringLiteral("Sys Tray Interface"));
    setAttribute(Qt::WA_DontShowOnScreen);

    // The menu stands from design with its one hidden item 0, which the first AddMenuItem takes.
    m_mnuPopup = new QMenu(QStringLiteral("&Popup"), this);
    m_mnuPopup->setObjectName(QStringLiteral("mnuPopup"));
    m_mnuSysTray.push_back(NewItem());
    m_mnuSysTray[0]->setVisible(false);
    connect(m_mnuPopup, &QMenu::triggered, this, &frmSysTray::mnuSysTray_Click);
}

frmSysTray::~frmSysTray()
{
    // The icon leaves the tray with the component.
    if (m_tray)
        m_tray->Delete();
}

void frmSysTray::EnsureLoaded()
{
    if (m_loaded)
        return;
    m_loaded = true;
    m_balloons = QSystemTrayIcon::supportsMessages();
    m_tray = new tray::TrayIcon(this);
    connect(m_tray, &tray::TrayIcon::Notify, this, &frmSysTray::TrayNotify);

    // At first the icon is the window's own and the tooltip the program's description.
    m_icon = windowIcon();
    if (m_icon.isNull())
        m_icon = res::Icon(QStringLiteral("CLOCK"));
    if (m_icon.isNull())
        m_icon = QApplication::style()->standardIcon(QStyle::SP_ComputerIcon);
    m_tip = Cut(QGuiApplication::applicationDisplayName(), m_balloons ? TipFieldLong : TipFieldShort);
    m_tray->Add(m_icon, m_tip);
}

QString frmSysTray::Cut(const QString &text, int field) const
{
    QString t = text;
    const qsizetype nul = t.indexOf(QChar(u'\0'));
    if (nul >= 0)
        t.truncate(nul);
    return t.left(field - 1);
}

void frmSysTray::ShowBalloonTip(const QString &Text, const QString &Title, int Icon, int TimeOut)
{
    EnsureLoaded();
    if (!m_balloons)
        return;
    // The low bits name the balloon's icon; the higher ones (16: no sound) mean nothing here.
    // The time stays within what the notification area allows a balloon (10 to 30 seconds):
    // callers written for that bound pass small numbers and would see nothing otherwise.
    const int shown = std::clamp(TimeOut, BalloonMinMs, BalloonMaxMs);
    m_tray->ShowBalloon(Cut(Title, TitleField), Cut(Text, InfoField), Icon & 0x0F, shown);
}

void frmSysTray::HideBalloonTip(const QString &Title, int Icon, int TimeOut)
{
    EnsureLoaded();
    if (!m_balloons)
        return;
    m_tray->HideBalloon();
}

QString frmSysTray::ToolTip()
{
    EnsureLoaded();
    return m_tip;
}

void frmSysTray::ToolTip(const QString &text)
{
    EnsureLoaded();
    m_tip = Cut(text, m_balloons ? TipFieldLong : TipFieldShort);
    m_tray->SetTip(m_tip);
}

QIcon frmSysTray::IconHandle()
{
    EnsureLoaded();
    return m_icon;
}

void frmSysTray::IconHandle(const QIcon &icon)
{
    EnsureLoaded();
    if (icon.cacheKey() == m_icon.cacheKey())
        return;
    m_icon = icon;
    m_tray->SetIcon(icon);
}

QAction *frmSysTray::NewItem()
{
    auto *item = new QAction(m_mnuPopup);
    item->setObjectName(QStringLiteral("mnuSysTray"));
    m_mnuPopup->addAction(item);
    return item;
}

void frmSysTray::SetCaption(QAction *item, const QString &caption)
{
    // A separator is only a line: with a text of its own the menu would draw it as a section
    // titled "-". The caption is kept with the item for the moves of RemoveMenuItem.
    const bool separator = caption == QStringLiteral("-");
    item->setProperty(CaptionProperty, caption);
    item->setSeparator(separator);
    item->setText(separator ? QString() : caption);
}

bool frmSysTray::ValidIndex(int Index) const
{
    return Index >= 0 && Index <= mnuSysTrayUBound();
}

QAction *frmSysTray::mnuSysTray(int Index) const
{
    return ValidIndex(Index) ? m_mnuSysTray[static_cast<size_t>(Index)] : nullptr;
}

int16_t frmSysTray::AddMenuItem(const QString &Caption, const QString &Key, bool Default)
{
    EnsureLoaded();
    int index = 0;
    if (!m_firstItem) {
        m_firstItem = true;
    } else {
        m_mnuSysTray.push_back(NewItem());
        index = mnuSysTrayUBound();
    }
    QAction *item = m_mnuSysTray[static_cast<size_t>(index)];
    item->setVisible(true);
    item->setData(Key);
    SetCaption(item, Caption);
    if (Default)
        m_defaultIndex = index;
    return static_cast<int16_t>(index);
}

void frmSysTray::EnableMenuItem(int Index, bool Enabled)
{
    EnsureLoaded();
    if (QAction *item = mnuSysTray(Index))
        item->setEnabled(Enabled);
}

void frmSysTray::CheckMenuItem(int Index, bool Checked)
{
    EnsureLoaded();
    QAction *item = mnuSysTray(Index);
    if (!item)
        return;
    // Only a checked item is checkable, so that unchecked items draw no empty check box.
    item->setProperty(CheckedProperty, Checked);
    item->setCheckable(Checked);
    item->setChecked(Checked);
}

void frmSysTray::RemoveMenuItem(int Index)
{
    EnsureLoaded();
    if (!ValidIndex(Index))
        return;
    if (Index == 0) {
        SetCaption(m_mnuSysTray[0], QString());
        return;
    }
    for (int i = Index; i < mnuSysTrayUBound(); ++i) {
        QAction *to = m_mnuSysTray[static_cast<size_t>(i)];
        QAction *from = m_mnuSysTray[static_cast<size_t>(i + 1)];
        SetCaption(to, from->property(CaptionProperty).toString());
        to->setData(from->data());
    }
    QAction *last = m_mnuSysTray.back();
    m_mnuSysTray.pop_back();
    m_mnuPopup->removeAction(last);
    delete last;
}

int frmSysTray::DefaultMenuIndex()
{
    EnsureLoaded();
    return m_defaultIndex;
}

void frmSysTray::DefaultMenuIndex(int index)
{
    EnsureLoaded();
    m_defaultIndex = ValidIndex(index) ? index : 0;
}

void frmSysTray::ShowMenu()
{
    EnsureLoaded();
    bool any = false;
    for (QAction *item : m_mnuSysTray)
        any = any || item->isVisible();
    if (!any)
        return;
    m_mnuPopup->setDefaultAction(m_defaultIndex >= 0 ? mnuSysTray(m_defaultIndex) : nullptr);
    m_mnuPopup->popup(QCursor::pos());
}

void frmSysTray::mnuSysTray_Click(QAction *item)
{
    // A checkable item toggled itself on the click; its mark belongs to the owner.
    if (item->isCheckable())
        item->setChecked(item->property(CheckedProperty).toBool());
    int index = -1;
    for (size_t i = 0; i < m_mnuSysTray.size(); ++i)
        if (m_mnuSysTray[i] == item)
            index = static_cast<int>(i);
    if (index < 0)
        return;
    const QString key = item->data().toString();
    // Raised once the menu has closed, so that the owner may pop it up again from here.
    QTimer::singleShot(0, this, [this, index, key] { emit MenuClick(index, key); });
}

void frmSysTray::TrayNotify(int code)
{
    switch (code) {
    case tray::WM_LBUTTONUP: emit SysTrayMouseDown(1); break;
    case tray::WM_RBUTTONDOWN: emit SysTrayMouseDown(2); break;
    case tray::WM_RBUTTONUP: emit SysTrayMouseUp(2); break;
    case tray::WM_MOUSEMOVE: emit SysTrayMouseMove(); break;
    case tray::WM_LBUTTONDBLCLK: emit SysTrayDoubleClick(1); break;
    case tray::WM_RBUTTONDBLCLK: emit SysTrayDoubleClick(2); break;
    case tray::NIN_BALLOONSHOW: emit BalloonShow(); break;
    case tray::NIN_BALLOONHIDE: emit BalloonHide(); break;
    case tray::NIN_BALLOONTIMEOUT: emit BalloonTimeOut(); break;
    case tray::NIN_BALLOONUSERCLICK: emit BalloonClicked(); break;
    default: break; // the left press and the middle button raise nothing
    }
}
