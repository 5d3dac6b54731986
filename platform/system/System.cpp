#include "platform/system/System.h"

#include "platform/forms/TopWindow.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QStandardPaths>
#include <QWidget>

#include <pwd.h>
#include <unistd.h>

namespace sysplat {

QString LogonName()
{
    const QByteArray env = qgetenv("TARV_LOGON_NAME");
    if (!env.isEmpty())
        return QString::fromLocal8Bit(env);
    if (const passwd *pw = getpwuid(getuid()))
        return QString::fromLocal8Bit(pw->pw_name);
    return QString::fromLocal8Bit(qgetenv("USER"));
}

void Beep()
{
    QApplication::beep();
}

static bool HasDefaultRoute()
{
    QFile f(QStringLiteral("/proc/net/route"));
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text))
        return false;
    f.readLine(); // header
    while (!f.atEnd()) {
        const QList<QByteArray> cols = f.readLine().simplified().split(' ');
        // Iface Destination Gateway Flags ...; flags bit 1 (RTF_UP)
        if (cols.size() < 4)
            continue;
        if (cols[0] == "lo")
            continue;
        bool ok = false;
        const uint flags = cols[3].toUInt(&ok, 16);
        if (cols[1] == "00000000" && ok && (flags & 0x1))
            return true;
    }
    return false;
}

bool InternetConnected(int16_t &flags)
{
    const QByteArray env = qgetenv("TARV_ONLINE");
    bool on;
    if (env == "1")
        on = true;
    else if (env == "0")
        on = false;
    else
        on = HasDefaultRoute();
    flags = on ? 1 : 0;
    return on;
}

static QString RuntimeDir()
{
    QString dir = QString::fromLocal8Bit(qgetenv("XDG_RUNTIME_DIR"));
    if (dir.isEmpty() || !QDir(dir).exists())
        dir = QDir::tempPath();
    return dir;
}

SingleInstance::SingleInstance(const QString &key, QObject *parent)
    : QObject(parent), m_key(key)
{
    onRestoreRequest = &SingleInstance::RestoreIfMinimised;
}

SingleInstance::~SingleInstance()
{
    if (m_server)
        m_server->close();
}

bool SingleInstance::PrevInstance(const QString &windowTitle)
{
    const QString base = RuntimeDir() + "/" + m_key + "-" + QString::number(getuid());
    m_lock = std::make_unique<QLockFile>(base + ".lock");
    m_lock->setStaleLockTime(0); // a lock of a dead process is taken over at once
    const QString serverName = base + ".sock";
    if (!m_lock->tryLock(100)) {
        QLocalSocket sock;
        sock.connectToServer(serverName);
        if (sock.waitForConnected(1000)) {
            sock.write("restore\n" + windowTitle.toUtf8() + "\n");
            sock.waitForBytesWritten(1000);
            // Wait until the first instance has handled it, so it happens before this one ends.
            sock.waitForReadyRead(2000);
            sock.disconnectFromServer();
        }
        return true;
    }
    QLocalServer::removeServer(serverName);
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    m_server->listen(serverName);
    connect(m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket *s = m_server->nextPendingConnection()) {
            connect(s, &QLocalSocket::disconnected, s, &QObject::deleteLater);
            connect(s, &QLocalSocket::readyRead, this, [this, s] {
                // The request is two lines: the command and the window title.
                QByteArray buf = s->property("buf").toByteArray() + s->readAll();
                s->setProperty("buf", buf);
                if (buf.count('\n') < 2)
                    return;
                const QList<QByteArray> lines = buf.split('\n');
                if (lines[0] == "restore" && onRestoreRequest)
                    onRestoreRequest(QString::fromUtf8(lines[1]));
                s->write("ok\n");
                s->flush();
            });
        }
    });
    return false;
}

void SingleInstance::RestoreIfMinimised(const QString &windowTitle)
{
    for (QWidget *w : QApplication::topLevelWidgets()) {
        if (w->windowTitle() != windowTitle)
            continue;
        if (w->isMinimized()) {
            forms::ShowNormal(w);
            w->raise();
            w->activateWindow();
        }
        return;
    }
}

} // namespace sysplat
