// The daily log window's commands through its real buttons, menus and keys, headless: the
// enabled state of each command in each row state, the new entry, deleting an entry, a day and
// every day, the calendar, the previous and next day, the questions before unsaved rows are
// dropped, the help entries, the busy state of the requests, and the captions in the four
// languages.
#include "tests/timelog/DailyFixture.h"

#include "core/RequestGuard.h"
#include "core/frmMain.h"
#include "core/modMain.h"
#include "options_help/frmHlp.h"
#include "options_help/frmVideo.h"
#include "platform/dao/dao.h"
#include "platform/forms/Forms.h"
#include "resources/Pictures.h"
#include "store/modDBchr.h"
#include "tests/support/TestEnv.h"
#include "timelog/DailyRules.h"
#include "timelog/frmCal.h"
#include "timelog/frmDaily.h"

#include <QAction>
#include <QApplication>
#include <QCalendarWidget>
#include <QFile>
#include <QGroupBox>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSet>
#include <QTest>
#include <QTimer>
#include <QToolButton>

using namespace modMain;
using namespace dailyrules;
using dailytest::DailyTest;
using frametest::BoxText;
using frametest::BoxWatcher;

namespace {

constexpr double H = 3600;

class DailyCommandsTest : public DailyTest {
protected:
    void SetUp() override
    {
        DailyTest::SetUp();
        IsConnected = false;
    }
    void TearDown() override
    {
        IsConnected = false;
        frmVideo::Unload();
        frmHlp::Unload();
        DailyTest::TearDown();
    }

    // A menu dropped down and closed again, as the person opens it: its entries take their state.
    static void Drop(QMenu *menu)
    {
        menu->popup(QPoint(0, 0));
        menu->hide();
    }
    static QString Cell(frmDaily *w, int r, int c) { return w->lstLog->TextMatrix(r, c); }
    static void ShowFreeTime(frmDaily *w, bool on)
    {
        if (w->mnuLogs_FreeBusy->isChecked() != on)
            w->mnuLogs_FreeBusy->trigger();
    }
    static QString Status() { return frmMain::Get()->lblMsg->Caption().trimmed(); }
    static QString DayText(int32_t key) { return ShortDateText(LongToDate(key)); }
    static QStringList Days(frmDaily *w)
    {
        QStringList out;
        for (int i = 0; i < w->cmbDays->ListCount(); ++i)
            out << QString::number(w->cmbDays->ItemData(i));
        return out;
    }
    int32_t DaysAgo(int n) const { return DateToLong(QDate::currentDate().addDays(-n)); }
};

// ---- the enabled state of every command in each row state ---------------------------------------

TEST_F(DailyCommandsTest, EachCommandsStateFollowsTheRowState)
{
    Entry(1, m_yesterday, 9 * H, H);                       // saved, not sent
    Entry(2, m_yesterday, 11 * H, H, QString(), 1);        // accepted by the service
    Entry(3, m_yesterday, 13 * H, H);                      // edited below
    struct State {
        const char *name;
        int row;               // -1: the day just shown, no row opened (the current row is row 0)
        bool save, del, synchItem;
    } states[] = {
        {"none", -1, false, false, true},
        {"saved", 0, false, true, true},
        {"free time", 1, false, false, false},
        {"sent", 2, false, false, false},
        {"edited", 4, true, true, true},
    };
    for (bool online : {false, true}) {
        IsConnected = online;
        frmDaily::Unload();
        frmDaily *w = Open();
        ShowDay(w, m_yesterday);
        ShowFreeTime(w, true);
        ASSERT_EQ(Rows(w), QStringLiteral("09:00:00-10:00:00 +10:00:00-11:00:00 11:00:00-12:00:00 +12:00:00-13:00:00 "
                                          "13:00:00-14:00:00 +14:00:00-17:00:00"));
        for (const State &s : states) {
            SCOPED_TRACE(std::string(s.name) + (online ? " online" : " offline"));
            if (s.row >= 0)
                ClickRow(w, s.row);
            if (s.row == 4)
                w->txtComments->setPlainText(QStringLiteral("edited"));
            EXPECT_EQ(w->btnSave->isEnabled(), s.save);
            EXPECT_EQ(w->mnuLogs_Save->isEnabled(), s.save);
            EXPECT_EQ(w->btnDel->isEnabled(), s.del);
            EXPECT_EQ(w->mnuLogs_Del->isEnabled(), s.del);
            EXPECT_TRUE(w->btnAdd->isEnabled());
            Drop(w->mnuLogs);
            EXPECT_TRUE(w->mnuLogs_DelAll->isEnabled());
            EXPECT_TRUE(w->mnuLogs_Add->isEnabled());
            Drop(w->mnuDays);
            EXPECT_TRUE(w->mnuDays_DelAll->isEnabled());
            EXPECT_TRUE(w->mnuDays_Del->isEnabled());
            Drop(w->mnuSynch);
            EXPECT_EQ(w->mnuSynch_Item->isEnabled(), online && s.synchItem);
            EXPECT_EQ(w->mnuSynch_Day->isEnabled(), online);
        }
    }
}

TEST_F(DailyCommandsTest, AnEmptyDayHasNothingToDeleteOrSend)
{
    frmDaily *w = Open();
    IsConnected = true;
    ASSERT_EQ(w->lstLog->Rows(), 0);
    Drop(w->mnuLogs);
    EXPECT_FALSE(w->mnuLogs_DelAll->isEnabled());
    Drop(w->mnuDays);
    EXPECT_FALSE(w->mnuDays_DelAll->isEnabled());
    EXPECT_TRUE(w->mnuDays_Add->isEnabled());
    EXPECT_TRUE(w->mnuDays_Del->isEnabled());
    Drop(w->mnuSynch);
    EXPECT_FALSE(w->mnuSynch_Item->isEnabled());
    EXPECT_TRUE(w->mnuSynch_Day->isEnabled());

    // A new row: Save waits for its task, Delete and the single send stay off.
    w->btnAdd->click();
    ASSERT_EQ(w->lstLog->Rows(), 1);
    EXPECT_FALSE(w->btnSave->isEnabled());
    EXPECT_FALSE(w->btnDel->isEnabled());
    Drop(w->mnuSynch);
    EXPECT_FALSE(w->mnuSynch_Item->isEnabled());
    Drop(w->mnuLogs);
    EXPECT_TRUE(w->mnuLogs_DelAll->isEnabled());
}

// ---- new entry ----------------------------------------------------------------------------------

TEST_F(DailyCommandsTest, ANewEntryFollowsTheLastEntryForAnHourAtMost)
{
    struct Case {
        double start, sec;
        const char *newStart, *newEnd;
    } cases[] = {
        {22.5 * H, H, "23:30:00", "23:59:59"},
        {9 * H, H, "10:00:00", "11:00:00"},
        {23 * H, H - 1, "23:59:59", "23:59:59"},
        {23 * H, 2 * H, "23:59:59", "23:59:59"},   // past midnight: nothing of the day is left
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.newStart);
        DB->Execute(QStringLiteral("DELETE FROM tblDaily"));
        Entry(1, m_yesterday, 8 * H, 600);
        Entry(2, m_yesterday, c.start, c.sec);
        frmDaily::Unload();
        frmDaily *w = Open();
        ShowDay(w, m_yesterday);
        w->mnuLogs_Add->trigger();
        ASSERT_EQ(w->lstLog->Rows(), 3);
        EXPECT_EQ(Cell(w, 2, ColStartText), QLatin1String(c.newStart));
        EXPECT_EQ(Cell(w, 2, ColEndText), QLatin1String(c.newEnd));
        EXPECT_EQ(Cell(w, 2, ColID), QString());
        EXPECT_EQ(Cell(w, 2, ColName), GetLangString(255, false));
        EXPECT_EQ(w->lstLog->Row(), 2);
        EXPECT_TRUE(w->MyTree->isVisible());
        EXPECT_EQ(w->txtStart->text(), QLatin1String(c.newStart));
        EXPECT_FALSE(w->btnSave->isEnabled());
        EXPECT_TRUE(frametest::SamePicture(w->lstLog->CellPictureAt(2, ColPicture), res::Picture(QStringLiteral("PLUS"))));

        // The command again opens the same unsaved row instead of adding one.
        w->btnAdd->click();
        EXPECT_EQ(w->lstLog->Rows(), 3);
        EXPECT_EQ(w->lstLog->Row(), 2);
    }
}

