// Comments, name look-ups and the editors' list fillers, on a real database file.
#include "tests/store_queries/StoreFixture.h"

#include "platform/forms/ComboBox.h"

namespace {

using modMain::CurrentUserID;
using storetest::StoreFixture;

struct CommentSide {
    const char *name;
    const char *table;
    void (*insert)(double, const QString &);
    void (*update)(double, const QString &);
    void (*remove)(double);
    QString (*get)(double);
};

const CommentSide kCommentSides[] = {
    {"daily", "tblDailyComments", &modDBchr::InsertDailyComment, &modDBchr::UpdateDailyComment,
     &modDBchr::DeleteDailyComment, &modDBchr::GetDailyComment},
    {"expenses", "tblDailyExpComments", &modDBchr::InsertExpComment, &modDBchr::UpdateExpComment,
     &modDBchr::DeleteExpComment, &modDBchr::GetExpComment},
};

// Names the case in test output.
void PrintTo(const CommentSide &s, std::ostream *os)
{
    *os << s.name;
}

class Comments : public StoreFixture, public ::testing::WithParamInterface<CommentSide> {
protected:
    QVariant Stored(double id)
    {
        return Scalar(QStringLiteral("SELECT cComments FROM %1 WHERE cID = ?").arg(QLatin1String(GetParam().table)), {id});
    }
    int Rows() { return Count(QStringLiteral("SELECT * FROM %1").arg(QLatin1String(GetParam().table))); }
};

TEST_P(Comments, TextsAreStoredAsTypedAndReadBackTrimmed)
{
    const CommentSide &s = GetParam();
    const QString texts[] = {
        QStringLiteral("it's done"),
        QStringLiteral("  leading and trailing  "),
        QStringLiteral("x'); DELETE FROM %1; --").arg(QLatin1String(s.table)),
        QStringLiteral("Ω 'quoted' \"twice\"\r\nsecond line"),
    };
    double id = 10;
    for (const QString &t : texts) {
        s.insert(id, t);
        EXPECT_EQ(Stored(id).toString(), t);
        EXPECT_EQ(s.get(id), t.trimmed());
        EXPECT_EQ(Scalar(QStringLiteral("SELECT cUsrID FROM %1 WHERE cID = ?").arg(QLatin1String(s.table)), {id}).toInt(), 1);
        ++id;
    }
    EXPECT_EQ(Rows(), 4);
    EXPECT_EQ(s.get(99), QString());
}

TEST_P(Comments, InsertUpdateAndDeleteTouchOnlyTheNamedEntry)
{
    const CommentSide &s = GetParam();
    AddComment(s.table, 1, 1, QStringLiteral("first"));
    AddComment(s.table, 2, 2, QStringLiteral("other user's"));

    // An empty text stores nothing; a second insert for the same entry changes nothing.
    s.insert(3, QString());
    EXPECT_EQ(Rows(), 2);
    s.insert(1, QStringLiteral("again"));
    EXPECT_EQ(Stored(1).toString(), QStringLiteral("first"));

    s.update(1, QStringLiteral("O'Brien's   "));
    EXPECT_EQ(Stored(1).toString(), QStringLiteral("O'Brien's   "));
    EXPECT_EQ(s.get(1), QStringLiteral("O'Brien's"));
    // An update with an empty text keeps the comment; one for an entry without a row adds none.
    s.update(1, QString());
    EXPECT_EQ(Stored(1).toString(), QStringLiteral("O'Brien's   "));
    s.update(5, QStringLiteral("nothing to update"));
    EXPECT_EQ(Rows(), 2);

    s.remove(1);
    EXPECT_FALSE(Stored(1).isValid());
    EXPECT_EQ(Stored(2).toString(), QStringLiteral("other user's"));
    s.remove(1);   // nothing left to delete: no harm
    EXPECT_EQ(Rows(), 1);
}

TEST_P(Comments, WithoutADatabaseNothingFailsLoudly)
{
    const CommentSide &s = GetParam();
    modMain::DB->Close();
    s.insert(1, QStringLiteral("x"));
    s.update(1, QStringLiteral("x"));
    s.remove(1);
    EXPECT_EQ(s.get(1), QString());
}

INSTANTIATE_TEST_SUITE_P(BothEditors, Comments, ::testing::ValuesIn(kCommentSides),
                         [](const auto &info) { return std::string(info.param.name); });

using Names = StoreFixture;

TEST_F(Names, TaskAndExpenseCategoryNamesByIdTrimmedWhicheverUserStoredThem)
{
    Exec(QStringLiteral("INSERT INTO tblProjTasks VALUES (5, 2, '  Design  ', 1, 0, 0)"));
    Exec(QStringLiteral("INSERT INTO tblProjTasks VALUES (6, 1, NULL, 1, 0, 0)"));
    Exec(QStringLiteral("INSERT INTO tblExpCategs VALUES (8, 2, ' Travel', 0)"));
    EXPECT_EQ(modDBchr::GetTaskName(5), QStringLiteral("Design"));
    EXPECT_EQ(modDBchr::GetTaskName(6), QString());
    EXPECT_EQ(modDBchr::GetTaskName(7), QString());
    EXPECT_EQ(modDBchr::GetExpCategName(8), QStringLiteral("Travel"));
    EXPECT_EQ(modDBchr::GetExpCategName(9), QString());
}

class Fillers : public StoreFixture {
protected:
    static QStringList Items(const forms::ComboBox &c)
    {
        QStringList out;
        for (int i = 0; i < c.ListCount(); ++i)
            out << c.List(i);
        return out;
    }
    static QList<int> Data(const forms::ComboBox &c)
    {
        QList<int> out;
        for (int i = 0; i < c.ListCount(); ++i)
            out << c.ItemData(i);
        return out;
    }
    forms::ComboBox combo;
};

TEST_F(Fillers, PayeesAreListedOnceEachTrimmedWithoutEmptyOrNullOnes)
{
    int id = 1;
    for (const QVariant &p : {QVariant(QStringLiteral("Shop")), QVariant(QStringLiteral("Shop")),
                              QVariant(QStringLiteral("Shop ")), QVariant(), QVariant(QStringLiteral("   ")),
                              QVariant(QStringLiteral("  Bakery")), QVariant(QStringLiteral("shop")),
                              QVariant(QStringLiteral("O'Hara"))})
        AddExp(id++, 1, 20240105, 0, p);
    AddExp(id++, 2, 20240105, 0, QStringLiteral("Other user's"));

    combo.AddItem(QStringLiteral("old"));
    modDBchr::FillPayeeCombo(&combo);
    QStringList items = Items(combo);
    EXPECT_EQ(items.size(), 4) << items.join('|').toStdString();
    items.sort(Qt::CaseSensitive);
    EXPECT_EQ(items, (QStringList{"Bakery", "O'Hara", "Shop", "shop"}));
}

TEST_F(Fillers, ExpenseCategoriesInNameOrderWithTheirIds)
{
    Exec(QStringLiteral("INSERT INTO tblExpCategs VALUES (30, 1, 'Taxi', 0)"));
    Exec(QStringLiteral("INSERT INTO tblExpCategs VALUES (10, 1, ' hotel ', 0)"));
    Exec(QStringLiteral("INSERT INTO tblExpCategs VALUES (20, 1, 'Hotel', 0)"));
    Exec(QStringLiteral("INSERT INTO tblExpCategs VALUES (40, 2, 'Meals', 0)"));
    combo.AddItem(QStringLiteral("old"));
    modDBchr::FillExpCategCombo(&combo);
    // Every row gives an item, repeated names too.
    ASSERT_EQ(combo.ListCount(), 3);
    EXPECT_EQ(combo.List(2), QStringLiteral("Taxi"));
    EXPECT_EQ(combo.ItemData(2), 30);
    EXPECT_EQ((QStringList{combo.List(0), combo.List(1)}), (QStringList{"hotel", "Hotel"}));

    CurrentUserID = 3;
    modDBchr::FillExpCategCombo(&combo);
    EXPECT_EQ(combo.ListCount(), 0);
}

TEST_F(Fillers, DaysAreListedOnceEachInOrderWithTheirKeys)
{
    AddDaily(1, 1, 20240110);
    AddDaily(2, 1, 20240105);
    AddDaily(3, 1, 20240105, 40000);
    AddDaily(4, 1, 20240105, 50000);
    AddDaily(5, 2, 20240107);
    AddExp(1, 1, 20231231);
    AddExp(2, 1, 20231231);

    combo.AddItem(QStringLiteral("old"));
    modDBchr::FillDailyDatesCombo(&combo);
    EXPECT_EQ(Items(combo), (QStringList{"1/5/2024", "1/10/2024"}));
    EXPECT_EQ(Data(combo), (QList<int>{20240105, 20240110}));

    modDBchr::FillExpDatesCombo(&combo);
    EXPECT_EQ(Items(combo), (QStringList{"12/31/2023"}));
    EXPECT_EQ(Data(combo), (QList<int>{20231231}));

    // A query of the caller's own replaces the default one.
    modDBchr::FillDailyDatesCombo(&combo, QStringLiteral("SELECT cDate FROM tblDaily WHERE cUsrID = 2 ORDER BY cDate"));
    EXPECT_EQ(Data(combo), (QList<int>{20240107}));

    // No rows: the list ends empty.
    CurrentUserID = 5;
    modDBchr::FillDailyDatesCombo(&combo);
    EXPECT_EQ(combo.ListCount(), 0);
}

} // namespace
