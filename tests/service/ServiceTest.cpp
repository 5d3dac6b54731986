// The reference service: each action's reply for good and bad credentials, the shape of the
// download replies as the program reads them, the uploads and the received file, the request
// log and the options that make it slow or broken.
#include "platform/http/XmlHttpRequest.h"
#include "tests/service/ServiceProcess.h"
#include "tests/support/TestEnv.h"

#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QRegularExpression>
#include <gtest/gtest.h>

using testsvc::ServiceProcess;

namespace {

const QString Head = QStringLiteral("<?xml version=\"1.0\" ?>");
const QString Form = QStringLiteral("application/x-www-form-urlencoded; charset=UTF-8");

// Anna's password "pässwörd" travels in its Windows-1252 bytes.
const QString Anna = QStringLiteral("&username=anna&password=p%E4ssw%F6rd");

const char TestData[] = R"({
  "version": "2.3.4",
  "accounts": [
    { "username": "anna", "password": "pässwörd", "fullname": "Anna O'Hara",
      "categories": [ { "id": 100, "name": "Work" }, { "id": 101, "name": "Other" } ],
      "expenseCategories": [ { "id": 7, "name": "Fuel" } ],
      "projects": [
        { "id": 1, "name": "Open", "expenses": true, "tasks": [
            { "id": 10, "name": "T10", "categories": [100] },
            { "id": 11, "name": "T11", "expenses": false, "categories": [100, 101] } ] },
        { "id": 2, "name": "Closed", "expenses": false, "tasks": [
            { "id": 20, "name": "T20", "categories": [101] } ] } ] },
    { "username": "bob", "password": "bob", "fullname": "Bob" },
    { "username": "carl", "password": "carl", "fullname": "Carl", "locked": true }
  ]
})";

QString WriteFile(const QByteArray &content)
{
    const QString path = testenv::MakeTempDir(QStringLiteral("data")) + QStringLiteral("/accounts.json");
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write(content);
    return path;
}

struct Got {
    bool ok = false;
    int status = 0;
    QString text;
    qint64 ms = 0;
};

Got Fetch(const ServiceProcess &svc, const QString &method, const QString &params,
          const QString &contentType = Form, const QString &path = QStringLiteral("/tarv/XMLServer"))
{
    http::XmlHttpRequest r;
    r.setTimeout(20);
    const bool get = method == u"GET";
    r.open(method, svc.baseUrl() + path + (get ? u'?' + params : QString()));
    if (!get && !contentType.isEmpty())
        r.setRequestHeader(QStringLiteral("Content-Type"), contentType);
    QElapsedTimer t;
    t.start();
    Got g;
    g.ok = get ? r.send() : r.send(params);
    g.ms = t.elapsed();
    g.status = r.status();
    g.text = r.responseText();
    return g;
}

// How the program classifies a reply.
int ReplyCode(const QString &text)
{
    if (text.isEmpty())
        return 100;
    if (text.contains(QStringLiteral("404 Not Found")))
        return 404;
    if (text.contains(QStringLiteral("HTTP Status 404")))
        return 410;
    if (text.contains(QStringLiteral("500 Internal Server Error")) || text.contains(QStringLiteral("Error report")))
        return 500;
    const qsizetype at = text.indexOf(QStringLiteral("<ERROR><CODE>"));
    if (at >= 0) {
        // The whole number up to the next "<".
        const qsizetype from = at + 13;
        const qsizetype to = text.indexOf(u'<', from);
        const QString digits = text.mid(from, to < 0 ? -1 : to - from);
        static const QRegularExpression number(QStringLiteral("^[0-9]{1,5}$"));
        return number.match(digits).hasMatch() ? digits.toInt() : 999;
    }
    return 0;
}

// The program's tag walk: events in document order, with nesting levels from 0.
struct Event {
    bool interior;
    QString name, content;
    int level;
};

