// The task loader, driven through its real buttons and tree tick boxes: which categories it
// offers, which ticks it refuses, and the timers it adds to the timers window.
#include "tests/shutdown/ShutFixture.h"

#include "core/frmMain.h"
#include "core/modMain.h"
#include "platform/dao/dao.h"
#include "platform/forms/FlexGrid.h"
#include "platform/forms/TreeView.h"
#include "platform/forms/Units.h"
#include "recorder/frmLoad.h"
#include "recorder/frmStart.h"
#include "sync/frmSynch.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <QTest>

using namespace modMain;
using shuttest::AnswerBox;

namespace {

class Loader : public shuttest::TimersWindowTest {
protected:
    void TearDown() override
    {
        frmLoad::Unload();
        frmSynch::Unload();
        shuttest::TimersWindowTest::TearDown();
    }
    // Opens the loader with the timers window's button.
    frmLoad *Open()
    {
        QTest::mouseClick(w->btnLoad, Qt::LeftButton);
        QApplication::processEvents();
        return frmLoad::Peek();
    }
    forms::Node *NodeNamed(frmLoad *l, const QString &text)
    {
        for (int i = 1; i <= l->MyTree->Count(); ++i)
            if (l->MyTree->Nodes(i)->Text() == text)
                return l->MyTree->Nodes(i);
        return nullptr;
    }
    // Clicks the node's tick box with the mouse.
    void Tick(frmLoad *l, forms::Node *node)
    {
        forms::TreeView *tree = l->MyTree;
        node->EnsureVisible();
        QApplication::processEvents();
        const QRect item = tree->visualItemRect(node);
        ASSERT_TRUE(item.isValid());
        QStyleOptionViewItem opt;
        opt.initFrom(tree);
        opt.rect = item;
        opt.features |= QStyleOptionViewItem::HasCheckIndicator | QStyleOptionViewItem::HasDisplay;
        opt.text = node->Text();
        const QRect box = tree->style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &opt, tree);
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, box.center());
        QApplication::processEvents();
    }
    QStringList Timers() const
    {
        QStringList names;
        for (int r = 0; r < w->lstTimers->Rows(); ++r)
            names << Cell(r, frmStart::colName);
        return names;
    }
};

TEST_F(Loader, ShowsThePersonsTreeWithTheTimersInRed)
{
    AddMeetings();
    frmLoad *l = Open();
    ASSERT_TRUE(l);
    EXPECT_TRUE(l->isVisible());
    EXPECT_TRUE(FormLoaded[fiLoad]);
    EXPECT_EQ(l->windowTitle(), QStringLiteral("Load Categories"));
    EXPECT_EQ(l->lblHeader->text(), GetLangString(411) + QStringLiteral(":"));
    EXPECT_TRUE(l->MyTree->Checkboxes());
    // Projects in name order, each with its tasks and their categories.
    ASSERT_EQ(l->MyTree->Count(), 7);
    EXPECT_EQ(l->MyTree->Nodes(1)->Text(), QStringLiteral("Office"));
    forms::Node *meetings = NodeNamed(l, "Meetings");
    ASSERT_TRUE(meetings);
    EXPECT_EQ(NodeLevel(meetings), 2);
    EXPECT_EQ(meetings->ForeColor(), 255);
    EXPECT_NE(NodeNamed(l, "Drawing")->ForeColor(), 255);
    EXPECT_NE(NodeNamed(l, "Mail")->ForeColor(), 255);
    // The tick picture is in the shared picture list.
    EXPECT_TRUE(l->MyTree->GetImageList()->Exists(QStringLiteral("act_chk")));
    EXPECT_FALSE(l->MyTree->GetImageList()->Picture(QStringLiteral("act_chk")).isNull());

    // A second press of the timers window's button brings the same loader back.
    EXPECT_EQ(Open(), l);
}

