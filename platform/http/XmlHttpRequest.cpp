#include "platform/http/XmlHttpRequest.h"

#include <QUrl>
#include <curl/curl.h>
#include <mutex>

namespace http {

namespace {

// A reply larger than this is not a reply of our service: stop reading instead of filling memory.
constexpr qsizetype MaxReplyBytes = 64 * 1024 * 1024;

// One connection cache, TLS session cache and name cache for every request object of the
// process: a request object lives for one request, and without this each request to the
// service would open a new connection with a new TLS handshake. The locks make the share safe
// should two threads ever send at once.
std::mutex g_shareLocks[CURL_LOCK_DATA_LAST];

void LockShare(CURL *, curl_lock_data data, curl_lock_access, void *)
{
    g_shareLocks[data].lock();
}

void UnlockShare(CURL *, curl_lock_data data, void *)
{
    g_shareLocks[data].unlock();
}

CURLSH *g_share = nullptr;

void GlobalInit()
{
    static std::once_flag once;
    std::call_once(once, [] {
        curl_global_init(CURL_GLOBAL_DEFAULT);
        g_share = curl_share_init();
        if (g_share) {
            curl_share_setopt(g_share, CURLSHOPT_LOCKFUNC, LockShare);
            curl_share_setopt(g_share, CURLSHOPT_UNLOCKFUNC, UnlockShare);
            curl_share_setopt(g_share, CURLSHOPT_SHARE, CURL_LOCK_DATA_CONNECT);
            curl_share_setopt(g_share, CURLSHOPT_SHARE, CURL_LOCK_DATA_SSL_SESSION);
            curl_share_setopt(g_share, CURLSHOPT_SHARE, CURL_LOCK_DATA_DNS);
        }
    });
}

struct Sink {
    QByteArray *body;
    QList<QPair<QString, QString>> *headers;
    QString *statusText;
};

size_t WriteBody(char *data, size_t size, size_t count, void *user)
{
    auto *sink = static_cast<Sink *>(user);
    const size_t n = size * count;
    if (sink->body->size() + qsizetype(n) > MaxReplyBytes)
        return 0; // makes curl fail the transfer with a write error
    sink->body->append(data, qsizetype(n));
    return n;
}

size_t WriteHeader(char *data, size_t size, size_t count, void *user)
{
    auto *sink = static_cast<Sink *>(user);
    const size_t n = size * count;
    const QByteArray line = QByteArray(data, qsizetype(n)).trimmed();
    if (line.startsWith("HTTP/")) {
        // A new status line (after "100 Continue", say): what came before belonged to another reply.
        sink->headers->clear();
        const QList<QByteArray> parts = line.split(' ');
        QByteArray text;
        for (int i = 2; i < parts.size(); ++i) {
            if (i > 2)
                text += ' ';
            text += parts[i];
        }
        *sink->statusText = QString::fromLatin1(text);
    } else {
        const qsizetype colon = line.indexOf(':');
        if (colon > 0)
            sink->headers->append({QString::fromLatin1(line.left(colon)).trimmed(),
                                   QString::fromLatin1(line.mid(colon + 1)).trimmed()});
    }
    return n;
}

bool IsToken(const QString &s)
{
    if (s.isEmpty())
        return false;
    for (QChar c : s)
        if (!(c >= u'A' && c <= u'Z') && !(c >= u'a' && c <= u'z'))
            return false;
    return true;
}

} // namespace

XmlHttpRequest::XmlHttpRequest()
{
    GlobalInit();
    m_curl = curl_easy_init();
}

XmlHttpRequest::~XmlHttpRequest()
{
    if (m_curl)
        curl_easy_cleanup(static_cast<CURL *>(m_curl));
}

void XmlHttpRequest::resetReply()
{
    m_status = 0;
    m_statusText.clear();
    m_body.clear();
    m_replyHeaders.clear();
    m_errorCode = 0;
    m_errorText.clear();
}

bool XmlHttpRequest::open(const QString &method, const QString &url, bool async)
{
    m_errorCode = 0;
    m_errorText.clear();
    if (async) {
        m_errorText = QStringLiteral("only blocking requests are supported");
        return false;
    }
    if (!IsToken(method)) {
        m_errorText = QStringLiteral("invalid method");
        return false;
    }
    const QUrl parsed(url, QUrl::StrictMode);
    const QString scheme = parsed.scheme().toLower();
    if (!parsed.isValid() || (scheme != u"http" && scheme != u"https") || parsed.host().isEmpty()) {
        m_errorText = QStringLiteral("invalid address");
        return false;
    }
    if (!m_curl) {
        m_errorText = QStringLiteral("no transfer handle");
        return false;
    }
    resetReply();
    m_method = method.toUpper();
    m_url = url.toUtf8();
    m_headers.clear();
    m_state = Opened;
    return true;
}

bool XmlHttpRequest::setRequestHeader(const QString &name, const QString &value)
{
    if (m_state != Opened || name.isEmpty() || name.contains(u':') || name.contains(u'\n')
        || name.contains(u'\r') || value.contains(u'\n') || value.contains(u'\r'))
        return false;
    for (auto &h : m_headers) {
        if (h.first.compare(name, Qt::CaseInsensitive) == 0) {
            h.second += QStringLiteral(", ") + value;
            return true;
        }
    }
    m_headers.append({name, value});
    return true;
}

void XmlHttpRequest::setTimeout(int seconds)
{
    m_timeoutMs = seconds > 0 ? seconds * 1000 : DefaultTimeoutSecs * 1000;
}

void XmlHttpRequest::setTimeoutMs(int milliseconds)
{
    m_timeoutMs = milliseconds > 0 ? milliseconds : DefaultTimeoutSecs * 1000;
}

bool XmlHttpRequest::send()
{
    return perform(QByteArray(), false);
}

bool XmlHttpRequest::send(const QString &body)
{
    return perform(body.toUtf8(), true);
}

bool XmlHttpRequest::send(const QByteArray &body)
{
    return perform(body, true);
}

bool XmlHttpRequest::perform(const QByteArray &body, bool hasBody)
{
    if (m_state != Opened) {
        m_errorCode = 0;
        m_errorText = QStringLiteral("the request is not open");
        return false;
    }
    resetReply();
    CURL *c = static_cast<CURL *>(m_curl);
    curl_easy_reset(c);

    Sink sink{&m_body, &m_replyHeaders, &m_statusText};
    char errbuf[CURL_ERROR_SIZE] = {0};
    curl_easy_setopt(c, CURLOPT_URL, m_url.constData());
    if (g_share)
        curl_easy_setopt(c, CURLOPT_SHARE, g_share);
    curl_easy_setopt(c, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(c, CURLOPT_ERRORBUFFER, errbuf);
    curl_easy_setopt(c, CURLOPT_TIMEOUT_MS, long(m_timeoutMs));
    curl_easy_setopt(c, CURLOPT_CONNECTTIMEOUT_MS, long(m_timeoutMs));
    curl_easy_setopt(c, CURLOPT_NOPROXY, "127.0.0.1,localhost,::1");
    curl_easy_setopt(c, CURLOPT_USERAGENT, "TarveloPC/1.0");
    curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, WriteBody);
    curl_easy_setopt(c, CURLOPT_WRITEDATA, &sink);
    curl_easy_setopt(c, CURLOPT_HEADERFUNCTION, WriteHeader);
    curl_easy_setopt(c, CURLOPT_HEADERDATA, &sink);

    // Trust is never switched off; a named CA file replaces the system's list entirely, so a
    // test that names the wrong one sees the refusal a real client would.
    curl_easy_setopt(c, CURLOPT_SSL_VERIFYPEER, 1L);
    curl_easy_setopt(c, CURLOPT_SSL_VERIFYHOST, 2L);
    const QByteArray caFile = qgetenv("TARV_CA_FILE");
    if (!caFile.isEmpty()) {
        curl_easy_setopt(c, CURLOPT_CAINFO, caFile.constData());
        curl_easy_setopt(c, CURLOPT_CAPATH, static_cast<char *>(nullptr));
    }

    const bool sendsBody = hasBody && m_method != u"GET" && m_method != u"HEAD";
    if (m_method == u"GET") {
        curl_easy_setopt(c, CURLOPT_HTTPGET, 1L);
    } else if (m_method == u"HEAD") {
        curl_easy_setopt(c, CURLOPT_NOBODY, 1L);
    } else {
        if (m_method == u"POST") {
            curl_easy_setopt(c, CURLOPT_POST, 1L);
        } else {
            curl_easy_setopt(c, CURLOPT_CUSTOMREQUEST, m_method.toLatin1().constData());
        }
        if (sendsBody || m_method == u"POST") {
            curl_easy_setopt(c, CURLOPT_POSTFIELDSIZE_LARGE, curl_off_t(sendsBody ? body.size() : 0));
            curl_easy_setopt(c, CURLOPT_COPYPOSTFIELDS, sendsBody ? body.constData() : "");
        }
    }

    curl_slist *headers = nullptr;
    // No "Expect: 100-continue" round trip for larger bodies.
    headers = curl_slist_append(headers, "Expect:");
    for (const auto &h : m_headers)
        headers = curl_slist_append(headers, (h.first + QStringLiteral(": ") + h.second).toUtf8().constData());
    curl_easy_setopt(c, CURLOPT_HTTPHEADER, headers);

    const CURLcode rc = curl_easy_perform(c);
    long code = 0;
    curl_easy_getinfo(c, CURLINFO_RESPONSE_CODE, &code);
    curl_easy_setopt(c, CURLOPT_HTTPHEADER, static_cast<curl_slist *>(nullptr));
    curl_slist_free_all(headers);

    m_state = Done;
    if (rc != CURLE_OK) {
        m_errorCode = int(rc);
        m_errorText = errbuf[0] ? QString::fromLocal8Bit(errbuf) : QString::fromUtf8(curl_easy_strerror(rc));
        m_status = 0;
        m_statusText.clear();
        m_body.clear();
        m_replyHeaders.clear();
        return false;
    }
    m_status = int(code);
    return true;
}

void XmlHttpRequest::abort()
{
    resetReply();
    m_headers.clear();
    m_state = Unsent;
}

QString XmlHttpRequest::responseText() const
{
    if (m_state != Done)
        return QString();
    if (m_body.startsWith("\xEF\xBB\xBF"))
        return QString::fromUtf8(m_body.mid(3));
    return QString::fromUtf8(m_body);
}

QString XmlHttpRequest::getResponseHeader(const QString &name) const
{
    if (m_state != Done)
        return QString();
    for (const auto &h : m_replyHeaders)
        if (h.first.compare(name, Qt::CaseInsensitive) == 0)
            return h.second;
    return QString();
}

bool XmlHttpRequest::timedOut() const
{
    return m_errorCode == CURLE_OPERATION_TIMEDOUT;
}

} // namespace http
