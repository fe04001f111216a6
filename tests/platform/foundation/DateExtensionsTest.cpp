#include "PlatformTest.h"

#include "platform/foundation/ManualClock.h"

#include "platform/foundation/DateExtensions.h"
#include "platform/foundation/NamedException.h"

using DateExtensionsTest = PlatformTest;

TEST_F(DateExtensionsTest, PlainValuesCountSecondsFromNow)
{
    const QDateTime fixed = QDateTime::fromSecsSinceEpoch(1000000, Qt::UTC);
    EXPECT_EQ(DateExtensions::createWithObject(Value(fixed)), fixed);
    EXPECT_FALSE(DateExtensions::createWithObject(Value()).has_value());
    EXPECT_FALSE(DateExtensions::createWithObject(Value::null()).has_value());

    const QDateTime now = clock()->now();
    const std::optional<QDateTime> later = DateExtensions::createWithObject(Value(u"3600 seconds"));
    const std::optional<QDateTime> earlier = DateExtensions::createWithObject(Value::number(QStringLiteral("-60.9")));
    ASSERT_TRUE(later && earlier);
    EXPECT_EQ(now.secsTo(*later), 3600);
    EXPECT_EQ(now.secsTo(*earlier), -60);
}

TEST_F(DateExtensionsTest, OtherKindsAreRefusedByName)
{
    try {
        DateExtensions::createWithObject(Value(ValueList{Value(1)}));
        FAIL() << "a list is no date";
    } catch (const NamedException& e) {
        EXPECT_EQ(e.name(), QStringLiteral("Invalid date"));
        EXPECT_EQ(e.reason(), QStringLiteral("Attempt to create a date with invalid parameter of class \"List\""));
    }
}
