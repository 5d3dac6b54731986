// The daily log window's entry editor, headless, through the real grid, boxes and tree: a
// clicked entry in the editor, start and end edits that the row and the duration follow, the
// overlap refusals, the task picked in the tree, the edited mark, an accepted entry read-only,
// clearing that never reaches another row, the time picker on the boxes, the row tips, and the
// free stretches of the working day turned into an entry.
#include "tests/timelog/DailyFixture.h"

#include "core/frmMain.h"
#include "core/modMain.h"
#include "platform/dao/dao.h"
#include "platform/forms/Forms.h"
#include "resources/Pictures.h"
#include "store/modDBchr.h"
#include "tests/support/TestEnv.h"
#include "timelog/DailyRules.h"
#include "core/clsTimePicker.h"
#include "timelog/frmDaily.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

using namespace modMain;
using namespace dailyrules;
using dailytest::DailyTest;
using frametest::BoxText;
using frametest::BoxWatcher;

namespace {

constexpr double H = 3600;

class EditorTest : public DailyTest {
protected:
    void HoverAt(frmDaily *w, double yPixels)
    {
        QWidget *vp = w->lstLog->viewport();
        const QPointF at(20, yPixels);
        QMouseEvent e(QEvent::MouseMove, at, vp->mapToGlobal(at), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(vp, &e);
    }

    // The six duration pictures as digits (-1 for a picture that is no digit).
    QString Digits(frmDaily *w)
    {
        QString out;
        for (const auto *pair : {&w->hr, &w->mn, &w->sc}) {
            for (QLabel *img : *pair) {
                int digit = -1;
                for (int d = 0; d < 10 && digit < 0; ++d)
                    if (frametest::SamePicture(img->pixmap(), res::Picture(216 + d)))
                        digit = d;
                out += digit < 0 ? QStringLiteral("?") : QString::number(digit);
            }
            out += u' ';
        }
        return out.trimmed();
    }

    QString Cell(frmDaily *w, int r, int c) { return w->lstLog->TextMatrix(r, c); }


    void ShowFreeTime(frmDaily *w)
    {
        if (!w->mnuLogs_FreeBusy->isChecked())
            w->mnuLogs_FreeBusy->trigger();
        ASSERT_TRUE(w->mnuLogs_FreeBusy->isChecked());
    }
};

TEST_F(EditorTest, AClickedEntryOpensInTheEditor)
{
    Entry(1, m_today, 9 * H, 3725, QStringLiteral("plans"));
    Entry(2, m_today, 11 * H, 600);
    frmDaily *w = Open();
    ASSERT_EQ(w->lstLog->Rows(), 2);
    EXPECT_EQ(Digits(w), QStringLiteral("00 00 00"));
    EXPECT_FALSE(w->lblStart->isEnabled()) << "no row open yet";
    ClickRow(w, 0);
    EXPECT_EQ(w->txtStart->text(), QStringLiteral("09:00:00"));
    EXPECT_EQ(w->txtEnd->text(), QStringLiteral("10:02:05"));
    EXPECT_EQ(Digits(w), QStringLiteral("01 02 05"));
    EXPECT_EQ(w->lProj->Caption(), QStringLiteral("Alpha"));
    EXPECT_EQ(w->lTask->Caption(), QStringLiteral("Design"));
    EXPECT_EQ(w->txtComments->toPlainText(), QStringLiteral("plans"));
    EXPECT_FALSE(w->MyTree->isVisible());
    EXPECT_FALSE(w->btnSave->isEnabled()) << "nothing edited yet";
    EXPECT_FALSE(w->mnuLogs_Save->isEnabled());
    EXPECT_TRUE(w->btnDel->isEnabled());
    EXPECT_TRUE(w->lblStart->isEnabled());
    EXPECT_TRUE(w->txtComments->isEnabled());
    EXPECT_TRUE(w->txtStart->isReadOnly()) << "only the picker writes the times";
    // Opening a row changes nothing in it.
    EXPECT_EQ(Cell(w, 0, ColChanged), QString());
    EXPECT_EQ(Cell(w, 0, ColSec), QStringLiteral("3725"));
    EXPECT_EQ(Cell(w, 0, ColComment), QStringLiteral("plans"));
    EXPECT_EQ(w->CheckChanged(), 0);

    ClickRow(w, 1);
    EXPECT_EQ(w->txtComments->toPlainText(), QString());
    EXPECT_EQ(Digits(w), QStringLiteral("00 10 00"));
    EXPECT_EQ(Cell(w, 0, ColComment), QStringLiteral("plans")) << "the other row keeps its comment";
}

TEST_F(EditorTest, StartAndEndEditsGoIntoTheRowAndTheDurationFollows)
{
    Entry(1, m_today, 9 * H, H);
    frmDaily *w = Open();
    ClickRow(w, 0);

    w->txtStart->setText(QStringLiteral("09:30"));
    EXPECT_EQ(Cell(w, 0, ColStartText), QStringLiteral("09:30"));
    EXPECT_EQ(Cell(w, 0, ColStart), QStringLiteral("34200"));
    EXPECT_EQ(Cell(w, 0, ColSec), QStringLiteral("1800"));
    EXPECT_EQ(Digits(w), QStringLiteral("00 30 00"));
    EXPECT_EQ(Cell(w, 0, ColChanged), QStringLiteral("True"));
    EXPECT_TRUE(w->btnSave->isEnabled());
    EXPECT_TRUE(w->mnuLogs_Save->isEnabled());

    w->txtEnd->setText(QStringLiteral("11:15"));
    EXPECT_EQ(Cell(w, 0, ColEndText), QStringLiteral("11:15"));
    EXPECT_EQ(Cell(w, 0, ColSec), QStringLiteral("6300"));
    EXPECT_EQ(Digits(w), QStringLiteral("01 45 00"));

    // An end before the start gives the entry no length.
    w->txtEnd->setText(QStringLiteral("08:00"));
    EXPECT_EQ(w->txtEnd->text(), QStringLiteral("09:30"));
    EXPECT_EQ(Cell(w, 0, ColEndText), QStringLiteral("09:30"));
    EXPECT_EQ(Cell(w, 0, ColSec), QStringLiteral("0"));
    EXPECT_EQ(Digits(w), QStringLiteral("00 00 00"));

    // A start moved past the end, then back: the duration is counted on the shown day.
    w->txtEnd->setText(QStringLiteral("10:00"));
    w->txtStart->setText(QStringLiteral("10:30"));
    EXPECT_EQ(Cell(w, 0, ColSec), QStringLiteral("-1800"));
    w->txtStart->setText(QStringLiteral("09:45"));
    EXPECT_EQ(Cell(w, 0, ColSec), QStringLiteral("900"));
    EXPECT_EQ(Digits(w), QStringLiteral("00 15 00"));

    // The edits are what a save writes.
    w->btnSave_Click();
    EXPECT_EQ(Count(QStringLiteral("SELECT COUNT(*) FROM tblDaily WHERE cID = 1 AND cStarttime = 35100 AND cSec = 900")), 1);
    EXPECT_EQ(Cell(w, 0, ColChanged), QString());
}

TEST_F(EditorTest, AnEntryPastMidnightKeepsItsLengthInTheEditor)
{
    Entry(1, m_today, 23 * H, 2 * H);   // recorded by a timer across midnight
    frmDaily *w = Open();
    ClickRow(w, 0);
    EXPECT_EQ(w->txtEnd->text(), QStringLiteral("01:00:00"));
    EXPECT_EQ(Digits(w), QStringLiteral("02 00 00"));
    EXPECT_EQ(Cell(w, 0, ColSec), QStringLiteral("7200"));
    w->txtStart->setText(QStringLiteral("23:30"));
    EXPECT_EQ(Cell(w, 0, ColSec), QStringLiteral("5400"));
    EXPECT_EQ(w->txtEnd->text(), QStringLiteral("01:00:00"));
    w->btnSave_Click();
    EXPECT_EQ(Count(QStringLiteral("SELECT COUNT(*) FROM tblDaily WHERE cStarttime = 84600 AND cSec = 5400")), 1);
}

TEST_F(EditorTest, TimesInsideAnotherEntryAreRefused)
{
    Entry(1, m_today, 9 * H, H);    // 09:00 - 10:00
    Entry(2, m_today, 11 * H, H);   // 11:00 - 12:00, the one edited
    frmDaily *w = Open();
    {
        BoxWatcher boxes;
        ClickRow(w, 1);
        w->txtStart->setText(QStringLiteral("09:30"));
        ASSERT_EQ(boxes.Boxes().size(), 2u);
        EXPECT_EQ(boxes.Boxes()[0].text, BoxText(370));
        EXPECT_EQ(boxes.Boxes()[1].text, BoxText(369));
        EXPECT_EQ(boxes.Boxes()[1].icon, 16);
        EXPECT_EQ(w->txtStart->text(), QStringLiteral("09:30")) << "the box keeps the refused text";
        EXPECT_EQ(Cell(w, 1, ColStartText), QStringLiteral("11:00:00"));
        EXPECT_EQ(Cell(w, 1, ColChanged), QString());
    }
    {
        BoxWatcher boxes;
        ClickRow(w, 1);
        w->txtStart->setText(QStringLiteral("10:00"));   // meets the other's end
        EXPECT_TRUE(boxes.Boxes().empty());
        EXPECT_EQ(Cell(w, 1, ColStartText), QStringLiteral("10:00"));
    }
    {
        // The end through the picker: a refused end gets the box's old text back.
        BoxWatcher boxes;
        w->lblDay->SetCaption(QString());
        w->lblDay->SetCaption(w->cmbDays->Text());
        ClickRow(w, 1);
        w->lblEnd_Click();
        EXPECT_EQ(w->PickerOldText, QStringLiteral("12:00:00"));
        w->m_Picker->ParseTime(QStringLiteral("09:30"));
        w->lblExit_Click();
        ASSERT_EQ(boxes.Boxes().size(), 1u);
        EXPECT_EQ(boxes.Boxes()[0].text, BoxText(370));
        EXPECT_EQ(w->txtEnd->text(), QStringLiteral("12:00:00"));
        EXPECT_EQ(Cell(w, 1, ColEndText), QStringLiteral("12:00:00"));
        EXPECT_EQ(Cell(w, 1, ColChanged), QString());
    }
    {
        // Inside its own old span is fine.
        BoxWatcher boxes;
        w->lblEnd_Click();
        w->m_Picker->ParseTime(QStringLiteral("11:30"));
        w->lblExit_Click();
        EXPECT_TRUE(boxes.Boxes().empty());
        EXPECT_EQ(Cell(w, 1, ColEndText), QStringLiteral("11:30"));
        EXPECT_EQ(Cell(w, 1, ColSec), QStringLiteral("1800"));
    }
}

TEST_F(EditorTest, ARefusedStartFeedsNeitherTheTreePickNorTheSave)
{
    Entry(1, m_today, 8 * H, 0.5 * H);     // 08:00 - 08:30
    Entry(2, m_today, 9 * H, 1.75 * H);    // 09:00 - 10:45
    Entry(3, m_today, 13.5 * H, 1.5 * H);  // 13:30 - 15:00
    frmDaily *w = Open();
    const auto typeStart = [&](const QString &digits) {
        w->lblStart_Click();
        auto *keys = w->picPicker->findChild<QLineEdit *>(QStringLiteral("txtKey"));
        ASSERT_NE(keys, nullptr);
        QTest::keyClicks(keys, digits);
        QTest::keyClick(keys, Qt::Key_Return);
    };

    w->btnAdd_Click();
    ASSERT_EQ(w->lstLog->Rows(), 4);
    ASSERT_EQ(w->txtStart->text(), QStringLiteral("15:00:00"));
    ASSERT_EQ(w->txtEnd->text(), QStringLiteral("16:00:00"));
    {
        BoxWatcher boxes;
        typeStart(QStringLiteral("1410"));
        ASSERT_EQ(boxes.Boxes().size(), 2u);
        EXPECT_EQ(boxes.Boxes()[0].text, BoxText(370));
        EXPECT_EQ(boxes.Boxes()[1].text, BoxText(369));
        EXPECT_EQ(w->txtStart->text(), QStringLiteral("14:10"));
    }

    // The task from the tree: the row keeps the span it had, the box the refused text.
    w->MyTree_NodeClick(Category(w, QStringLiteral("100")));
    EXPECT_EQ(Cell(w, 3, ColStart), QStringLiteral("54000"));
    EXPECT_EQ(Cell(w, 3, ColSec), QStringLiteral("3600"));
    EXPECT_EQ(Cell(w, 3, ColStartText), QStringLiteral("15:00:00"));
    EXPECT_EQ(Digits(w), QStringLiteral("01 00 00"));
    EXPECT_EQ(w->txtStart->text(), QStringLiteral("14:10"));
    EXPECT_EQ(w->txtEnd->text(), QStringLiteral("16:00:00"));
    {
        BoxWatcher boxes;
        w->btnSave_Click();
        ASSERT_EQ(boxes.Boxes().size(), 1u);
        EXPECT_EQ(boxes.Boxes()[0].text, BoxText(369));
        EXPECT_EQ(boxes.Boxes()[0].icon, 16);
        EXPECT_EQ(Count(QStringLiteral("SELECT COUNT(*) FROM tblDaily")), 3) << "nothing is stored";
        EXPECT_EQ(w->txtStart->text(), QStringLiteral("14:10"));
    }

    // A start the editor takes: the save stores exactly the start and end shown, and the
    // span between them.
    {
        BoxWatcher boxes;
        typeStart(QStringLiteral("1510"));
        EXPECT_TRUE(boxes.Boxes().empty());
        EXPECT_EQ(Digits(w), QStringLiteral("00 50 00"));
        w->btnSave_Click();
        EXPECT_TRUE(boxes.Boxes().empty());
    }
    EXPECT_EQ(Count(QStringLiteral("SELECT COUNT(*) FROM tblDaily WHERE cStarttime = 54600 AND cSec = 3000 AND cCatID = 100")),
              1);
    EXPECT_EQ(Count(QStringLiteral("SELECT COUNT(*) FROM tblDaily")), 4);
}

TEST_F(EditorTest, TimesAcrossMidnightMeetTheNeighbourDays)
{
    Entry(1, m_yesterday, 23 * H, 2 * H);     // a timer's segment: yesterday 23:00 to today 01:00
    Entry(2, m_today, 5 * H, H);              // today 05:00 - 06:00, the one edited
    frmDaily *w = Open();
    ShowDay(w, m_today);
    ASSERT_EQ(Rows(w), QStringLiteral("05:00:00-06:00:00"));
    {
        // Inside yesterday's segment: refused at once, and the save refuses the box.
        BoxWatcher boxes;
        ClickRow(w, 0);
        w->txtStart->setText(QStringLiteral("00:30"));
        ASSERT_EQ(boxes.Boxes().size(), 2u);
        EXPECT_EQ(boxes.Boxes()[0].text, BoxText(370));
        EXPECT_EQ(boxes.Boxes()[1].text, BoxText(369));
        w->btnSave_Click();
        ASSERT_EQ(boxes.Boxes().size(), 3u);
        EXPECT_EQ(boxes.Boxes()[2].text, BoxText(369));
        EXPECT_EQ(Count(QStringLiteral("SELECT COUNT(*) FROM tblDaily WHERE cID = 2 AND cStarttime = 18000")), 1);
    }
    {
        // At its end the time is free.
        BoxWatcher boxes;
        ClickRow(w, 0);
        w->txtStart->setText(QStringLiteral("01:00"));
        w->btnSave_Click();
        EXPECT_TRUE(boxes.Boxes().empty());
        EXPECT_EQ(Count(QStringLiteral("SELECT COUNT(*) FROM tblDaily WHERE cID = 2 AND cStarttime = 3600 AND cSec = 18000")), 1);
    }
    {
        // Yesterday's segment moved to start at 22:30 still ends at 01:00 today; moved to end
        // at 01:30 it reaches today's entry, which the save sees.
        BoxWatcher boxes;
        ShowDay(w, m_yesterday);
        ClickRow(w, 0);
        EXPECT_EQ(w->txtEnd->text(), QStringLiteral("01:00:00"));
        w->txtStart->setText(QStringLiteral("22:30"));
        EXPECT_EQ(Cell(w, 0, ColSec), QStringLiteral("9000"));
        w->txtEnd->setText(QStringLiteral("01:30"));
        ASSERT_EQ(boxes.Boxes().size(), 1u) << "an end inside today's entry";
        EXPECT_EQ(boxes.Boxes()[0].text, BoxText(370));
        EXPECT_EQ(w->txtEnd->text(), QStringLiteral("01:00:00"));
        w->btnSave_Click();
        EXPECT_EQ(boxes.Boxes().size(), 1u);
        EXPECT_EQ(Count(QStringLiteral("SELECT COUNT(*) FROM tblDaily WHERE cID = 1 AND cStarttime = 81000 AND cSec = 9000")), 1);
    }
}

TEST_F(EditorTest, TheTimePickerOpensOnTheBoxesAndWritesThem)
{
    Entry(1, m_today, 9 * H, H);
    frmDaily *w = Open();
    ClickRow(w, 0);
    clsTimePicker *picker = w->m_Picker;
    ASSERT_TRUE(picker->IsBound());
    frametest::Click(w->lblStart);
    EXPECT_TRUE(w->picPicker->isVisible());
    EXPECT_EQ(w->PickerBox, w->txtStart);
    EXPECT_EQ(forms::Left(w->picPicker), forms::Left(w->txtStart));
    EXPECT_EQ(picker->Keys().Output(), QStringLiteral("09:00"));
    picker->ParseTime(QStringLiteral("08:15"));
    frametest::Click(w->picPicker->findChild<QWidget *>(QStringLiteral("lblExit")));
    EXPECT_FALSE(w->picPicker->isVisible());
    EXPECT_EQ(w->txtStart->text(), QStringLiteral("08:15"));
    EXPECT_EQ(Cell(w, 0, ColSec), QStringLiteral("6300"));

    // Typed into the picker's key box, Enter writes the end.
    w->lblEnd_Click();
    EXPECT_EQ(w->PickerOldText, QStringLiteral("10:00:00"));
    auto *keys = w->picPicker->findChild<QLineEdit *>(QStringLiteral("txtKey"));
    ASSERT_NE(keys, nullptr);
    QTest::keyClicks(keys, QStringLiteral("0930"));
    QTest::keyClick(keys, Qt::Key_Return);
    EXPECT_FALSE(w->picPicker->isVisible());
    EXPECT_EQ(w->txtEnd->text(), QStringLiteral("09:30"));
    EXPECT_EQ(Cell(w, 0, ColEndText), QStringLiteral("09:30"));
    EXPECT_EQ(Digits(w), QStringLiteral("01 15 00"));

    // Without a day there is nothing to pick for.
    BoxWatcher boxes;
    w->lblDay->SetCaption(QString());
    w->lblEnd_Click();
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].text, BoxText(364));
    EXPECT_FALSE(w->picPicker->isVisible());
}