TEST_F(DailyCommandsTest, ANewEntryOnAnEmptyDaySpansTheWorkingDayAndOpensThePicker)
{
    frmDaily *w = Open();
    ASSERT_EQ(w->lstLog->Rows(), 0);
    w->btnAdd->click();
    ASSERT_EQ(w->lstLog->Rows(), 1);
    EXPECT_EQ(Rows(w), QStringLiteral("+09:00:00-17:00:00"));
    EXPECT_EQ(w->txtStart->text(), QStringLiteral("09:00:00"));
    EXPECT_EQ(w->txtEnd->text(), QStringLiteral("17:00:00"));
    EXPECT_TRUE(w->picPicker->isVisible()) << "the picker opens on the start";
    EXPECT_EQ(w->PickerBox, w->txtStart);
    EXPECT_TRUE(w->txtComments->isEnabled());
    EXPECT_TRUE(w->NewEntryMode);

    // Turned into an entry inside the working day and saved.
    w->lblExit_Click();
    w->txtStart->setText(QStringLiteral("10:00"));
    w->txtEnd->setText(QStringLiteral("11:30"));
    w->MyTree_NodeClick(Category(w, QStringLiteral("100")));
    w->btnSave->click();
    EXPECT_EQ(Count(QStringLiteral("SELECT COUNT(*) FROM tblDaily WHERE cStarttime = 36000 AND cSec = 5400 AND cDate = %1").arg(m_today)), 1);
}

TEST_F(DailyCommandsTest, ANewEntryTakesTheFirstFreeRowAndNeedsADay)
{
    Entry(1, m_today, 10 * H, H);
    frmDaily *w = Open();
    ShowFreeTime(w, true);
    ASSERT_EQ(Rows(w), QStringLiteral("+09:00:00-10:00:00 10:00:00-11:00:00 +11:00:00-17:00:00"));
    w->btnAdd->click();
    EXPECT_EQ(w->lstLog->Rows(), 3) << "nothing added";
    EXPECT_EQ(w->lstLog->Row(), 0);
    EXPECT_EQ(w->txtStart->text(), QStringLiteral("09:00:00"));

    BoxWatcher boxes;
    w->lblDay->SetCaption(QString());
    w->btnAdd->click();
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].text, BoxText(364));
    EXPECT_EQ(boxes.Boxes()[0].icon, 16);
}

// ---- deleting one entry ----------------------------------------------------------------------------

