#pragma once
// The main module: the run-wide state of the program (the person's profile, the open database,
// the string table, the per-window "loaded" flags) and its procedures. The procedures are
// declared in the headers included at the end, one per area, all in namespace modMain.
#include <QString>
#include <array>
#include <cstdint>
#include <memory>

namespace dao { class Database; }
class CCrypto;
namespace fsys { class FileSystem; }

namespace modMain {

// ---- the person's profile -------------------------------------------------------------
extern int CurrentUserID;          // local user id every query filters on
extern QString StoredUserName;     // service user name, encrypted
extern QString StoredPassword;     // service password, encrypted
extern QString UserNameURL;        // decrypted and URL-encoded, for "username="
extern QString PasswordURL;        // decrypted and URL-encoded, for "password="
extern QString PCUserName;         // logon name the profile belongs to
extern QString UserFullName;
extern double WorkDayStart;        // seconds after midnight
extern double WorkDayEnd;
extern int16_t AutoStart;          // 1 or 0
extern int16_t AutoSynch;
extern int16_t AutoCheck;
extern int16_t ShowBalloons;
extern int16_t TimeOut;            // seconds
extern int16_t HotKeyCode;         // virtual-key code, 0 = none
extern int16_t HotKeyMask;         // 1 Shift, 2 Ctrl, 4 Alt
extern int16_t LangID;             // 0 English, 1 Greek, 2 French, 3 German
extern int16_t PrevLangID;         // the language before the last switch

// ---- run-wide state ---------------------------------------------------------------------
extern bool IsConnected;           // last result of the main window's connection check
extern bool ServerLoggedIn;        // this run has signed in to the service
extern bool TimerRunning;          // a live timer runs in the timers window
extern QString LangTableText;      // the whole string table file
extern QString HelpIndexPath;      // program folder + "/hlp_index.htm"
extern QString DateSep;            // "-" or "/"
extern QString DecimalSep;
extern QString GroupSep;

// The one open database of the run (empty until start-up opens or creates it).
extern std::unique_ptr<dao::Database> DB;
// The one encryption object, made by Main.
extern std::unique_ptr<CCrypto> Crypto;

// True while a window is loaded: 0 frmStart, 1 frmDaily, 2 frmDailyExp, 3 frmLoad, 5 frmSynch,
// 6 frmLogin, 7 frmHlp, 8 frmOptions, 9 frmVideo, 11 frmSplash (4 and 10 belong to no window).
extern std::array<bool, 12> FormLoaded;

enum FormIndex {
    fiStart = 0, fiDaily = 1, fiDailyExp = 2, fiLoad = 3, fiSynch = 5, fiLogin = 6,
    fiHlp = 7, fiOptions = 8, fiVideo = 9, fiSplash = 11
};

// Text returned when the program's version is asked for: "major.minor.revision".
QString VersionText();

// The folder of the executable (where the database and the string table stand).
// TARV_PROGRAM_DIR in the environment points it elsewhere for tests.
QString AppPath();

// Entry of the program and its start-up (StartUp.cpp).
int Main(int argc, char **argv);
void StartUp();
// What a later start of the program asks of this one: the main window comes back from the
// taskbar (or the tray) and to the front when it is minimised; otherwise it stays as it is.
// The window is the program's own main window, whatever its caption shows at that moment.
void RestoreMainWindow();
QString GetWinUserName();
bool IsOnline(int16_t &flags);

} // namespace modMain

#include "core/modMain_Texts.h"
#include "core/modMain_Strings.h"
#include "core/modMain_Settings.h"
#include "core/modMain_Msg.h"
#include "core/modMain_Helpers.h"
#include "core/modMain_ShutDown.h"
#include "core/modMain_Frame.h"
#include "core/modMain_Service.h"
