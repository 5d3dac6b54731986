// The parameter strings of the six service requests: order, encodings, the form each goes in,
// the date-time values with their minute rounding, and the expense amount.
#include "core/ServiceRequests.h"
#include "core/modHttp.h"
#include "core/modMain.h"

#include <gtest/gtest.h>

using namespace modHttp;

namespace {

class ServiceRequestsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_user = modMain::UserNameURL;
        m_pass = modMain::PasswordURL;
        m_dec = modMain::DecimalSep;
        m_group = modMain::GroupSep;
        modMain::UserNameURL = URLEncode(QStringLiteral("anna o"));
        modMain::PasswordURL = URLEncode(QStringLiteral("p&ss"));
        modMain::DecimalSep = QStringLiteral(".");
        modMain::GroupSep = QStringLiteral(",");
    }
    void TearDown() override
    {
        modMain::UserNameURL = m_user;
        modMain::PasswordURL = m_pass;
        modMain::DecimalSep = m_dec;
        modMain::GroupSep = m_group;
    }
    static QString Creds() { return QStringLiteral("&username=anna+o&password=p%26ss"); }

    QString m_user, m_pass, m_dec, m_group;
};

AddTimeValues Entry(const QString &comment, int32_t day, double start, double secs)
{
    AddTimeValues v;
    v.comment = comment;
    v.projID = 3;
    v.taskID = 31;
    v.catID = 100;
    v.dayKey = day;
    v.startSecs = start;
    v.durationSecs = secs;
    return v;
}

TEST_F(ServiceRequestsTest, ReadingRequestsAreGetsWithCredentialsLast)
{
    struct Case {
        ServiceRequest request;
        const char *params;
    } cases[] = {
        {NameRequest(), "action=name"},
        {VersionRequest(), "action=version"},
        {ProjectsRequest(), "action=projects"},
        {ExpensesRequest(), "action=expenses"},
    };
    for (const Case &c : cases) {
        EXPECT_FALSE(c.request.isPost) << c.params;
        EXPECT_EQ(c.request.params, QLatin1String(c.params) + Creds());
        EXPECT_FALSE(c.request.params.contains(QLatin1String("tstmp")));
    }
}

TEST_F(ServiceRequestsTest, AddTimeCarriesItsParametersInOrder)
{
    const ServiceRequest r = AddTimeRequest(Entry(QStringLiteral("a&b c"), 20061231, 23 * 3600 + 45 * 60, 1800));
    EXPECT_TRUE(r.isPost);
    EXPECT_EQ(r.params, QStringLiteral("action=addTime&cmt=a%26b+c&prj=3&task=31&tc=100"
                                       "&start=200612312345&end=200612312415")
                            + Creds());
}

TEST_F(ServiceRequestsTest, AddTimeCommentEncodings)
{
    struct Case {
        QString comment;
        const char *cmt;
    } cases[] = {
        {QStringLiteral("a&b c"), "a%26b+c"},
        {QStringLiteral("é"), "%C3%A9"},
        {QStringLiteral(""), ""},
        {QStringLiteral("O'Hara = 100%"), "O%27Hara+%3D+100%25"},
        {QStringLiteral("Ωμέγα"), "%CE%A9%CE%BC%CE%AD%CE%B3%CE%B1"},
        {QStringLiteral("x.y-z_~"), "x%2Ey%2Dz%5F%7E"},
        {QStringLiteral("line\r\nnext"), "line%0D%0Anext"},
    };
    for (const Case &c : cases) {
        const QString p = AddTimeRequest(Entry(c.comment, 20240102, 0, 60)).params;
        EXPECT_TRUE(p.startsWith(QStringLiteral("action=addTime&cmt=") + QLatin1String(c.cmt) + QStringLiteral("&prj=")))
            << p.toStdString();
    }
}

TEST_F(ServiceRequestsTest, StartAndEndRoundToTheNearestMinute)
{
    struct Case {
        int32_t day;
        double start, secs;
        const char *startText, *endText;
    } cases[] = {
        {20061231, 23 * 3600 + 45 * 60, 1800, "200612312345", "200612312415"}, // past midnight: hours above 23
        {20240301, 8 * 3600 + 15 * 60 + 40, 0, "202403010816", "202403010816"},
        {20240301, 8 * 3600 + 15 * 60 + 29, 0, "202403010815", "202403010815"},
        {20240301, 8 * 3600 + 59 * 60 + 30, 0, "202403010900", "202403010900"},
        {20240301, 0, 29, "202403010000", "202403010000"},
        {20240301, 0, 30, "202403010000", "202403010001"},
        {20240301, 23 * 3600 + 59 * 60 + 30, 0, "202403012400", "202403012400"},
        {20240301, 9 * 3600, 86400, "202403010900", "202403013300"},
    };
    for (const Case &c : cases) {
        const QString p = AddTimeRequest(Entry(QString(), c.day, c.start, c.secs)).params;
        EXPECT_TRUE(p.contains(QStringLiteral("&start=") + QLatin1String(c.startText) + QStringLiteral("&end=")
                               + QLatin1String(c.endText) + QStringLiteral("&username=")))
            << p.toStdString();
    }
    EXPECT_EQ(RequestDateTime(20240301, 7 * 3600 + 5 * 60), QStringLiteral("202403010705"));
}

TEST_F(ServiceRequestsTest, IdsAreWholeNumbers)
{
    EXPECT_EQ(IdText(0), QStringLiteral("0"));
    EXPECT_EQ(IdText(31), QStringLiteral("31"));
    EXPECT_EQ(IdText(4000000000.0), QStringLiteral("4000000000"));
    EXPECT_EQ(IdText(12.9), QStringLiteral("12"));
}

AddExpenseValues Expense()
{
    AddExpenseValues v;
    v.comment = QStringLiteral("taxi & tip");
    v.projID = 3;
    v.taskID = 31;
    v.expCatID = 7;
    v.amount = QStringLiteral("1,234.50");
    v.dayKey = 20240315;
    v.timeSecs = 14 * 3600 + 30 * 60 + 31;
    v.payee = QStringLiteral("Café Ω");
    v.code = QStringLiteral("A1");
    return v;
}

TEST_F(ServiceRequestsTest, AddExpenseCarriesItsParametersInOrder)
{
    const ServiceRequest r = AddExpenseRequest(Expense());
    EXPECT_TRUE(r.isPost);
    EXPECT_EQ(r.params, QStringLiteral("action=addExpense&cmt=taxi+%26+tip&prj=3&task=31&ec=7&amount=1234.50"
                                       "&charge=202403151431&payee=Caf%C3%A9+%CE%A9&code=A1")
                            + Creds());
}

TEST_F(ServiceRequestsTest, ExpenseWithoutCodeAndWithLocaleAmount)
{
    AddExpenseValues v = Expense();
    v.code.clear();
    EXPECT_TRUE(AddExpenseRequest(v).params.contains(QStringLiteral("&code=&username=")));

    modMain::DecimalSep = QStringLiteral(",");
    modMain::GroupSep = QStringLiteral(".");
    struct Case {
        const char *amount, *sent;
    } cases[] = {{"12,50", "12.50"}, {"1.234.567,89", "1234567.89"}, {"0,05", "0.05"}, {"7", "7"}};
    for (const Case &c : cases) {
        v.amount = QString::fromUtf8(c.amount);
        EXPECT_TRUE(AddExpenseRequest(v).params.contains(QStringLiteral("&amount=") + QLatin1String(c.sent)
                                                         + QStringLiteral("&charge=")))
            << c.amount;
    }
}

} // namespace
