// Draws the pictures of the editors' grid rows that tell how far a row got with the service,
// each 16 by 16 (the plain sheet "NORMAL" of a row not yet sent comes with the timers window's
// pictures):
//   CHECK   accepted by the service: a green tick
//   RESEND  to be sent again: two blue arrows turning round
//   QUEST   refused by the service: a question mark on an amber disc
//   PLUS    a row not complete yet (no task or no category): a green plus
// Usage: sendstate_pictures OUTPUT_FOLDER
#include "../PictureTool.h"

#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QRadialGradient>
#include <QString>
#include <cstdio>
#include <functional>

namespace {

void Save(const QString &folder, const QString &name, const std::function<void(QPainter &)> &draw)
{
    picturetool::SavePng(folder, name, 16, 16, draw);
}

void Check(QPainter &p)
{
    QPainterPath tick;
    tick.moveTo(2.5, 8.5);
    tick.lineTo(6.5, 12.5);
    tick.lineTo(13.5, 3.5);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(20, 90, 20), 3.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(tick);
    p.setPen(QPen(QColor(60, 185, 60), 2.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(tick);
}

void Arrow(QPainter &p, double startDeg, const QPointF &head, double dx, double dy)
{
    const QRectF ring(2.5, 2.5, 11.0, 11.0);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(30, 80, 170), 2.0, Qt::SolidLine, Qt::FlatCap));
    p.drawArc(ring, int(startDeg * 16), int(130 * 16));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(30, 80, 170));
    p.drawPolygon(QPolygonF({head + QPointF(-dy * 2.8, dx * 2.8), head + QPointF(dy * 2.8, -dx * 2.8),
                             head + QPointF(dx * 3.5, dy * 3.5)}));
}

void Resend(QPainter &p)
{
    // Upper arc from the left round to the right, heading down; lower arc back, heading up.
    Arrow(p, 20, QPointF(13.4, 9.2), 0.0, 1.0);
    Arrow(p, 200, QPointF(2.6, 6.8), 0.0, -1.0);
}

void Quest(QPainter &p)
{
    QRadialGradient g(QPointF(6, 5), 9);
    g.setColorAt(0, QColor(255, 225, 120));
    g.setColorAt(1, QColor(225, 150, 20));
    p.setPen(QPen(QColor(150, 90, 10), 1.0));
    p.setBrush(g);
    p.drawEllipse(QRectF(1.0, 1.0, 14.0, 14.0));
    QFont f(QStringLiteral("Arial"));
    f.setPixelSize(12);
    f.setBold(true);
    p.setFont(f);
    p.setPen(QColor(90, 40, 0));
    p.drawText(QRectF(1.0, 1.5, 14.0, 14.0), Qt::AlignCenter, QStringLiteral("?"));
}

void Plus(QPainter &p)
{
    QLinearGradient g(0, 2, 0, 14);
    g.setColorAt(0, QColor(120, 210, 110));
    g.setColorAt(1, QColor(40, 140, 40));
    QPainterPath cross;
    cross.addRect(QRectF(6.0, 2.0, 4.0, 12.0));
    cross.addRect(QRectF(2.0, 6.0, 12.0, 4.0));
    cross.setFillRule(Qt::WindingFill);
    p.setPen(QPen(QColor(20, 90, 20), 1.0));
    p.setBrush(g);
    p.drawPath(cross.simplified());
}

} // namespace

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    const QString out = picturetool::OutputFolder(argc, argv);
    if (out.isEmpty())
        return 2;
    Save(out, "CHECK", Check);
    Save(out, "RESEND", Resend);
    Save(out, "QUEST", Quest);
    Save(out, "PLUS", Plus);
    return 0;
}
