// The timers of the timers window driven through its real buttons and grid: start, stop,
// cancel, quick record, remove, the category from the task tree, and the entries they write.
#include "tests/recorder/RecorderFixture.h"

#include "core/modMain.h"
#include "platform/dao/dao.h"
#include "recorder/frmLoad.h"
#include "store/modDBchr.h"
#include "resources/Pictures.h"

#include <QApplication>

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <functional>
#include <vector>

using namespace modMain;
using namespace rectest;
using C = frmStart;

namespace {

bool SamePicture(const QPixmap &a, const QPixmap &b)
{
    return !a.isNull() && a.toImage() == b.toImage();
}

forms::Node *NodeByText(forms::TreeView *tree, const QString &text)
{
    for (int i = 1; i <= tree->Count(); ++i)
        if (tree->Nodes(i)->Text() == text)
            return tree->Nodes(i);
    return nullptr;
}

} // namespace

class Recording : public RecorderTest {};

TEST_F(Recording, StartMakesTheSelectedRowTheRunningTimer)
{
    AddMeetings();
    ClickRow(0);
    w->txtComments->setPlainText("kick-off");
    Click(w->btnStart);

    EXPECT_EQ(Cell(0, C::colState), "1");
    EXPECT_EQ(Cell(0, C::colMark), "1");
    EXPECT_EQ(Cell(0, C::colID), "");
    EXPECT_EQ(Cell(0, C::colStart), "36000");
    EXPECT_EQ(Cell(0, C::colDay), "20260310");
    EXPECT_EQ(Cell(0, C::colComment), "kick-off");
    EXPECT_TRUE(TimerRunning);
    EXPECT_TRUE(w->tmr->isActive());
    EXPECT_FALSE(w->btnStart->isEnabled());
    EXPECT_TRUE(w->btnStop->isEnabled());
    EXPECT_TRUE(w->btnCancel->isEnabled());
    EXPECT_EQ(w->lStart1->Caption(), GeneralDateText(now));
    EXPECT_TRUE(SamePicture(w->lstTimers->CellPictureAt(0, C::colPic), res::Picture("CLOCK")));
    EXPECT_EQ(w->lstTimers->CellBackColorAt(0, C::colName), C::kRunColor);
    EXPECT_EQ(RecArr[0], GeneralDateText(now));
    EXPECT_EQ(RecArr[1], "Meetings");
    EXPECT_EQ(RecArr[2], "Design");
    EXPECT_EQ(RecArr[3], "Website");
    EXPECT_TRUE(Entries().empty());
}

TEST_F(Recording, StopWritesTheSegmentWithItsCommentAndMarksTheRowSaved)
{
    AddMeetings();
    ClickRow(0);
    Click(w->btnStart);
    w->txtComments->setPlainText("weekly review");
    // No display tick runs in between: the stop counts the segment up to its own moment.
    Advance(125);
    Click(w->btnStop);

    const auto e = Entries();
    ASSERT_EQ(e.size(), 1u);
    EXPECT_GE(e[0].id, 1);
    EXPECT_EQ(e[0].user, 1);
    EXPECT_EQ(e[0].name, "Meetings");
    EXPECT_EQ(e[0].started, 0);
    EXPECT_EQ(e[0].start, 36000);
    EXPECT_EQ(e[0].secs, 125);
    EXPECT_EQ(e[0].day, 20260310);
    EXPECT_EQ(e[0].task, 100);
    EXPECT_EQ(e[0].category, 1000);
    EXPECT_EQ(e[0].chk, 0);
    EXPECT_EQ(e[0].comment, "weekly review");

    EXPECT_EQ(Cell(0, C::colState), "0");
    EXPECT_EQ(Cell(0, C::colMark), "2");
    EXPECT_EQ(Cell(0, C::colID), QString::number(qlonglong(e[0].id)));
    EXPECT_TRUE(SamePicture(w->lstTimers->CellPictureAt(0, C::colPic), res::Picture("SAVE")));
    EXPECT_FALSE(TimerRunning);
    EXPECT_FALSE(w->tmr->isActive());
    EXPECT_TRUE(w->btnStart->isEnabled());
    EXPECT_FALSE(w->btnStop->isEnabled());
}

