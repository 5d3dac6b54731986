#include "recorder/CHotKey.h"

#include "platform/hotkey/HotKey.h"
#include "recorder/CGlobalAtom.h"
#include "recorder/MHookMe.h"

CHotKey::CHotKey(QObject *parent) : QObject(parent) {}

CHotKey::~CHotKey()
{
    Unregister();
    if (m_hwnd)
        MHookMe::UnhookWindow(m_hwnd, this);
    m_atom.reset();
}

void CHotKey::hwnd(QWidget *window)
{
    // A window that is not there changes nothing: the hooked one stays hooked.
    if (!window || window == m_hwnd)
        return;
    if (m_hwnd)
        MHookMe::UnhookWindow(m_hwnd, this);
    m_hwnd = window;
    MHookMe::HookWindow(window, this);
}

unsigned CHotKey::ModifiersForMask(uint8_t Mask)
{
    return hotkey::ModifiersForShiftMask(Mask);
}

void CHotKey::Unregister()
{
    if (m_atom && m_registeredOn)
        hotkey::UnregisterHotKey(m_registeredOn, m_atom->Value());
    m_registeredOn = nullptr;
}

bool CHotKey::SetHotKey(int32_t vKey, uint8_t Mask)
{
    if (!m_hwnd)
        return false;
    if (vKey == 0 && m_atom) {
        Unregister();
        m_atom.reset();
        return false;
    }
    const unsigned mods = ModifiersForMask(Mask);
    if (!m_atom)
        m_atom = std::make_unique<CGlobalAtom>();
    // One key per object: a new one takes the place of the one in force.
    if (m_registeredOn && m_registeredOn != m_hwnd)
        Unregister();
    if (hotkey::RegisterHotKey(m_hwnd, m_atom->Value(), mods, static_cast<unsigned>(vKey))) {
        m_registeredOn = m_hwnd;
        return true;
    }
    m_registeredOn = nullptr;
    return false;
}

long CHotKey::WindowProc(QWidget *hwnd, unsigned uMsg, quintptr wParam, qintptr lParam)
{
    if (uMsg == hotkey::WM_HOTKEY && m_atom
        && static_cast<int32_t>(static_cast<qintptr>(wParam)) == m_atom->Value()) {
        emit Hotkey();
        return 0;
    }
    return MHookMe::CallOldWindowProc(hwnd, uMsg, wParam, lParam);
}
