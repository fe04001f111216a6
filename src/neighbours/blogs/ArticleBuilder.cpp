#include "neighbours/blogs/ArticleBuilder.h"

#include "neighbours/blogs/UnsentContent.h"

ArticleBuilder::ArticleBuilder() = default;

ArticleBuilder::~ArticleBuilder() = default;

const PropertyTable& ArticleBuilder::propertyTable()
{
    static const PropertyTable table = PropertyTable(&Builder::propertyTable())
                                           .integer("articleid", &ArticleBuilder::articleid, &ArticleBuilder::setArticleid)
                                           .integer("mode", &ArticleBuilder::mode, &ArticleBuilder::setMode);
    return table;
}

QString ArticleBuilder::getCsvOfSelectedCategorysTitles() const
{
    return m_selectedCategories.join(QStringLiteral(", "));
}

QString ArticleBuilder::getPublishStatus() const
{
    return publishStateText(m_publishState, QStringLiteral("draft"));
}

QString ArticleBuilder::contentTitle() const
{
    return m_article ? m_article->clean_title() : QString();
}

QString ArticleBuilder::contentText() const
{
    return m_article ? m_article->pagetext() : QString();
}

Error ArticleBuilder::create()
{
    UnsentContent::refuse(*this);
    return Error();
}

Error ArticleBuilder::editForm()
{
    return create();
}
