// The daily expenses window's upload: one stored expense at a time to the service, its
// outcome kept as the row's send state in the database and the grid.
#include "expenses/frmDailyExp.h"

#include "core/ServiceRequests.h"
#include "core/modHttp.h"
#include "core/modMain.h"
#include "expenses/ExpenseRules.h"
#include "store/modDBchr.h"

#include <QMenuBar>

using namespace modMain;

namespace {

// While a request is under way the window lets the event loop repaint only: its commands,
// grid and editor take no input, so that no second request starts and no row being sent
// changes. Controls disabled before keep their own state afterwards.
class SendingGuard {
public:
    explicit SendingGuard(QWidget *window) : m_window(window) { m_window->setEnabled(false); }
    ~SendingGuard() { m_window->setEnabled(true); }
    SendingGuard(const SendingGuard &) = delete;
    SendingGuard &operator=(const SendingGuard &) = delete;

private:
    QWidget *m_window;
};

} // namespace

void frmDailyExp::SynchExpLog(int row)
{
    if (row < 0 || row >= lstLog->Rows() || !isEnabled())
        return;
    SetStatus(289, QStringLiteral(" ") + QString::number(row) + QStringLiteral("..."));
    const QString id = lstLog->TextMatrix(row, colID).trimmed();
    if (id.isEmpty())
        return;
    modDBchr::ExpenseEntry e;
    if (modDBchr::ReadExpense(id.toDouble(), e) != 0)
        return;
    // Accepted already (by the bulk upload, say): never sent twice.
    if (e.cChk == 1) {
        lstLog->SetTextMatrix(row, colChk, QStringLiteral("1"));
        SetColorsAndPics(row);
        SetStatus(expenserules::StatusOfSyncState(1));
        return;
    }
    modHttp::AddExpenseValues values;
    values.comment = e.comment;
    // The project is the task's as the catalogue has it now, not the one stored with the row.
    values.projID = modDBchr::GetTaskProjectID(e.cTaskID);
    values.taskID = e.cTaskID;
    values.expCatID = e.cExpID;
    values.amount = expenserules::AmountForRequest(e.cAmount);
    values.dayKey = e.cDate;
    values.timeSecs = e.cTime;
    values.payee = e.cPayee;
    values.code = e.cCode;
    const modHttp::ServiceRequest request = modHttp::AddExpenseRequest(values);
    QString reply;
    {
        SendingGuard guard(this);
        reply = modHttp::SendRequest(request, 2);
    }
    const int16_t state = expenserules::SyncStateOfReply(reply);
    // The state that could not be stored stays as it was, in the grid too.
    if (modDBchr::SetExpenseState(e.cID, state) != 0)
        return;
    SetStatus(expenserules::StatusOfSyncState(state));
    lstLog->SetTextMatrix(row, colChk, QString::number(state));
    SetColorsAndPics(row);
}

int frmDailyExp::CalcSynch() const
{
    int n = 0;
    for (int r = 0; r < lstLog->Rows(); ++r)
        if (lstLog->TextMatrix(r, colChk) == u"1")
            ++n;
    return n;
}