TEST_F(Recording, TwoStartsAndStopsGiveTwoEntriesAndTheRowKeepsTheNewerId)
{
    AddEntry(7, "someone else's", 0, 1000, 10, 20260301, 100, 1000, /*user*/ 2);
    AddMeetings();
    ClickRow(0);
    for (int i = 0; i < 2; ++i) {
        Click(w->btnStart);
        EXPECT_EQ(Cell(0, C::colID), "");   // a new segment, not saved yet
        EXPECT_EQ(Cell(0, C::colMark), "1");
        Advance(60);
        Click(w->btnStop);
        Advance(5);
    }
    const auto e = Entries("WHERE cUsrID = 1");
    ASSERT_EQ(e.size(), 2u);
    // Ids continue after the highest of any person (the parked timer's record included).
    EXPECT_GT(e[0].id, 7);
    EXPECT_GT(e[1].id, e[0].id);
    EXPECT_EQ(e[1].start, 36065);
    EXPECT_EQ(Cell(0, C::colID), QString::number(qlonglong(e[1].id)));
}

TEST_F(Recording, CancelKeepsTheSegmentUnsavedAndAStopWritesItOnceLater)
{
    AddMeetings();
    ClickRow(0);
    Click(w->btnStart);
    Advance(60);
    Click(w->btnCancel);

    EXPECT_TRUE(Entries().empty());
    EXPECT_EQ(Cell(0, C::colState), "0");
    EXPECT_EQ(Cell(0, C::colMark), "3");
    EXPECT_TRUE(SamePicture(w->lstTimers->CellPictureAt(0, C::colPic), res::Picture("STOP")));
    EXPECT_FALSE(w->btnStop->isEnabled());
    EXPECT_FALSE(TimerRunning);

    Advance(300);
    ClickRow(0);
    EXPECT_TRUE(w->btnStop->isEnabled());
    EXPECT_FALSE(w->btnCancel->isEnabled());
    Click(w->btnStop);
    const auto e = Entries();
    ASSERT_EQ(e.size(), 1u);
    EXPECT_EQ(e[0].secs, 60);   // up to the cancel, not to the stop
    EXPECT_EQ(Cell(0, C::colMark), "2");
    EXPECT_FALSE(w->btnStop->isEnabled());
}

TEST_F(Recording, StartAfterACancelAsksFirstAndNoLeavesEverythingAsItWas)
{
    AddMeetings();
    ClickRow(0);
    Click(w->btnStart);
    Advance(60);
    Click(w->btnCancel);
    ClickRow(0);

    auto no = AnswerBox("btnNo");
    Click(w->btnStart);
    ASSERT_TRUE(no->shown);
    EXPECT_TRUE(no->text.contains(GetLangString(84).section("\r\n", 0, 0))) << no->text.toStdString();
    EXPECT_EQ(Cell(0, C::colState), "0");
    EXPECT_EQ(Cell(0, C::colMark), "3");
    EXPECT_EQ(Cell(0, C::colStart), "36000");
    EXPECT_FALSE(TimerRunning);

    Advance(100);
    auto yes = AnswerBox("btnYes");
    Click(w->btnStart);
    ASSERT_TRUE(yes->shown);
    EXPECT_EQ(Cell(0, C::colState), "1");
    EXPECT_EQ(Cell(0, C::colStart), "36160");
    Advance(40);
    Click(w->btnStop);
    const auto e = Entries();
    ASSERT_EQ(e.size(), 1u);   // the cancelled segment was dropped
    EXPECT_EQ(e[0].start, 36160);
    EXPECT_EQ(e[0].secs, 40);
}

