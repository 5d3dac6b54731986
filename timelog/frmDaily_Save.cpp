// The daily time-log window's editor strip, saving and deleting entries, and sending one
// entry to the service.
#include "timelog/frmDaily.h"

#include "core/RequestGuard.h"
#include "core/ServiceRequests.h"
#include "core/clsTagParser.h"
#include "core/UnsavedRows.h"
#include "core/frmMain.h"
#include "core/modHttp.h"
#include "core/modMain.h"
#include "platform/forms/Forms.h"
#include "recorder/frmStart.h"
#include "store/modDBchr.h"
#include "timelog/DailyRules.h"

#include <QApplication>
#include <QDate>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QToolButton>

using namespace modMain;
using namespace dailyrules;

namespace {

// The busy pointer for the length of a scope.
struct BusyPointer {
    BusyPointer() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyPointer() { QApplication::restoreOverrideCursor(); }
};

} // namespace

// ---- the editor strip ------------------------------------------------------------------------

void frmDaily::SetSaveEnabled(bool on)
{
    m_saveWanted = on;
    const bool busy = RequestGuard::Busy();
    btnSave->setEnabled(on && !busy);
    mnuLogs_Save->setEnabled(on && !busy);
}

void frmDaily::SetDelEnabled(bool on)
{
    m_delWanted = on;
    const bool busy = RequestGuard::Busy();
    btnDel->setEnabled(on && !busy);
    mnuLogs_Del->setEnabled(on && !busy);
}

void frmDaily::DisableAll()
{
    lblStart->setEnabled(false);
    lblEnd->setEnabled(false);
    SetDelEnabled(false);
    SetSaveEnabled(false);
    btnDown->setEnabled(false);
    txtComments->setEnabled(false);
}

// ---- saving --------------------------------------------------------------------------------------

bool frmDaily::CheckRecording(double start, double end)
{
    return RecordingConflict(TimerRunning, RecStart, forms::Tag(lblDay).toInt(), start, end);
}

void frmDaily::TellWriteFailure(int32_t error, int16_t what)
{
    QString detail = modDBchr::LastDailyError();
    if (detail.isEmpty())
        detail = QStringLiteral("Error %1").arg(error);
    ShowMsg(GetLangString(what, false) + QStringLiteral("~") + detail + QStringLiteral(" (") + QString::number(error)
                + u')',
            16);
}

bool frmDaily::ReadEditor(int row, double &start, double &end, double &sec)
{
    if (row < 0)
        return false;
    const QString startText = lstLog->TextMatrix(row, ColStartText);
    const auto s = TimeOfDay(startText);
    const auto span = SpanOf(row, startText, lstLog->TextMatrix(row, ColEndText));
    if (!s || !span) {
        ShowMsg(GetLangString(1030, false), 16);
        return false;
    }
    start = *s;
    sec = *span;
    end = start + sec;
    return true;
}

void frmDaily::btnSave_Click()
{
    const int row = lstLog->Row();
    if (row < 0)
        return;
    // What is saved is what the boxes show: a start or end the editor refused may still stand
    // in its box, and is never saved until the box holds a time the row took.
    if (txtStart->text() != lstLog->TextMatrix(row, ColStartText)) {
        ShowMsg(GetLangString(369, false), 16);
        return;
    }
    if (txtEnd->text() != lstLog->TextMatrix(row, ColEndText)) {
        ShowMsg(GetLangString(370, false), 16);
        return;
    }
    double start = 0, end = 0, sec = 0;
    if (!ReadEditor(row, start, end, sec))
        return;
    // The running timer owns the time from its start on.
    if (CheckRecording(start, end)) {
        ShowMsg(GetLangString(362, false), 0);
        return;
    }
    MyTree->setVisible(false);
    // The duration shown is the one saved: the span from the start to the end.
    SecsToTimeBoxes(sec, txtH[0], txtH[1], txtH[2]);
    if (sec <= 0) {
        ShowMsg(GetLangString(363, false), 16);
        txtEnd->setFocus();
        lblEnd_Click();
        return;
    }
    // A row without a task, or one the service has accepted, is not saved.
    if (lstLog->TextMatrix(row, ColCat).isEmpty() || lstLog->TextMatrix(row, ColChk) == QLatin1String("1"))
        return;

    BusyPointer busy;
    const QString idText = lstLog->TextMatrix(row, ColID);
    NewEntryMode = idText.isEmpty();
    const auto ownId = IdOf(idText);
    if (!NewEntryMode && !ownId)
        return;
    const int32_t day = forms::Tag(lblDay).toInt();
    try {
        // Exactly the span that is stored must not overlap: the day's entries, the earlier ones
        // that reach into it and, for an end past 24:00, the next day's.
        if (modDBchr::CheckTimeOverlap(day, start, end, NewEntryMode ? -1 : *ownId) > 0)
            return;
    } catch (const std::exception &) {
        TellWriteFailure(3043);
        return;
    }

    // A failed write keeps the editor as it is and sends nothing.
    lstLog->SetTextMatrix(row, ColStart, modMain::NumberText(start));
    lstLog->SetTextMatrix(row, ColSec, modMain::NumberText(sec));
    double savedId = 0;
    if (NewEntryMode) {
        savedId = AddDaily(row);
        if (savedId < 0) {
            TellWriteFailure(m_lastWriteError);
            return;
        }
    } else {
        const int32_t error = UpdateDaily(row);
        if (error != 0) {
            TellWriteFailure(error);
            return;
        }
        savedId = *ownId;
    }

    // The day is read again; the other rows' edits not saved yet stay as they were.
    lstLog->setVisible(false);
    const int top = lstLog->TopRow();
    const std::vector<QStringList> unsaved = unsavedrows::Take(*lstLog, ColChanged, row);
    LoadDailyLog();
    unsavedrows::PutBack(*lstLog, unsaved, ColID, ColChk);
    if (!unsaved.empty())
        SetColorsAndPics(-1);
    if (mnuLogs_FreeBusy->isChecked())
        AddFreeTime();
    if (lstLog->Rows() > 0)
        lstLog->SetRow(lstLog->Rows() - 1);
    lstLog->SetTopRow(top);
    lstLog->setVisible(true);

    // Sent at once when the person sends automatically and the service can be reached.
    if (AutoSynch == 1) {
        frmMain::Get()->CheckConnection();
        if (IsConnected) {
            for (int r = 0; r < lstLog->Rows(); ++r) {
                const auto id = IdOf(lstLog->TextMatrix(r, ColID));
                if (id && *id == savedId) {
                    SynchTimeLog(r);
                    break;
                }
            }
        }
    }

    // The editor closes.
    ClearAll();
    LoadingRow = true;
    txtStart->clear();
    txtEnd->clear();
    LoadingRow = false;
    txtComments->setEnabled(false);
    lblStart->setEnabled(false);
    lblEnd->setEnabled(false);
    SetSaveEnabled(false);
    SetDelEnabled(false);
    m_openRow = -1;
}

