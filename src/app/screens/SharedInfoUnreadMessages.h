#pragma once

#include "app/screens/UnreadMessagesSource.h"
#include "app/session/AppContext.h"

// The unread-messages count of a context's shared info model such as the
// forum info: the context's part of a class with an inboxNotification()
// whose total() is the count (null when the forum sent none). The program
// that links the forum library sets it as a part of the same context, which
// it does not outlive.
template <typename Info>
class SharedInfoUnreadMessages : public UnreadMessagesSource {
public:
    explicit SharedInfoUnreadMessages(AppContext& context) : m_context(context) {}
    std::shared_ptr<Model> sharedModel() override { return m_context.part<Info>(); }
    std::optional<int> unreadPrivateMessages(Model* model) override
    {
        const auto* info = dynamic_cast<const Info*>(model);
        if (!info)
            return std::nullopt;
        const auto inbox = info->inboxNotification();
        return inbox ? static_cast<int>(inbox->total()) : 0;
    }

private:
    AppContext& m_context;
};
