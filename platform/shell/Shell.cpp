#include "platform/shell/Shell.h"

#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QUrl>

namespace shell {

namespace {

QString ConfigHome()
{
    const QString xdg = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (!xdg.isEmpty() && QDir::isAbsolutePath(xdg))
        return QDir::cleanPath(xdg);
    return QDir::homePath() + QStringLiteral("/.config");
}

// A string value of a desktop entry: backslash, line breaks and tabs escaped.
QString EscapeValue(const QString &value)
{
    QString out;
    for (QChar c : value) {
        switch (c.unicode()) {
        case u'\\': out += QStringLiteral("\\\\"); break;
        case u'\n': out += QStringLiteral("\\n"); break;
        case u'\r': out += QStringLiteral("\\r"); break;
        case u'\t': out += QStringLiteral("\\t"); break;
        default: out += c;
        }
    }
    return out;
}

// One argument of an Exec line: always quoted, with the characters that are special inside
// quotes escaped, and "%" doubled (it starts a field code otherwise). The result is then
// escaped once more as a string value.
QString QuoteExecArgument(const QString &arg)
{
    QString out = QStringLiteral("\"");
    for (QChar c : arg) {
        if (c == u'"' || c == u'`' || c == u'$' || c == u'\\')
            out += QLatin1Char('\\');
        if (c == u'%')
            out += QLatin1Char('%');
        out += c;
    }
    out += QLatin1Char('"');
    return EscapeValue(out);
}

} // namespace

QString StartupFolder()
{
    return ConfigHome() + QStringLiteral("/autostart");
}

QString AutostartEntryPath(const QString &name)
{
    return StartupFolder() + QLatin1Char('/') + name + QStringLiteral(".desktop");
}

void CreateAutostartEntry(const QString &name, const QString &target, const QString &workingDir)
{
    if (!QDir().mkpath(StartupFolder()))
        throw ShellError("cannot create the autostart folder " + StartupFolder().toStdString());
    const QString text = QStringLiteral("[Desktop Entry]\n"
                                        "Type=Application\n"
                                        "Version=1.0\n"
                                        "Name=%1\n"
                                        "Exec=%2\n"
                                        "Path=%3\n"
                                        "Terminal=false\n"
                                        "X-GNOME-Autostart-enabled=true\n")
                             .arg(EscapeValue(name), QuoteExecArgument(target), EscapeValue(workingDir));
    QSaveFile file(AutostartEntryPath(name));
    if (!file.open(QIODevice::WriteOnly) || file.write(text.toUtf8()) < 0 || !file.commit())
        throw ShellError("cannot write the autostart entry " + AutostartEntryPath(name).toStdString());
}

bool RemoveAutostartEntry(const QString &name)
{
    const QString path = AutostartEntryPath(name);
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink())
        return false;
    if (!QFile::remove(path))
        throw ShellError("cannot remove the autostart entry " + path.toStdString());
    return true;
}

bool ShellExecute(const QString &fileOrAddress)
{
    if (fileOrAddress.isEmpty())
        return false;
    QUrl url(fileOrAddress);
    // A path such as "/x/y.htm" has no scheme; an existing file is a file whatever its name.
    if (url.scheme().isEmpty() || QFileInfo::exists(fileOrAddress))
        url = QUrl::fromLocalFile(QFileInfo(fileOrAddress).absoluteFilePath());
    return QDesktopServices::openUrl(url);
}

} // namespace shell
