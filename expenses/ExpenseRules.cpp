#include "expenses/ExpenseRules.h"

#include "core/ServiceRequests.h"
#include "core/modMain.h"

#include <cmath>

namespace expenserules {

namespace {

bool AllDigits(QStringView s)
{
    for (QChar c : s)
        if (c < u'0' || c > u'9')
            return false;
    return true;
}

// The whole part of an amount without its group separators; nullopt when a separator stands
// anywhere but between groups of three digits.
std::optional<QString> WholeDigits(const QString &whole, const QString &group)
{
    if (group.isEmpty() || !whole.contains(group))
        return AllDigits(whole) ? std::optional<QString>(whole) : std::nullopt;
    const QStringList parts = whole.split(group);
    if (parts.first().isEmpty() || parts.first().size() > 3 || !AllDigits(parts.first()))
        return std::nullopt;
    for (qsizetype i = 1; i < parts.size(); ++i)
        if (parts[i].size() != 3 || !AllDigits(parts[i]))
            return std::nullopt;
    return parts.join(QString());
}

QString Grouped(const QString &digits)
{
    QString out;
    const qsizetype n = digits.size();
    for (qsizetype i = 0; i < n; ++i) {
        if (i > 0 && (n - i) % 3 == 0)
            out += modMain::GroupSep;
        out += digits[i];
    }
    return out;
}

} // namespace

std::optional<double> ReadAmount(const QString &text)
{
    QString t = text.trimmed();
    bool negative = false;
    if (t.startsWith(u'-')) {
        negative = true;
        t = t.mid(1).trimmed();
    }
    const QString dec = modMain::DecimalSep.isEmpty() ? QStringLiteral(".") : modMain::DecimalSep;
    const QString group = modMain::GroupSep == dec ? QString() : modMain::GroupSep;
    QString whole = t, fraction;
    const qsizetype p = t.indexOf(dec);
    if (p >= 0) {
        whole = t.left(p);
        fraction = t.mid(p + dec.size());
        if (fraction.isEmpty() || !AllDigits(fraction))
            return std::nullopt;
    }
    if (whole.isEmpty() && fraction.isEmpty())
        return std::nullopt;
    const std::optional<QString> digits = WholeDigits(whole, group);
    if (!digits)
        return std::nullopt;
    bool ok = false;
    const QString plain = (digits->isEmpty() ? QStringLiteral("0") : *digits)
                          + (fraction.isEmpty() ? QString() : QStringLiteral(".") + fraction);
    const double v = plain.toDouble(&ok);
    if (!ok || !std::isfinite(v))
        return std::nullopt;
    return negative ? -v : v;
}

QString FormatAmount(double value)
{
    const double cents = std::round(std::fabs(value) * 100.0);
    const QString plain = QString::number(cents / 100.0, 'f', 2);
    const qsizetype p = plain.indexOf(u'.');
    const QString dec = modMain::DecimalSep.isEmpty() ? QStringLiteral(".") : modMain::DecimalSep;
    QString out = Grouped(plain.left(p)) + dec + plain.mid(p + 1);
    if (value < 0 && cents != 0)
        out.prepend(u'-');
    return out;
}

QString NormalizeAmount(const QString &text)
{
    const std::optional<double> v = ReadAmount(text);
    return v ? FormatAmount(*v) : text.trimmed();
}

QString AmountForRequest(const QString &stored)
{
    const QString dec = modMain::DecimalSep.isEmpty() ? QStringLiteral(".") : modMain::DecimalSep;
    if (const std::optional<double> v = ReadAmount(stored)) {
        QString plain = QString::number(std::round(*v * 100.0) / 100.0, 'f', 2);
        plain.replace(u'.', dec);
        return plain == QStringLiteral("-0") + dec + QStringLiteral("00") ? plain.mid(1) : plain;
    }
    QString out = stored.trimmed();
    if (out.startsWith(dec))
        out.prepend(u'0');
    else if (out.startsWith(u'-' + dec))
        out.insert(1, u'0');
    return out;
}

std::optional<QString> AmountKeyText(QChar typed)
{
    if (typed >= u'0' && typed <= u'9')
        return QString(typed);
    if (typed == u'.' || typed == u',')
        return modMain::DecimalSep.isEmpty() ? QStringLiteral(".") : modMain::DecimalSep;
    return std::nullopt;
}

double DayTotal(const QStringList &amounts)
{
    double sum = 0;
    for (const QString &a : amounts)
        if (const std::optional<double> v = ReadAmount(a))
            sum += *v;
    return sum;
}

QString FieldProblems(const ExpenseFields &f, const QString &payeePrompt)
{
    using modMain::GetLangString;
    const QString crlf = QStringLiteral("\r\n");
    QString msg;
    const QString payee = f.payee.trimmed();
    if (payee.isEmpty() || f.payee == payeePrompt || payee == payeePrompt.trimmed())
        msg = QStringLiteral("- ") + GetLangString(355);
    if (f.project.isEmpty())
        msg += crlf + QStringLiteral("-") + GetLangString(356);
    if (f.categoryIndex == -1)
        msg += crlf + QStringLiteral("-") + GetLangString(357);
    if (f.amount.trimmed().isEmpty()) {
        msg += crlf + QStringLiteral("- ") + GetLangString(303);
    } else {
        const std::optional<double> v = ReadAmount(f.amount);
        if (!v)
            msg += crlf + QStringLiteral("-") + GetLangString(308);
        else if (std::round(*v * 100.0) == 0)
            msg += crlf + QStringLiteral("-") + GetLangString(358);
        else if (*v < 0)
            msg += crlf + QStringLiteral("-") + GetLangString(341);
    }
    return msg;
}

QString FieldProblemsMessage(const QString &problems)
{
    return modMain::GetLangString(359) + QStringLiteral("\r\n") + problems;
}

RowLook LookOfRow(const QString &categoryId, const QString &state)
{
    if (categoryId.isEmpty())
        return {QStringLiteral("PLUS"), kNewFore, kRowBack};
    const QString s = state.trimmed();
    if (s == u"1")
        return {QStringLiteral("CHECK"), kSentFore, kSentBack};
    if (s == u"2")
        return {QStringLiteral("RESEND"), 0, kRowBack};
    if (s == u"3")
        return {QStringLiteral("QUEST"), 0, kRowBack};
    return {QStringLiteral("NORMAL"), 0, kRowBack};
}

int16_t SyncStateOfReply(const QString &reply)
{
    // One rule for every add request of the program: what counts as the service's answer and
    // the send state it gives.
    return modHttp::SendStateOf(modHttp::AddReplyCode(reply));
}

int16_t StatusOfSyncState(int16_t state)
{
    return state == 1 ? 290 : 291;
}

} // namespace expenserules
