// A person's week with the program, end to end: recording with the timers, correcting the
// daily log, an earlier day, expenses, the languages, sending everything to the service and
// the help, then a restart that finds everything where it was.
//
// The real TarveloPC runs from a fresh program folder against the reference service (HTTPS on
// loopback, its demo account) on a private X server with a window manager and a tray host.
// The test acts only as a person would (clicks, typing and key presses through xdotool) and
// reads what the windows show from the program's window map, the service's received log and,
// once the program has ended, the database through the sqlcipher command-line tool.
#include "tests/e2e/Session.h"

#include <QDate>
#include <QJsonObject>
#include <QRegularExpression>
#include <QSettings>
#include <QThread>
#include <gtest/gtest.h>

#include <QElapsedTimer>

#include <algorithm>
#include <map>
#include <iostream>

using namespace e2e;

namespace {

const QString kDaily = QStringLiteral("frmDaily");
const QString kLog = QStringLiteral("frmDaily/lstLog");
const QString kDailyTree = QStringLiteral("frmDaily/MyTree");
const QString kExp = QStringLiteral("frmDailyExp");
const QString kExpLog = QStringLiteral("frmDailyExp/lstLog");

// The category the free time is given: its rows fit in the daily log's tree without scrolling.
const Pick kMeeting{QStringLiteral("Café Lumière – rebranding"), QStringLiteral("Client's workshop"), QStringLiteral("Meetings"), 1002, 12};

// The comment of the entry on free time, as the service must receive it.
const QString kEntryComment = QStringLiteral("Client's brief, Αθήνα");

// The payee of the expense: an apostrophe and Greek letters, as the service must receive them.
const QString kPayee = QStringLiteral("O'Neill Ταβέρνα");
// The payee of the expense two days back.
const QString kKiosk = QStringLiteral("Kiosk");

static int Uploads(const QList<QJsonObject> &requests);

class Week : public Session {
protected:
    // The person's desktop writes numbers the Greek way (12,50); everything else is plain.
    Week() { numberLocale = QStringLiteral("el_GR.UTF-8"); }

    void Timers();
    void DailyCorrection();
    void FreeTimeEntry();
    void OverlapRefused();
    void RefusedStartTreePick();
    void DeleteEntry();
    void EarlierDay();
    void Expenses();
    void Calculator();
    void Languages();
    void Options();
    void SendEverything();
    void SendAgain();
    void Help();
    void Reopen();
    void AcrossMidnight();

    // hh:mm:ss of seconds after midnight, as the grids show times.
    static QString Hms(int secs)
    {
        return QTime(0, 0).addSecs(secs).toString(QStringLiteral("HH:mm:ss"));
    }
    static QString Hm(int secs)
    {
        return QTime(0, 0).addSecs(secs).toString(QStringLiteral("HH:mm"));
    }

    // Opens a window with its toolbar entry of the main window (0 timers ... 3 synchronisation).
    void Toolbar(int index, const QString &window)
    {
        ASSERT_NO_FATAL_FAILURE(ClickWidget(QStringLiteral("frmMain/frame/picL/btn_%1").arg(index)));
        Expect(window + QStringLiteral(" open"), [&](const UiMap &m) { return m.Widget(window) != nullptr; }, kLong);
    }

    void ClickCell(const QString &grid, int row, int col);
    void TypeInto(const QString &box, const QString &text);
    void PickInTree(const QString &tree, const QStringList &levels);
    void PickTime(const QString &label, const QString &picker, int secs);
    // A time box of the daily log's editor picked through its caption.
    void PickDailyTime(const QString &caption, int secs)
    {
        PickTime(QStringLiteral("frmDaily/frEdit/") + caption, QStringLiteral("frmDaily/frEdit/picPicker"), secs);
    }
    void Send();
    // The program started again after an end: the main window brought up from the tray.
    void StartAgain();
    void ExpenseCategoryAndPayee(const QString &payee);
    void PickOptionTime(const QString &label, int secs);
    void ChooseOption(const QString &group, const QString &option);
    void ExpenseTaskAndSave(const QString &payee, const QString &total);