TEST_F(EditorTest, ATaskPickedInTheTreeBecomesTheRowsTask)
{
    Entry(1, m_today, 9 * H, H);
    frmDaily *w = Open();
    w->btnAdd_Click();   // a new row after the entry: 10:00 - 11:00
    ASSERT_EQ(w->lstLog->Rows(), 2);
    EXPECT_TRUE(w->MyTree->isVisible());
    EXPECT_FALSE(w->btnSave->isEnabled());
    EXPECT_FALSE(w->btnDel->isEnabled());
    EXPECT_EQ(Digits(w), QStringLiteral("01 00 00"));

    // A project or a task is no choice.
    forms::Node *category = Category(w, QStringLiteral("101"));
    ASSERT_NE(category, nullptr);
    w->MyTree_NodeClick(category->Parent());
    w->MyTree_NodeClick(category->Parent()->Parent());
    EXPECT_EQ(Cell(w, 1, ColCat), QString());
    EXPECT_TRUE(w->MyTree->isVisible());

    w->MyTree_NodeClick(category);
    EXPECT_EQ(Cell(w, 1, ColName), QStringLiteral("Meetings"));
    EXPECT_EQ(Cell(w, 1, ColTask), QStringLiteral("10"));
    EXPECT_EQ(Cell(w, 1, ColTaskName), QStringLiteral("Design"));
    EXPECT_EQ(Cell(w, 1, ColProjID), QStringLiteral("1"));
    EXPECT_EQ(Cell(w, 1, ColProjName), QStringLiteral("Alpha"));
    EXPECT_EQ(Cell(w, 1, ColCat), QStringLiteral("101"));
    EXPECT_EQ(Cell(w, 1, ColSec), QStringLiteral("3600"));
    EXPECT_EQ(Cell(w, 1, ColChanged), QStringLiteral("True"));
    EXPECT_FALSE(w->MyTree->isVisible());
    EXPECT_TRUE(w->btnSave->isEnabled());
    EXPECT_TRUE(w->btnDel->isEnabled());
    EXPECT_EQ(w->lTask->Caption(), QStringLiteral("Design"));
    EXPECT_EQ(w->lProj->Caption(), QStringLiteral("Alpha"));

    // The tree opens on the row's category.
    w->btnDown_Click();
    EXPECT_TRUE(w->MyTree->isVisible());
    ASSERT_NE(w->MyTree->SelectedItem(), nullptr);
    EXPECT_EQ(w->MyTree->SelectedItem()->Tag(), QStringLiteral("101"));
    w->btnDown_Click();
    EXPECT_FALSE(w->MyTree->isVisible());
}

