#pragma once

#include "platform/foundation/Trackable.h"

#include <QString>

// Told of the tags typed on the tag screen, as typed (an empty text too).
class ContentTagsDelegate : public virtual Trackable {
public:
    virtual void setTags(const QString& tags) = 0;
};
