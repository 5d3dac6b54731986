// The program itself on a private X server with a window manager, started as a person starts
// it, for the starts that go wrong before any window of the program is there to test.
#include "tests/service/ServiceProcess.h"
#include "tests/support/TestEnv.h"
#include "tests/xserver/XServer.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonObject>
#include <QProcess>
#include <QRect>
#include <QSettings>

#include <functional>
#include <vector>
#include <gtest/gtest.h>

namespace {

// One line of the program's window map (see app/UiProbe.cpp).
struct MapLine {
    QString kind, path, cls, text;
    QRect rect;
    QString extra;   // a window's X id
};

std::vector<MapLine> ReadMap(const QString &file)
{
    std::vector<MapLine> lines;
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly))
        return lines;
    for (const QByteArray &raw : f.readAll().split('\n')) {
        const QStringList c = QString::fromUtf8(raw).split(QLatin1Char('\t'));
        if (c.size() < 9)
            continue;
        lines.push_back({c[0], c[1], c[2], c[8], QRect(c[3].toInt(), c[4].toInt(), c[5].toInt(), c[6].toInt()),
                         c.size() > 9 ? c[9] : QString()});
    }
    return lines;
}

QString Dump(const std::vector<MapLine> &map)
{
    QString out;
    for (const MapLine &l : map)
        out += l.kind + QLatin1Char(' ') + l.path + QLatin1Char(' ') + l.cls + QLatin1Char(' ') + l.text + QLatin1Char('\n');
    return out;
}

const MapLine *Find(const std::vector<MapLine> &map, const std::function<bool(const MapLine &)> &pred)
{
    for (const MapLine &l : map)
        if (pred(l))
            return &l;
    return nullptr;
}