TEST_F(EditorTest, TheTreeFindsTheCategoryWhenAProjectSharesTheTasksId)
{
    // Project 10 sorts before project 1 "Alpha", whose task also has the id 10.
    modDBchr::SaveProject(10, QStringLiteral("Aardvark"), QStringLiteral("FALSE"));
    Entry(1, m_today, 9 * H, H);
    frmDaily *w = Open();
    ClickRow(w, 0);
    w->btnDown_Click();
    ASSERT_NE(w->MyTree->SelectedItem(), nullptr);
    EXPECT_EQ(w->MyTree->SelectedItem()->Tag(), QStringLiteral("100"));
}

TEST_F(EditorTest, TheEditedMarkCountsEachRowOnce)
{
    Entry(1, m_today, 9 * H, H);
    Entry(2, m_today, 11 * H, H);
    frmDaily *w = Open();
    ClickRow(w, 0);
    w->txtComments->setPlainText(QStringLiteral("one"));
    w->txtComments->setPlainText(QStringLiteral("one more"));
    EXPECT_EQ(Cell(w, 0, ColComment), QStringLiteral("one more"));
    EXPECT_EQ(Cell(w, 0, ColChanged), QStringLiteral("True"));
    EXPECT_EQ(w->CheckChanged(), 1);
    ClickRow(w, 1);
    EXPECT_FALSE(w->btnSave->isEnabled());
    ClickRow(w, 0);
    EXPECT_TRUE(w->btnSave->isEnabled()) << "the mark survives reopening the row";
    EXPECT_EQ(w->txtComments->toPlainText(), QStringLiteral("one more"));
    EXPECT_EQ(w->CheckChanged(), 1);

    // A new row without a task is marked as edited but not savable.
    w->btnAdd_Click();
    w->txtComments->setPlainText(QStringLiteral("later"));
    EXPECT_EQ(Cell(w, 2, ColChanged), QStringLiteral("False"));
    EXPECT_FALSE(w->btnSave->isEnabled());
    EXPECT_EQ(w->CheckChanged(), 1);

    // Loading the day again drops the marks.
    w->lblDay->SetCaption(QString());
    w->lblDay->SetCaption(w->cmbDays->Text());
    EXPECT_EQ(w->CheckChanged(), 0);
}

