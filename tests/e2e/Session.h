#pragma once
// What both end-to-end tests share: a fresh program folder beside the reference service on a
// private X server, the real program started from it, and the person's ways of using it:
// waiting for what the windows show, clicking, choosing menu items, answering message boxes,
// the sign-in of the first start and the first download, and, once the program has ended,
// the database read with the sqlcipher tool. Each step takes a screenshot into build/shots/
// and a step that does not show what it should fails with its name.
#include "core/modMain.h"
#include "store/modDBchr.h"
#include "tests/e2e/Desk.h"
#include "tests/service/ServiceProcess.h"
#include "tests/support/TestEnv.h"
#include "tests/xserver/XServer.h"

#include <QDate>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QJsonObject>
#include <QRegularExpression>
#include <QThread>
#include <QTime>
#include <gtest/gtest.h>

#include <csignal>
#include <ctime>
#include <functional>
#include <iostream>
#include <memory>

namespace e2e {

constexpr int kShort = 8000;    // a window reacting to a click
constexpr int kLong = 30000;    // the program starting, a request, the shutdown

// The demo account of the reference service (service/demo/demo.json).
const QString kUser = QStringLiteral("demo");
const QString kPassword = QStringLiteral("demo2024");
const QString kFullName = QStringLiteral("Eléni Papadáki");
const QString kLogon = QStringLiteral("e2e-person");

// What the test picks from the demo data: project / task / category, with the ids the
// service gives them.
struct Pick {
    QString project, task, category;
    int taskId, categoryId;
    QString Path() const { return project + QStringLiteral(" / ") + task + QStringLiteral(" / ") + category; }
};
const Pick kDesign{QStringLiteral("Café Lumière – rebranding"), QStringLiteral("Logo & identity"), QStringLiteral("Design"), 1001, 11};
const Pick kTravel{QStringLiteral("Café Lumière – rebranding"), QStringLiteral("Client's workshop"), QStringLiteral("Travel time"), 1002, 13};
const Pick kWriting{QStringLiteral("O'Neill & Söhne – audit"), QStringLiteral("Rapport d'audit"), QStringLiteral("Rédaction"), 1006, 17};
const QString kComment = QStringLiteral("Kick-off's notes");

// Paths in the window map.
const QString kTimers = QStringLiteral("frmStart");
const QString kGrid = QStringLiteral("frmStart/lstTimers");
const QString kTimersTree = QStringLiteral("frmStart/MyTree");
const QString kLoaderTree = QStringLiteral("frmLoad/picBody/MyTree");

// Texts of the string table, as the window map shows them.
inline QString S(int id)
{
    return AsShown(modMain::GetLangString(int16_t(id)));
}
inline QString S1(int id)
{
    return modMain::GetLangString(int16_t(id), true);
}

inline int SecsOfDay()
{
    return QTime::currentTime().msecsSinceStartOfDay() / 1000;
}

inline long long MonotonicNs()
{
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return (long long)ts.tv_sec * 1000000000LL + ts.tv_nsec;
}

// Waits until the wall clock has moved on by at least secs from since (seconds of the day):
// the segments the test records must be at least that long.
inline void WaitClockPast(int since, int secs)
{
    QElapsedTimer t;
    t.start();
    while (SecsOfDay() < since + secs && t.elapsed() < (secs + 3) * 1000)
        QThread::msleep(50);
}

// A moment the test saw before and after an action: what the program stored in between
// lies within [before, after].
struct Moment {
    int before = 0, after = 0;
};

class Session : public ::testing::Test {
protected:
    void SetUp() override
    {
        x = xtest::Current();
        ASSERT_NE(x, nullptr) << "no X server";

        // The expected texts come from the same string table as the program's.
        ASSERT_TRUE(modMain::LoadLangTable(QStringLiteral(TARV_BIN_DIR "/StringTables.csv")));
        modMain::LangID = 0;

        // All steps happen on one day: a run that would cross midnight waits for it first.
        for (QElapsedTimer t; SecsOfDay() > 86400 - 300;) {
            if (!t.isValid())
                t.start();
            if (t.elapsed() > 320000)
                break;
            QThread::msleep(500);
        }

        ASSERT_TRUE(service.start()) << service.output().toStdString();

        root = testenv::MakeTempDir(QStringLiteral("e2e"));
        programDir = root + QStringLiteral("/Tarvelo");
        ASSERT_TRUE(QDir().mkpath(programDir));
        // The program folder holds what the build puts beside the program, and nothing of
        // the reference service.
        const QDir bin(QStringLiteral(TARV_BIN_DIR));
        for (const QFileInfo &f : bin.entryInfoList(QDir::Files)) {
            if (f.fileName().startsWith(QStringLiteral("tarvelo-service")))
                continue;
            ASSERT_TRUE(QFile::copy(f.absoluteFilePath(), programDir + QLatin1Char('/') + f.fileName())) << f.fileName().toStdString();
            QFile::setPermissions(programDir + QLatin1Char('/') + f.fileName(), f.permissions());
            shipped << f.fileName();
        }
        ASSERT_TRUE(shipped.contains(QStringLiteral("TarveloPC")));
        ASSERT_TRUE(shipped.contains(QStringLiteral("StringTables.csv")));

        // The person's settings of this run only: a run again starts as a new person does.
        configHome = root + QStringLiteral("/config");
        ASSERT_TRUE(QDir().mkpath(configHome));
        mapFile = root + QStringLiteral("/ui.map");
        startLog = root + QStringLiteral("/start.log");
        desk = std::make_unique<e2e::Desk>(x, mapFile, QStringLiteral(TARV_BIN_DIR "/../shots"));
    }

