#include "platform/forms/FlexGrid.h"
#include "platform/forms/Units.h"

#include <QImage>
#include <QPainter>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

using forms::FlexGrid;

namespace {

// The timers grid's layout: 18 columns, no fixed rows; the picture, name, project and task
// columns shown, the others hidden data columns.
struct TimersGrid : ::testing::Test {
    FlexGrid grid;
    void SetUp() override
    {
        grid.SetFixedRows(0);
        grid.SetFixedCols(0);
        grid.SetCols(18);
        grid.SetRows(0);
        for (int c = 0; c < 18; ++c)
            grid.SetColWidth(c, 0);
        grid.SetColWidth(0, 300);
        grid.SetColWidth(2, 1600);
        grid.SetColWidth(12, 1600);
        grid.SetColWidth(13, 1600);
        grid.resize(500, 200);
    }
    int AddRow(const QString &name)
    {
        grid.SetRows(grid.Rows() + 1);
        const int r = grid.Rows() - 1;
        grid.SetRowHeight(r, 300);
        grid.SetTextMatrix(r, 2, name);
        return r;
    }
    QPoint CellCentre(int r, int c) { return grid.visualRect(grid.model()->index(r, c)).center(); }
};

QPixmap Solid(const QColor &c, int size = 8)
{
    QPixmap pm(size, size);
    pm.fill(c);
    return pm;
}

} // namespace

TEST_F(TimersGrid, CellsRoundTripAndHiddenColumnsKeepTheirData)
{
    AddRow("Design");
    grid.SetTextMatrix(0, 8, "42");   // a hidden column
    grid.SetTextMatrix(0, 17, "True");
    EXPECT_EQ(grid.TextMatrix(0, 2), "Design");
    EXPECT_EQ(grid.TextMatrix(0, 8), "42");
    EXPECT_EQ(grid.TextMatrix(0, 17), "True");
    EXPECT_EQ(grid.TextMatrix(0, 5), "");   // never written
    EXPECT_TRUE(grid.isColumnHidden(8));
    EXPECT_EQ(grid.ColWidth(8), 0);
    EXPECT_FALSE(grid.isColumnHidden(2));
    EXPECT_EQ(grid.ColWidth(2), 1600);
    EXPECT_EQ(grid.columnWidth(0), 20);
    EXPECT_EQ(grid.ColWidth(0), 300);
    EXPECT_EQ(grid.RowHeight(0), 300);
    EXPECT_EQ(grid.rowHeight(0), 20);

    // Out of range reads as empty and writes nothing (no row or column appears).
    EXPECT_EQ(grid.TextMatrix(1, 2), "");
    EXPECT_EQ(grid.TextMatrix(-1, 2), "");
    EXPECT_EQ(grid.TextMatrix(0, 18), "");
    grid.SetTextMatrix(5, 2, "x");
    grid.SetTextMatrix(0, 18, "x");
    EXPECT_EQ(grid.Rows(), 1);
    EXPECT_EQ(grid.Cols(), 18);

    // A column shown again gets its width back.
    grid.SetColWidth(8, 600);
    EXPECT_FALSE(grid.isColumnHidden(8));
    EXPECT_EQ(grid.ColWidth(8), 600);
    EXPECT_EQ(grid.TextMatrix(0, 8), "42");
}

