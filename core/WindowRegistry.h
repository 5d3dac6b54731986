#pragma once
// The windows that are loaded, each with what the frame asks of every loaded window: its
// captions in a new language and its unload. A window enters the registry when it loads and
// leaves it when it unloads (FormInstance does both), so that the main window's language
// switch and the shutdown walk what is really loaded instead of lists kept by hand.
//
// The registry knows the windows only by their FormLoaded element: it includes no window.
#include "core/modMain.h"

#include <functional>
#include <vector>

namespace winreg {

struct Entry {
    std::function<void()> applyLang;   // the window's captions in the current language
    std::function<void()> unload;      // unloads the window
    // Asks the person before what the window holds unsaved is dropped; false keeps the window
    // (and the program) as it is. Empty for a window that holds nothing unsaved.
    std::function<bool()> queryUnload;
};

// Enters the window loaded under its FormLoaded element (a window loaded again replaces its
// earlier entry).
void Register(modMain::FormIndex index, Entry entry);
// The window of that element has unloaded.
void Deregister(modMain::FormIndex index);
bool IsRegistered(modMain::FormIndex index);

// The order in which a language switch recaptions the loaded windows: the sign-in window,
// the timers window, the daily log, the daily expenses, the task loader, the synchronisation
// window, the help, the options and the video window.
const std::vector<modMain::FormIndex> &LanguageOrder();
// The order in which the shutdown unloads them: the sign-in window, the daily log, the daily
// expenses, the task loader, the help, the options and the video window. The timers window
// and the synchronisation window go last, with the main window.
const std::vector<modMain::FormIndex> &UnloadOrder();

// Recaptions every registered window whose FormLoaded element is set, in LanguageOrder. A
// window that fails has told the person itself; the others are still recaptioned.
void ApplyLangToLoadedWindows();
// Unloads every registered window whose FormLoaded element is set, in UnloadOrder; one that
// fails to go keeps no other.
void UnloadLoadedWindows();
// Asks every loaded window that holds unsaved rows whether they may be dropped, in
// UnloadOrder; false as soon as one answers that it must stay.
bool QueryUnloadLoadedWindows();

} // namespace winreg
