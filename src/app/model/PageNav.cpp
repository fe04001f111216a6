#include "app/model/PageNav.h"

#include <algorithm>
#include <climits>

const PropertyTable& PageNav::propertyTable()
{
    static const PropertyTable table = PropertyTable(&Model::propertyTable())
                                           .text("pagenumber", &PageNav::pagenumber, &PageNav::setPagenumber)
                                           .text("nextpage", &PageNav::nextpage, &PageNav::setNextpage)
                                           .text("totalpages", &PageNav::totalpages, &PageNav::setTotalpages)
                                           .text("total", &PageNav::total, &PageNav::setTotal)
                                           .nested<PageNav>("pagenav", &PageNav::setPagenav);
    return table;
}

void PageNav::setPagenav(const Value& items)
{
    m_pagenav.clear();
    const Value list = arrayFromJsonObject(items);
    for (const Value& item : list.list())
        m_pagenav.append(Model::createWithDictionary<PageNavItem>(item));
}

int PageNav::itemsPerPage() const
{
    // 64-bit: the lowest integer divided by -1 does not fit 32 bits.
    const qint64 pages = TextNumber::toInt(m_totalpages);
    if (pages == 0)
        return 0;
    const qint64 perPage = TextNumber::toInt(m_total) / pages;
    return static_cast<int>(std::clamp<qint64>(perPage, INT_MIN, INT_MAX));
}
