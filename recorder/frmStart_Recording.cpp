// The timers of the timers window: starting, stopping, cancelling and saving them, the quick
// record, adding and removing rows, and the task tree that gives a timer its category.
//
// The grid is the timer model: every cell holds text, numbers as plain decimal text. At most
// one row runs (column 3 "1"); every stopped segment with a category becomes one tblDaily row.
#include "recorder/frmStart.h"

#include "core/modMain.h"
#include "platform/forms/Tag.h"
#include "resources/Pictures.h"
#include "store/modDBchr.h"

#include "recorder/frmLoad.h"

#include <QDate>
#include <QLineEdit>
#include <QLocale>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>

#include <cmath>
#include <exception>

namespace modMain {

RecArrType RecArr;
QDateTime RecStart;

namespace {
std::function<QDateTime()> &ClockHook()
{
    static std::function<QDateTime()> hook;
    return hook;
}
} // namespace

QDateTime TimerNow()
{
    const auto &hook = ClockHook();
    return hook ? hook() : QDateTime::currentDateTime();
}

void SetTimerClock(std::function<QDateTime()> clock)
{
    ClockHook() = std::move(clock);
}

QString GeneralDateText(const QDateTime &value)
{
    return QLocale::system().toString(value.date(), QLocale::ShortFormat) + QLatin1Char(' ')
        + value.time().toString(QStringLiteral("HH:mm:ss"));
}

} // namespace modMain

using namespace modMain;

namespace {

double CellNumber(const QString &text)
{
    bool ok = false;
    const double v = text.trimmed().toDouble(&ok);
    return ok ? v : 0.0;
}

// The start of a row's segment: its start day plus its start seconds. Invalid when the row
// holds no start day.
QDateTime SegmentStart(const forms::FlexGrid *grid, int row)
{
    bool ok = false;
    const int32_t day = grid->TextMatrix(row, frmStart::colDay).trimmed().toInt(&ok);
    if (!ok)
        return {};
    try {
        const QDate date = LongToDate(day);
        return QDateTime(date, QTime(0, 0)).addSecs(qint64(CellNumber(grid->TextMatrix(row, frmStart::colStart))));
    } catch (const std::exception &) {
        return {};
    }
}

int32_t SecondsOfDay(const QDateTime &t)
{
    return t.time().msecsSinceStartOfDay() / 1000;
}

} // namespace

// ---- the row procedures ----------------------------------------------------------------

void frmStart::Started(int16_t state, int16_t &row)
{
    btnStart->setEnabled(state == 0);
    btnStop->setEnabled(state == 1);
    TimerRunning = (state == 1);
    SetTaskbarIcon();
    if (row == -10)
        row = static_cast<int16_t>(lstTimers->Row());
    if (row < 0 || row >= lstTimers->Rows())
        return;
    lstTimers->SetTextMatrix(row, colState, QString::number(state));
    if (lstTimers->Row() >= 0 && state == 1)
        lstTimers->SetTextMatrix(row, colMark, QStringLiteral("1"));
}

// The seconds of a running row counted from its start up to now (the display keeps them
// current only for the selected row). A clock set back gives 0, never a negative length.
static void CountUpToNow(forms::FlexGrid *grid, int row, const QDateTime &now)
{
    const QDateTime start = SegmentStart(grid, row);
    if (!start.isValid())
        return;
    grid->SetTextMatrix(row, frmStart::colSecs, QString::number(qMax<qint64>(0, start.secsTo(now))));
}

void frmStart::StopAction(int16_t row, bool save, int16_t &result)
{
    tmr->stop();
    if (row == -10)
        row = static_cast<int16_t>(lstTimers->Row());
    const bool valid = row >= 0 && row < lstTimers->Rows();
    // A segment is as long as it ran up to this moment, whichever row is selected.
    if (valid && lstTimers->TextMatrix(row, colState) == QLatin1String("1"))
        CountUpToNow(lstTimers, row, TimerNow());
    Started(0, row);
    // The box shows the selected row's comment; another row keeps its own.
    if (valid && row == lstTimers->Row())
        lstTimers->SetTextMatrix(row, colComment, txtComments->toPlainText());
    if (save && valid) {
        SaveDaily(row, result);
        TellSaveFailure();
    } else {
        result = save ? -1 : 0;
    }
    // Stopping a row that was not the running one leaves the running one running.
    const int16_t running = GetRunning();
    TimerRunning = running >= 0;
    if (TimerRunning) {
        SetTaskbarIcon();
        SetColorsAndPics(kRunColor, kOtherColor, running);
    } else {
        SetColorsAndPics(kOtherColor, kOtherColor, row);
    }
    ParkLoaded();
}

