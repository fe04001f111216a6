#pragma once

#include "app/store/DatabaseQuery.h"

#include <QtGlobal>

// An INSERT, run when made.
class DatabaseQueryInsert : public DatabaseQuery {
public:
    DatabaseQueryInsert(Connection db, Statement statement, const QString& sql);

    // The new row's id; 0 when the insert did not complete.
    qint64 insertId() const { return m_insertedId; }

private:
    qint64 m_insertedId = 0;
};
