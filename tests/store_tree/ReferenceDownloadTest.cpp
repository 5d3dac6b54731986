// Writing a whole download: what it stores and counts, what its sweep removes and keeps, and
// that a write the engine refuses undoes all of it. On a real database file.
#include "tests/store_queries/StoreFixture.h"

#include "core/ReceivedBatch.h"

#include <functional>

namespace {

using modMain::CurrentUserID;
using storetest::StoreFixture;

ReceivedProject Project(double id, const char *name, const char *flag, QList<ReceivedTask> tasks = {})
{
    return ReceivedProject{id, QString::fromUtf8(name), QString::fromUtf8(flag), tasks};
}

ReceivedTask Task(double id, const char *name, const char *flag, QList<ReceivedCategory> categories = {})
{
    return ReceivedTask{id, QString::fromUtf8(name), QString::fromUtf8(flag), categories};
}

ReceivedCategory Categ(double id, const char *name)
{
    return ReceivedCategory{id, QString::fromUtf8(name)};
}

// Two projects, three tasks, three categories (101 under two tasks), five links, two expense
// categories.
ReceivedBatch Full()
{
    ReceivedBatch b;
    b.projects = {Project(1, "Café", "TRUE",
                          {Task(10, "Logo", "TRUE", {Categ(100, "Design"), Categ(101, "Ανάπτυξη")}),
                           Task(11, "Workshop", "FALSE", {Categ(101, "Ανάπτυξη"), Categ(102, "Rédaction")})}),
                  Project(2, "O'Neill", "FALSE", {Task(20, "Prüfung", "", {Categ(100, "Design")})})};
    b.expCategories = {{7, QStringLiteral("Hôtel")}, {8, QStringLiteral("Taxi")}};
    return b;
}

class ReferenceDownload : public StoreFixture {
protected:
    void SetUp() override
    {
        StoreFixture::SetUp();
        // Another person's rows with the same ids are never touched.
        Exec("INSERT INTO tblProjects VALUES (2, 2, 'Theirs', 0, 0)");
        Exec("INSERT INTO tblProjTasks VALUES (20, 2, 'Theirs', 2, 0, 0)");
        Exec("INSERT INTO tblCategs VALUES (100, 2, 'Theirs', 0)");
        Exec("INSERT INTO tblTaskCategs VALUES (2, 20, 100, 0)");
        Exec("INSERT INTO tblExpCategs VALUES (8, 2, 'Theirs', 0)");
    }

    // Every row of the five tables, every column, in a fixed order.
    static QStringList Catalogue(int user = -1)
    {
        QStringList out;
        for (const char *table : {"tblProjects", "tblProjTasks", "tblCategs", "tblTaskCategs", "tblExpCategs"}) {
            const QString where = user < 0 ? QString() : QStringLiteral(" WHERE cUsrID = %1").arg(user);
            auto rs = modMain::DB->OpenRecordset(QStringLiteral("SELECT * FROM %1%2 ORDER BY 1, 2, 3").arg(QLatin1String(table), where),
                                                 dao::dbOpenSnapshot);
            for (; !rs->Eof(); rs->MoveNext()) {
                QStringList fields{QString::fromLatin1(table)};
                for (int i = 0; i < rs->FieldCount(); ++i) {
                    const QVariant v = rs->Value(i);
                    fields << (v.isNull() ? QStringLiteral("<Null>")
                                          : v.typeId() == QMetaType::Double ? QString::number(v.toDouble(), 'f', 0)
                                                                            : v.toString());
                }
                out << fields.join(u'|');
            }
        }
        return out;
    }

    static QList<int> Counts(const modDBchr::DownloadSummary &s)
    {
        return {s.newProjects, s.newTasks, s.newCategs, s.newLinks, s.newExpCategs};
    }

