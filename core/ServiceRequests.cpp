// The six requests of the service protocol. Each sender of the program (sign-in and version
// checks, the daily download, the single uploads, the synchronisation window) takes its
// parameter string from here, so that they all put the same bytes on the wire.
#include "core/ServiceRequests.h"

#include "core/clsTagParser.h"
#include "core/modHttp.h"
#include "core/modMain.h"

#include <QDateTime>

#include <cmath>

namespace modHttp {

namespace {

QString Credentials()
{
    return QStringLiteral("&username=") + modMain::UserNameURL + QStringLiteral("&password=")
           + modMain::PasswordURL;
}

ServiceRequest Reading(const char *action)
{
    return {QStringLiteral("action=") + QLatin1String(action) + Credentials(), false};
}

} // namespace

QString RequestDateTime(int32_t dayKey, double secs)
{
    return QString::number(dayKey) + modMain::SecsToHM(secs);
}

QString IdText(double id)
{
    if (!std::isfinite(id))
        return QStringLiteral("0");
    return QString::number(std::trunc(id), 'f', 0);
}

QString TextParam(const QString &text)
{
    return URLEncode(EncodeUTF8(text));
}

ServiceRequest NameRequest()
{
    return Reading("name");
}

ServiceRequest VersionRequest()
{
    return Reading("version");
}

ServiceRequest ProjectsRequest()
{
    return Reading("projects");
}

ServiceRequest ExpensesRequest()
{
    return Reading("expenses");
}

ServiceRequest AddTimeRequest(const AddTimeValues &entry)
{
    QString p = QStringLiteral("action=addTime&cmt=") + TextParam(entry.comment);
    p += QStringLiteral("&prj=") + IdText(entry.projID);
    p += QStringLiteral("&task=") + IdText(entry.taskID);
    p += QStringLiteral("&tc=") + IdText(entry.catID);
    p += QStringLiteral("&start=") + RequestDateTime(entry.dayKey, entry.startSecs);
    p += QStringLiteral("&end=") + RequestDateTime(entry.dayKey, entry.startSecs + entry.durationSecs);
    p += Credentials();
    return {p, true};
}

ServiceRequest AddExpenseRequest(const AddExpenseValues &expense)
{
    QString p = QStringLiteral("action=addExpense&cmt=") + TextParam(expense.comment);
    p += QStringLiteral("&prj=") + IdText(expense.projID);
    p += QStringLiteral("&task=") + IdText(expense.taskID);
    p += QStringLiteral("&ec=") + IdText(expense.expCatID);
    p += QStringLiteral("&amount=") + modMain::NumToDot(expense.amount);
    p += QStringLiteral("&charge=") + RequestDateTime(expense.dayKey, expense.timeSecs);
    p += QStringLiteral("&payee=") + TextParam(expense.payee);
    p += QStringLiteral("&code=") + TextParam(expense.code);
    p += Credentials();
    return {p, true};
}

int16_t AddReplyCode(const QString &reply)
{
    const clsTagParser parser;
    const int16_t code = parser.CheckInput(reply);
    if (code != ReplyOk)
        return code;
    // The service answers with tags; a web page is somebody else's answer.
    const QString text = reply.trimmed();
    const bool page = text.contains(QLatin1String("<html"), Qt::CaseInsensitive)
                      || text.contains(QLatin1String("<!doctype"), Qt::CaseInsensitive)
                      || text.contains(QLatin1String("<body"), Qt::CaseInsensitive);
    if (!text.startsWith(u'<') || page)
        return NoReply;
    // Nor is an answer that broke off on the way: what follows the XML declaration must be
    // whole elements.
    QString elements = text;
    if (elements.startsWith(QLatin1String("<?xml"))) {
        const qsizetype end = elements.indexOf(QLatin1String("?>"));
        elements = end < 0 ? QString() : elements.mid(end + 2);
    }
    clsTagParser walker;
    if (walker.ParseTags(elements) != clsTagParser::Complete)
        return NoReply;
    return code;
}

int16_t SendStateOf(int16_t replyCode)
{
    if (replyCode == ReplyOk)
        return 1;
    if (replyCode >= 5 && replyCode <= 99)
        return 3;
    return 2;
}

bool EntryFinished(int32_t entryDay, double start, double sec, const QDateTime &now)
{
    const int32_t today = modMain::DateToLong(now.date());
    if (entryDay > today)
        return false;
    if (entryDay == today) {
        const QTime t = now.time();
        const double nowSecs = t.hour() * 3600 + t.minute() * 60;
        if (nowSecs < start + sec)
            return false;
    }
    return true;
}

QString SendRequest(const ServiceRequest &request, int32_t kind, modMain::Progress *progress)
{
    return HttpRequest(request.params, kind, request.isPost, progress);
}

} // namespace modHttp
