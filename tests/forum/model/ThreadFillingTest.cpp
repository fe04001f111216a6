// A thread's row keys and its pages of posts.
#include "ForumModelTest.h"

#include "forum/model/Forum.h"
#include "forum/model/Post.h"
#include "forum/model/Thread.h"

#include <QTimeZone>

using ThreadFilling = ForumModelTest;

namespace {

ThreadPtr threadFrom(const char* json)
{
    return Model::createWithDictionary<Thread>(::json(json));
}

}  // namespace

TEST_F(ThreadFilling, StatusBitsFollowTheAnswerKeys)
{
    struct Case {
        const char* element;
        qint32 flags;
    };
    const Case cases[] = {
        // No "show", no approval; a "show" without "moderated": approved.
        {R"({"threadid":1})", 0},
        {R"({"show":{}})", Thread::Approved},
        {R"({"show":{"moderated":true}})", 0},
        {R"({"show":{"moderated":false},"status":{"hot":"hot","new":1,"dot":"","lock":"lock"}})",
         Thread::Hot | Thread::New | Thread::Dot | Thread::Closed | Thread::Approved},
        {R"({"show":{"moderated":1},"sticky":"2"})", Thread::Sticky},
        {R"({"show":{"moderated":1},"sticky":0,"status":[]})", 0},
        {R"({"show":{"moderated":1},"del_userid":null})", Thread::Deleted},
    };
    for (const Case& c : cases)
        EXPECT_EQ(threadFrom(c.element)->status_flags(), c.flags) << c.element;

    // Flags are only set by the keys; markAsRead clears "new" alone.
    const ThreadPtr thread = threadFrom(R"({"status":{"new":"new","lock":"lock"}})");
    thread->setDictionary(json(R"({"status":{}})"));
    EXPECT_TRUE(thread->isNew());
    thread->markAsRead();
    EXPECT_FALSE(thread->isNew());
    EXPECT_TRUE(thread->isClosed());
    thread->setClosed(false);
    thread->setStickyFlag(true);
    thread->setApproved(false);
    EXPECT_EQ(thread->status_flags(), Thread::Sticky);
}

TEST_F(ThreadFilling, RowKeysAndTheirSecondNames)
{
    const ThreadPtr thread = threadFrom(R"({"thread":{"threadid":"77","title":"A &amp; B","postusername":"kenji",
        "postuserid":"9","replycount":12,"views":"300","rating":4,"realthreadid":78,"preview":"p",
        "prefix_rich":"<b>Q</b>","show":{"deletedthread":1}},
        "lastposttime":0,"lastpostdate":"01-01-1970, 12:00 AM"})");
    EXPECT_EQ(thread->threadid(), 77);
    EXPECT_EQ(thread->threadtitle(), u"A &amp; B");
    EXPECT_EQ(thread->user()->username(), u"kenji");
    EXPECT_EQ(thread->user()->userid(), 9);
    EXPECT_EQ(thread->replies(), 12);
    EXPECT_EQ(thread->views(), 300);
    EXPECT_EQ(thread->rating(), 4);
    EXPECT_EQ(thread->realthreadid(), 78);
    EXPECT_EQ(thread->preview(), u"p");
    EXPECT_EQ(thread->prefix_rich(), u"<b>Q</b>");
    EXPECT_TRUE(thread->deleted());
    EXPECT_FALSE(thread->isDeleted());
    EXPECT_EQ(thread->lastdate(), QDateTime::fromSecsSinceEpoch(0, QTimeZone::utc()));
    EXPECT_TRUE(thread->lastposttime().isNull());

    // A last-post date that comes after the time is kept raw and not used.
    const ThreadPtr later = threadFrom(R"({"lastposttime":"1700000000","lastpostdate":"yesterday"})");
    EXPECT_EQ(later->lastdate().toSecsSinceEpoch(), 1700000000);
    EXPECT_EQ(later->lastpostdate(), u"yesterday");
}

TEST_F(ThreadFilling, AvatarComesInThreeShapes)
{
    struct Case {
        const char* element;
        const char16_t* picurl;
    };
    const Case cases[] = {
        {R"({"avatar":{"0":"a.png?x=1&amp;y=2","1":"b.png"}})", u"a.png?x=1&y=2"},
        {R"({"avatar":["first.png","second.png"]})", u"first.png"},
        {R"({"avatar":["only.png"]})", u"only.png"},
        {R"({"avatar":"plain.png"})", u"plain.png"},
        {R"({"avatar":[]})", nullptr},
        {R"({"avatar":{"1":"b.png"}})", nullptr},
    };
    for (const Case& c : cases) {
        const QString expected = c.picurl ? QString::fromUtf16(c.picurl) : QString();
        EXPECT_EQ(threadFrom(c.element)->picurl(), expected) << c.element;
    }
}