TEST_F(EditorTest, AnAcceptedEntryOpensReadOnly)
{
    Entry(1, m_today, 9 * H, H, QStringLiteral("sent"), 1);
    Entry(2, m_today, 11 * H, H);
    frmDaily *w = Open();
    ClickRow(w, 1);
    ClickRow(w, 0);
    EXPECT_EQ(w->txtStart->text(), QStringLiteral("09:00:00"));
    EXPECT_EQ(w->txtComments->toPlainText(), QStringLiteral("sent"));
    for (QWidget *c : std::initializer_list<QWidget *>{w->lblStart, w->lblEnd, w->btnDown, w->txtComments, w->btnSave,
                                                       w->btnDel})
        EXPECT_FALSE(c->isEnabled()) << c->objectName().toStdString();
    EXPECT_FALSE(w->mnuLogs_Save->isEnabled());
    EXPECT_FALSE(w->mnuLogs_Del->isEnabled());
    // Nothing reaches the row, whatever writes the boxes.
    w->txtStart->setText(QStringLiteral("08:00"));
    w->txtEnd->setText(QStringLiteral("08:30"));
    w->MyTree_NodeClick(Category(w, QStringLiteral("101")));
    EXPECT_EQ(Cell(w, 0, ColStartText), QStringLiteral("09:00:00"));
    EXPECT_EQ(Cell(w, 0, ColCat), QStringLiteral("100"));
    EXPECT_EQ(Cell(w, 0, ColChanged), QString());

    // The next row is editable again.
    ClickRow(w, 1);
    EXPECT_TRUE(w->lblStart->isEnabled());
    EXPECT_TRUE(w->txtComments->isEnabled());
    EXPECT_TRUE(w->btnDel->isEnabled());
}

