// The creation reports to the display it is handed, never leaves a half-built database under
// the database's name, and stops when the program starts ending; opening refuses a file that
// lacks the tables. No window takes part: the display is a recorder.
#include "core/Progress.h"
#include "core/modMain.h"
#include "platform/dao/dao.h"
#include "store/modDBchr.h"
#include "tests/support/TestEnv.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <functional>

namespace {

const QStringList kTables = {"tblUsers",    "tblCategs",    "tblDaily",      "tblDailyComments", "tblProjects",
                             "tblProjTasks", "tblTaskCategs", "tblExpCategs", "tblDailyExp",      "tblDailyExpComments"};

// Tables and indexes of a database file, read with a connection of its own.
struct Schema {
    QStringList tables;
    int indexes = 0;
};

Schema ReadSchema(const QString &path)
{
    Schema s;
    auto db = dao::OpenDatabase(path, modDBchr::DBConnect());
    s.tables = db->TableNames();
    for (const QString &t : s.tables)
        s.indexes += int(db->ReadTableDef(t)->Indexes().size());
    db->Close();
    return s;
}

// What the creation told its display, and what the folder held at each step.
struct Recorder : modMain::Progress {
    struct Step {
        QString caption, detail;
        int value;
        bool databaseThere;   // a file under the database's name
        bool workThere;       // the working file
    };
    QString dbPath;
    std::vector<Step> steps;
    std::vector<QString> calls;   // "busy 1", "bar 1", "step", ... in order
    int lastValue = -1;
    std::function<void(int step)> onStep;

    void ShowStep(const QString &caption, const QString &detail) override
    {
        steps.push_back({caption, detail, lastValue, QFile::exists(dbPath), QFile::exists(dbPath + ".creating")});
        calls.push_back("step");
        if (onStep)
            onStep(int(steps.size()));
    }
    void SetBarValue(int value) override { lastValue = value; }
    void SetBarVisible(bool visible) override { calls.push_back(QStringLiteral("bar %1").arg(visible)); }
    void SetBusy(bool busy) override { calls.push_back(QStringLiteral("busy %1").arg(busy)); }
};

class CreationSafetyTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        qputenv("TARV_NO_PAUSES", "1");
        modMain::LoadLangTable(QStringLiteral(TARV_SOURCE_DIR "/data/StringTables.csv"));
    }
    void SetUp() override
    {
        dir = testenv::MakeTempDir(QStringLiteral("create"));
        path = dir + QStringLiteral("/Tarv.crn");
        rec = Recorder();
        rec.dbPath = path;
    }
    void TearDown() override
    {
        modMain::SetProgramEnding(false);
        if (modMain::DB)
            modMain::DB->Close();
        modMain::DB.reset();
    }
    QStringList Files() const { return QDir(dir).entryList(QDir::Files | QDir::Hidden); }

    QString dir, path;
    Recorder rec;
};

TEST_F(CreationSafetyTest, TheDatabaseTakesItsNameOnlyWhenComplete)
{
    ASSERT_EQ(modDBchr::CreateDB(path, nullptr, &rec), 0) << modDBchr::LastDBError().toStdString();

    // Eleven steps with the values 0..100 and the details 1303..1313; the busy pointer and
    // the bar around them.
    ASSERT_EQ(rec.steps.size(), 11u);
    for (int k = 0; k < 11; ++k) {
        EXPECT_EQ(rec.steps[k].value, k * 10) << k;
        EXPECT_EQ(rec.steps[k].detail, "  " + modMain::GetLangString(int16_t(1303 + k))) << k;
    }
    ASSERT_GE(rec.calls.size(), 4u);
    EXPECT_EQ(rec.calls.front(), "busy 1");
    EXPECT_EQ(rec.calls[1], "bar 1");
    EXPECT_EQ(rec.calls[rec.calls.size() - 2], "busy 0");
    EXPECT_EQ(rec.calls.back(), "bar 0");

    // Until the last table stands nothing carries the database's name; from then on the
    // working file is gone.
    for (int k = 0; k < 10; ++k) {
        EXPECT_FALSE(rec.steps[k].databaseThere) << "step " << k + 1;
        EXPECT_TRUE(rec.steps[k].workThere) << "step " << k + 1;
    }
    EXPECT_TRUE(rec.steps[10].databaseThere);
    EXPECT_FALSE(rec.steps[10].workThere);

    // The run holds the database under its name; closed, it is the one file.
    ASSERT_TRUE(modMain::DB);
    EXPECT_EQ(modMain::DB->Name(), path);
    EXPECT_EQ(modMain::DB->TableNames(), kTables);
    modMain::DB->Close();
    modMain::DB.reset();
    EXPECT_EQ(Files(), QStringList{"Tarv.crn"});
    const Schema s = ReadSchema(path);
    EXPECT_EQ(s.tables, kTables);
    EXPECT_EQ(s.indexes, 25);
}

