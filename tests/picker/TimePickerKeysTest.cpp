// The picker's keys without widgets: a table of key sequences and zone clicks, each from a
// time shown by ParseTime and Show, to the digits shown, the cursor and its marker, the
// highlighted field and what Enter wrote out.
#include "core/TimePickerKeys.h"

#include <QStringList>

#include <gtest/gtest.h>

namespace {

using Zone = TimePickerKeys::Zone;

struct Played {
    TimePickerKeys keys;
    QString written;   // what Enter handed to the output control
    bool wrote = false;
};

// Plays a sequence: named keys and zones separated by spaces ("Up", "Down", "Left", "Right",
// "Bs", "Esc", "Enter", "H+", "H-", "T+", "T-", "U+", "U-"); any other token is typed one
// character at a time. A typed key comes as the KeyDown of its key and then its KeyPress, as
// from the keyboard; the arrows have no KeyPress.
void Play(Played &run, const QString &sequence)
{
    TimePickerKeys &k = run.keys;
    auto press = [&](int keyDown, int charCode) {
        k.KeyDown(keyDown, 0);
        if (charCode && k.KeyPress(charCode)) {
            run.written = k.Output();
            run.wrote = true;
        }
    };
    for (const QString &t : sequence.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        if (t == QLatin1String("Up")) press(TimePickerKeys::kUp, 0);
        else if (t == QLatin1String("Down")) press(TimePickerKeys::kDown, 0);
        else if (t == QLatin1String("Left")) press(TimePickerKeys::kLeft, 0);
        else if (t == QLatin1String("Right")) press(TimePickerKeys::kRight, 0);
        else if (t == QLatin1String("Bs")) press(8, TimePickerKeys::kBackspace);
        else if (t == QLatin1String("Esc")) press(TimePickerKeys::kEscape, TimePickerKeys::kEscape);
        else if (t == QLatin1String("Enter")) press(TimePickerKeys::kEnter, TimePickerKeys::kEnter);
        else if (t == QLatin1String("H+")) k.ZoneClick(Zone::HourPlus);
        else if (t == QLatin1String("H-")) k.ZoneClick(Zone::HourMinus);
        else if (t == QLatin1String("T+")) k.ZoneClick(Zone::MinuteTensPlus);
        else if (t == QLatin1String("T-")) k.ZoneClick(Zone::MinuteTensMinus);
        else if (t == QLatin1String("U+")) k.ZoneClick(Zone::MinuteUnitsPlus);
        else if (t == QLatin1String("U-")) k.ZoneClick(Zone::MinuteUnitsMinus);
        else
            for (QChar c : t)
                // ':' is Shift and the semicolon key; the picker only looks at the character.
                press(c.isDigit() ? c.unicode() : 0, c.unicode());
    }
}

QString Shown(const TimePickerKeys &k)
{
    return k.HourText() + QLatin1Char(':') + k.MinuteTens() + k.MinuteUnits();
}

struct Case {
    const char *what;
    const char *start;      // the text ParseTime gets before Show
    const char *keys;
    const char *shown;
    int cursor;
    int highlight;          // 0 all black, else the grey field
    const char *written;    // nullptr: the output control received nothing
};

const Case kCases[] = {
    // Opening
    {"opens on the time given, on the hour", "08:05", "", "08:05", 1, 1, nullptr},
    {"Enter at once writes the time given", "08:05", "Enter", "08:05", 0, 0, "08:05"},
    // Typing
    {"9 is the hour 09", "08:05", "9", "09:00", 3, 1, nullptr},
    {"1 and a colon is the hour 01", "08:05", "1:", "01:00", 4, 2, nullptr},
    {"25 keeps 20 and the cursor on the hour units", "08:05", "25", "20:00", 2, 1, nullptr},
    {"24 is refused too", "08:05", "24", "20:00", 2, 1, nullptr},
    {"a minute digit above 5 goes to the units", "08:05", "12:7", "12:07", 6, 3, nullptr},
    {"0930", "08:05", "0930", "09:30", 6, 3, nullptr},
    {"2359", "08:05", "2359", "23:59", 6, 3, nullptr},
    {"1745 and Enter", "08:05", "1745 Enter", "17:45", 0, 0, "17:45"},
    {"a colon first", "08:05", ":", "00:00", 4, 2, nullptr},
    {"the first key replaces the whole time", "08:05", "1", "10:00", 2, 1, nullptr},
    {"Backspace first clears the time", "08:05", "Bs", "00:00", 1, 1, nullptr},
    {"the last minute digit is typed over", "08:05", "123456", "12:36", 6, 3, nullptr},
    {"letters are swallowed", "08:05", "1a;x2", "12:00", 3, 2, nullptr},
    // Backspace
    {"Backspace on the hour units", "08:05", "1 Bs", "00:00", 1, 1, nullptr},
    {"Backspace after the colon", "08:05", "12: Bs", "10:00", 2, 1, nullptr},
    {"Backspace after the hour keeps the colours", "08:05", "12 Bs", "10:00", 2, 2, nullptr},
    {"Backspace on the minute tens", "08:05", "123 Bs", "12:00", 4, 2, nullptr},
    {"Backspace after the minutes", "08:05", "1234 Bs", "12:30", 5, 3, nullptr},
    // Esc
    {"Esc shows 00:00 and stays open", "08:05", "12 Esc", "00:00", 0, 1, nullptr},
    {"typing after Esc starts again", "08:05", "Esc 7", "07:00", 3, 1, nullptr},
    // Arrows
    {"Up on the hour", "08:05", "Up", "09:05", 1, 1, nullptr},
    {"Up on hour 23 wraps to 00", "23:10", "Up", "00:10", 1, 1, nullptr},
    {"Down on hour 00 wraps to 23", "00:10", "Down", "23:10", 2, 1, nullptr},
    {"Down on hour 01 gives 00", "01:10", "Down", "00:10", 1, 1, nullptr},
    {"Up on minute tens 5 wraps to 0", "12:50", "Right Up", "12:00", 4, 2, nullptr},
    {"Down on minute tens 0 wraps to 5", "12:05", "Right Down", "12:55", 4, 2, nullptr},
    {"Up on minute units 9 wraps to 0", "12:09", "Right Right Up", "12:00", 5, 3, nullptr},
    {"Down on minute units 0 wraps to 9", "12:00", "Right Right Down", "12:09", 5, 3, nullptr},
    {"Right from the minute units comes to the hour", "12:00", "Right Right Right", "12:00", 2, 1, nullptr},
    {"Left from the hour stays on the hour", "09:00", "Left", "09:00", 1, 1, nullptr},
    {"Left from the minute tens to hour 12", "12:00", "Right Left", "12:00", 2, 1, nullptr},
    {"Left from the minute tens to hour 09", "09:00", "Right Left", "09:00", 1, 1, nullptr},
    // Typing after the arrows keeps what is shown
    {"a minute typed after Right keeps the hour", "08:05", "Right 3", "08:35", 5, 3, nullptr},
    {"a minute typed after Up keeps the new hour", "08:05", "Up Right 3 Enter", "09:35", 0, 0, "09:35"},
    {"a units digit typed on the minute units", "08:05", "Right Right 7", "08:07", 6, 3, nullptr},
    {"the hour units typed after Left", "12:40", "Right Left 7", "17:40", 3, 2, nullptr},
    // Zones
    {"hour plus zone wraps 23 to 00", "23:59", "H+", "00:59", 1, 1, nullptr},
    {"hour minus zone wraps 00 to 23", "00:00", "H-", "23:00", 2, 1, nullptr},
    {"minute tens plus zone", "12:50", "T+", "12:00", 4, 2, nullptr},
    {"minute tens minus zone", "12:00", "T-", "12:50", 4, 2, nullptr},
    {"minute units plus zone", "12:09", "U+", "12:00", 5, 3, nullptr},
    {"minute units minus zone", "12:00", "U-", "12:09", 5, 3, nullptr},
    {"zones then Enter", "08:05", "H+ H+ T- U- Enter", "10:54", 0, 0, "10:54"},
    // What ParseTime reads
    {"seconds are left out", "17:45:30", "Enter", "17:45", 0, 0, "17:45"},
    {"a one-digit hour", "9:05", "", "09:05", 1, 1, nullptr},
    {"an empty text shows 00:00", "", "Enter", "00:00", 0, 0, "00:00"},
    {"a text that is no time shows 00:00", "hh:mm", "Enter", "00:00", 0, 0, "00:00"},
    {"24:00 is no time of day", "24:00", "", "00:00", 1, 1, nullptr},
    {"12:75 is no time of day", "12:75", "", "00:00", 1, 1, nullptr},
};

} // namespace

