#include "JsonTrace.h"

#include "app/json/JSONConvenience.h"
#include "app/json/ZyJsonParser.h"

#include <gtest/gtest.h>

#include <thread>
#include <utility>
#include <vector>

namespace {

QString bom(int count = 1)
{
    return QString(count, QChar(0xFEFF));
}

// What a parser reads from the bytes, in key order, with its error trace.
QString readingOf(const QByteArray& json)
{
    ZyJsonParser parser;
    const Value value = parser.fragmentWithUTF8(json);
    QString reading = value.debugText();
    for (const auto& [code, description] : traceOf(parser))
        reading += u'\n' + QString::number(code) + u' ' + description;
    return reading;
}

// The same on a thread of its own, which has read nothing before.
QString freshReadingOf(const QByteArray& json)
{
    QString reading;
    std::thread([&] { reading = readingOf(json); }).join();
    return reading;
}
}  // namespace

TEST(ZyJsonBytesTest, ByteOrderMarksInsideTextsComeThroughUnchanged)
{
    const QString mark = bom();
    const std::vector<std::pair<QByteArray, QString>> texts{
        {R"("\ufeff")", mark},
        {R"("a\ufeffb")", QStringLiteral("a") + mark + u'b'},
        {R"("\ufeff\uFEFFx")", bom(2) + u'x'},
        {"\"\xEF\xBB\xBF\"", mark},
        {"\"\xEF\xBB\xBF\xEF\xBB\xBFx\xEF\xBB\xBF\"", bom(2) + u'x' + mark},
        {"\"a\\n\xEF\xBB\xBF\"", QStringLiteral("a\n") + mark},
        {R"("0123456789\ufeff")", QStringLiteral("0123456789") + mark},
    };
    for (const auto& [json, expected] : texts) {
        EXPECT_EQ(JSONFragmentValue(json).string(), expected) << json.toStdString();
        EXPECT_EQ(JSONFragmentValue(QString::fromUtf8(json)).string(), expected) << json.toStdString();
    }

    // A mark alone is a key of its own: it does not merge with the empty key.
    for (const QByteArray& json : {QByteArray(R"({"\ufeff":1,"":2,"\ufeffk":3,"k":4})"),
                                  QByteArray("{\"\xEF\xBB\xBF\":1,\"\":2,\"\xEF\xBB\xBFk\":3,\"k\":4}")}) {
        const Value v = JSONValue(json);
        EXPECT_EQ(v.dict().keys(), (QStringList{mark, QString(), mark + u'k', QStringLiteral("k")})) << json.toStdString();
        EXPECT_EQ(v[mark].toInt(), 1);
        EXPECT_EQ(v[QString()].toInt(), 2);
    }
    // Before the document, the bytes' one byte-order mark is skipped, as
    // decoding them to text does; the text's own is no whitespace.
    EXPECT_TRUE(JSONValue(QByteArray("\xEF\xBB\xBF[]")).isList());
    EXPECT_TRUE(JSONValue(QByteArray("\xEF\xBB\xBF\xEF\xBB\xBF[]")).isAbsent());
    EXPECT_TRUE(JSONValue(mark + QStringLiteral("[]")).isAbsent());
}

TEST(ZyJsonBytesTest, BytesAndTextReadAlikeAndBrokenUtf8IsRefusedWhole)
{
    // The same values and the same error traces from the answer's bytes as
    // from its text, for good input and for every damaged copy of a sample.
    const QByteArray sample = "{\"a\":[1,-2.5e3,\"x\\u00e9\xC3\xA9\xF0\x9F\x98\x80\\n\",true,null],\"b\":{\"c\":{}},\"a\":0}";
    const QByteArray replacements = " \"\\{}[],:-+.eE0u\x01";
    auto same = [](const QByteArray& json) {
        if (QString::fromUtf8(json).toUtf8() != json)
            return;  // cut inside a character: refused whole, see below
        ZyJsonParser bytes;
        ZyJsonParser text;
        const Value fromBytes = bytes.fragmentWithUTF8(json);
        EXPECT_EQ(fromBytes, text.fragmentWithString(QString::fromUtf8(json))) << json.toStdString();
        EXPECT_EQ(fromBytes.debugText(), text.fragmentWithString(QString::fromUtf8(json)).debugText());
        EXPECT_EQ(traceOf(bytes), traceOf(text)) << json.toStdString();
    };
    for (qsizetype length = 0; length <= sample.size(); ++length)
        same(sample.left(length));
    for (qsizetype i = 0; i < sample.size(); ++i) {
        for (char replacement : replacements) {
            QByteArray json = sample;
            json[i] = replacement;
            same(json);
        }
    }

    ZyJsonParser parser;
    const std::vector<std::pair<QByteArray, int>> broken{
        {"[\"\xC0\xAF\"]", 2},             // overlong "/"
        {"[\"ab\xED\xA0\x80\"]", 4},       // an encoded surrogate
        {"[\"\xF4\x90\x80\x80\"]", 2},     // above U+10FFFF
        {"[\"\xE2\x82\"]", 2},             // cut short
        {"[1, \x80]", 4},                  // a lone continuation byte outside a string
        {"[\"0123456789abcdef\xFF\"]", 18},
    };
    for (const auto& [json, at] : broken) {
        EXPECT_TRUE(parser.objectWithUTF8(json).isAbsent()) << json.toStdString();
        EXPECT_EQ(traceOf(parser), (Trace{{12, QStringLiteral("Input was not valid UTF-8 at byte %1").arg(at)}}));
    }
    EXPECT_TRUE(parser.objectWithUTF8(QByteArrayView()).isAbsent());
    EXPECT_EQ(traceOf(parser), (Trace{{12, QStringLiteral("Input was 'nil'")}}));
    EXPECT_TRUE(parser.objectWithUTF8(QByteArray("")).isAbsent());
    EXPECT_EQ(traceOf(parser), (Trace{{11, QStringLiteral("Unexpected end of string")}}));
    EXPECT_TRUE(parser.objectWithUTF8(QByteArray("7")).isAbsent());
    EXPECT_EQ(traceOf(parser), (Trace{{4, QStringLiteral("Valid fragment, but not JSON")}}));
    EXPECT_TRUE(JSONValue(QByteArray("[\"\xC3\"]")).isAbsent());
    EXPECT_EQ(JSONFragmentValue(QByteArray("\"\xC3\xA9t\xC3\xA9\"")).string(), QString::fromUtf16(u"\u00e9t\u00e9"));
}

