#include "app/session/BuddyList.h"

BuddyList::BuddyList() = default;

BuddyList::~BuddyList() = default;

void BuddyList::fetchFriends()
{
    send(1);
}

void BuddyList::fetchNextFriendsPage()
{
    // A page already on its way is the next one.
    if (hasMoreFriendsPage() && m_pageRequests.isEmpty())
        send(static_cast<int>(pagenumber()) + 1);
}

void BuddyList::fetchPage(int pageNumber)
{
    send(pageNumber <= 1 ? 1 : pageNumber);
}

void BuddyList::send(int page)
{
    if (page <= 1) {
        // A new first page starts a new chain.
        for (const HTTPRequestPtr& request : m_pageRequests.requests())
            removeRequest(request);
        m_pageRequests.cancelAll();
    }
    m_requestedPage = page;
    const ValueDict params =
        page <= 1 ? ValueDict() : ValueDict{{QStringLiteral("page"), Value(QString::number(page))}};
    m_pageRequests.add(requestURL(QStringLiteral("profile_buddylist"), params,
                                  page <= 1 ? RequestMethod::GET : RequestMethod::POST,
                                  SELECTOR(BuddyList, friendsResult)));
}

void BuddyList::friendsResult(const HTTPRequestPtr& request)
{
    if (!request)
        return;
    const std::shared_ptr<Model> guard = keepAlive();
    m_pageRequests.remove(request);
    // A refusal leaves the lists as they are.
    if (!takeAnswer(request))
        return;
    const Value html = request->response()[u"response"][u"HTML"];

    // Every page brings all the requests received.
    QList<IncomingFriendRequestPtr> incoming;
    const Value incomingList = arrayFromJsonObject(html[u"incominglist"]);
    for (const Value& element : incomingList.list()) {
        if (element.isDict())
            incoming.append(Model::createWithDictionary<IncomingFriendRequest>(element));
    }
    m_incomingFriends = incoming;

    Page entries;
    QList<FriendPtr> friends;
    QList<FriendPtr> contacts;
    QList<OutgoingFriendRequestPtr> outgoing;
    const Value buddyList = arrayFromJsonObject(html[u"buddylist"]);
    for (const Value& entry : buddyList.list()) {
        if (!entry.isDict())
            continue;
        if (entry[u"show"][u"outgoingrequest"].toBool()) {
            outgoing.append(Model::createWithDictionary<OutgoingFriendRequest>(entry));
            entries.append(outgoing.last());
        } else if (entry[u"friendcheck_checked"].toBool()) {
            friends.append(Model::createWithDictionary<Friend>(entry));
            entries.append(friends.last());
        } else {
            contacts.append(Model::createWithDictionary<Friend>(entry));
            entries.append(contacts.last());
        }
    }

    // Without a navigation block the answer is page 1 of 1; page 1 (or
    // below) starts the list afresh, later pages add to it.
    const Value pagenav = html[u"pagenav"];
    const int page = pagenav.isDict() ? pagenav[u"pagenumber"].toInt() : 1;
    const bool firstPage = page <= 1;
    if (firstPage)
        pages().clear();
    setPagenav(pagenav);
    pages().insert(pageKey(firstPage ? 1 : page), entries);

    if (firstPage) {
        m_outgoingFriends = outgoing;
        m_friends = friends;
        m_contacts = contacts;
    } else {
        m_outgoingFriends += outgoing;
        m_friends += friends;
        m_contacts += contacts;
    }

    // A forum that ignores the page asked for would otherwise be asked forever.
    const bool advanced = static_cast<int>(pagenumber()) >= m_requestedPage;
    if (friends.size() < FriendsPerScreen && hasMoreFriendsPage() && advanced) {
        fetchNextFriendsPage();
        return;
    }
    notifyChanged();
}

void BuddyList::clear()
{
    for (const HTTPRequestPtr& request : m_pageRequests.requests())
        removeRequest(request);
    m_pageRequests.cancelAll();
    m_requestedPage = 0;
    setPagenav(Value());
    pages().clear();
    navs().clear();
    m_friends.clear();
    m_contacts.clear();
    m_incomingFriends.clear();
    m_outgoingFriends.clear();
}
