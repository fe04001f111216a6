#pragma once

#include "app/store/DatabaseQuery.h"

// An UPDATE, run when made.
class DatabaseQueryUpdate : public DatabaseQuery {
public:
    DatabaseQueryUpdate(Connection db, Statement statement, const QString& sql);
};
