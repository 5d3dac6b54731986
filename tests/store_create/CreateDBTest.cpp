// Creation and opening of the database file, against real files.
#include "core/frmLogin.h"
#include "core/frmMain.h"
#include "core/modMain.h"
#include "platform/dao/dao.h"
#include "store/modDBchr.h"
#include "tests/support/TestEnv.h"

#include <QApplication>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QLabel>
#include <QProcess>
#include <QProgressBar>
#include <QWindow>

#include <gtest/gtest.h>

#include <functional>

namespace {

int ErrorOf(const std::function<void()> &f)
{
    try {
        f();
    } catch (const dao::DaoError &e) {
        return e.Number();
    }
    return 0;
}

class CreateDBTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        qputenv("TARV_NO_PAUSES", "1");
        modMain::LoadLangTable(QStringLiteral(TARV_SOURCE_DIR "/data/StringTables.csv"));
    }
    void SetUp() override
    {
        dir = testenv::MakeTempDir(QStringLiteral("store"));
        path = dir + QStringLiteral("/Tarv.crn");
    }
    void TearDown() override
    {
        modMain::DB.reset();
        frmLogin::Unload();
        frmMain::Unload();
    }
    QString dir;
    QString path;
};

struct F {
    const char *name;
    int type;
    int size;
};
struct Table {
    const char *name;
    std::vector<F> fields;
    std::vector<std::pair<const char *, bool>> indexes;   // field, primary
};
constexpr int I = dao::dbInteger, D = dao::dbDouble, B = dao::dbByte, T = dao::dbText, M = dao::dbMemo;

const std::vector<Table> &Expected()
{
    static const std::vector<Table> tables = {
        {"tblUsers",
         {{"cUsrID", I, 0}, {"cPCUserName", T, 20}, {"cUserName", T, 60}, {"cPassw", T, 60}, {"cFullName", T, 60},
          {"cLangID", I, 0}, {"cTimeStart", D, 0}, {"cTimeEnd", D, 0}, {"cAutoStart", B, 0}, {"cAutoSynch", B, 0},
          {"cAutoCheck", B, 0}, {"cBalloons", B, 0}, {"cKey", T, 20}, {"cMask", T, 20}, {"cTimeOut", I, 0}},
         {{"cUsrID", true}, {"cPCUserName", false}}},
        {"tblCategs", {{"cCatID", D, 0}, {"cUsrID", I, 0}, {"cName", T, 60}, {"cChk", I, 0}},
         {{"cCatID", false}, {"cUsrID", false}}},
        {"tblDaily",
         {{"cID", D, 0}, {"cUsrID", I, 0}, {"cName", T, 60}, {"cStarted", I, 0}, {"cStarttime", D, 0}, {"cSec", D, 0},
          {"cDate", D, 0}, {"cTaskID", D, 0}, {"cCatID", D, 0}, {"cChk", I, 0}},
         {{"cID", true}, {"cUsrID", false}}},
        {"tblDailyComments", {{"cID", D, 0}, {"cComments", M, 0}, {"cUsrID", I, 0}}, {{"cID", true}, {"cUsrID", false}}},
        {"tblProjects", {{"cProjID", D, 0}, {"cUsrID", I, 0}, {"cName", T, 60}, {"cChk", I, 0}, {"cExp", I, 0}},
         {{"cProjID", false}, {"cUsrID", false}}},
        {"tblProjTasks",
         {{"cTaskID", D, 0}, {"cUsrID", I, 0}, {"cTaskName", T, 60}, {"cProjID", D, 0}, {"cChk", I, 0}, {"cExp", I, 0}},
         {{"cTaskID", false}, {"cProjID", false}, {"cUsrID", false}}},
        {"tblTaskCategs", {{"cUsrID", I, 0}, {"cTaskID", D, 0}, {"cCatID", D, 0}, {"cChk", I, 0}},
         {{"cTaskID", false}, {"cCatID", false}, {"cUsrID", false}}},
        {"tblExpCategs", {{"cExpID", D, 0}, {"cUsrID", I, 0}, {"cExpName", T, 60}, {"cChk", I, 0}},
         {{"cExpID", false}, {"cUsrID", false}}},
        {"tblDailyExp",
         {{"cID", D, 0}, {"cUsrID", I, 0}, {"cExpID", D, 0}, {"cAmount", T, 30}, {"cDate", D, 0}, {"cTime", D, 0},
          {"cTaskID", D, 0}, {"cProjID", D, 0}, {"cPayee", T, 60}, {"cCode", T, 30}, {"cChk", I, 0}},
         {{"cID", true}, {"cExpID", false}, {"cTaskID", false}, {"cProjID", false}, {"cUsrID", false}}},
        {"tblDailyExpComments", {{"cID", D, 0}, {"cComments", M, 0}, {"cUsrID", I, 0}},
         {{"cID", true}, {"cUsrID", false}}},
    };
    return tables;
}

