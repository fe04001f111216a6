#pragma once

#include <QDateTime>
#include <QLocale>
#include <QString>

// The date formats of every list cell: short date with short time, and short
// date alone, in the user's locale and shown in the device's time zone.
class Formatter {
public:
    // One locale format; the time part is optional.
    class ShortDateFormatter {
    public:
        ShortDateFormatter(const QLocale& locale, bool withTime);
        // A null text for an invalid date.
        QString stringFromDate(const QDateTime& date) const;

    private:
        QLocale m_locale;
        QString m_format;
    };

    // The shared formatters, in the system locale, made on first use.
    static Formatter& defaultFormatter();

    explicit Formatter(const QLocale& locale);

    const ShortDateFormatter& cellDateFormatter() const { return m_cellDateFormatter; }
    const ShortDateFormatter& cellDateOnlyFormatter() const { return m_cellDateOnlyFormatter; }

private:
    ShortDateFormatter m_cellDateFormatter;
    ShortDateFormatter m_cellDateOnlyFormatter;
};
