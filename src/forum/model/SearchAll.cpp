#include "forum/model/SearchAll.h"

#include "app/model/Config.h"
#include "app/session/AppContext.h"
#include "app/config/ErrorMessages.h"
#include "forum/model/ContentRows.h"
#include "forum/model/SearchRows.h"
#include "forum/model/Thread.h"

namespace {

constexpr int MultiTypeSearch = 512;

// Content bits in the order their ids are listed, with the local kind of each.
constexpr std::pair<int, int> kindOrder[] = {
    {SearchAll::ArticleBit, Config::ContentArticle},
    {SearchAll::BlogEntryBit, Config::ContentBlogEntry},
    {SearchAll::PostBit, Config::ContentPost},
    {SearchAll::BlogCommentBit, Config::ContentBlogComment},
    {SearchAll::VisitorMessageBit, Config::ContentVisitorMessage},
};

}  // namespace

SearchAll::SearchAll(AppContext& context) : m_context(context) {}

const PropertyTable& SearchAll::propertyTable()
{
    static const PropertyTable table = PropertyTable(&Search::propertyTable())
                                           .integer("order", &SearchAll::order, &SearchAll::setOrder)
                                           .integer("type", &SearchAll::type, &SearchAll::setType)
                                           .integer("time", &SearchAll::time, &SearchAll::setTime)
                                           .integer("filterType", &SearchAll::filterType, &SearchAll::setFilterType);
    return table;
}

std::pair<QString, QString> SearchAll::sortOf(int order)
{
    switch (order) {
    case 1:
        return {QStringLiteral("views"), QStringLiteral("descending")};
    case 3:
        return {QStringLiteral("user"), QStringLiteral("ascending")};
    case 4:
        return {QStringLiteral("user"), QStringLiteral("descending")};
    case 5:
        return {QStringLiteral("title"), QStringLiteral("ascending")};
    case 6:
        return {QStringLiteral("title"), QStringLiteral("descending")};
    case 7:
        return {QStringLiteral("dateline"), QStringLiteral("ascending")};
    case 8:
        return {QStringLiteral("relevance"), QStringLiteral("descending")};
    default:
        return {QStringLiteral("dateline"), QStringLiteral("descending")};
    }
}

std::pair<QString, QString> SearchAll::dateLimitOf(int time)
{
    static const QString days[] = {QStringLiteral("lastvisit"), QStringLiteral("1"),  QStringLiteral("7"),
                                   QStringLiteral("14"),        QStringLiteral("30"), QStringLiteral("90"),
                                   QStringLiteral("180"),       QStringLiteral("365")};
    if (time < 1 || time > 16)
        return {QStringLiteral(""), QStringLiteral("")};
    return {time % 2 == 1 ? QStringLiteral("after") : QStringLiteral("before"), days[(time - 1) / 2]};
}

QStringList SearchAll::types() const
{
    QStringList ids;
    const Config& config = m_context.config();
    for (const auto& [bit, kind] : kindOrder) {
        if (!(m_type & bit))
            continue;
        const QString id = config.contentType(kind).toString();
        if (!id.isEmpty())
            ids.append(id);
    }
    return ids;
}

ValueDict SearchAll::searchParameters(const QString& text) const
{
    const auto [sortby, order] = sortOf(m_order);
    const auto [beforeafter, searchdate] = dateLimitOf(m_time);
    ValueDict params{{QStringLiteral("search_type"), Value(QStringLiteral("0"))},
                     {QStringLiteral("sortby"), Value(sortby)},
                     {QStringLiteral("order"), Value(order)},
                     {QStringLiteral("beforeafter"), Value(beforeafter)},
                     {QStringLiteral("searchdate"), Value(searchdate)}};
    if (!text.isNull()) {
        const QString key = m_filterType == FilterText         ? QStringLiteral("query")
                            : m_filterType == FilterMemberName ? QStringLiteral("searchuser")
                                                               : QStringLiteral("tag");
        params.insert(key, Value(text));
    }
    const QStringList ids = types();
    // No kind chosen: no kind is sent, whichever way kinds go.
    if (ids.isEmpty())
        return params;
    if (m_context.config().isFeatureEnabled(MultiTypeSearch)) {
        ValueList list;
        for (const QString& id : ids)
            list.push_back(Value(id));
        params.insert(QStringLiteral("type"), Value(std::move(list)));
    } else {
        params.insert(QStringLiteral("contenttypeid"), Value(ids.last()));
    }
    return params;
}

