// The expenses window's editor fields and commands through its real controls: the amount box's
// keys, the time picker on the time, the calculator on the amount, the menus' enabled states by
// row state, the day buttons, the deletes with their questions, and closing (or switching days)
// with unsaved rows.
#include "tests/expenses/ExpensesFixture.h"

#include "core/frmMain.h"
#include "core/modMain.h"
#include "core/modMain_ShutDown.h"
#include "expenses/ExpenseRules.h"
#include "expenses/frmCalc.h"
#include "platform/dao/dao.h"
#include "platform/forms/Tag.h"
#include "platform/forms/Units.h"
#include "options_help/frmHlp.h"
#include "store/modDBchr.h"
#include "timelog/frmCal.h"

#include <QAction>
#include <QApplication>
#include <QCalendarWidget>
#include <QDate>
#include <QFile>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>
#include <gtest/gtest.h>

#include <functional>

using namespace modMain;
using exptest::ExpensesTest;
using frametest::BoxText;
using frametest::BoxWatcher;
using E = frmDailyExp;

namespace {

constexpr int kDay1 = 20240310;
constexpr int kDay2 = 20240315;

QString Cell(frmDailyExp *w, int row, int col)
{
    return w->lstLog->TextMatrix(row, col);
}

void SelectRow(frmDailyExp *w, int row)
{
    w->lstLog->SetRow(row);
    w->lstLog_Click();
}

void ChooseDay(frmDailyExp *w, int32_t dayKey)
{
    w->cmbDays->SetListIndex(FindComboData(dayKey, w->cmbDays));
}

// Keys as the keyboard sends them: a press and a release with the key's text.
void Type(QWidget *target, const QString &keys)
{
    for (QChar c : keys) {
        int code = c.toUpper().unicode();
        QString text(c);
        if (c == u'\b') {
            code = Qt::Key_Backspace;
        } else if (c == u'\r') {
            code = Qt::Key_Return;
        } else if (c == u'\x1b') {
            code = Qt::Key_Escape;
        }
        QKeyEvent press(QEvent::KeyPress, code, Qt::NoModifier, text);
        QApplication::sendEvent(target, &press);
        QKeyEvent release(QEvent::KeyRelease, code, Qt::NoModifier, text);
        QApplication::sendEvent(target, &release);
    }
}

// Runs work on a modal window once it shows (the window runs for real meanwhile).
template <class W>
void WhenShown(std::function<void(W *)> work)
{
    auto *timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, work] {
        W *w = W::Peek();
        if (!w || !w->isVisible())
            return;
        timer->stop();
        timer->deleteLater();
        work(w);
    });
    timer->start();
}

// Opens a menu as the menu bar does (its entries are then set) and closes it again.
void OpenMenu(QMenu *menu)
{
    menu->popup(QPoint(0, 0));
    QApplication::processEvents();
    menu->hide();
}

} // namespace

// ---- the editor fields ----------------------------------------------------------------------

TEST_F(ExpensesTest, TheAmountBoxTakesDigitsAndTheLocalesSeparatorOnly)
{
    const struct {
        QLocale::Language language;
        QLocale::Territory territory;
        const char *typed;
        const char *shown;   // the box while typing
        const char *left;    // the box once left ("" with the refusal)
    } cases[] = {
        {QLocale::English, QLocale::UnitedStates, "12", "12", "12.00"},
        {QLocale::English, QLocale::UnitedStates, "1234,5", "1234.5", "1,234.50"},
        {QLocale::English, QLocale::UnitedStates, "0.5", "0.5", "0.50"},
        {QLocale::English, QLocale::UnitedStates, ",5", ".5", "0.50"},
        {QLocale::English, QLocale::UnitedStates, "1a;:-2 3", "123", "123.00"},
        {QLocale::English, QLocale::UnitedStates, "129\b", "12", "12.00"},
        {QLocale::English, QLocale::UnitedStates, "1.2.3", "1.2.3", ""},
        {QLocale::Greek, QLocale::Greece, "1234.5", "1234,5", "1.234,50"},
        {QLocale::Greek, QLocale::Greece, ".5", ",5", "0,50"},
        {QLocale::Greek, QLocale::Greece, "1,2.3", "1,2,3", ""},
        {QLocale::French, QLocale::France, "7.25", "7,25", "7,25"},
        {QLocale::German, QLocale::Germany, "1000000,1", "1000000,1", "1.000.000,10"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.typed);
        InitSeparators(QLocale(c.language, c.territory));
        frmDailyExp *w = Open();
        const int row = w->lstLog->Row();
        w->txtAmount->clear();
        Type(w->txtAmount, QString::fromLatin1(c.typed));
        EXPECT_EQ(w->txtAmount->text(), QString::fromLatin1(c.shown));
        BoxWatcher boxes;
        w->txtAmount_LostFocus();
        const QString left = QString::fromLatin1(c.left);
        if (left.isEmpty()) {
            ASSERT_EQ(boxes.Boxes().size(), 1u);
            EXPECT_EQ(boxes.Boxes()[0].text, BoxText(353));
            EXPECT_EQ(w->txtAmount->text(), expenserules::FormatAmount(0));
        } else {
            EXPECT_TRUE(boxes.Boxes().empty());
            EXPECT_EQ(w->txtAmount->text(), left);
            EXPECT_EQ(Cell(w, row, E::colAmount), left);
            EXPECT_EQ(Cell(w, row, E::colChanged), QStringLiteral("True"));
        }
        frmDailyExp::Unload();
    }
}

