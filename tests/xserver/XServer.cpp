#include "tests/xserver/XServer.h"

#include <QApplication>
#include <gtest/gtest.h>

#include <xcb/xcb.h>
#include <xcb/xcb_keysyms.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char **environ;

namespace xtest {
namespace {

XServer *g_current = nullptr;

// The fd number on which Xvfb writes its display number.
constexpr int DisplayFd = 200;

using Clock = std::chrono::steady_clock;

int MsSince(Clock::time_point start)
{
    return static_cast<int>(
        std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count());
}

QString FindInPath(const QString &program)
{
    if (program.contains(QLatin1Char('/')))
        return access(program.toLocal8Bit().constData(), X_OK) == 0 ? program : QString();
    const char *path = std::getenv("PATH");
    const QStringList dirs = QString::fromLocal8Bit(path ? path : "/usr/bin:/bin").split(QLatin1Char(':'));
    for (const QString &dir : dirs) {
        const QString full = dir + QLatin1Char('/') + program;
        if (access(full.toLocal8Bit().constData(), X_OK) == 0)
            return full;
    }
    return QString();
}

// argv and envp for execve, built before fork (nothing after fork may allocate).
struct ExecImage {
    std::vector<QByteArray> args, env;
    std::vector<char *> argv, envp;
    ExecImage(const QString &path, const QStringList &arguments, const QString &display)
    {
        args.push_back(path.toLocal8Bit());
        for (const QString &a : arguments)
            args.push_back(a.toLocal8Bit());
        for (char **e = environ; *e; ++e)
            if (std::strncmp(*e, "DISPLAY=", 8) != 0)
                env.emplace_back(*e);
        if (!display.isEmpty())
            env.push_back("DISPLAY=" + display.toLocal8Bit());
        for (auto &a : args)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        for (auto &e : env)
            envp.push_back(e.data());
        envp.push_back(nullptr);
    }
};

void ChildCommon(pid_t parent)
{
    // The server and its clients end with the test process, whatever way it ends.
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (getppid() != parent)
        _exit(1);
}

xcb_connection_t *Connect(const QString &display)
{
    xcb_connection_t *c = xcb_connect(display.toLocal8Bit().constData(), nullptr);
    if (xcb_connection_has_error(c)) {
        xcb_disconnect(c);
        return nullptr;
    }
    return c;
}

xcb_window_t Root(xcb_connection_t *c)
{
    return xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
}

} // namespace

XServer::XServer(Options options) : m_options(std::move(options)) {}

XServer::~XServer()
{
    Stop();
}

pid_t XServer::Spawn(const QString &program, const QStringList &args, int keepFd) const
{
    const QString path = FindInPath(program);
    if (path.isEmpty())
        return -1;
    ExecImage image(path, args, m_display);
    const pid_t parent = getpid();
    const pid_t pid = fork();
    if (pid == 0) {
        ChildCommon(parent);
        if (keepFd >= 0 && dup2(keepFd, DisplayFd) < 0)
            _exit(126);
        int devnull = open("/dev/null", O_RDWR);
        if (devnull >= 0) {
            dup2(devnull, 0);
            dup2(devnull, 1);
        }
        execve(image.argv[0], image.argv.data(), image.envp.data());
        _exit(127);
    }
    return pid;
}

bool XServer::WaitUntil(const std::function<bool()> &pred, int timeoutMs) const
{
    const auto start = Clock::now();
    while (!pred()) {
        if (MsSince(start) > timeoutMs)
            return pred();
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}

void XServer::Terminate(pid_t &pid)
{
    if (pid <= 0)
        return;
    kill(pid, SIGTERM);
    const auto start = Clock::now();
    int status = 0;
    while (waitpid(pid, &status, WNOHANG) == 0) {
        if (MsSince(start) > 3000) {
            kill(pid, SIGKILL);
            waitpid(pid, &status, 0);
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    pid = -1;
}

bool XServer::Start(QString *error)
{
    auto fail = [&](const QString &why) {
        if (error)
            *error = why;
        Stop();
        return false;
    };
    if (IsRunning())
        return true;
    QStringList needed{QStringLiteral("Xvfb")};
    if (m_options.windowManager)
        needed << QStringLiteral("openbox");
    if (m_options.trayHost)
        needed << QStringLiteral("trayer");
    for (const QString &p : needed)
        if (FindInPath(p).isEmpty())
            return fail(p + QStringLiteral(" is not installed (scripts/install-deps installs it)"));

    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0)
        return fail(QStringLiteral("pipe: ") + QString::fromLocal8Bit(std::strerror(errno)));
    m_display.clear();
    m_xvfb = Spawn(QStringLiteral("Xvfb"),
                   {QStringLiteral("-displayfd"), QString::number(DisplayFd), QStringLiteral("-screen"),
                    QStringLiteral("0"), m_options.screen, QStringLiteral("-nolisten"),
                    QStringLiteral("tcp"), QStringLiteral("-noreset")},
                   fds[1]);
    close(fds[1]);
    if (m_xvfb <= 0) {
        close(fds[0]);
        return fail(QStringLiteral("Xvfb did not start"));
    }
    // Xvfb writes its display number once it accepts connections.
    QByteArray number;
    const auto start = Clock::now();
    while (!number.endsWith('\n')) {
        const int left = m_options.timeoutMs - MsSince(start);
        if (left <= 0)
            break;
        pollfd p{fds[0], POLLIN, 0};
        if (poll(&p, 1, left) <= 0)
            break;
        char buf[32];
        const ssize_t n = read(fds[0], buf, sizeof buf);
        if (n <= 0)
            break; // Xvfb ended
        number.append(buf, static_cast<int>(n));
    }
    close(fds[0]);
    bool ok = false;
    const int displayNumber = number.trimmed().toInt(&ok);
    if (!ok)
        return fail(QStringLiteral("Xvfb reported no display within %1 ms").arg(m_options.timeoutMs));
    m_display = QStringLiteral(":%1").arg(displayNumber);

    if (m_options.windowManager) {
        m_wm = Spawn(QStringLiteral("openbox"), {QStringLiteral("--sm-disable")});
        if (m_wm <= 0 || !WaitUntil([this] { return SelectionOwned(QStringLiteral("WM_S0")); },
                                    m_options.timeoutMs))
            return fail(QStringLiteral("openbox did not take the screen within %1 ms").arg(m_options.timeoutMs));
    }
    if (m_options.trayHost) {
        m_tray = Spawn(QStringLiteral("trayer"),
                       {QStringLiteral("--edge"), QStringLiteral("top"), QStringLiteral("--align"),
                        QStringLiteral("right"), QStringLiteral("--widthtype"), QStringLiteral("pixel"),
                        QStringLiteral("--width"), QStringLiteral("200"), QStringLiteral("--height"),
                        QStringLiteral("32")});
        if (m_tray <= 0
            || !WaitUntil([this] { return SelectionOwned(QStringLiteral("_NET_SYSTEM_TRAY_S0")); },
                          m_options.timeoutMs))
            return fail(QStringLiteral("trayer did not open the tray within %1 ms").arg(m_options.timeoutMs));
    }
    return true;
}

void XServer::Stop()
{
    ReleaseGrabs();
    Terminate(m_tray);
    Terminate(m_wm);
    Terminate(m_xvfb);
    m_display.clear();
}

QProcessEnvironment XServer::Environment() const
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), m_display);
    return env;
}

