#include "DatabaseQuery.h"

#include "platform/foundation/Log.h"

#include <sqlite3.h>

DatabaseQuery::DatabaseQuery(Connection db, Statement statement, const QString& sql)
    : m_db(std::move(db)), m_statement(std::move(statement)), m_sql(sql)
{
}

DatabaseQuery::Statement DatabaseQuery::own(sqlite3_stmt* statement)
{
    return Statement(statement, &DatabaseQuery::finalize);
}

void DatabaseQuery::finalize(sqlite3_stmt* statement)
{
    if (!statement)
        return;
    sqlite3* db = sqlite3_db_handle(statement);
    sqlite3_reset(statement);
    if (sqlite3_finalize(statement) != SQLITE_OK)
        MU_LOG(Log::store, QStringLiteral("Error finalizing statement: '%1'").arg(QString::fromUtf8(sqlite3_errmsg(db))));
}

int DatabaseQuery::step()
{
    if (!m_db || !m_statement)
        return SQLITE_MISUSE;
    return sqlite3_step(m_statement.get());
}

QString DatabaseQuery::errorMessage() const
{
    if (!m_db)
        return QStringLiteral("no open database");
    return QString::fromUtf8(sqlite3_errmsg(m_db.get()));
}
