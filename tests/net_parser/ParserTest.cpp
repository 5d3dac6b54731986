// The reply reader: classification of replies into reply codes, the walk of tag-structured
// replies with its events and what it leaves in the caller's text, the texts of the codes,
// and random and cut replies that must never crash, hang or grow without bound.
#include "core/clsTagParser.h"
#include "core/modHttp.h"
#include "core/modMain.h"

#include <QElapsedTimer>
#include <QRandomGenerator>
#include <gtest/gtest.h>

namespace {

struct Event {
    char kind;   // 'I' interior, 'L' leaf, 'E' parse error
    QString name, content;
    int level;
    bool operator==(const Event &o) const
    {
        return kind == o.kind && name == o.name && content == o.content && level == o.level;
    }
};

std::ostream &operator<<(std::ostream &os, const Event &e)
{
    return os << e.kind << '(' << e.name.toStdString() << ", \"" << e.content.toStdString() << "\", " << e.level << ')';
}

// Records every event of a walk.
struct Recorder {
    clsTagParser parser;
    QList<Event> events;
    Recorder()
    {
        QObject::connect(&parser, &clsTagParser::InteriorTag, [this](const QString &n, const QString &c, int16_t l) {
            events << Event{'I', n, c, l};
        });
        QObject::connect(&parser, &clsTagParser::LeafTag, [this](const QString &n, const QString &v, int16_t l) {
            events << Event{'L', n, v, l};
        });
        QObject::connect(&parser, &clsTagParser::ParseError,
                         [this](int16_t code) { events << Event{'E', QString(), QString(), code}; });
    }
};

Event I(const char *n, const char *c, int l) { return {'I', QString::fromUtf8(n), QString::fromUtf8(c), l}; }
Event L(const char *n, const char *v, int l) { return {'L', QString::fromUtf8(n), QString::fromUtf8(v), l}; }
Event E(int code) { return {'E', QString(), QString(), code}; }

} // namespace

TEST(CheckInput, ClassifiesRepliesByTheFirstRuleThatMatches)
{
    const struct {
        const char *reply;
        int code;
    } cases[] = {
        {"", 100},
        {"<USER><FULLNAME>Anna</FULLNAME></USER>", 0},
        {"<html><title>404 Not Found</title></html>", 404},
        {"<h1>HTTP Status 404 - /tarv/XMLServer</h1>", 410},
        {"<title>500 Internal Server Error</title>", 500},
        {"<title>Servlet container - Error report</title>", 500},
        {"<ERROR><CODE>5</CODE></ERROR>", 5},
        {"   <ERROR><CODE>7</CODE></ERROR>", 7},
        {"<?xml version=\"1.0\" ?>\n<ERROR><CODE>2</CODE><MESSAGE>Wrong password</MESSAGE></ERROR>", 2},
        // The whole number is read: two-digit codes keep both digits.
        {"<ERROR><CODE>12</CODE></ERROR>", 12},
        {"<ERROR><CODE>10</CODE></ERROR>", 10},
        {"<ERROR><CODE>0</CODE></ERROR>", 0},
        {"<ERROR><CODE>007</CODE></ERROR>", 7},
        {"<ERROR><CODE>42", 42},
        {"<ERROR><CODE>x</CODE></ERROR>", 999},
        // White space around the code inside CODE is no part of it.
        {"<ERROR><CODE> 5</CODE></ERROR>", 5},
        {"<ERROR><CODE>5 </CODE></ERROR>", 5},
        {"<ERROR><CODE>\r\n\t 12 \n</CODE></ERROR>", 12},
        {"<ERROR><CODE> </CODE></ERROR>", 999},
        {"<ERROR><CODE>5 5</CODE></ERROR>", 999},
        {"<ERROR><CODE>\u00a05</CODE></ERROR>", 999},
        {"<ERROR><CODE></CODE></ERROR>", 999},
        {"<ERROR><CODE>", 999},
        {"<ERROR><CODE>-1</CODE></ERROR>", 999},
        {"<ERROR><CODE>99999</CODE></ERROR>", 999},
        {"<ERROR><CODE>1e3</CODE></ERROR>", 999},
        // Earlier rules win, wherever the patterns stand.
        {"404 Not Found <ERROR><CODE>3</CODE></ERROR>", 404},
        {"<ERROR><CODE>3</CODE><M>HTTP Status 404</M></ERROR>", 410},
        {"<P><NAME>Error report of May</NAME></P>", 500},
        // Case matters, and a mere "Error" is no error.
        {"<ERROR><code>3</code></ERROR>", 0},
        {"404 not found", 0},
        {"<NAME>Error</NAME>", 0},
    };
    clsTagParser parser;
    for (const auto &c : cases)
        EXPECT_EQ(parser.CheckInput(QString::fromUtf8(c.reply)), c.code) << c.reply;
}