TEST_F(ExpensesTest, AChangedTimeMarksTheRowAndTheSameTimeDoesNot)
{
    AddExpense(5, Today(), 0, QStringLiteral("Shop"), QStringLiteral("2.00"), QVariant(), QString(), 36000);
    frmDailyExp *w = Open();
    SelectRow(w, 0);
    EXPECT_EQ(w->lTime->Caption(), QStringLiteral("10:00:00"));
    frametest::Click(w->lTime);
    EXPECT_FALSE(w->picPicker->isHidden());
    // The picker writes back what the row holds: no edit.
    frametest::Click(w->picPicker->findChild<forms::Label *>(QStringLiteral("lblExit")));
    EXPECT_TRUE(w->picPicker->isHidden());
    EXPECT_EQ(w->lTime->Caption(), QStringLiteral("10:00"));
    EXPECT_EQ(w->CheckChanged(), 0);

    frametest::Click(w->lTime);
    Type(w->picPicker->findChild<QLineEdit *>(QStringLiteral("txtKey")), QStringLiteral("1430"));
    frametest::Click(w->picPicker->findChild<forms::Label *>(QStringLiteral("lblExit")));
    EXPECT_EQ(w->lTime->Caption(), QStringLiteral("14:30"));
    EXPECT_EQ(Cell(w, 0, E::colTime), QStringLiteral("52200"));
    EXPECT_EQ(Cell(w, 0, E::colChanged), QStringLiteral("True"));
    EXPECT_TRUE(w->btnSave->isEnabled());
    EXPECT_EQ(w->CheckChanged(), 1);
    w->btnSave_Click();
    EXPECT_EQ(Scalar(QStringLiteral("SELECT cTime FROM tblDailyExp WHERE cID = 5")).toInt(), 52200);

    // A new row's own time is no edit: closing it asks nothing.
    w->btnAdd_Click();
    w->mnuExp_Add_Click();
    EXPECT_EQ(w->CheckChanged(), 0);
}

TEST_F(ExpensesTest, ASentRowShowsItsOwnFieldsAfterTheNewRow)
{
    AddExpense(5, Today(), 1, QStringLiteral("Sent Ltd"), QStringLiteral("9.00"), QStringLiteral("S-9"),
               QStringLiteral("sent note"));
    frmDailyExp *w = Open();
    w->btnAdd_Click();
    ASSERT_TRUE(w->NewEntryMode);
    SelectRow(w, 0);
    EXPECT_EQ(w->txtPayee->text(), QStringLiteral("Sent Ltd"));
    EXPECT_EQ(w->txtCodeID->text(), QStringLiteral("S-9"));
    EXPECT_EQ(w->txtComments->toPlainText(), QStringLiteral("sent note"));
    EXPECT_FALSE(w->txtPayee->isEnabled());
    EXPECT_FALSE(w->imgCalc->isEnabled() && w->txtAmount->isEnabled());
    // Back on the new row: its fields are empty again.
    SelectRow(w, 1);
    EXPECT_EQ(w->txtPayee->text(), QString());
    EXPECT_EQ(w->txtCodeID->text(), QString());
}

