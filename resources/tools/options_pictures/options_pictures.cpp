// Draws the option tree's pictures (16 by 16 pixels) into PNG files of the images folder:
//   chk_on    an option that is on: a ticked box
//   chk_off   an option that is off: an empty box
//   fl_uk, fl_gr, fl_fr, fl_de   the language flags 234..237 of the same folder, made small
// Usage: options_pictures IMAGES_FOLDER
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPolygonF>
#include <QString>
#include <cstdio>

namespace {

bool Save(const QImage &img, const QString &path)
{
    if (img.save(path, "PNG"))
        return true;
    std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    return false;
}

QImage Box(bool ticked)
{
    QImage img(16, 16, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(QPen(QColor(70, 90, 130), 1.0));
    p.setBrush(QColor(255, 255, 255));
    p.drawRoundedRect(QRectF(2.5, 2.5, 11.0, 11.0), 1.5, 1.5);
    if (ticked) {
        p.setPen(QPen(QColor(20, 150, 40), 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPolyline(QPolygonF({QPointF(4.5, 8.2), QPointF(7.0, 10.8), QPointF(11.8, 5.0)}));
    }
    return img;
}

} // namespace

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s IMAGES_FOLDER\n", argv[0]);
        return 2;
    }
    const QString dir = QString::fromLocal8Bit(argv[1]) + QStringLiteral("/");
    bool ok = Save(Box(true), dir + "chk_on.png") && Save(Box(false), dir + "chk_off.png");
    const char *flags[] = {"fl_uk", "fl_gr", "fl_fr", "fl_de"};
    for (int i = 0; i < 4 && ok; ++i) {
        const QImage flag(dir + QString::number(234 + i) + ".png");
        if (flag.isNull()) {
            std::fprintf(stderr, "no flag %d in %s\n", 234 + i, qPrintable(dir));
            return 1;
        }
        QImage img(16, 16, QImage::Format_ARGB32_Premultiplied);
        img.fill(Qt::transparent);
        QPainter p(&img);
        p.setRenderHint(QPainter::SmoothPixmapTransform, true);
        const QRectF target(0.5, 2.5, 15.0, 11.0);
        p.drawImage(target, flag);
        p.setPen(QPen(QColor(90, 90, 90), 1.0));
        p.setBrush(Qt::NoBrush);
        p.drawRect(target);
        p.end();
        ok = Save(img, dir + flags[i] + ".png");
    }
    return ok ? 0 : 1;
}
