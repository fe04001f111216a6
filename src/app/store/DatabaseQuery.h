#pragma once

#include <QString>

#include <memory>

struct sqlite3;
struct sqlite3_stmt;

// A statement of the local store and the result it gives. The result owns the
// prepared statement and shares the connection, so the connection stays open
// until the last result is gone.
class DatabaseQuery {
public:
    using Connection = std::shared_ptr<sqlite3>;
    using Statement = std::unique_ptr<sqlite3_stmt, void (*)(sqlite3_stmt*)>;

    // A statement that failed to prepare is null: stepping it fails.
    DatabaseQuery(Connection db, Statement statement, const QString& sql);
    virtual ~DatabaseQuery() = default;

    DatabaseQuery(const DatabaseQuery&) = delete;
    DatabaseQuery& operator=(const DatabaseQuery&) = delete;

    sqlite3_stmt* statement() const { return m_statement.get(); }
    // The SQL text the statement was prepared from.
    const QString& sql() const { return m_sql; }

    // Takes a prepared statement (or null) into the owning form.
    static Statement own(sqlite3_stmt* statement);

protected:
    // One step of the statement; a missing statement or connection answers
    // as SQLite does for misuse.
    int step();
    // SQLite's latest error text on the connection.
    QString errorMessage() const;
    sqlite3* connection() const { return m_db.get(); }

private:
    static void finalize(sqlite3_stmt* statement);

    // Declared first so that it is released after the statement.
    Connection m_db;
    Statement m_statement;
    QString m_sql;
};
