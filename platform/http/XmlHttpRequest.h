#pragma once
// The program's HTTP request object: the small part of an XMLHTTP-style request that the
// service client needs (open, setRequestHeader, send, readyState, responseText, status, abort),
// over one libcurl easy handle per object.
//
// Only blocking mode exists: send() returns when the reply is complete, the time-out has
// passed or the transfer failed. A failed transfer (refused connection, certificate not
// trusted, time-out, connection cut in the middle of the reply) does not throw: like a browser
// request after a network error, the object reaches readyState 4 with status 0, an empty
// responseText and the reason in errorCode()/errorText(). So a caller that loops "send until
// the state is 4" ends at once and reads "" as the failure it is.
//
// Certificates are always verified. When the environment variable TARV_CA_FILE names a file,
// that file is the certificate authority list (for a service with a self-signed certificate);
// otherwise the system's list is used. Loopback addresses never go through a proxy.
#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>

namespace http {

class XmlHttpRequest {
public:
    // readyState values; the object never reports 2 or 3 because send() blocks.
    enum State { Unsent = 0, Opened = 1, Done = 4 };

    // Time-out of one send when the caller sets none.
    static constexpr int DefaultTimeoutSecs = 30;

    XmlHttpRequest();
    ~XmlHttpRequest();
    XmlHttpRequest(const XmlHttpRequest &) = delete;
    XmlHttpRequest &operator=(const XmlHttpRequest &) = delete;

    // Prepares a request: any earlier reply, header and error is dropped and readyState becomes
    // 1. The URL is used as it stands (the caller has encoded its query); it must be an
    // absolute http or https address. async = true is refused: this object only blocks.
    // Returns false (state unchanged, errorText() says why) on a bad method, URL or mode.
    bool open(const QString &method, const QString &url, bool async = false);

    // Adds a request header; only while the state is 1. A second value for the same name
    // (case-insensitive) is joined to the first with ", ".
    bool setRequestHeader(const QString &name, const QString &value);

    // Bounds the next send (connecting, the request and the whole reply) to this many
    // seconds or milliseconds; 0 or less restores the default.
    void setTimeout(int seconds);
    void setTimeoutMs(int milliseconds);
    int timeoutMs() const { return m_timeoutMs; }

    // Sends the request and waits for the reply (the body is ignored for GET and HEAD; text
    // bodies go out as UTF-8). Only in state 1. Returns true when a reply arrived, whatever its
    // HTTP status; false after a transfer failure. Either way the state is then 4.
    bool send();
    bool send(const QString &body);
    bool send(const QByteArray &body);

    // Drops the request and any reply; the state goes back to 0. Safe in every state.
    void abort();

    int readyState() const { return m_state; }
    // The reply body decoded as UTF-8 (a leading byte-order mark is dropped); "" until the
    // state is 4 and after a failure.
    QString responseText() const;
    QByteArray responseBody() const { return m_state == Done ? m_body : QByteArray(); }
    // HTTP status of the reply (200, 404, 500, ...); 0 before a reply and after a failure.
    int status() const { return m_state == Done ? m_status : 0; }
    QString statusText() const { return m_state == Done ? m_statusText : QString(); }
    // A reply header by name (case-insensitive), "" when absent.
    QString getResponseHeader(const QString &name) const;

    // Why the last open or send failed: 0 and "" when it did not. errorCode() is libcurl's code.
    int errorCode() const { return m_errorCode; }
    QString errorText() const { return m_errorText; }
    bool timedOut() const;

private:
    void resetReply();
    bool perform(const QByteArray &body, bool hasBody);

    void *m_curl = nullptr;
    int m_state = Unsent;
    QString m_method;
    QByteArray m_url;
    QList<QPair<QString, QString>> m_headers;
    int m_timeoutMs = DefaultTimeoutSecs * 1000;

    int m_status = 0;
    QString m_statusText;
    QByteArray m_body;
    QList<QPair<QString, QString>> m_replyHeaders;
    int m_errorCode = 0;
    QString m_errorText;
};

} // namespace http
