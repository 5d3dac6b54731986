#pragma once
// A label whose Change event fires on every change of its caption, from code or otherwise,
// once per change; setting the caption it already shows is no change. Click and DblClick
// come from the mouse, as on the windows' clickable labels.
#include <QLabel>

namespace forms {

class Label : public QLabel {
    Q_OBJECT
public:
    explicit Label(QWidget *parent = nullptr);
    Label(const QString &caption, QWidget *parent = nullptr);

    QString Caption() const { return text(); }
    // Sets the caption; emits Change (before returning) when the text differs.
    void SetCaption(const QString &caption);

    // Colour values with red in the low byte (see Units.h).
    void SetBackColor(int color);
    void SetForeColor(int color);
    int BackColor() const { return m_back; }
    int ForeColor() const { return m_fore; }

signals:
    void Change();
    void Click();
    void DblClick();

protected:
    void mousePressEvent(QMouseEvent *e) override;
    void mouseReleaseEvent(QMouseEvent *e) override;
    void mouseDoubleClickEvent(QMouseEvent *e) override;

private:
    int m_back;
    int m_fore;
    bool m_pressed = false;
};

} // namespace forms