TEST_F(CreateDBTest, CreatesTheTenTablesWithTheirFieldsAndIndexesInAnEncryptedFile)
{
    ASSERT_EQ(modDBchr::CreateDB(path), 0) << modDBchr::LastDBError().toStdString();
    ASSERT_TRUE(modMain::DB);
    EXPECT_FALSE(frmMain::Get()->PgB->isVisible());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);

    QStringList names;
    for (const Table &t : Expected())
        names << QString::fromLatin1(t.name);
    EXPECT_EQ(modMain::DB->TableNames(), names);

    int indexes = 0, primaries = 0;
    for (const Table &t : Expected()) {
        auto td = modMain::DB->ReadTableDef(QString::fromLatin1(t.name));
        ASSERT_EQ(td->Fields().size(), t.fields.size()) << t.name;
        for (std::size_t k = 0; k < t.fields.size(); ++k) {
            EXPECT_EQ(td->Fields()[k].Name, QString::fromLatin1(t.fields[k].name)) << t.name << " " << k;
            EXPECT_EQ(td->Fields()[k].Type, t.fields[k].type) << t.fields[k].name;
            EXPECT_EQ(td->Fields()[k].Size, t.fields[k].size) << t.fields[k].name;
        }
        ASSERT_EQ(td->Indexes().size(), t.indexes.size()) << t.name;
        for (std::size_t k = 0; k < t.indexes.size(); ++k) {
            const dao::Index &idx = td->Indexes()[k];
            EXPECT_EQ(idx.Name, QString::fromLatin1(t.indexes[k].first)) << t.name;
            ASSERT_EQ(idx.Fields.size(), 1u);
            EXPECT_EQ(idx.Fields[0].Name, idx.Name);
            EXPECT_EQ(idx.Primary, t.indexes[k].second) << t.name << "." << t.indexes[k].first;
            EXPECT_TRUE(idx.Required) << t.name << "." << t.indexes[k].first;
            ++indexes;
            primaries += idx.Primary ? 1 : 0;
        }
    }
    EXPECT_EQ(indexes, 25);
    EXPECT_EQ(primaries, 5);

    // Encrypted with the program's password; OpenDB of the held file is refused.
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_FALSE(f.read(16).startsWith("SQLite format 3"));
    f.close();
    dao::Database *held = modMain::DB.get();
    EXPECT_EQ(modDBchr::OpenDB(path), dao::ErrFileInUse);
    EXPECT_EQ(modMain::DB.get(), held);
    EXPECT_FALSE(modDBchr::LastDBError().isEmpty());

    modMain::DB->Close();
    modMain::DB.reset();
    EXPECT_EQ(QDir(dir).entryList(QDir::Files), QStringList{QStringLiteral("Tarv.crn")});
    EXPECT_EQ(modDBchr::OpenDB(path), 0);
    ASSERT_TRUE(modMain::DB);
    EXPECT_EQ(modMain::DB->TableNames().size(), 10);
}

