// The daily download of the reference tables: once a day per person, at start-up and only
// online, the projects with their tasks and categories and the expense categories are
// requested, read and written to the reference tables in one go.
#include "core/frmMain.h"

#include "core/CCrypto.h"
#include "core/ReceivedBatch.h"
#include "core/ReferenceReader.h"
#include "core/RequestGuard.h"
#include "core/ServiceRequests.h"
#include "core/clsTagParser.h"
#include "core/modHttp.h"
#include "core/modMain.h"
#include "platform/registry/Registry.h"
#include "recorder/frmStart.h"
#include "recorder/frmSysTray.h"
#include "store/modDBchr.h"

#include <QDate>

#include <limits>

using namespace modMain;

namespace {

const QString CheckTablesDateKey = QStringLiteral("CheckTablesDate");

// Whole days from the day key last to today; a key that is no date counts as long ago.
qint64 DaysSince(long last, const QDate &today)
{
    QDate day;
    if (last >= 10000101 && last <= 99991231)
        day = QDate(int(last / 10000), int(last / 100 % 100), int(last % 100));
    if (!day.isValid())
        return std::numeric_limits<qint64>::max();
    return day.daysTo(today);
}

} // namespace

clsTagParser *frmMain::TagParser()
{
    if (!m_TagParser)
        m_TagParser = new clsTagParser(this);
    return m_TagParser;
}

void frmMain::SynchTables()
{
    const QString section = QString::number(CurrentUserID);
    bool ok = false;
    long last = registry::GetSetting(SettingsApp, section, CheckTablesDateKey, QStringLiteral("0")).trimmed().toLong(&ok);
    if (!ok)
        last = 0;
    const QDate today = QDate::currentDate();
    const long todayKey = DateToLong(today);

    if (IsConnected && last != todayKey) {
        AnnounceDownload(121);
        if (!UpdateTables()) {
            AnnounceDownload(123);
        } else {
            try {
                registry::SaveSetting(SettingsApp, section, CheckTablesDateKey, QString::number(todayKey));
                last = todayKey;
            } catch (const registry::RegistryError &) {
                // Not remembered: the next start downloads again, which does no harm.
            }
            AnnounceDownload(122);
        }
    }

    // The reminder counts real days since the last complete download, so that neither the
    // turn of a month nor a download that has just succeeded calls fresh tables old.
    if (DaysSince(last, today) > 7)
        ShowMsg(GetLangString(124) + QStringLiteral(" 7 ") + GetLangString(125), 64);
}

void frmMain::AnnounceDownload(int16_t id)
{
    frmStart *timers = frmStart::Peek();
    if (isMinimized() && ShowBalloons == 1 && timers && timers->m_frmSysTray) {
        timers->m_frmSysTray->HideBalloonTip();
        timers->m_frmSysTray->ShowBalloonTip(GetLangString(id), QStringLiteral("Tarvelo"), 1, 10000);
    } else {
        SetStatus(id, QString());
    }
}

bool frmMain::UpdateTables()
{
    // One download at a time, and none while another request of the program is under way.
    const RequestGuard busy(RequestGuard::Command);
    if (!busy)
        return false;
    bool result = false;
    try {
        if (!Crypto)
            Crypto = std::make_unique<CCrypto>();
        PasswordURL = modHttp::URLEncode(Crypto->Decrypt(StoredPassword, CryptoPassPhrase, false, CCrypto::TypeRC2));
        UserNameURL = modHttp::URLEncode(Crypto->Decrypt(StoredUserName, CryptoPassPhrase, false, CCrypto::TypeRC2));
        m_ProjectsReply.clear();
        m_ExpensesReply.clear();

        Reply = modHttp::SendRequest(modHttp::ProjectsRequest(), modHttp::KindStatusLine, this);
        if (!Reply.isEmpty()) {
            m_ProjectsReply = Reply;
            Reply = modHttp::SendRequest(modHttp::ExpensesRequest(), modHttp::KindStatusLine, this);
            if (!Reply.isEmpty()) {
                m_ExpensesReply = Reply;
                result = SaveReceived();
            }
        }
    } catch (const std::exception &) {
        result = false;
    }
    m_ProjectsReply.clear();
    m_ExpensesReply.clear();
    return result;
}

namespace {

// A reply that cannot be stored: an error of the service or a web server's error page is told
// in the status line with the text of its code.
void TellUnread(const reference::ReplyRead &read)
{
    if (read.outcome == reference::ReplyRead::Rejected)
        SetStatus(821, modHttp::GetErrMsg(read.code));
    else if (read.outcome == reference::ReplyRead::ErrorReported)
        SetStatus(821, modHttp::GetErrMsg(reference::ReportCode(read.reports.first().code)));
}

} // namespace

bool frmMain::SaveReceived()
{
    ReceivedBatch batch;
    const reference::ReplyRead projects = reference::ReadProjects(m_ProjectsReply, batch.projects);
    if (!projects.Ok()) {
        TellUnread(projects);
        return false;
    }
    const reference::ReplyRead expenses = reference::ReadExpenses(m_ExpensesReply, batch.expCategories);
    if (!expenses.Ok()) {
        TellUnread(expenses);
        // The projects came whole: they are kept, as a download always kept what it had read;
        // the next start brings the expense categories.
        batch.expCategories.clear();
        modDBchr::SaveReferenceDownload(batch, false);
        return false;
    }
    // The daily download never removes anything: only the synchronisation window sweeps.
    return modDBchr::SaveReferenceDownload(batch, false) == 0;
}
