// The display of the timers window: the edit panel of the selected row, the digits, the row
// pictures, marks and colours, and the running time in the minimised main window's caption.
#include "tests/recorder/RecorderFixture.h"

#include "core/frmMain.h"
#include "core/modMain.h"
#include "resources/Pictures.h"

#include <QApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>

using namespace modMain;
using namespace rectest;
using C = frmStart;

namespace {

// The digit a digit image shows, by comparing its picture with the ten digit pictures.
int Shown(const QLabel *image)
{
    const QImage img = image->pixmap().toImage();
    for (int d = 0; d < 10; ++d)
        if (img == res::Picture(216 + d).toImage())
            return d;
    return -1;
}

QString Digits(const frmStart *w)
{
    QString s;
    for (const auto *pair : {&w->hr, &w->mn, &w->sc}) {
        if (!s.isEmpty())
            s += ':';
        s += QString::number(Shown((*pair)[0])) + QString::number(Shown((*pair)[1]));
    }
    return s;
}

} // namespace

class TimerDisplay : public RecorderTest {};

TEST_F(TimerDisplay, EveryDigitPictureExistsAtItsSizeAndTheWindowStartsAtZero)
{
    for (int d = 0; d < 10; ++d) {
        const QPixmap p = res::Picture(216 + d);
        ASSERT_FALSE(p.isNull()) << d;
        EXPECT_EQ(p.size(), QSize(16, 24));
    }
    for (const char *name : {"CLOCK", "SAVE", "STOP", "NORMAL"})
        EXPECT_EQ(res::Picture(name).size(), QSize(16, 16)) << name;
    w->LoadDigitPictures();
    EXPECT_EQ(Digits(w), "00:00:00");
}

TEST_F(TimerDisplay, ARowNeverStartedShowsZeroTimeAndNotStartedYet)
{
    AddMeetings();
    w->lstTimers->SetTextMatrix(0, C::colComment, "prepared");
    ClickRow(0);
    EXPECT_EQ(Digits(w), "00:00:00");
    EXPECT_EQ(w->lStart1->Caption(), GetLangString(83));
    EXPECT_EQ(w->lProj->Caption(), "Website");
    EXPECT_EQ(w->lTask->Caption(), "Design");
    EXPECT_EQ(w->txtComments->toPlainText(), "prepared");
    EXPECT_TRUE(w->btnStart->isEnabled());
    EXPECT_FALSE(w->btnStop->isEnabled());
    EXPECT_FALSE(w->btnCancel->isEnabled());
    EXPECT_TRUE(w->btnUnload->isEnabled());
    EXPECT_TRUE(w->btnDown->isEnabled());
    EXPECT_FALSE(w->tmr->isActive());
}

TEST_F(TimerDisplay, AStoppedRowShowsItsStoredSeconds)
{
    struct Case {
        const char *secs;
        const char *digits;
    };
    for (const Case &c : {Case{"3725", "01:02:05"}, Case{"0", "00:00:00"}, Case{"59", "00:00:59"},
                          Case{"60", "00:01:00"}, Case{"359999", "99:59:59"}}) {
        frmStart::Get()->lstTimers->SetRows(0);
        AddMeetings();
        w->lstTimers->SetTextMatrix(0, C::colStart, "36000");
        w->lstTimers->SetTextMatrix(0, C::colDay, "20260310");
        w->lstTimers->SetTextMatrix(0, C::colSecs, c.secs);
        ClickRow(0);
        EXPECT_EQ(Digits(w), c.digits) << c.secs;
        EXPECT_EQ(Cell(0, C::colSecs), c.secs);
        EXPECT_EQ(w->lStart1->Caption(), GeneralDateText(QDateTime(QDate(2026, 3, 10), QTime(10, 0))));
    }
}

TEST_F(TimerDisplay, ARunningRowIsCountedFromItsStartAndTheMinimisedMainWindowShowsTheTime)
{
    AddMeetings();
    ClickRow(0);
    Click(w->btnStart);
    Advance(36000);
    w->tmr_Timer();
    EXPECT_EQ(Digits(w), "10:00:00");
    EXPECT_EQ(Cell(0, C::colSecs), "36000");

    frmMain *main = frmMain::Get();
    EXPECT_EQ(main->windowTitle(), "Tarvelo Desktop Companion");
    main->showMinimized();
    QApplication::processEvents();
    ASSERT_TRUE(main->isMinimized());
    Advance(3600 * 90 + 65);   // 100 hours and 65 seconds in all
    w->tmr_Timer();
    EXPECT_EQ(Digits(w), "10:01:05");   // the tens and units of 100 hours
    EXPECT_EQ(main->windowTitle(), "100:01:05");

    main->showNormal();
    QApplication::processEvents();
    w->tmr_Timer();
    EXPECT_EQ(main->windowTitle(), "Tarvelo Desktop Companion");
}

TEST_F(TimerDisplay, TheMainWindowKeepsItsTitleWhileNothingRuns)
{
    AddMeetings();
    w->lstTimers->SetTextMatrix(0, C::colDay, "20260310");
    w->lstTimers->SetTextMatrix(0, C::colStart, "100");
    w->lstTimers->SetTextMatrix(0, C::colSecs, "3725");
    frmMain *main = frmMain::Get();
    main->showMinimized();
    QApplication::processEvents();
    w->lstTimers->SetRow(0);
    w->DoClick();
    EXPECT_EQ(main->windowTitle(), "Tarvelo Desktop Companion");
    main->showNormal();
}