TEST(ZyJsonBytesTest, RepeatedKeysMergeHoweverTheyAreWritten)
{
    // Escaped and plain spellings of one key, in a small and a large object.
    QByteArray large = "{\"a\":0";
    for (int i = 0; i < 60; ++i)
        large += ",\"k" + QByteArray::number(i) + "\":" + QByteArray::number(i);
    large += ",\"\\u0061\":\"last\",\"k7\":{\"a\":1,\"a\":2}}";
    const Value v = JSONValue(large);
    ASSERT_EQ(v.size(), 61);
    EXPECT_EQ(v.dict().keys().first(), QStringLiteral("a"));
    EXPECT_EQ(v[u"a"].string(), QStringLiteral("last"));
    EXPECT_EQ(v.dict().keys().at(8), QStringLiteral("k7"));
    EXPECT_EQ(v[u"k7"].size(), 1);
    EXPECT_EQ(v[u"k7"][u"a"].toInt(), 2);
    EXPECT_EQ(v[u"k59"].toInt(), 59);

    // Keys too long to be shared, and more keys than one document shares.
    const QByteArray longKey(100, 'x');
    const Value longKeys = JSONValue("{\"" + longKey + "\":1,\"y\":2,\"" + longKey + "\":3}");
    EXPECT_EQ(longKeys.dict().keys(), (QStringList{QString::fromLatin1(longKey), QStringLiteral("y")}));
    EXPECT_EQ(longKeys[QString::fromLatin1(longKey)].toInt(), 3);

    QByteArray many = "[";
    for (int i = 0; i < 5000; ++i)
        many += "{\"key" + QByteArray::number(i) + "\":1},";
    many += "{\"key4999\":1,\"other\":2,\"key4999\":3}]";
    const Value manyKeys = JSONValue(many);
    ASSERT_EQ(manyKeys.size(), 5001);
    EXPECT_EQ(manyKeys.at(5000).dict().keys(), (QStringList{QStringLiteral("key4999"), QStringLiteral("other")}));
    EXPECT_EQ(manyKeys.at(5000)[u"key4999"].toInt(), 3);
    EXPECT_EQ(manyKeys.at(1234).dict().keys(), QStringList{QStringLiteral("key1234")});

    // One object with more keys than a document shares, the last one repeated.
    QByteArray wide = "{";
    for (int i = 0; i < 20000; ++i)
        wide += "\"w" + QByteArray::number(i) + "\":" + QByteArray::number(i) + ",";
    wide += "\"w19999\":-1,\"w5\":-5}";
    const Value wideObject = JSONValue(wide);
    ASSERT_EQ(wideObject.size(), 20000);
    EXPECT_EQ(wideObject.dict().keys().last(), QStringLiteral("w19999"));
    EXPECT_EQ(wideObject[u"w19999"].toInt(), -1);
    EXPECT_EQ(wideObject[u"w5"].toInt(), -5);
    EXPECT_EQ(wideObject[u"w12345"].toInt(), 12345);
}