bool Walk(QString text, int level, QList<Event> &out)
{
    text = text.trimmed();
    while (!text.isEmpty()) {
        if (text[0] != u'<')
            return true;
        const qsizetype p = text.indexOf(u'>');
        if (p < 0)
            return false;
        const QString name = text.mid(1, p - 1);
        const QString closing = QStringLiteral("</") + name + u'>';
        const qsizetype q = text.indexOf(closing);
        if (q < 0)
            return false;
        const QString content = text.mid(p + 1, q - p - 1).trimmed();
        if (content.startsWith(u'<')) {
            out << Event{true, name, content, level};
            if (!Walk(content, level + 1, out))
                return false;
        } else {
            out << Event{false, name, content, level};
        }
        text = text.mid(q + closing.size()).trimmed();
    }
    return true;
}

#define START(svc, ...) ASSERT_TRUE((svc).start(__VA_ARGS__)) << (svc).output().toStdString()

} // namespace

TEST(Service, EveryActionChecksTheCredentials)
{
    ServiceProcess svc;
    START(svc, {QStringLiteral("--http"), QStringLiteral("--data"), WriteFile(TestData)});
    const struct {
        const char *who;
        QString credentials;
        int code;
    } people[] = {
        {"right", Anna, 0},
        {"unknown user", QStringLiteral("&username=nobody&password=p%E4ssw%F6rd"), 1},
        {"wrong password", QStringLiteral("&username=anna&password=passw0rd"), 2},
        {"password in UTF-8 bytes", QStringLiteral("&username=anna&password=p%C3%A4ssw%C3%B6rd"), 2},
        {"no password", QStringLiteral("&username=anna&password="), 2},
        {"locked account", QStringLiteral("&username=carl&password=carl"), 4},
        {"locked account, wrong password", QStringLiteral("&username=carl&password=x"), 2},
    };
    for (const char *action : {"name", "version", "projects", "expenses"}) {
        for (const auto &who : people) {
            const Got g = Fetch(svc, QStringLiteral("GET"),
                                QStringLiteral("action=%1").arg(action) + who.credentials + QStringLiteral("&tstmp=093000"));
            const std::string at = std::string(action) + ", " + who.who;
            ASSERT_TRUE(g.ok) << at;
            EXPECT_EQ(g.status, 200) << at;
            EXPECT_EQ(ReplyCode(g.text), who.code) << at << ": " << g.text.toStdString();
            // Every reply starts with the 22-character head, so a reader that drops it unread
            // still finds an error element after it.
            EXPECT_EQ(g.text.left(22), Head) << at;
            EXPECT_EQ(ReplyCode(g.text.mid(22)), who.code) << at;
        }
    }
    EXPECT_TRUE(Fetch(svc, QStringLiteral("GET"), QStringLiteral("action=name") + Anna + QStringLiteral("&tstmp=093000"))
                    .text.contains(QStringLiteral("<FULLNAME>Anna O'Hara</FULLNAME>")));
    EXPECT_TRUE(Fetch(svc, QStringLiteral("GET"), QStringLiteral("action=version") + Anna + QStringLiteral("&tstmp=093000"))
                    .text.contains(QStringLiteral("<VERSION>2.3.4</VERSION>")));
    // An account without projects still gets a readable tree.
    QList<Event> ev;
    const Got bob = Fetch(svc, QStringLiteral("GET"), QStringLiteral("action=projects&username=bob&password=bob&tstmp=093000"));
    EXPECT_TRUE(Walk(bob.text.mid(22), 0, ev));
    EXPECT_EQ(ReplyCode(bob.text), 0);
}

