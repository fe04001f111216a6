#pragma once

#include "TestForumRequest.h"

#include <QByteArray>
#include <QHash>
#include <QJsonObject>
#include <QList>
#include <QString>

#include <functional>
#include <optional>

// One member of the forum as the seed gives it, with what the member has
// changed since (pictures, visitor messages).
struct ForumMember {
    int userid = 0;
    QString username;
    QString password;
    QString usertitle;
    QString avatarurl;
    QString profilepicurl;
    QJsonObject profile;  // further keys of the "member" answer
    QStringList visitorMessages;
};

// The members, their buddy lists and the members' API methods: "member",
// "profile_buddylist", "profile_doaddlist", "visitormessage_message",
// "profile_updateprofilepic" and "profile_updateavatar". Not locked: the
// forum guards it.
class ForumMembers {
public:
    // Stores an uploaded picture to be served under "images/<name>".
    using PictureStore = std::function<void(const QString& name, const QByteArray& bytes)>;

    // Reads "members", "buddies" and the setting "buddylist_perpage".
    void load(const QJsonObject& seed);

    const QList<ForumMember>& all() const { return m_members; }
    const ForumMember* find(int userid) const;

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

    ForumMember* findMutable(int userid);
    QJsonObject memberAnswer(const TestForumRequest& request) const;
    QJsonObject buddyList(const TestForumRequest& request, int memberId) const;
    QJsonObject addToList(const TestForumRequest& request, int memberId);
    QJsonObject visitorMessage(const TestForumRequest& request, int memberId);
    QJsonObject updatePicture(const TestForumRequest& request, int memberId, const PictureStore& store,
                              bool avatar);
    QJsonObject summary(int userid) const;

    QList<ForumMember> m_members;
    QHash<int, Buddies> m_buddies;
    int m_perPage = 10;
    int m_pictureVersion = 0;
};
