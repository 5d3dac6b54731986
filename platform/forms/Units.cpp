#include "platform/forms/Units.h"

#include <QApplication>
#include <QPalette>
#include <QWidget>
#include <cmath>

namespace forms {

int TwipsToPixels(int twips)
{
    return int(std::lround(double(twips) / kTwipsPerPixel));
}

double TwipsToPixelsF(double twips)
{
    return twips / kTwipsPerPixel;
}

int PixelsToTwips(int pixels)
{
    return pixels * kTwipsPerPixel;
}

void Move(QWidget *w, int leftTwips, int topTwips, int widthTwips, int heightTwips)
{
    if (!w)
        return;
    const int width = widthTwips < 0 ? w->width() : TwipsToPixels(widthTwips);
    const int height = heightTwips < 0 ? w->height() : TwipsToPixels(heightTwips);
    w->setGeometry(TwipsToPixels(leftTwips), TwipsToPixels(topTwips), width, height);
}

int Left(const QWidget *w) { return w ? PixelsToTwips(w->x()) : 0; }
int Top(const QWidget *w) { return w ? PixelsToTwips(w->y()) : 0; }
int Width(const QWidget *w) { return w ? PixelsToTwips(w->width()) : 0; }
int Height(const QWidget *w) { return w ? PixelsToTwips(w->height()) : 0; }

QColor ToQColor(int value)
{
    const unsigned v = unsigned(value);
    if (v & 0x80000000u) {
        const QPalette pal = QApplication::palette();
        switch (v & 0xFFu) {
        case 0x05: return pal.color(QPalette::Base);
        case 0x08: return pal.color(QPalette::Text);
        case 0x0D: return pal.color(QPalette::Highlight);
        case 0x0E: return pal.color(QPalette::HighlightedText);
        case 0x0F: return pal.color(QPalette::Button);
        case 0x10: return pal.color(QPalette::Dark);
        case 0x11: return pal.color(QPalette::Disabled, QPalette::Text);
        case 0x12: return pal.color(QPalette::ButtonText);
        case 0x14: return pal.color(QPalette::Light);
        default: return pal.color(QPalette::Window);
        }
    }
    return QColor(int(v & 0xFF), int((v >> 8) & 0xFF), int((v >> 16) & 0xFF));
}

int FromQColor(const QColor &c)
{
    return RGB(c.red(), c.green(), c.blue());
}

int VirtualKeyFromQt(int k)
{
    if (k >= Qt::Key_A && k <= Qt::Key_Z)
        return k;   // Qt's letters are the upper-case ASCII codes, as the virtual keys
    if (k >= Qt::Key_0 && k <= Qt::Key_9)
        return k;
    if (k >= Qt::Key_F1 && k <= Qt::Key_F24)
        return 112 + (k - Qt::Key_F1);
    switch (k) {
    case Qt::Key_Backspace: return 8;
    case Qt::Key_Tab: case Qt::Key_Backtab: return 9;
    case Qt::Key_Clear: return 12;
    case Qt::Key_Return: case Qt::Key_Enter: return 13;
    case Qt::Key_Shift: return 16;
    case Qt::Key_Control: return 17;
    case Qt::Key_Alt: return 18;
    case Qt::Key_Pause: return 19;
    case Qt::Key_CapsLock: return 20;
    case Qt::Key_Escape: return 27;
    case Qt::Key_Space: return 32;
    case Qt::Key_PageUp: return 33;
    case Qt::Key_PageDown: return 34;
    case Qt::Key_End: return 35;
    case Qt::Key_Home: return 36;
    case Qt::Key_Left: return 37;
    case Qt::Key_Up: return 38;
    case Qt::Key_Right: return 39;
    case Qt::Key_Down: return 40;
    case Qt::Key_Print: return 44;
    case Qt::Key_Insert: return 45;
    case Qt::Key_Delete: return 46;
    case Qt::Key_Asterisk: return 106;
    case Qt::Key_Plus: return 107;
    case Qt::Key_Minus: return 109;
    case Qt::Key_Period: return 190;
    case Qt::Key_Comma: return 188;
    case Qt::Key_Slash: return 111;
    case Qt::Key_NumLock: return 144;
    case Qt::Key_ScrollLock: return 145;
    default: return 0;
    }
}

int ShiftBits(Qt::KeyboardModifiers mods)
{
    int bits = 0;
    if (mods & Qt::ShiftModifier)
        bits |= 1;
    if (mods & Qt::ControlModifier)
        bits |= 2;
    if (mods & Qt::AltModifier)
        bits |= 4;
    return bits;
}

int ButtonBits(Qt::MouseButtons buttons)
{
    int bits = 0;
    if (buttons & Qt::LeftButton)
        bits |= 1;
    if (buttons & Qt::RightButton)
        bits |= 2;
    if (buttons & Qt::MiddleButton)
        bits |= 4;
    return bits;
}

QRect GetWindowRect(const QWidget *w)
{
    if (!w)
        return {};
    if (w->isWindow()) {
        const QRect f = w->frameGeometry();
        return QRect(f.left(), f.top(), f.width(), f.height());
    }
    return QRect(w->mapToGlobal(QPoint(0, 0)), w->size());
}

void SetWindowPos(QWidget *w, int insertAfter, int x, int y, int cx, int cy, unsigned flags)
{
    if (!w)
        return;
    constexpr unsigned kNoSize = 0x1, kNoMove = 0x2, kNoZOrder = 0x4, kNoActivate = 0x10,
                       kShow = 0x40, kHide = 0x80;
    if (!(flags & kNoZOrder) && w->isWindow() && (insertAfter == -1 || insertAfter == -2)) {
        const bool onTop = insertAfter == -1;
        if (bool(w->windowFlags() & Qt::WindowStaysOnTopHint) != onTop) {
            const bool wasVisible = w->isVisible();
            w->setWindowFlag(Qt::WindowStaysOnTopHint, onTop);   // hides the window
            if (wasVisible)
                w->show();
        }
    }
    if (!(flags & kNoMove))
        w->move(x, y);
    if (!(flags & kNoSize)) {
        // The sizes given include the frame; Qt sizes the client area.
        const QSize frameExtra = w->isWindow() ? w->frameGeometry().size() - w->size() : QSize();
        w->resize(qMax(0, cx - frameExtra.width()), qMax(0, cy - frameExtra.height()));
    }
    if (flags & kShow)
        w->show();
    if (flags & kHide)
        w->hide();
    if (!(flags & kNoActivate) && w->isWindow() && w->isVisible() && !(flags & kHide))
        w->raise();
}

} // namespace forms
