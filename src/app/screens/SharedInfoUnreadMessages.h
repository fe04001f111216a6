#pragma once

#include "app/screens/UnreadMessagesSource.h"

// The unread-messages count of a shared info model such as the forum info:
// any class with a static getInstance() and an inboxNotification() whose
// total() is the count (null when the forum sent none). The program that
// links the forum library installs it on the menu.
template <typename Info>
class SharedInfoUnreadMessages : public UnreadMessagesSource {
public:
    std::shared_ptr<Model> sharedModel() override { return Info::getInstance(); }
    std::optional<int> unreadPrivateMessages(Model* model) override
    {
        const auto* info = dynamic_cast<const Info*>(model);
        if (!info)
            return std::nullopt;
        const auto inbox = info->inboxNotification();
        return inbox ? static_cast<int>(inbox->total()) : 0;
    }
};
