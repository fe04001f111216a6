#include "platform/foundation/Value.h"

#include <gtest/gtest.h>

#include <limits>

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

TEST(ValueTest, EveryFormOfANumberOrTextComparesAndConvertsAlike)
{
    // Integers around the size a value holds in itself.
    for (qint64 n : {qint64(0), qint64(-1), (qint64(1) << 59) - 1, qint64(1) << 59, -(qint64(1) << 59),
                     -(qint64(1) << 59) - 1, std::numeric_limits<qint64>::max(), std::numeric_limits<qint64>::min()}) {
        const QString text = QString::number(n);
        const Value made(n);
        EXPECT_EQ(made.numberText(), text);
        EXPECT_EQ(made.toLongLong(), n);
        EXPECT_EQ(made.toDouble(), double(n));
        EXPECT_EQ(made.exactInteger(), n);
        EXPECT_EQ(made, Value::number(text));
        EXPECT_EQ(Value::number(text).toLongLong(), n);
    }
    EXPECT_EQ(Value(std::numeric_limits<quint64>::max()).numberText(), QStringLiteral("18446744073709551615"));
    EXPECT_EQ(Value::number(QStringLiteral("007")).numberText(), QStringLiteral("007"));
    EXPECT_EQ(Value::number(QStringLiteral("007")), Value(7));
    EXPECT_EQ(Value::number(QStringLiteral("-0")).numberText(), QStringLiteral("-0"));
    EXPECT_FALSE(Value::number(QStringLiteral("1.5")).exactInteger());
    EXPECT_NE(Value(1), Value(u"1"));
    EXPECT_NE(Value(true), Value(1));

    // Texts made by the application and texts read as UTF-8, short and long.
    for (const QString& text : {QStringLiteral("a"), QStringLiteral("1234567"), QStringLiteral("12345678"),
                                QString::fromUtf16(u"\u00e9\U0001F600"), QString(300, u'x')}) {
        const Value made(text);
        const Value read = Value::textFromValidUtf8(text.toUtf8());
        EXPECT_TRUE(read.isString());
        EXPECT_EQ(read.string(), text);
        EXPECT_EQ(read.toString(), text);
        EXPECT_EQ(read, made);
        EXPECT_EQ(made, read);
    }
    EXPECT_NE(Value::textFromValidUtf8("abcdefghij"), Value::textFromValidUtf8("abcdefghik"));
    EXPECT_EQ(Value::textFromValidUtf8(" 42abc").toInt(), 42);
    EXPECT_TRUE(Value::textFromValidUtf8("yes").toBool());
    EXPECT_EQ(utf8ToQString("\xEF\xBB\xBF\xEF\xBB\xBF" "a\xEF\xBB\xBF"), QString(2, QChar(0xFEFF)) + u'a' + QChar(0xFEFF));
}

TEST(ValueTest, SharedPartsOutliveTheValuesTheyCameFromAndNeverChange)
{
    Value element;
    ValueDict copy;
    {
        const Value list(ValueList{Value(ValueDict{{QStringLiteral("k"), Value::textFromValidUtf8("a longer text")}}),
                                   Value(QByteArray("xy")), Value(QDateTime::fromSecsSinceEpoch(7, Qt::UTC))});
        element = list.at(0);
        copy = list.at(0).dict();
        EXPECT_EQ(list.at(1).bytes(), QByteArray("xy"));
        EXPECT_EQ(list.at(2).date().toSecsSinceEpoch(), 7);
    }
    copy.insert(QStringLiteral("k"), Value(3));
    copy.insert(QStringLiteral("n"), Value::null());
    EXPECT_EQ(element[u"k"].string(), QStringLiteral("a longer text"));
    EXPECT_EQ(element.size(), 1);
    EXPECT_EQ(copy.value(QStringLiteral("k")).toInt(), 3);

    // A value can take a part of itself.
    Value nested(ValueList{Value(ValueList{Value(u"inner text, long enough to be shared")})});
    nested = nested.list()[0];
    nested = nested.list()[0];
    EXPECT_EQ(nested.string(), QStringLiteral("inner text, long enough to be shared"));

    ValueDict moved = std::move(copy);
    EXPECT_EQ(moved.keys(), (QStringList{QStringLiteral("k"), QStringLiteral("n")}));
    moved = element.dict();
    EXPECT_EQ(moved, element.dict());
    EXPECT_EQ(Value(ValueList{}), Value(ValueList{}));
    EXPECT_EQ(Value(ValueDict{}).size(), 0);
    EXPECT_TRUE(Value(ValueDict{}).isDict());
}

TEST(ValueTest, LargeDictionariesKeepOrderAndFindEveryKey)
{
    ValueDict d;
    for (int i = 0; i < 100; ++i)
        d.insert(QStringLiteral("key%1").arg(i), Value(i));
    d.insert(QStringLiteral("key5"), Value(-5));
    d.remove(QStringLiteral("key0"));
    d.remove(QStringLiteral("key50"));
    ASSERT_EQ(d.size(), 98);
    EXPECT_EQ(d.keys().first(), QStringLiteral("key1"));
    EXPECT_EQ(d.keys().at(4), QStringLiteral("key5"));
    EXPECT_EQ(d.value(QStringLiteral("key5")).toInt(), -5);
    EXPECT_FALSE(d.contains(QStringLiteral("key50")));
    for (int i = 51; i < 100; ++i)
        EXPECT_EQ(d.value(QStringLiteral("key%1").arg(i)).toInt(), i);

    const Value shared(d);
    EXPECT_EQ(shared[u"key99"].toInt(), 99);
    EXPECT_EQ(shared.dict(), d);
    ValueDict copy = shared.dict();
    copy.insert(QStringLiteral("key99"), Value(0));
    EXPECT_NE(copy, d);
    for (int i = 1; i < 95; ++i)
        copy.remove(QStringLiteral("key%1").arg(i));
    EXPECT_EQ(copy.keys(), (QStringList{QStringLiteral("key95"), QStringLiteral("key96"), QStringLiteral("key97"),
                                        QStringLiteral("key98"), QStringLiteral("key99")}));
    EXPECT_EQ(copy.value(QStringLiteral("key99")).toInt(), 0);

    // Equal dictionaries whatever their order.
    EXPECT_EQ((ValueDict{{QStringLiteral("a"), Value(1)}, {QStringLiteral("b"), Value(2)}}),
              (ValueDict{{QStringLiteral("b"), Value(2)}, {QStringLiteral("a"), Value(1)}}));
}
