#pragma once
// The rules of the start-up's version check, without windows (namespace modMain).
#include <QDate>
#include <QString>

#include <optional>

namespace modMain {

// True when version ("major.minor.revision", each part a decimal number; missing parts count
// as 0) is later than running. A version that is empty or not of that form is never newer.
bool IsNewerVersion(const QString &version, const QString &running);

// Whole days from the day key stored as text ("yyyymmdd") to today; empty when the text is
// not a day key.
std::optional<qint64> DaysSinceCheck(const QString &stored, const QDate &today);

// What a normal start does about new versions.
enum class VersionStep {
    AnnounceKnown,   // a newer version became known at an earlier check: string 1015
    Check,           // ask the service
    Nothing
};
// newer is the stored "versionNew", checked the stored "DateCheckedforUpdates". A check is due
// only while connected: when more than 15 days have passed since the last one (a date that is
// missing or unreadable counts as never checked), or, with the daily check on, on the first
// start of a new day.
VersionStep ScheduledVersionStep(const QString &newer, const QString &running, const QString &checked,
                                 const QDate &today, bool connected, bool dailyCheck);

} // namespace modMain
