// The database engine over SQLCipher. See dao.h for what it promises.
#include "platform/dao/dao.h"

#include <sqlite3.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>
#include <cmath>
#include <map>

namespace dao {

struct Connection {
    sqlite3 *db = nullptr;
    QString path;
};

namespace {

// ---- small helpers -------------------------------------------------------------------------

[[noreturn]] void Fail(int number, const QString &description)
{
    throw DaoError(number, description);
}

QString Quote(const QString &ident)
{
    QString s = ident;
    s.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + s + QLatin1Char('"');
}

QString Literal(const QString &text)
{
    QString s = text;
    s.replace(QLatin1Char('\''), QStringLiteral("''"));
    return QLatin1Char('\'') + s + QLatin1Char('\'');
}

// Finalizes its statement on every way out.
struct Stmt {
    sqlite3_stmt *s = nullptr;
    Stmt() = default;
    Stmt(const Stmt &) = delete;
    Stmt &operator=(const Stmt &) = delete;
    ~Stmt() { sqlite3_finalize(s); }
};

// The value of "pwd=" in an engine connect or locale string ("" when none).
QString PasswordOf(const QString &text, bool *present = nullptr)
{
    if (present)
        *present = false;
    const QStringList parts = text.split(QLatin1Char(';'));
    for (const QString &part : parts) {
        if (part.startsWith(QLatin1String("pwd="), Qt::CaseInsensitive)) {
            if (present)
                *present = true;
            return part.mid(4);
        }
    }
    return {};
}

bool IsRuleViolation(int number)
{
    switch (number) {
    case ErrDuplicateKey:
    case ErrNullInRequired:
    case ErrZeroLength:
    case ErrTextTooLong:
    case ErrNumericOverflow:
    case ErrTypeConversion:
        return true;
    default:
        return false;
    }
}

// The engine's error for a rule named in a constraint or trigger message "dao:<rule>:<where>".
DaoError RuleError(const QString &rule, const QString &where)
{
    if (rule == QLatin1String("zls"))
        return DaoError(ErrZeroLength, QStringLiteral("Field '%1' cannot be a zero-length string.").arg(where));
    if (rule == QLatin1String("size"))
        return DaoError(ErrTextTooLong,
                        QStringLiteral("The field '%1' is too small to accept the amount of data you "
                                       "attempted to add. Try inserting or pasting less data.")
                            .arg(where));
    if (rule == QLatin1String("range"))
        return DaoError(ErrNumericOverflow, QStringLiteral("Numeric field overflow in '%1'.").arg(where));
    if (rule == QLatin1String("type"))
        return DaoError(ErrTypeConversion, QStringLiteral("Data type conversion error in '%1'.").arg(where));
    return DaoError(ErrNullInRequired,
                    QStringLiteral("The field '%1' cannot contain a Null value because the Required "
                                   "property for this field is set to True. Enter a value in this field.")
                        .arg(where));
}

// Turns an SQLite failure into the engine's error.
DaoError ErrorOf(sqlite3 *db, int rc, const QString &path = {})
{
    const QString msg = db ? QString::fromUtf8(sqlite3_errmsg(db)) : QString::fromUtf8(sqlite3_errstr(rc));
    const int primary = rc & 0xff;
    static const QRegularExpression ruleRx(QStringLiteral("dao:(\\w+):(\\S+)"));
    switch (primary) {
    case SQLITE_CONSTRAINT: {
        const auto m = ruleRx.match(msg);
        if (m.hasMatch())
            return RuleError(m.captured(1), m.captured(2));
        if (msg.contains(QLatin1String("UNIQUE")) || msg.contains(QLatin1String("PRIMARY KEY"))) {
            const QString where = msg.section(QLatin1String(": "), 1);
            return DaoError(ErrDuplicateKey,
                            QStringLiteral("The changes you requested to the table were not successful "
                                           "because they would create duplicate values in the index, "
                                           "primary key, or relationship (%1).")
                                .arg(where));
        }
        if (msg.contains(QLatin1String("NOT NULL")))
            return RuleError(QStringLiteral("null"), msg.section(QLatin1String(": "), 1));
        return DaoError(ErrInvalidOperation, msg);
    }
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return DaoError(ErrFileInUse, QStringLiteral("Could not use '%1'; file already in use.").arg(path));
    case SQLITE_NOTADB:
        return DaoError(ErrNotADatabase, QStringLiteral("Unrecognized database format '%1'.").arg(path));
    case SQLITE_CORRUPT:
        return DaoError(ErrCorrupt, QStringLiteral("Cannot open database '%1'. The file may be corrupt.").arg(path));
    case SQLITE_FULL:
        return DaoError(ErrDiskFull, QStringLiteral("Not enough space on disk."));
    case SQLITE_IOERR:
        return DaoError(ErrDiskError, QStringLiteral("Disk or network error (%1).").arg(msg));
    case SQLITE_READONLY:
    case SQLITE_PERM:
    case SQLITE_AUTH:
        return DaoError(ErrNoPermission,
                        QStringLiteral("The database engine cannot open the file '%1'. It is already "
                                       "opened exclusively by another user, or you need permission "
                                       "to view its data.")
                            .arg(path));
    case SQLITE_CANTOPEN:
        return DaoError(ErrInvalidPath, QStringLiteral("'%1' isn't a valid path.").arg(path));
    case SQLITE_MISMATCH:
        return DaoError(ErrTypeConversion, QStringLiteral("Data type conversion error."));
    case SQLITE_TOOBIG:
        return DaoError(ErrTextTooLong, QStringLiteral("The field is too small to accept the amount of data you attempted to add."));
    case SQLITE_RANGE:
        return DaoError(ErrTooFewParameters, QStringLiteral("Too few parameters (%1).").arg(msg));
    default:
        break;
    }
    if (msg.startsWith(QLatin1String("no such table")))
        return DaoError(ErrTableNotFound,
                        QStringLiteral("The database engine cannot find the input table or query '%1'.")
                            .arg(msg.section(QLatin1String(": "), 1)));
    if (msg.contains(QLatin1String("has no column named")))
        return DaoError(ErrUnknownFieldName,
                        QStringLiteral("The statement contains the following unknown field name: '%1'.")
                            .arg(msg.section(QLatin1String("named "), 1)));
    if (msg.startsWith(QLatin1String("no such column")))
        return DaoError(ErrTooFewParameters,
                        QStringLiteral("Too few parameters. Unknown name '%1'.").arg(msg.section(QLatin1String(": "), 1)));
    return DaoError(ErrSyntax, QStringLiteral("Syntax error in query expression (%1).").arg(msg));
}

sqlite3 *Handle(const std::shared_ptr<Connection> &conn)
{
    if (!conn || !conn->db)
        Fail(ErrClosed, QStringLiteral("Object invalid or no longer set."));
    return conn->db;
}

void ExecRaw(sqlite3 *db, const char *sql, const QString &path)
{
    const int rc = sqlite3_exec(db, sql, nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK)
        throw ErrorOf(db, rc, path);
}

// Prepares exactly one statement; text after it (other than a closing ';') is refused.
void Prepare(sqlite3 *db, const QString &sql, Stmt &st, const QString &path)
{
    const QByteArray utf8 = sql.toUtf8();
    const char *tail = nullptr;
    const int rc = sqlite3_prepare_v2(db, utf8.constData(), int(utf8.size()), &st.s, &tail);
    if (rc != SQLITE_OK)
        throw ErrorOf(db, rc, path);
    if (!st.s)
        Fail(3129, QStringLiteral("Invalid SQL statement; expected 'DELETE', 'INSERT', 'PROCEDURE', "
                                  "'SELECT', or 'UPDATE'."));
    QString rest = tail ? QString::fromUtf8(tail).trimmed() : QString();
    while (rest.startsWith(QLatin1Char(';')))
        rest = rest.mid(1).trimmed();
    if (!rest.isEmpty())
        Fail(ErrTrailingText, QStringLiteral("Characters found after end of SQL statement."));
}

void BindValue(sqlite3_stmt *s, int i, const QVariant &v)
{
    if (!v.isValid() || v.isNull()) {
        sqlite3_bind_null(s, i);
        return;
    }
    switch (v.metaType().id()) {
    case QMetaType::Bool:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Char:
    case QMetaType::SChar:
    case QMetaType::UChar:
    case QMetaType::Long:
    case QMetaType::LongLong:
    case QMetaType::ULong:
    case QMetaType::ULongLong:
        sqlite3_bind_int64(s, i, v.toLongLong());
        return;
    case QMetaType::Double:
    case QMetaType::Float:
        sqlite3_bind_double(s, i, v.toDouble());
        return;
    case QMetaType::QByteArray: {
        const QByteArray b = v.toByteArray();
        sqlite3_bind_blob(s, i, b.constData(), int(b.size()), SQLITE_TRANSIENT);
        return;
    }
    default: {
        const QString t = v.toString();
        sqlite3_bind_text16(s, i, t.utf16(), int(t.size() * 2), SQLITE_TRANSIENT);
        return;
    }
    }
}

void BindAll(sqlite3_stmt *s, const QVariantList &params)
{
    const int expected = sqlite3_bind_parameter_count(s);
    if (expected != params.size())
        Fail(ErrTooFewParameters,
             QStringLiteral("Wrong number of parameters. Expected %1, given %2.").arg(expected).arg(params.size()));
    for (int i = 0; i < expected; ++i)
        BindValue(s, i + 1, params[i]);
}

QVariant ColumnValue(sqlite3_stmt *s, int i)
{
    switch (sqlite3_column_type(s, i)) {
    case SQLITE_INTEGER:
        return QVariant(qlonglong(sqlite3_column_int64(s, i)));
    case SQLITE_FLOAT:
        return QVariant(sqlite3_column_double(s, i));
    case SQLITE_TEXT: {
        const void *p = sqlite3_column_text16(s, i);
        const int bytes = sqlite3_column_bytes16(s, i);
        return QVariant(QString::fromUtf16(static_cast<const char16_t *>(p), bytes / 2));
    }
    case SQLITE_BLOB: {
        const void *p = sqlite3_column_blob(s, i);
        return QVariant(QByteArray(static_cast<const char *>(p), sqlite3_column_bytes(s, i)));
    }
    default:
        return QVariant();
    }
}

// The engine type number and size of a declared column type such as DAO10_TEXT(60).
bool ParseDeclType(const QString &decl, int &type, int &size)
{
    static const QRegularExpression rx(QStringLiteral("^DAO(\\d+)_\\w+(?:\\s*\\(\\s*(\\d+)\\s*\\))?$"),
                                       QRegularExpression::CaseInsensitiveOption);
    const auto m = rx.match(decl.trimmed());
    if (!m.hasMatch())
        return false;
    type = m.captured(1).toInt();
    size = m.captured(2).isEmpty() ? 0 : m.captured(2).toInt();
    return true;
}

QString DeclType(const Field &f)
{
    switch (f.Type) {
    case dbByte: return QStringLiteral("DAO2_TINYINT");
    case dbInteger: return QStringLiteral("DAO3_SMALLINT");
    case dbDouble: return QStringLiteral("DAO7_DOUBLE");
    case dbText: return QStringLiteral("DAO10_TEXT(%1)").arg(f.Size);
    case dbMemo: return QStringLiteral("DAO12_LONGTEXT");
    default: return {};
    }
}

// One column of CREATE TABLE with the checks that hold the engine's rules.
QString ColumnDdl(const QString &table, const Field &f)
{
    const QString c = Quote(f.Name);
    const QString where = table + QLatin1Char('.') + f.Name;
    auto check = [&](const char *rule, const QString &expr) {
        return QStringLiteral(" CONSTRAINT %1 CHECK (%2)").arg(Quote(QStringLiteral("dao:%1:%2").arg(QLatin1String(rule), where)), expr);
    };
    QString ddl = c + QLatin1Char(' ') + DeclType(f);
    switch (f.Type) {
    // A check sees the value before the column's affinity converts it: digits in a text
    // and a whole number in a real become integers in the column and pass; "abc" does not.
    case dbByte:
    case dbInteger:
        ddl += check("type", QStringLiteral("%1 IS NULL OR (typeof(%1) <> 'blob' AND %1 = CAST(%1 AS INTEGER))").arg(c));
        ddl += check("range", f.Type == dbByte ? QStringLiteral("%1 BETWEEN 0 AND 255").arg(c)
                                               : QStringLiteral("%1 BETWEEN -32768 AND 32767").arg(c));
        break;
    case dbDouble:
        ddl += check("type", QStringLiteral("%1 IS NULL OR (typeof(%1) <> 'blob' AND %1 = CAST(%1 AS REAL))").arg(c));
        break;
    case dbText:
    case dbMemo:
        ddl += QStringLiteral(" COLLATE NOCASE");
        ddl += check("type", QStringLiteral("typeof(%1) <> 'blob'").arg(c));
        ddl += check("zls", QStringLiteral("%1 <> ''").arg(c));
        if (f.Type == dbText)
            ddl += check("size", QStringLiteral("length(%1) <= %2").arg(c).arg(f.Size));
        break;
    }
    return ddl;
}

QString RequiredTriggerName(const QString &table, const QString &index, const QString &field, const char *when)
{
    return QStringLiteral("%1.%2.%3.required_%4").arg(table, index, field, QLatin1String(when));
}

QString SqlIndexName(const QString &table, const QString &index)
{
    return table + QLatin1Char('.') + index;
}

bool TableExists(sqlite3 *db, const QString &name, const QString &path)
{
    Stmt st;
    Prepare(db, QStringLiteral("SELECT 1 FROM sqlite_master WHERE type = 'table' AND name = ? COLLATE NOCASE"), st, path);
    BindAll(st.s, {name});
    const int rc = sqlite3_step(st.s);
    if (rc != SQLITE_ROW && rc != SQLITE_DONE)
        throw ErrorOf(db, rc, path);
    return rc == SQLITE_ROW;
}

// Decides between "another password" and "not a database of this engine" for a file that
// SQLCipher could not read. An encrypted file is whole pages of random-looking bytes; a plain
// SQLite file or any other file is not ours.
DaoError NotReadable(const QString &path)
{
    QFile f(path);
    QByteArray head;
    if (f.open(QIODevice::ReadOnly))
        head = f.read(16);
    const qint64 size = QFileInfo(path).size();
    const bool plainSqlite = head.startsWith(QByteArray("SQLite format 3", 15));
    if (!plainSqlite && size >= 1024 && size % 512 == 0)
        return DaoError(ErrBadPassword, QStringLiteral("Not a valid password."));
    return DaoError(ErrNotADatabase, QStringLiteral("Unrecognized database format '%1'.").arg(path));
}

// Opens (or creates) the file, keys it and puts it in exclusive WAL mode, holding the lock.
std::shared_ptr<Connection> Connect(const QString &path, const QString &password, bool create)
{
    auto conn = std::make_shared<Connection>();
    conn->path = path;
    sqlite3 *db = nullptr;
    const int flags = SQLITE_OPEN_READWRITE | (create ? SQLITE_OPEN_CREATE : 0);
    int rc = sqlite3_open_v2(QFile::encodeName(path).constData(), &db, flags, nullptr);
    if (rc != SQLITE_OK) {
        DaoError e = ErrorOf(db, rc, path);
        sqlite3_close(db);
        if ((rc & 0xff) == SQLITE_CANTOPEN && QFileInfo(path).exists() && !QFileInfo(path).isWritable())
            throw DaoError(ErrNoPermission, QStringLiteral("The database engine cannot open the file '%1'. You need permission to change its data.").arg(path));
        throw e;
    }
    conn->db = db;
    struct Guard {
        std::shared_ptr<Connection> &c;
        bool armed = true;
        ~Guard()
        {
            if (armed) {
                sqlite3_close(c->db);
                c->db = nullptr;
            }
        }
    } guard{conn};

    sqlite3_extended_result_codes(db, 1);
    if (!password.isEmpty()) {
        const QByteArray key = password.toUtf8();
        rc = sqlite3_key(db, key.constData(), int(key.size()));
        if (rc != SQLITE_OK)
            throw ErrorOf(db, rc, path);
    }
    // The lock mode must be set before the first read, so that WAL runs without a
    // shared-memory file and the file stays locked until close.
    ExecRaw(db, "PRAGMA locking_mode = EXCLUSIVE", path);
    rc = sqlite3_exec(db, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK) {
        if ((rc & 0xff) == SQLITE_NOTADB)
            throw NotReadable(path);
        throw ErrorOf(db, rc, path);
    }
    {
        Stmt st;
        Prepare(db, QStringLiteral("PRAGMA journal_mode = WAL"), st, path);
        rc = sqlite3_step(st.s);
        if (rc != SQLITE_ROW)
            throw ErrorOf(db, rc, path);
        const bool wal = QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(st.s, 0)))
                             .compare(QLatin1String("wal"), Qt::CaseInsensitive) == 0;
        // In WAL a commit is durable against a crash of the program at NORMAL; a rollback
        // journal needs FULL for the same.
        ExecRaw(db, wal ? "PRAGMA synchronous = NORMAL" : "PRAGMA synchronous = FULL", path);
    }
    // Take the exclusive lock now, so that a second opener is refused at once.
    ExecRaw(db, "BEGIN EXCLUSIVE; COMMIT;", path);
    guard.armed = false;
    return conn;
}

