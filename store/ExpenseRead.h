#pragma once
// How a stored expense row is read, shared by the expenses' and the bulk upload's statements
// (not part of the module's interface).
#include "platform/dao/dao.h"
#include "store/modDBchr.h"

namespace modDBchr::detail {

// The fields of tblDailyExp at the record set's current row, read from its first columns in
// the table's creation order (SELECT * or e.*); the comment is left as it is.
void ReadExpenseFields(dao::Recordset &rs, ExpenseEntry &e);

} // namespace modDBchr::detail
