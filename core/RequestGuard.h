#pragma once
// One conversation with the service at a time. A request blocks its caller while the event loop
// keeps turning so that the windows repaint; in those turns a click could start a second request
// inside the first. The transport takes a Request guard for each request it sends, and a
// command that sends several requests and stores their replies (a download) takes a Command
// guard for the whole of it. A guard that cannot be had is refused: the caller starts nothing.
// Windows disable the commands that would start a request while Busy() and follow its changes
// through RequestGuard::Notifier().
#include <QObject>

class RequestBusy : public QObject {
    Q_OBJECT
signals:
    // Busy() changed: true when the first guard was taken, false when the last one went.
    void BusyChanged(bool busy);
};

class RequestGuard {
public:
    enum Scope {
        Request,  // one request of the transport: refused while another request is in flight
        Command,  // a command of the person: refused while any command or request is under way
    };

    explicit RequestGuard(Scope scope);
    ~RequestGuard();
    RequestGuard(const RequestGuard &) = delete;
    RequestGuard &operator=(const RequestGuard &) = delete;

    // True when this guard was had; false when it was refused.
    bool Held() const { return m_held; }
    explicit operator bool() const { return m_held; }

    // A request or a command is under way.
    static bool Busy();
    // A request is in flight (a Request guard is held).
    static bool InFlight();
    static RequestBusy *Notifier();

private:
    Scope m_scope;
    bool m_held = false;
};
