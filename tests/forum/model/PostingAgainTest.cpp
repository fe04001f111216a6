// A post, a new thread or an edit whose answer was lost on the way back
// (the line closed, the answer cut, badly signed, or the wait ran out while
// the forum was slow) may be on the forum all the same: the next press looks
// there first and sends nothing twice. What never reached the forum goes on
// the next press, once.
#include "AppTest.h"
#include "BuilderTestSupport.h"

#include "app/net/HTTPRequest.h"
#include "forum/model/EditBuilder.h"
#include "forum/model/Forum.h"
#include "forum/model/Post.h"
#include "forum/model/ReplyBuilder.h"
#include "forum/model/Thread.h"
#include "forum/model/ThreadBuilder.h"
#include "platform/foundation/Bundle.h"
#include "platform/foundation/ManualClock.h"

#include <QJsonArray>
#include <QJsonObject>

#include <functional>

using namespace Qt::Literals::StringLiterals;

namespace {

class PostingAgain : public PostingTest {
protected:
    // One press of "submit": the builder's send, to its end.
    static void press(Builder& builder)
    {
        builder.create();
        ASSERT_TRUE(waitFor([&] { return builder.requestStatus() != BuilderStatus::Sending; },
                            std::chrono::milliseconds(15000)));
        ASSERT_TRUE(settle());
    }
    QList<int> postsOf(int threadid)
    {
        QList<int> ids;
        for (const QJsonValue& id : forum().threadState(threadid).value(u"posts"_s).toArray())
            ids.append(id.toInt());
        return ids;
    }
    // How many posts of the thread carry the text.
    int postsWithText(int threadid, const QString& text)
    {
        int found = 0;
        for (const int postid : postsOf(threadid))
            found += forum().postState(postid).value(u"bbcode"_s).toString() == text ? 1 : 0;
        return found;
    }
    // The forum holds the call once it has finished with it (answered or not).
    bool forumHasHandled(const QString& apiMethod, qsizetype count)
    {
        return waitFor([&] {
            const QList<TestForumRequest> done = forum().requests(apiMethod);
            return done.size() >= count && done.last().status != 0;
        });
    }
    // The looks at a thread's last page, or at the page that holds a post.
    QList<TestForumRequest> looksAtLastPage()
    {
        QList<TestForumRequest> looks;
        for (const TestForumRequest& request : forum().requests(u"showthread"_s)) {
            if (request.field(u"pagenumber"_s) == QString::number(ReplyBuilder::PastTheLastPage))
                looks.append(request);
        }
        return looks;
    }
    QList<TestForumRequest> looksAtPost(int postid)
    {
        QList<TestForumRequest> looks;
        for (const TestForumRequest& request : forum().requests(u"showthread"_s)) {
            if (request.field(u"postid"_s) == QString::number(postid))
                looks.append(request);
        }
        return looks;
    }
    // The one thread of the forum that is not among those it had before.
    int newThreadIn(int forumid, const QList<int>& before)
    {
        int made = 0;
        for (const int id : forum().threadIdsIn(forumid))
            made = before.contains(id) ? made : id;
        return made;
    }
    static ForumPtr forumOf(int forumid)
    {
        return Model::createWithDictionary<Forum>(Value(ValueDict{{u"forumid"_s, Value(forumid)}}));
    }
};

// A way the answer to a call the forum carries out gets lost, and what the
// member reads of it.
struct LostAnswer {
    const char* name;
    QString failure;
    // Set up before the first press (the call is then on its way).
    std::function<void(TestForum&, const QString& method)> before;
    // After the press went out: what makes the answer lost.
    std::function<void(TestForum&, ManualClock&, const QString& method)> during;
};

QList<LostAnswer> lostAnswers()
{
    const QString noConnection = AppTest::tableText(u"nointernet"_s);
    const QString unusable = AppTest::tableText(u"unexpected_server_response"_s);
    const auto nothing = [](TestForum&, ManualClock&, const QString&) {};
    return {
        {"no answer at all", noConnection,
         [](TestForum& forum, const QString& method) { forum.dropConnection(method, 1, TestForum::Drop::AfterHandling); },
         nothing},
        {"answer cut halfway", unusable,
         [](TestForum& forum, const QString& method) { forum.dropConnection(method, 1, TestForum::Drop::MidBody); },
         nothing},
        {"answer badly signed", unusable,
         [](TestForum& forum, const QString& method) { forum.signWrongly(method); }, nothing},
        {"forum slower than the timeout", noConnection,
         [](TestForum& forum, const QString& method) { forum.holdAtGate(method, u"slow"_s); },
         [](TestForum& forum, ManualClock& clock, const QString& method) {
             // The call waits at the forum; the member's wait runs out first,
             // then the forum carries the call out.
             ASSERT_TRUE(TestSupport::waitFor([&] { return forum.requests(method).size() == 1; }));
             clock.advance(qint64(HTTPRequest::getDefaultTimeout()) * 1000);
             forum.openGate(u"slow"_s);
         }},
    };
}

}  // namespace

