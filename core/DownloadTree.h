#pragma once
// The project tree a download reply builds before it is stored: projects at the top, their
// tasks below them, the tasks' categories below those. Each node's tag says what it is and
// carries its id ("isProj;id;expenses", "isTask;id;expenses", "isCateg;id").
#include <QString>

#include <cstdint>

namespace forms {
class TreeView;
}

namespace downloadtree {

// Separator of the fields of a node's tag.
inline const QString Sep = QStringLiteral(";");

// Field n (from 1) of a node's tag as a number; throws std::invalid_argument when it is none,
// which ends the walk of the caller.
double FieldNumber(const QString &tag, int16_t n);

// The item being read from a reply: its leaves collect here until the item is complete.
struct Item {
    QString name;
    QString id;
    QString flag;   // a project's or task's expenses flag
    int node = 0;   // index of its node in the tree, 0 while it has none
};

// A leaf of a task (level 3) or of a category (level 4): the task's node is made at its
// EXPENSES leaf below the project's node, the category's at its NAME leaf below the task's.
// False when the node it belongs below is missing (the reply is out of order).
bool ReadTaskOrCategoryLeaf(forms::TreeView *tree, int16_t level, const QString &name, const QString &value,
                            const Item &project, Item &task, Item &category);

}
