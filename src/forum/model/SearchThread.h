#pragma once

#include "forum/model/Search.h"

#include <memory>

class Forum;

// A search for threads in one forum.
class SearchThread : public Search {
public:
    // Not owned.
    std::shared_ptr<Forum> forum() const { return m_forum.lock(); }
    void setForum(const std::shared_ptr<Forum>& forum) { m_forum = forum; }

    ValueDict searchParameters(const QString& text) const override;
    // Each dictionary row is a thread.
    void setResponse(const Value& rows) override;

private:
    std::weak_ptr<Forum> m_forum;
};

using SearchThreadPtr = std::shared_ptr<SearchThread>;
