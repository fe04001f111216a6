// The current user's social side: the buddy list, loaded page by page, the
// profile picture and the avatar removal.
#include "app/media/ImageToUpload.h"
#include "app/net/ApiRequest.h"
#include "app/session/CurrentUser.h"
#include "app/session/Profile.h"
#include "platform/foundation/Log.h"

#include <QFile>

namespace {

// A page that brings fewer friends than this is followed by the next one at once.
constexpr int kFriendsPerScreen = 10;

QByteArray readFile(const QString& path, bool* ok)
{
    QFile file(path);
    *ok = file.open(QIODevice::ReadOnly);
    return *ok ? file.readAll() : QByteArray();
}

}  // namespace

void CurrentUser::cancelFriendsRequests()
{
    for (const HTTPRequestPtr& request : m_friendsRequests.requests())
        removeRequest(request);
    m_friendsRequests.cancelAll();
}

void CurrentUser::fetchFriends()
{
    // A new first page starts a new chain: pages of an older one must not be
    // appended to it.
    cancelFriendsRequests();
    m_requestedFriendsPage = 1;
    m_friendsRequests.add(requestURL(QStringLiteral("profile_buddylist"), ValueDict(), RequestMethod::GET,
                                     SELECTOR(CurrentUser, friendsResult)));
}

void CurrentUser::fetchNextFriendsPage()
{
    // A page already on its way is the next one.
    if (!hasMoreFriendsPage() || !m_friendsRequests.isEmpty())
        return;
    m_requestedFriendsPage = m_buddylistPagenumber + 1;
    m_friendsRequests.add(requestURL(QStringLiteral("profile_buddylist"),
                                     ValueDict{{QStringLiteral("page"), Value(QString::number(m_requestedFriendsPage))}},
                                     RequestMethod::POST, SELECTOR(CurrentUser, friendsResult)));
}

void CurrentUser::friendsResult(const HTTPRequestPtr& request)
{
    if (!request)
        return;
    const std::shared_ptr<Model> guard = keepAlive();
    m_friendsRequests.remove(request);
    // A refusal leaves the lists as they are.
    if (!takeAnswer(request, {.failuresReadNoInternet = true}))
        return;
    const Value json = request->response();
    const Value html = json[u"response"][u"HTML"];

    QList<IncomingFriendRequestPtr> incoming;
    const Value incomingList = arrayFromJsonObject(html[u"incominglist"]);
    for (const Value& element : incomingList.list()) {
        if (element.isDict())
            incoming.append(Model::createWithDictionary<IncomingFriendRequest>(element));
    }
    m_incomingFriends = incoming;

    const Value pagenav = html[u"pagenav"];
    if (pagenav.isDict()) {
        m_buddylistPagenumber = pagenav[u"pagenumber"].toInt();
        m_buddylistTotalpages = pagenav[u"totalpages"].toInt();
    } else {
        m_buddylistPagenumber = 1;
        m_buddylistTotalpages = 1;
    }

    QList<FriendPtr> friends;
    QList<FriendPtr> contacts;
    QList<OutgoingFriendRequestPtr> outgoing;
    const Value entries = arrayFromJsonObject(html[u"buddylist"]);
    for (const Value& entry : entries.list()) {
        if (!entry.isDict())
            continue;
        if (entry[u"show"][u"outgoingrequest"].toBool())
            outgoing.append(Model::createWithDictionary<OutgoingFriendRequest>(entry));
        else if (entry[u"friendcheck_checked"].toBool())
            friends.append(Model::createWithDictionary<Friend>(entry));
        else
            contacts.append(Model::createWithDictionary<Friend>(entry));
    }
    if (m_buddylistPagenumber <= 1) {
        m_outgoingFriends = outgoing;
        m_friends = friends;
        m_contacts = contacts;
    } else {
        m_outgoingFriends += outgoing;
        m_friends += friends;
        m_contacts += contacts;
    }

    // A forum that ignores the page asked for would otherwise be asked forever.
    const bool advanced = m_buddylistPagenumber >= m_requestedFriendsPage;
    if (friends.size() < kFriendsPerScreen && hasMoreFriendsPage() && advanced) {
        fetchNextFriendsPage();
        return;
    }
    notifyChanged();
}

void CurrentUser::uploadPicture(const ImageToUpload& image)
{
    uploadPictureAtPath(image.path());
}

void CurrentUser::uploadPictureAtPath(const QString& path)
{
    bool ok = false;
    const QByteArray data = readFile(path, &ok);
    if (!ok) {
        MU_LOG(QStringLiteral("The picture to upload cannot be read: ") + path);
        return;
    }
    addRequest(ApiRequest::sendPicture(QStringLiteral("profile_updateprofilepic"), data,
                                       SELECTOR(CurrentUser, finishedUploading), this));
}

void CurrentUser::finishedUploading(const HTTPRequestPtr& request)
{
    if (!request)
        return;
    const std::shared_ptr<Model> guard = keepAlive();
    // A refused picture stays where it is, so that it can be sent again.
    if (!takeAnswer(request, {.failuresReadNoInternet = true}))
        return;
    fetchInfo();
    const QString pending = registrationPicturePath(username());
    if (QFile::exists(pending) && !QFile::remove(pending))
        MU_LOG(QStringLiteral("The registration picture could not be removed: ") + pending);
}

void CurrentUser::deleteAvatar()
{
    const std::shared_ptr<Model> guard = keepAlive();
    Friend::setAvatarurl(QString());
    setAvatar(Image());
    requestURL(QStringLiteral("profile_updateavatar"),
               ValueDict{{QStringLiteral("avatarid"), Value(QStringLiteral("-1"))}}, RequestMethod::POST);
    notifyChanged();
}
