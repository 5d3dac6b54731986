#pragma once
// One download writes thousands of small rows (a project, its tasks, each task's categories
// and their links). Grouped in one transaction of the open database, every upsert still stands
// as a statement of its own (a statement that fails changes nothing), but the file is written
// once at the end instead of once per row. What was written before a failure is committed too,
// as it would have been row by row; a run that ends before the commit (a crash) loses the
// partial download, which the next download brings again.
#include "core/modMain.h"
#include "platform/dao/dao.h"

#include <exception>

class ReceivedBatch {
public:
    ReceivedBatch()
    {
        try {
            if (modMain::DB && modMain::DB->IsOpen()) {
                modMain::DB->Execute(QStringLiteral("BEGIN"));
                m_open = true;
            }
        } catch (const std::exception &) {
            // Already inside a transaction, or no database: the rows are written one by one.
        }
    }
    ~ReceivedBatch() { Commit(); }
    ReceivedBatch(const ReceivedBatch &) = delete;
    ReceivedBatch &operator=(const ReceivedBatch &) = delete;

    // Writes what the batch holds; false when the file refused it (the rows are then gone).
    bool Commit()
    {
        if (!m_open)
            return true;
        m_open = false;
        try {
            modMain::DB->Execute(QStringLiteral("COMMIT"));
            return true;
        } catch (const std::exception &) {
            try {
                modMain::DB->Execute(QStringLiteral("ROLLBACK"));
            } catch (const std::exception &) {
            }
            return false;
        }
    }

private:
    bool m_open = false;
};
