#pragma once

#include "forum/cells/PostTextView.h"

#include "forum/model/Post.h"

#include <QHash>

#include <functional>
#include <memory>

// Row heights of posts, measured once per post object: a table asks for
// every height at each reload, and measuring the text again each time would
// cost more than everything else the reload does. An entry whose post has
// gone is never served (a new post at the same address is measured anew).
class PostHeightCache {
public:
    qreal heightFor(const PostPtr& post, const std::function<qreal(const Post&)>& measure);
    void clear() { m_entries.clear(); }
    int size() const { return int(m_entries.size()); }
    // Measurements made since the cache was made.
    qint64 measureCount() const { return m_measured; }

private:
    struct Entry {
        std::weak_ptr<Post> post;
        qreal height = 0;
    };
    void dropGone();

    QHash<const Post*, Entry> m_entries;
    qint64 m_measured = 0;
    // The rows' text lay-outs, measured here, are kept for their views.
    PostTextView::Holder m_keepLayouts;
};
