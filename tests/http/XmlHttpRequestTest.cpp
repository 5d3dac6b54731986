// The request object against the reference service on loopback (and, for a reply cut in the
// middle, against a bare socket that does just that).
#include "platform/http/XmlHttpRequest.h"
#include "tests/service/ServiceProcess.h"
#include "tests/support/TestEnv.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTcpServer>
#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

using http::XmlHttpRequest;
using testsvc::ServiceProcess;

namespace {

const QString NameQuery = QStringLiteral("?action=name&username=demo&password=demo2024&tstmp=101112");

// Sets or clears an environment variable for the life of the object.
class ScopedEnv {
public:
    ScopedEnv(const char *name, const QByteArray &value) : m_name(name), m_had(qEnvironmentVariableIsSet(name)), m_old(qgetenv(name))
    {
        if (value.isNull())
            qunsetenv(name);
        else
            qputenv(name, value);
    }
    ~ScopedEnv()
    {
        if (m_had)
            qputenv(m_name, m_old);
        else
            qunsetenv(m_name);
    }

private:
    const char *m_name;
    bool m_had;
    QByteArray m_old;
};

#define START(svc, ...) ASSERT_TRUE((svc).start(__VA_ARGS__)) << (svc).output().toStdString()

} // namespace

TEST(XmlHttpRequest, GetWalksTheStatesAndDecodesUtf8)
{
    ServiceProcess svc;
    START(svc, {QStringLiteral("--http")});
    XmlHttpRequest r;
    EXPECT_EQ(r.readyState(), 0);
    ASSERT_TRUE(r.open(QStringLiteral("GET"), svc.endpoint() + NameQuery));
    EXPECT_EQ(r.readyState(), 1);
    EXPECT_EQ(r.responseText(), QString());
    ASSERT_TRUE(r.send()) << r.errorText().toStdString();
    EXPECT_EQ(r.readyState(), 4);
    EXPECT_EQ(r.status(), 200);
    EXPECT_EQ(r.statusText(), QStringLiteral("OK"));
    EXPECT_TRUE(r.getResponseHeader(QStringLiteral("content-type")).startsWith(QStringLiteral("text/xml")));
    EXPECT_TRUE(r.responseText().contains(QStringLiteral("<FULLNAME>Eléni Papadáki</FULLNAME>")))
        << r.responseText().toStdString();
    EXPECT_EQ(r.errorCode(), 0);

    r.abort();
    EXPECT_EQ(r.readyState(), 0);
    EXPECT_EQ(r.responseText(), QString());
    EXPECT_EQ(r.status(), 0);

    // The same object serves a second request after opening again.
    ASSERT_TRUE(r.open(QStringLiteral("GET"), svc.endpoint() + QStringLiteral("?action=version&username=demo&password=demo2024&tstmp=101113")));
    EXPECT_EQ(r.status(), 0);
    ASSERT_TRUE(r.send());
    EXPECT_TRUE(r.responseText().contains(QStringLiteral("<VERSION>")));
}

TEST(XmlHttpRequest, PutsExactlyTheGivenBytesOnTheWire)
{
    ServiceProcess svc;
    START(svc, {QStringLiteral("--http")});
    const QString body = QStringLiteral("action=addTime&cmt=a%26b+c%C3%A9&prj=101&task=1001&tc=11&start=200612312345"
                                        "&end=200612312415&username=demo&password=demo2024&tstmp=235959");
    XmlHttpRequest post;
    ASSERT_TRUE(post.open(QStringLiteral("POST"), svc.endpoint()));
    ASSERT_TRUE(post.setRequestHeader(QStringLiteral("Content-Type"),
                                      QStringLiteral("application/x-www-form-urlencoded; charset=UTF-8")));
    ASSERT_TRUE(post.send(body));
    EXPECT_EQ(post.status(), 200);
    EXPECT_FALSE(post.responseText().contains(QStringLiteral("<ERROR>"))) << post.responseText().toStdString();

    XmlHttpRequest get;
    ASSERT_TRUE(get.open(QStringLiteral("GET"), svc.endpoint() + NameQuery));
    ASSERT_TRUE(get.send(QStringLiteral("ignored=1"))); // a GET carries no body
    EXPECT_EQ(get.status(), 200);

    const QList<QJsonObject> log = svc.requests();
    ASSERT_EQ(log.size(), 2);
    EXPECT_EQ(log[0].value("method").toString(), QStringLiteral("POST"));
    EXPECT_EQ(log[0].value("path").toString(), QStringLiteral("/tarv/XMLServer"));
    EXPECT_EQ(log[0].value("query").toString(), QString());
    EXPECT_EQ(log[0].value("body").toString(), body);
    EXPECT_EQ(log[0].value("contentType").toString(), QStringLiteral("application/x-www-form-urlencoded; charset=UTF-8"));
    EXPECT_EQ(log[1].value("method").toString(), QStringLiteral("GET"));
    EXPECT_EQ(log[1].value("query").toString(), NameQuery.mid(1));
    EXPECT_EQ(log[1].value("body").toString(), QString());
    EXPECT_EQ(log[1].value("contentType").toString(), QString());
}

