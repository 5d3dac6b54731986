// The timers across program runs: at exit every timer row is parked in tblDaily (cStarted 1
// for the running timer, 2 for the others), and the next load of the timers window for the
// same person reads the parked rows back into the grid and deletes them.
#include "recorder/frmStart.h"

#include "core/modMain.h"
#include "platform/dao/dao.h"
#include "store/modDBchr.h"

#include <QDate>

#include <cmath>
#include <map>
#include <utility>
#include <vector>

using namespace modMain;

namespace {

// A stored number as the grid writes it: whole numbers as plain digits, Null as "".
QString NumberText(const QVariant &v)
{
    if (v.isNull() || !v.isValid())
        return {};
    const double d = v.toDouble();
    if (std::isfinite(d) && d == std::floor(d) && std::fabs(d) < 9.0e15)
        return QString::number(qlonglong(d));
    return QString::number(d, 'g', 15);
}

// One parked record, read by field position (cID, cUsrID, cName, cStarted, cStarttime, cSec,
// cDate, cTaskID, cCatID, cChk).
struct ParkedRecord {
    double id = 0;
    QString name;
    int started = 0;
    QString startSecs;
    QString secs;
    QString day;
    QString task;
    QString category;
};

// The moment a parked running timer started: its start day and seconds.
QDateTime ParkedStart(const ParkedRecord &p)
{
    bool ok = false;
    const int32_t day = p.day.toInt(&ok);
    if (!ok)
        return {};
    try {
        return QDateTime(LongToDate(day), QTime(0, 0)).addSecs(qint64(p.startSecs.toDouble()));
    } catch (const std::exception &) {
        return {};
    }
}

} // namespace

void frmStart::SaveRunning(bool saveFlag, int16_t &errResult)
{
    if (lstTimers->Rows() == 0) {
        errResult = 0;
        return;
    }
    bool failed = false;
    for (int row = 0; row < lstTimers->Rows(); ++row) {
        int16_t result = 0;
        const auto r = static_cast<int16_t>(row);
        if (saveFlag && lstTimers->TextMatrix(row, colMark).trimmed() == QLatin1String("3")) {
            // The unsaved last segment becomes an ordinary entry; the timer is not parked.
            SaveDaily(r, result);
        } else {
            if (lstTimers->TextMatrix(row, colState) != QLatin1String("1")) {
                lstTimers->SetTextMatrix(row, colState, QStringLiteral("2"));
            } else {
                // The running timer is parked with the seconds it has run up to now.
                const QDateTime start = [&] {
                    bool ok = false;
                    const int32_t day = lstTimers->TextMatrix(row, colDay).trimmed().toInt(&ok);
                    if (!ok)
                        return QDateTime();
                    try {
                        return QDateTime(LongToDate(day), QTime(0, 0))
                            .addSecs(qint64(lstTimers->TextMatrix(row, colStart).trimmed().toDouble()));
                    } catch (const std::exception &) {
                        return QDateTime();
                    }
                }();
                if (start.isValid())
                    lstTimers->SetTextMatrix(row, colSecs, QString::number(qMax<qint64>(0, start.secsTo(TimerNow()))));
            }
            SaveDaily(r, result);
        }
        if (result == -1)
            failed = true;
    }
    errResult = failed ? -1 : 0;
}

int16_t frmStart::SaveRunning(bool saveFlag)
{
    int16_t err = 0;
    SaveRunning(saveFlag, err);
    return err;
}

