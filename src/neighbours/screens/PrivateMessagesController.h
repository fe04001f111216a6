#pragma once

#include "neighbours/screens/StandInSectionController.h"

class AppContext;

// The private-message folders, opened from the menu and by message links: this application reads no private messages, so the screen says so.
class PrivateMessagesController : public StandInSectionController {
public:
    explicit PrivateMessagesController(AppContext& context);
};