modDBchr::DailyValues frmDaily::ValuesOf(int row) const
{
    modDBchr::DailyValues v;
    v.name = lstLog->TextMatrix(row, ColName).trimmed();
    v.start = lstLog->TextMatrix(row, ColStart).toDouble();
    v.sec = lstLog->TextMatrix(row, ColSec).toDouble();
    v.taskID = lstLog->TextMatrix(row, ColTask).toDouble();
    v.catID = lstLog->TextMatrix(row, ColCat).toDouble();
    v.comment = lstLog->TextMatrix(row, ColComment);
    return v;
}

double frmDaily::AddDaily(int row)
{
    double id = -1;
    m_lastWriteError = modDBchr::AddDailyEntry(forms::Tag(lblDay).toInt(), ValuesOf(row), &id);
    if (m_lastWriteError != 0)
        return -1;
    lstLog->SetTextMatrix(row, ColChanged, QString());
    lstLog->SetTextMatrix(row, ColID, QString::number(id, 'f', 0));
    return id;
}

int32_t frmDaily::UpdateDaily(int row)
{
    const auto id = IdOf(lstLog->TextMatrix(row, ColID));
    if (!id)
        return modDBchr::ErrNoEntry;
    const int32_t error = modDBchr::UpdateDailyEntry(*id, ValuesOf(row));
    if (error == 0)
        lstLog->SetTextMatrix(row, ColChanged, QString());
    return error;
}

int32_t frmDaily::DeleteDaily()
{
    const int row = lstLog->Row();
    if (row < 0)
        return 0;
    const QString idText = lstLog->TextMatrix(row, ColID);
    if (!idText.isEmpty()) {
        const auto id = IdOf(idText);
        if (!id)
            return modDBchr::ErrNoEntry;
        if (const int32_t error = modDBchr::DeleteDailyEntry(*id))
            return error;
    }
    if (lstLog->Rows() == 1)
        lstLog->SetRows(0);
    else
        lstLog->RemoveItem(row);
    return 0;
}

// ---- sending one entry ---------------------------------------------------------------------------

void frmDaily::SynchTimeLog(int row)
{
    if (row < 0 || row >= lstLog->Rows())
        return;
    // What goes out is what the database holds: a row with unsaved edits is saved first.
    if (lstLog->TextMatrix(row, ColChanged) == QLatin1String("True")) {
        SetStatus(1031, QString());
        return;
    }
    const auto id = IdOf(lstLog->TextMatrix(row, ColID));
    bool dayOk = false;
    const int32_t day = lstLog->TextMatrix(row, ColDate).toInt(&dayOk);
    if (!id || !dayOk)
        return;
    if (const auto refusal = SendRefusal(day, lstLog->TextMatrix(row, ColStart).toDouble(),
                                         lstLog->TextMatrix(row, ColSec).toDouble(), QDateTime::currentDateTime())) {
        SetStatus(*refusal, QString());
        return;
    }
    SetStatus(289, QStringLiteral(" %1...").arg(row));

    modDBchr::DailyEntry entry;
    if (modDBchr::GetDailyEntry(*id, entry) != 0)
        return;
    const modHttp::AddTimeValues values = modDBchr::UploadValuesOf(entry);
    // No command of the window may start another request or change the rows meanwhile; the
    // window may even go while the request waits (the program ends): the reply is still kept.
    QPointer<frmDaily> alive(this);
    const bool outer = m_sending;
    m_sending = true;
    setEnabled(false);
    const QString reply = modHttp::SendRequest(modHttp::AddTimeRequest(values), 4);
    const int16_t state = SendStateOf(modHttp::AddReplyCode(reply));
    const int32_t stored = modDBchr::SetDailySendState(entry.cID, state);
    SetStatus(SendStatusOf(state), QString());
    if (!alive)
        return;
    m_sending = outer;
    setEnabled(!m_sending);
    if (stored != 0)
        return;
    // The row may have gone while the request was under way (the day was switched).
    for (int r = 0; r < lstLog->Rows(); ++r) {
        if (IdOf(lstLog->TextMatrix(r, ColID)) == std::optional<double>(entry.cID)) {
            lstLog->SetTextMatrix(r, ColChk, QString::number(state));
            SetColorsAndPics(r);
        }
    }
}