TEST_F(CreateDBTest, TheSchemaHoldsTheEngineRules)
{
    ASSERT_EQ(modDBchr::CreateDB(path), 0);
    dao::Database &db = *modMain::DB;
    db.Execute("INSERT INTO tblDaily (cID, cUsrID, cName) VALUES (1, 1, 'a')", dao::dbFailOnError);
    db.Execute("INSERT INTO tblDailyExp (cID, cUsrID, cExpID, cTaskID, cProjID, cCode) VALUES (1, 1, 1, 1, 1, NULL)",
               dao::dbFailOnError);
    struct Case {
        const char *sql;
        int number;
    } cases[] = {
        {"INSERT INTO tblDaily (cID, cUsrID) VALUES (1, 2)", dao::ErrDuplicateKey},
        {"INSERT INTO tblDaily (cID, cUsrID) VALUES (NULL, 2)", dao::ErrNullInRequired},
        {"INSERT INTO tblDaily (cID) VALUES (2)", dao::ErrNullInRequired},
        {"INSERT INTO tblTaskCategs (cUsrID, cTaskID) VALUES (1, 5)", dao::ErrNullInRequired},
        {"INSERT INTO tblProjects (cProjID, cUsrID, cName) VALUES (7, 1, 'P')", 0},
        {"INSERT INTO tblProjects (cProjID, cUsrID, cName) VALUES (7, 2, 'P')", 0},
        {"INSERT INTO tblTaskCategs (cUsrID, cTaskID, cCatID) VALUES (1, 5, 6)", 0},
        {"INSERT INTO tblTaskCategs (cUsrID, cTaskID, cCatID) VALUES (1, 5, 6)", 0},
        {"UPDATE tblDailyExp SET cCode = '' WHERE cID = 1", dao::ErrZeroLength},
        {"UPDATE tblDailyExp SET cPayee = '' WHERE cID = 1", dao::ErrZeroLength},
        {"INSERT INTO tblDailyComments (cID, cUsrID, cComments) VALUES (1, 1, '')", dao::ErrZeroLength},
        {"UPDATE tblDaily SET cName = '' WHERE cID = 1", dao::ErrZeroLength},
        {"UPDATE tblDailyExp SET cCode = NULL, cPayee = NULL, cAmount = NULL WHERE cID = 1", 0},
        {"UPDATE tblDaily SET cStarted = 40000 WHERE cID = 1", dao::ErrNumericOverflow},
        {"INSERT INTO tblUsers (cUsrID, cPCUserName, cAutoStart) VALUES (1, 'me', 256)", dao::ErrNumericOverflow},
        {"INSERT INTO tblUsers (cUsrID, cPCUserName, cKey) VALUES (1, 'me', '123456789012345678901')", dao::ErrTextTooLong},
        {"INSERT INTO tblUsers (cUsrID, cPCUserName) VALUES (1, NULL)", dao::ErrNullInRequired},
        {"INSERT INTO tblUsers (cUsrID, cPCUserName, cKey, cMask) VALUES (1, 'me', '121', '2')", 0},
    };
    for (const Case &c : cases)
        EXPECT_EQ(ErrorOf([&] { db.Execute(QString::fromLatin1(c.sql), dao::dbFailOnError); }), c.number) << c.sql;
}

TEST_F(CreateDBTest, OpenFailuresLeaveTheDatabaseAsItWas)
{
    EXPECT_EQ(modDBchr::OpenDB(path), dao::ErrFileNotFound);
    EXPECT_FALSE(modMain::DB);
    EXPECT_FALSE(QFile::exists(path));

    // Another password, and a file that is not a database: each with its own number.
    dao::CreateDatabase(dir + "/other.crn", ";LANGID=0x0409;CP=1252;COUNTRY=0;pwd=another", dao::dbEncrypt)->Close();
    {
        QFile f(dir + "/junk.crn");
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("Tarvelo\n");
    }
    EXPECT_EQ(modDBchr::OpenDB(dir + "/other.crn"), dao::ErrBadPassword);
    EXPECT_EQ(modDBchr::OpenDB(dir + "/junk.crn"), dao::ErrNotADatabase);
    EXPECT_FALSE(modMain::DB);

    // With a database open, a failed open keeps it.
    ASSERT_EQ(modDBchr::CreateDB(path), 0);
    dao::Database *open = modMain::DB.get();
    EXPECT_EQ(modDBchr::OpenDB(dir + "/junk.crn"), dao::ErrNotADatabase);
    EXPECT_EQ(modMain::DB.get(), open);
    EXPECT_TRUE(modMain::DB->IsOpen());

    // Another process is refused while the program holds the file.
    QProcess cli;
    cli.setProcessChannelMode(QProcess::MergedChannels);
    cli.start("sqlcipher", {"-batch", path});
    cli.write(QStringLiteral("PRAGMA key = '%1';\nSELECT count(*) FROM tblDaily;\n").arg(modDBchr::DBPassword).toUtf8());
    cli.closeWriteChannel();
    ASSERT_TRUE(cli.waitForFinished(30000));
    EXPECT_TRUE(QString::fromUtf8(cli.readAll()).contains("locked"));
}

