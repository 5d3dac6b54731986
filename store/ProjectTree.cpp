// The reference tables as the windows see them: the project tree with its tasks and
// categories, and the name look-ups. Downloads are written by ReferenceDownload.cpp.
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

// In the statements below "+cUsrID" keeps the engine from looking rows up through the user
// index when the item's own id is given: every row of a user shares that index entry, and
// with two people on one computer each look-up would read half the table.

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

} // namespace modDBchr