TEST_F(DailyCommandsTest, DeleteAsksAndCancelKeepsTheEntry)
{
    Entry(1, m_today, 10 * H, H, QStringLiteral("keep"));
    Entry(2, m_today, 12 * H, H);
    frmDaily *w = Open();
    ClickRow(w, 0);
    {
        BoxWatcher boxes;
        boxes.Answer(QStringLiteral("btnCancel"));
        w->btnDel->click();
        ASSERT_EQ(boxes.Boxes().size(), 1u);
        EXPECT_EQ(boxes.Boxes()[0].text, BoxText(1034));
        EXPECT_EQ(w->lstLog->Rows(), 2);
        EXPECT_EQ(Count(QStringLiteral("SELECT COUNT(*) FROM tblDaily")), 2);
        EXPECT_TRUE(w->btnDel->isEnabled()) << "the editor still shows the entry";
    }
    {
        BoxWatcher boxes;
        boxes.Answer(QStringLiteral("btnOK"));
        w->mnuLogs_Del->trigger();
        ASSERT_EQ(boxes.Boxes().size(), 1u);
        EXPECT_EQ(w->lstLog->Rows(), 1);
        EXPECT_EQ(Cell(w, 0, ColID), QStringLiteral("2"));
        EXPECT_EQ(Count(QStringLiteral("SELECT COUNT(*) FROM tblDaily WHERE cID = 1")), 0);
        EXPECT_EQ(CommentOf(1), QStringLiteral("<none>"));
        EXPECT_FALSE(w->btnDel->isEnabled());
        EXPECT_FALSE(w->btnSave->isEnabled());
        EXPECT_FALSE(w->txtComments->isEnabled());
        EXPECT_FALSE(w->btnDown->isEnabled());
        EXPECT_EQ(w->txtStart->text(), QString());
    }
}

TEST_F(DailyCommandsTest, DeletingWithFreeTimeShownMakesTheFreeRowsAgainAndKeepsEdits)
{
    Entry(1, m_today, 10 * H, H);
    Entry(2, m_today, 12 * H, H);
    Entry(3, m_today, 14 * H, H);
    frmDaily *w = Open();
    ShowFreeTime(w, true);
    ASSERT_EQ(Rows(w), QStringLiteral("+09:00:00-10:00:00 10:00:00-11:00:00 +11:00:00-12:00:00 12:00:00-13:00:00 "
                                      "+13:00:00-14:00:00 14:00:00-15:00:00 +15:00:00-17:00:00"));
    // The last entry edited, not saved; the middle one deleted.
    ClickRow(w, 5);
    w->txtComments->setPlainText(QStringLiteral("not saved yet"));
    ClickRow(w, 3);
    BoxWatcher boxes;
    w->btnDel->click();
    EXPECT_EQ(Rows(w), QStringLiteral("+09:00:00-10:00:00 10:00:00-11:00:00 +11:00:00-14:00:00 14:00:00-15:00:00 "
                                      "+15:00:00-17:00:00"));
    EXPECT_EQ(Cell(w, 3, ColComment), QStringLiteral("not saved yet"));
    EXPECT_EQ(Cell(w, 3, ColChanged), QStringLiteral("True"));
    EXPECT_EQ(boxes.Boxes().size(), 1u) << "only the question";
}

TEST_F(DailyCommandsTest, AFailedDeleteIsToldAndTheEntryStays)
{
    Entry(1, m_today, 10 * H, H);
    frmDaily *w = Open();
    DB->Execute(QStringLiteral("CREATE TRIGGER no_delete BEFORE DELETE ON tblDaily BEGIN SELECT RAISE(ABORT, 'disk is full'); END"));
    ClickRow(w, 0);
    BoxWatcher boxes;
    w->btnDel->click();
    ASSERT_EQ(boxes.Boxes().size(), 2u);
    EXPECT_TRUE(boxes.Boxes()[1].text.startsWith(BoxText(1033))) << boxes.Boxes()[1].text.toStdString();
    EXPECT_TRUE(boxes.Boxes()[1].text.contains(QStringLiteral("disk is full")));
    EXPECT_EQ(boxes.Boxes()[1].icon, 16);
    EXPECT_EQ(w->lstLog->Rows(), 1);
    EXPECT_EQ(Count(QStringLiteral("SELECT COUNT(*) FROM tblDaily")), 1);
}

// ---- deleting all entries of the day, a day, every day ---------------------------------------------

TEST_F(DailyCommandsTest, DeleteAllOfTheDay)
{
    Entry(1, m_today, 10 * H, H, QStringLiteral("c1"));
    Entry(2, m_today, 12 * H, H, QStringLiteral("c2"), 1);
    Entry(3, m_yesterday, 12 * H, H, QStringLiteral("other day"));
    Entry(4, m_today, 7 * H, 0, QString(), 0, 2);   // a timer parked today stays
    frmDaily *w = Open();
    ASSERT_EQ(w->lstLog->Rows(), 2);
    {
        BoxWatcher boxes;
        boxes.Answer(QStringLiteral("btnCancel"));
        Drop(w->mnuLogs);
        w->mnuLogs_DelAll->trigger();
        ASSERT_EQ(boxes.Boxes().size(), 1u);
        EXPECT_EQ(boxes.Boxes()[0].text, BoxText(366));
        EXPECT_EQ(boxes.Boxes()[0].icon, 48);
        EXPECT_EQ(w->lstLog->Rows(), 2);
        EXPECT_EQ(Count(QStringLiteral("SELECT COUNT(*) FROM tblDaily")), 4);
    }
    ShowFreeTime(w, true);
    {
        BoxWatcher boxes;
        boxes.Answer(QStringLiteral("btnOK"));
        w->mnuLogs_DelAll->trigger();
        EXPECT_EQ(Rows(w), QStringLiteral("+09:00:00-17:00:00")) << "the empty day's free row";
        EXPECT_EQ(Count(QStringLiteral("SELECT COUNT(*) FROM tblDaily WHERE cDate = %1 AND cStarted = 0").arg(m_today)), 0);
        EXPECT_EQ(Count(QStringLiteral("SELECT COUNT(*) FROM tblDaily WHERE cStarted = 2")), 1);
        EXPECT_EQ(CommentOf(1), QStringLiteral("<none>"));
        EXPECT_EQ(CommentOf(3), QStringLiteral("other day"));
        EXPECT_EQ(w->cmbDays->Text(), DayText(m_today)) << "the day stays in the list";
        EXPECT_EQ(w->lblDay->Caption(), DayText(m_today));
        EXPECT_FALSE(w->lblStart->isEnabled());
        EXPECT_FALSE(w->txtComments->isEnabled());
    }
    {
        // Nothing left to select.
        ShowFreeTime(w, false);
        ASSERT_EQ(w->lstLog->Rows(), 0);
        BoxWatcher boxes;
        w->mnuLogs_DelAll->trigger();
        ASSERT_EQ(boxes.Boxes().size(), 1u);
        EXPECT_EQ(boxes.Boxes()[0].text, BoxText(350));
        EXPECT_EQ(boxes.Boxes()[0].icon, 16);
    }
}

