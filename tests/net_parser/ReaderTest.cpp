// The reader of the download replies: what it makes of the service's replies, of replies whose
// leaves come in another order, of error pages and error reports, and of replies that cannot be
// stored; and the guard that keeps a second request from starting inside the first.
#include "core/ReferenceReader.h"
#include "core/RequestGuard.h"

#include <gtest/gtest.h>

namespace {

using reference::ReplyRead;

// The head the service writes before the tree: 22 characters.
const QString Head = QStringLiteral("<?xml version=\"1.0\"?>\n");

// One line per item: p/t/c, id, name, flag.
QStringList Describe(const QList<ReceivedProject> &projects)
{
    QStringList out;
    for (const ReceivedProject &p : projects) {
        out << QStringLiteral("p %1 %2 %3").arg(p.id).arg(p.name, p.expFlag);
        for (const ReceivedTask &t : p.tasks) {
            out << QStringLiteral("t %1 %2 %3").arg(t.id).arg(t.name, t.expFlag);
            for (const ReceivedCategory &c : t.categories)
                out << QStringLiteral("c %1 %2").arg(c.id).arg(c.name);
        }
    }
    return out;
}

} // namespace

TEST(ReferenceReader, ReadsTheServicesProjectsReply)
{
    ASSERT_EQ(Head.size(), reference::ReplyHeadLength);
    const QString reply = Head + QStringLiteral(
        "<PROJECTS>\n"
        "<PROJECT><ID>1</ID><NAME>O'Neill & Söhne</NAME><EXPENSES>FALSE</EXPENSES>\n"
        "  <TASK><NAME>Τεστ</NAME><ID>10</ID><EXPENSES>TRUE</EXPENSES>\n"
        "    <CATEGORY><ID>100</ID><NAME>Design</NAME></CATEGORY>\n"
        "    <CATEGORY><ID>101</ID><NAME>Coding</NAME></CATEGORY>\n  </TASK>\n"
        "  <TASK><NAME>Empty</NAME><ID>11</ID><EXPENSES></EXPENSES></TASK>\n"
        "</PROJECT>\n"
        "<PROJECT><ID>2</ID><NAME>Second</NAME><EXPENSES>TRUE</EXPENSES></PROJECT>\n"
        "</PROJECTS>\n");
    QList<ReceivedProject> projects;
    const ReplyRead read = reference::ReadProjects(reply, projects);
    EXPECT_EQ(read.outcome, ReplyRead::Read);
    EXPECT_EQ(Describe(projects), (QStringList{"p 1 O'Neill & Söhne FALSE", "t 10 Τεστ TRUE", "c 100 Design",
                                               "c 101 Coding", "t 11 Empty ", "p 2 Second TRUE"}));
}

TEST(ReferenceReader, EachElementIsOneItemWhateverTheOrderOfItsLeaves)
{
    const struct {
        const char *what;
        const char *tree;
        QStringList items;
    } cases[] = {
        // A project without its flag leaf is still a project, and its tasks stay its own.
        {"no flag leaf",
         "<P><PROJECT><ID>1</ID><NAME>A</NAME><T><NAME>a</NAME><ID>10</ID><EXPENSES>X</EXPENSES></T></PROJECT>"
         "<PROJECT><ID>2</ID><NAME>B</NAME><T><NAME>b</NAME><ID>20</ID><EXPENSES>Y</EXPENSES></T></PROJECT></P>",
         {"p 1 A ", "t 10 a X", "p 2 B ", "t 20 b Y"}},
        {"leaves in another order",
         "<P><PROJECT><EXPENSES>FALSE</EXPENSES><NAME>A</NAME><ID>1</ID>"
         "<T><EXPENSES>TRUE</EXPENSES><ID>10</ID><NAME>a</NAME><C><NAME>x</NAME><ID>100</ID></C></T></PROJECT></P>",
         {"p 1 A FALSE", "t 10 a TRUE", "c 100 x"}},
        // A flag leaf after the tasks belongs to the same project: no second copy of it.
        {"flag after the tasks",
         "<P><PROJECT><ID>1</ID><NAME>A</NAME><T><NAME>a</NAME><ID>10</ID><EXPENSES>X</EXPENSES></T>"
         "<EXPENSES>FALSE</EXPENSES></PROJECT></P>",
         {"p 1 A FALSE", "t 10 a X"}},
        {"a task without a flag", "<P><PROJECT><ID>1</ID><NAME>A</NAME><T><ID>10</ID><NAME>a</NAME></T></PROJECT></P>",
         {"p 1 A ", "t 10 a "}},
        {"no projects", "<PROJECTS></PROJECTS>", {}},
        {"no projects, blanks", "<PROJECTS>\n</PROJECTS>\n", {}},
        {"deeper elements are no items",
         "<P><PROJECT><ID>1</ID><NAME>A</NAME><T><ID>10</ID><NAME>a</NAME><C><ID>100</ID><NAME>x</NAME>"
         "<D><E>deep</E></D></C></T></PROJECT></P>",
         {"p 1 A ", "t 10 a ", "c 100 x"}},
    };
    for (const auto &c : cases) {
        QList<ReceivedProject> projects;
        const ReplyRead read = reference::ReadProjects(Head + QString::fromUtf8(c.tree), projects);
        EXPECT_EQ(read.outcome, ReplyRead::Read) << c.what;
        EXPECT_EQ(Describe(projects), c.items) << c.what;
    }
}

