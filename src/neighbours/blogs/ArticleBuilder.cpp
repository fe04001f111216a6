#include "neighbours/blogs/ArticleBuilder.h"

#include "neighbours/blogs/UnsentContent.h"
#include "platform/foundation/Bundle.h"

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
    switch (m_publishState) {
    case PublishState::PublishNow:
        return Bundle::main().localizedString(QStringLiteral("publish_now"));
    case PublishState::PublishOn:
        return Bundle::main().localizedString(QStringLiteral("publish_on"));
    case PublishState::Draft:
        return Bundle::main().localizedString(QStringLiteral("draft"));
    case PublishState::None:
        break;
    }
    return QStringLiteral("");
}

Error ArticleBuilder::create()
{
    if (requestStatus() == BuilderStatus::Sending)
        return Error();
    UnsentContent::refuse(*this);
    return Error();
}

Error ArticleBuilder::editForm()
{
    return create();
}
