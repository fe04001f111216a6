#include "AppTest.h"
#include "Fixtures.h"
#include "SearchTestSupport.h"

#include "app/model/Config.h"
#include "forum/model/Forum.h"
#include "forum/model/NewTopSearch.h"
#include "forum/model/Post.h"
#include "forum/model/SearchAll.h"
#include "forum/model/SearchPost.h"
#include "forum/model/SearchThread.h"
#include "forum/model/Thread.h"

using namespace Qt::Literals::StringLiterals;

using SearchModelsTest = AppTest;

namespace {

HTTPRequestPtr fixtureAnswer(const char* name)
{
    return fixtureRequest(u"forum/model/fixtures/"_s + QString::fromLatin1(name));
}

void useContentTypes(bool multiType)
{
    Config& config = Config::getInstance();
    // No blog comment id: that kind is left out.
    config.setContentTypes(json(R"({"Article": 24, "BlogEntry": "22", "Post": 1, "VisitorMessage": 29, "Album": 8})"));
    config.setFeaturesInt(multiType ? 512 : 0);
}

QStringList threadTitles(const ModelWithPages::Page& page)
{
    QStringList titles;
    for (const ModelPtr& model : page)
        titles.append(std::static_pointer_cast<Thread>(model)->threadtitle());
    return titles;
}

}  // namespace

TEST_F(SearchModelsTest, SortAndDateTables)
{
    const QList<std::pair<int, std::pair<QString, QString>>> sorts = {
        {1, {u"views"_s, u"descending"_s}},    {3, {u"user"_s, u"ascending"_s}},
        {4, {u"user"_s, u"descending"_s}},     {5, {u"title"_s, u"ascending"_s}},
        {6, {u"title"_s, u"descending"_s}},    {7, {u"dateline"_s, u"ascending"_s}},
        {8, {u"relevance"_s, u"descending"_s}}, {0, {u"dateline"_s, u"descending"_s}},
        {2, {u"dateline"_s, u"descending"_s}}, {-3, {u"dateline"_s, u"descending"_s}},
        {9, {u"dateline"_s, u"descending"_s}},
    };
    for (const auto& [order, expected] : sorts)
        EXPECT_EQ(SearchAll::sortOf(order), expected) << order;

    const QList<std::pair<int, std::pair<QString, QString>>> limits = {
        {0, {u""_s, u""_s}},          {17, {u""_s, u""_s}},         {-1, {u""_s, u""_s}},
        {1, {u"after"_s, u"lastvisit"_s}}, {2, {u"before"_s, u"lastvisit"_s}}, {3, {u"after"_s, u"1"_s}},
        {6, {u"before"_s, u"7"_s}},   {7, {u"after"_s, u"14"_s}},   {10, {u"before"_s, u"30"_s}},
        {12, {u"before"_s, u"90"_s}}, {13, {u"after"_s, u"180"_s}}, {16, {u"before"_s, u"365"_s}},
    };
    for (const auto& [time, expected] : limits)
        EXPECT_EQ(SearchAll::dateLimitOf(time), expected) << time;
}

TEST_F(SearchModelsTest, GeneralSearchCriteria)
{
    useContentTypes(false);
    const auto search = std::make_shared<SearchAll>(context());
    search->setType(63);
    // Article, blog entry, post, (no blog comment id), visitor message.
    EXPECT_EQ(search->types(), (QStringList{u"24"_s, u"22"_s, u"1"_s, u"29"_s}));
    search->setOrder(12);  // any other sort code: newest first
    search->setTime(12);
    ValueDict params = search->searchParameters(u"gravel"_s);
    EXPECT_EQ(params.value(u"search_type"_s), Value(u"0"_s));
    EXPECT_EQ(params.value(u"sortby"_s), Value(u"dateline"_s));
    EXPECT_EQ(params.value(u"order"_s), Value(u"descending"_s));
    EXPECT_EQ(params.value(u"beforeafter"_s), Value(u"before"_s));
    EXPECT_EQ(params.value(u"searchdate"_s), Value(u"90"_s));
    EXPECT_EQ(params.value(u"query"_s), Value(u"gravel"_s));
    // Without the search across kinds only the last kind goes.
    EXPECT_EQ(params.value(u"contenttypeid"_s), Value(u"29"_s));
    EXPECT_FALSE(params.contains(u"type"_s));

    // The text's key by the filter; no text leaves it out.
    search->setFilterType(SearchAll::FilterMemberName);
    EXPECT_EQ(search->searchParameters(u"bob"_s).value(u"searchuser"_s), Value(u"bob"_s));
    search->setFilterType(5);
    EXPECT_EQ(search->searchParameters(u"maps"_s).value(u"tag"_s), Value(u"maps"_s));
    params = search->searchParameters(QString());
    for (const char16_t* key : {u"query", u"searchuser", u"tag"})
        EXPECT_FALSE(params.contains(QString::fromUtf16(key)));
    EXPECT_EQ(params.value(u"beforeafter"_s), Value(u"before"_s));

    // Across kinds: the whole list as "type".
    useContentTypes(true);
    search->setType(SearchAll::PostBit | SearchAll::ArticleBit | 8);
    params = search->searchParameters(u"x"_s);
    EXPECT_EQ(params.value(u"type"_s), json(R"(["24", "1"])"));
    EXPECT_FALSE(params.contains(u"contenttypeid"_s));

    // No kind chosen: no kind is sent either way.
    search->setType(0);
    EXPECT_FALSE(search->searchParameters(u"x"_s).contains(u"type"_s));
    useContentTypes(false);
    EXPECT_FALSE(search->searchParameters(u"x"_s).contains(u"contenttypeid"_s));
}