TEST(ReferenceReader, AReplyIsClassifiedWholeBeforeItsHeadIsDropped)
{
    const struct {
        const char *what;
        QString reply;
        int code;
    } cases[] = {
        // A proxy's page whose marker starts inside the first 22 characters.
        {"404 page", QStringLiteral("<html>\r\n<head><title>404 Not Found</title></head>\r\n<body></body></html>"), 404},
        {"short 500 text", QStringLiteral("500 Internal Server Error"), 500},
        {"servlet 404", QStringLiteral("<h1>HTTP Status 404</h1>"), 410},
        {"error reply without a head", QStringLiteral("<ERROR><CODE>2</CODE></ERROR>"), 2},
        {"error reply with blanks", Head + QStringLiteral("<ERROR><CODE> 3 </CODE></ERROR>"), 3},
        {"no reply", QString(), 100},
    };
    for (const auto &c : cases) {
        QList<ReceivedProject> projects;
        const ReplyRead read = reference::ReadProjects(c.reply, projects);
        EXPECT_EQ(read.outcome, ReplyRead::Rejected) << c.what;
        EXPECT_EQ(read.code, c.code) << c.what;
        EXPECT_TRUE(projects.isEmpty()) << c.what;
        QList<ReceivedExpCategory> categories;
        EXPECT_EQ(reference::ReadExpenses(c.reply, categories).code, c.code) << c.what;
    }
}

TEST(ReferenceReader, WhatCannotBeStoredIsUnreadable)
{
    const struct {
        const char *what;
        QString reply;
    } cases[] = {
        {"shorter than the head", QStringLiteral("<P></P>")},
        {"only the head", Head},
        {"no tree", Head + QStringLiteral("hello")},
        {"cut in a project", Head + QStringLiteral("<P><PROJECT><ID>1</ID><NAME>A</NAME>")},
        {"text after the tree", Head + QStringLiteral("<P></P> tail")},
        {"a project without an id", Head + QStringLiteral("<P><PROJECT><NAME>A</NAME></PROJECT></P>")},
        {"an id that is no number", Head + QStringLiteral("<P><PROJECT><ID>x1</ID><NAME>A</NAME></PROJECT></P>")},
        {"a task without an id",
         Head + QStringLiteral("<P><PROJECT><ID>1</ID><NAME>A</NAME><T><NAME>a</NAME></T></PROJECT></P>")},
        {"a category without an id",
         Head + QStringLiteral("<P><PROJECT><ID>1</ID><NAME>A</NAME><T><ID>1</ID><C><NAME>x</NAME></C></T></PROJECT></P>")},
        {"the last category without an id",
         Head + QStringLiteral("<P><PROJECT><ID>1</ID><NAME>A</NAME><T><ID>1</ID><C><ID>5</ID></C><C><NAME>x</NAME></C></T>"
                               "</PROJECT></P>")},
    };
    for (const auto &c : cases) {
        QList<ReceivedProject> projects;
        EXPECT_EQ(reference::ReadProjects(c.reply, projects).outcome, ReplyRead::Unreadable) << c.what;
    }
    QList<ReceivedExpCategory> categories;
    EXPECT_EQ(reference::ReadExpenses(Head + QStringLiteral("<E><X><NAME>Taxi</NAME></X></E>"), categories).outcome,
              ReplyRead::Unreadable);
}

