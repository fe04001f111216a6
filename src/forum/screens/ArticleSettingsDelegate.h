#pragma once

#include "forum/model/PublishingBuilder.h"

#include "platform/foundation/Trackable.h"

// Told by the article settings screen that the member has chosen the
// article's settings: the builder that will send it.
class ArticleSettingsDelegate : public virtual Trackable {
public:
    virtual void articleWasSet(const PublishingBuilderPtr& builder) = 0;
};
