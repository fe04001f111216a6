#pragma once

#include "app/model/ModelWithPages.h"
#include "neighbours/blogs/BlogModel.h"

#include <QList>
#include <QMap>
#include <QString>

#include <memory>

// A paged list of blog entries ("blog_list", without HTML), by tag, by
// author or by category. Each page holds BlogModel rows.
class BlogEntriesModel : public ModelWithPages {
public:
    ~BlogEntriesModel() override;

    static const PropertyTable& propertyTable();
    const PropertyTable& properties() const override { return propertyTable(); }

    // Each makes a list that has already asked for the page.
    static std::shared_ptr<BlogEntriesModel> getEntriesForTag(const QString& tag, int pagenumber);
    static std::shared_ptr<BlogEntriesModel> getRecentEntriesForUsername(const QString& username, int pagenumber);
    static std::shared_ptr<BlogEntriesModel> getRecentEntriesForCategoryId(qint32 categoryId, int pagenumber);
    static std::shared_ptr<BlogEntriesModel> getRecentEntriesForCategoryId(qint32 categoryId, qint32 userId,
                                                                           int pagenumber);

    // The list's filter ("tag", "username", "blogcategoryid", "userid").
    const ValueDict& filter() const { return m_filter; }
    void setFilter(const ValueDict& filter) { m_filter = filter; }

    // Asks for a page; a page already asked for and not yet answered is not
    // asked for again.
    void fetchPage(int pageNumber) override;
    void fetchSpecialPage() override { fetchPage(1); }
    void entriesResult(const HTTPRequestPtr& request);

    // The entries of a loaded page, in order.
    QList<BlogModelPtr> entries(int pageNumber) const;

private:
    static std::shared_ptr<BlogEntriesModel> withFilter(const ValueDict& filter, int pagenumber);

    ValueDict m_filter;
    QMap<int, std::weak_ptr<HTTPRequest>> m_pageRequests;
};

using BlogEntriesModelPtr = std::shared_ptr<BlogEntriesModel>;
