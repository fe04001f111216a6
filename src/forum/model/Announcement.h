#pragma once

#include "app/model/ModelWithImage.h"
#include "app/session/Friend.h"

#include <QDateTime>
#include <QString>

#include <memory>

class Forum;
class Post;

// A forum's announcement: it heads the forum's thread list (as a thread row)
// and opens on a screen of its own, filled from "announcement_view".
class Announcement : public ModelWithImage {
public:
    static const PropertyTable& propertyTable();
    const PropertyTable& properties() const override { return propertyTable(); }
    ImagesProperties imagesProperties() const override;

    QString title() const { return m_title; }
    void setTitle(const QString& title) { m_title = title; }
    QString username() const { return m_username; }
    void setUsername(const QString& name) { m_username = name; }
    QString usertitle() const { return m_usertitle; }
    void setUsertitle(const QString& title) { m_usertitle = title; }
    QString announcementidlink() const { return m_announcementidlink; }
    void setAnnouncementidlink(const QString& link) { m_announcementidlink = link; }
    QString message() const { return m_message; }
    void setMessage(const QString& message) { m_message = message; }
    QString avatarurl() const { return m_avatarurl; }
    void setAvatarurl(const QString& url) { m_avatarurl = url; }
    qint32 userid() const { return m_userid; }
    void setUserid(qint32 userid) { m_userid = userid; }
    // Seconds since 1970 (UTC), as text.
    QString postdate() const { return m_postdate; }
    void setPostdate(const QString& date) { m_postdate = date; }
    QDateTime date() const;
    const Image& avatar() const { return m_avatar; }
    void setAvatar(const Image& avatar) { m_avatar = avatar; }
    // Not owned: the forum the announcement belongs to.
    std::shared_ptr<Forum> forum() const { return m_forum.lock(); }
    void setForum(const std::shared_ptr<Forum>& forum) { m_forum = forum; }
    qint32 announcementid() const { return m_announcementid; }
    void setAnnouncementid(qint32 id) { m_announcementid = id; }
    const std::shared_ptr<Post>& post() const { return m_post; }
    const FriendPtr& user() const { return m_user; }

    // "announcement_view" for this announcement of its forum; the answer
    // fills it (announcementResult).
    void fetchData();
    // The answer's "announcebits" element whose post has this announcement's
    // id fills it, and its pictures are asked for; no connection is told.
    void announcementResult(const HTTPRequestPtr& request);

protected:
    bool setImageProperty(const QString& name, const Image& image) override;

private:
    QString m_title;
    QString m_username;
    QString m_usertitle;
    QString m_announcementidlink;
    QString m_message;
    QString m_avatarurl;
    qint32 m_userid = 0;
    QString m_postdate;
    Image m_avatar;
    std::weak_ptr<Forum> m_forum;
    qint32 m_announcementid = 0;
    std::shared_ptr<Post> m_post;
    FriendPtr m_user;
};

using AnnouncementPtr = std::shared_ptr<Announcement>;
