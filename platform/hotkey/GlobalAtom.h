#pragma once
// A table of named atoms shared by the whole program, as the Windows global atom table
// offers: adding a name that is already there returns the same atom and counts one more user;
// deleting counts one user off and frees the atom with the last one. String atoms are numbers
// from 0xC000 to 0xFFFF; 0 means failure.
#include <QString>

#include <cstdint>

namespace hotkey {

// The atom of name, added or counted once more; 0 for an empty name, a name longer than
// 255 characters, or a full table.
uint16_t GlobalAddAtom(const QString &name);

// Counts one user off atom and frees it with the last. Returns 0 on success and atom itself
// when the atom is unknown (the convention of the Windows call).
uint16_t GlobalDeleteAtom(uint16_t atom);

// The atom of name when it is in the table, else 0 (nothing is added or counted).
uint16_t GlobalFindAtom(const QString &name);

// The name of a live atom, empty for an unknown one.
QString GlobalGetAtomName(uint16_t atom);

} // namespace hotkey
