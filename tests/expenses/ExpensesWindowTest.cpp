// The daily expenses window itself, driven headless: a day loads with its names, total and
// pictures; a new expense starts with its defaults; each field check says what is wrong; rows
// are stored, changed and deleted with their comments; a write that fails is told and the
// editor keeps what was typed; texts with apostrophes, Greek and accents are stored as typed.
#include "tests/expenses/ExpensesFixture.h"

#include "core/modMain.h"
#include "platform/dao/dao.h"
#include "platform/forms/Tag.h"
#include "platform/forms/Units.h"
#include "resources/Pictures.h"
#include "store/modDBchr.h"

#include <QAction>
#include <QApplication>
#include <QDate>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QToolButton>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTime>
#include <gtest/gtest.h>

using namespace modMain;
using exptest::ExpensesTest;
using frametest::BoxText;
using frametest::BoxWatcher;
using frametest::SamePicture;
using E = frmDailyExp;

namespace {

constexpr int kDay = 20240315;

QString Cell(frmDailyExp *w, int row, int col)
{
    return w->lstLog->TextMatrix(row, col);
}

// Shows a day of the list as a person choosing it would.
void ChooseDay(frmDailyExp *w, int32_t dayKey)
{
    const int i = FindComboData(dayKey, w->cmbDays);
    ASSERT_GE(i, 0) << dayKey;
    w->cmbDays->SetListIndex(i);
}

void SelectRow(frmDailyExp *w, int row)
{
    w->lstLog->SetRow(row);
    w->lstLog_Click();
}

} // namespace

TEST_F(ExpensesTest, TheLatestDayOpensWithNamesTotalAndPictures)
{
    // Ids in another order than the times: the grid follows the ids.
    AddExpense(7, kDay, 1, QStringLiteral("Bob"), QStringLiteral("1,000.25"), QStringLiteral("R7"),
               QStringLiteral("receipt lost"), 30000, 20, 2, 4);
    AddExpense(3, kDay, 0, QStringLiteral("Anna"), QStringLiteral("2.50"), QVariant(), QString(), 50000);
    AddExpense(9, kDay, 3, QStringLiteral("Carl"), QStringLiteral("0.25"));
    AddExpense(11, kDay - 1, 0);
    frmDailyExp *w = Open();

    EXPECT_TRUE(FormLoaded[fiDailyExp]);
    EXPECT_EQ(w->windowTitle(), QStringLiteral("Manage Daily Expenses"));
    auto *sub = qobject_cast<QMdiSubWindow *>(w->parentWidget());
    ASSERT_NE(sub, nullptr);
    EXPECT_EQ(sub->pos(), QPoint(0, 0));
    // 7620 twips wide, or as wide as the main window's document area shows.
    EXPECT_LE(sub->width(), std::min(forms::TwipsToPixels(7620), sub->mdiArea()->width()));
    EXPECT_GE(sub->width(), forms::TwipsToPixels(6300));
    // The day list: both days, then today; the last entry is shown.
    ASSERT_EQ(w->cmbDays->ListCount(), 3);
    EXPECT_EQ(w->cmbDays->ItemData(2), Today());
    EXPECT_EQ(w->cmbDays->ListIndex(), 2);

    ChooseDay(w, kDay);
    EXPECT_EQ(w->lblDay->Caption(), ShortDateText(LongToDate(kDay)));
    EXPECT_EQ(forms::Tag(w->lblDay), QString::number(kDay));
    ASSERT_EQ(w->lstLog->Rows(), 3);
    EXPECT_EQ(Cell(w, 0, E::colID), QStringLiteral("3"));
    EXPECT_EQ(Cell(w, 1, E::colID), QStringLiteral("7"));
    EXPECT_EQ(Cell(w, 2, E::colID), QStringLiteral("9"));
    EXPECT_EQ(Cell(w, 1, E::colExpName), QStringLiteral("Meals"));
    EXPECT_EQ(Cell(w, 1, E::colProjName), QStringLiteral("Beta"));
    EXPECT_EQ(Cell(w, 1, E::colTaskName), QStringLiteral("Build"));
    EXPECT_EQ(Cell(w, 1, E::colCode), QStringLiteral("R7"));
    EXPECT_EQ(Cell(w, 0, E::colCode), QString());
    EXPECT_EQ(Cell(w, 1, E::colComment), QStringLiteral("receipt lost"));
    EXPECT_EQ(Cell(w, 1, E::colTime), QStringLiteral("30000"));
    EXPECT_EQ(Cell(w, 1, E::colDate), QString::number(kDay));
    EXPECT_EQ(Cell(w, 1, E::colChanged), QString());
    EXPECT_EQ(w->lTotal->Caption(), QStringLiteral("1,003.00"));

    // Pictures and colours by send state; only the shown columns are painted.
    EXPECT_TRUE(SamePicture(w->lstLog->CellPictureAt(0, E::colPic), res::Picture(QStringLiteral("NORMAL"))));
    EXPECT_TRUE(SamePicture(w->lstLog->CellPictureAt(1, E::colPic), res::Picture(QStringLiteral("CHECK"))));
    EXPECT_TRUE(SamePicture(w->lstLog->CellPictureAt(2, E::colPic), res::Picture(QStringLiteral("QUEST"))));
    EXPECT_EQ(w->lstLog->CellBackColorAt(1, E::colPayee), 0xE0E0E0);
    EXPECT_EQ(w->lstLog->CellForeColorAt(1, E::colAmount), 0x808080);
    EXPECT_EQ(w->lstLog->CellBackColorAt(0, E::colExpName), 0xF8E8D6);
    EXPECT_EQ(w->CalcSynch(), 1);

    // The current row stays where it was when every row is repainted.
    w->lstLog->SetRow(2);
    w->SetColorsAndPics(-1);
    EXPECT_EQ(w->lstLog->Row(), 2);
}