void SearchAll::search()
{
    forgetSearchResult();
    cancelRequests();
    sendProcess(searchParameters(QString()));
}

void SearchAll::fetchPage(int pageNumber)
{
    const QString page = QString::number(pageNumber);
    if (m_order == SubscribedOrder) {
        const HTTPRequestPtr request = sendCall(QStringLiteral("subscription_viewsubscription"), ValueDict(),
                                                ValueDict{{QStringLiteral("perpage"), Value(QStringLiteral("20"))},
                                                          {QStringLiteral("pagenumber"), Value(page)},
                                                          {QStringLiteral("sortfield"), Value(QStringLiteral("lastpost"))},
                                                          {QStringLiteral("sortorder"), Value(QStringLiteral("desc"))},
                                                          {QStringLiteral("folderid"), Value(QStringLiteral("all"))}},
                                                SELECTOR(SearchAll, subscribedResults));
        request->setExtraInfo(Value(pageNumber));
        return;
    }
    if (m_pageRequest || searchid().isEmpty())
        return;
    ValueDict body{{QStringLiteral("pagenumber"), Value(page)}};
    const QStringList ids = types();
    if (!m_context.config().isFeatureEnabled(MultiTypeSearch) && !ids.isEmpty())
        body.insert(QStringLiteral("contenttypeid"), Value(ids.last()));
    m_pageRequest = sendCall(QStringLiteral("search_showresults"),
                             ValueDict{{QStringLiteral("searchid"), Value(searchid())}}, body,
                             SELECTOR(Search, searchResults));
    m_pageRequest->setExtraInfo(Value(pageNumber));
}

void SearchAll::subscribedResults(const HTTPRequestPtr& request)
{
    if (!request)
        return;
    const auto guard = keepAlive();
    removeRequest(request);
    if (reportedNoAnswer(request))
        return;
    // Only the answer's own code fails it, in the table's words.
    const RequestOutcome& outcome = request->outcome();
    if (outcome.is(RequestOutcome::Kind::ForumRefused)
        && outcome.codeSource() == RequestOutcome::CodeSource::ErrorMessage) {
        const QString& code = outcome.answerCode();
        tellDelegateOfFailure(Error::failure(Error::Kind::Refused, ErrorMessages::errorForCode(Value(code)), code));
        return;
    }
    const Value response = request->response()[u"response"];
    const Value html = response[u"HTML"];
    if (html.isNothing())
        return;
    m_answeredPage = request->extraInfo().toInt();
    setPagenav(html[u"pagenav"]);
    setResponse(html[u"threadbits"]);
    if (SearchDelegate* current = delegate())
        current->searchHasResults(this);
}

void SearchAll::setResponse(const Value& rows)
{
    Page page;
    for (const Value& row : SearchRows::elements(rows)) {
        if (!row.isDict())
            continue;
        if (row[u"thread"].isDict()) {
            const auto thread = Model::createWithDictionary<Thread>(row[u"thread"]);
            SearchRows::applyAvatar(*thread, row[u"avatar"]);
            page.append(thread);
        } else if (row.dict().contains(QStringLiteral("blog"))) {
            if (ModelPtr entry = ContentRows::make(QStringLiteral("blog"), ContentRows::Source::SearchRow, row))
                page.append(std::move(entry));
        } else if (row.dict().contains(QStringLiteral("article"))) {
            if (ModelPtr article = ContentRows::make(QStringLiteral("article"), ContentRows::Source::SearchRow, row))
                page.append(std::move(article));
        }
    }
    storePage(page);
}
