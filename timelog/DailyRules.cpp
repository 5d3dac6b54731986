#include "timelog/DailyRules.h"

#include "core/ServiceRequests.h"
#include "core/modMain.h"

#include <QDate>
#include <QRegularExpression>

#include <algorithm>
#include <exception>

namespace dailyrules {

bool RecordingConflict(bool timerRunning, const QDateTime &timerStart, int32_t shownDay, double start, double end)
{
    if (!timerRunning || !timerStart.isValid())
        return false;
    QDate day;
    try {
        day = modMain::LongToDate(shownDay);
    } catch (const std::exception &) {
        return false;
    }
    const QDateTime midnight(day, QTime(0, 0));
    const qint64 timerSecs = midnight.secsTo(timerStart);
    if (start == end)
        return start >= double(timerSecs);
    return std::max(start, end) > double(timerSecs);
}

std::optional<int16_t> SendRefusal(int32_t entryDay, double start, double sec, const QDateTime &now)
{
    if (!modHttp::EntryFinished(entryDay, start, sec, now))
        return int16_t(256);
    return std::nullopt;
}

int16_t SendStatusOf(int16_t state)
{
    return state == Sent ? 290 : 291;
}

bool RowSendable(const RowFacts &row)
{
    return IdOf(row.id).has_value() && row.changed != QLatin1String("True");
}

bool RowTakenByDaySend(const RowFacts &row)
{
    return RowSendable(row) && row.chk.trimmed() != QLatin1String("1");
}

namespace {

std::optional<double> WholeNumber(const QString &text, bool emptyIsZero)
{
    const QString t = text.trimmed();
    if (t.isEmpty())
        return emptyIsZero ? std::optional<double>(0) : std::nullopt;
    static const QRegularExpression digits(QStringLiteral("^[0-9]{1,15}$"));
    if (!digits.match(t).hasMatch())
        return std::nullopt;
    return t.toDouble();
}

} // namespace

std::optional<double> DurationOf(const QString &hours, const QString &minutes, const QString &seconds)
{
    const auto h = WholeNumber(hours, true);
    const auto m = WholeNumber(minutes, true);
    const auto s = WholeNumber(seconds, true);
    if (!h || !m || !s)
        return std::nullopt;
    return *h * 3600 + *m * 60 + *s;
}

std::optional<double> TimeOfDay(const QString &text)
{
    static const QRegularExpression rx(QStringLiteral("^\\s*([0-9]{1,2}):([0-9]{1,2})(?::([0-9]{1,2}))?\\s*$"));
    const auto m = rx.match(text);
    if (!m.hasMatch())
        return std::nullopt;
    const int h = m.captured(1).toInt();
    const int mi = m.captured(2).toInt();
    const int s = m.captured(3).isEmpty() ? 0 : m.captured(3).toInt();
    if (h > 23 || mi > 59 || s > 59)
        return std::nullopt;
    return double(h * 3600 + mi * 60 + s);
}

std::optional<double> IdOf(const QString &cell)
{
    return WholeNumber(cell, false);
}

} // namespace dailyrules
