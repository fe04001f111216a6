#include "neighbours/screens/ArticleSettingsController.h"

#include "forum/screens/ArticleSettingsDelegate.h"
#include "neighbours/blogs/ArticleBuilder.h"

#include "platform/ui/Font.h"
#include "platform/ui/TextField.h"

#include "platform/foundation/Localized.h"

ArticleSettingsController::ArticleSettingsController()
    : PublishSettingsController(QStringLiteral("article_settings_title"), QStringLiteral("draft"))
{
}

ArticleSettingsController::~ArticleSettingsController() = default;

void ArticleSettingsController::buildCategories(View* root, const QRectF& area)
{
    m_categories = new TextField(QRectF(area.topLeft(), QSizeF(area.width(), 31)));
    m_categories->setBorderStyle(TextBorderStyle::RoundedRect);
    m_categories->setFont(Font::systemFontOfSize(16));
    m_categories->setPlaceholder(localized("settings_categories_hint"));
    m_categories->setReturnKeyType(ReturnKeyType::Done);
    root->addSubview(m_categories);
}

QStringList ArticleSettingsController::selectedCategories() const
{
    QStringList names;
    for (const QString& name : (m_categories ? m_categories->text() : QString()).split(u',')) {
        if (!name.trimmed().isEmpty())
            names.append(name.trimmed());
    }
    return names;
}

PublishingBuilderPtr ArticleSettingsController::makeBuilder(PublishState state, const QDateTime& date)
{
    auto builder = std::make_shared<ArticleBuilder>();
    builder->setSelectedCategories(selectedCategories());
    builder->setPublishState(state);
    builder->setPublishDate(date);
    return builder;
}

void ArticleSettingsController::handOver(ViewController* controller, const PublishingBuilderPtr& builder)
{
    if (auto* composer = dynamic_cast<ArticleSettingsDelegate*>(controller))
        composer->articleWasSet(builder);
}