TEST_F(EditorTest, ClearingNeverReachesAnotherRow)
{
    Entry(1, m_today, 9 * H, H, QStringLiteral("first"));
    Entry(2, m_today, 11 * H, H, QStringLiteral("second"));
    frmDaily *w = Open();
    ClickRow(w, 0);
    {
        BoxWatcher boxes;   // the delete asks first
        w->btnDel_Click();
    }
    ASSERT_EQ(w->lstLog->Rows(), 1);
    EXPECT_EQ(w->lstLog->Row(), 0);
    EXPECT_EQ(Cell(w, 0, ColComment), QStringLiteral("second"));
    EXPECT_EQ(Cell(w, 0, ColChanged), QString());
    EXPECT_EQ(w->txtComments->toPlainText(), QString());
    EXPECT_EQ(Digits(w), QStringLiteral("00 00 00"));

    // Nor does the clearing of a day switch.
    ClickRow(w, 0);
    w->lblDay->SetCaption(QString());
    w->lblDay->SetCaption(w->cmbDays->Text());
    EXPECT_EQ(Cell(w, 0, ColComment), QStringLiteral("second"));
    EXPECT_EQ(Cell(w, 0, ColChanged), QString());
    EXPECT_EQ(w->CheckChanged(), 0);
    EXPECT_EQ(CommentOf(2), QStringLiteral("second"));
}

