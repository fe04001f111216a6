#pragma once

#include "app/session/Friend.h"
#include "forum/model/AbstractThread.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <memory>

// A CMS article, as the home feed and the search rows carry it. Its id is
// the thread id it shares with the forum's threads (its comments are a
// thread's replies).
class Article : public AbstractThread {
public:
    Article();
    ~Article() override;

    static const PropertyTable& propertyTable();
    const PropertyTable& properties() const override { return propertyTable(); }
    ImagesProperties imagesProperties() const override;

    // An article of that id, on page 1, not editable. The forum's API names
    // no call for an article's own details: what the article shows comes from
    // the feed or search row it was made from.
    static std::shared_ptr<Article> initWithArticleId(qint32 articleId);
    // Announces the details the article has (see initWithArticleId).
    void fetchDetails();

    // A row of the search results: the row, then its "article".
    static std::shared_ptr<Article> fromSearchRow(const Value& row);
    // A row of the home feed: the row, then its "avatarurl" as the avatar.
    static std::shared_ptr<Article> fromFeedRow(const Value& row);

    QString clean_title() const { return m_cleanTitle; }
    void setClean_title(const QString& title) { m_cleanTitle = title; }
    qint32 comment_count() const { return m_commentCount; }
    void setComment_count(qint32 count) { m_commentCount = count; }
    const FriendPtr& user() const { return m_user; }
    void setUser(const Value& user);
    void setUserid(const Value& userid);
    void setUsername(const Value& username);
    // Publication: an answer's whole seconds since 1970.
    const QDateTime& publish() const { return m_publish; }
    void setPublish(const Value& seconds);
    QString pagetext() const { return m_pagetext; }
    void setPagetext(const QString& pagetext) { m_pagetext = pagetext; }
    // The pages of the text: the forum splits a long article where its
    // page-break mark "[PAGE]" (any case) stands. A page with nothing on it
    // is no page; a text without the mark is one page.
    static QStringList pagesOf(const QString& bbcode);
    QStringList pages() const { return pagesOf(m_pagetext); }
    // The article's own picture; it wins over the author's.
    QString previewimage() const { return m_previewimage; }
    void setPreviewimage(const QString& address);
    // The preview image when there is one; else a text is the picture's
    // address, and a list's first element or a dictionary's "0" the
    // author's picture address ("&amp;" turned into "&").
    void setAvatar(const Value& avatar);
    QString avatarurl() const { return m_avatarurl; }
    const Image& avatar() const { return m_avatar; }
    // The page shown, from 1.
    qint32 currentPage() const { return m_currentPage; }
    void setCurrentPage(qint32 page) { m_currentPage = page; }
    bool editable() const { return m_editable; }
    void setEditable(bool editable) { m_editable = editable; }

protected:
    Value avatarurlValue() const { return m_avatarurl.isNull() ? Value() : Value(m_avatarurl); }
    bool setImageProperty(const QString& name, const Image& image) override;

private:
    QString m_cleanTitle;
    qint32 m_commentCount = 0;
    FriendPtr m_user;
    QDateTime m_publish;
    QString m_pagetext;
    QString m_previewimage;
    QString m_avatarurl;
    Image m_avatar;
    qint32 m_currentPage = 1;
    bool m_editable = false;
};

using ArticlePtr = std::shared_ptr<Article>;
