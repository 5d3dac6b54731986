// The timers across program runs: parked in tblDaily at exit, back in the grid at the next
// load of the timers window.
#include "tests/recorder/RecorderFixture.h"

#include "core/frmMain.h"
#include "core/modMain.h"
#include "platform/dao/dao.h"
#include "store/modDBchr.h"

#include <QApplication>
#include <QPlainTextEdit>
#include <QPushButton>

using namespace modMain;
using namespace rectest;
using C = frmStart;

class HandOver : public RecorderTest {
protected:
    // The next run: a new timers window whose load brings the parked timers back.
    void NextRun()
    {
        frmStart::Unload();
        TimerRunning = false;
        RecArr = {};
        w = frmStart::Get();
        w->ShowForm();
        QApplication::processEvents();
    }
    int RowOf(double category) const
    {
        for (int r = 0; r < Rows(); ++r)
            if (Cell(r, C::colCatID) == QString::number(qlonglong(category)))
                return r;
        return -1;
    }
};

TEST_F(HandOver, AnEmptyGridWritesNothingAndNoParkedRecordsLoadNothing)
{
    int16_t err = 5;
    w->SaveRunning(true, err);
    EXPECT_EQ(err, 0);
    EXPECT_TRUE(Entries().empty());

    w->lstTimers->SetRows(0);
    int32_t running = 5;
    w->LoadRunning(running);
    EXPECT_EQ(running, -1);
    EXPECT_EQ(Rows(), 0);
    NextRun();
    EXPECT_EQ(Rows(), 0);
    EXPECT_FALSE(TimerRunning);
    EXPECT_TRUE(w->picInfo->isVisible());
}

TEST_F(HandOver, OneRunningAndTwoStoppedTimersComeBackAsTheyWere)
{
    now = QDateTime(QDate(2026, 3, 10), QTime(9, 0, 0));
    AddMeetings();
    AddDrawing();
    AddMail();
    // Drawing: one saved segment, then left stopped.
    ClickRow(1);
    w->txtComments->setPlainText("sketches");
    Click(w->btnStart);
    Advance(600);
    Click(w->btnStop);
    // Meetings runs from 09:10 with a comment.
    ClickRow(0);
    w->txtComments->setPlainText("board meeting");
    Click(w->btnStart);
    Advance(3000);
    ASSERT_EQ(Entries().size(), 1u);

    EXPECT_EQ(w->SaveRunning(false), 0);
    const auto parked = Parked();
    ASSERT_EQ(parked.size(), 3u);
    EXPECT_EQ(parked[0].started, 1);
    EXPECT_EQ(parked[0].start, 33000);
    EXPECT_EQ(parked[0].secs, 3000);
    EXPECT_EQ(parked[0].comment, "board meeting");
    EXPECT_EQ(parked[1].started, 2);
    EXPECT_EQ(parked[2].started, 2);
    // Parking leaves the rows as they were: an exit the person abandons goes on with them.
    EXPECT_EQ(Cell(0, C::colState), "1");
    EXPECT_EQ(Cell(1, C::colState), "0");
    EXPECT_EQ(Cell(2, C::colState), "0");
    EXPECT_EQ(Cell(0, C::colID), "");
    EXPECT_EQ(Cell(1, C::colMark), "2");

    // The program is closed for an hour and a half.
    now = QDateTime(QDate(2026, 3, 10), QTime(11, 30, 0));
    NextRun();
    ASSERT_EQ(Rows(), 3);
    // The records now stand for the timers of this run: one each.
    EXPECT_EQ(Parked().size(), 3u);
    EXPECT_EQ(Entries().size(), 1u);   // the ordinary entry stays
    EXPECT_TRUE(TimerRunning);
    EXPECT_EQ(RunningRows(), 1);

    const int m = RowOf(1000), d = RowOf(1001), mail = RowOf(2000);
    ASSERT_GE(m, 0);
    ASSERT_GE(d, 0);
    ASSERT_GE(mail, 0);
    EXPECT_EQ(Cell(m, C::colState), "1");
    EXPECT_EQ(Cell(m, C::colStart), "33000");
    EXPECT_EQ(Cell(m, C::colDay), "20260310");
    EXPECT_EQ(Cell(m, C::colComment), "board meeting");
    EXPECT_EQ(Cell(m, C::colName), "Meetings");
    EXPECT_EQ(Cell(m, C::colTaskName), "Design");
    EXPECT_EQ(Cell(m, C::colProjID), "10");
    EXPECT_EQ(Cell(m, C::colProjName), "Website");
    EXPECT_EQ(Cell(m, C::colMark), "1");
    EXPECT_EQ(w->lstTimers->RowHeight(m), 300);
    for (int r : {d, mail}) {
        EXPECT_EQ(Cell(r, C::colState), "0") << r;
        EXPECT_EQ(Cell(r, C::colStart), "0") << r;
        EXPECT_EQ(Cell(r, C::colSecs), "0") << r;
        EXPECT_EQ(Cell(r, C::colMark), "4") << r;
    }
    EXPECT_EQ(Cell(d, C::colComment), "sketches");
    EXPECT_EQ(Cell(mail, C::colTaskName), "Admin");
    EXPECT_EQ(Cell(mail, C::colProjName), "Office");
    EXPECT_EQ(RecArr[1], "Meetings");

    // The running timer counts the time the program was closed.
    ClickRow(m);
    EXPECT_EQ(Cell(m, C::colSecs), "8400");
    Click(w->btnStop);
    const auto e = Entries("WHERE cCatID = 1000");
    ASSERT_EQ(e.size(), 1u);
    EXPECT_EQ(e[0].start, 33000);
    EXPECT_EQ(e[0].secs, 8400);
    EXPECT_EQ(e[0].started, 0);
}

