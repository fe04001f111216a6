#include "forum/model/HomeState.h"

#include "app/model/Config.h"
#include "app/session/AppContext.h"

#include <utility>

HomeState::HomeState(AppContext& context)
    : m_context(context), m_newTop(std::make_shared<NewTopSearch>()), m_subscribed(std::make_shared<SearchAll>(context))
{
    m_subscribed->setType(kFinderType);
}

std::shared_ptr<ModelWithPages> HomeState::list() const
{
    if (m_sort == Subscribed)
        return m_subscribed;
    return m_newTop;
}

bool HomeState::setSort(Sort sort)
{
    if (!offers(sort))
        return false;
    m_sort = sort;
    switch (sort) {
    case Top:
        m_newTop->setSearchOrder(NewTopSearch::TopOrder);
        break;
    case Subscribed:
        m_subscribed->setOrder(SearchAll::SubscribedOrder);
        break;
    case Newest:
        m_newTop->setSearchOrder(NewTopSearch::NewOrder);
        break;
    }
    return true;
}

QString HomeState::listTitleKey() const
{
    switch (m_sort) {
    case Top:
        return QStringLiteral("home_order_top");
    case Subscribed:
        return QStringLiteral("home_order_subscribed");
    case Newest:
        break;
    }
    return QStringLiteral("home_order_newest");
}

QString HomeState::listIconName() const
{
    switch (m_sort) {
    case Top:
        return QStringLiteral("icon_top.png");
    case Subscribed:
        return QStringLiteral("icon_suscribed.png");
    case Newest:
        break;
    }
    return QStringLiteral("star.png");
}

QList<HomeState::FilterRow> HomeState::filterRowsOfForum(const Config& config)
{
    QList<FilterRow> rows{{QStringLiteral("nav_forums"), NewTopSearch::Threads}};
    if (config.isFeatureEnabled(Config::CmsEnabled))
        rows.append({QStringLiteral("nav_articles"), NewTopSearch::Articles});
    if (config.isFeatureEnabled(Config::BlogEnabled))
        rows.append({QStringLiteral("nav_blogs"), NewTopSearch::BlogEntries});
    rows.append({QStringLiteral("home_all"), NewTopSearch::AllTypes});
    return rows;
}

bool HomeState::forumOffersKinds(const Config& config)
{
    return config.isFeatureEnabled(Config::CmsEnabled) || config.isFeatureEnabled(Config::BlogEnabled)
           || config.isFeatureEnabled(Config::MultiTypeSearch);
}

int HomeState::resetFilter()
{
    m_filterRows = filterRowsOfForum(m_context.config());
    // Across kinds the feed starts with all content as it is; else it is
    // filtered to threads.
    if (m_context.config().isFeatureEnabled(Config::MultiTypeSearch))
        m_filterRow = int(m_filterRows.size()) - 1;
    else
        chooseFilterRow(0);
    return m_filterRow;
}

bool HomeState::chooseFilterRow(int row)
{
    if (row < 0 || row >= m_filterRows.size())
        return false;
    m_filterRow = row;
    m_newTop->setSearchType(m_filterRows[row].searchType);
    return true;
}

QString HomeState::filterTitleKey() const
{
    return m_filterRow >= 0 && m_filterRow < m_filterRows.size() ? m_filterRows[m_filterRow].titleKey
                                                                   : QStringLiteral("home_all");
}

bool HomeState::followReader(qint32 reader)
{
    const qint32 before = std::exchange(m_reader, reader);
    const bool another = before != reader && before >= 0;
    if (another) {
        for (const std::shared_ptr<ModelWithPages>& list : {std::static_pointer_cast<ModelWithPages>(m_newTop),
                                                            std::static_pointer_cast<ModelWithPages>(m_subscribed)}) {
            list->cancelPageLoads();
            list->pages().clear();
            list->navs().clear();
        }
        m_newTop->forgetAnswer();
    }
    m_guest = reader == 0;
    if (m_guest && m_sort == Subscribed)
        setSort(Newest);
    return another;
}
