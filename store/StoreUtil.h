#pragma once
// Small pieces the database module's procedures share (not part of its interface).
#include "platform/dao/dao.h"

#include <QString>
#include <QVariant>

#include <cmath>
#include <cstdint>
#include <exception>
#include <memory>
#include <utility>

namespace modDBchr::detail {

// Closes a record set, ignoring its errors.
inline void CloseQuietly(std::unique_ptr<dao::Recordset> &rs)
{
    if (!rs)
        return;
    try {
        rs->Close();
    } catch (...) {
    }
    rs.reset();
}

// Closes the record set when the procedure leaves, whatever way it leaves.
struct CloseOnExit {
    std::unique_ptr<dao::Recordset> &rs;
    ~CloseOnExit() { CloseQuietly(rs); }
};

// The program's database; throws the engine's error when it is not open.
dao::Database &OpenDatabase();

// A savepoint of db, undone unless it is released: what was written under it stays all
// together or not at all. A savepoint, so that it also nests inside a caller's transaction.
class Savepoint {
public:
    Savepoint(dao::Database &db, const char *name) : m_db(db), m_name(QString::fromLatin1(name))
    {
        m_db.Execute(QStringLiteral("SAVEPOINT ") + m_name);
    }
    ~Savepoint()
    {
        if (!m_open)
            return;
        try {
            m_db.Execute(QStringLiteral("ROLLBACK TO ") + m_name);
            m_db.Execute(QStringLiteral("RELEASE ") + m_name);
        } catch (...) {
        }
    }
    Savepoint(const Savepoint &) = delete;
    Savepoint &operator=(const Savepoint &) = delete;
    // Keeps what was written.
    void Release()
    {
        m_db.Execute(QStringLiteral("RELEASE ") + m_name);
        m_open = false;
    }

private:
    dao::Database &m_db;
    QString m_name;
    bool m_open = true;
};

// The first row's only column of sql with the one parameter id, trimmed; "" when there is no
// row, the value is Null or the database cannot answer.
QString FirstText(const QString &sql, double id);

// An id held as a Double written as plain decimal digits (node tags, texts).
inline QString IdText(double id)
{
    if (std::isfinite(id) && id == std::floor(id) && std::fabs(id) < 9.0e15)
        return QString::number(static_cast<qlonglong>(id));
    return QString::number(id, 'g', 17);
}

// A text for a column that takes no zero-length text: "" is stored as Null, which reads back
// as "".
inline QVariant NullIfEmpty(const QString &text)
{
    return text.isEmpty() ? QVariant() : QVariant(text);
}

// A received or typed name as it goes into a Text column of the given size: an empty text
// becomes Null (the columns take no zero-length text, and a missing name must not lose the
// row), a longer one is cut to the column's size.
inline QVariant NameValue(const QString &text, int size)
{
    if (text.isEmpty())
        return QVariant();
    if (text.size() <= size)
        return text;
    // Never split a character that takes two code units.
    return text.left(text.at(size - 1).isHighSurrogate() ? size - 1 : size);
}

// Runs body, turning the engine's failures into their number (0 when body ran through) and
// keeping their description in lastError ("" after a success).
template <class F>
int32_t Guarded(QString &lastError, F &&body)
{
    try {
        lastError.clear();
        body();
        return 0;
    } catch (const dao::DaoError &e) {
        lastError = e.Description();
        return e.Number() ? e.Number() : dao::ErrDiskError;
    } catch (const std::exception &e) {
        lastError = QString::fromLocal8Bit(e.what());
        return dao::ErrDiskError;
    }
}

// The last failure of one group of procedures: each procedure runs its body through it
// (Guarded(body) is 0 or the engine's number), and Last() describes the failure ("" after a
// success).
class FailureKeeper {
public:
    template <class F>
    int32_t operator()(F &&body)
    {
        return Guarded(m_last, std::forward<F>(body));
    }
    const QString &Last() const { return m_last; }

private:
    QString m_last;
};

} // namespace modDBchr::detail
