#include "JsonTrace.h"

#include "app/json/JSONConvenience.h"
#include "app/json/ZyJsonParser.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace {

// Reads a fragment and gives its trace; the text is UTF-8 so tests can hold raw bytes.
Trace failingTrace(const QByteArray& text)
{
    ZyJsonParser parser;
    const Value value = parser.fragmentWithString(QString::fromUtf8(text));
    EXPECT_TRUE(value.isAbsent()) << text.toStdString();
    return traceOf(parser);
}

QString number(const char* text)
{
    ZyJsonParser parser;
    return parser.fragmentWithString(QString::fromLatin1(text)).numberText();
}

QString nested(int levels, const char* open, const char* close)
{
    return QString::fromLatin1(open).repeated(levels) + QString::fromLatin1(close).repeated(levels);
}

// Objects nested through the key k, the innermost one empty.
QString nestedObjects(int levels)
{
    return nested(levels, "{\"k\":", "}").replace(QStringLiteral("{\"k\":}"), QStringLiteral("{}"));
}
}  // namespace

TEST(ZyJsonParserTest, ReadsEveryKindOfValue)
{
    ZyJsonParser parser;
    const Value v = parser.objectWithString(QStringLiteral(R"({"b": [true], "a": {"k": []}, "b": 2})"));
    ASSERT_TRUE(v.isDict());
    EXPECT_TRUE(parser.errorTrace().isEmpty());
    // A repeated key keeps its first position and the last value.
    EXPECT_EQ(v.dict().keys(), (QStringList{QStringLiteral("b"), QStringLiteral("a")}));
    EXPECT_EQ(v[u"b"].numberText(), QStringLiteral("2"));
    EXPECT_TRUE(v[u"a"][u"k"].isList());

    const Value list = parser.objectWithString(QString::fromUtf8(
        R"([true, false, null, "x\"\\\/\b\f\n\r\t\u00e9\u0000y €", -0.5e1, {}])"));
    ASSERT_EQ(list.size(), 6);
    EXPECT_EQ(list.at(0), Value(true));
    EXPECT_EQ(list.at(1), Value(false));
    EXPECT_TRUE(list.at(2).isNull());
    EXPECT_EQ(list.at(3).string(), QString::fromUtf16(u"x\"\\/\b\f\n\r\t\u00e9") + QChar(0) + QString::fromUtf16(u"y \u20ac"));
    EXPECT_EQ(list.at(4).numberText(), QStringLiteral("-5"));
    EXPECT_TRUE(list.at(5).isDict());
}

TEST(ZyJsonParserTest, NumbersBecomeCanonicalDecimals)
{
    EXPECT_EQ(number("12.50"), QStringLiteral("12.5"));
    EXPECT_EQ(number("1e3"), QStringLiteral("1000"));
    EXPECT_EQ(number("1.5e-3"), QStringLiteral("0.0015"));
    EXPECT_EQ(number("-0"), QStringLiteral("0"));
    EXPECT_EQ(number("0.000E+7"), QStringLiteral("0"));
    EXPECT_EQ(number("-120.0340"), QStringLiteral("-120.034"));
    EXPECT_EQ(number("123456789012345678901234567890123456780000"), QStringLiteral("123456789012345678901234567890123456780000"));
    EXPECT_EQ(number("1e127"), QStringLiteral("1") + QString(127, u'0'));
    EXPECT_EQ(number("1e-128"), QStringLiteral("0.") + QString(127, u'0') + u'1');

    // Beyond the exact decimal type a number keeps its digits and exponent, as
    // long as a double holds it: what the writer writes must read back.
    EXPECT_EQ(number("1e128"), QStringLiteral("1e128"));
    EXPECT_EQ(number("-1.50e-129"), QStringLiteral("-15e-130"));
    EXPECT_EQ(number("123456789012345678901234567890123456789"), QStringLiteral("123456789012345678901234567890123456789"));
    EXPECT_EQ(number("4.9e-324"), QStringLiteral("49e-325"));
    EXPECT_EQ(number("1.7976931348623157e308"), QStringLiteral("17976931348623157e292"));

    const Trace failed{{2, QStringLiteral("Failed creating decimal instance")}};
    EXPECT_EQ(failingTrace("1e99999999999999999999999"), failed);
    EXPECT_EQ(failingTrace("1e309"), failed);
    EXPECT_EQ(failingTrace("-2e-400"), failed);
}