TEST(ParseTags, RaisesTheEventsInDocumentOrderAndConsumesTheText)
{
    const struct {
        const char *what;
        const char *text;
        QList<Event> events;
        clsTagParser::ParseResult result;
        const char *rest;
    } cases[] = {
        {"one leaf after blanks", "  <A>1</A>", {L("A", "1", 0)}, clsTagParser::Complete, ""},
        {"children and an empty element", "<A><B>x</B><C></C></A>",
         {I("A", "<B>x</B><C></C>", 0), L("B", "x", 1), L("C", "", 1)}, clsTagParser::Complete, ""},
        {"text between siblings stops the level", "<A>1</A> tail <B>2</B>", {L("A", "1", 0)},
         clsTagParser::StoppedEarly, "tail <B>2</B>"},
        {"an element holding its own name", "<A><A>1</A></A>", {I("A", "<A>1", 0)}, clsTagParser::Malformed,
         "<A><A>1</A></A>"},
        {"white space of every kind is trimmed", "\t\r\n<A>\v\f x y \r\n</A>\n", {L("A", "x y", 0)},
         clsTagParser::Complete, ""},
        {"a no-break space is no white space", "<A>\u00a0x</A>", {L("A", "\u00a0x", 0)}, clsTagParser::Complete, ""},
        {"text inside an element stops only that level", "<A><B>1</B>junk<C>2</C></A><D>3</D>",
         {I("A", "<B>1</B>junk<C>2</C>", 0), L("B", "1", 1), L("D", "3", 0)}, clsTagParser::Complete, ""},
        {"no closing tag", "<A>1</A><B>2", {L("A", "1", 0)}, clsTagParser::Malformed, "<B>2"},
        {"no end of the opening tag", "<A>1</A><B", {L("A", "1", 0)}, clsTagParser::Malformed, "<B"},
        {"a malformed child stops the whole walk", "<A><B>1</B><C>2</A><D>3</D>",
         {I("A", "<B>1</B><C>2", 0), L("B", "1", 1)}, clsTagParser::Malformed, "<A><B>1</B><C>2</A><D>3</D>"},
        {"no element at all", "hello", {}, clsTagParser::StoppedEarly, "hello"},
        {"names are taken as they stand", "<A B>v</A B><>w</>", {L("A B", "v", 0), L("", "w", 0)},
         clsTagParser::Complete, ""},
        {"an empty enclosing element", "<PROJECTS>\n</PROJECTS>\n", {L("PROJECTS", "", 0)}, clsTagParser::Complete, ""},
        {"the first closing tag ends an element", "<A>1</A>2</A>", {L("A", "1", 0)}, clsTagParser::StoppedEarly, "2</A>"},
    };
    for (const auto &c : cases) {
        Recorder r;
        QString text = QString::fromUtf8(c.text);
        const clsTagParser::ParseResult result = r.parser.ParseTags(text);
        EXPECT_EQ(r.events, c.events) << c.what;
        EXPECT_EQ(result, c.result) << c.what;
        EXPECT_EQ(text, QString::fromUtf8(c.rest)) << c.what;
    }
}

TEST(ParseTags, AnErrorReplyRaisesOnlyParseErrorAndLeavesTheText)
{
    const struct {
        const char *text;
        int code;
    } cases[] = {
        {"", 100},
        {"<A><NAME>Error report</NAME></A>", 500},
        {"<ERROR><CODE>2</CODE></ERROR>", 2},
        {"<ERROR><CODE>x</CODE></ERROR>", 999},
    };
    for (const auto &c : cases) {
        Recorder r;
        QString text = QString::fromUtf8(c.text);
        EXPECT_EQ(r.parser.ParseTags(text), clsTagParser::Rejected) << c.text;
        EXPECT_EQ(r.events, QList<Event>{E(c.code)}) << c.text;
        EXPECT_EQ(text, QString::fromUtf8(c.text));
    }
    // A code of 0 is no error: the reply is walked as a tree.
    Recorder r;
    QString text = QStringLiteral("<ERROR><CODE>0</CODE></ERROR>");
    EXPECT_EQ(r.parser.ParseTags(text), clsTagParser::Complete);
    EXPECT_EQ(r.events, (QList<Event>{I("ERROR", "<CODE>0</CODE>", 0), L("CODE", "0", 1)}));
}

