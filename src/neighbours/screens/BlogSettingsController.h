#pragma once

#include "neighbours/blogs/BlogCategory.h"
#include "neighbours/screens/PublishSettingsController.h"

#include "app/net/HTTPRequest.h"

#include "platform/ui/TableViewDataSource.h"
#include "platform/ui/TableViewDelegate.h"

#include <QList>
#include <QSet>

class Label;
class TableView;

// A blog entry's settings: the categories the forum's blog offers (asked for
// with the blog form, "blog.post_newblog"), ticked row by row, and when it
// is published. Hands a blog builder to the composing screen.
class BlogSettingsController : public PublishSettingsController, public TableViewDataSource, public TableViewDelegate {
public:
    BlogSettingsController();
    ~BlogSettingsController() override;

    void viewDidLoad() override;

    const QList<BlogCategory>& categories() const { return m_categories; }
    QList<BlogCategory> selectedCategories() const;
    TableView* categoryTable() const { return m_table; }
    Label* emptyLabel() const { return m_empty; }

    int numberOfRowsInSection(TableView* tableView, int section) override;
    TableViewCell* cellForRowAtIndexPath(TableView* tableView, const IndexPath& indexPath) override;
    void didSelectRowAtIndexPath(TableView* tableView, const IndexPath& indexPath) override;

protected:
    void buildCategories(View* root, const QRectF& area) override;
    PublishingBuilderPtr makeBuilder(PublishState state, const QDateTime& date) override;
    void handOver(ViewController* controller, const PublishingBuilderPtr& builder) override;

private:
    void categoriesArrived(const HTTPRequestPtr& request);

    TableView* m_table = nullptr;
    Label* m_empty = nullptr;
    QList<BlogCategory> m_categories;
    QSet<int> m_ticked;
    std::weak_ptr<HTTPRequest> m_request;
};