TEST_F(DailyCommandsTest, AFailedDayDeleteIsToldAndTheGridShowsWhatIsStored)
{
    Entry(1, m_today, 10 * H, H, QStringLiteral("c1"));
    Entry(2, m_today, 12 * H, H);
    frmDaily *w = Open();
    ClickRow(w, 0);
    w->txtComments->setPlainText(QStringLiteral("edited"));
    DB->Execute(QStringLiteral("CREATE TRIGGER no_delete BEFORE DELETE ON tblDaily BEGIN SELECT RAISE(ABORT, 'disk is full'); END"));
    for (QAction *command : {w->mnuLogs_DelAll, w->mnuDays_Del, w->mnuDays_DelAll}) {
        SCOPED_TRACE(command->objectName().toStdString());
        BoxWatcher boxes;
        boxes.Answer(QStringLiteral("btnOK"));
        command->trigger();
        ASSERT_EQ(boxes.Boxes().size(), 2u);
        EXPECT_TRUE(boxes.Boxes()[1].text.startsWith(BoxText(1033))) << boxes.Boxes()[1].text.toStdString();
        EXPECT_EQ(Count(QStringLiteral("SELECT COUNT(*) FROM tblDaily")), 2);
        ASSERT_EQ(w->lstLog->Rows(), 2);
        EXPECT_EQ(Cell(w, 0, ColComment), CommentOf(1)) << "the grid holds what the database holds";
        EXPECT_EQ(w->lblDay->Caption(), DayText(m_today));
        EXPECT_EQ(Days(w), QStringList{QString::number(m_today)});
    }
}

TEST_F(DailyCommandsTest, DeleteTheShownDay)
{
    Entry(1, m_yesterday, 10 * H, H, QStringLiteral("gone"));
    Entry(2, m_today, 12 * H, H);
    frmDaily *w = Open();
    ShowDay(w, m_yesterday);
    {
        BoxWatcher boxes;
        boxes.Answer(QStringLiteral("btnCancel"));
        w->btnDelDate->click();
        ASSERT_EQ(boxes.Boxes().size(), 1u);
        EXPECT_EQ(boxes.Boxes()[0].text, BoxText(351));
        EXPECT_EQ(Count(QStringLiteral("SELECT COUNT(*) FROM tblDaily")), 2);
    }
    {
        BoxWatcher boxes;
        w->btnDelDate->click();
        EXPECT_EQ(Count(QStringLiteral("SELECT COUNT(*) FROM tblDaily")), 1);
        EXPECT_EQ(CommentOf(1), QStringLiteral("<none>"));
        EXPECT_EQ(w->lstLog->Rows(), 0);
        EXPECT_EQ(w->lblDay->Caption(), QString());
        EXPECT_EQ(Days(w), QStringList{QString::number(m_today)}) << "today once, from its entries";
        EXPECT_FALSE(w->txtComments->isEnabled());
        EXPECT_FALSE(w->btnNP[0]->isEnabled());
    }
    {
        // Without a day there is nothing to delete, and the picker cannot open.
        BoxWatcher boxes;
        w->mnuDays_Del->trigger();
        w->lblStart_Click();
        ASSERT_EQ(boxes.Boxes().size(), 2u);
        EXPECT_EQ(boxes.Boxes()[0].text, BoxText(350));
        EXPECT_EQ(boxes.Boxes()[1].text, BoxText(364));
    }
    // Today deleted: today is listed once all the same.
    ShowDay(w, m_today);
    {
        BoxWatcher boxes;
        w->mnuDays_Del->trigger();
        EXPECT_EQ(Days(w), QStringList{QString::number(m_today)});
        EXPECT_EQ(Count(QStringLiteral("SELECT COUNT(*) FROM tblDaily")), 0);
    }
}

TEST_F(DailyCommandsTest, DeleteAllDays)
{
    Entry(1, DaysAgo(3), 10 * H, H, QStringLiteral("c"));
    Entry(2, m_today, 12 * H, H);
    Entry(3, m_today, 7 * H, 0, QString(), 0, 1);   // the running timer stays
    frmDaily *w = Open();
    {
        BoxWatcher boxes;
        boxes.Answer(QStringLiteral("btnCancel"));
        Drop(w->mnuDays);
        ASSERT_TRUE(w->mnuDays_DelAll->isEnabled());
        w->mnuDays_DelAll->trigger();
        ASSERT_EQ(boxes.Boxes().size(), 1u);
        EXPECT_EQ(boxes.Boxes()[0].text, BoxText(352));
        EXPECT_EQ(boxes.Boxes()[0].icon, 48);
        EXPECT_EQ(Count(QStringLiteral("SELECT COUNT(*) FROM tblDaily")), 3);
    }
    BoxWatcher boxes;
    w->mnuDays_DelAll->trigger();
    EXPECT_EQ(Count(QStringLiteral("SELECT COUNT(*) FROM tblDaily")), 1);
    EXPECT_EQ(Count(QStringLiteral("SELECT COUNT(*) FROM tblDailyComments")), 0);
    EXPECT_EQ(w->lstLog->Rows(), 0);
    EXPECT_EQ(w->lblDay->Caption(), QString());
    EXPECT_EQ(Days(w), QStringList{QString::number(m_today)});
    // Choosing today again shows it (empty).
    ShowDay(w, m_today);
    EXPECT_EQ(w->lblDay->Caption(), DayText(m_today));
    EXPECT_TRUE(w->btnNP[1]->isEnabled());
}

