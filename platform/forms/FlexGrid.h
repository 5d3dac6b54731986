#pragma once
// A grid of text cells addressed by row and column from 0, as the windows keep their rows:
// every cell holds text (numbers as plain decimal text), and a cell may carry a picture, a
// background and a text colour and a bold flag. Hidden columns (width 0) hold data the person
// does not see. Sizes are twips, colours are values with red in the low byte (Units.h).
//
// The current cell (Row, Col) always exists while the grid has cells outside its fixed rows
// and columns, as the windows expect a current row as soon as rows are there; Row() is -1 only
// when there is none. RowSel/ColSel are the other corner of the selected range and follow the
// current cell whenever it moves.
//
// Cell access out of range reads as empty text (or 0) and writes nothing.
//
// Events: Click (mouse released over the grid, after the current cell moved), DblClick,
// RowColChange (the current cell moved, by the person or by code), MouseMove and MouseDown/Up
// (button bits, shift bits, x and y in twips from the top left of the cells area), KeyDown
// (virtual-key code and shift bits, before the grid handles the key).
#include <QPixmap>
#include <QTableWidget>
#include <QVector>

namespace forms {

class FlexGrid : public QTableWidget {
    Q_OBJECT
public:
    // Text and picture alignments: left/centre/right by top/centre/bottom; General puts
    // numbers right and other text left (vertically centred).
    enum Alignment {
        AlignLeftTop = 0, AlignLeftCenter = 1, AlignLeftBottom = 2,
        AlignCenterTop = 3, AlignCenterCenter = 4, AlignCenterBottom = 5,
        AlignRightTop = 6, AlignRightCenter = 7, AlignRightBottom = 8,
        AlignGeneral = 9,
    };
    enum FlexSelection { SelectionFree = 0, SelectionByRow = 1, SelectionByColumn = 2 };

    explicit FlexGrid(QWidget *parent = nullptr);

    // Size. Rows and Cols count the fixed rows and columns too (there are none by default).
    int Rows() const { return rowCount(); }
    void SetRows(int rows);
    int Cols() const { return columnCount(); }
    void SetCols(int cols);
    int FixedRows() const { return m_fixedRows; }
    void SetFixedRows(int n);
    int FixedCols() const { return m_fixedCols; }
    void SetFixedCols(int n);

    // Cells.
    QString TextMatrix(int row, int col) const;
    void SetTextMatrix(int row, int col, const QString &text);
    bool IsCell(int row, int col) const;

    // Current cell and selection.
    int Row() const;
    void SetRow(int row);        // moves the current cell to that row; RowSel follows
    int Col() const;
    void SetCol(int col);        // ColSel follows
    int RowSel() const { return Row() < 0 ? -1 : m_rowSel; }
    void SetRowSel(int row);     // extends the selection from Row to that row
    int ColSel() const { return Row() < 0 ? -1 : m_colSel; }
    void SetColSel(int col);
    QString Text() const { return TextMatrix(Row(), Col()); }   // the current cell's text
    void SetText(const QString &text) { SetTextMatrix(Row(), Col(), text); }
    // Free (cells), by row or by column: what a click highlights.
    int FlexSelectionMode() const { return m_selMode; }
    void SetFlexSelectionMode(int mode);

    // Properties of the current cell (Row, Col).
    QPixmap CellPicture() const { return CellPictureAt(Row(), Col()); }
    void SetCellPicture(const QPixmap &picture) { SetCellPictureAt(Row(), Col(), picture); }
    int CellPictureAlignment() const { return CellPictureAlignmentAt(Row(), Col()); }
    void SetCellPictureAlignment(int a) { SetCellPictureAlignmentAt(Row(), Col(), a); }
    int CellBackColor() const { return CellBackColorAt(Row(), Col()); }
    void SetCellBackColor(int color) { SetCellBackColorAt(Row(), Col(), color); }
    int CellForeColor() const { return CellForeColorAt(Row(), Col()); }
    void SetCellForeColor(int color) { SetCellForeColorAt(Row(), Col(), color); }
    bool CellFontBold() const { return CellFontBoldAt(Row(), Col()); }
    void SetCellFontBold(bool bold) { SetCellFontBoldAt(Row(), Col(), bold); }

    // The same properties of any cell. Colours of a cell never set read as the grid's
    // BackColor / ForeColor.
    QPixmap CellPictureAt(int row, int col) const;
    void SetCellPictureAt(int row, int col, const QPixmap &picture);
    int CellPictureAlignmentAt(int row, int col) const;
    void SetCellPictureAlignmentAt(int row, int col, int alignment);
    int CellBackColorAt(int row, int col) const;
    void SetCellBackColorAt(int row, int col, int color);
    int CellForeColorAt(int row, int col) const;
    void SetCellForeColorAt(int row, int col, int color);
    bool CellFontBoldAt(int row, int col) const;
    void SetCellFontBoldAt(int row, int col, bool bold);

    int BackColor() const { return m_backColor; }
    void SetBackColor(int color);
    int ForeColor() const { return m_foreColor; }
    void SetForeColor(int color);

    // Sizes in twips. A column of width 0 is hidden; -1 gives the default width back.
    int ColWidth(int col) const;
    void SetColWidth(int col, int twips);
    int RowHeight(int row) const;     // 0 out of range
    void SetRowHeight(int row, int twips);
    int ColAlignment(int col) const;
    void SetColAlignment(int col, int alignment);

    // Scrolling: the first row shown below the fixed rows.
    int TopRow() const;
    void SetTopRow(int row);
    bool RowIsVisible(int row) const;   // the whole row lies inside the shown area

    // Adds a row at the end, or before row index, its cells from the tab-separated text
    // (from column 0).
    void AddItem(const QString &tabSeparated, int index = -1);
    // Removes a row; the rows below move up by one. The last row may be removed too.
    void RemoveItem(int index);
    // Empties every cell (text, pictures, colours, bold); rows and columns stay.
    void Clear();

    // Drawing suspended while off; switched on again, the grid draws once.
    bool Redraw() const { return m_redraw; }
    void SetRedraw(bool on);

signals:
    void Click();
    void DblClick();
    void RowColChange();
    void MouseMove(int button, int shift, double x, double y);
    void MouseDown(int button, int shift, double x, double y);
    void MouseUp(int button, int shift, double x, double y);
    void KeyDown(int keyCode, int shift);

protected:
    void mousePressEvent(QMouseEvent *e) override;
    void mouseReleaseEvent(QMouseEvent *e) override;
    void mouseDoubleClickEvent(QMouseEvent *e) override;
    void mouseMoveEvent(QMouseEvent *e) override;
    void keyPressEvent(QKeyEvent *e) override;

private:
    friend class FlexGridDelegate;
    QTableWidgetItem *Cell(int row, int col);   // made on first write
    const QTableWidgetItem *CellIfAny(int row, int col) const;
    bool IsFixed(int row, int col) const { return row < m_fixedRows || col < m_fixedCols; }
    void EnsureCurrentCell();
    void ApplySelection();
    void OnCurrentChanged(int row, int col, int prevRow, int prevCol);
    int DefaultColWidthPx() const;

    int m_fixedRows = 0;
    int m_fixedCols = 0;
    int m_rowSel = -1;
    int m_colSel = -1;
    int m_selMode = SelectionFree;
    int m_backColor;
    int m_foreColor;
    bool m_redraw = true;
    bool m_quiet = false;        // current cell placed by the grid itself: no RowColChange
    bool m_pressed = false;
    QVector<int> m_colWidth;     // twips as set; -1 default
    QVector<int> m_colAlign;
};

} // namespace forms