void RemoveDbFiles(const QString &path)
{
    QFile::remove(path);
    QFile::remove(path + QStringLiteral("-wal"));
    QFile::remove(path + QStringLiteral("-shm"));
    QFile::remove(path + QStringLiteral("-journal"));
}

void CheckFolder(const QString &path)
{
    const QFileInfo fi(path);
    if (!QFileInfo(fi.absolutePath()).isDir())
        Fail(ErrInvalidPath, QStringLiteral("'%1' isn't a valid path.").arg(path));
}

} // namespace

// ---- DaoError ------------------------------------------------------------------------------

DaoError::DaoError(int number, const QString &description)
    : std::runtime_error(QStringLiteral("%1: %2").arg(number).arg(description).toStdString()),
      m_number(number), m_description(description)
{
}

// ---- TableDef ------------------------------------------------------------------------------

Field TableDef::CreateField(const QString &name, int type, int size) const
{
    return Field{name, type, type == dbText ? size : 0};
}

Index TableDef::CreateIndex(const QString &name) const
{
    Index idx;
    idx.Name = name;
    return idx;
}

void TableDef::AppendField(const Field &field)
{
    if (m_db)
        Fail(ErrInvalidOperation, QStringLiteral("Invalid operation: the table '%1' already stands.").arg(m_name));
    if (field.Name.isEmpty())
        Fail(3001, QStringLiteral("Invalid argument: a field needs a name."));
    if (DeclType(field).isEmpty())
        Fail(3259, QStringLiteral("Invalid field data type in '%1'.").arg(field.Name));
    if (field.Type == dbText && (field.Size < 1 || field.Size > 255))
        Fail(3001, QStringLiteral("Invalid argument: size %1 of '%2'.").arg(field.Size).arg(field.Name));
    for (const Field &f : m_fields)
        if (f.Name.compare(field.Name, Qt::CaseInsensitive) == 0)
            Fail(3191, QStringLiteral("Cannot define field '%1' more than once.").arg(field.Name));
    m_fields.push_back(field);
}

