// The daily time-log window's commands: the toolbar buttons, the Logs, Days, Synch and Help
// menus, the previous and next day, and the keys of the grid.
#include "timelog/frmDaily.h"

#include "core/RequestGuard.h"
#include "core/frmMain.h"
#include "core/modMain.h"
#include "options_help/frmHlp.h"
#include "options_help/frmVideo.h"
#include "platform/forms/Forms.h"
#include "store/modDBchr.h"
#include "timelog/DailyRules.h"
#include "timelog/EditorRules.h"
#include "timelog/frmCal.h"
#include "core/clsTimePicker.h"

#include <QAction>
#include <QDate>
#include <QGroupBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QTimer>
#include <QToolButton>

using namespace modMain;
using namespace dailyrules;

namespace {

constexpr double kLastSecond = 86399;   // 23:59:59

} // namespace

// ---- the busy state -----------------------------------------------------------------------------

void frmDaily::ApplyBusy()
{
    // Save and Delete come back as the editor left them; the menus read the state when they open.
    SetSaveEnabled(m_saveWanted);
    SetDelEnabled(m_delWanted);
    const bool busy = RequestGuard::Busy();
    btnDelDate->setEnabled(!busy);
    for (QAction *a : {mnuLogs_DelAll, mnuDays_Del, mnuDays_DelAll, mnuSynch_Item, mnuSynch_Day})
        if (busy)
            a->setEnabled(false);
    if (!busy) {
        mnuDays_Del->setEnabled(true);
        mnuLogs_Click();
        mnuDays_Click();
        mnuSynch_Click();
    }
}

// ---- rows -----------------------------------------------------------------------------------------

void frmDaily::SelectRow(int row)
{
    lstLog->SetRow(row);
    lstLog->SetRowSel(row);
    lstLog->SetCol(0);
    lstLog->SetColSel(lstLog->Cols() - 1);
    lstLog->SetTopRow(row);
    lstLog_Click();
}

void frmDaily::RefreshFreeTime()
{
    // Only the rows that hold no entry and no task are made again; every other row keeps its
    // edits.
    for (int r = lstLog->Rows() - 1; r >= 0; --r) {
        if (!lstLog->TextMatrix(r, ColID).isEmpty() || !lstLog->TextMatrix(r, ColTask).isEmpty())
            continue;
        if (lstLog->Rows() == 1)
            lstLog->SetRows(0);
        else
            lstLog->RemoveItem(r);
    }
    AddFreeTime();
}

void frmDaily::ReloadDay()
{
    lstLog->setVisible(false);
    LoadDailyLog();
    if (mnuLogs_FreeBusy->isChecked())
        AddFreeTime();
    lstLog->setVisible(true);
    CloseEditor();
}

void frmDaily::RefillDays()
{
    modDBchr::FillRecordedDatesCombo(cmbDays);
    const int32_t today = DateToLong(QDate::currentDate());
    if (FindComboData(today, cmbDays) < 0)
        AddDateItem(today, cmbDays);
}

void frmDaily::ShowNoDay()
{
    lstLog->SetRows(0);
    {
        // Emptying the label shows no day: its change handler has nothing to load.
        QScopedValueRollback<bool> fromList(DaySetFromList, true);
        lblDay->SetCaption(QString());
    }
    forms::SetTag(lblDay, QString());
    CloseEditor();
    btnNP[0]->setEnabled(false);
    btnNP[1]->setEnabled(false);
}

bool frmDaily::DeleteShownDay()
{
    const int32_t error = modDBchr::DeleteDailyDay(forms::Tag(lblDay).toInt());
    if (error == 0)
        return true;
    TellWriteFailure(error, 1033);
    // The grid shows what the database still holds.
    ReloadDay();
    return false;
}

// ---- toolbar ---------------------------------------------------------------------------------------

void frmDaily::btnAdd_Click()
{
    MyTree->setVisible(false);
    mnuLogs_Add_Click();
}