TEST(ParseTags, ADownloadReplyWalksToLevelFour)
{
    Recorder r;
    QString text = QStringLiteral("<PROJECTS>\n<PROJECT><ID>101</ID><NAME>O'Neill & Söhne</NAME><EXPENSES>FALSE</EXPENSES>\n"
                                  "  <TASK><NAME>Τεστ</NAME><ID>1001</ID><EXPENSES>TRUE</EXPENSES>\n"
                                  "    <CATEGORY><ID>11</ID><NAME>Design</NAME></CATEGORY>\n  </TASK>\n</PROJECT>\n</PROJECTS>\n");
    EXPECT_EQ(r.parser.ParseTags(text), clsTagParser::Complete);
    QStringList seen;
    for (const Event &e : r.events)
        seen << QStringLiteral("%1%2:%3=%4").arg(QChar(e.kind)).arg(e.level).arg(e.name, e.kind == 'L' ? e.content : QString());
    EXPECT_EQ(seen, (QStringList{"I0:PROJECTS=", "I1:PROJECT=", "L2:ID=101", "L2:NAME=O'Neill & Söhne",
                                 "L2:EXPENSES=FALSE", "I2:TASK=", "L3:NAME=Τεστ", "L3:ID=1001", "L3:EXPENSES=TRUE",
                                 "I3:CATEGORY=", "L4:ID=11", "L4:NAME=Design"}));
}

TEST(ParseTags, NestingBeyondItsLimitIsMalformedNotAStackOverflow)
{
    Recorder r;
    QString deep;
    const int depth = 200000;
    for (int i = 0; i < depth; ++i)
        deep += QStringLiteral("<a%1>").arg(i);
    deep += u'x';
    for (int i = depth - 1; i >= 0; --i)
        deep += QStringLiteral("</a%1>").arg(i);
    QElapsedTimer t;
    t.start();
    EXPECT_EQ(r.parser.ParseTags(deep), clsTagParser::Malformed);
    EXPECT_LT(t.elapsed(), 10000);
    EXPECT_EQ(r.events.size(), clsTagParser::MaxDepth - 1);

    // Just inside the limit the walk completes.
    Recorder ok;
    QString fits;
    for (int i = 0; i < clsTagParser::MaxDepth; ++i)
        fits += QStringLiteral("<a%1>").arg(i);
    fits += u'x';
    for (int i = clsTagParser::MaxDepth - 1; i >= 0; --i)
        fits += QStringLiteral("</a%1>").arg(i);
    EXPECT_EQ(ok.parser.ParseTags(fits), clsTagParser::Complete);
    ASSERT_EQ(ok.events.size(), clsTagParser::MaxDepth);
    EXPECT_EQ(ok.events.last(), L("a63", "x", 63));
}

