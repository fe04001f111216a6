#include "neighbours/blogs/NeighbourBlogs.h"

#include "forum/model/ContentRows.h"
#include "neighbours/blogs/Article.h"
#include "neighbours/blogs/BlogModel.h"

void NeighbourBlogs::registerContent()
{
    using Source = ContentRows::Source;
    ContentRows::registerMaker(QStringLiteral("blog"), Source::SearchRow,
                               [](const Value& row) -> ModelPtr { return BlogModel::fromListRow(row); });
    ContentRows::registerMaker(QStringLiteral("blog"), Source::FeedRow,
                               [](const Value& row) -> ModelPtr { return BlogModel::fromFeedRow(row); });
    ContentRows::registerMaker(QStringLiteral("article"), Source::SearchRow,
                               [](const Value& row) -> ModelPtr { return Article::fromSearchRow(row); });
    ContentRows::registerMaker(QStringLiteral("article"), Source::FeedRow,
                               [](const Value& row) -> ModelPtr { return Article::fromFeedRow(row); });
}
