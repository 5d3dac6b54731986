#include "options_help/HelpRules.h"

#include <QDir>
#include <QRegularExpression>
#include <QUrl>

namespace helprules {

namespace {

const QString kHtm = QStringLiteral(".htm");

// "..._<digit 0 to 3>.htm": a page that names its language already.
bool HasLanguageForm(const QString &path)
{
    static const QRegularExpression form(QStringLiteral("_[0-3]\\.htm$"));
    return form.match(path).hasMatch();
}

} // namespace

QString LanguagePage(const QString &path, int lang)
{
    // Only the suffix changes: a folder or a name that holds ".htm" elsewhere stays as it is.
    if (!path.endsWith(kHtm))
        return path;
    return path.left(path.size() - kHtm.size()) + QStringLiteral("_") + QString::number(lang) + kHtm;
}

QString ErrorPage(const QString &folder, int lang)
{
    return folder + QStringLiteral("/hlp_err_") + QString::number(lang) + kHtm;
}

QString LocalPath(const QString &address)
{
    if (address.startsWith(QLatin1Char('/')))
        return address;
    const QUrl url(address);
    if (url.isLocalFile())
        return url.toLocalFile();
    return QString();
}

Link ParseAddress(const QString &folder, const QString &address)
{
    Link link;
    const QString path = LocalPath(address);
    const QString head = folder + QLatin1Char('/');
    if (path.isEmpty() || !path.startsWith(head))
        return link;
    const QString name = path.mid(head.size());
    const QString command = name.left(2);
    if (command == QStringLiteral("=="))
        link.command = Command::WebSite;
    else if (command == QStringLiteral("[]"))
        link.command = Command::Video;
    else if (command == QStringLiteral(">>"))
        link.command = Command::Window;
    else
        return link;
    link.argument = name.mid(2);
    return link;
}

bool IsBareFileName(const QString &name)
{
    if (name.isEmpty() || name == QStringLiteral(".") || name == QStringLiteral(".."))
        return false;
    if (name.contains(QLatin1Char('/')) || name.contains(QLatin1Char('\\')) || name.contains(QLatin1Char(':')))
        return false;
    return !QDir::isAbsolutePath(name);
}

PageChoice ChoosePage(const QString &address, int lang, const std::function<bool(const QString &)> &exists)
{
    PageChoice choice;
    const QString path = LocalPath(address);
    if (path.isEmpty())
        return choice;
    if (HasLanguageForm(path)) {
        if (exists(path))
            choice.path = path;
        return choice;
    }
    if (!path.endsWith(kHtm)) {
        if (exists(path))
            choice.path = path;
        return choice;
    }
    const QString own = LanguagePage(path, lang);
    if (exists(own)) {
        choice.path = own;
        return choice;
    }
    const QString first = LanguagePage(path, 0);
    if (lang != 0 && exists(first)) {
        choice.path = first;
        choice.fellBack = true;
    }
    return choice;
}

} // namespace helprules