// ---- days: the calendar, previous and next ---------------------------------------------------------

TEST_F(DailyCommandsTest, ADayFromTheCalendarJoinsTheList)
{
    Entry(1, m_today, 12 * H, H);
    frmDaily *w = Open();
    const QDate day = QDate::currentDate().addDays(-20);
    bool ran = false;
    QTimer::singleShot(0, [&] {
        frmCal *cal = frmCal::Peek();
        ASSERT_TRUE(cal);
        ASSERT_TRUE(testenv::WaitFor([&] { return cal->isVisible(); }));
        ran = true;
        cal->MyCal->setSelectedDate(day);
        cal->btnOK->click();
    });
    w->btnNewDate->click();
    EXPECT_TRUE(ran);
    EXPECT_EQ(w->lblDay->Caption(), ShortDateText(day));
    EXPECT_EQ(forms::Tag(w->lblDay), QString::number(DateToLong(day)));
    EXPECT_EQ(Days(w), (QStringList{QString::number(m_today), QString::number(DateToLong(day))}));
    EXPECT_EQ(w->cmbDays->ListIndex(), 1);
    EXPECT_EQ(w->lstLog->Rows(), 0);
    EXPECT_EQ(frmCal::Peek(), nullptr);
}

TEST_F(DailyCommandsTest, PreviousAndNextSkipDaysWithoutEntries)
{
    const int32_t d10 = DaysAgo(10), d5 = DaysAgo(5);
    Entry(1, d10, 10 * H, H);
    Entry(2, d5, 10 * H, H);
    Entry(3, DaysAgo(7), 7 * H, 0, QString(), 0, 2);   // a parked timer is no entry
    frmDaily *w = Open();
    ASSERT_EQ(forms::Tag(w->lblDay), QString::number(m_today));
    const QStringList listed = Days(w);
    struct Step {
        int button;
        int32_t day;
    } steps[] = {{0, d5}, {0, d10}, {0, d10}, {1, d5}, {1, m_today}, {1, m_today}};
    for (const Step &s : steps) {
        w->btnNP[size_t(s.button)]->click();
        EXPECT_EQ(forms::Tag(w->lblDay), QString::number(s.day)) << s.button;
        EXPECT_EQ(w->cmbDays->Text(), DayText(s.day));
        EXPECT_EQ(w->lstLog->Rows(), s.day == m_today ? 0 : 1);
    }
    EXPECT_EQ(Days(w), listed) << "nothing was added to the list";

    // A day from the calendar that has no entries: the next day with entries, and back to today.
    w->lblDay->SetCaption(DayText(DaysAgo(30)));
    w->btnNP[1]->click();
    EXPECT_EQ(forms::Tag(w->lblDay), QString::number(d10));
}

// ---- unsaved rows ---------------------------------------------------------------------------------

TEST_F(DailyCommandsTest, SwitchingDaysAndFreeTimeAskBeforeUnsavedRowsAreDropped)
{
    Entry(1, m_yesterday, 10 * H, H);
    Entry(2, m_today, 12 * H, H);
    frmDaily *w = Open();
    ClickRow(w, 0);
    w->txtComments->setPlainText(QStringLiteral("unsaved"));
    const QString question = BoxText(1881);

    struct Switch {
        const char *name;
        std::function<void()> run;
    } switches[] = {
        {"day list", [&] { w->cmbDays->SetListIndex(FindComboData(m_yesterday, w->cmbDays)); }},
        {"previous day", [&] { w->btnNP[0]->click(); }},
        {"calendar", [&] { w->mnuDays_Add->trigger(); }},   // No: the calendar does not open
        {"free time off", [&] {
             ShowFreeTime(w, false);
             EXPECT_TRUE(w->mnuLogs_FreeBusy->isChecked());
         }},
    };
    ShowFreeTime(w, true);   // adds free rows around the rows as they stand: nothing dropped, no question
    ClickRow(w, 1);
    ASSERT_EQ(Cell(w, 1, ColComment), QStringLiteral("unsaved"));
    for (const Switch &s : switches) {
        SCOPED_TRACE(s.name);
        BoxWatcher boxes;
        boxes.Answer(QStringLiteral("btnNo"));
        s.run();
        ASSERT_EQ(boxes.Boxes().size(), 1u);
        EXPECT_EQ(boxes.Boxes()[0].text, question);
        EXPECT_EQ(boxes.Boxes()[0].icon, 32);
        EXPECT_EQ(frmCal::Peek(), nullptr);
        EXPECT_EQ(Cell(w, 1, ColComment), QStringLiteral("unsaved"));
        EXPECT_EQ(forms::Tag(w->lblDay), QString::number(m_today));
        EXPECT_EQ(w->cmbDays->Text(), DayText(m_today));
        EXPECT_EQ(w->CheckChanged(), 1);
    }
    // Yes drops them: the list's day is shown.
    BoxWatcher boxes;
    boxes.Answer(QStringLiteral("btnYes"));
    w->btnNP[0]->click();
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(forms::Tag(w->lblDay), QString::number(m_yesterday));
    EXPECT_EQ(w->CheckChanged(), 0);
    EXPECT_EQ(Count(QStringLiteral("SELECT COUNT(*) FROM tblDailyComments")), 0);
}