TEST(Service, DemoDownloadsReadBackAsTheDataFile)
{
    ServiceProcess svc;
    START(svc, {QStringLiteral("--http")});
    EXPECT_TRUE(svc.output().contains(QStringLiteral("account demo password demo2024"))) << svc.output().toStdString();

    QFile f(ServiceProcess::demoFile());
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QJsonObject demo = QJsonDocument::fromJson(f.readAll()).object().value("accounts").toArray()[0].toObject();
    QMap<int, QString> categoryNames;
    for (const QJsonValue &c : demo.value("categories").toArray())
        categoryNames[c["id"].toInt()] = c["name"].toString();

    // What the data file says, as one text per project, task and category.
    QStringList expected;
    bool anyDisabled = false, anyGreek = false, anyApostrophe = false, anyAccent = false;
    for (const QJsonValue &pv : demo.value("projects").toArray()) {
        const QJsonObject p = pv.toObject();
        const bool pe = p.value("expenses").toBool(true);
        expected << QStringLiteral("P %1 %2 %3").arg(p["id"].toInt()).arg(p["name"].toString(), pe ? "TRUE" : "FALSE");
        for (const QJsonValue &tv : p["tasks"].toArray()) {
            const QJsonObject t = tv.toObject();
            const bool te = t.value("expenses").toBool(true);
            anyDisabled |= !pe || !te;
            expected << QStringLiteral("T %1 %2 %3").arg(t["id"].toInt()).arg(t["name"].toString(), te ? "TRUE" : "FALSE");
            for (const QJsonValue &c : t["categories"].toArray())
                expected << QStringLiteral("C %1 %2").arg(c.toInt()).arg(categoryNames[c.toInt()]);
        }
        const QString name = p["name"].toString();
        anyGreek |= name.contains(QChar(0x03B1)) || name.contains(QChar(0x03BF));
        anyApostrophe |= name.contains(u'\'');
        anyAccent |= name.contains(QChar(0x00E9));
    }
    EXPECT_TRUE(anyDisabled && anyGreek && anyApostrophe && anyAccent) << "the demo data should exercise the awkward cases";
    EXPECT_GE(expected.filter(QRegularExpression("^P ")).size(), 3);

    const Got g = Fetch(svc, QStringLiteral("GET"), QStringLiteral("action=projects&username=demo&password=demo2024&tstmp=080000"));
    ASSERT_EQ(ReplyCode(g.text), 0) << g.text.toStdString();
    QList<Event> events;
    ASSERT_TRUE(Walk(g.text.mid(22), 0, events));

    // Read it with the order rules the program relies on: a project is complete at the leaf
    // after its NAME, a task at EXPENSES, a category at NAME.
    QStringList read;
    QString current, pid, pname, tid, tname, cid;
    QStringList projectLeaves;
    for (const Event &e : events) {
        if (e.interior) {
            current = e.name;
            if (e.level == 1) {
                EXPECT_EQ(e.name, QStringLiteral("PROJECT"));
            }
            continue;
        }
        if (e.level == 2) {
            ASSERT_EQ(current, QStringLiteral("PROJECT")) << "project leaves come before the tasks";
            projectLeaves << e.name;
            if (e.name == u"ID")
                pid = e.content;
            else if (e.name == u"NAME")
                pname = e.content;
            else
                read << QStringLiteral("P %1 %2 %3").arg(pid, pname, e.content);
        } else if (e.level == 3) {
            if (e.name == u"NAME")
                tname = e.content;
            else if (e.name == u"EXPENSES")
                read << QStringLiteral("T %1 %2 %3").arg(tid, tname, e.content);
            else
                tid = e.content;
        } else if (e.level == 4) {
            if (e.name == u"NAME")
                read << QStringLiteral("C %1 %2").arg(cid, e.content);
            else
                cid = e.content;
        }
    }
    EXPECT_EQ(read, expected);
    EXPECT_EQ(projectLeaves.mid(0, 3), (QStringList{"ID", "NAME", "EXPENSES"}));

    // Expense categories: complete at NAME for one reader and at the leaf after it for another;
    // both must see the same list.
    const Got x = Fetch(svc, QStringLiteral("GET"), QStringLiteral("action=expenses&username=demo&password=demo2024&tstmp=080000"));
    ASSERT_EQ(ReplyCode(x.text), 0);
    events.clear();
    ASSERT_TRUE(Walk(x.text.mid(22), 0, events));
    QStringList atName, atThird, expectedExp;
    for (const QJsonValue &c : demo.value("expenseCategories").toArray())
        expectedExp << QStringLiteral("%1 %2").arg(c["id"].toInt()).arg(c["name"].toString());
    QString id, name;
    for (const Event &e : events) {
        if (e.interior) {
            if (e.level == 1) {
                EXPECT_NE(e.name, QStringLiteral("PROJECT"));
            }
            continue;
        }
        ASSERT_EQ(e.level, 2);
        if (e.name == u"ID") {
            id = e.content;
        } else if (e.name == u"NAME") {
            name = e.content;
            atName << id + u' ' + name;
        } else {
            atThird << id + u' ' + name;
        }
    }
    EXPECT_EQ(atName, expectedExp);
    EXPECT_EQ(atThird, expectedExp);
}

