#include "platform/hotkey/HotKey.h"

#include "platform/x11/X11.h"

#include <QAbstractNativeEventFilter>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QPointer>

#include <X11/keysym.h>
#include <xcb/xcb.h>
#include <xcb/xcb_keysyms.h>

#include <algorithm>
#include <cstdlib>

namespace hotkey {
namespace {

struct Registration {
    QObject *window = nullptr;   // identity only; the window may be gone when we compare
    QPointer<QObject> alive;     // null once the window is destroyed
    int id = 0;
    unsigned modifiers = 0;
    unsigned vKey = 0;
    std::vector<xcb_keycode_t> keycodes;
    uint16_t xmods = 0;
    QMetaObject::Connection onDestroyed;
};

std::vector<Registration> &Registrations()
{
    static std::vector<Registration> list;
    return list;
}

// The modifier bit that NumLock sets on this server (Mod2 on nearly every keyboard); learnt at
// each registration because the keyboard map may change between them.
uint16_t g_numLockMask = XCB_MOD_MASK_2;

std::vector<xcb_window_t> Roots(xcb_connection_t *c)
{
    std::vector<xcb_window_t> roots;
    for (auto it = xcb_setup_roots_iterator(xcb_get_setup(c)); it.rem; xcb_screen_next(&it))
        roots.push_back(it.data->root);
    return roots;
}

std::vector<xcb_keycode_t> KeycodesFor(xcb_key_symbols_t *syms, const std::vector<uint32_t> &keysyms)
{
    std::vector<xcb_keycode_t> codes;
    for (uint32_t sym : keysyms) {
        xcb_keycode_t *found = xcb_key_symbols_get_keycode(syms, sym);
        if (!found)
            continue;
        for (xcb_keycode_t *k = found; *k != XCB_NO_SYMBOL; ++k)
            if (std::find(codes.begin(), codes.end(), *k) == codes.end())
                codes.push_back(*k);
        std::free(found);
    }
    return codes;
}

uint16_t NumLockMask(xcb_connection_t *c, xcb_key_symbols_t *syms)
{
    const std::vector<xcb_keycode_t> numLock = KeycodesFor(syms, {XK_Num_Lock});
    uint16_t mask = 0;
    xcb_get_modifier_mapping_reply_t *reply =
        xcb_get_modifier_mapping_reply(c, xcb_get_modifier_mapping(c), nullptr);
    if (reply) {
        const xcb_keycode_t *map = xcb_get_modifier_mapping_keycodes(reply);
        const int perModifier = reply->keycodes_per_modifier;
        for (int m = 0; m < 8 && !mask; ++m)
            for (int k = 0; k < perModifier; ++k) {
                const xcb_keycode_t code = map[m * perModifier + k];
                if (code && std::find(numLock.begin(), numLock.end(), code) != numLock.end()) {
                    mask = static_cast<uint16_t>(1u << m);
                    break;
                }
            }
        std::free(reply);
    }
    return mask ? mask : static_cast<uint16_t>(XCB_MOD_MASK_2);
}

// The four variants of one combination: as it is, with CapsLock, with NumLock, with both.
std::vector<uint16_t> Variants(uint16_t xmods)
{
    return {xmods, static_cast<uint16_t>(xmods | XCB_MOD_MASK_LOCK),
            static_cast<uint16_t>(xmods | g_numLockMask),
            static_cast<uint16_t>(xmods | XCB_MOD_MASK_LOCK | g_numLockMask)};
}

void Ungrab(xcb_connection_t *c, const std::vector<xcb_keycode_t> &codes, uint16_t xmods)
{
    for (xcb_window_t root : Roots(c))
        for (xcb_keycode_t code : codes)
            for (uint16_t mods : Variants(xmods))
                xcb_ungrab_key(c, code, root, mods);
    xcb_flush(c);
}

// Takes every variant on every screen; on the first refusal gives back what it took.
bool Grab(xcb_connection_t *c, const std::vector<xcb_keycode_t> &codes, uint16_t xmods)
{
    std::vector<xcb_void_cookie_t> cookies;
    for (xcb_window_t root : Roots(c))
        for (xcb_keycode_t code : codes)
            for (uint16_t mods : Variants(xmods))
                cookies.push_back(xcb_grab_key_checked(c, 0, root, mods, code,
                                                       XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC));
    bool ok = true;
    for (const auto &cookie : cookies) {
        if (xcb_generic_error_t *err = xcb_request_check(c, cookie)) {
            ok = false; // BadAccess: another client holds this combination
            std::free(err);
        }
    }
    if (!ok)
        Ungrab(c, codes, xmods);
    return ok;
}

void Remove(std::vector<Registration>::iterator it)
{
    if (xcb_connection_t *c = x11::Connection())
        Ungrab(c, it->keycodes, it->xmods);
    QObject::disconnect(it->onDestroyed);
    Registrations().erase(it);
}

class KeyPressFilter : public QAbstractNativeEventFilter {
public:
    bool nativeEventFilter(const QByteArray &eventType, void *message, qintptr *) override
    {
        if (eventType != "xcb_generic_event_t" || Registrations().empty())
            return false;
        auto *ev = static_cast<xcb_generic_event_t *>(message);
        if ((ev->response_type & ~0x80) != XCB_KEY_PRESS)
            return false;
        auto *key = reinterpret_cast<xcb_key_press_event_t *>(ev);
        // Only the modifier bits count (the pointer buttons sit above 0xff), and CapsLock and
        // NumLock do not change which hot key was meant.
        const uint16_t state =
            key->state & 0xff & ~(XCB_MOD_MASK_LOCK | g_numLockMask);
        for (const Registration &r : Registrations()) {
            if (r.xmods != state || !r.alive)
                continue;
            if (std::find(r.keycodes.begin(), r.keycodes.end(), key->detail) == r.keycodes.end())
                continue;
            QCoreApplication::postEvent(r.alive.data(), new HotKeyEvent(r.id, r.modifiers, r.vKey));
            return true;
        }
        return false;
    }
};

void EnsureFilter()
{
    static QPointer<QCoreApplication> installedOn;
    static KeyPressFilter *filter = new KeyPressFilter;
    QCoreApplication *app = QCoreApplication::instance();
    if (app && installedOn != app) {
        app->installNativeEventFilter(filter);
        installedOn = app;
    }
}

} // namespace

QEvent::Type HotKeyEventType()
{
    static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}

bool IsAvailable()
{
    return x11::Connection() != nullptr;
}

std::vector<uint32_t> KeysymsForVirtualKey(unsigned vKey)
{
    if (vKey >= 112 && vKey <= 123)
        return {static_cast<uint32_t>(XK_F1 + (vKey - 112))};
    if (vKey >= 'A' && vKey <= 'Z')
        return {static_cast<uint32_t>(XK_a + (vKey - 'A'))};
    if (vKey >= '0' && vKey <= '9')
        return {static_cast<uint32_t>(XK_0 + (vKey - '0'))};
    switch (vKey) {
    case 16: return {XK_Shift_L, XK_Shift_R};
    case 17: return {XK_Control_L, XK_Control_R};
    case 18: return {XK_Alt_L, XK_Alt_R};
    default: return {};
    }
}

uint16_t XModifiersFor(unsigned modifiers)
{
    uint16_t x = 0;
    if (modifiers & MOD_SHIFT)
        x |= XCB_MOD_MASK_SHIFT;
    if (modifiers & MOD_CONTROL)
        x |= XCB_MOD_MASK_CONTROL;
    if (modifiers & MOD_ALT)
        x |= XCB_MOD_MASK_1;
    return x;
}

bool RegisterHotKey(QObject *window, int id, unsigned modifiers, unsigned vKey)
{
    if (!window)
        return false;
    xcb_connection_t *c = x11::Connection();
    if (!c)
        return false;
    const std::vector<uint32_t> keysyms = KeysymsForVirtualKey(vKey);
    if (keysyms.empty())
        return false;

    auto &list = Registrations();
    auto same = std::find_if(list.begin(), list.end(),
                             [&](const Registration &r) { return r.window == window && r.id == id; });
    if (same != list.end())
        Remove(same);
    const uint16_t xmods = XModifiersFor(modifiers);
    for (const Registration &r : list)
        if (r.xmods == xmods && r.vKey == vKey)
            return false; // already ours under another window or id

    xcb_key_symbols_t *syms = xcb_key_symbols_alloc(c);
    if (!syms)
        return false;
    g_numLockMask = NumLockMask(c, syms);
    std::vector<xcb_keycode_t> codes = KeycodesFor(syms, keysyms);
    xcb_key_symbols_free(syms);
    if (codes.empty() || !Grab(c, codes, xmods))
        return false;

    EnsureFilter();
    Registration r;
    r.window = window;
    r.alive = window;
    r.id = id;
    r.modifiers = modifiers;
    r.vKey = vKey;
    r.keycodes = std::move(codes);
    r.xmods = xmods;
    // A window that goes away takes its hot keys with it, as a destroyed window does on Windows.
    r.onDestroyed = QObject::connect(window, &QObject::destroyed, [window] {
        auto &regs = Registrations();
        for (auto it = regs.begin(); it != regs.end();) {
            if (it->window == window) {
                Remove(it);
                it = regs.begin();
            } else {
                ++it;
            }
        }
    });
    list.push_back(std::move(r));
    return true;
}

bool UnregisterHotKey(QObject *window, int id)
{
    auto &list = Registrations();
    auto it = std::find_if(list.begin(), list.end(),
                           [&](const Registration &r) { return r.window == window && r.id == id; });
    if (it == list.end())
        return false;
    Remove(it);
    return true;
}

} // namespace hotkey