TEST_F(ExpensesTest, TheTreeClosesFromTheProjectTheMemoAndARowClick)
{
    frmDailyExp *w = Open();
    w->btnDown->click();
    EXPECT_FALSE(w->MyTree->isHidden());
    frametest::Click(w->lProj);
    EXPECT_TRUE(w->MyTree->isHidden());
    w->btnDown->click();
    QFocusEvent focus(QEvent::FocusIn);
    QApplication::sendEvent(w->txtComments, &focus);
    EXPECT_TRUE(w->MyTree->isHidden());
    w->btnDown->click();
    ASSERT_FALSE(w->MyTree->isHidden());
    SelectRow(w, 0);
    EXPECT_TRUE(w->MyTree->isHidden());
}

// ---- the calculator -------------------------------------------------------------------------

TEST_F(ExpensesTest, TheCalculatorWritesItsResultIntoTheAmount)
{
    frmDailyExp *w = Open();
    const int row = w->lstLog->Row();
    w->txtAmount->setText(QStringLiteral("12.50"));
    QString shownAtOpen, shownAfter;
    WhenShown<frmCalc>([&](frmCalc *calc) {
        shownAtOpen = calc->lOutp->Caption();
        // 12.50 + 2 × 3 = (left to right): 43.50
        for (forms::Label *key : {calc->f[1], calc->b[2], calc->f[3], calc->b[3], calc->f[0]})
            frametest::Click(key);
        shownAfter = calc->lOutp->Caption();
        frametest::Click(calc->lOK);
    });
    frametest::Click(w->imgCalc);
    EXPECT_EQ(shownAtOpen, QStringLiteral("12.50"));
    EXPECT_EQ(shownAfter, QStringLiteral("43.50"));
    EXPECT_EQ(frmCalc::Peek(), nullptr);
    EXPECT_EQ(w->txtAmount->text(), QStringLiteral("43.50"));
    EXPECT_EQ(Cell(w, row, E::colAmount), QStringLiteral("43.50"));
    EXPECT_EQ(Cell(w, row, E::colChanged), QStringLiteral("True"));
    EXPECT_EQ(w->lTotal->Caption(), QStringLiteral("43.50"));
}

TEST_F(ExpensesTest, TheCalculatorsKeyboardAndItsErrorsLeaveTheAmountAlone)
{
    InitSeparators(QLocale(QLocale::Greek, QLocale::Greece));
    frmDailyExp *w = Open();
    w->txtAmount->setText(QStringLiteral("5,00"));
    // Typed: 1 + 2 + then 4 = gives 7,00; Enter writes it.
    QString afterChain, afterEquals;
    bool memoryShown = false;
    WhenShown<frmCalc>([&](frmCalc *calc) {
        Type(calc->txtKey, QStringLiteral("1+2+"));
        afterChain = calc->lOutp->Caption();
        Type(calc->txtKey, QStringLiteral("4="));
        afterEquals = calc->lOutp->Caption();
        frametest::Click(calc->m[2]);
        memoryShown = calc->shMem->isVisible();
        Type(calc->txtKey, QStringLiteral("\r"));
    });
    QMouseEvent dbl(QEvent::MouseButtonDblClick, QPointF(5, 5), QPointF(5, 5), Qt::LeftButton, Qt::LeftButton,
                    Qt::NoModifier);
    QApplication::sendEvent(w->txtAmount, &dbl);
    EXPECT_EQ(afterChain, QStringLiteral("3,00"));
    EXPECT_EQ(afterEquals, QStringLiteral("7,00"));
    EXPECT_TRUE(memoryShown);
    EXPECT_EQ(w->txtAmount->text(), QStringLiteral("7,00"));

    // 7 ÷ 0 = shows the error; OK then leaves the box as it was.
    QString error;
    WhenShown<frmCalc>([&](frmCalc *calc) {
        Type(calc->txtKey, QStringLiteral("7/0="));
        error = calc->lOutp->Caption();
        frametest::Click(calc->lOK);
    });
    frametest::Click(w->imgCalc);
    EXPECT_EQ(error, GetLangString(1710, true));
    EXPECT_EQ(w->txtAmount->text(), QStringLiteral("7,00"));

    // Closed without OK: the box keeps its text; Esc on the keys is Clear, not the close.
    QString cleared;
    WhenShown<frmCalc>([&](frmCalc *calc) {
        Type(calc->txtKey, QStringLiteral("99\x1b"));
        cleared = calc->lOutp->Caption();
        calc->reject();
    });
    frametest::Click(w->imgCalc);
    EXPECT_EQ(cleared, QStringLiteral("0,00"));
    EXPECT_EQ(w->txtAmount->text(), QStringLiteral("7,00"));
}

