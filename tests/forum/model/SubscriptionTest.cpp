// Subscribing to threads and forums: two calls to subscribe, one to leave;
// the flag set at once and rolled back when the forum refuses.
#include "ForumModelTest.h"

#include "forum/model/AnswerShape.h"
#include "forum/model/Forum.h"
#include "forum/model/Thread.h"

using Subscriptions = ForumModelTest;

TEST_F(Subscriptions, ThreadAndForumSubscribeAndUnsubscribe)
{
    const CurrentUserPtr alice = signIn(QStringLiteral("alice"), QStringLiteral("secret1"));
    const int me = alice->userid();
    ASSERT_FALSE(forum().subscribedThreads(me).contains(1102));

    const ThreadPtr thread = Thread::initWithThreadid(1102);
    RecordingObserver observer;
    thread->addObserver(&observer);
    thread->subscribe();
    EXPECT_TRUE(thread->isSubscribed());
    EXPECT_EQ(observer.changes, 1);
    ASSERT_TRUE(settle());
    EXPECT_TRUE(observer.failures.isEmpty());
    EXPECT_TRUE(thread->isSubscribed());
    EXPECT_TRUE(forum().subscribedThreads(me).contains(1102));
    const TestForumRequest add = lastRequest(QStringLiteral("subscription_addsubscription"));
    EXPECT_EQ(add.httpMethod, u"GET");
    EXPECT_EQ(add.queryFields.value(QStringLiteral("threadid")), u"1102");
    // The member's default mode comes back as the chosen one.
    const TestForumRequest doAdd = lastRequest(QStringLiteral("subscription_doaddsubscription"));
    EXPECT_EQ(doAdd.httpMethod, u"GET");
    EXPECT_EQ(doAdd.queryFields.value(QStringLiteral("emailupdate")), u"1");
    EXPECT_EQ(doAdd.queryFields.value(QStringLiteral("threadid")), u"1102");

    thread->unsubscribe();
    EXPECT_FALSE(thread->isSubscribed());
    ASSERT_TRUE(settle());
    EXPECT_FALSE(forum().subscribedThreads(me).contains(1102));
    EXPECT_EQ(lastRequest(QStringLiteral("subscription_removesubscription")).queryFields.value(QStringLiteral("threadid")),
              u"1102");
    thread->removeObserver(&observer);

    const auto forum6 = Model::create<Forum>();
    forum6->setForumid(6);
    forum6->subscribe();
    ASSERT_TRUE(settle());
    EXPECT_TRUE(forum6->isSubscribed());
    EXPECT_TRUE(forum().subscribedForums(me).contains(6));
    EXPECT_EQ(lastRequest(QStringLiteral("subscription_doaddsubscription")).queryFields.value(QStringLiteral("forumid")),
              u"6");
    forum6->unsubscribe();
    ASSERT_TRUE(settle());
    EXPECT_FALSE(forum6->isSubscribed());
    EXPECT_FALSE(forum().subscribedForums(me).contains(6));
}

TEST_F(Subscriptions, RefusedOrLostSubscriptionIsRolledBackWithTheErrorsText)
{
    openGuestSession();
    const ThreadPtr thread = Thread::initWithThreadid(302);
    RecordingObserver observer;
    thread->addObserver(&observer);

    // A guest may not subscribe: the first step is refused.
    thread->subscribe();
    ASSERT_TRUE(settle());
    EXPECT_FALSE(thread->isSubscribed());
    EXPECT_EQ(observer.failures, QStringList{tableText(QStringLiteral("nopermission_loggedout"))});
    EXPECT_TRUE(forum().requests(QStringLiteral("subscription_doaddsubscription")).isEmpty());
    // Told at once, then again when rolled back.
    EXPECT_EQ(observer.changes, 2);

    // The second step is lost on the way.
    signIn(QStringLiteral("bob"), QStringLiteral("secret2"));
    observer.failures.clear();
    forum().dropConnection(QStringLiteral("subscription_doaddsubscription"), 3, TestForum::Drop::BeforeAnswer);
    thread->subscribe();
    ASSERT_TRUE(settle());
    EXPECT_FALSE(thread->isSubscribed());
    EXPECT_EQ(observer.failures, QStringList{tableText(QStringLiteral("nointernet"))});

    // Leaving fails: the member is still subscribed.
    forum().clearControls();
    thread->subscribe();
    ASSERT_TRUE(settle());
    ASSERT_TRUE(thread->isSubscribed());
    forum().answerError(QStringLiteral("subscription_removesubscription"), QStringLiteral("invalidid"));
    thread->unsubscribe();
    ASSERT_TRUE(settle());
    EXPECT_TRUE(thread->isSubscribed());
    EXPECT_EQ(observer.failures.last(), tableText(QStringLiteral("invalidid")));
    thread->removeObserver(&observer);
}

TEST_F(Subscriptions, ModeIsTheHighestSelected)
{
    EXPECT_EQ(AnswerShape::emailUpdateOf(fixture("subscription_add")), u"3");
    EXPECT_EQ(AnswerShape::emailUpdateOf(json(R"({"response":{"HTML":{"emailselected":{}}}})")), u"0");
    EXPECT_EQ(AnswerShape::emailUpdateOf(json(R"({"response":{},"HTML":{"emailselected":{"[2]":1,"[1]":1}}})")), u"2");
    EXPECT_EQ(AnswerShape::emailUpdateOf(json(R"({"response":{"HTML":{"emailselected":{"[1]":""}}}})")), u"1");
    EXPECT_EQ(AnswerShape::emailUpdateOf(json(R"([1,2])")), u"0");
}