TEST_F(CreationSafetyTest, TheEndOfTheProgramDuringAStepStopsTheCreation)
{
    // The shutdown runs in a step's pause: here it runs "in" the display's step k.
    for (int k : {1, 4, 10, 11}) {
        SCOPED_TRACE(k);
        SetUp();
        rec.onStep = [k](int step) {
            if (step == k)
                modMain::SetProgramEnding(true);
        };
        QString description;
        EXPECT_EQ(modDBchr::CreateDB(path, &description, &rec), 3000);
        EXPECT_FALSE(description.isEmpty());
        EXPECT_EQ(rec.steps.size(), std::size_t(k)) << "nothing is shown after the step";
        EXPECT_EQ(rec.calls.back(), "step") << "nor the bar or the pointer put back: their windows may be gone";
        EXPECT_FALSE(modMain::DB);
        if (k < 11) {
            EXPECT_TRUE(Files().isEmpty()) << Files().join(' ').toStdString();
        } else {
            // Complete before the last step: it stays, whole.
            EXPECT_EQ(Files(), QStringList{"Tarv.crn"});
            EXPECT_EQ(ReadSchema(path).indexes, 25);
        }
        modMain::SetProgramEnding(false);
    }
}

TEST_F(CreationSafetyTest, WhatAnInterruptedCreationLeftIsBuiltAnew)
{
    {
        QFile f(path + ".creating");
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("half a database");
    }
    QFile(path + ".creating-wal").open(QIODevice::WriteOnly);
    ASSERT_EQ(modDBchr::CreateDB(path), 0) << modDBchr::LastDBError().toStdString();
    modMain::DB->Close();
    modMain::DB.reset();
    EXPECT_EQ(Files(), QStringList{"Tarv.crn"});
    EXPECT_EQ(ReadSchema(path).tables, kTables);
}

TEST_F(CreationSafetyTest, AFailedCreationLeavesNothingAndPutsTheDisplayBack)
{
    // A folder that is not there: the engine's number, nothing on disk, pointer and bar back.
    const QString nowhere = dir + "/no/such/folder/Tarv.crn";
    rec.dbPath = nowhere;
    EXPECT_EQ(modDBchr::CreateDB(nowhere, nullptr, &rec), dao::ErrInvalidPath);
    EXPECT_TRUE(rec.steps.empty());
    EXPECT_EQ(rec.calls, (std::vector<QString>{"busy 1", "busy 0", "bar 0"}));

    // A database that stands is refused and left as it is.
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("someone's file");
    }
    EXPECT_EQ(modDBchr::CreateDB(path), dao::ErrDatabaseExists);
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("someone's file"));
    EXPECT_EQ(Files(), QStringList{"Tarv.crn"});
}

TEST_F(CreationSafetyTest, AFileWithoutTheTablesDoesNotOpen)
{
    // What a creation cut short by an older version left: the right password, some tables.
    {
        auto db = dao::CreateDatabase(path, modDBchr::DBLocale + ";pwd=" + modDBchr::DBPassword, dao::dbEncrypt);
        auto t = db->CreateTableDef("tblUsers");
        t->AppendField(t->CreateField("cUsrID", dao::dbInteger, 0));
        db->AppendTableDef(*t);
        db->Close();
    }
    EXPECT_EQ(modDBchr::OpenDB(path), dao::ErrCorrupt);
    EXPECT_FALSE(modMain::DB);
    EXPECT_TRUE(modDBchr::LastDBError().contains("tblCategs")) << modDBchr::LastDBError().toStdString();
    // It was closed again: nothing holds it.
    auto again = dao::OpenDatabase(path, modDBchr::DBConnect());
    EXPECT_EQ(again->TableNames(), QStringList{"tblUsers"});
    again->Close();

    // A complete one opens; one whose table went does not.
    QFile::remove(path);
    ASSERT_EQ(modDBchr::CreateDB(path), 0);
    modMain::DB->Execute("DROP TABLE tblDailyExpComments");
    modMain::DB->Close();
    modMain::DB.reset();
    EXPECT_EQ(modDBchr::OpenDB(path), dao::ErrCorrupt);
    EXPECT_TRUE(modDBchr::LastDBError().contains("tblDailyExpComments"));
}

} // namespace
