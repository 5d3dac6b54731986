// The hot-key pieces that need no X server: key and modifier mapping, the atom table, the
// window hook, and registration where there is no global grab (offscreen).
#include "platform/hotkey/GlobalAtom.h"
#include "platform/hotkey/HotKey.h"
#include "recorder/CGlobalAtom.h"
#include "recorder/CHotKey.h"
#include "recorder/MHookMe.h"
#include "tests/support/TestEnv.h"

#include <QApplication>
#include <QEvent>
#include <QWidget>
#include <gtest/gtest.h>

#include <X11/keysym.h>

#include <stdexcept>
#include <vector>

TEST(HotKeyMapping, MaskBitsBecomeSystemModifiers)
{
    struct Case { uint8_t mask; unsigned mods; };
    const Case cases[] = {
        {0, 0}, {1, hotkey::MOD_SHIFT}, {2, hotkey::MOD_CONTROL}, {4, hotkey::MOD_ALT},
        {7, hotkey::MOD_ALT | hotkey::MOD_CONTROL | hotkey::MOD_SHIFT}, {5, hotkey::MOD_SHIFT | hotkey::MOD_ALT},
    };
    for (const Case &c : cases)
        EXPECT_EQ(CHotKey::ModifiersForMask(c.mask), c.mods) << "mask " << int(c.mask);
    EXPECT_EQ(CHotKey::ModifiersForMask(2), 2u);  // Ctrl+F10: modifier 2
    EXPECT_EQ(CHotKey::ModifiersForMask(7), 7u);  // Alt 1 + Ctrl 2 + Shift 4
    EXPECT_EQ(hotkey::XModifiersFor(hotkey::MOD_CONTROL), 4);
    EXPECT_EQ(hotkey::XModifiersFor(hotkey::MOD_ALT | hotkey::MOD_SHIFT), 8 | 1);
}

TEST(HotKeyMapping, VirtualKeysBecomeKeysyms)
{
    struct Case { unsigned vk; std::vector<uint32_t> syms; };
    const Case cases[] = {
        {112, {XK_F1}}, {121, {XK_F10}}, {123, {XK_F12}},
        {'A', {XK_a}}, {'Z', {XK_z}}, {'0', {XK_0}}, {'9', {XK_9}},
        {16, {XK_Shift_L, XK_Shift_R}}, {17, {XK_Control_L, XK_Control_R}}, {18, {XK_Alt_L, XK_Alt_R}},
        {0, {}}, {111, {}}, {124, {}}, {46, {}}, {'a', {}},
    };
    for (const Case &c : cases)
        EXPECT_EQ(hotkey::KeysymsForVirtualKey(c.vk), c.syms) << "vk " << c.vk;
}

TEST(GlobalAtomTable, SameNameCountsUsersAndFreesWithTheLast)
{
    const uint16_t a = hotkey::GlobalAddAtom(QStringLiteral("hot key test name"));
    ASSERT_GE(a, 0xC000);
    EXPECT_EQ(hotkey::GlobalAddAtom(QStringLiteral("HOT KEY TEST NAME")), a);
    EXPECT_EQ(hotkey::GlobalDeleteAtom(a), 0);
    EXPECT_EQ(hotkey::GlobalFindAtom(QStringLiteral("hot key test name")), a);
    EXPECT_EQ(hotkey::GlobalDeleteAtom(a), 0);
    EXPECT_EQ(hotkey::GlobalFindAtom(QStringLiteral("hot key test name")), 0);
    EXPECT_EQ(hotkey::GlobalDeleteAtom(a), a); // unknown now
    EXPECT_EQ(hotkey::GlobalAddAtom(QString()), 0);
    EXPECT_EQ(hotkey::GlobalAddAtom(QString(256, QLatin1Char('x'))), 0);
}

TEST(GlobalAtomTable, ObjectsMadeInOneSecondHaveTheirOwnAtoms)
{
    int32_t first;
    {
        CGlobalAtom a, b, c;
        first = a.Value();
        // Widened from a signed 16-bit number: string atoms are negative.
        EXPECT_LT(a.Value(), 0);
        EXPECT_NE(a.Value(), b.Value());
        EXPECT_NE(b.Value(), c.Value());
        EXPECT_NE(a.Value(), c.Value());
    }
    EXPECT_TRUE(hotkey::GlobalGetAtomName(static_cast<uint16_t>(first)).isEmpty());
}

namespace {

// A sink that records what it sees and passes on what it is told to.
struct RecordingSink : IHookSink {
    std::vector<unsigned> messages;
    bool passOn = true;
    bool throwOnHotKey = false;
    long WindowProc(QWidget *hwnd, unsigned uMsg, quintptr wParam, qintptr lParam) override
    {
        messages.push_back(uMsg);
        if (uMsg == hotkey::WM_HOTKEY && throwOnHotKey)
            throw std::runtime_error("sink failure");
        return passOn ? MHookMe::CallOldWindowProc(hwnd, uMsg, wParam, lParam) : 0;
    }
    int Count(unsigned msg) const { return static_cast<int>(std::count(messages.begin(), messages.end(), msg)); }
};

// A window that counts the events of one type that reach its own handling.
struct CountingWindow : QWidget {
    QEvent::Type watched = QEvent::User;
    int seen = 0;
    bool event(QEvent *e) override
    {
        if (e->type() == watched)
            ++seen;
        return QWidget::event(e);
    }
};

const unsigned UserMsg = IHookSink::HookQtEvent + QEvent::User;

} // namespace

