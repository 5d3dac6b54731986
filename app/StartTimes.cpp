// Start-up timing for the timing tool (bench/start_timing): when TARV_START_LOG names a file,
// the moments the splash is shown, the splash goes, and the timers window is shown are
// appended to it as "<event> <CLOCK_MONOTONIC nanoseconds>". Nothing happens without the
// variable.
#include <QApplication>
#include <QEvent>
#include <QFile>
#include <QWidget>

#include <ctime>

namespace {

class StartTimes : public QObject {
public:
    explicit StartTimes(const QString &file) : QObject(qApp), m_file(file) {}

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        const QEvent::Type t = event->type();
        if (t != QEvent::Show && t != QEvent::Hide && t != QEvent::Destroy)
            return false;
        auto *w = qobject_cast<QWidget *>(watched);
        const QString name = w ? w->objectName() : watched->objectName();
        if (name == QLatin1String("frmSplash")) {
            if (t == QEvent::Show)
                Note("splash-shown");
            else
                Note("splash-closed");
        } else if (name == QLatin1String("frmStart") && t == QEvent::Show) {
            Note("timers-shown");
        }
        return false;
    }

private:
    void Note(const char *event)
    {
        timespec ts{};
        clock_gettime(CLOCK_MONOTONIC, &ts);
        QFile f(m_file);
        if (f.open(QIODevice::Append))
            f.write(QByteArray(event) + ' ' + QByteArray::number(qint64(ts.tv_sec) * 1000000000LL + ts.tv_nsec) + '\n');
    }

    QString m_file;
};

void StartLog()
{
    const QString file = qEnvironmentVariable("TARV_START_LOG");
    if (file.isEmpty())
        return;
    qApp->installEventFilter(new StartTimes(file));
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(StartLog)
