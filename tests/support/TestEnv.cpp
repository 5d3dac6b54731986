#include "tests/support/TestEnv.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>

namespace testenv {

QString MakeTempDir(const QString &prefix)
{
    QTemporaryDir dir(QDir::tempPath() + "/" + prefix + "-XXXXXX");
    dir.setAutoRemove(false);
    return dir.path();
}

bool WaitFor(const std::function<bool()> &pred, int timeoutMs)
{
    QElapsedTimer t;
    t.start();
    while (!pred()) {
        if (t.elapsed() > timeoutMs)
            return pred();
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return true;
}

void AnswerNextModal(const QString &buttonName, int timeoutMs)
{
    auto *timer = new QTimer;
    auto *clock = new QElapsedTimer;
    clock->start();
    timer->setInterval(20);
    QObject::connect(timer, &QTimer::timeout, [timer, clock, buttonName, timeoutMs] {
        QWidget *modal = QApplication::activeModalWidget();
        if (modal) {
            if (auto *b = modal->findChild<QAbstractButton *>(buttonName)) {
                timer->stop();
                timer->deleteLater();
                delete clock;
                b->click();
                return;
            }
        }
        if (clock->elapsed() > timeoutMs) {
            timer->stop();
            timer->deleteLater();
            delete clock;
        }
    });
    timer->start();
}

} // namespace testenv
