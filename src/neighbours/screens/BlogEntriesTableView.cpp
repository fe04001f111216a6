#include "neighbours/screens/BlogEntriesTableView.h"

void BlogEntriesTableView::changed(bool failed)
{
    if (m_changed)
        m_changed(failed);
}

void BlogEntriesTableView::modelHasChanged(Model* model)
{
    PaginableTableView::modelHasChanged(model);
    changed(false);
}

bool BlogEntriesTableView::modelHasFailedToUpdate(Model* model, const Error& error)
{
    const bool handled = PaginableTableView::modelHasFailedToUpdate(model, error);
    if (model && model == this->model().get())
        changed(true);
    return handled;
}

void BlogEntriesTableView::pageNavViewDidSelectPage(PageNavView* pageNavView, unsigned page)
{
    PaginableTableView::pageNavViewDidSelectPage(pageNavView, page);
    changed(false);
}
