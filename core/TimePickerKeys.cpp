#include "core/TimePickerKeys.h"

#include <QRegularExpression>

namespace {

QChar Digit(int v)
{
    return QChar(u'0' + v);
}

// n within 0..count-1, also for negative n.
int Wrap(int n, int count)
{
    return ((n % count) + count) % count;
}

} // namespace

void TimePickerKeys::ParseTime(const QString &text)
{
    // The boxes hold hh:mm:ss when a time comes from a stored row and hh:mm once the picker
    // wrote it; the seconds are not the picker's business.
    static const QRegularExpression re(QStringLiteral(R"(^\s*(\d{1,2}):(\d{1,2})(?::.*)?$)"));
    int hour = 0;
    int minute = 0;
    const QRegularExpressionMatch m = re.match(text);
    if (m.hasMatch()) {
        hour = m.captured(1).toInt();
        minute = m.captured(2).toInt();
        if (hour > 23 || minute > 59)
            hour = minute = 0;
    }
    m_digits = {Digit(hour / 10), Digit(hour % 10), Digit(minute / 10), Digit(minute % 10)};
}

void TimePickerKeys::Show()
{
    m_field = HourField;
    m_cursor = 1;
    m_step = 0;
    m_highlight = HourField;
    m_visible = true;
}

QString TimePickerKeys::Output() const
{
    return HourText() + QLatin1Char(':') + m_digits[2] + m_digits[3];
}

int TimePickerKeys::MarkerLeftFor(int16_t cursor)
{
    switch (cursor) {
    case 2: return 375;
    case 3: case 4: return 915;
    case 5: case 6: return 1260;
    default: return 75;
    }
}

int TimePickerKeys::MarkerLeft() const
{
    return MarkerLeftFor(m_cursor);
}

void TimePickerKeys::DisplayTime()
{
    switch (m_field) {
    case HourField: {
        const int h = Wrap(DigitValue(0) * 10 + DigitValue(1) + m_step, 24);
        m_digits[0] = Digit(h / 10);
        m_digits[1] = Digit(h % 10);
        break;
    }
    case MinuteTensField:
        m_digits[2] = Digit(Wrap(DigitValue(2) + m_step, 6));
        break;
    case MinuteUnitsField:
        m_digits[3] = Digit(Wrap(DigitValue(3) + m_step, 10));
        break;
    default:
        break;
    }
}

void TimePickerKeys::KeyDown(int keyCode, int /*shift*/)
{
    if (keyCode == kEnter || keyCode == kEscape) {
        m_highlight = 0;
        return;
    }
    switch (keyCode) {
    case kUp:
        m_step = 1;
        DisplayTime();
        break;
    case kDown:
        m_step = -1;
        DisplayTime();
        break;
    case kLeft:
        --m_field;
        m_step = 0;
        break;
    case kRight:
        ++m_field;
        m_step = 0;
        break;
    default:
        return;
    }
    // Right from the minute units comes round to the hour; Left from the hour stays there.
    if (m_field < HourField || m_field > MinuteUnitsField)
        m_field = HourField;
    switch (m_field) {
    case HourField: m_cursor = (DigitValue(0) * 10 + DigitValue(1) > 9) ? 2 : 1; break;
    case MinuteTensField: m_cursor = 4; break;
    default: m_cursor = 5; break;
    }
    SetHighlight(m_field);
}

void TimePickerKeys::ZoneClick(Zone zone)
{
    switch (zone) {
    case Zone::HourPlus: case Zone::HourMinus: m_field = HourField; break;
    case Zone::MinuteTensPlus: case Zone::MinuteTensMinus: m_field = MinuteTensField; break;
    case Zone::MinuteUnitsPlus: case Zone::MinuteUnitsMinus: m_field = MinuteUnitsField; break;
    }
    const bool plus = zone == Zone::HourPlus || zone == Zone::MinuteTensPlus || zone == Zone::MinuteUnitsPlus;
    KeyDown(plus ? kUp : kDown, 0);
}

bool TimePickerKeys::KeyPress(int c)
{
    if (c == kEnter) {
        m_cursor = 0;
        m_field = HourField;
        Hide();
        return true;
    }
    if (c == kEscape) {
        // Back to 00:00 on the hour; the picker stays open and the output keeps its value.
        m_digits.fill(QChar('0'));
        m_cursor = 0;
        m_field = HourField;
        SetHighlight(HourField);
        return false;
    }
    if (m_cursor == 0)
        m_cursor = 1;
    const bool digit = c >= '0' && c <= '9';
    if (!digit && c != kBackspace && c != kColon)
        return false;
    const QChar d = digit ? QChar(char16_t(c)) : QChar();
    const int v = digit ? c - '0' : -1;
    const bool backspace = c == kBackspace;
    const bool colon = c == kColon;

    int16_t highlight = -1;   // -1: the colours stay as they are
    switch (m_cursor) {
    case 1:
        // Typing at the start enters a new time: it starts from 00:00.
        m_digits.fill(QChar('0'));
        m_field = HourField;
        highlight = HourField;
        if (colon) {
            m_cursor = 4;
            highlight = MinuteTensField;
        } else if (digit && v <= 2) {
            m_digits[0] = d;
            m_cursor = 2;
        } else if (digit) {
            m_digits[1] = d;   // a one-digit hour "0d"
            m_cursor = 3;
        }
        break;
    case 2:
        m_field = HourField;
        if (backspace) {
            m_digits[0] = QChar('0');
            m_cursor = 1;
            highlight = HourField;
        } else if (colon) {
            // The one digit typed is the hour.
            if (m_digits[0] != QChar('0')) {
                m_digits[1] = m_digits[0];
                m_digits[0] = QChar('0');
                m_digits[2] = QChar('0');
            } else {
                m_digits[1] = QChar('0');
            }
            m_cursor = 4;
            highlight = MinuteTensField;
        } else if (DigitValue(0) >= 2 && v >= 4) {
            highlight = HourField;   // no hour above 23
        } else {
            m_digits[1] = d;
            m_cursor = 3;
            highlight = MinuteTensField;
        }
        break;
    case 3:
    case 4:
        if (backspace) {
            m_digits[1] = QChar('0');
            if (m_cursor == 4)
                highlight = HourField;
            m_cursor = 2;
            m_field = HourField;
        } else if (colon) {
            if (m_cursor == 3)
                highlight = MinuteTensField;
            m_cursor = 4;
        } else if (v <= 5) {
            m_digits[2] = d;
            m_cursor = 5;
            m_field = MinuteTensField;
            highlight = MinuteUnitsField;
        } else {
            // A minute digit above 5 can only be the units.
            m_digits[3] = d;
            m_cursor = 6;
            m_field = MinuteUnitsField;
            highlight = MinuteUnitsField;
        }
        break;
    case 5:
        if (backspace) {
            m_digits[2] = QChar('0');
            m_cursor = 4;
            m_field = MinuteTensField;
            highlight = MinuteTensField;
        } else if (digit) {
            m_digits[3] = d;
            m_cursor = 6;
            m_field = MinuteUnitsField;
            highlight = MinuteUnitsField;
        }
        break;
    case 6:
        if (backspace) {
            m_digits[3] = QChar('0');
            m_cursor = 5;
        } else if (digit) {
            m_digits[3] = d;
        }
        break;
    default:
        break;
    }
    if (highlight >= 0)
        SetHighlight(highlight);
    return false;
}
