#include "DateFormatter.h"

#include "platform/foundation/Clock.h"

#include <unicode/datefmt.h>
#include <unicode/fieldpos.h>
#include <unicode/locid.h>
#include <unicode/simpletz.h>
#include <unicode/smpdtfmt.h>
#include <unicode/timezone.h>

namespace {

icu::UnicodeString toIcu(const QString& text)
{
    return icu::UnicodeString(reinterpret_cast<const char16_t*>(text.utf16()), int32_t(text.size()));
}

QString fromIcu(const icu::UnicodeString& text)
{
    return QString(reinterpret_cast<const QChar*>(text.getBuffer()), text.length());
}

std::unique_ptr<icu::TimeZone> makeZone(const QTimeZone& zone)
{
    const QByteArray id = zone.id();
    std::unique_ptr<icu::TimeZone> known(icu::TimeZone::createTimeZone(icu::UnicodeString::fromUTF8(id.constData())));
    if (known && *known != icu::TimeZone::getUnknown())
        return known;
    // Qt's fixed-offset zones ("UTC+01:00") have no tz database entry.
    const int offsetMs = zone.offsetFromUtc(Clock::current().now()) * 1000;
    return std::make_unique<icu::SimpleTimeZone>(offsetMs, icu::UnicodeString::fromUTF8(id.constData()));
}

}  // namespace

DateFormatter::DateFormatter(const QString& pattern, const QString& locale, const QTimeZone& zone)
    : m_pattern(pattern)
    , m_zone(zone.isValid() ? zone : QTimeZone::utc())
{
    UErrorCode status = U_ZERO_ERROR;
    auto format = std::make_unique<icu::SimpleDateFormat>(
        toIcu(pattern), icu::Locale(locale.toLatin1().constData()), status);
    if (U_FAILURE(status))
        return;
    format->adoptTimeZone(makeZone(m_zone).release());
    // Out-of-range fields ("13-45-2012") must fail instead of rolling over.
    format->setLenient(false);
    m_format = std::move(format);
}

DateFormatter::~DateFormatter() = default;
DateFormatter::DateFormatter(DateFormatter&&) noexcept = default;
DateFormatter& DateFormatter::operator=(DateFormatter&&) noexcept = default;

std::optional<QDateTime> DateFormatter::parse(const QString& text) const
{
    if (!m_format || text.isEmpty())
        return std::nullopt;
    const icu::UnicodeString source = toIcu(text);
    icu::ParsePosition position(0);
    const UDate when = m_format->parse(source, position);
    // A matching prefix followed by anything else is no date.
    if (position.getErrorIndex() >= 0 || position.getIndex() != source.length())
        return std::nullopt;
    return QDateTime::fromMSecsSinceEpoch(qint64(when), m_zone);
}

QString DateFormatter::format(const QDateTime& date) const
{
    if (!m_format || !date.isValid())
        return QString();
    icu::UnicodeString out;
    icu::FieldPosition unused;
    UErrorCode status = U_ZERO_ERROR;
    m_format->format(UDate(date.toMSecsSinceEpoch()), out, unused, status);
    return U_FAILURE(status) ? QString() : fromIcu(out);
}

QString DateFormatter::longDateString(const QDate& date, const QString& locale)
{
    if (!date.isValid())
        return QString();
    std::unique_ptr<icu::DateFormat> format(
        icu::DateFormat::createDateInstance(icu::DateFormat::kLong, icu::Locale(locale.toLatin1().constData())));
    if (!format)
        return QString();
    // Noon in UTC, written in UTC: no zone moves it to another day.
    format->adoptTimeZone(icu::TimeZone::createTimeZone(icu::UnicodeString::fromUTF8("UTC")));
    const QDateTime noon(date, QTime(12, 0), QTimeZone::utc());
    icu::UnicodeString out;
    format->format(UDate(noon.toMSecsSinceEpoch()), out);
    return fromIcu(out);
}
