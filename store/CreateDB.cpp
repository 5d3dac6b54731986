// Creation and opening of the database file, and the progress shown while creating it.
//
// The creation never leaves a half-built "Tarv.crn": the database is built under a working
// name beside it and takes its name, in one rename, only once every table and index stands
// and the file is written through to the disk. Wherever the process is killed, "Tarv.crn" is
// missing (the next start creates it again) or complete. Opening checks the tables, so that a
// file without them is never taken for the program's database.
#include "store/modDBchr.h"

#include "core/Progress.h"
#include "core/modMain.h"
#include "platform/dao/dao.h"
#include "platform/fs/FileSystem.h"

#include <QFileInfo>

#include <initializer_list>
#include <iterator>

namespace modDBchr {

namespace {

QString g_lastError;

struct FieldSpec {
    const char *name;
    int type;
    int size;
};

struct IndexSpec {
    const char *field;
    bool primary;
};

struct TableSpec {
    const char *name;
    std::initializer_list<FieldSpec> fields;
    std::initializer_list<IndexSpec> indexes;
    int dots;    // dots after the intro in the step shown once the table stands (0: none)
    int value;   // progress value of that step
    int16_t detail;
};

constexpr int I = dao::dbInteger, D = dao::dbDouble, B = dao::dbByte, T = dao::dbText, M = dao::dbMemo;

// The ten tables in creation order. Other code reads records by field position (and some of
// it runs SELECT *), so the order of the fields is part of the file's contract.
const TableSpec kTables[] = {
    {"tblUsers",
     {{"cUsrID", I, 0}, {"cPCUserName", T, 20}, {"cUserName", T, 60}, {"cPassw", T, 60},
      {"cFullName", T, 60}, {"cLangID", I, 0}, {"cTimeStart", D, 0}, {"cTimeEnd", D, 0},
      {"cAutoStart", B, 0}, {"cAutoSynch", B, 0}, {"cAutoCheck", B, 0}, {"cBalloons", B, 0},
      {"cKey", T, 20}, {"cMask", T, 20}, {"cTimeOut", I, 0}},
     {{"cUsrID", true}, {"cPCUserName", false}},
     2, 10, 1304},
    {"tblCategs",
     {{"cCatID", D, 0}, {"cUsrID", I, 0}, {"cName", T, 60}, {"cChk", I, 0}},
     {{"cCatID", false}, {"cUsrID", false}},
     3, 20, 1305},
    {"tblDaily",
     {{"cID", D, 0}, {"cUsrID", I, 0}, {"cName", T, 60}, {"cStarted", I, 0}, {"cStarttime", D, 0},
      {"cSec", D, 0}, {"cDate", D, 0}, {"cTaskID", D, 0}, {"cCatID", D, 0}, {"cChk", I, 0}},
     {{"cID", true}, {"cUsrID", false}},
     4, 30, 1306},
    {"tblDailyComments",
     {{"cID", D, 0}, {"cComments", M, 0}, {"cUsrID", I, 0}},
     {{"cID", true}, {"cUsrID", false}},
     5, 40, 1307},
    {"tblProjects",
     {{"cProjID", D, 0}, {"cUsrID", I, 0}, {"cName", T, 60}, {"cChk", I, 0}, {"cExp", I, 0}},
     {{"cProjID", false}, {"cUsrID", false}},
     6, 50, 1308},
    {"tblProjTasks",
     {{"cTaskID", D, 0}, {"cUsrID", I, 0}, {"cTaskName", T, 60}, {"cProjID", D, 0}, {"cChk", I, 0},
      {"cExp", I, 0}},
     {{"cTaskID", false}, {"cProjID", false}, {"cUsrID", false}},
     7, 60, 1309},
    {"tblTaskCategs",
     {{"cUsrID", I, 0}, {"cTaskID", D, 0}, {"cCatID", D, 0}, {"cChk", I, 0}},
     {{"cTaskID", false}, {"cCatID", false}, {"cUsrID", false}},
     8, 70, 1310},
    {"tblExpCategs",
     {{"cExpID", D, 0}, {"cUsrID", I, 0}, {"cExpName", T, 60}, {"cChk", I, 0}},
     {{"cExpID", false}, {"cUsrID", false}},
     8, 80, 1311},
    {"tblDailyExp",
     {{"cID", D, 0}, {"cUsrID", I, 0}, {"cExpID", D, 0}, {"cAmount", T, 30}, {"cDate", D, 0},
      {"cTime", D, 0}, {"cTaskID", D, 0}, {"cProjID", D, 0}, {"cPayee", T, 60}, {"cCode", T, 30},
      {"cChk", I, 0}},
     {{"cID", true}, {"cExpID", false}, {"cTaskID", false}, {"cProjID", false}, {"cUsrID", false}},
     9, 90, 1312},
    {"tblDailyExpComments",
     {{"cID", D, 0}, {"cComments", M, 0}, {"cUsrID", I, 0}},
     {{"cID", true}, {"cUsrID", false}},
     0, 100, 1313},
};

QString Dots(int n)
{
    return QString(n, QLatin1Char('.'));
}

// Removes a database file with whatever its engine kept beside it.
void RemoveDbFiles(const QString &path)
{
    for (const char *suffix : {"-journal", "-wal", "-shm"})
        fsys::DeleteFile(path + QLatin1String(suffix));
    fsys::DeleteFile(path);
}

// The name the database is built under until it is complete.
QString WorkingName(const QString &path)
{
    return path + QStringLiteral(".creating");
}

// The first of the ten tables that the open database lacks; "" when all stand.
QString MissingTable(const dao::Database &db)
{
    QStringList names = db.TableNames();
    for (QString &n : names)
        n = n.toLower();
    for (const TableSpec &spec : kTables)
        if (!names.contains(QString::fromLatin1(spec.name).toLower()))
            return QString::fromLatin1(spec.name);
    return QString();
}

// The way out of a failed creation: the error is kept, the database closed, what this call
// built removed, and the screen put back as it was (unless the program is ending: its windows
// may be gone then).
int32_t Abandon(std::unique_ptr<dao::Database> &db, const QString &work, bool created, int number,
                const QString &description, const modMain::ProgressWatch &progress)
{
    g_lastError = description;
    for (std::unique_ptr<dao::Database> *open : {&db, &modMain::DB}) {
        if (*open) {
            try {
                (*open)->Close();
            } catch (...) {
            }
            open->reset();
        }
    }
    // What stands under the working name is never the database: the next start would only
    // remove it.
    if (created)
        RemoveDbFiles(work);
    if (progress && !modMain::ProgramEnding()) {
        progress->SetBusy(false);
        progress->SetBarVisible(false);
    }
    return number;
}

struct Abandoned {};

} // namespace

QString LastDBError()
{
    return g_lastError;
}

int32_t OpenDB(const QString &path)
{
    try {
        std::unique_ptr<dao::Database> db = dao::OpenDatabase(path, DBConnect());
        // A file that opens but lacks a table (a creation that was cut short by an older
        // version of the program, another program's database with our password) would fail
        // on every query later: it is no database of ours.
        const QString missing = MissingTable(*db);
        if (!missing.isEmpty()) {
            try {
                db->Close();
            } catch (...) {
            }
            g_lastError = QStringLiteral("The database has no table '%1'.").arg(missing);
            return dao::ErrCorrupt;
        }
        modMain::DB = std::move(db);
        g_lastError.clear();
        return 0;
    } catch (const dao::DaoError &e) {
        g_lastError = e.Description();
        return e.Number();
    }
}

void ShowProgress(const QString &caption, int16_t value, const QString &detail, modMain::Progress *progress)
{
    if (!progress)
        return;
    progress->SetBarValue(value);
    progress->ShowStep(caption, detail.isEmpty() ? QString() : QStringLiteral("  ") + detail);
    // The display painted what changed; the pause keeps it on the screen, and lets a
    // termination signal or the end of the session through.
    modMain::PauseSecs(1);
}

void CreateIdx(dao::TableDef &table, const QString &field, bool primary)
{
    dao::Index idx = table.CreateIndex(field);
    idx.Required = true;
    idx.Primary = primary;
    idx.Fields.push_back(idx.CreateField(field));
    table.AppendIndex(idx);
}

int32_t CreateDB(const QString &path, QString *description, modMain::Progress *shownOn)
{
    const modMain::ProgressWatch progress(shownOn);
    const QString work = WorkingName(path);
    std::unique_ptr<dao::Database> db;
    bool created = false;
    auto fail = [&](int number, const QString &text) {
        const int32_t n = Abandon(db, work, created, number, text, progress);
        if (description)
            *description = g_lastError;
        return n;
    };
    // Each step's pause may run the shutdown: then nothing more is built or shown.
    auto step = [&](const QString &caption, int value, int16_t detail) {
        ShowProgress(caption, int16_t(value), modMain::GetLangString(detail), progress.get());
        if (modMain::ProgramEnding())
            throw Abandoned{};
    };

    if (progress)
        progress->SetBusy(true);
    try {
        if (fsys::FileExists(path))
            throw dao::DaoError(dao::ErrDatabaseExists, QStringLiteral("Database already exists."));
        // A working file is what a creation that was cut short left: it never became the
        // database, so it is of no use.
        RemoveDbFiles(work);
        db = dao::CreateDatabase(work, DBLocale + QStringLiteral(";pwd=") + DBPassword, dao::dbEncrypt);
        created = true;

        const QString crlf = QStringLiteral("\r\n");
        const QString intro = modMain::GetLangString(1300) + crlf + crlf + modMain::GetLangString(1301) + crlf
                              + crlf + modMain::GetLangString(1302) + QStringLiteral(" ");
        if (progress)
            progress->SetBarVisible(true);
        step(intro + Dots(1), 0, 1303);

        const TableSpec *last = std::end(kTables) - 1;
        for (const TableSpec &spec : kTables) {
            std::unique_ptr<dao::TableDef> table = db->CreateTableDef(QString::fromLatin1(spec.name));
            for (const FieldSpec &f : spec.fields)
                table->AppendField(table->CreateField(QString::fromLatin1(f.name), f.type, f.size));
            db->AppendTableDef(*table);
            for (const IndexSpec &ix : spec.indexes)
                CreateIdx(*table, QString::fromLatin1(ix.field), ix.primary);
            if (&spec == last) {
                // Complete: written through, then the database's name in one rename, and
                // opened under it for the run.
                db->Close();
                db.reset();
                if (!fsys::SyncFile(work))
                    throw dao::DaoError(dao::ErrDiskError, QStringLiteral("Disk I/O error."));
                if (!fsys::MoveFile(work, path))
                    throw dao::DaoError(fsys::FileExists(path) ? dao::ErrDatabaseExists : dao::ErrDiskError,
                                        QStringLiteral("The new database could not take its name."));
                created = false;
                fsys::SyncFile(path);
                modMain::DB = dao::OpenDatabase(path, DBConnect());
            }
            step(intro + Dots(spec.dots), spec.value, spec.detail);
        }
    } catch (const dao::DaoError &e) {
        return fail(e.Number(), e.Description());
    } catch (const Abandoned &) {
        // Not the engine's: reported under its catch-all number.
        return fail(3000, QStringLiteral("The program ended during the creation."));
    } catch (const std::exception &e) {
        return fail(3000, QString::fromLocal8Bit(e.what()));
    }
    g_lastError.clear();
    if (description)
        description->clear();
    if (progress) {
        progress->SetBusy(false);
        progress->SetBarVisible(false);
    }
    return 0;
}

} // namespace modDBchr