TEST_F(DailyCommandsTest, CloseAsksOnlyWithUnsavedRows)
{
    Entry(1, m_today, 10 * H, H);
    Entry(2, m_today, 12 * H, H);
    {
        frmDaily *w = Open();
        BoxWatcher boxes;
        w->btnExit->click();
        EXPECT_TRUE(testenv::WaitFor([] { return frmDaily::Peek() == nullptr; }));
        EXPECT_TRUE(boxes.Boxes().empty());
        EXPECT_FALSE(FormLoaded[fiDaily]);
    }
    {
        frmDaily *w = Open();
        ClickRow(w, 0);
        w->txtComments->setPlainText(QStringLiteral("a"));
        ClickRow(w, 1);
        w->txtComments->setPlainText(QStringLiteral("b"));
        BoxWatcher boxes;
        boxes.Answer(QStringLiteral("btnNo"));
        w->btnExit->click();
        testenv::WaitFor([] { return false; }, 50);
        ASSERT_EQ(boxes.Boxes().size(), 1u);
        EXPECT_EQ(boxes.Boxes()[0].text, BoxText(360) + QStringLiteral(" 2 ") + BoxText(361));
        EXPECT_EQ(frmDaily::Peek(), w);
        EXPECT_EQ(w->CheckChanged(), 2) << "both rows stay marked";
        // The menu's close entry asks the same; Yes closes and drops the edits.
        boxes.Answer(QStringLiteral("btnYes"));
        w->mnuLogs_Exit->trigger();
        EXPECT_TRUE(testenv::WaitFor([] { return frmDaily::Peek() == nullptr; }));
        ASSERT_EQ(boxes.Boxes().size(), 2u);
        EXPECT_EQ(Count(QStringLiteral("SELECT COUNT(*) FROM tblDailyComments")), 0);
    }
}

TEST_F(DailyCommandsTest, SavingOneEntryKeepsTheOtherRowsUnsavedEdits)
{
    Entry(1, m_today, 10 * H, H, QStringLiteral("stored"));
    Entry(2, m_today, 12 * H, H);
    frmDaily *w = Open();
    ClickRow(w, 0);
    w->txtComments->setPlainText(QStringLiteral("edited, not saved"));
    w->btnAdd->click();   // a new row after the last entry, its task chosen
    w->MyTree_NodeClick(Category(w, QStringLiteral("100")));
    ClickRow(w, 1);
    w->txtComments->setPlainText(QStringLiteral("saved"));
    BoxWatcher boxes;
    w->btnSave->click();
    EXPECT_TRUE(boxes.Boxes().empty());
    EXPECT_EQ(CommentOf(2), QStringLiteral("saved"));
    EXPECT_EQ(CommentOf(1), QStringLiteral("stored"));
    ASSERT_EQ(w->lstLog->Rows(), 3);
    EXPECT_EQ(Cell(w, 0, ColComment), QStringLiteral("edited, not saved"));
    EXPECT_EQ(Cell(w, 0, ColChanged), QStringLiteral("True"));
    EXPECT_EQ(Cell(w, 1, ColChanged), QString());
    EXPECT_EQ(Cell(w, 2, ColID), QString()) << "the new row is still there, not saved";
    EXPECT_EQ(Cell(w, 2, ColStartText), QStringLiteral("13:00:00"));
    EXPECT_EQ(w->CheckChanged(), 2);
}

// ---- keys -----------------------------------------------------------------------------------------

TEST_F(DailyCommandsTest, EnterOpensTheRowAndDeleteDeletesItAfterAsking)
{
    Entry(1, m_today, 10 * H, H, QStringLiteral("first"));
    Entry(2, m_today, 12 * H, H, QStringLiteral("second"));
    frmDaily *w = Open();
    w->lstLog->setFocus();
    ClickRow(w, 0);
    ASSERT_EQ(w->txtComments->toPlainText(), QStringLiteral("first"));
    // An arrow key leaves the row: the editor closes, so no edit can reach the row it left.
    QTest::keyClick(w->lstLog, Qt::Key_Down);
    testenv::WaitFor([] { return false; }, 30);
    ASSERT_EQ(w->lstLog->Row(), 1);
    EXPECT_EQ(w->txtComments->toPlainText(), QString());
    EXPECT_FALSE(w->txtComments->isEnabled());
    EXPECT_FALSE(w->btnDel->isEnabled());
    QTest::keyClick(w->lstLog, Qt::Key_Return);
    EXPECT_EQ(w->txtComments->toPlainText(), QStringLiteral("second"));
    EXPECT_TRUE(w->btnDel->isEnabled());

    {
        BoxWatcher boxes;
        boxes.Answer(QStringLiteral("btnCancel"));
        QTest::keyClick(w->lstLog, Qt::Key_Delete);
        ASSERT_EQ(boxes.Boxes().size(), 1u);
        EXPECT_EQ(boxes.Boxes()[0].text, BoxText(1034));
        EXPECT_EQ(w->lstLog->Rows(), 2);
    }
    {
        // Delete on a row not opened yet opens it first, then asks.
        QTest::keyClick(w->lstLog, Qt::Key_Up);
        testenv::WaitFor([] { return false; }, 30);
        BoxWatcher boxes;
        boxes.Answer(QStringLiteral("btnOK"));
        QTest::keyClick(w->lstLog, Qt::Key_Delete);
        ASSERT_EQ(boxes.Boxes().size(), 1u);
        ASSERT_EQ(w->lstLog->Rows(), 1);
        EXPECT_EQ(Cell(w, 0, ColID), QStringLiteral("2"));
    }
}