TEST_F(EditorTest, RowsOfADayAfterTodayDoNotOpen)
{
    const int32_t tomorrow = DateToLong(QDate::currentDate().addDays(1));
    Entry(1, tomorrow, 9 * H, H, QStringLiteral("plan"));
    frmDaily *w = Open();
    ShowDay(w, tomorrow);
    ASSERT_EQ(forms::Tag(w->lblDay), QString::number(tomorrow));
    BoxWatcher boxes;
    ClickRow(w, 0);
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].text, BoxText(365));
    EXPECT_EQ(w->txtStart->text(), QString());
    EXPECT_EQ(w->txtComments->toPlainText(), QString());
}

TEST_F(EditorTest, TheRowUnderTheMouseTellsItsState)
{
    QLabel *status = frmMain::Get()->lblMsg;
    frmDaily *w = Open();
    HoverAt(w, 5);
    EXPECT_EQ(status->text().trimmed(), GetLangString(254, true));

    Entry(1, m_today, 9 * H, H, QString(), 1);
    Entry(2, m_today, 11 * H, H, QString(), 3);
    w->lblDay->SetCaption(QString());
    w->lblDay->SetCaption(w->cmbDays->Text());
    ShowFreeTime(w);
    ASSERT_EQ(Rows(w), QStringLiteral("09:00:00-10:00:00 +10:00:00-11:00:00 11:00:00-12:00:00 +12:00:00-17:00:00"));
    const double rowPx = forms::TwipsToPixels(w->lstLog->RowHeight(0));
    const int16_t expected[] = {251, 250, 253, 250};
    for (int r = 0; r < 4; ++r) {
        HoverAt(w, (r + 0.5) * rowPx);
        EXPECT_EQ(status->text().trimmed(), GetLangString(expected[r], true)) << r;
    }
    HoverAt(w, 6.5 * rowPx);
    EXPECT_EQ(status->text().trimmed(), GetLangString(250, true)) << "below the last row nothing changes";
}

