#include "app/model/PageNavItem.h"

const PropertyTable& PageNavItem::propertyTable()
{
    static const PropertyTable table = PropertyTable(&Model::propertyTable())
                                           .nested<PageNavItem>("pagenumbers", &PageNavItem::setPagenumbers)
                                           .text("curpage", &PageNavItem::curpage, &PageNavItem::setCurpage)
                                           .secondName("numbers", "pagenumbers");
    return table;
}

void PageNavItem::setPagenumbers(const Value& dictionary)
{
    m_pagenumbers = dictionary.isAbsent() ? nullptr : Model::createWithDictionary<PageNavPostInterval>(dictionary);
}
