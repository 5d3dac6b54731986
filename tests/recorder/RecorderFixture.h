#pragma once
// A timers window on a database of its own with a few projects, tasks and categories, and a
// clock the test sets.
#include "recorder/frmStart.h"

#include <QDateTime>
#include <QTimer>
#include <QString>
#include <QStringList>
#include <QVariantList>
#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace rectest {

// One tblDaily row as the tests read it back.
struct Entry {
    double id = 0;
    int user = 0;
    QString name;
    int started = 0;
    double start = 0;
    double secs = 0;
    double day = 0;
    double task = 0;
    double category = 0;
    int chk = 0;
    QString comment;
};

// A message box the test answers: its texts and the button pressed.
struct Answer {
    QString button;
    QString text;        // every label of the box, joined
    bool shown = false;
};

class RecorderTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Appends a stopped timer the way the task loader does.
    int AddTimer(const QString &category, double catId, const QString &task, double taskId,
                 const QString &project, double projId);
    int AddMeetings() { return AddTimer("Meetings", 1000, "Design", 100, "Website", 10); }
    int AddDrawing() { return AddTimer("Drawing", 1001, "Design", 100, "Website", 10); }
    int AddMail() { return AddTimer("Mail", 2000, "Admin", 200, "Office", 20); }

    // Selects a row with the mouse, as the person does.
    void ClickRow(int row);
    // Clicks a button with the mouse.
    void Click(QWidget *button);
    // Arms an answer for the next message box and returns where its texts will be.
    std::shared_ptr<Answer> AnswerBox(const QString &button);

    QString Cell(int row, int col) const { return w->lstTimers->TextMatrix(row, col); }
    int Rows() const { return w->lstTimers->Rows(); }
    int RunningRows() const;
    // The time-log entries (where may narrow them); a where that names cStarted reads any row.
    std::vector<Entry> Entries(const QString &where = QString()) const;
    // The parked timers of tblDaily (cStarted 1 or 2), in the order they were written.
    std::vector<Entry> Parked() const { return Entries(QStringLiteral("WHERE cStarted IN (1, 2)")); }
    void AddEntry(double id, const QString &name, int started, double start, double secs, double day,
                  double task, double cat, int user = 1);

    void Advance(int secs) { now = now.addSecs(secs); }
    static int32_t Key(const QDate &d) { return d.year() * 10000 + d.month() * 100 + d.day(); }
    int32_t Today() const { return Key(now.date()); }
    int SecsOfDay() const { return now.time().msecsSinceStartOfDay() / 1000; }

    QString m_dir;
    QDateTime now;
    // Fails the test on a message box nobody answers within a few seconds, and closes it.
    QTimer *m_watchdog = nullptr;
    frmStart *w = nullptr;
};

} // namespace rectest
