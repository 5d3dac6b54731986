#include <QHeaderView>
#include "platform/forms/TreeView.h"

#include "platform/forms/Units.h"

#include <QMouseEvent>
#include <QScopedValueRollback>

namespace forms {

namespace {
Node *AsNode(QTreeWidgetItem *it)
{
    return dynamic_cast<Node *>(it);
}
} // namespace

// ---- Node ----

Node::Node(TreeView *tree, int index, const QString &key)
    : QTreeWidgetItem(QTreeWidgetItem::UserType + 1), m_tree(tree), m_index(index), m_key(key),
      m_foreColor(kColorWindowText)
{
    setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
}

Node *Node::Parent() const
{
    return AsNode(parent());
}

Node *Node::Child() const
{
    return childCount() > 0 ? AsNode(child(0)) : nullptr;
}

Node *Node::Next() const
{
    if (QTreeWidgetItem *p = parent()) {
        const int i = p->indexOfChild(const_cast<Node *>(this));
        return i + 1 < p->childCount() ? AsNode(p->child(i + 1)) : nullptr;
    }
    QTreeWidget *t = treeWidget();
    if (!t)
        return nullptr;
    const int i = t->indexOfTopLevelItem(const_cast<Node *>(this));
    return i + 1 < t->topLevelItemCount() ? AsNode(t->topLevelItem(i + 1)) : nullptr;
}

Node *Node::Previous() const
{
    if (QTreeWidgetItem *p = parent()) {
        const int i = p->indexOfChild(const_cast<Node *>(this));
        return i > 0 ? AsNode(p->child(i - 1)) : nullptr;
    }
    QTreeWidget *t = treeWidget();
    if (!t)
        return nullptr;
    const int i = t->indexOfTopLevelItem(const_cast<Node *>(this));
    return i > 0 ? AsNode(t->topLevelItem(i - 1)) : nullptr;
}

Node *Node::FirstSibling() const
{
    if (QTreeWidgetItem *p = parent())
        return AsNode(p->child(0));
    QTreeWidget *t = treeWidget();
    return t ? AsNode(t->topLevelItem(0)) : const_cast<Node *>(this);
}

Node *Node::LastSibling() const
{
    if (QTreeWidgetItem *p = parent())
        return AsNode(p->child(p->childCount() - 1));
    QTreeWidget *t = treeWidget();
    return t ? AsNode(t->topLevelItem(t->topLevelItemCount() - 1)) : const_cast<Node *>(this);
}

Node *Node::Root() const
{
    Node *n = const_cast<Node *>(this);
    while (Node *p = n->Parent())
        n = p;
    return n;
}

void Node::SetImage(const QString &key)
{
    m_image = key;
    RefreshIcon();
}

void Node::SetSelectedImage(const QString &key)
{
    m_selectedImage = key;
    RefreshIcon();
}

void Node::SetExpandedImage(const QString &key)
{
    m_expandedImage = key;
    RefreshIcon();
}

QString Node::ShownImage() const
{
    if (Selected() && !m_selectedImage.isEmpty())
        return m_selectedImage;
    if (Expanded() && !m_expandedImage.isEmpty())
        return m_expandedImage;
    return m_image;
}

void Node::RefreshIcon()
{
    const ImageList *images = m_tree ? m_tree->m_images : nullptr;
    const QString key = ShownImage();
    setIcon(0, images && !key.isEmpty() ? images->Icon(key) : QIcon());
}

void Node::SetBold(bool bold)
{
    QFont f = font(0);
    f.setBold(bold);
    setFont(0, f);
}

void Node::SetForeColor(int color)
{
    m_foreColor = color;
    setForeground(0, QBrush(ToQColor(color)));
}

void Node::ShowCheckBox(bool on)
{
    QScopedValueRollback byCode(m_tree->m_byCode, true);
    if (on) {
        setCheckState(0, m_checked ? Qt::Checked : Qt::Unchecked);
        setFlags(flags() | Qt::ItemIsUserCheckable);
    } else {
        setFlags(flags() & ~Qt::ItemIsUserCheckable);
        setData(0, Qt::CheckStateRole, QVariant());
    }
}

void Node::SetChecked(bool checked)
{
    m_checked = checked;
    if (m_tree && m_tree->m_checkboxes) {
        QScopedValueRollback byCode(m_tree->m_byCode, true);
        setCheckState(0, checked ? Qt::Checked : Qt::Unchecked);
    }
}

void Node::SetExpanded(bool expanded)
{
    {
        QScopedValueRollback byCode(m_tree->m_byCode, true);
        setExpanded(expanded);
    }
    RefreshIcon();
}

bool Node::Selected() const
{
    QTreeWidget *t = treeWidget();
    return t && t->currentItem() == this;
}

void Node::SetSelected(bool selected)
{
    QTreeWidget *t = treeWidget();
    if (!t)
        return;
    QScopedValueRollback byCode(m_tree->m_byCode, true);
    if (selected)
        t->setCurrentItem(this);
    else if (t->currentItem() == this)
        t->setCurrentItem(nullptr);
}

void Node::EnsureVisible()
{
    for (Node *p = Parent(); p; p = p->Parent())
        if (!p->Expanded())
            p->SetExpanded(true);
    if (QTreeWidget *t = treeWidget())
        t->scrollToItem(this);
}

// ---- TreeView ----

void TreeView::SetWholeNames()
{
    header()->setStretchLastSection(false);
    header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
}

TreeView::TreeView(QWidget *parent) : QTreeWidget(parent)
{
    setColumnCount(1);
    setHeaderHidden(true);
    setRootIsDecorated(true);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setIconSize(QSize(16, 16));
    setUniformRowHeights(true);
    connect(this, &QTreeWidget::itemChanged, this, [this](QTreeWidgetItem *it, int) { OnItemChanged(it); });
    connect(this, &QTreeWidget::currentItemChanged, this, &TreeView::OnCurrentChanged);
    connect(this, &QTreeWidget::itemExpanded, this, [this](QTreeWidgetItem *it) {
        if (Node *n = AsNode(it)) {
            n->RefreshIcon();
            if (!m_byCode)
                emit Expand(n);
        }
    });
    connect(this, &QTreeWidget::itemCollapsed, this, [this](QTreeWidgetItem *it) {
        if (Node *n = AsNode(it)) {
            n->RefreshIcon();
            if (!m_byCode)
                emit Collapse(n);
        }
    });
    connect(this, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem *it, int) {
        if (m_userTicked) {   // the click went to the tick box: NodeCheck has been raised
            m_userTicked = false;
            return;
        }
        if (Node *n = AsNode(it))
            emit NodeClick(n);
    });
}

