#pragma once

#include <QDateTime>
#include <QString>

// When a post was made (a post's own date, a thread's last post), as the
// forum's answers give it: a day text ("postdate", "lastpostdate") and a
// time in whole seconds since 1970 ("posttime", "lastposttime"). Once the
// time has come it becomes the date, in UTC, and both texts are let go, so
// that the day text never stands beside a date it may not match.
class PostedDate {
public:
    const QString& dayText() const { return m_day; }
    void setDayText(const QString& text);
    const QString& timeText() const { return m_time; }
    void setTimeText(const QString& text);
    const QDateTime& date() const { return m_date; }
    void setDate(const QDateTime& date) { m_date = date; }

    // Whole seconds since 1970 as the forum writes them, as a date in UTC.
    static QDateTime fromSeconds(const QString& seconds);

private:
    void settle();

    QString m_day;
    QString m_time;
    QDateTime m_date;
};
