#include "forum/model/NewTopSearch.h"

#include "app/config/ConnectionError.h"
#include "forum/model/ContentRows.h"
#include "forum/model/SearchRows.h"
#include "forum/model/Thread.h"
#include "platform/foundation/StringExtensions.h"

NewTopSearch::NewTopSearch() = default;

NewTopSearch::~NewTopSearch() = default;

const PropertyTable& NewTopSearch::propertyTable()
{
    static const PropertyTable table =
        PropertyTable(&ModelWithPages::propertyTable())
            .integer("searchOrder", &NewTopSearch::searchOrder, &NewTopSearch::setSearchOrder)
            .integer("searchType", &NewTopSearch::searchType, &NewTopSearch::setSearchType);
    return table;
}

void NewTopSearch::setSearchOrder(qint32 order)
{
    m_searchOrder = order;
    updateCellData();
}

void NewTopSearch::setSearchType(qint32 type)
{
    m_searchType = type;
    updateCellData();
}

void NewTopSearch::fetchPage(int)
{
    m_newDictionary = Value();
    m_topDictionary = Value();
    requestURL(QStringLiteral("api_getnewtop"), ValueDict(), RequestMethod::GET, SELECTOR(NewTopSearch, requestSearch));
}

void NewTopSearch::requestSearch(const HTTPRequestPtr& request)
{
    if (!request)
        return;
    const auto guard = keepAlive();
    removeRequest(request);
    if (!request->success()) {
        // One report, to the feed's delegate, so that its busy sign stops;
        // one that takes no failures still hears that the feed has ended.
        const Error error = request->outcome().failure();
        NewTopSearchDelegate* current = m_delegate.get();
        if (!current || !current->newTopHasResults(this, error)) {
            ConnectionError::showMessage(error);
            if ((current = m_delegate.get()))
                current->newTopHasResults(this);
        }
        return;
    }
    const Value json = request->response();
    if (json.isDict()) {
        m_newDictionary = json[u"new"];
        m_topDictionary = json[u"top"];
    }
    updateCellData();
}

void NewTopSearch::forgetAnswer()
{
    m_newDictionary = Value();
    m_topDictionary = Value();
}

void NewTopSearch::updateCellData()
{
    const Value orderObject = m_searchOrder == NewOrder   ? m_newDictionary
                              : m_searchOrder == TopOrder ? m_topDictionary
                                                          : Value();
    pages().insert(pageKey(1), cellDataFromJson(cellDataFromRequest(orderObject)));
    if (NewTopSearchDelegate* current = m_delegate.get())
        current->newTopHasResults(this);
}

ValueList NewTopSearch::cellDataFromRequest(const Value& orderObject) const
{
    static const char16_t* const lists[] = {u"all", u"thread", u"blog", u"article"};
    if (m_searchType < AllTypes || m_searchType > Articles)
        return ValueList{};
    return SearchRows::elements(orderObject[lists[m_searchType]]);
}

ModelWithPages::Page NewTopSearch::cellDataFromJson(const ValueList& rows)
{
    Page page;
    for (const Value& row : rows) {
        if (!row.isDict())
            continue;
        const QString type = row[u"type"].toString();
        if (type == u"thread") {
            const auto thread = Model::createWithDictionary<Thread>(row);
            if (!thread->threadtitle().isNull())
                thread->setThreadtitle(StringExtensions::replaceAmpersands(thread->threadtitle()));
            SearchRows::applyAvatar(*thread, row[u"avatarurl"]);
            if (row[u"username"].isString())
                thread->user()->setUsername(row[u"username"].string());
            page.append(thread);
        } else if (type == u"blog" || type == u"article") {
            if (ModelPtr model = ContentRows::make(type, ContentRows::Source::FeedRow, row))
                page.append(std::move(model));
        }
    }
    return page;
}