TEST_F(EditorTest, FreeTimeRowsFollowTheDay)
{
    struct Case {
        const char *what;
        double dayStart, dayEnd;
        std::vector<std::pair<double, double>> entries;   // start, duration
        const char *rows;
    } cases[] = {
        {"no entries", 9 * H, 17 * H, {}, "+09:00:00-17:00:00"},
        {"entries at the edges", 9 * H, 17 * H, {{9 * H, H}, {16 * H, H}}, "09:00:00-10:00:00 +10:00:00-16:00:00 16:00:00-17:00:00"},
        {"touching entries and a gap of 120 s", 9 * H, 17 * H, {{9 * H, H}, {10 * H, 1800}, {10.5 * H + 120, 600}},
         "09:00:00-10:00:00 10:00:00-10:30:00 10:32:00-10:42:00 +10:42:00-17:00:00"},
        {"outside the working hours", 9 * H, 17 * H, {{18 * H, 1800}, {19 * H, 1800}},
         "+09:00:00-18:00:00 18:00:00-18:30:00 +18:30:00-19:00:00 19:00:00-19:30:00"},
        {"an earlier entry ending last", 9 * H, 17 * H, {{9 * H, 5 * H}, {10 * H, H}},
         "09:00:00-14:00:00 10:00:00-11:00:00 +14:00:00-17:00:00"},
        {"across midnight", 9 * H, 17 * H, {{8 * H, H}, {22 * H, 3 * H}},
         "08:00:00-09:00:00 +09:00:00-22:00:00 22:00:00-01:00:00"},
        {"a working day ending before it starts", 17 * H, 9 * H, {{10 * H, H}}, "10:00:00-11:00:00"},
    };
    frmDaily *w = Open();
    ShowFreeTime(w);
    double id = 1;
    for (const Case &c : cases) {
        DB->Execute(QStringLiteral("DELETE FROM tblDaily"));
        for (const auto &[start, sec] : c.entries)
            Entry(id++, m_today, start, sec);
        WorkDayStart = c.dayStart;
        WorkDayEnd = c.dayEnd;
        w->lblDay->SetCaption(QString());
        w->lblDay->SetCaption(w->cmbDays->Text());
        EXPECT_EQ(Rows(w), QLatin1String(c.rows)) << c.what;
        for (int r = 0; r < w->lstLog->Rows(); ++r)
            if (Cell(w, r, ColTask).isEmpty()) {
                EXPECT_EQ(Cell(w, r, ColName), w->NewEntryName) << c.what;
                EXPECT_EQ(Cell(w, r, ColID), QString()) << c.what;
                EXPECT_EQ(w->lstLog->CellForeColorAt(r, ColName), 255) << c.what;
            }
    }
    EXPECT_EQ(Count(QStringLiteral("SELECT COUNT(*) FROM tblDaily WHERE cTaskID = 0 OR cName = '%1'").arg(w->NewEntryName)), 0)
        << "free time is never stored";

    // Switched off, only the entries remain.
    w->mnuLogs_FreeBusy->trigger();
    EXPECT_EQ(Rows(w), QStringLiteral("10:00:00-11:00:00"));
}