TEST(ZyJsonParserTest, AcceptsExtraWhitespaceAndMissingCommas)
{
    const Value v = JSONValue(QStringLiteral("\v\f\r\n\t [1 2\v,\f3 {\"a\":1 \"b\":[]}]\v"));
    ASSERT_TRUE(v.isList());
    ASSERT_EQ(v.size(), 4);
    EXPECT_EQ(v.at(1).numberText(), QStringLiteral("2"));
    EXPECT_EQ(v.at(3).dict().keys(), (QStringList{QStringLiteral("a"), QStringLiteral("b")}));
    // Only the six ASCII blanks count.
    EXPECT_EQ(failingTrace("[1,\xc2\xa0 2]"), (Trace{{3, QStringLiteral("Unrecognised leading character")},
                                                   {3, QStringLiteral("Expected value while parsing array")}}));
}

TEST(ZyJsonParserTest, TopLevelRules)
{
    ZyJsonParser parser;
    EXPECT_TRUE(parser.objectWithString(QStringLiteral("3")).isAbsent());
    EXPECT_EQ(traceOf(parser), (Trace{{4, QStringLiteral("Valid fragment, but not JSON")}}));
    EXPECT_EQ(JSONFragmentValue(QStringLiteral(" 3 ")).numberText(), QStringLiteral("3"));
    EXPECT_TRUE(JSONValue(QStringLiteral("3")).isAbsent());

    EXPECT_TRUE(parser.objectWithString(QString()).isAbsent());
    EXPECT_EQ(traceOf(parser), (Trace{{12, QStringLiteral("Input was 'nil'")}}));
    // Each call starts a fresh trace.
    EXPECT_TRUE(parser.objectWithString(QStringLiteral("[]")).isList());
    EXPECT_TRUE(parser.errorTrace().isEmpty());

    EXPECT_EQ(failingTrace(""), (Trace{{11, QStringLiteral("Unexpected end of string")}}));
    EXPECT_EQ(failingTrace("[1] x"), (Trace{{10, QStringLiteral("Garbage after JSON")}}));
    EXPECT_EQ(failingTrace("truex"), (Trace{{10, QStringLiteral("Garbage after JSON")}}));
    // Reading is bounded by the length, not by a NUL byte.
    EXPECT_EQ(failingTrace(QByteArray("[1]\0x", 5)), (Trace{{10, QStringLiteral("Garbage after JSON")}}));
}

TEST(ZyJsonParserTest, ErrorsCarryTheirCodesAndTextsInOrder)
{
    const QString valueInArray = QStringLiteral("Expected value while parsing array");
    const std::vector<std::pair<QByteArray, Trace>> cases{
        {"01", {{2, QStringLiteral("Leading 0 disallowed in number")}}},
        {"-", {{2, QStringLiteral("No digits after initial minus")}}},
        {"-x", {{2, QStringLiteral("No digits after initial minus")}}},
        {"1.", {{2, QStringLiteral("No digits after decimal point")}}},
        {"1e", {{2, QStringLiteral("No digits after exponent")}}},
        {"1E+", {{2, QStringLiteral("No digits after exponent")}}},
        {"[+1]", {{2, QStringLiteral("Leading + disallowed in number")}, {3, valueInArray}}},
        {"tru", {{3, QStringLiteral("Expected 'true'")}}},
        {"fals", {{3, QStringLiteral("Expected 'false'")}}},
        {"nul", {{3, QStringLiteral("Expected 'null'")}}},
        {"[1,]", {{9, QStringLiteral("Trailing comma disallowed in array")}}},
        {"{\"a\":1 , }", {{9, QStringLiteral("Trailing comma disallowed in object")}}},
        {"[1", {{11, QStringLiteral("End of input while parsing array")}}},
        {"[", {{11, QStringLiteral("End of input while parsing array")}}},
        {"[ ", {{11, QStringLiteral("Unexpected end of string")}, {3, valueInArray}}},
        {"{\"a\":1", {{11, QStringLiteral("End of input while parsing object")}}},
        {"{1:2}", {{3, QStringLiteral("Object key string expected")}}},
        {"{\"a\x01\":2}", {{5, QStringLiteral("Unescaped control character '0x1'")}, {3, QStringLiteral("Object key string expected")}}},
        {"{\"a\" 2}", {{3, QStringLiteral("Expected ':' separating key and value")}}},
        {"{\"k\":}", {{3, QStringLiteral("Unrecognised leading character")}, {3, QStringLiteral("Object value expected for key: k")}}},
        {"[{\"k\":[tru]}]",
         {{3, QStringLiteral("Expected 'true'")},
          {3, valueInArray},
          {3, QStringLiteral("Object value expected for key: k")},
          {3, valueInArray}}},
    };
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(failingTrace(text), expected) << text.toStdString();
}