void frmDaily::btnAdd_MouseMove()
{
    SetStatus(978);
}

void frmDaily::btnNewDate_Click()
{
    mnuDays_Add_Click();
}

void frmDaily::btnDelDate_Click()
{
    mnuDays_Del_Click();
}

void frmDaily::btnDel_Click()
{
    MyTree->setVisible(false);
    const int row = lstLog->Row();
    // The command stands for the entry open in the editor; an accepted entry stays, and so do
    // the rows while a request may still write into them.
    if (row < 0 || !m_delWanted || IsSentRow(row) || RequestGuard::Busy())
        return;
    if (ShowMsg(GetLangString(1034, false), 1) == 2)
        return;
    const int32_t error = DeleteDaily();
    if (error != 0) {
        // The entry is still there, and the grid says so.
        TellWriteFailure(error, 1033);
        return;
    }
    CloseEditor();
    btnDown->setEnabled(false);
    if (mnuLogs_FreeBusy->isChecked()) {
        lstLog->setVisible(false);
        RefreshFreeTime();
        lstLog->setVisible(true);
    }
}

void frmDaily::btnNP_Click(int index)
{
    MyTree->setVisible(false);
    const QDate shown = ShortDateToDate(lblDay->Caption());
    if (!shown.isValid())
        return;
    const QString day = modDBchr::GetNextPrevDailyDate(shown, index == 1);
    if (day.isEmpty() || day == lblDay->Caption())
        return;
    if (!MayDropUnsaved(false))
        return;
    QScopedValueRollback<bool> agreed(m_dropAgreed, true);
    const int16_t item = FindComboText(day, cmbDays);
    if (item >= 0)
        cmbDays->SetListIndex(item);
    const bool before = DaySetFromList;
    DaySetFromList = true;
    lblDay->SetCaption(day);
    DaySetFromList = before;
}

// ---- the Logs menu ---------------------------------------------------------------------------------

void frmDaily::mnuLogs_Click()
{
    mnuLogs_DelAll->setEnabled(lstLog->Rows() > 0 && !RequestGuard::Busy());
}

void frmDaily::mnuLogs_Add_Click()
{
    MyTree->setVisible(false);
    if (lblDay->Caption().isEmpty()) {
        ShowMsg(GetLangString(364, false), 16);
        return;
    }
    // The first free slot of the day: a free-time row, or a new row not saved yet.
    for (int r = 0; r < lstLog->Rows(); ++r) {
        if (lstLog->TextMatrix(r, ColID).isEmpty()) {
            SelectRow(r);
            return;
        }
    }
    if (lstLog->Rows() == 0) {
        // An empty day: its one free row, the working day, with the picker on its start.
        AddFreeTime();
        if (lstLog->Rows() == 0) {
            // A working day without length has no free row: the new row takes its start.
            lstLog->SetRows(1);
            lstLog->SetTextMatrix(0, ColName, NewEntryName);
            lstLog->SetTextMatrix(0, ColStartText, SecsToHMS(WorkDayStart));
            lstLog->SetTextMatrix(0, ColEndText, SecsToHMS(qMax(WorkDayStart, WorkDayEnd)));
            SetColorsAndPics(0);
        }
        SelectRow(0);
        ClearAll();
        txtComments->setEnabled(true);
        NewEntryMode = true;
        txtStart->setText(SecsToHMS(WorkDayStart));
        txtEnd->setText(SecsToHMS(qMax(WorkDayStart, WorkDayEnd)));
        lblStart_Click();
        return;
    }
    // Every row is a saved entry: a new one after the last, an hour long at most and ending
    // at 23:59:59 at the latest.
    const int last = lstLog->Rows() - 1;
    double start = TimeOfDay(lstLog->TextMatrix(last, ColEndText)).value_or(kLastSecond);
    // An entry that runs past midnight leaves nothing of this day after it.
    if (editorrules::EndOnNextDay(lstLog->TextMatrix(last, ColStart), lstLog->TextMatrix(last, ColSec)))
        start = kLastSecond;
    const double length = qMin(3600.0, qMax(0.0, kLastSecond - start));
    const QDateTime midnight(LongToDate(forms::Tag(lblDay).toInt()), QTime(0, 0));
    const int row = lstLog->Rows();
    lstLog->SetRows(row + 1);
    lstLog->SetTextMatrix(row, ColName, NewEntryName);
    lstLog->SetTextMatrix(row, ColDate, forms::Tag(lblDay));
    lstLog->SetTextMatrix(row, ColStart, modMain::NumberText(start));
    lstLog->SetTextMatrix(row, ColSec, modMain::NumberText(length));
    lstLog->SetTextMatrix(row, ColStartText, SecsToHMS(start));
    lstLog->SetTextMatrix(row, ColEndText,
                          FormatDateTimeStr(midnight.addMSecs(qint64((start + length) * 1000)), true));
    SetColorsAndPics(-1);
    SelectRow(row);
}

