#include "DateExtensions.h"

#include "platform/foundation/Clock.h"
#include "platform/foundation/DateFormatter.h"
#include "platform/foundation/NamedException.h"

#include <array>

namespace {

QString kindName(const Value& value)
{
    switch (value.type()) {
    case Value::Type::List: return QStringLiteral("List");
    case Value::Type::Dict: return QStringLiteral("Dictionary");
    case Value::Type::Bytes: return QStringLiteral("Bytes");
    default: return QStringLiteral("Value");
    }
}

std::optional<QTimeZone>& zoneOverride()
{
    static std::optional<QTimeZone> zone;
    return zone;
}

const QString kEnglish = QStringLiteral("en_US");

// Kept for the life of the process; like every caller, main thread only.
const std::array<DateFormatter, 3>& httpDateParsers()
{
    static const std::array<DateFormatter, 3> parsers = {
        DateFormatter(QStringLiteral("EEE',' dd MMM yyyy HH':'mm':'ss z"), kEnglish, QTimeZone::utc()),
        DateFormatter(QStringLiteral("EEEE',' dd'-'MMM'-'yy HH':'mm':'ss z"), kEnglish, QTimeZone::utc()),
        DateFormatter(QStringLiteral("EEE MMM d HH':'mm':'ss yyyy"), kEnglish, QTimeZone::utc()),
    };
    return parsers;
}

}  // namespace

namespace DateExtensions {

QTimeZone deviceTimeZone()
{
    return zoneOverride().value_or(QTimeZone::systemTimeZone());
}

void setDeviceTimeZone(const std::optional<QTimeZone>& zone)
{
    zoneOverride() = zone;
}

std::optional<QDateTime> dateWithDateString(const QString& date, const QString& time)
{
    if (date.isNull() || time.isNull())
        return std::nullopt;
    const DateFormatter formatter(QStringLiteral("MM-dd-yyyy hh:mm a"), kEnglish, deviceTimeZone());
    return formatter.parse(date + QLatin1Char(' ') + time.toUpper());
}

std::optional<QDateTime> dateFromRFC1123(const QString& text)
{
    if (text.isNull())
        return std::nullopt;
    // A space of the pattern matches a run of them, so asctime's padded
    // one-digit day ("Nov  6") reads too.
    for (const DateFormatter& parser : httpDateParsers()) {
        if (std::optional<QDateTime> parsed = parser.parse(text))
            return parsed;
    }
    return std::nullopt;
}

QString rfc1123String(const QDateTime& date)
{
    static const DateFormatter writer(QStringLiteral("EEE',' dd MMM yyyy HH':'mm':'ss 'GMT'"), kEnglish,
                                      QTimeZone::utc());
    return writer.format(date);
}

std::optional<QDateTime> createWithObject(const Value& value)
{
    if (value.isDate())
        return value.date();
    if (value.isNothing())
        return std::nullopt;
    if (value.isNumeric() || value.isString())
        return Clock::current().now().addSecs(value.toLongLong());
    throw NamedException(QStringLiteral("Invalid date"),
                         QStringLiteral("Attempt to create a date with invalid parameter of class \"%1\"")
                             .arg(kindName(value)));
}

}  // namespace DateExtensions
