#pragma once
// Runs the reference service (tarvelo-service) for a test: on 127.0.0.1, a free port read from
// its first line, a data folder, request log and received-entries file of its own. Every wait
// is bounded; the destructor stops the process.
#include <QJsonObject>
#include <QList>
#include <QProcess>
#include <QString>
#include <QStringList>

namespace testsvc {

class ServiceProcess {
public:
    ServiceProcess();
    ~ServiceProcess();
    ServiceProcess(const ServiceProcess &) = delete;
    ServiceProcess &operator=(const ServiceProcess &) = delete;

    // Starts the service with --port 0 and the given options ("--http" for plain HTTP,
    // "--data", "--delay-ms", ...). Returns false when it did not announce its port in time.
    bool start(const QStringList &options = {}, int timeoutMs = 15000);
    void stop();

    int port() const { return m_port; }
    bool https() const { return m_https; }
    // "http(s)://127.0.0.1:PORT" and that followed by "/tarv/XMLServer".
    QString baseUrl() const;
    QString endpoint() const;
    // Points the program at this service: its address and the certificate to trust.
    void pointProgramHere() const;
    // The self-made certificate (when no --cert was given) and the folders and files in use.
    QString caFile() const { return m_dataDir + QStringLiteral("/cert.pem"); }
    QString dataDir() const { return m_dataDir; }
    QString receivedFile() const { return m_received; }
    QString requestsFile() const { return m_requests; }
    // The lines of the received-entries file and of the request log, as JSON objects.
    QList<QJsonObject> received() const;
    QList<QJsonObject> requests() const;
    // What the process printed so far (for failure messages).
    QString output();

    static QString binary();
    static QString demoFile();

private:
    QProcess m_process;
    QString m_root, m_dataDir, m_received, m_requests, m_output;
    int m_port = 0;
    bool m_https = true;
};

// Reads a JSON-lines file.
QList<QJsonObject> ReadJsonLines(const QString &path);

// Writes an accounts data file (--data) with that content into a fresh folder; its path.
QString WriteDataFile(const QByteArray &content);

// A port of 127.0.0.1 on which nothing listens (a connection to it is refused).
int ClosedPort();

} // namespace testsvc
