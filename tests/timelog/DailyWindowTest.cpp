// The daily log window itself, headless: the day it opens on, the day list, loading a day,
// saving new and edited entries with their comments, the refusals (zero duration, overlaps,
// the running timer), deleting, failed writes and closing with unsaved rows.
#include "tests/timelog/DailyFixture.h"

#include "core/modMain.h"
#include "platform/dao/dao.h"
#include "platform/forms/Forms.h"
#include "recorder/RecArr.h"
#include "tests/support/TestEnv.h"
#include "timelog/DailyRules.h"
#include "timelog/frmDaily.h"
#include "store/modDBchr.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

using namespace modMain;
using namespace dailyrules;
using dailytest::DailyTest;
using frametest::BoxText;
using frametest::BoxWatcher;

namespace {

using DailyWindowTest = DailyTest;

TEST_F(DailyWindowTest, OpensOnTodayAndListsOnlyRecordedDays)
{
    Entry(1, m_yesterday, 11 * 3600, 600, QStringLiteral("late"));
    Entry(2, m_yesterday, 8 * 3600, 1800);
    Entry(3, m_yesterday, 9 * 3600, 900, QStringLiteral("a&b c"));
    Entry(4, m_today, 7 * 3600, 0, QString(), 0, 1);   // the timers window's running timer
    Entry(5, 20200101, 7 * 3600, 0, QString(), 0, 2);  // and a parked one
    frmDaily *w = Open();
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(FormLoaded[fiDaily]);
    ASSERT_EQ(w->cmbDays->ListCount(), 2);
    EXPECT_EQ(w->cmbDays->ItemData(0), m_yesterday);
    EXPECT_EQ(w->cmbDays->ItemData(1), m_today);
    EXPECT_EQ(forms::Tag(w->lblDay), QString::number(m_today));
    EXPECT_EQ(w->lstLog->Rows(), 0) << "a timer is no entry";
    EXPECT_EQ(w->lstLog->Cols(), 18);
    for (int c = 0; c < 18; ++c)
        EXPECT_EQ(w->lstLog->ColWidth(c) > 0, c == 0 || c == 2 || c == 14 || c == 15) << c;

    ShowDay(w, m_yesterday);
    ASSERT_EQ(w->lstLog->Rows(), 3);
    const char *ids[] = {"2", "3", "1"};
    const char *starts[] = {"08:00:00", "09:00:00", "11:00:00"};
    for (int r = 0; r < 3; ++r) {
        EXPECT_EQ(w->lstLog->TextMatrix(r, ColID), QLatin1String(ids[r]));
        EXPECT_EQ(w->lstLog->TextMatrix(r, ColStartText), QLatin1String(starts[r]));
        EXPECT_EQ(w->lstLog->TextMatrix(r, ColDate), QString::number(m_yesterday));
        EXPECT_EQ(w->lstLog->TextMatrix(r, ColProjID), QStringLiteral("1"));
    }
    EXPECT_EQ(w->lstLog->TextMatrix(0, ColEndText), QStringLiteral("08:30:00"));
    EXPECT_EQ(w->lstLog->TextMatrix(0, ColComment), QString());
    EXPECT_EQ(w->lstLog->TextMatrix(1, ColComment), QStringLiteral("a&b c"));

    // The day already shown: nothing changes (an edit in the grid stays).
    w->lstLog->SetTextMatrix(0, ColChanged, QStringLiteral("True"));
    ShowDay(w, m_yesterday);
    EXPECT_EQ(w->lstLog->TextMatrix(0, ColChanged), QStringLiteral("True"));
    w->lstLog->SetTextMatrix(0, ColChanged, QString());

    // A day from the calendar joins the list at its end.
    const QDate other(2023, 5, 17);
    w->lblDay->SetCaption(ShortDateText(other));
    EXPECT_EQ(w->cmbDays->ListCount(), 3);
    EXPECT_EQ(w->cmbDays->ItemData(2), 20230517);
    EXPECT_EQ(w->cmbDays->ListIndex(), 2);
    EXPECT_EQ(w->lstLog->Rows(), 0);

    frmDaily::Unload();
    EXPECT_FALSE(FormLoaded[fiDaily]);
}

TEST_F(DailyWindowTest, OpensOnTheLatestDayWhenTodayHasEntries)
{
    const int32_t tomorrow = DateToLong(QDate::currentDate().addDays(1));
    Entry(1, m_today, 8 * 3600, 60);
    Entry(2, tomorrow, 8 * 3600, 60);
    frmDaily *w = Open();
    EXPECT_EQ(w->cmbDays->ListCount(), 2);
    EXPECT_EQ(forms::Tag(w->lblDay), QString::number(tomorrow));
}

TEST_F(DailyWindowTest, SavesANewEntryWithItsComment)
{
    BoxWatcher boxes;
    frmDaily *w = Open();
    w->btnAdd_Click();
    ASSERT_EQ(w->lstLog->Rows(), 1);
    EXPECT_TRUE(w->MyTree->isVisible()) << "a new row asks for its task";
    EXPECT_FALSE(w->btnSave->isEnabled());
    w->txtStart->setText(QStringLiteral("07:00"));
    w->txtEnd->setText(QStringLiteral("07:45"));
    w->txtComments->setPlainText(QStringLiteral("O'Hara's \"plan\"; DROP TABLE tblDaily"));
    w->MyTree_NodeClick(Category(w, QStringLiteral("101")));
    EXPECT_TRUE(w->btnSave->isEnabled());
    w->btnSave_Click();
    EXPECT_TRUE(boxes.Boxes().empty()) << boxes.Boxes().front().text.toStdString();

    auto rs = DB->OpenRecordset(QStringLiteral("SELECT * FROM tblDaily"));
    ASSERT_EQ(rs->RecordCount(), 1);
    rs->MoveFirst();
    const double id = rs->Value(0).toDouble();
    EXPECT_EQ(rs->Value(2).toString(), QStringLiteral("Meetings"));
    EXPECT_EQ(rs->Value(3).toInt(), 0);
    EXPECT_EQ(rs->Value(4).toDouble(), 7 * 3600);
    EXPECT_EQ(rs->Value(5).toDouble(), 45 * 60);
    EXPECT_EQ(rs->Value(6).toInt(), m_today);
    EXPECT_EQ(rs->Value(7).toInt(), 10);
    EXPECT_EQ(rs->Value(8).toInt(), 101);
    EXPECT_EQ(rs->Value(9).toInt(), 0);
    EXPECT_EQ(CommentOf(id), QStringLiteral("O'Hara's \"plan\"; DROP TABLE tblDaily"));

    ASSERT_EQ(w->lstLog->Rows(), 1);
    EXPECT_EQ(w->lstLog->Row(), 0);
    EXPECT_EQ(w->lstLog->TextMatrix(0, ColID), QString::number(id));
    EXPECT_EQ(w->lstLog->TextMatrix(0, ColChanged), QString());
    EXPECT_FALSE(w->btnSave->isEnabled());
    EXPECT_EQ(w->txtStart->text(), QString());
}

TEST_F(DailyWindowTest, IdsBeyondSixteenBitsAreSavedAndEdited)
{
    Entry(40000, m_today, 6 * 3600, 600);
    frmDaily *w = Open();
    ASSERT_EQ(w->lstLog->Rows(), 1);
    w->btnAdd_Click();
    w->txtStart->setText(QStringLiteral("06:10"));
    w->txtEnd->setText(QStringLiteral("06:20"));
    w->MyTree_NodeClick(Category(w, QStringLiteral("100")));
    w->btnSave_Click();
    EXPECT_EQ(Count(QStringLiteral("SELECT COUNT(*) FROM tblDaily WHERE cID = 40001")), 1);
    ASSERT_EQ(w->lstLog->Rows(), 2);
    EXPECT_EQ(w->lstLog->TextMatrix(1, ColID), QStringLiteral("40001"));

    // Editing the first never counts it against itself.
    Edit(w, 0, QStringLiteral("06:00"), QStringLiteral("06:09"), QString());
    w->btnSave_Click();
    EXPECT_EQ(Count(QStringLiteral("SELECT COUNT(*) FROM tblDaily WHERE cID = 40000 AND cSec = 540")), 1);
}

TEST_F(DailyWindowTest, CommentEditsReplaceInsertAndDelete)
{
    Entry(1, m_today, 6 * 3600, 600, QStringLiteral("old"));
    Entry(2, m_today, 7 * 3600, 600);
    frmDaily *w = Open();
    ASSERT_EQ(w->lstLog->Rows(), 2);
    Edit(w, 0, QStringLiteral("06:00:00"), QStringLiteral("06:10:00"), QStringLiteral("new"));
    EXPECT_TRUE(w->btnSave->isEnabled());
    w->btnSave_Click();
    EXPECT_EQ(CommentOf(1), QStringLiteral("new"));

    Edit(w, 1, QStringLiteral("07:00:00"), QStringLiteral("07:10:00"), QString());
    w->btnSave_Click();
    EXPECT_EQ(CommentOf(2), QStringLiteral("<none>")) << "no comment row for an empty comment";
    Edit(w, 1, QStringLiteral("07:00:00"), QStringLiteral("07:10:00"), QStringLiteral("first"));
    w->btnSave_Click();
    EXPECT_EQ(CommentOf(2), QStringLiteral("first"));

    Edit(w, 0, QStringLiteral("06:00:00"), QStringLiteral("06:10:00"), QString());
    w->btnSave_Click();
    EXPECT_EQ(CommentOf(1), QStringLiteral("<none>"));
    // The rest of the rows stayed as they were: day, timer mark and send state.
    EXPECT_EQ(Count(QStringLiteral("SELECT COUNT(*) FROM tblDaily WHERE cStarted = 0 AND cChk = 0 AND cDate = %1").arg(m_today)), 2);
}

TEST_F(DailyWindowTest, ZeroDurationIsRefused)
{
    BoxWatcher boxes;
    Entry(1, m_today, 6 * 3600, 600);
    frmDaily *w = Open();
    Edit(w, 0, QStringLiteral("06:00"), QStringLiteral("06:00"), QStringLiteral("x"));
    w->btnSave_Click();
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].text, BoxText(363));
    EXPECT_EQ(boxes.Boxes()[0].icon, 16);
    EXPECT_EQ(Count(QStringLiteral("SELECT COUNT(*) FROM tblDaily WHERE cSec = 600")), 1);
    EXPECT_EQ(w->lstLog->TextMatrix(0, ColChanged), QStringLiteral("True")) << "the editor keeps its content";
    EXPECT_EQ(w->txtComments->toPlainText(), QStringLiteral("x"));
}