int16_t frmStart::StopAction(int16_t row, bool save)
{
    int16_t result = 0;
    StopAction(row, save, result);
    return result;
}

void frmStart::CalcSecs(int32_t &secs)
{
    const auto box = [this](int i) { return txtP[i] ? CellNumber(txtP[i]->text()) : 0.0; };
    secs = static_cast<int32_t>(std::lround(box(0) * 3600 + box(1) * 60 + box(2)));
}

void frmStart::SaveDaily(int16_t row, int16_t &result)
{
    m_saveError = 0;
    if (row == -10)
        row = static_cast<int16_t>(lstTimers->Row());
    if (row < 0 || row >= lstTimers->Rows()
        || lstTimers->TextMatrix(row, colCatID).trimmed().isEmpty()) {
        result = -1;
        return;
    }
    modDBchr::TimerRecord entry;
    entry.name = lstTimers->TextMatrix(row, colName);
    entry.started = static_cast<int16_t>(CellNumber(lstTimers->TextMatrix(row, colState)));
    entry.startSecs = CellNumber(lstTimers->TextMatrix(row, colStart));
    entry.secs = CellNumber(lstTimers->TextMatrix(row, colSecs));
    entry.task = CellNumber(lstTimers->TextMatrix(row, colTaskID));
    entry.category = CellNumber(lstTimers->TextMatrix(row, colCatID));
    entry.comment = lstTimers->TextMatrix(row, colComment);
    // A segment belongs to the day it started on, with its full length, also when it ran
    // past midnight: the service takes end times past 24:00 for such an entry.
    bool ok = false;
    const int32_t startDay = lstTimers->TextMatrix(row, colDay).trimmed().toInt(&ok);
    entry.day = ok && startDay > 0 ? startDay : DateToLong(TimerNow().date());
    double newId = 0;
    m_saveError = modDBchr::AddTimerEntry(entry, newId, &m_storeError);
    if (m_saveError != 0) {
        // Nothing was stored: column 1 stays empty, so the row shows its segment as unsaved and
        // the caller learns that it was not written.
        result = -1;
        return;
    }
    lstTimers->SetTextMatrix(row, colID, QString::number(qlonglong(newId)));
    result = 0;
}

void frmStart::TellSaveFailure()
{
    if (m_saveError == 0)
        return;
    const QString why = m_storeError.isEmpty() ? QString::number(m_saveError)
                                               : QStringLiteral("%1 (%2)").arg(m_storeError).arg(m_saveError);
    m_saveError = 0;
    ShowMsg(GetLangString(1620) + QStringLiteral("\r\n\r\n") + why, 16);
}

bool frmStart::HoldsUnsavedSegment(int row) const
{
    if (row < 0 || row >= lstTimers->Rows() || lstTimers->TextMatrix(row, colState) == QLatin1String("1"))
        return false;
    const QString start = lstTimers->TextMatrix(row, colStart).trimmed();
    return lstTimers->TextMatrix(row, colID).trimmed().isEmpty() && !start.isEmpty() && start != QLatin1String("0");
}

int16_t frmStart::FirstUnsavedSegment() const
{
    for (int r = 0; r < lstTimers->Rows(); ++r)
        if (HoldsUnsavedSegment(r) && !lstTimers->TextMatrix(r, colCatID).trimmed().isEmpty())
            return static_cast<int16_t>(r);
    return -1;
}

bool frmStart::IsLoaded(const QString &taskId, const QString &categoryId) const
{
    for (int r = 0; r < lstTimers->Rows(); ++r)
        if (lstTimers->TextMatrix(r, colTaskID) == taskId && lstTimers->TextMatrix(r, colCatID) == categoryId)
            return true;
    return false;
}

int frmStart::AddTimers(const std::vector<NewTimer> &timers)
{
    int added = 0;
    for (const NewTimer &t : timers) {
        if (IsLoaded(t.taskId, t.categoryId))
            continue;
        const int r = lstTimers->Rows();
        lstTimers->SetRows(r + 1);
        lstTimers->SetRowHeight(r, kRowHeight);
        lstTimers->SetTextMatrix(r, colName, t.category);
        lstTimers->SetTextMatrix(r, colTaskName, t.task);
        lstTimers->SetTextMatrix(r, colProjName, t.project);
        lstTimers->SetTextMatrix(r, colCatID, t.categoryId);
        lstTimers->SetTextMatrix(r, colTaskID, t.taskId);
        lstTimers->SetTextMatrix(r, colProjID, t.projectId);
        lstTimers->SetTextMatrix(r, colSecs, QStringLiteral("0"));
        lstTimers->SetTextMatrix(r, colState, QStringLiteral("0"));
        ++added;
    }
    // The running timer keeps its colour among the new rows.
    SetColorsAndPics(kRunColor, kOtherColor, GetRunning());
    picInfo->setVisible(lstTimers->Rows() == 0);
    if (added > 0) {
        // The first rows of an empty grid become its selected row: the panel shows that one.
        DoClick();
        ParkLoaded();
    }
    return added;
}

