// Draws the pictures of the timers window into PNG files:
//   216 .. 225   the digits 0 to 9 of the elapsed time (16 by 24 pixels), as the segments
//                of a liquid-crystal display: lit segments dark on a pale green glass,
//                unlit ones faintly visible
//   CLOCK        a running timer: a stopwatch with a green face (16 by 16)
//   SAVE         a timer whose last segment is saved: a disk with a tick (16 by 16)
//   STOP         a timer stopped with its segment not saved: a red stop square (16 by 16)
//   NORMAL       any other row (and an entry not yet sent): a plain sheet (16 by 16)
// Usage: timer_pictures OUTPUT_FOLDER
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

using picturetool::SavePng;

// ---- digits ----------------------------------------------------------------------------
//  segments:  a top, b top right, c bottom right, d bottom, e bottom left, f top left, g middle
constexpr unsigned kSegments[10] = {
    0b0111111, // 0: a b c d e f
    0b0000110, // 1: b c
    0b1011011, // 2: a b d e g
    0b1001111, // 3: a b c d g
    0b1100110, // 4: b c f g
    0b1101101, // 5: a c d f g
    0b1111101, // 6: a c d e f g
    0b0000111, // 7: a b c
    0b1111111, // 8
    0b1101111, // 9: a b c d f g
};

// One segment as a hexagon-ended bar from (x1, y1) to (x2, y2), horizontal or vertical.
QPolygonF Bar(double x1, double y1, double x2, double y2, double t)
{
    const double h = t / 2;
    if (y1 == y2) // horizontal
        return QPolygonF({QPointF(x1, y1), QPointF(x1 + h, y1 - h), QPointF(x2 - h, y1 - h),
                          QPointF(x2, y1), QPointF(x2 - h, y1 + h), QPointF(x1 + h, y1 + h)});
    return QPolygonF({QPointF(x1, y1), QPointF(x1 + h, y1 + h), QPointF(x1 + h, y2 - h),
                      QPointF(x1, y2), QPointF(x1 - h, y2 - h), QPointF(x1 - h, y1 + h)});
}

void Digit(QPainter &p, int d)
{
    // the glass
    QLinearGradient glass(0, 0, 0, 24);
    glass.setColorAt(0, QColor(214, 230, 190));
    glass.setColorAt(1, QColor(188, 208, 160));
    p.setPen(QPen(QColor(110, 130, 90), 1.0));
    p.setBrush(glass);
    p.drawRoundedRect(QRectF(0.5, 0.5, 15.0, 23.0), 2.0, 2.0);

    const double l = 4.0, r = 12.0, top = 3.5, mid = 12.0, bot = 20.5, t = 2.2;
    const QPolygonF seg[7] = {
        Bar(l + 0.6, top, r - 0.6, top, t),   // a
        Bar(r, top + 0.6, r, mid - 0.6, t),   // b
        Bar(r, mid + 0.6, r, bot - 0.6, t),   // c
        Bar(l + 0.6, bot, r - 0.6, bot, t),   // d
        Bar(l, mid + 0.6, l, bot - 0.6, t),   // e
        Bar(l, top + 0.6, l, mid - 0.6, t),   // f
        Bar(l + 0.6, mid, r - 0.6, mid, t),   // g
    };
    p.setPen(Qt::NoPen);
    for (int s = 0; s < 7; ++s) {
        const bool lit = kSegments[d] & (1u << s);
        p.setBrush(lit ? QColor(24, 36, 20) : QColor(160, 180, 135, 150));
        // a slight slant, as display digits have
        QTransform slant;
        slant.translate(0, 12).shear(-0.08, 0).translate(0, -12);
        p.drawPolygon(slant.map(seg[s]));
    }
}

// ---- row pictures ----------------------------------------------------------------------

