#pragma once
// What the help window does with an address, without any widget: the language form of a page,
// the error pages, and the three link commands a help page may hold ("==" the service's web
// site, "[]" a help video beside the program, ">>" a window of the program).
#include <QString>

#include <functional>

namespace helprules {

// The page of language lang (0 English, 1 Greek, 2 French, 3 German): the ".htm" at the end of
// the name becomes "_<lang>.htm". A name that does not end in ".htm" is returned unchanged.
QString LanguagePage(const QString &path, int lang);

// The error page of language lang in the folder: "hlp_err_<lang>.htm".
QString ErrorPage(const QString &folder, int lang);

enum class Command { Page, WebSite, Video, Window };

struct Link {
    Command command = Command::Page;
    QString argument;   // the text after the command (video file name or window name)
};

// Reads an address the help window is asked to show: a local path in the folder whose name
// starts with "==", "[]" or ">>" is that command with the rest of the name as its argument;
// anything else is a page.
Link ParseAddress(const QString &folder, const QString &address);

// A help video may only be a file of the program folder named by its bare name: no folder
// part, no "..", nothing absolute, not empty.
bool IsBareFileName(const QString &name);

struct PageChoice {
    QString path;            // the file to show; empty when there is none (the error page)
    bool fellBack = false;   // the page of language 0 stands in for the one asked for
};

// The file to show for an ordinary page address in language lang: a page already in a
// language form as it is, else its form of lang, else its form of language 0 (a fall-back),
// else an existing file whose name has no ".htm" as it is. exists tells whether a file is
// there. Addresses that are not local files (web addresses) have no page.
PageChoice ChoosePage(const QString &address, int lang, const std::function<bool(const QString &)> &exists);

// The local file of an address: a plain path as it is, a "file:" address as its path, ""
// for anything else.
QString LocalPath(const QString &address);

} // namespace helprules
