// tarvelo-service: the reference web service for tests and the local demo. Speaks the
// program's service conversation at /tarv/XMLServer on 127.0.0.1 only, over HTTPS (or plain
// HTTP with --http), and can be made slow or broken so that the client's failure paths meet a
// real server.
#include "Accounts.h"
#include "Certificate.h"
#include "Protocol.h"

#include <httplib.h>

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStandardPaths>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <csignal>
#include <cstdio>
#include <memory>
#include <mutex>
#include <pthread.h>
#include <thread>

namespace {

struct Settings {
    bool plainHttp = false;
    int port = 8443;
    QString dataFile;
    QString dataDir;
    QString certFile;
    QString keyFile;
    QString receivedFile;
    QString requestsFile;
    int delayMs = 0;
    QByteArray errorPage;
    bool garbage = false;
    int truncate = -1;
    QList<QByteArray> only;
    int stallAfter = -1;
};

std::mutex g_fileMutex;
std::mutex g_stopMutex;
std::condition_variable g_stopCv;
bool g_stopping = false;
std::atomic<int> g_accepted{0};

void AppendLine(const QString &path, const QJsonObject &line)
{
    if (path.isEmpty())
        return;
    std::lock_guard<std::mutex> lock(g_fileMutex);
    QFile f(path);
    if (f.open(QIODevice::WriteOnly | QIODevice::Append)) {
        f.write(QJsonDocument(line).toJson(QJsonDocument::Compact));
        f.write("\n");
    }
}

void Touch(const QString &path)
{
    if (path.isEmpty())
        return;
    QFile f(path);
    f.open(QIODevice::WriteOnly | QIODevice::Append);
}

int Fail(const QString &message)
{
    std::fprintf(stderr, "tarvelo-service: %s\n", message.toLocal8Bit().constData());
    return 2;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("tarvelo-service"));

    QCommandLineParser cli;
    cli.setApplicationDescription(QStringLiteral("Reference web service on 127.0.0.1 for tests and the local demo."));
    cli.addHelpOption();
    const QCommandLineOption optPort(QStringLiteral("port"), QStringLiteral("Port (0 picks a free one). Default 8443."), QStringLiteral("N"), QStringLiteral("8443"));
    const QCommandLineOption optHttp(QStringLiteral("http"), QStringLiteral("Plain HTTP instead of HTTPS."));
    const QCommandLineOption optData(QStringLiteral("data"), QStringLiteral("Accounts data file (JSON). Default: the demo file."), QStringLiteral("FILE"));
    const QCommandLineOption optDataDir(QStringLiteral("data-dir"), QStringLiteral("Folder of the self-made certificate."), QStringLiteral("DIR"));
    const QCommandLineOption optCert(QStringLiteral("cert"), QStringLiteral("Certificate (PEM) to serve instead of the self-made one."), QStringLiteral("FILE"));
    const QCommandLineOption optKey(QStringLiteral("key"), QStringLiteral("Private key (PEM) of --cert."), QStringLiteral("FILE"));
    const QCommandLineOption optReceived(QStringLiteral("received"), QStringLiteral("Append every accepted entry to FILE, one JSON line each."), QStringLiteral("FILE"));
    const QCommandLineOption optRequests(QStringLiteral("requests"), QStringLiteral("Append every request to FILE, one JSON line each."), QStringLiteral("FILE"));
    const QCommandLineOption optDelay(QStringLiteral("delay-ms"), QStringLiteral("Wait N ms before each reply."), QStringLiteral("N"), QStringLiteral("0"));
    const QCommandLineOption optErrorPage(QStringLiteral("error-page"), QStringLiteral("Answer with a web server's error page: 404, 500, 502, servlet-404, servlet-500, or a guest network's sign-in page with status 200: portal."), QStringLiteral("KIND"));
    const QCommandLineOption optGarbage(QStringLiteral("garbage"), QStringLiteral("Answer with bytes that are no reply."));
    const QCommandLineOption optTruncate(QStringLiteral("truncate"), QStringLiteral("Cut every reply body to its first N bytes."), QStringLiteral("N"));
    const QCommandLineOption optOnly(QStringLiteral("only"), QStringLiteral("Apply --delay-ms, --error-page, --garbage and --truncate only to these actions (comma-separated)."), QStringLiteral("ACTIONS"));
    const QCommandLineOption optStallAfter(QStringLiteral("stall-after"), QStringLiteral("Once N entries have been accepted, answer every later addTime and addExpense with an empty body after --delay-ms (which then delays nothing else), accepting nothing (a service that stops answering midway)."), QStringLiteral("N"));
    cli.addOptions({optPort, optHttp, optData, optDataDir, optCert, optKey, optReceived, optRequests, optDelay,
                    optErrorPage, optGarbage, optTruncate, optOnly, optStallAfter});
    cli.process(app);
    if (!cli.positionalArguments().isEmpty())
        return Fail(QStringLiteral("unexpected argument %1").arg(cli.positionalArguments().first()));