TEST_F(ExpensesTest, FirstUseShowsTodayWithANewExpenseReady)
{
    frmDailyExp *w = Open();
    ASSERT_EQ(w->cmbDays->ListCount(), 1);
    EXPECT_EQ(w->cmbDays->ItemData(0), Today());
    EXPECT_EQ(forms::Tag(w->lblDay), QString::number(Today()));
    ASSERT_EQ(w->lstLog->Rows(), 1);
    // The new row's defaults.
    EXPECT_EQ(Cell(w, 0, E::colID), QString());
    EXPECT_EQ(Cell(w, 0, E::colPayee), GetLangString(320));
    EXPECT_EQ(Cell(w, 0, E::colAmount), QStringLiteral("0.00"));
    EXPECT_EQ(Cell(w, 0, E::colChanged), QStringLiteral("False"));
    EXPECT_EQ(Cell(w, 0, E::colChk), QStringLiteral("0"));
    const int secs = Cell(w, 0, E::colTime).toInt();
    EXPECT_EQ(secs % 60, 0);
    EXPECT_LE(std::abs(secs - QTime(0, 0).secsTo(QTime::currentTime())), 120);
    EXPECT_TRUE(SamePicture(w->lstLog->CellPictureAt(0, E::colPic), res::Picture(QStringLiteral("PLUS"))));
    EXPECT_EQ(w->lstLog->CellForeColorAt(0, E::colPayee), 255);
    // The editor is open on it, empty, with Save off until something is typed.
    EXPECT_TRUE(w->NewEntryMode);
    EXPECT_TRUE(w->txtPayee->isEnabled());
    EXPECT_EQ(w->txtPayee->text(), QString());
    EXPECT_FALSE(w->btnSave->isEnabled());
    EXPECT_EQ(w->lTime->Caption().size(), 8);   // hh:mm:ss
    EXPECT_EQ(w->txtAmount->text(), QStringLiteral("0.00"));
    w->txtPayee->setText(QStringLiteral("x"));
    EXPECT_TRUE(w->btnSave->isEnabled());
    EXPECT_TRUE(w->mnuExp_Save->isEnabled());
    EXPECT_EQ(Cell(w, 0, E::colChanged), QStringLiteral("True"));
}

TEST_F(ExpensesTest, TodayIsNotListedTwice)
{
    AddExpense(1, Today());
    frmDailyExp *w = Open();
    ASSERT_EQ(w->cmbDays->ListCount(), 1);
    EXPECT_EQ(w->lstLog->Rows(), 1);
    EXPECT_EQ(Cell(w, 0, E::colID), QStringLiteral("1"));
}

