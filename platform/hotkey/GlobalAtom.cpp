#include "platform/hotkey/GlobalAtom.h"

#include <QHash>

namespace hotkey {
namespace {

struct AtomEntry {
    QString name;
    int users = 0;
};

constexpr uint32_t FirstAtom = 0xC000;
constexpr uint32_t LastAtom = 0xFFFF;

// Names compare without regard to case, as Windows atom names do.
QHash<QString, uint16_t> &ByName()
{
    static QHash<QString, uint16_t> table;
    return table;
}

QHash<uint16_t, AtomEntry> &ByAtom()
{
    static QHash<uint16_t, AtomEntry> table;
    return table;
}

} // namespace

uint16_t GlobalAddAtom(const QString &name)
{
    if (name.isEmpty() || name.size() > 255)
        return 0;
    const QString key = name.toCaseFolded();
    auto found = ByName().constFind(key);
    if (found != ByName().constEnd()) {
        ++ByAtom()[found.value()].users;
        return found.value();
    }
    for (uint32_t a = FirstAtom; a <= LastAtom; ++a) {
        const auto atom = static_cast<uint16_t>(a);
        if (!ByAtom().contains(atom)) {
            ByAtom().insert(atom, AtomEntry{name, 1});
            ByName().insert(key, atom);
            return atom;
        }
    }
    return 0;
}

uint16_t GlobalDeleteAtom(uint16_t atom)
{
    auto it = ByAtom().find(atom);
    if (it == ByAtom().end())
        return atom;
    if (--it->users <= 0) {
        ByName().remove(it->name.toCaseFolded());
        ByAtom().erase(it);
    }
    return 0;
}

uint16_t GlobalFindAtom(const QString &name)
{
    return ByName().value(name.toCaseFolded(), 0);
}

QString GlobalGetAtomName(uint16_t atom)
{
    auto it = ByAtom().constFind(atom);
    return it == ByAtom().constEnd() ? QString() : it->name;
}

} // namespace hotkey
