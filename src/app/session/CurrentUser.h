#pragma once

#include "app/model/ModelObserver.h"
#include "app/net/SessionCredentials.h"
#include "app/net/SessionRenewal.h"
#include "app/session/BuddyList.h"
#include "app/session/Friend.h"
#include "app/session/MemberPictures.h"
#include "app/session/SessionRenewer.h"

#include <QList>
#include <QString>

#include <functional>
#include <memory>
#include <mutex>
#include <utility>

class ImageToUpload;
class SessionEvents;

// The person using the application, signed in or not, and the API session
// every forum request is signed with. It opens the session ("api_init"),
// signs the member in and out, renews the session when the request layer
// finds the token invalid (the renewal's state is the API client's), keeps
// the member's pictures, and keeps itself in the user defaults under
// "current_user". The member's buddy list is a paged model of its own; the
// user's observers hear of it.
//
// The password is kept only as its MD5 digest (what the sign-in sends), under
// the archive key "passwordmd5".
class CurrentUser : public Friend, public SessionCredentials, public SessionRenewal, public ModelObserver {
public:
    // An operation to perform later on the user (whenInitializedCall).
    using Operation = void (CurrentUser::*)();

    CurrentUser();
    ~CurrentUser() override;

    static const PropertyTable& propertyTable();
    const PropertyTable& properties() const override { return propertyTable(); }
    ImagesProperties imagesProperties() const override;

    // The user of the application's context in use (see AppContext).
    static std::shared_ptr<CurrentUser> currentUser();
    static std::shared_ptr<CurrentUser> getInstance() { return currentUser(); }
    // Forgets the user, as a restart would: it is read again from the store.
    static void resetInstance();
    // The user stored under "current_user", or a new guest when none can be read.
    static std::shared_ptr<CurrentUser> restore();

    // Marks the current user as a member with this name and password and signs in.
    static std::shared_ptr<CurrentUser> login(const QString& username, const QString& password);
    // Opens a session for a guest.
    static std::shared_ptr<CurrentUser> skipLogin();

    // Where the user tells what happens to the session (its context's events).
    void setEvents(std::shared_ptr<SessionEvents> events) { m_events = std::move(events); }

    static QString registrationPicturePath(const QString& username)
    {
        return MemberPictures::registrationPicturePath(username);
    }

    // ---- The session
    // Opens the API session unless one is open or being opened.
    void initializeAPI(bool renewal = false);
    void sessionHashResult(const HTTPRequestPtr& request);
    // Signs in now when a session is open, else after it has been opened.
    void login();
    ValueDict loginRequestParams() const;
    // Answers to sign-in, renewal sign-in, sign-out and avatar removal.
    void setFromRequest(const HTTPRequestPtr& request) override;
    using Friend::failedWithError;
    // A failed session opening or sign-in: nothing that waited for it may
    // run later, and a renewal waiting for it fails.
    void failedWithError(const Error& error, const HTTPRequestPtr& request) override;

    void renovateAccessTokenAndCallSuccessSelector(const Selector&, const Selector&,
                                                   const HTTPRequestPtr& object) override
    {
        m_renewer->begin(object);
    }
    void renovateAccessTokenLogin() { m_renewer->login(); }
    void renovateAccessTokenSucces() { m_renewer->succeed(); }
    void renovateAccessTokenFail() { m_renewer->fail(); }

    // Signs the member out; the user goes on as a guest, whose session opens at once.
    void logout();
    // The sign-out of a stale session hash: sign out, then open a guest session.
    void signOutForStaleSession();
    // Writes the user under "current_user" and synchronises the store at once.
    void save();

    // A new id drops the forum tree; the profile exists exactly for ids of 1 and up.
    void setUserid(qint32 userid) override;
    // The answer's "dbsessionhash" is accepted and dropped.
    void setDbsessionhash(const Value&) {}
    // An answer's "prepared" member fills the user.
    void setPrepared(const Value& prepared);
    void setProfilepicurl(const QString& profilepicurl);
    // Refreshes the member's profile (nothing for a guest).
    void fetchInfo();
    void prepareRegistration();

