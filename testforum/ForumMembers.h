#pragma once

#include "TestForumRequest.h"

#include <QByteArray>
#include <QHash>
#include <QJsonObject>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

// One member of the forum as the seed gives it, with what the member has
// changed since (pictures, visitor messages).
struct ForumMember {
    int userid = 0;
    QString username;
    QString password;        // as the seed gives it; empty for members who signed up
    QString passwordDigest;  // md5 hex of the password: what sign-in compares
    QString email;
    QString usertitle;
    QString signature;  // BB-code shown under the member's posts
    bool moderator = false;        // moderates every forum
    bool globallyIgnored = false;  // the forum hides this member's posts from everyone
    QList<int> ignored;            // members whose posts this member does not want to see
    qint64 joindate = 0;
    QString avatarurl;
    QString profilepicurl;
    QJsonObject profile;  // further keys of the "member" answer
    QStringList visitorMessages;
};

// The members, their buddy lists and the members' API methods: "member",
// "profile_buddylist", "profile_doaddlist", "profile_doremovelist",
// "visitormessage_message", "profile_updateprofilepic" and
// "profile_updateavatar". Not locked: the forum guards it.
class ForumMembers {
public:
    // Stores an uploaded picture to be served under "images/<name>".
    using PictureStore = std::function<void(const QString& name, const QByteArray& bytes)>;

    // Reads "members", "buddies" and the setting "buddylist_perpage".
    void load(const QJsonObject& seed);

    const QList<ForumMember>& all() const { return m_members; }
    const ForumMember* find(int userid) const;
    ForumMember* findMutable(int userid);
    // Case-insensitive, as the forum compares names.
    const ForumMember* findByName(const QString& username) const;
    const ForumMember* findByEmail(const QString& email) const;
    // The member whose name and password digest these are, or null.
    const ForumMember* authenticate(const QString& username, const QString& digest) const;
    // A new member (a sign-up); its id is the next free one.
    const ForumMember& add(ForumMember member);
    // Name, title and avatar of a member, as the lists of other answers carry them.
    QJsonObject summary(int userid) const;
    // The "member" answer with the member's fields under "prepared".
    void setFieldsUnderPrepared(bool prepared) { m_fieldsUnderPrepared = prepared; }
    // How many friend requests wait for the member's answer.
    int incomingRequestCount(int userid) const { return int(m_buddies.value(userid).incoming.size()); }

    // The answer of a members method for the member signed in on the
    // request's token (0 for a guest); nothing when the method is none of them.
    std::optional<QJsonObject> answer(const TestForumRequest& request, int memberId, const PictureStore& store);

private:
    struct Buddies {
        QList<int> friends;
        QList<int> contacts;
        QList<int> incoming;  // asked to become this member's friends
        QList<int> outgoing;  // this member asked them
    };

    QJsonObject memberAnswer(const TestForumRequest& request) const;
    QJsonObject buddyList(const TestForumRequest& request, int memberId) const;
    QJsonObject addToList(const TestForumRequest& request, int memberId);
    QJsonObject visitorMessage(const TestForumRequest& request, int memberId);
    QJsonObject removeFromList(const TestForumRequest& request, int memberId);
    QJsonObject updatePicture(const TestForumRequest& request, int memberId, const PictureStore& store,
                              bool avatar);

    QList<ForumMember> m_members;
    QHash<int, Buddies> m_buddies;
    int m_perPage = 10;
    int m_pictureVersion = 0;
    bool m_fieldsUnderPrepared = false;
};
