#include "PlatformTest.h"

#include "platform/foundation/DateFormatter.h"

using DateFormatterTest = PlatformTest;

TEST_F(DateFormatterTest, ZoneAndLocaleShapeTheText)
{
    const QDateTime epoch = QDateTime::fromSecsSinceEpoch(0, Qt::UTC);
    const QString pattern = u"yyyy-MM-dd HH:mm"_qs;
    EXPECT_EQ(DateFormatter(pattern, u"en_US"_qs, QTimeZone("Asia/Tokyo")).format(epoch), u"1970-01-01 09:00"_qs);
    // A fixed offset has no tz database name; no zone at all reads as UTC.
    EXPECT_EQ(DateFormatter(pattern, u"en_US"_qs, QTimeZone(-5400)).format(epoch), u"1969-12-31 22:30"_qs);
    EXPECT_EQ(DateFormatter(pattern, u"en_US"_qs, QTimeZone()).format(epoch), u"1970-01-01 00:00"_qs);
    EXPECT_EQ(DateFormatter(u"EEEE d MMMM"_qs, u"de_DE"_qs, QTimeZone::utc()).format(epoch), u"Donnerstag 1 Januar"_qs);
    EXPECT_TRUE(DateFormatter(pattern, u"en_US"_qs, QTimeZone::utc()).format(QDateTime()).isNull());
}

TEST_F(DateFormatterTest, ParseNeedsTheWholeTextAndKeepsTheZone)
{
    const DateFormatter tokyo(u"yyyy-MM-dd HH:mm"_qs, u"en_US"_qs, QTimeZone("Asia/Tokyo"));
    const std::optional<QDateTime> parsed = tokyo.parse(u"1970-01-01 09:00"_qs);
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed->toSecsSinceEpoch(), 0);
    EXPECT_EQ(parsed->timeZone().id(), QByteArray("Asia/Tokyo"));
    EXPECT_FALSE(tokyo.parse(u"1970-01-01 09:00 "_qs));
    EXPECT_FALSE(tokyo.parse(u"1970-01-01"_qs));
    EXPECT_FALSE(tokyo.parse(u"1970-13-01 09:00"_qs));
}
