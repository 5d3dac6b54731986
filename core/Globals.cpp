// The run-wide variables of the main module live here, and nowhere else.
#include "core/modMain.h"

#include "core/CCrypto.h"
#include "platform/dao/dao.h"

#include <QCoreApplication>
#include <QDir>

namespace modMain {

int CurrentUserID = -1;
QString StoredUserName;
QString StoredPassword;
QString UserNameURL;
QString PasswordURL;
QString PCUserName;
QString UserFullName;
double WorkDayStart = 9 * 3600;
double WorkDayEnd = 17 * 3600;
int16_t AutoStart = 1;
int16_t AutoSynch = 1;
int16_t AutoCheck = 1;
int16_t ShowBalloons = 1;
int16_t TimeOut = 15;
int16_t HotKeyCode = 121;
int16_t HotKeyMask = 2;
int16_t LangID = 0;
int16_t PrevLangID = 0;

bool IsConnected = false;
bool ServerLoggedIn = false;
bool TimerRunning = false;
QString LangTableText;
QString HelpIndexPath;
QString DateSep = QStringLiteral("/");
QString DecimalSep = QStringLiteral(".");
QString GroupSep = QStringLiteral(",");

std::unique_ptr<dao::Database> DB;
std::unique_ptr<CCrypto> Crypto;

std::array<bool, 12> FormLoaded{};

QString VersionText()
{
    return QString::number(TARV_VERSION_MAJOR) + "." + QString::number(TARV_VERSION_MINOR) + "."
           + QString::number(TARV_VERSION_PATCH);
}

QString AppPath()
{
    const QByteArray env = qgetenv("TARV_PROGRAM_DIR");
    if (!env.isEmpty())
        return QDir::cleanPath(QString::fromLocal8Bit(env));
    if (QCoreApplication::instance())
        return QCoreApplication::applicationDirPath();
    return QDir::currentPath();
}

} // namespace modMain
