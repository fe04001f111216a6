#pragma once

#include "app/model/ModelWithPages.h"
#include "platform/foundation/Trackable.h"

#include <QString>

#include <memory>

class Friend;

// The full profile of a member. The member owns its profile; the profile
// refers back to the member without owning it.
class Profile : public ModelWithPages {
public:
    static const PropertyTable& propertyTable();
    const PropertyTable& properties() const override { return propertyTable(); }

    // A profile of the member; sends nothing.
    static std::shared_ptr<Profile> initWithFriend(Friend* member);

    // The member, or null once it has gone.
    Friend* user() const { return m_user.get(); }
    void setUser(Friend* member) { m_user = WeakRef<Friend>(member); }

    // POST "member" with the member's "userid"; the answer fills the profile.
    void fetchInfo();

    // The profile's sections as the forum sends them ("categories"); empty
    // until an answer brought some.
    const ValueList& categories() const { return m_categories; }
    // A list is kept, one section is a list of one, anything else empties it.
    void setCategories(const Value& categories);

    QString username() const { return m_username; }
    void setUsername(const QString& username) { m_username = username; }
    QString usertitle() const { return m_usertitle; }
    void setUsertitle(const QString& usertitle) { m_usertitle = usertitle; }
    QString avatarurl() const { return m_avatarurl; }
    void setAvatarurl(const QString& avatarurl) { m_avatarurl = avatarurl; }
    QString profilepicurl() const { return m_profilepicurl; }
    void setProfilepicurl(const QString& profilepicurl) { m_profilepicurl = profilepicurl; }
    // As the forum sends them: a text, or a number (a date in whole seconds
    // since 1970, a count).
    Value joindate() const { return m_joindate; }
    void setJoindate(const Value& joindate) { m_joindate = joindate; }
    Value posts() const { return m_posts; }
    void setPosts(const Value& posts) { m_posts = posts; }

    // Fills the profile and hands the member its own refreshed name, title
    // and picture addresses, so that a changed avatar reaches the member too.
    // Some forums put the member's fields under "prepared" (as the sign-in
    // answer does): they count as well, and a key at the top wins.
    void setDictionary(const Value& dictionary) override;

private:
    static Value withPreparedFields(const Value& dictionary);

    WeakRef<Friend> m_user;
    ValueList m_categories;
    QString m_username;
    QString m_usertitle;
    QString m_avatarurl;
    QString m_profilepicurl;
    Value m_joindate;
    Value m_posts;
};