int16_t frmStart::SaveDaily(int16_t row)
{
    int16_t result = 0;
    SaveDaily(row, result);
    return result;
}

void frmStart::GetRunning(int16_t &row)
{
    row = -1;
    for (int i = 0; i < lstTimers->Rows(); ++i) {
        if (lstTimers->TextMatrix(i, colState) == QLatin1String("1")) {
            row = static_cast<int16_t>(i);
            return;
        }
    }
}

int16_t frmStart::GetRunning()
{
    int16_t row = -1;
    GetRunning(row);
    return row;
}

void frmStart::QuickRec()
{
    // The running row is the one to stop, whichever row is selected.
    const int16_t running = GetRunning();
    if (running >= 0)
        StopAction(running, true);
    TimerRunning = true;
    SetTaskbarIcon();

    const int r = lstTimers->Rows();
    lstTimers->SetRows(r + 1);
    if (!lstTimers->RowIsVisible(r))
        lstTimers->SetTopRow(qMax(0, lstTimers->Rows() - 3));
    lstTimers->SetRowHeight(r, kRowHeight);
    for (int c = 0; c < lstTimers->Cols(); ++c)
        lstTimers->SetTextMatrix(r, c, QString());
    lstTimers->SetTextMatrix(r, colName, QuickRecName);
    lstTimers->SetTextMatrix(r, colSecs, QStringLiteral("0"));
    picInfo->setVisible(lstTimers->Rows() == 0);

    lstTimers->SetRow(r);
    lTask->SetCaption(QString());
    lProj->SetCaption(GetLangString(75));
    // The new timer starts with a comment of its own, not the one of the row shown before.
    txtComments->setPlainText(QString());
    btnStart_Click();
    lstTimers->SetRow(r);

    // A start refused by the overlap check leaves nothing running.
    if (GetRunning() < 0 && TimerRunning) {
        TimerRunning = false;
        SetTaskbarIcon();
    }
    ParkLoaded();
}

void frmStart::LoadRecArr(int16_t row)
{
    if (row == -10)
        row = static_cast<int16_t>(lstTimers->Row());
    if (row < 0 || row >= lstTimers->Rows())
        return;
    const QDateTime start = SegmentStart(lstTimers, row);
    RecStart = start;
    RecArr[0] = start.isValid() ? GeneralDateText(start) : QString();
    RecArr[1] = lstTimers->TextMatrix(row, colName);
    RecArr[2] = lstTimers->TextMatrix(row, colTaskName);
    RecArr[3] = lstTimers->TextMatrix(row, colProjName);
}

void frmStart::ResetEditPanel()
{
    txtComments->setPlainText(QString());
    txtComments->setEnabled(true);
    MyTree->setVisible(false);
    DoClick();
}

// The overlap check of a start at that moment: true when the moment lies in an entry of
// today (the check has told the person why).
bool frmStart::IsStartRefused(const QDateTime &now)
{
    const int32_t today = DateToLong(now.date());
    const double secs = SecondsOfDay(now);
    try {
        return modDBchr::CheckTimeOverlap(today, secs, secs, -1) >= 1;
    } catch (const std::exception &) {
        // The entries of the day cannot be read: the start goes ahead, its segment is only
        // written when it is stopped.
        return false;
    }
}

// ---- event handlers -------------------------------------------------------------------