TEST_F(HandOver, AnUnsavedSegmentBecomesAnEntryWhenAskedAndIsParkedOtherwise)
{
    for (bool save : {true, false}) {
        SCOPED_TRACE(save);
        DB->Execute("DELETE FROM tblDaily");
        w->lstTimers->SetRows(0);
        AddMeetings();
        ClickRow(0);
        Click(w->btnStart);
        Advance(45);
        Click(w->btnCancel);
        ASSERT_EQ(Cell(0, C::colMark), "3");

        EXPECT_EQ(w->SaveRunning(save), 0);
        const auto e = Entries();
        const auto parked = Parked();
        ASSERT_EQ(e.size(), save ? 1u : 0u);
        ASSERT_EQ(parked.size(), save ? 0u : 1u);
        if (save) {
            EXPECT_EQ(e[0].secs, 45);
        } else {
            // The person chose not to record it: the timer comes back at zero.
            EXPECT_EQ(parked[0].started, 2);
            EXPECT_EQ(parked[0].secs, 0);
        }
        NextRun();
        EXPECT_EQ(Rows(), save ? 0 : 1);
        if (!save) {
            EXPECT_EQ(Cell(0, C::colSecs), "0");
            EXPECT_EQ(Cell(0, C::colMark), "4");
        }
    }
}

TEST_F(HandOver, ARunningQuickRecordWithoutCategoryIsParkedAndComesBackRunning)
{
    AddMeetings();
    Click(w->btnQ);   // runs, without a category
    w->txtComments->setPlainText("phone call");
    Advance(300);
    int16_t err = 5;
    w->SaveRunning(false, err);
    EXPECT_EQ(err, 0);
    EXPECT_TRUE(Entries().empty());
    const auto parked = Parked();
    ASSERT_EQ(parked.size(), 2u);
    EXPECT_EQ(parked[1].started, 1);
    EXPECT_EQ(parked[1].category, 0);   // Null
    EXPECT_EQ(parked[1].start, 36000);
    NextRun();
    ASSERT_EQ(Rows(), 2);
    EXPECT_EQ(Cell(0, C::colName), "Meetings");
    EXPECT_EQ(Cell(1, C::colName), w->QuickRecName);
    EXPECT_EQ(Cell(1, C::colState), "1");
    EXPECT_EQ(Cell(1, C::colCatID), "");
    EXPECT_EQ(Cell(1, C::colTaskID), "");
    EXPECT_EQ(Cell(1, C::colComment), "phone call");
    EXPECT_TRUE(TimerRunning);
    // It is the same timer as before: it cannot be stopped with saving before it has an
    // activity, also not with the hot key.
    ClickRow(1);
    EXPECT_FALSE(w->btnStop->isEnabled());
    auto box = AnswerBox("btnOK");
    w->m_Hotkey_Hotkey();
    EXPECT_TRUE(box->shown);
    EXPECT_TRUE(box->text.contains(GetLangString(71).left(20)));
    EXPECT_TRUE(TimerRunning);
    EXPECT_EQ(w->GetRunning(), 1);
}

