#include "app/text/Formatter.h"

#include "platform/foundation/DateExtensions.h"

Formatter::ShortDateFormatter::ShortDateFormatter(const QLocale& locale, bool withTime)
    : m_locale(locale)
    , m_format(withTime ? locale.dateTimeFormat(QLocale::ShortFormat) : locale.dateFormat(QLocale::ShortFormat))
{
}

QString Formatter::ShortDateFormatter::stringFromDate(const QDateTime& date) const
{
    if (!date.isValid())
        return QString();
    // Stored dates may carry any zone (the forum's answers are UTC); a cell
    // shows the reader's wall clock.
    return m_locale.toString(date.toTimeZone(DateExtensions::deviceTimeZone()), m_format);
}

Formatter& Formatter::defaultFormatter()
{
    static Formatter instance(QLocale::system());
    return instance;
}

Formatter::Formatter(const QLocale& locale)
    : m_cellDateFormatter(locale, true)
    , m_cellDateOnlyFormatter(locale, false)
{
}
