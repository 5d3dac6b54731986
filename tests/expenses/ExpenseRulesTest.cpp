// The rules of the daily expenses on their own: amounts in the four languages' number forms,
// the day's total, the field checks and their message, the looks of the rows, and the send
// state that each kind of reply gives.
#include "core/modMain.h"
#include "expenses/ExpenseRules.h"

#include <QLocale>
#include <gtest/gtest.h>

using namespace expenserules;

namespace {

// Separators as the program takes them from the person's locale.
void UseLocale(QLocale::Language language, QLocale::Territory territory)
{
    modMain::InitSeparators(QLocale(language, territory));
}

class ExpenseRules : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        ASSERT_TRUE(modMain::LoadLangTable(QStringLiteral(TARV_SOURCE_DIR "/data/StringTables.csv")));
    }
    void SetUp() override
    {
        modMain::LangID = 0;
        UseLocale(QLocale::English, QLocale::UnitedStates);
    }
    void TearDown() override { UseLocale(QLocale::English, QLocale::UnitedStates); }
};

QString T(int16_t id)
{
    return modMain::GetLangString(id);
}

} // namespace

TEST_F(ExpenseRules, AmountsAreReadInThePersonsNumberForm)
{
    struct Case {
        const char *text;
        std::optional<double> point;   // where the point is the decimal separator
        std::optional<double> comma;   // where the comma is
    };
    const Case cases[] = {
        {"12", 12, 12},
        {" 12.50 ", 12.5, std::nullopt},
        {"12,50", std::nullopt, 12.5},
        {"1,234.5", 1234.5, std::nullopt},
        {"1.234,5", std::nullopt, 1234.5},
        {"1,234,567.89", 1234567.89, std::nullopt},
        {".5", 0.5, std::nullopt},
        {",5", std::nullopt, 0.5},
        {"-3.20", -3.2, std::nullopt},
        {"1.2.3", std::nullopt, std::nullopt},   // groups of one digit
        {"12.", std::nullopt, std::nullopt},
        {"", std::nullopt, std::nullopt},
        {"abc", std::nullopt, std::nullopt},
        {"12a", std::nullopt, std::nullopt},
        {"1,23", std::nullopt, 1.23},     // a group of two is no group
        {"-", std::nullopt, std::nullopt},
        {"1e5", std::nullopt, std::nullopt},
    };
    for (const Case &c : cases) {
        UseLocale(QLocale::English, QLocale::UnitedStates);
        const auto p = ReadAmount(QString::fromUtf8(c.text));
        EXPECT_EQ(p.has_value(), c.point.has_value()) << c.text;
        if (p && c.point)
            EXPECT_DOUBLE_EQ(*p, *c.point) << c.text;
        UseLocale(QLocale::German, QLocale::Germany);
        const auto k = ReadAmount(QString::fromUtf8(c.text));
        EXPECT_EQ(k.has_value(), c.comma.has_value()) << c.text << " (comma)";
        if (k && c.comma)
            EXPECT_DOUBLE_EQ(*k, *c.comma) << c.text;
    }
}

TEST_F(ExpenseRules, AmountsAreWrittenWithTwoDecimalsGroupingAndALeadingZero)
{
    const struct {
        double value;
        const char *english;
        const char *comma;
    } cases[] = {
        {0, "0.00", "0,00"},         {0.5, "0.50", "0,50"},       {12, "12.00", "12,00"},
        {1234.5, "1,234.50", "1.234,50"}, {1234567.891, "1,234,567.89", "1.234.567,89"},
        {-3.2, "-3.20", "-3,20"},    {-0.001, "0.00", "0,00"},    {999.999, "1,000.00", "1.000,00"},
    };
    for (const auto &c : cases) {
        UseLocale(QLocale::English, QLocale::UnitedStates);
        EXPECT_EQ(FormatAmount(c.value), QString::fromUtf8(c.english));
        UseLocale(QLocale::Greek, QLocale::Greece);
        EXPECT_EQ(FormatAmount(c.value), QString::fromUtf8(c.comma));
    }
}

TEST_F(ExpenseRules, AmountsGoToTheServiceWithAPointAndALeadingDigitInEveryLanguage)
{
    const struct {
        QLocale::Language language;
        QLocale::Territory territory;
        const char *stored;
        const char *sent;
    } cases[] = {
        {QLocale::English, QLocale::UnitedStates, "1,234.50", "1234.50"},
        {QLocale::English, QLocale::UnitedStates, ".50", "0.50"},
        {QLocale::English, QLocale::UnitedStates, "7", "7.00"},
        {QLocale::Greek, QLocale::Greece, "1.234,50", "1234.50"},
        {QLocale::Greek, QLocale::Greece, ",50", "0.50"},
        {QLocale::French, QLocale::France, "2.345.678,05", "2345678.05"},
        {QLocale::French, QLocale::France, "0,5", "0.50"},
        {QLocale::German, QLocale::Germany, "12,5", "12.50"},
        // Not an amount of this locale: sent as the separators give it, never without a digit
        // before the point.
        {QLocale::English, QLocale::UnitedStates, ".5x", "0.5x"},
        {QLocale::Greek, QLocale::Greece, ",5x", "0.5x"},
    };
    for (const auto &c : cases) {
        UseLocale(c.language, c.territory);
        EXPECT_EQ(modMain::NumToDot(AmountForRequest(QString::fromUtf8(c.stored))), QString::fromUtf8(c.sent))
            << c.stored;
    }
}

