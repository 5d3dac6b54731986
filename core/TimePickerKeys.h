#pragma once
// The keys of the hh:mm time picker without any widget: what typing, the arrow keys and the
// plus and minus zones do to the shown digits, the typing cursor and its marker, the field
// the arrows change and the highlighted field. clsTimePicker feeds it the events of its
// controls and paints the result; the rules are tested here on their own.
//
// The digits shown are also the typing buffer: typing, the arrows and the zones all change the
// same four digits, so moving to the minutes and typing keeps the hour that is shown.
#include <QString>
#include <array>
#include <cstdint>

class TimePickerKeys {
public:
    // The fields the arrows and the zones change.
    enum Field : int16_t { HourField = 1, MinuteTensField = 2, MinuteUnitsField = 3 };
    // The six plus and minus zones above and below each field.
    enum class Zone { HourPlus, HourMinus, MinuteTensPlus, MinuteTensMinus, MinuteUnitsPlus, MinuteUnitsMinus };

    // Desktop key codes of the KeyDown events the picker reacts to.
    static constexpr int kEnter = 13, kEscape = 27, kLeft = 37, kUp = 38, kRight = 39, kDown = 40;
    // Character codes of the KeyPress events besides the digits.
    static constexpr int kBackspace = 8, kColon = 58;

    TimePickerKeys() = default;

    // Shows the time of "hh:mm" or "hh:mm:ss" (one-digit hours and minutes are read too); a
    // text that holds no time of day (empty, letters, 24:00, 12:75) shows 00:00.
    void ParseTime(const QString &text);

    // Opens the picker on the hour: cursor before the hour tens, hour highlighted.
    void Show();
    void Hide() { m_visible = false; }
    bool Visible() const { return m_visible; }

    // The time shown, always "hh:mm".
    QString Output() const;

    // A key pressed (the desktop key code and the shift bits 1 Shift, 2 Ctrl, 4 Alt).
    void KeyDown(int keyCode, int shift = 0);
    // The character of a key (its code: digits 48..57, ':' 58, Backspace 8, Enter 13,
    // Esc 27; any other code is swallowed). Returns true for Enter: the picker has closed
    // and the host's output control is to receive Output().
    bool KeyPress(int charCode);
    // A click on one of the plus or minus zones: that field one up or down.
    void ZoneClick(Zone zone);

    // One step (+1, -1 or 0) applied to the current field. The hour wraps from 23 to 00 and
    // back, each minute digit within its range (tens 0..5, units 0..9).
    void DisplayTime();

    // What the face shows.
    QString HourText() const { return QString(m_digits[0]) + m_digits[1]; }
    QChar MinuteTens() const { return m_digits[2]; }
    QChar MinuteUnits() const { return m_digits[3]; }
    // 0 idle (after Enter or Esc), 1 before the hour tens, 2 before the hour units, 3 after
    // the hour, 4 after the colon, 5 before the minute units, 6 after the minute units.
    int16_t Cursor() const { return m_cursor; }
    int16_t CurrentField() const { return m_field; }
    // The grey field (1 hour, 2 minute tens, 3 minute units), 0 when all three are black.
    int16_t Highlight() const { return m_highlight; }
    // Left of the marker "^" in twips inside the picker's face, by the cursor.
    int MarkerLeft() const;

    // The marker's places by cursor (twips).
    static int MarkerLeftFor(int16_t cursor);

private:
    void SetHighlight(int16_t field) { if (field >= 1 && field <= 3) m_highlight = field; }
    int DigitValue(int i) const { return m_digits[size_t(i)].digitValue(); }

    // hour tens, hour units, minute tens, minute units
    std::array<QChar, 4> m_digits{QChar('0'), QChar('0'), QChar('0'), QChar('0')};
    int16_t m_cursor = 0;
    int16_t m_field = HourField;
    int16_t m_step = 0;
    int16_t m_highlight = 0;
    bool m_visible = false;
};
