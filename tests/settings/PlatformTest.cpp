// The settings file, the autostart entry and the language id, on their own.
#include "platform/registry/Registry.h"
#include "platform/shell/Shell.h"
#include "platform/system/LangId.h"
#include "tests/support/TestEnv.h"

#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QUrl>
#include <gtest/gtest.h>

// Catches what the desktop would be asked to open.
class UrlCatcher : public QObject {
    Q_OBJECT
public:
    QList<QUrl> opened;
public slots:
    void Open(const QUrl &url) { opened << url; }
};

namespace {

class RegistryTest : public ::testing::Test {
protected:
    void SetUp() override { UseConfigHome(testenv::MakeTempDir("config")); }
    void UseConfigHome(const QString &dir) { qputenv("XDG_CONFIG_HOME", dir.toUtf8()); }
};

TEST_F(RegistryTest, FileLivesInTheConfigFolderOfTheApplication)
{
    const QString dir = testenv::MakeTempDir("cfg");
    UseConfigHome(dir);
    EXPECT_EQ(registry::SettingsFilePath("Tarv"), dir + "/Tarv/Tarv.ini");
    registry::SaveSetting("Tarv", "tarv", "timeout", "15");
    EXPECT_TRUE(QFile::exists(dir + "/Tarv/Tarv.ini"));
    EXPECT_EQ(registry::GetSetting("Tarv", "tarv", "timeout"), "15");
    EXPECT_EQ(registry::GetSetting("Tarv", "tarv", "vkey", "121"), "121");
    EXPECT_EQ(registry::GetSetting("Tarv", "TARV", "timeout"), "");
}

// Encrypted credentials may hold any character 0..255: every one of them, and the values the
// INI syntax gives a meaning to, must come back unchanged from a fresh read of the file.
TEST_F(RegistryTest, EveryByteSurvivesSaveAndLoad)
{
    QString all;
    for (int c = 0; c < 256; ++c)
        all += QChar(static_cast<char16_t>(c));
    QStringList values{all, " lead", "trail ", "@Variant(x)", "@", "a,b", "\"q\"", ";x", "#x",
                       "=", "\\", "[s]", "a\r\nb", ""};
    for (int c = 0; c < 256; ++c)
        values << QString(QChar(static_cast<char16_t>(c))) << QString(QChar(static_cast<char16_t>(c))) + "x";
    for (int i = 0; i < values.size(); ++i)
        registry::SaveSetting("Tarv", "user", "k" + QString::number(i), values[i]);

    // Read from a copy in another folder, so nothing can come from an in-memory cache.
    const QString copy = testenv::MakeTempDir("copy");
    ASSERT_TRUE(QDir().mkpath(copy + "/Tarv"));
    ASSERT_TRUE(QFile::copy(registry::SettingsFilePath("Tarv"), copy + "/Tarv/Tarv.ini"));
    UseConfigHome(copy);
    for (int i = 0; i < values.size(); ++i) {
        const QString back = registry::GetSetting("Tarv", "user", "k" + QString::number(i), "missing");
        EXPECT_EQ(back, values[i]) << "value " << i << ": " << values[i].toUtf8().toHex().constData();
    }
}

TEST_F(RegistryTest, DeleteKeyOrSection)
{
    registry::SaveSetting("Tarv", "7", "CheckTablesDate", "20240101");
    registry::SaveSetting("Tarv", "7", "other", "x");
    registry::SaveSetting("Tarv", "updates", "versionNew", "1.2.3");
    registry::DeleteSetting("Tarv", "7", "CheckTablesDate");
    EXPECT_EQ(registry::GetSetting("Tarv", "7", "CheckTablesDate", "0"), "0");
    EXPECT_EQ(registry::GetSetting("Tarv", "7", "other"), "x");
    registry::DeleteSetting("Tarv", "7");
    EXPECT_EQ(registry::GetSetting("Tarv", "7", "other", "gone"), "gone");
    EXPECT_EQ(registry::GetSetting("Tarv", "updates", "versionNew"), "1.2.3");
    EXPECT_NO_THROW(registry::DeleteSetting("Tarv", "none", "none"));
}

TEST_F(RegistryTest, UnwritableFileIsReported)
{
    // The application folder is taken by a plain file: nothing can be written under it.
    const QString dir = testenv::MakeTempDir("blocked");
    UseConfigHome(dir);
    QFile blocker(dir + "/Tarv");
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    EXPECT_THROW(registry::SaveSetting("Tarv", "user", "user", "x"), registry::RegistryError);
}

TEST(LangId, LocaleNamesGiveWindowsLanguageIds)
{
    struct Case { const char *locale; uint16_t id; };
    const Case cases[] = {
        {"el_GR.UTF-8", 1032}, {"fr_FR.UTF-8", 1036}, {"de_DE@euro", 1031}, {"de_CH.UTF-8", 2055},
        {"en_US.UTF-8", 1033}, {"en_GB", 2057}, {"fr_CA", 3084}, {"de_AT", 3079}, {"de", 1031},
        {"el", 1032}, {"C", 1033}, {"POSIX", 1033}, {"C.UTF-8", 1033}, {"", 1033},
        {"de_BE", 4096}, {"xx_YY", 4096},
    };
    for (const Case &c : cases)
        EXPECT_EQ(sysplat::LangIdOfLocale(c.locale), c.id) << c.locale;
}

TEST(LangId, MessagesLocaleFollowsThePosixOrder)
{
    qputenv("LC_ALL", "");
    qputenv("LC_MESSAGES", "");
    qputenv("LANG", "fr_FR.UTF-8");
    EXPECT_EQ(sysplat::UserDefaultLangID(), 1036);
    qputenv("LC_MESSAGES", "el_GR.UTF-8");
    EXPECT_EQ(sysplat::UserDefaultLangID(), 1032);
    qputenv("LC_ALL", "de_DE.UTF-8");
    EXPECT_EQ(sysplat::UserDefaultLangID(), 1031);
    qunsetenv("LC_ALL");
    qunsetenv("LC_MESSAGES");
    qunsetenv("LANG");
    EXPECT_EQ(sysplat::UserDefaultLangID(), 1033);
}

TEST(ShellExecute, FilesAndAddressesGoToTheDesktopAsUrls)
{
    UrlCatcher catcher;
    for (const char *scheme : {"file", "https", "mailto"})
        QDesktopServices::setUrlHandler(scheme, &catcher, "Open");
    const QString dir = testenv::MakeTempDir("help pages");
    QFile page(dir + "/hlp_index.htm");
    ASSERT_TRUE(page.open(QIODevice::WriteOnly));
    page.close();

    EXPECT_TRUE(shell::ShellExecute(dir + "/hlp_index.htm"));
    EXPECT_TRUE(shell::ShellExecute("https://example.org/web/action.do?tile=supp_3downloads"));
    EXPECT_TRUE(shell::ShellExecute("mailto:someone@example.org"));
    EXPECT_FALSE(shell::ShellExecute(""));
    ASSERT_EQ(catcher.opened.size(), 3);
    EXPECT_EQ(catcher.opened[0], QUrl::fromLocalFile(dir + "/hlp_index.htm"));
    EXPECT_EQ(catcher.opened[1].toString(), "https://example.org/web/action.do?tile=supp_3downloads");
    EXPECT_EQ(catcher.opened[2].scheme(), "mailto");
    for (const char *scheme : {"file", "https", "mailto"})
        QDesktopServices::unsetUrlHandler(scheme);
}

} // namespace

#include "PlatformTest.moc"
