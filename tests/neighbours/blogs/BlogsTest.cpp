#include "AppTest.h"
#include "Fixtures.h"

#include "forum/model/NewTopSearch.h"
#include "forum/model/SearchAll.h"
#include "forum/model/Thread.h"
#include "neighbours/blogs/Article.h"
#include "neighbours/blogs/ArticleBuilder.h"
#include "neighbours/blogs/BlogBuilder.h"
#include "neighbours/blogs/BlogEntriesModel.h"
#include "neighbours/blogs/BlogModel.h"
#include "neighbours/blogs/NeighbourBlogs.h"
#include "platform/foundation/Bundle.h"

using namespace Qt::Literals::StringLiterals;

namespace {

class BlogsTest : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        NeighbourBlogs::registerContent();
    }
};

class Delegate : public SearchDelegate, public NewTopSearchDelegate {
public:
    void searchHasResults(Search*) override { ++results; }
    void newTopHasResults(NewTopSearch*) override { ++results; }
    int results = 0;
};

QStringList kinds(const ModelWithPages::Page& page)
{
    QStringList names;
    for (const ModelPtr& model : page) {
        if (std::dynamic_pointer_cast<Thread>(model))
            names.append(u"thread"_s);
        else if (std::dynamic_pointer_cast<BlogModel>(model))
            names.append(u"blog"_s);
        else if (std::dynamic_pointer_cast<Article>(model))
            names.append(u"article"_s);
    }
    return names;
}

QStringList titles(const QList<BlogModelPtr>& entries)
{
    QStringList list;
    for (const BlogModelPtr& entry : entries)
        list.append(entry->title());
    return list;
}

}  // namespace

TEST_F(BlogsTest, BlogAndArticleRowsInSearchesAndFeeds)
{
    const auto search = std::make_shared<SearchAll>(context());
    Delegate delegate;
    search->setDelegate(&delegate);
    search->searchResults(fixtureRequest(u"forum/model/fixtures/search_showresults_all.json"_s));
    const ModelWithPages::Page page = search->pages().value(u"1"_s);
    EXPECT_EQ(kinds(page), (QStringList{u"thread"_s, u"blog"_s, u"article"_s}));

    const auto entry = std::static_pointer_cast<BlogModel>(page.at(1));
    EXPECT_EQ(entry->blogid(), u"3");
    EXPECT_EQ(entry->title(), u"Spring rides &amp; more");  // as the row gives it
    EXPECT_EQ(entry->comments_total(), 2);
    EXPECT_EQ(entry->user()->username(), u"bob");
    EXPECT_EQ(entry->user()->userid(), 2);
    EXPECT_EQ(entry->picurl(), u"images/bob.png");
    EXPECT_EQ(entry->lastpost(), QDateTime::fromSecsSinceEpoch(1700000200, Qt::UTC));

    // The article's own picture wins over its author's.
    const auto article = std::static_pointer_cast<Article>(page.at(2));
    EXPECT_EQ(article->threadid(), 7);
    EXPECT_EQ(article->clean_title(), u"Choosing tyres");
    EXPECT_EQ(article->comment_count(), 1);
    EXPECT_EQ(article->pagetext(), u"[b]Wide[/b] is better");
    EXPECT_EQ(article->user()->username(), u"dave");
    EXPECT_EQ(article->publish(), QDateTime::fromSecsSinceEpoch(1700000300, Qt::UTC));
    EXPECT_EQ(article->picurl(), u"images/tyres.png");

    // The feed: titles with "&amp;" turned back; the article's avatar as its picture.
    const auto feed = Model::create<NewTopSearch>();
    feed->setDelegate(&delegate);
    feed->requestSearch(fixtureRequest(u"forum/model/fixtures/api_getnewtop.json"_s));
    const ModelWithPages::Page rows = feed->pages().value(u"1"_s);
    EXPECT_EQ(kinds(rows), (QStringList{u"thread"_s, u"blog"_s, u"article"_s}));
    EXPECT_EQ(std::static_pointer_cast<BlogModel>(rows.at(1))->title(), u"Spring rides & more");
    EXPECT_EQ(std::static_pointer_cast<BlogModel>(rows.at(1))->user()->username(), u"bob");
    EXPECT_EQ(std::static_pointer_cast<Article>(rows.at(2))->picurl(), u"images/dave.png");
    feed->setSearchOrder(NewTopSearch::TopOrder);
    feed->setSearchType(NewTopSearch::Articles);
    EXPECT_EQ(kinds(feed->pages().value(u"1"_s)), QStringList{u"article"_s});
}

