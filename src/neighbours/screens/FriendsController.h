#pragma once

#include "neighbours/screens/StandInSectionController.h"

// The member's friend list, opened from the menu: this application lists no friends here, so the screen says so.
class FriendsController : public StandInSectionController {
public:
    FriendsController();
};
