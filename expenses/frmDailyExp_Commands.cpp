// The daily expenses window's commands: closing, the day buttons and the day calendar, the
// deletes of a day, of every day and of the sent expenses, sending one expense or the day, the
// help page, and what the window does when it becomes active.
#include "expenses/frmDailyExp.h"

#include "core/RequestGuard.h"
#include "core/frmMain.h"
#include "core/modMain.h"
#include "expenses/ExpenseRules.h"
#include "options_help/frmHlp.h"
#include "platform/forms/Tag.h"
#include "store/modDBchr.h"
#include "timelog/frmCal.h"

#include <QAction>
#include <QCloseEvent>
#include <QDate>
#include <QPushButton>
#include <QTimer>

using namespace modMain;

namespace {

// The strings of the questions before unsaved edits are dropped: "There are", the count, then
// what happens to them.
constexpr int16_t kThereAre = 360;
constexpr int16_t kCloseAndDrop = 361;
constexpr int16_t kSwitchAndDrop = 1712;
// The same questions about a single row.
constexpr int16_t kCloseAndDropOne = 1880;
constexpr int16_t kSwitchAndDropOne = 1882;

} // namespace

// ---- unsaved edits ------------------------------------------------------------------------

bool frmDailyExp::AskToDrop(int16_t what, int16_t whatOne)
{
    const int n = CheckChanged();
    if (n <= 0)
        return true;
    const QString question = CountedText(n, kThereAre, what, whatOne);
    return ShowMsg(question, 292) != 7;
}

bool frmDailyExp::QueryUnload()
{
    MyTree->setVisible(false);
    return AskToDrop(kCloseAndDrop, kCloseAndDropOne);
}

bool frmDailyExp::MayDropChanges()
{
    return m_dropAgreed || AskToDrop(kSwitchAndDrop, kSwitchAndDropOne);
}

void frmDailyExp::btnExit_Click()
{
    CloseAfterAsking(&frmDailyExp::Unload);
}

// ---- the days -----------------------------------------------------------------------------

void frmDailyExp::RefillDays()
{
    modDBchr::FillExpDatesCombo(cmbDays);
    const int32_t today = DateToLong(QDate::currentDate());
    if (!DayHasRecords(today, QStringLiteral("tblDailyExp")) && FindComboData(today, cmbDays) < 0)
        AddDateItem(today, cmbDays);
}

void frmDailyExp::ShowNoDay()
{
    lstLog->SetRows(0);
    lblDay->SetCaption(QString());
    forms::SetTag(lblDay, QString());
    ClearAll();
    SetEnable(false);
    btnNP[0]->setEnabled(false);
    btnNP[1]->setEnabled(false);
    // No rows, no total.
    lTotal->SetCaption(expenserules::FormatAmount(0));
}

void frmDailyExp::btnNP_Click(int index)
{
    const QString shown = lblDay->Caption();
    if (shown.isEmpty())
        return;
    const QString date = modDBchr::GetNextPrevExpDate(ShortDateToDate(shown), index == 1);
    if (date.isEmpty() || date == shown || !MayDropChanges())
        return;
    FillingFields = true;
    m_dropAgreed = true;
    cmbDays->SetListIndex(FindComboText(date, cmbDays));
    const bool fromList = DaySetFromList;
    DaySetFromList = true;
    lblDay->SetCaption(date);
    DaySetFromList = fromList;
    m_dropAgreed = false;
    FillingFields = false;
}

void frmDailyExp::mnuDays_Add_Click()
{
    MyTree->setVisible(false);
    if (!MayDropChanges())
        return;
    // An accepted day comes back as the day label's caption, which loads it.
    frmCal::PickDay(this, lblDay);
}

void frmDailyExp::btnNewDate_Click()
{
    mnuDays_Add_Click();
}

void frmDailyExp::TellDeleteFailure(int32_t err)
{
    QString text = GetLangString(343);
    if (const QString d = modDBchr::LastExpError(); !d.isEmpty())
        text += QStringLiteral("\r\n") + d;
    ShowMsg(text + QStringLiteral(" (") + QString::number(err) + QStringLiteral(")"), 16);
}