TEST_F(Recording, StartingAnotherTimerSavesTheRunningOneWithItsOwnComment)
{
    AddMeetings();
    AddMail();
    ClickRow(0);
    Click(w->btnStart);
    w->txtComments->setPlainText("agenda");
    Advance(90);
    ClickRow(1);
    EXPECT_EQ(w->txtComments->toPlainText(), "");
    w->txtComments->setPlainText("inbox");
    Click(w->btnStart);

    const auto e = Entries();
    ASSERT_EQ(e.size(), 1u);
    EXPECT_EQ(e[0].category, 1000);
    EXPECT_EQ(e[0].secs, 90);
    EXPECT_EQ(e[0].comment, "agenda");
    EXPECT_EQ(RunningRows(), 1);
    EXPECT_EQ(Cell(1, C::colState), "1");
    EXPECT_EQ(Cell(0, C::colMark), "2");
    EXPECT_EQ(Cell(0, C::colComment), "agenda");
    EXPECT_EQ(Cell(1, C::colComment), "inbox");
    EXPECT_EQ(RecArr[1], "Mail");
    EXPECT_TRUE(TimerRunning);
}

TEST_F(Recording, StartingAnotherTimerLeavesARunningOneWithoutCategoryUnsaved)
{
    Click(w->btnQ);
    AddMeetings();
    Advance(30);
    ClickRow(1);
    Click(w->btnStart);
    EXPECT_TRUE(Entries().empty());
    EXPECT_EQ(Cell(0, C::colState), "0");
    EXPECT_EQ(Cell(0, C::colSecs), "30");
    EXPECT_EQ(Cell(0, C::colMark), "3");
    EXPECT_EQ(RunningRows(), 1);
}

TEST_F(Recording, ASegmentAcrossMidnightIsStoredOnTheDayItStartedWithItsFullLength)
{
    // 23:00 on the 10th to 01:00 on the 11th, ended by starting another timer; that one runs
    // from 01:00 to 01:30 and is stopped with its button.
    now = QDateTime(QDate(2026, 3, 10), QTime(23, 0, 0));
    AddMeetings();
    AddDrawing();
    ClickRow(0);
    Click(w->btnStart);
    now = QDateTime(QDate(2026, 3, 11), QTime(1, 0, 0));
    ClickRow(1);
    Click(w->btnStart);
    ASSERT_EQ(w->GetRunning(), 1);
    auto e = Entries();
    ASSERT_EQ(e.size(), 1u);
    EXPECT_EQ(e[0].day, 20260310);
    EXPECT_EQ(e[0].start, 82800);
    EXPECT_EQ(e[0].secs, 7200);

    // The long entry lies on the 10th and reaches into the 11th up to 01:00.
    Advance(1800);
    Click(w->btnStop);
    e = Entries();
    ASSERT_EQ(e.size(), 2u);
    EXPECT_EQ(e[1].day, 20260311);
    EXPECT_EQ(e[1].start, 3600);
    EXPECT_EQ(e[1].secs, 1800);
    EXPECT_FALSE(DayHasRecords(20260312, "tblDaily"));
    // A timer started inside the part past midnight is refused; at the end of the 11th's own
    // entry it starts.
    {
        const QDateTime stopped = now;
        now = QDateTime(QDate(2026, 3, 11), QTime(0, 10, 0));
        ClickRow(0);
        auto refused = AnswerBox("btnOK");
        Click(w->btnStart);
        ASSERT_TRUE(refused->shown);
        EXPECT_TRUE(refused->text.contains(GetLangString(1003).section("\r\n", 0, 0))) << refused->text.toStdString();
        EXPECT_EQ(RunningRows(), 0);
        EXPECT_LT(modDBchr::CheckTimeOverlap(20260311, 5400, 5400, -1), 1);
        now = stopped;
    }

    // The same with the Stop button across midnight.
    now = QDateTime(QDate(2026, 3, 11), QTime(23, 0, 0));
    ClickRow(0);
    Click(w->btnStart);
    now = QDateTime(QDate(2026, 3, 12), QTime(1, 0, 0));
    Click(w->btnStop);
    e = Entries();
    ASSERT_EQ(e.size(), 3u);
    EXPECT_EQ(e[2].day, 20260311);
    EXPECT_EQ(e[2].start, 82800);
    EXPECT_EQ(e[2].secs, 7200);
}