TEST_F(DailyWindowTest, OverlapsAreRefusedAndTouchingEndsSaved)
{
    Entry(1, m_today, 10 * 3600, 3600);                     // 10:00 - 11:00
    Entry(2, m_today, 12 * 3600, 3600, QString(), 0, 2);    // a parked timer 12:00 - 13:00: no entry
    Entry(3, m_today, 20 * 3600, 600);                      // the row the edits go to
    // The editor refuses a start or end inside the entry at once (370, then 369 for a start;
    // a refused end goes back to what the box held); the save then checks the whole span, and
    // refuses a start still left refused in its box (369) without storing anything.
    struct Case {
        const char *start, *end;
        std::vector<int16_t> messages; // none: saved
    } cases[] = {
        {"10:30", "11:30", {370, 369, 369}}, {"09:30", "10:30", {370, 1005}}, {"09:00", "12:00", {1005}},
        {"10:15", "10:45", {370, 369, 370, 369}}, {"09:00", "10:00", {}},    {"11:00", "11:30", {}},
        {"12:15", "12:45", {}},
    };
    frmDaily *w = Open();
    for (const Case &c : cases) {
        BoxWatcher boxes;
        ShowDay(w, m_today);
        w->lblDay->SetCaption(QString());
        w->lblDay->SetCaption(w->cmbDays->Text());
        ASSERT_EQ(w->lstLog->Rows(), 2);
        const int row = w->lstLog->TextMatrix(0, ColID) == QLatin1String("3") ? 0 : 1;
        Edit(w, row, QLatin1String(c.start), QLatin1String(c.end), QString());
        w->btnSave_Click();
        const auto start = TimeOfDay(QLatin1String(c.start));
        const int saved = Count(QStringLiteral("SELECT COUNT(*) FROM tblDaily WHERE cID = 3 AND cStarttime = %1").arg(*start));
        ASSERT_EQ(boxes.Boxes().size(), c.messages.size()) << c.start;
        for (size_t i = 0; i < c.messages.size(); ++i)
            EXPECT_EQ(boxes.Boxes()[i].text, BoxText(c.messages[i])) << c.start << " " << i;
        EXPECT_EQ(saved, c.messages.empty() ? 1 : 0) << c.start;
    }
}

