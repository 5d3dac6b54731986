#pragma once
// Day keys, time texts and amount texts of the main module (namespace modMain).
//
// A day is kept as the integer yyyymmdd (the "day key"; 20061231 is 31 December 2006), a time of
// day as seconds after midnight, a duration as seconds. These helpers convert between those
// forms and the texts the windows, the settings and the service requests use.
#include <QString>
#include <cstdint>

class QDate;
class QLocale;
class QDateTime;
class QLineEdit;

namespace modMain {

// The day key yyyymmdd of a date.
int32_t DateToLong(const QDate &date);

// The date of a day key. Month and day outside their range roll over into the next month or
// year (and 0 into the previous one), as a calendar date constructor does. A key that is not
// eight digits throws std::invalid_argument.
QDate LongToDate(int32_t dayKey);

// Seconds as "hh:mm:ss"; hours of 100 or more give three digits, a fractional second part is
// written with its fraction (C locale) and is then not padded.
QString SecsToHMS(double secs);

// Seconds as "hhmm", to the nearest minute (30 seconds round up; 23:59:30 gives "2400").
QString SecsToHM(double secs);

// Fills three text boxes with whole hours, whole minutes and the remaining seconds, without
// leading zeros. Any box may be null.
void SecsToTimeBoxes(double secs, QLineEdit *hourBox, QLineEdit *minuteBox, QLineEdit *secondBox);

// Seconds of "h:m" or "h:m:s". A text shorter than 6 characters never contributes seconds
// ("9:5:7" gives 32700), nor does one without a third field ("100:30"). A text without ":" or with fields that are not whole numbers throws
// std::invalid_argument.
int32_t TimeStrToSecs(const QString &text);

// The time of day of a value as "hh:mm:ss" (24-hour clock, whatever the locale writes).
QString FormatDateTimeStr(const QDateTime &value, bool timeOnly = true);

// Sets DecimalSep from the person's locale, and GroupSep to "," (or "." when the decimal
// separator is ","). Never fails.
void InitSeparators();
void InitSeparators(const QLocale &locale);

// Sets DateSep to "-" when the locale writes today's short date with "-", else "/".
void InitDateSep();
void InitDateSep(const QLocale &locale, const QDate &today);

// A whole or fractional number as the program's own texts write it (grid cells, the settings
// file): whole values as plain digits, fractions with up to 15 significant digits, always with
// "." whatever the locale.
QString NumberText(double v);

// An amount text with "." as decimal point and no group separator (GroupSep and DecimalSep
// as set by InitSeparators). Never fails.
QString NumToDot(const QString &amount);

} // namespace modMain
