#include "AppTest.h"
#include "Answers.h"
#include "SearchTestSupport.h"

#include "app/model/Config.h"
#include "forum/model/Forum.h"
#include "forum/model/NewTopSearch.h"
#include "forum/model/Post.h"
#include "forum/model/SearchAll.h"
#include "forum/model/SearchPost.h"
#include "forum/model/SearchThread.h"
#include "forum/model/Thread.h"

#include <QSet>

using namespace Qt::Literals::StringLiterals;

using SearchEndToEnd = AppTest;

namespace {

QList<qint32> threadIds(const ModelWithPages::Page& page)
{
    QList<qint32> ids;
    for (const ModelPtr& model : page) {
        if (const auto thread = std::dynamic_pointer_cast<Thread>(model))
            ids.append(thread->threadid());
    }
    return ids;
}

}  // namespace

TEST_F(SearchEndToEnd, SearchByWordsAndPageThroughTheResults)
{
    openGuestSession();
    // The forum searches across kinds; only posts (threads) are asked for.
    ASSERT_TRUE(Config::getInstance().isFeatureEnabled(512));
    const auto search = std::make_shared<SearchAll>(context());
    RecordingSearchDelegate delegate;
    search->setDelegate(&delegate);
    search->setType(SearchAll::PostBit);
    search->setOrder(5);  // title, ascending
    search->search(u"daily chat"_s);
    ASSERT_TRUE(waitFor([&] { return delegate.results == 1; }));
    ASSERT_FALSE(search->searchid().isEmpty());

    const TestForumRequest process = lastRequest(u"search_process"_s);
    EXPECT_EQ(process.httpMethod, u"POST");
    EXPECT_TRUE(process.signatureValid);
    EXPECT_EQ(process.field(u"query"_s), u"daily chat");
    EXPECT_EQ(process.field(u"search_type"_s), u"0");
    EXPECT_EQ(process.field(u"sortby"_s), u"title");
    EXPECT_EQ(process.field(u"order"_s), u"ascending");
    EXPECT_EQ(process.fieldValues(u"type[]"_s), QStringList{u"1"_s});
    EXPECT_FALSE(process.fields.contains(u"contenttypeid"_s));

    // Page after page until the last; the pages together hold sixty distinct threads.
    QSet<qint32> seen;
    int page = 1;
    do {
        search->fetchPage(page);
        search->fetchPage(page);  // a second ask while the first runs is dropped
        ASSERT_TRUE(waitFor([&] { return !search->isWaitingForPage(); }));
        for (qint32 id : threadIds(search->pages().value(QString::number(page))))
            seen.insert(id);
        ++page;
    } while (page <= static_cast<int>(search->totalpages()));
    ASSERT_TRUE(settle());
    EXPECT_EQ(search->totalpages(), 6u);
    EXPECT_EQ(forum().requests(u"search_showresults"_s).size(), 6);
    EXPECT_EQ(seen.size(), 60);
    EXPECT_TRUE(delegate.failures.isEmpty());

    // The search id travels in the signed address, the page in the body.
    const TestForumRequest shown = lastRequest(u"search_showresults"_s);
    EXPECT_EQ(shown.queryFields.value(u"searchid"_s), search->searchid());
    EXPECT_EQ(shown.formPairs, (QList<QPair<QString, QString>>{{u"pagenumber"_s, u"6"_s}}));
    // Sorted by title, ascending: "Daily chat #1" comes first.
    const ModelWithPages::Page first = search->pages().value(u"1"_s);
    ASSERT_FALSE(first.isEmpty());
    EXPECT_EQ(std::static_pointer_cast<Thread>(first.first())->threadtitle(), u"Daily chat #1");
}

TEST_F(SearchEndToEnd, ANewSearchReplacesOneStillRunning)
{
    openGuestSession();
    const auto search = std::make_shared<SearchAll>(context());
    RecordingSearchDelegate delegate;
    search->setDelegate(&delegate);
    search->setType(SearchAll::PostBit);
    // The first search's answer would arrive last.
    forum().delayMethod(u"search_process"_s, 300, 1);
    search->search(u"harbour"_s);
    search->search(u"lighthouse"_s);
    ASSERT_TRUE(waitFor([&] { return delegate.results == 1; }));
    // Long enough for the first answer to have come, were it still awaited.
    waitFor([] { return false; }, std::chrono::milliseconds(600));
    ASSERT_TRUE(settle());
    // Only the second search's id is kept.
    EXPECT_EQ(delegate.results, 1);
    search->fetchPage(1);
    ASSERT_TRUE(settle());
    EXPECT_TRUE(threadIds(search->pages().value(u"1"_s)).contains(302));
    EXPECT_EQ(lastRequest(u"search_showresults"_s).queryFields.value(u"searchid"_s), search->searchid());

    // A search without text starts over: pages and requests are dropped.
    const QString earlier = search->searchid();
    search->fetchPage(2);  // goes out
    search->search();
    EXPECT_TRUE(search->pages().isEmpty());
    EXPECT_FALSE(search->isWaitingForPage());
    ASSERT_TRUE(settle());
    EXPECT_EQ(delegate.results, 2);
    EXPECT_NE(search->searchid(), earlier);
    EXPECT_TRUE(search->pages().isEmpty());
    EXPECT_TRUE(delegate.failures.isEmpty());

    // A search for other words while a page of this one is on its way: that
    // page never shows among the new search's rows.
    forum().delayMethod(u"search_showresults"_s, 300, 1);
    search->fetchPage(1);
    ASSERT_TRUE(search->isWaitingForPage());
    search->search(u"harbour"_s);
    EXPECT_FALSE(search->isWaitingForPage());
    ASSERT_TRUE(waitFor([&] { return delegate.results == 3; }));
    waitFor([] { return false; }, std::chrono::milliseconds(600));
    ASSERT_TRUE(settle());
    EXPECT_TRUE(search->pages().isEmpty());
    search->fetchPage(1);
    ASSERT_TRUE(settle());
    EXPECT_EQ(lastRequest(u"search_showresults"_s).queryFields.value(u"searchid"_s), search->searchid());
    EXPECT_TRUE(delegate.failures.isEmpty());
}

