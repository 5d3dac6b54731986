#include "platform/forms/TreeView.h"
#include "platform/forms/Units.h"

#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

using forms::Node;
using forms::TreeView;

namespace {

QStringList Texts(const TreeView &t)
{
    QStringList out;
    for (int i = 1; i <= t.Count(); ++i)
        out << t.Nodes(i)->Text();
    return out;
}

QString Structure(Node *n)
{
    QString s = n->Text();
    if (n->Children()) {
        QStringList kids;
        for (Node *c = n->Child(); c; c = c->Next())
            kids << Structure(c);
        s += "(" + kids.join(",") + ")";
    }
    return s;
}

QString Structure(const TreeView &t)
{
    QStringList roots;
    for (int i = 0; i < t.topLevelItemCount(); ++i)
        roots << Structure(static_cast<Node *>(t.topLevelItem(i)));
    return roots.join(",");
}

// The project tree as the windows fill it: projects bold, tasks as children, categories under
// the tasks, the tag holding the id.
struct ProjectTree : ::testing::Test {
    TreeView tree;
    Node *p1 = nullptr, *p2 = nullptr, *t1 = nullptr, *t2 = nullptr, *c1 = nullptr, *c2 = nullptr;
    void SetUp() override
    {
        tree.SetImageList(&forms::ProjectTreeImages());
        p1 = Project("Alpha", "10");
        t1 = Task(p1, "Build", "101");
        c1 = Categ(t1, "Coding", "7");
        c2 = Categ(t1, "Review", "8");
        p2 = Project("Beta", "20");
        t2 = Task(p2, "Plan", "201");
        tree.resize(300, 300);
    }
    Node *Project(const QString &text, const QString &id)
    {
        Node *n = tree.Add(nullptr, TreeView::Last, QString(), text, "work_closed");
        n->SetBold(true);
        n->SetExpandedImage("work_open");
        n->SetTag(id);
        return n;
    }
    Node *Task(Node *p, const QString &text, const QString &id)
    {
        Node *n = tree.Add(p, TreeView::Child, QString(), text, "folder_closed");
        n->SetExpandedImage("folder_open");
        n->SetTag(id);
        return n;
    }
    Node *Categ(Node *t, const QString &text, const QString &id)
    {
        Node *n = tree.Add(t, TreeView::Child, QString(), text, "act_normal", "act_sel");
        n->SetTag(id);
        return n;
    }
    static bool ShowsPicture(Node *n, const QString &key)
    {
        const QImage want = forms::ProjectTreeImages().Picture(key).toImage();
        const QImage shown = n->icon(0).pixmap(16, 16).toImage().convertToFormat(want.format());
        return !want.isNull() && shown == want;
    }
};

} // namespace

TEST_F(ProjectTree, NodesKeepTheOrderOfAddingWhereverTheySit)
{
    // Added in this order: Alpha, Build, Coding, Review, Beta, Plan; then a task of Alpha and
    // a category of Plan after everything else.
    Node *t3 = Task(p1, "Test", "102");
    Node *c3 = Categ(t2, "Meeting", "9");
    EXPECT_EQ(Texts(tree), (QStringList{"Alpha", "Build", "Coding", "Review", "Beta", "Plan", "Test", "Meeting"}));
    EXPECT_EQ(Structure(tree), "Alpha(Build(Coding,Review),Test),Beta(Plan(Meeting))");
    EXPECT_EQ(t3->Index(), 7);
    EXPECT_EQ(c3->Index(), 8);
    EXPECT_EQ(tree.Count(), 8);
    EXPECT_EQ(tree.Nodes(0), nullptr);
    EXPECT_EQ(tree.Nodes(9), nullptr);

    // Family of a category: task and project above it.
    EXPECT_EQ(c2->Parent(), t1);
    EXPECT_EQ(c2->Parent()->Parent(), p1);
    EXPECT_EQ(p1->Parent(), nullptr);
    EXPECT_EQ(c2->Root(), p1);
    EXPECT_EQ(c2->Parent()->Tag(), "101");
    EXPECT_EQ(c2->Parent()->Parent()->Tag(), "10");
    EXPECT_EQ(p1->Children(), 2);
    EXPECT_EQ(t1->Children(), 2);
    EXPECT_EQ(c1->Children(), 0);
    EXPECT_EQ(t1->Child(), c1);
    EXPECT_EQ(c1->Next(), c2);
    EXPECT_EQ(c2->Next(), nullptr);
    EXPECT_EQ(c2->Previous(), c1);
    EXPECT_EQ(p1->Next(), p2);
    EXPECT_EQ(t3->FirstSibling(), t1);
    EXPECT_EQ(t1->LastSibling(), t3);
    EXPECT_TRUE(p1->Bold());
    EXPECT_FALSE(t1->Bold());

    // A parent's children follow it directly in index order when it was filled parent first.
    EXPECT_EQ(tree.Nodes(p1->Index() + 1), t1);
    EXPECT_EQ(tree.Nodes(t1->Index() + 1), c1);
}

