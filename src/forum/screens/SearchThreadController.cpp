#include "forum/screens/SearchThreadController.h"

#include "forum/cells/ThreadCell.h"
#include "app/navigation/ScreenInputs.h"

#include "app/widgets/LoadCellNib.h"
#include "app/widgets/PaginableTableView.h"
#include "app/widgets/ShadowedTableView.h"

#include "platform/ui/NavigationController.h"

#include "platform/foundation/Localized.h"
#include "platform/foundation/StringExtensions.h"

SearchThreadController::SearchThreadController(AppContext& context) : ScopedSearchController(context) {}

void SearchThreadController::setForum(const ForumPtr& forum)
{
    m_forum = forum;
    if (forum)
        setTitle(StringExtensions::replaceAmpersands(forum->title_clean()));
    if (const SearchThreadPtr search = searchInfo())
        search->setForum(forum);
}

void SearchThreadController::viewDidLoad()
{
    ScopedSearchController::viewDidLoad();
    requestFooterBanner();
}

SearchPtr SearchThreadController::makeSearch()
{
    auto search = std::make_shared<SearchThread>();
    search->setForum(m_forum.lock());
    return search;
}

QString SearchThreadController::hintText() const
{
    return localized("search_forum_hint");
}

TableViewCell* SearchThreadController::cellForObject(PaginableTableView* tableView, const ModelPtr& object)
{
    const auto thread = std::dynamic_pointer_cast<Thread>(object);
    if (!thread)
        return new TableViewCell();
    ThreadCell* cell = loadCellNibForTableView<ThreadCell>(tableView->tableView());
    cell->setThread(thread);
    return cell;
}

qreal SearchThreadController::heightForCellWithObject(PaginableTableView*, const ModelPtr& object)
{
    return std::dynamic_pointer_cast<Thread>(object) ? ThreadCell::height() : 0;
}

void SearchThreadController::didSelectCell(TableViewCell*, const ModelPtr& object)
{
    const auto thread = std::dynamic_pointer_cast<Thread>(object);
    NavigationController* navigation = navigationController();
    if (!thread || !navigation)
        return;
    if (const ViewControllerPtr page = ScreenInputs::create(kThreadScreen, thread))
        navigation->pushViewController(page, true);
}
