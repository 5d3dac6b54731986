#pragma once
// Twips, colour values and key codes as the program's windows use them.
//
// Positions and sizes in the windows' code are twips: 15 twips a pixel (96 dots an inch; Qt's
// logical pixels already carry any screen scaling). Colour values are 32-bit integers with
// red in the low byte, then green, then blue (0x80FFFF is red 255, green 255, blue 128).
// Values with the high bit set name a colour of the desktop's palette (0x80000005 the window
// background, 0x80000008 the window text, ...), as the controls' default colours do.
#include <QColor>
#include <QRect>

class QWidget;

namespace forms {

constexpr int kTwipsPerPixel = 15;

// Rounded to the nearest pixel (halves away from zero): 300 twips are 20 pixels, -12000 are -800.
int TwipsToPixels(int twips);
double TwipsToPixelsF(double twips);
int PixelsToTwips(int pixels);

// Moves a control the way the windows' code places controls: left and top in twips inside its
// parent; a negative width or height keeps that size.
void Move(QWidget *w, int leftTwips, int topTwips, int widthTwips = -1, int heightTwips = -1);
int Left(const QWidget *w);
int Top(const QWidget *w);
int Width(const QWidget *w);
int Height(const QWidget *w);

// Colour values.
constexpr int RGB(int red, int green, int blue)
{
    return (red & 0xFF) | ((green & 0xFF) << 8) | ((blue & 0xFF) << 16);
}
// A few palette entries of the desktop that the controls use as their defaults.
constexpr int kColorWindow = int(0x80000005u);       // window background
constexpr int kColorWindowText = int(0x80000008u);   // window text
constexpr int kColorButtonFace = int(0x8000000Fu);   // fixed cells, frames
constexpr int kColorButtonText = int(0x80000012u);
constexpr int kColorHighlight = int(0x8000000Du);
constexpr int kColorHighlightText = int(0x8000000Eu);
constexpr int kColorGrayText = int(0x80000011u);

QColor ToQColor(int value);
// Red in the low byte; the alpha channel is dropped.
int FromQColor(const QColor &c);

// Key codes of the windows' KeyDown handlers: the desktop's virtual-key numbers (A..Z 65..90,
// 0..9 48..57, F1..F12 112..123, arrows 37..40, Enter 13, Escape 27, Delete 46, ...); 0 for a
// key that has none. The shift bits are 1 Shift, 2 Ctrl, 4 Alt.
int VirtualKeyFromQt(int qtKey);
int ShiftBits(Qt::KeyboardModifiers mods);
// Mouse button bits of the MouseMove and MouseDown handlers: 1 left, 2 right, 4 middle.
int ButtonBits(Qt::MouseButtons buttons);

// A window's rectangle on the screen in pixels (its frame included), and the placement of a
// window with an insert-after value (-1 topmost, -2 not topmost, others ignored) and the usual
// flags (1 keep size, 2 keep position, 0x10 no activation, 0x40 show, 0x80 hide).
QRect GetWindowRect(const QWidget *w);
void SetWindowPos(QWidget *w, int insertAfter, int x, int y, int cx, int cy, unsigned flags);

} // namespace forms
