// The synchronisation window through its controls, without the service: the day lists, the
// range check with its message, the skip boxes, the log and its full-text box, the received
// tree with expand and collapse, the menus' views, the toolbar marker and the captions.
#include "core/FMessage.h"
#include "core/frmMain.h"
#include "core/modMain.h"
#include "platform/dao/dao.h"
#include "platform/forms/ComboBox.h"
#include "platform/forms/FlexGrid.h"
#include "platform/forms/Label.h"
#include "platform/forms/TreeView.h"
#include "platform/forms/Units.h"
#include "store/modDBchr.h"
#include "sync/frmSynch.h"
#include "tests/support/ProgramFixture.h"
#include "tests/support/TestEnv.h"

#include <QAbstractButton>
#include <QAction>
#include <QElapsedTimer>
#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

using namespace modMain;

namespace {

class SynchWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(testenv::OpenProgramFolder(m_dir));
        ASSERT_NO_FATAL_FAILURE(testenv::AddCurrentUser());
    }
    void TearDown() override
    {
        LangID = 0;
        frmSynch::Unload();
        frmMain::Unload();
        testenv::CloseDatabase();
    }

    static void AddEntry(double id, int32_t day, int started, int user = -1)
    {
        DB->Execute(QStringLiteral("INSERT INTO tblDaily (cID, cUsrID, cName, cStarted, cStarttime, cSec, cDate, "
                                   "cTaskID, cCatID, cChk) VALUES (?, ?, 'x', ?, 3600, 60, ?, 10, 100, 0)"),
                    dao::dbFailOnError, {id, user < 0 ? int(CurrentUserID) : user, started, double(day)});
    }
    static void AddExpense(double id, int32_t day)
    {
        DB->Execute(QStringLiteral("INSERT INTO tblDailyExp (cID, cUsrID, cExpID, cAmount, cDate, cTime, cTaskID, "
                                   "cProjID, cPayee, cChk) VALUES (?, ?, 7, '1.00', ?, 0, 10, 1, 'p', 0)"),
                    dao::dbFailOnError, {id, CurrentUserID, double(day)});
    }

    static QList<int> Days(const forms::ComboBox *list)
    {
        QList<int> out;
        for (int i = 1; i < list->ListCount(); ++i)
            out << list->ItemData(i);
        return out;
    }

    // Picks an item as the person does: the list changes and tells of the pick.
    static void Pick(forms::ComboBox *list, int index)
    {
        list->setCurrentIndex(index);
        emit list->activated(index);
    }

    // The next message box: its text and whether its icon shows, then OK.
    struct Box {
        QString text;
        bool icon = false;
        bool seen = false;
    };
    static void WatchNextBox(Box *box)
    {
        auto *timer = new QTimer;
        auto *clock = new QElapsedTimer;
        clock->start();
        timer->setInterval(20);
        QObject::connect(timer, &QTimer::timeout, [timer, clock, box] {
            auto *m = qobject_cast<FMessage *>(QApplication::activeModalWidget());
            QAbstractButton *ok = m ? m->findChild<QAbstractButton *>(QStringLiteral("btnOK")) : nullptr;
            if (ok || clock->elapsed() > 5000) {
                timer->stop();
                timer->deleteLater();
                delete clock;
            }
            if (ok) {
                box->seen = true;
                box->text = m->lblMessage->text();
                box->icon = !m->picIcon->isHidden();
                ok->click();
            }
        });
        timer->start();
    }

    QString m_dir;
};

} // namespace

TEST_F(SynchWindowTest, TheDayListsHoldAllThenTheDaysWithRecordedEntries)
{
    AddEntry(1, 20070110, 0);
    AddEntry(2, 20070105, 0);
    AddEntry(3, 20070105, 0);
    AddEntry(4, 20070120, 1);                 // the timers window's running row
    AddEntry(5, 20070121, 2);                 // and a parked one
    AddEntry(6, 20070122, 0, CurrentUserID + 7);   // another person's
    AddExpense(1, 20070203);
    frmSynch *w = frmSynch::Get();
    for (forms::ComboBox *list : {w->cmbTimeFrom, w->cmbTimeTo, w->cmbExpFrom, w->cmbExpTo}) {
        EXPECT_EQ(list->List(0), QStringLiteral("<ALL>"));
        EXPECT_EQ(list->ListIndex(), 0);
    }
    EXPECT_EQ(Days(w->cmbTimeFrom), (QList<int>{20070105, 20070110}));
    EXPECT_EQ(Days(w->cmbTimeTo), (QList<int>{20070105, 20070110}));
    EXPECT_EQ(Days(w->cmbExpFrom), QList<int>{20070203});
    EXPECT_EQ(w->cmbTimeFrom->List(1), ShortDateText(QDate(2007, 1, 5)));
}

