#include "PlatformTest.h"

#include "platform/foundation/KeyedArchive.h"
#include "platform/foundation/PropertyList.h"

#include <QTimeZone>

using PropertyListTest = PlatformTest;
using KeyedArchiveTest = PlatformTest;

namespace {

Value sample()
{
    ValueList list{Value(1), Value(QStringLiteral("two")), Value(ValueDict{{QStringLiteral("deep"), Value(true)}})};
    return Value(ValueDict{
        {QStringLiteral("zeta"), Value(QStringLiteral("Grüße"))},
        {QStringLiteral("alpha"), Value(qint64(-5))},
        {QStringLiteral("big"), Value(qint64(9000000000LL))},
        {QStringLiteral("real"), Value(2.5)},
        {QStringLiteral("flag"), Value(false)},
        {QStringLiteral("bytes"), Value(QByteArray("\x00\x01\xff", 3))},
        {QStringLiteral("when"), Value(QDateTime(QDate(2012, 3, 4), QTime(5, 6, 7), QTimeZone::utc()))},
        {QStringLiteral("list"), Value(list)},
        {QStringLiteral("empty"), Value(ValueDict())},
    });
}

}  // namespace

TEST_F(PropertyListTest, RoundTripsInBothFormatsKeepValuesAndOrder)
{
    const Value original = sample();
    for (const QByteArray& data : {PropertyList::toBinary(original), PropertyList::toXml(original)}) {
        ASSERT_FALSE(data.isEmpty());
        bool ok = false;
        const Value back = PropertyList::fromData(data, &ok);
        ASSERT_TRUE(ok);
        EXPECT_EQ(back, original) << back.debugText().toStdString();
        EXPECT_EQ(back.dict().keys(), original.dict().keys());
        EXPECT_EQ(back.lookup({u"list", 2, u"deep"}).value, Value(true));
    }
    EXPECT_TRUE(PropertyList::toBinary(original).startsWith("bplist00"));
    EXPECT_TRUE(PropertyList::toXml(original).contains("<key>zeta</key>"));
}

TEST_F(PropertyListTest, NumbersAreWrittenAsIntegerOrReal)
{
    const QByteArray xml = PropertyList::toXml(Value(ValueList{Value::number(QStringLiteral("12")),
                                                               Value::number(QStringLiteral("12.50"))}));
    EXPECT_TRUE(xml.contains("<integer>12</integer>")) << xml.constData();
    EXPECT_TRUE(xml.contains("<real>12.5")) << xml.constData();
}

TEST_F(PropertyListTest, NothingAndNullAreLeftOut)
{
    const Value withGaps(ValueDict{{QStringLiteral("a"), Value()},
                                   {QStringLiteral("b"), Value::null()},
                                   {QStringLiteral("c"), Value(ValueList{Value::null(), Value(3)})}});
    bool ok = false;
    const Value back = PropertyList::fromData(PropertyList::toBinary(withGaps), &ok);
    ASSERT_TRUE(ok);
    EXPECT_EQ(back.dict().keys(), QStringList{QStringLiteral("c")});
    EXPECT_EQ(back[u"c"], Value(ValueList{Value(3)}));
}

TEST_F(PropertyListTest, ReadsAHandWrittenXmlFile)
{
    const QByteArray xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                           "<plist version=\"1.0\"><dict>"
                           "<key>b</key><integer>-7</integer>"
                           "<key>a</key><array><string>x</string><real>0.25</real></array>"
                           "<key>d</key><data>AAH/</data>"
                           "</dict></plist>";
    bool ok = false;
    const Value v = PropertyList::fromData(xml, &ok);
    ASSERT_TRUE(ok);
    EXPECT_EQ(v.dict().keys(), (QStringList{QStringLiteral("b"), QStringLiteral("a"), QStringLiteral("d")}));
    EXPECT_EQ(v[u"b"].toLongLong(), -7);
    EXPECT_EQ(v[u"a"].at(0).string(), QStringLiteral("x"));
    EXPECT_DOUBLE_EQ(v[u"a"].at(1).toDouble(), 0.25);
    EXPECT_EQ(v[u"d"].bytes(), QByteArray("\x00\x01\xff", 3));
}

TEST_F(PropertyListTest, CorruptInputGivesNothing)
{
    const QByteArray binary = PropertyList::toBinary(sample());
    for (const QByteArray& bad : {QByteArray(), QByteArray("garbage <<"), QByteArray("<?xml version=\"1.0\"?><plist><dict><key>a"),
                                  binary.left(binary.size() / 2), QByteArray("bplist00") + QByteArray(40, '\xff')}) {
        bool ok = true;
        EXPECT_TRUE(PropertyList::fromData(bad, &ok).isAbsent());
        EXPECT_FALSE(ok);
    }
    bool ok = true;
    EXPECT_TRUE(PropertyList::readFile(QStringLiteral("/nonexistent/file.plist"), &ok).isAbsent());
    EXPECT_FALSE(ok);
}

TEST_F(KeyedArchiveTest, RoundTripAndRejection)
{
    const ValueDict root{{QStringLiteral("userid"), Value(42)}, {QStringLiteral("username"), Value(QStringLiteral("ann"))}};
    const QByteArray data = KeyedArchive::archivedData(root);
    const std::optional<ValueDict> back = KeyedArchive::unarchive(data);
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(*back, root);

    const Value wrapper = PropertyList::fromData(data);
    EXPECT_EQ(wrapper[u"$archiver"].string(), QStringLiteral("MuKeyedArchiver"));
    EXPECT_EQ(wrapper[u"$version"].toInt(), 1);

    // A property list that is not one of our archives, and no property list at all.
    EXPECT_FALSE(KeyedArchive::unarchive(PropertyList::toBinary(Value(root))).has_value());
    EXPECT_FALSE(KeyedArchive::unarchive(QByteArray("not an archive")).has_value());
    ValueDict otherVersion{{QStringLiteral("$archiver"), Value(QStringLiteral("MuKeyedArchiver"))},
                           {QStringLiteral("$version"), Value(2)},
                           {QStringLiteral("root"), Value(root)}};
    EXPECT_FALSE(KeyedArchive::unarchive(PropertyList::toBinary(Value(otherVersion))).has_value());
}
