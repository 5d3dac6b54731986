// The profile's load, save and defaults, the default language and the autostart entry.
#include "core/CCrypto.h"
#include "core/modHttp.h"
#include "core/modMain.h"
#include "platform/registry/Registry.h"
#include "platform/shell/Shell.h"
#include "tests/support/TestEnv.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

using namespace modMain;

namespace {

QString Stored(const QString &section, const QString &key)
{
    return registry::GetSetting("Tarv", section, key, "<missing>");
}

void Store(const QString &section, const QString &key, const QString &value)
{
    registry::SaveSetting("Tarv", section, key, value);
}

class SettingsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_config = testenv::MakeTempDir("config");
        qputenv("XDG_CONFIG_HOME", m_config.toUtf8());
        qputenv("LC_ALL", "en_US.UTF-8");
        if (!Crypto)
            Crypto = std::make_unique<CCrypto>();
        ResetProfile();
    }
    // Values no load or default would give, so that every assignment shows.
    static void ResetProfile()
    {
        StoredUserName = StoredPassword = PCUserName = UserFullName = "stale";
        UserNameURL = PasswordURL = "staleURL";
        LangID = 2;
        WorkDayStart = WorkDayEnd = 1;
        AutoStart = AutoSynch = AutoCheck = ShowBalloons = 7;
        TimeOut = HotKeyCode = HotKeyMask = 7;
    }
    QString m_config;
};

TEST_F(SettingsTest, EmptyStoreGivesTheDefaults)
{
    qputenv("LC_ALL", "el_GR.UTF-8");
    LoadSettings();
    EXPECT_EQ(StoredUserName, "");
    EXPECT_EQ(StoredPassword, "");
    EXPECT_EQ(UserNameURL, "staleURL");   // an empty stored value leaves its URL text alone
    EXPECT_EQ(PasswordURL, "staleURL");
    EXPECT_EQ(PCUserName, "");
    EXPECT_EQ(UserFullName, "");
    EXPECT_EQ(LangID, 1);                 // from the desktop's language
    EXPECT_EQ(WorkDayStart, 32400);
    EXPECT_EQ(WorkDayEnd, 61200);
    EXPECT_EQ(AutoStart, 1);
    EXPECT_EQ(AutoCheck, 1);
    EXPECT_EQ(AutoSynch, 1);
    EXPECT_EQ(ShowBalloons, 1);
    EXPECT_EQ(TimeOut, 15);
    EXPECT_EQ(HotKeyCode, 121);
    EXPECT_EQ(HotKeyMask, 2);
}

TEST_F(SettingsTest, StoredLanguageWinsOnlyWhenNotEmpty)
{
    struct Case { const char *stored; const char *locale; int16_t lang; };
    const Case cases[] = {
        {"0", "de_DE.UTF-8", 0},      // English chosen: not replaced by the desktop's German
        {"3", "el_GR.UTF-8", 3},
        {"", "de_DE.UTF-8", 3},
        {"", "fr_FR.UTF-8", 2},
        {"", "de_CH.UTF-8", 0},       // Swiss German is not one of the three ids
        {"", "en_US.UTF-8", 0},
        {"-1", "fr_FR.UTF-8", 2},     // no such language: the desktop's
        {"deux", "fr_FR.UTF-8", 2},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string(c.stored) + " " + c.locale);
        Store("user", "langid", c.stored);
        qputenv("LC_ALL", c.locale);
        LangID = 9;
        LoadSettings();
        EXPECT_EQ(LangID, c.lang);
    }
}

TEST_F(SettingsTest, StartTimeRoundTripsAsText)
{
    Store("org", "timestart", "08:30:00");
    LoadSettings();
    EXPECT_EQ(WorkDayStart, 30600);
    EXPECT_EQ(WorkDayEnd, 61200);
    SaveSettings();
    EXPECT_EQ(Stored("org", "timestart"), "08:30:00");
    EXPECT_EQ(Stored("org", "timeend"), "17:00:00");
}