// ---- enabled states --------------------------------------------------------------------------

TEST_F(ExpensesTest, TheMenusOfferWhatTheRowsAllow)
{
    AddExpense(1, Today(), 0, QStringLiteral("Unsent"));
    AddExpense(2, Today(), 1, QStringLiteral("Sent"));
    AddExpense(3, Today(), 3, QStringLiteral("Rejected"));
    frmDailyExp *w = Open();
    ASSERT_EQ(w->lstLog->Rows(), 3);

    IsConnected = false;
    SelectRow(w, 0);
    OpenMenu(w->mnuSynch);
    EXPECT_FALSE(w->mnuSynch_Item->isEnabled());
    EXPECT_FALSE(w->mnuSynch_Day->isEnabled());

    IsConnected = true;
    const struct {
        int row;
        bool item;
    } rows[] = {{0, true}, {1, false}, {2, true}};
    for (const auto &r : rows) {
        SelectRow(w, r.row);
        OpenMenu(w->mnuSynch);
        EXPECT_EQ(w->mnuSynch_Item->isEnabled(), r.item) << r.row;
        EXPECT_TRUE(w->mnuSynch_Day->isEnabled());
    }
    // A row with edits not saved, and a new row, are not sent.
    SelectRow(w, 0);
    w->txtPayee->setText(QStringLiteral("Edited"));
    OpenMenu(w->mnuSynch);
    EXPECT_FALSE(w->mnuSynch_Item->isEnabled());
    w->btnAdd_Click();
    OpenMenu(w->mnuSynch);
    EXPECT_FALSE(w->mnuSynch_Item->isEnabled());
    IsConnected = false;

    // Deleting the day's sent expenses only with a sent row; deleting all days only with rows.
    OpenMenu(w->mnuExp);
    EXPECT_TRUE(w->mnuExp_DelDaySynch->isEnabled());
    OpenMenu(w->mnuDays);
    EXPECT_TRUE(w->mnuDays_DelAll->isEnabled());
    w->lstLog->SetTextMatrix(1, E::colChk, QStringLiteral("0"));
    OpenMenu(w->mnuExp);
    EXPECT_FALSE(w->mnuExp_DelDaySynch->isEnabled());
    w->lstLog->SetRows(0);
    OpenMenu(w->mnuDays);
    EXPECT_FALSE(w->mnuDays_DelAll->isEnabled());
}

TEST_F(ExpensesTest, TheNewButtonTellsWhatItDoes)
{
    frmDailyExp *w = Open();
    frametest::Move(w->btnAdd);
    EXPECT_EQ(frmMain::Get()->lblMsg->Caption().trimmed(), GetLangString(978, true));
}

// ---- the days ----------------------------------------------------------------------------------

TEST_F(ExpensesTest, PreviousAndNextWalkTheDaysWithExpensesThenToday)
{
    AddExpense(1, kDay1);
    AddExpense(2, kDay2);
    AddExpense(3, kDay2);
    frmDailyExp *w = Open();
    ASSERT_EQ(forms::Tag(w->lblDay), QString::number(Today()));
    const struct {
        int button;
        int32_t shown;
        int rows;
    } steps[] = {
        {0, kDay2, 2}, {0, kDay1, 1}, {0, kDay1, 1},   // nothing before the first day
        {1, kDay2, 2}, {1, Today(), 1}, {1, Today(), 1},   // past the last day: today, then nothing
    };
    for (const auto &s : steps) {
        w->btnNP[size_t(s.button)]->click();
        EXPECT_EQ(forms::Tag(w->lblDay), QString::number(s.shown));
        EXPECT_EQ(w->cmbDays->ItemData(w->cmbDays->ListIndex()), s.shown);
        EXPECT_EQ(w->lstLog->Rows(), s.rows);
        EXPECT_FALSE(w->FillingFields);
    }
    // Today has no expenses: it shows one new row, ready.
    EXPECT_EQ(Cell(w, 0, E::colID), QString());
    EXPECT_TRUE(w->btnNP[0]->isEnabled());
}

