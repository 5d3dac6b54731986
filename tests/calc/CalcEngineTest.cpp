// The amount calculator's arithmetic: key sequences from the opening amount to what the display
// shows, whether the memory marker shows, and what OK would write into the amount box, in a
// locale with the decimal point and in one with the decimal comma.
#include "core/modMain.h"
#include "expenses/CalcEngine.h"

#include <QLocale>
#include <gtest/gtest.h>

using namespace modMain;

inline void PrintTo(const QString &s, std::ostream *os)
{
    *os << '"' << s.toStdString() << '"';
}

namespace {

// The cases are written with the point as the decimal separator and the comma grouping; for
// the other locale both swap.
QString InLocale(QString text, bool comma)
{
    if (!comma)
        return text;
    for (QChar &c : text) {
        if (c == u'.')
            c = u',';
        else if (c == u',')
            c = u'.';
    }
    return text;
}

// Keys: digits; "." the separator key; + - * / = the function keys; R recall the memory,
// m M-, p M+; C Clear.
void Press(CalcEngine &calc, const QString &keys)
{
    for (QChar k : keys) {
        if (k.isDigit())
            calc.Digit(k.unicode() - u'0');
        else if (k == u'.')
            calc.Digit(10);
        else if (k == u'R')
            calc.Memory(0);
        else if (k == u'm')
            calc.Memory(1);
        else if (k == u'p')
            calc.Memory(2);
        else if (k == u'C')
            calc.Clear();
        else
            calc.Function(int(QStringLiteral("=+-*/").indexOf(k)));
    }
}

struct Case {
    const char *name;
    const char *opened;    // the amount box's text
    const char *keys;
    const char *display;   // "!" for the error text
    bool memory;           // the memory marker shows
    const char *ok;        // what OK writes; "" when it writes nothing
};

const Case kCases[] = {
    {"OK at once writes the amount back", "12.50", "", "12.50", false, "12.50"},
    {"a digit replaces the opened amount", "12.50", "3", "3", false, "3.00"},
    {"an operator takes the opened amount first", "12.50", "+2=", "14.50", false, "14.50"},
    {"a grouped opened amount counts whole", "1,234.50", "+1=", "1,235.50", false, "1,235.50"},
    {"a chain shows each step", "", "1+2+", "3.00", false, "3.00"},
    {"a chain goes on after its step", "", "1+2+4=", "7.00", false, "7.00"},
    {"left to right", "", "2*3+4=", "10.00", false, "10.00"},
    {"a zero step still counts", "", "3-3-4+", "-4.00", false, "-4.00"},
    {"a zero first operand counts", "", "0-4=", "-4.00", false, "-4.00"},
    {"= without an operator shows the typed number", "", "5=", "5.00", false, "5.00"},
    {"= right after opening keeps the amount", "7.25", "=", "7.25", false, "7.25"},
    {"a result is the next first operand", "", "1+2=+3=", "6.00", false, "6.00"},
    {"division", "", "10/4=", "2.50", false, "2.50"},
    {"the separator twice is taken once", "", "1..5", "1.5", false, "1.50"},
    {"a number may start with the separator", "", ".5", ".5", false, "0.50"},
    {"typed up to the separator", "", "5.", "5", false, "5.00"},
    {"division by zero is an error", "", "7/0=", "!", false, ""},
    {"division by zero inside a chain is an error", "", "6/0+", "!", false, ""},
    {"a digit after an error starts anew", "", "7/0=8", "8", false, "8.00"},
    {"an operator after an error does nothing", "", "7/0=+", "!", false, ""},
    {"a result the box cannot hold is an error", "", "9999999*9999999=", "!", false, ""},
    {"just below the limit", "", "999999*999999=", "999,998,000,001.00", false, "999,998,000,001.00"},
    {"digits beyond twelve are dropped", "", "12345678901234", "123456789012", false, "123,456,789,012.00"},
    {"Clear shows zero and drops the pending operation", "", "12+C3=", "3.00", false, "3.00"},
    {"Clear alone", "4.00", "C", "0.00", false, "0.00"},
    {"M+ with an empty entry changes nothing", "", "Cp", "0.00", false, "0.00"},
    {"M+ keeps the entry in the memory", "", "5p", "5", true, "5.00"},
    {"recall shows the memory and clears it", "", "5pC2R", "5.00", false, "5.00"},
    {"M- and recall", "", "9mR", "-9.00", false, "-9.00"},
    {"the memory adds up and survives Clear", "", "2pC3pCR", "5.00", false, "5.00"},
    {"recalling an empty memory shows zero", "3.00", "R", "0.00", false, "0.00"},
    {"a recalled value takes more digits", "", "5p+R1=", "56.00", false, "56.00"},
};

class CalcTable : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override
    {
        InitSeparators(GetParam() ? QLocale(QLocale::Greek, QLocale::Greece)
                                  : QLocale(QLocale::English, QLocale::UnitedStates));
    }
    void TearDown() override { InitSeparators(QLocale(QLocale::English, QLocale::UnitedStates)); }
};

