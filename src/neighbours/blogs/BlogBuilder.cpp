#include "neighbours/blogs/BlogBuilder.h"

#include "neighbours/blogs/UnsentContent.h"
#include "platform/foundation/TextFormat.h"

BlogBuilder::BlogBuilder() = default;

BlogBuilder::~BlogBuilder() = default;

const PropertyTable& BlogBuilder::propertyTable()
{
    static const PropertyTable table = PropertyTable(&Builder::propertyTable())
                                           .integer("blogid", &BlogBuilder::blogid, &BlogBuilder::setBlogid);
    return table;
}

QString BlogBuilder::getCsvOfSelectedCategorysTitles() const
{
    QString titles;
    for (qsizetype i = 0; i < m_selectedCategories.size(); ++i) {
        const QString& title = m_selectedCategories.at(i).title;
        titles = i == 0 ? title : TextFormat::fill(QStringLiteral("%@,%@"), {Value(titles), Value(title)});
    }
    return titles.isNull() ? QStringLiteral("") : titles;
}

QString BlogBuilder::getPublishStatus() const
{
    return publishStateText(m_publishState, QStringLiteral("draft_blog"));
}

QString BlogBuilder::contentTitle() const
{
    return m_blogModel ? m_blogModel->title() : QString();
}

QString BlogBuilder::contentText() const
{
    if (!m_blogModel)
        return QString();
    return m_blogModel->pagetext().isEmpty() ? m_blogModel->message() : m_blogModel->pagetext();
}

Error BlogBuilder::create()
{
    UnsentContent::refuse(*this);
    return Error();
}
