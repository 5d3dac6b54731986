#pragma once
// Helpers of the shutdown tests: a program folder with a database holding the person's
// projects and some time-log rows, and ways to read a database file back.
#include <QString>
#include <QStringList>
#include <gtest/gtest.h>

#include <memory>

class frmStart;
class QAbstractButton;

namespace shuttest {

// Makes the database "Tarv.crn" in dir with two projects, their tasks and categories and
// `entries` time-log rows of user 1 (ids 1..entries), and leaves it open as modMain::DB.
void MakeDatabase(const QString &dir, int entries);
// Rows of tblDaily matching where (e.g. "WHERE cStarted = 1") in the closed file at path;
// -1 when the file does not open with the database password.
int CountRows(const QString &path, const QString &where = QString());
// The files in a folder, sorted.
QStringList FilesIn(const QString &dir);
// The file's bytes (empty when it cannot be read).
QByteArray Bytes(const QString &path);

// A program folder of its own for every test, pointed at by TARV_PROGRAM_DIR, with the string
// table loaded; the database is made by the test.
class ProgramFolderTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    QString Db() const { return dir + QStringLiteral("/Tarv.crn"); }
    QString In(const QString &name) const { return dir + QStringLiteral("/") + name; }
    void CloseDb();

    QString dir;
};

// A message box the test answers: the texts of the boxes seen and the button pressed.
struct Answer {
    QString button;
    QStringList texts;   // every label of each box answered, joined
    int shown = 0;
};
// Answers the next `count` message boxes with the button of that name (e.g. "btnYes"),
// from a timer, so that the boxes run for real.
std::shared_ptr<Answer> AnswerBox(const QString &button, int count = 1);

// The main window and the timers window of a person with projects and categories, and an
// end of the process that only counts.
class TimersWindowTest : public ProgramFolderTest {
protected:
    void SetUp() override;
    void TearDown() override;
    // Appends a stopped timer the way the task loader does.
    int AddTimer(const QString &category, double catId, const QString &task, double taskId,
                 const QString &project, double projId);
    int AddMeetings() { return AddTimer("Meetings", 1000, "Design", 100, "Website", 10); }
    int AddDrawing() { return AddTimer("Drawing", 1001, "Design", 100, "Website", 10); }
    int AddMail() { return AddTimer("Mail", 2000, "Admin", 200, "Office", 20); }
    // Selects the row and presses the window's button, as the person does.
    void Press(int row, QAbstractButton *button);
    QString Cell(int row, int col) const;

    frmStart *w = nullptr;
    int ended = 0;   // times the shutdown ended the process
};

} // namespace shuttest
