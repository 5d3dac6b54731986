#pragma once
// The program's database engine: an encrypted, exclusively held database file with tables,
// fields and one-field indexes, SQL statements and record sets, built on SQLCipher.
//
// What it keeps from the engine the program was designed against:
//  - field types carry their engine type numbers (Byte 2, Integer 3, Double 7, Text 10 with a
//    size, Memo 12); the number (and a text field's size) is part of the declared column type,
//    e.g. DAO3_SMALLINT, DAO10_TEXT(60), so the schema can be read back;
//  - the engine's rules hold for every statement, also SQL run through Execute: an Integer is
//    16-bit signed, a Byte 0..255, a text field takes at most its size in characters, no text
//    or memo field takes a zero-length string, the field of a required index refuses Null and a
//    primary index is unique;
//  - text compares and sorts without regard to case (the engine's general sort order);
//  - every failure is a DaoError carrying the engine's error number and a description; the
//    rules give 3022 (duplicate key), 3314 (Null in a required field), 3315 (zero-length
//    string), 3163 (text longer than its field), 3349 (Integer or Byte out of range) and 3421
//    (a value that is not of the field's type, such as "abc" or 1.5 in an Integer).
//
// The file is held exclusively from opening to Close: a second opener, in this process or
// another, is refused at once with ErrFileInUse. It runs in write-ahead-log mode with normal
// syncing in exclusive locking mode: a committed statement survives a crash of the program,
// a power loss leaves the file consistent (the last commits may be lost), and after Close the
// database is the one file again (no -wal or -shm file stays).
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantList>

#include <memory>
#include <stdexcept>
#include <vector>

namespace dao {

// ---- constants ---------------------------------------------------------------------------

// Field types (the engine's type numbers).
enum DataType : int { dbByte = 2, dbInteger = 3, dbDouble = 7, dbText = 10, dbMemo = 12 };

// Record set types. dbOpenDefault: a table for a bare table name, else a dynaset.
enum RecordsetType : int { dbOpenDefault = 0, dbOpenTable = 1, dbOpenDynaset = 2, dbOpenSnapshot = 4 };

// CreateDatabase and CompactDatabase option: encrypt the file.
inline constexpr int dbEncrypt = 2;
// Execute option: report a row the statement cannot apply (see Database::Execute).
inline constexpr int dbFailOnError = 128;

// The engine's error numbers this layer reports.
inline constexpr int ErrNoCurrentRecord = 3021;   // a move or field read without a current row
inline constexpr int ErrDuplicateKey = 3022;      // a primary index would hold a value twice
inline constexpr int ErrFileNotFound = 3024;      // the file to open or compact does not exist
inline constexpr int ErrDiskError = 3043;         // input/output failure
inline constexpr int ErrInvalidPath = 3044;       // the folder does not exist
inline constexpr int ErrFileInUse = 3045;         // the file is held by another connection
inline constexpr int ErrCorrupt = 3049;           // the file is damaged
inline constexpr int ErrNoPermission = 3051;      // the file cannot be opened for writing
inline constexpr int ErrIndexNull = 3058;         // a required index over a column holding Null
inline constexpr int ErrTableNotFound = 3078;     // no such table
inline constexpr int ErrInvalidOperation = 3219;  // e.g. a table record set on a query
inline constexpr int ErrDatabaseExists = 3204;    // creation or compaction onto an existing file
inline constexpr int ErrUpdateWithoutEdit = 3020; // Update or a field write outside AddNew/Edit
inline constexpr int ErrReadOnly = 3027;          // writing through a read-only record set
inline constexpr int ErrBadPassword = 3031;       // the file is encrypted with another password
inline constexpr int ErrDiskFull = 3026;          // no space left
inline constexpr int ErrSelectExecuted = 3065;    // Execute given a SELECT
inline constexpr int ErrTooFewParameters = 3061;  // an unknown column name in a statement
inline constexpr int ErrSyntax = 3075;            // the statement cannot be read
inline constexpr int ErrUnknownFieldName = 3127;  // INSERT or UPDATE of a column the table lacks
inline constexpr int ErrTrailingText = 3142;      // more than one statement in the text
inline constexpr int ErrTextTooLong = 3163;       // text longer than the field's size
inline constexpr int ErrItemNotFound = 3265;      // no field of that name in the record set
inline constexpr int ErrNullInRequired = 3314;    // Null in the field of a required index
inline constexpr int ErrZeroLength = 3315;        // "" in a text or memo field
inline constexpr int ErrNotADatabase = 3343;      // the file is not a database of this engine
inline constexpr int ErrNumericOverflow = 3349;   // Integer or Byte value out of its range
inline constexpr int ErrClosed = 3420;            // the database or record set is closed
inline constexpr int ErrTypeConversion = 3421;    // a value that is not of the field's type

// ---- errors ------------------------------------------------------------------------------

class DaoError : public std::runtime_error {
public:
    DaoError(int number, const QString &description);
    int Number() const { return m_number; }
    QString Description() const { return m_description; }

private:
    int m_number;
    QString m_description;
};

// ---- schema definitions ------------------------------------------------------------------

struct Field {
    QString Name;
    int Type = dbText;
    int Size = 0;   // characters of a Text field; 0 for every other type
};

class Index {
public:
    QString Name;
    bool Required = false;   // the indexed fields refuse Null
    bool Primary = false;    // the table's primary key: unique (and required)
    std::vector<Field> Fields;

