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

void ModelWithPages::loadPage(unsigned page)
{
    // The subclass sends the page its own way; what it sent is the page's.
    const QList<HTTPRequestPtr> before = requests().requests();
    if (page > 0)
        fetchPage(static_cast<int>(page));
    else
        fetchSpecialPage();
    m_pageLoads.removeIf([](const std::weak_ptr<HTTPRequest>& load) { return load.expired(); });
    for (const HTTPRequestPtr& request : requests().requests()) {
        if (!before.contains(request))
            m_pageLoads.append(request);
    }
}

QList<HTTPRequestPtr> ModelWithPages::pageLoadsInFlight() const
{
    QList<HTTPRequestPtr> loads;
    for (const std::weak_ptr<HTTPRequest>& load : m_pageLoads) {
        const HTTPRequestPtr request = load.lock();
        if (request && requests().contains(request.get()))
            loads.append(request);
    }
    return loads;
}

bool ModelWithPages::isLoadingPages() const
{
    return !pageLoadsInFlight().isEmpty();
}

void ModelWithPages::cancelPageLoads()
{
    const QList<HTTPRequestPtr> loads = pageLoadsInFlight();
    m_pageLoads.clear();
    for (const HTTPRequestPtr& request : loads) {
        removeRequest(request);
        request->cancel();
        pageLoadCancelled(request);
    }
}