TEST_F(ExpensesTest, EachMissingOrWrongFieldIsNamedInOneMessage)
{
    frmDailyExp *w = Open();
    const QString nl = QStringLiteral("\n");
    const struct {
        QString payee;
        QString task;
        int category;
        QString amount;
        QString message;
    } cases[] = {
        {QString(), QString(), 0, QStringLiteral("abc"),
         BoxText(359) + nl + "- " + BoxText(355) + nl + "-" + BoxText(356) + nl + "-" + BoxText(308)},
        {QStringLiteral("Shop"), QStringLiteral("Design"), 1, QString(), BoxText(359) + nl + nl + "- " + BoxText(303)},
        {QStringLiteral("Shop"), QStringLiteral("Design"), -1, QStringLiteral("0"),
         BoxText(359) + nl + nl + "-" + BoxText(357) + nl + "-" + BoxText(358)},
        {QStringLiteral("Shop"), QStringLiteral("Design"), 0, QStringLiteral("-4.00"),
         BoxText(359) + nl + nl + "-" + BoxText(341)},
    };
    for (const auto &c : cases) {
        w->AddNewExp();
        // Leaving the amount box with letters says so already; the check says it again.
        BoxWatcher boxes;
        Fill(w, c.payee, c.task, c.category, c.amount);
        w->txtAmount->setText(c.amount);
        const size_t before = boxes.Boxes().size();
        EXPECT_TRUE(w->CheckFields());
        ASSERT_EQ(boxes.Boxes().size(), before + 1) << c.message.toStdString();
        EXPECT_EQ(boxes.Boxes().back().text, c.message);
        EXPECT_EQ(boxes.Boxes().back().icon, 0);
    }
    // The prompt of a new row counts as no payee; nothing is stored by a refused save.
    w->AddNewExp();
    Fill(w, GetLangString(320), QStringLiteral("Design"), 0, QStringLiteral("3"));
    {
        BoxWatcher boxes;
        w->btnSave_Click();
        ASSERT_EQ(boxes.Boxes().size(), 1u);
        EXPECT_EQ(boxes.Boxes()[0].text, BoxText(359) + nl + "- " + BoxText(355));
    }
    EXPECT_EQ(Count(QStringLiteral("SELECT * FROM tblDailyExp")), 0);
    // A complete editor passes without a word.
    Fill(w, QStringLiteral("Shop"), QStringLiteral("Design"), 0, QStringLiteral("3"));
    BoxWatcher boxes;
    EXPECT_FALSE(w->CheckFields());
    EXPECT_TRUE(boxes.Boxes().empty());
}

TEST_F(ExpensesTest, ANewExpenseIsStoredAsTypedWithItsComment)
{
    frmDailyExp *w = Open();
    const QString payee = QStringLiteral("O'Brien's «Ταβέρνα» Crêperie");
    const QString code = QStringLiteral("Ν°12'É");
    const QString memo = QStringLiteral("Lunch with 'Anna' & Élodie");
    Fill(w, payee, QStringLiteral("Build"), 1, QStringLiteral("1234.5"), code, memo);
    EXPECT_EQ(w->txtAmount->text(), QStringLiteral("1,234.50"));
    EXPECT_EQ(Cell(w, 0, E::colProjName), QStringLiteral("Beta"));
    EXPECT_EQ(Cell(w, 0, E::colExpID), QStringLiteral("4"));   // the list is in name order: Fuel, Meals
    BoxWatcher boxes;
    w->btnSave_Click();
    EXPECT_TRUE(boxes.Boxes().empty());

    ASSERT_EQ(Count(QStringLiteral("SELECT * FROM tblDailyExp")), 1);
    EXPECT_EQ(Scalar(QStringLiteral("SELECT cID FROM tblDailyExp")).toInt(), 1);
    EXPECT_EQ(Scalar(QStringLiteral("SELECT cPayee FROM tblDailyExp")).toString(), payee);
    EXPECT_EQ(Scalar(QStringLiteral("SELECT cCode FROM tblDailyExp")).toString(), code);
    EXPECT_EQ(Scalar(QStringLiteral("SELECT cAmount FROM tblDailyExp")).toString(), QStringLiteral("1,234.50"));
    EXPECT_EQ(Scalar(QStringLiteral("SELECT cTaskID FROM tblDailyExp")).toInt(), 20);
    EXPECT_EQ(Scalar(QStringLiteral("SELECT cProjID FROM tblDailyExp")).toInt(), 2);
    EXPECT_EQ(Scalar(QStringLiteral("SELECT cExpID FROM tblDailyExp")).toInt(), 4);
    EXPECT_EQ(Scalar(QStringLiteral("SELECT cDate FROM tblDailyExp")).toInt(), Today());
    EXPECT_EQ(Scalar(QStringLiteral("SELECT cChk FROM tblDailyExp")).toInt(), 0);
    EXPECT_EQ(Scalar(QStringLiteral("SELECT cComments FROM tblDailyExpComments WHERE cID = 1")).toString(), memo);

    // The day is reloaded: the stored row with its id and state, the editor cleared and locked,
    // the new payee in the list, the total.
    ASSERT_EQ(w->lstLog->Rows(), 1);
    EXPECT_EQ(Cell(w, 0, E::colID), QStringLiteral("1"));
    EXPECT_EQ(Cell(w, 0, E::colChanged), QString());
    EXPECT_TRUE(SamePicture(w->lstLog->CellPictureAt(0, E::colPic), res::Picture(QStringLiteral("NORMAL"))));
    EXPECT_EQ(w->txtPayee->text(), QString());
    EXPECT_FALSE(w->txtPayee->isEnabled());
    EXPECT_FALSE(w->btnSave->isEnabled());
    EXPECT_GE(FindComboText(payee, w->cmbPayee), 0);
    EXPECT_EQ(w->lTotal->Caption(), QStringLiteral("1,234.50"));
}