TEST_F(Loader, APersonWithoutProjectsIsSentToDownloadThem)
{
    DB->Execute(QStringLiteral("DELETE FROM tblProjects"));
    auto box = AnswerBox(QStringLiteral("btnOK"));
    EXPECT_FALSE(Open());
    QApplication::processEvents();
    ASSERT_EQ(box->shown, 1);
    EXPECT_TRUE(box->texts[0].contains(GetLangString(411)));
    EXPECT_FALSE(frmLoad::Peek());
    EXPECT_FALSE(FormLoaded[fiLoad]);
    ASSERT_TRUE(frmSynch::Peek());
    EXPECT_TRUE(FormLoaded[fiSynch]);
    EXPECT_TRUE(frmSynch::Peek()->isVisible());
}

struct Refusal {
    const char *node;
    int16_t message;
};

TEST_F(Loader, RefusedTicksGoAtTheMouseRelease)
{
    AddMeetings();
    frmLoad *l = Open();
    ASSERT_TRUE(l);
    const Refusal cases[] = {{"Meetings", 410}, {"Website", 415}, {"Design", 415}};
    for (const Refusal &c : cases) {
        SCOPED_TRACE(c.node);
        forms::Node *n = NodeNamed(l, c.node);
        auto box = AnswerBox(QStringLiteral("btnOK"));
        Tick(l, n);
        ASSERT_EQ(box->shown, 1);
        EXPECT_TRUE(box->texts[0].contains(GetLangString(c.message)));
        EXPECT_FALSE(n->Checked());
        EXPECT_NE(n->Image(), QStringLiteral("act_chk"));
    }
    // An ordinary category is ticked and unticked without a word.
    forms::Node *drawing = NodeNamed(l, "Drawing");
    auto none = AnswerBox(QStringLiteral("btnOK"));
    Tick(l, drawing);
    EXPECT_TRUE(drawing->Checked());
    EXPECT_EQ(drawing->Image(), QStringLiteral("act_chk"));
    Tick(l, drawing);
    EXPECT_FALSE(drawing->Checked());
    EXPECT_EQ(drawing->Image(), QStringLiteral("act_normal"));
    EXPECT_EQ(drawing->SelectedImage(), QStringLiteral("act_sel"));
    QTest::qWait(100);
    EXPECT_EQ(none->shown, 0);
}

TEST_F(Loader, SelectAllAndLoadAddEveryNewCategoryOnce)
{
    AddMeetings();
    frmLoad *l = Open();
    ASSERT_TRUE(l);
    QTest::mouseClick(l->btnSelAll, Qt::LeftButton);
    EXPECT_EQ(l->btnSelAll->text(), GetLangString(414));
    for (int i = 1; i <= l->MyTree->Count(); ++i) {
        forms::Node *n = l->MyTree->Nodes(i);
        EXPECT_EQ(n->Checked(), NodeLevel(n) == 2) << n->Text().toStdString();   // red ones too
        if (n->Children()) {
            EXPECT_TRUE(n->Expanded()) << n->Text().toStdString();
        }
    }
    QTest::mouseClick(l->btnLoad, Qt::LeftButton);
    QApplication::processEvents();

    EXPECT_EQ(Timers(), (QStringList{"Meetings", "Mail", "Drawing"}));
    EXPECT_FALSE(frmLoad::Peek());
    EXPECT_FALSE(FormLoaded[fiLoad]);
    EXPECT_FALSE(w->picInfo->isVisible());
    // The new timer rows: stopped, at zero, with the ids and names of the tree.
    const int r = 1;
    EXPECT_EQ(Cell(r, frmStart::colTaskName), QStringLiteral("Admin"));
    EXPECT_EQ(Cell(r, frmStart::colProjName), QStringLiteral("Office"));
    EXPECT_EQ(Cell(r, frmStart::colCatID), QStringLiteral("2000"));
    EXPECT_EQ(Cell(r, frmStart::colTaskID), QStringLiteral("200"));
    EXPECT_EQ(Cell(r, frmStart::colProjID), QStringLiteral("20"));
    EXPECT_EQ(Cell(r, frmStart::colSecs), QStringLiteral("0"));
    EXPECT_EQ(Cell(r, frmStart::colState), QStringLiteral("0"));
    for (int col : {frmStart::colID, frmStart::colStart, frmStart::colDay, frmStart::colComment})
        EXPECT_TRUE(Cell(r, col).isEmpty()) << col;
    EXPECT_EQ(w->lstTimers->RowHeight(r), frmStart::kRowHeight);
    EXPECT_EQ(w->lstTimers->CellBackColorAt(r, frmStart::colName), frmStart::kOtherColor);

    // Loaded again in a second opening, a category stays one timer.
    l = Open();
    ASSERT_TRUE(l);
    EXPECT_EQ(NodeNamed(l, "Drawing")->ForeColor(), 255);
    QTest::mouseClick(l->btnSelAll, Qt::LeftButton);
    QTest::mouseClick(l->btnLoad, Qt::LeftButton);
    QApplication::processEvents();
    EXPECT_EQ(Timers(), (QStringList{"Meetings", "Mail", "Drawing"}));
}

