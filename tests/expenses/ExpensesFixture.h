#pragma once
// What the expenses window's tests share: the main window's fixture (a program folder with the
// string table, a database with the person's profile, a box watcher) plus projects, tasks and
// expense categories that take expenses, stored expenses, and the editor filled as a person
// fills it.
#include "expenses/frmDailyExp.h"
#include "tests/mainwindow/FrameFixture.h"

#include <QString>
#include <QVariant>

namespace exptest {

class ExpensesTest : public frametest::FrameTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // Project 1 "Alpha" with task 10 "Design", project 2 "Beta" with task 20 "Build" (both take
    // expenses), project 3 "Closed" whose task 30 takes none; expense categories 3 "Fuel" and
    // 4 "Meals".
    static void AddCatalogue();
    // A stored expense of the person.
    static void AddExpense(double id, int dayKey, int chk = 0, const QString &payee = QStringLiteral("Shop"),
                           const QString &amount = QStringLiteral("1.00"), const QVariant &code = QVariant(),
                           const QString &comment = QString(), double time = 36000, double task = 10,
                           double project = 1, double category = 3);
    // The window, loaded and shown.
    static frmDailyExp *Open();
    // Fills the editor of the selected row as a person would: payee typed, task chosen in the
    // tree, category chosen in the list, amount typed and left, code and memo typed.
    static void Fill(frmDailyExp *w, const QString &payee, const QString &taskText, int categoryIndex,
                     const QString &amount, const QString &code = QString(), const QString &memo = QString());
    // One value of the database with a plain statement (not through the code under test).
    static QVariant Scalar(const QString &sql, const QVariantList &params = {});
    static int Count(const QString &sql, const QVariantList &params = {});
    static int32_t Today();
};

} // namespace exptest
