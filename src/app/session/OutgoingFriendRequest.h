#pragma once

#include "app/session/Friend.h"

// A friend request this member has sent.
class OutgoingFriendRequest : public Friend {
};

using OutgoingFriendRequestPtr = std::shared_ptr<OutgoingFriendRequest>;