TEST_F(Loader, AddKeepsTheRunningTimersColourAndThePanelShowsTheSelectedRow)
{
    // Into an empty grid: the first new row becomes the selected one, and the panel shows it.
    frmLoad *l = Open();
    ASSERT_TRUE(l);
    Tick(l, NodeNamed(l, "Drawing"));
    QTest::mouseClick(l->btnLoad, Qt::LeftButton);
    QApplication::processEvents();
    ASSERT_EQ(Timers(), (QStringList{"Drawing"}));
    EXPECT_EQ(w->lstTimers->Row(), 0);
    EXPECT_EQ(w->lTask->Caption(), QStringLiteral("Design"));
    EXPECT_EQ(w->lProj->Caption(), QStringLiteral("Website"));
    EXPECT_TRUE(w->btnStart->isEnabled());
    // Loaded timers stand parked at once.
    {
        auto rs = DB->OpenRecordset(QStringLiteral("SELECT COUNT(*) FROM tblDaily WHERE cStarted = 2"), dao::dbOpenSnapshot);
        EXPECT_EQ(rs->Value(0).toInt(), 1);
    }

    // While Drawing runs, more timers come in: Drawing keeps the running colour.
    Press(0, w->btnStart);
    ASSERT_TRUE(TimerRunning);
    l = Open();
    ASSERT_TRUE(l);
    Tick(l, NodeNamed(l, "Mail"));
    QTest::mouseClick(l->btnLoad, Qt::LeftButton);
    QApplication::processEvents();
    ASSERT_EQ(Timers(), (QStringList{"Drawing", "Mail"}));
    EXPECT_EQ(w->lstTimers->CellBackColorAt(0, frmStart::colName), frmStart::kRunColor);
    EXPECT_EQ(w->lstTimers->CellBackColorAt(1, frmStart::colName), frmStart::kOtherColor);
    EXPECT_EQ(w->lstTimers->Row(), 0);
    EXPECT_TRUE(w->btnCancel->isEnabled());   // the panel still shows the running Drawing
}

TEST_F(Loader, SelectAllTwiceUnticksEverythingAndKeepsTheTreeOpen)
{
    frmLoad *l = Open();
    ASSERT_TRUE(l);
    QTest::mouseClick(l->btnSelAll, Qt::LeftButton);
    QTest::mouseClick(l->btnSelAll, Qt::LeftButton);
    EXPECT_EQ(l->btnSelAll->text(), GetLangString(413));
    for (int i = 1; i <= l->MyTree->Count(); ++i) {
        forms::Node *n = l->MyTree->Nodes(i);
        EXPECT_FALSE(n->Checked());
        if (NodeLevel(n) == 2) {
            EXPECT_EQ(n->Image(), QStringLiteral("act_normal"));
        } else {
            EXPECT_TRUE(n->Expanded());
        }
    }
    // Nothing ticked: the loader says so and stays.
    auto box = AnswerBox(QStringLiteral("btnOK"));
    QTest::mouseClick(l->btnLoad, Qt::LeftButton);
    QApplication::processEvents();
    ASSERT_EQ(box->shown, 1);
    EXPECT_TRUE(box->texts[0].contains(GetLangString(416)));
    EXPECT_EQ(frmLoad::Peek(), l);
    EXPECT_TRUE(FormLoaded[fiLoad]);
    EXPECT_EQ(w->lstTimers->Rows(), 0);
}

