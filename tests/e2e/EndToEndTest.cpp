// The whole program as a person uses it, from the first start to recorded time and back.
//
// The real TarveloPC runs from a fresh program folder against the reference service (HTTPS on
// loopback, its demo account) on a private X server with a window manager and a tray host.
// The test acts only as a person would: clicks, typing and key presses through xdotool, on
// the windows, the tray menu and the hot key. It reads what the windows show from the
// program's window map (TARV_UI_MAP), the service's request log, and, once the program has
// ended, the database file through the sqlcipher command-line tool.
//
// The steps depend on each other and run in order in one test case; each takes a screenshot
// into build/shots/ and a step that does not show what it should fails with its name.
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

using e2e::AsShown;
using e2e::UiItem;
using e2e::UiMap;

namespace {

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
QString S(int id)
{
    return AsShown(modMain::GetLangString(int16_t(id)));
}
QString S1(int id)
{
    return modMain::GetLangString(int16_t(id), true);
}

int SecsOfDay()
{
    return QTime::currentTime().msecsSinceStartOfDay() / 1000;
}

long long MonotonicNs()
{
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return (long long)ts.tv_sec * 1000000000LL + ts.tv_nsec;
}

// Waits until the wall clock has moved on by at least secs from since (seconds of the day):
// the segments the test records must be at least that long.
void WaitClockPast(int since, int secs)
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

class EndToEnd : public ::testing::Test {
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
        env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
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

