// The help window's rules without a window: language forms, link commands, video names and the
// choice of the page to show.
#include "options_help/HelpRules.h"

#include <QSet>
#include <gtest/gtest.h>

using namespace helprules;

namespace {

struct FormCase {
    const char *path;
    int lang;
    const char *expected;
};

TEST(HelpRules, LanguageFormReplacesOnlyTheSuffix)
{
    const FormCase cases[] = {
        {"/p/hlp_index.htm", 0, "/p/hlp_index_0.htm"},
        {"/p/hlp_frmDaily.htm", 2, "/p/hlp_frmDaily_2.htm"},
        // ".htm" elsewhere in the path stays as it is
        {"/help.htm/hlp_a.htm", 3, "/help.htm/hlp_a_3.htm"},
        {"/p/hlp.htm.htm", 1, "/p/hlp.htm_1.htm"},
        // not a page name: unchanged
        {"/p/notes.txt", 1, "/p/notes.txt"},
        {"/p/page.html", 1, "/p/page.html"},
        {"/p/page.htm.bak", 1, "/p/page.htm.bak"},
    };
    for (const FormCase &c : cases)
        EXPECT_EQ(LanguagePage(QString::fromUtf8(c.path), c.lang), QString::fromUtf8(c.expected)) << c.path;
    EXPECT_EQ(ErrorPage(QStringLiteral("/p"), 2), QStringLiteral("/p/hlp_err_2.htm"));
}

struct AddressCase {
    const char *address;
    Command command;
    const char *argument;
};

TEST(HelpRules, AddressesInTheProgramFolderCarryTheLinkCommands)
{
    const AddressCase cases[] = {
        {"/p/==site", Command::WebSite, "site"},
        {"/p/==", Command::WebSite, ""},
        {"/p/[]hlp_LiveRecording.gif", Command::Video, "hlp_LiveRecording.gif"},
        {"/p/[]../secret.gif", Command::Video, "../secret.gif"},
        {"/p/>>frmDaily", Command::Window, "frmDaily"},
        {"file:///p/>>frmSynch", Command::Window, "frmSynch"},
        {"file:///p/%3E%3EfrmOptions", Command::Window, "frmOptions"},
        {"/p/hlp_index.htm", Command::Page, ""},
        {"/p/x>>frmDaily", Command::Page, ""},
        // only in the program folder itself
        {"/other/>>frmDaily", Command::Page, ""},
        {"/p/sub/>>frmDaily", Command::Page, ""},
        {"/pp/>>frmDaily", Command::Page, ""},
        {"https://127.0.0.1/>>frmDaily", Command::Page, ""},
    };
    for (const AddressCase &c : cases) {
        const Link link = ParseAddress(QStringLiteral("/p"), QString::fromUtf8(c.address));
        EXPECT_EQ(link.command, c.command) << c.address;
        EXPECT_EQ(link.argument, QString::fromUtf8(c.argument)) << c.address;
    }
}

TEST(HelpRules, AVideoIsABareFileNameOfTheProgramFolder)
{
    for (const char *ok : {"hlp_RecordTime.gif", "hlp_One_Desktop.swf", "a b.gif", "x..y.gif"})
        EXPECT_TRUE(IsBareFileName(QString::fromUtf8(ok))) << ok;
    for (const char *refused : {"", ".", "..", "../x.gif", "sub/x.gif", "/etc/passwd", "..\\x.gif", "C:x.gif",
                                "sub\\x.gif", "./x.gif"})
        EXPECT_FALSE(IsBareFileName(QString::fromUtf8(refused))) << refused;
}

struct ChoiceCase {
    const char *address;
    int lang;
    const char *path;   // "" for the error page
    bool fellBack;
};

TEST(HelpRules, PageChoiceTakesTheLanguageThenTheFirstLanguage)
{
    const QSet<QString> files = {
        QStringLiteral("/p/hlp_index_0.htm"),  QStringLiteral("/p/hlp_index_1.htm"),
        QStringLiteral("/p/hlp_frmDaily_0.htm"), QStringLiteral("/p/hlp_Login_2.htm"),
        QStringLiteral("/p/notes.txt"),        QStringLiteral("/p/hlp_err_0.htm"),
    };
    const auto exists = [&](const QString &f) { return files.contains(f); };
    const ChoiceCase cases[] = {
        {"/p/hlp_index.htm", 1, "/p/hlp_index_1.htm", false},
        {"file:///p/hlp_index.htm", 0, "/p/hlp_index_0.htm", false},
        // a translation missing: the first language
        {"/p/hlp_frmDaily.htm", 2, "/p/hlp_frmDaily_0.htm", true},
        // in the first language a missing page is missing
        {"/p/hlp_frmSynch.htm", 0, "", false},
        {"/p/hlp_frmSynch.htm", 3, "", false},
        // a page already in a language form is shown as it is, or is missing
        {"/p/hlp_Login_2.htm", 0, "/p/hlp_Login_2.htm", false},
        {"/p/hlp_Login_1.htm", 1, "", false},
        {"/p/hlp_err_0.htm", 1, "/p/hlp_err_0.htm", false},
        // an existing file without ".htm" as it is
        {"/p/notes.txt", 2, "/p/notes.txt", false},
        {"/p/missing.txt", 2, "", false},
        // web addresses have no page here
        {"https://127.0.0.1/hlp_index.htm", 0, "", false},
    };
    for (const ChoiceCase &c : cases) {
        const PageChoice choice = ChoosePage(QString::fromUtf8(c.address), c.lang, exists);
        EXPECT_EQ(choice.path, QString::fromUtf8(c.path)) << c.address << " " << c.lang;
        EXPECT_EQ(choice.fellBack, c.fellBack) << c.address << " " << c.lang;
    }
}

} // namespace