TEST_F(Recording, AStartInsideARecordedEntryIsRefusedAndChangesNothing)
{
    AddEntry(1, "Earlier", 0, 35000, 2000, 20260310, 100, 1000);   // 09:43:20 .. 10:16:40
    AddMeetings();
    ClickRow(0);
    auto ok = AnswerBox("btnOK");
    Click(w->btnStart);
    ASSERT_TRUE(ok->shown);
    EXPECT_TRUE(ok->text.contains(GetLangString(1003).section("\r\n", 0, 0))) << ok->text.toStdString();
    EXPECT_EQ(Cell(0, C::colState), "0");
    EXPECT_EQ(Cell(0, C::colStart), "");
    EXPECT_EQ(Cell(0, C::colMark), "4");
    EXPECT_FALSE(TimerRunning);
    EXPECT_FALSE(w->tmr->isActive());
    EXPECT_TRUE(w->btnStart->isEnabled());
    EXPECT_EQ(Entries().size(), 1u);

    // The quick-record button is refused the same way, before it adds a row.
    auto ok2 = AnswerBox("btnOK");
    Click(w->btnQ);
    ASSERT_TRUE(ok2->shown);
    EXPECT_EQ(Rows(), 1);

    // Called from elsewhere (tray, hot key) the quick record adds its row, whose start is then
    // refused: nothing runs and the running flag says so.
    auto ok3 = AnswerBox("btnOK");
    w->QuickRec();
    ASSERT_TRUE(ok3->shown);
    EXPECT_EQ(Rows(), 2);
    EXPECT_EQ(RunningRows(), 0);
    EXPECT_FALSE(TimerRunning);

    // A start right where the entry ends is no overlap.
    now = QDateTime(QDate(2026, 3, 10), QTime(10, 16, 40));
    ClickRow(0);
    Click(w->btnStart);
    EXPECT_EQ(Cell(0, C::colState), "1");
}

TEST_F(Recording, QuickRecordRunsAtOnceAndIsSavedOnlyOnceItHasACategory)
{
    Click(w->btnQ);
    ASSERT_EQ(Rows(), 1);
    EXPECT_EQ(Cell(0, C::colName), GetLangString(25));
    EXPECT_EQ(w->lProj->Caption(), GetLangString(75));
    EXPECT_EQ(w->lTask->Caption(), "");
    EXPECT_EQ(Cell(0, C::colState), "1");
    EXPECT_EQ(w->lstTimers->Row(), 0);
    EXPECT_TRUE(TimerRunning);
    EXPECT_FALSE(w->picInfo->isVisible());
    EXPECT_EQ(w->lstTimers->RowHeight(0), 300);

    Advance(20);
    auto ok = AnswerBox("btnOK");
    Click(w->btnStop);
    ASSERT_TRUE(ok->shown);
    EXPECT_TRUE(ok->text.contains(GetLangString(71).section("\r\n", 0, 0)));
    EXPECT_EQ(Cell(0, C::colState), "1");
    EXPECT_TRUE(Entries().empty());

    // The category comes from the tree; only a category node counts.
    Click(w->btnDown);
    EXPECT_TRUE(w->MyTree->isVisible());
    w->MyTree_NodeClick(NodeByText(w->MyTree, "Website"));
    w->MyTree_NodeClick(NodeByText(w->MyTree, "Design"));
    EXPECT_EQ(Cell(0, C::colCatID), "");
    EXPECT_TRUE(w->MyTree->isVisible());
    w->MyTree_NodeClick(NodeByText(w->MyTree, "Drawing"));
    EXPECT_FALSE(w->MyTree->isVisible());
    EXPECT_EQ(Cell(0, C::colName), "Drawing");
    EXPECT_EQ(Cell(0, C::colTaskID), "100");
    EXPECT_EQ(Cell(0, C::colCatID), "1001");
    EXPECT_EQ(Cell(0, C::colProjID), "10");
    EXPECT_EQ(Cell(0, C::colProjName), "Website");
    EXPECT_EQ(Cell(0, C::colTaskName), "Design");
    EXPECT_EQ(w->lTask->Caption(), "Design");
    EXPECT_EQ(w->lProj->Caption(), "Website");
    // still running, with the names it started with for the other windows
    EXPECT_EQ(Cell(0, C::colState), "1");
    EXPECT_EQ(RecArr[1], GetLangString(25));
    EXPECT_TRUE(w->btnStop->isEnabled());

    // The tree opened again shows the row's category selected.
    Click(w->btnDown);
    ASSERT_NE(w->MyTree->SelectedItem(), nullptr);
    EXPECT_EQ(w->MyTree->SelectedItem()->Text(), "Drawing");
    w->txtComments_Click();
    EXPECT_FALSE(w->MyTree->isVisible());

    Advance(40);
    Click(w->btnStop);
    const auto e = Entries();
    ASSERT_EQ(e.size(), 1u);
    EXPECT_EQ(e[0].name, "Drawing");
    EXPECT_EQ(e[0].category, 1001);
    EXPECT_EQ(e[0].secs, 60);
}

