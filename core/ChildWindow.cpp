#include "core/ChildWindow.h"

#include "core/frmMain.h"
#include "platform/forms/TopWindow.h"

#include <QCloseEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTimer>

#include <memory>

ChildWindow::~ChildWindow()
{
    if (m_sub)
        m_sub->deleteLater();
}

void ChildWindow::PlaceInMainWindow(const QString &subName, Qt::WindowFlags flags)
{
    m_sub = frmMain::Get()->mdi->addSubWindow(this, flags);
    m_sub->setObjectName(subName);
}

void ChildWindow::WatchActivation(QWidget *owner, QMdiSubWindow *sub, std::function<void()> activated)
{
    frmMain *main = frmMain::Get();
    if (!main || !main->mdi || !sub)
        return;
    // The frame active last among the children; shared by the watcher and its deferred call.
    auto lastActive = std::make_shared<QMdiSubWindow *>(nullptr);
    QObject::connect(main->mdi, &QMdiArea::subWindowActivated, owner,
                     [owner, sub, lastActive, activated](QMdiSubWindow *w) {
                         if (!w)
                             return;   // the main window lost the focus: no change among its children
                         const bool became = w == sub && *lastActive != sub;
                         *lastActive = w;
                         if (became)
                             QTimer::singleShot(0, owner, [sub, lastActive, activated] {
                                 if (*lastActive == sub)
                                     activated();
                             });
                     });
}

void ChildWindow::OnActivation(std::function<void()> activated)
{
    WatchActivation(this, m_sub, std::move(activated));
}

void ChildWindow::BringToFront(QWidget *window)
{
    if (!window)
        return;
    auto *sub = qobject_cast<QMdiSubWindow *>(window->parentWidget());
    if (!sub) {
        if (window->isMinimized())
            forms::ShowNormal(window);
        else
            window->show();
        window->raise();
        return;
    }
    sub->show();
    window->show();
    sub->raise();
    if (QMdiArea *mdi = sub->mdiArea())
        mdi->setActiveSubWindow(sub);
}

void ChildWindow::closeEvent(QCloseEvent *e)
{
    if (!m_closeAgreed && !QueryUnload()) {
        e->ignore();
        return;
    }
    m_closeAgreed = true;
    e->accept();
}

void ChildWindow::CloseAfterAsking(void (*unload)())
{
    if (!QueryUnload())
        return;
    m_closeAgreed = true;
    QTimer::singleShot(0, unload);
}

void ChildWindow::setVisible(bool visible)
{
    if (visible && m_sub && m_sub->isHidden())
        m_sub->show();
    QWidget::setVisible(visible);
    if (visible && m_sub) {
        if (frmMain *main = frmMain::Peek())
            main->MakeRoomFor(m_sub.data());
    }
}
