#include "neighbours/blogs/AnswerDate.h"



QDateTime AnswerDate::fromSeconds(const Value& seconds)
{
    bool ok = false;
    const qint64 whole = seconds.isNumeric() ? seconds.toLongLong()
                                              : seconds.toString().trimmed().toLongLong(&ok);
    if (!seconds.isNumeric() && !ok)
        return QDateTime();
    return QDateTime::fromSecsSinceEpoch(whole, Qt::UTC);
}