TEST_P(CalcTable, KeySequencesShowAndWriteTheirResults)
{
    const bool comma = GetParam();
    for (const Case &c : kCases) {
        SCOPED_TRACE(c.name);
        CalcEngine calc;
        calc.Open(InLocale(QString::fromUtf8(c.opened), comma));
        Press(calc, QString::fromLatin1(c.keys));
        const QString display = QString::fromUtf8(c.display);
        if (display == u"!") {
            EXPECT_TRUE(calc.Error());
            EXPECT_EQ(calc.Display(), GetLangString(1710, true).isEmpty() ? QStringLiteral("Error")
                                                                          : GetLangString(1710, true));
        } else {
            EXPECT_FALSE(calc.Error());
            EXPECT_EQ(calc.Display(), InLocale(display, comma));
        }
        EXPECT_EQ(calc.MemoryShown(), c.memory);
        const std::optional<QString> ok = calc.Ok();
        const QString expected = QString::fromUtf8(c.ok);
        if (expected.isEmpty())
            EXPECT_FALSE(ok.has_value());
        else
            EXPECT_EQ(ok.value_or(QStringLiteral("<none>")), InLocale(expected, comma));
    }
}

TEST_P(CalcTable, TheKeyboardTakesBothSeparatorsAndTheSigns)
{
    const struct {
        QChar typed;
        CalcEngine::KeyKind kind;
        int index;
    } keys[] = {
        {u'0', CalcEngine::KeyKind::Digit, 0},    {u'9', CalcEngine::KeyKind::Digit, 9},
        {u'.', CalcEngine::KeyKind::Digit, 10},   {u',', CalcEngine::KeyKind::Digit, 10},
        {u'=', CalcEngine::KeyKind::Function, 0}, {u'+', CalcEngine::KeyKind::Function, 1},
        {u'-', CalcEngine::KeyKind::Function, 2}, {u'*', CalcEngine::KeyKind::Function, 3},
        {u'/', CalcEngine::KeyKind::Function, 4}, {u'a', CalcEngine::KeyKind::None, -1},
        {u';', CalcEngine::KeyKind::None, -1},    {u' ', CalcEngine::KeyKind::None, -1},
    };
    for (const auto &k : keys) {
        int index = -1;
        EXPECT_EQ(CalcEngine::KeyOfChar(k.typed, index), k.kind) << QString(k.typed).toStdString();
        if (k.kind != CalcEngine::KeyKind::None)
            EXPECT_EQ(index, k.index) << QString(k.typed).toStdString();
    }
}

TEST_P(CalcTable, ClearAllKeepsTheMemory)
{
    CalcEngine calc;
    calc.Open(QString());
    Press(calc, QStringLiteral("4p2+"));
    calc.ClearAll();
    EXPECT_EQ(calc.EntryText(), QString());
    EXPECT_EQ(calc.Pending(), CalcEngine::Fresh);
    EXPECT_TRUE(calc.MemoryShown());
    EXPECT_DOUBLE_EQ(calc.MemoryValue(), 4);
}

INSTANTIATE_TEST_SUITE_P(Locales, CalcTable, ::testing::Values(false, true),
                         [](const auto &info) { return info.param ? "DecimalComma" : "DecimalPoint"; });

} // namespace