TEST_F(TimersGrid, PicturesColoursAndBoldOfTheCurrentCellRoundTrip)
{
    for (int i = 0; i < 3; ++i)
        AddRow(QString("t%1").arg(i));
    const QPixmap clock = Solid(Qt::red);

    // Cells never painted read as the grid's own colours.
    EXPECT_EQ(grid.CellBackColorAt(1, 2), grid.BackColor());
    EXPECT_EQ(grid.CellForeColorAt(1, 2), grid.ForeColor());
    EXPECT_TRUE(grid.CellPictureAt(1, 0).isNull());

    grid.SetRow(1);
    grid.SetCol(0);
    grid.SetCellPictureAlignment(FlexGrid::AlignCenterCenter);
    grid.SetCellPicture(clock);
    grid.SetCellBackColor(0x80FFFF);
    grid.SetCol(2);
    grid.SetCellBackColor(0xF8E8D6);
    grid.SetCellForeColor(0x808080);
    grid.SetCellFontBold(true);

    EXPECT_EQ(grid.CellPictureAt(1, 0).toImage(), clock.toImage());
    EXPECT_EQ(grid.CellPictureAlignmentAt(1, 0), FlexGrid::AlignCenterCenter);
    EXPECT_EQ(grid.CellBackColorAt(1, 0), 0x80FFFF);
    EXPECT_EQ(grid.CellBackColorAt(1, 2), 0xF8E8D6);
    EXPECT_EQ(grid.CellForeColorAt(1, 2), 0x808080);
    EXPECT_TRUE(grid.CellFontBoldAt(1, 2));
    EXPECT_FALSE(grid.CellFontBoldAt(0, 2));
    // The current-cell forms read the current cell.
    EXPECT_EQ(grid.CellBackColor(), 0xF8E8D6);
    EXPECT_TRUE(grid.CellFontBold());
    // Other cells untouched.
    EXPECT_TRUE(grid.CellPictureAt(0, 0).isNull());
    EXPECT_EQ(grid.CellBackColorAt(2, 2), grid.BackColor());

    // A null picture takes the picture away.
    grid.SetCellPictureAt(1, 0, QPixmap());
    EXPECT_TRUE(grid.CellPictureAt(1, 0).isNull());
}

TEST_F(TimersGrid, CellPictureIsDrawnAtItsAlignmentOverTheCellColour)
{
    AddRow("a");
    AddRow("b");
    grid.SetRow(0);   // keep the painted row out of the selection highlight
    grid.SetColWidth(0, 600);   // 40 x 20 pixels
    grid.SetCellBackColorAt(1, 0, 0xF8E8D6);
    grid.SetCellPictureAt(1, 0, Solid(Qt::red, 8));
    grid.SetCellPictureAlignmentAt(1, 0, FlexGrid::AlignCenterCenter);
    grid.show();
    QApplication::processEvents();

    const QImage shot = grid.viewport()->grab().toImage();
    const QRect cell = grid.visualRect(grid.model()->index(1, 0));
    ASSERT_GE(cell.width(), 39);   // 40 pixels less the grid line
    EXPECT_EQ(QColor(shot.pixel(cell.center())), QColor(Qt::red));
    // The cell's left part shows its background, not the picture.
    EXPECT_EQ(QColor(shot.pixel(cell.left() + 4, cell.center().y())), QColor(214, 232, 248));
}

TEST_F(TimersGrid, RemovingARowMovesEverythingBelowUp)
{
    for (int i = 0; i < 4; ++i) {
        const int r = AddRow(QString("t%1").arg(i));
        grid.SetTextMatrix(r, 8, QString::number(100 + i));
        grid.SetCellBackColorAt(r, 2, forms::RGB(i, 0, 0));
    }
    grid.SetCellPictureAt(2, 0, Solid(Qt::blue));
    grid.SetRowHeight(2, 450);

    grid.RemoveItem(1);
    ASSERT_EQ(grid.Rows(), 3);
    EXPECT_EQ(grid.TextMatrix(0, 2), "t0");
    EXPECT_EQ(grid.TextMatrix(1, 2), "t2");
    EXPECT_EQ(grid.TextMatrix(1, 8), "102");
    EXPECT_EQ(grid.TextMatrix(2, 2), "t3");
    EXPECT_EQ(grid.CellBackColorAt(1, 2), forms::RGB(2, 0, 0));
    EXPECT_FALSE(grid.CellPictureAt(1, 0).isNull());
    EXPECT_TRUE(grid.CellPictureAt(2, 0).isNull());
    EXPECT_EQ(grid.RowHeight(1), 450);
    EXPECT_EQ(grid.RowHeight(2), 300);

    // Out of range: nothing happens. The last rows can go too.
    grid.RemoveItem(3);
    grid.RemoveItem(-1);
    EXPECT_EQ(grid.Rows(), 3);
    grid.RemoveItem(0);
    grid.RemoveItem(0);
    grid.RemoveItem(0);
    EXPECT_EQ(grid.Rows(), 0);
    EXPECT_EQ(grid.Row(), -1);
    EXPECT_EQ(grid.RowSel(), -1);
}