TEST_F(DailyCommandsTest, TheDeleteKeyLeavesAcceptedEntriesAndFreeRows)
{
    Entry(1, m_today, 10 * H, H, QString(), 1);
    frmDaily *w = Open();
    ShowFreeTime(w, true);
    BoxWatcher boxes;
    for (int r : {0, 1}) {
        w->lstLog->SetRow(r);
        QTest::keyClick(w->lstLog, Qt::Key_Delete);
    }
    EXPECT_TRUE(boxes.Boxes().empty());
    EXPECT_EQ(Count(QStringLiteral("SELECT COUNT(*) FROM tblDaily")), 1);
    EXPECT_EQ(w->lstLog->Rows(), 3);
}

// ---- the task tree ---------------------------------------------------------------------------------

TEST_F(DailyCommandsTest, TheTaskTreeCloses)
{
    Entry(1, m_today, 10 * H, H);
    frmDaily *w = Open();
    ClickRow(w, 0);
    struct Closer {
        const char *name;
        std::function<void()> run;
    } closers[] = {
        {"project label", [&] { QTest::mouseClick(w->lProj, Qt::LeftButton); }},
        {"start box", [&] {
             QFocusEvent in(QEvent::FocusIn, Qt::TabFocusReason);
             QApplication::sendEvent(w->txtStart, &in);
         }},
        {"comment box", [&] {
             QFocusEvent in(QEvent::FocusIn, Qt::MouseFocusReason);
             QApplication::sendEvent(w->txtComments, &in);
         }},
        {"free time", [&] { w->mnuLogs_FreeBusy->trigger(); }},
    };
    for (const Closer &c : closers) {
        SCOPED_TRACE(c.name);
        if (!w->MyTree->isVisible())
            w->btnDown->click();
        ASSERT_TRUE(w->MyTree->isVisible());
        c.run();
        EXPECT_FALSE(w->MyTree->isVisible());
    }
}

// ---- hints, help -------------------------------------------------------------------------------------

TEST_F(DailyCommandsTest, TheNewButtonsHintAndTheHelpEntries)
{
    for (const char *file : {"hlp_frmDaily_0.htm", "hlp_RecordTime.gif"})
        ASSERT_TRUE(QFile::copy(QStringLiteral(TARV_SOURCE_DIR "/data/") + QLatin1String(file),
                                m_dir + u'/' + QLatin1String(file)));
    frmDaily *w = Open();
    frametest::Move(w->btnAdd);
    EXPECT_EQ(Status(), GetLangString(978, true));

    w->mnuHelp_Form->trigger();
    ASSERT_NE(frmHlp::Peek(), nullptr);
    EXPECT_TRUE(frmHlp::Peek()->isVisible());
    EXPECT_EQ(frmHlp::Peek()->WBr->LocationPath(), m_dir + QStringLiteral("/hlp_frmDaily_0.htm"));

    w->mnuHelp_Video->trigger();
    frmVideo *v = frmVideo::Peek();
    ASSERT_NE(v, nullptr);
    EXPECT_TRUE(v->isVisible());
    EXPECT_LT(forms::Left(v->frAbout), 0) << "the about panel out of sight";
    EXPECT_EQ(v->flash->Movie(), AppPath() + QStringLiteral("/hlp_RecordTime.swf"));
    EXPECT_TRUE(v->flash->Playing());
}

// ---- the busy state of the requests ----------------------------------------------------------------

TEST_F(DailyCommandsTest, WhileARequestIsUnderWayNoCommandChangesOrDeletesRows)
{
    Entry(1, m_yesterday, 10 * H, H);
    frmDaily *w = Open();
    IsConnected = true;
    ShowDay(w, m_yesterday);
    ClickRow(w, 0);
    w->txtComments->setPlainText(QStringLiteral("edited"));
    ASSERT_TRUE(w->btnSave->isEnabled());
    ASSERT_TRUE(w->btnDel->isEnabled());
    {
        // Another window's request (a bulk upload, say).
        const RequestGuard other(RequestGuard::Command);
        ASSERT_TRUE(other.Held());
        EXPECT_FALSE(w->btnSave->isEnabled());
        EXPECT_FALSE(w->mnuLogs_Save->isEnabled());
        EXPECT_FALSE(w->btnDel->isEnabled());
        EXPECT_FALSE(w->mnuLogs_Del->isEnabled());
        EXPECT_FALSE(w->btnDelDate->isEnabled());
        Drop(w->mnuLogs);
        EXPECT_FALSE(w->mnuLogs_DelAll->isEnabled());
        Drop(w->mnuDays);
        EXPECT_FALSE(w->mnuDays_Del->isEnabled());
        EXPECT_FALSE(w->mnuDays_DelAll->isEnabled());
        Drop(w->mnuSynch);
        EXPECT_FALSE(w->mnuSynch_Item->isEnabled());
        EXPECT_FALSE(w->mnuSynch_Day->isEnabled());
        // Even reached another way, nothing is written or deleted.
        BoxWatcher boxes;
        w->mnuLogs_Save->trigger();
        w->mnuLogs_Del->trigger();
        w->mnuDays_Del->trigger();
        EXPECT_TRUE(boxes.Boxes().empty());
        EXPECT_EQ(Count(QStringLiteral("SELECT COUNT(*) FROM tblDailyComments")), 0);
        EXPECT_EQ(Count(QStringLiteral("SELECT COUNT(*) FROM tblDaily")), 1);
    }
    // Over: back as the editor left them.
    EXPECT_TRUE(w->btnSave->isEnabled());
    EXPECT_TRUE(w->btnDel->isEnabled());
    EXPECT_TRUE(w->btnDelDate->isEnabled());
    Drop(w->mnuDays);
    EXPECT_TRUE(w->mnuDays_Del->isEnabled());
}