TEST_F(Recording, QuickRecordStopsTheRunningTimerEvenWhenAnotherRowIsSelected)
{
    AddMeetings();
    AddDrawing();
    ClickRow(0);
    w->txtComments->setPlainText("notes of the meeting");
    Click(w->btnStart);
    ClickRow(1);   // the tick stops: the running row's seconds are not kept current
    w->txtComments->setPlainText("drawing notes");
    Advance(100);
    Click(w->btnQ);

    const auto e = Entries();
    ASSERT_EQ(e.size(), 1u);
    EXPECT_EQ(e[0].category, 1000);
    EXPECT_EQ(e[0].secs, 100);
    EXPECT_EQ(e[0].comment, "notes of the meeting");
    EXPECT_EQ(Cell(1, C::colID), "");
    EXPECT_EQ(Cell(1, C::colComment), "drawing notes");
    ASSERT_EQ(Rows(), 3);
    EXPECT_EQ(RunningRows(), 1);
    EXPECT_EQ(Cell(2, C::colState), "1");
    // The new timer has a comment of its own.
    EXPECT_EQ(Cell(2, C::colComment), "");
    EXPECT_EQ(w->txtComments->toPlainText(), "");
}

TEST_F(Recording, StoppingTheRunningTimerWhileAnotherRowIsSelectedCountsItUpToNow)
{
    // What the hot key and the tray do: stop the running row, whichever row is shown.
    AddMeetings();
    AddDrawing();
    ClickRow(0);
    Click(w->btnStart);
    ClickRow(1);
    Advance(250);
    EXPECT_EQ(w->StopAction(w->GetRunning(), true), 0);
    const auto e = Entries();
    ASSERT_EQ(e.size(), 1u);
    EXPECT_EQ(e[0].secs, 250);
    EXPECT_FALSE(TimerRunning);
    EXPECT_EQ(RunningRows(), 0);
}

TEST_F(Recording, SavingACancelledSegmentWhileAnotherTimerRunsLeavesThatOneRunning)
{
    AddMeetings();
    AddMail();
    ClickRow(0);
    Click(w->btnStart);
    Advance(30);
    Click(w->btnCancel);
    ClickRow(1);
    Click(w->btnStart);
    Advance(10);
    ClickRow(0);
    Click(w->btnStop);   // writes the cancelled segment of row 0

    const auto e = Entries();
    ASSERT_EQ(e.size(), 1u);
    EXPECT_EQ(e[0].category, 1000);
    EXPECT_EQ(e[0].secs, 30);
    EXPECT_EQ(Cell(1, C::colState), "1");
    EXPECT_TRUE(TimerRunning);
    EXPECT_EQ(w->lstTimers->CellBackColorAt(1, C::colName), C::kRunColor);
}

