#include "DatabaseQuerySelect.h"

#include "platform/foundation/Log.h"

#include <sqlite3.h>

Value DatabaseQuerySelect::row()
{
    // SQLite starts a finished statement over on the next step: stop here
    // so the rows are not read twice.
    if (m_finished)
        return Value();
    const int rc = step();
    if (rc == SQLITE_DONE) {
        m_finished = true;
        return Value();
    }
    if (rc != SQLITE_ROW) {
        m_finished = true;
        MU_LOG(Log::store, QStringLiteral("Error fetching row: '%1'").arg(errorMessage()));
        return Value();
    }

    sqlite3_stmt* st = statement();
    ValueDict row;
    const int count = sqlite3_column_count(st);
    for (int i = 0; i < count; ++i) {
        const char* name = sqlite3_column_name(st, i);
        if (!name)
            break;
        const QString key = QString::fromUtf8(name);
        switch (sqlite3_column_type(st, i)) {
        case SQLITE_INTEGER:
            row.insert(key, Value(static_cast<qint64>(sqlite3_column_int64(st, i))));
            break;
        case SQLITE_FLOAT:
            row.insert(key, Value(sqlite3_column_double(st, i)));
            break;
        case SQLITE_TEXT: {
            const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(st, i));
            row.insert(key, Value(QString::fromUtf8(text, sqlite3_column_bytes(st, i))));
            break;
        }
        case SQLITE_BLOB: {
            const auto* bytes = static_cast<const char*>(sqlite3_column_blob(st, i));
            row.insert(key, Value(QByteArray(bytes, sqlite3_column_bytes(st, i))));
            break;
        }
        default:  // NULL: the key stays out
            break;
        }
    }
    Value value(std::move(row));
    if (m_result)
        m_result->push_back(value);
    return value;
}

const ValueList& DatabaseQuerySelect::result()
{
    if (!m_result) {
        m_result.emplace();
        while (!row().isAbsent()) {
        }
    }
    return *m_result;
}

int DatabaseQuerySelect::numRows()
{
    return static_cast<int>(result().size());
}