TEST_F(ExpensesTest, AnEditIsWrittenBackAndItsCommentFollows)
{
    AddExpense(5, Today(), 2, QStringLiteral("Shop"), QStringLiteral("2.00"), QStringLiteral("C1"),
               QStringLiteral("old note"));
    frmDailyExp *w = Open();
    SelectRow(w, 0);
    EXPECT_EQ(w->txtPayee->text(), QStringLiteral("Shop"));
    EXPECT_EQ(w->txtComments->toPlainText(), QStringLiteral("old note"));
    EXPECT_EQ(w->cmbExpCat->Text(), QStringLiteral("Fuel"));
    EXPECT_EQ(w->lProj->Caption(), QStringLiteral("Alpha"));
    EXPECT_EQ(w->lTime->Caption(), QStringLiteral("10:00:00"));
    w->txtPayee->setText(QStringLiteral("Kiosk d'Été"));
    w->txtAmount->setText(QStringLiteral("7.5"));
    w->txtAmount_LostFocus();
    w->txtCodeID->clear();
    w->txtComments->clear();
    EXPECT_EQ(w->CheckChanged(), 1);
    w->btnSave_Click();

    EXPECT_EQ(Scalar(QStringLiteral("SELECT cPayee FROM tblDailyExp WHERE cID = 5")).toString(), QStringLiteral("Kiosk d'Été"));
    EXPECT_EQ(Scalar(QStringLiteral("SELECT cAmount FROM tblDailyExp WHERE cID = 5")).toString(), QStringLiteral("7.50"));
    EXPECT_EQ(Scalar(QStringLiteral("SELECT cCode FROM tblDailyExp WHERE cID = 5")).toString(), QStringLiteral("<Null>"));
    // The state the row had stays: the grid never writes it.
    EXPECT_EQ(Scalar(QStringLiteral("SELECT cChk FROM tblDailyExp WHERE cID = 5")).toInt(), 2);
    EXPECT_EQ(Count(QStringLiteral("SELECT * FROM tblDailyExpComments WHERE cID = 5")), 0);
    EXPECT_EQ(w->CheckChanged(), 0);
    EXPECT_EQ(w->lTotal->Caption(), QStringLiteral("7.50"));

    // A comment typed for an expense that has none is stored.
    SelectRow(w, 0);
    w->txtComments->setPlainText(QStringLiteral("new note"));
    w->SaveDailyChanged();
    EXPECT_EQ(Scalar(QStringLiteral("SELECT cComments FROM tblDailyExpComments WHERE cID = 5")).toString(),
              QStringLiteral("new note"));
}

TEST_F(ExpensesTest, ASentExpenseIsReadOnlyAndNeverUpdated)
{
    AddExpense(5, Today(), 1, QStringLiteral("Sent Ltd"), QStringLiteral("9.00"));
    frmDailyExp *w = Open();
    SelectRow(w, 0);
    EXPECT_EQ(w->txtPayee->text(), QStringLiteral("Sent Ltd"));
    for (QWidget *c : {static_cast<QWidget *>(w->txtPayee), static_cast<QWidget *>(w->txtAmount),
                       static_cast<QWidget *>(w->txtCodeID), static_cast<QWidget *>(w->txtComments),
                       static_cast<QWidget *>(w->cmbExpCat), static_cast<QWidget *>(w->cmbPayee),
                       static_cast<QWidget *>(w->btnSave), static_cast<QWidget *>(w->btnDown)})
        EXPECT_FALSE(c->isEnabled()) << c->objectName().toStdString();
    EXPECT_FALSE(w->mnuExp_Save->isEnabled());

    // Even a grid edited behind the editor's back is not written.
    w->lstLog->SetTextMatrix(0, E::colAmount, QStringLiteral("1.00"));
    BoxWatcher boxes;
    EXPECT_EQ(w->UpdateDaily(0), modDBchr::ErrExpenseSent);
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_TRUE(boxes.Boxes()[0].text.startsWith(BoxText(342)));
    EXPECT_EQ(Scalar(QStringLiteral("SELECT cAmount FROM tblDailyExp WHERE cID = 5")).toString(), QStringLiteral("9.00"));
}