TEST_F(SearchModelsTest, ForumAndThreadSearchCriteria)
{
    const auto forum = Model::createWithDictionary<Forum>(json(R"({"forumid": 3})"));
    const auto inForum = Model::create<SearchThread>();
    inForum->setForum(forum);
    const ValueDict forumParams = inForum->searchParameters(u"route"_s);
    EXPECT_EQ(forumParams.value(u"query"_s), Value(u"route"_s));
    EXPECT_EQ(forumParams.value(u"search_type"_s), Value(u"1"_s));
    EXPECT_EQ(forumParams.value(u"showposts"_s), Value(u"0"_s));
    EXPECT_EQ(forumParams.value(u"contenttypeid"_s), Value(u"1"_s));
    EXPECT_EQ(forumParams.value(u"forumchoice[]"_s), Value(u"3"_s));

    const auto thread = Thread::initWithThreadid(1101);
    const auto inThread = Model::create<SearchPost>();
    inThread->setThread(thread);
    const ValueDict threadParams = inThread->searchParameters(u"tip"_s);
    EXPECT_EQ(threadParams.value(u"showposts"_s), Value(u"1"_s));
    EXPECT_EQ(threadParams.value(u"searchthreadid"_s), Value(u"1101"_s));
    EXPECT_EQ(threadParams.value(u"contenttypeid"_s), Value(u"1"_s));
}

TEST_F(SearchModelsTest, ErrorCodesOfAnswers)
{
    const auto search = std::make_shared<SearchAll>(context());
    const auto message = [&](const char* answer) -> std::optional<QString> {
        const std::optional<Error> failure = search->errorMessageForResponse(*answeredRequest(answer));
        return failure ? std::optional<QString>(failure->domain()) : std::nullopt;
    };
    EXPECT_FALSE(message(R"({"response": {"errormessage": "search"}})"));
    EXPECT_EQ(message(R"({"response": {"errormessage": ["invalidid"]}})"), tableText(u"searchnoresults"_s));
    // The screens tell "nothing found" by the code, never by its words.
    const std::optional<Error> nothing =
        search->errorMessageForResponse(*answeredRequest(R"({"response": {"errormessage": ["invalidid"]}})"));
    ASSERT_TRUE(nothing);
    EXPECT_TRUE(nothing->isCode(u"searchnoresults"_s));
    EXPECT_EQ(nothing->kind(), Error::Kind::Refused);
    EXPECT_EQ(message(R"({"response": {"errorlist": ["words_very_common", "x"]}})"), tableText(u"words_very_common"_s));
    EXPECT_EQ(message(R"({"postpreview": {"errorlist": {"errormessage": "searchdisabled"}}})"),
              tableText(u"searchdisabled"_s));
    // A code the table does not know, or none at all, reads as success.
    EXPECT_FALSE(message(R"({"response": {"errormessage": "redirect_search_done"}})"));
    EXPECT_FALSE(message(R"({"response": {"errorlist": 3}})"));
    EXPECT_FALSE(message(R"({"response": {"errormessage": {"code": "invalidid"}}})"));
    search->setSilentMode(true);
    EXPECT_FALSE(message(R"({"response": {"errormessage": "invalidid"}})"));
}

