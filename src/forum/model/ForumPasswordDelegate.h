#pragma once

#include "platform/foundation/Trackable.h"

class Forum;

// Told when the member answered a forum's password prompt.
class ForumPasswordDelegate : public virtual Trackable {
public:
    // The password's hash is stored for the forum: requests to it may go again.
    virtual void passwordSavedForForum(Forum* forum) = 0;
    // The member left the prompt without a password; nothing was stored.
    virtual void passwordCancelledForForum(Forum* forum) {}
};