class StartUpX : public ::testing::Test {
protected:
    void SetUp() override
    {
        x = xtest::Current();
        ASSERT_NE(x, nullptr);
        dir = testenv::MakeTempDir(QStringLiteral("prog"));
        // What stands beside the program: the string table and the help pages.
        for (const QFileInfo &fi : QDir(QStringLiteral(TARV_BIN_DIR)).entryInfoList(QDir::Files))
            if (!fi.isExecutable())
                ASSERT_TRUE(QFile::copy(fi.absoluteFilePath(), dir + QLatin1Char('/') + fi.fileName()));
        env = x->Environment();
        env.remove(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"));
        env.insert(QStringLiteral("TARV_PROGRAM_DIR"), dir);
        env.insert(QStringLiteral("TARV_LOGON_NAME"), QStringLiteral("demo"));
        env.insert(QStringLiteral("TARV_ONLINE"), QStringLiteral("0"));
        env.insert(QStringLiteral("TARV_NO_PAUSES"), QStringLiteral("1"));
        env.insert(QStringLiteral("TARV_SERVICE_ENDPOINT"), QStringLiteral("http://127.0.0.1:9"));
        map = dir + QStringLiteral("/map.tsv");
        env.insert(QStringLiteral("TARV_UI_MAP"), map);
    }
    void TearDown() override
    {
        if (program.state() != QProcess::NotRunning) {
            program.kill();
            program.waitForFinished(5000);
        }
    }

    // A person who has used the program before, with the day's download done.
    void KnownPerson()
    {
        QProcess demo;
        QProcessEnvironment e = env;
        e.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        demo.setProcessEnvironment(e);
        demo.start(QStringLiteral(TARV_DEMO_FOLDER), {dir, QStringLiteral("demo")});
        ASSERT_TRUE(demo.waitForFinished(60000));
        ASSERT_EQ(demo.exitCode(), 0) << demo.readAllStandardError().toStdString();
    }

    void Start(const QProcessEnvironment &e)
    {
        QProcessEnvironment pe = e;
        pe.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        program.setProcessEnvironment(pe);
        program.setProcessChannelMode(QProcess::MergedChannels);
        program.start(QStringLiteral(TARV_PROGRAM), {});
        ASSERT_TRUE(program.waitForStarted(10000));
    }

    // Waits until the map holds a line that pred accepts; the map then read.
    bool WaitForLine(const std::function<bool(const MapLine &)> &pred, std::vector<MapLine> *seen, int ms = 30000)
    {
        return testenv::WaitFor(
            [&] {
                *seen = ReadMap(map);
                return Find(*seen, pred) != nullptr || program.state() == QProcess::NotRunning;
            },
            ms)
            && Find(*seen, pred) != nullptr;
    }

    QString Output() { return QString::fromLocal8Bit(program.readAll()); }

    xtest::XServer *x = nullptr;
    QString dir, map;
    QProcessEnvironment env;
    QProcess program;
};

// Without the encryption component (OpenSSL's legacy provider) the program says so, and once
// the person has read it the start goes on to the main window and the timers window.
TEST_F(StartUpX, AMissingEncryptionComponentIsToldAndTheStartGoesOn)
{
    KnownPerson();
    QProcessEnvironment e = env;
    e.insert(QStringLiteral("OPENSSL_MODULES"), QStringLiteral("/nonexistent"));
    Start(e);

    std::vector<MapLine> seen;
    ASSERT_TRUE(WaitForLine([](const MapLine &l) {
        return l.path.startsWith(QLatin1String("FMessage/")) && l.text.contains(QLatin1String("encryption component"));
    }, &seen)) << "no message; the program " << (program.state() == QProcess::NotRunning ? "ended" : "runs")
               << " and printed:\n" << Output().toStdString();

    // The splash stays on top for a few seconds: the person reads the message once it has gone.
    testenv::WaitFor([&] {
        seen = ReadMap(map);
        return !Find(seen, [](const MapLine &l) { return l.kind == QLatin1String("window") && l.path == QLatin1String("frmSplash"); });
    }, 15000);
    const MapLine *ok = Find(seen, [](const MapLine &l) {
        return l.path.startsWith(QLatin1String("FMessage/")) && l.cls == QLatin1String("QPushButton");
    });
    ASSERT_NE(ok, nullptr);
    const QPoint c = ok->rect.center();
    x->Run(QStringLiteral("xdotool"), {QStringLiteral("mousemove"), QString::number(c.x()), QString::number(c.y())});
    x->Run(QStringLiteral("xdotool"), {QStringLiteral("click"), QStringLiteral("1")});

    ASSERT_TRUE(WaitForLine([](const MapLine &l) { return l.path.contains(QLatin1String("/frmStart/")); }, &seen))
        << "the start did not go on; the program printed:\n" << Output().toStdString() << "\nand showed:\n"
        << Dump(seen).toStdString();
    EXPECT_NE(Find(seen, [](const MapLine &l) { return l.kind == QLatin1String("window") && l.path == QLatin1String("frmMain"); }),
              nullptr);
    EXPECT_EQ(program.state(), QProcess::Running);
}

// Started with the desktop (autostart on) on a desktop without a tray: no tray icon could
// bring a minimised main window back, and without a panel an iconified window is nowhere to be
// seen. The main window is there on the screen, with the timers window in it.
TEST_F(StartUpX, AnAutostartWithoutATrayShowsTheMainWindow)
{
    const QString config = dir + QStringLiteral("/config");
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), config);
    KnownPerson();
    {
        QSettings ini(config + QStringLiteral("/Tarv/Tarv.ini"), QSettings::IniFormat);
        ASSERT_EQ(ini.status(), QSettings::NoError);
        ini.setValue(QStringLiteral("tarv/autostart"), QStringLiteral("1"));
    }
    Start(env);

    std::vector<MapLine> seen;
    ASSERT_TRUE(WaitForLine([](const MapLine &l) { return l.path.contains(QLatin1String("/frmStart/")); }, &seen))
        << "no timers window; the program printed:\n" << Output().toStdString();
    const MapLine *main = Find(seen, [](const MapLine &l) {
        return l.kind == QLatin1String("window") && l.path == QLatin1String("frmMain");
    });
    ASSERT_NE(main, nullptr) << Dump(seen).toStdString();
    // The window manager's word: a normal window, not an icon (and it stays so).
    QString state;
    const bool normal = testenv::WaitFor([&] {
        state = x->Run(QStringLiteral("xprop"), {QStringLiteral("-id"), main->extra, QStringLiteral("WM_STATE")}).out;
        return state.contains(QLatin1String("Normal"));
    }, 10000);
    EXPECT_TRUE(normal) << state.toStdString();
    testenv::WaitFor([] { return false; }, 1000);
    state = x->Run(QStringLiteral("xprop"), {QStringLiteral("-id"), main->extra, QStringLiteral("WM_STATE")}).out;
    EXPECT_TRUE(state.contains(QLatin1String("window state: Normal"))) << state.toStdString();
    EXPECT_EQ(program.state(), QProcess::Running);
}

