#pragma once

#include "app/store/DatabaseQuery.h"

// A DELETE, run when made.
class DatabaseQueryDelete : public DatabaseQuery {
public:
    DatabaseQueryDelete(Connection db, Statement statement, const QString& sql);
};
