#pragma once
// A unique number for the program's registrations (the hot key's id): an atom in the
// program's atom table, named by the moment it was made, deleted with the object.
#include <cstdint>

class CGlobalAtom {
public:
    CGlobalAtom();
    ~CGlobalAtom();
    CGlobalAtom(const CGlobalAtom &) = delete;
    CGlobalAtom &operator=(const CGlobalAtom &) = delete;

    // The atom as a signed 16-bit number widened: atoms from 0xC000 up are negative.
    int32_t Value() const { return m_atom; }

private:
    int32_t m_atom = 0;
};
