#include "DatabaseQueryInsert.h"

#include "platform/foundation/Log.h"

#include <sqlite3.h>

DatabaseQueryInsert::DatabaseQueryInsert(Connection db, Statement statement, const QString& sql)
    : DatabaseQuery(std::move(db), std::move(statement), sql)
{
    if (step() == SQLITE_DONE)
        m_insertedId = sqlite3_last_insert_rowid(connection());
    else
        MU_LOG(Log::store, QStringLiteral("Error inserting: '%1'").arg(errorMessage()));
}