TEST_F(Recording, RemoveRefusesTheRunningTimerAndEmptiesTheGridAtTheLastRow)
{
    AddMeetings();
    AddMail();
    ClickRow(0);
    Click(w->btnStart);
    auto ok = AnswerBox("btnOK");
    w->btnUnload_Click();   // the button is disabled for a running row; the handler still refuses
    ASSERT_TRUE(ok->shown);
    EXPECT_TRUE(ok->text.contains(GetLangString(70).section("\r\n", 0, 0)));
    EXPECT_EQ(Rows(), 2);

    Click(w->btnStop);
    ClickRow(1);
    Click(w->btnUnload);
    ASSERT_EQ(Rows(), 1);
    EXPECT_EQ(Cell(0, C::colName), "Meetings");
    EXPECT_EQ(w->lProj->Caption(), "");
    EXPECT_EQ(w->lTask->Caption(), "");
    EXPECT_FALSE(w->btnStart->isEnabled());

    ClickRow(0);
    Click(w->btnUnload);
    EXPECT_EQ(Rows(), 0);
    EXPECT_EQ(w->lstTimers->Row(), -1);
    EXPECT_FALSE(w->btnStart->isEnabled());
    EXPECT_TRUE(w->picInfo->isVisible());
    w->btnUnload_Click();   // nothing to remove
    w->btnStart_Click();
    w->btnStop_Click();
    w->btnCancel_Click();
    EXPECT_EQ(Rows(), 0);
    EXPECT_EQ(w->GetRunning(), -1);
}

TEST_F(Recording, NamesAndCommentsWithApostrophesAreStoredAsTyped)
{
    AddTimer("O'Brien's review", 1000, "Design", 100, "Website", 10);
    ClickRow(0);
    Click(w->btnStart);
    w->txtComments->setPlainText("it's done'); DELETE FROM tblDaily; --");
    Advance(10);
    Click(w->btnStop);
    const auto e = Entries();
    ASSERT_EQ(e.size(), 1u);
    EXPECT_EQ(e[0].name, "O'Brien's review");
    EXPECT_EQ(e[0].comment, "it's done'); DELETE FROM tblDaily; --");
}

TEST_F(Recording, AnEntryThatCannotBeWrittenIsReportedAndTheRowStaysUnsaved)
{
    AddMeetings();
    ClickRow(0);
    Click(w->btnStart);
    DB->Execute("DROP TABLE tblDaily");
    Advance(10);
    auto box = AnswerBox("btnOK");
    EXPECT_EQ(w->StopAction(0, true), -1);
    EXPECT_EQ(Cell(0, C::colID), "");
    EXPECT_EQ(Cell(0, C::colMark), "3");
    EXPECT_TRUE(box->shown);
    EXPECT_TRUE(box->text.contains("tblDaily")) << box->text.toStdString();
    EXPECT_EQ(w->SaveDaily(0), -1);
}

// The engine refuses new entries (cStarted 0) while the parked timers still go in.
static void RefuseEntries()
{
    DB->Execute("CREATE TRIGGER refuse_entries BEFORE INSERT ON tblDaily WHEN NEW.cStarted = 0 "
                "BEGIN SELECT RAISE(ABORT, 'disk quota exceeded'); END");
}

