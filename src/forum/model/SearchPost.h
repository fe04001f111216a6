#pragma once

#include "forum/model/Search.h"

#include <memory>

class Thread;

// A search for posts in one thread.
class SearchPost : public Search {
public:
    // Not owned.
    std::shared_ptr<Thread> thread() const { return m_thread.lock(); }
    void setThread(const std::shared_ptr<Thread>& thread) { m_thread = thread; }

    ValueDict searchParameters(const QString& text) const override;
    // Each dictionary row is a post ("post") of the searched thread, with
    // its kind ("postbit_type") and its author's picture ("avatar").
    void setResponse(const Value& rows) override;

private:
    std::weak_ptr<Thread> m_thread;
};

using SearchPostPtr = std::shared_ptr<SearchPost>;
