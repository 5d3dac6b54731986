#include "core/UnsavedRows.h"

#include "platform/forms/FlexGrid.h"

namespace unsavedrows {

std::vector<QStringList> Take(const forms::FlexGrid &grid, int changedCol, int skip)
{
    std::vector<QStringList> rows;
    for (int r = 0; r < grid.Rows(); ++r) {
        if (r == skip || grid.TextMatrix(r, changedCol) != QLatin1String("True"))
            continue;
        QStringList cells;
        for (int c = 0; c < grid.Cols(); ++c)
            cells << grid.TextMatrix(r, c);
        rows.push_back(cells);
    }
    return rows;
}

void PutBack(forms::FlexGrid &grid, const std::vector<QStringList> &rows, int idCol, int stateCol)
{
    for (const QStringList &cells : rows) {
        const QString id = cells.value(idCol).trimmed();
        int at = -1;
        if (!id.isEmpty()) {
            for (int r = 0; r < grid.Rows() && at < 0; ++r)
                if (grid.TextMatrix(r, idCol).trimmed() == id)
                    at = r;
            if (at < 0)
                continue;
        } else {
            at = grid.Rows();
            grid.SetRows(at + 1);
        }
        for (int c = 0; c < cells.size() && c < grid.Cols(); ++c)
            if (c != stateCol)
                grid.SetTextMatrix(at, c, cells[c]);
    }
}

} // namespace unsavedrows
