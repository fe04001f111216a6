#pragma once

#include <QDateTime>
#include <QString>
#include <QTimeZone>

#include <unicode/uversion.h>

#include <memory>
#include <optional>

U_NAMESPACE_BEGIN
class SimpleDateFormat;
U_NAMESPACE_END

// A fixed-pattern date format (the platform's pattern syntax) bound to one
// locale and one time zone. Parsing is strict: field values must be in range
// and the whole text must match. Not safe to share between threads.
class DateFormatter {
public:
    // An invalid zone counts as UTC.
    DateFormatter(const QString& pattern, const QString& locale, const QTimeZone& zone);
    ~DateFormatter();
    DateFormatter(DateFormatter&&) noexcept;
    DateFormatter& operator=(DateFormatter&&) noexcept;
    DateFormatter(const DateFormatter&) = delete;
    DateFormatter& operator=(const DateFormatter&) = delete;

    QString pattern() const { return m_pattern; }
    QTimeZone timeZone() const { return m_zone; }

    // The instant the text names, expressed in the formatter's zone.
    std::optional<QDateTime> parse(const QString& text) const;
    // A null text for an invalid date.
    QString format(const QDateTime& date) const;

    // The day in the locale's long date style ("March 14, 1990" in English),
    // whatever the time zone; a null text for an invalid date.
    static QString longDateString(const QDate& date, const QString& locale);

private:
    QString m_pattern;
    QTimeZone m_zone;
    std::unique_ptr<icu::SimpleDateFormat> m_format;
};
