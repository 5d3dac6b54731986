// The project tree in its three modes, the reference look-ups and the download upserts with
// their marks, on a real database file.
#include "tests/store_queries/StoreFixture.h"

#include "platform/forms/ImageList.h"
#include "platform/forms/TreeView.h"

namespace {

using forms::Node;
using modMain::CurrentUserID;
using storetest::StoreFixture;

// One line per node in index order: depth dashes, text, tag, images, B for bold.
QStringList Describe(const forms::TreeView &tree)
{
    QStringList out;
    for (int i = 1; i <= tree.Count(); ++i) {
        const Node *n = tree.Nodes(i);
        int depth = 0;
        for (const Node *p = n->Parent(); p; p = p->Parent())
            ++depth;
        QString line = QString(depth, QLatin1Char('-')) + n->Text() + QStringLiteral(" #") + n->Tag() + QStringLiteral(" ") +
                       n->Image();
        if (!n->ExpandedImage().isEmpty())
            line += QStringLiteral(" exp:") + n->ExpandedImage();
        if (!n->SelectedImage().isEmpty())
            line += QStringLiteral(" sel:") + n->SelectedImage();
        if (n->Bold())
            line += QStringLiteral(" B");
        out << line;
    }
    return out;
}

class Tree : public StoreFixture {
protected:
    void SetUp() override
    {
        StoreFixture::SetUp();
        // User 1: "Beta" (10) allows expenses, "alpha" (20) does not, "Gamma" (30) has no tasks.
        Exec("INSERT INTO tblProjects VALUES (10, 1, 'Beta', 0, 0)");
        Exec("INSERT INTO tblProjects VALUES (20, 1, '  alpha ', 0, -1)");
        Exec("INSERT INTO tblProjects VALUES (30, 1, 'Gamma', 0, 0)");
        Exec("INSERT INTO tblProjTasks VALUES (101, 1, 'Design ', 10, 0, 0)");
        Exec("INSERT INTO tblProjTasks VALUES (102, 1, 'Build', 10, 0, -1)");
        Exec("INSERT INTO tblProjTasks VALUES (201, 1, 'Plan', 20, 0, 0)");
        Exec("INSERT INTO tblCategs VALUES (1, 1, 'Meeting', 0)");
        Exec("INSERT INTO tblCategs VALUES (2, 1, 'Coding', 0)");
        Exec("INSERT INTO tblTaskCategs VALUES (1, 101, 1, 0)");
        Exec("INSERT INTO tblTaskCategs VALUES (1, 101, 2, 0)");
        Exec("INSERT INTO tblTaskCategs VALUES (1, 101, 99, 0)");   // a category that is not stored
        Exec("INSERT INTO tblTaskCategs VALUES (1, 102, 2, 0)");
        Exec("INSERT INTO tblTaskCategs VALUES (1, 201, 1, 0)");
        // User 2 holds a project of its own and a link on user 1's task id.
        Exec("INSERT INTO tblProjects VALUES (40, 2, 'Aaa', 0, 0)");
        Exec("INSERT INTO tblProjTasks VALUES (401, 2, 'Other', 40, 0, 0)");
        Exec("INSERT INTO tblCategs VALUES (3, 2, 'Travel', 0)");
        Exec("INSERT INTO tblTaskCategs VALUES (2, 101, 3, 0)");
    }
    forms::TreeView tree;
};

TEST_F(Tree, FullTreeHasProjectsByNameTasksAndCategoriesEachParentFollowedByItsChildren)
{
    tree.Add(nullptr, forms::TreeView::Last, QString(), QStringLiteral("old node"));
    modDBchr::FillProjectTree(&tree, false, false);
    EXPECT_EQ(Describe(tree), (QStringList{
                                  "alpha #20 work_closed exp:work_open B",
                                  "-Plan #201 folder_closed exp:folder_open",
                                  "--Meeting #1 act_normal sel:act_sel",
                                  "Beta #10 work_closed exp:work_open B",
                                  "-Design #101 folder_closed exp:folder_open",
                                  "--Meeting #1 act_normal sel:act_sel",
                                  "--Coding #2 act_normal sel:act_sel",
                                  "-- #99 act_normal sel:act_sel",
                                  "-Build #102 folder_closed exp:folder_open",
                                  "--Coding #2 act_normal sel:act_sel",
                                  "Gamma #30 work_closed exp:work_open B",
                              }));
    EXPECT_EQ(modMain::NodeLevel(tree.Nodes(3)), 2);
    EXPECT_EQ(modMain::NodeLevel(tree.Nodes(2)), 1);
    EXPECT_EQ(modMain::NodeLevel(tree.Nodes(1)), 0);
    // The tree sets no expansion and no selection.
    for (int i = 1; i <= tree.Count(); ++i)
        EXPECT_FALSE(tree.Nodes(i)->Expanded());
    EXPECT_EQ(tree.SelectedItem(), nullptr);
}

TEST_F(Tree, TasksOnlyModeStopsAtTheTasksWithTheActivityPictures)
{
    modDBchr::FillProjectTree(&tree, true, false);
    EXPECT_EQ(Describe(tree), (QStringList{
                                  "alpha #20 work_closed exp:work_open B",
                                  "-Plan #201 act_normal sel:act_sel",
                                  "Beta #10 work_closed exp:work_open B",
                                  "-Design #101 act_normal sel:act_sel",
                                  "-Build #102 act_normal sel:act_sel",
                                  "Gamma #30 work_closed exp:work_open B",
                              }));
}

TEST_F(Tree, ExpensesModeLeavesOutProjectsAndTasksWithExpensesDisabled)
{
    modDBchr::FillProjectTree(&tree, true, true);
    EXPECT_EQ(Describe(tree), (QStringList{
                                  "Beta #10 work_closed exp:work_open B",
                                  "-Design #101 act_normal sel:act_sel",
                                  "Gamma #30 work_closed exp:work_open B",
                              }));
}

TEST_F(Tree, AUserWithoutProjectsGetsAnEmptyTreeAndTheProjectPicturesShow)
{
    tree.SetImageList(&forms::ProjectTreeImages());
    modDBchr::FillProjectTree(&tree, false, false);
    ASSERT_GT(tree.Count(), 0);
    EXPECT_FALSE(tree.Nodes(1)->icon(0).isNull());

    CurrentUserID = 9;
    modDBchr::FillProjectTree(&tree, false, false);
    EXPECT_EQ(tree.Count(), 0);
    EXPECT_EQ(tree.topLevelItemCount(), 0);
}

TEST_F(Tree, LookUpsByIdNamesOverAllUsersProjectOfATaskForThisUserOnly)
{
    EXPECT_EQ(modDBchr::GetCategName(3), QStringLiteral("Travel"));
    EXPECT_EQ(modDBchr::GetCategName(99), QString());
    EXPECT_EQ(modDBchr::GetProjectName(20), QStringLiteral("alpha"));
    EXPECT_EQ(modDBchr::GetProjectName(40), QStringLiteral("Aaa"));
    EXPECT_EQ(modDBchr::GetProjectName(41), QString());
    EXPECT_EQ(modDBchr::GetTaskProjectID(102), 10);
    EXPECT_EQ(modDBchr::GetTaskProjectID(401), 0);
    EXPECT_EQ(modDBchr::GetTaskProjectID(999), 0);
}

TEST_F(Tree, SelectNodeByTagOpensTheCategoryUnderItsTask)
{
    modDBchr::FillProjectTree(&tree, false, false);
    tree.hide();
    modMain::SelectNodeByTag(&tree, QStringLiteral("101"), QStringLiteral("2"));
    Node *sel = tree.SelectedItem();
    ASSERT_NE(sel, nullptr);
    EXPECT_EQ(sel->Text(), QStringLiteral("Coding"));
    EXPECT_EQ(sel->Parent()->Tag(), QStringLiteral("101"));
    EXPECT_TRUE(sel->Parent()->Expanded());
    EXPECT_TRUE(sel->Parent()->Parent()->Expanded());
    EXPECT_FALSE(tree.isHidden());

    // A category that the task does not offer (1 is under 101, 2 is not under 201): no change.
    modMain::SelectNodeByTag(&tree, QStringLiteral("201"), QStringLiteral("2"));
    EXPECT_EQ(tree.SelectedItem(), sel);
    modMain::SelectNodeByTag(&tree, QStringLiteral("555"), QStringLiteral("1"));
    EXPECT_EQ(tree.SelectedItem(), sel);
}

// ---- upserts -----------------------------------------------------------------------------

class Upserts : public StoreFixture {
protected:
    QVariantList Row(const QString &sql, const QVariantList &params = {})
    {
        auto rs = modMain::DB->OpenRecordset(sql, dao::dbOpenSnapshot, params);
        QVariantList out;
        if (rs->RecordCount() > 0) {
            rs->MoveFirst();
            for (int i = 0; i < rs->FieldCount(); ++i)
                out << (rs->Value(i).isNull() ? QVariant(QStringLiteral("<Null>")) : rs->Value(i));
        }
        rs->Close();
        return out;
    }
    // Resets every mark as the synchronisation window does after a download.
    void ResetMarks()
    {
        for (const char *t : {"tblProjects", "tblProjTasks", "tblCategs", "tblTaskCategs", "tblExpCategs"})
            Exec(QStringLiteral("UPDATE %1 SET cChk = 0").arg(QLatin1String(t)));
    }
};

TEST_F(Upserts, AProjectIsInsertedWith2AndMetAgainGets1ItsFlagAndKeepsItsName)
{
    modDBchr::SaveProject(10, QStringLiteral("O'Brien's project"), QStringLiteral("TRUE"));
    EXPECT_EQ(Row("SELECT cName, cChk, cExp FROM tblProjects WHERE cProjID = 10"),
              (QVariantList{"O'Brien's project", 2, 0}));

    modDBchr::SaveProject(10, QStringLiteral("Renamed"), QStringLiteral("FALSE"));
    EXPECT_EQ(Row("SELECT cName, cChk, cExp FROM tblProjects WHERE cProjID = 10"),
              (QVariantList{"O'Brien's project", 1, -1}));
    EXPECT_EQ(Count("SELECT * FROM tblProjects"), 1);

    // Only "FALSE" itself disables expenses.
    const struct {
        const char *flag;
        int exp;
    } flags[] = {{"FALSE", -1}, {"false", 0}, {"False", 0}, {"", 0}, {"TRUE", 0}, {"FALSE ", 0}};
    for (const auto &f : flags) {
        modDBchr::SaveProject(10, QStringLiteral("x"), QString::fromLatin1(f.flag));
        EXPECT_EQ(Scalar("SELECT cExp FROM tblProjects WHERE cProjID = 10").toInt(), f.exp) << f.flag;
        modDBchr::SaveProject(11, QStringLiteral("new ") + QString::fromLatin1(f.flag), QString::fromLatin1(f.flag));
        EXPECT_EQ(Scalar("SELECT cExp FROM tblProjects WHERE cProjID = 11 AND cChk = 2").toInt(), f.exp) << f.flag;
        Exec("DELETE FROM tblProjects WHERE cProjID = 11");
    }
}

TEST_F(Upserts, AnotherUsersRowWithTheSameIdIsNeitherFoundNorTouched)
{
    Exec("INSERT INTO tblProjects VALUES (10, 2, 'Theirs', 0, 0)");
    Exec("INSERT INTO tblExpCategs VALUES (5, 2, 'Theirs', 0)");
    modDBchr::SaveProject(10, QStringLiteral("Mine"), QStringLiteral("FALSE"));
    modDBchr::SaveExpCategory(5, QStringLiteral("Mine"));
    EXPECT_EQ(Row("SELECT cName, cChk, cExp FROM tblProjects WHERE cUsrID = 2"), (QVariantList{"Theirs", 0, 0}));
    EXPECT_EQ(Row("SELECT cName, cChk, cExp FROM tblProjects WHERE cUsrID = 1"), (QVariantList{"Mine", 2, -1}));
    EXPECT_EQ(Row("SELECT cExpName, cChk FROM tblExpCategs WHERE cUsrID = 2"), (QVariantList{"Theirs", 0}));
    EXPECT_EQ(Row("SELECT cExpName, cChk FROM tblExpCategs WHERE cUsrID = 1"), (QVariantList{"Mine", 2}));
}

TEST_F(Upserts, ATaskIsKeyedByProjectAndTask)
{
    modDBchr::SaveTask(101, QStringLiteral("Design"), 10, QString());
    EXPECT_EQ(Row("SELECT cTaskName, cProjID, cChk, cExp FROM tblProjTasks"), (QVariantList{"Design", 10.0, 2, 0}));
    modDBchr::SaveTask(101, QStringLiteral("Other name"), 10, QStringLiteral("FALSE"));
    EXPECT_EQ(Row("SELECT cTaskName, cProjID, cChk, cExp FROM tblProjTasks"), (QVariantList{"Design", 10.0, 1, -1}));
    // The same task id under another project is a row of its own.
    modDBchr::SaveTask(101, QStringLiteral("Moved"), 20, QString());
    EXPECT_EQ(Count("SELECT * FROM tblProjTasks"), 2);
    EXPECT_EQ(Row("SELECT cTaskName, cChk, cExp FROM tblProjTasks WHERE cProjID = 10"), (QVariantList{"Design", 1, -1}));
    EXPECT_EQ(Row("SELECT cTaskName, cChk, cExp FROM tblProjTasks WHERE cProjID = 20"), (QVariantList{"Moved", 2, 0}));
}

TEST_F(Upserts, ACategoryUnderThreeTasksOfOneDownload)
{
    for (double task : {101.0, 102.0, 103.0})
        modDBchr::SaveCategory(7, QStringLiteral("Meeting"), task);
    EXPECT_EQ(Count("SELECT * FROM tblCategs"), 1);
    EXPECT_EQ(Row("SELECT cName, cChk FROM tblCategs"), (QVariantList{"Meeting", 2}));
    EXPECT_EQ(Count("SELECT * FROM tblTaskCategs WHERE cCatID = 7 AND cChk = 2 AND cUsrID = 1"), 3);

    // The next download: the stored category goes from 0 to 1 on its first call and stays 1;
    // the links it meets again keep their mark, a new link gets 2.
    ResetMarks();
    modDBchr::SaveCategory(7, QStringLiteral("Renamed"), 101);
    EXPECT_EQ(Row("SELECT cName, cChk FROM tblCategs"), (QVariantList{"Meeting", 1}));
    modDBchr::SaveCategory(7, QStringLiteral("Meeting"), 104);
    EXPECT_EQ(Row("SELECT cName, cChk FROM tblCategs"), (QVariantList{"Meeting", 1}));
    EXPECT_EQ(Scalar("SELECT cChk FROM tblTaskCategs WHERE cTaskID = 101").toInt(), 0);
    EXPECT_EQ(Scalar("SELECT cChk FROM tblTaskCategs WHERE cTaskID = 104").toInt(), 2);
    EXPECT_EQ(Count("SELECT * FROM tblTaskCategs"), 4);
}

TEST_F(Upserts, AnExpenseCategoryIsInsertedWith2AndMetAgainGets1)
{
    modDBchr::SaveExpCategory(5, QStringLiteral("Taxi"));
    EXPECT_EQ(Row("SELECT cExpName, cChk FROM tblExpCategs"), (QVariantList{"Taxi", 2}));
    ResetMarks();
    modDBchr::SaveExpCategory(5, QStringLiteral("Cab"));
    EXPECT_EQ(Row("SELECT cExpName, cChk FROM tblExpCategs"), (QVariantList{"Taxi", 1}));
}

TEST_F(Upserts, AwkwardNamesAreStoredQuotesAsTypedEmptyAsNullOverlongCut)
{
    const QString evil = QStringLiteral("x', 1, 1, 2, 0); DELETE FROM tblProjects; --");
    const QString longName = QString(70, QLatin1Char('n'));
    modDBchr::SaveProject(1, QStringLiteral("it's"), QString());
    modDBchr::SaveProject(2, evil, QString());
    modDBchr::SaveProject(3, QString(), QString());
    modDBchr::SaveProject(4, longName, QString());
    modDBchr::SaveTask(11, QString(), 3, QString());
    modDBchr::SaveCategory(21, QStringLiteral("l'activité"), 11);
    modDBchr::SaveCategory(22, QString(), 11);
    modDBchr::SaveExpCategory(31, QStringLiteral("Bob's"));

    EXPECT_EQ(Scalar("SELECT cName FROM tblProjects WHERE cProjID = 1").toString(), QStringLiteral("it's"));
    EXPECT_EQ(Scalar("SELECT cName FROM tblProjects WHERE cProjID = 2").toString(), evil);
    EXPECT_EQ(Scalar("SELECT cName FROM tblProjects WHERE cProjID = 3").toString(), QStringLiteral("<Null>"));
    EXPECT_EQ(Scalar("SELECT cName FROM tblProjects WHERE cProjID = 4").toString(), longName.left(60));
    EXPECT_EQ(Count("SELECT * FROM tblProjects"), 4);
    EXPECT_EQ(Scalar("SELECT cName FROM tblCategs WHERE cCatID = 21").toString(), QStringLiteral("l'activité"));
    EXPECT_EQ(Scalar("SELECT cExpName FROM tblExpCategs WHERE cExpID = 31").toString(), QStringLiteral("Bob's"));

    // The nameless project and task still reach the tree, with their ids.
    forms::TreeView tree;
    modDBchr::FillProjectTree(&tree, false, false);
    QStringList described = Describe(tree);
    EXPECT_TRUE(described.contains(" #3 work_closed exp:work_open B")) << described.join('\n').toStdString();
    EXPECT_TRUE(described.contains("- #11 folder_closed exp:folder_open"));
    EXPECT_TRUE(described.contains("--l'activité #21 act_normal sel:act_sel"));
    EXPECT_TRUE(described.contains("-- #22 act_normal sel:act_sel"));
}

TEST_F(Upserts, WithoutADatabaseNothingIsThrown)
{
    modMain::DB->Close();
    EXPECT_EQ(modDBchr::SaveProject(1, QStringLiteral("a"), QString()), dao::ErrClosed);
    EXPECT_EQ(modDBchr::SaveTask(1, QStringLiteral("a"), 1, QString()), dao::ErrClosed);
    EXPECT_EQ(modDBchr::SaveCategory(1, QStringLiteral("a"), 1), dao::ErrClosed);
    EXPECT_EQ(modDBchr::SaveExpCategory(1, QStringLiteral("a")), dao::ErrClosed);
    forms::TreeView tree;
    modDBchr::FillProjectTree(&tree, false, false);
    EXPECT_EQ(tree.Count(), 0);
    EXPECT_EQ(modDBchr::GetProjectName(1), QString());
    EXPECT_EQ(modDBchr::GetTaskProjectID(1), 0);
}

} // namespace