TEST_F(ExpensesTest, SwitchingDaysAsksBeforeUnsavedRowsAreDropped)
{
    AddExpense(1, kDay1);
    AddExpense(2, kDay2, 0, QStringLiteral("Shop"));
    frmDailyExp *w = Open();
    ChooseDay(w, kDay2);
    SelectRow(w, 0);
    w->txtPayee->setText(QStringLiteral("Edited"));
    // One row: the singular sentence of its own.
    const QString question = BoxText(1882);
    // No: the list, the button and the calendar keep the day and its edit.
    {
        BoxWatcher boxes;
        boxes.Answer(QStringLiteral("btnNo"));
        boxes.Answer(QStringLiteral("btnNo"));
        boxes.Answer(QStringLiteral("btnNo"));
        ChooseDay(w, kDay1);
        w->btnNP[0]->click();
        w->btnNewDate->click();
        ASSERT_EQ(boxes.Boxes().size(), 3u);
        for (const auto &b : boxes.Boxes()) {
            EXPECT_EQ(b.text, question);
            EXPECT_EQ(b.icon, 32);
        }
    }
    EXPECT_EQ(forms::Tag(w->lblDay), QString::number(kDay2));
    EXPECT_EQ(w->cmbDays->ItemData(w->cmbDays->ListIndex()), kDay2);
    EXPECT_EQ(Cell(w, 0, E::colPayee), QStringLiteral("Edited"));
    EXPECT_EQ(frmCal::Peek(), nullptr);
    // Yes: asked once, and the day goes.
    BoxWatcher boxes;
    boxes.Answer(QStringLiteral("btnYes"));
    w->btnNP[0]->click();
    EXPECT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(forms::Tag(w->lblDay), QString::number(kDay1));
    EXPECT_EQ(Scalar(QStringLiteral("SELECT cPayee FROM tblDailyExp WHERE cID = 2")).toString(), QStringLiteral("Shop"));
}

// Saving one row reads the day again: the edits of the other rows, saved or never saved, stay
// in their rows, still to be saved, and the total counts them.
TEST_F(ExpensesTest, SavingOneRowKeepsTheOtherRowsEdits)
{
    AddExpense(1, Today(), 0, QStringLiteral("A"), QStringLiteral("1.00"));
    AddExpense(2, Today(), 0, QStringLiteral("B"), QStringLiteral("2.00"));
    frmDailyExp *w = Open();
    SelectRow(w, 1);
    w->txtPayee->setText(QStringLiteral("B2"));
    w->btnAdd->click();
    ASSERT_EQ(w->lstLog->Rows(), 3);
    Fill(w, QStringLiteral("New shop"), QStringLiteral("Design"), 0, QStringLiteral("4"));
    SelectRow(w, 0);
    w->txtPayee->setText(QStringLiteral("A2"));
    {
        BoxWatcher boxes;
        w->btnSave->click();
        EXPECT_TRUE(boxes.Boxes().empty());
    }
    EXPECT_EQ(Scalar(QStringLiteral("SELECT cPayee FROM tblDailyExp WHERE cID = 1")).toString(), QStringLiteral("A2"));
    EXPECT_EQ(Scalar(QStringLiteral("SELECT cPayee FROM tblDailyExp WHERE cID = 2")).toString(), QStringLiteral("B"));
    ASSERT_EQ(w->lstLog->Rows(), 3);
    EXPECT_EQ(Cell(w, 0, E::colChanged), QString());
    EXPECT_EQ(Cell(w, 1, E::colPayee), QStringLiteral("B2"));
    EXPECT_EQ(Cell(w, 1, E::colChanged), QStringLiteral("True"));
    EXPECT_EQ(Cell(w, 2, E::colPayee), QStringLiteral("New shop"));
    EXPECT_EQ(Cell(w, 2, E::colID), QString());
    EXPECT_EQ(w->CheckChanged(), 2);
    EXPECT_EQ(w->lTotal->Caption(), expenserules::FormatAmount(7));
    // The kept rows save in their turn.
    SelectRow(w, 2);
    w->btnSave->click();
    SelectRow(w, 1);
    w->btnSave->click();
    EXPECT_EQ(w->CheckChanged(), 0);
    EXPECT_EQ(Count(QStringLiteral("SELECT * FROM tblDailyExp WHERE cPayee IN ('A2', 'B2', 'New shop')")), 3);
}

