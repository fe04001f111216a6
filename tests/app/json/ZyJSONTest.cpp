#include "app/json/JSONConvenience.h"
#include "app/json/ZyJSON.h"
#include "app/json/ZyJsonWriter.h"

#include <gtest/gtest.h>

TEST(ZyJsonRoundTripTest, ReadingWhatWasWrittenGivesTheSameValue)
{
    const QString text = QString::fromUtf16(
        u"{\"name\":\"caf\u00e9 \\\"quoted\\\" \\u0001\",\"n\":[0,-1.25,1000000,0.0001],\"t\":true,\"none\":null,"
        u"\"nested\":{\"empty\":{},\"list\":[[],[\"\U0001F600\"]]}}");
    const Value v = JSONValue(text);
    ASSERT_TRUE(v.isDict());
    EXPECT_EQ(JSONRepresentation(v), text);

    ZyJsonWriter readable;
    readable.setHumanReadable(true);
    readable.setSortKeys(true);
    const QString layout = readable.stringWithObject(v);
    EXPECT_EQ(JSONValue(layout), v);
    EXPECT_EQ(JSONValue(layout).dict().keys(),
              (QStringList{QStringLiteral("n"), QStringLiteral("name"), QStringLiteral("nested"), QStringLiteral("none"), QStringLiteral("t")}));
}

TEST(ZyJsonRoundTripTest, EveryNumberTheWriterWritesReadsBack)
{
    for (double d : {1e300, 5e-324, -1.7976931348623157e308, 2.2250738585072014e-308, 1e-129, 1e128, 123.456, -0.0,
                     0.1, 1e21}) {
        const QString json = JSONFragment(Value(d));
        ASSERT_FALSE(json.isNull()) << d;
        const Value back = JSONFragmentValue(json);
        ASSERT_TRUE(back.isNumber()) << json.toStdString();
        EXPECT_EQ(back.toDouble(), d) << json.toStdString();
        EXPECT_EQ(back, Value(d)) << json.toStdString();
        EXPECT_EQ(JSONFragment(back), json);
    }
    // A number no double holds is refused on both sides alike.
    ZyJsonWriter writer;
    for (const char16_t* text : {u"1e400", u"-2e-400"}) {
        EXPECT_TRUE(writer.stringWithFragment(Value::number(QString::fromUtf16(text))).isNull());
        EXPECT_EQ(writer.errorTrace().last().description(), QStringLiteral("JSON serialisation not supported for NSNumber"));
        EXPECT_TRUE(JSONFragmentValue(QString::fromUtf16(text)).isAbsent());
    }
}

TEST(ZyJSONTest, FacadeHandsOutTheInnerTrace)
{
    ZyJSON json;
    EXPECT_EQ(json.maxDepth(), 512u);

    Error error;
    EXPECT_TRUE(json.objectWithString(QStringLiteral("[1,]"), &error).isAbsent());
    EXPECT_EQ(error.code(), 9);
    EXPECT_EQ(error.description(), QStringLiteral("Trailing comma disallowed in array"));
    ASSERT_EQ(json.errorTrace().size(), 1);

    EXPECT_TRUE(json.objectWithString(QStringLiteral("7"), false, &error).isAbsent());
    EXPECT_EQ(error.description(), QStringLiteral("Valid fragment, but not JSON"));
    EXPECT_EQ(json.objectWithString(QStringLiteral("7"), true, &error).numberText(), QStringLiteral("7"));
    EXPECT_EQ(json.fragmentWithString(QStringLiteral("\"s\""), &error).string(), QStringLiteral("s"));
    EXPECT_TRUE(json.errorTrace().isEmpty());

    EXPECT_TRUE(json.stringWithObject(Value(true), &error).isNull());
    EXPECT_EQ(error.description(), QStringLiteral("Not valid type for JSON"));
    EXPECT_EQ(json.stringWithFragment(Value(true), &error), QStringLiteral("true"));
    EXPECT_TRUE(json.stringWithObject(Value(QDateTime::currentDateTimeUtc()), true, nullptr).isNull());
    EXPECT_EQ(json.errorTrace().last().description(), QStringLiteral("JSON serialisation not supported for NSDate"));

    // The limit applies to reading and writing alike.
    json.setMaxDepth(1);
    EXPECT_TRUE(json.objectWithString(QStringLiteral("[[]]")).isAbsent());
    EXPECT_TRUE(json.stringWithObject(Value(ValueList{Value(ValueList{})})).isNull());
    EXPECT_EQ(json.errorTrace().first().description(), QStringLiteral("Nested too deep"));

    json.setSortKeys(true);
    json.setHumanReadable(true);
    EXPECT_EQ(json.stringWithObject(Value(ValueDict{{QStringLiteral("y"), Value(1)}, {QStringLiteral("x"), Value(2)}})),
              QStringLiteral("{\n  \"x\" : 2,\n  \"y\" : 1\n}"));
}
