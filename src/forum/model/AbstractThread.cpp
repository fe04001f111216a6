#include "forum/model/AbstractThread.h"

const PropertyTable& AbstractThread::propertyTable()
{
    static const PropertyTable table = PropertyTable(&ModelWithImage::propertyTable())
                                           .integer("threadid", &AbstractThread::threadid, &AbstractThread::setThreadid);
    return table;
}
