#pragma once
// A private X server for tests that need a real desktop: tray icons, global hot keys,
// window activation, screenshots.
//
//   xtest::XServer x({.windowManager = true, .trayHost = true});
//   QString error;
//   if (!x.Start(&error)) FAIL() << error;        // Xvfb -displayfd, then openbox, then trayer
//   x.Run("xdotool", {"key", "ctrl+F10"});         // any X client, with DISPLAY set to x.Display()
//   x.Stop();                                      // also done by the destructor
//
// Start() launches `Xvfb -displayfd`, which picks a free display number itself, so tests run in
// parallel each on their own display. With windowManager it starts openbox and waits until it
// owns the WM_S0 selection; with trayHost it starts trayer and waits until it owns
// _NET_SYSTEM_TRAY_S0. Every wait polls with a limit (Options::timeoutMs); nothing relies on a
// fixed sleep. The children die with the test process (PR_SET_PDEATHSIG) even if it crashes.
// A missing program is an error from Start(), never a skip: scripts/install-deps installs
// xvfb, openbox, trayer, xdotool and x11-utils.
//
// A Qt test binary that runs on the server needs it before its QApplication exists: give the
// binary this main() instead of the default one of tests/support:
//
//   int main(int argc, char **argv) { return xtest::RunAllTestsOnX(argc, argv, {.trayHost = true}); }
//
// It starts the server (not for --gtest_list_tests, which runs offscreen), sets DISPLAY and
// QT_QPA_PLATFORM=xcb, drops DBUS_SESSION_BUS_ADDRESS (so the tray is the X11 one and balloons
// are Qt's own widget), makes the QApplication, runs the tests and stops the server after
// the application is gone. With gtest_discover_tests each test case is its own process and so
// gets its own display. xtest::Current() is the running server inside such a binary.
//
// Link the target tarv_xtest_support and label the test "xserver".
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <sys/types.h>
#include <vector>

namespace xtest {

struct Options {
    bool windowManager = true; // openbox
    bool trayHost = false;     // trayer
    int timeoutMs = 15000;     // limit of each wait in Start()
    QString screen = QStringLiteral("1024x768x24");
};

struct RunResult {
    bool finished = false; // false: it was killed at the time limit or could not start
    int exitCode = -1;
    QString out;
    QString err;
};

class XServer {
public:
    explicit XServer(Options options = {});
    ~XServer();
    XServer(const XServer &) = delete;
    XServer &operator=(const XServer &) = delete;

    bool Start(QString *error = nullptr);
    void Stop();
    bool IsRunning() const { return m_xvfb > 0; }

    // ":N" while running.
    QString Display() const { return m_display; }
    // This process's environment with DISPLAY set to the server.
    QProcessEnvironment Environment() const;

    // Runs program with args on this display and waits at most timeoutMs for it to end.
    RunResult Run(const QString &program, const QStringList &args, int timeoutMs = 10000) const;

    // True when some client owns the selection (e.g. "WM_S0", "_NET_SYSTEM_TRAY_S0").
    bool SelectionOwned(const QString &selection) const;
    // The keyboard modifier state of the server's core pointer (Shift 1, Lock 2, Ctrl 4, Mod1 8,
    // Mod2 16 = NumLock on most keymaps ...).
    uint16_t ModifierState() const;

    // Grabs the key with that keysym and modifier mask (X masks) on the root window from a
    // connection of its own, as another program would; the grab lasts until ReleaseGrabs()
    // or Stop(). False when the grab was refused or the key is not on the keyboard.
    bool GrabKeyAsOtherClient(uint32_t keysym, uint16_t xModifiers);
    void ReleaseGrabs();

private:
    pid_t Spawn(const QString &program, const QStringList &args, int keepFd = -1) const;
    bool WaitUntil(const std::function<bool()> &pred, int timeoutMs) const;
    static void Terminate(pid_t &pid);

    Options m_options;
    QString m_display;
    pid_t m_xvfb = -1;
    pid_t m_wm = -1;
    pid_t m_tray = -1;
    void *m_grabConnection = nullptr; // xcb_connection_t of GrabKeyAsOtherClient
};

// The server started by RunAllTestsOnX, or nullptr.
XServer *Current();

// main() of a test binary that runs on its own X server; see the top of this file.
int RunAllTestsOnX(int argc, char **argv, Options options = {});

} // namespace xtest