    void TearDown() override
    {
        for (auto *p : {&program, &other})
            if (*p && (*p)->Running()) {
                std::cerr << "program still running at the end; its output:\n" << (*p)->Output().toStdString();
                (*p)->Kill();
            }
    }

    // ---- running the steps -----------------------------------------------------------------

    // Runs one step; its screenshot is taken whatever the outcome. False when the step failed
    // (the later steps then have nothing to build on).
    bool RunStep(const QString &name, const std::function<void()> &body)
    {
        step = name;
        SCOPED_TRACE(("step " + name).toStdString());
        body();
        const bool failed = HasFailure();
        desk->Screenshot(failed ? name + QStringLiteral("-FAILED") : name);
        // What an earlier run left of a failure of this step is no longer true.
        if (!failed)
            for (const char *ext : {".png", ".map"})
                QFile::remove(QStringLiteral(TARV_BIN_DIR "/../shots/") + name + QStringLiteral("-FAILED") + QLatin1String(ext));
        if (failed) {
            // The window map as it was, beside the screenshot.
            const QString kept = QStringLiteral(TARV_BIN_DIR "/../shots/") + name + QStringLiteral("-FAILED.map");
            QFile::remove(kept);
            QFile::copy(mapFile, kept);
        }
        if (failed) {
            std::cerr << "step " << name.toStdString() << " failed; what the person did:\n"
                      << desk->History().toStdString() << "\n";
            if (program)
                std::cerr << "the program printed:\n" << program->Output().toStdString() << "\n";
        }
        return !failed;
    }

    // A failure text: the step, what was expected, and what the screen showed.
    std::string Why(const QString &what, const UiMap &map) const
    {
        return QStringLiteral("step %1: %2\n---- at %3 the windows showed:\n%4\n----")
            .arg(step, what, QTime::currentTime().toString(QStringLiteral("HH:mm:ss.zzz")), map.Dump())
            .toStdString();
    }