RunResult XServer::Run(const QString &program, const QStringList &args, int timeoutMs) const
{
    RunResult r;
    const QString path = FindInPath(program);
    if (path.isEmpty()) {
        r.err = program + QStringLiteral(" is not installed");
        return r;
    }
    ExecImage image(path, args, m_display);
    int out[2], err[2];
    if (pipe2(out, O_CLOEXEC) != 0)
        return r;
    if (pipe2(err, O_CLOEXEC) != 0) {
        close(out[0]);
        close(out[1]);
        return r;
    }
    const pid_t parent = getpid();
    const pid_t pid = fork();
    if (pid == 0) {
        ChildCommon(parent);
        dup2(out[1], 1);
        dup2(err[1], 2);
        int devnull = open("/dev/null", O_RDONLY);
        if (devnull >= 0)
            dup2(devnull, 0);
        execve(image.argv[0], image.argv.data(), image.envp.data());
        _exit(127);
    }
    close(out[1]);
    close(err[1]);
    QByteArray o, e;
    const auto start = Clock::now();
    bool outOpen = true, errOpen = true;
    while ((outOpen || errOpen) && MsSince(start) < timeoutMs) {
        pollfd p[2] = {{outOpen ? out[0] : -1, POLLIN, 0}, {errOpen ? err[0] : -1, POLLIN, 0}};
        if (poll(p, 2, std::max(1, timeoutMs - MsSince(start))) <= 0)
            continue;
        char buf[4096];
        for (int i = 0; i < 2; ++i) {
            if (!(p[i].revents & (POLLIN | POLLHUP | POLLERR)))
                continue;
            const ssize_t n = read(p[i].fd, buf, sizeof buf);
            if (n > 0)
                (i == 0 ? o : e).append(buf, static_cast<int>(n));
            else
                (i == 0 ? outOpen : errOpen) = false;
        }
    }
    close(out[0]);
    close(err[0]);
    int status = 0;
    pid_t done = 0;
    while ((done = waitpid(pid, &status, WNOHANG)) == 0 && MsSince(start) < timeoutMs)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    if (done == 0) {
        kill(pid, SIGKILL);
        waitpid(pid, &status, 0);
    } else if (done == pid && WIFEXITED(status)) {
        r.finished = true;
        r.exitCode = WEXITSTATUS(status);
    }
    r.out = QString::fromLocal8Bit(o);
    r.err = QString::fromLocal8Bit(e);
    return r;
}