TEST_F(TimersGrid, AddItemSplitsTabsAndInsertsAtAnIndex)
{
    grid.AddItem("p0\t\tfirst");
    grid.AddItem("p1\t\tthird");
    grid.AddItem("\t7\tsecond", 1);
    ASSERT_EQ(grid.Rows(), 3);
    EXPECT_EQ(grid.TextMatrix(0, 2), "first");
    EXPECT_EQ(grid.TextMatrix(1, 2), "second");
    EXPECT_EQ(grid.TextMatrix(1, 1), "7");
    EXPECT_EQ(grid.TextMatrix(1, 0), "");
    EXPECT_EQ(grid.TextMatrix(2, 0), "p1");

    grid.SetCellPictureAt(0, 0, Solid(Qt::red));
    grid.SetCellBackColorAt(0, 2, 0xF8E8D6);
    grid.Clear();   // contents go, rows stay
    EXPECT_EQ(grid.Rows(), 3);
    EXPECT_EQ(grid.TextMatrix(1, 2), "");
    EXPECT_TRUE(grid.CellPictureAt(0, 0).isNull());
    EXPECT_EQ(grid.CellBackColorAt(0, 2), grid.BackColor());
}

TEST_F(TimersGrid, CurrentRowExistsWithRowsAndMovesRaiseRowColChange)
{
    QSignalSpy change(&grid, &FlexGrid::RowColChange);
    QSignalSpy click(&grid, &FlexGrid::Click);
    EXPECT_EQ(grid.Row(), -1);
    EXPECT_EQ(grid.RowSel(), -1);

    for (int i = 0; i < 4; ++i)
        AddRow(QString("t%1").arg(i));
    // The grid has a current row as soon as it has rows.
    EXPECT_EQ(grid.Row(), 0);
    EXPECT_EQ(grid.Col(), 0);
    EXPECT_EQ(grid.RowSel(), 0);
    EXPECT_EQ(change.count(), 0);

    grid.SetRow(2);
    EXPECT_EQ(grid.Row(), 2);
    EXPECT_EQ(grid.RowSel(), 2);
    EXPECT_EQ(change.count(), 1);
    grid.SetRow(2);   // no move, no event
    EXPECT_EQ(change.count(), 1);
    grid.SetRow(9);   // out of range: ignored
    EXPECT_EQ(grid.Row(), 2);

    // RowSel/ColSel widen the selection; moving the current cell brings them back.
    grid.SetFlexSelectionMode(FlexGrid::SelectionByRow);
    grid.SetRowSel(3);
    grid.SetColSel(17);
    EXPECT_EQ(grid.RowSel(), 3);
    EXPECT_EQ(grid.ColSel(), 17);
    EXPECT_TRUE(grid.selectionModel()->isRowSelected(3, QModelIndex()));
    grid.SetRow(1);
    EXPECT_EQ(grid.RowSel(), 1);
    EXPECT_FALSE(grid.selectionModel()->isRowSelected(3, QModelIndex()));
    EXPECT_EQ(change.count(), 2);
    EXPECT_EQ(click.count(), 0);   // code never clicks

    // A click moves the current row first, then raises Click.
    grid.show();
    QApplication::processEvents();
    QList<QString> order;
    QObject::connect(&grid, &FlexGrid::RowColChange, [&] { order << "change" + QString::number(grid.Row()); });
    QObject::connect(&grid, &FlexGrid::Click, [&] { order << "click" + QString::number(grid.Row()); });
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, CellCentre(3, 2));
    EXPECT_EQ(grid.Row(), 3);
    EXPECT_EQ(grid.Col(), 2);
    EXPECT_EQ(order, (QList<QString>{"change3", "click3"}));

    // Removing the current row keeps a current row without an event.
    const int before = change.count();
    grid.RemoveItem(3);
    EXPECT_EQ(grid.Row(), 2);
    grid.SetRow(0);
    grid.RemoveItem(0);
    EXPECT_EQ(grid.Row(), 0);
    EXPECT_EQ(grid.TextMatrix(grid.Row(), 2), "t1");
    EXPECT_EQ(change.count(), before + 1);   // only the SetRow(0)
    grid.SetRows(0);
    EXPECT_EQ(grid.Row(), -1);
}

