// Draws the pictures of the main window's frame into PNG files:
//   ARUNNOT            the program's icon while no timer records (32 by 32): a stopwatch
//   105 .. 112         the icon's animation while a timer records: the hand goes round in
//                      eight steps of 45 degrees, the rim red
//   HAND               the pointing hand of the toolbar and the flags (32 by 32, its tip at 12, 1)
//   CONN_ON, CONN_OFF  the connection indicator (16 by 16): a globe, with a green tick or a
//                      red cross
//   230 .. 233         the language flags (26 by 18): English, Greek, French, German
//   234 .. 237         the same under the mouse: lighter, with a golden rim
//   238 .. 241         the same pressed: darker, sunk by one pixel
//   TOOL_TIMERS, TOOL_TIMELOG, TOOL_EXPENSES, TOOL_SYNC, TOOL_LEAVE
//                      the toolbar's pictures (28 by 28), light on the dark toolbar
//   COVER              the picture of the empty document area (260 by 170)
// Usage: frame_pictures OUTPUT_FOLDER
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
#include <QtMath>
#include <cstdio>
#include <functional>

namespace {

QString g_out;
int g_failures = 0;

void Save(const QString &name, int w, int h, const std::function<void(QPainter &)> &draw)
{
    if (!picturetool::SavePng(g_out, name, w, h, draw))
        ++g_failures;
}

// ---- stopwatch: the program's icon and its animation ----------------------------------

// A stopwatch filling a square of side s: crown and side button, rim, face with ticks and one
// hand at angle degrees (0 up, clockwise).
void Stopwatch(QPainter &p, double s, const QColor &rim, const QColor &face, double angle, bool recording)
{
    const double k = s / 32.0;
    p.save();
    p.scale(k, k);
    const QColor dark = rim.darker(160);
    // crown and the button at its side
    p.setPen(QPen(dark, 1.0));
    p.setBrush(rim);
    p.drawRoundedRect(QRectF(13.0, 1.0, 6.0, 3.5), 1.0, 1.0);
    p.drawRect(QRectF(14.8, 4.0, 2.4, 2.5));
    p.save();
    p.translate(16, 18);
    p.rotate(45);
    p.drawRoundedRect(QRectF(-1.6, -15.6, 3.2, 3.4), 0.8, 0.8);
    p.restore();
    // rim
    QRadialGradient rg(QPointF(12, 12), 20);
    rg.setColorAt(0, rim.lighter(140));
    rg.setColorAt(1, rim);
    p.setBrush(rg);
    p.setPen(QPen(dark, 1.2));
    p.drawEllipse(QPointF(16, 18), 13.2, 13.2);
    // face
    QRadialGradient fg(QPointF(13, 14), 14);
    fg.setColorAt(0, Qt::white);
    fg.setColorAt(1, face);
    p.setBrush(fg);
    p.setPen(QPen(dark.lighter(130), 0.8));
    p.drawEllipse(QPointF(16, 18), 10.4, 10.4);
    // ticks at the quarters
    p.setPen(QPen(QColor(60, 60, 70), 1.4, Qt::SolidLine, Qt::RoundCap));
    for (int q = 0; q < 4; ++q) {
        const double a = qDegreesToRadians(q * 90.0);
        p.drawLine(QPointF(16 + 8.0 * std::sin(a), 18 - 8.0 * std::cos(a)),
                   QPointF(16 + 9.6 * std::sin(a), 18 - 9.6 * std::cos(a)));
    }
    // the hand
    const double a = qDegreesToRadians(angle);
    p.setPen(QPen(recording ? QColor(200, 20, 20) : QColor(30, 40, 90), 1.8, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(16, 18), QPointF(16 + 8.2 * std::sin(a), 18 - 8.2 * std::cos(a)));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(30, 40, 90));
    p.drawEllipse(QPointF(16, 18), 1.6, 1.6);
    if (recording) {
        // the recording light
        p.setBrush(QColor(255, 255, 255));
        p.drawEllipse(QPointF(26.5, 5.5), 4.6, 4.6);
        QRadialGradient lg(QPointF(25.5, 4.5), 4);
        lg.setColorAt(0, QColor(255, 120, 110));
        lg.setColorAt(1, QColor(210, 0, 0));
        p.setBrush(lg);
        p.drawEllipse(QPointF(26.5, 5.5), 3.6, 3.6);
    }
    p.restore();
}

// ---- the pointing hand -----------------------------------------------------------------------

void Hand(QPainter &p)
{
    QPainterPath hand;
    hand.setFillRule(Qt::WindingFill);
    hand.addRoundedRect(QRectF(10.0, 0.5, 5.0, 17.0), 2.5, 2.5);     // index finger
    hand.addRoundedRect(QRectF(14.5, 9.5, 4.6, 9.0), 2.3, 2.3);      // middle finger
    hand.addRoundedRect(QRectF(18.6, 10.5, 4.4, 8.5), 2.2, 2.2);     // ring finger
    hand.addRoundedRect(QRectF(22.4, 12.0, 4.1, 8.0), 2.0, 2.0);     // little finger
    hand.addRoundedRect(QRectF(10.0, 14.0, 16.5, 12.5), 4.0, 4.0);   // palm
    QPainterPath thumb;
    thumb.moveTo(11.0, 17.0);
    thumb.lineTo(6.2, 13.8);
    thumb.cubicTo(3.6, 12.2, 1.6, 15.2, 3.8, 17.4);
    thumb.lineTo(10.5, 24.5);
    thumb.closeSubpath();
    hand.addPath(thumb);
    hand.addRect(QRectF(12.0, 25.0, 13.0, 5.5));                     // cuff
    const QPainterPath outline = hand.simplified();
    p.setPen(QPen(Qt::black, 1.3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::white);
    p.drawPath(outline);
    // creases between the fingers
    p.setPen(QPen(QColor(90, 90, 90), 0.9, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(14.8, 12.5), QPointF(14.8, 17.0));
    p.drawLine(QPointF(18.8, 13.0), QPointF(18.8, 17.5));
    p.drawLine(QPointF(22.6, 14.0), QPointF(22.6, 18.0));
    p.setPen(QPen(Qt::black, 1.1));
    p.drawLine(QPointF(12.0, 25.0), QPointF(25.0, 25.0));
}

// ---- the connection indicator ------------------------------------------------------------

void Globe(QPainter &p, bool on)
{
    const QColor sea = on ? QColor(40, 120, 210) : QColor(150, 150, 155);
    const QColor land = on ? QColor(70, 170, 70) : QColor(190, 190, 195);
    QRadialGradient g(QPointF(5.5, 5), 9);
    g.setColorAt(0, sea.lighter(150));
    g.setColorAt(1, sea);
    p.setPen(QPen(sea.darker(170), 1.0));
    p.setBrush(g);
    p.drawEllipse(QRectF(1.0, 1.0, 13.0, 13.0));
    p.setPen(Qt::NoPen);
    p.setBrush(land);
    QPainterPath cont;
    cont.moveTo(4.0, 4.0);
    cont.cubicTo(6.5, 2.5, 8.5, 4.5, 7.0, 6.5);
    cont.cubicTo(6.0, 8.0, 8.0, 10.0, 6.0, 12.0);
    cont.cubicTo(4.0, 11.0, 2.5, 8.0, 4.0, 4.0);
    p.drawPath(cont);
    QPainterPath cont2;
    cont2.moveTo(9.5, 3.0);
    cont2.cubicTo(12.5, 4.0, 13.5, 7.0, 12.0, 9.0);
    cont2.cubicTo(10.5, 8.0, 9.0, 6.0, 9.5, 3.0);
    p.drawPath(cont2);
    p.setPen(QPen(QColor(255, 255, 255, 110), 0.7));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QRectF(4.5, 1.0, 6.0, 13.0));
    p.drawLine(QPointF(1.5, 7.5), QPointF(13.5, 7.5));
    // the badge
    p.setPen(QPen(Qt::white, 1.0));
    p.setBrush(on ? QColor(20, 150, 40) : QColor(210, 30, 30));
    p.drawEllipse(QRectF(8.5, 8.5, 7.0, 7.0));
    p.setPen(QPen(Qt::white, 1.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    if (on) {
        p.drawPolyline(QPolygonF({QPointF(10.3, 12.1), QPointF(11.6, 13.4), QPointF(13.8, 10.6)}));
    } else {
        p.drawLine(QPointF(10.5, 10.5), QPointF(13.5, 13.5));
        p.drawLine(QPointF(13.5, 10.5), QPointF(10.5, 13.5));
    }
}

// ---- the language flags ------------------------------------------------------------------

constexpr int kFlagW = 26, kFlagH = 18;

void FlagEnglish(QPainter &p, const QRectF &r)
{
    const QColor blue(1, 33, 105), red(200, 16, 46);
    p.fillRect(r, blue);
    p.save();
    p.setClipRect(r);
    const QPointF tl = r.topLeft(), tr = r.topRight(), bl = r.bottomLeft(), br = r.bottomRight();
    const double u = r.height() / 30.0;   // the flag's own unit: it is 30 high
    p.setPen(QPen(Qt::white, 6 * u));
    p.drawLine(tl, br);
    p.drawLine(tr, bl);
    p.setPen(QPen(red, 2.2 * u));
    p.drawLine(tl, br);
    p.drawLine(tr, bl);
    const QPointF c = r.center();
    p.fillRect(QRectF(c.x() - 5 * u, r.top(), 10 * u, r.height()), Qt::white);
    p.fillRect(QRectF(r.left(), c.y() - 5 * u, r.width(), 10 * u), Qt::white);
    p.fillRect(QRectF(c.x() - 3 * u, r.top(), 6 * u, r.height()), red);
    p.fillRect(QRectF(r.left(), c.y() - 3 * u, r.width(), 6 * u), red);
    p.restore();
}

void FlagGreek(QPainter &p, const QRectF &r)
{
    const QColor blue(13, 94, 175);
    const double sh = r.height() / 9.0;
    for (int i = 0; i < 9; ++i)
        p.fillRect(QRectF(r.left(), r.top() + i * sh, r.width(), sh + 0.05), i % 2 ? Qt::white : blue);
    const QRectF canton(r.left(), r.top(), 5 * sh, 5 * sh);
    p.fillRect(canton, blue);
    p.fillRect(QRectF(canton.left() + 2 * sh, canton.top(), sh, canton.height()), Qt::white);
    p.fillRect(QRectF(canton.left(), canton.top() + 2 * sh, canton.width(), sh), Qt::white);
}

void FlagFrench(QPainter &p, const QRectF &r)
{
    const double w = r.width() / 3.0;
    p.fillRect(QRectF(r.left(), r.top(), w + 0.05, r.height()), QColor(0, 85, 164));
    p.fillRect(QRectF(r.left() + w, r.top(), w + 0.05, r.height()), Qt::white);
    p.fillRect(QRectF(r.left() + 2 * w, r.top(), w, r.height()), QColor(239, 65, 53));
}

void FlagGerman(QPainter &p, const QRectF &r)
{
    const double h = r.height() / 3.0;
    p.fillRect(QRectF(r.left(), r.top(), r.width(), h + 0.05), QColor(0, 0, 0));
    p.fillRect(QRectF(r.left(), r.top() + h, r.width(), h + 0.05), QColor(221, 0, 0));
    p.fillRect(QRectF(r.left(), r.top() + 2 * h, r.width(), h), QColor(255, 206, 0));
}

// look 0 normal, 1 under the mouse, 2 pressed
void Flag(QPainter &p, int language, int look)
{
    p.setRenderHint(QPainter::Antialiasing, false);
    QRectF inner(1, 1, kFlagW - 2, kFlagH - 2);
    if (look == 2)
        inner.translate(1, 1), inner.setSize(QSizeF(kFlagW - 3, kFlagH - 3));
    QImage flag(int(inner.width()), int(inner.height()), QImage::Format_ARGB32_Premultiplied);
    {
        QPainter f(&flag);
        f.setRenderHint(QPainter::Antialiasing, true);
        const QRectF r(0, 0, inner.width(), inner.height());
        switch (language) {
        case 0: FlagEnglish(f, r); break;
        case 1: FlagGreek(f, r); break;
        case 2: FlagFrench(f, r); break;
        default: FlagGerman(f, r); break;
        }
        // a soft shine over the cloth
        QLinearGradient g(0, 0, 0, r.height());
        if (look == 2) {
            g.setColorAt(0, QColor(0, 0, 0, 90));
            g.setColorAt(1, QColor(0, 0, 0, 40));
        } else if (look == 1) {
            g.setColorAt(0, QColor(255, 255, 255, 120));
            g.setColorAt(1, QColor(255, 255, 255, 30));
        } else {
            g.setColorAt(0, QColor(255, 255, 255, 60));
            g.setColorAt(0.5, QColor(255, 255, 255, 0));
            g.setColorAt(1, QColor(0, 0, 0, 30));
        }
        f.fillRect(r, g);
    }
    if (look == 2)
        p.fillRect(QRect(0, 0, kFlagW, kFlagH), QColor(40, 40, 40));
    p.drawImage(inner.topLeft(), flag);
    QColor rim = look == 1 ? QColor(255, 200, 40) : look == 2 ? QColor(20, 20, 20) : QColor(90, 90, 100);
    p.setPen(QPen(rim, 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(0.5, 0.5, kFlagW - 1, kFlagH - 1));
    if (look == 1) {
        p.setPen(QPen(QColor(255, 240, 170), 1));
        p.drawRect(QRectF(1.5, 1.5, kFlagW - 3, kFlagH - 3));
    }
}

// ---- toolbar pictures (for the dark toolbar) -------------------------------------------------

const QColor kInk(235, 242, 252);
const QColor kInkDark(40, 70, 120);

void ToolTimers(QPainter &p)
{
    Stopwatch(p, 28, QColor(120, 170, 230), QColor(225, 236, 250), 60, false);
}

void ToolTimeLog(QPainter &p)
{
    // a page of entries with a small clock
    p.setPen(QPen(kInkDark, 1.0));
    p.setBrush(kInk);
    p.drawRoundedRect(QRectF(4.5, 2.5, 16, 22), 1.5, 1.5);
    p.setBrush(QColor(120, 170, 230));
    p.drawRect(QRectF(4.5, 2.5, 16, 4));
    p.setPen(QPen(QColor(90, 110, 150), 1.2));
    for (int i = 0; i < 5; ++i)
        p.drawLine(QPointF(7.0, 9.5 + i * 3.0), QPointF(i % 2 ? 15.0 : 18.0, 9.5 + i * 3.0));
    p.setPen(QPen(kInkDark, 1.0));
    p.setBrush(QColor(255, 214, 90));
    p.drawEllipse(QPointF(20.5, 20.5), 6.0, 6.0);
    p.setPen(QPen(kInkDark, 1.3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(20.5, 20.5), QPointF(20.5, 16.8));
    p.drawLine(QPointF(20.5, 20.5), QPointF(23.0, 21.8));
}

void ToolExpenses(QPainter &p)
{
    // a banknote behind a stack of coins
    p.setPen(QPen(QColor(30, 90, 40), 1.0));
    p.setBrush(QColor(150, 215, 140));
    p.save();
    p.translate(12, 10);
    p.rotate(-12);
    p.drawRoundedRect(QRectF(-10, -6, 20, 12), 1.5, 1.5);
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(0, 0), 3.2, 3.2);
    p.restore();
    for (int i = 0; i < 4; ++i) {
        const double y = 22.5 - i * 3.2;
        p.setPen(QPen(QColor(140, 100, 10), 1.0));
        p.setBrush(QColor(250, 205, 70));
        p.drawEllipse(QRectF(11.5, y - 2.5, 13, 5));
    }
    p.setPen(QPen(QColor(140, 100, 10), 1.0));
    p.setBrush(QColor(255, 230, 120));
    p.drawEllipse(QRectF(11.5, 10.0 - 2.5, 13, 5));
}

void Arrow(QPainter &p, double startDeg, const QColor &c)
{
    QPainterPath arc;
    const QRectF box(4, 4, 20, 20);
    arc.arcMoveTo(box, startDeg);
    arc.arcTo(box, startDeg, 150);
    p.setPen(QPen(c, 3.0, Qt::SolidLine, Qt::FlatCap));
    p.setBrush(Qt::NoBrush);
    p.drawPath(arc);
    const double end = qDegreesToRadians(startDeg + 150);
    const QPointF tip(14 + 10 * std::cos(end), 14 - 10 * std::sin(end));
    // the head points along the arc (counter-clockwise on the screen)
    const QPointF dir(-std::sin(end), -std::cos(end));
    const QPointF side(dir.y(), -dir.x());
    p.setPen(Qt::NoPen);
    p.setBrush(c);
    p.drawPolygon(QPolygonF({tip + dir * 4.5, tip + side * 4.0, tip - side * 4.0}));
}

void ToolSync(QPainter &p)
{
    Arrow(p, 20, QColor(140, 220, 140));
    Arrow(p, 200, kInk);
}

void ToolLeave(QPainter &p)
{
    // a door standing open with an arrow going out
    p.setPen(QPen(kInkDark, 1.0));
    p.setBrush(QColor(120, 170, 230));
    p.drawRect(QRectF(3.5, 2.5, 13, 23));
    p.setBrush(kInk);
    p.drawPolygon(QPolygonF({QPointF(3.5, 2.5), QPointF(11.5, 5.5), QPointF(11.5, 27.5), QPointF(3.5, 25.5)}));
    p.setPen(Qt::NoPen);
    p.setBrush(kInkDark);
    p.drawEllipse(QPointF(9.5, 15.5), 1.1, 1.1);
    p.setBrush(QColor(255, 200, 70));
    p.drawPolygon(QPolygonF({QPointF(14.0, 12.5), QPointF(20.0, 12.5), QPointF(20.0, 8.5), QPointF(26.5, 14.5),
                             QPointF(20.0, 20.5), QPointF(20.0, 16.5), QPointF(14.0, 16.5)}));
}

// ---- the cover of the document area ----------------------------------------------------------

void Cover(QPainter &p)
{
    const QRectF all(0, 0, 260, 170);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 150));
    p.drawRoundedRect(all.adjusted(1, 1, -1, -1), 14, 14);
    p.save();
    p.translate(90, 8);
    Stopwatch(p, 80, QColor(60, 110, 190), QColor(220, 232, 250), 45, false);
    p.restore();
    QFont f(QStringLiteral("Liberation Sans"));
    f.setBold(true);
    f.setPixelSize(24);
    p.setFont(f);
    p.setPen(QColor(30, 60, 120));
    p.drawText(QRectF(0, 96, 260, 32), Qt::AlignCenter, QStringLiteral("Tarvelo Desktop"));
    f.setBold(false);
    f.setPixelSize(13);
    p.setFont(f);
    p.setPen(QColor(70, 90, 130));
    p.drawText(QRectF(0, 128, 260, 24), Qt::AlignCenter, QStringLiteral("Time and expenses"));
}

} // namespace

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    g_out = picturetool::OutputFolder(argc, argv);
    if (g_out.isEmpty())
        return 2;

    Save("ARUNNOT", 32, 32, [](QPainter &p) { Stopwatch(p, 32, QColor(60, 110, 190), QColor(220, 232, 250), 300, false); });
    for (int f = 0; f < 8; ++f)
        Save(QString::number(105 + f), 32, 32,
             [f](QPainter &p) { Stopwatch(p, 32, QColor(200, 60, 50), QColor(255, 236, 220), f * 45.0, true); });
    Save("HAND", 32, 32, Hand);
    Save("CONN_ON", 16, 16, [](QPainter &p) { Globe(p, true); });
    Save("CONN_OFF", 16, 16, [](QPainter &p) { Globe(p, false); });
    for (int look = 0; look < 3; ++look)
        for (int lang = 0; lang < 4; ++lang)
            Save(QString::number(230 + 4 * look + lang), kFlagW, kFlagH, [=](QPainter &p) { Flag(p, lang, look); });
    Save("TOOL_TIMERS", 28, 28, ToolTimers);
    Save("TOOL_TIMELOG", 28, 28, ToolTimeLog);
    Save("TOOL_EXPENSES", 28, 28, ToolExpenses);
    Save("TOOL_SYNC", 28, 28, ToolSync);
    Save("TOOL_LEAVE", 28, 28, ToolLeave);
    Save("COVER", 260, 170, Cover);
    return g_failures ? 1 : 0;
}