TEST_F(SettingsTest, SaveWritesTheFourteenKeysAndLoadReadsThemBack)
{
    StoredUserName = Crypto->Encrypt("jsmith", CryptoPassPhrase, false, CCrypto::TypeRC2);
    StoredPassword = Crypto->Encrypt(QStringLiteral("p@ss wörd"), CryptoPassPhrase, false, CCrypto::TypeRC2);
    PCUserName = "jane";
    UserFullName = QStringLiteral("Jane Smith-Παπαδοπούλου");
    LangID = 3;
    WorkDayStart = 27000;
    WorkDayEnd = 64800;
    AutoStart = 0;
    AutoCheck = 1;
    AutoSynch = 0;
    ShowBalloons = 0;
    TimeOut = 30;
    HotKeyCode = 112;
    HotKeyMask = 5;
    UserNameURL = PasswordURL = "never written";
    SaveSettings();

    const struct { const char *section, *key, *value; } plain[] = {
        {"user", "pcuser", "jane"}, {"user", "langid", "3"}, {"org", "timestart", "07:30:00"},
        {"org", "timeend", "18:00:00"}, {"tarv", "autostart", "0"}, {"tarv", "autocheck", "1"},
        {"tarv", "autosynch", "0"}, {"tarv", "showballoons", "0"}, {"tarv", "timeout", "30"},
        {"tarv", "vkey", "112"}, {"tarv", "vmask", "5"},
    };
    for (const auto &p : plain)
        EXPECT_EQ(Stored(p.section, p.key), p.value) << p.section << "/" << p.key;
    EXPECT_EQ(Stored("user", "user"), StoredUserName);
    EXPECT_EQ(Stored("user", "passw"), StoredPassword);
    EXPECT_EQ(Stored("user", "fullname"), UserFullName);
    QFile file(registry::SettingsFilePath("Tarv"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_FALSE(file.readAll().contains("never written"));

    const QString user = StoredUserName, pass = StoredPassword, full = UserFullName;
    ResetProfile();
    LoadSettings();
    EXPECT_EQ(StoredUserName, user);
    EXPECT_EQ(StoredPassword, pass);
    EXPECT_EQ(UserNameURL, "jsmith");
    EXPECT_EQ(PasswordURL, "p%40ss+w%F6rd");
    EXPECT_EQ(PCUserName, "jane");
    EXPECT_EQ(UserFullName, full);
    EXPECT_EQ(LangID, 3);
    EXPECT_EQ(WorkDayStart, 27000);
    EXPECT_EQ(WorkDayEnd, 64800);
    EXPECT_EQ(AutoStart, 0);
    EXPECT_EQ(AutoCheck, 1);
    EXPECT_EQ(AutoSynch, 0);
    EXPECT_EQ(ShowBalloons, 0);
    EXPECT_EQ(TimeOut, 30);
    EXPECT_EQ(HotKeyCode, 112);
    EXPECT_EQ(HotKeyMask, 5);
}

// A hand-edited file: a value that is not a number takes its default, and the keys after it
// are still read.
TEST_F(SettingsTest, UnreadableNumbersTakeTheirDefaultsAndLoadingGoesOn)
{
    Store("org", "timestart", "nine");
    Store("org", "timeend", "18:15:00");
    Store("tarv", "autostart", "");
    Store("tarv", "autocheck", "0");
    Store("tarv", "timeout", "abc");
    Store("tarv", "vkey", "99999");
    Store("tarv", "vmask", " 4 ");
    LoadSettings();
    EXPECT_EQ(WorkDayStart, 32400);
    EXPECT_EQ(WorkDayEnd, 65700);
    EXPECT_EQ(AutoStart, 1);
    EXPECT_EQ(AutoCheck, 0);
    EXPECT_EQ(TimeOut, 15);
    EXPECT_EQ(HotKeyCode, 121);
    EXPECT_EQ(HotKeyMask, 4);
}

TEST_F(SettingsTest, DefaultsOfANewProfileLeaveLanguageAndCredentials)
{
    SetDefaultSettings();
    EXPECT_EQ(WorkDayStart, 32400);
    EXPECT_EQ(WorkDayEnd, 61200);
    EXPECT_EQ(AutoStart + AutoSynch + AutoCheck + ShowBalloons, 4);
    EXPECT_EQ(HotKeyCode, 121);
    EXPECT_EQ(HotKeyMask, 2);
    EXPECT_EQ(TimeOut, 15);
    EXPECT_EQ(LangID, 2);
    EXPECT_EQ(StoredUserName, "stale");
}

TEST_F(SettingsTest, SaveReportsAnUnwritableFile)
{
    QFile blocker(m_config + "/Tarv");
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    EXPECT_THROW(SaveSettings(), registry::RegistryError);
}

class StartupEntryTest : public SettingsTest {
protected:
    void SetUp() override
    {
        SettingsTest::SetUp();
        // A program folder whose name needs quoting on the Exec line.
        m_program = testenv::MakeTempDir("prog dir 100%");
        qputenv("TARV_PROGRAM_DIR", m_program.toUtf8());
        m_entry = m_config + "/autostart/Tarvelo Desktop.desktop";
    }
    void TearDown() override { qunsetenv("TARV_PROGRAM_DIR"); }
    QString EntryText()
    {
        QFile f(m_entry);
        return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
    }
    QString m_program;
    QString m_entry;
};

TEST_F(StartupEntryTest, CreatedAndRemoved)
{
    AutoStart = 1;
    SetStartupShortcut(true);
    ASSERT_TRUE(QFile::exists(m_entry));
    QString escaped = m_program;
    escaped.replace("%", "%%");
    const QString text = EntryText();
    EXPECT_TRUE(text.startsWith("[Desktop Entry]\n"));
    EXPECT_TRUE(text.contains("\nType=Application\n"));
    EXPECT_TRUE(text.contains("\nExec=\"" + escaped + "/TarveloPC\"\n")) << text.toStdString();
    EXPECT_TRUE(text.contains("\nPath=" + m_program + "\n")) << text.toStdString();
    EXPECT_EQ(AutoStart, 1);

    SetStartupShortcut(true);             // an existing entry is overwritten
    EXPECT_EQ(EntryText(), text);

    SetStartupShortcut(false);
    EXPECT_FALSE(QFile::exists(m_entry));
    EXPECT_EQ(AutoStart, 0);
    AutoStart = 1;
    EXPECT_NO_THROW(SetStartupShortcut(false));   // nothing left to remove: no error
    EXPECT_EQ(AutoStart, 0);
}

TEST_F(StartupEntryTest, FailuresReachTheCallerAndOffStaysOff)
{
    // Something that is not a file stands where the entry goes: it cannot be removed.
    ASSERT_TRUE(QDir().mkpath(m_entry + "/inside"));
    AutoStart = 1;
    EXPECT_THROW(SetStartupShortcut(false), shell::ShellError);
    EXPECT_EQ(AutoStart, 0);
    EXPECT_THROW(SetStartupShortcut(true), shell::ShellError);

    // No autostart folder can be made.
    const QString other = testenv::MakeTempDir("config2");
    qputenv("XDG_CONFIG_HOME", other.toUtf8());
    QFile blocker(other + "/autostart");
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    EXPECT_THROW(SetStartupShortcut(true), shell::ShellError);
}

} // namespace
