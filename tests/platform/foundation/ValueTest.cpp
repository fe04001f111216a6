#include "platform/foundation/Value.h"

#include <gtest/gtest.h>

TEST(ValueTest, TextConversionsFollowThePlatformRules)
{
    EXPECT_EQ(Value(u"12").toInt(), 12);
    EXPECT_EQ(Value(u"  -7abc").toInt(), -7);
    EXPECT_EQ(Value(u"+42").toInt(), 42);
    EXPECT_EQ(Value(u"abc").toInt(), 0);
    EXPECT_EQ(Value(u"99999999999").toInt(), 2147483647);
    EXPECT_EQ(Value(u"-99999999999").toInt(), -2147483647 - 1);
    EXPECT_EQ(Value(u"99999999999").toLongLong(), 99999999999LL);
    EXPECT_DOUBLE_EQ(Value(u" 2.5e2xyz").toDouble(), 250.0);
    EXPECT_DOUBLE_EQ(Value(u"3.").toDouble(), 3.0);
    EXPECT_DOUBLE_EQ(Value(u".5").toDouble(), 0.5);
    EXPECT_DOUBLE_EQ(Value(u"1e").toDouble(), 1.0);
    EXPECT_EQ(Value(u"-1").toULongLong(), 18446744073709551615ULL);
}

TEST(ValueTest, TruthOfTextsAndNumbers)
{
    for (const char16_t* yes : {u"Y", u"yes", u"t", u"True", u"1", u"  -0009", u"+5"})
        EXPECT_TRUE(Value(yes).toBool()) << QString::fromUtf16(yes).toStdString();
    for (const char16_t* no : {u"N", u"no", u"0", u"000", u"", u"false", u" x"})
        EXPECT_FALSE(Value(no).toBool()) << QString::fromUtf16(no).toStdString();
    EXPECT_TRUE(Value::number(QStringLiteral("0.5")).toBool());
    EXPECT_FALSE(Value::number(QStringLiteral("0")).toBool());
    EXPECT_TRUE(Value(true).toBool());
    EXPECT_FALSE(Value::null().toBool());
}

TEST(ValueTest, NumbersKeepTheirTextAndTruncateTowardZero)
{
    const Value n = Value::number(QStringLiteral("-12.75"));
    EXPECT_EQ(n.toString(), QStringLiteral("-12.75"));
    EXPECT_EQ(n.toInt(), -12);
    EXPECT_EQ(n.toLongLong(), -12);
    EXPECT_FLOAT_EQ(n.toFloat(), -12.75f);
    EXPECT_EQ(Value(true).toString(), QStringLiteral("1"));
    EXPECT_EQ(Value(false).toString(), QStringLiteral("0"));
    EXPECT_EQ(Value(0.1).toString(), QStringLiteral("0.1"));
    EXPECT_EQ(Value::number(QStringLiteral("9223372036854775807")).toLongLong(), 9223372036854775807LL);
    EXPECT_EQ(Value::null().toInt(), 0);
    EXPECT_EQ(Value(ValueList{Value(1)}).toInt(), 0);
}

TEST(ValueTest, DictionaryKeepsFirstPositionAndLastValue)
{
    ValueDict d;
    d.insert(QStringLiteral("b"), Value(1));
    d.insert(QStringLiteral("a"), Value(2));
    d.insert(QStringLiteral("b"), Value(3));
    EXPECT_EQ(d.keys(), (QStringList{QStringLiteral("b"), QStringLiteral("a")}));
    EXPECT_EQ(d.value(QStringLiteral("b")).toInt(), 3);
    d.remove(QStringLiteral("b"));
    EXPECT_EQ(d.keys(), QStringList{QStringLiteral("a")});
    EXPECT_EQ(d.value(QStringLiteral("a")).toInt(), 2);
    EXPECT_TRUE(d.value(QStringLiteral("zz")).isAbsent());
}

TEST(ValueTest, PathLookupsTellAbsentFromFailed)
{
    const Value answer(ValueDict{
        {QStringLiteral("response"),
         Value(ValueDict{{QStringLiteral("errorlist"), Value(ValueList{Value(u"badlogin")})},
                         {QStringLiteral("empty"), Value(ValueList{})},
                         {QStringLiteral("text"), Value(u"x")}})}});

    Lookup found = answer.lookup({u"response", u"errorlist", 0});
    EXPECT_TRUE(found.found());
    EXPECT_EQ(found.value.string(), QStringLiteral("badlogin"));

    EXPECT_EQ(answer.lookup({u"response", u"missing", 0}).status, Lookup::Status::Absent);
    EXPECT_EQ(answer.lookup({u"nothing", u"deeper"}).status, Lookup::Status::Absent);
    EXPECT_TRUE(answer.lookup({u"response", u"empty", 0}).failed());
    EXPECT_TRUE(answer.lookup({u"response", u"text", 0}).failed());
    EXPECT_TRUE(answer.lookup({u"response", u"text", u"key"}).failed());
    EXPECT_TRUE(Value::null().lookup({u"key"}).failed());
}