TEST(Service, UploadsAreCheckedAndAcceptedOnesRecorded)
{
    ServiceProcess svc;
    START(svc, {QStringLiteral("--http"), QStringLiteral("--data"), WriteFile(TestData)});
    const QString t = QStringLiteral("action=addTime&cmt=a%26b+c%C3%A9&prj=1&task=10&tc=100&start=200612312345&end=200612312415") + Anna + QStringLiteral("&tstmp=120000");
    const QString x = QStringLiteral("action=addExpense&cmt=&prj=1&task=10&ec=7&amount=12.50&charge=200612311200&payee=Caf%C3%A9+%C3%A0+l%27angle&code=") + Anna + QStringLiteral("&tstmp=120000");
    auto with = [](QString s, const QString &from, const QString &to) { return s.replace(from, to); };
    const struct {
        const char *what;
        QString method, body, contentType;
        int code;
    } cases[] = {
        {"time entry past midnight", "POST", t, Form, 0},
        {"expense without a code", "POST", x, Form, 0},
        {"expense with a code and a comment", "POST", with(with(x, "code=&", "code=R%2D17&"), "cmt=&", "cmt=%CE%B1%CE%B2&"), Form, 0},
        {"wrong password", "POST", with(t, "password=p%E4ssw%F6rd", "password=x"), Form, 2},
        {"task of another project", "POST", with(t, "prj=1&", "prj=2&"), Form, 6},
        {"unknown project", "POST", with(t, "prj=1&", "prj=9&"), Form, 5},
        {"project id with a fraction", "POST", with(t, "prj=1&", "prj=1.0&"), Form, 5},
        {"category the task lacks", "POST", with(t, "tc=100", "tc=101"), Form, 7},
        {"start not twelve digits", "POST", with(t, "start=200612312345", "start=20061231234"), Form, 8},
        {"no such day", "POST", with(t, "start=200612312345", "start=200602302345"), Form, 8},
        {"end on the next day's date", "POST", with(t, "end=200612312415", "end=200701010015"), Form, 8},
        {"end before start", "POST", with(t, "end=200612312415", "end=200612312300"), Form, 8},
        {"expenses disabled on the task", "POST", with(x, "task=10", "task=11"), Form, 10},
        {"expenses disabled on the project", "POST", with(with(x, "prj=1&", "prj=2&"), "task=10", "task=20"), Form, 10},
        {"unknown expense category", "POST", with(x, "ec=7", "ec=8"), Form, 10},
        {"amount with a decimal comma", "POST", with(x, "amount=12.50", "amount=12%2C50"), Form, 10},
        {"amount with a group separator left", "POST", with(x, "amount=12.50", "amount=1234%2C567.00"), Form, 10},
        {"charge minute 60", "POST", with(x, "charge=200612311200", "charge=200612311260"), Form, 8},
        {"upload sent as GET", "GET", t, QString(), 3},
        {"parameters out of order", "POST", with(t, "cmt=a%26b+c%C3%A9&prj=1", "prj=1&cmt=a%26b+c%C3%A9"), Form, 3},
        {"no time stamp", "POST", with(t, "&tstmp=120000", ""), Form, 3},
        {"time stamp past 23", "POST", with(t, "tstmp=120000", "tstmp=250000"), Form, 3},
        {"body not form-encoded", "POST", t, QStringLiteral("text/plain"), 3},
        {"unknown action", "POST", with(t, "action=addTime", "action=addTimes"), Form, 3},
        {"download sent as POST", "POST", QStringLiteral("action=projects") + Anna + QStringLiteral("&tstmp=120000"), Form, 3},
    };
    QStringList acceptedBodies;
    for (const auto &c : cases) {
        const Got g = Fetch(svc, c.method, c.body, c.contentType);
        ASSERT_TRUE(g.ok) << c.what;
        EXPECT_EQ(ReplyCode(g.text), c.code) << c.what << ": " << g.text.toStdString();
        if (c.code == 0)
            acceptedBodies << c.body;
    }

    const QList<QJsonObject> got = svc.received();
    ASSERT_EQ(got.size(), acceptedBodies.size());
    for (int i = 0; i < got.size(); ++i) {
        EXPECT_EQ(got[i]["raw"].toString(), acceptedBodies[i]);
        EXPECT_EQ(got[i]["username"].toString(), QStringLiteral("anna"));
        EXPECT_EQ(got[i]["entry"].toInt(), i + 1);
    }
    const QJsonObject time = got[0]["params"].toObject();
    EXPECT_EQ(got[0]["action"].toString(), QStringLiteral("addTime"));
    EXPECT_EQ(time["cmt"].toString(), QStringLiteral("a&b cé"));
    EXPECT_EQ(time["start"].toString(), QStringLiteral("200612312345"));
    EXPECT_EQ(time["end"].toString(), QStringLiteral("200612312415"));
    EXPECT_EQ(time["password"].toString(), QStringLiteral("pässwörd"));
    const QJsonObject exp = got[1]["params"].toObject();
    EXPECT_EQ(got[1]["action"].toString(), QStringLiteral("addExpense"));
    EXPECT_EQ(exp["payee"].toString(), QStringLiteral("Café à l'angle"));
    EXPECT_TRUE(exp.contains("code"));
    EXPECT_EQ(exp["code"].toString(), QString());
    EXPECT_EQ(exp["amount"].toString(), QStringLiteral("12.50"));
    EXPECT_EQ(got[2]["params"].toObject()["code"].toString(), QStringLiteral("R-17"));
    EXPECT_EQ(got[2]["params"].toObject()["cmt"].toString(), QString::fromUtf8("\xCE\xB1\xCE\xB2"));

    // Every request was logged, the rejected ones too.
    EXPECT_EQ(svc.requests().size(), int(std::size(cases)));
}

