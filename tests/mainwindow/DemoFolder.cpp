// Prepares a program folder for the screenshots (scripts/screenshot): a database made by the
// program's own code with the person's profile, a few projects, tasks and categories that the
// daily download would have brought, and the settings of a person who already uses the
// program (downloaded today, version checked today). With --running the previous run left a
// timer running (started 1 h 25 min ago) and one parked beside it; with --expenses the person
// has expense categories and today's expenses.
//
//   tarv_demo_folder FOLDER LOGON [--running | --daily | --expenses | --synch]
//   (--daily: a day of time-log entries; --synch: entries and expenses of earlier days to send,
//   with the demo account's credentials of the reference service)
//
// The settings go where the program reads them (XDG_CONFIG_HOME), so run it with the same
// environment as the program.
#include "core/frmMain.h"
#include "core/CCrypto.h"
#include "core/modMain.h"
#include "platform/dao/dao.h"
#include "platform/registry/Registry.h"
#include "store/modDBchr.h"

#include <QApplication>
#include <QDate>
#include <QTime>
#include <cstdio>
#include <cstdlib>

using namespace modMain;

namespace {

int Fail(const char *what)
{
    std::fprintf(stderr, "tarv_demo_folder: %s\n", what);
    return 1;
}

void Park(int id, const QString &name, int cStarted, int start, int secs, int task, int categ)
{
    DB->Execute(QStringLiteral("INSERT INTO tblDaily (cName, cID, cUsrID, cStarted, cStarttime, cSec, cDate, cTaskID, "
                               "cCatID, cChk) VALUES ('%1', %2, %3, %4, %5, %6, %7, %8, %9, 0)")
                    .arg(name)
                    .arg(id)
                    .arg(CurrentUserID)
                    .arg(cStarted)
                    .arg(start)
                    .arg(secs)
                    .arg(DateToLong(QDate::currentDate()))
                    .arg(task)
                    .arg(categ));
}

// Expense categories and today's expenses of the person, amounts in the locale's form.
void AddExpenses()
{
    InitSeparators();
    modDBchr::SaveExpCategory(21, QStringLiteral("Fuel"));
    modDBchr::SaveExpCategory(22, QStringLiteral("Meals"));
    modDBchr::SaveExpCategory(23, QStringLiteral("Ταξί"));
    DB->Execute(QStringLiteral("UPDATE tblExpCategs SET cChk = 0"));
    const double today = DateToLong(QDate::currentDate());
    const struct {
        int id, categ;
        const char *amount;
        int time, task, project;
        const char *payee;
        int chk;
    } rows[] = {
        {1, 22, "18.40", 45000, 1001, 101, "Café Lumière", 1},
        {2, 21, "62.15", 30600, 1002, 101, "Shell Station", 0},
        {3, 23, "12.00", 33000, 1003, 102, "Ταξί Αθηνών", 2},
        {4, 22, "1,240.00", 72000, 1003, 102, "Hotel Αιγαίο", 3},
    };
    for (const auto &r : rows) {
        const QString amount = DecimalSep == QLatin1String(",")
                                   ? QString::fromLatin1(r.amount).replace(u',', u'#').replace(u'.', u',').replace(u'#', u'.')
                                   : QString::fromLatin1(r.amount);
        DB->Execute(QStringLiteral("INSERT INTO tblDailyExp VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, NULL, ?)"), 0,
                    {r.id, CurrentUserID, r.categ, amount, today, r.time, r.task, r.project,
                     QString::fromUtf8(r.payee), r.chk});
    }
    DB->Execute(QStringLiteral("INSERT INTO tblDailyExpComments (cID, cUsrID, cComments) VALUES (1, ?, ?)"), 0,
                {CurrentUserID, QStringLiteral("Lunch with the client")});
}

} // namespace

