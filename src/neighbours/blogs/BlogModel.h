#pragma once

#include "app/model/ModelWithImage.h"
#include "app/session/Friend.h"

#include <QDateTime>
#include <QString>

#include <memory>

// One blog entry, as the home feed, the search rows and the blog lists carry
// it, and as "blog_blog" answers with its text and comments.
class BlogModel : public ModelWithImage {
public:
    BlogModel();
    ~BlogModel() override;

    static const PropertyTable& propertyTable();
    const PropertyTable& properties() const override { return propertyTable(); }

    // A new entry of this id that has already asked the forum for it
    // ("blog_blog"); it fills itself when the answer comes.
    static std::shared_ptr<BlogModel> getBlog(const QString& blogid);

    // An entry of a list or search row: the row's "blog", its "avatar" and
    // its "blogposter". Null for a row without an entry.
    static std::shared_ptr<BlogModel> fromListRow(const Value& row);
    // An entry of the home feed: the row itself ("&amp;" in the title turned
    // into "&"), its "avatar" and its "blogposter". Null for a row that is no dictionary.
    static std::shared_ptr<BlogModel> fromFeedRow(const Value& row);

    QString blogid() const { return m_blogid; }
    void setBlogid(const QString& blogid) { m_blogid = blogid; }
    QString title() const { return m_title; }
    void setTitle(const QString& title) { m_title = title; }
    // Pre-fills the title for composing.
    void setBlogtitle(const QString& title) { m_title = title; }
    // The entry's text: HTML as the entry shows it; pre-filled BB-code when composing.
    QString message() const { return m_message; }
    void setMessage(const QString& message) { m_message = message; }
    QString pagetext() const { return m_pagetext; }
    void setPagetext(const QString& pagetext) { m_pagetext = pagetext; }
    qint32 comments_total() const { return m_commentsTotal; }
    void setComments_total(qint32 count) { m_commentsTotal = count; }
    // The last activity: an answer's whole seconds since 1970.
    const QDateTime& lastpost() const { return m_lastpost; }
    void setLastpost(const Value& seconds);
    // The author; the "blogposter" member's "userid" and "username" reach it too.
    const FriendPtr& user() const { return m_user; }
    void setUser(const Value& user);
    void setUserid(const Value& userid);
    void setUsername(const Value& username);
    // A dictionary's entry "0" is the author's picture address (asked for
    // at once); anything else is ignored.
    void setAvatar(const Value& avatar);

private:
    QString m_blogid;
    QString m_title;
    QString m_message;
    QString m_pagetext;
    qint32 m_commentsTotal = 0;
    QDateTime m_lastpost;
    FriendPtr m_user;
};

using BlogModelPtr = std::shared_ptr<BlogModel>;