    Settings s;
    bool ok = true;
    s.plainHttp = cli.isSet(optHttp);
    s.port = cli.value(optPort).toInt(&ok);
    if (!ok || s.port < 0 || s.port > 65535)
        return Fail(QStringLiteral("--port wants 0 to 65535"));
    s.dataFile = cli.isSet(optData) ? cli.value(optData) : QStringLiteral(TARV_SERVICE_DEMO_FILE);
    s.dataDir = cli.isSet(optDataDir)
                    ? cli.value(optDataDir)
                    : QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/tarvelo-service");
    s.certFile = cli.value(optCert);
    s.keyFile = cli.value(optKey);
    if (s.certFile.isEmpty() != s.keyFile.isEmpty())
        return Fail(QStringLiteral("--cert and --key go together"));
    s.receivedFile = cli.value(optReceived);
    s.requestsFile = cli.value(optRequests);
    s.delayMs = cli.value(optDelay).toInt(&ok);
    if (!ok || s.delayMs < 0)
        return Fail(QStringLiteral("--delay-ms wants a number of milliseconds"));
    s.errorPage = cli.value(optErrorPage).toLatin1();
    if (cli.isSet(optErrorPage) && !service::Protocol::IsErrorPageKind(s.errorPage))
        return Fail(QStringLiteral("--error-page wants 404, 500, 502, servlet-404, servlet-500 or portal"));
    s.garbage = cli.isSet(optGarbage);
    if (cli.isSet(optTruncate)) {
        s.truncate = cli.value(optTruncate).toInt(&ok);
        if (!ok || s.truncate < 0)
            return Fail(QStringLiteral("--truncate wants a number of bytes"));
    }
    if (cli.isSet(optStallAfter)) {
        s.stallAfter = cli.value(optStallAfter).toInt(&ok);
        if (!ok || s.stallAfter < 0)
            return Fail(QStringLiteral("--stall-after wants a number of entries"));
    }
    if (cli.isSet(optOnly))
        for (const QString &a : cli.value(optOnly).split(u',', Qt::SkipEmptyParts))
            s.only << a.trimmed().toLatin1();

    QString error;
    std::optional<service::DataFile> data = service::LoadDataFile(s.dataFile, &error);
    if (!data)
        return Fail(error);

    if (!s.plainHttp && s.certFile.isEmpty()) {
        if (!QDir().mkpath(s.dataDir))
            return Fail(QStringLiteral("cannot make the data folder %1").arg(s.dataDir));
        s.certFile = s.dataDir + QStringLiteral("/cert.pem");
        s.keyFile = s.dataDir + QStringLiteral("/key.pem");
        if (!service::EnsureSelfSignedCertificate(s.certFile, s.keyFile, &error))
            return Fail(error);
    }
    Touch(s.receivedFile);
    Touch(s.requestsFile);

    // Signals are taken by one thread of their own so that a stop never lands inside a
    // worker; the server threads inherit the blocked mask.
    std::signal(SIGPIPE, SIG_IGN);
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    std::unique_ptr<httplib::Server> server;
    if (s.plainHttp) {
        server = std::make_unique<httplib::Server>();
    } else {
        server = std::make_unique<httplib::SSLServer>(QFile::encodeName(s.certFile).constData(),
                                                      QFile::encodeName(s.keyFile).constData());
    }
    if (!server->is_valid())
        return Fail(QStringLiteral("cannot use the certificate %1 with the key %2").arg(s.certFile, s.keyFile));
    // Without it a reused connection waits for the peer's delayed acknowledgement.
    server->set_tcp_nodelay(true);
    // A client sends many requests one after the other over one connection (a bulk upload).
    server->set_keep_alive_max_count(100000);

    service::Protocol protocol(std::move(*data));