TEST(Service, OtherPathsGetAWebServersNotFoundPage)
{
    ServiceProcess svc;
    START(svc, {QStringLiteral("--http")});
    const Got g = Fetch(svc, QStringLiteral("GET"), QStringLiteral("action=name&username=demo&password=demo2024&tstmp=101010"),
                        Form, QStringLiteral("/tarv/XMLServe"));
    EXPECT_EQ(g.status, 404);
    EXPECT_EQ(ReplyCode(g.text), 404);
    const QList<QJsonObject> log = svc.requests();
    ASSERT_EQ(log.size(), 1);
    EXPECT_EQ(log[0]["path"].toString(), QStringLiteral("/tarv/XMLServe"));
}

TEST(Service, FailureOptionsBreakTheRepliesTheyAreAskedTo)
{
    const QString name = QStringLiteral("action=name&username=demo&password=demo2024&tstmp=101010");
    const QString add = QStringLiteral("action=addTime&cmt=&prj=101&task=1001&tc=11&start=200701020800&end=200701020930"
                                       "&username=demo&password=demo2024&tstmp=101010");
    {
        ServiceProcess svc;
        START(svc, {QStringLiteral("--http"), QStringLiteral("--garbage")});
        const Got g = Fetch(svc, QStringLiteral("GET"), name);
        EXPECT_EQ(g.status, 200);
        EXPECT_FALSE(g.text.isEmpty());
        EXPECT_FALSE(g.text.startsWith(Head));
        EXPECT_FALSE(g.text.contains(QStringLiteral("FULLNAME")));
        Fetch(svc, QStringLiteral("POST"), add);
        EXPECT_TRUE(svc.received().isEmpty()) << "a garbled reply stands for an entry that was not taken";
    }
    {
        ServiceProcess svc;
        START(svc, {QStringLiteral("--http"), QStringLiteral("--truncate"), QStringLiteral("10")});
        EXPECT_EQ(Fetch(svc, QStringLiteral("GET"), name).text, QStringLiteral("<?xml vers"));
        EXPECT_EQ(Fetch(svc, QStringLiteral("POST"), add).text, QStringLiteral("<?xml vers"));
        EXPECT_EQ(svc.received().size(), 1) << "a cut reply still stands for an entry that was taken";
    }
    {
        ServiceProcess svc;
        START(svc, {QStringLiteral("--http"), QStringLiteral("--error-page"), QStringLiteral("500"),
                    QStringLiteral("--only"), QStringLiteral("addTime,addExpense")});
        EXPECT_TRUE(Fetch(svc, QStringLiteral("GET"), name).text.contains(QStringLiteral("FULLNAME")));
        const Got g = Fetch(svc, QStringLiteral("POST"), add);
        EXPECT_EQ(g.status, 500);
        EXPECT_EQ(ReplyCode(g.text), 500);
        EXPECT_TRUE(svc.received().isEmpty());
    }
    {
        ServiceProcess svc;
        START(svc, {QStringLiteral("--http"), QStringLiteral("--delay-ms"), QStringLiteral("800"),
                    QStringLiteral("--only"), QStringLiteral("projects")});
        EXPECT_LT(Fetch(svc, QStringLiteral("GET"), name).ms, 600);
        const Got slow = Fetch(svc, QStringLiteral("GET"), QStringLiteral("action=projects&username=demo&password=demo2024&tstmp=101010"));
        EXPECT_GE(slow.ms, 750);
        EXPECT_EQ(ReplyCode(slow.text), 0);
    }
}