bool XServer::SelectionOwned(const QString &selection) const
{
    if (m_display.isEmpty())
        return false;
    xcb_connection_t *c = Connect(m_display);
    if (!c)
        return false;
    const QByteArray name = selection.toLatin1();
    bool owned = false;
    auto *atom = xcb_intern_atom_reply(
        c, xcb_intern_atom(c, 0, static_cast<uint16_t>(name.size()), name.constData()), nullptr);
    if (atom) {
        auto *owner = xcb_get_selection_owner_reply(c, xcb_get_selection_owner(c, atom->atom), nullptr);
        if (owner) {
            owned = owner->owner != XCB_NONE;
            std::free(owner);
        }
        std::free(atom);
    }
    xcb_disconnect(c);
    return owned;
}

uint16_t XServer::ModifierState() const
{
    xcb_connection_t *c = Connect(m_display);
    if (!c)
        return 0;
    uint16_t mask = 0;
    if (auto *p = xcb_query_pointer_reply(c, xcb_query_pointer(c, Root(c)), nullptr)) {
        mask = p->mask & 0xff;
        std::free(p);
    }
    xcb_disconnect(c);
    return mask;
}

bool XServer::GrabKeyAsOtherClient(uint32_t keysym, uint16_t xModifiers)
{
    if (!m_grabConnection)
        m_grabConnection = Connect(m_display);
    auto *c = static_cast<xcb_connection_t *>(m_grabConnection);
    if (!c)
        return false;
    xcb_key_symbols_t *syms = xcb_key_symbols_alloc(c);
    xcb_keycode_t *codes = syms ? xcb_key_symbols_get_keycode(syms, keysym) : nullptr;
    bool ok = codes && codes[0] != XCB_NO_SYMBOL;
    for (xcb_keycode_t *k = codes; ok && *k != XCB_NO_SYMBOL; ++k) {
        auto cookie = xcb_grab_key_checked(c, 1, Root(c), xModifiers, *k, XCB_GRAB_MODE_ASYNC,
                                           XCB_GRAB_MODE_ASYNC);
        if (xcb_generic_error_t *e = xcb_request_check(c, cookie)) {
            ok = false;
            std::free(e);
        }
    }
    std::free(codes);
    if (syms)
        xcb_key_symbols_free(syms);
    return ok;
}

void XServer::ReleaseGrabs()
{
    if (m_grabConnection) {
        // Let go explicitly and wait for the server to have done it: a disconnect alone is
        // handled whenever the server gets to it, possibly after the test's next grab.
        auto *c = static_cast<xcb_connection_t *>(m_grabConnection);
        xcb_ungrab_key(c, XCB_GRAB_ANY, Root(c), XCB_MOD_MASK_ANY);
        std::free(xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr));
        xcb_disconnect(c);
        m_grabConnection = nullptr;
    }
}

XServer *Current()
{
    return g_current;
}

int RunAllTestsOnX(int argc, char **argv, Options options)
{
    bool listing = false;
    for (int i = 1; i < argc; ++i)
        if (std::strncmp(argv[i], "--gtest_list_tests", 18) == 0)
            listing = true;
    ::testing::InitGoogleTest(&argc, argv);
    if (listing) {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
        QApplication app(argc, argv);
        return RUN_ALL_TESTS();
    }
    int rc = 1;
    {
        XServer server(options);
        QString error;
        if (!server.Start(&error)) {
            std::fprintf(stderr, "X server for the tests: %s\n", error.toLocal8Bit().constData());
            return 1;
        }
        g_current = &server;
        setenv("DISPLAY", server.Display().toLocal8Bit().constData(), 1);
        setenv("QT_QPA_PLATFORM", "xcb", 1);
        unsetenv("DBUS_SESSION_BUS_ADDRESS");
        {
            QApplication app(argc, argv);
            rc = RUN_ALL_TESTS();
        }
        g_current = nullptr;
    }
    return rc;
}

} // namespace xtest
