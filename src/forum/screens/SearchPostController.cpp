#include "forum/screens/SearchPostController.h"

#include "forum/cells/PostCell.h"
#include "forum/cells/SearchPostCell.h"
#include "forum/screens/PostDetailsController.h"

#include "app/widgets/LoadCellNib.h"
#include "app/widgets/PaginableTableView.h"
#include "app/widgets/ShadowedTableView.h"

#include "platform/ui/NavigationController.h"

#include "platform/foundation/Localized.h"
#include "platform/foundation/StringExtensions.h"

SearchPostController::SearchPostController(AppContext& context) : ScopedSearchController(context) {}

void SearchPostController::setThread(const ThreadPtr& thread)
{
    m_thread = thread;
    if (thread)
        setTitle(StringExtensions::replaceAmpersands(thread->threadtitle()));
    if (const SearchPostPtr search = searchInfo())
        search->setThread(thread);
}

SearchPtr SearchPostController::makeSearch()
{
    auto search = std::make_shared<SearchPost>();
    search->setThread(m_thread.lock());
    return search;
}

QString SearchPostController::hintText() const
{
    return localized("search_thread_hint");
}

void SearchPostController::willSearch(const QString& text)
{
    m_searchCriteria = text;
}

TableViewCell* SearchPostController::cellForObject(PaginableTableView* tableView, const ModelPtr& object)
{
    const auto post = std::dynamic_pointer_cast<Post>(object);
    if (!post)
        return new TableViewCell();
    auto* cell = loadCellNibForTableView<SearchPostCell>(tableView->tableView());
    // A post found by its words shows them, whoever wrote it.
    cell->setForce(true);
    cell->setHighlight(m_searchCriteria);
    cell->setPost(post);
    return cell;
}

qreal SearchPostController::heightForCellWithObject(PaginableTableView*, const ModelPtr& object)
{
    const auto post = std::dynamic_pointer_cast<Post>(object);
    if (!post)
        return 0;
    return qMax(kMinimumRowHeight, PostCell::heightForPost(*post));
}

void SearchPostController::didSelectCell(TableViewCell*, const ModelPtr& object)
{
    const auto post = std::dynamic_pointer_cast<Post>(object);
    NavigationController* navigation = navigationController();
    if (!post || !navigation)
        return;
    auto details = std::make_shared<PostDetailsController>(context());
    details->setPost(post);
    navigation->pushViewController(details, true);
}
