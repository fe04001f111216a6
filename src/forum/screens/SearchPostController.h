#pragma once

#include "forum/model/SearchPost.h"
#include "forum/model/Thread.h"
#include "forum/screens/ScopedSearchController.h"

class AppContext;

// The search for posts within one thread, opened from the thread page: the
// posts found show with the searched words marked, and open alone.
class SearchPostController : public ScopedSearchController {
public:
    static constexpr qreal kMinimumRowHeight = 50.0;

    explicit SearchPostController(AppContext& context);

    ThreadPtr thread() const { return m_thread.lock(); }
    // Not owned: the thread searched; given once the screen is pushed.
    void setThread(const ThreadPtr& thread);
    SearchPostPtr searchInfo() const { return std::dynamic_pointer_cast<SearchPost>(searchModel()); }
    // The text of the last search: the rows mark it.
    QString searchCriteria() const { return m_searchCriteria; }

    TableViewCell* cellForObject(PaginableTableView* tableView, const ModelPtr& object) override;
    qreal heightForCellWithObject(PaginableTableView* tableView, const ModelPtr& object) override;
    void didSelectCell(TableViewCell* cell, const ModelPtr& object) override;

protected:
    SearchPtr makeSearch() override;
    QString hintText() const override;
    void willSearch(const QString& text) override;

private:
    std::weak_ptr<Thread> m_thread;
    QString m_searchCriteria;
};
