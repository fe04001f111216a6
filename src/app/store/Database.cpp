#include "Database.h"

#include "platform/foundation/Bundle.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/Paths.h"

#include <QFile>
#include <QFileInfo>

#include <sqlite3.h>

#include <limits>
#include <mutex>

namespace {

bool isPlainInteger(const QString& text)
{
    qsizetype i = text.startsWith(u'-') ? 1 : 0;
    if (i >= text.size())
        return false;
    for (; i < text.size(); ++i) {
        if (text.at(i) < u'0' || text.at(i) > u'9')
            return false;
    }
    return true;
}

void bindText(sqlite3_stmt* statement, int position, const QString& text)
{
    const QByteArray utf8 = text.toUtf8();
    sqlite3_bind_text(statement, position, utf8.constData(), static_cast<int>(utf8.size()), SQLITE_TRANSIENT);
}

void bindNumber(sqlite3_stmt* statement, int position, const QString& decimalText)
{
    if (isPlainInteger(decimalText)) {
        bool ok = false;
        const qint64 n = decimalText.toLongLong(&ok);
        if (ok) {
            sqlite3_bind_int64(statement, position, n);
            return;
        }
        // Beyond SQLite's integers: the digits themselves rather than a
        // wrapped or rounded number.
        bindText(statement, position, decimalText);
        return;
    }
    sqlite3_bind_double(statement, position, TextNumber::toDouble(decimalText));
}

}  // namespace

namespace {

std::mutex& instanceLock()
{
    static std::mutex lock;
    return lock;
}

std::shared_ptr<Database>& instanceSlot()
{
    static std::shared_ptr<Database> instance;
    return instance;
}

}  // namespace

std::shared_ptr<Database> Database::getInstance()
{
    const std::lock_guard<std::mutex> guard(instanceLock());
    std::shared_ptr<Database>& instance = instanceSlot();
    if (!instance)
        instance = std::make_shared<Database>();
    return instance;
}

void Database::resetInstance()
{
    const std::lock_guard<std::mutex> guard(instanceLock());
    instanceSlot().reset();
}

Database::Database() : Database(QStringLiteral("database.sql")) {}

Database::Database(const QString& filename)
{
    const QString path = Paths::documentsDir() + u'/' + filename;
    if (!QFileInfo::exists(path)) {
        const QString resource = Bundle::main().pathForResource(filename);
        if (resource.isNull()) {
            MU_LOG(Log::store, QStringLiteral("No resource '%1': starting an empty database.").arg(filename));
        } else {
            QFile source(resource);
            if (source.copy(path))
                // The copy is the user's to write, whatever the resource's mode.
                QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
            else
                MU_LOG(Log::store, QStringLiteral("Failed to create writable database file with message '%1'.")
                           .arg(source.errorString()));
        }
    }

    sqlite3* handle = nullptr;
    const int rc = sqlite3_open_v2(path.toUtf8().constData(), &handle, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE,
                                   nullptr);
    if (rc == SQLITE_OK) {
        m_db = DatabaseQuery::Connection(handle, sqlite3_close_v2);
    } else {
        const QString message =
            QString::fromUtf8(handle ? sqlite3_errmsg(handle) : sqlite3_errstr(rc));
        sqlite3_close(handle);
        MU_LOG(Log::store, QStringLiteral("Failed to open database with message '%1'.").arg(message));
    }
    reset();
}

// ---- Builder

void Database::selectFromString(const QString& fields)
{
    QString compact = fields;
    compact.remove(u' ');
    m_fields.append(compact.split(u',', Qt::SkipEmptyParts));
}

void Database::selectFromArray(const QStringList& fields)
{
    m_fields.append(fields);
}

void Database::from(const QString& table)
{
    m_tableName = table.toLower();
}

void Database::where(const Value& condition)
{
    if (condition.isDict())
        where(DatabaseQueryClause::clauseWithDictionary(condition.dict()));
}