TEST_F(HandOver, ARestoredTimerThatIsCancelledHoldsItsSegmentForStopAndTheExitQuestion)
{
    now = QDateTime(QDate(2026, 3, 10), QTime(9, 0, 0));
    AddMeetings();
    ClickRow(0);
    Click(w->btnStart);
    EXPECT_EQ(w->SaveRunning(false), 0);
    now = QDateTime(QDate(2026, 3, 10), QTime(9, 20, 0));
    NextRun();
    ClickRow(0);
    Click(w->btnCancel);
    // Not saved: the stop picture, Stop usable once the row is shown again, and the exit asks.
    EXPECT_EQ(Cell(0, C::colMark), "3");
    EXPECT_EQ(w->FirstUnsavedSegment(), 0);
    ClickRow(0);
    EXPECT_TRUE(w->btnStop->isEnabled());
    Click(w->btnStop);
    const auto e = Entries();
    ASSERT_EQ(e.size(), 1u);
    EXPECT_EQ(e[0].start, 32400);
    EXPECT_EQ(e[0].secs, 1200);
}

TEST_F(HandOver, AnAbandonedExitLeavesTheRowsAsTheyWereAndTheirSegmentsUnsaved)
{
    AddMeetings();
    AddMail();
    ClickRow(0);
    Click(w->btnStart);
    Advance(100);
    Click(w->btnCancel);            // Meetings holds 100 unsaved seconds
    ClickRow(1);
    Click(w->btnStart);             // Mail runs
    Advance(50);
    EXPECT_EQ(w->SaveRunning(false), 0);
    w->ResumeParking();             // the person abandons the exit
    for (int r = 0; r < 2; ++r)
        EXPECT_NE(Cell(r, C::colState), "2") << r;
    EXPECT_EQ(Cell(0, C::colMark), "3");
    EXPECT_EQ(Cell(1, C::colState), "1");
    EXPECT_EQ(w->FirstUnsavedSegment(), 0);
    // The parked records follow the rows again: Meetings with its segment.
    const auto parked = Parked();
    ASSERT_EQ(parked.size(), 2u);
    EXPECT_EQ(parked[0].secs, 100);
    EXPECT_EQ(parked[0].chk, 1);
    EXPECT_EQ(parked[1].started, 1);
    // Stop on Mail and on Meetings write both segments once.
    Advance(10);
    Click(w->btnStop);
    ClickRow(0);
    Click(w->btnStop);
    const auto e = Entries();
    ASSERT_EQ(e.size(), 2u);
    EXPECT_EQ(e[0].secs, 60);
    EXPECT_EQ(e[1].secs, 100);
}

TEST_F(HandOver, TheLoadedTimersStandParkedWhileTheProgramRunsAndComeBackWithoutAnExit)
{
    AddMeetings();
    AddMail();
    // Loaded: both parked at zero.
    auto parked = Parked();
    ASSERT_EQ(parked.size(), 2u);
    EXPECT_EQ(parked[0].started, 2);
    EXPECT_EQ(parked[1].started, 2);
    ClickRow(1);
    w->txtComments->setPlainText("inbox");
    Click(w->btnStart);
    parked = Parked();
    ASSERT_EQ(parked.size(), 2u);
    EXPECT_EQ(parked[1].started, 1);
    EXPECT_EQ(parked[1].start, 36000);
    EXPECT_EQ(parked[1].day, 20260310);
    EXPECT_EQ(parked[1].comment, "inbox");
    // Nothing parked is an entry: the day shows none and a start is not refused by them.
    EXPECT_FALSE(DayHasRecords(20260310, "tblDaily"));
    EXPECT_EQ(modDBchr::CheckTimeOverlap(20260310, 36010, 36010, -1), -1);

    // The run ends without any exit (the window simply goes, as in a crash).
    Advance(600);
    NextRun();
    ASSERT_EQ(Rows(), 2);
    EXPECT_EQ(Cell(1, C::colState), "1");
    EXPECT_EQ(Cell(1, C::colStart), "36000");
    EXPECT_EQ(Cell(1, C::colComment), "inbox");
    EXPECT_EQ(Parked().size(), 2u);
    // A removed timer is no longer parked.
    ClickRow(0);
    Click(w->btnUnload);
    parked = Parked();
    ASSERT_EQ(parked.size(), 1u);
    EXPECT_EQ(parked[0].category, 2000);
}