void Clock(QPainter &p)
{
    const QColor rim(30, 100, 40);
    p.setPen(QPen(rim, 1.0));
    p.setBrush(rim);
    p.drawRect(QRectF(6.5, 0.5, 3.0, 2.0));          // crown
    p.drawRect(QRectF(12.2, 2.6, 1.8, 1.8));         // side button
    QRadialGradient face(8, 9, 7);
    face.setColorAt(0, QColor(235, 255, 225));
    face.setColorAt(1, QColor(150, 220, 140));
    p.setPen(QPen(rim, 1.3));
    p.setBrush(face);
    p.drawEllipse(QRectF(1.8, 3.0, 12.4, 12.4));
    p.setPen(QPen(rim, 0.9));
    for (int i = 0; i < 4; ++i) {
        p.save();
        p.translate(8.0, 9.2);
        p.rotate(90.0 * i);
        p.drawLine(QPointF(0, -5.2), QPointF(0, -4.2));
        p.restore();
    }
    p.setPen(QPen(QColor(20, 40, 20), 1.4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(8.0, 9.2), QPointF(8.0, 5.0));
    p.setPen(QPen(QColor(200, 30, 30), 1.1, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(8.0, 9.2), QPointF(11.2, 11.0));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(20, 40, 20));
    p.drawEllipse(QPointF(8.0, 9.2), 1.0, 1.0);
}

void Disk(QPainter &p)
{
    const QColor body(40, 80, 160), edge(20, 40, 100);
    p.setPen(QPen(edge, 1.0));
    p.setBrush(body);
    QPainterPath shape;
    shape.moveTo(1.5, 1.5);
    shape.lineTo(12.5, 1.5);
    shape.lineTo(14.5, 3.5);
    shape.lineTo(14.5, 14.5);
    shape.lineTo(1.5, 14.5);
    shape.closeSubpath();
    p.drawPath(shape);
    p.setBrush(QColor(225, 230, 240));
    p.drawRect(QRectF(4.0, 1.5, 7.5, 4.5));            // shutter
    p.setBrush(body.darker(140));
    p.setPen(Qt::NoPen);
    p.drawRect(QRectF(8.5, 2.3, 1.8, 3.0));
    p.setBrush(QColor(250, 250, 250));
    p.setPen(QPen(edge, 0.8));
    p.drawRect(QRectF(3.5, 8.5, 9.0, 6.0));            // label
    p.setPen(QPen(QColor(20, 150, 40), 1.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPolyline(QPolygonF({QPointF(5.3, 11.4), QPointF(7.4, 13.2), QPointF(10.8, 9.6)}));
}

void Stop(QPainter &p)
{
    QLinearGradient g(0, 2, 0, 14);
    g.setColorAt(0, QColor(240, 90, 80));
    g.setColorAt(1, QColor(185, 25, 20));
    p.setPen(QPen(QColor(120, 10, 10), 1.0));
    p.setBrush(g);
    // an octagon, the stop sign
    const double a = 2.0, b = 5.5, c = 10.5, e = 14.0;
    p.drawPolygon(QPolygonF({QPointF(b, a), QPointF(c, a), QPointF(e, b), QPointF(e, c),
                             QPointF(c, e), QPointF(b, e), QPointF(a, c), QPointF(a, b)}));
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawRect(QRectF(4.8, 7.0, 6.4, 2.0));
}

void Sheet(QPainter &p)
{
    const QColor edge(110, 120, 140);
    p.setPen(QPen(edge, 1.0));
    p.setBrush(QColor(252, 252, 255));
    QPainterPath page;
    page.moveTo(3.5, 1.5);
    page.lineTo(10.0, 1.5);
    page.lineTo(12.5, 4.0);
    page.lineTo(12.5, 14.5);
    page.lineTo(3.5, 14.5);
    page.closeSubpath();
    p.drawPath(page);
    p.setBrush(QColor(215, 222, 235));
    p.drawPolygon(QPolygonF({QPointF(10.0, 1.5), QPointF(10.0, 4.0), QPointF(12.5, 4.0)}));
    p.setPen(QPen(QColor(160, 170, 190), 0.9));
    for (double y : {6.5, 8.5, 10.5, 12.5})
        p.drawLine(QPointF(5.2, y), QPointF(10.8, y));
}

} // namespace

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    const QString out = picturetool::OutputFolder(argc, argv);
    if (out.isEmpty())
        return 2;
    for (int d = 0; d < 10; ++d)
        SavePng(out, QString::number(216 + d), 16, 24, [d](QPainter &p) { Digit(p, d); });
    SavePng(out, "CLOCK", 16, 16, Clock);
    SavePng(out, "SAVE", 16, 16, Disk);
    SavePng(out, "STOP", 16, 16, Stop);
    SavePng(out, "NORMAL", 16, 16, Sheet);
    return 0;
}
