// The daily expenses window's records: a new row, the field checks, storing, updating and
// deleting a row with its comment, the editor's lock, the day's total, and the editor fields
// that write into the selected row.
#include "expenses/frmDailyExp.h"

#include "core/RequestGuard.h"
#include "core/UnsavedRows.h"
#include "core/frmMain.h"
#include "core/modMain.h"
#include "expenses/ExpenseRules.h"
#include "platform/forms/Tag.h"
#include "store/modDBchr.h"
#include "expenses/frmCalc.h"
#include "core/clsTimePicker.h"

#include <QAction>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTime>
#include <QToolButton>

#include <vector>

using namespace modMain;

namespace {

double CellNumber(const forms::FlexGrid *grid, int row, int col)
{
    return grid->TextMatrix(row, col).trimmed().toDouble();
}

} // namespace

// ---- the records -------------------------------------------------------------------------

void frmDailyExp::AddNewExp()
{
    MyTree->setVisible(false);
    if (lblDay->Caption().isEmpty()) {
        ShowMsg(GetLangString(365), 16);
        return;
    }
    SetEnable(true);
    NewEntryMode = true;
    const int row = lstLog->Rows();
    lstLog->AddItem(QString());
    lstLog->SetRow(row);
    SetColorsAndPics(-1);
    if (lstLog->Rows() >= 4)
        lstLog->SetTopRow(lstLog->Rows() - 4);
    ClearAll();
    lstLog->SetTextMatrix(row, colPayee, PayeePrompt);
    lstLog->SetTextMatrix(row, colAmount, expenserules::FormatAmount(0));
    lstLog->SetTextMatrix(row, colChanged, QStringLiteral("False"));
    lstLog->SetTextMatrix(row, colChk, QStringLiteral("0"));
    // The time a new row starts with is no edit of the person's: the row stays unedited.
    const bool filling = FillingFields;
    FillingFields = true;
    lTime->SetCaption(QTime::currentTime().toString(QStringLiteral("HH:mm")));
    FillingFields = filling;
    lstLog->SetTextMatrix(row, colTime, QString::number(TimeStrToSecs(lTime->Caption() + QStringLiteral(":00"))));
    SetColorsAndPics(row);
    lstLog_Click();
}

bool frmDailyExp::CheckFields()
{
    expenserules::ExpenseFields f;
    f.payee = txtPayee->text();
    f.project = lProj->Caption();
    f.categoryIndex = cmbExpCat->ListIndex();
    f.amount = txtAmount->text();
    const QString problems = expenserules::FieldProblems(f, PayeePrompt);
    if (problems.isEmpty())
        return false;
    ShowMsg(expenserules::FieldProblemsMessage(problems), 0);
    return true;
}

void frmDailyExp::TellWriteFailure(int16_t id, int32_t err, const QString &description)
{
    QString text = GetLangString(id);
    if (!description.isEmpty())
        text += QStringLiteral("\r\n") + description;
    text += QStringLiteral(" (") + QString::number(err) + QStringLiteral(")");
    ShowMsg(text, 16);
}

namespace {

// The expense as grid row row holds it (the day comes from the shown day, the state is never
// taken from the grid).
modDBchr::ExpenseEntry EntryOfRow(const forms::FlexGrid *g, int row, int32_t dayKey)
{
    modDBchr::ExpenseEntry e;
    e.cID = CellNumber(g, row, frmDailyExp::colID);
    e.cExpID = CellNumber(g, row, frmDailyExp::colExpID);
    e.cAmount = expenserules::NormalizeAmount(g->TextMatrix(row, frmDailyExp::colAmount));
    e.cDate = dayKey;
    e.cTime = CellNumber(g, row, frmDailyExp::colTime);
    e.cTaskID = CellNumber(g, row, frmDailyExp::colTaskID);
    e.cProjID = CellNumber(g, row, frmDailyExp::colProjID);
    e.cPayee = g->TextMatrix(row, frmDailyExp::colPayee).trimmed();
    e.cCode = g->TextMatrix(row, frmDailyExp::colCode).trimmed();
    e.comment = g->TextMatrix(row, frmDailyExp::colComment);
    return e;
}

} // namespace

