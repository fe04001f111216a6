#include "neighbours/screens/FriendsController.h"

#include "app/session/AppContext.h"

#include "neighbours/screens/EmptyStateView.h"
#include "neighbours/screens/FriendCell.h"
#include "neighbours/screens/MyProfile.h"

#include "app/config/ConnectionError.h"
#include "app/session/CurrentUser.h"
#include "app/widgets/LoadCellNib.h"
#include "app/widgets/LoadMoreButtonCell.h"

#include "platform/ui/NavigationController.h"
#include "platform/ui/TableView.h"

#include "platform/foundation/Localized.h"

FriendsController::FriendsController(AppContext& context) : MurmoraViewController(context)
{
    setTitle(localized("nav_friends"));
}

FriendsController::~FriendsController() = default;

void FriendsController::buildNib(View* root)
{
    m_table = new TableView(root->bounds(), TableViewStyle::Plain);
    m_table->setAutoresizingMask(Autoresizing::FlexibleSize);
    m_table->setRowHeight(FriendCell::kHeight);
    root->addSubview(m_table);
    m_emptyState = new EmptyStateView(root->bounds());
    root->addSubview(m_emptyState);
}

void FriendsController::viewDidLoad()
{
    MurmoraViewController::viewDidLoad();
    m_table->setDataSource(this);
    m_table->setDelegate(this);
    const CurrentUserPtr user = context().currentUser();
    if (user->isMember()) {
        const BuddyListPtr list = user->buddyList();
        m_buddyList = list;
        m_buddyListObservation.observe(list, this);
        list->fetchFriends();
    }
    showState();
    requestFooterBanner();
}

void FriendsController::loadMoreFriends()
{
    if (const BuddyListPtr list = m_buddyList.lock())
        list->fetchNextFriendsPage();
    showState();
}

bool FriendsController::offersMore() const
{
    const BuddyListPtr list = m_buddyList.lock();
    return list && !m_friends.isEmpty() && list->hasMoreFriendsPage();
}

void FriendsController::modelHasChanged(Model* model)
{
    const BuddyListPtr list = m_buddyList.lock();
    if (!list || model != list.get())
        return;
    m_failure.clear();
    showState();
}

bool FriendsController::modelHasFailedToUpdate(Model* model, const Error& error)
{
    const BuddyListPtr list = m_buddyList.lock();
    if (!list || model != list.get())
        return false;
    ConnectionError::showMessage(error);
    m_failure = error.domain();
    showState();
    return true;
}

void FriendsController::showState()
{
    if (!isViewLoaded())
        return;
    const BuddyListPtr list = m_buddyList.lock();
    m_friends = list ? list->friends() : QList<FriendPtr>();
    m_table->reloadData();
    const bool empty = m_friends.isEmpty();
    m_table->setHidden(empty);
    m_emptyState->setHidden(!empty);
    if (!empty)
        return;
    if (!list)
        m_emptyState->show(localized("profile_no_member_headline"), localized("friends_no_member_message"));
    else if (list->hasRequests())
        m_emptyState->show(localized("loading"), QString());
    else if (!m_failure.isEmpty())
        m_emptyState->show(localized("friends_failed_headline"), m_failure);
    else
        m_emptyState->show(localized("friends_empty_headline"), localized("friends_empty_message"));
}

int FriendsController::numberOfRowsInSection(TableView*, int)
{
    return int(m_friends.size()) + (offersMore() ? 1 : 0);
}

TableViewCell* FriendsController::cellForRowAtIndexPath(TableView* tableView, const IndexPath& indexPath)
{
    if (indexPath.row >= m_friends.size()) {
        LoadMoreButtonCell* more = loadCellNibForTableView<LoadMoreButtonCell>(tableView);
        more->onLoadMoreCallSelector(this, &FriendsController::loadMoreFriends);
        const BuddyListPtr list = m_buddyList.lock();
        more->showLoading(list && list->hasRequests());
        return more;
    }
    FriendCell* cell = loadCellNibForTableView<FriendCell>(tableView);
    cell->setMember(m_friends.at(indexPath.row));
    return cell;
}

std::optional<qreal> FriendsController::heightForRowAtIndexPath(TableView*, const IndexPath& indexPath)
{
    return indexPath.row >= m_friends.size() ? LoadMoreButtonCell::kHeight : FriendCell::kHeight;
}

void FriendsController::didSelectRowAtIndexPath(TableView* tableView, const IndexPath& indexPath)
{
    tableView->deselectRowAtIndexPath(indexPath, true);
    // The last row chosen from the keyboard does what its button does.
    if (indexPath.row >= m_friends.size()) {
        if (auto* more = dynamic_cast<LoadMoreButtonCell*>(tableView->cellForRowAtIndexPath(indexPath)))
            more->loadMore();
        return;
    }
    if (!navigationController())
        return;
    auto profile = std::make_shared<MyProfile>(context(), QStringLiteral("MyProfile"), MyProfile::ProfileSection);
    navigationController()->pushViewController(profile, true);
    profile->setUser(m_friends.at(indexPath.row));
}
