#include "neighbours/screens/BlogPostExpanded.h"

#include "app/text/QuoteFormatter.h"

#include "neighbours/screens/BBCodeHtml.h"

#include "platform/foundation/Localized.h"

BlogPostExpanded::BlogPostExpanded(AppContext& context) : ContentPageController(context)
{
    setTitle(localized("blog_entry_title"));
}

std::shared_ptr<BlogPostExpanded> BlogPostExpanded::initWithModel(AppContext& context, const BlogModelPtr& model)
{
    auto screen = std::make_shared<BlogPostExpanded>(context);
    screen->setModel(model);
    return screen;
}

void BlogPostExpanded::setModel(const BlogModelPtr& model)
{
    m_entry = model;
    observe(model);
}

ContentPageController::Content BlogPostExpanded::content() const
{
    Content shown;
    if (!m_entry)
        return shown;
    shown.title = QuoteFormatter::titleText(m_entry->title());
    shown.author = m_entry->user() ? m_entry->user()->username() : QString();
    shown.date = m_entry->lastpost();
    shown.comments = m_entry->blogid().isEmpty() && shown.title.isEmpty() ? -1 : m_entry->comments_total();
    // The forum's HTML when it sent it; else the BB-code the entry was written in.
    shown.bodyHtml = !m_entry->message().trimmed().isEmpty() ? m_entry->message()
                                                             : BBCodeHtml::fromBBCode(m_entry->pagetext());
    return shown;
}
