#include "neighbours/screens/ArticleDetails.h"

#include "neighbours/screens/BBCodeHtml.h"

#include "platform/foundation/Bundle.h"

ArticleDetails::ArticleDetails()
{
    setTitle(Bundle::main().localizedString(QStringLiteral("article_title")));
}

void ArticleDetails::setArticle(const ArticlePtr& article)
{
    m_article = article;
    observe(article);
    if (article)
        article->fetchDetails();
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
    shown.bodyHtml = BBCodeHtml::fromBBCode(m_article->pagetext());
    return shown;
}