void frmDaily::mnuLogs_Save_Click()
{
    if (m_saveWanted && !RequestGuard::Busy())
        btnSave_Click();
}

void frmDaily::mnuLogs_Del_Click()
{
    btnDel_Click();
}

void frmDaily::mnuLogs_DelAll_Click()
{
    MyTree->setVisible(false);
    if (RequestGuard::Busy())
        return;
    if (lstLog->Row() < 0 || lblDay->Caption().isEmpty()) {
        ShowMsg(GetLangString(350, false), 16, QStringLiteral("Nothing selected!"));
        return;
    }
    if (ShowMsg(GetLangString(366, false), 49) == 2)
        return;
    if (!DeleteShownDay())
        return;
    lstLog->SetRows(0);
    CloseEditor();
    if (mnuLogs_FreeBusy->isChecked())
        AddFreeTime();
}

void frmDaily::mnuLogs_FreeBusy_Click()
{
    MyTree->setVisible(false);
    if (forms::Tag(lblDay).isEmpty())
        return;
    if (mnuLogs_FreeBusy->isChecked()) {
        AddFreeTime();
        return;
    }
    // Reading the day again drops the rows edited and not saved: No leaves everything as it
    // was, free time shown.
    if (!MayDropUnsaved(false)) {
        mnuLogs_FreeBusy->setChecked(true);
        return;
    }
    lstLog->setVisible(false);
    LoadDailyLog();
    lstLog->setVisible(true);
    CloseEditor();
}

// ---- the Days menu ---------------------------------------------------------------------------------

void frmDaily::mnuDays_Click()
{
    mnuDays_DelAll->setEnabled(lstLog->Rows() > 0 && !RequestGuard::Busy());
}

void frmDaily::mnuDays_Add_Click()
{
    MyTree->setVisible(false);
    // The day chosen in the calendar replaces the rows shown.
    if (!MayDropUnsaved(false))
        return;
    QScopedValueRollback<bool> agreed(m_dropAgreed, true);
    frmCal::PickDay(this, lblDay);
}

void frmDaily::mnuDays_Del_Click()
{
    MyTree->setVisible(false);
    if (RequestGuard::Busy())
        return;
    if (lblDay->Caption().isEmpty()) {
        ShowMsg(GetLangString(350, false), 16);
        return;
    }
    if (ShowMsg(GetLangString(351, false), 1) == 2)
        return;
    if (!DeleteShownDay())
        return;
    ShowNoDay();
    RefillDays();
}

void frmDaily::mnuDays_DelAll_Click()
{
    MyTree->setVisible(false);
    if (RequestGuard::Busy())
        return;
    if (ShowMsg(GetLangString(352, false), 49) == 2)
        return;
    const int32_t error = modDBchr::DeleteAllDaily();
    if (error != 0) {
        TellWriteFailure(error, 1033);
        RefillDays();
        if (!lblDay->Caption().isEmpty()) {
            // The list chooses the shown day again (its click finds nothing to do).
            const int16_t item = FindComboText(lblDay->Caption(), cmbDays);
            if (item >= 0)
                cmbDays->SetListIndex(item);
            ReloadDay();
        }
        return;
    }
    ShowNoDay();
    RefillDays();
}