TEST_F(DailyWindowTest, TheRunningTimersTimeIsRefused)
{
    Entry(1, m_today, 6 * 3600, 600);
    frmDaily *w = Open();
    TimerRunning = true;
    RecStart = QDateTime(QDate::currentDate(), QTime(8, 0));
    {
        BoxWatcher boxes;
        Edit(w, 0, QStringLiteral("07:50"), QStringLiteral("08:10"), QString());
        w->btnSave_Click();
        ASSERT_EQ(boxes.Boxes().size(), 1u);
        EXPECT_EQ(boxes.Boxes()[0].text, BoxText(362));
        EXPECT_EQ(boxes.Boxes()[0].icon, 0);
        EXPECT_EQ(Count(QStringLiteral("SELECT COUNT(*) FROM tblDaily WHERE cStarttime = 28200")), 0);
    }
    {
        BoxWatcher boxes;
        Edit(w, 0, QStringLiteral("07:00"), QStringLiteral("07:59"), QString());
        w->btnSave_Click();
        EXPECT_TRUE(boxes.Boxes().empty());
        EXPECT_EQ(Count(QStringLiteral("SELECT COUNT(*) FROM tblDaily WHERE cStarttime = 25200")), 1);
    }
    TimerRunning = false;
}

TEST_F(DailyWindowTest, ATimerStartedOnAnEarlierDayOwnsTodayAndTouchingItsStartPasses)
{
    Entry(1, m_today, 6 * 3600, 600);
    Entry(2, m_yesterday, 20 * 3600, 600);
    frmDaily *w = Open();
    TimerRunning = true;
    RecStart = QDateTime(QDate::currentDate().addDays(-1), QTime(22, 0));
    {
        // Ending the moment the timer started.
        BoxWatcher boxes;
        ShowDay(w, m_yesterday);
        Edit(w, 0, QStringLiteral("21:00"), QStringLiteral("22:00"), QString());
        w->btnSave_Click();
        EXPECT_TRUE(boxes.Boxes().empty());
        EXPECT_EQ(Count(QStringLiteral("SELECT COUNT(*) FROM tblDaily WHERE cID = 2 AND cStarttime = 75600 AND cSec = 3600")), 1);
    }
    {
        // Today lies wholly in the time of last night's timer.
        BoxWatcher boxes;
        ShowDay(w, m_today);
        Edit(w, 0, QStringLiteral("05:00"), QStringLiteral("05:30"), QString());
        w->btnSave_Click();
        ASSERT_EQ(boxes.Boxes().size(), 1u);
        EXPECT_EQ(boxes.Boxes()[0].text, BoxText(362));
        EXPECT_EQ(Count(QStringLiteral("SELECT COUNT(*) FROM tblDaily WHERE cID = 1 AND cStarttime = 21600")), 1);
    }
    TimerRunning = false;
}