TEST_F(ExpensesTest, ADayFromTheCalendarJoinsTheList)
{
    AddExpense(1, kDay2);
    frmDailyExp *w = Open();
    const QDate day = LongToDate(kDay1);
    WhenShown<frmCal>([&](frmCal *cal) {
        cal->MyCal->setSelectedDate(day);
        cal->btnOK->click();
    });
    w->btnNewDate->click();
    EXPECT_EQ(forms::Tag(w->lblDay), QString::number(kDay1));
    EXPECT_GE(FindComboData(kDay1, w->cmbDays), 0);
    EXPECT_EQ(w->cmbDays->ItemData(w->cmbDays->ListIndex()), kDay1);
    EXPECT_EQ(w->lstLog->Rows(), 0);
    EXPECT_TRUE(w->btnNP[1]->isEnabled());
}

TEST_F(ExpensesTest, DeletingTheShownDayAsksAndLeavesTodayListedOnce)
{
    AddExpense(1, kDay1);
    AddExpense(2, kDay2, 0, QStringLiteral("A"), QStringLiteral("1.00"), QVariant(), QStringLiteral("note"));
    AddExpense(3, kDay2);
    frmDailyExp *w = Open();
    ChooseDay(w, kDay2);
    {
        BoxWatcher boxes;
        boxes.Answer(QStringLiteral("btnCancel"));
        w->btnDelDate->click();
        ASSERT_EQ(boxes.Boxes().size(), 1u);
        EXPECT_EQ(boxes.Boxes()[0].text, BoxText(351));
    }
    EXPECT_EQ(Count(QStringLiteral("SELECT * FROM tblDailyExp WHERE cDate = ?"), {kDay2}), 2);
    EXPECT_EQ(w->lstLog->Rows(), 2);
    {
        BoxWatcher boxes;
        boxes.Answer(QStringLiteral("btnOK"));
        w->btnDelDate->click();
        EXPECT_EQ(boxes.Boxes().size(), 1u);
    }
    EXPECT_EQ(Count(QStringLiteral("SELECT * FROM tblDailyExp WHERE cDate = ?"), {kDay2}), 0);
    EXPECT_EQ(Count(QStringLiteral("SELECT * FROM tblDailyExpComments WHERE cID = 2")), 0);
    EXPECT_EQ(Count(QStringLiteral("SELECT * FROM tblDailyExp")), 1);
    EXPECT_EQ(w->lstLog->Rows(), 0);
    EXPECT_EQ(w->lblDay->Caption(), QString());
    EXPECT_FALSE(w->btnNP[0]->isEnabled());
    EXPECT_FALSE(w->btnNP[1]->isEnabled());
    EXPECT_FALSE(w->txtPayee->isEnabled());
    EXPECT_EQ(w->lTotal->Caption(), QStringLiteral("0.00"));
    ASSERT_EQ(w->cmbDays->ListCount(), 2);
    EXPECT_EQ(w->cmbDays->ItemData(0), kDay1);
    EXPECT_EQ(w->cmbDays->ItemData(1), Today());
    // With no day shown there is nothing to delete, nor to add to.
    {
        BoxWatcher boxes;
        w->mnuDays_Del->trigger();
        w->mnuExp_Add->trigger();
        ASSERT_EQ(boxes.Boxes().size(), 2u);
        EXPECT_EQ(boxes.Boxes()[0].text, BoxText(350));
        EXPECT_EQ(boxes.Boxes()[0].icon, 0);
        EXPECT_EQ(boxes.Boxes()[1].text, BoxText(365));
    }
    EXPECT_EQ(w->lstLog->Rows(), 0);
    // A day chosen from the list shows again.
    ChooseDay(w, kDay1);
    EXPECT_EQ(w->lstLog->Rows(), 1);
    EXPECT_TRUE(w->btnNP[0]->isEnabled());

    // Today with expenses is listed once after a deletion.
    AddExpense(9, Today());
    BoxWatcher boxes;
    boxes.Answer(QStringLiteral("btnOK"));
    w->mnuDays_Del->trigger();
    ASSERT_EQ(w->cmbDays->ListCount(), 1);
    EXPECT_EQ(w->cmbDays->ItemData(0), Today());
}

