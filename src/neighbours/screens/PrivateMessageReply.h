#pragma once

#include "neighbours/screens/StandInSectionController.h"

class AppContext;

// The composer of a new private message, opened with no recipient by links that start one: this application sends no private messages, so the screen says so.
class PrivateMessageReply : public StandInSectionController {
public:
    explicit PrivateMessageReply(AppContext& context);
};