TEST_F(ExpensesTest, DeletingTakesTheCommentAndNeverLeavesTheGridEmpty)
{
    AddExpense(5, Today(), 0, QStringLiteral("A"), QStringLiteral("1.00"), QVariant(), QStringLiteral("note"));
    AddExpense(6, Today(), 0, QStringLiteral("B"), QStringLiteral("2.00"));
    frmDailyExp *w = Open();
    ASSERT_EQ(w->lstLog->Rows(), 2);
    SelectRow(w, 0);
    w->btnDel_Click();
    EXPECT_EQ(Count(QStringLiteral("SELECT * FROM tblDailyExp WHERE cID = 5")), 0);
    EXPECT_EQ(Count(QStringLiteral("SELECT * FROM tblDailyExpComments WHERE cID = 5")), 0);
    ASSERT_EQ(w->lstLog->Rows(), 1);
    EXPECT_EQ(Cell(w, 0, E::colID), QStringLiteral("6"));
    EXPECT_EQ(w->lTotal->Caption(), QStringLiteral("2.00"));
    EXPECT_FALSE(w->txtPayee->isEnabled());

    // The only row: a new one takes its place.
    SelectRow(w, 0);
    w->btnDel_Click();
    EXPECT_EQ(Count(QStringLiteral("SELECT * FROM tblDailyExp")), 0);
    ASSERT_EQ(w->lstLog->Rows(), 1);
    EXPECT_EQ(Cell(w, 0, E::colID), QString());
    EXPECT_EQ(Cell(w, 0, E::colPayee), GetLangString(320));

    // A row never saved touches no table.
    AddExpense(8, Today(), 0, QStringLiteral("Other"));
    SelectRow(w, 0);
    EXPECT_EQ(w->DeleteDaily(), 0);
    EXPECT_EQ(Count(QStringLiteral("SELECT * FROM tblDailyExp")), 1);
}

TEST_F(ExpensesTest, AFailedWriteIsToldAndTheEditorKeepsWhatWasTyped)
{
    AddExpense(5, Today());
    frmDailyExp *w = Open();
    w->AddNewExp();
    const int row = w->lstLog->Row();
    Fill(w, QStringLiteral("Shop"), QStringLiteral("Design"), 0, QStringLiteral("3"));
    // The database goes away under the window.
    DB->Close();
    {
        BoxWatcher boxes;
        w->btnSave_Click();
        ASSERT_EQ(boxes.Boxes().size(), 1u);
        EXPECT_TRUE(boxes.Boxes()[0].text.startsWith(BoxText(342)));
        EXPECT_EQ(boxes.Boxes()[0].icon, 16);
    }
    EXPECT_EQ(w->lstLog->Rows(), 2);
    EXPECT_EQ(w->lstLog->Row(), row);
    EXPECT_EQ(Cell(w, row, E::colID), QString());
    EXPECT_EQ(Cell(w, row, E::colChanged), QStringLiteral("True"));
    EXPECT_EQ(w->txtPayee->text(), QStringLiteral("Shop"));
    EXPECT_EQ(w->txtAmount->text(), QStringLiteral("3.00"));
    EXPECT_TRUE(w->btnSave->isEnabled());

    // A failed delete keeps the row.
    SelectRow(w, 0);
    BoxWatcher boxes;
    w->btnDel_Click();
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_TRUE(boxes.Boxes()[0].text.startsWith(BoxText(343)));
    EXPECT_EQ(w->lstLog->Rows(), 2);
    EXPECT_EQ(Cell(w, 0, E::colID), QStringLiteral("5"));
}

