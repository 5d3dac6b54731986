#include "bench/BenchSupport.h"

#include "core/CCrypto.h"
#include "core/modMain.h"
#include "platform/dao/dao.h"

#include <QCoreApplication>
#include <QFile>
#include <QRegularExpression>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <memory>

namespace bench {

namespace {

// Creation and the downloads pause once per progress step; the benchmarks measure the work alone.
bool PrepareEnvironment()
{
    qputenv("TARV_NO_PAUSES", "1");
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    return true;
}

} // namespace

BenchApp::BenchApp(int &argc, char **argv)
    : m_argc(argc), m_argv(argv), m_prepared(PrepareEnvironment()), m_app(argc, argv)
{
}

BenchApp::~BenchApp()
{
    CloseDatabase();
}

void BenchApp::UseAsProgramDir()
{
    qputenv("TARV_PROGRAM_DIR", m_dir.path().toLocal8Bit());
}

void BenchApp::Run()
{
    benchmark::Initialize(&m_argc, m_argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
}

BenchService::~BenchService()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_process.terminate();
    m_process.waitForFinished(5000);
}

bool BenchService::Start(BenchApp &app, const QByteArray &accounts)
{
    const QString data = app.Path(QStringLiteral("bench.json"));
    QFile f(data);
    if (!f.open(QIODevice::WriteOnly) || f.write(accounts) < 0) {
        std::fprintf(stderr, "the service's data file could not be written\n");
        return false;
    }
    f.close();
    const QString serviceDir = app.Path(QStringLiteral("service"));
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_process.start(QCoreApplication::applicationDirPath() + QStringLiteral("/../bin/tarvelo-service"),
                    {QStringLiteral("--port"), QStringLiteral("0"), QStringLiteral("--data"), data,
                     QStringLiteral("--data-dir"), serviceDir});
    if (!m_process.waitForStarted(10000) || !m_process.waitForReadyRead(15000)) {
        std::fprintf(stderr, "the reference service did not start\n");
        return false;
    }
    const QString first = QString::fromUtf8(m_process.readLine()).trimmed();
    const auto m = QRegularExpression(QStringLiteral("^listening (https://127\\.0\\.0\\.1:\\d+)$")).match(first);
    if (!m.hasMatch()) {
        std::fprintf(stderr, "unexpected first line of the service: %s\n", qPrintable(first));
        return false;
    }
    qputenv("TARV_SERVICE_ENDPOINT", m.captured(1).toLocal8Bit());
    qputenv("TARV_CA_FILE", (serviceDir + QStringLiteral("/cert.pem")).toLocal8Bit());
    return true;
}

void StoreBenchCredentials()
{
    modMain::Crypto = std::make_unique<CCrypto>();
    modMain::StoredUserName = modMain::Crypto->Encrypt(QStringLiteral("bench"), CryptoPassPhrase, false, CCrypto::TypeRC2);
    modMain::StoredPassword = modMain::StoredUserName;
}

void CloseDatabase()
{
    if (modMain::DB)
        modMain::DB->Close();
    modMain::DB.reset();
}

} // namespace bench
