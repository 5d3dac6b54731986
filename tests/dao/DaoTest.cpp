// The database layer against real SQLCipher files.
#include "platform/dao/dao.h"
#include "tests/support/TestEnv.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <unistd.h>

namespace {

const QString kPwd = QStringLiteral("s3cr!t'pw");
const QString kLocale = QStringLiteral(";LANGID=0x0409;CP=1252;COUNTRY=0;pwd=") + kPwd;
const QString kConnect = QStringLiteral(";pwd=") + kPwd;

// The number of the DaoError that f throws, or 0 when it throws none.
int ErrorOf(const std::function<void()> &f)
{
    try {
        f();
    } catch (const dao::DaoError &e) {
        EXPECT_FALSE(e.Description().isEmpty());
        return e.Number();
    }
    return 0;
}

QByteArray Head(const QString &path, int n = 16)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.read(n);
}

// Runs this test binary again as a helper process (see DaoHelperProcess.Main) and returns
// the error number it reports, -1 when it reported nothing.
int RunHelper(const QString &job, const QString &path, const QString &pwd = kPwd)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("TARV_DAO_HELPER"), job);
    env.insert(QStringLiteral("TARV_DAO_PATH"), path);
    env.insert(QStringLiteral("TARV_DAO_PWD"), pwd);
    p.setProcessEnvironment(env);
    p.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--gtest_filter=DaoHelperProcess.Main")});
    if (!p.waitForFinished(30000))
        return -1;
    const QString out = QString::fromUtf8(p.readAllStandardOutput());
    const qsizetype at = out.indexOf(QLatin1String("RESULT "));
    return at < 0 ? -1 : out.mid(at + 7).section(QLatin1Char('\n'), 0, 0).trimmed().toInt();
}

// The sqlcipher command-line shell on a file, with the script on its input.
QString RunCli(const QString &path, const QString &script)
{
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(QStringLiteral("sqlcipher"), {QStringLiteral("-batch"), path});
    p.write(script.toUtf8());
    p.closeWriteChannel();
    p.waitForFinished(30000);
    return QString::fromUtf8(p.readAll());
}

class DaoTest : public ::testing::Test {
protected:
    void SetUp() override { dir = testenv::MakeTempDir(QStringLiteral("dao")); }
    QString Path(const QString &name) const { return dir + QLatin1Char('/') + name; }

    // A table "t" with one field of each type, a required primary index on id and a
    // required (not unique) index on req.
    std::unique_ptr<dao::Database> MakeDb(const QString &name = QStringLiteral("t.db"))
    {
        auto db = dao::CreateDatabase(Path(name), kLocale, dao::dbEncrypt);
        auto td = db->CreateTableDef(QStringLiteral("t"));
        td->AppendField(td->CreateField(QStringLiteral("id"), dao::dbDouble));
        td->AppendField(td->CreateField(QStringLiteral("req"), dao::dbInteger));
        td->AppendField(td->CreateField(QStringLiteral("i"), dao::dbInteger));
        td->AppendField(td->CreateField(QStringLiteral("b"), dao::dbByte));
        td->AppendField(td->CreateField(QStringLiteral("t"), dao::dbText, 5));
        td->AppendField(td->CreateField(QStringLiteral("m"), dao::dbMemo));
        db->AppendTableDef(*td);
        for (const char *f : {"id", "req"}) {
            dao::Index idx = td->CreateIndex(QString::fromLatin1(f));
            idx.Required = true;
            idx.Primary = QLatin1String(f) == QLatin1String("id");
            idx.Fields.push_back(idx.CreateField(QString::fromLatin1(f)));
            td->AppendIndex(idx);
        }
        return db;
    }

    int Count(dao::Database &db, const QString &where = QStringLiteral("1"))
    {
        auto rs = db.OpenRecordset(QStringLiteral("SELECT id FROM t WHERE ") + where, dao::dbOpenSnapshot);
        return rs->RecordCount();
    }

    QString dir;
};

