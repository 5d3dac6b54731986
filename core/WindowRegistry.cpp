#include "core/WindowRegistry.h"

#include <map>

namespace winreg {

namespace {

std::map<int, Entry> &Entries()
{
    static std::map<int, Entry> entries;
    return entries;
}

// Runs the entry's call when the window is registered and its loaded flag is set. The call
// is taken out first: the window may leave the registry while it runs.
void Call(modMain::FormIndex index, std::function<void()> Entry::*which)
{
    if (index < 0 || index >= static_cast<int>(modMain::FormLoaded.size()) || !modMain::FormLoaded[index])
        return;
    const auto it = Entries().find(index);
    if (it == Entries().end())
        return;
    const std::function<void()> call = it->second.*which;
    if (!call)
        return;
    try {
        call();
    } catch (...) {
    }
}

} // namespace

void Register(modMain::FormIndex index, Entry entry)
{
    Entries()[index] = std::move(entry);
}

void Deregister(modMain::FormIndex index)
{
    Entries().erase(index);
}

bool IsRegistered(modMain::FormIndex index)
{
    return Entries().count(index) != 0;
}

const std::vector<modMain::FormIndex> &LanguageOrder()
{
    using namespace modMain;
    static const std::vector<FormIndex> order{fiLogin, fiStart, fiDaily, fiDailyExp, fiLoad,
                                              fiSynch, fiHlp, fiOptions, fiVideo};
    return order;
}

const std::vector<modMain::FormIndex> &UnloadOrder()
{
    using namespace modMain;
    static const std::vector<FormIndex> order{fiLogin, fiDaily, fiDailyExp, fiLoad, fiHlp, fiOptions, fiVideo};
    return order;
}

void ApplyLangToLoadedWindows()
{
    for (modMain::FormIndex index : LanguageOrder())
        Call(index, &Entry::applyLang);
}

void UnloadLoadedWindows()
{
    for (modMain::FormIndex index : UnloadOrder())
        Call(index, &Entry::unload);
}

bool QueryUnloadLoadedWindows()
{
    for (modMain::FormIndex index : UnloadOrder()) {
        if (!modMain::FormLoaded[index])
            continue;
        const auto it = Entries().find(index);
        if (it == Entries().end() || !it->second.queryUnload)
            continue;
        if (!it->second.queryUnload())
            return false;
    }
    return true;
}

} // namespace winreg