void Database::where(const DatabaseQueryClause::Ptr& clause)
{
    // A condition without parts restricts nothing (and has no text to paste).
    if (clause && !clause->isEmpty())
        m_where.append(clause);
}

void Database::orderBy(const QString& order)
{
    m_orderBy = order;
}

void Database::limit(int limit)
{
    m_limit = limit;
}

void Database::offset(int offset)
{
    m_offset = offset;
}

void Database::set(const ValueDict& values)
{
    for (const ValueDict::Entry& entry : values)
        m_values.insert(entry.first, entry.second);
}

void Database::reset()
{
    m_fields.clear();
    m_tableName = QString();
    m_where.clear();
    m_orderBy = QString();
    m_values = ValueDict();
    m_limit = 0;
    m_offset = 0;
}

// ---- Statements

DatabaseQuery::Statement Database::prepare(const QString& sql, bool withQueryText) const
{
    if (!m_db) {
        MU_LOG(Log::store, QStringLiteral("Error preparing statement: '%1'.").arg(QStringLiteral("no open database")));
        return DatabaseQuery::own(nullptr);
    }
    sqlite3_stmt* statement = nullptr;
    const QByteArray utf8 = sql.toUtf8();
    if (sqlite3_prepare_v2(m_db.get(), utf8.constData(), static_cast<int>(utf8.size()), &statement, nullptr)
        != SQLITE_OK) {
        const QString message = QString::fromUtf8(sqlite3_errmsg(m_db.get()));
        if (withQueryText)
            MU_LOG(Log::store, QStringLiteral("Error preparing statement: '%1'. Query is: '%2'").arg(message, sql));
        else
            MU_LOG(Log::store, QStringLiteral("Error preparing statement: '%1'.").arg(message));
        sqlite3_finalize(statement);
        statement = nullptr;
    }
    return DatabaseQuery::own(statement);
}

std::shared_ptr<DatabaseQuerySelect> Database::run()
{
    if (m_tableName.isEmpty()) {
        reset();
        return nullptr;
    }
    QString sql = QStringLiteral("SELECT ");
    sql += m_fields.isEmpty() ? QStringLiteral("*") : m_fields.join(QStringLiteral(", "));
    sql += QStringLiteral(" FROM %1").arg(m_tableName);
    parseClausesInto(sql);
    if (!m_orderBy.isEmpty())
        sql += QStringLiteral(" ORDER BY %1").arg(m_orderBy);
    if (m_limit >= 1)
        sql += QStringLiteral(" LIMIT %1, %2").arg(m_offset).arg(m_limit);

    DatabaseQuery::Statement statement = prepare(sql);
    bindValues(getClausesValues(), statement.get());
    reset();
    return std::make_shared<DatabaseQuerySelect>(m_db, std::move(statement), sql);
}

std::shared_ptr<DatabaseQueryInsert> Database::insert()
{
    if (m_tableName.isEmpty() || m_values.isEmpty()) {
        reset();
        return nullptr;
    }
    const QStringList keys = m_values.keys();
    QStringList marks;
    ValueList values;
    for (const ValueDict::Entry& entry : m_values) {
        marks.append(QStringLiteral("?"));
        values.push_back(entry.second);
    }
    const QString sql = QStringLiteral("INSERT INTO %1 (").arg(m_tableName) + keys.join(QStringLiteral(", "))
                        + QStringLiteral(") VALUES (%1)").arg(marks.join(QStringLiteral(", ")));

    DatabaseQuery::Statement statement = prepare(sql);
    bindValues(values, statement.get());
    reset();
    return std::make_shared<DatabaseQueryInsert>(m_db, std::move(statement), sql);
}

