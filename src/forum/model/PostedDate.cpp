#include "forum/model/PostedDate.h"

#include "platform/foundation/Value.h"

#include <QTimeZone>

void PostedDate::setDayText(const QString& text)
{
    m_day = text;
    settle();
}

void PostedDate::setTimeText(const QString& text)
{
    m_time = text;
    settle();
}

QDateTime PostedDate::fromSeconds(const QString& seconds)
{
    return QDateTime::fromSecsSinceEpoch(TextNumber::toLongLong(seconds), QTimeZone::utc());
}

void PostedDate::settle()
{
    if (m_time.isNull())
        return;
    m_date = fromSeconds(m_time);
    m_time = QString();
    m_day = QString();
}