    // ---- Buddy list (the list's own operations) and pictures
    const BuddyListPtr& buddyList() const { return m_buddyList; }
    void fetchFriends() { m_buddyList->fetchFriends(); }
    void fetchNextFriendsPage() { m_buddyList->fetchNextFriendsPage(); }
    bool hasMoreFriendsPage() const { return m_buddyList->hasMoreFriendsPage(); }
    void friendsResult(const HTTPRequestPtr& request) { m_buddyList->friendsResult(request); }
    const QList<FriendPtr>& friends() const { return m_buddyList->friends(); }
    const QList<IncomingFriendRequestPtr>& incoming_friends() const { return m_buddyList->incoming_friends(); }
    const QList<OutgoingFriendRequestPtr>& outgoing_friends() const { return m_buddyList->outgoing_friends(); }
    const QList<FriendPtr>& contacts() const { return m_buddyList->contacts(); }
    qint32 buddylist_pagenumber() const { return static_cast<qint32>(m_buddyList->pagenumber()); }
    qint32 buddylist_totalpages() const { return static_cast<qint32>(m_buddyList->totalpages()); }
    void uploadPicture(const ImageToUpload& image) { m_pictures->uploadPicture(image); }
    void uploadPictureAtPath(const QString& path) { m_pictures->uploadPictureAtPath(path); }
    void finishedUploading(const HTTPRequestPtr& request) { m_pictures->finishedUploading(request); }
    void deleteAvatar() { m_pictures->deleteAvatar(); }

    // ---- Fields
    // The MD5 digest of the password (32 lower-case hex digits).
    QString passwordmd5() const { return m_passwordmd5; }
    void setPasswordmd5(const QString& digest) { m_passwordmd5 = digest; }
    QString apiaccesstoken() const override { return m_apiaccesstoken; }
    void setApiaccesstoken(const QString& token) { m_apiaccesstoken = token; }
    QString secret() const override { return m_secret; }
    void setSecret(const QString& secret) { m_secret = secret; }
    QString apiclientid() const override { return m_apiclientid; }
    void setApiclientid(const QString& clientId) { m_apiclientid = clientId; }
    bool anonymous() const { return m_anonymous; }
    void setAnonymous(bool anonymous) { m_anonymous = anonymous; }
    // Whether a member is signed in: not a guest, and known to the forum by
    // an id. A name typed for a sign-in that has not gone through (or failed)
    // makes no member. The one rule every screen asks for what a guest may
    // not do (writing, subscribing, profiles).
    bool isMember() const { return !m_anonymous && userid() >= 1; }
    // The "api_init" request in flight, if any.
    HTTPRequestPtr session_hash_request() const { return m_sessionHashRequest.lock(); }
    Operation whenInitializedCall() const { return m_whenInitializedCall; }
    void setWhenInitializedCall(Operation operation) { m_whenInitializedCall = operation; }
    QString profilepicurl() const { return m_profilepicurl; }
    const Image& image() const { return m_image; }
    void setImage(const Image& image) { m_image = image; }
    bool isRenewing() const { return SessionRenewer::isRenewing(); }

    // The buddy list's news are the user's.
    void modelHasChanged(Model* model) override;
    bool modelHasFailedToUpdate(Model* model, const Error& error) override;

protected:
    bool setImageProperty(const QString& name, const Image& image) override;

private:
    friend class SessionRenewer;
    friend class MemberPictures;

    bool apiInitInFlight() const;
    // The sign-out itself: "login_logout" while a session is open, then the
    // member's state goes; the name stays when asked.
    void signOut(bool keepName);
    // Tells the context's listeners, if any.
    void raise(std::function<void()> SessionEvents::*event) const;
    void applySessionAnswer(const Value& json);

    mutable std::recursive_mutex m_lock;

    QString m_passwordmd5;
    QString m_apiaccesstoken;
    QString m_secret;
    QString m_apiclientid;
    bool m_anonymous = false;
    std::weak_ptr<HTTPRequest> m_sessionHashRequest;
    Operation m_whenInitializedCall = nullptr;
    QString m_profilepicurl;
    Image m_image;
    BuddyListPtr m_buddyList;
    bool m_staleSessionSignOut = false;
    std::shared_ptr<SessionEvents> m_events;
    std::unique_ptr<SessionRenewer> m_renewer;
    std::unique_ptr<MemberPictures> m_pictures;
};

using CurrentUserPtr = std::shared_ptr<CurrentUser>;