    Field CreateField(const QString &name) const { return Field{name, dbText, 0}; }
};

class Database;

// A table definition. Fields are appended before the table is appended to the database;
// indexes are appended after, and each is built at once.
class TableDef {
public:
    explicit TableDef(const QString &name) : m_name(name) {}
    TableDef(const TableDef &) = delete;
    TableDef &operator=(const TableDef &) = delete;

    const QString &Name() const { return m_name; }
    const std::vector<Field> &Fields() const { return m_fields; }
    const std::vector<Index> &Indexes() const { return m_indexes; }

    // size counts only for dbText (1..255).
    Field CreateField(const QString &name, int type, int size = 0) const;
    Index CreateIndex(const QString &name) const;

    void AppendField(const Field &field);
    void AppendIndex(const Index &index);

private:
    friend class Database;
    QString m_name;
    std::vector<Field> m_fields;
    std::vector<Index> m_indexes;
    Database *m_db = nullptr;   // set when the table stands in a database
};

// ---- record sets -------------------------------------------------------------------------

struct Connection;
class Recordset;

// One field of a record set's current row (or of its AddNew/Edit buffer).
class FieldRef {
public:
    QString Name() const;
    // The value: qlonglong for Byte and Integer, double for Double, QString for Text and Memo,
    // a null QVariant for Null.
    QVariant Value() const;
    void SetValue(const QVariant &value);
    FieldRef &operator=(const QVariant &value)
    {
        SetValue(value);
        return *this;
    }

private:
    friend class Recordset;
    FieldRef(Recordset *rs, int index) : m_rs(rs), m_index(index) {}
    Recordset *m_rs;
    int m_index;
};

// The rows of a table or a SELECT, read when the set is opened. A table set and a dynaset on
// one table can add and edit rows; a snapshot (and a dynaset over a join or expressions) is
// read-only. RecordCount is the number of rows from the start.
class Recordset {
public:
    ~Recordset();
    Recordset(const Recordset &) = delete;
    Recordset &operator=(const Recordset &) = delete;

    int RecordCount() const;
    bool Eof() const;     // no current row: past the last row, or an empty set
    void MoveFirst();     // ErrNoCurrentRecord on an empty set
    void MoveLast();      // ErrNoCurrentRecord on an empty set
    void MoveNext();      // ErrNoCurrentRecord when already past the last row

    int FieldCount() const;
    FieldRef Fields(int index);            // ErrItemNotFound for an index out of range
    FieldRef Fields(const QString &name);  // case-insensitive; ErrItemNotFound when unknown
    QVariant Value(int index) { return Fields(index).Value(); }
    QVariant Value(const QString &name) { return Fields(name).Value(); }

    void AddNew();   // starts a new row, every field Null
    void Edit();     // starts editing the current row
    void Update();   // stores the new or edited row; the current row stays where it was
    void Close();

private:
    friend class Database;
    friend class FieldRef;
    Recordset() = default;
    void CheckOpen() const;
    void CheckCurrent() const;
    int FieldIndex(const QString &name) const;
    void ReloadRow(qint64 rowid, std::vector<QVariant> &row);