TEST(WindowHook, SinkSeesMessagesAndDecidesWhatTheWindowGets)
{
    CountingWindow w;
    RecordingSink sink;
    MHookMe::HookWindow(&w, &sink);
    EXPECT_EQ(w.property("ObjectPointer").value<quintptr>(), reinterpret_cast<quintptr>(&sink));

    QEvent passed(QEvent::User);
    QApplication::sendEvent(&w, &passed);
    EXPECT_EQ(sink.Count(UserMsg), 1);
    EXPECT_EQ(w.seen, 1);

    sink.passOn = false;
    QEvent eaten(QEvent::User);
    QApplication::sendEvent(&w, &eaten);
    EXPECT_EQ(sink.Count(UserMsg), 2);
    EXPECT_EQ(w.seen, 1);

    // The hot key arrives as WM_HOTKEY with its id and key.
    QApplication::postEvent(&w, new hotkey::HotKeyEvent(-16000, hotkey::MOD_CONTROL, 121));
    ASSERT_TRUE(testenv::WaitFor([&] { return sink.Count(hotkey::WM_HOTKEY) == 1; }, 2000));

    MHookMe::UnhookWindow(&w);
    QEvent after(QEvent::User);
    QApplication::sendEvent(&w, &after);
    EXPECT_EQ(sink.Count(UserMsg), 2);
    EXPECT_EQ(w.seen, 2);
    // The property stays on the window.
    EXPECT_TRUE(w.property("ObjectPointer").isValid());
}

TEST(WindowHook, FailingSinkIsUnhookedAndTheWindowCarriesOn)
{
    CountingWindow w;
    RecordingSink sink;
    sink.throwOnHotKey = true;
    MHookMe::HookWindow(&w, &sink);
    MHookMe::HookWindow(&w, &sink); // a second hook of the same sink changes nothing

    QEvent first(QEvent::User);
    QApplication::sendEvent(&w, &first);
    EXPECT_EQ(sink.Count(UserMsg), 1);

    QApplication::postEvent(&w, new hotkey::HotKeyEvent(1, 0, 112));
    ASSERT_TRUE(testenv::WaitFor([&] { return sink.Count(hotkey::WM_HOTKEY) == 1; }, 2000));

    QEvent later(QEvent::User);
    QApplication::sendEvent(&w, &later);
    EXPECT_EQ(sink.Count(UserMsg), 1); // no longer hooked
    EXPECT_EQ(w.seen, 2);
}

TEST(WindowHook, HooksOfTwoSinksStackAndComeOffSeparately)
{
    CountingWindow w;
    RecordingSink a, b;
    MHookMe::HookWindow(&w, &a);
    MHookMe::HookWindow(&w, &b);
    QEvent e1(QEvent::User);
    QApplication::sendEvent(&w, &e1);
    EXPECT_EQ(a.Count(UserMsg), 1);
    EXPECT_EQ(b.Count(UserMsg), 1);

    MHookMe::UnhookWindow(&w, &a);
    QEvent e2(QEvent::User);
    QApplication::sendEvent(&w, &e2);
    EXPECT_EQ(a.Count(UserMsg), 1);
    EXPECT_EQ(b.Count(UserMsg), 2);
    EXPECT_EQ(w.seen, 2);
    MHookMe::UnhookWindow(&w, &b);
}

TEST(HotKeyOffscreen, RegistrationFailsWithoutAGlobalGrab)
{
    ASSERT_EQ(QGuiApplication::platformName(), QStringLiteral("offscreen"));
    EXPECT_FALSE(hotkey::IsAvailable());
    QWidget w;
    EXPECT_FALSE(hotkey::RegisterHotKey(&w, 1, hotkey::MOD_CONTROL, 121));
    EXPECT_FALSE(hotkey::UnregisterHotKey(&w, 1));

    CHotKey key;
    EXPECT_FALSE(key.SetHotKey(121, 2)); // no window yet
    key.hwnd(&w);
    EXPECT_EQ(key.hwnd(), &w);
    EXPECT_FALSE(key.SetHotKey(121, 2));
    EXPECT_FALSE(key.SetHotKey(0, 2));
    key.hwnd(nullptr); // not a window: the hooked one stays
    EXPECT_EQ(key.hwnd(), &w);
}

TEST(HotKeyOffscreen, WindowGoneBeforeTheHotKeyObject)
{
    auto *w = new QWidget;
    CHotKey key;
    key.hwnd(w);
    delete w;
    EXPECT_EQ(key.hwnd(), nullptr);
    EXPECT_FALSE(key.SetHotKey(121, 2));
}
