// Day keys, time texts and amount texts.
#include "core/modMain.h"

#include <QDate>
#include <QDateTime>
#include <QLineEdit>
#include <QLocale>

#include <cmath>
#include <limits>
#include <stdexcept>

namespace modMain {

namespace {

QString Pad2(const QString &s)
{
    return s.size() == 1 ? QStringLiteral("0") + s : s;
}

int32_t ToInt32(const QString &field, const QString &whole)
{
    bool ok = false;
    const int v = field.toInt(&ok);
    if (!ok)
        throw std::invalid_argument("not a time text: " + whole.toStdString());
    return v;
}

} // namespace

QString NumberText(double v)
{
    if (std::isfinite(v) && v == std::floor(v) && std::fabs(v) < 9.0e15)
        return QString::number(static_cast<qlonglong>(v));
    return QString::number(v, 'g', 15);
}

int32_t DateToLong(const QDate &date)
{
    return date.year() * 10000 + date.month() * 100 + date.day();
}

QDate LongToDate(int32_t dayKey)
{
    if (dayKey < 10000000 || dayKey > 99999999)
        throw std::invalid_argument("not a day key: " + std::to_string(dayKey));
    const int year = dayKey / 10000;
    const int month = dayKey / 100 % 100;
    const int day = dayKey % 100;
    // Built by adding months and days to 1 January so that 0 and values past the end of their
    // range roll over the way a calendar date constructor does (20070230 is 2 March 2007).
    return QDate(year, 1, 1).addMonths(month - 1).addDays(day - 1);
}

QString SecsToHMS(double secs)
{
    const double h = std::floor(secs / 3600);
    const double m = std::floor((secs - h * 3600) / 60);
    const double s = secs - h * 3600 - m * 60;
    return Pad2(NumberText(h)) + ":" + Pad2(NumberText(m)) + ":" + Pad2(NumberText(s));
}

QString SecsToHM(double secs)
{
    double h = std::floor(secs / 3600);
    double m = std::floor((secs - h * 3600) / 60);
    const double r = secs - h * 3600 - m * 60;
    if (r >= 30) {
        m += 1;
        if (m == 60) {
            m = 0;
            h += 1;
        }
    }
    return Pad2(NumberText(h)) + Pad2(NumberText(m));
}

void SecsToTimeBoxes(double secs, QLineEdit *hourBox, QLineEdit *minuteBox, QLineEdit *secondBox)
{
    const double h = std::floor(secs / 3600);
    double hoursRead = h;
    if (hourBox) {
        hourBox->setText(NumberText(h));
        // The minutes follow from what the box holds now (a box with a maximum length may
        // have cut the text).
        bool ok = false;
        const double back = hourBox->text().toDouble(&ok);
        hoursRead = ok ? back : 0;
    }
    const double m = std::floor((secs - hoursRead * 3600) / 60);
    if (minuteBox)
        minuteBox->setText(NumberText(m));
    if (secondBox)
        secondBox->setText(NumberText(secs - hoursRead * 3600 - m * 60));
}

int32_t TimeStrToSecs(const QString &text)
{
    const QString sep = QStringLiteral(":");
    // Without a ":" the field helper would hand the whole text back as the minutes too
    // ("0900" would be 900 hours and 900 minutes): that is no time text.
    if (!text.contains(sep))
        throw std::invalid_argument("not a time text: " + text.toStdString());
    const int64_t h = ToInt32(GetField(text, 1, sep), text);
    const int64_t m = ToInt32(GetField(text, 2, sep), text);
    int64_t total = h * 3600 + m * 60;
    // Texts of six characters or more carry seconds, but only when there is a third field:
    // "100:30" is 100 hours 30 minutes, and asking for a field past the last would read the
    // minutes again as seconds.
    if (text.size() >= 6 && text.count(sep) >= 2)
        total += ToInt32(GetField(text, 3, sep), text);
    if (total < std::numeric_limits<int32_t>::min() || total > std::numeric_limits<int32_t>::max())
        throw std::invalid_argument("time text out of range: " + text.toStdString());
    return static_cast<int32_t>(total);
}

QString FormatDateTimeStr(const QDateTime &value, bool timeOnly)
{
    // Always the 24-hour time of day: reading it out of the locale's own time forms breaks on
    // locales with a 12-hour clock.
    const QTime t = value.time();
    if (!t.isValid())
        return QStringLiteral("00:00:00");
    return t.toString(QStringLiteral("HH:mm:ss"));
}

void InitSeparators(const QLocale &locale)
{
    const QString sample = locale.toString(3.0 / 5);
    if (sample.size() >= 2)
        DecimalSep = sample.mid(1, 1);
    GroupSep = DecimalSep != QLatin1String(",") ? QStringLiteral(",") : QStringLiteral(".");
}

void InitSeparators()
{
    InitSeparators(QLocale::system());
}

void InitDateSep(const QLocale &locale, const QDate &today)
{
    const QString written = locale.toString(today, QLocale::ShortFormat);
    DateSep = written.contains(QLatin1Char('-')) ? QStringLiteral("-") : QStringLiteral("/");
}

void InitDateSep()
{
    InitDateSep(QLocale::system(), QDate::currentDate());
}

QString NumToDot(const QString &amount)
{
    QString out = amount;
    // Every group separator goes: an amount of a million or more has two of them.
    if (!GroupSep.isEmpty())
        out.remove(GroupSep);
    if (DecimalSep == QLatin1String(",")) {
        const qsizetype p = out.indexOf(QLatin1Char(','));
        if (p >= 0)
            out.replace(p, 1, QStringLiteral("."));
    }
    return out;
}

} // namespace modMain
