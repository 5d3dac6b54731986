// The string table that ships beside the program, checked the way the lookup reads it, and
// checked against the string ids the program's code asks for.
//
// How ids are found in the code (keep new code in one of these forms, or add the form here):
//   GetLangString(<number>          e.g. modMain::GetLangString(1003, false)
//   setProperty("Tag", <number>)    the id a control is captioned with ("Tag" or "tag"), the
//                                   number bare or in quotes, optionally inside
//                                   QStringLiteral(...), QVariant(...) or as u"<number>"_qs
//   SetTag(<control>, <number>)     the same through forms::SetTag; the id is the last
//                                   argument, written the same ways
// in every .cpp and .h under core, store, recorder, timelog, expenses, sync and options_help.
// Ids computed at run time (100 + i) cannot be seen here; numbers above 32767 (day keys in a
// day label's tag) are no string ids and are left out.
#include "core/modMain.h"

#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QStringDecoder>
#include <gtest/gtest.h>

#include <map>
#include <set>

using namespace modMain;

namespace {

struct Row {
    int id = 0;
    QString texts[4];
};

const QString kShipped = QStringLiteral(TARV_SOURCE_DIR "/data/StringTables.csv");

// Ids that the sources ask for, with the first file that does, for the failure message.
std::map<int, QString> IdsUsedInCode()
{
    static const QRegularExpression patterns[] = {
        QRegularExpression(QStringLiteral(R"re(GetLangString\s*\(\s*(\d+))re")),
        QRegularExpression(QStringLiteral(
            R"re(setProperty\s*\(\s*"[Tt]ag"\s*,\s*(?:(?:QStringLiteral|QString|QVariant|QLatin1String)\s*\(\s*)?u?"?(\d+))re")),
        QRegularExpression(QStringLiteral(
            R"re(SetTag\s*\([^;]*,\s*(?:(?:QStringLiteral|QString|QVariant|QLatin1String)\s*\(\s*)?u?"?(\d+)"?(?:_qs)?\s*\)?\s*\))re")),
    };
    std::map<int, QString> ids;
    const char *folders[] = {"core", "store", "recorder", "timelog", "expenses", "sync", "options_help"};
    for (const char *folder : folders) {
        QDirIterator it(QStringLiteral(TARV_SOURCE_DIR "/") + folder,
                        {QStringLiteral("*.cpp"), QStringLiteral("*.h")}, QDir::Files,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            QFile f(path);
            if (!f.open(QIODevice::ReadOnly))
                continue;
            const QString source = QString::fromUtf8(f.readAll());
            for (const auto &re : patterns) {
                for (auto m = re.globalMatch(source); m.hasNext();) {
                    bool ok = false;
                    const int id = m.next().captured(1).toInt(&ok);
                    if (ok && id <= 32767)
                        ids.emplace(id, path.mid(int(sizeof(TARV_SOURCE_DIR))));
                }
            }
        }
    }
    return ids;
}

} // namespace

TEST(ShippedTable, IsWellFormedAndHasEveryIdTheCodeUses)
{
    QFile file(kShipped);
    if (!file.exists())
        GTEST_SKIP() << "no " << kShipped.toStdString() << " yet";
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();

    // UTF-16 with a byte-order mark, and nothing that does not decode.
    ASSERT_GE(bytes.size(), 2);
    const bool le = bytes.startsWith("\xFF\xFE"), be = bytes.startsWith("\xFE\xFF");
    ASSERT_TRUE(le || be) << "the file has no UTF-16 byte-order mark";
    ASSERT_EQ(bytes.size() % 2, 0) << "odd byte count";
    QStringDecoder decode(le ? QStringConverter::Utf16LE : QStringConverter::Utf16BE);
    const QString text = decode(bytes);
    ASSERT_FALSE(decode.hasError()) << "the file does not decode as UTF-16";

    // The file is nothing but rows "<id;en;el;fr;de;id>" with line breaks or spaces between.
    static const QRegularExpression rowRe(
        QStringLiteral(R"re(<(\d+);([^;]*);([^;]*);([^;]*);([^;]*);(\d+)>)re"));
    std::vector<Row> rows;
    qsizetype pos = 0;
    for (auto it = rowRe.globalMatch(text); it.hasNext();) {
        const auto m = it.next();
        const QString gap = text.mid(pos, m.capturedStart() - pos);
        EXPECT_TRUE(gap.trimmed().isEmpty())
            << "not a row, before row " << m.captured(1).toStdString() << ": "
            << gap.trimmed().left(80).toStdString();
        pos = m.capturedEnd();
        EXPECT_EQ(m.captured(1), m.captured(6)) << "row's two ids differ";
        Row r;
        r.id = m.captured(1).toInt();
        for (int i = 0; i < 4; ++i)
            r.texts[i] = m.captured(i + 2);
        rows.push_back(r);
    }
    EXPECT_TRUE(text.mid(pos).trimmed().isEmpty())
        << "not a row at the end: " << text.mid(pos).trimmed().left(80).toStdString();
    ASSERT_FALSE(rows.empty());

    std::set<int> seen;
    for (size_t i = 0; i < rows.size(); ++i) {
        EXPECT_LE(rows[i].id, 32767) << "id does not fit the lookup";
        EXPECT_TRUE(seen.insert(rows[i].id).second) << "duplicate id " << rows[i].id;
        if (i > 0) {
            EXPECT_LT(rows[i - 1].id, rows[i].id) << "ids not ascending at " << rows[i].id;
        }
    }

    // Every row reads back through the lookup as written: this catches a text holding another
    // row's start or its own end marker, which a pattern alone would not.
    const QString savedText = LangTableText;
    const int16_t savedLang = LangID;
    LangTableText = text;
    for (const Row &r : rows) {
        for (int16_t lang = 0; lang < 4; ++lang) {
            LangID = lang;
            QString expected = r.texts[lang].trimmed().isEmpty() ? r.texts[0] : r.texts[lang];
            expected = expected.trimmed().replace(QLatin1Char('~'), QLatin1Char(' '));
            EXPECT_EQ(GetLangString(int16_t(r.id), true), expected)
                << "row " << r.id << " language " << lang;
        }
    }
    LangTableText = savedText;
    LangID = savedLang;

    std::map<int, const Row *> byId;
    for (const Row &r : rows)
        byId.emplace(r.id, &r);
    for (const auto &[id, where] : IdsUsedInCode()) {
        const auto found = byId.find(id);
        if (found == byId.end()) {
            ADD_FAILURE() << "string " << id << " (used in " << where.toStdString() << ") has no row";
            continue;
        }
        for (int lang = 0; lang < 4; ++lang)
            EXPECT_FALSE(found->second->texts[lang].trimmed().isEmpty())
                << "string " << id << " (used in " << where.toStdString() << ") has no text in language "
                << lang;
    }
}