void frmDailyExp::mnuDays_Del_Click()
{
    MyTree->setVisible(false);
    if (lblDay->Caption().isEmpty()) {
        ShowMsg(GetLangString(350), 0);
        return;
    }
    if (ShowMsg(GetLangString(351), 1) == 2)
        return;
    bool ok = false;
    const int32_t dayKey = forms::Tag(lblDay).toInt(&ok);
    const int32_t err = ok ? modDBchr::DeleteExpDay(dayKey) : 13;
    if (err != 0) {
        TellDeleteFailure(err);
        return;
    }
    ShowNoDay();
    RefillDays();
}

void frmDailyExp::btnDelDate_Click()
{
    mnuDays_Del_Click();
}

void frmDailyExp::mnuDays_DelAll_Click()
{
    MyTree->setVisible(false);
    if (ShowMsg(GetLangString(352), 1) == 2)
        return;
    const int32_t err = modDBchr::DeleteAllExp();
    if (err != 0) {
        TellDeleteFailure(err);
        return;
    }
    ShowNoDay();
    RefillDays();
}

void frmDailyExp::mnuDays_Click()
{
    mnuDays_DelAll->setEnabled(lstLog->Rows() > 0);
}

// ---- the sent expenses --------------------------------------------------------------------

void frmDailyExp::DeleteSynced(int32_t dayKey)
{
    MyTree->setVisible(false);
    if (ShowMsg(GetLangString(300), 1) == 2)
        return;
    // The day is read again afterwards: edits not saved would go with it.
    if (!MayDropChanges())
        return;
    const int32_t err = modDBchr::DeleteSyncedExpDay(dayKey);
    if (err != 0)
        TellDeleteFailure(err);
    lstLog->setVisible(false);
    if (!lblDay->Caption().isEmpty())
        LoadDailyExp();
    lstLog->setVisible(true);
    ClearAll();
    SetEnable(false);
    modDBchr::FillPayeeCombo(cmbPayee);
    if (lstLog->Rows() == 0)
        lTotal->SetCaption(expenserules::FormatAmount(0));
    else
        UpdateTotals();
}

void frmDailyExp::mnuExp_DelAllSynch_Click()
{
    DeleteSynced(-1);
}

void frmDailyExp::mnuExp_DelDaySynch_Click()
{
    const int index = cmbDays->ListIndex();
    if (index < 0)
        return;
    DeleteSynced(cmbDays->ItemData(index));
}

void frmDailyExp::mnuExp_Click()
{
    mnuExp_DelDaySynch->setEnabled(CalcSynch() > 0);
}

void frmDailyExp::mnuExp_Add_Click()
{
    AddNewExp();
}

// ---- sending --------------------------------------------------------------------------------

bool frmDailyExp::RowSendable(int row) const
{
    if (row < 0 || row >= lstLog->Rows())
        return false;
    // A row with edits not saved would go as it is stored, not as it is shown: it goes once
    // it is saved.
    return !lstLog->TextMatrix(row, colID).trimmed().isEmpty() && !lstLog->TextMatrix(row, colExpID).isEmpty()
           && lstLog->TextMatrix(row, colChk) != u"1" && lstLog->TextMatrix(row, colChanged) != u"True";
}

void frmDailyExp::mnuSynch_Click()
{
    const bool free = IsConnected && !RequestGuard::Busy();
    mnuSynch_Item->setEnabled(free && lstLog->Rows() > 0 && RowSendable(lstLog->Row()));
    mnuSynch_Day->setEnabled(free);
}

void frmDailyExp::mnuSynch_Item_Click()
{
    MyTree->setVisible(false);
    const int row = lstLog->Row();
    if (RowSendable(row))
        SynchExpLog(row);
}

void frmDailyExp::mnuSynch_Day_Click()
{
    MyTree->setVisible(false);
    int sent = 0;
    for (int r = 0; r < lstLog->Rows(); ++r) {
        if (!RowSendable(r))
            continue;
        SynchExpLog(r);
        ++sent;
    }
    if (sent == 0)
        SetStatus(330);
    else
        SetStatus(331, u' ' + QString::number(sent));
}

// ---- help and activation -------------------------------------------------------------------

void frmDailyExp::mnuHelp_Form_Click()
{
    frmHlp::ShowHelpFor(objectName());
}

void frmDailyExp::Form_Activate()
{
    if (frmMain *main = frmMain::Peek())
        main->MarkToolbarEntry(2);
    if (lstLog->Rows() > 0)
        SetColorsAndPics(-1);
}
