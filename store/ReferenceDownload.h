#pragma once
// Writing a download of the reference tables (part of modDBchr; modDBchr.h includes it).
//
// Download mark cChk of the five reference tables: 0 at rest, 1 a row that the download being
// written met again, 2 a row it inserted. A download raises the marks of what it brings and
// sets every mark back to 0 when it ends, so that the next download starts from a clean state
// whoever ran the last one.
#include "core/ReceivedBatch.h"

#include <QString>
#include <QStringList>
#include <cstdint>

namespace modDBchr {

// What a download changed, for its result summary.
struct DownloadSummary {
    int newProjects = 0;
    int newTasks = 0;
    int newCategs = 0;
    int newLinks = 0;       // links of a task to a category
    int newExpCategs = 0;
    QStringList unassigned; // names of the projects the sweep removed, in the tables' order
};

// Writes a received batch for the current user in one transaction: every project, task and
// category with its link, and every expense category, through the upserts below. With sweep it
// then removes what the batch did not bring: the projects, the tasks (with their category
// links) and the activity categories left unmarked; expense categories and the links of the
// tasks kept are never removed. At the end every mark of the user is 0 again.
// Returns 0, or the engine's error number of the first statement that failed; the whole
// download is then undone (the tables are exactly as before) and *description, when given,
// holds the engine's text. summary (when given) is filled only on success.
int32_t SaveReferenceDownload(const ReceivedBatch &batch, bool sweep, DownloadSummary *summary = nullptr,
                              QString *description = nullptr);

// Download upserts: each stores one received item of the current user and raises its download
// mark: a new row gets 2; a project, task or expense category met again gets 1; a category met
// again goes from 0 to 1 and otherwise keeps its mark; an existing link of a task to a category
// is left as it is. Names are stored as received and never renamed later; an empty name is
// stored as Null. flag "FALSE" (exactly) disables expenses (cExp -1), any other text allows
// them (0); the flag is rewritten on every download. Each returns 0 or the engine's error
// number (what the failing statement would have written is not written).
int32_t SaveProject(double projID, const QString &name, const QString &expFlag);
// Keyed by project and task together: a task that arrives under another project is a new row.
int32_t SaveTask(double taskID, const QString &name, double projID, const QString &expFlag);
int32_t SaveCategory(double catID, const QString &name, double taskID);
int32_t SaveExpCategory(double expID, const QString &name);

} // namespace modDBchr
