// The arrows between the folders (ARCHITECTURE.md): every include of the source tree and every
// use of the open database in the window folders, read from the files themselves. A failure
// names the file, the line and the arrow that must not exist.
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>
#include <QStringList>
#include <QTextStream>

#include <gtest/gtest.h>

#include <iostream>

namespace {

const QString kRoot = QStringLiteral(TARV_SOURCE_DIR);
const QStringList kWindowFolders = {"recorder", "timelog", "expenses", "sync", "options_help"};
// Our folders above platform/ (resources/ holds only the pictures, beside platform/).
const QStringList kAbovePlatform = {"core", "store", "recorder", "timelog", "expenses", "sync", "options_help", "app"};
// The frame of core/: every window of core/ and what opens and closes them. The rest of core/
// is its services, which know no window. The patterns are the ones core/CMakeLists.txt splits
// the library by ("set(frame_patterns ...)"), read from there so that the two never differ.
QStringList FramePatterns()
{
    static const QStringList patterns = [] {
        QFile f(QStringLiteral(TARV_SOURCE_DIR "/core/CMakeLists.txt"));
        if (!f.open(QIODevice::ReadOnly | QIODevice::Text))
            return QStringList();
        static const QRegularExpression set(QStringLiteral(R"re(set\(frame_patterns\s+([^)]*)\))re"));
        const auto m = set.match(QString::fromUtf8(f.readAll()));
        return m.hasMatch() ? m.captured(1).simplified().split(u' ') : QStringList();
    }();
    return patterns;
}

struct Source {
    QString path;          // relative to the source root, e.g. "core/modHttp.cpp"
    QString folder;        // "core", "platform", ...
    QStringList lines;     // the text with comments and string literals blanked
    QStringList includes;  // the quoted includes, in order
    QList<int> includeLines;
};

// Blanks comments and the contents of string and character literals, keeping the lines, so
// that a word in a comment or a text is not taken for code. The quoted includes are read
// before that.
QString StripCode(const QString &text)
{
    QString out;
    out.reserve(text.size());
    enum { Code, Line, Block, Str, Chr } state = Code;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        const QChar n = i + 1 < text.size() ? text[i + 1] : QChar();
        switch (state) {
        case Code:
            if (c == u'/' && n == u'/') {
                state = Line;
                out += u' ';
            } else if (c == u'/' && n == u'*') {
                state = Block;
                out += u' ';
            } else if (c == u'"') {
                state = Str;
                out += c;
            } else if (c == u'\'') {
                state = Chr;
                out += c;
            } else {
                out += c;
            }
            break;
        case Line:
            if (c == u'\n') {
                state = Code;
                out += c;
            }
            break;
        case Block:
            if (c == u'*' && n == u'/') {
                state = Code;
                ++i;
            } else if (c == u'\n') {
                out += c;
            }
            break;
        case Str:
        case Chr:
            if (c == u'\\') {
                ++i;
            } else if ((state == Str && c == u'"') || (state == Chr && c == u'\'')) {
                state = Code;
                out += c;
            } else if (c == u'\n') {
                out += c;
            }
            break;
        }
    }
    return out;
}

