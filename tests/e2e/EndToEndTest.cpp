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
#include "tests/e2e/Session.h"

#include <QDate>
#include <QRegularExpression>
#include <QThread>
#include <gtest/gtest.h>

#include <csignal>
#include <iostream>

using namespace e2e;

namespace {

class EndToEnd : public Session {
protected:
    void Recording();
    void ShutDownWithQuestions();
    void SecondStart();
    void SecondInstance();
    void KilledWhileRecording();

    int requestsBeforeSecondStart = 0;

    // What the recording did, checked in the database afterwards.
    Moment designStart, travelStart, travelStop, quickStart, trayStop, designRestart, switchToTravel;
    QString designRestartText;
};

// 3. Two tasks' categories loaded with the task loader; one timer started, the other started
// in its place, stopped; a quick record with the hot key given a category from the task
// tree; stopped from the tray menu.
void EndToEnd::Recording()
{
    ASSERT_NO_FATAL_FAILURE(LoadTimers({kDesign, kTravel}));

    ASSERT_NO_FATAL_FAILURE(RecordTwoEntries(designStart, travelStart, travelStop));
    ASSERT_FALSE(HasFailure());

    // The hot key starts a quick recording.
    WaitClockPast(travelStop.after, 1);
    quickStart.before = SecsOfDay();
    ASSERT_TRUE(desk->Key(QStringLiteral("ctrl+F10")));
    UiMap map = Expect(QStringLiteral("a running quick-record row after Ctrl+F10"), [&](const UiMap &m) {
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
    ASSERT_NO_FATAL_FAILURE(OpenFromTray(desk->Map()));
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