TEST_F(TimersGrid, TopRowScrollsAndMouseMoveReportsTwips)
{
    for (int i = 0; i < 30; ++i)
        AddRow(QString::number(i));
    grid.show();
    QApplication::processEvents();
    EXPECT_EQ(grid.TopRow(), 0);
    EXPECT_TRUE(grid.RowIsVisible(0));
    EXPECT_FALSE(grid.RowIsVisible(29));

    grid.SetTopRow(10);
    EXPECT_EQ(grid.TopRow(), 10);
    EXPECT_TRUE(grid.RowIsVisible(10));
    EXPECT_FALSE(grid.RowIsVisible(9));

    // The log's row tip: Y / height of row 0 + TopRow is the row under the mouse.
    QSignalSpy move(&grid, &FlexGrid::MouseMove);
    QTest::mouseMove(grid.viewport(), QPoint(30, 45));
    QApplication::processEvents();
    ASSERT_GE(move.count(), 1);
    const QList<QVariant> last = move.takeLast();
    EXPECT_DOUBLE_EQ(last.at(2).toDouble(), 450.0);
    EXPECT_DOUBLE_EQ(last.at(3).toDouble(), 675.0);
    EXPECT_EQ(int(last.at(3).toDouble() / grid.RowHeight(0)) + grid.TopRow(), 12);
    EXPECT_EQ(grid.rowAt(45), 12);
}

TEST_F(TimersGrid, RedrawOffSuspendsDrawingAndKeyDownGivesVirtualKeys)
{
    AddRow("a");
    AddRow("b");
    grid.SetRedraw(false);
    EXPECT_FALSE(grid.Redraw());
    EXPECT_FALSE(grid.updatesEnabled());
    grid.SetTextMatrix(0, 2, "changed while hidden");
    grid.SetRedraw(true);
    EXPECT_TRUE(grid.updatesEnabled());
    EXPECT_EQ(grid.TextMatrix(0, 2), "changed while hidden");

    grid.show();
    grid.setFocus();
    QSignalSpy key(&grid, &FlexGrid::KeyDown);
    QSignalSpy change(&grid, &FlexGrid::RowColChange);
    QTest::keyClick(&grid, Qt::Key_Down, Qt::ShiftModifier);
    // The Shift key itself comes first, as its own key (16), then Down (40) with Shift.
    ASSERT_EQ(key.count(), 2);
    EXPECT_EQ(key.at(0).at(0).toInt(), 16);
    EXPECT_EQ(key.at(1).at(0).toInt(), 40);
    EXPECT_EQ(key.at(1).at(1).toInt(), 1);
    EXPECT_EQ(grid.Row(), 1);   // the grid still moves on the key
    EXPECT_EQ(change.count(), 1);
}

TEST(FlexGridFixed, FixedRowsStayOutOfTheCurrentCell)
{
    FlexGrid grid;
    grid.SetCols(3);
    grid.SetFixedRows(1);
    grid.SetFixedCols(1);
    EXPECT_EQ(grid.Row(), -1);   // only fixed cells so far
    grid.SetRows(4);
    EXPECT_EQ(grid.Row(), 1);
    EXPECT_EQ(grid.Col(), 1);
    grid.SetTextMatrix(0, 1, "Heading");
    EXPECT_EQ(grid.TextMatrix(0, 1), "Heading");
    grid.SetRows(0);   // never fewer rows than fixed ones
    EXPECT_EQ(grid.Rows(), 1);
}