TEST_F(ExpensesTest, TheTotalSkipsAHalfTypedAmount)
{
    AddExpense(5, Today(), 0, QStringLiteral("A"), QStringLiteral("1.50"));
    AddExpense(6, Today(), 0, QStringLiteral("B"), QStringLiteral("2.25"));
    frmDailyExp *w = Open();
    EXPECT_EQ(w->lTotal->Caption(), QStringLiteral("3.75"));
    SelectRow(w, 1);
    w->txtAmount->setText(QStringLiteral("2,2"));
    w->UpdateTotals();
    EXPECT_EQ(w->lTotal->Caption(), QStringLiteral("1.50"));
    // Leaving the box with it says so and puts a zero amount there.
    BoxWatcher boxes;
    w->txtAmount_LostFocus();
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].text, BoxText(353));
    EXPECT_EQ(w->txtAmount->text(), QStringLiteral("0.00"));
}

TEST_F(ExpensesTest, AmountsFollowTheLocalesNumberForm)
{
    InitSeparators(QLocale(QLocale::Greek, QLocale::Greece));
    frmDailyExp *w = Open();
    EXPECT_EQ(Cell(w, 0, E::colAmount), QStringLiteral("0,00"));
    Fill(w, QStringLiteral("Περίπτερο"), QStringLiteral("Design"), 0, QStringLiteral("1234,5"));
    EXPECT_EQ(w->txtAmount->text(), QStringLiteral("1.234,50"));
    w->btnSave_Click();
    EXPECT_EQ(Scalar(QStringLiteral("SELECT cAmount FROM tblDailyExp")).toString(), QStringLiteral("1.234,50"));
    EXPECT_EQ(Scalar(QStringLiteral("SELECT cPayee FROM tblDailyExp")).toString(), QStringLiteral("Περίπτερο"));
    EXPECT_EQ(w->lTotal->Caption(), QStringLiteral("1.234,50"));
}

TEST_F(ExpensesTest, TheTreeOffersOnlyTasksThatTakeExpensesAndAProjectClickChangesNothing)
{
    frmDailyExp *w = Open();
    QStringList texts;
    for (int i = 1; i <= w->MyTree->Count(); ++i)
        texts << w->MyTree->Nodes(i)->Text();
    EXPECT_TRUE(texts.contains(QStringLiteral("Design")));
    EXPECT_FALSE(texts.contains(QStringLiteral("Archive")));
    EXPECT_TRUE(w->MyTree->isHidden());
    w->btnDown_Click();
    EXPECT_FALSE(w->MyTree->isHidden());
    w->MyTree_NodeClick(w->MyTree->Nodes(1));   // a project
    EXPECT_EQ(Cell(w, 0, E::colTaskID), QString());
    EXPECT_FALSE(w->MyTree->isHidden());
    Fill(w, QString(), QStringLiteral("Design"), -1, QString());
    EXPECT_EQ(Cell(w, 0, E::colTaskID), QStringLiteral("10"));
    EXPECT_EQ(Cell(w, 0, E::colProjID), QStringLiteral("1"));
    EXPECT_EQ(w->lTask->Caption(), QStringLiteral("Design"));
    EXPECT_TRUE(w->MyTree->isHidden());
}

TEST_F(ExpensesTest, ALanguageSwitchRelabelsEverythingButTheDay)
{
    frmDailyExp *w = Open();
    const QString day = w->lblDay->Caption();
    PrevLangID = 0;
    LangID = 1;
    w->ApplyLang();
    EXPECT_EQ(w->btnSave->text(), GetLangString(903));
    EXPECT_EQ(w->AFLabel4->Caption(), GetLangString(311));
    EXPECT_EQ(w->mnuExp_Save->text(), GetLangString(272));
    EXPECT_EQ(w->mnuExp->title(), GetLangString(270));
    EXPECT_EQ(w->lblDay->Caption(), day);
    EXPECT_EQ(w->PayeePrompt, GetLangString(320));
    // Not the title: the window keeps its own name in every language, on its frame too.
    EXPECT_EQ(w->windowTitle(), QStringLiteral("Manage Daily Expenses"));
    auto *sub = qobject_cast<QMdiSubWindow *>(w->parentWidget());
    ASSERT_NE(sub, nullptr);
    EXPECT_EQ(sub->windowTitle(), QStringLiteral("Manage Daily Expenses"));
    w->AddNewExp();
    EXPECT_EQ(Cell(w, w->lstLog->Row(), E::colPayee), GetLangString(320));
    EXPECT_NE(GetLangString(320), QStringLiteral("(new expense)"));
    LangID = 0;
}

TEST_F(ExpensesTest, UnloadingClearsTheLoadedFlag)
{
    Open();
    EXPECT_TRUE(FormLoaded[fiDailyExp]);
    frmDailyExp::Unload();
    EXPECT_FALSE(FormLoaded[fiDailyExp]);
}
