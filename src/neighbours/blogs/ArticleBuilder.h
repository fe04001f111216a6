#pragma once

#include "forum/model/PublishingBuilder.h"
#include "neighbours/blogs/Article.h"
#include "neighbours/blogs/PublishState.h"

#include <QDateTime>
#include <QStringList>

#include <memory>

// Composes a CMS article, new (mode 0) or an edit of one (mode 1): its
// categories, when it is published, and the article itself. The forum's API
// offers no call that sends an article, so create and editForm end failed
// with a message saying so.
class ArticleBuilder : public PublishingBuilder {
public:
    static constexpr qint32 NewMode = 0;
    static constexpr qint32 EditMode = 1;

    ArticleBuilder();
    ~ArticleBuilder() override;

    static const PropertyTable& propertyTable();
    const PropertyTable& properties() const override { return propertyTable(); }

    // The chosen categories' names joined by ", "; the empty text when none is chosen.
    QString getCsvOfSelectedCategorysTitles() const override;
    // The text of the publish state ("publish_now", "publish_on", "draft"); else the empty text.
    QString getPublishStatus() const override;

    const QStringList& selectedCategories() const { return m_selectedCategories; }
    void setSelectedCategories(const QStringList& names) { m_selectedCategories = names; }
    PublishState publishState() const { return m_publishState; }
    void setPublishState(PublishState state) { m_publishState = state; }
    const QDateTime& publishDate() const override { return m_publishDate; }
    void setPublishDate(const QDateTime& date) { m_publishDate = date; }
    // The id of the sent article; 0 until known.
    qint32 articleid() const { return m_articleid; }
    qint32 publishedId() const override { return m_articleid; }
    void setArticleid(qint32 id) { m_articleid = id; }
    const ArticlePtr& article() const { return m_article; }
    void setArticle(const ArticlePtr& article) { m_article = article; }
    ModelPtr content() const override { return m_article; }
    // The article's clean title and its text.
    QString contentTitle() const override;
    QString contentText() const override;
    qint32 mode() const { return m_mode; }
    void setMode(qint32 mode) { m_mode = mode; }

    Error create() override;
    // Sends the edit of an existing article (mode 1).
    virtual Error editForm();
    // editForm in mode 1, else create.
    Error send() override { return m_mode == EditMode ? editForm() : create(); }

private:
    QStringList m_selectedCategories;
    PublishState m_publishState = PublishState::None;
    QDateTime m_publishDate;
    qint32 m_articleid = 0;
    ArticlePtr m_article;
    qint32 m_mode = NewMode;
};

using ArticleBuilderPtr = std::shared_ptr<ArticleBuilder>;
