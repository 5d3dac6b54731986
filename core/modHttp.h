#pragma once
// The service client module (namespace modHttp): the transport of requests to the web service
// and the helpers every request builder uses.
#include <QString>
#include <array>
#include <cstdint>

namespace modMain { class Progress; }

namespace modHttp {

// ---- the transport (modHttp.cpp) ------------------------------------------------------------

// The one address of the service: TARV_SERVICE_ENDPOINT from the environment, else the
// build's setting, followed by the path "/tarv/XMLServer" (unless the value already ends
// with it).
QString ServiceEndpoint();

// Who sends a request. Where its progress lines appear is the caller's: it hands in its
// display (the sign-in window's result line, the main window's status line) or none.
enum RequestKind : int32_t {
    KindUpload = 1,        // no progress lines (2 expenses, 4 time log, and any other value)
    KindLogin = 6,         // the sign-in window's check, shown in its result line
    KindStatusLine = 8,    // the main window's status line (daily download, options check)
    KindVersion = 10,      // the main window's status line (version check)
};

// Sends a parameter string ("action=..." with the credentials, without the time stamp) to the
// service and waits for the reply. Appends "&tstmp=" and the time as hhmmss; a GET carries it
// as the query, a POST as a form-encoded body (signing in first while ServerLoggedIn is
// false). With a progress shows the lines 920, 923, 924, 926 and 930 on it, each with a pause
// of a second. Each phase (opening, sending) is bounded by TimeOut seconds. Returns the reply
// text; "" on any failure (refused connection, untrusted certificate, time-out, empty reply,
// or an HTTP status other than 2xx whose text is no recognised error page), which it reports
// once: line 929 on the progress, or string 817 in the status line without one. The progress
// may go away while the request runs (its window closed): the lines then stop. While another
// request is in flight (RequestGuard) it sends nothing and returns "" at once.
QString HttpRequest(const QString &params, int32_t kind, bool isPost, modMain::Progress *progress = nullptr);

// What a sender shows of the steps of one request; each step may let the event loop turn.
class RequestProgress {
public:
    virtual ~RequestProgress() = default;
    virtual void Starting() {}   // signed in where needed, about to open the request
    virtual void Opened() {}     // the request is open, about to be sent
    virtual void Sending() {}    // before each send of the request
    virtual void Received() {}   // a reply arrived (before it is judged)
};

// The one exchange of a parameter string with the service under every sender: signs in
// before a POST while ServerLoggedIn is false, appends the time stamp, opens and sends the
// request with the time-out per phase, and returns the reply text, "" on any failure (as
// HttpRequest judges a reply). Reports its steps to progress (when given) and nothing else.
// While another request is in flight (RequestGuard) it sends nothing and returns "" at once.
QString Exchange(const QString &params, bool isPost, RequestProgress *progress);

// Sends the name request once, without progress; any non-empty reply sets ServerLoggedIn.
// Reports nothing.
void ServerLogin();

// Shows the text as a step on the progress, lets the event loop run once, then pauses a
// second. Nothing happens without a progress.
void SetProgressCaption(const QString &text, modMain::Progress *progress);

// The text of a reply code in the current language: 1..11 strings 1400..1410, 100 1411,
// 110 and 199 1412, 404 1413, 410 1414, 999 1415, 500 1417, any other code 1416.
QString GetErrMsg(int16_t code);

// ---- URL helpers (modHttp_Url.cpp) ----------------------------------------------------------

// Codes 0..255 that URLEncode keeps as they are: ASCII digits and letters only.
extern std::array<bool, 256> URLSafeChars;
extern bool URLCharsReady;

// Form-encodes a text one byte per character: a space gives "+", ASCII letters and digits stay,
// every other code 0..255 gives "%" and two upper-case hexadecimal digits ("-", "_", "." and
// "~" included). Characters beyond 255 have no single-byte code: they are written as the
// escapes of their UTF-8 bytes. An empty text gives "".
QString URLEncode(const QString &text);

// Fills URLSafeChars on the first call of the run; later calls return at once.
void InitURLChars();

// The UTF-8 bytes of a text, one character per byte carrying the byte as its code, ready for
// URLEncode ("é" gives the two characters 0xC3 0xA9). An empty text gives "".
QString EncodeUTF8(const QString &text);

} // namespace modHttp
