#pragma once
// The program's state as a test of the windows that talk to the service starts it: a program
// folder of its own with the English string table and a new encrypted database, the service
// credentials as a sign-in stores them, and a local person as the current user. Header only: a
// suite that uses it links the core and the store.
#include "core/CCrypto.h"
#include "core/modMain.h"
#include "platform/dao/dao.h"
#include "store/modDBchr.h"
#include "tests/support/TestEnv.h"

#include <QStringList>
#include <gtest/gtest.h>

#include <memory>

namespace testenv {

// Makes a fresh program folder (its path in dir) with the designed pauses off, the string table
// in English and a new database in it, and the encryption ready. Call through
// ASSERT_NO_FATAL_FAILURE: a database that cannot be made fails the test.
inline void OpenProgramFolder(QString &dir)
{
    using namespace modMain;
    qputenv("TARV_NO_PAUSES", "1");
    dir = MakeTempDir(QStringLiteral("prog"));
    qputenv("TARV_PROGRAM_DIR", dir.toLocal8Bit());
    LoadLangTable(QStringLiteral(TARV_SOURCE_DIR "/data/StringTables.csv"));
    LangID = 0;
    ASSERT_EQ(modDBchr::CreateDB(dir + QStringLiteral("/Tarv.crn")), 0);
    if (!Crypto)
        Crypto = std::make_unique<CCrypto>();
}

// The service's user name and password, encrypted as the sign-in keeps them (a new local user
// takes them with it).
inline void StoreCredentials(const QString &user, const QString &password)
{
    using namespace modMain;
    StoredUserName = Crypto->Encrypt(user, CryptoPassPhrase, false, CCrypto::TypeRC2);
    StoredPassword = Crypto->Encrypt(password, CryptoPassPhrase, false, CCrypto::TypeRC2);
}

// The local person "maria" stored as a new user of the database and made the current user.
inline void AddCurrentUser()
{
    using namespace modMain;
    PCUserName = QStringLiteral("maria");
    CurrentUserID = modDBchr::CreateUser();
    ASSERT_GE(CurrentUserID, 0);
}

// The current user's rows of select (a SELECT without WHERE), ordered by its first two columns,
// one text per row with the fields joined by '|' (Double fields as whole numbers).
inline QStringList UserRows(const QString &select)
{
    using namespace modMain;
    QStringList out;
    auto rs = DB->OpenRecordset(select + QStringLiteral(" WHERE cUsrID = ? ORDER BY 1, 2"), dao::dbOpenSnapshot,
                                {CurrentUserID});
    for (; !rs->Eof(); rs->MoveNext()) {
        QStringList fields;
        for (int i = 0; i < rs->FieldCount(); ++i) {
            const QVariant v = rs->Value(i);
            fields << (v.typeId() == QMetaType::Double ? QString::number(v.toDouble(), 'f', 0) : v.toString());
        }
        out << fields.join(u'|');
    }
    return out;
}

// Closes the program's database; unload the windows that use it first.
inline void CloseDatabase()
{
    using namespace modMain;
    if (DB)
        DB->Close();
    DB.reset();
}

} // namespace testenv