TEST_F(PostingAgain, AReplyWhoseAnswerWasLostIsFoundOnTheLastPageAndNeverPostedTwice)
{
    signIn(u"bob"_s, u"secret2"_s);
    const ThreadPtr tips = Thread::initWithThreadid(1101);
    const auto reply = ReplyBuilder::initWithThread(tips);
    ASSERT_TRUE(settle());
    ASSERT_FALSE(reply->posthash().isNull());
    BuilderObserver observer;
    reply->addObserver(&observer);
    const QString method = u"newreply_postreply"_s;

    int number = 0;
    for (const LostAnswer& lost : lostAnswers()) {
        SCOPED_TRACE(lost.name);
        forum().clearLog();
        const QList<int> before = postsOf(1101);
        const QString text = u"Tip %1: the answer got lost (%2)."_s.arg(++number).arg(QString::fromLatin1(lost.name));
        reply->setMessage(text);

        // The forum takes it; the member reads that it failed, the text stays.
        lost.before(forum(), method);
        reply->create();
        lost.during(forum(), *clock(), method);
        ASSERT_TRUE(waitFor([&] { return reply->status() != BuilderStatus::Sending; }));
        ASSERT_TRUE(forumHasHandled(method, 1));
        ASSERT_TRUE(settle());
        EXPECT_EQ(reply->status(), BuilderStatus::Failed);
        EXPECT_EQ(observer.failures.last(), lost.failure);
        EXPECT_TRUE(reply->answerLost());
        EXPECT_EQ(reply->message(), text);
        EXPECT_EQ(postsOf(1101).size(), before.size() + 1);
        const qsizetype failuresSeen = observer.failures.size();

        // The next press looks at the thread's last page, finds it there and
        // ends as sent: nothing is posted again.
        press(*reply);
        EXPECT_EQ(reply->status(), BuilderStatus::Sent);
        EXPECT_TRUE(reply->alreadyPosted());
        EXPECT_FALSE(reply->answerLost());
        EXPECT_EQ(forum().requests(method).size(), 1);
        EXPECT_EQ(postsOf(1101).size(), before.size() + 1);
        EXPECT_EQ(postsWithText(1101, text), 1);
        EXPECT_EQ(observer.failures.size(), failuresSeen);
        const QList<TestForumRequest> looks = looksAtLastPage();
        ASSERT_EQ(looks.size(), 1);
        EXPECT_EQ(looks.first().field(u"threadid"_s), u"1101");
    }

    // A reply whose answer comes is sent as ever, and says nothing of a first try.
    forum().clearLog();
    reply->setMessage(u"One more, answered this time."_s);
    press(*reply);
    EXPECT_EQ(reply->status(), BuilderStatus::Sent);
    EXPECT_FALSE(reply->alreadyPosted());
    EXPECT_TRUE(looksAtLastPage().isEmpty());
    EXPECT_EQ(postsWithText(1101, u"One more, answered this time."_s), 1);
}

