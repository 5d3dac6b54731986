#include "sync/SynchRules.h"

#include "core/ServiceRequests.h"

#include <algorithm>

namespace synchrules {

int PartnerIndex(int pickedIndex, int partnerIndex)
{
    if (pickedIndex < 0)
        return partnerIndex;
    if (pickedIndex == 0)
        return 0;
    if (partnerIndex == 0)
        return pickedIndex;
    return partnerIndex;
}

bool PairWrong(const PairChoice &pair)
{
    if (pair.fromIndex <= 0)
        return false;
    return pair.toKey < pair.fromKey;
}

bool DatesWrong(const PairChoice &time, bool skipTime, const PairChoice &exp, bool skipExp)
{
    if (!skipTime && PairWrong(time))
        return true;
    return !skipExp && PairWrong(exp);
}

modDBchr::DayRange RangeOf(const PairChoice &pair)
{
    modDBchr::DayRange r;
    if (pair.fromIndex <= 0)
        return r;
    r.all = false;
    r.from = pair.fromKey;
    r.to = pair.toKey;
    return r;
}

std::vector<modDBchr::DailyEntry> FinishedEntries(std::vector<modDBchr::DailyEntry> entries, const QDateTime &now)
{
    entries.erase(std::remove_if(entries.begin(), entries.end(),
                                 [&](const modDBchr::DailyEntry &e) {
                                     return !modHttp::EntryFinished(e.cDate, e.cStarttime, e.cSec, now);
                                 }),
                  entries.end());
    return entries;
}

ReplyOutcome OutcomeOf(int16_t replyCode)
{
    ReplyOutcome o;
    if (replyCode >= 1 && replyCode <= 4) {
        o.stopKind = true;
        return o;
    }
    o.writeState = true;
    o.state = modHttp::SendStateOf(replyCode);
    o.stopKind = replyCode >= 100;
    return o;
}

} // namespace synchrules
