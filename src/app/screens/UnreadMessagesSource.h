#pragma once

#include "app/model/Model.h"

#include <memory>
#include <optional>

// What the menu reads of the forum's shared home data, which lives in the
// forum library above this one: the model to observe, and the count of
// unread private messages a model of that kind holds.
class UnreadMessagesSource {
public:
    virtual ~UnreadMessagesSource() = default;
    // The shared model now, the context's part.
    virtual std::shared_ptr<Model> sharedModel() = 0;
    // The count a model of the source's kind holds; nothing for any other model.
    virtual std::optional<int> unreadPrivateMessages(Model* model) = 0;
};