TEST(ZyJsonParserTest, EachErrorChainsThePreviousOne)
{
    ZyJsonParser parser;
    EXPECT_TRUE(parser.objectWithString(QStringLiteral(R"({"k":[tru]})")).isAbsent());
    const QList<Error>& trace = parser.errorTrace();
    ASSERT_EQ(trace.size(), 3);
    for (const Error& e : trace)
        EXPECT_EQ(e.domain(), ZyJsonBase::errorDomain());
    EXPECT_FALSE(trace.first().underlying());
    // The last, most general error leads back to the first cause.
    const Error& last = trace.last();
    EXPECT_EQ(last.description(), QStringLiteral("Object value expected for key: k"));
    ASSERT_TRUE(last.underlying());
    EXPECT_EQ(last.underlying()->description(), QStringLiteral("Expected value while parsing array"));
    ASSERT_TRUE(last.underlying()->underlying());
    EXPECT_EQ(last.underlying()->underlying()->description(), QStringLiteral("Expected 'true'"));
    EXPECT_EQ(last.underlying()->underlying()->code(), 3);
    EXPECT_FALSE(last.underlying()->underlying()->underlying());
}

TEST(ZyJsonParserTest, StringsAndEscapes)
{
    const QString broken = QStringLiteral("Broken unicode character");
    EXPECT_EQ(JSONFragmentValue(QStringLiteral(R"("\uD83D\uDE00")")).string(), QString::fromUtf16(u"\U0001F600"));
    EXPECT_EQ(JSONFragmentValue(QStringLiteral(R"("\udbff\udfff|\u20AC")")).string(), QString::fromUtf16(u"\U0010FFFF|\u20ac"));

    EXPECT_EQ(failingTrace(R"("\uDC00")"), (Trace{{6, QStringLiteral("Invalid high character in surrogate pair")}, {6, broken}}));
    EXPECT_EQ(failingTrace(R"("\uD83Dx")"), (Trace{{6, QStringLiteral("Missing low character in surrogate pair")}, {6, broken}}));
    EXPECT_EQ(failingTrace(R"("\uD83D\n")"), (Trace{{6, QStringLiteral("Missing low character in surrogate pair")}, {6, broken}}));
    EXPECT_EQ(failingTrace(R"("\uD83D\u0041")"), (Trace{{6, QStringLiteral("Invalid low surrogate char")}, {6, broken}}));
    EXPECT_EQ(failingTrace(R"("\u12G4")"),
              (Trace{{6, QStringLiteral("Missing hex digit in quad")}, {6, QStringLiteral("Missing hex quad")}, {6, broken}}));
    EXPECT_EQ(failingTrace(R"("\uD83D\u12")"),
              (Trace{{6, QStringLiteral("Missing hex digit in quad")},
                     {6, QStringLiteral("Missing low character in surrogate pair")},
                     {6, broken}}));

    EXPECT_EQ(failingTrace(R"("a\x")"), (Trace{{8, QStringLiteral("Illegal escape sequence '0x78'")}}));
    EXPECT_EQ(failingTrace("\"a\\\xc3\xa9\""), (Trace{{8, QStringLiteral("Illegal escape sequence '0xe9'")}}));
    EXPECT_EQ(failingTrace("\"a\\"), (Trace{{8, QStringLiteral("Illegal escape sequence '0x0'")}}));
    EXPECT_EQ(failingTrace("\"a\\n"), (Trace{{11, QStringLiteral("Unexpected EOF while parsing string")}}));
    EXPECT_EQ(failingTrace("\"a\\u0041"), (Trace{{11, QStringLiteral("Unexpected EOF while parsing string")}}));

    EXPECT_EQ(failingTrace("\"abc"), (Trace{{5, QStringLiteral("Unescaped control character '0x0'")}}));
    EXPECT_EQ(failingTrace("\"a\tb\""), (Trace{{5, QStringLiteral("Unescaped control character '0x9'")}}));
    EXPECT_EQ(failingTrace(QByteArray("\"a\0b\"", 5)), (Trace{{5, QStringLiteral("Unescaped control character '0x0'")}}));
    EXPECT_EQ(failingTrace("\"\x1f\""), (Trace{{5, QStringLiteral("Unescaped control character '0x1f'")}}));
}