TEST_F(PostingAgain, AReplyThatNeverReachedTheForumGoesOnceAndAnOlderPostAlikeIsNotTakenForIt)
{
    // Bob's own last post on the thread reads "See? :D", days old.
    const CurrentUserPtr bob = signIn(u"bob"_s, u"secret2"_s);
    const QList<int> before = postsOf(303);
    ASSERT_EQ(forum().postState(before.last()).value(u"bbcode"_s).toString(), u"See? :D");
    ASSERT_EQ(forum().postState(before.last()).value(u"userid"_s).toInt(), bob->userid());
    const auto reply = ReplyBuilder::initWithThread(Thread::initWithThreadid(303));
    ASSERT_TRUE(settle());
    BuilderObserver observer;
    reply->addObserver(&observer);
    reply->setMessage(u"See? :D"_s);

    // The line closes before the forum has read the call: nothing is posted.
    forum().dropConnection(u"newreply_postreply"_s, 1, TestForum::Drop::BeforeAnswer);
    press(*reply);
    EXPECT_EQ(reply->status(), BuilderStatus::Failed);
    EXPECT_EQ(observer.failures.last(), tableText(u"nointernet"_s));
    EXPECT_EQ(postsOf(303), before);

    // While the thread cannot be read either, nothing goes out at all.
    forum().dropConnection(u"showthread"_s, 3, TestForum::Drop::BeforeAnswer);
    press(*reply);
    EXPECT_EQ(reply->status(), BuilderStatus::Failed);
    EXPECT_EQ(observer.failures.size(), 2);
    EXPECT_EQ(observer.failures.last(), tableText(u"nointernet"_s));
    EXPECT_EQ(forum().requests(u"newreply_postreply"_s).size(), 1);
    EXPECT_EQ(postsOf(303), before);
    forum().clearControls();
    forum().clearLog();

    // Once the thread can be read, the old post alike is not this one: it goes, once.
    press(*reply);
    EXPECT_EQ(reply->status(), BuilderStatus::Sent);
    EXPECT_FALSE(reply->alreadyPosted());
    EXPECT_EQ(looksAtLastPage().size(), 1);
    EXPECT_EQ(forum().requests(u"newreply_postreply"_s).size(), 1);
    EXPECT_EQ(postsOf(303).size(), before.size() + 1);
    EXPECT_EQ(postsWithText(303, u"See? :D"_s), 2);
    EXPECT_EQ(observer.failures.size(), 2);
}

TEST_F(PostingAgain, ANewThreadWhoseAnswerWasLostIsFoundOnTheForumsFirstPage)
{
    signIn(u"alice"_s, u"secret1"_s);
    const ForumPtr introductions = forumOf(6);
    const QString method = u"newthread_postthread"_s;

    int number = 0;
    for (const LostAnswer& lost : lostAnswers()) {
        SCOPED_TRACE(lost.name);
        forum().clearLog();
        const auto thread = ThreadBuilder::initWithForum(introductions);
        ASSERT_TRUE(settle());
        BuilderObserver observer;
        thread->addObserver(&observer);
        const QList<int> before = forum().threadIdsIn(6);
        thread->setTitle(u"Hello & welcome, try %1"_s.arg(++number));
        thread->setMessage(u"The first answer of this one got lost."_s);

        lost.before(forum(), method);
        thread->create();
        lost.during(forum(), *clock(), method);
        ASSERT_TRUE(waitFor([&] { return thread->requestStatus() != BuilderStatus::Sending; }));
        ASSERT_TRUE(forumHasHandled(method, 1));
        ASSERT_TRUE(settle());
        EXPECT_EQ(thread->requestStatus(), BuilderStatus::Failed);
        EXPECT_EQ(observer.failures.last(), lost.failure);
        const QList<int> made = forum().threadIdsIn(6);
        ASSERT_EQ(made.size(), before.size() + 1);

        press(*thread);
        EXPECT_EQ(thread->requestStatus(), BuilderStatus::Sent);
        EXPECT_TRUE(thread->alreadyPosted());
        EXPECT_EQ(thread->threadid(), newThreadIn(6, before)) << "the thread found can be opened";
        EXPECT_EQ(forum().requests(method).size(), 1);
        EXPECT_EQ(forum().threadIdsIn(6), made);
        EXPECT_EQ(lastRequest(u"forumdisplay"_s).field(u"forumid"_s), u"6");
        EXPECT_EQ(lastRequest(u"forumdisplay"_s).field(u"pagenumber"_s), u"1");
    }

    // One that never reached the forum goes on the next press, once.
    forum().clearLog();
    const auto thread = ThreadBuilder::initWithForum(introductions);
    ASSERT_TRUE(settle());
    const QList<int> before = forum().threadIdsIn(6);
    thread->setTitle(u"Hello again"_s);
    thread->setMessage(u"This one never reached the forum the first time."_s);
    forum().dropConnection(method, 1, TestForum::Drop::BeforeAnswer);
    press(*thread);
    EXPECT_EQ(thread->requestStatus(), BuilderStatus::Failed);
    EXPECT_EQ(forum().threadIdsIn(6), before);
    press(*thread);
    EXPECT_EQ(thread->requestStatus(), BuilderStatus::Sent);
    EXPECT_FALSE(thread->alreadyPosted());
    EXPECT_EQ(forum().requests(u"forumdisplay"_s).size(), 1);
    EXPECT_EQ(forum().requests(method).size(), 2);
    EXPECT_EQ(forum().threadIdsIn(6).size(), before.size() + 1);
    EXPECT_EQ(thread->threadid(), newThreadIn(6, before));
}

