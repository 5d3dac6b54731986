// The string table lookup and the two text helpers under it.
#include "core/modMain.h"
#include "tests/support/TestEnv.h"

#include <QFile>
#include <gtest/gtest.h>

using namespace modMain;

namespace {

const char16_t *const kFixture =
    u"<5;Five;;Cinq;Fünf;5>\r\n"
    u"<7;Line one~line two;;;Zeile eins~Zeile zwei;7>\r\n"
    u"<8;Eight without its end marker;;;;\r\n"
    u"<12;Twelve;Δώδεκα;Douze;Zwölf;12>\r\n"
    u"<120;One hundred twenty;;Cent vingt;;120>\r\n"
    u"<300; Padded ;   ;;;300>\r\n";

class LangTable : public ::testing::Test {
protected:
    void SetUp() override
    {
        savedText = LangTableText;
        savedLang = LangID;
        LangTableText = QString::fromUtf16(kFixture);
    }
    void TearDown() override
    {
        LangTableText = savedText;
        LangID = savedLang;
    }
    QString savedText;
    int16_t savedLang = 0;
};

} // namespace

TEST_F(LangTable, LooksUpTheCurrentLanguageAndFallsBackToEnglish)
{
    struct Case { int16_t id; int16_t lang; bool oneLine; QString text; } cases[] = {
        {5, 0, false, u"Five"_qs},
        {5, 1, false, u"Five"_qs}, // no Greek text
        {5, 2, false, u"Cinq"_qs},
        {5, 3, false, u"Fünf"_qs},
        {7, 0, true, u"Line one line two"_qs},
        {7, 0, false, u"Line one\r\nline two"_qs},
        {7, 3, true, u"Zeile eins Zeile zwei"_qs},
        {7, 2, false, u"Line one\r\nline two"_qs},
        {12, 1, false, u"Δώδεκα"_qs},
        {12, 3, false, u"Zwölf"_qs},
        {120, 0, false, u"One hundred twenty"_qs}, // "<12" is in row 120 too: row 12 comes first
        {120, 2, false, u"Cent vingt"_qs},
        {120, 3, false, u"One hundred twenty"_qs},
        {300, 0, false, u"Padded"_qs},
        {300, 1, false, u"Padded"_qs}, // a text of spaces is no text
        {99, 0, false, QString()},    // no row
        {1, 0, false, QString()},     // "<1" starts row 12, but "1>" never follows
        {8, 0, false, QString()},     // the end marker is missing and never comes
    };
    for (const auto &c : cases) {
        LangID = c.lang;
        EXPECT_EQ(GetLangString(c.id, c.oneLine), c.text) << "id " << c.id << " lang " << c.lang;
    }
}

TEST_F(LangTable, RowsOutOfOrderReadIntoTheWrongRow)
{
    // Why the file keeps its ids ascending: the first "<12" found is the start of row 120.
    LangTableText = u"<120;One hundred twenty;;;;120>\r\n<12;Twelve;;;;12>\r\n"_qs;
    EXPECT_EQ(GetLangString(12), "One hundred twenty");
    EXPECT_EQ(GetLangString(120), "One hundred twenty");
}

TEST_F(LangTable, LanguagePastTheLastFieldFallsBackToEnglish)
{
    LangID = 7;
    EXPECT_EQ(GetLangString(5), "Five");
}

TEST_F(LangTable, EmptyTableGivesEmptyTexts)
{
    LangTableText.clear();
    for (int16_t id : {5, 7, 12, 120})
        EXPECT_TRUE(GetLangString(id).isEmpty());
}

TEST(TextHelpers, FieldsOfASeparatedText)
{
    struct Case { const char *text; int16_t n; const char *sep; const char *field; } cases[] = {
        {"a;b;c", 1, ";", "a"},
        {"a;b;c", 2, ";", "b"},
        {"a;b;c", 3, ";", "c"},
        {"a;b;c", 5, ";", "c"},           // past the last: the last
        {"  whole  ", 1, ";", "  whole  "}, // no separator: unchanged, not trimmed
        {"  whole  ", 2, ";", "whole"},
        {" a ; b ;c", 1, ";", "a"},
        {"a; b ;c", 2, ";", "b"},
        {"a;   ;c", 2, ";", ""},          // only spaces
        {"a;;c", 2, ";", ""},
        {";x;", 1, ";", ""},
        {";x;", 3, ";", ""},
        {"09:30:15", 2, ":", "30"},
        {"fooXbarxbaz", 2, "x", "bar"},   // the separator matches either case
        {"a;b", 0, ";", ""},              // no field 0
    };
    for (const auto &c : cases)
        EXPECT_EQ(GetField(QString::fromLatin1(c.text), c.n, QString::fromLatin1(c.sep)),
                  QString::fromLatin1(c.field))
            << c.text << " field " << c.n;
}

TEST(TextHelpers, TextBetweenTags)
{
    struct Case { const char *text; const char *start; const char *end; const char *out; } cases[] = {
        {"<FULLNAME> Jo Ann </FULLNAME>", "<FULLNAME>", "</FULLNAME>", "Jo Ann"},
        {"x<A>1</A><A>2</A>", "<A>", "</A>", "1"},
        {"</A>no<A>yes</A>", "<A>", "</A>", "yes"},  // the end tag is looked for after the start
        {"<A>open only", "<A>", "</A>", ""},
        {"close only</A>", "<A>", "</A>", ""},
        {"<5>", "<5", "5>", ""},                      // start and end tag may not overlap
        {"<a>case</a>", "<A>", "</A>", ""},           // tags match exactly
    };
    for (const auto &c : cases)
        EXPECT_EQ(GetBetween(QString::fromLatin1(c.text), QString::fromLatin1(c.start),
                             QString::fromLatin1(c.end), false),
                  QString::fromLatin1(c.out))
            << c.text;
}

