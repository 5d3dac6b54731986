#include "core/StartUpRules.h"

#include <QStringList>

#include <vector>

namespace modMain {

namespace {

// The numbers of a version text; empty when it is not made of decimal parts.
std::vector<qlonglong> VersionParts(const QString &text)
{
    std::vector<qlonglong> parts;
    const QString t = text.trimmed();
    if (t.isEmpty())
        return parts;
    for (const QString &p : t.split(QLatin1Char('.'))) {
        bool ok = false;
        const qlonglong n = p.toLongLong(&ok);
        if (!ok || n < 0 || p.isEmpty() || !p.at(0).isDigit())
            return {};
        parts.push_back(n);
    }
    return parts;
}

} // namespace

bool IsNewerVersion(const QString &version, const QString &running)
{
    std::vector<qlonglong> a = VersionParts(version);
    std::vector<qlonglong> b = VersionParts(running);
    if (a.empty() || b.empty())
        return false;
    const size_t n = std::max(a.size(), b.size());
    a.resize(n, 0);
    b.resize(n, 0);
    return a > b;
}

std::optional<qint64> DaysSinceCheck(const QString &stored, const QDate &today)
{
    const QString t = stored.trimmed();
    if (t.size() != 8)
        return std::nullopt;
    const QDate day = QDate::fromString(t, QStringLiteral("yyyyMMdd"));
    if (!day.isValid())
        return std::nullopt;
    return day.daysTo(today);
}

VersionStep ScheduledVersionStep(const QString &newer, const QString &running, const QString &checked,
                                 const QDate &today, bool connected, bool dailyCheck)
{
    if (IsNewerVersion(newer, running))
        return VersionStep::AnnounceKnown;
    if (!connected)
        return VersionStep::Nothing;
    const std::optional<qint64> days = DaysSinceCheck(checked, today);
    if (!days || *days > 15)
        return VersionStep::Check;
    if (dailyCheck && checked.trimmed() != today.toString(QStringLiteral("yyyyMMdd")))
        return VersionStep::Check;
    return VersionStep::Nothing;
}

} // namespace modMain
