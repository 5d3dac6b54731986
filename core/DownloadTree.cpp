#include "core/DownloadTree.h"

#include "core/modMain_Strings.h"
#include "platform/forms/TreeView.h"

#include <cmath>
#include <stdexcept>

namespace downloadtree {

double FieldNumber(const QString &tag, int16_t n)
{
    bool ok = false;
    const double value = modMain::GetField(tag, n, Sep).toDouble(&ok);
    if (!ok || !std::isfinite(value))
        throw std::invalid_argument("not a number");
    return value;
}

bool ReadTaskOrCategoryLeaf(forms::TreeView *tree, int16_t level, const QString &name, const QString &value,
                            const Item &project, Item &task, Item &category)
{
    if (level == 3) {
        if (name == u"NAME") {
            task.name = value;
        } else if (name == u"EXPENSES") {
            task.flag = value;
            forms::Node *parent = project.node ? tree->Nodes(project.node) : nullptr;
            if (!parent)
                return false;
            forms::Node *node = tree->Add(parent, forms::TreeView::Child, QString(), task.name);
            node->SetTag(QStringLiteral("isTask;") + task.id + Sep + task.flag);
            task.node = node->Index();
        } else {
            task.id = value;
        }
    } else if (level == 4) {
        if (name == u"NAME") {
            category.name = value;
            forms::Node *parent = task.node ? tree->Nodes(task.node) : nullptr;
            if (!parent)
                return false;
            forms::Node *node = tree->Add(parent, forms::TreeView::Child, QString(), category.name);
            node->SetTag(QStringLiteral("isCateg;") + category.id);
        } else {
            category.id = value;
        }
    }
    return true;
}

}
