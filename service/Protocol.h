#pragma once
// The conversation of the reference service: one endpoint, six actions, tag-structured replies.
// Pure logic (no sockets), so that the server and its options stay thin.
#include "Accounts.h"

#include <QByteArray>
#include <QJsonObject>
#include <QList>
#include <QPair>
#include <atomic>

namespace service {

// Every reply of the endpoint starts with this head of exactly 22 characters and a line break;
// the client drops the first 22 characters of a download reply unread.
inline constexpr char ReplyHead[] = "<?xml version=\"1.0\" ?>";

// Error codes in "<ERROR><CODE>n</CODE>...", as the program explains them to the person.
// 1 to 4 concern the account or the request as a whole, 5 and above one rejected entry
// (the program marks such an entry rejected rather than sending it again).
enum ErrorCode {
    UnknownUser = 1,
    WrongPassword = 2,
    BadRequest = 3,        // unknown action, wrong method, missing or doubled parameter, no time stamp
    AccountLocked = 4,     // the account is locked ("locked": true in the data file)
    UnknownProject = 5,    // the project is not assigned to the account
    UnknownTask = 6,       // the task is not in that project
    UnknownCategory = 7,   // the task does not offer the time entry's category
    BadDateTime = 8,
    BadExpense = 10,       // unknown expense category, unreadable amount, or a project or task
                           // that takes no expenses
};

struct Reply {
    int status = 200;
    QByteArray contentType = "text/xml; charset=UTF-8";
    QByteArray body;
};

struct Outcome {
    Reply reply;
    bool accepted = false; // an entry was accepted; entry holds its line for the received file
    QJsonObject entry;
};

// A form-encoded parameter string split at "&" and "=", values percent-decoded to bytes
// ("+" is a blank). ok is false for a piece without "=" or a broken "%" escape.
QList<QPair<QByteArray, QByteArray>> ParseForm(const QByteArray &raw, bool *ok);
// The credentials travel in the Windows-1252 bytes of their text.
QString DecodeCp1252(const QByteArray &bytes);

class Protocol {
public:
    explicit Protocol(DataFile data) : m_data(std::move(data)) {}

    // One request to the endpoint path (any other path gets a web server's 404 page).
    Outcome handle(const QByteArray &method, const QByteArray &path, const QByteArray &query,
                   const QByteArray &body, const QByteArray &contentType);

    // The action a request asks for ("" when none can be read): from the query of a GET, the
    // body of a POST.
    static QByteArray ActionOf(const QByteArray &method, const QByteArray &query, const QByteArray &body);

    // Error pages as web servers send them: "404", "500", "502" (Apache and nginx style) and
    // "servlet-404", "servlet-500" (servlet container style), and "portal": a sign-in page of
    // a guest network sent with status 200. Empty body for an unknown kind.
    static Reply ErrorPage(const QByteArray &kind);
    static Reply Garbage();
    static bool IsErrorPageKind(const QByteArray &kind);

    const DataFile &data() const { return m_data; }

private:
    Outcome dispatch(const QByteArray &method, const QList<QPair<QByteArray, QByteArray>> &params,
                     const QByteArray &raw);

    DataFile m_data;
    std::atomic<qint64> m_nextEntry{1};
};

} // namespace service