TEST_F(HandOver, RecordsOfOneTaskAndCategoryLoadOnceFromTheNewestAndAllAreDeleted)
{
    // An exit abandoned after its records were written, then the real one: Meetings was
    // stopped at the first and running at the second.
    AddEntry(1, "Meetings", 2, 0, 0, 20260310, 100, 1000);
    AddEntry(2, "Mail", 1, 30000, 600, 20260310, 200, 2000);
    AddEntry(3, "Meetings", 1, 34000, 2000, 20260310, 100, 1000);
    AddEntry(4, "Mail", 2, 30000, 600, 20260310, 200, 2000);
    AddEntry(5, "Other person's", 1, 100, 10, 20260310, 100, 1000, /*user*/ 2);
    AddEntry(6, "An entry", 0, 100, 10, 20260310, 100, 1000);
    NextRun();

    ASSERT_EQ(Rows(), 2);
    EXPECT_EQ(RunningRows(), 1);
    const int m = RowOf(1000), mail = RowOf(2000);
    EXPECT_EQ(Cell(m, C::colState), "1");
    EXPECT_EQ(Cell(m, C::colStart), "34000");
    EXPECT_EQ(Cell(m, C::colID), "");   // the parked record is no saved entry
    EXPECT_EQ(Cell(mail, C::colState), "0");
    EXPECT_TRUE(TimerRunning);
    const auto left = Entries("WHERE cStarted >= 0 AND cID <= 6");
    ASSERT_EQ(left.size(), 2u);
    EXPECT_EQ(left[0].id, 5);   // another person's parked timer waits for that person
    EXPECT_EQ(left[1].id, 6);
    // The person's own records were replaced by one per timer.
    EXPECT_EQ(Entries("WHERE cStarted IN (1, 2) AND cUsrID = 1").size(), 2u);
}

TEST_F(HandOver, OfSeveralRunningRecordsOnlyTheLatestStartRunsAfterTheLoad)
{
    AddEntry(1, "Mail", 1, 30000, 600, 20260310, 200, 2000);
    AddEntry(2, "Meetings", 1, 34000, 200, 20260310, 100, 1000);
    AddEntry(3, "Drawing", 1, 80000, 200, 20260309, 100, 1001);
    NextRun();
    ASSERT_EQ(Rows(), 3);
    EXPECT_EQ(RunningRows(), 1);
    EXPECT_EQ(Cell(RowOf(1000), C::colState), "1");
    EXPECT_EQ(Cell(RowOf(2000), C::colSecs), "0");
    EXPECT_EQ(Cell(RowOf(1001), C::colSecs), "0");
}

TEST_F(HandOver, AnAbandonedExitAndTheNextOneGiveTheTimersOfTheLaterOne)
{
    AddMeetings();
    AddMail();
    ClickRow(0);
    Click(w->btnStart);
    Advance(100);
    EXPECT_EQ(w->SaveRunning(false), 0);   // the person then abandons the exit
    ClickRow(1);
    Click(w->btnStart);                     // Meetings stops (an entry), Mail runs
    Advance(200);
    EXPECT_EQ(w->SaveRunning(false), 0);

    NextRun();
    ASSERT_EQ(Rows(), 2);
    EXPECT_EQ(RunningRows(), 1);
    EXPECT_EQ(Cell(RowOf(2000), C::colState), "1");
    EXPECT_EQ(Cell(RowOf(1000), C::colState), "0");
    const auto e = Entries();
    ASSERT_EQ(e.size(), 1u);
    EXPECT_EQ(e[0].category, 1000);
    EXPECT_EQ(e[0].secs, 100);
}

TEST_F(HandOver, ATimerRunningAcrossMidnightAtExitKeepsItsRealStart)
{
    now = QDateTime(QDate(2026, 3, 10), QTime(23, 50, 0));
    AddMeetings();
    ClickRow(0);
    Click(w->btnStart);
    now = QDateTime(QDate(2026, 3, 11), QTime(0, 10, 0));
    EXPECT_EQ(w->SaveRunning(false), 0);
    now = QDateTime(QDate(2026, 3, 11), QTime(0, 20, 0));
    NextRun();
    ASSERT_EQ(Rows(), 1);
    ClickRow(0);
    EXPECT_EQ(Cell(0, C::colSecs), "1800");
    Click(w->btnStop);
    // Stored on the day it started, with its full length.
    const auto e = Entries();
    ASSERT_EQ(e.size(), 1u);
    EXPECT_EQ(e[0].day, 20260310);
    EXPECT_EQ(e[0].start, 85800);
    EXPECT_EQ(e[0].secs, 1800);
}
