// Profile rows of tblUsers and the highest id of a table, on a real database file.
#include "tests/store_queries/StoreFixture.h"

#include "platform/shell/Shell.h"

#include <QFile>

namespace {

using modMain::CurrentUserID;
using storetest::StoreFixture;

class Users : public StoreFixture {
protected:
    void SetUp() override
    {
        StoreFixture::SetUp();
        modMain::PCUserName = QStringLiteral("o'neil");
        modMain::StoredUserName = QStringLiteral("enc'user");
        modMain::StoredPassword = QStringLiteral("p'w\"d");
        modMain::UserFullName = QStringLiteral("Ann O'Neil");
        modMain::LangID = 2;
        modMain::WorkDayStart = 8 * 3600;
        modMain::WorkDayEnd = 16 * 3600 + 30 * 60;
        modMain::AutoStart = 0;
        modMain::AutoSynch = 1;
        modMain::AutoCheck = 0;
        modMain::ShowBalloons = 1;
        modMain::HotKeyCode = 121;
        modMain::HotKeyMask = 2;
        modMain::TimeOut = 25;
    }

    static void AddUser(int id, const QString &logon)
    {
        Exec(QStringLiteral("INSERT INTO tblUsers VALUES (?, ?, 'u', 'p', 'Full', 0, 32400, 61200, 1, 1, 1, 1, "
                            "'121', '2', 15)"),
             {id, logon});
    }
};

TEST_F(Users, CreateUserStoresTheProfileAsTypedApostrophesIncludedAndLoadsItBack)
{
    const int16_t id = modDBchr::CreateUser();
    ASSERT_EQ(id, 1);
    EXPECT_EQ(Count(QStringLiteral("SELECT * FROM tblUsers")), 1);
    EXPECT_EQ(Scalar(QStringLiteral("SELECT cKey FROM tblUsers")).toString(), QStringLiteral("121"));
    EXPECT_EQ(Scalar(QStringLiteral("SELECT cMask FROM tblUsers")).toString(), QStringLiteral("2"));
    // The desktop entry that starts the program is made whatever AutoStart holds.
    EXPECT_TRUE(QFile::exists(shell::AutostartEntryPath(QStringLiteral("Tarvelo Desktop"))));

    EXPECT_EQ(modDBchr::GetUserID(QStringLiteral("o'neil")), 1);

    // Another run's values in the profile; loading brings the stored ones back.
    modMain::StoredUserName = modMain::StoredPassword = modMain::UserFullName = QStringLiteral("x");
    modMain::LangID = 0;
    modMain::WorkDayStart = modMain::WorkDayEnd = 0;
    modMain::AutoStart = modMain::AutoSynch = modMain::AutoCheck = modMain::ShowBalloons = 9;
    modMain::HotKeyCode = modMain::HotKeyMask = modMain::TimeOut = 0;
    CurrentUserID = -1;
    ASSERT_EQ(modDBchr::LoadUserSettings(QStringLiteral("o'neil")), 1);
    EXPECT_EQ(CurrentUserID, 1);
    EXPECT_EQ(modMain::PCUserName, QStringLiteral("o'neil"));
    EXPECT_EQ(modMain::StoredUserName, QStringLiteral("enc'user"));
    EXPECT_EQ(modMain::StoredPassword, QStringLiteral("p'w\"d"));
    EXPECT_EQ(modMain::UserFullName, QStringLiteral("Ann O'Neil"));
    EXPECT_EQ(modMain::LangID, 2);
    EXPECT_EQ(modMain::WorkDayStart, 8 * 3600);
    EXPECT_EQ(modMain::WorkDayEnd, 16 * 3600 + 30 * 60);
    EXPECT_EQ(modMain::AutoStart, 0);
    EXPECT_EQ(modMain::AutoSynch, 1);
    EXPECT_EQ(modMain::AutoCheck, 0);
    EXPECT_EQ(modMain::ShowBalloons, 1);
    EXPECT_EQ(modMain::HotKeyCode, 121);
    EXPECT_EQ(modMain::HotKeyMask, 2);
    EXPECT_EQ(modMain::TimeOut, 25);
}

TEST_F(Users, AnUnknownLogonNameFindsNothingAndLeavesTheProfileAlone)
{
    AddUser(1, QStringLiteral("ann"));
    CurrentUserID = 7;
    modMain::UserFullName = QStringLiteral("kept");
    for (const QString &name : {QStringLiteral("bob"), QStringLiteral("ann' OR '1'='1"), QString()}) {
        EXPECT_EQ(modDBchr::GetUserID(name), -1) << name.toStdString();
        EXPECT_EQ(modDBchr::LoadUserSettings(name), -1) << name.toStdString();
    }
    EXPECT_EQ(CurrentUserID, 7);
    EXPECT_EQ(modMain::UserFullName, QStringLiteral("kept"));
}

TEST_F(Users, NewIdsFollowTheHighestOneAndStopAtTheLastSixteenBitId)
{
    AddUser(1, QStringLiteral("a"));
    AddUser(2, QStringLiteral("b"));
    AddUser(5, QStringLiteral("c"));
    EXPECT_EQ(modDBchr::CreateUser(), 6);

    AddUser(32767, QStringLiteral("last"));
    modMain::PCUserName = QStringLiteral("one more");
    EXPECT_EQ(modDBchr::CreateUser(), -1);
    EXPECT_EQ(Count(QStringLiteral("SELECT * FROM tblUsers")), 5);
    EXPECT_EQ(modDBchr::GetUserID(QStringLiteral("one more")), -1);
}

TEST_F(Users, AnEmptyFullNameStillMakesAProfile)
{
    // The service may answer with a name that trims to nothing.
    modMain::UserFullName.clear();
    ASSERT_EQ(modDBchr::CreateUser(), 1);
    modMain::UserFullName = QStringLiteral("x");
    ASSERT_EQ(modDBchr::LoadUserSettings(QStringLiteral("o'neil")), 1);
    EXPECT_EQ(modMain::UserFullName, QString());
}

TEST_F(Users, WithoutADatabaseEveryCallGivesItsDefault)
{
    modMain::DB->Close();
    EXPECT_EQ(modDBchr::GetUserID(QStringLiteral("ann")), -1);
    EXPECT_EQ(modDBchr::LoadUserSettings(QStringLiteral("ann")), -1);
    EXPECT_EQ(modDBchr::CreateUser(), -1);
    EXPECT_EQ(modDBchr::CountCategs(), 0);
    EXPECT_EQ(modDBchr::GetLastID(), 0);
}

TEST_F(Users, CountCategsCountsOnlyTheCurrentUsersCategories)
{
    EXPECT_EQ(modDBchr::CountCategs(), 0);
    for (int i = 0; i < 7; ++i)
        Exec(QStringLiteral("INSERT INTO tblCategs VALUES (?, 1, 'c', 0)"), {100 + i});
    for (int i = 0; i < 3; ++i)
        Exec(QStringLiteral("INSERT INTO tblCategs VALUES (?, 2, 'c', 0)"), {100 + i});
    EXPECT_EQ(modDBchr::CountCategs(), 7);
    CurrentUserID = 2;
    EXPECT_EQ(modDBchr::CountCategs(), 3);
}

TEST_F(Users, GetLastIDIsTheHighestIdOverAllUsers)
{
    EXPECT_EQ(modDBchr::GetLastID(), 0);
    EXPECT_EQ(modDBchr::GetLastID(QStringLiteral("tblDailyExp")), 0);
    AddDaily(1, 1, 20240105);
    AddDaily(2, 1, 20240105);
    AddDaily(7, 2, 20240105);
    EXPECT_EQ(modDBchr::GetLastID(), 7);
    EXPECT_EQ(modDBchr::GetLastID(QStringLiteral("tblDaily"), QStringLiteral("cID")), 7);
    AddExp(12, 2, 20240105);
    AddExp(3, 1, 20240105);
    EXPECT_EQ(modDBchr::GetLastID(QStringLiteral("tblDailyExp")), 12);
    AddUser(4, QStringLiteral("d"));
    EXPECT_EQ(modDBchr::GetLastID(QStringLiteral("tblUsers"), QStringLiteral("cUsrID")), 4);
    // A table or column that does not exist reads as empty.
    EXPECT_EQ(modDBchr::GetLastID(QStringLiteral("tblNone")), 0);
}

} // namespace
