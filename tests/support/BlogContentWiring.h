#pragma once

#include "forum/cells/HomeContent.h"
#include "neighbours/blogs/Article.h"
#include "neighbours/blogs/BlogModel.h"
#include "neighbours/blogs/NeighbourBlogs.h"

// Blog entries and articles among the forum's rows, wired as main wires
// them: the forum's screens know them only through what this registers.
inline void wireBlogContent()
{
    NeighbourBlogs::registerContent();
    HomeContent::registerBlogsAndArticles<BlogModel, Article>();
}