    // Opens a menu of a menu bar (by the menu's objectName) and chooses an item (by its
    // objectName).
    void ChooseMenu(const QString &menu, const QString &item)
    {
        UiMap map = Expect(QStringLiteral("the menu ") + menu, [&](const UiMap &m) { return m.Action(menu, QStringLiteral("menubar")); });
        const UiItem *bar = map.Action(menu, QStringLiteral("menubar"));
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
    // tray icon, as the person does once the window has gone to the task bar.
    void OpenFromTray(const UiMap &map)
    {
        const UiItem *main = map.Widget(QStringLiteral("frmMain"));
        const UiItem *icon = map.Tray();
        ASSERT_TRUE(main && icon) << Why(QStringLiteral("the main window and the tray icon"), map);
        const QString id = main->extra;
        QElapsedTimer t;
        for (t.start(); t.elapsed() < kShort && desk->WindowState(id) != QStringLiteral("Iconic");)
            QThread::msleep(100);
        QString state;
        for (int attempt = 0; attempt < 3 && state != QStringLiteral("Normal"); ++attempt) {
            desk->Note(QStringLiteral("on the tray icon"));
            ASSERT_TRUE(desk->DoubleClickAt(icon->Centre()));
            for (t.start(); t.elapsed() < kShort && (state = desk->WindowState(id)) != QStringLiteral("Normal");)
                QThread::msleep(100);
        }
        ASSERT_EQ(state, QStringLiteral("Normal")) << Why(QStringLiteral("the main window opened from the tray"), desk->Map());
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

    // ---- the steps ----------------------------------------------------------------------

    void FirstStart();
    void FirstDownload();
    void Recording();
    void ShutDownWithQuestions();
    void SecondStart();
    void SecondInstance();
    void KilledWhileRecording();

    xtest::XServer *x = nullptr;
    testsvc::ServiceProcess service;
    std::unique_ptr<e2e::Desk> desk;
    std::unique_ptr<e2e::Program> program, other;
    QString root, programDir, mapFile, startLog, step;
    QStringList shipped;
    int copies = 0;
    long long startedAtNs = 0;
    int requestsBeforeSecondStart = 0;

    // What the recording did, checked in the database afterwards.
    Moment designStart, travelStart, travelStop, quickStart, trayStop, designRestart, switchToTravel;
    QString designRestartText;
};

// 1. The first start: the splash, the sign-in window as the progress screen of the database
// creation, the credentials typed twice, Authenticate, the full name, OK.
void EndToEnd::FirstStart()
{
    ASSERT_NO_FATAL_FAILURE(StartProgram(program));

    Expect(QStringLiteral("the splash with the product name and the version"), [](const UiMap &m) {
        return m.Text(QStringLiteral("frmSplash/Frame1/lblProduct")) == QStringLiteral("Tarvelo Desktop Companion")
               && m.Text(QStringLiteral("frmSplash/Frame1/lblVer")).contains(QRegularExpression(QStringLiteral("^Version \\d+\\.\\d+\\.\\d+$")));
    }, kLong);
    desk->Screenshot(QStringLiteral("01-first-start-splash"));

    // After the creation the sign-in window welcomes the logon name; the database exists.
    const QString welcome = S(1010) + QStringLiteral(", ") + kLogon + QStringLiteral(" ") + S(1011);
    UiMap map = Expect(QStringLiteral("the sign-in window after the creation of the database"), [&](const UiMap &m) {
        const UiItem *ok = m.Widget(QStringLiteral("frmLogin/picFooter/btn_0"));
        return m.Text(QStringLiteral("frmLogin/frPCUser/txtPCUserName")) == kLogon && m.Text(QStringLiteral("frmLogin/frInfo/lblInfo")) == welcome
               && ok && !ok->enabled && m.Widget(QStringLiteral("frmLogin/picFooter/btn_1"))
               && m.Widget(QStringLiteral("frmLogin/picFooter/btn_1"))->enabled;
    }, kLong);
    EXPECT_FALSE(map.Widget(QStringLiteral("frmLogin/frMsg"))) << Why(QStringLiteral("the progress frame put away"), map);
    EXPECT_FALSE(map.Widget(QStringLiteral("frmMain"))) << Why(QStringLiteral("no main window before the sign-in"), map);
    EXPECT_TRUE(QFile::exists(programDir + QStringLiteral("/Tarv.crn"))) << "step " << step.toStdString();

    // The person types the account's name and the password twice.
    ASSERT_NO_FATAL_FAILURE(ClickWidget(QStringLiteral("frmLogin/fruser/txtUserName")));
    ASSERT_TRUE(desk->Type(kUser));
    ASSERT_NO_FATAL_FAILURE(ClickWidget(QStringLiteral("frmLogin/fruser/txtPassw")));
    ASSERT_TRUE(desk->Type(kPassword));
    ASSERT_NO_FATAL_FAILURE(ClickWidget(QStringLiteral("frmLogin/fruser/txtPasswR")));
    ASSERT_TRUE(desk->Type(kPassword));
    map = Expect(QStringLiteral("the typed credentials, the passwords masked"), [&](const UiMap &m) {
        return m.Text(QStringLiteral("frmLogin/fruser/txtUserName")) == kUser
               && m.Text(QStringLiteral("frmLogin/fruser/txtPassw")) == kPassword
               && m.Text(QStringLiteral("frmLogin/fruser/txtPasswR")) == kPassword;
    });
    desk->Screenshot(QStringLiteral("01-first-start-credentials"));

    const int before = int(service.requests().size());
    ASSERT_NO_FATAL_FAILURE(ClickWidget(QStringLiteral("frmLogin/fruser/btnLogin")));
    const QString linked = S1(625) + QStringLiteral(" ") + kLogon + QStringLiteral(" ") + S1(628) + QStringLiteral(" ") + kFullName;
    map = Expect(QStringLiteral("the full name from the service and OK usable"), [&](const UiMap &m) {
        const UiItem *ok = m.Widget(QStringLiteral("frmLogin/picFooter/btn_0"));
        return m.Text(QStringLiteral("frmLogin/frInfo/lblResult_1")) == linked && ok && ok->enabled;
    }, kLong);
    EXPECT_EQ(map.Text(QStringLiteral("frmLogin/frInfo/lblResult_2")), S1(630)) << Why(QStringLiteral("the confirmation hint"), map);
    EXPECT_EQ(CountAction(RequestsSince(before), QStringLiteral("name")), 1) << "step " << step.toStdString() << ": one sign-in check";

    ASSERT_NO_FATAL_FAILURE(ClickWidget(QStringLiteral("frmLogin/picFooter/btn_0")));
    map = Expect(QStringLiteral("the main window with the timers window and the person's name"), [&](const UiMap &m) {
        return m.Widget(QStringLiteral("frmMain")) && m.Widget(QStringLiteral("frmMain/frame/mdi/frmStartSub/frmStart"))
               && !m.Widget(QStringLiteral("frmLogin"))
               && m.Text(QStringLiteral("frmMain/frame/PicUser/lblUser")) == QStringLiteral(" ") + S(627) + QStringLiteral(" ") + kFullName;
    }, kLong);
    EXPECT_EQ(map.Widget(QStringLiteral("frmMain"))->text, QStringLiteral("Tarvelo Desktop Companion")) << Why(QStringLiteral("the main window's title"), map);
}

// 2. The first activation of the timers window finds no categories: the notice, then the
// download fills the reference tables.
void EndToEnd::FirstDownload()
{
    const int before = int(service.requests().size());
    ASSERT_NO_FATAL_FAILURE(AnswerBox(73, QStringLiteral("btnOK"), QStringLiteral("02-first-download-notice")));

    UiMap map = Expect(QStringLiteral("the synchronisation window reporting the stored download"), [&](const UiMap &m) {
        return m.Widget(QStringLiteral("frmSynch")) && m.Cell(QStringLiteral("frmSynch/lstLog"), S(846));
    }, kLong);
    const QList<QJsonObject> requests = RequestsSince(before);
    EXPECT_EQ(CountAction(requests, QStringLiteral("projects")), 1) << "step " << step.toStdString();
    EXPECT_EQ(CountAction(requests, QStringLiteral("expenses")), 1) << "step " << step.toStdString();
    desk->Screenshot(QStringLiteral("02-first-download-log"));

    // The person closes the window; the timers window is the active one again.
    ASSERT_NO_FATAL_FAILURE(ClickWidget(QStringLiteral("frmSynch/picFooter/btnExit")));
    Expect(QStringLiteral("the synchronisation window closed"), [](const UiMap &m) { return !m.Widget(QStringLiteral("frmSynch")); });
}

// 3. Two tasks' categories loaded with the task loader; one timer started, the other started
// in its place, stopped; a quick record with the hot key given a category from the task
// tree; stopped from the tray menu.
void EndToEnd::Recording()
{
    // The task loader lists what the download stored.
    ASSERT_NO_FATAL_FAILURE(ClickWidget(QStringLiteral("frmStart/btnLoad")));
    UiMap map = Expect(QStringLiteral("the task loader with the four projects of the account"), [](const UiMap &m) {
        QStringList tops;
        for (const UiItem &r : m.TreeRows(kLoaderTree))
            if (r.depth == 0)
                tops << r.text;
        tops.sort();
        return tops == QStringList{QStringLiteral("Café Lumière – rebranding"), QStringLiteral("Internal – administration"),
                                   QStringLiteral("O'Neill & Söhne – audit"), QStringLiteral("Ξενοδοχείο Αιγαίο – νέος ιστότοπος")};
    });
    ASSERT_FALSE(HasFailure());
    // The loader's View menu is found by its caption.
    ASSERT_NO_FATAL_FAILURE(ChooseMenu(S1(907), QStringLiteral("mnuView_Expand")));
    map = Expect(QStringLiteral("the loader's tree expanded"), [](const UiMap &m) {
        return m.TreeRow(kLoaderTree, kDesign.Path()).has_value() && m.TreeRow(kLoaderTree, kTravel.Path()).has_value();
    });
    ASSERT_FALSE(HasFailure());
    // The tick box sits at the left end of a row; each tick shows before the next click.
    for (const Pick &p : {kDesign, kTravel}) {
        const std::optional<UiItem> row = map.TreeRow(kLoaderTree, p.Path());
        ASSERT_TRUE(row) << Why(p.Path(), map);
        ASSERT_NO_FATAL_FAILURE(ClickItem(*row, 1, 9));
        map = Expect(QStringLiteral("the box of ") + p.category + QStringLiteral(" ticked"), [&p](const UiMap &m) {
            const std::optional<UiItem> r = m.TreeRow(kLoaderTree, p.Path());
            return r && r->extra.split(QLatin1Char(' ')).contains(QStringLiteral("checked"));
        });
        ASSERT_FALSE(HasFailure());
    }
    desk->Screenshot(QStringLiteral("03-recording-loader"));
    ASSERT_NO_FATAL_FAILURE(ClickWidget(QStringLiteral("frmLoad/picBody/picFooter/btnLoad")));
    map = Expect(QStringLiteral("the loader gone and two timer rows with their projects and tasks"), [](const UiMap &m) {
        const int design = m.RowOf(kGrid, kDesign.category, 2);
        const int travel = m.RowOf(kGrid, kTravel.category, 2);
        return !m.Widget(QStringLiteral("frmLoad")) && m.Cells(kGrid).size() == 8 && design >= 0 && travel >= 0
               && m.RowOf(kGrid, kDesign.task, 13) == design && m.RowOf(kGrid, kTravel.task, 13) == travel
               && m.Cell(kGrid, kDesign.project, 12) && !m.Widget(QStringLiteral("frmStart/picInfo"));
    });
    ASSERT_FALSE(HasFailure());

    // The first timer runs.
    ASSERT_NO_FATAL_FAILURE(ClickRow(kDesign.category));
    Expect(QStringLiteral("the Design timer selected"), [](const UiMap &m) {
        return m.Text(QStringLiteral("frmStart/frEdit/lProj")) == kDesign.project && m.Text(QStringLiteral("frmStart/frEdit/lTask")) == kDesign.task
               && m.Widget(QStringLiteral("frmStart/frAct/btnStart"))->enabled;
    });
    ASSERT_FALSE(HasFailure());
    designStart = StartSelected();
    ASSERT_FALSE(HasFailure());
    desk->Screenshot(QStringLiteral("03-recording-first-timer"));

    // The other one takes over.
    WaitClockPast(designStart.after, 2);
    ASSERT_NO_FATAL_FAILURE(ClickRow(kTravel.category));
    Expect(QStringLiteral("the Travel time timer selected"), [](const UiMap &m) {
        return m.Text(QStringLiteral("frmStart/frEdit/lTask")) == kTravel.task && m.Widget(QStringLiteral("frmStart/frAct/btnStart"))->enabled;
    });
    ASSERT_FALSE(HasFailure());
    travelStart = StartSelected();
    ASSERT_FALSE(HasFailure());

    // It stops with its entry.
    WaitClockPast(travelStart.after, 2);
    travelStop.before = SecsOfDay();
    ASSERT_NO_FATAL_FAILURE(ClickWidget(QStringLiteral("frmStart/frAct/btnStop")));
    Expect(QStringLiteral("the timer stopped"), [](const UiMap &m) {
        const UiItem *start = m.Widget(QStringLiteral("frmStart/frAct/btnStart"));
        const UiItem *stop = m.Widget(QStringLiteral("frmStart/frAct/btnStop"));
        return start && stop && start->enabled && !stop->enabled;
    });
    travelStop.after = SecsOfDay();
    ASSERT_FALSE(HasFailure());

    // The hot key starts a quick recording.
    WaitClockPast(travelStop.after, 1);
    quickStart.before = SecsOfDay();
    ASSERT_TRUE(desk->Key(QStringLiteral("ctrl+F10")));
    map = Expect(QStringLiteral("a running quick-record row after Ctrl+F10"), [&](const UiMap &m) {
        return m.Cell(kGrid, S(25), 2) && m.Text(QStringLiteral("frmStart/frEdit/lProj")) == S(75) && Running(m);
    });
    quickStart.after = SecsOfDay();
    ASSERT_FALSE(HasFailure());
    desk->Screenshot(QStringLiteral("03-recording-hot-key"));

    // The task tree gives it a category: project, task, category.
    ASSERT_NO_FATAL_FAILURE(ClickWidget(QStringLiteral("frmStart/frEdit/btnDown")));
    const QString projectPath = kWriting.project;
    const QString taskPath = kWriting.project + QStringLiteral(" / ") + kWriting.task;
    for (const QString &path : {projectPath, taskPath}) {
        map = Expect(QStringLiteral("the task tree with ") + path, [&](const UiMap &m) { return m.TreeRow(kTimersTree, path).has_value(); });
        const std::optional<UiItem> row = map.TreeRow(kTimersTree, path);
        ASSERT_TRUE(row) << Why(path, map);
        ASSERT_NO_FATAL_FAILURE(ClickItem(*row));
        ASSERT_TRUE(desk->Key(QStringLiteral("Right")));
    }
    map = Expect(QStringLiteral("the task tree with ") + kWriting.Path(), [](const UiMap &m) { return m.TreeRow(kTimersTree, kWriting.Path()).has_value(); });
    {
        const std::optional<UiItem> row = map.TreeRow(kTimersTree, kWriting.Path());
        ASSERT_TRUE(row) << Why(kWriting.Path(), map);
        ASSERT_NO_FATAL_FAILURE(ClickItem(*row));
    }
    Expect(QStringLiteral("the quick record renamed after the category, still running, the tree folded away"), [](const UiMap &m) {
        return m.Cell(kGrid, kWriting.category, 2) && !m.Cell(kGrid, S(25), 2) && !m.Widget(kTimersTree)
               && m.Text(QStringLiteral("frmStart/frEdit/lTask")) == kWriting.task && Running(m);
    });
    ASSERT_FALSE(HasFailure());

    // The tray menu stops it (without an entry).
    WaitClockPast(quickStart.after, 2);
    map = OpenTrayMenu();
    ASSERT_FALSE(HasFailure());
    {
        const UiItem *start = map.Action(S1(89), QStringLiteral("menu"));
        const UiItem *stop = map.Action(S1(90), QStringLiteral("menu"));
        const UiItem *rec = map.Action(S1(88), QStringLiteral("menu"));
        ASSERT_TRUE(start && stop && rec) << Why(QStringLiteral("the tray menu's start, stop and recording items"), map);
        EXPECT_FALSE(start->enabled) << Why(QStringLiteral("start greyed while a timer runs"), map);
        EXPECT_FALSE(rec->enabled) << Why(QStringLiteral("the recording item greyed"), map);
        EXPECT_TRUE(stop->enabled) << Why(QStringLiteral("stop usable while a timer runs"), map);
        desk->Screenshot(QStringLiteral("03-recording-tray-menu"));
        trayStop.before = SecsOfDay();
        ASSERT_NO_FATAL_FAILURE(ClickItem(*stop));
    }
    // The buttons are those of the selected row, the stopped timer whose segment is not saved:
    // Start and Stop usable (Stop would still save it), Cancel not.
    Expect(QStringLiteral("the timer stopped from the tray, its unsaved segment still to be saved"), [](const UiMap &m) {
        const UiItem *start = m.Widget(QStringLiteral("frmStart/frAct/btnStart"));
        const UiItem *stop = m.Widget(QStringLiteral("frmStart/frAct/btnStop"));
        const UiItem *cancel = m.Widget(QStringLiteral("frmStart/frAct/btnCancel"));
        return start && stop && cancel && start->enabled && stop->enabled && !cancel->enabled
               && !m.Action(S1(90), QStringLiteral("menu"));
    });
    trayStop.after = SecsOfDay();
}

// 4. With a timer running, the program is ended: both questions are answered, the database is
// closed and compacted, and holds exactly the entries and the parked timers.
void EndToEnd::ShutDownWithQuestions()
{
    // A quick record from the tray menu, left without a category: its time is kept with it.
    UiMap map = OpenTrayMenu();
    ASSERT_FALSE(HasFailure());
    {
        const UiItem *start = map.Action(S1(89), QStringLiteral("menu"));
        ASSERT_TRUE(start && start->enabled) << Why(QStringLiteral("the tray menu's start usable"), map);
        ASSERT_NO_FATAL_FAILURE(ClickItem(*start));
    }
    Expect(QStringLiteral("a new running quick record"), [](const UiMap &m) { return m.Cell(kGrid, S(25), 2) && Running(m); });
    ASSERT_FALSE(HasFailure());
    const int quickAgain = SecsOfDay();

    // The first timer runs again, with a comment; the quick record stops unsaved.
    WaitClockPast(quickAgain, 1);
    ASSERT_NO_FATAL_FAILURE(ClickRow(kDesign.category));
    Expect(QStringLiteral("the Design timer selected again"), [](const UiMap &m) {
        return m.Text(QStringLiteral("frmStart/frEdit/lTask")) == kDesign.task && m.Widget(QStringLiteral("frmStart/frAct/btnStart"))->enabled;
    });
    ASSERT_FALSE(HasFailure());
    ASSERT_NO_FATAL_FAILURE(ClickWidget(QStringLiteral("frmStart/frEdit/txtComments")));
    ASSERT_TRUE(desk->Type(kComment));
    Expect(QStringLiteral("the comment typed"), [](const UiMap &m) { return m.Text(QStringLiteral("frmStart/frEdit/txtComments")) == kComment; });
    designRestart = StartSelected();
    ASSERT_FALSE(HasFailure());
    designRestartText = desk->Map().Text(QStringLiteral("frmStart/frAct/lStart1"));
    desk->Screenshot(QStringLiteral("04-shutdown-running"));

    // The program is ended from the timers window's menu (closing the main window only
    // minimises it while the program starts with the desktop).
    WaitClockPast(designRestart.after, 2);
    ASSERT_NO_FATAL_FAILURE(ChooseMenu(QStringLiteral("mnuFile"), QStringLiteral("mnuFile_Exit")));
    ASSERT_NO_FATAL_FAILURE(AnswerBox(85, QStringLiteral("btnYes"), QStringLiteral("04-shutdown-question-85"), true));
    ASSERT_NO_FATAL_FAILURE(WaitForEnd(*program, kLong, QStringLiteral("the program")));

    ExpectOnlyTheDatabaseBeside();

    const QList<QStringList> rows = Query(QStringLiteral(
        "SELECT cID, cName, cStarted, cStarttime, cSec, cDate, cTaskID, cCatID, cChk FROM tblDaily ORDER BY cID;"));
    const QString today = QString::number(QDate::currentDate().year() * 10000 + QDate::currentDate().month() * 100 + QDate::currentDate().day());
    struct Want {
        QString name;
        int started;
        const Pick *pick;   // null: no task and no category
        Moment start;
        int minSecs, maxSecs;   // -1: not checked
        int chk;
    };
    // Stopped segments become entries (0); the quick record stopped from the tray becomes an
    // entry at exit (the answer Yes to string 85). Then the timers are parked in their order:
    // the running one with its start (1), the stopped one (2), and the quick record without a
    // category with the time it holds (2, marked 1 in cChk): nothing is lost, nobody asked.
    const QList<Want> want{
        {kDesign.category, 0, &kDesign, designStart, travelStart.before - designStart.after - 1, travelStart.after - designStart.before + 1, 0},
        {kTravel.category, 0, &kTravel, travelStart, travelStop.before - travelStart.after - 1, travelStop.after - travelStart.before + 1, 0},
        {kWriting.category, 0, &kWriting, quickStart, trayStop.before - quickStart.after - 2, trayStop.after - quickStart.before + 1, 0},
        {kDesign.category, 1, &kDesign, designRestart, -1, -1, 0},
        {kTravel.category, 2, &kTravel, {-1, -1}, -1, -1, 0},
        {S(25), 2, nullptr, {quickAgain - 5, quickAgain}, 1, designRestart.after - quickAgain + 6, 1},
    };
    QString table;
    for (const QStringList &r : rows)
        table += r.join(QStringLiteral(" | ")) + QLatin1Char('\n');
    ASSERT_EQ(rows.size(), want.size()) << "step " << step.toStdString() << ": tblDaily holds\n" << table.toStdString();
    for (int i = 0; i < want.size(); ++i) {
        const QStringList &r = rows[i];
        const Want &w = want[i];
        const std::string where = QStringLiteral("step %1: tblDaily row %2 of\n%3").arg(step).arg(i + 1).arg(table).toStdString();
        ASSERT_EQ(r.size(), 9) << where;
        EXPECT_EQ(r[1], w.name) << where;
        EXPECT_EQ(r[2].toDouble(), w.started) << where;
        if (w.start.before >= 0) {
            EXPECT_GE(r[3].toDouble(), w.start.before) << where;
            EXPECT_LE(r[3].toDouble(), w.start.after) << where;
        }
        if (w.minSecs >= 0) {
            EXPECT_GE(r[4].toDouble(), std::max(1, w.minSecs)) << where;
            EXPECT_LE(r[4].toDouble(), w.maxSecs) << where;
        }
        // The tool writes the double columns with a decimal point.
        EXPECT_EQ(r[5].toDouble(), today.toDouble()) << where;
        if (w.pick) {
            EXPECT_EQ(r[6].toDouble(), w.pick->taskId) << where;
            EXPECT_EQ(r[7].toDouble(), w.pick->categoryId) << where;
        } else {
            // No task and no category: Null, as the tool writes it.
            EXPECT_EQ(r[6], QStringLiteral("<NULL>")) << where;
            EXPECT_EQ(r[7], QStringLiteral("<NULL>")) << where;
        }
        EXPECT_EQ(r[8].toDouble(), w.chk) << where;
    }
    // The comment went with the parked timer it was typed for, and only there.
    const QList<QStringList> comments = Query(QStringLiteral("SELECT cID, cComments FROM tblDailyComments ORDER BY cID;"));
    ASSERT_EQ(comments.size(), 1) << "step " << step.toStdString() << ": tblDailyComments";
    EXPECT_EQ(comments[0].value(0).toDouble(), rows[3].value(0).toDouble()) << "step " << step.toStdString();
    EXPECT_EQ(comments[0].value(1), kComment) << "step " << step.toStdString();
}

// 5. A second start on the same day: the running timer is back with its start, the parked one
// at zero, the quick record with its unsaved time, and nothing is downloaded again.
void EndToEnd::SecondStart()
{
    requestsBeforeSecondStart = int(service.requests().size());
    QFile::remove(startLog);
    ASSERT_NO_FATAL_FAILURE(StartProgram(program));

    Expect(QStringLiteral("the splash"), [](const UiMap &m) { return m.Widget(QStringLiteral("frmSplash")); }, kLong);
    UiMap map = Expect(QStringLiteral("the timers window with the three timers handed over"), [](const UiMap &m) {
        return m.Widget(QStringLiteral("frmMain")) && m.Widget(kTimers) && m.Cells(kGrid).size() == 12
               && m.Cell(kGrid, kDesign.category, 2) && m.Cell(kGrid, kTravel.category, 2) && m.Cell(kGrid, S(25), 2);
    }, kLong);
    ASSERT_FALSE(HasFailure());
    const long rssKb = program->ResidentKb();
    desk->Screenshot(QStringLiteral("05-second-start-shown"));

    // The program starts with the desktop (the default after the sign-in): the main window
    // comes up minimised; the person opens it from the tray.
    const QString mainId = map.Widget(QStringLiteral("frmMain"))->extra;
    {
        QString state;
        QElapsedTimer t;
        for (t.start(); t.elapsed() < kShort && (state = desk->WindowState(mainId)) != QStringLiteral("Iconic");)
            QThread::msleep(100);
        EXPECT_EQ(state, QStringLiteral("Iconic")) << Why(QStringLiteral("the main window minimised at the start"), map);
    }
    const UiItem *icon = map.Tray();
    ASSERT_TRUE(icon) << Why(QStringLiteral("the tray icon"), map);
    desk->Note(QStringLiteral("on the tray icon"));
    ASSERT_TRUE(desk->DoubleClickAt(icon->Centre()));
    {
        QString state;
        QElapsedTimer t;
        for (t.start(); t.elapsed() < kShort && (state = desk->WindowState(mainId)) != QStringLiteral("Normal");)
            QThread::msleep(100);
        ASSERT_EQ(state, QStringLiteral("Normal")) << Why(QStringLiteral("the main window opened from the tray"), desk->Map());
    }
    Expect(QStringLiteral("the main window open"), [](const UiMap &m) {
        const UiItem *main = m.Widget(QStringLiteral("frmMain"));
        return main && main->text == QStringLiteral("Tarvelo Desktop Companion") && m.Widget(QStringLiteral("frmStart/frAct/btnStart"));
    });
    ASSERT_FALSE(HasFailure());
    desk->Screenshot(QStringLiteral("05-second-start-opened"));

    // The running timer: its start as before the exit, running, its comment.
    ASSERT_NO_FATAL_FAILURE(ClickRow(kDesign.category));
    map = Expect(QStringLiteral("the Design timer running since its start before the exit"), [&](const UiMap &m) {
        return m.Text(QStringLiteral("frmStart/frEdit/lTask")) == kDesign.task && Running(m)
               && m.Text(QStringLiteral("frmStart/frAct/lStart1")) == designRestartText;
    });
    EXPECT_EQ(map.Text(QStringLiteral("frmStart/frEdit/txtComments")), kComment) << Why(QStringLiteral("the comment handed over"), map);

    // The parked one: stopped, no start, nothing to save.
    ASSERT_NO_FATAL_FAILURE(ClickRow(kTravel.category));
    Expect(QStringLiteral("the Travel time timer parked at zero"), [](const UiMap &m) {
        const UiItem *start = m.Widget(QStringLiteral("frmStart/frAct/btnStart"));
        const UiItem *stop = m.Widget(QStringLiteral("frmStart/frAct/btnStop"));
        return m.Text(QStringLiteral("frmStart/frEdit/lTask")) == kTravel.task && start && start->enabled && stop && !stop->enabled
               && m.Text(QStringLiteral("frmStart/frAct/lStart1")) == S(83);
    });
    ASSERT_NO_FATAL_FAILURE(ClickRow(kDesign.category));
    Expect(QStringLiteral("the Design timer selected again"), [](const UiMap &m) { return Running(m); });

    // Reference tables are not downloaded twice on one day.
    const QList<QJsonObject> requests = RequestsSince(requestsBeforeSecondStart);
    EXPECT_EQ(CountAction(requests, QStringLiteral("projects")), 0) << "step " << step.toStdString();
    EXPECT_EQ(CountAction(requests, QStringLiteral("expenses")), 0) << "step " << step.toStdString();

    // Start-up times of this start (process start to splash, splash gone to timers shown).
    QFile log(startLog);
    if (log.open(QIODevice::ReadOnly)) {
        long long shown = 0, closed = 0, timers = 0;
        for (const QByteArray &line : log.readAll().split('\n')) {
            const QList<QByteArray> p = line.split(' ');
            if (p.size() != 2)
                continue;
            if (p[0] == "splash-shown" && !shown)
                shown = p[1].toLongLong();
            else if (p[0] == "splash-closed" && !closed)
                closed = p[1].toLongLong();
            else if (p[0] == "timers-shown" && !timers)
                timers = p[1].toLongLong();
        }
        if (shown && closed && timers) {
            const double toSplash = (shown - startedAtNs) / 1e6;
            const double toTimers = (timers - closed) / 1e6;
            RecordProperty("second_start_to_splash_ms", QString::number(toSplash, 'f', 0).toStdString());
            RecordProperty("splash_close_to_timers_ms", QString::number(toTimers, 'f', 0).toStdString());
            std::cout << "second start: process start to splash " << toSplash << " ms, splash closed to timers window "
                      << toTimers << " ms, resident memory " << rssKb / 1024.0 << " MB\n";
        }
    }
    RecordProperty("second_start_resident_kb", std::to_string(rssKb));
}

// 6. A second start of the program while the first runs minimised: the first comes back in
// front, the second ends. Then the tray menu ends the program; the database shows that the
// parked rows of the first run were gone after the load.
void EndToEnd::SecondInstance()
{
    // The person minimises the main window; with the timer running it shows the running time.
    ASSERT_NO_FATAL_FAILURE(ClickWidget(QStringLiteral("frmMain/frame/picL/btn_4")));
    static const QRegularExpression clock(QStringLiteral("^(\\d\\d+):(\\d\\d):(\\d\\d)$"));
    const int sinceStart = SecsOfDay() - designRestart.after;
    UiMap map = Expect(QStringLiteral("the minimised main window titled with the running time"), [&](const UiMap &m) {
        const UiItem *main = m.Widget(QStringLiteral("frmMain"));
        return main && clock.match(main->text).hasMatch();
    });
    ASSERT_FALSE(HasFailure());
    {
        const auto c = clock.match(map.Widget(QStringLiteral("frmMain"))->text);
        const int shown = c.captured(1).toInt() * 3600 + c.captured(2).toInt() * 60 + c.captured(3).toInt();
        // The time the program was closed counts: it is counted from the start of the run before.
        EXPECT_GE(shown, sinceStart) << Why(QStringLiteral("the running time counted from the start before the exit"), map);
    }
    desk->Screenshot(QStringLiteral("06-single-instance-minimised"));
    const QString mainWindowId = map.Widget(QStringLiteral("frmMain"))->extra;

    ASSERT_NO_FATAL_FAILURE(StartProgram(other));
    ASSERT_NO_FATAL_FAILURE(WaitForEnd(*other, kLong, QStringLiteral("the second instance")));
    map = Expect(QStringLiteral("the first instance's main window restored and in front"), [&](const UiMap &m) {
        const UiItem *main = m.Widget(QStringLiteral("frmMain"));
        return main && main->text == QStringLiteral("Tarvelo Desktop Companion") && desk->ActiveWindow() == main->extra;
    }, kLong);
    EXPECT_EQ(map.Widget(QStringLiteral("frmMain")) ? map.Widget(QStringLiteral("frmMain"))->extra : QString(), mainWindowId)
        << Why(QStringLiteral("the same main window"), map);
    EXPECT_TRUE(program->Running()) << "step " << step.toStdString() << ": the first instance ended";
    desk->Screenshot(QStringLiteral("06-single-instance-restored"));

    // Exit from the tray: no question; the timers are parked again for the next run.
    ASSERT_NO_FATAL_FAILURE(CloseFromTray());

    // The parked rows of the first run stood for the timers while this run was on: what is
    // parked now was written for them again, after the entries. The running timer kept its
    // start of the run before; the parked one came back at zero; the quick record keeps the
    // time it holds (nobody was asked at this exit).
    const QList<QStringList> rows = Query(QStringLiteral(
        "SELECT CAST(cID AS INTEGER), cName, CAST(cStarted AS INTEGER), CAST(cStarttime AS INTEGER), CAST(cSec AS INTEGER), "
        "CAST(cChk AS INTEGER) FROM tblDaily ORDER BY cID;"));
    QString table;
    for (const QStringList &r : rows)
        table += r.join(QStringLiteral(" | ")) + QLatin1Char('\n');
    const std::string where = "step " + step.toStdString() + ": tblDaily holds\n" + table.toStdString();
    ASSERT_EQ(rows.size(), 6) << where;
    const QList<QStringList> entries{{kDesign.category, QStringLiteral("0")},
                                     {kTravel.category, QStringLiteral("0")},
                                     {kWriting.category, QStringLiteral("0")}};
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(rows[i].mid(1, 2), entries[i]) << where;
    QStringList parked;
    for (int i = 3; i < 6; ++i) {
        EXPECT_GT(rows[i][0].toInt(), rows[2][0].toInt()) << where;
        parked << rows[i][1] + QLatin1Char('/') + rows[i][2] + QLatin1Char('/') + rows[i][5];
        if (rows[i][2] == QStringLiteral("1")) {
            EXPECT_GE(rows[i][3].toInt(), designRestart.before) << where;
            EXPECT_LE(rows[i][3].toInt(), designRestart.after) << where;
        } else if (rows[i][1] == kTravel.category) {
            EXPECT_EQ(rows[i][3], QStringLiteral("0")) << where;
            EXPECT_EQ(rows[i][4], QStringLiteral("0")) << where;
        } else {
            EXPECT_GT(rows[i][4].toInt(), 0) << where;
        }
    }
    parked.sort();
    QStringList wantParked{kDesign.category + QStringLiteral("/1/0"), kTravel.category + QStringLiteral("/2/0"),
                           S(25) + QStringLiteral("/2/1")};
    wantParked.sort();
    EXPECT_EQ(parked, wantParked) << where;
}

// 7. The program killed (kill -9) while a timer runs that was started in this run: the next
// start has it back, running, with its start.
void EndToEnd::KilledWhileRecording()
{
    ASSERT_NO_FATAL_FAILURE(StartProgram(program));
    UiMap map = Expect(QStringLiteral("the timers window with the three timers"), [](const UiMap &m) {
        return m.Widget(QStringLiteral("frmMain")) && m.Widget(kTimers) && m.Cells(kGrid).size() == 12 && m.Tray();
    }, kLong);
    ASSERT_FALSE(HasFailure());
    // Opened from the tray, as after the second start.
    ASSERT_NO_FATAL_FAILURE(OpenFromTray(map));
    Expect(QStringLiteral("the main window open"), [](const UiMap &m) {
        const UiItem *main = m.Widget(QStringLiteral("frmMain"));
        return main && main->text == QStringLiteral("Tarvelo Desktop Companion") && m.Widget(QStringLiteral("frmStart/frAct/btnStart"));
    });
    ASSERT_FALSE(HasFailure());

    // The Travel time timer takes over from the running one.
    ASSERT_NO_FATAL_FAILURE(ClickRow(kTravel.category));
    Expect(QStringLiteral("the Travel time timer selected"), [](const UiMap &m) {
        return m.Text(QStringLiteral("frmStart/frEdit/lTask")) == kTravel.task && m.Widget(QStringLiteral("frmStart/frAct/btnStart"))->enabled;
    });
    ASSERT_FALSE(HasFailure());
    const Moment travelAgain = StartSelected();
    ASSERT_FALSE(HasFailure());
    const QString startText = desk->Map().Text(QStringLiteral("frmStart/frAct/lStart1"));
    desk->Screenshot(QStringLiteral("07-killed-running"));
    WaitClockPast(travelAgain.after, 2);

    desk->Note(QStringLiteral("kill -9 of the program"));
    ASSERT_EQ(::kill(pid_t(program->Pid()), SIGKILL), 0);
    ASSERT_TRUE(program->WaitForEnd(kLong));
    EXPECT_EQ(program->ExitStatus(), QProcess::CrashExit) << "step " << step.toStdString();

    ASSERT_NO_FATAL_FAILURE(StartProgram(program));
    map = Expect(QStringLiteral("the timers window with the three timers after the kill"), [](const UiMap &m) {
        return m.Widget(QStringLiteral("frmMain")) && m.Widget(kTimers) && m.Cells(kGrid).size() == 12 && m.Tray();
    }, kLong);
    ASSERT_FALSE(HasFailure());
    ASSERT_NO_FATAL_FAILURE(OpenFromTray(map));
    ASSERT_NO_FATAL_FAILURE(ClickRow(kTravel.category));
    map = Expect(QStringLiteral("the Travel time timer running since its start before the kill"), [&](const UiMap &m) {
        return m.Text(QStringLiteral("frmStart/frEdit/lTask")) == kTravel.task && Running(m)
               && m.Text(QStringLiteral("frmStart/frAct/lStart1")) == startText;
    }, kLong);
    ASSERT_FALSE(HasFailure());
    desk->Screenshot(QStringLiteral("07-killed-back"));

    // Ended from the tray; the timer is parked with the start it had.
    ASSERT_NO_FATAL_FAILURE(CloseFromTray());
    const QList<QStringList> running = Query(QStringLiteral(
        "SELECT cName, CAST(cStarttime AS INTEGER) FROM tblDaily WHERE cStarted = 1;"));
    ASSERT_EQ(running.size(), 1) << "step " << step.toStdString();
    EXPECT_EQ(running[0].value(0), kTravel.category) << "step " << step.toStdString();
    EXPECT_GE(running[0].value(1).toInt(), travelAgain.before) << "step " << step.toStdString();
    EXPECT_LE(running[0].value(1).toInt(), travelAgain.after) << "step " << step.toStdString();
}

TEST_F(EndToEnd, FromTheFirstStartToRecordedTimeAndBack)
{
    if (!RunStep(QStringLiteral("01-first-start"), [&] { FirstStart(); }))
        return;
    if (!RunStep(QStringLiteral("02-first-download"), [&] { FirstDownload(); }))
        return;
    if (!RunStep(QStringLiteral("03-recording"), [&] { Recording(); }))
        return;
    if (!RunStep(QStringLiteral("04-shutdown"), [&] { ShutDownWithQuestions(); }))
        return;
    if (!RunStep(QStringLiteral("05-second-start"), [&] { SecondStart(); }))
        return;
    if (!RunStep(QStringLiteral("06-single-instance"), [&] { SecondInstance(); }))
        return;
    RunStep(QStringLiteral("07-killed"), [&] { KilledWhileRecording(); });
}

} // namespace

int main(int argc, char **argv)
{
    return xtest::RunAllTestsOnX(argc, argv, {.windowManager = true, .trayHost = true});
}
