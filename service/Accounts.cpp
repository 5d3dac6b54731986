#include "Accounts.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>

namespace service {

const Project *Account::findProject(qint64 id) const
{
    for (const Project &p : projects)
        if (p.id == id)
            return &p;
    return nullptr;
}

const Category *Account::findCategory(qint64 id) const
{
    for (const Category &c : categories)
        if (c.id == id)
            return &c;
    return nullptr;
}

const Category *Account::findExpenseCategory(qint64 id) const
{
    for (const Category &c : expenseCategories)
        if (c.id == id)
            return &c;
    return nullptr;
}

const Account *DataFile::findAccount(const QString &username) const
{
    for (const Account &a : accounts)
        if (a.username == username)
            return &a;
    return nullptr;
}

namespace {

struct Reader {
    QString error;

    bool fail(const QString &where, const QString &what)
    {
        if (error.isEmpty())
            error = where + QStringLiteral(": ") + what;
        return false;
    }

    bool id(const QJsonObject &o, const QString &where, qint64 *out)
    {
        const QJsonValue v = o.value(QStringLiteral("id"));
        if (!v.isDouble() || v.toDouble() < 1 || v.toDouble() != double(qint64(v.toDouble())))
            return fail(where, QStringLiteral("\"id\" must be a positive whole number"));
        *out = qint64(v.toDouble());
        return true;
    }

    bool name(const QJsonObject &o, const QString &key, const QString &where, QString *out)
    {
        const QJsonValue v = o.value(key);
        if (!v.isString() || v.toString().trimmed().isEmpty())
            return fail(where, QStringLiteral("\"%1\" must be a non-empty text").arg(key));
        const QString s = v.toString();
        if (s.contains(u'<') || s.contains(u'>'))
            return fail(where, QStringLiteral("\"%1\" may not contain < or >").arg(key));
        *out = s;
        return true;
    }

    bool flag(const QJsonObject &o, const QString &where, bool *out)
    {
        const QJsonValue v = o.value(QStringLiteral("expenses"));
        if (v.isUndefined()) {
            *out = true;
            return true;
        }
        if (!v.isBool())
            return fail(where, QStringLiteral("\"expenses\" must be true or false"));
        *out = v.toBool();
        return true;
    }

    bool categories(const QJsonValue &v, const QString &where, QList<Category> *out)
    {
        if (v.isUndefined())
            return true;
        if (!v.isArray())
            return fail(where, QStringLiteral("must be a list"));
        QSet<qint64> seen;
        for (const QJsonValue &e : v.toArray()) {
            Category c;
            const QJsonObject o = e.toObject();
            if (!id(o, where, &c.id) || !name(o, QStringLiteral("name"), where, &c.name))
                return false;
            if (seen.contains(c.id))
                return fail(where, QStringLiteral("id %1 appears twice").arg(c.id));
            seen.insert(c.id);
            out->append(c);
        }
        return true;
    }