    QProcessEnvironment ProgramEnvironment() const
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"));
        env.remove(QStringLiteral("TARV_PROGRAM_DIR"));
        env.insert(QStringLiteral("DISPLAY"), x->Display());
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        if (numberLocale.isEmpty()) {
            env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
        } else {
            // Everything in the plain form but the numbers, as for a person whose desktop
            // writes numbers in the form of their country.
            env.remove(QStringLiteral("LC_ALL"));
            env.insert(QStringLiteral("LANG"), QStringLiteral("C.UTF-8"));
            env.insert(QStringLiteral("LC_NUMERIC"), numberLocale);
        }
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), configHome);
        env.insert(QStringLiteral("TARV_SERVICE_ENDPOINT"), service.endpoint());
        env.insert(QStringLiteral("TARV_CA_FILE"), service.caFile());
        env.insert(QStringLiteral("TARV_LOGON_NAME"), kLogon);
        env.insert(QStringLiteral("TARV_ONLINE"), QStringLiteral("1"));
        env.insert(QStringLiteral("TARV_NO_PAUSES"), QStringLiteral("1"));
        env.insert(QStringLiteral("TARV_UI_MAP"), mapFile);
        env.insert(QStringLiteral("TARV_START_LOG"), startLog);
        return env;
    }

    // Starts the program from the program folder, as a double click on it would.
    void StartProgram(std::unique_ptr<e2e::Program> &p)
    {
        QFile::remove(mapFile);
        p = std::make_unique<e2e::Program>();
        QString error;
        startedAtNs = MonotonicNs();
        ASSERT_TRUE(p->Start(programDir + QStringLiteral("/TarveloPC"), ProgramEnvironment(), &error))
            << "step " << step.toStdString() << ": " << error.toStdString();
        desk->Acted();
    }

    void WaitForEnd(e2e::Program &p, int timeoutMs, const QString &what)
    {
        ASSERT_TRUE(p.WaitForEnd(timeoutMs)) << "step " << step.toStdString() << ": " << what.toStdString()
                                              << " did not end; it printed:\n"
                                              << p.Output().toStdString();
        EXPECT_EQ(p.ExitStatus(), QProcess::NormalExit) << "step " << step.toStdString() << ": " << what.toStdString()
                                                         << " crashed:\n"
                                                         << p.Output().toStdString();
        EXPECT_EQ(p.ExitCode(), 0) << "step " << step.toStdString() << ": " << what.toStdString();
    }

    // Waits until pred holds on the windows; fails with what otherwise.
    UiMap Expect(const QString &what, const std::function<bool(const UiMap &)> &pred, int timeoutMs = kShort)
    {
        UiMap map;
        const bool ok = desk->WaitFor(pred, timeoutMs, &map);
        EXPECT_TRUE(ok) << Why(what, map);
        return map;
    }

    // Clicks an item as a person would (scrolling it into view first); fails otherwise.
    void ClickItem(const UiItem &item, int button = 1, int leftOffset = -1)
    {
        // The splash stays on top for a few seconds: a person waits for it to go before
        // clicking what lies under it.
        Expect(QStringLiteral("the splash gone from over ") + item.text, [&item](const UiMap &m) {
            const UiItem *splash = m.Widget(QStringLiteral("frmSplash"));
            return !splash || splash->kind != QStringLiteral("window") || !splash->rect.intersects(item.rect);
        }, kLong);
        ASSERT_FALSE(HasFailure());
        desk->Note(QStringLiteral("on %1 %2 \"%3\"").arg(item.kind, item.path.section(QLatin1Char('/'), -2), item.text));
        QString why;
        ASSERT_TRUE(desk->Click(item, button, &why, leftOffset)) << Why(why, desk->Map());
    }

    // Clicks the named widget (it must be shown and enabled).
    void ClickWidget(const QString &name)
    {
        UiMap map = Expect(name + QStringLiteral(" shown and enabled"), [&](const UiMap &m) {
            const UiItem *w = m.Widget(name);
            return w && w->enabled && w->rect.width() > 0;
        });
        const UiItem *w = map.Widget(name);
        ASSERT_TRUE(w) << Why(name + QStringLiteral(" to click"), map);
        ASSERT_NO_FATAL_FAILURE(ClickItem(*w));
    }

    // Clicks a grid row by the text of its name column.
    void ClickRow(const QString &name)
    {
        UiMap map = Expect(QStringLiteral("the timer row ") + name, [&](const UiMap &m) { return m.Cell(kGrid, name, 2); });
        const UiItem *c = map.Cell(kGrid, name, 2);
        ASSERT_TRUE(c) << Why(QStringLiteral("the timer row ") + name, map);
        ASSERT_NO_FATAL_FAILURE(ClickItem(*c));
    }

    // Opens a menu of a menu bar (by the menu's objectName, or its caption) and chooses an
    // item (by its objectName). With window, the menu bar is that window's (several windows
    // have a Help menu).
    void ChooseMenu(const QString &menu, const QString &item, const QString &window = QString())
    {
        const QString ownBar = window + QStringLiteral("/mnuBar");
        auto find = [&](const UiMap &m) -> const UiItem * {
            if (window.isEmpty())
                return m.Action(menu, QStringLiteral("menubar"));
            for (const UiItem &i : m.items)
                if (i.kind == QLatin1String("action") && i.cls == QLatin1String("menubar") && i.extra == menu
                    && (i.path == ownBar || i.path.endsWith(QLatin1Char('/') + ownBar)))
                    return &i;
            return nullptr;
        };
        UiMap map = Expect(QStringLiteral("the menu ") + menu, [&](const UiMap &m) { return find(m) != nullptr; });
        const UiItem *bar = find(map);
        ASSERT_TRUE(bar) << Why(QStringLiteral("the menu ") + menu, map);
        ASSERT_NO_FATAL_FAILURE(ClickItem(*bar));
        map = Expect(QStringLiteral("the menu item ") + item, [&](const UiMap &m) {
            const UiItem *a = m.Action(item, QStringLiteral("menu"));
            return a && a->enabled;
        });
        const UiItem *a = map.Action(item, QStringLiteral("menu"));
        ASSERT_TRUE(a) << Why(QStringLiteral("the menu item ") + item, map);
        ASSERT_NO_FATAL_FAILURE(ClickItem(*a));
    }

    // Right click on the tray icon; waits for its menu.
    UiMap OpenTrayMenu()
    {
        UiMap map = Expect(QStringLiteral("the tray icon"), [](const UiMap &m) { return m.Tray() && m.Tray()->rect.width() > 0; });
        const UiItem *icon = map.Tray();
        if (!icon)
            return map;
        ClickItem(*icon, 3);
        return Expect(QStringLiteral("the tray menu"), [](const UiMap &m) { return m.Action(S1(24), QStringLiteral("menu")); });
    }

    // A message box with the text of string id; answers it with the button named answer.
    // With last, the answer ends the program: the box is not waited away.
    void AnswerBox(int id, const QString &answer, const QString &shot = QString(), bool last = false)
    {
        const QString text = S(id);
        UiMap map = Expect(QStringLiteral("the message \"%1\" (string %2)").arg(text).arg(id),
                           [&](const UiMap &m) { return m.Widget(QStringLiteral("FMessage/lblMessage")) && m.Text(QStringLiteral("FMessage/lblMessage")) == text; },
                           kLong);
        if (!shot.isEmpty())
            desk->Screenshot(shot);
        const UiItem *b = map.Widget(QStringLiteral("FMessage/picButtons/") + answer);
        ASSERT_TRUE(b) << Why(QStringLiteral("the button %1 of the message %2").arg(answer).arg(id), map);
        ASSERT_NO_FATAL_FAILURE(ClickItem(*b));
        if (!last)
            Expect(QStringLiteral("the message %1 gone").arg(id),
               [&](const UiMap &m) { return m.Text(QStringLiteral("FMessage/lblMessage")) != text; });
    }

    // Exit from the tray menu: no question; waits for the end and the compacted database.
    void CloseFromTray()
    {
        const UiMap map = OpenTrayMenu();
        ASSERT_FALSE(HasFailure());
        const UiItem *close = map.Action(S1(24), QStringLiteral("menu"));
        ASSERT_TRUE(close) << Why(QStringLiteral("the tray menu's exit"), map);
        ASSERT_NO_FATAL_FAILURE(ClickItem(*close));
        ASSERT_NO_FATAL_FAILURE(WaitForEnd(*program, kLong, QStringLiteral("the program")));
        ExpectOnlyTheDatabaseBeside();
    }

    // Opens the main window, started minimised with the desktop, with a double click on the
    // tray icon, as the person does once the window has gone to the task bar. The "Connected"
    // balloon of the start may lie over part of the icon: the click aims beside it.
    void OpenFromTray(UiMap map)
    {
        ASSERT_TRUE(map.Tray()) << Why(QStringLiteral("the tray icon"), map);
        const auto shown = [this](const UiMap &m) {
            const UiItem *main = m.Widget(QStringLiteral("frmMain"));
            return main && desk->WindowState(main->extra) == QStringLiteral("Normal");
        };
        // The window goes down on its own at the start; a click before that would be lost.
        if (shown(map))
            desk->WaitFor([&shown](const UiMap &m) { return !shown(m); }, kShort, &map);
        bool open = false;
        for (int attempt = 0; attempt < 3 && !open; ++attempt) {
            if (attempt > 0)
                map = desk->Map();
            ASSERT_TRUE(map.Tray()) << Why(QStringLiteral("the tray icon"), map);
            desk->Note(QStringLiteral("on the tray icon"));
            ASSERT_TRUE(desk->DoubleClickAt(map.TrayPoint()));
            open = desk->WaitFor(shown, kShort, &map);
        }
        ASSERT_TRUE(open) << Why(QStringLiteral("the main window opened from the tray"), map);
    }

    static bool Running(const UiMap &m)
    {
        const UiItem *start = m.Widget(QStringLiteral("frmStart/frAct/btnStart"));
        const UiItem *stop = m.Widget(QStringLiteral("frmStart/frAct/btnStop"));
        const UiItem *cancel = m.Widget(QStringLiteral("frmStart/frAct/btnCancel"));
        return start && stop && cancel && !start->enabled && cancel->enabled;
    }

    // Clicks Start on the selected row; returns the moment of the start.
    Moment StartSelected()
    {
        Moment at;
        at.before = SecsOfDay();
        ClickWidget(QStringLiteral("frmStart/frAct/btnStart"));
        Expect(QStringLiteral("the selected timer running (Start greyed, Stop and Cancel usable)"),
               [&](const UiMap &m) { return Running(m) && !m.Text(QStringLiteral("frmStart/frAct/lStart1")).isEmpty(); });
        at.after = SecsOfDay();
        return at;
    }

    // The database file of the ended program, read with the sqlcipher tool on a copy.
    QList<QStringList> Query(const QString &sql)
    {
        const QString copy = root + QStringLiteral("/check-%1.crn").arg(++copies);
        QFile::remove(copy);
        EXPECT_TRUE(QFile::copy(programDir + QStringLiteral("/Tarv.crn"), copy)) << "step " << step.toStdString();
        QList<QStringList> rows;
        QString error;
        EXPECT_TRUE(e2e::SqlCipher(copy, modDBchr::DBPassword, sql, &rows, &error))
            << "step " << step.toStdString() << ": " << error.toStdString() << "\n" << sql.toStdString();
        return rows;
    }

    // After an end of the program the folder holds what was shipped and the database, and
    // nothing of the compaction.
    void ExpectOnlyTheDatabaseBeside()
    {
        QStringList expected = shipped;
        expected << QStringLiteral("Tarv.crn");
        expected.sort();
        QStringList found = QDir(programDir).entryList(QDir::Files | QDir::Hidden | QDir::System);
        found.sort();
        EXPECT_EQ(found, expected) << "step " << step.toStdString() << ": the program folder after the end";
    }

    QList<QJsonObject> RequestsSince(int n) const
    {
        return service.requests().mid(n);
    }

    static int CountAction(const QList<QJsonObject> &requests, const QString &action)
    {
        int n = 0;
        for (const QJsonObject &r : requests) {
            const QString query = r.value(QStringLiteral("query")).toString() + QLatin1Char('&') + r.value(QStringLiteral("body")).toString();
            if (query.startsWith(QStringLiteral("action=") + action + QLatin1Char('&')) || query.contains(QStringLiteral("&action=") + action + QLatin1Char('&')))
                ++n;
        }
        return n;
    }


    // The first start up to the main window (the sign-in with the demo account), then the
    // first download the timers window asks for.
    void FirstStart();
    void FirstDownload();
    void LoadTimers(const QList<Pick> &picks);
    // Design runs, Travel time takes over (Design becomes an entry), Travel time is stopped
    // (its entry): the moments of the two starts and of the stop.
    void RecordTwoEntries(Moment &designStart, Moment &travelStart, Moment &travelStop);

    xtest::XServer *x = nullptr;
    testsvc::ServiceProcess service;
    std::unique_ptr<e2e::Desk> desk;
    std::unique_ptr<e2e::Program> program, other;
    QString root, programDir, configHome, mapFile, startLog, step;
    QStringList shipped;
    // The locale of the numbers the program is started with (LC_NUMERIC); empty: C.UTF-8 for all.
    QString numberLocale;
    int copies = 0;
    long long startedAtNs = 0;
};

} // namespace e2e