std::shared_ptr<DatabaseQueryUpdate> Database::update()
{
    if (m_tableName.isEmpty() || m_values.isEmpty()) {
        reset();
        return nullptr;
    }
    QStringList assignments;
    ValueList values;
    for (const ValueDict::Entry& entry : m_values) {
        assignments.append(QStringLiteral("%1 = ?").arg(entry.first));
        values.push_back(entry.second);
    }
    QString sql = QStringLiteral("UPDATE %1 SET ").arg(m_tableName) + assignments.join(QStringLiteral(", "));
    parseClausesInto(sql);

    DatabaseQuery::Statement statement = prepare(sql, true);
    bindValues(values, statement.get());
    bindValues(getClausesValues(), statement.get(), static_cast<int>(values.size()) + 1);
    reset();
    return std::make_shared<DatabaseQueryUpdate>(m_db, std::move(statement), sql);
}

std::shared_ptr<DatabaseQueryDelete> Database::remove()
{
    if (m_tableName.isEmpty()) {
        reset();
        return nullptr;
    }
    QString sql = QStringLiteral("DELETE FROM %1").arg(m_tableName);
    parseClausesInto(sql);

    DatabaseQuery::Statement statement = prepare(sql);
    bindValues(getClausesValues(), statement.get());
    reset();
    return std::make_shared<DatabaseQueryDelete>(m_db, std::move(statement), sql);
}

// ---- ModelDelegate

ValueList Database::getFrom(const QString& table, const Value& condition, const QString& order, int rowLimit,
                            int rowOffset)
{
    from(table);
    where(condition);
    orderBy(order);
    limit(rowLimit);
    offset(rowOffset);
    const std::shared_ptr<DatabaseQuerySelect> select = run();
    return select ? select->result() : ValueList();
}

qint32 Database::insertInto(const QString& table, const ValueDict& values)
{
    from(table);
    set(values);
    const std::shared_ptr<DatabaseQueryInsert> result = insert();
    if (!result)
        return 0;
    const qint64 id = result->insertId();
    if (id > std::numeric_limits<qint32>::max() || id < std::numeric_limits<qint32>::min()) {
        // A cut-down id would name another row on the next update.
        MU_LOG(Log::store, QStringLiteral("Row id %1 of table %2 does not fit a model id.").arg(id).arg(table));
        return 0;
    }
    return static_cast<qint32>(id);
}

void Database::update(const QString& table, const ValueDict& values, const Value& condition)
{
    from(table);
    set(values);
    where(condition);
    update();
}

void Database::deleteFrom(const QString& table, const Value& condition)
{
    from(table);
    where(condition);
    remove();
}

// ---- Conditions and binding

ValueList Database::getClausesValues() const
{
    ValueList values;
    for (const DatabaseQueryClause::Ptr& clause : m_where)
        values.insert(values.end(), clause->values().begin(), clause->values().end());
    return values;
}

void Database::bindValues(const ValueList& values, sqlite3_stmt* statement, int start)
{
    if (!statement)
        return;
    int position = start;
    for (const Value& value : values) {
        switch (value.type()) {
        case Value::Type::String: bindText(statement, position, value.string()); break;
        case Value::Type::Number: bindNumber(statement, position, value.numberText()); break;
        case Value::Type::Bool: sqlite3_bind_int(statement, position, value.toBool() ? 1 : 0); break;
        case Value::Type::Bytes: {
            const QByteArray bytes = value.bytes();
            sqlite3_bind_blob(statement, position, bytes.constData(), static_cast<int>(bytes.size()),
                              SQLITE_TRANSIENT);
            break;
        }
        default:  // nothing, null, lists, dictionaries, dates: the parameter stays NULL
            break;
        }
        ++position;
    }
}

void Database::parseClausesInto(QString& query) const
{
    if (m_where.isEmpty())
        return;
    if (m_where.size() == 1) {
        query += QStringLiteral(" WHERE %1 ").arg(m_where.first()->toString());
        return;
    }
    const DatabaseQueryClause all(m_where);
    query += QStringLiteral(" WHERE %1 ").arg(all.toString());
}
