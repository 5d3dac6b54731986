// The program's entry and its start-up: run-wide preparation, then opening (or creating) the
// database and deciding who the person is.
#include "core/modMain.h"

#include "core/CCrypto.h"
#include "core/frmLogin.h"
#include "core/frmMain.h"
#include "core/Progress.h"
#include "core/frmSplash.h"
#include "core/StartUpRules.h"
#include "platform/dao/dao.h"
#include "platform/fs/FileSystem.h"
#include "platform/registry/Registry.h"
#include "platform/system/System.h"
#include "platform/tray/TrayIcon.h"
#include "recorder/frmStart.h"
#include "store/modDBchr.h"

#include <QApplication>
#include <QDate>
#include <QDateTime>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>

namespace modMain {

namespace {

const QString kApp = QStringLiteral("Tarv");
const QString kMainTitle = QStringLiteral("Tarvelo Desktop Companion");

QString DatabasePath()
{
    return AppPath() + QStringLiteral("/Tarv.crn");
}

// The message frame of the sign-in window sits at 60 twips to show it and at -12000 to keep
// it out of view.
void PlaceMsgFrame(frmLogin *login, int twipsLeft)
{
    login->frMsg->setVisible(twipsLeft >= 0);
    if (twipsLeft >= 0)
        login->frMsg->move(twipsLeft / 15, login->frMsg->y());
}

QString CrLf() { return QStringLiteral("\r\n"); }

// A database file that cannot be opened is kept, under a name of its own beside the program,
// so that what it holds can still be recovered; the new database then takes the name.
bool MoveUnusableAside(const QString &path)
{
    if (!fsys::FileExists(path))
        return true;
    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString target = path + QStringLiteral(".unreadable-") + stamp;
    for (int n = 2; fsys::FileExists(target); ++n)
        target = path + QStringLiteral(".unreadable-") + stamp + QStringLiteral("-") + QString::number(n);
    return fsys::MoveFile(path, target);
}

void FirstRun(frmMain *main, const QString &dbPath, const QString &logon, int32_t openError)
{
    // 1. An existing file that did not open is put aside (never deleted).
    if (openError != 3024)
        MoveUnusableAside(dbPath);

    // 2. The update keys of a first run.
    const QString ver = VersionText();
    registry::SaveSetting(kApp, "updates", "versionCurrent", ver);
    registry::SaveSetting(kApp, "updates", "versionNew", ver);
    registry::SaveSetting(kApp, "updates", "DateCheckedforUpdates", QString::number(DateToLong(QDate::currentDate())));

    // 3.
    SetDefaultLang();

    // 4. The sign-in window as the progress screen.
    frmLogin *login = frmLogin::Get();
    login->btn[0]->setEnabled(false);
    login->btn[1]->setText(GetLangString(24));
    login->btn[1]->setEnabled(false);
    PlaceMsgFrame(login, 60);
    login->frMsg->setTitle(GetLangString(1007));
    login->txtPCUserName->setText(logon);
    // Painted before the first step: the creation's pauses keep the person's input out, and
    // a window that was never painted stays black for all of it.
    login->ShowPainted();
    login->lblMsg1->setVisible(true);

    // 5.-6. The pauses let the end of the program through; the sign-in window is gone then.
    modDBchr::ShowProgress(GetLangString(1300) + CrLf() + CrLf() + GetLangString(1301) + CrLf() + CrLf()
                               + GetLangString(1302) + QStringLiteral(" "),
                           0, QString(), login);
    PauseSecs(1);
    if (ProgramEnding() || frmLogin::Peek() != login)
        return;
    login->repaint();
    PauseSecs(1);
    if (ProgramEnding() || frmLogin::Peek() != login)
        return;

    // 7.-8.
    QString errDescription;
    const int32_t rc = modDBchr::CreateDB(dbPath, &errDescription, login);
    if (ProgramEnding() || frmLogin::Peek() != login)
        return;
    login->btn[1]->setEnabled(true);
    if (rc != 0) {
        login->lblMsg1->setVisible(false);
        modDBchr::ShowProgress(GetLangString(1008) + QStringLiteral(" ") + QString::number(rc) + QStringLiteral(" - ")
                                   + errDescription + CrLf() + GetLangString(1009),
                               0, QString(), login);
        return;
    }

    // 9.
    fsys::SetAttributes(dbPath, fsys::Hidden);
    login->lblMsg1->setText(QString());
    if (IsConnected) {
        login->btn[0]->setText(QStringLiteral("OK"));
        login->btn[0]->setVisible(true);
        PlaceMsgFrame(login, -12000);
        login->lblInfo->setProperty("tag", QStringLiteral("1011"));
        login->lblInfo->setText(GetLangString(1010) + QStringLiteral(", ") + logon + QStringLiteral(" ") + GetLangString(1011));
    } else {
        sysplat::Beep();
        modDBchr::ShowProgress(GetLangString(1010) + QStringLiteral(", ") + logon + QStringLiteral(" ") + GetLangString(1012), 0,
                               QString(), login);
        if (ProgramEnding() || frmLogin::Peek() != login)
            return;
        login->lblMsg1->setText(QStringLiteral(" ") + GetLangString(1314));
    }
}

void NewPerson(const QString &logon)
{
    SetDefaultLang();
    frmMain *main = frmMain::Get();
    main->CheckConnection();
    frmLogin *login = frmLogin::Get();
    login->show();
    login->repaint();
    login->btn[1]->setText(GetLangString(24));
    login->btn[1]->setEnabled(true);
    login->btn[0]->setEnabled(false);
    login->txtPCUserName->setText(logon);
    if (IsConnected) {
        PlaceMsgFrame(login, -12000);
        login->btn[0]->setText(QStringLiteral("OK"));
        login->btn[0]->setVisible(true);
        login->lblInfo->setProperty("tag", QStringLiteral("1013"));
        login->lblInfo->setText(GetLangString(1010) + QStringLiteral(", ") + logon + QStringLiteral(" ") + GetLangString(1013));
    } else {
        sysplat::Beep();
        PlaceMsgFrame(login, 60);
        login->frMsg->setTitle(GetLangString(1014));
        modDBchr::ShowProgress(GetLangString(1010) + QStringLiteral(", ") + logon + QStringLiteral(" ") + GetLangString(1012), 0,
                               QString(), login);
        if (ProgramEnding() || frmLogin::Peek() != login)
            return;
    }
    login->show();
}

void SetUserLabel(frmMain *main)
{
    main->lblUser->setText(QStringLiteral(" ") + GetLangString(627) + QStringLiteral(" ") + UserFullName);
}

void ShowTimersWindow()
{
    frmStart::Get()->ShowForm();
}

// The scheduled version check of a normal start.
void UpdateCheck()
{
    const QString running = VersionText();
    const QString current = registry::GetSetting(kApp, "updates", "versionCurrent", QString());
    const QString newer = registry::GetSetting(kApp, "updates", "versionNew", QString());
    const QString checked = registry::GetSetting(kApp, "updates", "DateCheckedforUpdates", QString());
    const VersionStep step =
        ScheduledVersionStep(newer, running, checked, QDate::currentDate(), IsConnected, AutoCheck == 1);
    if (step != VersionStep::AnnounceKnown && (current != running || newer != running)) {
        // The program is the version last heard of, or a later one: the keys say so from now
        // on, and no earlier announcement comes back.
        try {
            registry::SaveSetting(kApp, "updates", "versionCurrent", running);
            registry::SaveSetting(kApp, "updates", "versionNew", running);
        } catch (const registry::RegistryError &) {
        }
    }
    if (step == VersionStep::AnnounceKnown)
        ShowMsg(GetLangString(1015), 64, QString());
    else if (step == VersionStep::Check)
        frmStart::Get()->DisplayUpdatesResult(false);
}

} // namespace

QString GetWinUserName()
{
    // The logon name as the system gives it, cut at a NUL if it holds one.
    QString name = sysplat::LogonName();
    const int nul = name.indexOf(QChar(0));
    if (nul >= 0)
        name.truncate(nul);
    return name.left(255);
}

void RestoreMainWindow()
{
    frmMain *main = frmMain::Peek();
    if (!main || !(main->windowState() & Qt::WindowMinimized))
        return;
    main->ShowFromTray(true);
}

bool IsOnline(int16_t &flags)
{
    return sysplat::InternetConnected(flags);
}

void StartUp()
{
    const QString dbPath = DatabasePath();
    const QString logon = GetWinUserName();
    HelpIndexPath = AppPath() + QStringLiteral("/hlp_index.htm");

    frmMain *main = frmMain::Get();
    main->CheckConnection();

    // A compaction cut short by a crash or power loss left the data under its working name.
    RecoverInterruptedCompaction(dbPath);
    const int32_t openError = modDBchr::OpenDB(dbPath);
    if (openError != 0) {
        FirstRun(main, dbPath, logon, openError);
        return;
    }

    fsys::SetAttributes(dbPath, fsys::Normal);
    LoadSettings();

    if (PCUserName.isEmpty() || PCUserName != logon) {
        const int id = modDBchr::GetUserID(logon);
        if (id == -1) {
            NewPerson(logon);
            return;
        }
        modDBchr::LoadUserSettings(logon);
        SaveSettings();
        CurrentUserID = id;
        main->show();
        SetUserLabel(main);
        frmLogin::Unload();
        ShowTimersWindow();
        return;
    }

    CurrentUserID = modDBchr::GetUserID(logon);
    if (CurrentUserID == -1) {
        NewPerson(logon);
        return;
    }
    // Started with the desktop, the program waits in the tray; without a tray to hold its icon
    // a minimised window could not be found on a desktop without a panel: it is shown.
    const bool intoTray = AutoStart == 1 && tray::IsHostAvailable();
    if (intoTray)
        main->setWindowState(main->windowState() | Qt::WindowMinimized);
    while (FormLoaded[fiSplash])
        QApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 50);
    if (intoTray)
        main->showMinimized();
    else
        main->show();
    SetUserLabel(main);
    ShowTimersWindow();
    // The tray icon came with the timers window: the window minimised at the start goes there,
    // unless the tray did not take the icon after all.
    if (intoTray && !main->TrayHoldsIcon())
        main->ShowFromTray(false);
    else
        main->SettleInTray();
    UpdateCheck();
    main->SynchTables();
}

