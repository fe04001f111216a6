#pragma once

#include "forum/model/Forum.h"

#include "platform/foundation/Trackable.h"

// Told of the forum chosen in the forum picker.
class SelectForumDelegate : public virtual Trackable {
public:
    // True closes the picker; false keeps it (the delegate may have put
    // another screen over it).
    virtual bool forumWasSelected(const ForumPtr& forum) = 0;
    // Optional; the picker itself never sends it (its back button at the
    // top closes it without a word).
    virtual void selectForumWasCancelled() {}
};
