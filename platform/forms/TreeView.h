#pragma once
// A tree of nodes kept in the order they were added: Nodes(1) is the first node added,
// Nodes(Count()) the last, wherever each sits in the tree. A node has a text, a free Tag, an
// optional unique Key, and pictures named by keys of the tree's image list: its Image, the
// SelectedImage shown while it is the selected node and the ExpandedImage shown while it is
// expanded (the selected picture wins when both apply).
//
// Events: NodeClick (the person clicked a node; not for a click on its tick box or its
// expand sign), NodeCheck (the person ticked or unticked it), Expand / Collapse (the person
// opened or closed it), MouseUp (button bits, shift bits, x and y in twips). Changes made
// by code raise none of them.
#include "platform/forms/ImageList.h"

#include <QHash>
#include <QList>
#include <QTreeWidget>

namespace forms {

class TreeView;

class Node : public QTreeWidgetItem {
public:
    int Index() const { return m_index; }   // 1-based, in the order of adding
    QString Key() const { return m_key; }
    QString Tag() const { return m_tag; }
    void SetTag(const QString &tag) { m_tag = tag; }
    QString Text() const { return text(0); }
    void SetText(const QString &t) { setText(0, t); }

    Node *Parent() const;          // nullptr for a root node
    int Children() const { return childCount(); }
    Node *Child() const;           // the first child, or nullptr
    Node *Next() const;            // the next sibling, or nullptr
    Node *Previous() const;
    Node *FirstSibling() const;
    Node *LastSibling() const;
    Node *Root() const;            // the root node above it (itself for a root node)

    QString Image() const { return m_image; }
    void SetImage(const QString &key);
    QString SelectedImage() const { return m_selectedImage; }
    void SetSelectedImage(const QString &key);
    QString ExpandedImage() const { return m_expandedImage; }
    void SetExpandedImage(const QString &key);
    // The key of the picture the node shows now.
    QString ShownImage() const;

    bool Bold() const { return font(0).bold(); }
    void SetBold(bool bold);
    int ForeColor() const { return m_foreColor; }   // red in the low byte (Units.h)
    void SetForeColor(int color);
    bool Checked() const { return m_checked; }
    void SetChecked(bool checked);

    bool Expanded() const { return isExpanded(); }
    void SetExpanded(bool expanded);
    bool Selected() const;
    void SetSelected(bool selected);
    // Opens every node above it and scrolls it into view.
    void EnsureVisible();

    TreeView *Tree() const { return m_tree; }

private:
    friend class TreeView;
    Node(TreeView *tree, int index, const QString &key);
    void RefreshIcon();
    void ShowCheckBox(bool on);

    TreeView *m_tree;
    int m_index;
    QString m_key;
    QString m_tag;
    QString m_image;
    QString m_selectedImage;
    QString m_expandedImage;
    int m_foreColor;
    bool m_checked = false;
};

class TreeView : public QTreeWidget {
    Q_OBJECT
public:
    // Where Add puts the new node relative to the relative node.
    enum Relationship { First = 0, Last = 1, Next = 2, Previous = 3, Child = 4 };

    explicit TreeView(QWidget *parent = nullptr);

    // Adds a node. Without a relative node it goes to the end of the roots (to their front
    // for First). Child: the last child of relative; Last / First: the last / first sibling of
    // relative; Next / Previous: right after / before relative. A non-empty key already used
    // by another node adds nothing and gives nullptr.
    Node *Add(Node *relative, Relationship relationship, const QString &key, const QString &text,
              const QString &image = QString(), const QString &selectedImage = QString());
    Node *Add(Node *relative, int relationship, const QString &key, const QString &text,
              const QString &image = QString(), const QString &selectedImage = QString())
    {
        return Add(relative, Relationship(relationship), key, text, image, selectedImage);
    }

    int Count() const { return int(m_nodes.size()); }
    Node *Nodes(int index) const;             // 1-based; nullptr out of range
    Node *Nodes(const QString &key) const;    // by key; nullptr when none
    void Clear();

    Node *SelectedItem() const;
    void SetSelectedItem(Node *node);

    // The image list whose keys the nodes' pictures name (not owned; it must outlive the tree).
    void SetImageList(const ImageList *list);
    const ImageList *GetImageList() const { return m_images; }

    // Names are never shortened with "...": the column is as wide as the widest name shown and a
    // name wider than the tree is reached with the horizontal scroll bar.
    void SetWholeNames();

    // A tick box on every node.
    bool Checkboxes() const { return m_checkboxes; }
    void SetCheckboxes(bool on);

signals:
    void NodeClick(forms::Node *node);
    void NodeCheck(forms::Node *node);
    void Expand(forms::Node *node);
    void Collapse(forms::Node *node);
    void MouseUp(int button, int shift, double x, double y);

protected:
    void mousePressEvent(QMouseEvent *e) override;
    void mouseReleaseEvent(QMouseEvent *e) override;

private:
    friend class Node;
    void OnItemChanged(QTreeWidgetItem *item);
    void OnCurrentChanged(QTreeWidgetItem *current, QTreeWidgetItem *previous);

    QList<Node *> m_nodes;
    QHash<QString, Node *> m_keys;
    const ImageList *m_images = nullptr;
    bool m_checkboxes = false;
    bool m_byCode = false;       // a change made through this API: no events
    bool m_userTicked = false;   // the click being handled toggled a tick box
    bool m_clearing = false;
};

} // namespace forms
