#pragma once
// The requests of the service protocol, built in one place (namespace modHttp).
//
// Every request is a form-encoded parameter string that starts with "action=" and the action
// name, carries its parameters in a fixed order and ends with the credentials ("&username=",
// then "&password=", as held URL-encoded in modMain::UserNameURL and PasswordURL). The time
// stamp "&tstmp=hhmmss" is not part of it: the transport (HttpRequest) appends it when it sends.
// The four reading requests go as GET, the two add requests as POST.
#include <QString>
#include <cstdint>

namespace modMain { class Progress; }
class QDateTime;

namespace modHttp {

// A parameter string with the form it is sent in.
struct ServiceRequest {
    QString params; // "action=...&username=...&password=..." without the time stamp
    bool isPost = false;
};

// A time-log entry as the service takes it: the values stored for it in the database.
struct AddTimeValues {
    QString comment;        // "" when the entry has none
    double projID = 0;      // the project that owns the task
    double taskID = 0;
    double catID = 0;
    int32_t dayKey = 0;     // yyyymmdd
    double startSecs = 0;   // seconds after midnight
    double durationSecs = 0;
};

// An expense as the service takes it.
struct AddExpenseValues {
    QString comment;        // "" when the expense has none
    double projID = 0;      // the project that owns the task, not the row's own project
    double taskID = 0;
    double expCatID = 0;
    QString amount;         // as stored, in the locale's number format
    int32_t dayKey = 0;
    double timeSecs = 0;    // time of the charge, seconds after midnight
    QString payee;
    QString code;           // "" when the expense has none
};

// Twelve digits yyyymmddhhmm: the day key followed by modMain::SecsToHM of the seconds. The
// hours are not wrapped: an end past midnight stays on the start's day with hours above 23.
QString RequestDateTime(int32_t dayKey, double secs);

// A whole-number id as plain decimal digits.
QString IdText(double id);

// A free text as the service reads it: its UTF-8 bytes, URL-encoded.
QString TextParam(const QString &text);

ServiceRequest NameRequest();      // GET action=name
ServiceRequest VersionRequest();   // GET action=version
ServiceRequest ProjectsRequest();  // GET action=projects
ServiceRequest ExpensesRequest();  // GET action=expenses
// POST action=addTime&cmt=&prj=&task=&tc=&start=&end=&username=&password=
ServiceRequest AddTimeRequest(const AddTimeValues &entry);
// POST action=addExpense&cmt=&prj=&task=&ec=&amount=&charge=&payee=&code=&username=&password=
ServiceRequest AddExpenseRequest(const AddExpenseValues &expense);

// The reply code of a reply to an add request: that of clsTagParser::CheckInput, except that a
// text which is not the service's own answer (a web page, such as a captive portal's or a
// proxy's, that came with a success status) or an answer cut off before its elements end counts
// as no reply (100): the entry was not taken.
int16_t AddReplyCode(const QString &reply);

// The send state (cChk) a reply code gives an entry: 0 accepted (1), 5..99 rejected by the
// service (3), anything else to send again (2).
int16_t SendStateOf(int16_t replyCode);

// Whether a time-log entry has ended by now and may go to the service: not an entry of a later
// day, nor one of today that ends after the current minute (an entry ending within the current
// minute has ended).
bool EntryFinished(int32_t entryDay, double start, double sec, const QDateTime &now);

// Sends a built request through HttpRequest (kind and progress as HttpRequest takes them) and
// returns the reply text, "" on any failure.
QString SendRequest(const ServiceRequest &request, int32_t kind, modMain::Progress *progress = nullptr);

} // namespace modHttp
