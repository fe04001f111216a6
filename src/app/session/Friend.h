#pragma once

#include "app/model/ModelWithImage.h"

#include <QString>

#include <memory>

class Profile;

// A forum member as lists and posts show one: id, name, title and avatar. It
// makes the member's full profile on demand and carries the two actions any
// screen can start from a member: ask to become friends and post a visitor
// message.
class Friend : public ModelWithImage {
public:
    Friend();
    ~Friend() override;

    static const PropertyTable& propertyTable();
    const PropertyTable& properties() const override { return propertyTable(); }
    ImagesProperties imagesProperties() const override;

    qint32 userid() const { return m_userid; }
    virtual void setUserid(qint32 userid) { m_userid = userid; }
    QString username() const { return m_username; }
    void setUsername(const QString& username) { m_username = username; }
    QString usertitle() const { return m_usertitle; }
    void setUsertitle(const QString& usertitle) { m_usertitle = usertitle; }
    // The avatar is the model's picture: pic() answers it too.
    const Image& avatar() const { return pic(); }
    void setAvatar(const Image& avatar) { setPic(avatar); }
    QString avatarurl() const { return m_avatarurl; }
    // Stores the address with "&amp;" turned into "&" (anything but a text
    // stores nothing) and asks for the picture at once.
    void setAvatarurl(const QString& avatarurl);

    // Fills this member from a nested member dictionary ("user").
    void setUser(const Value& user);

    // The full profile, made on first use; it refers back to this member
    // without owning it.
    std::shared_ptr<Profile> profile();
    const std::shared_ptr<Profile>& existingProfile() const { return m_profile; }
    void setProfile(const std::shared_ptr<Profile>& profile) { m_profile = profile; }

    // POST "profile_doaddlist", judged by the standard answer handling.
    void addAsFriend();
    // POST "visitormessage_message"; an empty text sends nothing.
    void postVisitorMessage(const QString& message);
    void postedVisitorMessage(const HTTPRequestPtr& request);

protected:
    bool setImageProperty(const QString& name, const Image& image) override;

private:
    qint32 m_userid = 0;
    QString m_username;
    QString m_usertitle;
    std::shared_ptr<Profile> m_profile;
    QString m_avatarurl;
};

using FriendPtr = std::shared_ptr<Friend>;
