#include "app/model/PageNavPostInterval.h"

const PropertyTable& PageNavPostInterval::propertyTable()
{
    static const PropertyTable table = PropertyTable(&Model::propertyTable())
                                           .text("first", &PageNavPostInterval::first, &PageNavPostInterval::setFirst)
                                           .text("last", &PageNavPostInterval::last, &PageNavPostInterval::setLast);
    return table;
}
