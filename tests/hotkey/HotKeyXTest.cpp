// The global hot key on a real X server, pressed with xdotool.
#include "platform/hotkey/HotKey.h"
#include "recorder/CHotKey.h"
#include "tests/support/TestEnv.h"
#include "tests/xserver/XServer.h"

#include <QApplication>
#include <QWidget>
#include <gtest/gtest.h>

#include <X11/keysym.h>

#include <memory>

namespace {

constexpr int VK_F9 = 120;
constexpr int VK_F10 = 121;
constexpr uint8_t MaskCtrl = 2;

class HotKeyX : public ::testing::Test {
protected:
    void SetUp() override
    {
        x = xtest::Current();
        ASSERT_NE(x, nullptr);
        ASSERT_EQ(QGuiApplication::platformName(), QStringLiteral("xcb"));
        window = std::make_unique<QWidget>();
        window->setWindowTitle(QStringLiteral("hot key test window"));
        window->show();
    }
    void TearDown() override
    {
        key.reset();
        marker.reset();
        window.reset();
    }

    // A key object on the window that counts its Hotkey events.
    std::unique_ptr<CHotKey> MakeKey(int &count)
    {
        auto k = std::make_unique<CHotKey>();
        k->hwnd(window.get());
        QObject::connect(k.get(), &CHotKey::Hotkey, [&count] { ++count; });
        return k;
    }

    void Press(const QString &combination)
    {
        const xtest::RunResult r = x->Run(QStringLiteral("xdotool"), {QStringLiteral("key"), combination});
        ASSERT_TRUE(r.finished && r.exitCode == 0) << r.err.toStdString();
    }

    // Presses Ctrl+F9 on a second key object and waits for it: X delivers events in order, so
    // anything Ctrl+F10 was going to raise has been raised by then.
    void Settle()
    {
        if (!marker) {
            marker = MakeKey(markerCount);
            ASSERT_TRUE(marker->SetHotKey(VK_F9, MaskCtrl));
        }
        const int before = markerCount;
        Press(QStringLiteral("ctrl+F9"));
        ASSERT_TRUE(testenv::WaitFor([&] { return markerCount > before; }, 5000));
    }

    xtest::XServer *x = nullptr;
    std::unique_ptr<QWidget> window;
    std::unique_ptr<CHotKey> key, marker;
    int markerCount = 0;
};

} // namespace

TEST_F(HotKeyX, CtrlF10RaisesHotkeyWhateverTheLockKeys)
{
    int count = 0;
    key = MakeKey(count);
    ASSERT_TRUE(key->SetHotKey(VK_F10, MaskCtrl));

    Press(QStringLiteral("ctrl+F10"));
    ASSERT_TRUE(testenv::WaitFor([&] { return count == 1; }, 5000));

    // With NumLock on, with CapsLock on, and with both.
    struct Lock { const char *key; uint16_t mask; };
    const uint16_t numLockMask = 16; // Mod2 on the server's default keymap
    for (const Lock &lock : {Lock{"Num_Lock", numLockMask}, Lock{"Caps_Lock", 2}}) {
        Press(QString::fromLatin1(lock.key));
        ASSERT_TRUE(testenv::WaitFor([&] { return (x->ModifierState() & lock.mask) != 0; }, 5000))
            << lock.key << " did not lock";
        const int before = count;
        Press(QStringLiteral("ctrl+F10"));
        ASSERT_TRUE(testenv::WaitFor([&] { return count == before + 1; }, 5000)) << "with " << lock.key;
    }
    // Plain F10 and Shift+Ctrl+F10 are other keys.
    Press(QStringLiteral("F10"));
    Press(QStringLiteral("shift+ctrl+F10"));
    Settle();
    EXPECT_EQ(count, 3);
}

TEST_F(HotKeyX, RemovedOrReplacedKeyNoLongerReacts)
{
    int count = 0;
    key = MakeKey(count);
    ASSERT_TRUE(key->SetHotKey(VK_F10, MaskCtrl));
    Press(QStringLiteral("ctrl+F10"));
    ASSERT_TRUE(testenv::WaitFor([&] { return count == 1; }, 5000));

    // Key 0 removes it.
    EXPECT_FALSE(key->SetHotKey(0, MaskCtrl));
    Press(QStringLiteral("ctrl+F10"));
    Settle();
    EXPECT_EQ(count, 1);

    // Saving the options with another key makes a new object; the old key goes with the old one.
    ASSERT_TRUE(key->SetHotKey(VK_F10, MaskCtrl));
    int newCount = 0;
    key = MakeKey(newCount);                        // the old object is destroyed here
    ASSERT_TRUE(key->SetHotKey(118 /* F7 */, 4 /* Alt */));
    Press(QStringLiteral("ctrl+F10"));
    Press(QStringLiteral("alt+F7"));
    ASSERT_TRUE(testenv::WaitFor([&] { return newCount == 1; }, 5000));
    Settle();
    EXPECT_EQ(count, 1);
    EXPECT_EQ(newCount, 1);

    // And the old combination is free again on the server.
    EXPECT_TRUE(x->GrabKeyAsOtherClient(XK_F10, 4 /* ControlMask */));
}

TEST_F(HotKeyX, KeyHeldByAnotherClientFailsToRegister)
{
    ASSERT_TRUE(x->GrabKeyAsOtherClient(XK_F10, 4 /* ControlMask */));
    int count = 0;
    key = MakeKey(count);
    EXPECT_FALSE(key->SetHotKey(VK_F10, MaskCtrl));
    // The attempt left no half grab behind: once the other client lets go, it registers.
    x->ReleaseGrabs();
    EXPECT_TRUE(key->SetHotKey(VK_F10, MaskCtrl));
    Press(QStringLiteral("ctrl+F10"));
    EXPECT_TRUE(testenv::WaitFor([&] { return count == 1; }, 5000));
}

TEST_F(HotKeyX, OneCombinationOnceInTheProgram)
{
    int a = 0, b = 0;
    key = MakeKey(a);
    ASSERT_TRUE(key->SetHotKey(VK_F10, MaskCtrl));
    auto other = MakeKey(b);
    EXPECT_FALSE(other->SetHotKey(VK_F10, MaskCtrl));
    EXPECT_FALSE(other->SetHotKey(500, MaskCtrl)); // no such key
    Press(QStringLiteral("ctrl+F10"));
    ASSERT_TRUE(testenv::WaitFor([&] { return a == 1; }, 5000));
    EXPECT_EQ(b, 0);
}

int main(int argc, char **argv)
{
    return xtest::RunAllTestsOnX(argc, argv, {.windowManager = true, .trayHost = false});
}
