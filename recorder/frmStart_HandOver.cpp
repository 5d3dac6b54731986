// The timers across program runs. Every loaded timer stands in tblDaily as a parked record
// (cStarted 1 for the running timer, 2 for the others) for as long as it is loaded: the
// records are written when the timers are loaded or started and replaced whenever they
// change, so that the next load of the timers window for the same person finds them however
// this run ends, a crash included. At a normal exit they are written a last time, after the
// person's answer about unsaved segments.
#include "recorder/frmStart.h"

#include "core/modMain.h"
#include "store/modDBchr.h"

#include <QDate>
#include <QTimer>

#include <cmath>
#include <map>
#include <utility>
#include <vector>

using namespace modMain;
using modDBchr::TimerRecord;

namespace {

using modMain::NumberText;

QString NumberText(const std::optional<double> &v)
{
    return v ? NumberText(*v) : QString();
}

std::optional<double> CellValue(const QString &text)
{
    bool ok = false;
    const double v = text.trimmed().toDouble(&ok);
    return ok ? std::optional<double>(v) : std::nullopt;
}

// The moment a segment started: its start day and seconds. Invalid without a day.
QDateTime StartOf(int32_t day, double secs)
{
    if (day <= 0)
        return {};
    try {
        return QDateTime(LongToDate(day), QTime(0, 0)).addSecs(qint64(secs));
    } catch (const std::exception &) {
        return {};
    }
}

} // namespace

// ---- parking --------------------------------------------------------------------------------

namespace {

// The parked records of the grid's rows. Rows listed in record are left out (their segment is
// being written as an entry instead).
std::vector<TimerRecord> ParkedRecords(const forms::FlexGrid *g, frmStart::HeldSegments held,
                                       const std::vector<bool> &unsaved, const std::vector<bool> &recorded)
{
    using C = frmStart;
    const QDateTime now = TimerNow();
    std::vector<TimerRecord> out;
    for (int row = 0; row < g->Rows(); ++row) {
        if (recorded[size_t(row)])
            continue;
        TimerRecord r;
        r.name = g->TextMatrix(row, C::colName);
        r.task = CellValue(g->TextMatrix(row, C::colTaskID));
        r.category = CellValue(g->TextMatrix(row, C::colCatID));
        r.comment = g->TextMatrix(row, C::colComment);
        bool dayOk = false;
        const int32_t day = g->TextMatrix(row, C::colDay).trimmed().toInt(&dayOk);
        const double start = CellValue(g->TextMatrix(row, C::colStart)).value_or(0);
        // The person was asked only about the timers that have an activity.
        const bool keep = held == frmStart::HeldSegments::Keep || !r.category;
        if (g->TextMatrix(row, C::colState) == QLatin1String("1")) {
            // The running timer keeps the day it started on, so that the next run counts it
            // from its real start, also across midnight.
            r.started = ParkedRunning;
            r.startSecs = start;
            r.day = dayOk ? day : DateToLong(now.date());
            const QDateTime begun = StartOf(r.day, start);
            r.secs = begun.isValid() ? double(qMax<qint64>(0, begun.secsTo(now)))
                                     : CellValue(g->TextMatrix(row, C::colSecs)).value_or(0);
        } else if (unsaved[size_t(row)] && keep) {
            r.started = ParkedStopped;
            r.heldSegment = true;
            r.startSecs = start;
            r.secs = CellValue(g->TextMatrix(row, C::colSecs)).value_or(0);
            r.day = dayOk ? day : DateToLong(now.date());
        } else {
            // Nothing to hand over but the timer itself: it comes back at zero.
            r.started = ParkedStopped;
            r.day = DateToLong(now.date());
        }
        out.push_back(std::move(r));
    }
    return out;
}

} // namespace

void frmStart::ParkLoaded()
{
    if (m_parkedForExit || !lstTimers)
        return;
    if (m_parkLater)
        m_parkLater->stop();
    std::vector<bool> unsaved(static_cast<size_t>(lstTimers->Rows()));
    for (int r = 0; r < lstTimers->Rows(); ++r)
        unsaved[size_t(r)] = HoldsUnsavedSegment(r);
    const std::vector<bool> recorded(unsaved.size(), false);
    // A failure here leaves the records of the last change; the exit writes them again and
    // tells the person when that fails too.
    modDBchr::ReplaceParkedTimers(ParkedRecords(lstTimers, HeldSegments::Keep, unsaved, recorded));
}

int16_t frmStart::ParkTimers(HeldSegments held)
{
    if (m_parkLater)
        m_parkLater->stop();
    m_storeError.clear();
    const int rows = lstTimers->Rows();
    std::vector<bool> unsaved(static_cast<size_t>(rows)), recorded(static_cast<size_t>(rows), false);
    for (int r = 0; r < rows; ++r)
        unsaved[size_t(r)] = HoldsUnsavedSegment(r);

    bool failed = false;
    QString why;
    if (held == HeldSegments::Record) {
        for (int r = 0; r < rows; ++r) {
            if (!unsaved[size_t(r)] || lstTimers->TextMatrix(r, colCatID).trimmed().isEmpty())
                continue;
            // The unsaved last segment becomes an ordinary entry; the timer is not parked.
            int16_t result = 0;
            SaveDaily(static_cast<int16_t>(r), result);
            if (result == 0) {
                recorded[size_t(r)] = true;
            } else {
                // Not lost: the timer is parked with it.
                failed = true;
                why = m_storeError;
            }
        }
        m_saveError = 0;
    }
    // The running timer's seconds up to now, as the grid shows them afterwards.
    const int16_t running = GetRunning();
    if (running >= 0) {
        const QDateTime begun = StartOf(lstTimers->TextMatrix(running, colDay).trimmed().toInt(),
                                        CellValue(lstTimers->TextMatrix(running, colStart)).value_or(0));
        if (begun.isValid())
            lstTimers->SetTextMatrix(running, colSecs, QString::number(qMax<qint64>(0, begun.secsTo(TimerNow()))));
    }
    if (modDBchr::ReplaceParkedTimers(ParkedRecords(lstTimers, held, unsaved, recorded), &m_storeError) != 0) {
        failed = true;
        why = m_storeError;
    }
    m_storeError = why;
    // The records now stand as the exit leaves them: nothing the window does from here on
    // changes them, unless the exit is abandoned.
    m_parkedForExit = true;
    return failed ? -1 : 0;
}

