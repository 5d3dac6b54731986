#include "timelog/EditorRules.h"

#include "timelog/DailyRules.h"

#include <cmath>

namespace editorrules {

namespace {

constexpr double kDay = 86400;

std::optional<double> Number(const QString &cell)
{
    bool ok = false;
    const double v = cell.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(v))
        return std::nullopt;
    return v;
}

} // namespace

int ConflictingRow(const std::vector<RowTimes> &rows, int openRow, double t, bool isEnd,
                   const std::vector<std::pair<double, double>> &outside)
{
    const auto inside = [&](double start, double end) { return isEnd ? (start < t && t <= end) : (start <= t && t < end); };
    for (int i = 0; i < int(rows.size()); ++i) {
        const RowTimes &r = rows[size_t(i)];
        if (i == openRow || r.task.isEmpty())
            continue;
        const auto start = dailyrules::TimeOfDay(r.startText);
        auto end = dailyrules::TimeOfDay(r.endText);
        if (!start || !end)
            continue;
        if (*end < *start)
            *end += kDay;
        if (inside(*start, *end))
            return i;
    }
    for (size_t k = 0; k < outside.size(); ++k)
        if (inside(outside[k].first, outside[k].second))
            return int(rows.size() + k);
    return -1;
}

bool EndOnNextDay(const QString &startSecs, const QString &durationSecs)
{
    const auto start = Number(startSecs);
    const auto sec = Number(durationSecs);
    return start && sec && *sec > 0 && *start + *sec >= kDay;
}

std::optional<double> SpanSeconds(const QString &startText, const QString &endText, bool endOnNextDay)
{
    const auto start = dailyrules::TimeOfDay(startText);
    const auto end = dailyrules::TimeOfDay(endText);
    if (!start || !end)
        return std::nullopt;
    if (endOnNextDay && *end < *start)
        return *end + kDay - *start;
    return *end - *start;
}

std::optional<double> RowSpanSeconds(const QString &startText, const QString &endText, const QString &startSecs,
                                     const QString &durationSecs)
{
    const auto span = SpanSeconds(startText, endText, EndOnNextDay(startSecs, durationSecs));
    if (!span)
        return std::nullopt;
    const auto sec = Number(durationSecs);
    const double wholeDays = sec && *sec > 0 ? std::floor(*sec / kDay) : 0;
    return *span + wholeDays * kDay;
}

std::pair<int, int> DurationDigits(const QString &boxText)
{
    const auto digit = [](QChar c) { return c >= u'0' && c <= u'9' ? c.unicode() - u'0' : -1; };
    if (boxText.isEmpty())
        return {-1, -1};
    if (boxText.size() == 1)
        return {0, digit(boxText.at(0))};
    return {digit(boxText.front()), digit(boxText.back())};
}

QString ChangedMark(const QString &projectId)
{
    return projectId.isEmpty() ? QStringLiteral("False") : QStringLiteral("True");
}

int RowAt(double y, int rowHeight, int topRow, int rows)
{
    if (rowHeight <= 0 || y < 0)
        return -1;
    const int row = int(y / rowHeight) + topRow;
    return row < rows ? row : -1;
}

int16_t RowTipOf(const QString &chk, const QString &id)
{
    int state = 0;
    if (chk.trimmed().isEmpty()) {
        state = id.trimmed().isEmpty() ? -1 : 0;
    } else {
        bool ok = false;
        state = chk.trimmed().toInt(&ok);
        if (!ok)
            return 0;
    }
    switch (state) {
    case -1: return 250;
    case 0: return 249;
    case 1: return 251;
    case 2: return 252;
    case 3: return 253;
    default: return 0;
    }
}

} // namespace editorrules
