#include "platform/foundation/DateExtensions.h"
#include "platform/foundation/NamedException.h"

#include <gtest/gtest.h>

TEST(DateExtensionsTest, PlainValuesCountSecondsFromNow)
{
    const QDateTime fixed = QDateTime::fromSecsSinceEpoch(1000000, Qt::UTC);
    EXPECT_EQ(DateExtensions::createWithObject(Value(fixed)), fixed);
    EXPECT_FALSE(DateExtensions::createWithObject(Value()).has_value());
    EXPECT_FALSE(DateExtensions::createWithObject(Value::null()).has_value());

    const QDateTime before = QDateTime::currentDateTimeUtc();
    const std::optional<QDateTime> later = DateExtensions::createWithObject(Value(u"3600 seconds"));
    const std::optional<QDateTime> earlier = DateExtensions::createWithObject(Value::number(QStringLiteral("-60.9")));
    const QDateTime after = QDateTime::currentDateTimeUtc();
    ASSERT_TRUE(later && earlier);
    EXPECT_GE(before.secsTo(*later), 3600);
    EXPECT_LE(after.secsTo(*later), 3600);
    EXPECT_GE(before.secsTo(*earlier), -60);
    EXPECT_LE(after.secsTo(*earlier), -60);
}

TEST(DateExtensionsTest, OtherKindsAreRefusedByName)
{
    try {
        DateExtensions::createWithObject(Value(ValueList{Value(1)}));
        FAIL() << "a list is no date";
    } catch (const NamedException& e) {
        EXPECT_EQ(e.name(), QStringLiteral("Invalid date"));
        EXPECT_EQ(e.reason(), QStringLiteral("Attempt to create a date with invalid parameter of class \"List\""));
    }
}