TEST(XmlHttpRequest, HttpsTrustsTheServiceCertificateNamedByTheEnvironment)
{
    ServiceProcess svc;
    START(svc);
    ASSERT_TRUE(QFile::exists(svc.caFile()));
    ScopedEnv ca("TARV_CA_FILE", QFile::encodeName(svc.caFile()));
    for (const QString &host : {QStringLiteral("127.0.0.1"), QStringLiteral("localhost")}) {
        XmlHttpRequest r;
        ASSERT_TRUE(r.open(QStringLiteral("GET"), QStringLiteral("https://%1:%2/tarv/XMLServer").arg(host).arg(svc.port()) + NameQuery));
        EXPECT_TRUE(r.send()) << host.toStdString() << ": " << r.errorText().toStdString();
        EXPECT_EQ(r.status(), 200);
        EXPECT_TRUE(r.responseText().contains(QStringLiteral("FULLNAME")));
    }
}

TEST(XmlHttpRequest, HttpsRefusesACertificateItCannotTrust)
{
    ServiceProcess svc, other;
    START(svc);
    START(other); // another self-made certificate: the wrong authority for svc
    const QString missing = testenv::MakeTempDir() + QStringLiteral("/none.pem");
    // errorCode() is libcurl's: 60 the peer's certificate was not verified, 77 the CA file
    // cannot be read.
    const struct {
        const char *what;
        QByteArray ca;
        int error;
    } cases[] = {
        {"system list only", QByteArray(), 60},
        {"another service's certificate", QFile::encodeName(other.caFile()), 60},
        {"a file that does not exist", QFile::encodeName(missing), 77},
    };
    for (const auto &c : cases) {
        ScopedEnv ca("TARV_CA_FILE", c.ca);
        XmlHttpRequest r;
        ASSERT_TRUE(r.open(QStringLiteral("GET"), svc.endpoint() + NameQuery));
        QElapsedTimer t;
        t.start();
        EXPECT_FALSE(r.send()) << c.what;
        EXPECT_LT(t.elapsed(), 5000) << c.what;
        EXPECT_EQ(r.readyState(), 4) << c.what;
        EXPECT_EQ(r.status(), 0) << c.what;
        EXPECT_EQ(r.responseText(), QString()) << c.what;
        EXPECT_EQ(r.errorCode(), c.error) << c.what << ": " << r.errorText().toStdString();
        EXPECT_FALSE(r.errorText().isEmpty()) << c.what;
    }
    EXPECT_TRUE(svc.requests().isEmpty()) << "no request may pass an untrusted handshake";
}

TEST(XmlHttpRequest, SlowReplyIsAbortedAtTheTimeOut)
{
    ServiceProcess svc;
    START(svc, {QStringLiteral("--http"), QStringLiteral("--delay-ms"), QStringLiteral("10000")});
    XmlHttpRequest r;
    r.setTimeout(1);
    EXPECT_EQ(r.timeoutMs(), 1000);
    ASSERT_TRUE(r.open(QStringLiteral("GET"), svc.endpoint() + NameQuery));
    QElapsedTimer t;
    t.start();
    EXPECT_FALSE(r.send());
    EXPECT_GE(t.elapsed(), 900);
    EXPECT_LT(t.elapsed(), 3000);
    EXPECT_TRUE(r.timedOut());
    EXPECT_EQ(r.readyState(), 4);
    EXPECT_EQ(r.status(), 0);
    EXPECT_EQ(r.responseText(), QString());

    r.setTimeoutMs(0);
    EXPECT_EQ(r.timeoutMs(), XmlHttpRequest::DefaultTimeoutSecs * 1000);
}

TEST(XmlHttpRequest, RefusedConnectionFailsAtOnce)
{
    quint16 port = 0;
    {
        QTcpServer probe;
        ASSERT_TRUE(probe.listen(QHostAddress::LocalHost, 0));
        port = probe.serverPort();
    } // closed again: nothing listens there now
    XmlHttpRequest r;
    r.setTimeout(10);
    ASSERT_TRUE(r.open(QStringLiteral("POST"), QStringLiteral("http://127.0.0.1:%1/tarv/XMLServer").arg(port)));
    QElapsedTimer t;
    t.start();
    EXPECT_FALSE(r.send(QStringLiteral("action=name")));
    EXPECT_LT(t.elapsed(), 3000);
    EXPECT_FALSE(r.timedOut());
    EXPECT_EQ(r.readyState(), 4);
    EXPECT_EQ(r.status(), 0);
    EXPECT_EQ(r.responseText(), QString());
    EXPECT_NE(r.errorCode(), 0);
}