TEST_F(ExpensesTest, DeletingAllDaysAsksAndKeepsOtherPeoplesExpenses)
{
    AddExpense(1, kDay1);
    AddExpense(2, Today());
    DB->Execute(QStringLiteral("INSERT INTO tblDailyExp (cID, cUsrID, cExpID, cAmount, cDate, cTime, cTaskID, "
                               "cProjID, cPayee, cChk) VALUES (50, ?, 3, '1.00', ?, 0, 10, 1, 'Other', 0)"),
                dao::dbFailOnError, {CurrentUserID + 1, double(kDay1)});
    frmDailyExp *w = Open();
    {
        BoxWatcher boxes;
        boxes.Answer(QStringLiteral("btnCancel"));
        w->mnuDays_DelAll->trigger();
        ASSERT_EQ(boxes.Boxes().size(), 1u);
        EXPECT_EQ(boxes.Boxes()[0].text, BoxText(352));
    }
    EXPECT_EQ(Count(QStringLiteral("SELECT * FROM tblDailyExp")), 3);
    BoxWatcher boxes;
    boxes.Answer(QStringLiteral("btnOK"));
    w->mnuDays_DelAll->trigger();
    EXPECT_EQ(Count(QStringLiteral("SELECT * FROM tblDailyExp WHERE cUsrID = ?"), {CurrentUserID}), 0);
    EXPECT_EQ(Count(QStringLiteral("SELECT * FROM tblDailyExp")), 1);
    EXPECT_EQ(w->lstLog->Rows(), 0);
    ASSERT_EQ(w->cmbDays->ListCount(), 1);
    EXPECT_EQ(w->cmbDays->ItemData(0), Today());
}

TEST_F(ExpensesTest, AFailedDeleteIsToldAndChangesNothing)
{
    AddExpense(1, Today());
    frmDailyExp *w = Open();
    DB->Close();
    for (QAction *a : {w->mnuDays_Del, w->mnuDays_DelAll}) {
        BoxWatcher boxes;
        boxes.Answer(QStringLiteral("btnOK"));
        a->trigger();
        ASSERT_EQ(boxes.Boxes().size(), 2u) << a->objectName().toStdString();
        EXPECT_TRUE(boxes.Boxes()[1].text.startsWith(BoxText(343)));
        EXPECT_EQ(boxes.Boxes()[1].icon, 16);
        EXPECT_EQ(w->lstLog->Rows(), 1);
        EXPECT_EQ(forms::Tag(w->lblDay), QString::number(Today()));
    }
    // The row delete too, and the editor's edits reach the row afterwards.
    SelectRow(w, 0);
    {
        BoxWatcher boxes;
        w->btnDel->click();
        ASSERT_EQ(boxes.Boxes().size(), 1u);
        EXPECT_TRUE(boxes.Boxes()[0].text.startsWith(BoxText(343)));
    }
    EXPECT_FALSE(w->FillingFields);
    w->txtPayee->setText(QStringLiteral("Still edited"));
    EXPECT_EQ(Cell(w, 0, E::colPayee), QStringLiteral("Still edited"));
}

TEST_F(ExpensesTest, DeletingSentExpensesTakesTheDaysOrEveryDaysAndKeepsTheRest)
{
    AddExpense(1, kDay1, 1, QStringLiteral("Sent early"), QStringLiteral("1.00"), QVariant(), QStringLiteral("c1"));
    AddExpense(2, kDay2, 1, QStringLiteral("Sent"), QStringLiteral("2.00"));
    AddExpense(3, kDay2, 0, QStringLiteral("Unsent"), QStringLiteral("3.00"));
    AddExpense(4, kDay2, 2, QStringLiteral("Resend"), QStringLiteral("4.00"));
    frmDailyExp *w = Open();
    ChooseDay(w, kDay2);
    EXPECT_EQ(w->lTotal->Caption(), QStringLiteral("9.00"));
    {
        BoxWatcher boxes;
        boxes.Answer(QStringLiteral("btnCancel"));
        w->mnuExp_DelDaySynch->trigger();
        ASSERT_EQ(boxes.Boxes().size(), 1u);
        EXPECT_EQ(boxes.Boxes()[0].text, BoxText(300));
    }
    EXPECT_EQ(Count(QStringLiteral("SELECT * FROM tblDailyExp")), 4);
    {
        BoxWatcher boxes;
        w->mnuExp_DelDaySynch->trigger();
    }
    EXPECT_EQ(Count(QStringLiteral("SELECT * FROM tblDailyExp WHERE cID = 2")), 0);
    EXPECT_EQ(Count(QStringLiteral("SELECT * FROM tblDailyExp WHERE cID = 1")), 1);
    ASSERT_EQ(w->lstLog->Rows(), 2);
    EXPECT_EQ(w->lTotal->Caption(), QStringLiteral("7.00"));
    EXPECT_EQ(FindComboText(QStringLiteral("Sent"), w->cmbPayee), -1);
    {
        BoxWatcher boxes;
        w->mnuExp_DelAllSynch->trigger();
    }
    EXPECT_EQ(Count(QStringLiteral("SELECT * FROM tblDailyExp")), 2);
    EXPECT_EQ(Count(QStringLiteral("SELECT * FROM tblDailyExpComments WHERE cID = 1")), 0);
    EXPECT_EQ(w->lstLog->Rows(), 2);
}

