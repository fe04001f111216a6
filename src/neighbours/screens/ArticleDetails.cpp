#include "neighbours/screens/ArticleDetails.h"

#include "neighbours/screens/BBCodeHtml.h"

#include "app/widgets/PageSelector.h"

#include "platform/foundation/Localized.h"

ArticleDetails::ArticleDetails(AppContext& context) : ContentPageController(context)
{
    setTitle(localized("article_title"));
}

ArticleDetails::~ArticleDetails() = default;

void ArticleDetails::setArticle(const ArticlePtr& article)
{
    m_article = article;
    observe(article);
    if (article)
        article->fetchDetails();
}

int ArticleDetails::shownPage() const
{
    const int pages = m_article ? int(m_article->pages().size()) : 0;
    return pages < 1 ? 1 : qBound(1, int(m_article->currentPage()), pages);
}

ContentPageController::Content ArticleDetails::content() const
{
    Content shown;
    if (!m_article)
        return shown;
    shown.title = m_article->clean_title();
    shown.author = m_article->user() ? m_article->user()->username() : QString();
    shown.date = m_article->publish();
    // An article known by its id alone has no count to tell.
    shown.comments = shown.title.isEmpty() && m_article->comment_count() == 0 ? -1 : m_article->comment_count();
    const QStringList pages = m_article->pages();
    shown.bodyHtml = pages.isEmpty() ? QString() : BBCodeHtml::fromBBCode(pages.at(shownPage() - 1));
    return shown;
}

View* ArticleDetails::pageFooter()
{
    const int pages = m_article ? int(m_article->pages().size()) : 0;
    if (pages < 2) {
        m_pageSelectorObservation.reset();
        m_pageSelector.reset();
        return nullptr;
    }
    // Another article, or the same one with another number of pages.
    if (!m_pageSelector || m_pageSelector->totalPages() != pages || m_pageSelector->currPage() != shownPage()) {
        m_pageSelectorObservation.reset();
        m_pageSelector = std::make_shared<PageSelector>(pages, shownPage());
        m_pageSelectorObservation.observe(m_pageSelector, this);
    }
    return m_pageSelector->view();
}

void ArticleDetails::currentPageHasChanged()
{
    if (!m_article || !m_pageSelector)
        return;
    m_article->setCurrentPage(m_pageSelector->currPage());
    refresh();
}