TEST(ZyJsonBytesTest, KeysOfEarlierDocumentsChangeNothingThatIsReadLater)
{
    // The parsers of a thread keep the keys they have read and guess each
    // key from the one that came before it last time; whatever came before,
    // a document reads as it does on a thread that has read nothing.
    QByteArray manyKeys = "{";
    for (int i = 0; i < 300; ++i)
        manyKeys += "\"d" + QByteArray::number(i) + "\":" + QByteArray::number(i) + ",";
    manyKeys += "\"d299\":-1,\"d3\":-3}";
    const std::vector<QByteArray> documents{
        R"({"a":1,"b":2,"c":{"a":3,"b":4}})",
        manyKeys,
        R"({"a":1,"x":2,"b":3,"a":4})",
        R"({"a":{"d280":1,"d281":2,"d280":3},"b":[{"d299":1},{"d299":2,"e":3,"d299":4}]})",
        R"({"a":{"zz":1,"yy":)",
        R"({"a":1,"zz":{"yy":2,"zz":3},"yy":[{"zz":{"a":4}}]})",
        R"({"":1,"a":2,"a":3,"﻿a":4,"é":5,"é":6})",
        "{\"" + QByteArray(80, 'k') + "\":1,\"a\":2,\"" + QByteArray(80, 'k') + "\":3}",
        R"({"c":1,"b":2,"a":3,"b":4})",
        R"([{"x":1,"y":2},{"y":3,"x":4,"x":5},{"x":6}])",
        R"({"d0":{"d1":{"d2":{"d3":{"d0":1,"d0":2}}}}})",
        R"({"a":1,"b":2,"c":{"a":3,"b":4}})",
    };
    for (int round = 0; round < 2; ++round) {
        for (const QByteArray& json : documents)
            EXPECT_EQ(readingOf(json), freshReadingOf(json)) << round << ": " << json.left(120).toStdString();
    }

    // Threads that read at the same time share the process's keys only.
    std::vector<QString> expected;
    for (const QByteArray& json : documents)
        expected.push_back(readingOf(json));
    std::vector<std::thread> readers;
    std::vector<int> mismatches(4, 0);
    for (int t = 0; t < 4; ++t) {
        readers.emplace_back([&, t] {
            for (int round = 0; round < 20; ++round) {
                for (size_t i = 0; i < documents.size(); ++i)
                    mismatches[size_t(t)] += readingOf(documents[(i + size_t(t)) % documents.size()]) !=
                                             expected[(i + size_t(t)) % documents.size()];
            }
        });
    }
    for (std::thread& reader : readers)
        reader.join();
    EXPECT_EQ(mismatches, std::vector<int>(4, 0));
}

TEST(ZyJsonBytesTest, TextsAndNumbersReadBackAsTheyWere)
{
    // Around the sizes a value holds in itself.
    const Value v = JSONValue(QByteArray(R"(["", "1234567", "12345678", "\u00e9\u00e9\u00e9x", "\u00e9\u00e9\u00e9\u00e9",
        576460752303423487, 576460752303423488, -576460752303423488, -576460752303423489,
        999999999999999999, 9223372036854775807, -9223372036854775808, 99999999999999999999,
        0.5, -0.0, 12.50, 1234.5678])"));
    ASSERT_EQ(v.size(), 17);
    // An empty text or key has always read as a null QString.
    EXPECT_TRUE(v.at(0).string().isNull());
    EXPECT_TRUE(v.at(0).isString());
    EXPECT_TRUE(JSONValue(QByteArray(R"({"":1})")).dict().keys().first().isNull());
    const QStringList texts{QStringLiteral("1234567"), QStringLiteral("12345678"), QString::fromUtf16(u"\u00e9\u00e9\u00e9x"),
                            QString::fromUtf16(u"\u00e9\u00e9\u00e9\u00e9")};
    for (int i = 0; i < texts.size(); ++i) {
        EXPECT_EQ(v.at(i + 1).string(), texts[i]);
        EXPECT_EQ(v.at(i + 1), Value(texts[i]));
    }
    const QStringList numbers{QStringLiteral("576460752303423487"),  QStringLiteral("576460752303423488"),
                              QStringLiteral("-576460752303423488"), QStringLiteral("-576460752303423489"),
                              QStringLiteral("999999999999999999"),  QStringLiteral("9223372036854775807"),
                              QStringLiteral("-9223372036854775808"), QStringLiteral("99999999999999999999"),
                              QStringLiteral("0.5"),                 QStringLiteral("0"),
                              QStringLiteral("12.5"),                QStringLiteral("1234.5678")};
    for (int i = 0; i < numbers.size(); ++i) {
        const Value n = v.at(i + 5);
        EXPECT_TRUE(n.isNumber());
        EXPECT_EQ(n.numberText(), numbers[i]);
        EXPECT_EQ(n, Value::number(numbers[i]));
        EXPECT_EQ(JSONFragment(n), numbers[i]);
    }
    EXPECT_EQ(v.at(10).toLongLong(), 9223372036854775807LL);
    EXPECT_EQ(v.at(11).toLongLong(), std::numeric_limits<qint64>::min());
    EXPECT_EQ(v.at(5).toInt(), 2147483647);
    EXPECT_EQ(v.at(7).toInt(), -2147483647 - 1);
}
