// Draws the four icons of the program's message box into PNG files:
//   101 question, 102 critical, 103 exclamation, 104 information (32 by 32 pixels).
// Build and run (from this folder):
//   cmake -S . -B /tmp/msgbox-icons -G Ninja && cmake --build /tmp/msgbox-icons
//   QT_QPA_PLATFORM=offscreen /tmp/msgbox-icons/msgbox_icons ../images
#include "PictureTool.h"

#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QString>
#include <cstdio>

namespace {

constexpr int kSize = 32;

QImage NewImage()
{
    QImage img(kSize, kSize, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    return img;
}

void Prepare(QPainter &p)
{
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setRenderHint(QPainter::TextAntialiasing, true);
}

// A round badge with a soft shadow and a darker rim.
void Disc(QPainter &p, const QColor &fill, const QColor &rim)
{
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 60));
    p.drawEllipse(QRectF(2.5, 3.5, 28, 28));
    QRadialGradient g(QPointF(12, 10), 20);
    g.setColorAt(0, fill.lighter(135));
    g.setColorAt(1, fill);
    p.setBrush(g);
    p.setPen(QPen(rim, 1.2));
    p.drawEllipse(QRectF(1.5, 1.5, 28, 28));
}

void Glyph(QPainter &p, const QRectF &box, const QString &text, const QColor &color, int px)
{
    QFont f(QStringLiteral("Liberation Sans"));
    f.setBold(true);
    f.setPixelSize(px);
    p.setFont(f);
    p.setPen(color);
    p.drawText(box, Qt::AlignCenter, text);
}

QImage Critical()
{
    QImage img = NewImage();
    QPainter p(&img);
    Prepare(p);
    Disc(p, QColor(200, 30, 30), QColor(120, 10, 10));
    QPen pen(Qt::white, 3.6, Qt::SolidLine, Qt::RoundCap);
    p.setPen(pen);
    p.drawLine(QPointF(10.5, 10.5), QPointF(20.5, 20.5));
    p.drawLine(QPointF(20.5, 10.5), QPointF(10.5, 20.5));
    return img;
}

QImage Question()
{
    QImage img = NewImage();
    QPainter p(&img);
    Prepare(p);
    Disc(p, QColor(40, 100, 200), QColor(20, 50, 120));
    Glyph(p, QRectF(1.5, 1.5, 28, 28), QStringLiteral("?"), Qt::white, 22);
    return img;
}

QImage Exclamation()
{
    QImage img = NewImage();
    QPainter p(&img);
    Prepare(p);
    QPolygonF shadow({QPointF(16.5, 3.5), QPointF(31, 30), QPointF(2, 30)});
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 60));
    p.drawPolygon(shadow);
    QPainterPath tri;
    tri.moveTo(15.5, 2);
    tri.lineTo(30, 28.5);
    tri.lineTo(1, 28.5);
    tri.closeSubpath();
    QLinearGradient g(QPointF(0, 2), QPointF(0, 28));
    g.setColorAt(0, QColor(255, 230, 90));
    g.setColorAt(1, QColor(240, 190, 20));
    p.setBrush(g);
    p.setPen(QPen(QColor(150, 110, 0), 1.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(tri);
    Glyph(p, QRectF(1, 8, 29, 21), QStringLiteral("!"), Qt::black, 19);
    return img;
}

QImage Information()
{
    QImage img = NewImage();
    QPainter p(&img);
    Prepare(p);
    Disc(p, QColor(30, 120, 220), QColor(15, 60, 130));
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawEllipse(QRectF(13.5, 6, 4.5, 4.5));
    p.drawRoundedRect(QRectF(13.7, 12.5, 4.1, 12.5), 1.2, 1.2);
    return img;
}

bool Save(const QImage &img, const QString &dir, int number)
{
    return picturetool::WritePng(img, dir, QString::number(number));
}

} // namespace

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    const QString dir = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    bool ok = Save(Question(), dir, 101);
    ok = Save(Critical(), dir, 102) && ok;
    ok = Save(Exclamation(), dir, 103) && ok;
    ok = Save(Information(), dir, 104) && ok;
    return ok ? 0 : 1;
}
