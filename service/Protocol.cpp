#include "Protocol.h"

#include <QDate>
#include <QRegularExpression>

namespace service {

namespace {

const QByteArray Endpoint = "/tarv/XMLServer";

int HexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

QByteArray Head()
{
    return QByteArray(ReplyHead) + '\n';
}

Reply Xml(const QString &tree)
{
    Reply r;
    r.body = Head() + tree.toUtf8();
    return r;
}

Reply Error(int code, const QString &message)
{
    return Xml(QStringLiteral("<ERROR><CODE>%1</CODE><MESSAGE>%2</MESSAGE></ERROR>").arg(code).arg(message));
}

QString Flag(bool expenses)
{
    return expenses ? QStringLiteral("TRUE") : QStringLiteral("FALSE");
}

bool AllDigits(const QByteArray &s)
{
    if (s.isEmpty())
        return false;
    for (char c : s)
        if (c < '0' || c > '9')
            return false;
    return true;
}

// A whole number in decimal digits, at most 15 of them.
bool ReadId(const QByteArray &s, qint64 *out)
{
    if (!AllDigits(s) || s.size() > 15)
        return false;
    *out = s.toLongLong();
    return true;
}

// yyyymmddhhmm with a real date; returns the minutes after that day's midnight, or -1.
int ReadDateTime(const QByteArray &s, int maxMinutes, QByteArray *day)
{
    if (s.size() != 12 || !AllDigits(s))
        return -1;
    const QDate d(s.left(4).toInt(), s.mid(4, 2).toInt(), s.mid(6, 2).toInt());
    if (!d.isValid())
        return -1;
    const int hh = s.mid(8, 2).toInt(), mm = s.mid(10, 2).toInt();
    if (mm > 59 || hh * 60 + mm > maxMinutes)
        return -1;
    *day = s.left(8);
    return hh * 60 + mm;
}

bool ValidStamp(const QByteArray &s)
{
    return s.size() == 6 && AllDigits(s) && s.left(2).toInt() <= 23 && s.mid(2, 2).toInt() <= 59
           && s.mid(4, 2).toInt() <= 59;
}

const QList<QByteArray> &Order(const QByteArray &action)
{
    static const QList<QByteArray> simple = {"action", "username", "password", "tstmp"};
    static const QList<QByteArray> addTime = {"action", "cmt", "prj", "task", "tc", "start", "end",
                                              "username", "password", "tstmp"};
    static const QList<QByteArray> addExpense = {"action", "cmt", "prj", "task", "ec", "amount", "charge",
                                                 "payee", "code", "username", "password", "tstmp"};
    if (action == "addTime")
        return addTime;
    if (action == "addExpense")
        return addExpense;
    return simple;
}

} // namespace

QList<QPair<QByteArray, QByteArray>> ParseForm(const QByteArray &raw, bool *ok)
{
    *ok = true;
    QList<QPair<QByteArray, QByteArray>> out;
    if (raw.isEmpty())
        return out;
    for (const QByteArray &piece : raw.split('&')) {
        const qsizetype eq = piece.indexOf('=');
        if (eq <= 0) {
            *ok = false;
            return out;
        }
        const QByteArray value = piece.mid(eq + 1);
        QByteArray decoded;
        for (qsizetype i = 0; i < value.size(); ++i) {
            const char c = value[i];
            if (c == '+') {
                decoded += ' ';
            } else if (c == '%') {
                const int hi = i + 2 < value.size() ? HexValue(value[i + 1]) : -1;
                const int lo = i + 2 < value.size() ? HexValue(value[i + 2]) : -1;
                if (hi < 0 || lo < 0) {
                    *ok = false;
                    return out;
                }
                decoded += char(hi * 16 + lo);
                i += 2;
            } else {
                decoded += c;
            }
        }
        out.append({piece.left(eq), decoded});
    }
    return out;
}

QString DecodeCp1252(const QByteArray &bytes)
{
    static const char16_t high[32] = {
        0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
        0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
        0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
    QString s;
    s.reserve(bytes.size());
    for (char c : bytes) {
        const unsigned char b = static_cast<unsigned char>(c);
        s += (b >= 0x80 && b <= 0x9F) ? QChar(high[b - 0x80]) : QChar(b);
    }
    return s;
}

QByteArray Protocol::ActionOf(const QByteArray &method, const QByteArray &query, const QByteArray &body)
{
    bool ok = false;
    const auto params = ParseForm(method == "POST" ? body : query, &ok);
    for (const auto &p : params)
        if (p.first == "action")
            return p.second;
    return QByteArray();
}

bool Protocol::IsErrorPageKind(const QByteArray &kind)
{
    return kind == "404" || kind == "500" || kind == "502" || kind == "servlet-404" || kind == "servlet-500"
           || kind == "portal";
}

Reply Protocol::ErrorPage(const QByteArray &kind)
{
    Reply r;
    r.contentType = "text/html; charset=iso-8859-1";
    if (kind == "404") {
        r.status = 404;
        r.body = "<!DOCTYPE HTML PUBLIC \"-//IETF//DTD HTML 2.0//EN\">\n<html><head>\n<title>404 Not Found</title>\n"
                 "</head><body>\n<h1>Not Found</h1>\n<p>The requested URL was not found on this server.</p>\n"
                 "<hr>\n<address>Web Server at 127.0.0.1</address>\n</body></html>\n";
    } else if (kind == "500") {
        r.status = 500;
        r.body = "<!DOCTYPE HTML PUBLIC \"-//IETF//DTD HTML 2.0//EN\">\n<html><head>\n"
                 "<title>500 Internal Server Error</title>\n</head><body>\n<h1>Internal Server Error</h1>\n"
                 "<p>The server encountered an internal error or misconfiguration and was unable to complete "
                 "your request.</p>\n<hr>\n<address>Web Server at 127.0.0.1</address>\n</body></html>\n";
    } else if (kind == "502") {
        r.status = 502;
        r.contentType = "text/html";
        r.body = "<html>\r\n<head><title>502 Bad Gateway</title></head>\r\n<body>\r\n"
                 "<center><h1>502 Bad Gateway</h1></center>\r\n<hr><center>proxy</center>\r\n</body>\r\n</html>\r\n";
    } else if (kind == "servlet-404") {
        r.status = 404;
        r.contentType = "text/html;charset=utf-8";
        r.body = "<html><head><title>Servlet container - Error report</title></head><body>"
                 "<h1>HTTP Status 404 - /tarv/XMLServer</h1><hr/><p><b>type</b> Status report</p>"
                 "<p><b>message</b> <u>/tarv/XMLServer</u></p><p><b>description</b> <u>The requested resource "
                 "is not available.</u></p><hr/></body></html>";
    } else if (kind == "servlet-500") {
        r.status = 500;
        r.contentType = "text/html;charset=utf-8";
        r.body = "<html><head><title>Servlet container - Error report</title></head><body>"
                 "<h1>HTTP Status 500 - </h1><hr/><p><b>type</b> Exception report</p>"
                 "<p><b>description</b> <u>The server encountered an internal error that prevented it from "
                 "fulfilling this request.</u></p><hr/></body></html>";
    } else if (kind == "portal") {
        // A hotel's or an airport's sign-in page, answering every address with success.
        r.status = 200;
        r.contentType = "text/html; charset=utf-8";
        r.body = "<!DOCTYPE html>\n<html><head><title>Welcome</title></head><body>\n<h1>Welcome to the guest "
                 "network</h1>\n<p>Please accept the terms of use to continue.</p>\n</body></html>\n";
    }
    return r;
}

Reply Protocol::Garbage()
{
    Reply r;
    r.contentType = "application/octet-stream";
    const QByteArray chunk("#!~ 7f3a q\x01\x02\xc3\x28 ;;; 0xDEADBEEF << >> %%\xff\xfe", 33);
    for (int i = 0; i < 8; ++i)
        r.body += chunk;
    return r;
}

Outcome Protocol::handle(const QByteArray &method, const QByteArray &path, const QByteArray &query,
                         const QByteArray &body, const QByteArray &contentType)
{
    Outcome o;
    if (path != Endpoint) {
        o.reply = ErrorPage("404");
        return o;
    }
    if (method != "GET" && method != "POST") {
        o.reply = Error(BadRequest, QStringLiteral("Only GET and POST are understood"));
        return o;
    }
    if (method == "POST" && !contentType.toLower().startsWith("application/x-www-form-urlencoded")) {
        o.reply = Error(BadRequest, QStringLiteral("A POST must be form-encoded"));
        return o;
    }
    const QByteArray raw = method == "POST" ? body : query;
    bool ok = false;
    const auto params = ParseForm(raw, &ok);
    if (!ok) {
        o.reply = Error(BadRequest, QStringLiteral("The parameters cannot be read"));
        return o;
    }
    return dispatch(method, params, raw);
}

Outcome Protocol::dispatch(const QByteArray &method, const QList<QPair<QByteArray, QByteArray>> &params,
                           const QByteArray &raw)
{
    Outcome o;
    if (params.isEmpty() || params.first().first != "action") {
        o.reply = Error(BadRequest, QStringLiteral("The request must start with action="));
        return o;
    }
    const QByteArray action = params.first().second;
    static const QList<QByteArray> gets = {"name", "version", "projects", "expenses"};
    static const QList<QByteArray> posts = {"addTime", "addExpense"};
    if (!gets.contains(action) && !posts.contains(action)) {
        o.reply = Error(BadRequest, QStringLiteral("Unknown action"));
        return o;
    }
    if ((gets.contains(action) && method != "GET") || (posts.contains(action) && method != "POST")) {
        o.reply = Error(BadRequest, QStringLiteral("This action needs a %1").arg(gets.contains(action) ? "GET" : "POST"));
        return o;
    }
    const QList<QByteArray> &order = Order(action);
    bool inOrder = params.size() == order.size();
    for (qsizetype i = 0; inOrder && i < order.size(); ++i)
        inOrder = params[i].first == order[i];
    if (!inOrder) {
        QStringList names;
        for (const QByteArray &n : order)
            names << QString::fromLatin1(n);
        o.reply = Error(BadRequest, QStringLiteral("Expected the parameters %1 in this order").arg(names.join(u',')));
        return o;
    }
    auto value = [&](const char *name) -> QByteArray {
        for (const auto &p : params)
            if (p.first == name)
                return p.second;
        return QByteArray();
    };
    if (!ValidStamp(value("tstmp"))) {
        o.reply = Error(BadRequest, QStringLiteral("The time stamp must be hhmmss"));
        return o;
    }

    const QString username = DecodeCp1252(value("username"));
    const Account *account = m_data.findAccount(username);
    if (!account) {
        o.reply = Error(UnknownUser, QStringLiteral("Unknown user name"));
        return o;
    }
    if (DecodeCp1252(value("password")) != account->password) {
        o.reply = Error(WrongPassword, QStringLiteral("Wrong password"));
        return o;
    }
    if (account->locked) {
        o.reply = Error(AccountLocked, QStringLiteral("The account is locked"));
        return o;
    }

    if (action == "name") {
        o.reply = Xml(QStringLiteral("<USER><FULLNAME>%1</FULLNAME></USER>").arg(account->fullname));
        return o;
    }
    if (action == "version") {
        o.reply = Xml(QStringLiteral("<UPDATE><VERSION>%1</VERSION></UPDATE>").arg(m_data.version));
        return o;
    }
    if (action == "projects") {
        QString t = QStringLiteral("<PROJECTS>\n");
        for (const Project &p : account->projects) {
            t += QStringLiteral("<PROJECT><ID>%1</ID><NAME>%2</NAME><EXPENSES>%3</EXPENSES>\n")
                     .arg(p.id).arg(p.name, Flag(p.expenses));
            for (const Task &task : p.tasks) {
                t += QStringLiteral("  <TASK><NAME>%1</NAME><ID>%2</ID><EXPENSES>%3</EXPENSES>\n")
                         .arg(task.name).arg(task.id).arg(Flag(task.expenses));
                for (qint64 cid : task.categories)
                    t += QStringLiteral("    <CATEGORY><ID>%1</ID><NAME>%2</NAME></CATEGORY>\n")
                             .arg(cid).arg(account->findCategory(cid)->name);
                t += QStringLiteral("  </TASK>\n");
            }
            t += QStringLiteral("</PROJECT>\n");
        }
        t += QStringLiteral("</PROJECTS>\n");
        o.reply = Xml(t);
        return o;
    }
    if (action == "expenses") {
        // The third leaf is there for readers that take an element as complete at the leaf
        // after its name.
        QString t = QStringLiteral("<EXPENSECATEGORIES>\n");
        for (const Category &c : account->expenseCategories)
            t += QStringLiteral("<EXPCATEGORY><ID>%1</ID><NAME>%2</NAME><ACTIVE>TRUE</ACTIVE></EXPCATEGORY>\n")
                     .arg(c.id).arg(c.name);
        t += QStringLiteral("</EXPENSECATEGORIES>\n");
        o.reply = Xml(t);
        return o;
    }

    // The two uploads.
    qint64 prj = 0, task = 0;
    const Project *project = ReadId(value("prj"), &prj) ? account->findProject(prj) : nullptr;
    if (!project) {
        o.reply = Error(UnknownProject, QStringLiteral("The project is not assigned to you"));
        return o;
    }
    const Task *theTask = nullptr;
    if (ReadId(value("task"), &task))
        for (const Task &t : project->tasks)
            if (t.id == task)
                theTask = &t;
    if (!theTask) {
        o.reply = Error(UnknownTask, QStringLiteral("The task is not in that project"));
        return o;
    }
    if (action == "addTime") {
        qint64 tc = 0;
        if (!ReadId(value("tc"), &tc) || !theTask->categories.contains(tc)) {
            o.reply = Error(UnknownCategory, QStringLiteral("The task does not offer that category"));
            return o;
        }
        QByteArray startDay, endDay;
        const int start = ReadDateTime(value("start"), 24 * 60, &startDay);
        // The end carries the start's day; past midnight its hours run beyond 23.
        const int end = ReadDateTime(value("end"), 48 * 60, &endDay);
        if (start < 0 || end < 0 || startDay != endDay || end < start) {
            o.reply = Error(BadDateTime, QStringLiteral("Start and end must be yyyymmddhhmm of one day, end not before start"));
            return o;
        }
    } else {
        if (!project->expenses || !theTask->expenses) {
            o.reply = Error(BadExpense, QStringLiteral("That project or task takes no expenses"));
            return o;
        }
        qint64 ec = 0;
        if (!ReadId(value("ec"), &ec) || !account->findExpenseCategory(ec)) {
            o.reply = Error(BadExpense, QStringLiteral("Unknown expense category"));
            return o;
        }
        static const QRegularExpression amount(QStringLiteral("^[0-9]{1,9}(\\.[0-9]{1,2})?$"));
        if (!amount.match(QString::fromLatin1(value("amount"))).hasMatch()) {
            o.reply = Error(BadExpense, QStringLiteral("The amount must be digits with a point before the decimals"));
            return o;
        }
        QByteArray day;
        if (ReadDateTime(value("charge"), 24 * 60, &day) < 0) {
            o.reply = Error(BadDateTime, QStringLiteral("The charge time must be yyyymmddhhmm"));
            return o;
        }
    }

    const qint64 id = m_nextEntry++;
    QJsonObject decoded;
    for (const auto &p : params) {
        const QString name = QString::fromLatin1(p.first);
        decoded.insert(name, (name == u"username" || name == u"password") ? DecodeCp1252(p.second)
                                                                          : QString::fromUtf8(p.second));
    }
    o.accepted = true;
    o.entry = QJsonObject{{QStringLiteral("entry"), id},
                          {QStringLiteral("action"), QString::fromLatin1(action)},
                          {QStringLiteral("username"), account->username},
                          {QStringLiteral("params"), decoded},
                          {QStringLiteral("raw"), QString::fromLatin1(raw)}};
    o.reply = Xml(QStringLiteral("<RESULT><ID>%1</ID></RESULT>").arg(id));
    return o;
}

} // namespace service
