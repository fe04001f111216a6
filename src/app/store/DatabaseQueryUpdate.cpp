#include "DatabaseQueryUpdate.h"

#include "platform/foundation/Log.h"

#include <sqlite3.h>

DatabaseQueryUpdate::DatabaseQueryUpdate(Connection db, Statement statement, const QString& sql)
    : DatabaseQuery(std::move(db), std::move(statement), sql)
{
    if (step() != SQLITE_DONE)
        MU_LOG(Log::store, QStringLiteral("Error updating: '%1'").arg(errorMessage()));
}
