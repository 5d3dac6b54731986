#pragma once
// The timers window's grid as the tests fill and click it.
#include "platform/forms/FlexGrid.h"
#include "recorder/frmStart.h"

#include <QAbstractButton>
#include <QApplication>
#include <QTest>

#include <gtest/gtest.h>

namespace testenv {

// Appends a stopped timer the way the task loader does; its row.
inline int AddTimerRow(frmStart *w, const QString &category, double catId, const QString &task, double taskId,
                       const QString &project, double projId)
{
    forms::FlexGrid *g = w->lstTimers;
    const int r = g->Rows();
    g->SetRows(r + 1);
    g->SetRowHeight(r, frmStart::kRowHeight);
    g->SetTextMatrix(r, frmStart::colName, category);
    g->SetTextMatrix(r, frmStart::colTaskName, task);
    g->SetTextMatrix(r, frmStart::colProjName, project);
    g->SetTextMatrix(r, frmStart::colCatID, QString::number(qlonglong(catId)));
    g->SetTextMatrix(r, frmStart::colTaskID, QString::number(qlonglong(taskId)));
    g->SetTextMatrix(r, frmStart::colProjID, QString::number(qlonglong(projId)));
    g->SetTextMatrix(r, frmStart::colSecs, QStringLiteral("0"));
    g->SetTextMatrix(r, frmStart::colState, QStringLiteral("0"));
    w->SetColorsAndPics(frmStart::kOtherColor, frmStart::kOtherColor, static_cast<int16_t>(r));
    w->picInfo->setVisible(false);
    return r;
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
