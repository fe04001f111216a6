#include "DatabaseQueryDelete.h"

#include "platform/foundation/Log.h"

#include <sqlite3.h>

DatabaseQueryDelete::DatabaseQueryDelete(Connection db, Statement statement, const QString& sql)
    : DatabaseQuery(std::move(db), std::move(statement), sql)
{
    if (step() != SQLITE_DONE)
        MU_LOG(Log::store, QStringLiteral("Error deleting: '%1'").arg(errorMessage()));
}
