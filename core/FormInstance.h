#pragma once
// Every window of the program exists at most once, as in a forms runtime with default
// instances: T::Get() loads the window on first use, T::Peek() tells whether it is loaded
// (nullptr when not), T::Unload() destroys it. The window's constructor is its Load event and
// its destructor its Unload event (where each sets and clears its FormLoaded element).
//
// A window that has a FormLoaded element enters the window registry when Get() loads it and
// leaves it when it is unloaded or destroyed by its owner, so that the language switch and the
// shutdown reach it without a list of their own. What the registry calls: the window's
// ApplyLang (followed by LoadLstOptions for a window that lists its options in the current
// language) and its Unload.
#include "core/WindowRegistry.h"

// The windows by their FormLoaded element (the design's numbering).
class frmStart;
class frmDaily;
class frmDailyExp;
class frmLoad;
class frmSynch;
class frmLogin;
class frmHlp;
class frmOptions;
class frmVideo;
class frmSplash;

template <class T>
inline constexpr int kFormIndexOf = -1;   // a window without an element (the main window)
template <> inline constexpr int kFormIndexOf<frmStart> = modMain::fiStart;
template <> inline constexpr int kFormIndexOf<frmDaily> = modMain::fiDaily;
template <> inline constexpr int kFormIndexOf<frmDailyExp> = modMain::fiDailyExp;
template <> inline constexpr int kFormIndexOf<frmLoad> = modMain::fiLoad;
template <> inline constexpr int kFormIndexOf<frmSynch> = modMain::fiSynch;
template <> inline constexpr int kFormIndexOf<frmLogin> = modMain::fiLogin;
template <> inline constexpr int kFormIndexOf<frmHlp> = modMain::fiHlp;
template <> inline constexpr int kFormIndexOf<frmOptions> = modMain::fiOptions;
template <> inline constexpr int kFormIndexOf<frmVideo> = modMain::fiVideo;
template <> inline constexpr int kFormIndexOf<frmSplash> = modMain::fiSplash;

template <class T>
class FormInstance {
public:
    static T *Get()
    {
        if (!s_instance) {
            s_instance = new T;
            Register();
        }
        return s_instance;
    }
    static T *Peek() { return s_instance; }
    static void Unload()
    {
        T *w = s_instance;
        s_instance = nullptr;
        Deregister();
        delete w;
    }

protected:
    // A window destroyed by its owner (for example with the frame) forgets itself here.
    static void Forget(T *self)
    {
        if (s_instance == self) {
            s_instance = nullptr;
            Deregister();
        }
    }

private:
    static void Register()
    {
        if constexpr (kFormIndexOf<T> >= 0) {
            winreg::Entry entry;
            entry.applyLang = [] {
                if (T *w = s_instance) {
                    if constexpr (requires { w->ApplyLang(); })
                        w->ApplyLang();
                    if constexpr (requires { w->LoadLstOptions(); })
                        w->LoadLstOptions();
                }
            };
            entry.unload = [] { Unload(); };
            if constexpr (requires(T *w) { bool(w->QueryUnload()); })
                entry.queryUnload = [] { return !s_instance || s_instance->QueryUnload(); };
            winreg::Register(static_cast<modMain::FormIndex>(kFormIndexOf<T>), std::move(entry));
        }
    }
    static void Deregister()
    {
        if constexpr (kFormIndexOf<T> >= 0)
            winreg::Deregister(static_cast<modMain::FormIndex>(kFormIndexOf<T>));
    }

    static inline T *s_instance = nullptr;
};