TEST(ParseTags, RandomAndCutRepliesNeverCrashOrHang)
{
    const QString valid = QStringLiteral(
        "<PROJECTS>\n<PROJECT><ID>101</ID><NAME>Café</NAME><EXPENSES>TRUE</EXPENSES>\n"
        "  <TASK><NAME>T</NAME><ID>1001</ID><EXPENSES>FALSE</EXPENSES>\n"
        "    <CATEGORY><ID>11</ID><NAME>Design</NAME></CATEGORY>\n"
        "    <CATEGORY><ID>12</ID><NAME>Ανάπτυξη</NAME></CATEGORY>\n  </TASK>\n</PROJECT>\n"
        "<ERROR><CODE>0</CODE></ERROR></PROJECTS>\n");
    const QString alphabet = QStringLiteral("<>/</ABCDE \t\r\n01x&;é<ERROR><CODE>");
    QRandomGenerator rng(20240611);
    QElapsedTimer t;
    t.start();
    qint64 events = 0;
    for (int round = 0; round < 20000; ++round) {
        QString text;
        switch (round % 4) {
        case 0: // cut anywhere
            text = valid.left(rng.bounded(valid.size() + 1));
            break;
        case 1: { // a few characters changed, dropped or doubled
            text = valid;
            const int edits = 1 + rng.bounded(6);
            for (int e = 0; e < edits && !text.isEmpty(); ++e) {
                const int at = rng.bounded(text.size());
                const QChar c = alphabet[rng.bounded(alphabet.size())];
                switch (rng.bounded(3)) {
                case 0: text[at] = c; break;
                case 1: text.remove(at, 1); break;
                default: text.insert(at, c); break;
                }
            }
            break;
        }
        case 2: { // random runs of the characters that matter
            const int n = rng.bounded(300);
            for (int i = 0; i < n; ++i)
                text += alphabet[rng.bounded(alphabet.size())];
            break;
        }
        default: { // random code units, surrogates and NULs included
            const int n = rng.bounded(200);
            for (int i = 0; i < n; ++i)
                text += QChar(char16_t(rng.bounded(0x10000)));
            break;
        }
        }
        clsTagParser parser;
        qint64 here = 0;
        QObject::connect(&parser, &clsTagParser::InteriorTag, [&](const QString &, const QString &c, int16_t l) {
            ++here;
            ASSERT_GE(l, 0);
            ASSERT_LT(l, clsTagParser::MaxDepth);
            ASSERT_LE(c.size(), text.size());
        });
        QObject::connect(&parser, &clsTagParser::LeafTag, [&](const QString &, const QString &v, int16_t l) {
            ++here;
            ASSERT_GE(l, 0);
            ASSERT_LE(v.size(), text.size());
        });
        const int16_t code = parser.CheckInput(text);
        EXPECT_TRUE(code == 0 || code == 100 || code == 404 || code == 410 || code == 500 || code == 999
                    || (code > 0 && code <= 32767));
        QString consumed = text;
        const clsTagParser::ParseResult result = parser.ParseTags(consumed);
        // Every element is at least "<x></x>"-ish: events can never outnumber the characters.
        EXPECT_LE(here, text.size());
        EXPECT_LE(consumed.size(), text.size());
        if (result == clsTagParser::Complete)
            EXPECT_TRUE(consumed.isEmpty());
        events += here;
    }
    EXPECT_GT(events, 0);
    EXPECT_LT(t.elapsed(), 60000);
}

TEST(ParseTags, ALargeReplyIsWalkedInLinearTime)
{
    QString big = QStringLiteral("<PROJECTS>");
    for (int p = 0; p < 2000; ++p) {
        big += QStringLiteral("<PROJECT><ID>%1</ID><NAME>P%1</NAME><EXPENSES>TRUE</EXPENSES>").arg(p);
        for (int t = 0; t < 10; ++t)
            big += QStringLiteral("<TASK><NAME>T</NAME><ID>%1</ID><EXPENSES>TRUE</EXPENSES><CATEGORY><ID>1</ID><NAME>C</NAME></CATEGORY></TASK>")
                       .arg(p * 10 + t);
        big += QStringLiteral("</PROJECT>");
    }
    big += QStringLiteral("</PROJECTS>");
    clsTagParser parser;
    qint64 leaves = 0;
    QObject::connect(&parser, &clsTagParser::LeafTag, [&](const QString &, const QString &, int16_t) { ++leaves; });
    QElapsedTimer t;
    t.start();
    EXPECT_EQ(parser.ParseTags(big), clsTagParser::Complete);
    EXPECT_EQ(leaves, 2000 * (3 + 10 * 5));
    EXPECT_LT(t.elapsed(), 5000) << big.size() << " characters";
}

TEST(GetErrMsg, GivesTheTextOfEachCodesString)
{
    ASSERT_TRUE(modMain::LoadLangTable(QStringLiteral(TARV_SOURCE_DIR "/data/StringTables.csv")));
    const struct {
        int code, id;
    } cases[] = {{1, 1400}, {2, 1401}, {5, 1404}, {11, 1410}, {100, 1411}, {110, 1412}, {199, 1412}, {404, 1413},
                 {410, 1414}, {999, 1415}, {500, 1417}, {12, 1416}, {0, 1416}, {-1, 1416}, {99, 1416}, {501, 1416}};
    for (int lang = 0; lang < 4; ++lang) {
        modMain::LangID = int16_t(lang);
        for (const auto &c : cases) {
            const QString text = modHttp::GetErrMsg(int16_t(c.code));
            EXPECT_FALSE(text.isEmpty()) << c.code;
            EXPECT_EQ(text, modMain::GetLangString(int16_t(c.id))) << c.code << " in language " << lang;
        }
    }
    modMain::LangID = 0;
}
