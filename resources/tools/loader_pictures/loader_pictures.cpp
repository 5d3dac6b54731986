// Draws the task loader's picture (16 by 16 pixels) into a PNG file:
//   act_chk   a chosen activity category: the category's stopwatch with a green tick
// Usage: loader_pictures OUTPUT_FOLDER
#include "../PictureTool.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPolygonF>
#include <QString>
#include <cstdio>

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    const QString out = picturetool::OutputFolder(argc, argv);
    if (out.isEmpty())
        return 2;
    const bool written = picturetool::SavePng(out, QStringLiteral("act_chk"), 16, 16, [](QPainter &p) {
        // the stopwatch of a category, as the tree shows it
        const QColor rim(40, 70, 140), face(235, 242, 255);
        p.setPen(QPen(rim, 1.2));
        p.setBrush(rim);
        p.drawRect(QRectF(6.8, 0.8, 2.4, 1.6));
        p.setBrush(face);
        p.drawEllipse(QRectF(2.0, 3.0, 12.0, 12.0));
        p.setPen(QPen(rim, 1.3, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(8.0, 9.0), QPointF(8.0, 5.2));
        p.drawLine(QPointF(8.0, 9.0), QPointF(10.8, 10.6));
        // the tick over it
        p.setPen(QPen(QColor(255, 255, 255), 3.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        const QPolygonF tick({QPointF(3.0, 9.5), QPointF(6.5, 13.0), QPointF(14.0, 4.5)});
        p.drawPolyline(tick);
        p.setPen(QPen(QColor(20, 150, 40), 2.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPolyline(tick);
    });
    return written ? 0 : 1;
}
