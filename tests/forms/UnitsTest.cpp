#include "platform/forms/Units.h"

#include <QWidget>
#include <gtest/gtest.h>

using namespace forms;

TEST(FormsUnits, TwipsRoundToTheNearestPixelBothWays)
{
    struct Case { int twips; int pixels; };
    const Case cases[] = {
        {0, 0}, {15, 1}, {300, 20}, {1600, 107}, {180, 12}, {7, 0}, {8, 1},
        {-8, -1}, {-12000, -800}, {-6000, -400}, {7695, 513},
    };
    for (const Case &c : cases)
        EXPECT_EQ(TwipsToPixels(c.twips), c.pixels) << c.twips << " twips";
    EXPECT_EQ(PixelsToTwips(20), 300);
    EXPECT_EQ(PixelsToTwips(-800), -12000);
    EXPECT_DOUBLE_EQ(TwipsToPixelsF(375.0), 25.0);
}

TEST(FormsUnits, ColourValuesHoldRedInTheLowByte)
{
    // The timers' running colour (light yellow) and other colour (light blue), the log's grey
    // text and red "new row" text.
    struct Case { int value; int r, g, b; };
    const Case cases[] = {
        {0x80FFFF, 255, 255, 128}, {0xF8E8D6, 214, 232, 248}, {0x808080, 128, 128, 128},
        {0x0000FF, 255, 0, 0},     {0x00FFFF, 255, 255, 0},   {0, 0, 0, 0},
    };
    for (const Case &c : cases) {
        const QColor q = ToQColor(c.value);
        EXPECT_EQ(q.red(), c.r) << std::hex << c.value;
        EXPECT_EQ(q.green(), c.g) << std::hex << c.value;
        EXPECT_EQ(q.blue(), c.b) << std::hex << c.value;
        EXPECT_EQ(FromQColor(q), c.value);
        EXPECT_EQ(RGB(c.r, c.g, c.b), c.value);
    }
    // Palette entries resolve to a real colour, not to the bytes of the number.
    EXPECT_TRUE(ToQColor(kColorWindow).isValid());
    EXPECT_NE(FromQColor(ToQColor(kColorWindow)), kColorWindow & 0xFFFFFF);
}

TEST(FormsUnits, KeyCodesAndShiftBits)
{
    struct Case { int qt; int vk; };
    const Case cases[] = {
        {Qt::Key_A, 65}, {Qt::Key_Z, 90}, {Qt::Key_0, 48}, {Qt::Key_9, 57}, {Qt::Key_F1, 112},
        {Qt::Key_F10, 121}, {Qt::Key_F12, 123}, {Qt::Key_Up, 38}, {Qt::Key_Down, 40},
        {Qt::Key_Return, 13}, {Qt::Key_Enter, 13}, {Qt::Key_Escape, 27}, {Qt::Key_Delete, 46},
        {Qt::Key_Backspace, 8}, {Qt::Key_Tab, 9}, {Qt::Key_Space, 32}, {Qt::Key_unknown, 0},
    };
    for (const Case &c : cases)
        EXPECT_EQ(VirtualKeyFromQt(c.qt), c.vk) << std::hex << c.qt;
    EXPECT_EQ(ShiftBits(Qt::NoModifier), 0);
    EXPECT_EQ(ShiftBits(Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier), 7);
    EXPECT_EQ(ShiftBits(Qt::ControlModifier), 2);
    EXPECT_EQ(ButtonBits(Qt::LeftButton | Qt::RightButton), 3);
    EXPECT_EQ(ButtonBits(Qt::MiddleButton), 4);
}

TEST(FormsUnits, PlacingControlsAndWindows)
{
    QWidget parent;
    QWidget *child = new QWidget(&parent);
    child->resize(50, 40);
    Move(child, 180, -12000);          // width and height kept
    EXPECT_EQ(child->geometry(), QRect(12, -800, 50, 40));
    Move(child, 120, 60, 300, 150);
    EXPECT_EQ(child->geometry(), QRect(8, 4, 20, 10));
    EXPECT_EQ(Left(child), 120);
    EXPECT_EQ(Width(child), 300);

    QWidget win;
    win.setGeometry(100, 100, 200, 150);
    win.show();
    SetWindowPos(&win, -1, 30, 40, 320, 240, 0);
    EXPECT_TRUE(win.windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_TRUE(win.isVisible());   // topmost again without disappearing
    const QRect r = GetWindowRect(&win);
    EXPECT_EQ(r.topLeft(), QPoint(30, 40));
    EXPECT_EQ(r.size(), QSize(320, 240));   // the frame counts in both
    SetWindowPos(&win, 0, 0, 0, 10, 10, 0x1 | 0x2 | 0x4);   // keep size, position and order
    EXPECT_EQ(GetWindowRect(&win), r);
    SetWindowPos(&win, -2, 0, 0, 0, 0, 0x1 | 0x2);
    EXPECT_FALSE(win.windowFlags() & Qt::WindowStaysOnTopHint);
}
