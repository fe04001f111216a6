#include "app/json/JSONConvenience.h"
#include "app/json/ZyJsonWriter.h"

#include <gtest/gtest.h>

#include <limits>

TEST(ZyJsonWriterTest, ReadableLayoutWithSortedKeys)
{
    ZyJsonWriter writer;
    writer.setSortKeys(true);
    writer.setHumanReadable(true);
    const Value two(ValueDict{{QStringLiteral("b"), Value(1)}, {QStringLiteral("a"), Value(2)}});
    EXPECT_EQ(writer.stringWithObject(two), QStringLiteral("{\n  \"a\" : 2,\n  \"b\" : 1\n}"));

    const Value deeper(ValueDict{{QStringLiteral("b"), Value(ValueList{})},
                                 {QStringLiteral("a"), Value(ValueList{Value(true), Value(ValueDict{{QStringLiteral("z"), Value::null()}})})},
                                 {QStringLiteral("B"), Value(ValueDict{})}});
    EXPECT_EQ(writer.stringWithObject(deeper),
              QStringLiteral("{\n"
                             "  \"B\" : {},\n"
                             "  \"a\" : [\n"
                             "    true,\n"
                             "    {\n"
                             "      \"z\" : null\n"
                             "    }\n"
                             "  ],\n"
                             "  \"b\" : []\n"
                             "}"));
}

TEST(ZyJsonWriterTest, StringsEscapeOnlyWhatTheyMust)
{
    const QString text = QString::fromUtf16(u"q\"b\\s/\b\t\n\f\r") + QChar(0) + QChar(0x1f) + QChar(0x7f) +
                         QString::fromUtf16(u"\u00e9\U0001F600");
    EXPECT_EQ(JSONFragment(Value(text)),
              QString::fromUtf16(u"\"q\\\"b\\\\s/\\b\\t\\n\\f\\r\\u0000\\u001f\u007f\u00e9\U0001F600\""));
}

TEST(ZyJsonWriterTest, NumbersAreWrittenAsPlainDecimals)
{
    EXPECT_EQ(JSONFragment(Value::number(QStringLiteral("12.50"))), QStringLiteral("12.5"));
    EXPECT_EQ(JSONFragment(Value::number(QStringLiteral("-0"))), QStringLiteral("0"));
    EXPECT_EQ(JSONFragment(Value(1e20)), QStringLiteral("100000000000000000000"));
    EXPECT_EQ(JSONFragment(Value(-2.5e-7)), QStringLiteral("-0.00000025"));
    // Beyond the decimal range a number stays a valid token with an exponent.
    EXPECT_EQ(JSONFragment(Value(1e300)), QStringLiteral("1e300"));
}

TEST(ZyJsonWriterTest, RefusesWhatJsonCannotHold)
{
    ZyJsonWriter writer;
    const QString notSupported = QStringLiteral("JSON serialisation not supported for NSNumber");
    for (double d : {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity(),
                     -std::numeric_limits<double>::infinity()}) {
        EXPECT_TRUE(writer.stringWithFragment(Value(d)).isNull());
        ASSERT_EQ(writer.errorTrace().size(), 1);
        EXPECT_EQ(writer.errorTrace().last().code(), 1);
        EXPECT_EQ(writer.errorTrace().last().description(), notSupported);
    }
    EXPECT_TRUE(writer.stringWithFragment(Value::number(QStringLiteral("12abc"))).isNull());

    EXPECT_TRUE(writer.stringWithObject(Value(ValueList{Value(QByteArray("x"))})).isNull());
    EXPECT_EQ(writer.errorTrace().last().description(), QStringLiteral("JSON serialisation not supported for NSData"));

    const Value dated(ValueDict{{QStringLiteral("when"), Value(QDateTime::currentDateTimeUtc())}});
    EXPECT_TRUE(writer.stringWithObject(dated).isNull());
    ASSERT_EQ(writer.errorTrace().size(), 2);
    EXPECT_EQ(writer.errorTrace()[0].description(), QStringLiteral("JSON serialisation not supported for NSDate"));
    EXPECT_EQ(writer.errorTrace()[1].description(), QStringLiteral("Unsupported value for key when in object"));
    ASSERT_TRUE(writer.errorTrace()[1].underlying());
    EXPECT_EQ(writer.errorTrace()[1].underlying()->description(), writer.errorTrace()[0].description());

    EXPECT_TRUE(writer.stringWithObject(Value(QStringLiteral("scalar"))).isNull());
    ASSERT_EQ(writer.errorTrace().size(), 1);
    EXPECT_EQ(writer.errorTrace().last().code(), 4);
    EXPECT_EQ(writer.errorTrace().last().description(), QStringLiteral("Not valid type for JSON"));
    EXPECT_EQ(writer.stringWithFragment(Value(QStringLiteral("scalar"))), QStringLiteral("\"scalar\""));
    EXPECT_TRUE(writer.errorTrace().isEmpty());
}

TEST(ZyJsonWriterTest, NestingIsLimited)
{
    Value v{ValueList{}};
    for (int i = 1; i < 512; ++i)
        v = Value(ValueList{v});
    ZyJsonWriter writer;
    EXPECT_FALSE(writer.stringWithObject(v).isNull());
    v = Value(ValueDict{{QStringLiteral("k"), v}});
    EXPECT_TRUE(writer.stringWithObject(v).isNull());
    ASSERT_EQ(writer.errorTrace().size(), 2);
    EXPECT_EQ(writer.errorTrace()[0].code(), 7);
    EXPECT_EQ(writer.errorTrace()[0].description(), QStringLiteral("Nested too deep"));
    EXPECT_EQ(writer.errorTrace()[1].description(), QStringLiteral("Unsupported value for key k in object"));
    writer.setMaxDepth(0);
    EXPECT_FALSE(writer.stringWithObject(v).isNull());

    // No limit of the caller's own still stops before the stack runs out.
    for (quint32 depth = 513; depth < ZyJsonBase::hardDepthLimit; ++depth)
        v = Value(ValueList{v});
    EXPECT_EQ(writer.stringWithObject(v).size(), qsizetype(ZyJsonBase::hardDepthLimit) * 2 + 4);
    v = Value(ValueList{v});
    EXPECT_TRUE(writer.stringWithObject(v).isNull());
    EXPECT_EQ(writer.errorTrace().first().description(), QStringLiteral("Nested too deep"));
}
