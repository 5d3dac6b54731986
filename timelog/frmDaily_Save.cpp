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

bool frmDaily::CheckRecording(double secs)
{
    return RecordingConflict(TimerRunning, RecStart, forms::Tag(lblDay).toInt(), secs);
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
    const auto s = TimeOfDay(txtStart->text());
    const auto e = TimeOfDay(txtEnd->text());
    if (!s || !e) {
        ShowMsg(GetLangString(1030, false), 16);
        return false;
    }
    const auto d = DurationOf(txtH[0]->text(), txtH[1]->text(), txtH[2]->text());
    if (!d) {
        ShowMsg(GetLangString(1030, false), 16);
        return false;
    }
    start = *s;
    end = *e;
    sec = *d;
    return row >= 0;
}

void frmDaily::btnSave_Click()
{
    const int row = lstLog->Row();
    // 1.-2. The running timer owns the time from its start on.
    const auto startTime = TimeOfDay(txtStart->text());
    const auto endTime = TimeOfDay(txtEnd->text());
    if ((startTime && CheckRecording(*startTime)) || (endTime && CheckRecording(*endTime))) {
        ShowMsg(GetLangString(362, false), 0);
        return;
    }
    // 3.
    MyTree->setVisible(false);
    if (txtH[1]->text().trimmed() == QLatin1String("0") && startTime && endTime && *endTime >= *startTime)
        SecsToTimeBoxes(*endTime - *startTime, txtH[0], txtH[1], txtH[2]);
    double start = 0, end = 0, sec = 0;
    if (!ReadEditor(row, start, end, sec))
        return;
    // 4.
    if (sec <= 0) {
        ShowMsg(GetLangString(363, false), 16);
        txtEnd->setFocus();
        lblEnd_Click();
        return;
    }
    // A row without a task, or one the service has accepted, is not saved.
    if (lstLog->TextMatrix(row, ColCat).isEmpty() || lstLog->TextMatrix(row, ColChk) == QLatin1String("1"))
        return;

    // 5.-6.
    BusyPointer busy;
    const QString idText = lstLog->TextMatrix(row, ColID);
    NewEntryMode = idText.isEmpty();
    const auto ownId = IdOf(idText);
    if (!NewEntryMode && !ownId)
        return;
    const int32_t day = forms::Tag(lblDay).toInt();
    try {
        // The span that is stored is start plus duration; that is what must not overlap.
        if (CheckTimeOverlap(day, start, start + sec, NewEntryMode ? -1 : *ownId) > 0)
            return;
    } catch (const std::exception &) {
        TellWriteFailure(3043);
        return;
    }

    // 7. A failed write keeps the editor as it is and sends nothing.
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

    // 8. The day is read again; the other rows' edits not saved yet stay as they were.
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

    // 9.
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

    // 10.
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
    v.start = TimeOfDay(txtStart->text()).value_or(lstLog->TextMatrix(row, ColStart).toDouble());
    v.sec = DurationOf(txtH[0]->text(), txtH[1]->text(), txtH[2]->text())
                .value_or(lstLog->TextMatrix(row, ColSec).toDouble());
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