TEST_F(SearchModelsTest, SearchIdThenPagesOfRows)
{
    const auto search = Model::create<SearchThread>();
    RecordingSearchDelegate delegate;
    RecordingObserver observer;
    search->setDelegate(&delegate);
    search->addObserver(&observer);

    // A number is kept as its text.
    search->requestSearch(fixtureAnswer("search_process.json"));
    EXPECT_EQ(search->searchid(), u"42");
    EXPECT_EQ(delegate.results, 1);

    // Rows on the page the answer names; rows that are no dictionaries skipped.
    search->searchResults(fixtureAnswer("search_showresults_threads.json"));
    EXPECT_EQ(search->pages().keys(), QStringList{u"2"_s});
    const ModelWithPages::Page page = search->pages().value(u"2"_s);
    EXPECT_EQ(threadTitles(page), (QStringList{u"Route planning &amp; maps"_s, u"Second"_s}));
    const auto first = std::static_pointer_cast<Thread>(page.first());
    EXPECT_TRUE(first->isClosed());
    EXPECT_EQ(first->user()->username(), u"alice");
    EXPECT_EQ(search->totalpages(), 3u);
    EXPECT_EQ(observer.changes, 1);

    // Rows that are no list: an empty page, and the observers still hear of it.
    search->searchResults(answeredRequest(R"({"response": {"pagenav": {"pagenumber": 3}, "searchbits": "none"}})"));
    EXPECT_TRUE(search->pages().value(u"3"_s).isEmpty());
    EXPECT_TRUE(search->pages().contains(u"3"_s));
    EXPECT_EQ(observer.changes, 2);

    // A failure of the forum's: the delegate hears it, nothing is stored.
    search->searchResults(answeredRequest(R"({"response": {"errormessage": "invalidid"}})"));
    EXPECT_EQ(delegate.failures, QStringList{tableText(u"searchnoresults"_s)});
    // No answer: the delegate hears of no connection once, and nothing more is read.
    search->searchResults(answeredRequest(R"({"response": {"searchbits": [{"threadid": 1}]}})",
                                          RequestOutcome::Kind::NoAnswer, 0));
    EXPECT_EQ(delegate.failures.last(), tableText(u"nointernet"_s));
    EXPECT_EQ(delegate.failures.size(), 2);
    EXPECT_EQ(observer.changes, 2);

    // A search id that is neither number nor text ends the search silently.
    search->requestSearch(answeredRequest(R"({"show": {"searchid": [1]}})"));
    EXPECT_EQ(search->searchid(), u"42");
    EXPECT_EQ(delegate.results, 1);

    // Without a delegate a page answer is dropped.
    search->setDelegate(nullptr);
    search->searchResults(fixtureAnswer("search_showresults_threads.json"));
    EXPECT_EQ(observer.changes, 2);

    // Forgetting the pages keeps the id.
    search->forgetSearchResult();
    EXPECT_TRUE(search->pages().isEmpty());
    EXPECT_EQ(search->searchid(), u"42");
}

TEST_F(SearchModelsTest, PostRowsBelongToTheSearchedThread)
{
    const auto thread = Thread::initWithThreadid(1101);
    const auto search = Model::create<SearchPost>();
    RecordingSearchDelegate delegate;
    search->setDelegate(&delegate);
    search->setThread(thread);
    search->searchResults(fixtureAnswer("search_showresults_posts.json"));

    const ModelWithPages::Page page = search->pages().value(u"1"_s);
    ASSERT_EQ(page.size(), 2);
    const auto tip = std::static_pointer_cast<Post>(page.at(0));
    EXPECT_EQ(tip->postid(), 5003);
    EXPECT_EQ(tip->thread(), thread);
    EXPECT_EQ(tip->user()->username(), u"kenji");
    EXPECT_EQ(tip->picurl(), u"images/kenji.png");
    EXPECT_EQ(tip->message_bbcode(), u"[b]Bold[/b] tip");
    const auto deleted = std::static_pointer_cast<Post>(page.at(1));
    EXPECT_TRUE(deleted->isDeleted());
    EXPECT_TRUE(deleted->picurl().isEmpty());
}

