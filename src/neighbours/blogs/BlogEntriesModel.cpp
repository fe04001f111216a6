#include "neighbours/blogs/BlogEntriesModel.h"

BlogEntriesModel::~BlogEntriesModel() = default;

const PropertyTable& BlogEntriesModel::propertyTable()
{
    static const PropertyTable table = PropertyTable(&ModelWithPages::propertyTable());
    return table;
}

std::shared_ptr<BlogEntriesModel> BlogEntriesModel::withFilter(const ValueDict& filter, int pagenumber)
{
    auto model = std::make_shared<BlogEntriesModel>();
    model->setFilter(filter);
    model->fetchPage(pagenumber);
    return model;
}

std::shared_ptr<BlogEntriesModel> BlogEntriesModel::getEntriesForTag(const QString& tag, int pagenumber)
{
    return withFilter({{QStringLiteral("tag"), Value(tag)}}, pagenumber);
}

std::shared_ptr<BlogEntriesModel> BlogEntriesModel::getRecentEntriesForUsername(const QString& username,
                                                                                int pagenumber)
{
    return withFilter({{QStringLiteral("username"), Value(username)}}, pagenumber);
}

std::shared_ptr<BlogEntriesModel> BlogEntriesModel::getRecentEntriesForCategoryId(qint32 categoryId, int pagenumber)
{
    return withFilter({{QStringLiteral("blogcategoryid"), Value(QString::number(categoryId))}}, pagenumber);
}

std::shared_ptr<BlogEntriesModel> BlogEntriesModel::getRecentEntriesForCategoryId(qint32 categoryId, qint32 userId,
                                                                                  int pagenumber)
{
    return withFilter({{QStringLiteral("blogcategoryid"), Value(QString::number(categoryId))},
                       {QStringLiteral("userid"), Value(QString::number(userId))}},
                      pagenumber);
}

void BlogEntriesModel::fetchPage(int pageNumber)
{
    if (m_pageRequests.value(pageNumber).lock())
        return;
    ValueDict params = m_filter;
    params.insert(QStringLiteral("nohtml"), Value(QStringLiteral("1")));
    params.insert(QStringLiteral("pagenumber"), Value(QString::number(pageNumber)));
    const HTTPRequestPtr request = requestURL(QStringLiteral("blog_list"), params, RequestMethod::GET,
                                              SELECTOR(BlogEntriesModel, entriesResult));
    m_pageRequests.insert(pageNumber, request);
}

void BlogEntriesModel::entriesResult(const HTTPRequestPtr& request)
{
    const auto guard = keepAlive();
    int pageNumber = 1;
    for (auto it = m_pageRequests.begin(); it != m_pageRequests.end(); ++it) {
        if (it.value().lock() == request) {
            pageNumber = it.key();
            m_pageRequests.erase(it);
            break;
        }
    }
    const std::optional<RequestOutcome> answer = takeAnswer(request);
    if (!answer)
        return;
    const Value response = answer->dictionary();
    Page page;
    const Value rows = response[u"blogbits"];
    for (const Value& row : rows.isList() ? rows.list() : rows.isDict() ? ValueList{rows} : ValueList{}) {
        if (BlogModelPtr entry = BlogModel::fromListRow(row))
            page.append(std::move(entry));
    }
    pages().insert(pageKey(pageNumber), page);
    setPagenav(response[u"pagenav"]);
    notifyChanged();
}

QList<BlogModelPtr> BlogEntriesModel::entries(int pageNumber) const
{
    QList<BlogModelPtr> list;
    for (const ModelPtr& model : pages().value(pageKey(pageNumber)))
        list.append(std::static_pointer_cast<BlogModel>(model));
    return list;
}