void TableDef::AppendIndex(const Index &index)
{
    if (!m_db)
        Fail(ErrInvalidOperation, QStringLiteral("Invalid operation: append the table '%1' before its indexes.").arg(m_name));
    m_db->BuildIndex(*this, index);
    m_indexes.push_back(index);
}

// ---- FieldRef ------------------------------------------------------------------------------

QString FieldRef::Name() const
{
    m_rs->CheckOpen();
    return m_rs->m_names[m_index];
}

QVariant FieldRef::Value() const
{
    m_rs->CheckOpen();
    if (m_rs->m_mode != Recordset::EditMode::None)
        return m_rs->m_buffer[m_index];
    m_rs->CheckCurrent();
    return m_rs->m_rows[m_rs->m_pos][m_index];
}

void FieldRef::SetValue(const QVariant &value)
{
    m_rs->CheckOpen();
    if (!m_rs->m_updatable)
        Fail(ErrReadOnly, QStringLiteral("Cannot update. Database or object is read-only."));
    if (m_rs->m_mode == Recordset::EditMode::None)
        Fail(ErrUpdateWithoutEdit, QStringLiteral("Update or CancelUpdate without AddNew or Edit."));
    QVariant v = value;
    const int type = m_rs->m_types[m_index];
    // Assigning a number to a Byte or Integer field rounds it, half to even, as the engine does.
    if ((type == dbByte || type == dbInteger)
        && (v.metaType().id() == QMetaType::Double || v.metaType().id() == QMetaType::Float)) {
        const double d = v.toDouble();
        if (std::isfinite(d))
            v = QVariant(qlonglong(std::nearbyint(d)));
    }
    m_rs->m_buffer[m_index] = v;
    m_rs->m_changed[m_index] = true;
}