TEST_F(SearchModelsTest, GeneralRowsAndSubscribedThreads)
{
    const auto search = std::make_shared<SearchAll>(context());
    RecordingSearchDelegate delegate;
    search->setDelegate(&delegate);

    // Without the blogs library only the thread row is made; the post and list rows are skipped.
    search->searchResults(fixtureAnswer("search_showresults_all.json"));
    const ModelWithPages::Page page = search->pages().value(u"1"_s);
    ASSERT_EQ(page.size(), 1);
    const auto thread = std::static_pointer_cast<Thread>(page.first());
    EXPECT_EQ(thread->threadid(), 1101);
    EXPECT_EQ(thread->picurl(), u"images/alice.png");

    // The subscribed threads: rows, then the delegate.
    search->setOrder(SearchAll::SubscribedOrder);
    search->subscribedResults(fixtureAnswer("subscription_viewsubscription.json"));
    EXPECT_EQ(threadTitles(search->pages().value(u"1"_s)), (QStringList{u"Route planning"_s, u"Tips and tricks"_s}));
    EXPECT_EQ(delegate.results, 1);
    // A null list says nothing; a refusal the table knows reaches the delegate.
    search->subscribedResults(answeredRequest(R"({"response": {"HTML": null}})"));
    EXPECT_EQ(delegate.results, 1);
    EXPECT_TRUE(delegate.failures.isEmpty());
    search->subscribedResults(answeredRequest(R"({"response": {"errormessage": "nopermission_loggedout"}})"));
    EXPECT_EQ(delegate.failures, QStringList{tableText(u"nopermission_loggedout"_s)});
}

TEST_F(SearchModelsTest, NewAndTopFeedSwitchesWithoutAskingAgain)
{
    const auto feed = Model::create<NewTopSearch>();
    RecordingNewTopDelegate delegate;
    feed->setDelegate(&delegate);

    // Before any answer the page is an empty list and the delegate is told.
    feed->updateCellData();
    EXPECT_TRUE(feed->pages().contains(u"1"_s));
    EXPECT_TRUE(feed->pages().value(u"1"_s).isEmpty());
    EXPECT_EQ(delegate.results, 1);

    feed->requestSearch(fixtureAnswer("api_getnewtop.json"));
    EXPECT_EQ(delegate.results, 2);
    // Only the thread row without the blogs library; the title's "&amp;" turned back.
    ModelWithPages::Page page = feed->pages().value(u"1"_s);
    ASSERT_EQ(page.size(), 1);
    const auto thread = std::static_pointer_cast<Thread>(page.first());
    EXPECT_EQ(thread->threadtitle(), u"Route planning & maps");
    EXPECT_EQ(thread->user()->username(), u"alice");
    EXPECT_EQ(thread->picurl(), u"images/alice.png");

    // A single row counts as a list of one; null and a text as none.
    feed->setSearchType(NewTopSearch::Threads);
    EXPECT_EQ(feed->pages().value(u"1"_s).size(), 1);
    feed->setSearchType(NewTopSearch::BlogEntries);
    EXPECT_TRUE(feed->pages().value(u"1"_s).isEmpty());
    feed->setSearchType(NewTopSearch::Articles);
    EXPECT_TRUE(feed->pages().value(u"1"_s).isEmpty());
    feed->setSearchOrder(NewTopSearch::TopOrder);
    feed->setSearchType(NewTopSearch::Threads);
    EXPECT_EQ(threadTitles(feed->pages().value(u"1"_s)), QStringList{u"Tips"_s});
    feed->setSearchType(7);
    EXPECT_TRUE(feed->pages().value(u"1"_s).isEmpty());
    EXPECT_EQ(delegate.results, 8);
    EXPECT_FALSE(feed->hasRequests());

    // No answer: the delegate hears once, and no alert is shown besides.
    feed->requestSearch(answeredRequest("{}", RequestOutcome::Kind::NoAnswer, 0));
    EXPECT_EQ(delegate.failures, QStringList{tableText(u"nointernet"_s)});
    EXPECT_TRUE(AlertView::visibleAlerts().isEmpty());

    // A delegate that takes no failures: one alert, and it still hears the feed has ended.
    RecordingNewTopDelegate plain(false);
    feed->setDelegate(&plain);
    feed->requestSearch(answeredRequest("{}", RequestOutcome::Kind::NoAnswer, 0));
    EXPECT_EQ(visibleAlerts(tableText(u"nointernet"_s)).size(), 1);
    EXPECT_EQ(plain.results, 1);
}
