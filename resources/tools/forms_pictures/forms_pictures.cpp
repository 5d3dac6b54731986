// Draws the six pictures of the project tree (16 by 16 pixels) into PNG files:
//   work_closed / work_open      a project: a briefcase, shut and opened
//   folder_closed / folder_open  a task: a folder, shut and opened
//   act_normal / act_sel         an activity category: a stopwatch, plain and highlighted
// Usage: forms_pictures OUTPUT_FOLDER
#include "../PictureTool.h"

#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QString>
#include <cstdio>
#include <functional>

namespace {

constexpr int kSize = 16;

void Save(const QString &folder, const QString &name, const std::function<void(QPainter &)> &draw)
{
    picturetool::SavePng(folder, name, kSize, kSize, draw);
}

void Case(QPainter &p, bool open)
{
    const QColor leather(150, 92, 40), dark(96, 56, 22);
    // handle
    p.setPen(QPen(dark, 1.4));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(QRectF(5.5, 2.0, 5.0, 3.5), 1.2, 1.2);
    p.setPen(QPen(dark, 1.0));
    if (open) {
        // lid tipped back, the inside showing
        p.setBrush(QColor(222, 196, 150));
        p.drawPolygon(QPolygonF({QPointF(1.5, 8.0), QPointF(3.5, 4.5), QPointF(12.5, 4.5), QPointF(14.5, 8.0)}));
        QLinearGradient g(0, 8, 0, 15);
        g.setColorAt(0, leather.lighter(120));
        g.setColorAt(1, leather);
        p.setBrush(g);
        p.drawRoundedRect(QRectF(1.5, 8.0, 13.0, 6.5), 1.5, 1.5);
        p.setPen(QPen(QColor(255, 255, 255, 120), 1.0));
        p.drawLine(QPointF(4.0, 6.3), QPointF(12.0, 6.3));
    } else {
        QLinearGradient g(0, 5, 0, 15);
        g.setColorAt(0, leather.lighter(125));
        g.setColorAt(1, leather);
        p.setBrush(g);
        p.drawRoundedRect(QRectF(1.5, 5.0, 13.0, 9.5), 1.5, 1.5);
        p.setPen(QPen(dark, 1.0));
        p.drawLine(QPointF(1.5, 9.0), QPointF(14.5, 9.0));
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(240, 200, 60));
        p.drawRect(QRectF(7.0, 8.0, 2.0, 2.5));
    }
}

void Folder(QPainter &p, bool open)
{
    const QColor edge(170, 120, 20);
    p.setPen(QPen(edge, 1.0));
    // back with its tab
    QPainterPath back;
    back.moveTo(1.5, 13.5);
    back.lineTo(1.5, 3.5);
    back.lineTo(6.0, 3.5);
    back.lineTo(7.5, 5.0);
    back.lineTo(14.5, 5.0);
    back.lineTo(14.5, 13.5);
    back.closeSubpath();
    p.setBrush(QColor(230, 180, 60));
    p.drawPath(back);
    if (open) {
        p.setBrush(QColor(255, 255, 255));
        p.setPen(QPen(QColor(150, 150, 150), 0.8));
        p.drawRect(QRectF(3.5, 4.0, 9.0, 6.0));
        p.setPen(QPen(edge, 1.0));
        QLinearGradient g(0, 7, 0, 14);
        g.setColorAt(0, QColor(255, 226, 120));
        g.setColorAt(1, QColor(240, 190, 70));
        p.setBrush(g);
        p.drawPolygon(QPolygonF({QPointF(1.5, 13.5), QPointF(3.5, 7.5), QPointF(15.5, 7.5), QPointF(13.5, 13.5)}));
    } else {
        QLinearGradient g(0, 6, 0, 14);
        g.setColorAt(0, QColor(255, 222, 110));
        g.setColorAt(1, QColor(240, 188, 66));
        p.setBrush(g);
        p.drawRect(QRectF(1.5, 6.5, 13.0, 7.0));
    }
}

void Watch(QPainter &p, bool selected)
{
    const QColor rim = selected ? QColor(20, 110, 30) : QColor(40, 70, 140);
    const QColor face = selected ? QColor(200, 245, 190) : QColor(235, 242, 255);
    p.setPen(QPen(rim, 1.2));
    p.setBrush(rim);
    p.drawRect(QRectF(6.8, 0.8, 2.4, 1.6));   // crown
    p.setBrush(face);
    p.drawEllipse(QRectF(2.0, 3.0, 12.0, 12.0));
    p.setPen(QPen(rim, 1.3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(8.0, 9.0), QPointF(8.0, 5.2));
    p.drawLine(QPointF(8.0, 9.0), QPointF(10.8, 10.6));
    if (selected) {
        p.setPen(QPen(QColor(255, 255, 255), 1.0));
        p.setBrush(QColor(30, 160, 40));
        p.drawEllipse(QRectF(10.0, 10.0, 5.5, 5.5));
        p.setPen(QPen(Qt::white, 1.1, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPolyline(QPolygonF({QPointF(11.3, 12.8), QPointF(12.4, 13.9), QPointF(14.2, 11.6)}));
    }
}

} // namespace

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    const QString out = picturetool::OutputFolder(argc, argv);
    if (out.isEmpty())
        return 2;
    Save(out, "work_closed", [](QPainter &p) { Case(p, false); });
    Save(out, "work_open", [](QPainter &p) { Case(p, true); });
    Save(out, "folder_closed", [](QPainter &p) { Folder(p, false); });
    Save(out, "folder_open", [](QPainter &p) { Folder(p, true); });
    Save(out, "act_normal", [](QPainter &p) { Watch(p, false); });
    Save(out, "act_sel", [](QPainter &p) { Watch(p, true); });
    return 0;
}
