#include "platform/forms/FlexGrid.h"

#include "platform/forms/Units.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QStyle>
#include <QStyledItemDelegate>

namespace forms {

namespace {

// Where a cell keeps what Qt's item roles do not hold as the grid's code reads it back.
constexpr int kPictureRole = Qt::UserRole + 1;
constexpr int kPictureAlignRole = Qt::UserRole + 2;
constexpr int kBackColorRole = Qt::UserRole + 3;
constexpr int kForeColorRole = Qt::UserRole + 4;
constexpr int kBoldRole = Qt::UserRole + 5;

constexpr int kDefaultColWidthTwips = 960;

Qt::Alignment AlignFlags(int a, const QString &text)
{
    switch (a) {
    case FlexGrid::AlignLeftTop: return Qt::AlignLeft | Qt::AlignTop;
    case FlexGrid::AlignLeftCenter: return Qt::AlignLeft | Qt::AlignVCenter;
    case FlexGrid::AlignLeftBottom: return Qt::AlignLeft | Qt::AlignBottom;
    case FlexGrid::AlignCenterTop: return Qt::AlignHCenter | Qt::AlignTop;
    case FlexGrid::AlignCenterCenter: return Qt::AlignHCenter | Qt::AlignVCenter;
    case FlexGrid::AlignCenterBottom: return Qt::AlignHCenter | Qt::AlignBottom;
    case FlexGrid::AlignRightTop: return Qt::AlignRight | Qt::AlignTop;
    case FlexGrid::AlignRightCenter: return Qt::AlignRight | Qt::AlignVCenter;
    case FlexGrid::AlignRightBottom: return Qt::AlignRight | Qt::AlignBottom;
    default: {
        bool number = false;
        text.trimmed().toDouble(&number);
        return (number ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter;
    }
    }
}

} // namespace

// Paints the cells: Qt's own drawing for text and colours, then the cell's picture at its
// alignment (Qt would only put an icon at the left of the text), and the fixed cells in the
// button colour.
class FlexGridDelegate : public QStyledItemDelegate {
public:
    explicit FlexGridDelegate(FlexGrid *grid) : QStyledItemDelegate(grid), m_grid(grid) {}

protected:
    void initStyleOption(QStyleOptionViewItem *opt, const QModelIndex &index) const override
    {
        QStyledItemDelegate::initStyleOption(opt, index);
        opt->displayAlignment = AlignFlags(m_grid->ColAlignment(index.column()), opt->text);
        if (m_grid->IsFixed(index.row(), index.column()) && !index.data(kBackColorRole).isValid())
            opt->backgroundBrush = ToQColor(kColorButtonFace);
    }

public:
    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        QStyledItemDelegate::paint(painter, option, index);
        const QVariant v = index.data(kPictureRole);
        if (!v.isValid())
            return;
        const QPixmap pm = v.value<QPixmap>();
        if (pm.isNull())
            return;
        const QVariant a = index.data(kPictureAlignRole);
        const int align = a.isValid() ? a.toInt() : FlexGrid::AlignLeftCenter;
        const QSize size = pm.deviceIndependentSize().toSize();
        const QRect target = QStyle::alignedRect(option.direction, AlignFlags(align, QString()), size, option.rect);
        painter->save();
        painter->setClipRect(option.rect);
        painter->drawPixmap(target, pm);
        painter->restore();
    }

private:
    FlexGrid *m_grid;
};

FlexGrid::FlexGrid(QWidget *parent)
    : QTableWidget(parent), m_backColor(kColorWindow), m_foreColor(kColorWindowText)
{
    setItemDelegate(new FlexGridDelegate(this));
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setTabKeyNavigation(false);
    setWordWrap(false);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    horizontalHeader()->hide();
    verticalHeader()->hide();
    horizontalHeader()->setMinimumSectionSize(1);
    verticalHeader()->setMinimumSectionSize(1);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setDefaultSectionSize(TwipsToPixels(kDefaultColWidthTwips));
    verticalHeader()->setDefaultSectionSize(qMax(16, fontMetrics().height() + 2));
    viewport()->setMouseTracking(true);
    connect(this, &QTableWidget::currentCellChanged, this, &FlexGrid::OnCurrentChanged);
}

// ---- size ----

void FlexGrid::SetRows(int rows)
{
    rows = qMax(rows, m_fixedRows);
    {
        QScopedValueRollback quiet(m_quiet, true);
        setRowCount(rows);
    }
    EnsureCurrentCell();
    m_rowSel = Row();
    m_colSel = Col();
}

void FlexGrid::SetCols(int cols)
{
    cols = qMax(cols, m_fixedCols);
    const int old = columnCount();
    {
        QScopedValueRollback quiet(m_quiet, true);
        setColumnCount(cols);
    }
    m_colWidth.resize(cols);
    m_colAlign.resize(cols);
    for (int c = old; c < cols; ++c) {
        m_colWidth[c] = -1;
        m_colAlign[c] = AlignGeneral;
    }
    for (int c = 0; c < cols; ++c)
        SetColWidth(c, m_colWidth[c]);
    EnsureCurrentCell();
    m_rowSel = Row();
    m_colSel = Col();
}

void FlexGrid::SetFixedRows(int n)
{
    m_fixedRows = qMax(0, n);
    if (rowCount() < m_fixedRows)
        SetRows(m_fixedRows);
    if (Row() >= 0 && Row() < m_fixedRows && rowCount() > m_fixedRows) {
        QScopedValueRollback quiet(m_quiet, true);
        setCurrentCell(m_fixedRows, qMax(Col(), m_fixedCols));
    }
    viewport()->update();
}

void FlexGrid::SetFixedCols(int n)
{
    m_fixedCols = qMax(0, n);
    if (columnCount() < m_fixedCols)
        SetCols(m_fixedCols);
    if (Row() >= 0 && Col() < m_fixedCols && columnCount() > m_fixedCols) {
        QScopedValueRollback quiet(m_quiet, true);
        setCurrentCell(qMax(Row(), m_fixedRows), m_fixedCols);
    }
    viewport()->update();
}

// ---- cells ----

bool FlexGrid::IsCell(int row, int col) const
{
    return row >= 0 && col >= 0 && row < rowCount() && col < columnCount();
}

QTableWidgetItem *FlexGrid::Cell(int row, int col)
{
    if (!IsCell(row, col))
        return nullptr;
    QTableWidgetItem *it = item(row, col);
    if (!it) {
        it = new QTableWidgetItem;
        it->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        setItem(row, col, it);
    }
    return it;
}

const QTableWidgetItem *FlexGrid::CellIfAny(int row, int col) const
{
    return IsCell(row, col) ? item(row, col) : nullptr;
}

QString FlexGrid::TextMatrix(int row, int col) const
{
    const QTableWidgetItem *it = CellIfAny(row, col);
    return it ? it->text() : QString();
}

void FlexGrid::SetTextMatrix(int row, int col, const QString &text)
{
    if (QTableWidgetItem *it = Cell(row, col))
        it->setText(text);
}

QPixmap FlexGrid::CellPictureAt(int row, int col) const
{
    const QTableWidgetItem *it = CellIfAny(row, col);
    return it ? it->data(kPictureRole).value<QPixmap>() : QPixmap();
}

void FlexGrid::SetCellPictureAt(int row, int col, const QPixmap &picture)
{
    if (QTableWidgetItem *it = Cell(row, col))
        it->setData(kPictureRole, picture.isNull() ? QVariant() : QVariant(picture));
}

int FlexGrid::CellPictureAlignmentAt(int row, int col) const
{
    const QTableWidgetItem *it = CellIfAny(row, col);
    const QVariant v = it ? it->data(kPictureAlignRole) : QVariant();
    return v.isValid() ? v.toInt() : AlignLeftCenter;
}

void FlexGrid::SetCellPictureAlignmentAt(int row, int col, int alignment)
{
    if (QTableWidgetItem *it = Cell(row, col))
        it->setData(kPictureAlignRole, alignment);
}

int FlexGrid::CellBackColorAt(int row, int col) const
{
    const QTableWidgetItem *it = CellIfAny(row, col);
    const QVariant v = it ? it->data(kBackColorRole) : QVariant();
    return v.isValid() ? v.toInt() : m_backColor;
}

void FlexGrid::SetCellBackColorAt(int row, int col, int color)
{
    if (QTableWidgetItem *it = Cell(row, col)) {
        it->setData(kBackColorRole, color);
        it->setBackground(QBrush(ToQColor(color)));
    }
}

int FlexGrid::CellForeColorAt(int row, int col) const
{
    const QTableWidgetItem *it = CellIfAny(row, col);
    const QVariant v = it ? it->data(kForeColorRole) : QVariant();
    return v.isValid() ? v.toInt() : m_foreColor;
}

void FlexGrid::SetCellForeColorAt(int row, int col, int color)
{
    if (QTableWidgetItem *it = Cell(row, col)) {
        it->setData(kForeColorRole, color);
        it->setForeground(QBrush(ToQColor(color)));
    }
}

bool FlexGrid::CellFontBoldAt(int row, int col) const
{
    const QTableWidgetItem *it = CellIfAny(row, col);
    return it && it->data(kBoldRole).toBool();
}

void FlexGrid::SetCellFontBoldAt(int row, int col, bool bold)
{
    if (QTableWidgetItem *it = Cell(row, col)) {
        it->setData(kBoldRole, bold);
        QFont f = font();
        f.setBold(bold);
        it->setFont(f);
    }
}

void FlexGrid::SetBackColor(int color)
{
    m_backColor = color;
    QPalette pal = palette();
    pal.setColor(QPalette::Base, ToQColor(color));
    setPalette(pal);
}

void FlexGrid::SetForeColor(int color)
{
    m_foreColor = color;
    QPalette pal = palette();
    pal.setColor(QPalette::Text, ToQColor(color));
    setPalette(pal);
}

// ---- current cell and selection ----

int FlexGrid::Row() const
{
    return currentRow();
}

int FlexGrid::Col() const
{
    return currentRow() < 0 ? -1 : currentColumn();
}

void FlexGrid::SetRow(int row)
{
    if (row < 0 || row >= rowCount() || columnCount() == 0)
        return;
    const int col = Col() >= 0 ? Col() : m_fixedCols;
    setCurrentCell(row, qMin(col, columnCount() - 1));
    m_rowSel = row;
    m_colSel = Col();
    ApplySelection();
}

void FlexGrid::SetCol(int col)
{
    if (col < 0 || col >= columnCount() || rowCount() == 0)
        return;
    const int row = Row() >= 0 ? Row() : m_fixedRows;
    setCurrentCell(qMin(row, rowCount() - 1), col);
    m_rowSel = Row();
    m_colSel = col;
    ApplySelection();
}

void FlexGrid::SetRowSel(int row)
{
    if (row < 0 || row >= rowCount() || Row() < 0)
        return;
    m_rowSel = row;
    ApplySelection();
}

void FlexGrid::SetColSel(int col)
{
    if (col < 0 || col >= columnCount() || Row() < 0)
        return;
    m_colSel = col;
    ApplySelection();
}

void FlexGrid::SetFlexSelectionMode(int mode)
{
    m_selMode = mode;
    setSelectionBehavior(mode == SelectionByRow      ? QAbstractItemView::SelectRows
                         : mode == SelectionByColumn ? QAbstractItemView::SelectColumns
                                                     : QAbstractItemView::SelectItems);
    ApplySelection();
}

void FlexGrid::ApplySelection()
{
    if (Row() < 0 || !selectionModel())
        return;
    int r0 = qMin(Row(), m_rowSel), r1 = qMax(Row(), m_rowSel);
    int c0 = qMin(Col(), m_colSel), c1 = qMax(Col(), m_colSel);
    if (m_selMode == SelectionByRow) {
        c0 = 0;
        c1 = columnCount() - 1;
    } else if (m_selMode == SelectionByColumn) {
        r0 = 0;
        r1 = rowCount() - 1;
    }
    const QItemSelection sel(model()->index(r0, c0), model()->index(r1, c1));
    selectionModel()->select(sel, QItemSelectionModel::ClearAndSelect);
}

void FlexGrid::OnCurrentChanged(int row, int col, int prevRow, int prevCol)
{
    m_rowSel = row;
    m_colSel = col;
    if (!m_quiet && row >= 0 && (row != prevRow || col != prevCol))
        emit RowColChange();
}

void FlexGrid::EnsureCurrentCell()
{
    if (currentRow() >= 0 || rowCount() <= m_fixedRows || columnCount() <= m_fixedCols)
        return;
    QScopedValueRollback quiet(m_quiet, true);
    setCurrentCell(m_fixedRows, m_fixedCols);
    m_rowSel = currentRow();
    m_colSel = currentColumn();
}

// ---- sizes ----

int FlexGrid::DefaultColWidthPx() const
{
    return TwipsToPixels(kDefaultColWidthTwips);
}

int FlexGrid::ColWidth(int col) const
{
    if (col < 0 || col >= columnCount())
        return 0;
    const int w = m_colWidth.value(col, -1);
    return w >= 0 ? w : PixelsToTwips(columnWidth(col));
}

void FlexGrid::SetColWidth(int col, int twips)
{
    if (col < 0 || col >= columnCount())
        return;
    if (m_colWidth.size() < columnCount())
        m_colWidth.resize(columnCount(), -1);
    m_colWidth[col] = twips;
    if (twips == 0) {
        setColumnHidden(col, true);
        return;
    }
    setColumnHidden(col, false);
    setColumnWidth(col, twips < 0 ? DefaultColWidthPx() : qMax(1, TwipsToPixels(twips)));
}

int FlexGrid::RowHeight(int row) const
{
    if (row < 0 || row >= rowCount() || isRowHidden(row))
        return 0;
    return PixelsToTwips(rowHeight(row));
}

void FlexGrid::SetRowHeight(int row, int twips)
{
    if (row < 0 || row >= rowCount())
        return;
    if (twips == 0) {
        setRowHidden(row, true);
        return;
    }
    setRowHidden(row, false);
    setRowHeight(row, twips < 0 ? verticalHeader()->defaultSectionSize() : qMax(1, TwipsToPixels(twips)));
}

int FlexGrid::ColAlignment(int col) const
{
    return m_colAlign.value(col, AlignGeneral);
}

void FlexGrid::SetColAlignment(int col, int alignment)
{
    if (col < 0 || col >= columnCount())
        return;
    if (m_colAlign.size() < columnCount())
        m_colAlign.resize(columnCount(), AlignGeneral);
    m_colAlign[col] = alignment;
    viewport()->update();
}

// ---- scrolling ----

int FlexGrid::TopRow() const
{
    const int r = rowAt(0);
    return r < 0 ? 0 : r;
}

void FlexGrid::SetTopRow(int row)
{
    if (rowCount() == 0)
        return;
    row = qBound(0, row, rowCount() - 1);
    updateGeometries();   // the scroll range follows the rows only at the next layout otherwise
    verticalScrollBar()->setValue(verticalHeader()->visualIndex(row));
}

bool FlexGrid::RowIsVisible(int row) const
{
    if (row < 0 || row >= rowCount() || isRowHidden(row))
        return false;
    const int y = rowViewportPosition(row);
    return y >= 0 && y + rowHeight(row) <= viewport()->height();
}

// ---- rows ----

void FlexGrid::AddItem(const QString &tabSeparated, int index)
{
    if (index < 0 || index > rowCount())
        index = rowCount();
    {
        QScopedValueRollback quiet(m_quiet, true);
        insertRow(index);
    }
    const QStringList parts = tabSeparated.split(QLatin1Char('\t'));
    for (int c = 0; c < parts.size() && c < columnCount(); ++c)
        if (!parts[c].isEmpty())
            SetTextMatrix(index, c, parts[c]);
    EnsureCurrentCell();
    m_rowSel = Row();
    m_colSel = Col();
}

void FlexGrid::RemoveItem(int index)
{
    if (index < 0 || index >= rowCount())
        return;
    {
        // The current row moves to the row that takes the removed one's place (or the one
        // before it at the end) without a RowColChange.
        QScopedValueRollback quiet(m_quiet, true);
        removeRow(index);
    }
    EnsureCurrentCell();
    m_rowSel = Row();
    m_colSel = Col();
    ApplySelection();
}

void FlexGrid::Clear()
{
    const int r = Row(), c = Col();
    {
        QScopedValueRollback quiet(m_quiet, true);
        clearContents();
        if (r >= 0 && IsCell(r, c) && (currentRow() != r || currentColumn() != c))
            setCurrentCell(r, c);
    }
    EnsureCurrentCell();
}

void FlexGrid::SetRedraw(bool on)
{
    if (m_redraw == on)
        return;
    m_redraw = on;
    setUpdatesEnabled(on);
    if (on)
        viewport()->update();
}

// ---- events ----

void FlexGrid::mousePressEvent(QMouseEvent *e)
{
    const QPoint p = e->position().toPoint();
    const QModelIndex idx = indexAt(p);
    // A press on a fixed cell does not move the current cell.
    if (!(idx.isValid() && IsFixed(idx.row(), idx.column())))
        QTableWidget::mousePressEvent(e);
    m_pressed = true;
    emit MouseDown(ButtonBits(e->button()), ShiftBits(e->modifiers()), PixelsToTwips(p.x()), PixelsToTwips(p.y()));
}

void FlexGrid::mouseReleaseEvent(QMouseEvent *e)
{
    QTableWidget::mouseReleaseEvent(e);
    const QPoint p = e->position().toPoint();
    const bool click = m_pressed && e->button() == Qt::LeftButton;
    m_pressed = false;
    emit MouseUp(ButtonBits(e->button()), ShiftBits(e->modifiers()), PixelsToTwips(p.x()), PixelsToTwips(p.y()));
    if (click)
        emit Click();
}

void FlexGrid::mouseDoubleClickEvent(QMouseEvent *e)
{
    QTableWidget::mouseDoubleClickEvent(e);
    if (e->button() == Qt::LeftButton)
        emit DblClick();
}

void FlexGrid::mouseMoveEvent(QMouseEvent *e)
{
    QTableWidget::mouseMoveEvent(e);
    const QPoint p = e->position().toPoint();
    emit MouseMove(ButtonBits(e->buttons()), ShiftBits(e->modifiers()), PixelsToTwips(p.x()), PixelsToTwips(p.y()));
}

void FlexGrid::keyPressEvent(QKeyEvent *e)
{
    emit KeyDown(VirtualKeyFromQt(e->key()), ShiftBits(e->modifiers()));
    QTableWidget::keyPressEvent(e);
}

} // namespace forms