TEST_F(ExpenseRules, TheTotalSkipsCellsThatAreNoNumbers)
{
    EXPECT_DOUBLE_EQ(DayTotal({"1,000.25", "", "abc", "0.75", "-1.00", "12,5", "3."}), 1000.0);
    EXPECT_DOUBLE_EQ(DayTotal({}), 0.0);
    UseLocale(QLocale::German, QLocale::Germany);
    EXPECT_DOUBLE_EQ(DayTotal({"1.000,25", "0,75", "1,2,3"}), 1001.0);
}

TEST_F(ExpenseRules, FieldChecksListWhatIsMissingFieldByField)
{
    const QString prompt = T(320);
    const QString crlf = QStringLiteral("\r\n");
    const struct {
        ExpenseFields f;
        QString expected;
    } cases[] = {
        {{QStringLiteral("Shop"), QStringLiteral("Alpha"), 0, QStringLiteral("12.00")}, QString()},
        // Payee and task missing and an amount made of letters.
        {{QString(), QString(), 0, QStringLiteral("abc")},
         QStringLiteral("- ") + T(355) + crlf + "-" + T(356) + crlf + "-" + T(308)},
        // Only the amount missing: the heading is followed by an empty line.
        {{QStringLiteral("Shop"), QStringLiteral("Alpha"), 2, QString()}, crlf + QStringLiteral("- ") + T(303)},
        {{prompt, QStringLiteral("Alpha"), 1, QStringLiteral("1.00")}, QStringLiteral("- ") + T(355)},
        {{QStringLiteral("   "), QStringLiteral("Alpha"), 1, QStringLiteral("1.00")}, QStringLiteral("- ") + T(355)},
        {{QStringLiteral("Shop"), QStringLiteral("Alpha"), -1, QStringLiteral("0.00")},
         crlf + "-" + T(357) + crlf + "-" + T(358)},
        {{QStringLiteral("Shop"), QStringLiteral("Alpha"), 0, QStringLiteral("-5.00")}, crlf + "-" + T(341)},
        {{QStringLiteral("Shop"), QStringLiteral("Alpha"), 0, QStringLiteral("1.2.3")}, crlf + "-" + T(308)},
    };
    for (const auto &c : cases)
        EXPECT_EQ(FieldProblems(c.f, prompt), c.expected) << c.expected.toStdString();
    EXPECT_EQ(FieldProblemsMessage(crlf + "- " + T(303)), T(359) + crlf + crlf + "- " + T(303));
    EXPECT_FALSE(T(341).isEmpty());
}

TEST_F(ExpenseRules, RowsLookAsTheirCategoryAndSendStateSay)
{
    const struct {
        const char *category;
        const char *state;
        const char *picture;
        int fore;
        int back;
    } cases[] = {
        {"", "1", "PLUS", 255, 0xF8E8D6},   // no category wins over any state
        {"", "", "PLUS", 255, 0xF8E8D6},
        {"3", "0", "NORMAL", 0, 0xF8E8D6},
        {"3", "1", "CHECK", 0x808080, 0xE0E0E0},
        {"3", "2", "RESEND", 0, 0xF8E8D6},
        {"3", "3", "QUEST", 0, 0xF8E8D6},
        {"3", "7", "NORMAL", 0, 0xF8E8D6},
    };
    for (const auto &c : cases) {
        const RowLook look = LookOfRow(QString::fromLatin1(c.category), QString::fromLatin1(c.state));
        EXPECT_EQ(look.picture, QString::fromLatin1(c.picture)) << c.category << "/" << c.state;
        EXPECT_EQ(look.fore, c.fore);
        EXPECT_EQ(look.back, c.back);
    }
}

TEST_F(ExpenseRules, OnlyTheServicesOwnAcceptanceMarksARowSent)
{
    const QString head = QStringLiteral("<?xml version=\"1.0\" ?>\n");
    const struct {
        QString reply;
        int16_t state;
    } cases[] = {
        {head + "<RESULT><ID>17</ID></RESULT>", 1},
        {QStringLiteral("<RESULT><ID>17</ID></RESULT>\n"), 1},
        {head + "<ERROR><CODE>3</CODE><MESSAGE>Bad request</MESSAGE></ERROR>", 2},
        {head + "<ERROR><CODE>4</CODE><MESSAGE>Locked</MESSAGE></ERROR>", 2},
        {head + "<ERROR><CODE>7</CODE><MESSAGE>No</MESSAGE></ERROR>", 3},
        {head + "<ERROR><CODE>10</CODE><MESSAGE>Bad expense</MESSAGE></ERROR>", 3},
        {head + "<ERROR><CODE>0</CODE><MESSAGE>?</MESSAGE></ERROR>", 1},   // code 0 is no error
        {head + "<ERROR><CODE>12</CODE><MESSAGE>?</MESSAGE></ERROR>", 3},  // the whole code
        {QString(), 2},   // no reply, a refused connection, a time-out
        {QStringLiteral("<html><head><title>404 Not Found</title></head></html>"), 2},
        {QStringLiteral("<html><head><title>500 Internal Server Error</title></head></html>"), 2},
        {QStringLiteral("<html><body>Welcome to the hotel network. Please sign in.</body></html>"), 2},
        {QStringLiteral("<!DOCTYPE html><title>Portal</title>"), 2},
        {QStringLiteral("OK"), 2},
        {head + "<RESULT><ID>17</ID></RES", 2},   // cut off on the way
        {QStringLiteral("#!~ 7f3a q\x01\x02 ;;;"), 2},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(SyncStateOfReply(c.reply), c.state) << c.reply.toStdString();
        EXPECT_EQ(StatusOfSyncState(c.state), c.state == 1 ? 290 : 291);
    }
}