TEST_F(ProjectTree, RelationshipsPlaceNodesAndKeysAreUnique)
{
    TreeView t;
    Node *b = t.Add(nullptr, TreeView::Last, "b", "B");
    Node *d = t.Add(b, TreeView::Last, "d", "D");            // last sibling of b: a root
    t.Add(nullptr, TreeView::First, "a", "A");               // first root
    t.Add(d, TreeView::Previous, "c", "C");                  // before d
    t.Add(d, TreeView::Next, "e", "E");                      // after d
    t.Add(b, TreeView::Child, "b1", "B1");
    t.Add(t.Nodes("b1"), TreeView::First, "b0", "B0");      // first child of b
    t.Add(t.Nodes(1), int(TreeView::Child), "", "B2");       // the relationship as a number
    EXPECT_EQ(Structure(t), "A,B(B0,B1,B2),C,D,E");
    EXPECT_EQ(Texts(t), (QStringList{"B", "D", "A", "C", "E", "B1", "B0", "B2"}));
    EXPECT_EQ(t.Nodes("c")->Text(), "C");
    EXPECT_EQ(t.Nodes("c")->Key(), "c");
    EXPECT_EQ(t.Nodes("missing"), nullptr);

    // A key in use adds nothing; empty keys may repeat.
    EXPECT_EQ(t.Add(nullptr, TreeView::Last, "c", "again"), nullptr);
    EXPECT_NE(t.Add(nullptr, TreeView::Last, "", "x"), nullptr);
    EXPECT_EQ(t.Count(), 9);
    // A node of another tree is no relative here.
    EXPECT_EQ(t.Add(p1, TreeView::Child, "", "stray"), nullptr);

    t.Clear();
    EXPECT_EQ(t.Count(), 0);
    EXPECT_EQ(t.Nodes(1), nullptr);
    EXPECT_EQ(t.Nodes("c"), nullptr);
    Node *again = t.Add(nullptr, TreeView::Last, "c", "C2");
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(again->Index(), 1);
}