Node *TreeView::Add(Node *relative, Relationship relationship, const QString &key, const QString &text,
                    const QString &image, const QString &selectedImage)
{
    if (relative && relative->m_tree != this)
        return nullptr;
    if (!key.isEmpty() && m_keys.contains(key))
        return nullptr;

    QTreeWidgetItem *parent = nullptr;
    int pos = 0;
    auto siblingsOf = [this](Node *n, QTreeWidgetItem *&p) {
        p = n->parent();
        return p ? p->childCount() : topLevelItemCount();
    };
    auto indexOf = [this](Node *n) {
        return n->parent() ? n->parent()->indexOfChild(n) : indexOfTopLevelItem(n);
    };
    if (!relative) {
        pos = relationship == First ? 0 : topLevelItemCount();
    } else {
        switch (relationship) {
        case Child:
            parent = relative;
            pos = relative->childCount();
            break;
        case First:
            siblingsOf(relative, parent);
            pos = 0;
            break;
        case Next:
            siblingsOf(relative, parent);
            pos = indexOf(relative) + 1;
            break;
        case Previous:
            siblingsOf(relative, parent);
            pos = indexOf(relative);
            break;
        case Last:
        default:
            pos = siblingsOf(relative, parent);
            break;
        }
    }

    auto *node = new Node(this, int(m_nodes.size()) + 1, key);
    node->setText(0, text);
    node->m_image = image;
    node->m_selectedImage = selectedImage;
    {
        QScopedValueRollback byCode(m_byCode, true);
        if (parent)
            parent->insertChild(pos, node);
        else
            insertTopLevelItem(pos, node);
        if (m_checkboxes)
            node->ShowCheckBox(true);
    }
    m_nodes.append(node);
    if (!key.isEmpty())
        m_keys.insert(key, node);
    node->RefreshIcon();
    return node;
}

Node *TreeView::Nodes(int index) const
{
    return index >= 1 && index <= m_nodes.size() ? m_nodes[index - 1] : nullptr;
}

Node *TreeView::Nodes(const QString &key) const
{
    return key.isEmpty() ? nullptr : m_keys.value(key, nullptr);
}

void TreeView::Clear()
{
    {
        QScopedValueRollback byCode(m_byCode, true);
        QScopedValueRollback clearing(m_clearing, true);
        clear();
    }
    m_nodes.clear();
    m_keys.clear();
}

Node *TreeView::SelectedItem() const
{
    return AsNode(currentItem());
}

void TreeView::SetSelectedItem(Node *node)
{
    if (node && node->m_tree == this)
        node->SetSelected(true);
    else if (!node) {
        QScopedValueRollback byCode(m_byCode, true);
        setCurrentItem(nullptr);
    }
}

void TreeView::SetImageList(const ImageList *list)
{
    m_images = list;
    for (Node *n : std::as_const(m_nodes))
        n->RefreshIcon();
}

void TreeView::SetCheckboxes(bool on)
{
    if (m_checkboxes == on)
        return;
    m_checkboxes = on;
    for (Node *n : std::as_const(m_nodes))
        n->ShowCheckBox(on);
}

void TreeView::OnItemChanged(QTreeWidgetItem *item)
{
    if (!m_checkboxes || m_clearing)
        return;
    Node *n = AsNode(item);
    if (!n || !(n->flags() & Qt::ItemIsUserCheckable) || !n->data(0, Qt::CheckStateRole).isValid())
        return;
    const bool now = n->checkState(0) == Qt::Checked;
    if (now == n->m_checked)
        return;
    n->m_checked = now;
    if (!m_byCode) {
        m_userTicked = true;
        emit NodeCheck(n);
    }
}

void TreeView::OnCurrentChanged(QTreeWidgetItem *current, QTreeWidgetItem *previous)
{
    if (m_clearing)
        return;
    if (Node *p = AsNode(previous))
        p->RefreshIcon();
    if (Node *c = AsNode(current))
        c->RefreshIcon();
}

void TreeView::mousePressEvent(QMouseEvent *e)
{
    m_userTicked = false;
    QTreeWidget::mousePressEvent(e);
}

void TreeView::mouseReleaseEvent(QMouseEvent *e)
{
    QTreeWidget::mouseReleaseEvent(e);
    m_userTicked = false;
    const QPoint p = e->position().toPoint();
    emit MouseUp(ButtonBits(e->button()), ShiftBits(e->modifiers()), PixelsToTwips(p.x()), PixelsToTwips(p.y()));
}

} // namespace forms