TEST(XmlHttpRequest, ErrorPagesKeepTheirStatusAndText)
{
    const struct {
        const char *kind;
        int status;
        const char *marker;
    } cases[] = {
        {"404", 404, "404 Not Found"},
        {"500", 500, "500 Internal Server Error"},
        {"502", 502, "502 Bad Gateway"},
        {"servlet-404", 404, "HTTP Status 404"},
        {"servlet-500", 500, "Error report"},
    };
    for (const auto &c : cases) {
        ServiceProcess svc;
        START(svc, {QStringLiteral("--http"), QStringLiteral("--error-page"), QString::fromLatin1(c.kind)});
        XmlHttpRequest r;
        ASSERT_TRUE(r.open(QStringLiteral("GET"), svc.endpoint() + NameQuery));
        EXPECT_TRUE(r.send()) << c.kind; // a reply arrived, whatever its status
        EXPECT_EQ(r.readyState(), 4);
        EXPECT_EQ(r.status(), c.status) << c.kind;
        EXPECT_TRUE(r.responseText().contains(QLatin1String(c.marker))) << c.kind << ": " << r.responseText().toStdString();
    }
}

TEST(XmlHttpRequest, ReplyCutInTheMiddleIsAFailure)
{
    // A bare server that announces 1000 bytes, sends 10 and hangs up.
    const int listener = socket(AF_INET, SOCK_STREAM, 0);
    ASSERT_GE(listener, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ASSERT_EQ(bind(listener, reinterpret_cast<sockaddr *>(&addr), sizeof addr), 0);
    ASSERT_EQ(listen(listener, 1), 0);
    socklen_t len = sizeof addr;
    getsockname(listener, reinterpret_cast<sockaddr *>(&addr), &len);
    const int port = ntohs(addr.sin_port);
    std::thread server([listener] {
        pollfd p{listener, POLLIN, 0};
        if (poll(&p, 1, 5000) <= 0)
            return;
        const int c = accept(listener, nullptr, nullptr);
        if (c < 0)
            return;
        QByteArray got;
        char buf[1024];
        while (!got.contains("\r\n\r\n")) {
            pollfd q{c, POLLIN, 0};
            if (poll(&q, 1, 5000) <= 0)
                break;
            const ssize_t n = read(c, buf, sizeof buf);
            if (n <= 0)
                break;
            got.append(buf, n);
        }
        const char reply[] = "HTTP/1.1 200 OK\r\nContent-Type: text/xml\r\nContent-Length: 1000\r\n\r\n<?xml vers";
        (void)!write(c, reply, sizeof reply - 1);
        close(c);
    });
    XmlHttpRequest r;
    r.setTimeout(5);
    ASSERT_TRUE(r.open(QStringLiteral("GET"), QStringLiteral("http://127.0.0.1:%1/tarv/XMLServer").arg(port) + NameQuery));
    QElapsedTimer t;
    t.start();
    EXPECT_FALSE(r.send());
    EXPECT_LT(t.elapsed(), 4000);
    EXPECT_EQ(r.readyState(), 4);
    EXPECT_EQ(r.responseText(), QString());
    EXPECT_EQ(r.status(), 0);
    server.join();
    close(listener);
}

TEST(XmlHttpRequest, RefusesWhatItCannotDo)
{
    XmlHttpRequest r;
    EXPECT_FALSE(r.send());
    EXPECT_FALSE(r.setRequestHeader(QStringLiteral("Content-Type"), QStringLiteral("text/plain")));
    EXPECT_FALSE(r.open(QStringLiteral("GET"), QStringLiteral("http://127.0.0.1:1/"), true)); // blocking only
    for (const QString &url : {QString(), QStringLiteral("not an address"), QStringLiteral("ftp://127.0.0.1/x"),
                               QStringLiteral("/tarv/XMLServer")})
        EXPECT_FALSE(r.open(QStringLiteral("GET"), url)) << url.toStdString();
    EXPECT_FALSE(r.open(QStringLiteral("GE T"), QStringLiteral("http://127.0.0.1:1/")));
    EXPECT_EQ(r.readyState(), 0);

    ASSERT_TRUE(r.open(QStringLiteral("post"), QStringLiteral("http://127.0.0.1:1/")));
    EXPECT_FALSE(r.setRequestHeader(QStringLiteral("X-Bad"), QStringLiteral("a\r\nInjected: 1")));
    EXPECT_TRUE(r.setRequestHeader(QStringLiteral("X-Test"), QStringLiteral("a")));
    r.abort();
    EXPECT_EQ(r.readyState(), 0);
    EXPECT_FALSE(r.send());
}
