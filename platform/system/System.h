#pragma once
// What the program needs of the operating system: the logon name, the beep, the connection
// state, and the single running instance per person.
#include <QObject>
#include <QString>
#include <cstdint>
#include <functional>
#include <memory>

class QLocalServer;
class QLockFile;

namespace sysplat {

// The person's logon name (getpwuid of the real user id). TARV_LOGON_NAME overrides it, so
// tests can play several people on one account.
QString LogonName();

// Sounds the desktop's beep.
void Beep();

// Whether the machine is connected: a default route on an interface other than loopback in
// the kernel's routing table. TARV_ONLINE=1 or 0 overrides it. flags receives 1 (a LAN
// connection) when connected, else 0.
bool InternetConnected(int16_t &flags);

// One running instance per person. The first instance holds a lock file and a local server in
// the person's runtime folder; a later start finds the lock held, asks the first to bring its
// window back when it is minimised, and learns that it must end.
class SingleInstance : public QObject {
    Q_OBJECT
public:
    // key names the program ("Tarv"); the files live in XDG_RUNTIME_DIR (else the temp folder).
    explicit SingleInstance(const QString &key, QObject *parent = nullptr);
    ~SingleInstance() override;

    // True when another instance of this person already runs. In that case the request to
    // restore the window titled windowTitle when minimised has been sent to it.
    bool PrevInstance(const QString &windowTitle);

    // In the first instance: what to do when a later start asks for the window with that
    // title. The default restores and raises the top-level window with that title when it is
    // minimised, and leaves it as it is otherwise.
    std::function<void(const QString &title)> onRestoreRequest;

    // The default handling, as its own function for reuse.
    static void RestoreIfMinimised(const QString &windowTitle);

private:
    QString m_key;
    std::unique_ptr<QLockFile> m_lock;
    QLocalServer *m_server = nullptr;
};

} // namespace sysplat