TEST(TextHelpers, StrippingLineBreaksChangesTheCallersText)
{
    QString reply = u"<VERSION>1.\r\n2\r\n</VERSION>\n"_qs;
    EXPECT_EQ(GetBetween(reply, u"<VERSION>"_qs, u"</VERSION>"_qs, true), "1.2");
    EXPECT_EQ(reply, "<VERSION>1.2</VERSION>\n"); // a lone LF stays

    QString kept = u"<V>a\r\nb</V>"_qs;
    EXPECT_EQ(GetBetween(kept, u"<V>"_qs, u"</V>"_qs, false), "a\r\nb");
    EXPECT_EQ(kept, "<V>a\r\nb</V>");
}

namespace {

void WriteFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

QByteArray Utf16(const QString &s, bool bigEndian)
{
    QByteArray out;
    for (QChar ch : s) {
        const char hi = char(ch.unicode() >> 8), lo = char(ch.unicode() & 0xff);
        out.append(bigEndian ? hi : lo).append(bigEndian ? lo : hi);
    }
    return out;
}

} // namespace

TEST_F(LangTable, LoadsTheFileAsUtf16)
{
    const QString dir = testenv::MakeTempDir(u"lang"_qs);
    const QString fixture = QString::fromUtf16(kFixture);
    struct Case { const char *name; QByteArray bytes; } cases[] = {
        {"little-endian with BOM", QByteArray("\xFF\xFE", 2) + Utf16(fixture, false)},
        {"big-endian with BOM", QByteArray("\xFE\xFF", 2) + Utf16(fixture, true)},
        {"no BOM", Utf16(fixture, false)},
    };
    for (const auto &c : cases) {
        WriteFile(dir + "/t.csv", c.bytes);
        LangTableText = u"stale"_qs;
        EXPECT_TRUE(LoadLangTable(dir + "/t.csv")) << c.name;
        EXPECT_EQ(LangTableText, fixture) << c.name; // no BOM character in front
        LangID = 1;
        EXPECT_EQ(GetLangString(12), "Δώδεκα") << c.name;
    }
}

TEST_F(LangTable, MissingFileLeavesTheTableEmpty)
{
    const QString dir = testenv::MakeTempDir(u"lang"_qs);
    LangTableText = u"stale"_qs;
    EXPECT_FALSE(LoadLangTable(dir + "/StringTables.csv"));
    EXPECT_TRUE(LangTableText.isEmpty());
    EXPECT_FALSE(QFile::exists(dir + "/StringTables.csv")); // reading never creates it
    EXPECT_EQ(GetLangString(5), "");

    LangTableText = u"stale"_qs;
    EXPECT_FALSE(LoadLangTable(dir)); // a folder is no table
    EXPECT_TRUE(LangTableText.isEmpty());
}

TEST_F(LangTable, DefaultPathIsTheProgramFolder)
{
    const QString dir = testenv::MakeTempDir(u"prog"_qs);
    WriteFile(dir + "/StringTables.csv", QByteArray("\xFF\xFE", 2) + Utf16(u"<5;Five;;;;5>"_qs, false));
    const QByteArray saved = qgetenv("TARV_PROGRAM_DIR");
    qputenv("TARV_PROGRAM_DIR", dir.toLocal8Bit());
    const bool ok = LoadLangTable();
    if (saved.isNull())
        qunsetenv("TARV_PROGRAM_DIR");
    else
        qputenv("TARV_PROGRAM_DIR", saved);
    EXPECT_TRUE(ok);
    LangID = 0;
    EXPECT_EQ(GetLangString(5), "Five");
}

// A count of one takes its own sentence in every language (French and Greek put the whole
// sentence in the singular); other counts take the prefix, the count and the plural text.
TEST(CountedText, OneRowHasItsOwnSentenceInTheShippedTable)
{
    const QString saved = LangTableText;
    const int16_t savedLang = LangID;
    ASSERT_TRUE(LoadLangTable(QStringLiteral(TARV_SOURCE_DIR "/data/StringTables.csv")));
    const struct { int16_t many, one; } pairs[] = {{361, 1880}, {1035, 1881}, {1712, 1882}};
    for (int16_t lang = 0; lang < 4; ++lang) {
        LangID = lang;
        for (const auto &p : pairs) {
            EXPECT_EQ(CountedText(1, 360, p.many, p.one), GetLangString(p.one)) << lang;
            EXPECT_EQ(CountedText(3, 360, p.many, p.one),
                      GetLangString(360) + QStringLiteral(" 3 ") + GetLangString(p.many)) << lang;
            EXPECT_EQ(CountedText(0, 360, p.many, p.one),
                      GetLangString(360) + QStringLiteral(" 0 ") + GetLangString(p.many)) << lang;
        }
        EXPECT_EQ(CountedText(2, 0, 1036, 1883, true), QStringLiteral("2 ") + GetLangString(1036, true)) << lang;
        EXPECT_EQ(CountedText(1, 0, 1036, 1883, true), GetLangString(1883, true)) << lang;
    }
    LangID = 2;
    EXPECT_TRUE(CountedText(1, 360, 361, 1880).startsWith(QStringLiteral("Il y a 1 saisie modifiée non enregistrée.")));
    EXPECT_FALSE(CountedText(1, 360, 361, 1880).contains(QStringLiteral("saisies")));
    LangTableText = saved;
    LangID = savedLang;
}
