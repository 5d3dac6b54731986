// The transport of requests to the web service: one request object per request, blocking
// open and send, progress lines with their pauses, the time-out per phase, the sign-in before
// the first POST of a run, and the texts of the reply codes.
#include "core/modHttp.h"

#include "core/Progress.h"
#include "core/ServiceRequests.h"
#include "core/RequestGuard.h"
#include "core/modMain.h"
#include "platform/http/XmlHttpRequest.h"

#include <QApplication>
#include <QDateTime>

#include <exception>
#include <memory>

namespace modHttp {

namespace {

const QString EndpointPath = QStringLiteral("/tarv/XMLServer");
const QString FormContentType = QStringLiteral("application/x-www-form-urlencoded; charset=UTF-8");

// Texts that mark a web server's error page; such a page is handed to the caller whatever its
// HTTP status, so that the reply codes 404, 410 and 500 reach the person.
const char *const ErrorPageMarkers[] = {"404 Not Found", "HTTP Status 404", "500 Internal Server Error",
                                        "Error report"};

QString TimeStamp()
{
    return QTime::currentTime().toString(QStringLiteral("HHmmss"));
}

// Time-out of one phase: it has passed when more whole-second boundaries than TimeOut lie
// between the phase's start and now. The request object is bounded by the same moment, so
// that a reply that never comes cannot block longer than the test would allow.
class Phase {
public:
    Phase() : m_startSec(QDateTime::currentMSecsSinceEpoch() / 1000) {}
    bool Passed() const
    {
        return QDateTime::currentMSecsSinceEpoch() / 1000 - m_startSec > qMax<int>(modMain::TimeOut, 0);
    }
    // Milliseconds left until the test would say "passed" (0 when it already does).
    qint64 RemainingMs() const
    {
        const qint64 limit = (m_startSec + qMax<int>(modMain::TimeOut, 0) + 1) * 1000;
        return qMax<qint64>(0, limit - QDateTime::currentMSecsSinceEpoch());
    }

private:
    qint64 m_startSec;
};

void ShowLine(int16_t id, const modMain::ProgressWatch &progress)
{
    if (progress)
        SetProgressCaption(modMain::GetLangString(id) + QStringLiteral("..."), progress.get());
}

bool IsErrorPage(const QString &text)
{
    for (const char *marker : ErrorPageMarkers)
        if (text.contains(QLatin1String(marker)))
            return true;
    return false;
}

// Opens the request as GET of url or POST to the endpoint, then sends it, each phase bounded
// by the time-out, telling progress (when given) of each step. Returns false on a failure or
// time-out (the object is then aborted).
bool OpenAndSend(http::XmlHttpRequest &request, const QString &url, bool isPost, const QString &body,
                 RequestProgress *progress)
{
    // Opening phase.
    {
        const Phase phase;
        while (request.readyState() != http::XmlHttpRequest::Opened) {
            if (request.readyState() == http::XmlHttpRequest::Unsent) {
                if (!request.open(isPost ? QStringLiteral("POST") : QStringLiteral("GET"), url, false))
                    return false;
                if (isPost)
                    request.setRequestHeader(QStringLiteral("Content-Type"), FormContentType);
            }
            if (phase.Passed()) {
                request.abort();
                return false;
            }
        }
    }
    if (progress)
        progress->Opened();

    // Sending phase.
    const Phase phase;
    while (request.readyState() != http::XmlHttpRequest::Done) {
        if (progress)
            progress->Sending();
        // A request that would already be too late is not sent at all: a service that took an
        // entry while the program gave it up would get it twice.
        const qint64 left = phase.RemainingMs();
        if (left <= 0) {
            request.abort();
            return false;
        }
        request.setTimeoutMs(int(qMin<qint64>(left, 24 * 3600 * 1000)));
        const bool sent = isPost ? request.send(body) : request.send();
        if (!sent || phase.Passed()) {
            request.abort();
            return false;
        }
    }
    return true;
}

// The progress lines of HttpRequest on the display the caller handed in (the sign-in window's
// result line, the status line), as long as that display exists.
class LineProgress : public RequestProgress {
public:
    explicit LineProgress(const modMain::ProgressWatch &watch) : m_watch(watch) {}
    void Starting() override { ShowLine(920, m_watch); }
    void Opened() override
    {
        ShowLine(923, m_watch);
        ShowLine(924, m_watch);
    }
    void Sending() override { ShowLine(926, m_watch); }
    void Received() override { ShowLine(930, m_watch); }

private:
    const modMain::ProgressWatch &m_watch;
};

} // namespace

QString ServiceEndpoint()
{
    QString base = qEnvironmentVariable("TARV_SERVICE_ENDPOINT");
    if (base.trimmed().isEmpty())
        base = QStringLiteral(TARV_SERVICE_ENDPOINT_DEFAULT);
    base = base.trimmed();
    if (base.endsWith(EndpointPath))
        return base;
    while (base.endsWith(u'/'))
        base.chop(1);
    return base + EndpointPath;
}

void SetProgressCaption(const QString &text, modMain::Progress *progress)
{
    if (!progress)
        return;
    progress->ShowStep(text, QString());
    // One turn of the event loop lets the line paint and the window timers run. (The caller
    // holds the progress through a watch: what runs in this turn may close its window.)
    QApplication::processEvents();
    modMain::WaitSecs(1);
}

QString Exchange(const QString &params, bool isPost, RequestProgress *progress)
{
    // The progress steps let the event loop turn: a request started from there is refused
    // (nothing is sent) instead of running inside this one.
    const RequestGuard inFlight(RequestGuard::Request);
    if (!inFlight)
        return QString();
    try {
        if (isPost && !modMain::ServerLoggedIn)
            ServerLogin();
        const QString body = params + QStringLiteral("&tstmp=") + TimeStamp();
        const QString endpoint = ServiceEndpoint();
        const QString url = isPost ? endpoint : endpoint + u'?' + body;

        auto request = std::make_unique<http::XmlHttpRequest>();
        if (progress)
            progress->Starting();
        if (OpenAndSend(*request, url, isPost, body, progress)) {
            if (progress)
                progress->Received();
            const QString text = request->responseText();
            const int status = request->status();
            // Only a 2xx reply is the service's answer. Another status is handed on only as a
            // recognised error page; a proxy's page, a portal's or an empty body is a failure,
            // so that an entry is never taken as accepted from it.
            const bool answered = status >= 200 && status <= 299;
            if (!text.isEmpty() && (answered || IsErrorPage(text)))
                return text;
        }
    } catch (const std::exception &) {
        // Every failure below ends on the failure path.
    } catch (...) {
    }
    return QString();
}

QString HttpRequest(const QString &params, int32_t kind, bool isPost, modMain::Progress *shownOn)
{
    // Who asks (kind) no longer decides where the lines go: the caller hands in its display.
    (void)kind;
    // Refused while another request is in flight: nothing was sent, nothing to tell.
    if (RequestGuard::InFlight())
        return QString();
    const modMain::ProgressWatch progress(shownOn);
    LineProgress lines(progress);
    const QString text = Exchange(params, isPost, progress ? &lines : nullptr);
    if (!text.isEmpty())
        return text;
    try {
        if (progress)
            ShowLine(929, progress);
        else
            modMain::SetStatus(817, QString());
    } catch (...) {
    }
    return QString();
}

void ServerLogin()
{
    try {
        const QString url = ServiceEndpoint() + u'?' + NameRequest().params + QStringLiteral("&tstmp=") + TimeStamp();
        http::XmlHttpRequest request;
        if (!OpenAndSend(request, url, false, QString(), nullptr))
            return;
        // Whatever the reply says, an answer means the service has seen this run.
        if (request.readyState() == http::XmlHttpRequest::Done && !request.responseText().isEmpty())
            modMain::ServerLoggedIn = true;
    } catch (...) {
    }
}

QString GetErrMsg(int16_t code)
{
    int16_t id = 1416;
    if (code >= 1 && code <= 11)
        id = int16_t(1400 + code - 1);
    else if (code == 100)
        id = 1411;
    else if (code == 110 || code == 199)
        id = 1412;
    else if (code == 404)
        id = 1413;
    else if (code == 410)
        id = 1414;
    else if (code == 999)
        id = 1415;
    else if (code == 500)
        id = 1417;
    return modMain::GetLangString(id);
}

} // namespace modHttp