QList<Source> ReadSources()
{
    static const QRegularExpression include(QStringLiteral(R"re(^\s*#\s*include\s*"([^"]+)")re"));
    QList<Source> sources;
    const QStringList folders = kAbovePlatform + QStringList{"platform"};
    for (const QString &folder : folders) {
        QDirIterator it(kRoot + u'/' + folder, {"*.cpp", "*.h"}, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString file = it.next();
            QFile f(file);
            if (!f.open(QIODevice::ReadOnly | QIODevice::Text))
                continue;
            const QString text = QString::fromUtf8(f.readAll());
            Source s;
            s.path = QDir(kRoot).relativeFilePath(file);
            s.folder = folder;
            const QStringList raw = text.split(u'\n');
            for (int k = 0; k < raw.size(); ++k) {
                const auto m = include.match(raw[k]);
                if (m.hasMatch()) {
                    s.includes << m.captured(1);
                    s.includeLines << k + 1;
                }
            }
            s.lines = StripCode(text).split(u'\n');
            sources << s;
        }
    }
    return sources;
}

bool InFrame(const QString &path)
{
    if (!path.startsWith(QStringLiteral("core/")))
        return false;
    const QString name = QFileInfo(path).fileName();
    for (const QString &pattern : FramePatterns())
        if (QRegularExpression(QRegularExpression::wildcardToRegularExpression(pattern)).match(name).hasMatch())
            return true;
    return false;
}

QString TopFolder(const QString &include)
{
    return include.section(u'/', 0, 0);
}

bool IsWindowHeader(const QString &include)
{
    return QFileInfo(include).fileName().startsWith(QStringLiteral("frm"));
}

// Every forbidden arrow of one kind, as "file:line: what".
using Offences = QStringList;

Offences IncludesWhere(const QList<Source> &sources, const std::function<bool(const Source &)> &from,
                       const std::function<QString(const Source &, const QString &)> &forbidden)
{
    Offences out;
    for (const Source &s : sources) {
        if (!from(s))
            continue;
        for (int k = 0; k < s.includes.size(); ++k) {
            const QString why = forbidden(s, s.includes[k]);
            if (!why.isEmpty())
                out << QStringLiteral("%1:%2: includes \"%3\": %4").arg(s.path).arg(s.includeLines[k]).arg(s.includes[k], why);
        }
    }
    return out;
}

std::string Report(const Offences &o)
{
    return o.join(u'\n').toStdString();
}

class ArrowsTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { s_sources = new QList<Source>(ReadSources()); }
    static void TearDownTestSuite()
    {
        delete s_sources;
        s_sources = nullptr;
    }
    const QList<Source> &Sources() const { return *s_sources; }
    static inline QList<Source> *s_sources = nullptr;
};

TEST_F(ArrowsTest, TheTreeIsRead)
{
    // A test that found no files would prove nothing.
    QSet<QString> seen;
    for (const Source &s : Sources())
        seen.insert(s.path);
    for (const char *file : {"core/modHttp.cpp", "store/CreateDB.cpp", "platform/dao/dao.h", "recorder/frmStart.h"})
        EXPECT_TRUE(seen.contains(QString::fromLatin1(file))) << file;
    EXPECT_FALSE(FramePatterns().isEmpty()) << "core/CMakeLists.txt names no frame_patterns";
    EXPECT_TRUE(InFrame("core/frmMain_Synch.cpp"));
    EXPECT_TRUE(InFrame("core/StartUp.cpp"));
    EXPECT_FALSE(InFrame("core/modHttp.cpp"));
    EXPECT_FALSE(InFrame("core/ServiceRequests.cpp"));
    EXPECT_EQ(StripCode("a // DB\nb /* DB */ \"DB\" c"), QString("a  \nb   \"\" c"));
}

TEST_F(ArrowsTest, PlatformIncludesNothingOfOursAboveIt)
{
    const Offences o = IncludesWhere(
        Sources(), [](const Source &s) { return s.folder == "platform"; },
        [](const Source &, const QString &inc) {
            return kAbovePlatform.contains(TopFolder(inc)) ? QStringLiteral("platform/ is the bottom layer") : QString();
        });
    EXPECT_TRUE(o.isEmpty()) << Report(o);
}

TEST_F(ArrowsTest, TheStoreAndTheServicesIncludeNoWindow)
{
    const Offences o = IncludesWhere(
        Sources(),
        [](const Source &s) { return s.folder == "store" || (s.folder == "core" && !InFrame(s.path)); },
        [](const Source &, const QString &inc) {
            if (IsWindowHeader(inc))
                return QStringLiteral("a window header; hand in a modMain::Progress or call back through a function");
            if (kWindowFolders.contains(TopFolder(inc)) || TopFolder(inc) == "app")
                return QStringLiteral("a folder above the store and the services");
            if (InFrame(inc))
                return QStringLiteral("the frame of core/");
            return QString();
        });
    EXPECT_TRUE(o.isEmpty()) << Report(o);
}

TEST_F(ArrowsTest, AWindowFolderIncludesOnlyThePublicHeadersOfAnother)
{
    const Offences o = IncludesWhere(
        Sources(), [](const Source &s) { return kWindowFolders.contains(s.folder); },
        [](const Source &s, const QString &inc) {
            const QString top = TopFolder(inc);
            if (kWindowFolders.contains(top) && top != s.folder && !IsWindowHeader(inc))
                return QStringLiteral("a private header of %1/; ask through its frm*.h or the frame").arg(top);
            return QString();
        });
    EXPECT_TRUE(o.isEmpty()) << Report(o);
}

// The window files that still reach the database today, each to be fixed and then taken off
// the list; a file not on it must never reach the database.
QSet<QString> AllowedDatabaseUsers()
{
    QSet<QString> allowed;
    QFile f(QStringLiteral(TARV_SOURCE_DIR "/tests/arrows/window_database_allowed.txt"));
    if (f.open(QIODevice::ReadOnly | QIODevice::Text)) {
        QTextStream in(&f);
        while (!in.atEnd()) {
            const QString line = in.readLine().trimmed();
            if (!line.isEmpty() && !line.startsWith(u'#'))
                allowed.insert(line);
        }
    }
    return allowed;
}

TEST_F(ArrowsTest, AWindowReachesTheDatabaseOnlyThroughTheStore)
{
    static const QRegularExpression database(QStringLiteral(R"((?<![\w.>])(DB\b|OpenRecordset\b|dao::))"));
    QMap<QString, QStringList> reaching;   // file -> what it does
    for (const Source &s : Sources()) {
        if (!kWindowFolders.contains(s.folder))
            continue;
        for (int k = 0; k < s.includes.size(); ++k)
            if (s.includes[k].startsWith(QStringLiteral("platform/dao/")))
                reaching[s.path] << QStringLiteral("%1:%2: includes \"%3\"").arg(s.path).arg(s.includeLines[k]).arg(s.includes[k]);
        for (int k = 0; k < s.lines.size(); ++k) {
            const auto m = database.match(s.lines[k]);
            if (m.hasMatch())
                reaching[s.path] << QStringLiteral("%1:%2: uses %3").arg(s.path).arg(k + 1).arg(m.captured(1));
        }
    }

    const QSet<QString> allowed = AllowedDatabaseUsers();
    Offences forbidden, known;
    for (auto it = reaching.cbegin(); it != reaching.cend(); ++it)
        (allowed.contains(it.key()) ? known : forbidden) << it.value();
    if (!known.isEmpty())
        std::cout << "Known window files that still reach the database (to be moved to store/):\n"
                  << Report(known) << "\n";
    EXPECT_TRUE(forbidden.isEmpty()) << "windows reach the database only through store/ (modDBchr):\n"
                                     << Report(forbidden);
    for (const QString &file : allowed)
        EXPECT_TRUE(reaching.contains(file))
            << file.toStdString()
            << " no longer reaches the database: delete its line from tests/arrows/window_database_allowed.txt";
}

} // namespace