// The other end of the cross-process tests: does its job only when the parent test asks.
TEST(DaoHelperProcess, Main)
{
    const QString job = qEnvironmentVariable("TARV_DAO_HELPER");
    if (job.isEmpty())
        return;
    int code = 0;
    try {
        auto db = dao::OpenDatabase(qEnvironmentVariable("TARV_DAO_PATH"),
                                    QStringLiteral(";pwd=") + qEnvironmentVariable("TARV_DAO_PWD"));
        if (job == QLatin1String("crash")) {
            db->Execute(QStringLiteral("INSERT INTO t (id, req) VALUES (42, 1)"), dao::dbFailOnError);
            std::printf("RESULT 0\n");
            std::fflush(stdout);
            _exit(0);   // as if the program died: no close, no checkpoint
        }
    } catch (const dao::DaoError &e) {
        code = e.Number();
    }
    std::printf("RESULT %d\n", code);
    std::fflush(stdout);
    _exit(0);
}

TEST_F(DaoTest, CreatedFileIsEncryptedReadableWithItsPasswordAndOneFileAfterClose)
{
    {
        auto db = MakeDb();
        db->Execute(QStringLiteral("INSERT INTO t (id, req, t, m) VALUES (?, ?, ?, ?)"), dao::dbFailOnError,
                    {1, 2, QStringLiteral("äöüßé"), QStringLiteral("a memo")});
        EXPECT_EQ(db->RecordsAffected(), 1);
        // The exclusive WAL mode keeps no shared-memory file.
        EXPECT_FALSE(QFile::exists(Path("t.db-shm")));
        db->Close();
    }
    EXPECT_EQ(QDir(dir).entryList(QDir::Files), QStringList{QStringLiteral("t.db")});
    EXPECT_FALSE(Head(Path("t.db")).startsWith("SQLite format 3"));

    // The real SQLCipher reads it with the password, and not without.
    EXPECT_TRUE(RunCli(Path("t.db"), QStringLiteral("PRAGMA key = 's3cr!t''pw';\nSELECT t FROM t;\n")).contains(QStringLiteral("äöüßé")));
    EXPECT_TRUE(RunCli(Path("t.db"), QStringLiteral("SELECT count(*) FROM t;\n")).contains(QStringLiteral("not a database")));

    auto db = dao::OpenDatabase(Path("t.db"), kConnect);
    auto rs = db->OpenRecordset(QStringLiteral("t"));
    ASSERT_EQ(rs->RecordCount(), 1);
    EXPECT_EQ(rs->Value(QStringLiteral("T")).toString(), QStringLiteral("äöüßé"));
    EXPECT_EQ(rs->Value(5).toString(), QStringLiteral("a memo"));
    EXPECT_TRUE(rs->Value(QStringLiteral("i")).isNull());

    // The schema reads back with the engine's types, sizes and index properties.
    EXPECT_EQ(db->TableNames(), QStringList{QStringLiteral("t")});
    auto td = db->ReadTableDef(QStringLiteral("t"));
    ASSERT_EQ(td->Fields().size(), 6u);
    const int types[] = {dao::dbDouble, dao::dbInteger, dao::dbInteger, dao::dbByte, dao::dbText, dao::dbMemo};
    for (int k = 0; k < 6; ++k)
        EXPECT_EQ(td->Fields()[k].Type, types[k]) << k;
    EXPECT_EQ(td->Fields()[4].Size, 5);
    ASSERT_EQ(td->Indexes().size(), 2u);
    EXPECT_EQ(td->Indexes()[0].Name, QStringLiteral("id"));
    EXPECT_TRUE(td->Indexes()[0].Primary);
    EXPECT_TRUE(td->Indexes()[0].Required);
    EXPECT_FALSE(td->Indexes()[1].Primary);
    EXPECT_TRUE(td->Indexes()[1].Required);
    EXPECT_EQ(ErrorOf([&] { db->ReadTableDef(QStringLiteral("nope")); }), dao::ErrTableNotFound);
}