TEST_F(ThreadFilling, PageOfPostsWithTheirThreadAndTheModeratorsRight)
{
    const auto forum = Model::create<Forum>();
    const auto thread = Thread::initWithThreadid(1101);
    thread->setForum(forum);
    RecordingObserver observer;
    thread->addObserver(&observer);

    thread->postResult(answeredFixture("showthread_page"));

    EXPECT_TRUE(observer.failures.isEmpty());
    // The answer's nested "thread" part sets the same thread: one change is
    // told, when all of the answer is in (a table reloads once a page).
    EXPECT_EQ(observer.changes, 1);
    EXPECT_TRUE(forum->canModerate());
    EXPECT_EQ(thread->threadtitle(), u"The big tips &amp; tricks thread");
    EXPECT_EQ(thread->replies(), 49);
    EXPECT_EQ(thread->pagenumber(), 2u);
    EXPECT_EQ(thread->totalpages(), 5u);
    // The element without a "post" is skipped.
    const QList<PostPtr> posts = thread->postsOnPage(2);
    ASSERT_EQ(posts.size(), 4);
    for (const PostPtr& post : posts)
        EXPECT_EQ(post->thread(), thread);
    EXPECT_EQ(posts[0]->status_flags(), Post::Deleted | Post::Approved);
    EXPECT_EQ(posts[0]->del_username(), u"moderator");
    EXPECT_EQ(posts[1]->status_flags(), Post::Approved);
    EXPECT_EQ(posts[2]->status_flags(), Post::UserIgnore);
    EXPECT_EQ(posts[3]->status_flags(), Post::IgnoreGlobal);
    EXPECT_EQ(posts[3]->message(), u"cheap stuff");
    thread->removeObserver(&observer);
}

TEST_F(ThreadFilling, PageWhosePostsCannotBeReadStaysStoredAndEmpty)
{
    const auto thread = Thread::initWithThreadid(1101);
    thread->postResult(answeredFixture("showthread_null_postbits"));
    EXPECT_TRUE(thread->pages().contains(QStringLiteral("3")));
    EXPECT_TRUE(thread->postsOnPage(3).isEmpty());
}

TEST_F(ThreadFilling, ARefusalIsToldWhenItBringsNoPageOrAPermissionIsMissing)
{
    const auto thread = Thread::initWithThreadid(1101);
    RecordingObserver observer;
    thread->addObserver(&observer);

    // A refusal without a page would leave the reader with nothing and no word.
    thread->postResult(answered(json(R"({"response":{"errormessage":"invalidid"}})")));
    EXPECT_EQ(observer.failures, QStringList{tableText(QStringLiteral("invalidid"))});
    EXPECT_EQ(observer.changes, 1);
    // A code the table does not know is no refusal: the forum's password prompt is another screen's.
    thread->postResult(answered(json(R"({"response":{"errormessage":["forumpasswordmissing"]}})")));
    EXPECT_EQ(observer.failures.size(), 1);
    // A refusal that brings its page fills it and says nothing, unless a permission is missing.
    thread->postResult(answered(json(R"({"response":{"errormessage":"invalidid","pagenumber":2,"postbits":null}})")));
    EXPECT_EQ(observer.failures.size(), 1);
    EXPECT_TRUE(thread->pages().contains(QStringLiteral("2")));

    thread->postResult(answeredFixture("showthread_refused"));
    EXPECT_EQ(observer.failures.last(), tableText(QStringLiteral("nopermission_loggedout")));
    EXPECT_EQ(observer.failures.size(), 2);

    // No answer at all reads as no connection, once; the pages stay.
    thread->pages().insert(QStringLiteral("1"), {});
    thread->postResult(answered(Value(), RequestOutcome::Kind::NoAnswer));
    EXPECT_EQ(observer.failures.last(), tableText(QStringLiteral("nointernet")));
    EXPECT_EQ(observer.failures.size(), 3);
    EXPECT_TRUE(thread->pages().contains(QStringLiteral("1")));
    thread->removeObserver(&observer);
}

TEST_F(ThreadFilling, TemporaryForumBelongsToTheFetchThatMadeIt)
{
    openGuestSession();
    const auto general = Model::create<Forum>();
    general->setForumid(3);
    const ThreadPtr withForum = Thread::initWithThreadid(303);
    withForum->setForum(general);
    const ThreadPtr bare = Thread::initWithThreadid(302);

    withForum->fetchPage(1);
    bare->fetchPage(1);
    const ForumPtr temporary = bare->forum();
    ASSERT_TRUE(temporary);
    EXPECT_EQ(temporary->forumid(), 0);
    // A second fetch of the bare thread uses the forum it has now.
    bare->fetchSpecialPage();
    ASSERT_TRUE(settle());
    EXPECT_EQ(withForum->forum(), general);
    EXPECT_FALSE(bare->forum());
    EXPECT_FALSE(bare->postsOnPage(1).isEmpty());

    // A page load cancelled lets its temporary forum go; the thread's other
    // calls go on.
    const ThreadPtr other = Thread::initWithThreadid(307);
    other->loadPage(2);
    ASSERT_TRUE(other->forum());
    EXPECT_TRUE(other->isLoadingPages());
    other->cancelPageLoads();
    EXPECT_FALSE(other->forum());
    EXPECT_FALSE(other->hasRequests());
    ASSERT_TRUE(settle());
    EXPECT_TRUE(other->pages().isEmpty()) << "the cancelled answer fills nothing";

    // A forum set from outside while the fetch runs is kept.
    bare->fetchPage(1);
    bare->setForum(general);
    ASSERT_TRUE(settle());
    EXPECT_EQ(bare->forum(), general);
}