// ---- Recordset -----------------------------------------------------------------------------

Recordset::~Recordset() = default;

void Recordset::CheckOpen() const
{
    if (!m_open)
        Fail(ErrClosed, QStringLiteral("Object invalid or no longer set."));
}

void Recordset::CheckCurrent() const
{
    if (m_pos >= m_rows.size())
        Fail(ErrNoCurrentRecord, QStringLiteral("No current record."));
}

int Recordset::RecordCount() const
{
    CheckOpen();
    return int(m_rows.size());
}

bool Recordset::Eof() const
{
    CheckOpen();
    return m_pos >= m_rows.size();
}

void Recordset::MoveFirst()
{
    CheckOpen();
    m_mode = EditMode::None;
    if (m_rows.empty())
        Fail(ErrNoCurrentRecord, QStringLiteral("No current record."));
    m_pos = 0;
}

void Recordset::MoveLast()
{
    CheckOpen();
    m_mode = EditMode::None;
    if (m_rows.empty())
        Fail(ErrNoCurrentRecord, QStringLiteral("No current record."));
    m_pos = m_rows.size() - 1;
}

void Recordset::MoveNext()
{
    CheckOpen();
    m_mode = EditMode::None;
    CheckCurrent();
    ++m_pos;
}

int Recordset::FieldCount() const
{
    CheckOpen();
    return int(m_names.size());
}

