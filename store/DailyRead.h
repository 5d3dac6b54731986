#pragma once
// How a recorded time-log entry is read with its comment and the project of its task, shared by
// the daily log's and the bulk upload's statements (not part of the module's interface).
#include "platform/dao/dao.h"
#include "store/modDBchr.h"

#include <QString>

namespace modDBchr::detail {

// SELECT of the current user's (first parameter) recorded entries (cStarted 0), ending in a
// WHERE clause the caller continues with "AND ...".
extern const QString DailyEntrySelect;

// The entry at the record set's current row, in the columns of DailyEntrySelect.
DailyEntry ReadDailyEntry(dao::Recordset &rs);

} // namespace modDBchr::detail