TEST_F(SynchWindowTest, WithoutEntriesTheListsHoldOnlyAll)
{
    frmSynch *w = frmSynch::Get();
    EXPECT_EQ(w->cmbTimeFrom->ListCount(), 1);
    EXPECT_EQ(w->cmbExpTo->ListCount(), 1);
}

TEST_F(SynchWindowTest, PickingInOneListOfAPairMovesTheOther)
{
    AddEntry(1, 20070105, 0);
    AddEntry(2, 20070110, 0);
    AddEntry(3, 20070115, 0);
    frmSynch *w = frmSynch::Get();
    Pick(w->cmbTimeFrom, 2);
    EXPECT_EQ(w->cmbTimeTo->ListIndex(), 2) << "To follows a day picked while it shows <ALL>";
    Pick(w->cmbTimeTo, 3);
    EXPECT_EQ(w->cmbTimeFrom->ListIndex(), 2) << "both on days: nothing else moves";
    Pick(w->cmbTimeTo, 1);
    EXPECT_EQ(w->cmbTimeFrom->ListIndex(), 2) << "a From after To is allowed until the send";
    Pick(w->cmbTimeTo, 0);
    EXPECT_EQ(w->cmbTimeFrom->ListIndex(), 0);
    EXPECT_EQ(w->cmbExpFrom->ListIndex(), 0) << "the other pair is not touched";
}

TEST_F(SynchWindowTest, TheRangeCheckRefusesAReversedRangeOfAKindThatIsSent)
{
    AddEntry(1, 20070105, 0);
    AddEntry(2, 20070110, 0);
    AddExpense(1, 20070105);
    AddExpense(2, 20070110);
    frmSynch *w = frmSynch::Get();
    w->show();
    EXPECT_FALSE(w->CheckDates()) << "<ALL> on every list";

    Pick(w->cmbTimeFrom, 2);
    Pick(w->cmbTimeTo, 1);
    Box box;
    WatchNextBox(&box);
    EXPECT_TRUE(w->CheckDates());
    EXPECT_TRUE(box.seen);
    EXPECT_EQ(box.text, GetLangString(832));
    EXPECT_TRUE(box.icon);

    // The same reversed time range does not stop a send of the expenses alone.
    w->chk[0]->click();
    EXPECT_FALSE(w->CheckDates());
    // A reversed expense range stops it; equal days pass.
    Pick(w->cmbExpFrom, 2);
    Pick(w->cmbExpTo, 1);
    Box second;
    WatchNextBox(&second);
    EXPECT_TRUE(w->CheckDates());
    EXPECT_TRUE(second.seen);
    Pick(w->cmbExpTo, 2);
    EXPECT_FALSE(w->CheckDates());
    // And a refused range sends nothing: the log stays empty.
    Pick(w->cmbExpTo, 1);
    Box third;
    WatchNextBox(&third);
    w->btnConnect[1]->click();
    EXPECT_TRUE(third.seen);
    EXPECT_EQ(w->lstLog->Rows(), 0);
}

TEST_F(SynchWindowTest, TickingBothSkipBoxesDisablesTheSend)
{
    frmSynch *w = frmSynch::Get();
    w->show();
    EXPECT_TRUE(w->btnConnect[1]->isEnabled());
    w->chk[0]->click();
    EXPECT_TRUE(w->btnConnect[1]->isEnabled());
    w->chk[1]->click();
    EXPECT_FALSE(w->btnConnect[1]->isEnabled());
    EXPECT_TRUE(w->mnuSynch_User->isEnabled()) << "the menu still runs the common start";
    w->chk[0]->click();
    EXPECT_TRUE(w->btnConnect[1]->isEnabled());
}

