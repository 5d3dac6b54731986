#include "tests/service/ServiceProcess.h"

#include "tests/support/TestEnv.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QJsonDocument>
#include <QRegularExpression>
#include <QTcpServer>

namespace testsvc {

ServiceProcess::ServiceProcess() = default;

ServiceProcess::~ServiceProcess()
{
    stop();
}

QString ServiceProcess::binary()
{
    return QStringLiteral(TARV_BIN_DIR "/tarvelo-service");
}

QString ServiceProcess::demoFile()
{
    return QStringLiteral(TARV_SOURCE_DIR "/service/demo/demo.json");
}

bool ServiceProcess::start(const QStringList &options, int timeoutMs)
{
    stop();
    m_root = testenv::MakeTempDir(QStringLiteral("service"));
    m_dataDir = m_root + QStringLiteral("/data");
    m_received = m_root + QStringLiteral("/received.jsonl");
    m_requests = m_root + QStringLiteral("/requests.jsonl");
    m_output.clear();
    m_port = 0;
    m_https = !options.contains(QStringLiteral("--http"));

    QStringList args{QStringLiteral("--port"), QStringLiteral("0"), QStringLiteral("--data-dir"), m_dataDir,
                     QStringLiteral("--received"), m_received, QStringLiteral("--requests"), m_requests};
    args += options;
    m_process.setProcessChannelMode(QProcess::MergedChannels);
    m_process.start(binary(), args);
    if (!m_process.waitForStarted(timeoutMs))
        return false;

    const QDeadlineTimer deadline(timeoutMs);
    static const QRegularExpression first(QStringLiteral("^listening (https?)://127\\.0\\.0\\.1:(\\d+)$"));
    while (!deadline.hasExpired()) {
        if (m_process.canReadLine()) {
            const QString line = QString::fromUtf8(m_process.readLine()).trimmed();
            m_output += line + u'\n';
            const auto m = first.match(line);
            if (!m.hasMatch())
                return false;
            m_port = m.captured(2).toInt();
            return m_port > 0;
        }
        if (m_process.state() != QProcess::Running) {
            m_output += QString::fromUtf8(m_process.readAll());
            return false;
        }
        m_process.waitForReadyRead(int(qMax<qint64>(1, qMin<qint64>(200, deadline.remainingTime()))));
    }
    return false;
}

void ServiceProcess::stop()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_process.terminate();
    if (!m_process.waitForFinished(5000)) {
        m_process.kill();
        m_process.waitForFinished(5000);
    }
    m_output += QString::fromUtf8(m_process.readAll());
}

QString ServiceProcess::baseUrl() const
{
    return QStringLiteral("%1://127.0.0.1:%2").arg(m_https ? QStringLiteral("https") : QStringLiteral("http")).arg(m_port);
}

QString ServiceProcess::endpoint() const
{
    return baseUrl() + QStringLiteral("/tarv/XMLServer");
}

void ServiceProcess::pointProgramHere() const
{
    qputenv("TARV_SERVICE_ENDPOINT", baseUrl().toLocal8Bit());
    qputenv("TARV_CA_FILE", caFile().toLocal8Bit());
}

QList<QJsonObject> ServiceProcess::received() const
{
    return ReadJsonLines(m_received);
}

QList<QJsonObject> ServiceProcess::requests() const
{
    return ReadJsonLines(m_requests);
}

QString ServiceProcess::output()
{
    if (m_process.state() == QProcess::Running)
        m_output += QString::fromUtf8(m_process.readAll());
    return m_output;
}

QList<QJsonObject> ReadJsonLines(const QString &path)
{
    QList<QJsonObject> out;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return out;
    for (const QByteArray &line : f.readAll().split('\n'))
        if (!line.trimmed().isEmpty())
            out << QJsonDocument::fromJson(line).object();
    return out;
}

QString WriteDataFile(const QByteArray &content)
{
    const QString path = testenv::MakeTempDir(QStringLiteral("data")) + QStringLiteral("/accounts.json");
    QFile f(path);
    if (f.open(QIODevice::WriteOnly))
        f.write(content);
    return path;
}

int ClosedPort()
{
    QTcpServer s;
    s.listen(QHostAddress::LocalHost, 0);
    const int port = s.serverPort();
    s.close();
    return port;
}

} // namespace testsvc