TEST_F(DaoTest, OpenFailuresCarryTheirOwnNumbers)
{
    MakeDb()->Close();
    QFile text(Path("notes.txt"));
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("this is not a database\n");
    text.close();
    QFile(Path("empty.db")).open(QIODevice::WriteOnly);
    RunCli(Path("plain.db"), QStringLiteral("CREATE TABLE x (a); INSERT INTO x VALUES (1);\n"));
    ASSERT_TRUE(Head(Path("plain.db")).startsWith("SQLite format 3"));

    struct Case {
        const char *file;
        QString connect;
        int number;
    } cases[] = {
        {"missing.db", kConnect, dao::ErrFileNotFound},
        {"t.db", QStringLiteral(";pwd=another"), dao::ErrBadPassword},
        {"t.db", QString(), dao::ErrBadPassword},
        {"notes.txt", kConnect, dao::ErrNotADatabase},
        {"empty.db", kConnect, dao::ErrNotADatabase},
        {"plain.db", kConnect, dao::ErrNotADatabase},
    };
    for (const Case &c : cases)
        EXPECT_EQ(ErrorOf([&] { dao::OpenDatabase(Path(c.file), c.connect); }), c.number) << c.file;
    EXPECT_FALSE(QFile::exists(Path("missing.db")));
    // None of them was damaged or locked by the failed attempts.
    EXPECT_EQ(ErrorOf([&] { dao::OpenDatabase(Path("t.db"), kConnect); }), 0);
    EXPECT_EQ(Head(Path("notes.txt"), 100), QByteArray("this is not a database\n"));

    EXPECT_EQ(ErrorOf([&] { dao::CreateDatabase(Path("t.db"), kLocale, dao::dbEncrypt); }), dao::ErrDatabaseExists);
    EXPECT_EQ(ErrorOf([&] { dao::CreateDatabase(Path("no/such/folder.db"), kLocale, dao::dbEncrypt); }), dao::ErrInvalidPath);
}

TEST_F(DaoTest, HeldFileIsRefusedToASecondOpenerHereAndInAnotherProcess)
{
    auto db = MakeDb();
    EXPECT_EQ(ErrorOf([&] { dao::OpenDatabase(Path("t.db"), kConnect); }), dao::ErrFileInUse);
    EXPECT_EQ(RunHelper(QStringLiteral("open"), Path("t.db")), dao::ErrFileInUse);
    EXPECT_TRUE(RunCli(Path("t.db"), QStringLiteral("PRAGMA key = 's3cr!t''pw';\nSELECT count(*) FROM t;\n")).contains(QStringLiteral("locked")));
    // Compaction needs the file too.
    EXPECT_EQ(ErrorOf([&] { dao::CompactDatabase(Path("t.db"), Path("c.db"), {}, 0, kConnect); }), dao::ErrFileInUse);
    EXPECT_FALSE(QFile::exists(Path("c.db")));

    db->Close();
    EXPECT_EQ(RunHelper(QStringLiteral("open"), Path("t.db")), 0);
    EXPECT_EQ(RunHelper(QStringLiteral("open"), Path("t.db"), QStringLiteral("wrong")), dao::ErrBadPassword);
}

TEST_F(DaoTest, CommittedRowSurvivesACrashOfTheProgram)
{
    MakeDb()->Close();
    ASSERT_EQ(RunHelper(QStringLiteral("crash"), Path("t.db")), 0);
    EXPECT_TRUE(QFile::exists(Path("t.db-wal")));   // the crash left its log behind
    {
        auto db = dao::OpenDatabase(Path("t.db"), kConnect);
        EXPECT_EQ(Count(*db, QStringLiteral("id = 42")), 1);
    }
    EXPECT_EQ(QDir(dir).entryList(QDir::Files), QStringList{QStringLiteral("t.db")});
}