int32_t frmDailyExp::AddDaily(int row)
{
    if (row < 0 || row >= lstLog->Rows())
        return modDBchr::ErrExpenseMissing;
    bool ok = false;
    const int32_t dayKey = forms::Tag(lblDay).toInt(&ok);
    if (!ok)
        return 13;
    modDBchr::ExpenseEntry e = EntryOfRow(lstLog, row, dayKey);
    const int32_t err = modDBchr::InsertExpense(e);
    if (err != 0) {
        TellWriteFailure(342, err, modDBchr::LastExpError());
        return err;
    }
    lstLog->SetTextMatrix(row, colChanged, QString());
    lstLog->SetTextMatrix(row, colID, QString::number(static_cast<qlonglong>(e.cID)));
    lstLog->SetTextMatrix(row, colChk, QStringLiteral("0"));
    lstLog->SetTextMatrix(row, colDate, QString::number(dayKey));
    lstLog->SetTextMatrix(row, colAmount, e.cAmount);
    SetColorsAndPics(row);
    return 0;
}

int32_t frmDailyExp::UpdateDaily(int row)
{
    if (row < 0 || row >= lstLog->Rows())
        return modDBchr::ErrExpenseMissing;
    // The day of a stored row is its own; the shown day only stands in for a row loaded
    // without one.
    bool ok = false;
    int32_t dayKey = lstLog->TextMatrix(row, colDate).toInt(&ok);
    if (!ok)
        dayKey = forms::Tag(lblDay).toInt();
    const modDBchr::ExpenseEntry e = EntryOfRow(lstLog, row, dayKey);
    const int32_t err = modDBchr::UpdateExpense(e);
    if (err != 0) {
        TellWriteFailure(342, err, modDBchr::LastExpError());
        return err;
    }
    lstLog->SetTextMatrix(row, colChanged, QString());
    lstLog->SetTextMatrix(row, colAmount, e.cAmount);
    SetColorsAndPics(row);
    return 0;
}

int32_t frmDailyExp::DeleteDaily()
{
    const int r = lstLog->Row();
    if (r < 0)
        return 0;
    const QString id = lstLog->TextMatrix(r, colID).trimmed();
    if (!id.isEmpty()) {
        const int32_t err = modDBchr::DeleteExpense(id.toDouble());
        if (err != 0) {
            TellWriteFailure(343, err, modDBchr::LastExpError());
            return err;
        }
    }
    if (lstLog->Rows() == 1)
        AddNewExp();
    lstLog->RemoveItem(r);
    UpdateTotals();
    return 0;
}

void frmDailyExp::SaveDailyChanged()
{
    SaveOpenRow(false);
}

bool frmDailyExp::SaveOpenRow(bool andSend)
{
    if (CheckFields())
        return false;
    MyTree->setVisible(false);
    const int row = lstLog->Row();
    if (row < 0)
        return false;
    NewEntryMode = lstLog->TextMatrix(row, colID).trimmed().isEmpty();
    // A row that was not written keeps its edits in the editor, and nothing is sent.
    if ((NewEntryMode ? AddDaily(row) : UpdateDaily(row)) != 0)
        return false;
    // While another window talks to the service the row stays to be sent later.
    if (andSend && AutoSynch == 1 && !RequestGuard::Busy()) {
        frmMain::Get()->CheckConnection();
        if (IsConnected)
            SynchExpLog(row);
    }
    // The day is read again below: the edits of other rows, not saved yet, go back into their
    // rows afterwards (a row never saved at the end), so that saving one row loses none.
    const std::vector<QStringList> kept = unsavedrows::Take(*lstLog, colChanged, row);
    lstLog->setVisible(false);
    LoadDailyExp();
    unsavedrows::PutBack(*lstLog, kept, colID, colChk);
    if (!kept.empty())
        SetColorsAndPics(-1);
    lstLog->setVisible(true);
    if (andSend || !kept.empty())
        UpdateTotals();
    ClearAll();
    SetEnable(false);
    modDBchr::FillPayeeCombo(cmbPayee);
    return true;
}

void frmDailyExp::SetEnable(bool on)
{
    for (QWidget *w : {static_cast<QWidget *>(txtPayee), static_cast<QWidget *>(cmbPayee),
                       static_cast<QWidget *>(txtCodeID), static_cast<QWidget *>(cmbExpCat),
                       static_cast<QWidget *>(txtAmount), static_cast<QWidget *>(txtComments),
                       static_cast<QWidget *>(lTime), static_cast<QWidget *>(btnSave),
                       static_cast<QWidget *>(btnDown)})
        w->setEnabled(on);
    mnuExp_Save->setEnabled(btnSave->isEnabled());
}

