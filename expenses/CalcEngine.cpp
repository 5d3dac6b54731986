#include "expenses/CalcEngine.h"

#include "core/modMain.h"
#include "expenses/ExpenseRules.h"

#include <cmath>

namespace {

// The display's text while an error is shown.
constexpr int16_t kErrorText = 1710;

QString Dec()
{
    return modMain::DecimalSep.isEmpty() ? QStringLiteral(".") : modMain::DecimalSep;
}

int DigitCount(const QString &s)
{
    int n = 0;
    for (QChar c : s)
        if (c.isDigit())
            ++n;
    return n;
}

} // namespace

void CalcEngine::Open(const QString &amount)
{
    ClearAll();
    m_error = false;
    m_entry = amount.trimmed();
    m_display = amount;
    m_pending = Fresh;
}

void CalcEngine::Digit(int index)
{
    if (index < 0 || index > 10)
        return;
    m_error = false;
    // Typing after opening, Clear or = starts a new number.
    if (m_pending == Fresh) {
        m_entry.clear();
        m_pending = None;
    }
    if (index < 10) {
        if (DigitCount(m_entry) < kMaxDigits)
            m_entry += QChar(u'0' + index);
        m_display = m_entry;
        return;
    }
    // The separator shows with the digit after it.
    if (!m_entry.contains(Dec()))
        m_entry += Dec();
    else
        m_display = m_entry;
}

void CalcEngine::Function(int index)
{
    if (index < 0 || index > 4 || m_entry.isEmpty() || m_entry == Dec())
        return;
    const std::optional<double> v = ValueOf(m_entry);
    if (!v)
        return;
    if (index > 0) {
        if (!m_haveAccumulator) {
            m_accumulator = *v;
            m_haveAccumulator = true;
        } else {
            m_operand = *v;
            const double r = DoCalc();
            if (m_error)
                return;
            m_accumulator = r;
            m_operand = 0;
        }
        m_pending = static_cast<Op>(index);
        m_entry.clear();
        return;
    }
    // Equals: without an operation pending the typed number is the result.
    if (m_pending == None || m_pending == Fresh) {
        m_result = *v;
        if (!Usable(m_result)) {
            Fail();
            return;
        }
        m_entry = EntryOf(m_result);
        m_display = expenserules::FormatAmount(m_result);
    } else {
        m_operand = *v;
        DoCalc();
        if (m_error)
            return;
    }
    m_accumulator = 0;
    m_haveAccumulator = false;
    m_operand = 0;
    m_pending = Fresh;
}

double CalcEngine::DoCalc()
{
    switch (m_pending) {
    case Add:
        m_result = m_accumulator + m_operand;
        break;
    case Subtract:
        m_result = m_accumulator - m_operand;
        break;
    case Multiply:
        m_result = m_accumulator * m_operand;
        break;
    case Divide:
        if (m_operand == 0) {
            Fail();
            return 0;
        }
        m_result = m_accumulator / m_operand;
        break;
    default:
        break;
    }
    if (!Usable(m_result)) {
        Fail();
        return 0;
    }
    m_entry = EntryOf(m_result);
    m_display = expenserules::FormatAmount(m_result);
    return m_result;
}

void CalcEngine::Memory(int index)
{
    if (index == 0) {
        m_error = false;
        m_entry = EntryOf(m_memory);
        m_display = expenserules::FormatAmount(m_memory);
        m_memory = 0;
        return;
    }
    if ((index != 1 && index != 2) || m_entry.isEmpty())
        return;
    const std::optional<double> v = ValueOf(m_entry);
    if (!v)
        return;
    const double next = index == 1 ? m_memory - *v : m_memory + *v;
    if (!Usable(next)) {
        Fail();
        return;
    }
    m_memory = next;
}

void CalcEngine::Clear()
{
    ClearAll();
    m_error = false;
    m_display = expenserules::FormatAmount(0);
}

void CalcEngine::ClearAll()
{
    m_accumulator = 0;
    m_haveAccumulator = false;
    m_operand = 0;
    m_result = 0;
    m_entry.clear();
    m_pending = Fresh;
}

std::optional<QString> CalcEngine::Ok() const
{
    if (m_error)
        return std::nullopt;
    QString text = m_display.trimmed();
    if (text.isEmpty())
        text = QStringLiteral("0");
    const std::optional<double> v = ValueOf(text);
    if (!v || !Usable(*v))
        return std::nullopt;
    return expenserules::FormatAmount(*v);
}

void CalcEngine::Fail()
{
    ClearAll();
    m_error = true;
    m_display = modMain::GetLangString(kErrorText, true);
    if (m_display.isEmpty())
        m_display = QStringLiteral("Error");
}

bool CalcEngine::Usable(double v) const
{
    return std::isfinite(v) && std::fabs(v) < kLimit;
}

CalcEngine::KeyKind CalcEngine::KeyOfChar(QChar c, int &index)
{
    if (c >= u'0' && c <= u'9') {
        index = c.unicode() - u'0';
        return KeyKind::Digit;
    }
    // Either separator is taken as the decimal one, whatever the keyboard's layout.
    if (c == u'.' || c == u',' || QString(c) == Dec()) {
        index = 10;
        return KeyKind::Digit;
    }
    static const QString functions = QStringLiteral("=+-*/");
    const qsizetype f = functions.indexOf(c);
    if (f >= 0) {
        index = static_cast<int>(f);
        return KeyKind::Function;
    }
    return KeyKind::None;
}

std::optional<double> CalcEngine::ValueOf(const QString &text)
{
    const QString t = text.trimmed();
    if (t.isEmpty())
        return std::nullopt;
    if (std::optional<double> v = expenserules::ReadAmount(t))
        return v;
    // A number typed up to its separator.
    if (t.endsWith(Dec()) && t.size() > Dec().size())
        return expenserules::ReadAmount(t + QStringLiteral("0"));
    return std::nullopt;
}

QString CalcEngine::EntryOf(double value)
{
    QString s = QString::number(value, 'f', 10);
    while (s.endsWith(u'0'))
        s.chop(1);
    if (s.endsWith(u'.'))
        s.chop(1);
    if (s == QStringLiteral("-0"))
        s = QStringLiteral("0");
    s.replace(u'.', Dec());
    return s;
}
