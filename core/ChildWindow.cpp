#include "core/ChildWindow.h"

#include "core/frmMain.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTimer>

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

void ChildWindow::OnActivation(std::function<void()> activated)
{
    frmMain *main = frmMain::Get();
    if (!main || !main->mdi)
        return;
    connect(main->mdi, &QMdiArea::subWindowActivated, this, [this, activated](QMdiSubWindow *w) {
        if (!w)
            return;   // the main window lost the focus: no change among its children
        const bool became = w == m_sub && m_lastActive != m_sub;
        m_lastActive = w;
        if (became)
            QTimer::singleShot(0, this, [this, activated] {
                if (m_lastActive == m_sub)
                    activated();
            });
    });
}

void ChildWindow::setVisible(bool visible)
{
    if (visible && m_sub && m_sub->isHidden())
        m_sub->show();
    QWidget::setVisible(visible);
    if (visible && m_sub) {
        if (frmMain *main = frmMain::Peek())
            main->MakeRoomFor(m_sub->geometry());
    }
}