TEST_F(DaoTest, EngineRulesHoldForEveryStatement)
{
    auto db = MakeDb();
    db->Execute(QStringLiteral("INSERT INTO t (id, req) VALUES (1, 1)"), dao::dbFailOnError);

    const QVariant null;
    struct Case {
        const char *what;
        QString sql;
        QVariantList params;
        int number;
    } cases[] = {
        {"duplicate primary key", "INSERT INTO t (id, req) VALUES (?, ?)", {1, 5}, dao::ErrDuplicateKey},
        {"duplicate in a plain index", "INSERT INTO t (id, req) VALUES (?, ?)", {2, 1}, 0},
        {"Null in the primary key", "INSERT INTO t (id, req) VALUES (?, ?)", {null, 5}, dao::ErrNullInRequired},
        {"primary key left out", "INSERT INTO t (req) VALUES (5)", {}, dao::ErrNullInRequired},
        {"Null in a required index", "INSERT INTO t (id, req) VALUES (?, ?)", {3, null}, dao::ErrNullInRequired},
        {"update to Null", "UPDATE t SET req = NULL WHERE id = 1", {}, dao::ErrNullInRequired},
        {"update to a duplicate key", "UPDATE t SET id = 1 WHERE id = 2", {}, dao::ErrDuplicateKey},
        {"Null in fields without an index", "INSERT INTO t (id, req, i, b, t, m) VALUES (4, 4, NULL, NULL, NULL, NULL)", {}, 0},
        {"zero-length text", "INSERT INTO t (id, req, t) VALUES (?, 5, ?)", {5, QString("")}, dao::ErrZeroLength},
        {"zero-length memo", "INSERT INTO t (id, req, m) VALUES (5, 5, '')", {}, dao::ErrZeroLength},
        {"text at its size", "INSERT INTO t (id, req, t) VALUES (?, 5, ?)", {6, QString("äbcdé")}, 0},
        {"text over its size", "INSERT INTO t (id, req, t) VALUES (?, 5, ?)", {7, QString("abcdef")}, dao::ErrTextTooLong},
        {"Integer at its limits", "INSERT INTO t (id, req, i) VALUES (8, -32768, 32767)", {}, 0},
        {"Integer over", "INSERT INTO t (id, req, i) VALUES (9, 5, 32768)", {}, dao::ErrNumericOverflow},
        {"Integer under", "INSERT INTO t (id, req, i) VALUES (?, 5, ?)", {9, -32769}, dao::ErrNumericOverflow},
        {"Integer update over", "UPDATE t SET req = 40000 WHERE id = 1", {}, dao::ErrNumericOverflow},
        {"Byte at its limits", "INSERT INTO t (id, req, b) VALUES (10, 5, 255)", {}, 0},
        {"Byte over", "INSERT INTO t (id, req, b) VALUES (11, 5, 256)", {}, dao::ErrNumericOverflow},
        {"Byte under", "INSERT INTO t (id, req, b) VALUES (11, 5, -1)", {}, dao::ErrNumericOverflow},
        {"text in an Integer", "INSERT INTO t (id, req, i) VALUES (?, 5, ?)", {12, QString("abc")}, dao::ErrTypeConversion},
        {"digits in an Integer", "INSERT INTO t (id, req, i) VALUES (?, 5, ?)", {13, QString("12")}, 0},
        {"text in a Double", "INSERT INTO t (id, req) VALUES ('x', 5)", {}, dao::ErrTypeConversion},
        {"whole real in an Integer", "INSERT INTO t (id, req, i) VALUES (?, ?, ?)", {14, 5.0, 3.0}, 0},
        {"fraction in an Integer", "INSERT INTO t (id, req, i) VALUES (15, 5, 1.5)", {}, dao::ErrTypeConversion},
        {"number in a Text", "INSERT INTO t (id, req, t) VALUES (?, 5, ?)", {16, 42}, 0},
    };
    for (const Case &c : cases) {
        const int before = Count(*db);
        EXPECT_EQ(ErrorOf([&] { db->Execute(c.sql, dao::dbFailOnError, c.params); }), c.number) << c.what;
        if (c.number != 0) {
            EXPECT_EQ(Count(*db), before) << c.what;
        }
    }

    // Without dbFailOnError a refused row is left out quietly, as the engine does.
    EXPECT_EQ(ErrorOf([&] { db->Execute(QStringLiteral("INSERT INTO t (id, req) VALUES (1, 9)")); }), 0);
    EXPECT_EQ(db->RecordsAffected(), 0);
    EXPECT_EQ(Count(*db, QStringLiteral("req = 9")), 0);
    // ... but a statement the engine cannot read is always an error.
    EXPECT_EQ(ErrorOf([&] { db->Execute(QStringLiteral("INSERT INTO nope (id) VALUES (1)")); }), dao::ErrTableNotFound);
    EXPECT_EQ(ErrorOf([&] { db->Execute(QStringLiteral("INSERT INTO t (id, nope) VALUES (1, 1)")); }), dao::ErrUnknownFieldName);
    EXPECT_EQ(ErrorOf([&] { db->Execute(QStringLiteral("DELETE FROM t WHERE nope = 1")); }), dao::ErrTooFewParameters);
    EXPECT_EQ(ErrorOf([&] { db->Execute(QStringLiteral("INSERT INTO t VALUES")); }), dao::ErrSyntax);
    EXPECT_EQ(ErrorOf([&] { db->Execute(QStringLiteral("SELECT * FROM t")); }), dao::ErrSelectExecuted);
    EXPECT_EQ(ErrorOf([&] { db->Execute(QStringLiteral("DELETE FROM t WHERE id = 1; DROP TABLE t")); }), dao::ErrTrailingText);
    EXPECT_EQ(Count(*db, QStringLiteral("id = 1")), 1);
    EXPECT_EQ(ErrorOf([&] { db->Execute(QStringLiteral("DELETE FROM t WHERE id = ?"), 0, {}); }), dao::ErrTooFewParameters);

    // Record sets are held to the same rules, and always report them.
    auto rs = db->OpenRecordset(QStringLiteral("t"), dao::dbOpenTable);
    rs->AddNew();
    rs->Fields(QStringLiteral("id")) = 100;
    rs->Fields(QStringLiteral("req")) = 1;
    rs->Fields(QStringLiteral("t")) = QString("");
    EXPECT_EQ(ErrorOf([&] { rs->Update(); }), dao::ErrZeroLength);
    rs->Fields(QStringLiteral("t")) = QString("ok");
    rs->Fields(QStringLiteral("b")) = 300;
    EXPECT_EQ(ErrorOf([&] { rs->Update(); }), dao::ErrNumericOverflow);
    rs->Fields(QStringLiteral("b")) = 2.5;   // a number is rounded half to even into a Byte
    EXPECT_EQ(ErrorOf([&] { rs->Update(); }), 0);
    EXPECT_EQ(Count(*db, QStringLiteral("id = 100 AND b = 2")), 1);
    rs->MoveFirst();
    rs->Edit();
    rs->Fields(QStringLiteral("id")) = 100;
    EXPECT_EQ(ErrorOf([&] { rs->Update(); }), dao::ErrDuplicateKey);
}