    Moment designStart, travelStart, travelStop;
    int correctedStart = 0;
    int sendTime = 0;
    QString freeStart, freeEnd, expenseCategory, earlierDay, expenseToday;
    long rssAllWindowsKb = 0;
};

// 2. Two entries recorded with the timers window: Design runs, Travel time takes over (Design
// becomes an entry), Travel time is stopped (its entry).
void Week::Timers()
{
    ASSERT_NO_FATAL_FAILURE(LoadTimers({kDesign, kTravel}));
    ASSERT_NO_FATAL_FAILURE(RecordTwoEntries(designStart, travelStart, travelStop));
}


// The row of the daily log's grid that shows name in its activity column (-1: none).
static int DailyRow(const UiMap &m, const QString &name, int nth = 0)
{
    QList<int> rows;
    for (const UiItem &c : m.Cells(kLog))
        if (c.Col() == 2 && c.text == name)
            rows << c.Row();
    std::sort(rows.begin(), rows.end());
    return nth < rows.size() ? rows[nth] : -1;
}

static QString CellText(const UiMap &m, const QString &grid, int row, int col)
{
    for (const UiItem &c : m.Cells(grid))
        if (c.Row() == row && c.Col() == col)
            return c.text;
    return QString();
}

static int RowCount(const UiMap &m, const QString &grid)
{
    int n = 0;
    for (const UiItem &c : m.Cells(grid))
        n = std::max(n, c.Row() + 1);
    return n;
}

// Types text into the focused box. The X server's keyboard has no Greek letters: xdotool maps
// each one onto a spare key just before it presses it, and now and then the program reads the
// key before it learns of the new map and the letter is lost. So the letters go one at a time,
// each seen in the box before the next, and a lost one is typed again, as a person who sees
// the slip would.
void Week::TypeInto(const QString &box, const QString &text)
{
    QString typed = desk->Map().Text(box);
    const QString want = typed + text;
    for (const QChar c : text) {
        const QString next = typed + c;
        bool seen = false;
        for (int attempt = 0; attempt < 4 && !seen; ++attempt) {
            ASSERT_TRUE(desk->Type(QString(c)));
            seen = desk->WaitFor([&](const UiMap &m) { return m.Text(box) == next; }, 1500);
        }
        ASSERT_TRUE(seen) << Why(QStringLiteral("the letter %1 of \"%2\" in %3").arg(c).arg(text, box), desk->Map());
        typed = next;
    }
    Expect(QStringLiteral("\"") + text + QStringLiteral("\" typed into ") + box, [&](const UiMap &m) { return m.Text(box) == want; });
}

void Week::ClickCell(const QString &grid, int row, int col)
{
    UiMap map = desk->Map();
    for (const UiItem &c : map.Cells(grid))
        if (c.Row() == row && c.Col() == col) {
            ASSERT_NO_FATAL_FAILURE(ClickItem(c));
            return;
        }
    FAIL() << Why(QStringLiteral("the cell %1,%2 of %3").arg(row).arg(col).arg(grid), map);
}

// Picks project / task / category in a tree that shows the projects folded: each level is
// clicked and unfolded with the Right key, as a person opens the branches.
void Week::PickInTree(const QString &tree, const QStringList &levels)
{
    QString path;
    for (int i = 0; i < levels.size(); ++i) {
        path += (i ? QStringLiteral(" / ") : QString()) + levels[i];
        UiMap map = Expect(QStringLiteral("the tree with ") + path, [&](const UiMap &m) { return m.TreeRow(tree, path).has_value(); });
        const std::optional<UiItem> row = map.TreeRow(tree, path);
        ASSERT_TRUE(row) << Why(path, map);
        ASSERT_NO_FATAL_FAILURE(ClickItem(*row));
        if (i + 1 < levels.size()) {
            ASSERT_TRUE(desk->Key(QStringLiteral("Right")));
        }
    }
}

// Opens the time picker (named picker) with a click on label and types hh mm into it;
// Return writes the time where the picker was opened for.
void Week::PickTime(const QString &label, const QString &picker, int secs)
{
    ASSERT_NO_FATAL_FAILURE(ClickWidget(label));
    Expect(QStringLiteral("the time picker open"), [&](const UiMap &m) {
        const UiItem *p = m.Widget(picker);
        return p && p->rect.width() > 0;
    });
    ASSERT_FALSE(HasFailure());
    desk->Screenshot(step + QStringLiteral("-picker"));
    ASSERT_TRUE(desk->Type(QTime(0, 0).addSecs(secs).toString(QStringLiteral("HHmm"))));
    ASSERT_TRUE(desk->Key(QStringLiteral("Return")));
}

// 4. The start of the Design entry moved earlier with the time picker, saved (and sent at
// once: automatic sending is on after the sign-in).
void Week::DailyCorrection()
{
    ASSERT_NO_FATAL_FAILURE(Toolbar(1, kDaily));
    UiMap map = Expect(QStringLiteral("today's two entries in the daily log"), [](const UiMap &m) {
        return DailyRow(m, kDesign.category) >= 0 && DailyRow(m, kTravel.category) >= 0;
    });
    ASSERT_FALSE(HasFailure());
    ASSERT_GE(designStart.before, 3600) << "step " << step.toStdString() << ": the day is too young for an earlier start";
    correctedStart = (designStart.before / 60 - 30) * 60;
    ASSERT_NO_FATAL_FAILURE(ClickCell(kLog, DailyRow(map, kDesign.category), 2));
    Expect(QStringLiteral("the Design entry in the editor"), [](const UiMap &m) {
        return m.Text(QStringLiteral("frmDaily/frEdit/lTask")) == kDesign.task && !m.Text(QStringLiteral("frmDaily/frEdit/txtStart")).isEmpty();
    });
    ASSERT_FALSE(HasFailure());
    ASSERT_NO_FATAL_FAILURE(PickDailyTime(QStringLiteral("lblStart"), correctedStart));
    Expect(QStringLiteral("the picked start in the box and the row"), [&](const UiMap &m) {
        const int row = DailyRow(m, kDesign.category);
        return m.Text(QStringLiteral("frmDaily/frEdit/txtStart")) == Hm(correctedStart) && row >= 0
               && CellText(m, kLog, row, 14) == Hm(correctedStart);
    });
    ASSERT_FALSE(HasFailure());
    ASSERT_NO_FATAL_FAILURE(ClickWidget(QStringLiteral("frmDaily/btnSave")));
    Expect(QStringLiteral("the correction saved"), [&](const UiMap &m) {
        const UiItem *save = m.Widget(QStringLiteral("frmDaily/btnSave"));
        const int row = DailyRow(m, kDesign.category);
        return save && !save->enabled && !m.Widget(QStringLiteral("FMessage")) && row >= 0
               && CellText(m, kLog, row, 14) == Hms(correctedStart);
    });
}

// 5. Free time shown; the first free row becomes an entry with a category from the tree.
void Week::FreeTimeEntry()
{
    UiMap before = desk->Map();
    const int entries = RowCount(before, kLog);
    ASSERT_NO_FATAL_FAILURE(ChooseMenu(QStringLiteral("mnuLogs"), QStringLiteral("mnuLogs_FreeBusy")));
    UiMap map = Expect(QStringLiteral("free-time rows beside the entries"), [&](const UiMap &m) { return RowCount(m, kLog) > entries; });
    ASSERT_FALSE(HasFailure());
    desk->Screenshot(step + QStringLiteral("-free"));
    // The free rows are named as a new entry is.
    const int free = DailyRow(map, S1(255));
    ASSERT_GE(free, 0) << Why(QStringLiteral("a free-time row"), map);
    freeStart = CellText(map, kLog, free, 14);
    freeEnd = CellText(map, kLog, free, 15);
    ASSERT_NO_FATAL_FAILURE(ClickCell(kLog, free, 14));
    Expect(QStringLiteral("the free row in the editor with the task tree open"), [&](const UiMap &m) {
        return m.Widget(kDailyTree) && m.Text(QStringLiteral("frmDaily/frEdit/txtStart")) == freeStart;
    });
    ASSERT_FALSE(HasFailure());
    ASSERT_NO_FATAL_FAILURE(PickInTree(kDailyTree, {kMeeting.project, kMeeting.task, kMeeting.category}));
    ASSERT_NO_FATAL_FAILURE(ClickWidget(QStringLiteral("frmDaily/frEdit/txtComments")));
    ASSERT_NO_FATAL_FAILURE(TypeInto(QStringLiteral("frmDaily/frEdit/txtComments"), kEntryComment));
    Expect(QStringLiteral("the free row named after the category, Save usable"), [](const UiMap &m) {
        const UiItem *save = m.Widget(QStringLiteral("frmDaily/btnSave"));
        return save && save->enabled && m.Text(QStringLiteral("frmDaily/frEdit/lTask")) == kMeeting.task;
    });
    ASSERT_FALSE(HasFailure());
    ASSERT_NO_FATAL_FAILURE(ClickWidget(QStringLiteral("frmDaily/btnSave")));
    Expect(QStringLiteral("the entry on the free time saved"), [&](const UiMap &m) {
        const int row = DailyRow(m, kMeeting.category);
        const UiItem *save = m.Widget(QStringLiteral("frmDaily/btnSave"));
        return row >= 0 && CellText(m, kLog, row, 14) == freeStart && save && !save->enabled;
    });
}

// 6. A new entry whose start falls inside the corrected Design entry is refused.
void Week::OverlapRefused()
{
    ASSERT_NO_FATAL_FAILURE(ClickWidget(QStringLiteral("frmDaily/btnAdd")));
    UiMap map = Expect(QStringLiteral("a new row in the editor"), [](const UiMap &m) {
        return m.Widget(kDailyTree) && !m.Text(QStringLiteral("frmDaily/frEdit/txtStart")).isEmpty();
    });
    ASSERT_FALSE(HasFailure());
    ASSERT_NO_FATAL_FAILURE(PickDailyTime(QStringLiteral("lblStart"), correctedStart + 600));
    ASSERT_NO_FATAL_FAILURE(AnswerBox(370, QStringLiteral("btnOK"), step + QStringLiteral("-refused")));
    ASSERT_NO_FATAL_FAILURE(AnswerBox(369, QStringLiteral("btnOK")));
    // Nothing is saved while the row overlaps: Save stays greyed.
    map = Expect(QStringLiteral("Save greyed after the refusal"), [](const UiMap &m) {
        const UiItem *save = m.Widget(QStringLiteral("frmDaily/btnSave"));
        return save && !save->enabled && !m.Widget(QStringLiteral("FMessage"));
    });
    ASSERT_FALSE(HasFailure());
    // The new row without a task cannot be saved or deleted; it is left as it is.
}

// 6b. The refused start stays in its box while the new row gets its task from the tree: the
// row keeps the times it had, the save is refused (369) and nothing reaches the service; the
// new row is then deleted, unsaved.
void Week::RefusedStartTreePick()
{
    const int sentBefore = Uploads(service.requests());
    const QString refused = Hm(correctedStart + 600);
    UiMap map = Expect(QStringLiteral("the refused start still in its box"), [&](const UiMap &m) {
        return m.Text(QStringLiteral("frmDaily/frEdit/txtStart")) == refused && !m.Widget(QStringLiteral("FMessage"));
    });
    ASSERT_FALSE(HasFailure());
    if (!map.Widget(kDailyTree)) {
        ASSERT_NO_FATAL_FAILURE(ClickWidget(QStringLiteral("frmDaily/frEdit/btnDown")));
    }
    ASSERT_NO_FATAL_FAILURE(PickInTree(kDailyTree, {kMeeting.project, kMeeting.task, kMeeting.category}));
    Expect(QStringLiteral("the task picked, the refused start still shown, Save usable"), [&](const UiMap &m) {
        const UiItem *save = m.Widget(QStringLiteral("frmDaily/btnSave"));
        return save && save->enabled && m.Text(QStringLiteral("frmDaily/frEdit/lTask")) == kMeeting.task
               && m.Text(QStringLiteral("frmDaily/frEdit/txtStart")) == refused;
    });
    ASSERT_FALSE(HasFailure());
    ASSERT_NO_FATAL_FAILURE(ClickWidget(QStringLiteral("frmDaily/btnSave")));
    ASSERT_NO_FATAL_FAILURE(AnswerBox(369, QStringLiteral("btnOK"), step + QStringLiteral("-save-refused")));
    Expect(QStringLiteral("nothing saved: the refused start still in its box"), [&](const UiMap &m) {
        return !m.Widget(QStringLiteral("FMessage")) && m.Text(QStringLiteral("frmDaily/frEdit/txtStart")) == refused;
    });
    ASSERT_FALSE(HasFailure());
    EXPECT_EQ(Uploads(service.requests()), sentBefore) << "step " << step.toStdString() << ": something was sent";
    // The unsaved row goes again (it has no id: only the grid loses it).
    ASSERT_NO_FATAL_FAILURE(ClickWidget(QStringLiteral("frmDaily/btnDel")));
    ASSERT_NO_FATAL_FAILURE(AnswerBox(1034, QStringLiteral("btnOK")));
    Expect(QStringLiteral("the new row gone, the entries as they were"), [](const UiMap &m) {
        return !m.Widget(QStringLiteral("FMessage")) && DailyRow(m, kMeeting.category) >= 0 && DailyRow(m, kMeeting.category, 1) < 0
               && DailyRow(m, kDesign.category) >= 0;
    });
    ASSERT_FALSE(HasFailure());
    EXPECT_EQ(Uploads(service.requests()), sentBefore) << "step " << step.toStdString() << ": something was sent";
}

// 7. The Travel time entry deleted, after the question.
void Week::DeleteEntry()
{
    UiMap map = desk->Map();
    ASSERT_NO_FATAL_FAILURE(ClickCell(kLog, DailyRow(map, kTravel.category), 2));
    Expect(QStringLiteral("the Travel time entry in the editor"), [](const UiMap &m) {
        return m.Text(QStringLiteral("frmDaily/frEdit/lTask")) == kTravel.task;
    });
    ASSERT_FALSE(HasFailure());
    ASSERT_NO_FATAL_FAILURE(ClickWidget(QStringLiteral("frmDaily/btnDel")));
    map = Expect(QStringLiteral("the question before the delete"), [](const UiMap &m) {
        return m.Widget(QStringLiteral("FMessage/picButtons/btnOK")) && m.Widget(QStringLiteral("FMessage/picButtons/btnCancel"));
    });
    ASSERT_FALSE(HasFailure());
    desk->Screenshot(step + QStringLiteral("-question"));
    ASSERT_NO_FATAL_FAILURE(ClickItem(*map.Widget(QStringLiteral("FMessage/picButtons/btnOK"))));
    Expect(QStringLiteral("the Travel time entry gone"), [](const UiMap &m) {
        return !m.Widget(QStringLiteral("FMessage")) && DailyRow(m, kTravel.category) < 0 && DailyRow(m, kDesign.category) >= 0
               && DailyRow(m, kMeeting.category) >= 0;
    });
}

// 8. Yesterday added with the calendar (the day before the one it opens on), and an entry on
// it with its task from the tree.
void Week::EarlierDay()
{
    ASSERT_NO_FATAL_FAILURE(ClickWidget(QStringLiteral("frmDaily/btnNewDate")));
    UiMap map = Expect(QStringLiteral("the calendar"), [](const UiMap &m) { return m.Widget(QStringLiteral("frmCal/MyCal")) != nullptr; });
    ASSERT_FALSE(HasFailure());
    // The calendar opens on today with the day grid in focus: the person steps one day back
    // with the arrow key and confirms.
    ASSERT_TRUE(desk->Key(QStringLiteral("Left")));
    desk->Screenshot(step + QStringLiteral("-calendar"));
    ASSERT_NO_FATAL_FAILURE(ClickWidget(QStringLiteral("frmCal/btnOK")));
    const QString today = desk->Map().Text(QStringLiteral("frmDaily/lblDay"));
    map = Expect(QStringLiteral("the calendar closed and an empty earlier day shown"), [&](const UiMap &m) {
        return !m.Widget(QStringLiteral("frmCal")) && !m.Widget(QStringLiteral("FMessage")) && RowCount(m, kLog) <= 1
               && DailyRow(m, kDesign.category) < 0;
    });
    ASSERT_FALSE(HasFailure());
    earlierDay = map.Text(QStringLiteral("frmDaily/lblDay"));
    ASSERT_NO_FATAL_FAILURE(ClickWidget(QStringLiteral("frmDaily/btnAdd")));
    Expect(QStringLiteral("a new row with the task tree"), [](const UiMap &m) { return m.Widget(kDailyTree) != nullptr; });
    ASSERT_FALSE(HasFailure());
    ASSERT_NO_FATAL_FAILURE(PickInTree(kDailyTree, {kDesign.project, kDesign.task, kDesign.category}));
    ASSERT_NO_FATAL_FAILURE(ClickWidget(QStringLiteral("frmDaily/btnSave")));
    Expect(QStringLiteral("the entry of the earlier day saved"), [](const UiMap &m) {
        const UiItem *save = m.Widget(QStringLiteral("frmDaily/btnSave"));
        return DailyRow(m, kDesign.category) >= 0 && save && !save->enabled && !m.Widget(QStringLiteral("FMessage"));
    });
    (void)today;
}

// Category, payee and the Tab away from the payee of the expense in the editor.
void Week::ExpenseCategoryAndPayee(const QString &payee)
{
    ASSERT_NO_FATAL_FAILURE(ClickWidget(QStringLiteral("frmDailyExp/cmbExpCat")));
    ASSERT_TRUE(desk->Key(QStringLiteral("Down")));
    ASSERT_TRUE(desk->Key(QStringLiteral("Return")));
    UiMap map = Expect(QStringLiteral("a category chosen"), [](const UiMap &m) { return !m.Text(QStringLiteral("frmDailyExp/cmbExpCat")).isEmpty(); });
    ASSERT_FALSE(HasFailure());
    expenseCategory = map.Text(QStringLiteral("frmDailyExp/cmbExpCat"));
    ASSERT_NO_FATAL_FAILURE(ClickWidget(QStringLiteral("frmDailyExp/txtPayee")));
    ASSERT_NO_FATAL_FAILURE(TypeInto(QStringLiteral("frmDailyExp/txtPayee"), payee));
    ASSERT_TRUE(desk->Key(QStringLiteral("Tab")));
}

// The Design task of the expense from the tree, and Save: the grid shows the payee and the
// day's total.
void Week::ExpenseTaskAndSave(const QString &payee, const QString &total)
{
    ASSERT_NO_FATAL_FAILURE(ClickWidget(QStringLiteral("frmDailyExp/btnDown")));
    ASSERT_NO_FATAL_FAILURE(PickInTree(QStringLiteral("frmDailyExp/MyTree"), {kDesign.project, kDesign.task}));
    Expect(QStringLiteral("the task of the expense"), [](const UiMap &m) {
        return m.Text(QStringLiteral("frmDailyExp/lProj")) == kDesign.project && m.Text(QStringLiteral("frmDailyExp/lTask")) == kDesign.task;
    });
    ASSERT_FALSE(HasFailure());
    desk->Screenshot(step + QStringLiteral("-filled"));
    ASSERT_NO_FATAL_FAILURE(ClickWidget(QStringLiteral("frmDailyExp/btnSave")));
    Expect(QStringLiteral("the expense saved in the grid with the day's total ") + total, [&](const UiMap &m) {
        const UiItem *save = m.Widget(QStringLiteral("frmDailyExp/btnSave"));
        return m.Cell(kExpLog, payee) && m.Text(QStringLiteral("frmDailyExp/lTotal")) == total && save && !save->enabled;
    });
}

// 9. An expense of today: a category, a payee with an apostrophe and Greek letters, an amount
// typed in the number form of the person's desktop (Greek: a decimal comma), the project's
// task from the tree; saved.
void Week::Expenses()
{
    ASSERT_NO_FATAL_FAILURE(Toolbar(2, kExp));
    Expect(QStringLiteral("the new expense row"), [](const UiMap &m) { return RowCount(m, kExpLog) == 1; });
    ASSERT_FALSE(HasFailure());
    expenseToday = desk->Map().Text(QStringLiteral("frmDailyExp/lblDay"));
    ASSERT_NO_FATAL_FAILURE(ExpenseCategoryAndPayee(kPayee));
    // The box holds 0,00: the person rubs it out and types the amount.
    ASSERT_NO_FATAL_FAILURE(ClickWidget(QStringLiteral("frmDailyExp/txtAmount")));
    // Keys pressed just after Greek letters are now and then lost while the program learns of
    // the keyboard's map being put back (see TypeInto): the person rubs out until the box is
    // empty.
    for (int i = 0; i < 12 && !desk->WaitFor([](const UiMap &m) { return m.Text(QStringLiteral("frmDailyExp/txtAmount")).isEmpty(); }, 300); ++i) {
        ASSERT_TRUE(desk->Key(QStringLiteral("End")));
        ASSERT_TRUE(desk->Key(QStringLiteral("BackSpace")));
    }
    Expect(QStringLiteral("the amount box empty"), [](const UiMap &m) { return m.Text(QStringLiteral("frmDailyExp/txtAmount")).isEmpty(); });
    ASSERT_FALSE(HasFailure());
    ASSERT_TRUE(desk->Type(QStringLiteral("12,50")));
    ASSERT_TRUE(desk->Key(QStringLiteral("Tab")));
    Expect(QStringLiteral("the amount typed"), [](const UiMap &m) { return m.Text(QStringLiteral("frmDailyExp/txtAmount")) == QStringLiteral("12,50"); });
    ASSERT_FALSE(HasFailure());
    ASSERT_NO_FATAL_FAILURE(ExpenseTaskAndSave(kPayee, QStringLiteral("12,50")));
}

// 10. An expense two days back, its amount worked out with the calculator (7,25 x 2); the
// days' arrows go between the two days with expenses and skip yesterday, which has none.
void Week::Calculator()
{
    ASSERT_NO_FATAL_FAILURE(ClickWidget(QStringLiteral("frmDailyExp/btnNewDate")));
    Expect(QStringLiteral("the calendar"), [](const UiMap &m) { return m.Widget(QStringLiteral("frmCal/MyCal")) != nullptr; });
    ASSERT_FALSE(HasFailure());
    ASSERT_TRUE(desk->Key(QStringLiteral("Left")));
    ASSERT_TRUE(desk->Key(QStringLiteral("Left")));
    ASSERT_NO_FATAL_FAILURE(ClickWidget(QStringLiteral("frmCal/btnOK")));
    UiMap map = Expect(QStringLiteral("the calendar closed and an empty day two days back"), [&](const UiMap &m) {
        return !m.Widget(QStringLiteral("frmCal")) && !m.Widget(QStringLiteral("FMessage")) && RowCount(m, kExpLog) == 0 && !m.Text(QStringLiteral("frmDailyExp/lblDay")).isEmpty()
               && m.Text(QStringLiteral("frmDailyExp/lblDay")) != expenseToday;
    });
    ASSERT_FALSE(HasFailure());
    const QString twoDaysBack = map.Text(QStringLiteral("frmDailyExp/lblDay"));
    ASSERT_NO_FATAL_FAILURE(ClickWidget(QStringLiteral("frmDailyExp/btnAdd")));
    Expect(QStringLiteral("a new expense row"), [](const UiMap &m) {
        const UiItem *category = m.Widget(QStringLiteral("frmDailyExp/cmbExpCat"));
        return RowCount(m, kExpLog) == 1 && category && category->enabled;
    });
    ASSERT_FALSE(HasFailure());
    ASSERT_NO_FATAL_FAILURE(ExpenseCategoryAndPayee(kKiosk));

    ASSERT_NO_FATAL_FAILURE(ClickWidget(QStringLiteral("frmDailyExp/imgCalc")));
    Expect(QStringLiteral("the calculator"), [](const UiMap &m) { return m.Widget(QStringLiteral("frmCalc/Calc/lOK")) != nullptr; });
    ASSERT_FALSE(HasFailure());
    // C, 7 , 2 5 x 2 =
    for (const char *key : {"lClear", "b_7", "b_10", "b_2", "b_5", "f_3", "b_2", "f_0"})
        ASSERT_NO_FATAL_FAILURE(ClickWidget(QStringLiteral("frmCalc/Calc/") + QString::fromLatin1(key)));
    Expect(QStringLiteral("14,5 on the calculator's display"), [](const UiMap &m) {
        return m.Text(QStringLiteral("frmCalc/Calc/lOutp")).startsWith(QStringLiteral("14,5"));
    });
    ASSERT_FALSE(HasFailure());
    desk->Screenshot(step + QStringLiteral("-calculator"));
    ASSERT_NO_FATAL_FAILURE(ClickWidget(QStringLiteral("frmCalc/Calc/lOK")));
    Expect(QStringLiteral("the calculator gone, its result in the amount box"), [](const UiMap &m) {
        return !m.Widget(QStringLiteral("frmCalc")) && m.Text(QStringLiteral("frmDailyExp/txtAmount")) == QStringLiteral("14,50");
    });
    ASSERT_FALSE(HasFailure());
    ASSERT_NO_FATAL_FAILURE(ExpenseTaskAndSave(kKiosk, QStringLiteral("14,50")));
    ASSERT_FALSE(HasFailure());

    // Next: today, past yesterday; previous: back again.
    ASSERT_NO_FATAL_FAILURE(ClickWidget(QStringLiteral("frmDailyExp/btnNP_1")));
    Expect(QStringLiteral("today's expense after the next-day arrow"), [&](const UiMap &m) {
        return m.Text(QStringLiteral("frmDailyExp/lblDay")) == expenseToday && m.Cell(kExpLog, kPayee)
               && m.Text(QStringLiteral("frmDailyExp/lTotal")) == QStringLiteral("12,50");
    });
    ASSERT_FALSE(HasFailure());
    ASSERT_NO_FATAL_FAILURE(ClickWidget(QStringLiteral("frmDailyExp/btnNP_0")));
    Expect(QStringLiteral("the expense two days back after the previous-day arrow"), [&](const UiMap &m) {
        return m.Text(QStringLiteral("frmDailyExp/lblDay")) == twoDaysBack && m.Cell(kExpLog, kKiosk);
    });
}

// 11. Greek with the flag, and back to English.
void Week::Languages()
{
    static const QRegularExpression greek(QStringLiteral("[\\x{0370}-\\x{03FF}]"));
    ASSERT_NO_FATAL_FAILURE(ClickWidget(QStringLiteral("frmMain/frame/PicUser/imgFlag_1")));
    Expect(QStringLiteral("the toolbar, the daily log and the expenses in Greek"), [](const UiMap &m) {
        return m.Text(QStringLiteral("frmMain/frame/picL/btn_0")).contains(greek) && m.Text(QStringLiteral("frmDaily/btnAdd")).contains(greek)
               && m.Text(QStringLiteral("frmDailyExp/btnAdd")).contains(greek);
    });
    ASSERT_FALSE(HasFailure());
    desk->Screenshot(step + QStringLiteral("-greek"));
    ASSERT_NO_FATAL_FAILURE(ClickWidget(QStringLiteral("frmMain/frame/PicUser/imgFlag_0")));
    Expect(QStringLiteral("English again"), [](const UiMap &m) {
        return m.Text(QStringLiteral("frmMain/frame/picL/btn_0")) == QStringLiteral("Timers")
               && !m.Text(QStringLiteral("frmDaily/btnAdd")).contains(greek) && !m.Text(QStringLiteral("frmDailyExp/btnAdd")).contains(greek);
    });
}

// A working-day time of the options picked with the time picker.
void Week::PickOptionTime(const QString &label, int secs)
{
    ASSERT_NO_FATAL_FAILURE(PickTime(QStringLiteral("frWork/") + label, QStringLiteral("frWork/picPicker"), secs));
    Expect(QStringLiteral("the picked time in ") + label, [&](const UiMap &m) {
        return m.Text(QStringLiteral("frWork/") + label) == Hms(secs);
    });
}

// Clicks the option of the tree under its group (both by their captions).
void Week::ChooseOption(const QString &group, const QString &option)
{
    const QString path = group + QStringLiteral(" / ") + option;
    UiMap map = Expect(QStringLiteral("the option ") + path, [&](const UiMap &m) {
        return m.TreeRow(QStringLiteral("tabOptions/lstOptions"), path).has_value();
    });
    const std::optional<UiItem> row = map.TreeRow(QStringLiteral("tabOptions/lstOptions"), path);
    ASSERT_TRUE(row) << Why(path, map);
    ASSERT_NO_FATAL_FAILURE(ClickItem(*row));
}

// 12. The options from the timers window's menu: the working day from 07:30 to 18:45 with
// the time picker, Ctrl+Shift+F9 as the hot key; saved. The settings file holds them, and the
// new hot key starts a quick record (which the person then cancels).
void Week::Options()
{
    ASSERT_NO_FATAL_FAILURE(Toolbar(0, kTimers));
    ASSERT_NO_FATAL_FAILURE(ChooseMenu(QStringLiteral("mnuOptions"), QStringLiteral("mnuOptions_Form"), kTimers));
    UiMap map = Expect(QStringLiteral("the options with the settings tab"), [](const UiMap &m) {
        return m.Widget(QStringLiteral("frmOptions/sTab")) != nullptr;
    }, kLong);
    ASSERT_FALSE(HasFailure());
    const UiItem *tab = nullptr;
    for (const UiItem &i : map.items)
        if (i.kind == QLatin1String("item") && i.cls == QLatin1String("tab") && i.path.contains(QStringLiteral("frmOptions/"))
            && i.text == S1(707))
            tab = &i;
    ASSERT_TRUE(tab) << Why(QStringLiteral("the settings tab"), map);
    ASSERT_NO_FATAL_FAILURE(ClickItem(*tab));

    const int workStart = 7 * 3600 + 30 * 60, workEnd = 18 * 3600 + 45 * 60;
    ASSERT_NO_FATAL_FAILURE(ChooseOption(S1(739), S1(742)));
    ASSERT_NO_FATAL_FAILURE(PickOptionTime(QStringLiteral("lblStartTime"), workStart));
    ASSERT_NO_FATAL_FAILURE(PickOptionTime(QStringLiteral("lblEndTime"), workEnd));
    desk->Screenshot(step + QStringLiteral("-hours"));

    ASSERT_NO_FATAL_FAILURE(ChooseOption(S1(726), S1(734)));
    ASSERT_NO_FATAL_FAILURE(ClickWidget(QStringLiteral("frHotKey/txtHotKey")));
    ASSERT_TRUE(desk->Key(QStringLiteral("ctrl+shift+F9")));
    Expect(QStringLiteral("Ctrl+Shift+F9 captured"), [](const UiMap &m) {
        const QString key = m.Text(QStringLiteral("frHotKey/txtHotKey"));
        return key.endsWith(QStringLiteral("F9")) && key.contains(QStringLiteral("shift"), Qt::CaseInsensitive) && key.contains(QStringLiteral("ctrl"), Qt::CaseInsensitive);
    });
    ASSERT_FALSE(HasFailure());
    desk->Screenshot(step + QStringLiteral("-key"));

    ASSERT_NO_FATAL_FAILURE(ClickWidget(QStringLiteral("frmOptions/btnSave")));
    QString saved;
    QElapsedTimer t;
    for (t.start(); t.elapsed() < kShort; QThread::msleep(100)) {
        QSettings ini(configHome + QStringLiteral("/Tarv/Tarv.ini"), QSettings::IniFormat);
        saved = QStringList{ini.value(QStringLiteral("org/timestart")).toString(), ini.value(QStringLiteral("org/timeend")).toString(),
                            ini.value(QStringLiteral("tarv/vkey")).toString(), ini.value(QStringLiteral("tarv/vmask")).toString()}
                    .join(QLatin1Char(' '));
        if (saved == QStringLiteral("07:30:00 18:45:00 120 3"))
            break;
    }
    // F9 is key 120; the mask is Shift 1 + Ctrl 2.
    ASSERT_EQ(saved, QStringLiteral("07:30:00 18:45:00 120 3")) << Why(QStringLiteral("the saved settings in ") + configHome + QStringLiteral("/Tarv/Tarv.ini"), desk->Map());
    Expect(QStringLiteral("no message after the save"), [](const UiMap &m) { return !m.Widget(QStringLiteral("FMessage")); });
    ASSERT_FALSE(HasFailure());
    ASSERT_NO_FATAL_FAILURE(ClickWidget(QStringLiteral("frmOptions/btnExit")));
    Expect(QStringLiteral("the options closed"), [](const UiMap &m) { return !m.Widget(QStringLiteral("frmOptions")); });
    ASSERT_FALSE(HasFailure());

    ASSERT_TRUE(desk->Key(QStringLiteral("ctrl+shift+F9")));
    Expect(QStringLiteral("a running quick-record row after Ctrl+Shift+F9"), [](const UiMap &m) {
        return m.Cell(kGrid, S(25), 2) && Running(m);
    });
    ASSERT_FALSE(HasFailure());
    desk->Screenshot(step + QStringLiteral("-quick-record"));
    ASSERT_NO_FATAL_FAILURE(ClickWidget(QStringLiteral("frmStart/frAct/btnCancel")));
    Expect(QStringLiteral("the quick record cancelled"), [](const UiMap &m) {
        const UiItem *start = m.Widget(QStringLiteral("frmStart/frAct/btnStart"));
        return start && !Running(m) && !m.Widget(QStringLiteral("FMessage"));
    });
}

// The number of requests of action (addTime, addExpense) the service has seen.
static int Uploads(const QList<QJsonObject> &requests)
{
    int n = 0;
    for (const QJsonObject &r : requests) {
        const QString body = r.value(QStringLiteral("body")).toString();
        if (body.startsWith(QStringLiteral("action=addTime&")) || body.startsWith(QStringLiteral("action=addExpense&")))
            ++n;
    }
    return n;
}

// Sends with the synchronisation window's send button; waits until the window is done (its
// buttons usable again and no request for a while).
void Week::Send()
{
    ASSERT_NO_FATAL_FAILURE(ClickWidget(QStringLiteral("frmSynch/picFooter/btnConnect_1")));
    int last = -1;
    QElapsedTimer quiet;
    Expect(QStringLiteral("the send finished"), [&](const UiMap &m) {
        const int now = int(service.requests().size());
        if (now != last) {
            last = now;
            quiet.start();
        }
        const UiItem *b = m.Widget(QStringLiteral("frmSynch/picFooter/btnConnect_1"));
        return b && b->enabled && !m.Widget(QStringLiteral("FMessage")) && quiet.elapsed() > 1500;
    }, kLong);
}

// 13. Everything sent from the synchronisation window.
void Week::SendEverything()
{
    ASSERT_NO_FATAL_FAILURE(Toolbar(3, QStringLiteral("frmSynch")));
    Expect(QStringLiteral("the send button usable"), [](const UiMap &m) {
        const UiItem *b = m.Widget(QStringLiteral("frmSynch/picFooter/btnConnect_1"));
        return b && b->enabled;
    }, kLong);
    ASSERT_FALSE(HasFailure());
    // The window sends only what ended before the current minute: the person sends once the
    // minute in which the Design entry ended is over.
    const int nextMinute = (travelStart.after / 60 + 1) * 60;
    WaitClockPast(travelStart.after, nextMinute - travelStart.after);
    ASSERT_GE(SecsOfDay(), nextMinute) << "step " << step.toStdString() << ": the clock";
    sendTime = SecsOfDay();
    ASSERT_NO_FATAL_FAILURE(Send());
    desk->Screenshot(step + QStringLiteral("-log"));
}

// 14. A second send finds nothing left to send.
void Week::SendAgain()
{
    const int before = Uploads(service.requests());
    ASSERT_NO_FATAL_FAILURE(Send());
    EXPECT_EQ(Uploads(service.requests()), before) << "step " << step.toStdString() << ": the second send sent again";
}

// 15. The help from the daily log's Help menu: its page, the contents, the page of the
// expenses window, whose ">>" link brings that window up; the contents again, whose "[]" link
// shows the daily log's help video. Links are followed with
// the keyboard (Tab to the link, Return), as a person may.
void Week::Help()
{
    ASSERT_NO_FATAL_FAILURE(Toolbar(1, kDaily));
    ASSERT_NO_FATAL_FAILURE(ChooseMenu(QStringLiteral("mnuHelp"), QStringLiteral("mnuHelp_Form"), kDaily));
    UiMap map = Expect(QStringLiteral("the help window on the daily log's page"), [](const UiMap &m) {
        return m.Text(QStringLiteral("frmHlp/WBr")).startsWith(QStringLiteral("Daily Time Log"));
    });
    ASSERT_FALSE(HasFailure());
    auto follow = [&](int tabs) {
        const UiItem *browser = desk->Map().Widget(QStringLiteral("frmHlp/WBr"));
        ASSERT_TRUE(browser);
        ASSERT_TRUE(desk->ClickAt(browser->rect.topLeft() + QPoint(browser->rect.width() - 12, 6)));
        ASSERT_TRUE(desk->Key(QStringLiteral("ctrl+Home")));
        for (int i = 0; i < tabs; ++i)
            ASSERT_TRUE(desk->Key(QStringLiteral("Tab")));
        ASSERT_TRUE(desk->Key(QStringLiteral("Return")));
    };
    // The daily log's page links to the contents (its fourth link), whose fifth link is the
    // expenses window's page.
    ASSERT_NO_FATAL_FAILURE(follow(4));
    Expect(QStringLiteral("the contents of the help"), [](const UiMap &m) {
        return m.Text(QStringLiteral("frmHlp/WBr")).contains(QStringLiteral("Help videos"));
    });
    ASSERT_FALSE(HasFailure());
    ASSERT_NO_FATAL_FAILURE(follow(5));
    Expect(QStringLiteral("the help page of the expenses window"), [](const UiMap &m) {
        return m.Text(QStringLiteral("frmHlp/WBr")).startsWith(QStringLiteral("Daily Expenses"));
    });
    ASSERT_FALSE(HasFailure());
    desk->Screenshot(step + QStringLiteral("-page"));
    ASSERT_NO_FATAL_FAILURE(follow(1));
    Expect(QStringLiteral("the expenses window in front after the \">>\" link"), [](const UiMap &m) {
        const UiItem *exp = m.Widget(kExp);
        return exp && exp->rect.width() > 0;
    });
    ASSERT_FALSE(HasFailure());
    ASSERT_NO_FATAL_FAILURE(ClickWidget(QStringLiteral("frmHlp/picBar/btnHome")));
    Expect(QStringLiteral("the contents again"), [](const UiMap &m) {
        return m.Text(QStringLiteral("frmHlp/WBr")).contains(QStringLiteral("Help videos"));
    });
    ASSERT_FALSE(HasFailure());
    // The ninth link: the video of the daily log.
    ASSERT_NO_FATAL_FAILURE(follow(9));
    Expect(QStringLiteral("the help video after the \"[]\" link"), [](const UiMap &m) { return m.Widget(QStringLiteral("frmVideo")) != nullptr; });
    ASSERT_FALSE(HasFailure());
    desk->Screenshot(step + QStringLiteral("-video"));
    rssAllWindowsKb = program->ResidentKb();
    RecordProperty("resident_kb_every_window_open", std::to_string(rssAllWindowsKb));
    std::cout << "resident memory with every window opened once: " << rssAllWindowsKb / 1024.0 << " MB\n";
    EXPECT_LT(rssAllWindowsKb, 80 * 1024) << "step " << step.toStdString() << ": resident memory";
}

// The service's yyyymmddhhmm of a time of a day: the minute rounded up from 30 seconds on.
static QString DayTime(const QString &dayKey, int secs)
{
    const int minutes = (secs + 30) / 60;
    return dayKey + QStringLiteral("%1%2").arg(minutes / 60, 2, 10, QLatin1Char('0')).arg(minutes % 60, 2, 10, QLatin1Char('0'));
}

void Week::StartAgain()
{
    ASSERT_NO_FATAL_FAILURE(StartProgram(program));
    UiMap map = Expect(QStringLiteral("the tray icon after the restart"),
                       [](const UiMap &m) { return m.Tray() && m.Tray()->rect.width() > 0; }, kLong);
    ASSERT_FALSE(HasFailure());
    // The program starts with the desktop: its main window waits in the tray; a double click
    // on the icon brings it up.
    ASSERT_NO_FATAL_FAILURE(OpenFromTray(map));
    Expect(QStringLiteral("the main window after the restart"), [](const UiMap &m) { return m.Widget(QStringLiteral("frmStart/frAct/btnStart")); }, kShort);
}

// 16. The program ended from the tray; the database holds exactly what the service received,
// every row sent. Started again, the daily log shows the day as it was.
void Week::Reopen()
{
    ASSERT_NO_FATAL_FAILURE(CloseFromTray());
    const QString today = QDate::currentDate().toString(QStringLiteral("yyyyMMdd"));
    const QList<QStringList> entries = Query(QStringLiteral(
        "SELECT CAST(d.cStarttime AS INTEGER), CAST(d.cSec AS INTEGER), CAST(d.cTaskID AS INTEGER), CAST(d.cCatID AS INTEGER), "
        "CAST(d.cChk AS INTEGER), CAST(d.cDate AS INTEGER), COALESCE(c.cComments, '') FROM tblDaily d LEFT JOIN tblDailyComments c "
        "ON c.cID = d.cID WHERE d.cStarted = 0 ORDER BY d.cDate, d.cStarttime;"));
    const QList<QStringList> expenses = Query(QStringLiteral(
        "SELECT cAmount, cPayee, CAST(cTaskID AS INTEGER), CAST(cExpID AS INTEGER), CAST(cChk AS INTEGER) FROM tblDailyExp;"));
    QString table;
    for (const QStringList &r : entries + expenses)
        table += r.join(QStringLiteral(" | ")) + QLatin1Char('\n');
    const std::string where = "step " + step.toStdString() + ": the database holds\n" + table.toStdString();
    ASSERT_EQ(entries.size(), 3) << where;   // yesterday's Design, today's corrected Design, the free-time entry
    ASSERT_EQ(expenses.size(), 2) << where;  // today's and the one two days back

    // What the service received, the last of each entry (an entry corrected after it was sent
    // is sent again with its new values).
    QList<QJsonObject> times, spent;
    for (const QJsonObject &r : service.received()) {
        const QJsonObject p = r.value(QStringLiteral("params")).toObject();
        (r.value(QStringLiteral("action")).toString() == QStringLiteral("addTime") ? times : spent) << p;
    }
    QStringList got;
    for (const QJsonObject &p : times)
        got << QStringList{p.value(QStringLiteral("start")).toString(), p.value(QStringLiteral("end")).toString(),
                           p.value(QStringLiteral("task")).toString(), p.value(QStringLiteral("tc")).toString(),
                           p.value(QStringLiteral("cmt")).toString()}.join(QLatin1Char(' '));
    // The send counts whole minutes: what ends in the minute of the send is not over yet.
    const auto endedBySend = [&](const QStringList &r) {
        return r[5] != today || r[0].toInt() + r[1].toInt() <= sendTime / 60 * 60;
    };
    // An entry that had not ended when it was sent (a free-time row up to the end of the
    // working day, later than the send) stays unsent; every other one was accepted.
    for (const QStringList &r : entries) {
        const QString line = QStringList{DayTime(r[5], r[0].toInt()), DayTime(r[5], r[0].toInt() + r[1].toInt()), r[2], r[3], r[6]}.join(QLatin1Char(' '));
        const bool ended = endedBySend(r);
        EXPECT_EQ(r[4], ended ? QStringLiteral("1") : QStringLiteral("0")) << where << "the send state of " << line.toStdString();
        EXPECT_EQ(got.contains(line), ended) << where << "received or not: " << line.toStdString() << "\nreceived:\n"
                                             << got.join(QLatin1Char('\n')).toStdString();
    }
    EXPECT_EQ(times.size(), std::count_if(entries.begin(), entries.end(), endedBySend)) << where << "the service received other entries too:\n" << got.join(QLatin1Char('\n')).toStdString();
    EXPECT_TRUE(std::any_of(entries.begin(), entries.end(), [](const QStringList &r) { return r[6] == kEntryComment; })) << where;
    // Both expenses as the service received them: texts decoded, amounts with a point
    // whatever the form on the desktop.
    ASSERT_EQ(spent.size(), 2) << where;
    const std::map<QString, QString> amounts{{kPayee, QStringLiteral("12.50")}, {kKiosk, QStringLiteral("14.50")}};
    for (const QJsonObject &p : spent) {
        const QString payee = p.value(QStringLiteral("payee")).toString();
        ASSERT_TRUE(amounts.count(payee)) << where << "a payee the person never typed: " << payee.toStdString();
        EXPECT_EQ(p.value(QStringLiteral("amount")).toString(), amounts.at(payee)) << where << payee.toStdString();
        EXPECT_EQ(p.value(QStringLiteral("task")).toString(), QString::number(kDesign.taskId)) << where;
    }
    EXPECT_NE(spent[0].value(QStringLiteral("payee")), spent[1].value(QStringLiteral("payee"))) << where;
    for (const QStringList &e : expenses) {
        EXPECT_TRUE(amounts.count(e[1])) << where;
        EXPECT_EQ(e[4], QStringLiteral("1")) << where << "the send state of " << e[1].toStdString();
    }

    // Started again: the day as it was left.
    ASSERT_NO_FATAL_FAILURE(StartAgain());
    ASSERT_FALSE(HasFailure());
    ASSERT_NO_FATAL_FAILURE(Toolbar(1, kDaily));
    Expect(QStringLiteral("the corrected Design entry and the free-time entry after the restart"), [&](const UiMap &m) {
        const int design = DailyRow(m, kDesign.category);
        return design >= 0 && CellText(m, kLog, design, 14) == Hms(correctedStart) && DailyRow(m, kMeeting.category) >= 0
               && DailyRow(m, kTravel.category) < 0;
    });
    ASSERT_FALSE(HasFailure());
    desk->Screenshot(step + QStringLiteral("-daily"));
    ASSERT_NO_FATAL_FAILURE(CloseFromTray());
}

// 17. Across midnight: last night's timer segment, stored on its start day with its length
// past 24:00 (23:00 for two hours), and today's entry 01:00 - 01:30 that the service already
// has; both are put into the database while the program is closed, as a run across midnight
// and another device leave them. The segment's end moved into today's entry is refused in the
// editor, moved past it the save refuses the span, and nothing is sent; back at 01:00 it is
// saved and sent with its end on the next day.
void Week::AcrossMidnight()
{
    const QDate day = QDate::currentDate();
    const QString yesterday = day.addDays(-1).toString(QStringLiteral("yyyyMMdd"));
    const QString today = day.toString(QStringLiteral("yyyyMMdd"));
    const QList<QStringList> users = Query(QStringLiteral("SELECT CAST(cUsrID AS INTEGER) FROM tblUsers;"));
    ASSERT_EQ(users.size(), 1) << "step " << step.toStdString();
    QString error;
    const QString insert = QStringLiteral(
        "INSERT INTO tblDaily (cName, cID, cUsrID, cStarted, cStarttime, cSec, cDate, cTaskID, cCatID, cChk) VALUES "
        "('%1', 900, %2, 0, 82800, 7200, %3, %4, %5, 0), ('%1', 901, %2, 0, 3600, 1800, %6, %4, %5, 1);")
                               .arg(kDesign.category, users[0][0], yesterday)
                               .arg(kDesign.taskId)
                               .arg(kDesign.categoryId)
                               .arg(today);
    ASSERT_TRUE(e2e::SqlCipher(programDir + QStringLiteral("/Tarv.crn"), modDBchr::DBPassword, insert, nullptr, &error))
        << "step " << step.toStdString() << ": " << error.toStdString();

    ASSERT_NO_FATAL_FAILURE(StartAgain());
    ASSERT_FALSE(HasFailure());
    ASSERT_NO_FATAL_FAILURE(Toolbar(1, kDaily));
    const auto segmentRow = [](const UiMap &m) {
        for (int r = 0; r < RowCount(m, kLog); ++r)
            if (CellText(m, kLog, r, 14) == QStringLiteral("23:00:00"))
                return r;
        return -1;
    };
    ASSERT_NO_FATAL_FAILURE(ClickWidget(QStringLiteral("frmDaily/btnNP_0")));
    UiMap map = Expect(QStringLiteral("yesterday with last night's segment"), [&](const UiMap &m) {
        const int r = segmentRow(m);
        return r >= 0 && CellText(m, kLog, r, 15) == QStringLiteral("01:00:00");
    });
    ASSERT_FALSE(HasFailure());
    ASSERT_NO_FATAL_FAILURE(ClickCell(kLog, segmentRow(map), 2));
    Expect(QStringLiteral("the segment in the editor"), [](const UiMap &m) {
        return m.Text(QStringLiteral("frmDaily/frEdit/txtStart")) == QStringLiteral("23:00:00")
               && m.Text(QStringLiteral("frmDaily/frEdit/txtEnd")) == QStringLiteral("01:00:00");
    });
    ASSERT_FALSE(HasFailure());
    const int sentBefore = Uploads(service.requests());

    // 01:15 lies inside today's entry: the end goes back.
    ASSERT_NO_FATAL_FAILURE(PickDailyTime(QStringLiteral("lblEnd"), 3600 + 900));
    ASSERT_NO_FATAL_FAILURE(AnswerBox(370, QStringLiteral("btnOK"), step + QStringLiteral("-end-refused")));
    Expect(QStringLiteral("the end back at 01:00"), [](const UiMap &m) {
        return !m.Widget(QStringLiteral("FMessage")) && m.Text(QStringLiteral("frmDaily/frEdit/txtEnd")) == QStringLiteral("01:00:00");
    });
    ASSERT_FALSE(HasFailure());

    // 01:45 covers today's entry: the save refuses the span.
    ASSERT_NO_FATAL_FAILURE(PickDailyTime(QStringLiteral("lblEnd"), 3600 + 2700));
    Expect(QStringLiteral("the end at 01:45"), [](const UiMap &m) {
        return !m.Widget(QStringLiteral("FMessage")) && m.Text(QStringLiteral("frmDaily/frEdit/txtEnd")) == QStringLiteral("01:45");
    });
    ASSERT_FALSE(HasFailure());
    ASSERT_NO_FATAL_FAILURE(ClickWidget(QStringLiteral("frmDaily/btnSave")));
    ASSERT_NO_FATAL_FAILURE(AnswerBox(1005, QStringLiteral("btnOK"), step + QStringLiteral("-span-refused")));
    EXPECT_EQ(Uploads(service.requests()), sentBefore) << "step " << step.toStdString() << ": the overlapping span was sent";

    // Back at 01:00: saved, and sent at once with its end on the next day.
    ASSERT_NO_FATAL_FAILURE(PickDailyTime(QStringLiteral("lblEnd"), 3600));
    Expect(QStringLiteral("the end at 01:00"), [](const UiMap &m) {
        return !m.Widget(QStringLiteral("FMessage")) && m.Text(QStringLiteral("frmDaily/frEdit/txtEnd")) == QStringLiteral("01:00");
    });
    ASSERT_FALSE(HasFailure());
    ASSERT_NO_FATAL_FAILURE(ClickWidget(QStringLiteral("frmDaily/btnSave")));
    Expect(QStringLiteral("the segment saved and sent"), [&](const UiMap &m) {
        const UiItem *save = m.Widget(QStringLiteral("frmDaily/btnSave"));
        return save && !save->enabled && !m.Widget(QStringLiteral("FMessage")) && Uploads(service.requests()) > sentBefore;
    }, kLong);
    ASSERT_FALSE(HasFailure());
    EXPECT_EQ(Uploads(service.requests()), sentBefore + 1) << "step " << step.toStdString();
    QStringList sent;
    for (const QJsonObject &r : service.received()) {
        const QJsonObject p = r.value(QStringLiteral("params")).toObject();
        if (r.value(QStringLiteral("action")).toString() == QStringLiteral("addTime")
            && p.value(QStringLiteral("start")).toString() == yesterday + QStringLiteral("2300"))
            sent << p.value(QStringLiteral("end")).toString();
    }
    EXPECT_EQ(sent, QStringList{DayTime(yesterday, 82800 + 7200)}) << "step " << step.toStdString() << ": what the service received";

    ASSERT_NO_FATAL_FAILURE(CloseFromTray());
    const QList<QStringList> rows = Query(QStringLiteral(
        "SELECT CAST(cID AS INTEGER), CAST(cStarttime AS INTEGER), CAST(cSec AS INTEGER), CAST(cChk AS INTEGER) FROM tblDaily "
        "WHERE cID IN (900, 901) ORDER BY cID;"));
    ASSERT_EQ(rows.size(), 2) << "step " << step.toStdString();
    EXPECT_EQ(rows[0].join(u' '), QStringLiteral("900 82800 7200 1")) << "step " << step.toStdString();
    EXPECT_EQ(rows[1].join(u' '), QStringLiteral("901 3600 1800 1")) << "step " << step.toStdString();
}

TEST_F(Week, APersonsWeekFromRecordingToSendingAndBack)
{
    const std::vector<std::pair<QString, std::function<void()>>> steps{
        {QStringLiteral("week-01-sign-in"), [&] { FirstStart(); }},
        {QStringLiteral("week-02-first-download"), [&] { FirstDownload(); }},
        {QStringLiteral("week-03-timers"), [&] { Timers(); }},
        {QStringLiteral("week-04-daily-correction"), [&] { DailyCorrection(); }},
        {QStringLiteral("week-05-free-time"), [&] { FreeTimeEntry(); }},
        {QStringLiteral("week-06-overlap-refused"), [&] { OverlapRefused(); }},
        {QStringLiteral("week-06b-refused-start-tree-pick"), [&] { RefusedStartTreePick(); }},
        {QStringLiteral("week-07-delete"), [&] { DeleteEntry(); }},
        {QStringLiteral("week-08-earlier-day"), [&] { EarlierDay(); }},
        {QStringLiteral("week-09-expenses"), [&] { Expenses(); }},
        {QStringLiteral("week-10-calculator"), [&] { Calculator(); }},
        {QStringLiteral("week-11-languages"), [&] { Languages(); }},
        {QStringLiteral("week-12-options"), [&] { Options(); }},
        {QStringLiteral("week-13-send-everything"), [&] { SendEverything(); }},
        {QStringLiteral("week-14-send-again"), [&] { SendAgain(); }},
        {QStringLiteral("week-15-help"), [&] { Help(); }},
        {QStringLiteral("week-16-reopen"), [&] { Reopen(); }},
        {QStringLiteral("week-17-across-midnight"), [&] { AcrossMidnight(); }},
    };
    for (const auto &[name, body] : steps)
        if (!RunStep(name, body))
            return;
}

} // namespace

int main(int argc, char **argv)
{
    return xtest::RunAllTestsOnX(argc, argv, {.windowManager = true, .trayHost = true});
}
