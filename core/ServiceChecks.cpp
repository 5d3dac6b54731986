// The two service checks of the main module: credentials and program version.
#include "core/modMain.h"

#include "core/clsTagParser.h"
#include "core/ServiceRequests.h"
#include "core/modHttp.h"
#include "platform/registry/Registry.h"

#include <QDate>

namespace modMain {

QString CheckName(const QString &user, const QString &password, int32_t kind, Progress *progress)
{
    PasswordURL = modHttp::URLEncode(password);
    UserNameURL = modHttp::URLEncode(user);
    QString reply = modHttp::SendRequest(modHttp::NameRequest(), kind, progress);
    if (reply.isEmpty())
        return QString::number(NoReply);

    // The parser keeps no state: any instance classifies as the main window's would. Every
    // reply is classified, so that a web server's error page without the word "Error" (a
    // plain "404 Not Found" page) is never taken for a successful check with an empty name.
    const clsTagParser parser;
    const int16_t code = parser.CheckInput(reply);
    if (code != ReplyOk)
        return QString::number(code);
    return GetBetween(reply, QStringLiteral("<FULLNAME>"), QStringLiteral("</FULLNAME>"), true);
}

QString CheckVersion(Progress *progress)
{
    SetStatus(1000, QString());
    QString reply = modHttp::SendRequest(modHttp::VersionRequest(), modHttp::KindVersion, progress);
    int16_t code = ReplyOk;
    if (reply.isEmpty()) {
        code = NoReply;
    } else {
        // Classified whatever it holds: a web server's error page is a failure too, never a
        // "new version" without a number. (A reply that merely holds the word "Error" is still
        // an answer.)
        const clsTagParser parser;
        code = parser.CheckInput(reply);
    }
    if (code != ReplyOk)
        return QStringLiteral("#") + modHttp::GetErrMsg(code);

    // The check's date and a newer version are remembered; a settings file that cannot be
    // written loses only that memory, never the answer.
    try {
        registry::SaveSetting(SettingsApp, QStringLiteral("updates"), QStringLiteral("DateCheckedforUpdates"),
                              QString::number(DateToLong(QDate::currentDate())));
    } catch (const registry::RegistryError &) {
    }
    const QString version = GetBetween(reply, QStringLiteral("<VERSION>"), QStringLiteral("</VERSION>"), true);
    if (version != VersionText()) {
        try {
            registry::SaveSetting(SettingsApp, QStringLiteral("updates"), QStringLiteral("versionNew"), version);
        } catch (const registry::RegistryError &) {
        }
        return version;
    }
    SetStatus(1001, QString());
    return QStringLiteral("-1");
}

} // namespace modMain
