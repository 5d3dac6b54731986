#include "tests/expenses/ExpensesFixture.h"

#include "core/modMain.h"
#include "platform/dao/dao.h"
#include "store/modDBchr.h"
#include "tests/store_queries/StoreFixture.h"

#include <QApplication>
#include <QDate>
#include <QLineEdit>
#include <QPlainTextEdit>

using namespace modMain;

namespace exptest {

void ExpensesTest::SetUp()
{
    FrameTest::SetUp();
    InitSeparators(QLocale(QLocale::English, QLocale::UnitedStates));
    AutoSynch = 0;
    AddCatalogue();
}

void ExpensesTest::TearDown()
{
    frmDailyExp::Unload();
    FrameTest::TearDown();
    InitSeparators(QLocale(QLocale::English, QLocale::UnitedStates));
}

void ExpensesTest::AddCatalogue()
{
    modDBchr::SaveProject(1, QStringLiteral("Alpha"), QStringLiteral("TRUE"));
    modDBchr::SaveTask(10, QStringLiteral("Design"), 1, QStringLiteral("TRUE"));
    modDBchr::SaveProject(2, QStringLiteral("Beta"), QStringLiteral("TRUE"));
    modDBchr::SaveTask(20, QStringLiteral("Build"), 2, QStringLiteral("TRUE"));
    modDBchr::SaveProject(3, QStringLiteral("Closed"), QStringLiteral("TRUE"));
    modDBchr::SaveTask(30, QStringLiteral("Archive"), 3, QStringLiteral("FALSE"));
    modDBchr::SaveExpCategory(3, QStringLiteral("Fuel"));
    modDBchr::SaveExpCategory(4, QStringLiteral("Meals"));
}

void ExpensesTest::AddExpense(double id, int dayKey, int chk, const QString &payee, const QString &amount,
                              const QVariant &code, const QString &comment, double time, double task,
                              double project, double category)
{
    DB->Execute(QStringLiteral("INSERT INTO tblDailyExp (cID, cUsrID, cExpID, cAmount, cDate, cTime, cTaskID, "
                               "cProjID, cPayee, cCode, cChk) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
                dao::dbFailOnError,
                {id, CurrentUserID, category, amount, double(dayKey), time, task, project, payee, code, chk});
    if (!comment.isEmpty())
        DB->Execute(QStringLiteral("INSERT INTO tblDailyExpComments (cID, cUsrID, cComments) VALUES (?, ?, ?)"),
                    dao::dbFailOnError, {id, CurrentUserID, comment});
}

frmDailyExp *ExpensesTest::Open()
{
    frmDailyExp *w = frmDailyExp::Get();
    w->show();
    QApplication::processEvents();
    return w;
}

void ExpensesTest::Fill(frmDailyExp *w, const QString &payee, const QString &taskText, int categoryIndex,
                        const QString &amount, const QString &code, const QString &memo)
{
    w->txtPayee->setText(payee);
    if (!taskText.isEmpty()) {
        for (int i = 1; i <= w->MyTree->Count(); ++i) {
            forms::Node *n = w->MyTree->Nodes(i);
            if (n->Text() == taskText && n->Parent()) {
                w->MyTree_NodeClick(n);
                break;
            }
        }
    }
    if (categoryIndex >= 0) {
        w->cmbExpCat->SetListIndex(categoryIndex);
    }
    w->txtAmount->setText(amount);
    w->txtAmount_LostFocus();
    if (!code.isEmpty())
        w->txtCodeID->setText(code);
    if (!memo.isEmpty())
        w->txtComments->setPlainText(memo);
}

QVariant ExpensesTest::Scalar(const QString &sql, const QVariantList &params)
{
    return storetest::StoreFixture::Scalar(sql, params);
}

int ExpensesTest::Count(const QString &sql, const QVariantList &params)
{
    return storetest::StoreFixture::Count(sql, params);
}

int32_t ExpensesTest::Today()
{
    return DateToLong(QDate::currentDate());
}

} // namespace exptest
