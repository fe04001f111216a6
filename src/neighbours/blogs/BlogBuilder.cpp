#include "neighbours/blogs/BlogBuilder.h"

#include "neighbours/blogs/UnsentContent.h"
#include "platform/foundation/Bundle.h"
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
    switch (m_publishState) {
    case PublishState::PublishNow:
        return Bundle::main().localizedString(QStringLiteral("publish_now"));
    case PublishState::PublishOn:
        return Bundle::main().localizedString(QStringLiteral("publish_on"));
    case PublishState::Draft:
        return Bundle::main().localizedString(QStringLiteral("draft_blog"));
    case PublishState::None:
        break;
    }
    return QStringLiteral("");
}

Error BlogBuilder::create()
{
    if (requestStatus() == BuilderStatus::Sending)
        return Error();
    UnsentContent::refuse(*this);
    return Error();
}
