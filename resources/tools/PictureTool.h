#pragma once
// What the picture tools share: the output folder from the command line and the writing of one
// drawn picture as a PNG file. Header only: each tool is a small project of its own.
#include <QImage>
#include <QPainter>
#include <QString>

#include <cstdio>
#include <functional>

namespace picturetool {

// The output folder, the tool's one argument; "" (with the usage on stderr) when it is missing.
inline QString OutputFolder(int argc, char **argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_FOLDER\n", argv[0]);
        return QString();
    }
    return QString::fromLocal8Bit(argv[1]);
}

// Writes img as folder/name.png; false (said on stderr) when the file cannot be written.
inline bool WritePng(const QImage &img, const QString &folder, const QString &name)
{
    const QString path = folder + QStringLiteral("/") + name + QStringLiteral(".png");
    if (img.save(path, "PNG"))
        return true;
    std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    return false;
}

// Draws a picture of w by h pixels on a transparent canvas, smoothed, and writes it as
// folder/name.png.
inline bool SavePng(const QString &folder, const QString &name, int w, int h,
                    const std::function<void(QPainter &)> &draw)
{
    QImage img(w, h, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    {
        QPainter p(&img);
        p.setRenderHint(QPainter::Antialiasing, true);
        p.setRenderHint(QPainter::TextAntialiasing, true);
        p.setRenderHint(QPainter::SmoothPixmapTransform, true);
        draw(p);
    }
    return WritePng(img, folder, name);
}

} // namespace picturetool
