#pragma once
// What every benchmark program does around its measurements: the headless platform, no
// designed pauses, the application object, a temporary folder for its files, the run of the
// registered benchmarks and, at the end, the database closed before the folder goes.
#include <QApplication>
#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>

namespace bench {

class BenchApp {
public:
    // Call first thing in main(): the environment must be set before the application exists.
    BenchApp(int &argc, char **argv);
    // Closes the database; unload the windows that use it before this runs.
    ~BenchApp();
    BenchApp(const BenchApp &) = delete;
    BenchApp &operator=(const BenchApp &) = delete;

    QString Path(const QString &name) const { return m_dir.path() + u'/' + name; }
    // A database file name in the folder not used before ("Tarv1.crn", "Tarv2.crn", ...).
    QString NextDatabasePath() { return Path(QStringLiteral("Tarv%1.crn").arg(++m_serial)); }
    // Makes the temporary folder the program folder (where the database and its files go).
    void UseAsProgramDir();
    // Runs the registered benchmarks with the command line's options.
    void Run();

private:
    int &m_argc;
    char **m_argv;
    bool m_prepared;
    QApplication m_app;
    QTemporaryDir m_dir;
    int m_serial = 0;
};

// The reference service beside the program, on 127.0.0.1 and a free port, over HTTPS with a
// certificate of its own, serving the given accounts data; the program is pointed at it.
// The destructor stops it.
class BenchService {
public:
    BenchService() = default;
    ~BenchService();
    BenchService(const BenchService &) = delete;
    BenchService &operator=(const BenchService &) = delete;

    // False (with the reason on stderr) when the service did not start or announce its port.
    bool Start(BenchApp &app, const QByteArray &accounts);

private:
    QProcess m_process;
};

// The stored credentials of the service's account "bench" (password "bench"), as a signed-in
// person leaves them.
void StoreBenchCredentials();

// Closes and forgets the program's database, if one is open.
void CloseDatabase();

} // namespace bench