// ---- captions ---------------------------------------------------------------------------------------

TEST_F(DailyCommandsTest, EveryCaptionIsTheStringTablesTextInEachLanguage)
{
    Entry(1, m_today, 10 * H, H);
    frmDaily *w = Open();
    ShowFreeTime(w, true);
    const QString day = w->lblDay->Caption();
    const auto textOf = [](QWidget *c) -> QString {
        if (auto *l = qobject_cast<forms::Label *>(c))
            return l->Caption();
        if (auto *b = qobject_cast<QPushButton *>(c))
            return b->text();
        if (auto *g = qobject_cast<QGroupBox *>(c))
            return g->title();
        return QStringLiteral("<no caption>");
    };
    const std::pair<QMenu *, int16_t> menus[] = {
        {w->mnuLogs, 270}, {w->mnuDays, 279}, {w->mnuSynch, 284}, {w->mnuHelp, 287}};
    const std::pair<QAction *, int16_t> items[] = {
        {w->mnuLogs_Add, 271},    {w->mnuLogs_Save, 272},  {w->mnuLogs_Del, 273},    {w->mnuLogs_DelAll, 276},
        {w->mnuLogs_FreeBusy, 277}, {w->mnuLogs_Exit, 278}, {w->mnuDays_Add, 280},   {w->mnuDays_Del, 281},
        {w->mnuDays_DelAll, 282}, {w->mnuSynch_Item, 285}, {w->mnuSynch_Day, 286}, {w->mnuHelp_Video, 977},
        {w->mnuHelp_Form, 288}};
    // The design's tags: every one of them is on a control of the window.
    const int16_t designTags[] = {230, 950, 952, 956, 233, 201, 202, 203, 204, 205, 213, 209, 210, 211, 220,
                                  231, 232, 900, 903, 904, 905};
    for (int16_t lang : {1, 2, 3, 0}) {
        SCOPED_TRACE(lang);
        frmMain::Get()->imgFlag_Click(lang);
        ASSERT_EQ(LangID, lang);
        QSet<int> seen;
        int tagged = 0;
        for (QWidget *c : w->findChildren<QWidget *>()) {
            bool numeric = false;
            const int tag = forms::Tag(c).toInt(&numeric);
            if (!numeric || c == w->lblDay)
                continue;
            ++tagged;
            seen.insert(tag);
            EXPECT_EQ(textOf(c), GetLangString(int16_t(tag), false)) << c->objectName().toStdString();
            EXPECT_FALSE(textOf(c).isEmpty()) << c->objectName().toStdString();
        }
        for (int16_t t : designTags)
            EXPECT_TRUE(seen.contains(t)) << t;
        EXPECT_GE(tagged, int(std::size(designTags)));
        for (const auto &[m, id] : menus)
            EXPECT_EQ(m->title(), GetLangString(id, false)) << m->objectName().toStdString();
        for (const auto &[a, id] : items)
            EXPECT_EQ(a->text(), GetLangString(id, false)) << a->objectName().toStdString();
        EXPECT_EQ(w->lblDay->Caption(), day) << "the day label keeps its day";
        // The rows above the grid fit their captions in this language: the day list and its
        // arrows end before the day buttons, the shown day before the entry buttons.
        EXPECT_LT(w->btnNP[1]->geometry().right(), w->btnNewDate->x());
        EXPECT_LT(w->lblDay->geometry().right(), w->btnAdd->x());
        EXPECT_LE(w->lblDay->sizeHint().width(), w->lblDay->width());
        // The window's own title, on the window and on its frame in the main window.
        EXPECT_EQ(w->windowTitle(), GetLangString(1037, false));
        auto *frame = frmMain::Get()->findChild<QMdiSubWindow *>(QStringLiteral("frmDailySub"));
        ASSERT_NE(frame, nullptr);
        EXPECT_EQ(frame->windowTitle(), GetLangString(1037, false));
        if (lang != 0)
            EXPECT_NE(frame->windowTitle(), QStringLiteral("Daily Time Log"));
        EXPECT_EQ(w->NewEntryName, GetLangString(255, false));
        EXPECT_EQ(w->lstLog->TextMatrix(0, ColName), GetLangString(255, false)) << "the free row's name";
    }
}

TEST_F(DailyCommandsTest, WithoutAStringTableTheCaptionsAreAsDesigned)
{
    const QString table = LangTableText;
    LangTableText.clear();
    frmDaily *w = Open();
    LangTableText = table;
    EXPECT_EQ(w->windowTitle(), QStringLiteral("Daily Time Log"));
    EXPECT_EQ(w->mnuLogs->title(), QStringLiteral("Logs"));
    EXPECT_EQ(w->mnuLogs_DelAll->text(), QStringLiteral("Delete All Day Logs"));
    EXPECT_EQ(w->mnuDays_Del->text(), QStringLiteral("Delete Day"));
    EXPECT_EQ(w->mnuHelp_Video->text(), QStringLiteral("Show Help Video"));
    EXPECT_EQ(w->btnNewDate->text(), QStringLiteral("New Day"));
    EXPECT_EQ(w->btnExit->text(), QStringLiteral("Close"));
    EXPECT_EQ(w->frEdit->title(), QStringLiteral("Edit selected Activity"));
    auto *label = w->findChild<forms::Label *>(QStringLiteral("lblSelectDate"));
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->Caption(), QStringLiteral("Select a Date:"));
}

} // namespace
