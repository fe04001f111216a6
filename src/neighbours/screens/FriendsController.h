#pragma once

#include "app/model/ModelObserver.h"
#include "app/screens/MurmoraViewController.h"
#include "app/session/BuddyList.h"

#include "platform/ui/TableViewDataSource.h"
#include "platform/ui/TableViewDelegate.h"

#include "platform/foundation/Observation.h"

#include <QList>
#include <QString>

#include <memory>

class AppContext;
class EmptyStateView;
class TableView;

// The signed-in member's friends, from the buddy list the session keeps: one
// row per friend (choosing one opens the friend's profile), and while the
// forum has more pages a last row whose button loads the next one. As its
// view loads it asks for the list afresh. With no friends, for a guest, and
// when the list could not be loaded it says so where the list would be.
class FriendsController : public MurmoraViewController,
                          public ModelObserver,
                          public TableViewDataSource,
                          public TableViewDelegate {
public:
    explicit FriendsController(AppContext& context);
    ~FriendsController() override;

    QString getBarTitle() const override { return title(); }
    void buildNib(View* root) override;
    void viewDidLoad() override;

    // The last row's button: the buddy list's next page.
    void loadMoreFriends();

    void modelHasChanged(Model* model) override;
    bool modelHasFailedToUpdate(Model* model, const Error& error) override;

    int numberOfRowsInSection(TableView* tableView, int section) override;
    TableViewCell* cellForRowAtIndexPath(TableView* tableView, const IndexPath& indexPath) override;
    std::optional<qreal> heightForRowAtIndexPath(TableView* tableView, const IndexPath& indexPath) override;
    void didSelectRowAtIndexPath(TableView* tableView, const IndexPath& indexPath) override;

    // The friends listed now, and whether the last row loads more.
    const QList<FriendPtr>& friends() const { return m_friends; }
    bool offersMore() const;
    TableView* tableView() const { return m_table; }
    EmptyStateView* emptyState() const { return m_emptyState; }

private:
    // The list, or what to say instead, by what the buddy list holds now.
    void showState();

    std::weak_ptr<BuddyList> m_buddyList;
    QList<FriendPtr> m_friends;
    QString m_failure;
    TableView* m_table = nullptr;
    EmptyStateView* m_emptyState = nullptr;
    Observation m_buddyListObservation;
};
