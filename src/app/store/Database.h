#pragma once

#include "app/model/ModelDelegate.h"
#include "app/store/DatabaseQueryClause.h"
#include "app/store/DatabaseQueryDelete.h"
#include "app/store/DatabaseQueryInsert.h"
#include "app/store/DatabaseQuerySelect.h"
#include "app/store/DatabaseQueryUpdate.h"
#include "platform/foundation/Value.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <memory>

struct sqlite3;
struct sqlite3_stmt;

// The application's local store: one SQLite file in the documents folder and
// a builder for one statement at a time. Each builder step sets a part of the
// next statement; running it binds the values, resets the builder and hands
// back the result. Table names are lower-cased; they and the column names come
// from code and go into the SQL as they are.
//
// Not thread-safe: statements are built and run on the main thread.
class Database : public ModelDelegate {
public:
    // The shared store on "database.sql".
    static std::shared_ptr<Database> getInstance();
    // Closes the shared store (once nobody else holds it); the next
    // getInstance() opens it again.
    static void resetInstance();

    Database();
    // Opens the file of that name in the documents folder; a missing file is
    // first copied from the application's resources, or starts empty when the
    // resources have none. When opening fails the handle stays null and every
    // statement logs and fails.
    explicit Database(const QString& filename);
    ~Database() override = default;

    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    sqlite3* db() const { return m_db.get(); }

    // Builder steps, each for the next statement.
    // Column names separated by commas; spaces are dropped.
    void selectFromString(const QString& fields);
    void selectFromArray(const QStringList& fields);
    void from(const QString& table);
    // A dictionary condition; anything else (nothing included) is ignored.
    // Several calls add conditions joined by AND.
    void where(const Value& condition);
    void where(const DatabaseQueryClause::Ptr& clause);
    void orderBy(const QString& order);
    // 0 or less: no limit.
    void limit(int limit);
    void offset(int offset);
    // Merged into the values of the next INSERT or UPDATE.
    void set(const ValueDict& values);

    // Statement steps: null (and the builder reset) when no table was named,
    // or, for insert and update, when no values were set.
    std::shared_ptr<DatabaseQuerySelect> run();
    std::shared_ptr<DatabaseQueryInsert> insert();
    std::shared_ptr<DatabaseQueryUpdate> update();
    std::shared_ptr<DatabaseQueryDelete> remove();

    // ModelDelegate.
    ValueList getFrom(const QString& table, const Value& condition, const QString& order, int rowLimit,
                      int rowOffset) override;
    ValueList getFrom(const QString& table) { return getFrom(table, Value(), QString(), 0, 0); }
    ValueList getFrom(const QString& table, const Value& condition)
    {
        return getFrom(table, condition, QString(), 0, 0);
    }
    ValueList getFrom(const QString& table, const Value& condition, const QString& order)
    {
        return getFrom(table, condition, order, 0, 0);
    }
    ValueList getFrom(const QString& table, const Value& condition, const QString& order, int rowLimit)
    {
        return getFrom(table, condition, order, rowLimit, 0);
    }
    // The new row's id; 0 when nothing was added or the id does not fit.
    qint32 insertInto(const QString& table, const ValueDict& values) override;
    void update(const QString& table, const ValueDict& values, const Value& condition) override;
    void deleteFrom(const QString& table, const Value& condition) override;

    // The values of all conditions, in the order of their marks.
    ValueList getClausesValues() const;
    // Value i at position start + i. Text, numbers and booleans are bound as
    // such, bytes as a blob; anything else leaves the parameter NULL.
    static void bindValues(const ValueList& values, sqlite3_stmt* statement, int start = 1);
    // Appends the WHERE part, if any.
    void parseClausesInto(QString& query) const;
    void reset();

private:
    DatabaseQuery::Statement prepare(const QString& sql, bool withQueryText = false) const;

    DatabaseQuery::Connection m_db;
    QStringList m_fields;
    QString m_tableName;
    QList<DatabaseQueryClause::Ptr> m_where;
    QString m_orderBy;
    ValueDict m_values;
    int m_limit = 0;
    int m_offset = 0;
};
