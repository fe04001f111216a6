#pragma once

#include "forum/model/Forum.h"
#include "forum/model/SearchThread.h"
#include "forum/screens/ScopedSearchController.h"

class AppContext;

// The search for threads within one forum (and its subforums), opened from
// the forum's thread list; a thread found opens its page.
class SearchThreadController : public ScopedSearchController {
public:
    static inline const QString kThreadScreen = QStringLiteral("PostController");

    explicit SearchThreadController(AppContext& context);

    // Not owned: the forum searched; given before the screen is pushed.
    ForumPtr forum() const { return m_forum.lock(); }
    void setForum(const ForumPtr& forum);
    SearchThreadPtr searchInfo() const { return std::dynamic_pointer_cast<SearchThread>(searchModel()); }

    void viewDidLoad() override;

    TableViewCell* cellForObject(PaginableTableView* tableView, const ModelPtr& object) override;
    qreal heightForCellWithObject(PaginableTableView* tableView, const ModelPtr& object) override;
    void didSelectCell(TableViewCell* cell, const ModelPtr& object) override;

protected:
    SearchPtr makeSearch() override;
    QString hintText() const override;

private:
    std::weak_ptr<Forum> m_forum;
};