// ---- closing -----------------------------------------------------------------------------------

TEST_F(ExpensesTest, ClosingAsksBeforeUnsavedRowsAreDropped)
{
    AddExpense(1, Today(), 0, QStringLiteral("A"));
    AddExpense(2, Today(), 0, QStringLiteral("B"));
    frmDailyExp *w = Open();
    SelectRow(w, 0);
    w->txtPayee->setText(QStringLiteral("A2"));
    SelectRow(w, 1);
    w->txtCodeID->setText(QStringLiteral("X"));
    {
        BoxWatcher boxes;
        boxes.Answer(QStringLiteral("btnNo"));
        w->btnExit->click();
        QApplication::processEvents();
        ASSERT_EQ(boxes.Boxes().size(), 1u);
        EXPECT_EQ(boxes.Boxes()[0].text, BoxText(360) + QStringLiteral(" 2 ") + BoxText(361));
        EXPECT_EQ(boxes.Boxes()[0].icon, 32);
    }
    EXPECT_EQ(frmDailyExp::Peek(), w);
    EXPECT_EQ(w->CheckChanged(), 2);
    // The menu's Close asks the same.
    {
        BoxWatcher boxes;
        boxes.Answer(QStringLiteral("btnNo"));
        w->mnuExp_Exit->trigger();
        EXPECT_EQ(boxes.Boxes().size(), 1u);
    }
    // The end of the program asks too, and No keeps everything.
    {
        BoxWatcher boxes;
        boxes.Answer(QStringLiteral("btnNo"));
        modMain::ShutDown(true);
        ASSERT_EQ(boxes.Boxes().size(), 1u);
        EXPECT_EQ(frmDailyExp::Peek(), w);
        EXPECT_TRUE(FormLoaded[fiDailyExp]);
        EXPECT_TRUE(DB != nullptr);
    }
    BoxWatcher boxes;
    boxes.Answer(QStringLiteral("btnYes"));
    w->btnExit->click();
    for (int i = 0; i < 5 && frmDailyExp::Peek(); ++i)
        QApplication::processEvents();
    EXPECT_EQ(frmDailyExp::Peek(), nullptr);
    EXPECT_FALSE(FormLoaded[fiDailyExp]);
    EXPECT_EQ(Scalar(QStringLiteral("SELECT cPayee FROM tblDailyExp WHERE cID = 1")).toString(), QStringLiteral("A"));
}

TEST_F(ExpensesTest, ClosingWithNothingChangedAsksNothing)
{
    AddExpense(1, Today());
    frmDailyExp *w = Open();
    SelectRow(w, 0);
    BoxWatcher boxes;
    w->btnExit->click();
    for (int i = 0; i < 5 && frmDailyExp::Peek(); ++i)
        QApplication::processEvents();
    EXPECT_TRUE(boxes.Boxes().empty());
    EXPECT_EQ(frmDailyExp::Peek(), nullptr);
}

// ---- help and activation -----------------------------------------------------------------------

TEST_F(ExpensesTest, HelpOpensThisWindowsPageAndActivationMarksTheToolbar)
{
    ASSERT_TRUE(QFile::copy(QStringLiteral(TARV_SOURCE_DIR "/data/hlp_frmDailyExp_0.htm"),
                            m_dir + QStringLiteral("/hlp_frmDailyExp_0.htm")));
    frmDailyExp *w = Open();
    {
        BoxWatcher boxes;
        w->mnuHelp_Form->trigger();
        QApplication::processEvents();
    }
    ASSERT_NE(frmHlp::Peek(), nullptr);
    const QString shown = frmHlp::Peek()->WBr->source().toString();
    EXPECT_TRUE(shown.contains(QStringLiteral("hlp_frmDailyExp_0.htm"))) << shown.toStdString();
    frmHlp::Unload();
    frmMain *main = frmMain::Get();
    main->MarkToolbarEntry(0);
    w->Form_Activate();
    EXPECT_EQ(forms::Top(main->shMenu), forms::Top(main->btn[2]) - 15);
}