int Main(int argc, char **argv)
{
    QApplication app(argc, argv);
    app.setApplicationName(QStringLiteral("TarveloPC"));
    app.setQuitOnLastWindowClosed(false);

    // 1. The splash first, so the person sees the program has started.
    frmSplash::Get()->show();

    // 2. One instance per person: a later start brings the first one's window back.
    auto *instance = new sysplat::SingleInstance(QStringLiteral("TarveloPC"), &app);
    // The main window is not looked up by its title: while a timer runs in a minimised
    // window the caption shows the running time instead.
    instance->onRestoreRequest = [](const QString &) { RestoreMainWindow(); };
    if (instance->PrevInstance(kMainTitle))
        return 0;
    // The end of the desktop session stores the timers like a normal exit.
    InstallSessionEndHandlers();

    // 3.-6. Every step on its own: one that fails is left out and the rest still runs.
    QString cryptoError;
    try {
        Crypto = std::make_unique<CCrypto>();
    } catch (const std::exception &e) {
        cryptoError = QString::fromUtf8(e.what());
    }
    try {
        LoadSettings();
    } catch (const std::exception &) {
    }
    InitSeparators();
    InitDateSep();

    // 7. The string table, whole; a missing file leaves every text empty.
    LoadLangTable();

    // Without the encryption component no stored credential can be read: the person is told
    // (in the language of the settings) before the program goes on without them.
    if (!cryptoError.isEmpty()) {
        const QString text = GetLangString(1016);
        ShowMsg(text.isEmpty() ? cryptoError : text, 16, QString());
    }

    // 8. A failure inside start-up must not end the program before the person sees a window.
    try {
        StartUp();
    } catch (const std::exception &e) {
        qWarning("start-up: %s", e.what());
    } catch (...) {
    }
    return app.exec();
}

} // namespace modMain