TEST_F(TimerDisplay, AClockSetBackShowsNoTimeRatherThanANegativeOne)
{
    AddMeetings();
    ClickRow(0);
    Click(w->btnStart);
    Advance(-120);
    w->tmr_Timer();
    EXPECT_EQ(Digits(w), "00:00:00");
    EXPECT_EQ(Cell(0, C::colSecs), "0");
    Advance(10);
    Click(w->btnStop);
    const auto e = Entries();
    ASSERT_EQ(e.size(), 1u);
    EXPECT_EQ(e[0].secs, 0);
}

TEST_F(TimerDisplay, TheButtonsFollowTheSelectedRow)
{
    // a row with a category whose last segment was cancelled
    AddMeetings();
    ClickRow(0);
    Click(w->btnStart);
    Advance(5);
    Click(w->btnCancel);
    // a quick-record row (no category), running, and later stopped
    Click(w->btnQ);

    struct Expect {
        int row;
        bool start, stop, cancel, unload;
    };
    ClickRow(1);   // running, no category
    for (const Expect &x : {Expect{1, false, false, true, false}, Expect{0, true, true, false, true}}) {
        ClickRow(x.row);
        EXPECT_EQ(w->btnStart->isEnabled(), x.start) << x.row;
        EXPECT_EQ(w->btnStop->isEnabled(), x.stop) << x.row;
        EXPECT_EQ(w->btnCancel->isEnabled(), x.cancel) << x.row;
        EXPECT_EQ(w->btnUnload->isEnabled(), x.unload) << x.row;
    }
    // the tick runs only while the running row is the selected one
    EXPECT_FALSE(w->tmr->isActive());
    ClickRow(1);
    EXPECT_TRUE(w->tmr->isActive());
    Click(w->btnCancel);
    ClickRow(1);
    EXPECT_FALSE(w->btnStop->isEnabled());   // mark 3, but no category
    EXPECT_FALSE(w->tmr->isActive());
}

TEST_F(TimerDisplay, TheSelectedRowsSecondsStayUntouchedWhileAnotherIsShownAndCatchUpWhenShownAgain)
{
    AddMeetings();
    AddMail();
    ClickRow(0);
    Click(w->btnStart);
    Advance(10);
    w->tmr_Timer();
    ClickRow(1);
    Advance(50);
    w->tmr_Timer();   // a tick that might still arrive draws the shown row
    EXPECT_EQ(Cell(0, C::colSecs), "10");
    ClickRow(0);
    EXPECT_EQ(Cell(0, C::colSecs), "60");
    EXPECT_EQ(Digits(w), "00:01:00");
}

TEST_F(TimerDisplay, SetColorsAndPicsMarksEveryRowByItsStateAndKeepsTheSelection)
{
    // rows: 0 running, 1 saved, 2 cancelled (unsaved), 3 never started, 4 start "0"
    for (int i = 0; i < 5; ++i)
        AddTimer("Meetings", 1000 + i, "Design", 100, "Website", 10);
    auto set = [&](int r, const char *state, const char *id, const char *start) {
        w->lstTimers->SetTextMatrix(r, C::colState, state);
        w->lstTimers->SetTextMatrix(r, C::colID, id);
        w->lstTimers->SetTextMatrix(r, C::colStart, start);
        w->lstTimers->SetTextMatrix(r, C::colMark, "9");
    };
    set(0, "1", "", "100");
    set(1, "0", "12", "100");
    set(2, "0", "", "100");
    set(3, "0", "", "");
    set(4, "0", "", "0");
    w->lstTimers->SetRow(3);
    // A hidden column keeps its colour: it is not painted.
    w->lstTimers->SetCellBackColorAt(2, C::colCatID, 0x123456);

    w->SetColorsAndPics(C::kRunColor, C::kOtherColor, 0);
    struct Expect {
        const char *mark;
        const char *picture;
    };
    const Expect expect[5] = {{"1", "CLOCK"}, {"2", "SAVE"}, {"3", "STOP"}, {"4", "NORMAL"}, {"4", "NORMAL"}};
    for (int r = 0; r < 5; ++r) {
        EXPECT_EQ(Cell(r, C::colMark), expect[r].mark) << r;
        EXPECT_EQ(w->lstTimers->CellPictureAt(r, C::colPic).toImage(), res::Picture(expect[r].picture).toImage()) << r;
        EXPECT_EQ(w->lstTimers->CellBackColorAt(r, C::colPic), r == 0 ? C::kRunColor : C::kOtherColor) << r;
        EXPECT_EQ(w->lstTimers->CellBackColorAt(r, C::colName), r == 0 ? C::kRunColor : C::kOtherColor) << r;
    }
    EXPECT_EQ(w->lstTimers->CellBackColorAt(2, C::colCatID), 0x123456);
    EXPECT_EQ(w->lstTimers->Row(), 3);

    // Given another row, the running row keeps the running colour only in its picture cell.
    w->SetColorsAndPics(C::kRunColor, C::kOtherColor, 1);
    EXPECT_EQ(w->lstTimers->CellBackColorAt(0, C::colPic), C::kRunColor);
    EXPECT_EQ(w->lstTimers->CellBackColorAt(0, C::colName), C::kOtherColor);
    EXPECT_EQ(Cell(0, C::colMark), "1");
}
