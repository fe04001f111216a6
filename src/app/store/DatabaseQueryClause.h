#pragma once

#include "platform/foundation/Value.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <memory>

// One WHERE condition of the local store: parts joined by AND (or OR when
// `any` is set), each with "?" marks whose values are kept in mark order.
class DatabaseQueryClause {
public:
    using Ptr = std::shared_ptr<DatabaseQueryClause>;

    DatabaseQueryClause() = default;
    explicit DatabaseQueryClause(const ValueDict& dictionary);
    explicit DatabaseQueryClause(const QList<Ptr>& clauses);

    static Ptr clauseWithDictionary(const ValueDict& dictionary);
    static Ptr clauseWithClauses(const QList<Ptr>& clauses, bool any = false);

    // A list value gives "key IN (?,...)"; a key that carries its own
    // operator ("!=", ">", "<") gives "key ?"; any other key "key = ?".
    void addValue(const Value& value, const QString& key);
    // Each entry in the dictionary's order.
    void addDictionary(const ValueDict& dictionary);
    // The other clause becomes one part; a clause without parts adds nothing.
    void addClause(const DatabaseQueryClause& clause);
    void addClauses(const QList<Ptr>& clauses);

    // "(" + the parts joined + ")", or a null text when there are no parts.
    QString toString() const;
    bool isEmpty() const { return m_clauses.isEmpty(); }

    bool any() const { return m_any; }
    void setAny(bool any) { m_any = any; }
    const ValueList& values() const { return m_values; }

private:
    bool m_any = false;
    QStringList m_clauses;
    ValueList m_values;
};