TEST_F(SynchWindowTest, LogLinesTakeTheLooksOfTheirKindAndAClickShowsTheWholeLine)
{
    frmSynch *w = frmSynch::Get();
    w->show();
    w->txtFull->setText(QStringLiteral("before"));
    w->lstLog->setCurrentCell(-1, -1);
    emit w->lstLog->cellClicked(0, 0);
    EXPECT_EQ(w->txtFull->text(), QStringLiteral("before")) << "an empty log changes nothing";

    const struct {
        int kind, back, fore;
        bool bold;
    } looks[] = {
        {0, 0xF8E8D6, 0x000000, false}, {1, 0xF2D6B7, 0x000000, true}, {2, 0xF2D6B7, 0x000000, false},
        {3, 0x0000FF, 0xFFFFFF, false}, {4, 0xF8E8D6, 0x0000FF, false},
    };
    for (const auto &l : looks)
        w->UpdateLog(QStringLiteral("line %1").arg(l.kind), l.kind);
    w->UpdateLog(QStringLiteral("a long line of kind seven that the grid cuts but the box shows whole"), 7);
    ASSERT_EQ(w->lstLog->Rows(), 6);
    for (const auto &l : looks) {
        EXPECT_EQ(w->lstLog->CellBackColorAt(l.kind, 0), l.back) << l.kind;
        EXPECT_EQ(w->lstLog->CellForeColorAt(l.kind, 0), l.fore) << l.kind;
        EXPECT_EQ(w->lstLog->CellFontBoldAt(l.kind, 0), l.bold) << l.kind;
    }
    forms::FlexGrid fresh;
    fresh.SetRows(1);
    fresh.SetCols(1);
    EXPECT_FALSE(w->lstLog->CellFontBoldAt(5, 0));
    EXPECT_EQ(w->lstLog->CellBackColorAt(5, 0), fresh.CellBackColorAt(0, 0)) << "kind 7 keeps the grid's looks";
    EXPECT_EQ(w->lstLog->CellForeColorAt(5, 0), fresh.CellForeColorAt(0, 0));

    w->lstLog->setCurrentCell(5, 0);
    emit w->lstLog->cellClicked(5, 0);
    EXPECT_EQ(w->txtFull->text(), w->lstLog->TextMatrix(5, 0));
}

TEST_F(SynchWindowTest, TheReceivedViewsShowTheTreeOverTheLogAndExpandAndCollapseIt)
{
    frmSynch *w = frmSynch::Get();
    w->show();
    // Before any receive: the message, without an icon for the projects, with one for the rest.
    Box none;
    WatchNextBox(&none);
    w->mnuView_RecProj->trigger();
    EXPECT_TRUE(none.seen);
    EXPECT_EQ(none.text, GetLangString(822));
    EXPECT_FALSE(none.icon);
    Box noneExp;
    WatchNextBox(&noneExp);
    w->mnuView_RecExp->trigger();
    EXPECT_TRUE(noneExp.seen);
    EXPECT_TRUE(noneExp.icon);
    EXPECT_FALSE(!w->MyTree->isHidden());

    w->ProjectsReply = QStringLiteral(
        "<?xml version=\"1.0\" ?>\n<PROJECTS><PROJECT><ID>1</ID><NAME>Alpha</NAME><EXPENSES>TRUE</EXPENSES>"
        "<TASK><NAME>Design</NAME><ID>10</ID><EXPENSES>FALSE</EXPENSES>"
        "<CATEGORY><ID>100</ID><NAME>Drawing</NAME></CATEGORY></TASK></PROJECT>"
        "<PROJECT><ID>2</ID><NAME>Beta</NAME><EXPENSES>TRUE</EXPENSES></PROJECT></PROJECTS>");
    w->ExpensesReply = QStringLiteral(
        "<?xml version=\"1.0\" ?>\n<EXPENSECATEGORIES><EXPCATEGORY><ID>7</ID><NAME>Taxi</NAME></EXPCATEGORY>"
        "</EXPENSECATEGORIES>");
    w->mnuView_RecProj->trigger();
    EXPECT_TRUE(!w->MyTree->isHidden());
    EXPECT_EQ(w->lblCon->Caption(), GetLangString(824));
    EXPECT_TRUE(w->mnuView_Expand->isVisible());
    EXPECT_TRUE(w->mnuView_Collapse->isVisible());
    ASSERT_EQ(w->MyTree->Count(), 4);
    EXPECT_EQ(w->MyTree->Nodes(1)->Tag(), QStringLiteral("isProj;1;TRUE"));
    EXPECT_EQ(w->MyTree->Nodes(2)->Tag(), QStringLiteral("isTask;10;FALSE"));
    EXPECT_EQ(w->MyTree->Nodes(3)->Tag(), QStringLiteral("isCateg;100"));
    EXPECT_EQ(w->MyTree->Nodes(3)->Parent(), w->MyTree->Nodes(2));

    w->mnuView_Expand->trigger();
    EXPECT_TRUE(!w->MyTree->isHidden());
    EXPECT_TRUE(w->MyTree->Nodes(1)->Expanded());
    EXPECT_TRUE(w->MyTree->Nodes(2)->Expanded());
    w->mnuView_Collapse->trigger();
    EXPECT_TRUE(!w->MyTree->isHidden());
    EXPECT_FALSE(w->MyTree->Nodes(1)->Expanded());
    EXPECT_FALSE(w->MyTree->Nodes(2)->Expanded());

    w->mnuView_RecExp->trigger();
    EXPECT_EQ(w->lblCon->Caption(), GetLangString(822));
    ASSERT_EQ(w->MyTree->Count(), 1);
    EXPECT_EQ(w->MyTree->Nodes(1)->Text(), QStringLiteral("Taxi"));

    w->mnuView_Log->trigger();
    EXPECT_FALSE(!w->MyTree->isHidden());
    EXPECT_FALSE(w->mnuView_Expand->isVisible());
    EXPECT_EQ(w->lblCon->Caption(), GetLangString(801));
}

