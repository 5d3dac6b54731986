#include "platform/forms/Label.h"

#include "platform/forms/Units.h"

#include <QMouseEvent>

namespace forms {

Label::Label(QWidget *parent) : Label(QString(), parent) {}

Label::Label(const QString &caption, QWidget *parent)
    : QLabel(parent), m_back(kColorButtonFace), m_fore(kColorButtonText)
{
    // A caption is shown as given, never read as markup.
    setTextFormat(Qt::PlainText);
    setText(caption);
}

void Label::SetCaption(const QString &caption)
{
    if (caption == text())
        return;
    setText(caption);
    emit Change();
}

void Label::SetBackColor(int color)
{
    m_back = color;
    QPalette pal = palette();
    pal.setColor(QPalette::Window, ToQColor(color));
    setPalette(pal);
    setAutoFillBackground(true);
}

void Label::SetForeColor(int color)
{
    m_fore = color;
    QPalette pal = palette();
    pal.setColor(QPalette::WindowText, ToQColor(color));
    setPalette(pal);
}

void Label::mousePressEvent(QMouseEvent *e)
{
    if (e->button() == Qt::LeftButton)
        m_pressed = true;
    QLabel::mousePressEvent(e);
}

void Label::mouseReleaseEvent(QMouseEvent *e)
{
    const bool click = m_pressed && e->button() == Qt::LeftButton && rect().contains(e->position().toPoint());
    m_pressed = false;
    QLabel::mouseReleaseEvent(e);
    if (click)
        emit Click();
}

void Label::mouseDoubleClickEvent(QMouseEvent *e)
{
    QLabel::mouseDoubleClickEvent(e);
    if (e->button() == Qt::LeftButton)
        emit DblClick();
}

} // namespace forms
