// tarv-demo-data: makes a program folder look like that of a person who has used the program
// for a few days against the reference service's demo account, so that someone trying the
// program (scripts/run) meets a filled daily log and expenses in every send state, not an
// empty database.
//
//   tarv-demo-data FOLDER USER PASSWORD FULLNAME
//
// It writes what the first start and the program's own windows would have written: the
// database (created as the first start creates it), the profile of the logon name with the
// account's credentials (as the sign-in stores them) and the settings; then entries and
// expenses of the three days before today through the same store procedures the daily log,
// the expenses window and the uploads use; and the account's projects, tasks, categories and
// expense categories, downloaded from the service that TARV_SERVICE_ENDPOINT names and stored
// as the day's download stores them (that download then counts as done today), so that the
// first start shows the timers window with the demo days. When the service cannot be reached
// the catalogue is left out and the first start downloads it. A folder that already holds a
// database is left alone (exit code 3), so nothing a person recorded is ever lost.
#include "core/CCrypto.h"
#include "core/ReceivedBatch.h"
#include "core/ReferenceReader.h"
#include "core/ServiceRequests.h"
#include "core/modHttp.h"
#include "core/modMain.h"
#include "platform/dao/dao.h"
#include "platform/registry/Registry.h"
#include "platform/system/System.h"
#include "store/modDBchr.h"

#include <QCoreApplication>
#include <QDate>
#include <QFile>
#include <cstdio>
#include <cstdlib>

using namespace modMain;

namespace {

int Fail(const QString &what)
{
    std::fprintf(stderr, "tarv-demo-data: %s\n", what.toLocal8Bit().constData());
    return 1;
}

// The ids are those of the demo account (service/demo/demo.json). The rejected rows are ones
// the service really refuses, so that sending them again from the synchronisation window is
// refused again: a task with a category it does not offer, an expense on a project that takes
// no expenses.
struct DemoEntry {
    int daysBack;
    const char *name;   // the category's name, as a stopped timer names its entry
    int start;          // seconds after midnight
    int secs;
    int task, categ;
    int16_t state;      // 0 not sent, 1 accepted, 2 to resend, 3 rejected
    const char *comment;
};
const DemoEntry kEntries[] = {
    {3, "Design", 9 * 3600, 5400, 1001, 11, 1, "Logo sketches, second round"},
    {3, "Meetings", 11 * 3600, 3600, 1002, 12, 1, ""},
    {3, "Ανάπτυξη", 14 * 3600, 7200, 1003, 14, 1, "Σελίδα κρατήσεων"},
    {2, "Comptabilité", 8 * 3600 + 1800, 9000, 1005, 16, 1, ""},
    {2, "Rédaction", 13 * 3600, 3600, 1006, 17, 2, "Rapport d'audit, draft"},
    {2, "Design", 15 * 3600, 2700, 1002, 11, 3, "Workshop boards"},
    {1, "Administration", 8 * 3600, 1800, 1007, 18, 0, "Timesheets of last week"},
    {1, "Übersetzung", 9 * 3600, 6300, 1004, 15, 0, "Μετάφραση: δωμάτια & τιμές"},
    {1, "Design", 13 * 3600 + 1800, 5400, 1001, 11, 0, ""},
};

struct DemoExpense {
    int daysBack;
    int categ;
    int units, cents;   // the amount, written in the locale's number form
    int time;
    int task, project;
    const char *payee;
    const char *code;
    int16_t state;
    const char *comment;
};
const DemoExpense kExpenses[] = {
    {3, 4, 18, 40, 10 * 3600, 1002, 101, "Ταξί Αθηνών", "R-1043", 1, ""},
    {3, 3, 42, 0, 13 * 3600, 1003, 102, "Taverna O'Kostas", "", 1, "Lunch with the client"},
    {2, 2, 1240, 0, 20 * 3600, 1003, 102, "Hôtel Aigaío", "INV-77", 2, ""},
    {2, 1, 96, 50, 7 * 3600, 1005, 103, "Aegean Rail", "", 3, "Train to the audit"},
    {1, 5, 12, 99, 11 * 3600, 1007, 104, "Papeterie Lumière", "", 0, "Χαρτί & μελάνι"},
};

QString Amount(int units, int cents)
{
    QString whole = QString::number(units);
    if (units >= 1000)
        whole.insert(whole.size() - 3, GroupSep);
    return whole + DecimalSep + QStringLiteral("%1").arg(cents, 2, 10, QLatin1Char('0'));
}

// The account's catalogue from the service, stored as the day's download stores it. "" when
// it is stored, else what went wrong.
QString DownloadCatalogue(const QString &user, const QString &password)
{
    UserNameURL = modHttp::URLEncode(user);
    PasswordURL = modHttp::URLEncode(password);
    const QString projects = modHttp::SendRequest(modHttp::ProjectsRequest(), modHttp::KindUpload);
    const QString expenses = projects.isEmpty() ? QString() : modHttp::SendRequest(modHttp::ExpensesRequest(), modHttp::KindUpload);
    if (expenses.isEmpty())
        return QStringLiteral("no reply from ") + modHttp::ServiceEndpoint();
    ReceivedBatch batch;
    if (!reference::ReadProjects(projects, batch.projects).Ok() || !reference::ReadExpenses(expenses, batch.expCategories).Ok())
        return QStringLiteral("the service's reply could not be read");
    if (modDBchr::SaveReferenceDownload(batch, false) != 0)
        return QStringLiteral("the catalogue could not be stored");
    registry::SaveSetting(SettingsApp, QString::number(CurrentUserID), "CheckTablesDate",
                          QString::number(DateToLong(QDate::currentDate())));
    return QString();
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 5)
        return Fail(QStringLiteral("usage: tarv-demo-data FOLDER USER PASSWORD FULLNAME"));
    const QString folder = QString::fromLocal8Bit(argv[1]);
    const QString user = QString::fromLocal8Bit(argv[2]);
    const QString password = QString::fromLocal8Bit(argv[3]);
    const QString fullName = QString::fromLocal8Bit(argv[4]);
    const QString file = folder + QStringLiteral("/Tarv.crn");
    if (QFile::exists(file)) {
        std::fprintf(stderr, "tarv-demo-data: %s already holds a database; nothing written\n",
                     folder.toLocal8Bit().constData());
        return 3;
    }
    qputenv("TARV_NO_PAUSES", "1");
    InitSeparators();

