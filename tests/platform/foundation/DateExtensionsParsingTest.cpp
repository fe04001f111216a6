#include "PlatformTest.h"

#include "platform/foundation/DateExtensions.h"

namespace {

// Epoch seconds worked out with date(1), e.g. `date -u -d '1994-11-06 08:49:37' +%s`.
constexpr qint64 kNov1994 = 784111777;

qint64 secs(const std::optional<QDateTime>& date)
{
    return date ? date->toSecsSinceEpoch() : -1;
}

}  // namespace

using DateExtensionsParsingTest = PlatformTest;

TEST_F(DateExtensionsParsingTest, SplitPairIsReadInTheDeviceZone)
{
    DateExtensions::setDeviceTimeZone(QTimeZone("America/New_York"));
    EXPECT_EQ(secs(DateExtensions::dateWithDateString(u"01-31-2012"_qs, u"10:05 pm"_qs)), 1328065500);
    // 12 AM is midnight, here in summer time.
    EXPECT_EQ(secs(DateExtensions::dateWithDateString(u"07-04-2012"_qs, u"12:30 am"_qs)), 1341376200);
    DateExtensions::setDeviceTimeZone(QTimeZone("Asia/Tokyo"));
    EXPECT_EQ(secs(DateExtensions::dateWithDateString(u"01-31-2012"_qs, u"10:05 PM"_qs)), 1328015100);
    DateExtensions::setDeviceTimeZone(std::nullopt);
    EXPECT_EQ(DateExtensions::deviceTimeZone(), QTimeZone::systemTimeZone());

    const QList<QPair<QString, QString>> bad = {
        {QString(), u"10:05 pm"_qs}, {u"01-31-2012"_qs, QString()}, {u"2012-01-31"_qs, u"10:05 pm"_qs},
        {u"02-30-2012"_qs, u"10:05 pm"_qs}, {u"01-31-2012"_qs, u"22:05"_qs}, {u"01-31-2012"_qs, u"10:05 pm today"_qs},
    };
    for (const auto& [date, time] : bad)
        EXPECT_FALSE(DateExtensions::dateWithDateString(date, time)) << date.toStdString() << " " << time.toStdString();
}

TEST_F(DateExtensionsParsingTest, HttpDatesInAnyOfTheirForms)
{
    DateExtensions::setDeviceTimeZone(QTimeZone("Asia/Tokyo"));  // must play no part
    for (const QString& form : {u"Sun, 06 Nov 1994 08:49:37 GMT"_qs, u"Sunday, 06-Nov-94 08:49:37 GMT"_qs,
                                u"Sun Nov 6 08:49:37 1994"_qs, u"Sun Nov  6 08:49:37 1994"_qs})
        EXPECT_EQ(secs(DateExtensions::dateFromRFC1123(form)), kNov1994) << form.toStdString();
    // Two-digit years fall in the window around today: "10" is 2010.
    EXPECT_EQ(secs(DateExtensions::dateFromRFC1123(u"Saturday, 06-Nov-10 08:49:37 GMT"_qs)), 1289033377);

    for (const QString& text : {QString(), u"yesterday"_qs, u"Sun, 06 Nov 1994"_qs,
                                u"Sun, 06 Nov 1994 08:49:37 GMT and more"_qs, u"Sun, 31 Feb 1994 08:49:37 GMT"_qs})
        EXPECT_FALSE(DateExtensions::dateFromRFC1123(text)) << text.toStdString();
}

TEST_F(DateExtensionsParsingTest, WriterUsesGmtWhateverTheDateZone)
{
    const QDateTime nov1994 = QDateTime::fromSecsSinceEpoch(kNov1994, QTimeZone("America/New_York"));
    EXPECT_EQ(DateExtensions::rfc1123String(nov1994), u"Sun, 06 Nov 1994 08:49:37 GMT"_qs);
    EXPECT_EQ(DateExtensions::rfc1123String(QDateTime::fromSecsSinceEpoch(1000000000, Qt::UTC)),
              u"Sun, 09 Sep 2001 01:46:40 GMT"_qs);
    EXPECT_TRUE(DateExtensions::rfc1123String(QDateTime()).isNull());
}