TEST_F(BlogsTest, AvatarValues)
{
    const auto entry = Model::create<BlogModel>();
    entry->setAvatar(Value(u"images/x.png"_s));  // only a dictionary names the picture
    EXPECT_TRUE(entry->picurl().isNull());
    entry->setAvatar(json(R"({"0": "image.php?u=2&amp;type=thumb"})"));
    EXPECT_EQ(entry->picurl(), u"image.php?u=2&type=thumb");

    auto article = Model::create<Article>();
    article->setAvatar(json(R"(["images/a.png", "images/b.png"])"));
    EXPECT_EQ(article->avatarurl(), u"images/a.png");
    EXPECT_TRUE(article->picurl().isNull());
    article->setAvatar(json(R"({"0": "images/c.png"})"));
    EXPECT_EQ(article->avatarurl(), u"images/c.png");
    article->setAvatar(Value(u"images/d.png?x=1&amp;y=2"_s));
    EXPECT_EQ(article->picurl(), u"images/d.png?x=1&y=2");
    article->setPreviewimage(u"images/preview.png"_s);
    article->setAvatar(Value(u"images/e.png"_s));
    EXPECT_EQ(article->picurl(), u"images/preview.png");

    RecordingObserver observer;
    article = Article::initWithArticleId(12);
    EXPECT_EQ(article->threadid(), 12);
    EXPECT_EQ(article->currentPage(), 1);
    EXPECT_FALSE(article->editable());
    article->addObserver(&observer);
    article->fetchDetails();
    EXPECT_EQ(observer.changes, 1);
}

TEST_F(BlogsTest, BuildersDescribeTheirSettingsAndCannotSend)
{
    const auto blog = Model::create<BlogBuilder>();
    EXPECT_EQ(blog->getCsvOfSelectedCategorysTitles(), u"");
    EXPECT_FALSE(blog->getCsvOfSelectedCategorysTitles().isNull());
    blog->setSelectedCategories({{1, u"Travel"_s}, {2, u"Maps"_s}, {3, u"Everyday"_s}});
    EXPECT_EQ(blog->getCsvOfSelectedCategorysTitles(), u"Travel,Maps,Everyday");
    const Bundle& bundle = Bundle::main();
    EXPECT_EQ(blog->getPublishStatus(), u"");
    blog->setPublishState(PublishState::PublishNow);
    EXPECT_EQ(blog->getPublishStatus(), bundle.localizedString(u"publish_now"_s));
    blog->setPublishState(PublishState::PublishOn);
    EXPECT_EQ(blog->getPublishStatus(), bundle.localizedString(u"publish_on"_s));
    blog->setPublishState(PublishState::Draft);
    EXPECT_EQ(blog->getPublishStatus(), bundle.localizedString(u"draft_blog"_s));
    EXPECT_EQ(blog->blogid(), 0);

    const auto article = Model::create<ArticleBuilder>();
    article->setSelectedCategories({u"Guides"_s, u"Photography"_s});
    EXPECT_EQ(article->getCsvOfSelectedCategorysTitles(), u"Guides, Photography");
    article->setPublishState(PublishState::Draft);
    EXPECT_EQ(article->getPublishStatus(), bundle.localizedString(u"draft"_s));
    EXPECT_NE(bundle.localizedString(u"draft"_s), bundle.localizedString(u"draft_blog"_s));

    // No call of the forum's sends them: the builder fails and says why, and nothing goes out.
    forum();
    RecordingObserver observer;
    blog->addObserver(&observer);
    article->addObserver(&observer);
    blog->setTitle(u"A title"_s);
    EXPECT_FALSE(blog->create().isSet());
    EXPECT_EQ(blog->requestStatus(), BuilderStatus::Failed);
    article->setMode(ArticleBuilder::EditMode);
    EXPECT_FALSE(article->editForm().isSet());
    EXPECT_EQ(article->requestStatus(), BuilderStatus::Failed);
    EXPECT_EQ(observer.failures, QStringList(2, bundle.localizedString(u"content_sending_unavailable"_s)));
    EXPECT_EQ(blog->title(), u"A title");
    EXPECT_TRUE(apiLog().isEmpty());
}

