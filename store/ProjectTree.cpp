// The reference tables as the windows see them: the project tree with its tasks and
// categories, name look-ups, and the upserts that store a download item by item.
#include "store/modDBchr.h"

#include "core/modMain.h"
#include "platform/dao/dao.h"
#include "platform/forms/TreeView.h"
#include "store/StoreUtil.h"

using namespace modMain;

namespace modDBchr {

namespace {

using detail::CloseOnExit;
using detail::OpenDatabase;
using detail::FirstText;
using detail::IdText;

constexpr int NameSize = 60;   // size of the name columns of the reference tables

// In the statements below "+cUsrID" keeps the engine from looking rows up through the user
// index when the item's own id is given: every row of a user shares that index entry, and
// with two people on one computer each look-up would read half the table.

int ExpenseFlag(const QString &flag)
{
    return flag == QLatin1String("FALSE") ? -1 : 0;
}

// Raises the download mark of a project, task or expense category met again and rewrites its
// expense flag when it has one; inserts the item when the look-up finds no row.
void Upsert(const QString &lookup, const QVariantList &keys, const QString &insert,
            const QVariantList &values, const QVariant &expFlag)
{
    std::unique_ptr<dao::Recordset> rs;
    CloseOnExit guard{rs};
    int found = 0;
    try {
        rs = OpenDatabase().OpenRecordset(lookup, dao::dbOpenDynaset, keys);
        found = rs->RecordCount();
    } catch (...) {
        return;
    }
    try {
        if (found < 1) {
            OpenDatabase().Execute(insert, 0, values);
        } else {
            rs->MoveFirst();
            rs->Edit();
            if (expFlag.isValid())
                rs->Fields(QStringLiteral("cExp")) = expFlag;
            rs->Fields(QStringLiteral("cChk")) = 1;
            rs->Update();
        }
    } catch (...) {
    }
}

} // namespace

// ---- the project tree --------------------------------------------------------------------

void FillProjectTree(forms::TreeView *tree, bool tasksOnly, bool expensesOnly)
{
    if (!tree)
        return;
    tree->Clear();
    try {
        const QString filter = expensesOnly ? QStringLiteral(" AND cExp <> -1") : QString();
        std::unique_ptr<dao::Recordset> rs;
        CloseOnExit guard{rs};
        rs = OpenDatabase().OpenRecordset(
            QStringLiteral("SELECT * FROM tblProjects WHERE cUsrID = ?") + filter + QStringLiteral(" ORDER BY cName"),
            dao::dbOpenSnapshot, {CurrentUserID});
        if (rs->RecordCount() == 0)
            return;
        for (rs->MoveFirst(); !rs->Eof(); rs->MoveNext()) {
            const double projID = rs->Value(0).toDouble();
            forms::Node *node = tree->Add(nullptr, forms::TreeView::Last, QString(),
                                          rs->Value(2).toString().trimmed(), QStringLiteral("work_closed"));
            node->SetBold(true);
            node->SetExpandedImage(QStringLiteral("work_open"));
            node->SetTag(IdText(projID));
            FillTaskNodes(tree, projID, node, expensesOnly, tasksOnly);
        }
    } catch (...) {
    }
}

void FillTaskNodes(forms::TreeView *tree, double projID, forms::Node *projNode, bool expensesOnly, bool tasksOnly)
{
    if (!tree || !projNode)
        return;
    try {
        const QString filter = expensesOnly ? QStringLiteral(" AND cExp <> -1") : QString();
        std::unique_ptr<dao::Recordset> rs;
        CloseOnExit guard{rs};
        rs = OpenDatabase().OpenRecordset(
            QStringLiteral("SELECT cTaskID, cTaskName FROM tblProjTasks WHERE +cUsrID = ? AND cProjID = ?") + filter,
            dao::dbOpenSnapshot, {CurrentUserID, projID});
        if (rs->RecordCount() == 0)
            return;
        for (rs->MoveFirst(); !rs->Eof(); rs->MoveNext()) {
            const double taskID = rs->Value(0).toDouble();
            const QString name = rs->Value(1).toString().trimmed();
            forms::Node *node;
            if (tasksOnly) {
                node = tree->Add(projNode, forms::TreeView::Child, QString(), name, QStringLiteral("act_normal"),
                                 QStringLiteral("act_sel"));
                node->SetTag(IdText(taskID));
            } else {
                node = tree->Add(projNode, forms::TreeView::Child, QString(), name, QStringLiteral("folder_closed"));
                node->SetExpandedImage(QStringLiteral("folder_open"));
                node->SetTag(IdText(taskID));
                FillCategNodes(tree, taskID, node);
            }
        }
    } catch (...) {
    }
}

void FillCategNodes(forms::TreeView *tree, double taskID, forms::Node *taskNode)
{
    if (!tree || !taskNode)
        return;
    try {
        std::unique_ptr<dao::Recordset> rs;
        CloseOnExit guard{rs};
        // The links with each category's name as GetCategName finds it (the first row with
        // that id, whichever user stored it), read in the same statement: a tree of a few
        // thousand tasks would otherwise run one more statement per link.
        rs = OpenDatabase().OpenRecordset(
            QStringLiteral("SELECT l.cCatID, (SELECT c.cName FROM tblCategs c WHERE c.cCatID = l.cCatID LIMIT 1) "
                           "FROM tblTaskCategs l WHERE +l.cUsrID = ? AND l.cTaskID = ?"),
            dao::dbOpenSnapshot, {CurrentUserID, taskID});
        if (rs->RecordCount() == 0)
            return;
        for (rs->MoveFirst(); !rs->Eof(); rs->MoveNext()) {
            const double catID = rs->Value(0).toDouble();
            forms::Node *node = tree->Add(taskNode, forms::TreeView::Child, QString(), rs->Value(1).toString().trimmed(),
                                          QStringLiteral("act_normal"), QStringLiteral("act_sel"));
            node->SetTag(IdText(catID));
        }
    } catch (...) {
    }
}

// ---- look-ups ----------------------------------------------------------------------------

QString GetCategName(double cCatID)
{
    return FirstText(QStringLiteral("SELECT cName FROM tblCategs WHERE cCatID = ?"), cCatID);
}

QString GetProjectName(double cProjID)
{
    return FirstText(QStringLiteral("SELECT cName FROM tblProjects WHERE cProjID = ?"), cProjID);
}

double GetTaskProjectID(double cTaskID)
{
    try {
        std::unique_ptr<dao::Recordset> rs;
        CloseOnExit guard{rs};
        rs = OpenDatabase().OpenRecordset(QStringLiteral("SELECT cProjID FROM tblProjTasks WHERE +cUsrID = ? AND cTaskID = ?"),
                                          dao::dbOpenDefault, {CurrentUserID, cTaskID});
        if (rs->RecordCount() == 0)
            return 0;
        rs->MoveFirst();
        return rs->Value(0).toDouble();
    } catch (...) {
        return 0;
    }
}

// ---- download upserts --------------------------------------------------------------------

void SaveProject(double projID, const QString &name, const QString &expFlag)
{
    const int e = ExpenseFlag(expFlag);
    Upsert(QStringLiteral("SELECT cExp, cChk from tblProjects WHERE +cUsrID = ? AND cProjID = ?"),
           {CurrentUserID, projID},
           QStringLiteral("INSERT INTO tblProjects(cName, cProjID, cUsrID, cChk, cExp) Values(?, ?, ?, 2, ?)"),
           {detail::NameValue(name, NameSize), projID, CurrentUserID, e}, e);
}

void SaveTask(double taskID, const QString &name, double projID, const QString &expFlag)
{
    const int e = ExpenseFlag(expFlag);
    Upsert(QStringLiteral("SELECT cExp, cChk from tblProjTasks WHERE +cUsrID = ? AND +cProjID = ? AND cTaskID = ?"),
           {CurrentUserID, projID, taskID},
           QStringLiteral("INSERT INTO tblProjTasks(cTaskName, cProjID, cUsrID, cTaskID, cChk, cExp) "
                          "Values(?, ?, ?, ?, 2, ?)"),
           {detail::NameValue(name, NameSize), projID, CurrentUserID, taskID, e}, e);
}

void SaveCategory(double catID, const QString &name, double taskID)
{
    // The category: new with 2; met again it goes from 0 to 1, a mark of 1 or 2 stays, so the
    // same category under several tasks of one download keeps the 2 of its first call.
    {
        std::unique_ptr<dao::Recordset> rs;
        CloseOnExit guard{rs};
        int found = -1;
        try {
            rs = OpenDatabase().OpenRecordset(QStringLiteral("Select cChk from tblCategs WHERE +cUsrID = ? AND cCatID = ?"),
                                              dao::dbOpenDynaset, {CurrentUserID, catID});
            found = rs->RecordCount();
        } catch (...) {
        }
        try {
            if (found > 0) {
                rs->MoveFirst();
                const QVariant mark = rs->Value(0);
                if (!mark.isNull() && mark.toInt() == 0) {
                    rs->Edit();
                    rs->Fields(0) = 1;
                    rs->Update();
                }
            } else if (found == 0) {
                OpenDatabase().Execute(QStringLiteral("INSERT INTO tblCategs(cName, cCatID, cUsrID, cChk) Values(?, ?, ?, 2)"),
                                       0, {detail::NameValue(name, NameSize), catID, CurrentUserID});
            }
        } catch (...) {
        }
    }
    // The link of the task to the category: inserted once with 2, then left as it is.
    try {
        int links = 0;
        {
            std::unique_ptr<dao::Recordset> rs;
            CloseOnExit guard{rs};
            rs = OpenDatabase().OpenRecordset(
                QStringLiteral("Select cChk from tblTaskCategs WHERE +cUsrID = ? AND cTaskID = ? AND +cCatID = ?"),
                dao::dbOpenSnapshot, {CurrentUserID, taskID, catID});
            links = rs->RecordCount();
        }
        if (links == 0)
            OpenDatabase().Execute(QStringLiteral("INSERT INTO tblTaskCategs(cCatID, cTaskID, cUsrID, cChk) Values(?, ?, ?, 2)"),
                                   0, {catID, taskID, CurrentUserID});
    } catch (...) {
    }
}

void SaveExpCategory(double expID, const QString &name)
{
    Upsert(QStringLiteral("SELECT cChk from tblExpCategs WHERE +cUsrID = ? AND cExpID = ?"), {CurrentUserID, expID},
           QStringLiteral("INSERT INTO tblExpCategs(cExpName, cExpID, cUsrID, cChk) Values(?, ?, ?, 2)"),
           {detail::NameValue(name, NameSize), expID, CurrentUserID}, QVariant());
}

} // namespace modDBchr