TEST_F(DailyWindowTest, DeletesEntriesWithTheirCommentsAndRowsWithoutAnId)
{
    Entry(1, m_today, 6 * 3600, 600, QStringLiteral("gone"));
    Entry(2, m_today, 7 * 3600, 600);
    frmDaily *w = Open();
    w->lstLog->SetRow(0);
    EXPECT_EQ(w->DeleteDaily(), 0);
    EXPECT_EQ(Count(QStringLiteral("SELECT COUNT(*) FROM tblDaily")), 1);
    EXPECT_EQ(CommentOf(1), QStringLiteral("<none>"));
    ASSERT_EQ(w->lstLog->Rows(), 1);

    w->btnAdd_Click();
    ASSERT_EQ(w->lstLog->Rows(), 2);
    w->lstLog->SetRow(1);
    EXPECT_EQ(w->DeleteDaily(), 0);
    EXPECT_EQ(w->lstLog->Rows(), 1);
    EXPECT_EQ(Count(QStringLiteral("SELECT COUNT(*) FROM tblDaily")), 1);
    w->lstLog->SetRow(0);
    EXPECT_EQ(w->DeleteDaily(), 0);
    EXPECT_EQ(w->lstLog->Rows(), 0);
}

TEST_F(DailyWindowTest, FailedWritesAreToldAndKeepTheEditor)
{
    Entry(1, m_today, 6 * 3600, 600);
    frmDaily *w = Open();
    DB->Execute(QStringLiteral("CREATE TRIGGER no_insert BEFORE INSERT ON tblDaily BEGIN SELECT RAISE(ABORT, 'disk is full'); END"));
    DB->Execute(QStringLiteral("CREATE TRIGGER no_update BEFORE UPDATE ON tblDaily BEGIN SELECT RAISE(ABORT, 'disk is full'); END"));
    {
        BoxWatcher boxes;
        w->btnAdd_Click();
        w->txtStart->setText(QStringLiteral("07:00"));
        w->txtEnd->setText(QStringLiteral("07:30"));
        w->txtComments->setPlainText(QStringLiteral("keep me"));
        w->MyTree_NodeClick(Category(w, QStringLiteral("100")));
        w->btnSave_Click();
        ASSERT_EQ(boxes.Boxes().size(), 1u);
        EXPECT_TRUE(boxes.Boxes()[0].text.startsWith(BoxText(1032))) << boxes.Boxes()[0].text.toStdString();
        EXPECT_EQ(boxes.Boxes()[0].icon, 16);
        EXPECT_EQ(w->lstLog->Rows(), 2);
        EXPECT_EQ(w->lstLog->TextMatrix(1, ColID), QString());
        EXPECT_EQ(w->lstLog->TextMatrix(1, ColChanged), QStringLiteral("True"));
        EXPECT_EQ(w->txtComments->toPlainText(), QStringLiteral("keep me"));
        EXPECT_EQ(Count(QStringLiteral("SELECT COUNT(*) FROM tblDailyComments")), 0);
    }
    {
        BoxWatcher boxes;
        Edit(w, 0, QStringLiteral("06:00"), QStringLiteral("06:20"), QString());
        w->btnSave_Click();
        ASSERT_EQ(boxes.Boxes().size(), 1u);
        EXPECT_EQ(w->lstLog->TextMatrix(0, ColChanged), QStringLiteral("True"));
    }
}

