#pragma once
// The timers window's grid as the tests fill and click it.
#include "platform/forms/FlexGrid.h"
#include "recorder/frmStart.h"

#include <QAbstractButton>
#include <QApplication>
#include <QTest>

#include <gtest/gtest.h>

namespace testenv {

// Appends a stopped timer through the window's own procedure, as the task loader does; its row.
inline int AddTimerRow(frmStart *w, const QString &category, double catId, const QString &task, double taskId,
                       const QString &project, double projId)
{
    const auto id = [](double v) { return QString::number(qlonglong(v)); };
    const int before = w->lstTimers->Rows();
    EXPECT_EQ(w->AddTimers({{category, id(catId), task, id(taskId), project, id(projId)}}), 1);
    return before;
}

// Selects a timer row with the mouse, as the person does.
inline void ClickTimerRow(frmStart *w, int row)
{
    forms::FlexGrid *g = w->lstTimers;
    g->scrollTo(g->model()->index(row, frmStart::colName));
    const QRect rect = g->visualRect(g->model()->index(row, frmStart::colName));
    ASSERT_TRUE(rect.isValid()) << "row " << row << " is not on the screen";
    QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, rect.center());
    QApplication::processEvents();
}

// Clicks an enabled button.
inline void ClickButton(QWidget *button)
{
    ASSERT_TRUE(button->isEnabled()) << button->objectName().toStdString() << " is disabled";
    QTest::mouseClick(button, Qt::LeftButton);
    QApplication::processEvents();
}

}