TEST(ReferenceReader, ErrorReportsInsideTheTreeAreToldInTheirPlace)
{
    QList<ReceivedProject> projects;
    const ReplyRead read = reference::ReadProjects(
        Head + QStringLiteral("<P><PROJECT><ID>1</ID><NAME>A</NAME></PROJECT><CODE>0</CODE>"
                              "<PROJECT><ID>2</ID><NAME>B</NAME></PROJECT><CODE>12</CODE></P>"),
        projects);
    EXPECT_EQ(read.outcome, ReplyRead::ErrorReported);
    ASSERT_EQ(read.reports.size(), 2);
    EXPECT_EQ(read.reports[0].code, QStringLiteral("0"));
    EXPECT_EQ(read.reports[0].before, 1);
    EXPECT_EQ(read.reports[1].code, QStringLiteral("12"));
    EXPECT_EQ(read.reports[1].before, 2);
    EXPECT_EQ(projects.size(), 2);

    // An error reply whose code is 0 is walked as a tree and reported.
    QList<ReceivedExpCategory> categories;
    const ReplyRead zero = reference::ReadExpenses(Head + QStringLiteral("<ERROR><CODE>0</CODE></ERROR>"), categories);
    EXPECT_EQ(zero.outcome, ReplyRead::ErrorReported);
    EXPECT_EQ(reference::ReportCode(QStringLiteral("12")), 12);
    EXPECT_EQ(reference::ReportCode(QStringLiteral("x")), 999);
}

TEST(ReferenceReader, ReadsTheServicesExpensesReply)
{
    QList<ReceivedExpCategory> categories;
    const ReplyRead read = reference::ReadExpenses(
        Head + QStringLiteral("<EXPENSECATEGORIES>\n<EXPCATEGORY><ID>7</ID><NAME>Hôtel & hébergement</NAME>"
                              "<ACTIVE>TRUE</ACTIVE></EXPCATEGORY>\n<EXPCATEGORY><NAME>Taxi</NAME><ID>8</ID></EXPCATEGORY>\n"
                              "</EXPENSECATEGORIES>"),
        categories);
    EXPECT_EQ(read.outcome, ReplyRead::Read);
    ASSERT_EQ(categories.size(), 2);
    EXPECT_EQ(categories[0].id, 7);
    EXPECT_EQ(categories[0].name, QStringLiteral("Hôtel & hébergement"));
    EXPECT_EQ(categories[1].id, 8);
    EXPECT_EQ(categories[1].name, QStringLiteral("Taxi"));
}

TEST(RequestGuard, OneRequestAtATimeAndNoCommandInsideAnother)
{
    QList<bool> changes;
    QObject::connect(RequestGuard::Notifier(), &RequestBusy::BusyChanged, [&](bool busy) { changes << busy; });
    EXPECT_FALSE(RequestGuard::Busy());
    {
        const RequestGuard command(RequestGuard::Command);
        EXPECT_TRUE(command.Held());
        EXPECT_TRUE(RequestGuard::Busy());
        EXPECT_FALSE(RequestGuard(RequestGuard::Command).Held()) << "a second command is refused";
        {
            // The command's own requests follow each other.
            const RequestGuard first(RequestGuard::Request);
            EXPECT_TRUE(first.Held());
            EXPECT_FALSE(RequestGuard(RequestGuard::Request).Held()) << "no request inside a request";
        }
        EXPECT_TRUE(RequestGuard(RequestGuard::Request).Held());
        EXPECT_TRUE(RequestGuard::Busy());
    }
    EXPECT_FALSE(RequestGuard::Busy());
    {
        const RequestGuard request(RequestGuard::Request);
        EXPECT_FALSE(RequestGuard(RequestGuard::Command).Held()) << "no command while a request is in flight";
    }
    EXPECT_TRUE(RequestGuard(RequestGuard::Command).Held());
    // Busy went on and off once per outer guard; refused guards change nothing.
    EXPECT_EQ(changes, (QList<bool>{true, false, true, false, true, false}));
}