void frmStart::LoadRunning(int32_t &runningRow)
{
    int32_t result = -1;
    if (!DB) {
        runningRow = result;
        return;
    }

    // Read every parked record of the person first. Records of one task and category can
    // come from more than one exit (an exit abandoned after its records were written, then
    // the real one): the newest record (highest cID) is the one that tells the timer's state.
    std::vector<ParkedRecord> records;
    bool readFailed = false;
    try {
        auto rs = DB->OpenRecordset(QStringLiteral("SELECT * from tblDaily WHERE cUsrID = ? AND cStarted >= 1 "
                                                   "ORDER BY cID"),
                                    dao::dbOpenSnapshot, {CurrentUserID});
        if (rs->RecordCount() == 0) {
            rs->Close();
            runningRow = result;
            return;
        }
        for (rs->MoveFirst(); !rs->Eof(); rs->MoveNext()) {
            ParkedRecord p;
            p.id = rs->Value(0).toDouble();
            p.name = rs->Value(2).toString().trimmed();
            p.started = rs->Value(3).toInt();
            p.startSecs = NumberText(rs->Value(4));
            p.secs = NumberText(rs->Value(5));
            p.day = NumberText(rs->Value(6));
            p.task = NumberText(rs->Value(7));
            p.category = NumberText(rs->Value(8));
            records.push_back(std::move(p));
        }
        rs->Close();
    } catch (const std::exception &) {
        readFailed = true;
    }

    // One row per task and category pair: its newest record, in the order the newest records
    // were written (the grid order of the last exit).
    std::map<std::pair<QString, QString>, std::size_t> newest;
    for (std::size_t i = 0; i < records.size(); ++i)
        newest[{records[i].task, records[i].category}] = i;
    // Of several running records (an abandoned exit left one behind) only the one with the
    // latest start keeps running; the others come back stopped.
    std::size_t runner = records.size();
    QDateTime runnerStart;
    for (std::size_t i = 0; i < records.size(); ++i) {
        if (newest[{records[i].task, records[i].category}] != i || records[i].started != ParkedRunning)
            continue;
        const QDateTime start = ParkedStart(records[i]);
        if (runner == records.size() || (start.isValid() && (!runnerStart.isValid() || start >= runnerStart))) {
            runner = i;
            runnerStart = start;
        }
    }

    for (std::size_t i = 0; i < records.size(); ++i) {
        const ParkedRecord &p = records[i];
        if (newest[{p.task, p.category}] != i)
            continue;
        bool present = false;
        for (int row = 0; row < lstTimers->Rows() && !present; ++row)
            present = lstTimers->TextMatrix(row, colCatID) == p.category
                && lstTimers->TextMatrix(row, colTaskID) == p.task;
        if (present)
            continue;

        const int row = lstTimers->Rows();
        lstTimers->SetRows(row + 1);
        lstTimers->SetRow(row);
        lstTimers->SetRowHeight(row, kRowHeight);
        if (i == runner) {
            lstTimers->SetTextMatrix(row, colState, QStringLiteral("1"));
            lstTimers->SetTextMatrix(row, colStart, p.startSecs);
            lstTimers->SetTextMatrix(row, colSecs, p.secs);
            lstTimers->SetTextMatrix(row, colID, NumberText(p.id));
            result = row;
        } else {
            lstTimers->SetTextMatrix(row, colState, QStringLiteral("0"));
            lstTimers->SetTextMatrix(row, colStart, QStringLiteral("0"));
            lstTimers->SetTextMatrix(row, colSecs, QStringLiteral("0"));
        }
        try {
            lstTimers->SetTextMatrix(row, colComment, modDBchr::GetDailyComment(p.id));
            lstTimers->SetTextMatrix(row, colName, p.name);
            lstTimers->SetTextMatrix(row, colDay, p.day);
            lstTimers->SetTextMatrix(row, colTaskID, p.task);
            const double task = p.task.toDouble();
            lstTimers->SetTextMatrix(row, colTaskName, modDBchr::GetTaskName(task));
            const double project = modDBchr::GetTaskProjectID(task);
            lstTimers->SetTextMatrix(row, colProjID, NumberText(project));
            lstTimers->SetTextMatrix(row, colProjName, modDBchr::GetProjectName(project));
        } catch (const std::exception &) {
            // the names stay empty; the timer itself is there
        }
        lstTimers->SetTextMatrix(row, colCatID, p.category);
    }

    SetColorsAndPics(kRunColor, kOtherColor, static_cast<int16_t>(result));

    if (readFailed) {
        // What could be read is in the grid; the parked records stay for the next load, so
        // that nothing is lost.
        ShowMsg(QStringLiteral("Error loading Activities!"), 16);
    } else {
        try {
            DB->Execute(QStringLiteral("DELETE FROM tblDaily WHERE cUsrID = ? AND cStarted >= 1"), 0,
                        {CurrentUserID});
        } catch (const std::exception &) {
        }
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
