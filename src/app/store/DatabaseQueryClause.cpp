#include "DatabaseQueryClause.h"

DatabaseQueryClause::DatabaseQueryClause(const ValueDict& dictionary)
{
    addDictionary(dictionary);
}

DatabaseQueryClause::DatabaseQueryClause(const QList<Ptr>& clauses)
{
    addClauses(clauses);
}

DatabaseQueryClause::Ptr DatabaseQueryClause::clauseWithDictionary(const ValueDict& dictionary)
{
    return std::make_shared<DatabaseQueryClause>(dictionary);
}

DatabaseQueryClause::Ptr DatabaseQueryClause::clauseWithClauses(const QList<Ptr>& clauses, bool any)
{
    auto clause = std::make_shared<DatabaseQueryClause>(clauses);
    clause->setAny(any);
    return clause;
}

void DatabaseQueryClause::addValue(const Value& value, const QString& key)
{
    if (value.isList()) {
        const ValueList& elements = value.list();
        QStringList marks;
        for (size_t i = 0; i < elements.size(); ++i)
            marks.append(QStringLiteral("?"));
        m_clauses.append(QStringLiteral("%1 IN (%2)").arg(key, marks.join(u',')));
        m_values.insert(m_values.end(), elements.begin(), elements.end());
        return;
    }
    const bool hasOperator = key.contains(QStringLiteral("!=")) || key.contains(u'>') || key.contains(u'<');
    m_clauses.append(hasOperator ? QStringLiteral("%1 ?").arg(key) : QStringLiteral("%1 = ?").arg(key));
    m_values.push_back(value);
}

void DatabaseQueryClause::addDictionary(const ValueDict& dictionary)
{
    for (const ValueDict::Entry& entry : dictionary)
        addValue(entry.second, entry.first);
}

void DatabaseQueryClause::addClause(const DatabaseQueryClause& clause)
{
    // An empty clause would paste a missing text into the SQL.
    if (clause.isEmpty())
        return;
    m_clauses.append(clause.toString());
    m_values.insert(m_values.end(), clause.values().begin(), clause.values().end());
}

void DatabaseQueryClause::addClauses(const QList<Ptr>& clauses)
{
    for (const Ptr& clause : clauses) {
        if (clause)
            addClause(*clause);
    }
}

QString DatabaseQueryClause::toString() const
{
    if (m_clauses.isEmpty())
        return QString();
    return u'(' + m_clauses.join(m_any ? QStringLiteral(" OR ") : QStringLiteral(" AND ")) + u')';
}