TEST(TimePickerKeys, KeySequencesAndZones)
{
    for (const Case &c : kCases) {
        Played run;
        run.keys.ParseTime(QString::fromUtf8(c.start));
        run.keys.Show();
        Play(run, QString::fromUtf8(c.keys));
        SCOPED_TRACE(c.what);
        EXPECT_EQ(Shown(run.keys), QLatin1String(c.shown));
        EXPECT_EQ(run.keys.Cursor(), c.cursor);
        EXPECT_EQ(run.keys.MarkerLeft(), TimePickerKeys::MarkerLeftFor(int16_t(c.cursor)));
        EXPECT_EQ(run.keys.Highlight(), c.highlight);
        EXPECT_EQ(run.wrote, c.written != nullptr);
        if (c.written) {
            EXPECT_EQ(run.written, QLatin1String(c.written));
        }
        // Enter closes the picker; everything else leaves it open.
        EXPECT_EQ(run.keys.Visible(), c.written == nullptr);
        // Whatever happened, the time is a time of day written hh:mm.
        const QString out = run.keys.Output();
        ASSERT_EQ(out.size(), 5);
        EXPECT_LE(out.left(2).toInt(), 23);
        EXPECT_LE(out.mid(3, 2).toInt(), 59);
    }
}

TEST(TimePickerKeys, MarkerPlacesByCursor)
{
    const int expected[7] = {75, 75, 375, 915, 915, 1260, 1260};
    for (int16_t cursor = 0; cursor <= 6; ++cursor)
        EXPECT_EQ(TimePickerKeys::MarkerLeftFor(cursor), expected[cursor]) << cursor;
}

TEST(TimePickerKeys, ArrowsNeverLeaveTheDay)
{
    // A full turn of each field comes back where it started, through every value once.
    struct Turn {
        const char *keys;
        int steps;
        int digitsFrom, digitsTo;   // which part of "hh:mm" the field is
    } turns[] = {{"Up", 24, 0, 2}, {"Down", 24, 0, 2}, {"Right Up", 6, 3, 4}, {"Right Right Down", 10, 4, 5}};
    for (const Turn &t : turns) {
        Played run;
        run.keys.ParseTime(QStringLiteral("00:00"));
        run.keys.Show();
        const QString keys = QString::fromUtf8(t.keys);
        const QString arrow = keys.section(QLatin1Char(' '), -1);
        Play(run, keys.section(QLatin1Char(' '), 0, -2));
        QStringList seen;
        for (int i = 0; i < t.steps; ++i) {
            Play(run, arrow);
            seen << Shown(run.keys).mid(t.digitsFrom, t.digitsTo - t.digitsFrom);
        }
        seen.removeDuplicates();
        EXPECT_EQ(seen.size(), t.steps) << t.keys;
        EXPECT_EQ(Shown(run.keys), QStringLiteral("00:00")) << t.keys;
    }
}
