#pragma once
// The global hot key of the program: registers one key combination on a window and raises
// Hotkey when it is pressed anywhere on the desktop. It hears of the press by hooking that
// window (MHookMe). Destroying the object unregisters the key and unhooks the window.
#include "recorder/IHookSink.h"

#include <QObject>
#include <QPointer>
#include <QWidget>

#include <cstdint>
#include <memory>

class CGlobalAtom;

class CHotKey : public QObject, public IHookSink {
    Q_OBJECT
public:
    explicit CHotKey(QObject *parent = nullptr);
    ~CHotKey() override;

    // The window that receives the key (hooked while it is set).
    void hwnd(QWidget *window);
    QWidget *hwnd() const { return m_hwnd.data(); }

    // Registers vKey (a Windows virtual-key code) with Mask (1 Shift, 2 Ctrl, 4 Alt); true
    // when the desktop granted it. A vKey of 0 removes the key in force and returns false.
    bool SetHotKey(int32_t vKey, uint8_t Mask);

    long WindowProc(QWidget *hwnd, unsigned uMsg, quintptr wParam, qintptr lParam) override;

    // The system's modifier flags for the mask bits.
    static unsigned ModifiersForMask(uint8_t Mask);

signals:
    void Hotkey();

private:
    void Unregister();

    QPointer<QWidget> m_hwnd;
    QPointer<QWidget> m_registeredOn; // the window the key is registered on
    std::unique_ptr<CGlobalAtom> m_atom;
};
