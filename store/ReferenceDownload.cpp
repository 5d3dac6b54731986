// Writing a download of the reference tables: the upserts of one received item each, and the
// whole download in one transaction with its sweep and the marks set back to rest.
#include "store/modDBchr.h"

#include "core/modMain.h"
#include "platform/dao/dao.h"
#include "store/StoreUtil.h"

using namespace modMain;

namespace modDBchr {

namespace {

using detail::CloseOnExit;
using detail::OpenDatabase;

constexpr int NameSize = 60;   // size of the name columns of the reference tables
// Every statement here refuses a row it cannot apply instead of leaving it out unseen: a row
// lost without a word would still let the download count as complete.
constexpr int FailOnError = dao::dbFailOnError;

const char *const ReferenceTables[] = {"tblProjects", "tblProjTasks", "tblCategs", "tblTaskCategs", "tblExpCategs"};

// In the statements below "+cUsrID" keeps the engine from looking rows up through the user
// index when the item's own id is given: every row of a user shares that index entry, and
// with two people on one computer each look-up would read half the table.

int ExpenseFlag(const QString &flag)
{
    return flag == QLatin1String("FALSE") ? -1 : 0;
}

// Raises the download mark of a project, task or expense category met again and rewrites its
// expense flag when it has one; inserts the item when the look-up finds no row. Throws the
// engine's error.
void Upsert(const QString &lookup, const QVariantList &keys, const QString &insert, const QVariantList &values,
            const QVariant &expFlag)
{
    std::unique_ptr<dao::Recordset> rs;
    CloseOnExit guard{rs};
    rs = OpenDatabase().OpenRecordset(lookup, dao::dbOpenDynaset, keys);
    if (rs->RecordCount() < 1) {
        OpenDatabase().Execute(insert, FailOnError, values);
        return;
    }
    rs->MoveFirst();
    rs->Edit();
    if (expFlag.isValid())
        rs->Fields(QStringLiteral("cExp")) = expFlag;
    rs->Fields(QStringLiteral("cChk")) = 1;
    rs->Update();
}

void PutProject(double projID, const QString &name, const QString &expFlag)
{
    const int e = ExpenseFlag(expFlag);
    Upsert(QStringLiteral("SELECT cExp, cChk from tblProjects WHERE +cUsrID = ? AND cProjID = ?"), {CurrentUserID, projID},
           QStringLiteral("INSERT INTO tblProjects(cName, cProjID, cUsrID, cChk, cExp) Values(?, ?, ?, 2, ?)"),
           {detail::NameValue(name, NameSize), projID, CurrentUserID, e}, e);
}

void PutTask(double taskID, const QString &name, double projID, const QString &expFlag)
{
    const int e = ExpenseFlag(expFlag);
    Upsert(QStringLiteral("SELECT cExp, cChk from tblProjTasks WHERE +cUsrID = ? AND +cProjID = ? AND cTaskID = ?"),
           {CurrentUserID, projID, taskID},
           QStringLiteral("INSERT INTO tblProjTasks(cTaskName, cProjID, cUsrID, cTaskID, cChk, cExp) "
                          "Values(?, ?, ?, ?, 2, ?)"),
           {detail::NameValue(name, NameSize), projID, CurrentUserID, taskID, e}, e);
}

void PutCategory(double catID, const QString &name, double taskID)
{
    dao::Database &db = OpenDatabase();
    // The category: new with 2; met again it goes from 0 to 1, a mark of 1 or 2 stays, so the
    // same category under several tasks of one download keeps the 2 of its first call.
    {
        std::unique_ptr<dao::Recordset> rs;
        CloseOnExit guard{rs};
        rs = db.OpenRecordset(QStringLiteral("Select cChk from tblCategs WHERE +cUsrID = ? AND cCatID = ?"),
                              dao::dbOpenDynaset, {CurrentUserID, catID});
        if (rs->RecordCount() > 0) {
            rs->MoveFirst();
            const QVariant mark = rs->Value(0);
            if (!mark.isNull() && mark.toInt() == 0) {
                rs->Edit();
                rs->Fields(0) = 1;
                rs->Update();
            }
        } else {
            db.Execute(QStringLiteral("INSERT INTO tblCategs(cName, cCatID, cUsrID, cChk) Values(?, ?, ?, 2)"),
                       FailOnError, {detail::NameValue(name, NameSize), catID, CurrentUserID});
        }
    }
    // The link of the task to the category: inserted once with 2, then left as it is.
    int links = 0;
    {
        std::unique_ptr<dao::Recordset> rs;
        CloseOnExit guard{rs};
        rs = db.OpenRecordset(QStringLiteral("Select cChk from tblTaskCategs WHERE +cUsrID = ? AND cTaskID = ? AND +cCatID = ?"),
                              dao::dbOpenSnapshot, {CurrentUserID, taskID, catID});
        links = rs->RecordCount();
    }
    if (links == 0)
        db.Execute(QStringLiteral("INSERT INTO tblTaskCategs(cCatID, cTaskID, cUsrID, cChk) Values(?, ?, ?, 2)"),
                   FailOnError, {catID, taskID, CurrentUserID});
}

void PutExpCategory(double expID, const QString &name)
{
    Upsert(QStringLiteral("SELECT cChk from tblExpCategs WHERE +cUsrID = ? AND cExpID = ?"), {CurrentUserID, expID},
           QStringLiteral("INSERT INTO tblExpCategs(cExpName, cExpID, cUsrID, cChk) Values(?, ?, ?, 2)"),
           {detail::NameValue(name, NameSize), expID, CurrentUserID}, QVariant());
}

// Runs one write and turns the engine's error into its number.
template <typename Write>
int32_t Reported(Write write)
{
    try {
        write();
        return 0;
    } catch (const dao::DaoError &e) {
        return e.Number();
    }
}

int Count(dao::Database &db, const QString &sql)
{
    std::unique_ptr<dao::Recordset> rs;
    CloseOnExit guard{rs};
    rs = db.OpenRecordset(sql, dao::dbOpenSnapshot, {CurrentUserID});
    return rs->RecordCount();
}

void ResetMarks(dao::Database &db)
{
    for (const char *table : ReferenceTables)
        db.Execute(QStringLiteral("UPDATE %1 SET cChk = 0 WHERE cUsrID = ? AND cChk <> 0").arg(QLatin1String(table)),
                   FailOnError, {CurrentUserID});
}

// Removes what the download did not mark: projects, then the tasks with their category links,
// then the activity categories. Expense categories and the links of kept tasks stay.
void Sweep(dao::Database &db, QStringList *unassigned)
{
    {
        std::unique_ptr<dao::Recordset> rs;
        CloseOnExit guard{rs};
        rs = db.OpenRecordset(QStringLiteral("SELECT cName FROM tblProjects WHERE cUsrID = ? AND cChk = 0"),
                              dao::dbOpenSnapshot, {CurrentUserID});
        for (; !rs->Eof(); rs->MoveNext())
            unassigned->append(rs->Value(0).toString());
    }
    db.Execute(QStringLiteral("DELETE FROM tblProjects WHERE cUsrID = ? AND cChk = 0"), FailOnError, {CurrentUserID});
    // Links are kept by task id alone: a task that moved to another project leaves its old row
    // unmarked but keeps its links through the new one.
    db.Execute(QStringLiteral("DELETE FROM tblTaskCategs WHERE cUsrID = ? "
                              "AND cTaskID IN (SELECT cTaskID FROM tblProjTasks WHERE cUsrID = ? AND cChk = 0) "
                              "AND cTaskID NOT IN (SELECT cTaskID FROM tblProjTasks WHERE cUsrID = ? AND cChk <> 0)"),
               FailOnError, {CurrentUserID, CurrentUserID, CurrentUserID});
    db.Execute(QStringLiteral("DELETE FROM tblProjTasks WHERE cUsrID = ? AND cChk = 0"), FailOnError, {CurrentUserID});
    db.Execute(QStringLiteral("DELETE FROM tblCategs WHERE cUsrID = ? AND cChk = 0"), FailOnError, {CurrentUserID});
}

} // namespace

int32_t SaveReferenceDownload(const ReceivedBatch &batch, bool sweep, DownloadSummary *summary, QString *description)
{
    try {
        dao::Database &db = OpenDatabase();
        detail::Savepoint transaction(db, "reference_download");
        // Marks left by a run that ended before its reset count as rest: they must neither be
        // counted as new nor keep a row from the sweep.
        ResetMarks(db);
        for (const ReceivedProject &project : batch.projects) {
            PutProject(project.id, project.name, project.expFlag);
            for (const ReceivedTask &task : project.tasks) {
                PutTask(task.id, task.name, project.id, task.expFlag);
                for (const ReceivedCategory &categ : task.categories)
                    PutCategory(categ.id, categ.name, task.id);
            }
        }
        for (const ReceivedExpCategory &categ : batch.expCategories)
            PutExpCategory(categ.id, categ.name);

        DownloadSummary counted;
        counted.newProjects = Count(db, QStringLiteral("SELECT cName FROM tblProjects WHERE cUsrID = ? AND cChk = 2"));
        counted.newTasks = Count(db, QStringLiteral("SELECT cTaskName FROM tblProjTasks WHERE cUsrID = ? AND cChk = 2"));
        counted.newCategs = Count(db, QStringLiteral("SELECT cCatID FROM tblCategs WHERE cUsrID = ? AND cChk = 2"));
        counted.newLinks = Count(db, QStringLiteral("SELECT cCatID FROM tblTaskCategs WHERE cUsrID = ? AND cChk = 2"));
        counted.newExpCategs = Count(db, QStringLiteral("SELECT cExpName FROM tblExpCategs WHERE cUsrID = ? AND cChk = 2"));
        if (sweep)
            Sweep(db, &counted.unassigned);
        ResetMarks(db);
        transaction.Release();
        if (summary)
            *summary = counted;
        if (description)
            description->clear();
        return 0;
    } catch (const dao::DaoError &e) {
        if (description)
            *description = e.Description();
        return e.Number();
    }
}

int32_t SaveProject(double projID, const QString &name, const QString &expFlag)
{
    return Reported([&] { PutProject(projID, name, expFlag); });
}

int32_t SaveTask(double taskID, const QString &name, double projID, const QString &expFlag)
{
    return Reported([&] { PutTask(taskID, name, projID, expFlag); });
}

int32_t SaveCategory(double catID, const QString &name, double taskID)
{
    return Reported([&] { PutCategory(catID, name, taskID); });
}

int32_t SaveExpCategory(double expID, const QString &name)
{
    return Reported([&] { PutExpCategory(expID, name); });
}

} // namespace modDBchr