FieldRef Recordset::Fields(int index)
{
    CheckOpen();
    if (index < 0 || index >= m_names.size())
        Fail(ErrItemNotFound, QStringLiteral("Item not found in this collection (field %1).").arg(index));
    return FieldRef(this, index);
}

int Recordset::FieldIndex(const QString &name) const
{
    for (int i = 0; i < m_names.size(); ++i)
        if (m_names[i].compare(name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

FieldRef Recordset::Fields(const QString &name)
{
    CheckOpen();
    const int i = FieldIndex(name);
    if (i < 0)
        Fail(ErrItemNotFound, QStringLiteral("Item not found in this collection (field '%1').").arg(name));
    return FieldRef(this, i);
}

void Recordset::AddNew()
{
    CheckOpen();
    if (!m_updatable)
        Fail(ErrReadOnly, QStringLiteral("Cannot update. Database or object is read-only."));
    m_buffer.assign(m_names.size(), QVariant());
    m_changed.assign(m_names.size(), false);
    m_mode = EditMode::AddNew;
}

void Recordset::Edit()
{
    CheckOpen();
    if (!m_updatable)
        Fail(ErrReadOnly, QStringLiteral("Cannot update. Database or object is read-only."));
    CheckCurrent();
    m_buffer = m_rows[m_pos];
    m_changed.assign(m_names.size(), false);
    m_mode = EditMode::Edit;
}

void Recordset::ReloadRow(qint64 rowid, std::vector<QVariant> &row)
{
    sqlite3 *db = Handle(m_conn);
    QStringList cols;
    for (const QString &o : m_origins)
        cols << Quote(o);
    Stmt st;
    Prepare(db, QStringLiteral("SELECT %1 FROM %2 WHERE rowid = ?").arg(cols.join(QStringLiteral(", ")), Quote(m_table)), st, m_conn->path);
    sqlite3_bind_int64(st.s, 1, rowid);
    const int rc = sqlite3_step(st.s);
    if (rc == SQLITE_ROW) {
        row.resize(m_origins.size());
        for (int i = 0; i < m_origins.size(); ++i)
            row[i] = ColumnValue(st.s, i);
    } else if (rc != SQLITE_DONE) {
        throw ErrorOf(db, rc, m_conn->path);
    }
}

void Recordset::Update()
{
    CheckOpen();
    if (m_mode == EditMode::None)
        Fail(ErrUpdateWithoutEdit, QStringLiteral("Update or CancelUpdate without AddNew or Edit."));
    sqlite3 *db = Handle(m_conn);
    QStringList cols;
    QVariantList values;
    for (int i = 0; i < m_names.size(); ++i) {
        if (m_changed[i]) {
            cols << Quote(m_origins[i]);
            values << m_buffer[i];
        }
    }
    if (m_mode == EditMode::Edit && cols.isEmpty()) {
        m_mode = EditMode::None;
        return;
    }
    QString sql;
    if (m_mode == EditMode::AddNew) {
        if (cols.isEmpty()) {
            sql = QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(Quote(m_table));
        } else {
            QStringList marks;
            for (int i = 0; i < cols.size(); ++i)
                marks << QStringLiteral("?");
            sql = QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                      .arg(Quote(m_table), cols.join(QStringLiteral(", ")), marks.join(QStringLiteral(", ")));
        }
    } else {
        QStringList sets;
        for (const QString &c : cols)
            sets << c + QStringLiteral(" = ?");
        sql = QStringLiteral("UPDATE %1 SET %2 WHERE rowid = ?").arg(Quote(m_table), sets.join(QStringLiteral(", ")));
        values << QVariant(qlonglong(m_rowids[m_pos]));
    }
    Stmt st;
    Prepare(db, sql, st, m_conn->path);
    BindAll(st.s, values);
    const int rc = sqlite3_step(st.s);
    if (rc != SQLITE_DONE)
        throw ErrorOf(db, rc, m_conn->path);
    if (m_mode == EditMode::AddNew) {
        const qint64 rowid = sqlite3_last_insert_rowid(db);
        std::vector<QVariant> row(m_names.size());
        ReloadRow(rowid, row);
        m_rows.push_back(std::move(row));
        m_rowids.push_back(rowid);
    } else {
        ReloadRow(m_rowids[m_pos], m_rows[m_pos]);
    }
    m_mode = EditMode::None;
}

void Recordset::Close()
{
    CheckOpen();
    m_open = false;
    m_mode = EditMode::None;
    m_rows.clear();
    m_rowids.clear();
    m_conn.reset();
}

// ---- Database ------------------------------------------------------------------------------

Database::~Database()
{
    try {
        Close();
    } catch (...) {
    }
}

bool Database::IsOpen() const
{
    return m_conn && m_conn->db;
}

void Database::Close()
{
    if (!IsOpen())
        return;
    sqlite3 *db = m_conn->db;
    m_conn->db = nullptr;
    // Closing the last connection checkpoints the log into the file and removes it.
    const int rc = sqlite3_close(db);
    if (rc != SQLITE_OK) {
        DaoError e = ErrorOf(db, rc, m_name);
        sqlite3_close_v2(db);
        throw e;
    }
}

void Database::Execute(const QString &sql, int options, const QVariantList &params)
{
    sqlite3 *db = Handle(m_conn);
    m_recordsAffected = 0;
    Stmt st;
    Prepare(db, sql, st, m_name);
    if (sqlite3_column_count(st.s) > 0 && sqlite3_stmt_readonly(st.s))
        Fail(ErrSelectExecuted, QStringLiteral("Cannot execute a select query."));
    BindAll(st.s, params);
    int rc;
    while ((rc = sqlite3_step(st.s)) == SQLITE_ROW) {
    }
    if (rc != SQLITE_DONE) {
        DaoError e = ErrorOf(db, rc, m_name);
        if (!(options & dbFailOnError) && IsRuleViolation(e.Number()))
            return;
        throw e;
    }
    m_recordsAffected = sqlite3_changes(db);
}

std::unique_ptr<Recordset> Database::OpenRecordset(const QString &source, int type, const QVariantList &params)
{
    sqlite3 *db = Handle(m_conn);
    static const QRegularExpression bareRx(QStringLiteral("^[A-Za-z_][A-Za-z0-9_]*$"));
    const QString src = source.trimmed();
    const bool bare = bareRx.match(src).hasMatch();
    if (type == dbOpenDefault)
        type = bare ? dbOpenTable : dbOpenDynaset;
    if (type != dbOpenTable && type != dbOpenDynaset && type != dbOpenSnapshot)
        Fail(3001, QStringLiteral("Invalid argument (record set type %1).").arg(type));

    std::unique_ptr<Recordset> rs(new Recordset);
    rs->m_conn = m_conn;
    Stmt st;
    bool withRowid = false;
    if (type == dbOpenTable) {
        if (!bare)
            Fail(ErrInvalidOperation, QStringLiteral("Invalid operation: a table record set needs a table name."));
        if (!TableExists(db, src, m_name))
            Fail(ErrTableNotFound, QStringLiteral("The database engine cannot find the input table or query '%1'.").arg(src));
        Prepare(db, QStringLiteral("SELECT rowid, * FROM %1").arg(Quote(src)), st, m_name);
        withRowid = true;
    } else {
        const QString select = bare ? QStringLiteral("SELECT * FROM %1").arg(Quote(src)) : src;
        if (type == dbOpenDynaset) {
            // A dynaset over one table can write its rows back: read the rowid with them.
            static const QRegularExpression selRx(QStringLiteral("^\\s*SELECT\\s+(.*)$"),
                                                  QRegularExpression::CaseInsensitiveOption
                                                      | QRegularExpression::DotMatchesEverythingOption);
            static const QRegularExpression notOneTableRx(QStringLiteral("\\b(DISTINCT|GROUP\\s+BY|UNION|JOIN|INTERSECT|EXCEPT)\\b"),
                                                          QRegularExpression::CaseInsensitiveOption);
            const auto m = selRx.match(select);
            if (m.hasMatch() && !notOneTableRx.match(select).hasMatch()) {
                const QByteArray utf8 = (QStringLiteral("SELECT rowid, ") + m.captured(1)).toUtf8();
                const char *tail = nullptr;
                if (sqlite3_prepare_v2(db, utf8.constData(), int(utf8.size()), &st.s, &tail) == SQLITE_OK && st.s
                    && QString::fromUtf8(tail).remove(QLatin1Char(';')).trimmed().isEmpty()) {
                    const int n = sqlite3_column_count(st.s);
                    const char *t0 = sqlite3_column_table_name(st.s, 0);
                    bool one = n >= 2 && t0;
                    for (int i = 1; one && i < n; ++i) {
                        const char *t = sqlite3_column_table_name(st.s, i);
                        one = t && sqlite3_column_origin_name(st.s, i) && qstricmp(t, t0) == 0;
                    }
                    withRowid = one;
                }
                if (!withRowid) {
                    sqlite3_finalize(st.s);
                    st.s = nullptr;
                }
            }
        }
        if (!withRowid)
            Prepare(db, select, st, m_name);
    }
    if (sqlite3_column_count(st.s) == 0)
        Fail(ErrInvalidOperation, QStringLiteral("Invalid operation: the statement gives no rows."));
    BindAll(st.s, params);

    const int first = withRowid ? 1 : 0;
    const int n = sqlite3_column_count(st.s);
    std::map<QString, int> declared;   // engine types of the base table's columns
    if (withRowid) {
        rs->m_updatable = true;
        rs->m_table = QString::fromUtf8(sqlite3_column_table_name(st.s, 1));
    }
    for (int i = first; i < n; ++i) {
        rs->m_names << QString::fromUtf8(sqlite3_column_name(st.s, i));
        const char *origin = sqlite3_column_origin_name(st.s, i);
        rs->m_origins << (origin ? QString::fromUtf8(origin) : QString());
        int t = 0, size = 0;
        const char *decl = sqlite3_column_decltype(st.s, i);
        if (!decl || !ParseDeclType(QString::fromUtf8(decl), t, size))
            t = 0;
        rs->m_types.push_back(t);
    }
    int rc;
    while ((rc = sqlite3_step(st.s)) == SQLITE_ROW) {
        std::vector<QVariant> row;
        row.reserve(n - first);
        for (int i = first; i < n; ++i)
            row.push_back(ColumnValue(st.s, i));
        rs->m_rows.push_back(std::move(row));
        rs->m_rowids.push_back(withRowid ? sqlite3_column_int64(st.s, 0) : 0);
    }
    if (rc != SQLITE_DONE)
        throw ErrorOf(db, rc, m_name);
    return rs;
}

std::unique_ptr<TableDef> Database::CreateTableDef(const QString &name) const
{
    return std::make_unique<TableDef>(name);
}

void Database::AppendTableDef(TableDef &table)
{
    sqlite3 *db = Handle(m_conn);
    if (table.m_db)
        Fail(ErrInvalidOperation, QStringLiteral("Invalid operation: the table '%1' already stands.").arg(table.Name()));
    if (table.Name().isEmpty())
        Fail(3001, QStringLiteral("Invalid argument: a table needs a name."));
    if (table.Fields().empty())
        Fail(3264, QStringLiteral("No field defined--cannot append TableDef or Index."));
    if (TableExists(db, table.Name(), m_name))
        Fail(3010, QStringLiteral("Table '%1' already exists.").arg(table.Name()));
    QStringList cols;
    for (const Field &f : table.Fields())
        cols << ColumnDdl(table.Name(), f);
    Execute(QStringLiteral("CREATE TABLE %1 (%2)").arg(Quote(table.Name()), cols.join(QStringLiteral(", "))), dbFailOnError);
    table.m_db = this;
}

void Database::BuildIndex(TableDef &table, const Index &index)
{
    sqlite3 *db = Handle(m_conn);
    if (index.Name.isEmpty())
        Fail(3001, QStringLiteral("Invalid argument: an index needs a name."));
    if (index.Fields.empty())
        Fail(3264, QStringLiteral("No field defined--cannot append TableDef or Index."));
    for (const Index &i : table.m_indexes)
        if (i.Name.compare(index.Name, Qt::CaseInsensitive) == 0)
            Fail(3284, QStringLiteral("Index '%1' already exists.").arg(index.Name));
    QStringList cols;
    for (const Field &f : index.Fields) {
        bool known = false;
        for (const Field &tf : table.Fields())
            known = known || tf.Name.compare(f.Name, Qt::CaseInsensitive) == 0;
        if (!known)
            Fail(ErrItemNotFound, QStringLiteral("Item not found in this collection (field '%1').").arg(f.Name));
        cols << Quote(f.Name);
    }
    const bool required = index.Required || index.Primary;
    const QString t = Quote(table.Name());
    ExecRaw(db, "SAVEPOINT dao_index", m_name);
    try {
        if (required) {
            for (const Field &f : index.Fields) {
                auto rs = OpenRecordset(QStringLiteral("SELECT 1 FROM %1 WHERE %2 IS NULL LIMIT 1").arg(t, Quote(f.Name)), dbOpenSnapshot);
                if (rs->RecordCount() > 0)
                    Fail(ErrIndexNull, QStringLiteral("Index or primary key cannot contain a Null value."));
            }
        }
        Execute(QStringLiteral("CREATE %1INDEX %2 ON %3 (%4)")
                    .arg(index.Primary ? QStringLiteral("UNIQUE ") : QString(),
                         Quote(SqlIndexName(table.Name(), index.Name)), t, cols.join(QStringLiteral(", "))),
                dbFailOnError);
        if (required) {
            for (const Field &f : index.Fields) {
                const QString c = Quote(f.Name);
                const QString raise = QStringLiteral("SELECT RAISE(ABORT, %1);")
                                          .arg(Literal(QStringLiteral("dao:null:%1.%2").arg(table.Name(), f.Name)));
                Execute(QStringLiteral("CREATE TRIGGER %1 BEFORE INSERT ON %2 WHEN NEW.%3 IS NULL BEGIN %4 END")
                            .arg(Quote(RequiredTriggerName(table.Name(), index.Name, f.Name, "insert")), t, c, raise),
                        dbFailOnError);
                Execute(QStringLiteral("CREATE TRIGGER %1 BEFORE UPDATE OF %3 ON %2 WHEN NEW.%3 IS NULL BEGIN %4 END")
                            .arg(Quote(RequiredTriggerName(table.Name(), index.Name, f.Name, "update")), t, c, raise),
                        dbFailOnError);
            }
        }
        ExecRaw(db, "RELEASE dao_index", m_name);
    } catch (...) {
        sqlite3_exec(db, "ROLLBACK TO dao_index; RELEASE dao_index", nullptr, nullptr, nullptr);
        throw;
    }
}

QStringList Database::TableNames() const
{
    sqlite3 *db = Handle(m_conn);
    Stmt st;
    Prepare(db, QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table' AND name NOT LIKE 'sqlite\\_%' ESCAPE '\\' ORDER BY rowid"), st, m_name);
    QStringList names;
    int rc;
    while ((rc = sqlite3_step(st.s)) == SQLITE_ROW)
        names << ColumnValue(st.s, 0).toString();
    if (rc != SQLITE_DONE)
        throw ErrorOf(db, rc, m_name);
    return names;
}

std::unique_ptr<TableDef> Database::ReadTableDef(const QString &name) const
{
    sqlite3 *db = Handle(m_conn);
    Stmt tst;
    Prepare(db, QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table' AND name = ? COLLATE NOCASE"), tst, m_name);
    BindAll(tst.s, {name});
    if (sqlite3_step(tst.s) != SQLITE_ROW)
        Fail(ErrTableNotFound, QStringLiteral("The database engine cannot find the input table or query '%1'.").arg(name));
    const QString table = ColumnValue(tst.s, 0).toString();
    auto def = std::make_unique<TableDef>(table);

    auto rows = [&](const QString &sql, const QVariantList &params = {}) {
        Stmt st;
        Prepare(db, sql, st, m_name);
        BindAll(st.s, params);
        std::vector<std::vector<QVariant>> out;
        int rc;
        while ((rc = sqlite3_step(st.s)) == SQLITE_ROW) {
            std::vector<QVariant> r;
            for (int i = 0; i < sqlite3_column_count(st.s); ++i)
                r.push_back(ColumnValue(st.s, i));
            out.push_back(std::move(r));
        }
        if (rc != SQLITE_DONE)
            throw ErrorOf(db, rc, m_name);
        return out;
    };

    for (const auto &r : rows(QStringLiteral("PRAGMA table_info(%1)").arg(Quote(table)))) {
        Field f;
        f.Name = r[1].toString();
        if (!ParseDeclType(r[2].toString(), f.Type, f.Size))
            f.Type = 0;
        def->m_fields.push_back(f);
    }
    const QString prefix = table + QLatin1Char('.');
    std::map<QString, bool> unique;
    for (const auto &r : rows(QStringLiteral("PRAGMA index_list(%1)").arg(Quote(table))))
        unique[r[1].toString()] = r[2].toInt() != 0;
    for (const auto &r : rows(QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'index' AND tbl_name = ? ORDER BY rowid"), {table})) {
        const QString sqlName = r[0].toString();
        if (!sqlName.startsWith(prefix))
            continue;   // not one of ours (e.g. an automatic index)
        Index idx;
        idx.Name = sqlName.mid(prefix.size());
        idx.Primary = unique[sqlName];
        for (const auto &c : rows(QStringLiteral("PRAGMA index_info(%1)").arg(Quote(sqlName))))
            idx.Fields.push_back(Field{c[2].toString(), dbText, 0});
        for (Field &f : idx.Fields)
            for (const Field &tf : def->m_fields)
                if (tf.Name.compare(f.Name, Qt::CaseInsensitive) == 0)
                    f = tf;
        idx.Required = !idx.Fields.empty()
                       && !rows(QStringLiteral("SELECT 1 FROM sqlite_master WHERE type = 'trigger' AND name = ?"),
                                {RequiredTriggerName(table, idx.Name, idx.Fields.front().Name, "insert")})
                               .empty();
        def->m_indexes.push_back(idx);
    }
    // Compaction rebuilds the unique indexes after the others; listing the primary index
    // first gives the same order before and after it.
    std::stable_sort(def->m_indexes.begin(), def->m_indexes.end(),
                     [](const Index &a, const Index &b) { return a.Primary && !b.Primary; });
    return def;
}

int Database::UserVersion() const
{
    sqlite3 *db = Handle(m_conn);
    Stmt st;
    Prepare(db, QStringLiteral("PRAGMA user_version"), st, m_name);
    const int rc = sqlite3_step(st.s);
    if (rc != SQLITE_ROW)
        throw ErrorOf(db, rc, m_name);
    return sqlite3_column_int(st.s, 0);
}

void Database::SetUserVersion(int version)
{
    sqlite3 *db = Handle(m_conn);
    ExecRaw(db, QStringLiteral("PRAGMA user_version = %1").arg(version).toUtf8().constData(), m_name);
}

// ---- the workspace: create, open, compact --------------------------------------------------

std::unique_ptr<Database> CreateDatabase(const QString &path, const QString &locale, int options)
{
    if (QFileInfo::exists(path))
        Fail(ErrDatabaseExists, QStringLiteral("Database already exists."));
    CheckFolder(path);
    // Without a password there is no key to encrypt with: such a file is plain.
    const QString password = PasswordOf(locale);
    std::unique_ptr<Database> db(new Database);
    db->m_name = path;
    try {
        db->m_conn = Connect(path, password, true);
        // Write the header now, so that the new file is a database even before its first table.
        db->SetUserVersion(0);
    } catch (...) {
        if (db->m_conn && db->m_conn->db) {
            sqlite3_close(db->m_conn->db);
            db->m_conn->db = nullptr;
        }
        RemoveDbFiles(path);
        throw;
    }
    return db;
}

std::unique_ptr<Database> OpenDatabase(const QString &path, const QString &connect)
{
    return Database::OpenFile(path, connect, false);
}

std::unique_ptr<Database> Database::OpenFile(const QString &path, const QString &connect, bool canCreate)
{
    const QFileInfo fi(path);
    if (!fi.exists())
        Fail(ErrFileNotFound, QStringLiteral("Could not find file '%1'.").arg(path));
    if (fi.isDir())
        Fail(ErrInvalidPath, QStringLiteral("'%1' isn't a valid path.").arg(path));
    // SQLite takes an empty file for a new database; the engine does not.
    if (fi.size() == 0 && !QFileInfo::exists(path + QStringLiteral("-wal")))
        Fail(ErrNotADatabase, QStringLiteral("Unrecognized database format '%1'.").arg(path));
    std::unique_ptr<Database> db(new Database);
    db->m_name = path;
    db->m_conn = Connect(path, PasswordOf(connect), canCreate);
    return db;
}

void CompactDatabase(const QString &src, const QString &dst, const QString &dstLocale, int options,
                     const QString &srcConnect)
{
    if (!QFileInfo::exists(src))
        Fail(ErrFileNotFound, QStringLiteral("Could not find file '%1'.").arg(src));
    if (QFileInfo::exists(dst))
        Fail(ErrDatabaseExists, QStringLiteral("Database already exists."));
    CheckFolder(dst);
    bool ownPassword = false;
    const QString dstPassword = PasswordOf(dstLocale, &ownPassword);
    const QString key = ownPassword ? dstPassword : PasswordOf(srcConnect);

    std::unique_ptr<Database> db = Database::OpenFile(src, srcConnect, true);
    sqlite3 *h = db->m_conn->db;
    try {
        const int version = db->UserVersion();
        {
            Stmt st;
            Prepare(h, QStringLiteral("ATTACH DATABASE ? AS dao_compact KEY ?"), st, dst);
            BindAll(st.s, {dst, key});
            const int rc = sqlite3_step(st.s);
            if (rc != SQLITE_DONE)
                throw ErrorOf(h, rc, dst);
        }
        ExecRaw(h, "SELECT sqlcipher_export('dao_compact')", dst);
        ExecRaw(h, QStringLiteral("PRAGMA dao_compact.user_version = %1").arg(version).toUtf8().constData(), dst);
        ExecRaw(h, "DETACH DATABASE dao_compact", dst);
        db->Close();
    } catch (...) {
        sqlite3_exec(h, "DETACH DATABASE dao_compact", nullptr, nullptr, nullptr);
        try {
            db->Close();
        } catch (...) {
        }
        RemoveDbFiles(dst);
        throw;
    }
}

} // namespace dao
