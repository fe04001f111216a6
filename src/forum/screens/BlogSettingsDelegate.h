#pragma once

#include "forum/model/PublishingBuilder.h"

#include "platform/foundation/Trackable.h"

// Told by the blog settings screen that the member has chosen the entry's
// settings: the builder that will send it.
class BlogSettingsDelegate : public virtual Trackable {
public:
    virtual void blogWasSet(const PublishingBuilderPtr& builder) = 0;
};
