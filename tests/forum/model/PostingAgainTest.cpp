// A post, a new thread or an edit whose answer was lost on the way back (the
// line closed, the answer cut or badly signed) may be on the forum all the
// same: the forum is looked at before the member hears anything, and what is
// there ends the send as sent. What is not there yet stays open for a grace
// and is looked for again; only then may it go again. A forum slower than
// our wait keeps its connection. Nothing goes twice, and nothing on the
// forum is told as failed.
#include "AppTest.h"
#include "BuilderTestSupport.h"

#include "app/net/HTTPRequestAsyncronic.h"
#include "forum/model/EditBuilder.h"
#include "forum/model/Forum.h"
#include "forum/model/Post.h"
#include "forum/model/ReplyBuilder.h"
#include "forum/model/Thread.h"
#include "forum/model/ThreadBuilder.h"
#include "platform/foundation/AlertView.h"
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
    // A send that ends open: its first look is answered, the fate still open.
    static void pressIntoOpenFate(Builder& builder, const std::function<qsizetype()>& looks)
    {
        const qsizetype before = looks();
        builder.create();
        ASSERT_TRUE(waitFor([&] { return looks() == before + 1; }));
        ASSERT_TRUE(settle());
        ASSERT_EQ(builder.requestStatus(), BuilderStatus::Sending);
    }
    // The grace runs out and the second look ends the send.
    void passTheGrace(Builder& builder)
    {
        clock()->advance(Builder::GraceMs);
        ASSERT_TRUE(waitFor([&] { return builder.requestStatus() != BuilderStatus::Sending; }));
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

// A way the answer to a call the forum carries out gets lost.
struct LostAnswer {
    const char* name;
    std::function<void(TestForum&, const QString& method)> lose;
};

QList<LostAnswer> lostAnswers()
{
    return {
        {"no answer at all",
         [](TestForum& forum, const QString& method) { forum.dropConnection(method, 1, TestForum::Drop::AfterHandling); }},
        {"answer cut halfway",
         [](TestForum& forum, const QString& method) { forum.dropConnection(method, 1, TestForum::Drop::MidBody); }},
        {"answer badly signed", [](TestForum& forum, const QString& method) { forum.signWrongly(method); }},
    };
}

}  // namespace

TEST_F(PostingAgain, AReplyWhoseAnswerWasLostIsFoundOnTheLastPageAtOnceAndNeverToldAsFailed)
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

        // The forum takes it, its answer is lost: the builder looks at the
        // thread's last page itself, finds it there and ends as sent.
        lost.lose(forum(), method);
        press(*reply);
        EXPECT_EQ(reply->status(), BuilderStatus::Sent);
        EXPECT_TRUE(reply->alreadyPosted());
        EXPECT_FALSE(reply->answerLost());
        EXPECT_TRUE(observer.failures.isEmpty()) << observer.failures.join(u'\n').toStdString();
        EXPECT_TRUE(noticesShown().isEmpty());
        EXPECT_EQ(forum().requests(method).size(), 1);
        EXPECT_EQ(postsOf(1101).size(), before.size() + 1);
        EXPECT_EQ(postsWithText(1101, text), 1);
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

TEST_F(PostingAgain, AReplyThatNeverReachedTheForumIsLookedForTwiceThenGoesOnceAndAnOlderPostAlikeIsNotTakenForIt)
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

    // The forum reads the call and closes the line without carrying it out.
    // Not on the last page: the fate stays open, the member is told it may
    // still arrive, and another press sends nothing.
    forum().dropConnection(u"newreply_postreply"_s, 1, TestForum::Drop::BeforeAnswer);
    pressIntoOpenFate(*reply, [&] { return looksAtLastPage().size(); });
    EXPECT_TRUE(observer.failures.isEmpty());
    EXPECT_EQ(noticesShown(), QStringList{fateText("post_answer_lost")});
    reply->create();
    ASSERT_TRUE(settle());
    EXPECT_EQ(forum().requests(u"newreply_postreply"_s).size(), 1);
    EXPECT_EQ(looksAtLastPage().size(), 1);

    // Not there after the grace either: now it failed, and says so.
    passTheGrace(*reply);
    EXPECT_EQ(reply->status(), BuilderStatus::Failed);
    EXPECT_EQ(observer.failures, QStringList{fateText("post_not_arrived")});
    EXPECT_TRUE(noticesShown().isEmpty());
    EXPECT_EQ(looksAtLastPage().size(), 2);
    EXPECT_EQ(postsOf(303), before);

    // While the thread cannot be read, nothing goes out at all.
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

