#pragma once
// The daily log window's tests: a program folder with a profile and reference data (project 1
// "Alpha", task 10 "Design", categories 100 "Drawing" and 101 "Meetings"), entries written
// straight into the database, and the window opened as the toolbar opens it.
#include "tests/mainwindow/FrameFixture.h"

#include <QDate>
#include <QString>

class frmDaily;
namespace forms { class Node; }

namespace dailytest {

class DailyTest : public frametest::FrameTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // A row of tblDaily (and its comment when not empty).
    void Entry(double id, int32_t day, double start, double sec, const QString &comment = QString(), int chk = 0,
               int started = 0, const QString &name = QStringLiteral("Drawing"));
    frmDaily *Open();
    // Shows the day through the day list.
    void ShowDay(frmDaily *w, int32_t day);
    // The category node of the tree with that tag.
    forms::Node *Category(frmDaily *w, const QString &tag);
    // Opens row r in the editor and sets start, end and the comment.
    void Edit(frmDaily *w, int r, const QString &start, const QString &end, const QString &comment);
    // A real click on the row's name cell, as the window system delivers it.
    static void ClickRow(frmDaily *w, int r);
    // The rows as "start-end" of their texts, free rows marked with "+".
    static QString Rows(frmDaily *w);
    // Rows of a statement's single count.
    int Count(const QString &sql);
    QString CommentOf(double id);

    int32_t m_today = 0;
    int32_t m_yesterday = 0;
};

} // namespace dailytest