TEST_F(Loader, ViewMenuAndCancel)
{
    frmLoad *l = Open();
    ASSERT_TRUE(l);
    l->mnuView_Expand->trigger();
    for (int i = 1; i <= l->MyTree->Count(); ++i) {
        if (l->MyTree->Nodes(i)->Children()) {
            EXPECT_TRUE(l->MyTree->Nodes(i)->Expanded());
        }
    }
    EXPECT_TRUE(l->MyTree->isVisible());
    l->mnuView_Collapse->trigger();
    for (int i = 1; i <= l->MyTree->Count(); ++i)
        EXPECT_FALSE(l->MyTree->Nodes(i)->Expanded());
    l->mnuHelp_Form->trigger();   // no action
    EXPECT_EQ(frmLoad::Peek(), l);

    QPointer<QMdiSubWindow> frame(qobject_cast<QMdiSubWindow *>(l->parentWidget()));
    QTest::mouseClick(l->btnClose, Qt::LeftButton);
    EXPECT_FALSE(frmLoad::Peek());
    EXPECT_FALSE(FormLoaded[fiLoad]);
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(frame);
    EXPECT_EQ(w->lstTimers->Rows(), 0);
}

TEST_F(Loader, CaptionsFollowTheLanguage)
{
    frmLoad *l = Open();
    ASSERT_TRUE(l);
    EXPECT_EQ(l->btnLoad->text(), QStringLiteral("Add"));
    LangID = 3;
    l->ApplyLang();
    EXPECT_EQ(LangID, 3);
    EXPECT_EQ(l->btnLoad->text(), QStringLiteral("Hinzufügen"));
    EXPECT_EQ(l->btnClose->text(), GetLangString(906));
    EXPECT_EQ(l->btnSelAll->text(), GetLangString(413));
    EXPECT_EQ(l->lMsg->text(), GetLangString(403));
    EXPECT_EQ(l->mnuView->title(), GetLangString(907));
    EXPECT_EQ(l->mnuView_Expand->text(), GetLangString(960));
    EXPECT_EQ(l->mnuView_Collapse->text(), GetLangString(961));
    EXPECT_EQ(l->mnuHelp->title(), GetLangString(958));
    EXPECT_EQ(l->mnuHelp_Form->text(), GetLangString(959));
    // While everything is ticked the select-all button keeps saying what it does next.
    QTest::mouseClick(l->btnSelAll, Qt::LeftButton);
    l->ApplyLang();
    EXPECT_EQ(l->btnSelAll->text(), GetLangString(414));
    LangID = 0;

    // Without a string table the design captions stay.
    frmLoad::Unload();
    const QString table = LangTableText;
    LangTableText.clear();
    l = Open();
    ASSERT_TRUE(l);
    EXPECT_EQ(l->btnLoad->text(), QStringLiteral("Load"));
    EXPECT_EQ(l->btnClose->text(), QStringLiteral("Cancel"));
    EXPECT_EQ(l->mnuView->title(), QStringLiteral("View"));
    EXPECT_EQ(l->lblHeader->text(), QStringLiteral("Select Activities to Load:"));
    LangTableText = table;
}

// The loader's frame in the main window holds the whole window, not a bare title bar.
TEST_F(Loader, ItsFrameInTheMainWindowHoldsTheWholeWindow)
{
    AddMeetings();
    frmLoad *l = Open();
    ASSERT_TRUE(l);
    auto *frame = qobject_cast<QMdiSubWindow *>(l->parentWidget());
    ASSERT_TRUE(frame);
    EXPECT_GE(l->width(), forms::TwipsToPixels(4920));
    EXPECT_GE(l->height(), forms::TwipsToPixels(6600));
    EXPECT_TRUE(frame->contentsRect().contains(l->geometry())) << frame->width() << "x" << frame->height();
    EXPECT_TRUE(l->btnLoad->isVisible());
}

} // namespace