void frmDailyExp::UpdateTotals()
{
    const int rows = lstLog->Rows();
    if (rows == 0)
        return;
    QStringList amounts;
    amounts.reserve(rows);
    for (int r = 0; r < rows; ++r)
        amounts << lstLog->TextMatrix(r, colAmount);
    lTotal->SetCaption(expenserules::FormatAmount(expenserules::DayTotal(amounts)));
}

QString frmDailyExp::GetCatName(const QString &id)
{
    for (int i = 0; i < cmbExpCat->ListCount(); ++i) {
        if (QString::number(cmbExpCat->ItemData(i)) == id.trimmed()) {
            cmbExpCat->SetListIndex(i);
            return cmbExpCat->List(i);
        }
    }
    return QString();
}

void frmDailyExp::ClearAll()
{
    FillingFields = true;
    DaySetFromList = true;
    try {
        txtPayee->clear();
        txtAmount->clear();
        lTime->SetCaption(QString());
        lProj->SetCaption(QString());
        lTask->SetCaption(QString());
        txtCodeID->clear();
        txtComments->clear();
        cmbExpCat->SetListIndex(-1);
    } catch (...) {
    }
    FillingFields = false;
    DaySetFromList = false;
}

// ---- the editor fields -----------------------------------------------------------------------

void frmDailyExp::EnableSave(bool on)
{
    btnSave->setEnabled(on);
    mnuExp_Save->setEnabled(btnSave->isEnabled());
}

void frmDailyExp::WriteField(int col, const QString &text, bool markChanged)
{
    const int row = lstLog->Row();
    if (row < 0)
        return;
    lstLog->SetTextMatrix(row, col, text);
    if (markChanged)
        lstLog->SetTextMatrix(row, colChanged, QStringLiteral("True"));
}

void frmDailyExp::txtPayee_Change()
{
    if (FillingFields)
        return;
    EnableSave(true);
    WriteField(colPayee, txtPayee->text());
}

void frmDailyExp::lstLog_Click()
{
    const int row = lstLog->Row();
    if (row < 0)
        return;
    const QString changed = lstLog->TextMatrix(row, colChanged);
    MyTree->setVisible(false);
    // A picker left open would write its time into this row.
    m_TimePicker->Hide();
    if (lstLog->Rows() == 0)
        return;
    const bool sent = lstLog->TextMatrix(row, colChk) == u"1";
    if (sent) {
        SetEnable(false);
        // A sent row always shows its own payee.
        NewEntryMode = false;
    } else {
        SetEnable(true);
        if (lstLog->TextMatrix(row, colPayee) == PayeePrompt) {
            ClearAll();
            NewEntryMode = true;
            EnableSave(false);
        } else {
            NewEntryMode = false;
        }
    }
    FillingFields = true;
    if (!NewEntryMode)
        txtPayee->setText(lstLog->TextMatrix(row, colPayee));
    lTask->SetCaption(lstLog->TextMatrix(row, colTaskName));
    lProj->SetCaption(lstLog->TextMatrix(row, colProjName));
    const QString cat = lstLog->TextMatrix(row, colExpID);
    if (!cat.isEmpty())
        GetCatName(cat);
    else
        cmbExpCat->SetListIndex(-1);
    lTime->SetCaption(SecsToHMS(lstLog->TextMatrix(row, colTime).toDouble()));
    txtAmount->setText(lstLog->TextMatrix(row, colAmount));
    txtCodeID->setText(lstLog->TextMatrix(row, colCode));
    txtComments->setPlainText(lstLog->TextMatrix(row, colComment));
    FillingFields = false;
    lstLog->SetTextMatrix(row, colChanged, changed);
    mnuExp_Save->setEnabled(btnSave->isEnabled());
}

void frmDailyExp::cmbExpCat_Click()
{
    if (FillingFields)
        return;
    EnableSave(true);
    const int index = cmbExpCat->ListIndex();
    if (lstLog->Row() < 0 || index == -1)
        return;
    WriteField(colExpName, cmbExpCat->List(index), false);
    WriteField(colExpID, QString::number(cmbExpCat->ItemData(index)));
}

void frmDailyExp::cmbPayee_Click()
{
    const int index = cmbPayee->ListIndex();
    if (index < 0)
        return;
    txtPayee->setText(cmbPayee->List(index));
    txtPayee->raise();
}

void frmDailyExp::txtAmount_Change()
{
    if (FillingFields)
        return;
    EnableSave(true);
    WriteField(colAmount, txtAmount->text());
}

