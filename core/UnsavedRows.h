#pragma once
// The rows of a day's grid that hold edits not saved yet, kept while the day is read again
// after one row was saved, so that saving one row loses none of the others' edits.
#include <QStringList>

#include <vector>

namespace forms {
class FlexGrid;
}

namespace unsavedrows {

// The cells of every row but skip whose changed column holds "True".
std::vector<QStringList> Take(const forms::FlexGrid &grid, int changedCol, int skip);

// Puts them back once the day was read again: a row onto the row with its id, a row without an
// id (never saved) at the end; a row whose id is no longer stored has nothing to put an edit
// on and is dropped. The send state (stateCol) stays the stored one.
void PutBack(forms::FlexGrid &grid, const std::vector<QStringList> &rows, int idCol, int stateCol);

} // namespace unsavedrows
