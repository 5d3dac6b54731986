// Creation and opening of the database file, and the progress shown while creating it.
#include "store/modDBchr.h"

#include "core/frmLogin.h"
#include "core/frmMain.h"
#include "core/modMain.h"
#include "platform/dao/dao.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QProgressBar>

#include <initializer_list>

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

void SetProgressBarVisible(bool visible)
{
    if (QProgressBar *bar = frmMain::Get()->PgB)
        bar->setVisible(visible);
}

// The way out of a failed creation: the error is kept, the database closed, and the screen
// put back as it was.
int32_t Abandon(const QString &path, bool created, int number, const QString &description)
{
    g_lastError = description;
    if (modMain::DB) {
        try {
            modMain::DB->Close();
        } catch (...) {
        }
        modMain::DB.reset();
    }
    // A half-built file would open at the next start and fail on every query: remove it, so
    // that the next start creates the database again. A file that stood before this call
    // (the creation refused it) is left alone.
    if (created) {
        QFile::remove(path);
        QFile::remove(path + QStringLiteral("-wal"));
    }
    QApplication::restoreOverrideCursor();
    SetProgressBarVisible(false);
    return number;
}

} // namespace

QString LastDBError()
{
    return g_lastError;
}

int32_t OpenDB(const QString &path)
{
    try {
        std::unique_ptr<dao::Database> db = dao::OpenDatabase(path, DBConnect());
        modMain::DB = std::move(db);
        g_lastError.clear();
        return 0;
    } catch (const dao::DaoError &e) {
        g_lastError = e.Description();
        return e.Number();
    }
}

void ShowProgress(const QString &caption, int16_t value, const QString &detail)
{
    if (!modMain::FormLoaded[modMain::fiLogin])
        return;
    frmLogin *login = frmLogin::Peek();
    if (!login)
        return;
    if (QProgressBar *bar = frmMain::Get()->PgB) {
        bar->setValue(value);
        bar->repaint();
    }
    login->lblMsg->setText(caption);
    if (!detail.isEmpty())
        login->lblMsg1->setText(QStringLiteral("  ") + detail);
    // The pause below keeps the event loop from running: paint what changed now.
    login->lblMsg->repaint();
    login->lblMsg1->repaint();
    modMain::WaitSecs(1);
}

void CreateIdx(dao::TableDef &table, const QString &field, bool primary)
{
    dao::Index idx = table.CreateIndex(field);
    idx.Required = true;
    idx.Primary = primary;
    idx.Fields.push_back(idx.CreateField(field));
    table.AppendIndex(idx);
}

int32_t CreateDB(const QString &path, QString *description)
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    bool created = false;
    try {
        modMain::DB = dao::CreateDatabase(path, DBLocale + QStringLiteral(";pwd=") + DBPassword, dao::dbEncrypt);
        created = true;

        const QString crlf = QStringLiteral("\r\n");
        const QString intro = modMain::GetLangString(1300) + crlf + crlf + modMain::GetLangString(1301) + crlf
                              + crlf + modMain::GetLangString(1302) + QStringLiteral(" ");
        SetProgressBarVisible(true);
        ShowProgress(intro + Dots(1), 0, modMain::GetLangString(1303));

        for (const TableSpec &spec : kTables) {
            std::unique_ptr<dao::TableDef> table = modMain::DB->CreateTableDef(QString::fromLatin1(spec.name));
            for (const FieldSpec &f : spec.fields)
                table->AppendField(table->CreateField(QString::fromLatin1(f.name), f.type, f.size));
            modMain::DB->AppendTableDef(*table);
            for (const IndexSpec &ix : spec.indexes)
                CreateIdx(*table, QString::fromLatin1(ix.field), ix.primary);
            ShowProgress(intro + Dots(spec.dots), int16_t(spec.value), modMain::GetLangString(spec.detail));
        }
    } catch (const dao::DaoError &e) {
        const int32_t number = Abandon(path, created, e.Number(), e.Description());
        if (description)
            *description = g_lastError;
        return number;
    } catch (const std::exception &e) {
        // Not the engine's: report it under the engine's catch-all number.
        const int32_t number = Abandon(path, created, 3000, QString::fromLocal8Bit(e.what()));
        if (description)
            *description = g_lastError;
        return number;
    }
    g_lastError.clear();
    if (description)
        description->clear();
    QApplication::restoreOverrideCursor();
    SetProgressBarVisible(false);
    return 0;
}

} // namespace modDBchr
