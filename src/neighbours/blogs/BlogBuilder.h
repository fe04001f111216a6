#pragma once

#include "forum/model/PublishingBuilder.h"
#include "neighbours/blogs/BlogCategory.h"
#include "neighbours/blogs/BlogModel.h"
#include "neighbours/blogs/PublishState.h"

#include <QDateTime>
#include <QList>
#include <QString>

#include <memory>

// Composes a blog entry: its settings (categories, when it is published) and
// the entry being written or edited. The forum's API offers no call that
// sends an entry, so create ends failed with a message saying so.
class BlogBuilder : public PublishingBuilder {
public:
    BlogBuilder();
    ~BlogBuilder() override;

    static const PropertyTable& propertyTable();
    const PropertyTable& properties() const override { return propertyTable(); }

    // The titles of the chosen categories joined by ","; the empty text when none is chosen.
    QString getCsvOfSelectedCategorysTitles() const override;
    // The text of the publish state ("publish_now", "publish_on", "draft_blog"); else the empty text.
    QString getPublishStatus() const override;

    const QList<BlogCategory>& selectedCategories() const { return m_selectedCategories; }
    void setSelectedCategories(const QList<BlogCategory>& categories) { m_selectedCategories = categories; }
    PublishState publishState() const { return m_publishState; }
    void setPublishState(PublishState state) { m_publishState = state; }
    const QDateTime& publishDate() const override { return m_publishDate; }
    void setPublishDate(const QDateTime& date) { m_publishDate = date; }
    // The id of the sent entry; 0 until known.
    qint32 blogid() const { return m_blogid; }
    qint32 publishedId() const override { return m_blogid; }
    void setBlogid(qint32 blogid) { m_blogid = blogid; }
    // The entry being edited (its title and text pre-fill the composer).
    const BlogModelPtr& blogModel() const { return m_blogModel; }
    void setBlogModel(const BlogModelPtr& model) { m_blogModel = model; }
    ModelPtr content() const override { return m_blogModel; }
    // The entry's title, and its text in BB-code: the entry's own BB-code
    // when the forum sent it (its message is then HTML), else the message
    // it was pre-filled with.
    QString contentTitle() const override;
    QString contentText() const override;

    Error create() override;

private:
    QList<BlogCategory> m_selectedCategories;
    PublishState m_publishState = PublishState::None;
    QDateTime m_publishDate;
    qint32 m_blogid = 0;
    BlogModelPtr m_blogModel;
};

using BlogBuilderPtr = std::shared_ptr<BlogBuilder>;