    enum class EditMode { None, AddNew, Edit };
    std::shared_ptr<Connection> m_conn;
    bool m_open = true;
    bool m_updatable = false;
    QString m_table;                    // the base table of an updatable set
    QStringList m_names;                // field names as the statement gives them
    QStringList m_origins;              // the base-table column behind each field
    std::vector<int> m_types;           // engine type of each field (0 when unknown)
    std::vector<std::vector<QVariant>> m_rows;
    std::vector<qint64> m_rowids;
    std::size_t m_pos = 0;
    EditMode m_mode = EditMode::None;
    std::vector<QVariant> m_buffer;
    std::vector<bool> m_changed;
};

// ---- the database ------------------------------------------------------------------------

class Database {
public:
    ~Database();   // closes the file if still open, ignoring errors
    Database(const Database &) = delete;
    Database &operator=(const Database &) = delete;

    const QString &Name() const { return m_name; }   // the file's path
    bool IsOpen() const;

    // Runs one SQL statement (not a SELECT), with '?' placeholders bound to params in order.
    // Without dbFailOnError a row the statement cannot apply because of a rule of the engine
    // (duplicate key, Null in a required field, zero-length or too long text, overflow, wrong
    // type) is left out silently, as the engine does: nothing changes and RecordsAffected is
    // 0. With dbFailOnError that is a DaoError. A statement the engine cannot read, and any
    // failure of the file, is always a DaoError.
    void Execute(const QString &sql, int options = 0, const QVariantList &params = {});
    int RecordsAffected() const { return m_recordsAffected; }

    // A record set on a table name or a SELECT with '?' placeholders bound to params.
    std::unique_ptr<Recordset> OpenRecordset(const QString &source, int type = dbOpenDefault,
                                             const QVariantList &params = {});

    std::unique_ptr<TableDef> CreateTableDef(const QString &name) const;
    // Creates the table with its fields; afterwards its indexes can be appended.
    void AppendTableDef(TableDef &table);
    // The names of the tables in creation order, and one table's definition read back from
    // the file (ErrTableNotFound when it does not exist): fields in order, the primary index
    // first, then the other indexes in creation order.
    QStringList TableNames() const;
    std::unique_ptr<TableDef> ReadTableDef(const QString &name) const;

    // user_version of the file (kept by CompactDatabase).
    int UserVersion() const;
    void SetUserVersion(int version);

    void Close();

private:
    friend class TableDef;
    friend std::unique_ptr<Database> CreateDatabase(const QString &, const QString &, int);
    friend std::unique_ptr<Database> OpenDatabase(const QString &, const QString &);
    friend void CompactDatabase(const QString &, const QString &, const QString &, int,
                                const QString &);
    Database() = default;
    // Opens an existing file; canCreate lets the connection create the files it attaches
    // (the copy of a compaction).
    static std::unique_ptr<Database> OpenFile(const QString &path, const QString &connect, bool canCreate);
    void BuildIndex(TableDef &table, const Index &index);

    std::shared_ptr<Connection> m_conn;
    QString m_name;
    int m_recordsAffected = 0;
};

// Creates a new database file. locale is the engine's locale string, optionally followed by
// ";pwd=" and the password, e.g. ";LANGID=0x0409;CP=1252;COUNTRY=0;pwd=secret". A file with a
// password is always encrypted (dbEncrypt or not); ErrDatabaseExists when the file exists.
std::unique_ptr<Database> CreateDatabase(const QString &path, const QString &locale, int options);

// Opens an existing file exclusively for reading and writing. connect is ";pwd=" and the
// password ("" for a file without one). ErrFileNotFound, ErrBadPassword, ErrNotADatabase,
// ErrFileInUse, ... on failure.
std::unique_ptr<Database> OpenDatabase(const QString &path, const QString &connect);

// Copies the closed database src into the new file dst, dropping free space. With no
// ";pwd=" in dstLocale the copy keeps the source's password and encryption (srcConnect
// gives it). dst must not exist; a failed compaction leaves no dst behind and src untouched.
void CompactDatabase(const QString &src, const QString &dst, const QString &dstLocale = {},
                     int options = 0, const QString &srcConnect = {});

} // namespace dao
