#pragma once

#include "app/session/Friend.h"

// A friend request this member has received.
class IncomingFriendRequest : public Friend {
};

using IncomingFriendRequestPtr = std::shared_ptr<IncomingFriendRequest>;
