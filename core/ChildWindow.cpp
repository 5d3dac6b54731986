#include "core/ChildWindow.h"

#include "core/frmMain.h"

#include <QMdiArea>
#include <QMdiSubWindow>

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
