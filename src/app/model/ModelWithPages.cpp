#include "app/model/ModelWithPages.h"

#include <algorithm>

const PropertyTable& ModelWithPages::propertyTable()
{
    static const PropertyTable table =
        PropertyTable(&Model::propertyTable()).setterOnly<ModelWithPages>("pagenav", &ModelWithPages::setPagenav);
    return table;
}

void ModelWithPages::setPagenav(const Value& block)
{
    setPagenav(block.isDict() ? Model::createWithDictionary<PageNav>(block) : nullptr);
}

void ModelWithPages::setPagenav(const PageNavPtr& block)
{
    m_pagenav = block;
    if (m_pagenav && !m_pagenav->pagenumber().isEmpty())
        m_navs.insert(m_pagenav->pagenumber(), m_pagenav);
}

quint32 ModelWithPages::fromBlock(const QString& number) const
{
    return static_cast<quint32>(std::max(0, TextNumber::toInt(number)));
}

quint32 ModelWithPages::pagenumber() const
{
    return m_pagenav ? fromBlock(m_pagenav->pagenumber()) : static_cast<quint32>(m_pages.size());
}

quint32 ModelWithPages::totalpages() const
{
    return m_pagenav ? fromBlock(m_pagenav->totalpages()) : static_cast<quint32>(m_pages.size());
}
