#pragma once
// The reader of the two download replies of the reference tables: the projects reply (projects
// with their tasks and each task's activity categories) and the expenses reply (expense
// categories). Both the daily download of the main window and the synchronisation window's
// receive read the replies here, so they agree on what a reply holds.
//
// A reply is first classified as a whole (clsTagParser::CheckInput), so that a web server's
// error page or the service's error is told by its own code; then its head of 22 characters is
// dropped and the rest must be one whole tag tree. Every element at level 1 is one item, whatever
// the order of its leaves:
//  - projects reply: an element per project with the leaves ID, NAME and one more leaf, the
//    project's expenses flag; each element inside it is a task with NAME, EXPENSES (its flag) and
//    its id in any other leaf; each element inside a task is a category with NAME and its id in
//    any other leaf;
//  - expenses reply: an element per expense category with ID and NAME (other leaves ignored).
// A leaf CODE at level 1 is an error the service reports inside an otherwise readable reply.
#include "core/ReceivedBatch.h"

#include <QList>
#include <QString>
#include <cstdint>

namespace reference {

// Characters of the head before the tag tree of a download reply.
inline constexpr int ReplyHeadLength = 22;

struct ReplyRead {
    enum Outcome {
        Read,           // a whole tree; the items are in the caller's list
        Rejected,       // the reply's code is not 0 (100 for no reply at all): see code
        Unreadable,     // too short, no whole tag tree, or an item without a readable id
        ErrorReported,  // the tree holds error reports (CODE leaves): see reports
    };
    // An error report of the service inside the tree, in document order.
    struct Report {
        QString code;    // the CODE leaf's value as sent
        int before = 0;  // how many items of the reply came before it
    };

    Outcome outcome = Unreadable;
    int16_t code = 0;
    QList<Report> reports;

    bool Ok() const { return outcome == Read; }
};

// Reads a whole reply as the service sent it (head included) into the list (emptied first). The
// list holds what could be read; only a reply that is Read is complete and may be stored.
ReplyRead ReadProjects(const QString &reply, QList<ReceivedProject> &projects);
ReplyRead ReadExpenses(const QString &reply, QList<ReceivedExpCategory> &categories);

// The reply code of an error report's value (999 when it is no number of the code range).
int16_t ReportCode(const QString &value);

} // namespace reference