TEST_F(ProjectTree, PicturesFollowExpandAndSelect)
{
    ASSERT_EQ(forms::ProjectTreeImages().Count(), 6);
    EXPECT_EQ(p1->ShownImage(), "work_closed");
    EXPECT_TRUE(ShowsPicture(p1, "work_closed"));
    EXPECT_EQ(t1->ShownImage(), "folder_closed");
    EXPECT_TRUE(ShowsPicture(c1, "act_normal"));

    QSignalSpy expand(&tree, &TreeView::Expand);
    QSignalSpy collapse(&tree, &TreeView::Collapse);
    p1->SetExpanded(true);
    EXPECT_TRUE(p1->Expanded());
    EXPECT_TRUE(ShowsPicture(p1, "work_open"));
    t1->SetExpanded(true);
    EXPECT_TRUE(ShowsPicture(t1, "folder_open"));
    p1->SetExpanded(false);
    EXPECT_TRUE(ShowsPicture(p1, "work_closed"));
    EXPECT_EQ(expand.count() + collapse.count(), 0);   // code raises no events

    // Opened and closed by the person (through the view): events and pictures.
    tree.expandItem(p2);
    EXPECT_EQ(expand.count(), 1);
    EXPECT_EQ(expand.at(0).at(0).value<Node *>(), p2);
    EXPECT_TRUE(ShowsPicture(p2, "work_open"));
    tree.collapseItem(p2);
    EXPECT_EQ(collapse.count(), 1);
    EXPECT_TRUE(ShowsPicture(p2, "work_closed"));

    // The selected picture is shown only while the node is the selected one.
    c1->SetSelected(true);
    EXPECT_EQ(tree.SelectedItem(), c1);
    EXPECT_TRUE(c1->Selected());
    EXPECT_TRUE(ShowsPicture(c1, "act_sel"));
    c2->SetSelected(true);
    EXPECT_TRUE(ShowsPicture(c2, "act_sel"));
    EXPECT_TRUE(ShowsPicture(c1, "act_normal"));
    EXPECT_FALSE(c1->Selected());
    // A node without a selected picture keeps its own when selected.
    t1->SetSelected(true);
    EXPECT_EQ(t1->ShownImage(), "folder_open");

    // Changing the keys changes the pictures at once (the loader's tick pictures).
    c2->SetImage("act_sel");
    c2->SetSelectedImage("act_sel");
    EXPECT_TRUE(ShowsPicture(c2, "act_sel"));
    // Unknown keys show no picture.
    c2->SetImage("no_such_key");
    EXPECT_TRUE(c2->icon(0).isNull());
}

TEST_F(ProjectTree, ClicksRaiseNodeClickButCodeDoesNot)
{
    QSignalSpy click(&tree, &TreeView::NodeClick);
    c1->EnsureVisible();   // opens Alpha and Build
    EXPECT_TRUE(p1->Expanded());
    EXPECT_TRUE(t1->Expanded());
    EXPECT_TRUE(ShowsPicture(t1, "folder_open"));
    c1->SetSelected(true);
    tree.SetSelectedItem(c2);
    EXPECT_EQ(click.count(), 0);

    tree.show();
    QApplication::processEvents();
    const QRect r = tree.visualItemRect(c1);
    ASSERT_TRUE(r.isValid());
    QTest::mouseClick(tree.viewport(), Qt::LeftButton, {}, r.center());
    ASSERT_EQ(click.count(), 1);
    EXPECT_EQ(click.at(0).at(0).value<Node *>(), c1);
    EXPECT_EQ(tree.SelectedItem(), c1);
    // Clicking the selected node again still counts.
    QTest::mouseClick(tree.viewport(), Qt::LeftButton, {}, r.center());
    EXPECT_EQ(click.count(), 2);
}

TEST_F(ProjectTree, TicksByCodeAreQuietTicksByThePersonRaiseNodeCheck)
{
    QSignalSpy check(&tree, &TreeView::NodeCheck);
    c1->SetChecked(true);   // before the boxes are shown: kept and shown later
    tree.SetCheckboxes(true);
    EXPECT_EQ(c1->checkState(0), Qt::Checked);
    EXPECT_EQ(c2->checkState(0), Qt::Unchecked);
    c2->SetChecked(true);
    EXPECT_TRUE(c2->Checked());
    EXPECT_EQ(check.count(), 0);

    // The view toggling the box (as a click on it does) is the person's tick.
    c2->setCheckState(0, Qt::Unchecked);
    ASSERT_EQ(check.count(), 1);
    EXPECT_EQ(check.at(0).at(0).value<Node *>(), c2);
    EXPECT_FALSE(c2->Checked());
    // Other changes of the node are no tick.
    c2->SetText("Review 2");
    c2->SetForeColor(255);
    EXPECT_EQ(check.count(), 1);
    EXPECT_EQ(c2->ForeColor(), 255);
    EXPECT_EQ(c2->foreground(0).color(), QColor(255, 0, 0));
}