    if (modDBchr::CreateDB(file) != 0)
        return Fail(QStringLiteral("the database could not be created: ") + modDBchr::LastDBError());

    // The profile as the sign-in writes it after the service accepted the credentials.
    Crypto = std::make_unique<CCrypto>();
    StoredUserName = Crypto->Encrypt(user, CryptoPassPhrase, false, CCrypto::TypeRC2);
    StoredPassword = Crypto->Encrypt(password, CryptoPassPhrase, false, CCrypto::TypeRC2);
    PCUserName = sysplat::LogonName();
    UserFullName = fullName;
    SetDefaultSettings();
    // Someone trying the program wants to see its window, not find it minimised, and gets no
    // start-with-the-desktop entry they did not ask for.
    AutoStart = 0;
    CurrentUserID = modDBchr::CreateUser();
    if (CurrentUserID < 1)
        return Fail(QStringLiteral("the profile could not be written"));
    SaveSettings();

    const QDate today = QDate::currentDate();
    for (const DemoEntry &e : kEntries) {
        modDBchr::DailyValues v;
        v.name = QString::fromUtf8(e.name);
        v.start = e.start;
        v.sec = e.secs;
        v.taskID = e.task;
        v.catID = e.categ;
        v.comment = QString::fromUtf8(e.comment);
        double id = 0;
        if (modDBchr::AddDailyEntry(DateToLong(today.addDays(-e.daysBack)), v, &id) != 0
            || (e.state != 0 && modDBchr::SetDailySendState(id, e.state) != 0))
            return Fail(QStringLiteral("a time-log entry could not be written: ") + modDBchr::LastDailyError());
    }
    for (const DemoExpense &x : kExpenses) {
        modDBchr::ExpenseEntry e;
        e.cExpID = x.categ;
        e.cAmount = Amount(x.units, x.cents);
        e.cDate = DateToLong(today.addDays(-x.daysBack));
        e.cTime = x.time;
        e.cTaskID = x.task;
        e.cProjID = x.project;
        e.cPayee = QString::fromUtf8(x.payee);
        e.cCode = QString::fromUtf8(x.code);
        e.comment = QString::fromUtf8(x.comment);
        if (modDBchr::InsertExpense(e) != 0 || (x.state != 0 && modDBchr::SetExpenseState(e.cID, x.state) != 0))
            return Fail(QStringLiteral("an expense could not be written: ") + modDBchr::LastExpError());
    }

    const QString catalogue = DownloadCatalogue(user, password);
    if (!catalogue.isEmpty())
        std::fprintf(stderr, "tarv-demo-data: projects, tasks and categories left to the first start: %s\n",
                     catalogue.toLocal8Bit().constData());

    DB->Close();
    DB.reset();
    std::printf("tarv-demo-data: %s holds the profile of %s with %d time-log entries and %d expenses\n",
                folder.toLocal8Bit().constData(), PCUserName.toLocal8Bit().constData(),
                int(std::size(kEntries)), int(std::size(kExpenses)));
    return 0;
}
