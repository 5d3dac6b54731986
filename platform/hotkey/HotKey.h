#pragma once
// System-wide hot keys on X11, with the calls the program knows from its Windows days:
// RegisterHotKey / UnregisterHotKey on a window, and a WM_HOTKEY message (here a posted
// HotKeyEvent) to that window when the combination is pressed anywhere on the desktop.
//
// Underneath, each combination is a passive key grab on the root window, taken four times
// (alone, with Lock, with NumLock's modifier and with both) so that CapsLock and NumLock do not
// defeat it. The presses are read from Qt's own xcb connection by a native event filter.
// A grab that another X client already holds (BadAccess) is a failed registration.
// Without an X11 connection (offscreen, Wayland) every registration fails.
#include <QEvent>
#include <QObject>

#include <cstdint>
#include <vector>

namespace hotkey {

// Modifier flags of a registration (the values of the Windows API).
constexpr unsigned MOD_ALT = 1;
constexpr unsigned MOD_CONTROL = 2;
constexpr unsigned MOD_SHIFT = 4;

// The MOD_* flags of a key event's shift bits (1 Shift, 2 Ctrl, 4 Alt), as the profile stores
// the hot key's modifiers.
constexpr unsigned ModifiersForShiftMask(unsigned mask)
{
    return ((mask & 4) ? MOD_ALT : 0) | ((mask & 2) ? MOD_CONTROL : 0) | ((mask & 1) ? MOD_SHIFT : 0);
}

// Number of the hot-key message, as window procedures know it.
constexpr unsigned WM_HOTKEY = 786;

// The Qt event type of HotKeyEvent (registered once).
QEvent::Type HotKeyEventType();

// Posted to the registered window when its combination is pressed.
class HotKeyEvent : public QEvent {
public:
    HotKeyEvent(int id, unsigned modifiers, unsigned vKey)
        : QEvent(HotKeyEventType()), m_id(id), m_modifiers(modifiers), m_vKey(vKey) {}
    int id() const { return m_id; }                // the id given to RegisterHotKey
    unsigned modifiers() const { return m_modifiers; } // MOD_* flags
    unsigned vKey() const { return m_vKey; }       // the virtual-key code
private:
    int m_id;
    unsigned m_modifiers;
    unsigned m_vKey;
};

// True when global grabs are possible at all (the application runs on an X11 connection).
bool IsAvailable();

// Registers vKey (a Windows virtual-key code) with the MOD_* modifiers for window under id.
// False when there is no X11 connection, the key has no X keysym or no key on this keyboard,
// the combination is already registered in this program, or another X client holds it.
// A second registration with the same window and id replaces the first.
bool RegisterHotKey(QObject *window, int id, unsigned modifiers, unsigned vKey);

// Removes the registration of window under id; false when there is none.
bool UnregisterHotKey(QObject *window, int id);

// X keysyms for a virtual-key code: F1..F12 (112..123), letters A..Z (65..90), digits 0..9
// (48..57), and the modifier keys themselves, Shift (16), Ctrl (17) and Alt (18), as their
// left and right keys. Empty for any other code.
std::vector<uint32_t> KeysymsForVirtualKey(unsigned vKey);

// The X modifier mask for MOD_* flags (Shift 1, Control 4, Alt as Mod1 8).
uint16_t XModifiersFor(unsigned modifiers);

} // namespace hotkey