void frmStart::SaveRunning(bool saveFlag, int16_t &errResult)
{
    errResult = ParkTimers(saveFlag ? HeldSegments::Record : HeldSegments::Drop);
}

int16_t frmStart::SaveRunning(bool saveFlag)
{
    int16_t err = 0;
    SaveRunning(saveFlag, err);
    return err;
}

void frmStart::ResumeParking()
{
    m_parkedForExit = false;
    ParkLoaded();
}

// ---- the load -------------------------------------------------------------------------------

void frmStart::LoadRunning(int32_t &runningRow)
{
    int32_t result = -1;
    std::vector<TimerRecord> records;
    QString why;
    const bool readFailed = modDBchr::ReadParkedTimers(records, &why) != 0;
    if (records.empty() && !readFailed) {
        runningRow = result;
        return;
    }

    // A timer of a task's category is one row. Records of one pair can come from an older
    // version of the program that wrote them only at exit (an exit abandoned after its
    // records were written, then the real one): the newest record (highest cID) tells the
    // timer's state. Timers without an activity are each their own.
    const auto key = [](const TimerRecord &r) {
        return std::make_pair(NumberText(r.task), NumberText(r.category));
    };
    std::map<std::pair<QString, QString>, std::size_t> newest;
    for (std::size_t i = 0; i < records.size(); ++i)
        if (records[i].category)
            newest[key(records[i])] = i;
    const auto isNewest = [&](std::size_t i) { return !records[i].category || newest[key(records[i])] == i; };
    // Of several running records only the one with the latest start keeps running; the
    // others come back stopped.
    std::size_t runner = records.size();
    QDateTime runnerStart;
    for (std::size_t i = 0; i < records.size(); ++i) {
        if (!isNewest(i) || records[i].started != ParkedRunning)
            continue;
        const QDateTime start = StartOf(records[i].day, records[i].startSecs);
        if (runner == records.size() || (start.isValid() && (!runnerStart.isValid() || start >= runnerStart))) {
            runner = i;
            runnerStart = start;
        }
    }

    for (std::size_t i = 0; i < records.size(); ++i) {
        const TimerRecord &p = records[i];
        if (!isNewest(i) || (p.category && IsLoaded(NumberText(p.task), NumberText(p.category))))
            continue;
        const int row = lstTimers->Rows();
        lstTimers->SetRows(row + 1);
        lstTimers->SetRow(row);
        lstTimers->SetRowHeight(row, kRowHeight);
        // Column 1 stays empty: the parked record is no saved entry. A restored running timer
        // that is cancelled thus holds an unsaved segment, as any other.
        if (i == runner) {
            lstTimers->SetTextMatrix(row, colState, QStringLiteral("1"));
            lstTimers->SetTextMatrix(row, colStart, NumberText(p.startSecs));
            lstTimers->SetTextMatrix(row, colSecs, NumberText(p.secs));
            result = row;
        } else if (p.heldSegment) {
            // A stopped timer with the segment it held: to be saved (Stop) or dropped (Start).
            lstTimers->SetTextMatrix(row, colState, QStringLiteral("0"));
            lstTimers->SetTextMatrix(row, colStart, NumberText(p.startSecs));
            lstTimers->SetTextMatrix(row, colSecs, NumberText(p.secs));
        } else {
            lstTimers->SetTextMatrix(row, colState, QStringLiteral("0"));
            lstTimers->SetTextMatrix(row, colStart, QStringLiteral("0"));
            lstTimers->SetTextMatrix(row, colSecs, QStringLiteral("0"));
        }
        lstTimers->SetTextMatrix(row, colComment, p.comment);
        lstTimers->SetTextMatrix(row, colName, p.name);
        lstTimers->SetTextMatrix(row, colDay, p.day > 0 ? QString::number(p.day) : QString());
        lstTimers->SetTextMatrix(row, colTaskID, NumberText(p.task));
        lstTimers->SetTextMatrix(row, colCatID, NumberText(p.category));
        if (p.task) {
            lstTimers->SetTextMatrix(row, colTaskName, modDBchr::GetTaskName(*p.task));
            const double project = modDBchr::GetTaskProjectID(*p.task);
            if (project != 0) {
                lstTimers->SetTextMatrix(row, colProjID, NumberText(project));
                lstTimers->SetTextMatrix(row, colProjName, modDBchr::GetProjectName(project));
            }
        }
    }

    SetColorsAndPics(kRunColor, kOtherColor, static_cast<int16_t>(result));

    if (readFailed) {
        // What could be read is in the grid and is parked again at the next change.
        m_storeError = why;
        ShowMsg(QStringLiteral("Error loading Activities!"), 16);
    } else {
        // The records stand for the timers of this run from now on (one per timer).
        ParkLoaded();
    }
    if (lstTimers->Rows() > 0)
        lstTimers->SetTopRow(result >= 0 ? result : 0);
    runningRow = result;
}

int32_t frmStart::LoadRunning()
{
    int32_t row = -1;
    LoadRunning(row);
    return row;
}
