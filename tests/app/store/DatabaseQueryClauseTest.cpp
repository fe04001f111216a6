#include "AppTest.h"

#include "app/store/DatabaseQueryClause.h"

using DatabaseQueryClauseTest = AppTest;

namespace {
QString text(const DatabaseQueryClause& clause)
{
    return clause.toString();
}
}  // namespace

TEST_F(DatabaseQueryClauseTest, PartTextsByValueAndKey)
{
    EXPECT_EQ(text(DatabaseQueryClause({{QStringLiteral("id"), Value(ValueList{Value(1), Value(2), Value(3)})}})),
              QStringLiteral("(id IN (?,?,?))"));
    EXPECT_EQ(text(DatabaseQueryClause({{QStringLiteral("id"), Value(4)}})), QStringLiteral("(id = ?)"));
    EXPECT_EQ(text(DatabaseQueryClause({{QStringLiteral("age >="), Value(30)}})), QStringLiteral("(age >= ?)"));
    EXPECT_EQ(text(DatabaseQueryClause({{QStringLiteral("name !="), Value(u"x")}})), QStringLiteral("(name != ?)"));
    EXPECT_EQ(text(DatabaseQueryClause({{QStringLiteral("age <"), Value(3)}})), QStringLiteral("(age < ?)"));
}

TEST_F(DatabaseQueryClauseTest, DictionaryOrderDecidesPartsAndValues)
{
    DatabaseQueryClause clause({{QStringLiteral("b"), Value(1)}, {QStringLiteral("a"), Value(u"two")}});
    EXPECT_EQ(clause.toString(), QStringLiteral("(b = ? AND a = ?)"));
    EXPECT_EQ(clause.values(), (ValueList{Value(1), Value(u"two")}));
    clause.setAny(true);
    EXPECT_EQ(clause.toString(), QStringLiteral("(b = ? OR a = ?)"));
}

TEST_F(DatabaseQueryClauseTest, NestedClausesKeepValuesInMarkOrder)
{
    const auto first = DatabaseQueryClause::clauseWithDictionary({{QStringLiteral("b"), Value(1)}});
    const auto second = DatabaseQueryClause::clauseWithDictionary(
        {{QStringLiteral("id"), Value(ValueList{Value(2), Value(3)})}, {QStringLiteral("c <="), Value(4)}});
    const auto either = DatabaseQueryClause::clauseWithClauses({first, second}, true);
    EXPECT_EQ(either->toString(), QStringLiteral("((b = ?) OR (id IN (?,?) AND c <= ?))"));
    EXPECT_EQ(either->values(), (ValueList{Value(1), Value(2), Value(3), Value(4)}));

    const auto both = DatabaseQueryClause::clauseWithClauses({either, first});
    EXPECT_EQ(both->toString(), QStringLiteral("(((b = ?) OR (id IN (?,?) AND c <= ?)) AND (b = ?))"));
    EXPECT_EQ(both->values().size(), 5u);
}

TEST_F(DatabaseQueryClauseTest, EmptyClauseHasNoTextAndAddsNothing)
{
    DatabaseQueryClause empty;
    EXPECT_TRUE(empty.toString().isNull());
    DatabaseQueryClause outer({{QStringLiteral("id"), Value(1)}});
    outer.addClause(empty);
    EXPECT_EQ(outer.toString(), QStringLiteral("(id = ?)"));
    EXPECT_EQ(outer.values().size(), 1u);
}
