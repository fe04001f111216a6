#pragma once

#include "neighbours/screens/PublishSettingsController.h"

class TextField;

// An article's settings: its categories, typed as names separated by commas,
// and when it is published. Hands an article builder to the composing screen.
class ArticleSettingsController : public PublishSettingsController {
public:
    ArticleSettingsController();
    ~ArticleSettingsController() override;

    TextField* categoriesField() const { return m_categories; }
    // The names typed, trimmed, empty ones left out.
    QStringList selectedCategories() const;

protected:
    void buildCategories(View* root, const QRectF& area) override;
    PublishingBuilderPtr makeBuilder(PublishState state, const QDateTime& date) override;
    void handOver(ViewController* controller, const PublishingBuilderPtr& builder) override;

private:
    TextField* m_categories = nullptr;
};