TEST_F(DaoTest, RecordSetsWalkReadAddAndEdit)
{
    auto db = MakeDb();
    // Bound values are never read as SQL, whatever they hold.
    const QString nasty = QStringLiteral("O'B; DROP TABLE t; --");
    db->Execute(QStringLiteral("INSERT INTO t (id, req, i, m) VALUES (?, ?, ?, ?)"), dao::dbFailOnError, {1, 1, 10, nasty});
    db->Execute(QStringLiteral("INSERT INTO t (id, req, i, t) VALUES (2, 1, 20, 'b')"), dao::dbFailOnError);
    db->Execute(QStringLiteral("INSERT INTO t (id, req, i, t) VALUES (3, 2, 30, 'A')"), dao::dbFailOnError);

    // An empty set: no current row, and moving to its first or last row fails.
    {
        auto rs = db->OpenRecordset(QStringLiteral("SELECT * FROM t WHERE id > 99"));
        EXPECT_EQ(rs->RecordCount(), 0);
        EXPECT_TRUE(rs->Eof());
        EXPECT_EQ(ErrorOf([&] { rs->MoveLast(); }), dao::ErrNoCurrentRecord);
        EXPECT_EQ(ErrorOf([&] { rs->MoveFirst(); }), dao::ErrNoCurrentRecord);
        EXPECT_EQ(ErrorOf([&] { rs->Value(0); }), dao::ErrNoCurrentRecord);
        EXPECT_EQ(ErrorOf([&] { rs->MoveNext(); }), dao::ErrNoCurrentRecord);
    }
    // Walking a set with a bound parameter; text sorts without regard to case.
    {
        auto rs = db->OpenRecordset(QStringLiteral("SELECT t, i, m FROM t WHERE i >= ? ORDER BY t"), dao::dbOpenSnapshot, {20});
        ASSERT_EQ(rs->RecordCount(), 2);
        EXPECT_EQ(rs->FieldCount(), 3);
        EXPECT_EQ(rs->Fields(1).Name(), QStringLiteral("i"));
        QStringList seen;
        while (!rs->Eof()) {
            seen << rs->Value(0).toString();
            rs->MoveNext();
        }
        EXPECT_EQ(seen, (QStringList{QStringLiteral("A"), QStringLiteral("b")}));
        EXPECT_EQ(ErrorOf([&] { rs->MoveNext(); }), dao::ErrNoCurrentRecord);
        rs->MoveLast();
        EXPECT_EQ(rs->Value(QStringLiteral("I")).toInt(), 20);
        EXPECT_EQ(ErrorOf([&] { rs->Value(QStringLiteral("nope")); }), dao::ErrItemNotFound);
        EXPECT_EQ(ErrorOf([&] { rs->Value(3); }), dao::ErrItemNotFound);
        // A snapshot is read-only.
        EXPECT_EQ(ErrorOf([&] { rs->Edit(); }), dao::ErrReadOnly);
        EXPECT_EQ(ErrorOf([&] { rs->AddNew(); }), dao::ErrReadOnly);
        rs->Close();
        EXPECT_EQ(ErrorOf([&] { rs->RecordCount(); }), dao::ErrClosed);
    }
    // A dynaset on one table edits its rows in the file; writing needs Edit or AddNew first.
    {
        auto rs = db->OpenRecordset(QStringLiteral("SELECT i, m from t WHERE id = 1"));
        ASSERT_EQ(rs->RecordCount(), 1);
        EXPECT_EQ(rs->Value(1).toString(), nasty);
        EXPECT_EQ(ErrorOf([&] { rs->Fields(0) = 11; }), dao::ErrUpdateWithoutEdit);
        EXPECT_EQ(ErrorOf([&] { rs->Update(); }), dao::ErrUpdateWithoutEdit);
        rs->MoveFirst();
        rs->Edit();
        rs->Fields(QStringLiteral("i")) = 11;
        EXPECT_EQ(rs->Value(0).toInt(), 11);
        rs->Update();
        EXPECT_EQ(rs->Value(0).toInt(), 11);
        EXPECT_EQ(rs->RecordCount(), 1);
        rs->AddNew();
        EXPECT_TRUE(rs->Value(0).isNull());
        rs->Fields(0) = 7;
        EXPECT_EQ(ErrorOf([&] { rs->Update(); }), dao::ErrNullInRequired);   // id and req are not in the set
        rs->MoveFirst();   // leaves the unsaved new row
        EXPECT_EQ(rs->Value(0).toInt(), 11);
    }
    EXPECT_EQ(Count(*db, QStringLiteral("i = 11")), 1);
    EXPECT_EQ(Count(*db), 3);
    // A table record set adds rows; the new row joins the set and the current row stays.
    {
        auto rs = db->OpenRecordset(QStringLiteral("t"));
        ASSERT_EQ(rs->RecordCount(), 3);
        rs->MoveLast();
        rs->AddNew();
        rs->Fields(QStringLiteral("id")) = 4.0;
        rs->Fields(QStringLiteral("req")) = 1;
        rs->Fields(QStringLiteral("t")) = QStringLiteral("new");
        rs->Update();
        EXPECT_EQ(rs->RecordCount(), 4);
        EXPECT_EQ(rs->Value(QStringLiteral("id")).toDouble(), 3.0);
        rs->MoveLast();
        EXPECT_EQ(rs->Value(QStringLiteral("t")).toString(), QStringLiteral("new"));
        EXPECT_EQ(ErrorOf([&] { db->OpenRecordset(QStringLiteral("nope")); }), dao::ErrTableNotFound);
        EXPECT_EQ(ErrorOf([&] { db->OpenRecordset(QStringLiteral("SELECT * FROM t"), dao::dbOpenTable); }), dao::ErrInvalidOperation);
    }
    // A set over two tables cannot be written.
    {
        auto rs = db->OpenRecordset(QStringLiteral("SELECT a.i FROM t a, t b WHERE a.id = b.id"));
        EXPECT_EQ(rs->RecordCount(), 4);
        EXPECT_EQ(ErrorOf([&] { rs->Edit(); }), dao::ErrReadOnly);
    }
    db->Close();
    EXPECT_EQ(ErrorOf([&] { db->Execute(QStringLiteral("DELETE FROM t")); }), dao::ErrClosed);
}

