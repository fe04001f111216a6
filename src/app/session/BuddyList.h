#pragma once

#include "app/model/ModelWithPages.h"
#include "app/net/RequestsInFlight.h"
#include "app/session/Friend.h"
#include "app/session/IncomingFriendRequest.h"
#include "app/session/OutgoingFriendRequest.h"

#include <QList>

// The signed-in member's buddy list: confirmed friends, other contacts, and
// the friend requests received and sent, loaded page by page. A page that
// brings fewer friends than a screen holds is followed by the next one at
// once; the observers hear of the list when a screen is full or the last
// page is in. Each page's entries are kept under its number (pages()).
class BuddyList : public ModelWithPages {
public:
    // A page that brings fewer friends than this is followed by the next one.
    static constexpr int FriendsPerScreen = 10;

    BuddyList();
    ~BuddyList() override;

    // The first page: GET "profile_buddylist". A chain still running is
    // dropped, so that its pages are never appended to the new one.
    void fetchFriends();
    // The next page, when there is one and none is on its way: POST
    // "profile_buddylist" with "page".
    void fetchNextFriendsPage();
    bool hasMoreFriendsPage() const { return pagenumber() < totalpages(); }
    // Page 1 (or below) asks for the first page, any other for that page.
    void fetchPage(int pageNumber) override;
    void friendsResult(const HTTPRequestPtr& request);
    // Empties every list and the paging, and drops the pages on their way.
    void clear();

    const QList<FriendPtr>& friends() const { return m_friends; }
    const QList<FriendPtr>& contacts() const { return m_contacts; }
    const QList<IncomingFriendRequestPtr>& incoming_friends() const { return m_incomingFriends; }
    const QList<OutgoingFriendRequestPtr>& outgoing_friends() const { return m_outgoingFriends; }

private:
    void send(int page);

    QList<FriendPtr> m_friends;
    QList<FriendPtr> m_contacts;
    QList<IncomingFriendRequestPtr> m_incomingFriends;
    QList<OutgoingFriendRequestPtr> m_outgoingFriends;
    // The page last asked for, and the requests of the running chain.
    int m_requestedPage = 0;
    RequestsInFlight m_pageRequests;
};

using BuddyListPtr = std::shared_ptr<BuddyList>;