TEST_F(PostingAgain, AReplyTheForumStoresAfterOurWaitIsWaitedForThenLookedForAndNeverSentTwice)
{
    signIn(u"bob"_s, u"secret2"_s);
    const auto reply = ReplyBuilder::initWithThread(Thread::initWithThreadid(1101));
    ASSERT_TRUE(settle());
    BuilderObserver observer;
    reply->addObserver(&observer);
    const QString method = u"newreply_postreply"_s;
    const QString text = u"Slower than anyone waits."_s;
    reply->setMessage(text);
    const qint64 timeoutMs = qint64(HTTPRequest::getDefaultTimeout()) * 1000;
    const qint64 limitMs = qint64(HTTPRequestAsyncronic::PostingLimitSeconds) * 1000;

    // The forum sits on the call. Our wait runs out: the member is told it
    // may still arrive, the connection is kept, and a press sends nothing.
    forum().holdAtGate(method, u"slow"_s);
    reply->create();
    ASSERT_TRUE(waitFor([&] { return forum().arrivedAtGate(u"slow"_s) == 1 && callsHaveLeft(); }));
    clock()->advance(timeoutMs);
    EXPECT_EQ(reply->status(), BuilderStatus::Sending);
    EXPECT_EQ(noticesShown(), QStringList{fateText("post_waiting")});
    EXPECT_TRUE(observer.failures.isEmpty());
    reply->create();
    TestSupport::processEvents();
    EXPECT_EQ(forum().requests(method).size(), 1);

    // It never answers: at the connection's own limit the forum is looked at;
    // nothing there yet, the fate stays open.
    clock()->advance(limitMs - timeoutMs);
    ASSERT_TRUE(waitFor([&] { return looksAtLastPage().size() == 1; }));
    ASSERT_TRUE(settle());
    EXPECT_EQ(reply->status(), BuilderStatus::Sending);
    EXPECT_EQ(noticesShown(), QStringList{fateText("post_answer_lost")});
    EXPECT_TRUE(observer.failures.isEmpty());

    // The forum stores it after all; the look after the grace finds it.
    forum().openGate(u"slow"_s);
    ASSERT_TRUE(waitFor([&] { return postsWithText(1101, text) == 1; }));
    passTheGrace(*reply);
    EXPECT_EQ(reply->status(), BuilderStatus::Sent);
    EXPECT_TRUE(reply->alreadyPosted());
    EXPECT_TRUE(observer.failures.isEmpty());
    EXPECT_TRUE(noticesShown().isEmpty());
    EXPECT_EQ(looksAtLastPage().size(), 2);
    EXPECT_EQ(forum().requests(method).size(), 1);
    EXPECT_EQ(postsWithText(1101, text), 1);
}