TEST_F(DaoTest, CompactedCopyKeepsRowsPasswordEncryptionAndRules)
{
    {
        auto db = MakeDb();
        for (int k = 1; k <= 200; ++k)
            db->Execute(QStringLiteral("INSERT INTO t (id, req, m) VALUES (?, ?, ?)"), dao::dbFailOnError,
                        {k, k % 7, QString(500, QChar(u'x' + k % 3))});
        db->Execute(QStringLiteral("DELETE FROM t WHERE id > 100"), dao::dbFailOnError);
        db->SetUserVersion(7);
    }
    const qint64 before = QFileInfo(Path("t.db")).size();
    EXPECT_EQ(ErrorOf([&] { dao::CompactDatabase(Path("t.db"), Path("c.db"), {}, 0, QStringLiteral(";pwd=wrong")); }), dao::ErrBadPassword);
    EXPECT_EQ(ErrorOf([&] { dao::CompactDatabase(Path("none.db"), Path("c.db"), {}, 0, kConnect); }), dao::ErrFileNotFound);
    EXPECT_FALSE(QFile::exists(Path("c.db")));

    dao::CompactDatabase(Path("t.db"), Path("c.db"), {}, 0, kConnect);
    EXPECT_FALSE(Head(Path("c.db")).startsWith("SQLite format 3"));
    EXPECT_LT(QFileInfo(Path("c.db")).size(), before);
    EXPECT_EQ(ErrorOf([&] { dao::OpenDatabase(Path("c.db"), QStringLiteral(";pwd=other")); }), dao::ErrBadPassword);
    EXPECT_EQ(ErrorOf([&] { dao::CompactDatabase(Path("t.db"), Path("c.db"), {}, 0, kConnect); }), dao::ErrDatabaseExists);

    auto db = dao::OpenDatabase(Path("c.db"), kConnect);
    EXPECT_EQ(Count(*db), 100);
    EXPECT_EQ(db->UserVersion(), 7);
    auto rs = db->OpenRecordset(QStringLiteral("SELECT m FROM t WHERE id = 50"));
    ASSERT_EQ(rs->RecordCount(), 1);
    EXPECT_EQ(rs->Value(0).toString(), QString(500, QChar(u'x' + 50 % 3)));
    auto td = db->ReadTableDef(QStringLiteral("t"));
    ASSERT_EQ(td->Indexes().size(), 2u);
    EXPECT_TRUE(td->Indexes()[0].Primary);
    EXPECT_TRUE(td->Indexes()[1].Required);
    EXPECT_EQ(ErrorOf([&] { db->Execute(QStringLiteral("INSERT INTO t (id, req) VALUES (1, 1)"), dao::dbFailOnError); }), dao::ErrDuplicateKey);
    EXPECT_EQ(ErrorOf([&] { db->Execute(QStringLiteral("INSERT INTO t (id) VALUES (500)"), dao::dbFailOnError); }), dao::ErrNullInRequired);
    EXPECT_EQ(ErrorOf([&] { db->Execute(QStringLiteral("INSERT INTO t (id, req, t) VALUES (501, 1, '')"), dao::dbFailOnError); }), dao::ErrZeroLength);
}

} // namespace