// The demo profile that scripts/run makes for someone trying the program, against the
// reference service: the first start shows the timers window ready to record on the demo
// account's projects, with no word that categories are missing and no download window.
TEST_F(StartUpX, TheDemoProfileComesWithItsCatalogue)
{
    testsvc::ServiceProcess svc;
    ASSERT_TRUE(svc.start()) << svc.output().toStdString();
    const QString config = dir + QStringLiteral("/config");
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), config);
    env.insert(QStringLiteral("TARV_SERVICE_ENDPOINT"), svc.baseUrl());
    env.insert(QStringLiteral("TARV_CA_FILE"), svc.caFile());
    env.insert(QStringLiteral("TARV_ONLINE"), QStringLiteral("1"));
    QProcess demo;
    QProcessEnvironment e = env;
    e.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    demo.setProcessEnvironment(e);
    demo.start(QStringLiteral(TARV_DEMO_DATA), {dir, QStringLiteral("demo"), QStringLiteral("demo2024"),
                                               QStringLiteral("Eléni Papadáki")});
    ASSERT_TRUE(demo.waitForFinished(60000));
    ASSERT_EQ(demo.exitCode(), 0) << demo.readAllStandardError().toStdString();
    EXPECT_TRUE(demo.readAllStandardError().isEmpty());
    const int requestsBefore = int(svc.requests().size());
    Start(env);

    std::vector<MapLine> seen;
    ASSERT_TRUE(WaitForLine([](const MapLine &l) { return l.path.contains(QLatin1String("/frmStart/")); }, &seen))
        << "no timers window; the program printed:\n" << Output().toStdString();
    // The activation has run; nothing comes over the timers window.
    testenv::WaitFor([] { return false; }, 3000);
    seen = ReadMap(map);
    EXPECT_EQ(Find(seen, [](const MapLine &l) { return l.path.startsWith(QLatin1String("FMessage")); }), nullptr)
        << Dump(seen).toStdString();
    EXPECT_EQ(Find(seen, [](const MapLine &l) { return l.path.contains(QLatin1String("frmSynch")); }), nullptr)
        << Dump(seen).toStdString();
    EXPECT_NE(Find(seen, [](const MapLine &l) { return l.path.endsWith(QLatin1String("frmStart/btnLoad")) && l.text.size() > 0; }),
              nullptr);
    // The day's download counts as done: the start asked the service nothing about the lists.
    int projectRequests = 0;
    const QList<QJsonObject> requests = svc.requests();
    for (int i = requestsBefore; i < requests.size(); ++i)
        projectRequests += requests[i][QStringLiteral("query")].toString().startsWith(QLatin1String("action=projects"));
    EXPECT_EQ(projectRequests, 0);
    EXPECT_EQ(program.state(), QProcess::Running);
}

} // namespace

int main(int argc, char **argv)
{
    return xtest::RunAllTestsOnX(argc, argv, {.windowManager = true, .trayHost = false});
}