    bool account(const QJsonObject &o, Account *a)
    {
        const QString where = QStringLiteral("account");
        if (!o.value(QStringLiteral("username")).isString() || o.value(QStringLiteral("username")).toString().isEmpty())
            return fail(where, QStringLiteral("\"username\" must be a non-empty text"));
        a->username = o.value(QStringLiteral("username")).toString();
        const QString at = QStringLiteral("account %1").arg(a->username);
        if (!o.value(QStringLiteral("password")).isString() || o.value(QStringLiteral("password")).toString().isEmpty())
            return fail(at, QStringLiteral("\"password\" must be a non-empty text"));
        a->password = o.value(QStringLiteral("password")).toString();
        if (!name(o, QStringLiteral("fullname"), at, &a->fullname))
            return false;
        const QJsonValue locked = o.value(QStringLiteral("locked"));
        if (!locked.isUndefined() && !locked.isBool())
            return fail(at, QStringLiteral("\"locked\" must be true or false"));
        a->locked = locked.toBool(false);
        if (!categories(o.value(QStringLiteral("categories")), at + QStringLiteral(" categories"), &a->categories)
            || !categories(o.value(QStringLiteral("expenseCategories")), at + QStringLiteral(" expenseCategories"),
                           &a->expenseCategories))
            return false;
        const QJsonValue projects = o.value(QStringLiteral("projects"));
        if (!projects.isUndefined() && !projects.isArray())
            return fail(at, QStringLiteral("\"projects\" must be a list"));
        QSet<qint64> projectIds, taskIds;
        for (const QJsonValue &pv : projects.toArray()) {
            const QJsonObject po = pv.toObject();
            Project p;
            if (!id(po, at + QStringLiteral(" project"), &p.id))
                return false;
            const QString pw = at + QStringLiteral(" project %1").arg(p.id);
            if (!name(po, QStringLiteral("name"), pw, &p.name) || !flag(po, pw, &p.expenses))
                return false;
            if (projectIds.contains(p.id))
                return fail(pw, QStringLiteral("id appears twice"));
            projectIds.insert(p.id);
            const QJsonValue tasks = po.value(QStringLiteral("tasks"));
            if (!tasks.isUndefined() && !tasks.isArray())
                return fail(pw, QStringLiteral("\"tasks\" must be a list"));
            for (const QJsonValue &tv : tasks.toArray()) {
                const QJsonObject to = tv.toObject();
                Task t;
                if (!id(to, pw + QStringLiteral(" task"), &t.id))
                    return false;
                const QString tw = pw + QStringLiteral(" task %1").arg(t.id);
                if (!name(to, QStringLiteral("name"), tw, &t.name) || !flag(to, tw, &t.expenses))
                    return false;
                if (taskIds.contains(t.id))
                    return fail(tw, QStringLiteral("task id appears twice in the account"));
                taskIds.insert(t.id);
                const QJsonValue cats = to.value(QStringLiteral("categories"));
                if (!cats.isUndefined() && !cats.isArray())
                    return fail(tw, QStringLiteral("\"categories\" must be a list of ids"));
                for (const QJsonValue &cv : cats.toArray()) {
                    const qint64 cid = qint64(cv.toDouble());
                    if (!cv.isDouble() || !a->findCategory(cid))
                        return fail(tw, QStringLiteral("category %1 is not among the account's categories")
                                            .arg(cv.toVariant().toString()));
                    t.categories.append(cid);
                }
                p.tasks.append(t);
            }
            a->projects.append(p);
        }
        return true;
    }
};

} // namespace

std::optional<DataFile> LoadDataFile(const QString &path, QString *error)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("%1: %2").arg(path, f.errorString());
        return std::nullopt;
    }
    QJsonParseError pe;
    const QJsonDocument doc = QJsonDocument::fromJson(f.readAll(), &pe);
    if (pe.error != QJsonParseError::NoError || !doc.isObject()) {
        *error = QStringLiteral("%1: not a JSON object (%2 at offset %3)").arg(path, pe.errorString()).arg(pe.offset);
        return std::nullopt;
    }
    const QJsonObject root = doc.object();
    DataFile data;
    Reader r;
    data.version = root.value(QStringLiteral("version")).toString(QStringLiteral("1.0.0"));
    if (data.version.contains(u'<') || data.version.contains(u'>'))
        r.fail(QStringLiteral("version"), QStringLiteral("may not contain < or >"));
    const QJsonValue accounts = root.value(QStringLiteral("accounts"));
    if (!accounts.isArray())
        r.fail(QStringLiteral("accounts"), QStringLiteral("must be a list"));
    for (const QJsonValue &av : accounts.toArray()) {
        if (!r.error.isEmpty())
            break;
        Account a;
        if (!r.account(av.toObject(), &a))
            break;
        if (data.findAccount(a.username)) {
            r.fail(QStringLiteral("account %1").arg(a.username), QStringLiteral("user name appears twice"));
            break;
        }
        data.accounts.append(a);
    }
    if (!r.error.isEmpty()) {
        *error = path + QStringLiteral(": ") + r.error;
        return std::nullopt;
    }
    return data;
}

} // namespace service