TEST(Service, MakesItsCertificateOnceAndServesAGivenOne)
{
    const QString dir = testenv::MakeTempDir(QStringLiteral("certs"));
    const QString cert = dir + QStringLiteral("/cert.pem"), key = dir + QStringLiteral("/key.pem");
    QByteArray first;
    {
        ServiceProcess svc;
        START(svc, {QStringLiteral("--data-dir"), dir});
        QFile f(cert);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        first = f.readAll();
        EXPECT_TRUE(first.startsWith("-----BEGIN CERTIFICATE-----"));
        EXPECT_FALSE(QFile::permissions(key) & (QFileDevice::ReadGroup | QFileDevice::ReadOther));
    }
    {
        ServiceProcess svc;
        START(svc, {QStringLiteral("--data-dir"), dir});
        QFile f(cert);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        EXPECT_EQ(f.readAll(), first) << "a second start keeps the certificate tests already trust";
    }
    ServiceProcess given;
    START(given, {QStringLiteral("--cert"), cert, QStringLiteral("--key"), key});
    EXPECT_FALSE(QFile::exists(given.caFile())) << "no certificate is made when one is given";
    qputenv("TARV_CA_FILE", QFile::encodeName(cert));
    const Got g = Fetch(given, QStringLiteral("GET"), QStringLiteral("action=name&username=demo&password=demo2024&tstmp=101010"));
    qunsetenv("TARV_CA_FILE");
    EXPECT_TRUE(g.ok);
    EXPECT_TRUE(g.text.contains(QStringLiteral("FULLNAME")));
}

TEST(Service, RefusesDataFilesItCannotServe)
{
    const struct {
        const char *what;
        QByteArray content;
        const char *message;
    } cases[] = {
        {"not JSON", "{ accounts: ", "not a JSON object"},
        {"unknown category", R"({"accounts":[{"username":"a","password":"b","fullname":"c","projects":[{"id":1,"name":"p","tasks":[{"id":2,"name":"t","categories":[5]}]}]}]})", "category 5"},
        {"name the replies cannot carry", R"({"accounts":[{"username":"a","password":"b","fullname":"c <d>"}]})", "may not contain"},
        {"same user twice", R"({"accounts":[{"username":"a","password":"b","fullname":"c"},{"username":"a","password":"b","fullname":"c"}]})", "twice"},
    };
    for (const auto &c : cases) {
        QProcess p;
        p.start(ServiceProcess::binary(), {QStringLiteral("--http"), QStringLiteral("--port"), QStringLiteral("0"),
                                            QStringLiteral("--data"), WriteFile(c.content)});
        ASSERT_TRUE(p.waitForFinished(10000)) << c.what;
        EXPECT_EQ(p.exitCode(), 2) << c.what;
        EXPECT_TRUE(p.readAllStandardOutput().isEmpty()) << c.what;
        EXPECT_TRUE(p.readAllStandardError().contains(c.message)) << c.what;
    }
}