TEST_F(CreateDBTest, FailedCreationReportsAndCleansUp)
{
    frmLogin::Get();
    frmMain::Get()->PgB->setVisible(false);
    // An existing file is refused and left alone.
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("keep me");
    }
    QString description;
    EXPECT_EQ(modDBchr::CreateDB(path, &description), dao::ErrDatabaseExists);
    EXPECT_FALSE(description.isEmpty());
    EXPECT_EQ(modDBchr::LastDBError(), description);
    EXPECT_FALSE(modMain::DB);
    EXPECT_FALSE(frmMain::Get()->PgB->isVisible());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("keep me"));

    EXPECT_EQ(modDBchr::CreateDB(dir + "/no/such/folder/Tarv.crn"), dao::ErrInvalidPath);
    EXPECT_FALSE(modMain::DB);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

// Records what the sign-in window and the progress bar show each time the message label is
// painted, which ShowProgress does once per step.
class StepRecorder : public QObject {
public:
    struct Step {
        QString caption, detail;
        int value;
    };
    std::vector<Step> steps;
    bool eventFilter(QObject *o, QEvent *e) override
    {
        if (e->type() == QEvent::Paint) {
            frmLogin *login = frmLogin::Peek();
            Step s{login->lblMsg->text(), login->lblMsg1->text(), frmMain::Get()->PgB->value()};
            if (steps.empty() || steps.back().caption != s.caption || steps.back().value != s.value)
                steps.push_back(s);
        }
        return false;
    }
};

TEST_F(CreateDBTest, ProgressStepsShowOnTheSignInWindow)
{
    frmMain *main = frmMain::Get();
    main->show();
    frmLogin *login = frmLogin::Get();
    login->show();
    ASSERT_TRUE(testenv::WaitFor([&] { return login->windowHandle() && login->windowHandle()->isExposed(); }));
    StepRecorder rec;
    login->lblMsg->installEventFilter(&rec);

    ASSERT_EQ(modDBchr::CreateDB(path, nullptr, login), 0);

    const QString crlf = "\r\n";
    const QString intro = modMain::GetLangString(1300) + crlf + crlf + modMain::GetLangString(1301) + crlf + crlf
                          + modMain::GetLangString(1302) + " ";
    const int dots[] = {1, 2, 3, 4, 5, 6, 7, 8, 8, 9, 0};
    ASSERT_EQ(rec.steps.size(), 11u);
    for (int k = 0; k < 11; ++k) {
        EXPECT_EQ(rec.steps[k].caption, intro + QString(dots[k], '.')) << k;
        EXPECT_EQ(rec.steps[k].value, k * 10) << k;
        const QString detail = modMain::GetLangString(int16_t(1303 + k));
        if (!detail.isEmpty()) {
            EXPECT_EQ(rec.steps[k].detail, "  " + detail) << k;
        }
    }
    EXPECT_FALSE(main->PgB->isVisible());

    // An empty detail leaves the detail line as it was.
    modDBchr::ShowProgress("x", 5, "", login);
    EXPECT_EQ(login->lblMsg->text(), "x");
    EXPECT_EQ(login->lblMsg1->text(), rec.steps.back().detail);
    EXPECT_EQ(main->PgB->value(), 5);
}

TEST_F(CreateDBTest, WithoutADisplayNothingIsShown)
{
    frmMain *main = frmMain::Get();
    const int before = main->PgB->value();
    ASSERT_EQ(modDBchr::CreateDB(path), 0);
    modDBchr::ShowProgress("caption", 50, "detail", nullptr);
    EXPECT_EQ(main->PgB->value(), before);
    EXPECT_EQ(frmLogin::Peek(), nullptr);
    EXPECT_FALSE(modMain::FormLoaded[modMain::fiLogin]);
}

TEST_F(CreateDBTest, TheSignInWindowShowsTheStepsWithoutLoadingTheMainWindow)
{
    // The main window was unloaded: the creation must not bring it back for its bar.
    frmMain::Unload();
    frmLogin *login = frmLogin::Get();
    ASSERT_EQ(modDBchr::CreateDB(path, nullptr, login), 0);
    EXPECT_EQ(frmMain::Peek(), nullptr);
    EXPECT_EQ(login->lblMsg1->text(), "  " + modMain::GetLangString(1313));
}

} // namespace
