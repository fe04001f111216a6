#pragma once

#include "neighbours/blogs/Article.h"
#include "neighbours/screens/ContentPageController.h"

#include "app/widgets/PageSelectorObserver.h"

#include "platform/foundation/Observation.h"

#include <memory>

class AppContext;
class PageSelector;

// One CMS article: its title, author, date and comment count, and its text
// as a page. A long article comes in pages: a page selector under the text
// steps through them. An article known only by its id (an article link) has
// no text to show, as the forum's API has no call for an article's details;
// the screen says so.
class ArticleDetails : public ContentPageController, public PageSelectorObserver {
public:
    explicit ArticleDetails(AppContext& context);
    ~ArticleDetails() override;

    // Observes the article instead of the former one, lays the screen out and
    // asks the article for its details. Given before the push.
    void setArticle(const ArticlePtr& article);
    const ArticlePtr& article() const { return m_article; }

    // The selector of an article of several pages, else null.
    PageSelector* pageSelector() const { return m_pageSelector.get(); }
    // The selector moved: the article shows that page, from its top.
    void currentPageHasChanged() override;

protected:
    Content content() const override;
    QString missingTextKey() const override { return QStringLiteral("article_missing_headline"); }
    QString missingTextMessageKey() const override { return QStringLiteral("article_missing_message"); }
    View* pageFooter() override;

private:
    // The page shown, within the article's pages (from 1).
    int shownPage() const;

    ArticlePtr m_article;
    std::shared_ptr<PageSelector> m_pageSelector;
    Observation m_pageSelectorObservation;
};