void frmStart::btnStart_Click()
{
    int16_t r = static_cast<int16_t>(lstTimers->Row());
    if (r < 0 || lstTimers->Rows() == 0)
        return;
    const QString mark = lstTimers->TextMatrix(r, colMark).trimmed();
    if (!mark.isEmpty() && CellNumber(mark) == 3) {
        if (ShowMsg(GetLangString(84), 36) == 7)
            return;
    }
    const QDateTime now = TimerNow();
    if (IsStartRefused(now))
        return;

    Started(1, r);
    lStart1->SetCaption(GeneralDateText(now));
    btnStart->setEnabled(false);
    btnStop->setEnabled(true);
    btnCancel->setEnabled(true);
    lstTimers->SetCellPictureAt(r, colPic, res::Picture(QStringLiteral("CLOCK")));
    lstTimers->SetCellPictureAlignmentAt(r, colPic, forms::FlexGrid::AlignCenterCenter);
    lstTimers->SetTextMatrix(r, colID, QString());
    lstTimers->SetTextMatrix(r, colStart, QString::number(SecondsOfDay(now)));
    lstTimers->SetTextMatrix(r, colDay, QString::number(DateToLong(now.date())));
    lstTimers->SetTextMatrix(r, colComment, txtComments->toPlainText());
    LoadRecArr(r);

    // Any other running timer stops here, its segment counted up to this start and saved.
    for (int i = 0; i < lstTimers->Rows(); ++i) {
        if (i == r || lstTimers->TextMatrix(i, colState) != QLatin1String("1"))
            continue;
        CountUpToNow(lstTimers, i, now);
        lstTimers->SetTextMatrix(i, colState, QStringLiteral("0"));
        SaveDaily(static_cast<int16_t>(i));
    }

    SetColorsAndPics(kRunColor, kOtherColor, r);
    tmr->start();
    ParkLoaded();
    TellSaveFailure();
}

void frmStart::btnStop_Click()
{
    const int r = lstTimers->Row();
    if (r < 0 || lstTimers->Rows() == 0)
        return;
    if (lstTimers->TextMatrix(r, colCatID).trimmed().isEmpty()) {
        ShowMsg(GetLangString(71), 16);
        return;
    }
    StopAction(static_cast<int16_t>(r), true);
}

void frmStart::btnCancel_Click()
{
    if (lstTimers->Rows() == 0)
        return;
    StopAction(static_cast<int16_t>(lstTimers->Row()), false);
}

void frmStart::btnQ_Click()
{
    if (IsStartRefused(TimerNow()))
        return;
    QuickRec();
}

void frmStart::btnUnload_Click()
{
    const int r = lstTimers->Row();
    if (lstTimers->Rows() == 0 || r < 0)
        return;
    if (lstTimers->TextMatrix(r, colState) == QLatin1String("1")) {
        ShowMsg(GetLangString(70), 16);
        return;
    }
    if (lstTimers->Rows() == 1)
        lstTimers->SetRows(0);
    else
        lstTimers->RemoveItem(r);
    lProj->SetCaption(QString());
    lTask->SetCaption(QString());
    btnStart->setEnabled(false);
    picInfo->setVisible(lstTimers->Rows() == 0);
    ParkLoaded();
}

void frmStart::btnLoad_Click()
{
    try {
        frmLoad::Get()->ShowForm();
    } catch (const std::exception &) {
    }
}

void frmStart::btnDown_Click()
{
    MyTree->setVisible(!MyTree->isVisible());
    if (MyTree->isVisible()) {
        MyTree->raise();
        const int r = lstTimers->Row();
        if (r >= 0)
            SelectNodeByTag(MyTree, lstTimers->TextMatrix(r, colTaskID), lstTimers->TextMatrix(r, colCatID));
    }
}

void frmStart::MyTree_NodeClick(forms::Node *node)
{
    if (!node || NodeLevel(node) != 2)
        return;
    const int r = lstTimers->Row();
    if (r < 0)
        return;
    forms::Node *task = node->Parent();
    forms::Node *project = task->Parent();
    lstTimers->SetTextMatrix(r, colName, node->Text());
    lstTimers->SetTextMatrix(r, colTaskID, task->Tag());
    lstTimers->SetTextMatrix(r, colTaskName, task->Text());
    lstTimers->SetTextMatrix(r, colProjID, project->Tag());
    lstTimers->SetTextMatrix(r, colProjName, project->Text());
    lstTimers->SetTextMatrix(r, colCatID, node->Tag());
    lTask->SetCaption(task->Text());
    MyTree->setVisible(false);
    DoClick();
    ParkLoaded();
}

void frmStart::txtComments_Change()
{
    const int r = lstTimers->Row();
    if (r < 0 || lstTimers->TextMatrix(r, colComment) == txtComments->toPlainText())
        return;
    lstTimers->SetTextMatrix(r, colComment, txtComments->toPlainText());
    // The comment goes with the parked timer once the person pauses typing.
    if (m_parkLater)
        m_parkLater->start();
}

void frmStart::txtComments_Click()
{
    MyTree->setVisible(false);
}

void frmStart::lstTimers_Click()
{
    DoClick();
}