TEST_F(Recording, AFailedSaveIsToldWithTheEnginesMessageAndTheSegmentCanBeSavedAgain)
{
    AddMeetings();
    AddMail();
    struct Case {
        const char *how;
        std::function<void()> act;
    };
    const std::vector<Case> cases{
        {"Stop", [&] { ClickRow(0); Click(w->btnStop); }},
        {"another start", [&] { ClickRow(1); Click(w->btnStart); }},
        {"hot key", [&] { w->m_Hotkey_Hotkey(); }},
        {"quick record", [&] { Click(w->btnQ); }},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.how);
        // Meetings runs from a clean state.
        while (w->lstTimers->Rows() > 2)
            w->lstTimers->RemoveItem(2);
        if (w->GetRunning() >= 0)
            w->StopAction(w->GetRunning(), false);
        ClickRow(0);
        if (Cell(0, C::colMark) == "3") {
            auto discard = AnswerBox("btnYes");
            Click(w->btnStart);
        } else {
            Click(w->btnStart);
        }
        ASSERT_EQ(w->GetRunning(), 0);
        Advance(30);
        RefuseEntries();
        auto box = AnswerBox("btnOK");
        c.act();
        EXPECT_TRUE(box->shown);
        EXPECT_TRUE(box->text.contains("disk quota exceeded")) << box->text.toStdString();
        EXPECT_TRUE(box->text.contains(GetLangString(1620).left(20))) << box->text.toStdString();
        EXPECT_TRUE(Entries().empty());
        // The segment stays in the window, unsaved, and is saved once the engine takes it.
        EXPECT_EQ(Cell(0, C::colState), "0");
        EXPECT_EQ(Cell(0, C::colSecs), "30");
        EXPECT_EQ(Cell(0, C::colMark), "3");
        DB->Execute("DROP TRIGGER refuse_entries");
        if (w->GetRunning() >= 0)
            w->StopAction(w->GetRunning(), false);
        ClickRow(0);
        ASSERT_TRUE(w->btnStop->isEnabled());
        Click(w->btnStop);
        const auto e = Entries();
        ASSERT_EQ(e.size(), 1u);
        EXPECT_EQ(e[0].secs, 30);
        DB->Execute("DELETE FROM tblDaily WHERE cStarted = 0");
    }
}

TEST_F(Recording, SaveDailyStoresZeroForAMissingTaskOrStartAndRefusesARowWithoutCategory)
{
    const int r = AddMeetings();
    w->lstTimers->SetTextMatrix(r, C::colTaskID, "");
    w->lstTimers->SetTextMatrix(r, C::colStart, "");
    w->lstTimers->SetTextMatrix(r, C::colSecs, "42");
    EXPECT_EQ(w->SaveDaily(static_cast<int16_t>(r)), 0);
    auto e = Entries();
    ASSERT_EQ(e.size(), 1u);
    EXPECT_EQ(e[0].task, 0);
    EXPECT_EQ(e[0].start, 0);
    EXPECT_EQ(e[0].secs, 42);

    w->lstTimers->SetTextMatrix(r, C::colCatID, "");
    int16_t result = 5;
    w->SaveDaily(static_cast<int16_t>(r), result);
    EXPECT_EQ(result, -1);
    EXPECT_EQ(Entries().size(), 1u);
}

TEST_F(Recording, CalcSecsReadsTheThreeBoxes)
{
    struct Case {
        const char *h, *m, *s;
        int32_t secs;
    };
    for (const Case &c : {Case{"1", "2", "3", 3723}, Case{"0", "0", "0", 0}, Case{"", "30", "", 1800},
                          Case{"2", "0", "3.6", 7204}, Case{"x", "1", "1", 61}}) {
        w->txtP[0]->setText(c.h);
        w->txtP[1]->setText(c.m);
        w->txtP[2]->setText(c.s);
        int32_t secs = -1;
        w->CalcSecs(secs);
        EXPECT_EQ(secs, c.secs) << c.h << ":" << c.m << ":" << c.s;
    }
}

TEST_F(Recording, AddOpensTheTaskLoaderWithoutWaitingForIt)
{
    Click(w->btnLoad);
    ASSERT_NE(frmLoad::Peek(), nullptr);
    EXPECT_TRUE(FormLoaded[fiLoad]);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    frmLoad::Unload();
}
