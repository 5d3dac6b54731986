// Draws the task loader's picture (16 by 16 pixels) into a PNG file:
//   act_chk   a chosen activity category: the category's stopwatch with a green tick
// Usage: loader_pictures OUTPUT_FOLDER
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPolygonF>
#include <QString>
#include <cstdio>

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_FOLDER\n", argv[0]);
        return 2;
    }
    QImage img(16, 16, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    {
        QPainter p(&img);
        p.setRenderHint(QPainter::Antialiasing, true);
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
    }
    const QString path = QString::fromLocal8Bit(argv[1]) + "/act_chk.png";
    if (!img.save(path, "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return 1;
    }
    return 0;
}
