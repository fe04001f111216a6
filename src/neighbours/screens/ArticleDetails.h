#pragma once

#include "neighbours/blogs/Article.h"
#include "neighbours/screens/ContentPageController.h"

// One CMS article: its title, author, date and comment count, and its text
// as a page. An article known only by its id (an article link) has no text
// to show, as the forum's API has no call for an article's details; the
// screen says so.
class ArticleDetails : public ContentPageController {
public:
    ArticleDetails();

    // Observes the article instead of the former one, lays the screen out and
    // asks the article for its details. Given before the push.
    void setArticle(const ArticlePtr& article);
    const ArticlePtr& article() const { return m_article; }

protected:
    Content content() const override;
    QString missingTextKey() const override { return QStringLiteral("article_missing_headline"); }
    QString missingTextMessageKey() const override { return QStringLiteral("article_missing_message"); }

private:
    ArticlePtr m_article;
};
