#pragma once
// The accounts the reference service knows, read from a JSON data file:
//
// {
//   "version": "1.0.0",                      newest program version (reply to "version")
//   "accounts": [ {
//     "username": "demo", "password": "...", "fullname": "...",
//     "locked": false,                        optional: a locked account gets error 4
//     "categories":        [ { "id": 11, "name": "Design" }, ... ],
//     "expenseCategories": [ { "id": 1,  "name": "Travel" }, ... ],
//     "projects": [ { "id": 101, "name": "...", "expenses": true,
//                     "tasks": [ { "id": 1001, "name": "...", "expenses": false,
//                                  "categories": [ 11, 12 ] } ] } ]
//   } ]
// }
//
// Ids are positive whole numbers; "expenses" is optional (default true); a task lists the ids
// of the account's categories it offers. Names may hold any letter but "<" and ">", which the
// reply format cannot carry.
#include <QString>
#include <QList>
#include <optional>

namespace service {

struct Category {
    qint64 id = 0;
    QString name;
};

struct Task {
    qint64 id = 0;
    QString name;
    bool expenses = true;
    QList<qint64> categories;
};

struct Project {
    qint64 id = 0;
    QString name;
    bool expenses = true;
    QList<Task> tasks;
};

struct Account {
    QString username;
    QString password;
    QString fullname;
    bool locked = false;
    QList<Category> categories;
    QList<Category> expenseCategories;
    QList<Project> projects;

    const Project *findProject(qint64 id) const;
    const Category *findCategory(qint64 id) const;
    const Category *findExpenseCategory(qint64 id) const;
};

struct DataFile {
    QString version;
    QList<Account> accounts;

    const Account *findAccount(const QString &username) const;
};

// Reads and checks the file; on failure returns nothing and says why in *error.
std::optional<DataFile> LoadDataFile(const QString &path, QString *error);

} // namespace service
