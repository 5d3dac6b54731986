// Draws the option tree's pictures (16 by 16 pixels) into PNG files of the images folder:
//   chk_on    an option that is on: a ticked box
//   chk_off   an option that is off: an empty box
//   fl_uk, fl_gr, fl_fr, fl_de   the language flags 234..237 of the same folder, made small
// Usage: options_pictures IMAGES_FOLDER
#include "../PictureTool.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPolygonF>
#include <QString>
#include <cstdio>

namespace {

void Box(QPainter &p, bool ticked)
{
    p.setPen(QPen(QColor(70, 90, 130), 1.0));
    p.setBrush(QColor(255, 255, 255));
    p.drawRoundedRect(QRectF(2.5, 2.5, 11.0, 11.0), 1.5, 1.5);
    if (ticked) {
        p.setPen(QPen(QColor(20, 150, 40), 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPolyline(QPolygonF({QPointF(4.5, 8.2), QPointF(7.0, 10.8), QPointF(11.8, 5.0)}));
    }
}

// The flag picture made small, with a thin grey edge.
void SmallFlag(QPainter &p, const QImage &flag)
{
    const QRectF target(0.5, 2.5, 15.0, 11.0);
    p.drawImage(target, flag);
    p.setPen(QPen(QColor(90, 90, 90), 1.0));
    p.setBrush(Qt::NoBrush);
    p.drawRect(target);
}

} // namespace

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    const QString dir = picturetool::OutputFolder(argc, argv);
    if (dir.isEmpty())
        return 2;
    bool ok = picturetool::SavePng(dir, "chk_on", 16, 16, [](QPainter &p) { Box(p, true); }) &&
              picturetool::SavePng(dir, "chk_off", 16, 16, [](QPainter &p) { Box(p, false); });
    const char *flags[] = {"fl_uk", "fl_gr", "fl_fr", "fl_de"};
    for (int i = 0; i < 4 && ok; ++i) {
        const QImage flag(dir + QStringLiteral("/") + QString::number(234 + i) + ".png");
        if (flag.isNull()) {
            std::fprintf(stderr, "no flag %d in %s\n", 234 + i, qPrintable(dir));
            return 1;
        }
        ok = picturetool::SavePng(dir, flags[i], 16, 16, [&flag](QPainter &p) { SmallFlag(p, flag); });
    }
    return ok ? 0 : 1;
}