TEST(ZyJsonParserTest, NestingIsLimited)
{
    ZyJsonParser parser;
    EXPECT_TRUE(parser.objectWithString(nested(512, "[", "]")).isList());

    EXPECT_TRUE(parser.objectWithString(nested(513, "[", "]")).isAbsent());
    const QList<Error>& trace = parser.errorTrace();
    ASSERT_EQ(trace.size(), 513);
    EXPECT_EQ(trace.first().code(), 7);
    EXPECT_EQ(trace.first().description(), QStringLiteral("Nested too deep"));
    EXPECT_EQ(trace.last().description(), QStringLiteral("Expected value while parsing array"));

    EXPECT_TRUE(parser.objectWithString(nestedObjects(512)).isDict());
    EXPECT_TRUE(parser.objectWithString(nestedObjects(513)).isAbsent());
    EXPECT_EQ(parser.errorTrace().first().description(), QStringLiteral("Nested too deep"));

    parser.setMaxDepth(2);
    EXPECT_TRUE(parser.objectWithString(QStringLiteral("[[1],[2]]")).isList());
    EXPECT_TRUE(parser.objectWithString(QStringLiteral("[[[1]]]")).isAbsent());

    // No limit of the caller's own still stops hostile input before the stack runs out.
    parser.setMaxDepth(0);
    EXPECT_TRUE(parser.objectWithString(nested(2000, "[", "]")).isList());
    EXPECT_TRUE(parser.objectWithString(nested(int(ZyJsonBase::hardDepthLimit) + 1, "[", "]")).isAbsent());
    EXPECT_EQ(parser.errorTrace().first().description(), QStringLiteral("Nested too deep"));
}

TEST(ZyJsonParserTest, DamagedInputAlwaysFailsWithAReason)
{
    const QByteArray sample = R"({"a":[1,-2.5e3,"x\u00e9\uD83D\uDE00\n",true,false,null],"b":{"c":{}}})";
    const QByteArray replacements = " \"\\{}[],:-+.eE0u\x01";
    ZyJsonParser parser;
    auto check = [&parser](const QByteArray& text) {
        const Value value = parser.fragmentWithString(QString::fromUtf8(text));
        if (value.isAbsent()) {
            ASSERT_FALSE(parser.errorTrace().isEmpty()) << text.toStdString();
            const int code = parser.errorTrace().last().code();
            EXPECT_TRUE(code >= 1 && code <= 12) << text.toStdString();
        } else {
            EXPECT_TRUE(parser.errorTrace().isEmpty()) << text.toStdString();
        }
    };
    for (qsizetype length = 0; length < sample.size(); ++length) {
        check(sample.left(length));
        EXPECT_TRUE(parser.fragmentWithString(QString::fromUtf8(sample.left(length))).isAbsent());
    }
    for (qsizetype i = 0; i < sample.size(); ++i) {
        for (char replacement : replacements) {
            QByteArray text = sample;
            text[i] = replacement;
            check(text);
        }
    }
}