TEST_F(PostingAgain, ANewThreadWhoseAnswerWasLostIsFoundOnTheForumsFirstPageAtOnce)
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

        lost.lose(forum(), method);
        press(*thread);
        EXPECT_EQ(thread->requestStatus(), BuilderStatus::Sent);
        EXPECT_TRUE(thread->alreadyPosted());
        EXPECT_TRUE(observer.failures.isEmpty());
        EXPECT_EQ(thread->threadid(), newThreadIn(6, before)) << "the thread found can be opened";
        EXPECT_EQ(forum().requests(method).size(), 1);
        EXPECT_EQ(forum().threadIdsIn(6).size(), before.size() + 1);
        EXPECT_EQ(lastRequest(u"forumdisplay"_s).field(u"forumid"_s), u"6");
        EXPECT_EQ(lastRequest(u"forumdisplay"_s).field(u"pagenumber"_s), u"1");
    }

    // One that never reached the forum is looked for again after the grace,
    // then goes on the next press, once.
    forum().clearLog();
    const auto thread = ThreadBuilder::initWithForum(introductions);
    ASSERT_TRUE(settle());
    BuilderObserver observer;
    thread->addObserver(&observer);
    const QList<int> before = forum().threadIdsIn(6);
    thread->setTitle(u"Hello again"_s);
    thread->setMessage(u"This one never reached the forum the first time."_s);
    forum().dropConnection(method, 1, TestForum::Drop::BeforeAnswer);
    pressIntoOpenFate(*thread, [&] { return forum().requests(u"forumdisplay"_s).size(); });
    EXPECT_EQ(noticesShown(), QStringList{fateText("post_answer_lost")});
    passTheGrace(*thread);
    EXPECT_EQ(thread->requestStatus(), BuilderStatus::Failed);
    EXPECT_EQ(observer.failures, QStringList{fateText("post_not_arrived")});
    EXPECT_EQ(forum().threadIdsIn(6), before);
    press(*thread);
    EXPECT_EQ(thread->requestStatus(), BuilderStatus::Sent);
    EXPECT_FALSE(thread->alreadyPosted());
    EXPECT_EQ(forum().requests(u"forumdisplay"_s).size(), 3);
    EXPECT_EQ(forum().requests(method).size(), 2);
    EXPECT_EQ(forum().threadIdsIn(6).size(), before.size() + 1);
    EXPECT_EQ(thread->threadid(), newThreadIn(6, before));
}

TEST_F(PostingAgain, AnEditWhoseAnswerWasLostIsReadBackAtOnceAndNotSentAgain)
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

    // The forum changes the post and the answer is cut halfway: the post is
    // read back at once, has the text, and the edit ends as saved.
    edit->setMessage(u"Up at five. The boats were still asleep."_s);
    forum().dropConnection(method, 1, TestForum::Drop::MidBody);
    press(*edit);
    EXPECT_EQ(edit->requestStatus(), BuilderStatus::Sent);
    EXPECT_TRUE(edit->alreadyPosted());
    EXPECT_TRUE(observer.failures.isEmpty());
    EXPECT_EQ(forum().postState(own->postid()).value(u"bbcode"_s).toString(), edit->message());
    EXPECT_EQ(forum().requests(method).size(), 1);
    EXPECT_EQ(looksAtPost(own->postid()).size(), 1);
    EXPECT_EQ(shownTitles(), QStringList{savedBefore});
    clock()->advance(EditBuilder::AlertMs);

    // An edit that never reached the forum reads back otherwise: open, then
    // failed after the grace, and it goes on the next press.
    edit->setMessage(u"Up at five, with coffee."_s);
    forum().dropConnection(method, 1, TestForum::Drop::BeforeAnswer);
    pressIntoOpenFate(*edit, [&] { return looksAtPost(own->postid()).size(); });
    EXPECT_EQ(noticesShown(), QStringList{fateText("edit_answer_lost")});
    passTheGrace(*edit);
    EXPECT_EQ(edit->requestStatus(), BuilderStatus::Failed);
    EXPECT_EQ(observer.failures, QStringList{fateText("edit_not_arrived")});
    EXPECT_EQ(forum().postState(own->postid()).value(u"bbcode"_s).toString(), u"Up at five. The boats were still asleep.");
    press(*edit);
    EXPECT_EQ(edit->requestStatus(), BuilderStatus::Sent);
    EXPECT_FALSE(edit->alreadyPosted());
    EXPECT_EQ(forum().requests(method).size(), 3);
    EXPECT_EQ(looksAtPost(own->postid()).size(), 4);
    EXPECT_EQ(forum().postState(own->postid()).value(u"bbcode"_s).toString(), u"Up at five, with coffee.");
    EXPECT_EQ(shownTitles(), QStringList{saved});
}