TEST_F(PostingAgain, AnEditWhoseAnswerWasLostIsReadBackAndNotSentAgain)
{
    ThreadPtr harbour;
    PostPtr own;
    ASSERT_NO_FATAL_FAILURE(openAlicesOwnPost(harbour, own));
    const auto edit = EditBuilder::initWithPost(own);
    ASSERT_TRUE(settle());
    BuilderObserver observer;
    edit->addObserver(&observer);
    const QString method = u"editpost_updatepost"_s;
    const QString saved = Bundle::main().localizedString(u"edit_successfully"_s);
    const QString savedBefore = Bundle::main().localizedString(u"edit_already_saved"_s);
    const auto shownTitles = [] {
        QStringList titles;
        for (const std::shared_ptr<AlertView>& alert : AlertView::visibleAlerts())
            titles.append(alert->title());
        return titles;
    };

    // The forum changes the post and the answer is cut halfway: the next
    // press reads the post back, finds the text and sends nothing.
    edit->setMessage(u"Up at five. The boats were still asleep."_s);
    forum().dropConnection(method, 1, TestForum::Drop::MidBody);
    press(*edit);
    EXPECT_EQ(edit->requestStatus(), BuilderStatus::Failed);
    EXPECT_EQ(observer.failures.last(), tableText(u"unexpected_server_response"_s));
    EXPECT_EQ(forum().postState(own->postid()).value(u"bbcode"_s).toString(), edit->message());
    clock()->advance(EditBuilder::AlertMs);
    press(*edit);
    EXPECT_EQ(edit->requestStatus(), BuilderStatus::Sent);
    EXPECT_TRUE(edit->alreadyPosted());
    EXPECT_EQ(forum().requests(method).size(), 1);
    EXPECT_EQ(looksAtPost(own->postid()).size(), 1);
    EXPECT_EQ(shownTitles(), QStringList{savedBefore});
    clock()->advance(EditBuilder::AlertMs);

    // An edit that never reached the forum reads back otherwise, and goes.
    edit->setMessage(u"Up at five, with coffee."_s);
    forum().dropConnection(method, 1, TestForum::Drop::BeforeAnswer);
    press(*edit);
    EXPECT_EQ(edit->requestStatus(), BuilderStatus::Failed);
    EXPECT_EQ(forum().postState(own->postid()).value(u"bbcode"_s).toString(), u"Up at five. The boats were still asleep.");
    clock()->advance(EditBuilder::AlertMs);
    press(*edit);
    EXPECT_EQ(edit->requestStatus(), BuilderStatus::Sent);
    EXPECT_FALSE(edit->alreadyPosted());
    EXPECT_EQ(forum().requests(method).size(), 3);
    EXPECT_EQ(looksAtPost(own->postid()).size(), 2);
    EXPECT_EQ(forum().postState(own->postid()).value(u"bbcode"_s).toString(), u"Up at five, with coffee.");
    EXPECT_EQ(shownTitles(), QStringList{saved});
}