TEST_F(SynchWindowTest, CaptionsInTheFourLanguages)
{
    frmSynch *w = frmSynch::Get();
    for (int lang = 0; lang < 4; ++lang) {
        LangID = int16_t(lang);
        w->ApplyLang();
        EXPECT_EQ(w->frTimeLogs->title(), GetLangString(803)) << lang;
        EXPECT_EQ(w->frExpenses->title(), GetLangString(807)) << lang;
        EXPECT_EQ(w->lbl[0]->Caption(), GetLangString(804)) << lang;
        EXPECT_EQ(w->lbl[4]->Caption(), GetLangString(805)) << lang;
        EXPECT_EQ(w->lbl[5]->Caption(), GetLangString(806)) << lang;
        EXPECT_EQ(w->btnConnect[1]->text(), GetLangString(809)) << lang;
        EXPECT_EQ(w->btnExit->text(), GetLangString(905)) << lang;
        EXPECT_EQ(w->mnuSynch->title(), GetLangString(880)) << lang;
        EXPECT_EQ(w->mnuSynch_All->text(), GetLangString(881)) << lang;
        EXPECT_EQ(w->mnuView_RecExp->text(), GetLangString(884)) << lang;
        EXPECT_EQ(w->mnuHelp_Frm->text(), GetLangString(959)) << lang;
        EXPECT_FALSE(GetLangString(809).isEmpty());
    }
    LangID = 0;
    const QString english = GetLangString(803);
    LangID = 1;
    EXPECT_NE(GetLangString(803), english) << "Greek has its own text";
    // The main window's language switch reaches this window.
    frmMain::Get()->imgFlag_Click(1);
    EXPECT_EQ(w->frTimeLogs->title(), GetLangString(803));
    frmMain::Get()->imgFlag_Click(0);
}

TEST_F(SynchWindowTest, TheWindowHoldsItsRightColumnAndMovesTheToolbarMarker)
{
    frmMain *main = frmMain::Get();
    main->show();
    frmSynch *w = frmSynch::Get();
    w->show();
    QApplication::processEvents();
    for (QWidget *c : std::initializer_list<QWidget *>{w->frTimeLogs, w->frExpenses, w->btnConnect[0], w->btnConnect[1],
                                                       w->btnExit, w->lstLog, w->txtFull}) {
        const QRect r(c->mapTo(w, QPoint(0, 0)), c->size());
        EXPECT_TRUE(w->rect().contains(r)) << c->objectName().toStdString();
    }
    w->Form_Activate();
    EXPECT_EQ(forms::Top(main->shMenu), forms::Top(main->btn[3]) - 15);
}