void frmDailyExp::txtAmount_LostFocus()
{
    if (m_amountCheck || FillingFields)
        return;
    const QString text = txtAmount->text();
    if (!text.trimmed().isEmpty()) {
        const std::optional<double> v = expenserules::ReadAmount(text);
        if (!v) {
            m_amountCheck = true;
            ShowMsg(GetLangString(353), 16);
            txtAmount->setText(expenserules::FormatAmount(0));
            txtAmount->setFocus();
            m_amountCheck = false;
            return;
        }
        const QString formatted = expenserules::FormatAmount(*v);
        if (formatted != text)
            txtAmount->setText(formatted);
    }
    UpdateTotals();
}

void frmDailyExp::txtCodeID_Change()
{
    if (FillingFields)
        return;
    EnableSave(true);
    WriteField(colCode, txtCodeID->text());
}

void frmDailyExp::txtComments_Change()
{
    if (FillingFields || lblDay->Caption().isEmpty())
        return;
    EnableSave(true);
    WriteField(colComment, txtComments->toPlainText());
}

void frmDailyExp::lTime_Change()
{
    if (FillingFields)
        return;
    EnableSave(true);
    const int row = lstLog->Row();
    if (row < 0)
        return;
    try {
        // A changed time is an edit like any other, or it would be lost at the close; the
        // picker writing back the time the row has is none.
        const QString secs = QString::number(TimeStrToSecs(lTime->Caption()));
        if (secs != lstLog->TextMatrix(row, colTime))
            WriteField(colTime, secs);
    } catch (...) {
    }
}

bool frmDailyExp::txtAmount_KeyPress(QKeyEvent *key)
{
    const QString typed = key->text();
    // Backspace, Delete, the arrows and the editing shortcuts work as in any box.
    if (typed.isEmpty() || typed[0].unicode() < 32 || typed[0].unicode() == 127
        || (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier)))
        return true;
    if (typed.size() != 1)
        return false;
    const std::optional<QString> text = expenserules::AmountKeyText(typed[0]);
    if (!text)
        return false;
    if (*text == typed)
        return true;
    txtAmount->insert(*text);
    return false;
}

void frmDailyExp::txtAmount_DblClick()
{
    if (!txtAmount->isEnabled())
        return;
    MyTree->setVisible(false);
    if (frmCalc::Calculate(txtAmount))
        UpdateTotals();
}

void frmDailyExp::imgCalc_Click()
{
    txtAmount_DblClick();
}

void frmDailyExp::txtComments_GotFocus()
{
    MyTree->setVisible(false);
}

void frmDailyExp::lTime_Click()
{
    if (!lTime->isEnabled())
        return;
    MyTree->setVisible(false);
    m_TimePicker->SetOutputControl(lTime);
    m_TimePicker->ParseTime(lTime->Caption());
    picPicker->raise();
    m_TimePicker->Show();
}

void frmDailyExp::lblExit_Click()
{
    m_TimePicker->Output();
    m_TimePicker->Hide();
}

void frmDailyExp::lProj_Click()
{
    MyTree->setVisible(false);
}

void frmDailyExp::btnDown_Click()
{
    MyTree->setVisible(MyTree->isHidden());
    if (!MyTree->isHidden())
        MyTree->raise();
}

void frmDailyExp::MyTree_NodeClick(forms::Node *node)
{
    if (!node || NodeLevel(node) < 1 || lstLog->Row() < 0 || !node->Parent())
        return;
    WriteField(colTaskName, node->Text(), false);
    WriteField(colTaskID, node->Tag(), false);
    WriteField(colProjID, node->Parent()->Tag(), false);
    WriteField(colProjName, node->Parent()->Text());
    btnSave->setEnabled(true);
    MyTree->setVisible(false);
    lstLog_Click();
}

// ---- the commands that store ------------------------------------------------------------------

void frmDailyExp::btnAdd_Click()
{
    FillingFields = true;
    AddNewExp();
    FillingFields = false;
}

void frmDailyExp::btnSave_Click()
{
    SaveOpenRow(true);
}

void frmDailyExp::btnDel_Click()
{
    MyTree->setVisible(false);
    FillingFields = true;
    const int32_t err = DeleteDaily();
    // Clearing the flag at once: later edits reach the grid whatever the outcome.
    FillingFields = false;
    if (err == 0) {
        ClearAll();
        SetEnable(false);
        btnSave->setEnabled(false);
    }
}