TEST_F(DailyWindowTest, AnAcceptedEntryIsNeverChanged)
{
    Entry(1, m_today, 6 * 3600, 600, QStringLiteral("sent"), 1);
    frmDaily *w = Open();
    w->lstLog->SetRow(0);
    w->lstLog_Click();
    EXPECT_FALSE(w->btnSave->isEnabled());
    EXPECT_FALSE(w->txtComments->isEnabled());
    EXPECT_FALSE(w->btnDel->isEnabled());
    // Even a grid that says otherwise cannot change it.
    w->lstLog->SetTextMatrix(0, ColChk, QStringLiteral("0"));
    EXPECT_EQ(w->UpdateDaily(0), modDBchr::ErrEntryLocked);
    EXPECT_EQ(CommentOf(1), QStringLiteral("sent"));
}

TEST_F(DailyWindowTest, ClosingAsksBeforeUnsavedRowsAreDropped)
{
    Entry(1, m_today, 6 * 3600, 600);
    Entry(2, m_today, 7 * 3600, 600);
    frmDaily *w = Open();
    Edit(w, 0, QStringLiteral("06:00"), QStringLiteral("06:20"), QString());
    Edit(w, 1, QStringLiteral("07:00"), QStringLiteral("07:20"), QString());
    {
        BoxWatcher boxes;
        boxes.Answer(QStringLiteral("btnNo"));
        EXPECT_FALSE(w->QueryUnload());
        ASSERT_EQ(boxes.Boxes().size(), 1u);
        EXPECT_EQ(boxes.Boxes()[0].text, BoxText(360) + QStringLiteral(" 2 ") + BoxText(361));
        EXPECT_EQ(boxes.Boxes()[0].icon, 32);
    }
    EXPECT_EQ(w->CheckChanged(), 2);
    {
        BoxWatcher boxes;
        boxes.Answer(QStringLiteral("btnYes"));
        EXPECT_TRUE(w->QueryUnload());
    }
}

// The end of the program asks too, before anything is saved or unloaded: No keeps the
// program, the window and its edits as they were.
TEST_F(DailyWindowTest, TheShutdownAsksBeforeUnsavedRowsAreDropped)
{
    Entry(1, m_today, 6 * 3600, 600);
    frmDaily *w = Open();
    Edit(w, 0, QStringLiteral("06:00"), QStringLiteral("06:20"), QString());
    BoxWatcher boxes;
    boxes.Answer(QStringLiteral("btnNo"));
    modMain::ShutDown(true);
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].text, BoxText(1880));
    EXPECT_EQ(frmDaily::Peek(), w);
    EXPECT_TRUE(modMain::FormLoaded[modMain::fiDaily]);
    EXPECT_TRUE(modMain::DB != nullptr);
    EXPECT_EQ(w->CheckChanged(), 1);
}

} // namespace
