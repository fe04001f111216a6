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

    // Fills the profile and hands the member its own refreshed name, title
    // and picture addresses, so that a changed avatar reaches the member too.
    void setDictionary(const Value& dictionary) override;

private:
    WeakRef<Friend> m_user;
    ValueList m_categories;
    QString m_username;
    QString m_usertitle;
    QString m_avatarurl;
    QString m_profilepicurl;
};
