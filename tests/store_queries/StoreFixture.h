#pragma once
// A real encrypted database made by CreateDB in a folder of the test's own, with helpers that
// put rows in and read them back with plain statements (not through the code under test).
#include "core/frmMain.h"
#include "core/modMain.h"
#include "platform/dao/dao.h"
#include "store/modDBchr.h"
#include "tests/support/TestEnv.h"

#include <QLocale>
#include <QVariant>

#include <gtest/gtest.h>

namespace storetest {

class StoreFixture : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        qputenv("TARV_NO_PAUSES", "1");
        // Day texts in a known form.
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    }

    void SetUp() override
    {
        dir = testenv::MakeTempDir(QStringLiteral("store"));
        ASSERT_EQ(modDBchr::CreateDB(dir + QStringLiteral("/Tarv.crn")), 0) << modDBchr::LastDBError().toStdString();
        ASSERT_TRUE(modMain::DB);
        modMain::CurrentUserID = 1;
    }

    void TearDown() override
    {
        if (modMain::DB && modMain::DB->IsOpen())
            modMain::DB->Close();
        modMain::DB.reset();
        modMain::CurrentUserID = -1;
        frmMain::Unload();
    }

public:
    static void Exec(const QString &sql, const QVariantList &params = {})
    {
        modMain::DB->Execute(sql, dao::dbFailOnError, params);
    }

    static int Count(const QString &sql, const QVariantList &params = {})
    {
        auto rs = modMain::DB->OpenRecordset(sql, dao::dbOpenSnapshot, params);
        const int n = rs->RecordCount();
        rs->Close();
        return n;
    }

    // The first column of the first row; an invalid QVariant when there is no row.
    static QVariant Scalar(const QString &sql, const QVariantList &params = {})
    {
        auto rs = modMain::DB->OpenRecordset(sql, dao::dbOpenSnapshot, params);
        QVariant v;
        if (rs->RecordCount() > 0) {
            rs->MoveFirst();
            v = rs->Value(0);
            if (v.isNull())
                v = QVariant(QStringLiteral("<Null>"));
        }
        rs->Close();
        return v;
    }

    static void AddDaily(double id, int user, int dayKey, double start = 32400, double secs = 3600, int chk = 0)
    {
        Exec(QStringLiteral("INSERT INTO tblDaily VALUES (?, ?, 'entry', 0, ?, ?, ?, 7, 8, ?)"),
             {id, user, start, secs, double(dayKey), chk});
    }

    static void AddExp(double id, int user, int dayKey, int chk = 0, const QVariant &payee = QStringLiteral("Shop"))
    {
        Exec(QStringLiteral("INSERT INTO tblDailyExp VALUES (?, ?, 3, '1.00', ?, 36000, 7, 9, ?, NULL, ?)"),
             {id, user, double(dayKey), payee, chk});
    }

    static void AddComment(const char *table, double id, int user, const QString &text)
    {
        Exec(QStringLiteral("INSERT INTO %1 (cID, cComments, cUsrID) VALUES (?, ?, ?)").arg(QLatin1String(table)),
             {id, text, user});
    }

protected:
    QString dir;
};

} // namespace storetest