TEST_F(EditorTest, FreeTimeRowsStandInStartOrderAroundAnEditedRow)
{
    Entry(1, m_today, 8.5 * H, 2.5 * H);   // 08:30 - 11:00
    Entry(2, m_today, 13 * H, H);          // 13:00 - 14:00
    Entry(3, m_today, 15 * H, 0.75 * H);   // 15:00 - 15:45, moved before the others unsaved
    frmDaily *w = Open();
    Edit(w, 2, QStringLiteral("11:30"), QStringLiteral("12:00"), QString());
    ASSERT_EQ(Rows(w), QStringLiteral("08:30:00-11:00:00 13:00:00-14:00:00 11:30-12:00"));
    ShowFreeTime(w);
    EXPECT_EQ(Rows(w), QStringLiteral("08:30:00-11:00:00 +11:00:00-11:30 11:30-12:00 +12:00:00-13:00:00 "
                                      "13:00:00-14:00:00 +14:00:00-17:00:00"));
    // The editor still shows the edited row, at its new place.
    EXPECT_EQ(w->lstLog->Row(), 2);
    EXPECT_EQ(Cell(w, 2, ColID), QStringLiteral("3"));
    EXPECT_EQ(Cell(w, 2, ColChanged), QStringLiteral("True"));
    w->txtComments->setPlainText(QStringLiteral("moved"));
    EXPECT_EQ(Cell(w, 2, ColComment), QStringLiteral("moved"));

    // A segment of yesterday that runs into today's working day is busy time.
    DB->Execute(QStringLiteral("DELETE FROM tblDaily"));
    Entry(4, m_yesterday, 23 * H, 11 * H);   // up to 10:00 today
    Entry(5, m_today, 11 * H, H);
    w->lblDay->SetCaption(QString());
    w->lblDay->SetCaption(w->cmbDays->Text());
    EXPECT_EQ(Rows(w), QStringLiteral("+10:00:00-11:00:00 11:00:00-12:00:00 +12:00:00-17:00:00"));
}

TEST_F(EditorTest, AFreeTimeRowBecomesAnEntry)
{
    Entry(1, m_today, 10 * H, H, QStringLiteral("kept"));
    frmDaily *w = Open();
    ShowFreeTime(w);
    ASSERT_EQ(Rows(w), QStringLiteral("+09:00:00-10:00:00 10:00:00-11:00:00 +11:00:00-17:00:00"));
    ClickRow(w, 0);
    EXPECT_EQ(w->txtStart->text(), QStringLiteral("09:00:00"));
    EXPECT_EQ(w->txtEnd->text(), QStringLiteral("10:00:00"));
    EXPECT_EQ(Digits(w), QStringLiteral("01 00 00"));
    EXPECT_TRUE(w->MyTree->isVisible());
    EXPECT_TRUE(w->NewEntryMode);
    EXPECT_EQ(w->PickerBox, w->txtStart);
    EXPECT_EQ(w->txtComments->toPlainText(), QString());

    // A shorter stretch of it, its task and a comment.
    w->lblStart_Click();
    w->m_Picker->ParseTime(QStringLiteral("09:15"));
    w->lblExit_Click();
    EXPECT_EQ(Digits(w), QStringLiteral("00 45 00"));
    w->txtComments->setPlainText(QStringLiteral("warming up"));
    w->MyTree_NodeClick(Category(w, QStringLiteral("100")));
    EXPECT_TRUE(w->btnSave->isEnabled());
    w->btnSave_Click();

    EXPECT_EQ(Count(QStringLiteral("SELECT COUNT(*) FROM tblDaily WHERE cStarttime = 33300 AND cSec = 2700 AND cCatID = 100 "
                                   "AND cName = 'Drawing'")),
              1);
    EXPECT_EQ(Count(QStringLiteral("SELECT COUNT(*) FROM tblDaily")), 2);
    EXPECT_EQ(Count(QStringLiteral("SELECT COUNT(*) FROM tblDailyComments WHERE cComments = 'warming up'")), 1);
    EXPECT_EQ(CommentOf(1), QStringLiteral("kept"));
    // The day again, with its free time around both entries.
    EXPECT_EQ(Rows(w), QStringLiteral("+09:00:00-09:15:00 09:15:00-10:00:00 10:00:00-11:00:00 +11:00:00-17:00:00"));
    EXPECT_EQ(w->CheckChanged(), 0);
}

} // namespace
