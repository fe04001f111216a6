#pragma once

#include "app/widgets/PaginableTableView.h"

#include <functional>

// The paged list of the blog home screen, telling its screen whenever what it
// shows may have changed (a model given, a page chosen, an answer or a
// failure), so that the screen can say when there is nothing to list.
class BlogEntriesTableView : public PaginableTableView {
    Q_OBJECT
public:
    using PaginableTableView::PaginableTableView;

    // The handler learns whether the change was a failure.
    void setChangeHandler(std::function<void(bool failed)> handler) { m_changed = std::move(handler); }

    void modelHasChanged(Model* model) override;
    bool modelHasFailedToUpdate(Model* model, const Error& error) override;
    void pageNavViewDidSelectPage(PageNavView* pageNavView, unsigned page) override;

private:
    void changed(bool failed);

    std::function<void(bool failed)> m_changed;
};
