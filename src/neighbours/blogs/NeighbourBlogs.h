#pragma once

// What the blogs and articles library lends the forum: the models of the
// "blog" and "article" rows of the feeds and searches. main (and the tests)
// call this once; calling it again changes nothing.
namespace NeighbourBlogs {
void registerContent();
}  // namespace NeighbourBlogs
