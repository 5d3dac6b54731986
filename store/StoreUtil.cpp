#include "store/StoreUtil.h"

#include "core/modMain.h"

namespace modDBchr::detail {

dao::Database &OpenDatabase()
{
    using modMain::DB;
    if (!DB || !DB->IsOpen())
        throw dao::DaoError(dao::ErrClosed, QStringLiteral("The database is not open."));
    return *DB;
}

QString FirstText(const QString &sql, double id)
{
    try {
        std::unique_ptr<dao::Recordset> rs;
        CloseOnExit guard{rs};
        rs = OpenDatabase().OpenRecordset(sql, dao::dbOpenDefault, {id});
        if (rs->RecordCount() == 0)
            return QString();
        rs->MoveFirst();
        return rs->Value(0).toString().trimmed();
    } catch (...) {
        return QString();
    }
}

}
