#include "app/model/FieldOption.h"

const PropertyTable& FieldOption::propertyTable()
{
    static const PropertyTable table = PropertyTable(&Model::propertyTable())
                                           .text("key", &FieldOption::key, &FieldOption::setKey)
                                           .text("val", &FieldOption::val, &FieldOption::setVal);
    return table;
}
