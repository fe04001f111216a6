#pragma once

#include "platform/foundation/Trackable.h"

class SubforumsHeader;

// Told when the user shows or hides the subforums under the header.
class SubforumsHeaderDelegate : public virtual Trackable {
public:
    virtual void subforumsHeaderHasChanged(SubforumsHeader* header) = 0;
};