    // A trigger that refuses a write the way the engine refuses a row it cannot apply; without
    // the fail-on-error rule such a row would be left out without a word.
    static void Refuse(const char *event, const char *table)
    {
        Exec(QStringLiteral("CREATE TRIGGER refuse BEFORE %1 ON %2 BEGIN SELECT RAISE(ABORT, 'dao:null:%2.cChk'); END")
                 .arg(QLatin1String(event), QLatin1String(table)));
    }
};

TEST_F(ReferenceDownload, AWholeDownloadIsStoredCountedAndLeftAtRest)
{
    const QStringList theirs = Catalogue(2);
    modDBchr::DownloadSummary summary;
    ASSERT_EQ(modDBchr::SaveReferenceDownload(Full(), true, &summary), 0);
    EXPECT_EQ(Counts(summary), (QList<int>{2, 3, 3, 5, 2}));
    EXPECT_TRUE(summary.unassigned.isEmpty());
    EXPECT_EQ(Catalogue(1), (QStringList{
                                "tblProjects|1|1|Café|0|0", "tblProjects|2|1|O'Neill|0|-1",
                                "tblProjTasks|10|1|Logo|1|0|0", "tblProjTasks|11|1|Workshop|1|0|-1",
                                "tblProjTasks|20|1|Prüfung|2|0|0",
                                "tblCategs|100|1|Design|0", "tblCategs|101|1|Ανάπτυξη|0", "tblCategs|102|1|Rédaction|0",
                                "tblTaskCategs|1|10|100|0", "tblTaskCategs|1|10|101|0", "tblTaskCategs|1|11|101|0",
                                "tblTaskCategs|1|11|102|0", "tblTaskCategs|1|20|100|0",
                                "tblExpCategs|7|1|Hôtel|0", "tblExpCategs|8|1|Taxi|0",
                            }));
    EXPECT_EQ(Catalogue(2), theirs);

    // The same again: nothing new, nothing removed, all at rest.
    const QStringList before = Catalogue();
    ASSERT_EQ(modDBchr::SaveReferenceDownload(Full(), true, &summary), 0);
    EXPECT_EQ(Counts(summary), (QList<int>{0, 0, 0, 0, 0}));
    EXPECT_EQ(Catalogue(), before);
}

TEST_F(ReferenceDownload, TheSweepRemovesOnlyWhatTheServiceNoLongerLists)
{
    ASSERT_EQ(modDBchr::SaveReferenceDownload(Full(), true), 0);
    const QStringList theirs = Catalogue(2);

    // Project 2 is gone, task 11 is gone, task 10 no longer offers 101, category 102 is gone,
    // expense category 8 is gone, and task 20 moved to project 1 with a new category.
    ReceivedBatch smaller;
    smaller.projects = {Project(1, "Café", "TRUE",
                                {Task(10, "Logo", "TRUE", {Categ(100, "Design")}),
                                 Task(20, "Prüfung", "", {Categ(100, "Design"), Categ(103, "Travel")})})};
    smaller.expCategories = {{7, QStringLiteral("Hôtel")}};

    // Without the sweep nothing goes.
    const QStringList full = Catalogue(1);
    modDBchr::DownloadSummary summary;
    ASSERT_EQ(modDBchr::SaveReferenceDownload(smaller, false, &summary), 0);
    EXPECT_TRUE(summary.unassigned.isEmpty());
    EXPECT_EQ(Counts(summary), (QList<int>{0, 1, 1, 1, 0})) << "task 20 under project 1 and category 103";
    EXPECT_EQ(Catalogue(1).size(), full.size() + 3);

    ASSERT_EQ(modDBchr::SaveReferenceDownload(smaller, true, &summary), 0);
    EXPECT_EQ(summary.unassigned, QStringList{"O'Neill"});
    EXPECT_EQ(Counts(summary), (QList<int>{0, 0, 0, 0, 0}));
    EXPECT_EQ(Catalogue(1), (QStringList{
                                "tblProjects|1|1|Café|0|0",
                                "tblProjTasks|10|1|Logo|1|0|0", "tblProjTasks|20|1|Prüfung|1|0|0",
                                "tblCategs|100|1|Design|0", "tblCategs|103|1|Travel|0",
                                // Task 10's link to 101 stays (only the links of removed tasks go),
                                // and the moved task keeps its links although its old row went.
                                "tblTaskCategs|1|10|100|0", "tblTaskCategs|1|10|101|0", "tblTaskCategs|1|20|100|0",
                                "tblTaskCategs|1|20|103|0",
                                "tblExpCategs|7|1|Hôtel|0", "tblExpCategs|8|1|Taxi|0",
                            }));
    EXPECT_EQ(Catalogue(2), theirs);
}

TEST_F(ReferenceDownload, MarksLeftByAnEarlierRunAreNeitherCountedNorKeepARow)
{
    // Left at 2 and 1 by a download that never set them back.
    Exec("INSERT INTO tblProjects VALUES (5, 1, 'Stale new', 2, 0)");
    Exec("INSERT INTO tblProjects VALUES (6, 1, 'Stale seen', 1, 0)");
    Exec("INSERT INTO tblExpCategs VALUES (9, 1, 'Stale', 2)");
    modDBchr::DownloadSummary summary;
    ASSERT_EQ(modDBchr::SaveReferenceDownload(Full(), true, &summary), 0);
    EXPECT_EQ(Counts(summary), (QList<int>{2, 3, 3, 5, 2}));
    EXPECT_EQ(summary.unassigned, (QStringList{"Stale new", "Stale seen"}));
    EXPECT_EQ(Count("SELECT * FROM tblProjects WHERE cUsrID = 1"), 2);
    EXPECT_EQ(Count("SELECT * FROM tblExpCategs WHERE cUsrID = 1 AND cChk = 0"), 3) << "expense categories stay";
}

TEST_F(ReferenceDownload, AWriteTheEngineRefusesUndoesTheWholeDownload)
{
    ASSERT_EQ(modDBchr::SaveReferenceDownload(Full(), true), 0);
    ReceivedBatch changed = Full();
    changed.projects.removeAt(1);
    changed.projects[0].tasks[0].categories << Categ(104, "New");
    changed.projects << Project(3, "New project", "TRUE", {Task(30, "New task", "", {Categ(100, "Design")})});
    changed.expCategories << ReceivedExpCategory{9, QStringLiteral("New")};

    const struct {
        const char *event;
        const char *table;
    } cases[] = {
        {"INSERT", "tblProjects"},   // the first write
        {"INSERT", "tblTaskCategs"}, // in the middle
        {"INSERT", "tblExpCategs"},  // the last item
        {"DELETE", "tblProjects"},   // the sweep
        {"UPDATE", "tblTaskCategs"}, // the marks set back at the very end
    };
    for (const auto &c : cases) {
        Refuse(c.event, c.table);
        const QStringList before = Catalogue();
        modDBchr::DownloadSummary summary;
        summary.newProjects = -1;
        QString description;
        EXPECT_EQ(modDBchr::SaveReferenceDownload(changed, true, &summary, &description), dao::ErrNullInRequired)
            << c.event << " " << c.table;
        EXPECT_FALSE(description.isEmpty());
        EXPECT_EQ(summary.newProjects, -1) << "no summary of a download that did not happen";
        EXPECT_EQ(Catalogue(), before) << c.event << " " << c.table;
        Exec("DROP TRIGGER refuse");
    }
    // And once the engine takes it, the download goes through.
    EXPECT_EQ(modDBchr::SaveReferenceDownload(changed, true), 0);
    EXPECT_EQ(Count("SELECT * FROM tblProjects WHERE cUsrID = 1"), 2);
}

TEST_F(ReferenceDownload, EachUpsertReportsTheEnginesError)
{
    const struct {
        const char *table;
        std::function<int32_t()> save;
    } cases[] = {
        {"tblProjects", [] { return modDBchr::SaveProject(1, QStringLiteral("a"), QString()); }},
        {"tblProjTasks", [] { return modDBchr::SaveTask(10, QStringLiteral("a"), 1, QString()); }},
        {"tblCategs", [] { return modDBchr::SaveCategory(100, QStringLiteral("a"), 10); }},
        {"tblTaskCategs", [] { return modDBchr::SaveCategory(101, QStringLiteral("a"), 10); }},
        {"tblExpCategs", [] { return modDBchr::SaveExpCategory(7, QStringLiteral("a")); }},
    };
    for (const auto &c : cases) {
        Refuse("INSERT", c.table);
        const QString rows = QStringLiteral("SELECT * FROM %1 WHERE cUsrID = 1").arg(QLatin1String(c.table));
        const int before = Count(rows);
        EXPECT_EQ(c.save(), dao::ErrNullInRequired) << c.table;
        EXPECT_EQ(Count(rows), before) << c.table;
        Exec("DROP TRIGGER refuse");
        EXPECT_EQ(c.save(), 0) << c.table;
    }
    // Met again, a refused edit is reported too.
    Refuse("UPDATE", "tblProjects");
    EXPECT_EQ(modDBchr::SaveProject(1, QStringLiteral("a"), QStringLiteral("FALSE")), dao::ErrNullInRequired);
    EXPECT_EQ(Scalar("SELECT cExp FROM tblProjects WHERE cUsrID = 1").toInt(), 0);
}

TEST_F(ReferenceDownload, WithoutADatabaseTheDownloadReportsIt)
{
    modMain::DB->Close();
    QString description;
    EXPECT_EQ(modDBchr::SaveReferenceDownload(Full(), true, nullptr, &description), dao::ErrClosed);
    EXPECT_FALSE(description.isEmpty());
}

} // namespace