int main(int argc, char **argv)
{
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    if (argc < 3)
        return Fail("usage: tarv_demo_folder FOLDER LOGON [--running | --daily]");
    const QString folder = QString::fromLocal8Bit(argv[1]);
    const QString logon = QString::fromLocal8Bit(argv[2]);
    const bool running = argc > 3 && QByteArray(argv[3]) == "--running";
    const bool daily = argc > 3 && QByteArray(argv[3]) == "--daily";
    const bool expenses = argc > 3 && QByteArray(argv[3]) == "--expenses";
    const bool synch = argc > 3 && QByteArray(argv[3]) == "--synch";
    qputenv("TARV_NO_PAUSES", "1");

    if (modDBchr::CreateDB(folder + QStringLiteral("/Tarv.crn")) != 0)
        return Fail("the database could not be created");
    SetDefaultSettings();
    PCUserName = logon;
    UserFullName = QStringLiteral("Eléni Papadáki");
    StoredUserName = QStringLiteral("-");
    StoredPassword = QStringLiteral("-");
    if (synch) {
        Crypto = std::make_unique<CCrypto>();
        StoredUserName = Crypto->Encrypt(QStringLiteral("demo"), CryptoPassPhrase, false, CCrypto::TypeRC2);
        StoredPassword = Crypto->Encrypt(QStringLiteral("demo2024"), CryptoPassPhrase, false, CCrypto::TypeRC2);
    }
    LangID = 0;
    AutoStart = 0;      // the main window stays on the screen
    ShowBalloons = 0;
    CurrentUserID = modDBchr::CreateUser();
    if (CurrentUserID < 1)
        return Fail("the profile could not be written");
    SaveSettings();

    // Reference data as the daily download stores it.
    modDBchr::SaveProject(101, QStringLiteral("Café Lumière"), QStringLiteral("TRUE"));
    modDBchr::SaveTask(1001, QStringLiteral("Logo & identity"), 101, QStringLiteral("TRUE"));
    modDBchr::SaveCategory(11, QStringLiteral("Design"), 1001);
    modDBchr::SaveCategory(12, QStringLiteral("Meetings"), 1001);
    modDBchr::SaveTask(1002, QStringLiteral("Client workshop"), 101, QStringLiteral("TRUE"));
    modDBchr::SaveCategory(12, QStringLiteral("Meetings"), 1002);
    modDBchr::SaveCategory(13, QStringLiteral("Travel time"), 1002);
    modDBchr::SaveProject(102, QStringLiteral("Hotel Αιγαίο"), QStringLiteral("TRUE"));
    modDBchr::SaveTask(1003, QStringLiteral("Σελίδες"), 102, QStringLiteral("TRUE"));
    modDBchr::SaveCategory(14, QStringLiteral("Ανάπτυξη"), 1003);
    modDBchr::SaveCategory(11, QStringLiteral("Design"), 1003);
    for (const QString &t : {QStringLiteral("tblProjects"), QStringLiteral("tblProjTasks"), QStringLiteral("tblCategs"),
                             QStringLiteral("tblTaskCategs")})
        DB->Execute(QStringLiteral("UPDATE %1 SET cChk = 0").arg(t));

    if (running) {
        const int now = QTime::currentTime().msecsSinceStartOfDay() / 1000;
        Park(1, QStringLiteral("Design"), 1, std::max(0, now - 5100), 0, 1001, 11);
        Park(2, QStringLiteral("Ανάπτυξη"), 2, 0, 0, 1003, 14);
    }
    // With --expenses: today's expenses in each send state, and one not complete yet.
    if (expenses)
        AddExpenses();

    if (daily) {
        // A day of the time log: sent, rejected, to resend and not yet sent entries.
        const double today = DateToLong(QDate::currentDate());
        const struct { double id; const char *name; double start, sec, task, cat; int chk; const char *comment; } rows[] = {
            {11, "Design", 8 * 3600, 5400, 1001, 11, 1, "Sketches for the new front page"},
            {12, "Ανάπτυξη", 9.5 * 3600, 3600, 1003, 14, 3, ""},
            {13, "Design", 11 * 3600, 2700, 1001, 11, 2, "Κρατήσεις δωματίων"},
            {14, "Ανάπτυξη", 13 * 3600, 7200, 1003, 14, 0, ""},
        };
        for (const auto &r : rows) {
            DB->Execute(QStringLiteral("INSERT INTO tblDaily (cName, cID, cUsrID, cStarted, cStarttime, cSec, cDate, "
                                       "cTaskID, cCatID, cChk) VALUES (?, ?, ?, 0, ?, ?, ?, ?, ?, ?)"),
                        0, {QString::fromUtf8(r.name), r.id, CurrentUserID, r.start, r.sec, today, r.task, r.cat, r.chk});
            modDBchr::InsertDailyComment(r.id, QString::fromUtf8(r.comment));
        }
    }

    if (synch) {
        // Two earlier days of entries and expenses, one entry on a category its task does not offer.
        const double day1 = DateToLong(QDate::currentDate().addDays(-2));
        const double day2 = DateToLong(QDate::currentDate().addDays(-1));
        const struct { double id, day, start, sec, task, cat; } rows[] = {
            {21, day1, 8 * 3600, 5400, 1001, 11}, {22, day1, 10 * 3600, 3600, 1002, 12},
            {23, day1, 13 * 3600, 1800, 1003, 13}, {24, day2, 9 * 3600, 7200, 1003, 14},
        };
        for (const auto &r : rows)
            DB->Execute(QStringLiteral("INSERT INTO tblDaily (cName, cID, cUsrID, cStarted, cStarttime, cSec, cDate, "
                                       "cTaskID, cCatID, cChk) VALUES ('x', ?, ?, 0, ?, ?, ?, ?, ?, 0)"),
                        0, {r.id, CurrentUserID, r.start, r.sec, r.day, r.task, r.cat});
        for (double id : {1.0, 2.0})
            DB->Execute(QStringLiteral("INSERT INTO tblDailyExp (cID, cUsrID, cExpID, cAmount, cDate, cTime, cTaskID, "
                                       "cProjID, cPayee, cCode, cChk) VALUES (?, ?, ?, '42.50', ?, 43200, 1001, 101, "
                                       "'Taxi Athína', NULL, 0)"),
                        0, {id, CurrentUserID, id == 1 ? 4.0 : 2.0, id == 1 ? day1 : day2});
    }

    // Downloaded and checked today: the start does neither again.
    const QString today = QString::number(DateToLong(QDate::currentDate()));
    registry::SaveSetting(SettingsApp, QString::number(CurrentUserID), QStringLiteral("CheckTablesDate"), today);
    registry::SaveSetting(SettingsApp, QStringLiteral("updates"), QStringLiteral("versionCurrent"), VersionText());
    registry::SaveSetting(SettingsApp, QStringLiteral("updates"), QStringLiteral("versionNew"), VersionText());
    registry::SaveSetting(SettingsApp, QStringLiteral("updates"), QStringLiteral("DateCheckedforUpdates"), today);

    DB->Close();
    DB.reset();
    frmMain::Unload();
    return 0;
}