// ---- the Synch menu --------------------------------------------------------------------------------

void frmDaily::mnuSynch_Click()
{
    const bool free = IsConnected && !RequestGuard::Busy();
    const int row = lstLog->Row();
    mnuSynch_Item->setEnabled(free && lstLog->Rows() > 0 && row >= 0 && !lstLog->TextMatrix(row, ColID).isEmpty()
                              && lstLog->TextMatrix(row, ColChk) != QLatin1String("1"));
    mnuSynch_Day->setEnabled(free);
}

void frmDaily::mnuSynch_Item_Click()
{
    const int row = lstLog->Row();
    if (row < 0 || RequestGuard::Busy())
        return;
    // What goes out is what is stored: an entry with unsaved edits is saved first.
    if (lstLog->TextMatrix(row, ColChanged) == QLatin1String("True")) {
        ShowMsg(GetLangString(1031, false), 48);
        return;
    }
    SynchTimeLog(row);
}

void frmDaily::mnuSynch_Day_Click()
{
    // One command for the whole day: no other request starts in between.
    const RequestGuard command(RequestGuard::Command);
    if (!command)
        return;
    // The entries to send, by id: the grid may be read again while a request waits.
    std::vector<double> ids;
    int unsaved = 0;
    for (int r = 0; r < lstLog->Rows(); ++r) {
        const RowFacts facts{lstLog->TextMatrix(r, ColID), lstLog->TextMatrix(r, ColChk),
                             lstLog->TextMatrix(r, ColChanged)};
        if (RowTakenByDaySend(facts))
            ids.push_back(*IdOf(facts.id));
        else if (IdOf(facts.id) && facts.chk.trimmed() != QLatin1String("1"))
            ++unsaved;
    }
    QPointer<frmDaily> alive(this);
    const QString day = forms::Tag(lblDay);
    m_sending = true;
    setEnabled(false);
    for (double id : ids) {
        if (!alive || forms::Tag(lblDay) != day)
            break;
        for (int r = 0; r < lstLog->Rows(); ++r) {
            if (IdOf(lstLog->TextMatrix(r, ColID)) == std::optional<double>(id)) {
                // Edited while an earlier entry was under way: it waits for its save.
                if (lstLog->TextMatrix(r, ColChanged) == QLatin1String("True"))
                    ++unsaved;
                else
                    SynchTimeLog(r);
                break;
            }
        }
    }
    if (!alive)
        return;
    m_sending = false;
    setEnabled(true);
    if (unsaved > 0)
        SetStatusText(CountedText(unsaved, 0, 1036, 1883, true));
}

// ---- the Help menu ---------------------------------------------------------------------------------

void frmDaily::mnuHelp_Form_Click()
{
    frmHlp::ShowHelpFor(objectName());
}

void frmDaily::mnuHelp_video_Click()
{
    frmVideo *v = frmVideo::Get();
    forms::Move(v->frAbout, -12000, forms::Top(v->frAbout));
    ChildWindow::BringToFront(v);
    v->flash->LoadMovie(0, AppPath() + QStringLiteral("/hlp_RecordTime.swf"));
    v->flash->Play();
}

// ---- keys of the grid ------------------------------------------------------------------------------

bool frmDaily::GridKey(int key)
{
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        if (lstLog->Row() >= 0)
            lstLog_Click();
        return true;
    }
    if (key == Qt::Key_Delete) {
        const int row = lstLog->Row();
        if (row < 0)
            return true;
        if (m_openRow != row)
            lstLog_Click();
        btnDel_Click();
        return true;
    }
    // Once the key has moved the current row, the editor no longer shows it.
    QTimer::singleShot(0, this, [this] {
        if (m_openRow >= 0 && lstLog->Row() != m_openRow)
            CloseEditor();
    });
    return false;
}
