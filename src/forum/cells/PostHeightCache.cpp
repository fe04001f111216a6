#include "forum/cells/PostHeightCache.h"

qreal PostHeightCache::heightFor(const PostPtr& post, const std::function<qreal(const Post&)>& measure)
{
    if (!post)
        return 0;
    const auto found = m_entries.constFind(post.get());
    if (found != m_entries.constEnd() && found->post.lock() == post)
        return found->height;
    if (m_entries.size() > 256)
        dropGone();
    const qreal height = measure(*post);
    ++m_measured;
    m_entries.insert(post.get(), Entry{post, height});
    return height;
}

void PostHeightCache::dropGone()
{
    for (auto it = m_entries.begin(); it != m_entries.end();) {
        if (it->post.expired())
            it = m_entries.erase(it);
        else
            ++it;
    }
}
