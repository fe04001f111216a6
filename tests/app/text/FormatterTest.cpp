#include "AppTest.h"

#include "app/text/Formatter.h"

#include "platform/foundation/DateExtensions.h"

#include <QTimeZone>

namespace {

class FormatterTest : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        DateExtensions::setDeviceTimeZone(QTimeZone(3600));
    }

    static QDateTime utc(int year, int month, int day, int hour, int minute)
    {
        return QDateTime(QDate(year, month, day), QTime(hour, minute), QTimeZone::utc());
    }
};

}  // namespace

TEST_F(FormatterTest, CellDatesUseTheLocaleShortStylesInTheDeviceZone)
{
    const Formatter german(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(german.cellDateFormatter().stringFromDate(utc(2024, 3, 5, 13, 7)), QStringLiteral("05.03.24 14:07"));
    EXPECT_EQ(german.cellDateOnlyFormatter().stringFromDate(utc(2024, 3, 5, 13, 7)), QStringLiteral("05.03.24"));
    // Late evening UTC is already the next day on the device.
    EXPECT_EQ(german.cellDateFormatter().stringFromDate(utc(2024, 12, 31, 23, 30)), QStringLiteral("01.01.25 00:30"));
    EXPECT_EQ(german.cellDateOnlyFormatter().stringFromDate(utc(2024, 12, 31, 23, 30)), QStringLiteral("01.01.25"));
}

TEST_F(FormatterTest, InvalidDateGivesNoText)
{
    EXPECT_TRUE(Formatter::defaultFormatter().cellDateFormatter().stringFromDate(QDateTime()).isNull());
    EXPECT_TRUE(Formatter::defaultFormatter().cellDateOnlyFormatter().stringFromDate(QDateTime()).isNull());
}