TEST_F(SearchEndToEnd, SearchInOneForumAndInOneThread)
{
    openGuestSession();
    const auto tree = Model::createWithDictionary<Forum>(json(R"({"forumid": 4})"));
    const auto inForum = Model::create<SearchThread>();
    RecordingSearchDelegate delegate;
    inForum->setDelegate(&delegate);
    inForum->setForum(tree);
    inForum->search(u"tyres"_s);
    ASSERT_TRUE(settle());
    // Nothing about tyres in Off-topic.
    EXPECT_EQ(delegate.failures, QStringList{tableText(u"searchnoresults"_s)});
    EXPECT_EQ(lastRequest(u"search_process"_s).fieldValues(u"forumchoice[]"_s), QStringList{u"4"_s});

    const auto thread = Thread::initWithThreadid(1101);
    const auto inThread = Model::create<SearchPost>();
    inThread->setDelegate(&delegate);
    inThread->setThread(thread);
    inThread->search(u"subscribe"_s);
    ASSERT_TRUE(waitFor([&] { return delegate.results == 1; }));
    inThread->fetchPage(1);
    ASSERT_TRUE(settle());
    const ModelWithPages::Page page = inThread->pages().value(u"1"_s);
    ASSERT_FALSE(page.isEmpty());
    for (const ModelPtr& model : page) {
        const auto post = std::static_pointer_cast<Post>(model);
        EXPECT_EQ(post->thread(), thread);
        EXPECT_GE(post->postid(), 5000);
        EXPECT_LT(post->postid(), 5050);
        EXPECT_TRUE(post->message_bbcode().contains(u"subscribe"_s, Qt::CaseInsensitive));
    }
}

TEST_F(SearchEndToEnd, SubscribedThreadsAndTheNewAndTopFeed)
{
    signIn(u"alice"_s, u"secret1"_s);
    const auto subscribed = std::make_shared<SearchAll>(context());
    RecordingSearchDelegate delegate;
    subscribed->setDelegate(&delegate);
    subscribed->setOrder(SearchAll::SubscribedOrder);
    subscribed->fetchPage(1);
    ASSERT_TRUE(settle());
    EXPECT_EQ(delegate.results, 1);
    QList<qint32> ids = threadIds(subscribed->pages().value(u"1"_s));
    std::sort(ids.begin(), ids.end());
    EXPECT_EQ(ids, (QList<qint32>{302, 1101}));
    const TestForumRequest asked = lastRequest(u"subscription_viewsubscription"_s);
    EXPECT_EQ(asked.field(u"perpage"_s), u"20");
    EXPECT_EQ(asked.field(u"sortfield"_s), u"lastpost");
    EXPECT_EQ(asked.field(u"sortorder"_s), u"desc");
    EXPECT_EQ(asked.field(u"folderid"_s), u"all");

    const auto feed = Model::create<NewTopSearch>();
    RecordingNewTopDelegate feedDelegate;
    feed->setDelegate(&feedDelegate);
    feed->fetchPage(3);
    ASSERT_TRUE(settle());
    EXPECT_EQ(lastRequest(u"api_getnewtop"_s).httpMethod, u"GET");
    EXPECT_EQ(feedDelegate.results, 1);
    feed->setSearchType(NewTopSearch::Threads);
    const ModelWithPages::Page newest = feed->pages().value(u"1"_s);
    ASSERT_FALSE(newest.isEmpty());
    feed->setSearchOrder(NewTopSearch::TopOrder);
    const ModelWithPages::Page top = feed->pages().value(u"1"_s);
    ASSERT_FALSE(top.isEmpty());
    EXPECT_NE(threadIds(top), threadIds(newest));
    EXPECT_EQ(forum().requests(u"api_getnewtop"_s).size(), 1);

    // A feed that fails reaches its delegate once, so that its busy sign stops.
    forum().answerHttpStatus(u"api_getnewtop"_s, 500);
    feed->fetchPage(1);
    ASSERT_TRUE(settle());
    EXPECT_EQ(feedDelegate.failures, QStringList{tableText(u"unexpected_server_response"_s)});
    EXPECT_TRUE(AlertView::visibleAlerts().isEmpty());
}