TEST_F(BlogsTest, EntryListsAndAnEntryFromTheForum)
{
    openGuestSession();
    forum().clearLog();
    const BlogEntriesModelPtr travel = BlogEntriesModel::getEntriesForTag(u"travel"_s, 1);
    travel->fetchPage(1);  // already asked for
    ASSERT_TRUE(settle());
    EXPECT_EQ(forum().requests(u"blog_list"_s).size(), 1);
    const TestForumRequest asked = lastRequest(u"blog_list"_s);
    EXPECT_EQ(asked.queryFields.value(u"nohtml"_s), u"1");
    EXPECT_EQ(asked.queryFields.value(u"pagenumber"_s), u"1");
    EXPECT_EQ(asked.queryFields.value(u"tag"_s), u"travel");
    // Newest first.
    EXPECT_EQ(titles(travel->entries(1)), (QStringList{u"رحلة إلى الإسكندرية"_s, u"Cycling the coast, day one"_s}));
    EXPECT_EQ(travel->entries(1).last()->user()->username(), u"alice");
    EXPECT_EQ(travel->totalpages(), 1u);

    // One entry comes as itself, not as a list.
    const BlogEntriesModelPtr carols = BlogEntriesModel::getRecentEntriesForUsername(u"carol"_s, 1);
    const BlogEntriesModelPtr maps = BlogEntriesModel::getRecentEntriesForCategoryId(2, 1);
    const BlogEntriesModelPtr none = BlogEntriesModel::getRecentEntriesForCategoryId(2, 1, 1);
    ASSERT_TRUE(settle());
    EXPECT_EQ(titles(carols->entries(1)), QStringList{u"Maps &amp; map-making for beginners"_s});
    EXPECT_EQ(titles(maps->entries(1)), QStringList{u"Maps &amp; map-making for beginners"_s});
    EXPECT_TRUE(none->entries(1).isEmpty());
    EXPECT_TRUE(none->pages().contains(u"1"_s));
    // The three lists travel side by side: find the one asked with a member.
    bool memberListAsked = false;
    for (const TestForumRequest& request : forum().requests(u"blog_list"_s)) {
        if (request.queryFields.value(u"userid"_s) == u"1")
            memberListAsked = request.queryFields.value(u"blogcategoryid"_s) == u"2";
    }
    EXPECT_TRUE(memberListAsked);

    const BlogModelPtr entry = BlogModel::getBlog(u"2"_s);
    RecordingObserver observer;
    entry->addObserver(&observer);
    ASSERT_TRUE(settle());
    EXPECT_EQ(lastRequest(u"blog_blog"_s).queryFields.value(u"blogid"_s), u"2");
    EXPECT_EQ(entry->title(), u"Maps &amp; map-making for beginners");
    EXPECT_TRUE(entry->pagetext().contains(u"[i]details[/i]"_s));
    EXPECT_TRUE(entry->message().contains(u"details"_s));
    EXPECT_EQ(entry->user()->username(), u"carol");
    EXPECT_GE(observer.changes, 1);
}

TEST_F(BlogsTest, FeedsAndSearchesMixThreadsEntriesAndArticles)
{
    openGuestSession();
    const auto feed = Model::create<NewTopSearch>();
    Delegate delegate;
    feed->setDelegate(&delegate);
    feed->fetchPage(1);
    ASSERT_TRUE(settle());
    const QStringList all = kinds(feed->pages().value(u"1"_s));
    // The newest of everything: threads and the entries of the last days.
    EXPECT_TRUE(all.contains(u"thread"_s));
    EXPECT_TRUE(all.contains(u"blog"_s));
    feed->setSearchType(NewTopSearch::BlogEntries);
    EXPECT_EQ(kinds(feed->pages().value(u"1"_s)), QStringList(4, u"blog"_s));
    feed->setSearchType(NewTopSearch::Articles);
    EXPECT_EQ(kinds(feed->pages().value(u"1"_s)), QStringList(3, u"article"_s));

    const auto search = std::make_shared<SearchAll>(context());
    search->setDelegate(&delegate);
    search->setType(63);
    search->search(u"lighthouse"_s);
    ASSERT_TRUE(settle());
    search->fetchPage(1);
    ASSERT_TRUE(settle());
    const QStringList found = kinds(search->pages().value(u"1"_s));
    EXPECT_TRUE(found.contains(u"thread"_s));
    EXPECT_TRUE(found.contains(u"blog"_s));
}