    auto handler = [&](const httplib::Request &req, httplib::Response &res) {
        const QByteArray method = QByteArray::fromStdString(req.method);
        const QByteArray target = QByteArray::fromStdString(req.target);
        const qsizetype q = target.indexOf('?');
        const QByteArray path = q < 0 ? target : target.left(q);
        const QByteArray query = q < 0 ? QByteArray() : target.mid(q + 1);
        const QByteArray body = QByteArray::fromStdString(req.body);
        const QByteArray contentType = QByteArray::fromStdString(req.get_header_value("Content-Type"));

        AppendLine(s.requestsFile,
                   QJsonObject{{QStringLiteral("time"), QDateTime::currentDateTime().toString(Qt::ISODateWithMs)},
                               {QStringLiteral("method"), QString::fromLatin1(method)},
                               {QStringLiteral("path"), QString::fromLatin1(path)},
                               {QStringLiteral("query"), QString::fromLatin1(query)},
                               {QStringLiteral("body"), QString::fromLatin1(body)},
                               {QStringLiteral("contentType"), QString::fromLatin1(contentType)},
                               {QStringLiteral("remotePort"), req.remote_port}});

        const QByteArray action = service::Protocol::ActionOf(method, query, body);
        if (s.stallAfter >= 0 && (action == "addTime" || action == "addExpense")
            && g_accepted.load() >= s.stallAfter) {
            if (s.delayMs > 0) {
                std::unique_lock<std::mutex> lock(g_stopMutex);
                g_stopCv.wait_for(lock, std::chrono::milliseconds(s.delayMs), [] { return g_stopping; });
            }
            res.status = 200;
            res.set_content(std::string(), "text/xml; charset=UTF-8");
            return;
        }
        const bool faulty = s.only.isEmpty() || s.only.contains(action);
        // With --stall-after the delay belongs to the stalled uploads alone.
        if (faulty && s.delayMs > 0 && s.stallAfter < 0) {
            std::unique_lock<std::mutex> lock(g_stopMutex);
            g_stopCv.wait_for(lock, std::chrono::milliseconds(s.delayMs), [] { return g_stopping; });
        }
        service::Reply reply;
        if (faulty && !s.errorPage.isEmpty()) {
            reply = service::Protocol::ErrorPage(s.errorPage);
        } else if (faulty && s.garbage) {
            reply = service::Protocol::Garbage();
        } else {
            service::Outcome outcome = protocol.handle(method, path, query, body, contentType);
            if (outcome.accepted) {
                AppendLine(s.receivedFile, outcome.entry);
                ++g_accepted;
            }
            reply = outcome.reply;
            if (faulty && s.truncate >= 0 && reply.body.size() > s.truncate)
                reply.body.truncate(s.truncate);
        }
        res.status = reply.status;
        res.set_content(reply.body.toStdString(), reply.contentType.toStdString());
    };
    server->Get(".*", handler);
    server->Post(".*", handler);
    server->Put(".*", handler);
    server->Delete(".*", handler);
    server->Patch(".*", handler);
    server->Options(".*", handler);

    int port = s.port;
    if (port == 0) {
        port = server->bind_to_any_port("127.0.0.1");
        if (port <= 0)
            return Fail(QStringLiteral("cannot listen on 127.0.0.1"));
    } else if (!server->bind_to_port("127.0.0.1", port)) {
        return Fail(QStringLiteral("cannot listen on 127.0.0.1:%1").arg(port));
    }

    std::printf("listening %s://127.0.0.1:%d\n", s.plainHttp ? "http" : "https", port);
    std::printf("endpoint %s://127.0.0.1:%d/tarv/XMLServer\n", s.plainHttp ? "http" : "https", port);
    if (!s.plainHttp)
        std::printf("certificate %s\n", s.certFile.toLocal8Bit().constData());
    for (const service::Account &a : protocol.data().accounts)
        std::printf("account %s password %s (%s)\n", a.username.toLocal8Bit().constData(),
                    a.password.toLocal8Bit().constData(), a.fullname.toLocal8Bit().constData());
    std::fflush(stdout);

    httplib::Server *raw = server.get();
    std::thread([raw, stopSignals] {
        int sig = 0;
        sigwait(&stopSignals, &sig);
        {
            std::lock_guard<std::mutex> lock(g_stopMutex);
            g_stopping = true;
        }
        g_stopCv.notify_all();
        raw->stop();
    }).detach();

    const bool listened = server->listen_after_bind();
    std::fflush(stdout);
    // The signal thread may still wait; leave without running the server's destructor under it.
    std::_Exit(listened || g_stopping ? 0 : 1);
}
