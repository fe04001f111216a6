// The forum tree, the notification counters and the notices.
#include "ForumModelTest.h"

#include "forum/model/ForumInfo.h"
#include "platform/foundation/UserDefaults.h"

using ForumInfoAnswers = ForumModelTest;

namespace {

QList<qint32> ids(const QList<NoticePtr>& notices)
{
    QList<qint32> list;
    for (const NoticePtr& notice : notices)
        list.append(notice->_noticeid());
    return list;
}

}  // namespace

TEST_F(ForumInfoAnswers, HomeAnswerFillsTreeCountersAndUndismissedNotices)
{
    ForumInfo::saveDismissedNoticesList({QStringLiteral("5"), QStringLiteral("9")});
    const ForumInfoPtr info = ForumInfo::getInstance();
    RecordingObserver observer;
    info->addObserver(&observer);

    info->setFromRequest(answeredFixture("forum_home"));

    EXPECT_TRUE(observer.failures.isEmpty());
    EXPECT_GE(observer.changes, 1);
    ASSERT_EQ(info->forums().size(), 1);
    EXPECT_EQ(info->forums()[0]->children().size(), 1);
    ASSERT_EQ(info->notifications().size(), 3);
    EXPECT_EQ(info->notifications()[1]->phrase(), u"Friend Requests");
    // The last counter with the inbox's phrase is the inbox.
    ASSERT_TRUE(info->inboxNotification());
    EXPECT_EQ(info->inboxNotification()->name(), u"pmunread_later");
    EXPECT_EQ(info->numberOfNotifications(), 6);
    // Notice 5 stays dismissed, 9 is no longer sent and is forgotten.
    EXPECT_EQ(ids(info->notices()), QList<qint32>{7});
    EXPECT_EQ(info->notices()[0]->notice_plain(), u"Seven");
    EXPECT_EQ(ForumInfo::dismissedNoticesList(), QStringList{QStringLiteral("5")});

    // One counter as a dictionary; a value of another kind empties them but
    // leaves notices and tree.
    info->setDictionary(json(R"({"notifications_menubits":{"phrase":"Unread Private Messages","total":4}})"));
    EXPECT_EQ(info->notifications().size(), 1);
    EXPECT_EQ(info->numberOfNotifications(), 4);
    info->setDictionary(json(R"({"notifications_menubits":"x","notices":"x","forums":7})"));
    EXPECT_TRUE(info->notifications().isEmpty());
    EXPECT_FALSE(info->inboxNotification());
    EXPECT_EQ(info->notices().size(), 1);
    EXPECT_EQ(info->forums().size(), 1);
    // A "header" fills like the answer.
    info->setDictionary(json(R"({"header":{"notices":{"_noticeid":8,"notice_plain":"Eight"}}})"));
    EXPECT_EQ(ids(info->notices()), QList<qint32>{8});
    info->removeObserver(&observer);
}

TEST_F(ForumInfoAnswers, ForumListIsATopLevelListAndAFailedOneFillsNothing)
{
    const ForumInfoPtr info = ForumInfo::getInstance();
    RecordingObserver observer;
    info->addObserver(&observer);

    info->setFromRequest(answered(fixture("api_forumlist"), RequestOutcome::Kind::BadSignature));
    EXPECT_TRUE(info->forums().isEmpty());
    EXPECT_EQ(observer.failures, QStringList{tableText(QStringLiteral("unexpected_server_response"))});
    EXPECT_EQ(observer.changes, 0);

    info->setFromRequest(answeredFixture("api_forumlist"));
    EXPECT_EQ(observer.changes, 1);
    ASSERT_EQ(info->forums().size(), 4);
    // Depth first: a parent before its subforums, a subforum before later siblings.
    const ForumPtr jokes = info->searchForum(5);
    ASSERT_TRUE(jokes);
    EXPECT_EQ(jokes->level(), 3);
    EXPECT_EQ(jokes->parent()->parent()->forumid(), 3);
    EXPECT_EQ(info->searchForum(1), info->forums()[0]);
    EXPECT_EQ(info->searchForum(23)->title_clean(), u"Wiki");
    EXPECT_FALSE(info->searchForum(99));
    // "parent_is_category" from the children made the category one.
    EXPECT_TRUE(info->forums()[0]->is_category());
    info->removeObserver(&observer);
}

TEST_F(ForumInfoAnswers, TreeAsATable)
{
    const ForumInfoPtr info = ForumInfo::getInstance();
    info->setFromRequest(answeredFixture("api_forumlist"));

    ASSERT_EQ(info->numberOfSections(), 4);
    // A category holds its subforums.
    EXPECT_EQ(info->numberOfRowsInSection(0), 3);
    EXPECT_EQ(info->retrieveForumAtIndexPath(0, 1)->forumid(), 3);
    // A forum holds itself, then its subforums.
    EXPECT_EQ(info->numberOfRowsInSection(1), 1);
    EXPECT_EQ(info->retrieveForumAtIndexPath(1, 0)->forumid(), 20);
    EXPECT_EQ(info->numberOfRowsInSection(3), 3);
    EXPECT_EQ(info->retrieveForumAtIndexPath(3, 0)->forumid(), 21);
    EXPECT_EQ(info->retrieveForumAtIndexPath(3, 2)->forumid(), 23);
    // A category without subforums has one row: itself.
    EXPECT_EQ(info->numberOfRowsInSection(2), 1);
    EXPECT_EQ(info->retrieveForumAtIndexPath(2, 0)->forumid(), 30);
    // Outside the table: nothing.
    EXPECT_FALSE(info->retrieveForumAtIndexPath(2, 1));
    EXPECT_FALSE(info->retrieveForumAtIndexPath(0, 3));
    EXPECT_FALSE(info->retrieveForumAtIndexPath(3, 3));
    EXPECT_FALSE(info->retrieveForumAtIndexPath(4, 0));
    EXPECT_FALSE(info->retrieveForumAtIndexPath(-1, 0));
    EXPECT_EQ(info->numberOfRowsInSection(4), 0);
}

TEST_F(ForumInfoAnswers, ListIsFetchedOnlyWhenMissingAndNoticesWaitForIt)
{
    openGuestSession();
    const ForumInfoPtr info = ForumInfo::getInstance();
    info->setFromRequest(answeredFixture("forum_home"));
    ASSERT_EQ(info->notices().size(), 2);

    // A tree is there: nothing is fetched. A reload drops it and fetches.
    info->fetchForumList();
    EXPECT_FALSE(info->initRequest());
    info->reload();
    EXPECT_TRUE(info->forums().isEmpty());
    ASSERT_TRUE(info->initRequest());
    // While the list is on its way: no second fetch, no reload, no dismissal.
    const HTTPRequestPtr first = info->initRequest();
    info->fetchForumList();
    info->reload();
    EXPECT_EQ(info->initRequest(), first);
    info->dismissNotice(5);
    EXPECT_EQ(info->notices().size(), 2);
    EXPECT_TRUE(ForumInfo::dismissedNoticesList().isEmpty());

    ASSERT_TRUE(settle());
    EXPECT_FALSE(info->initRequest());
    EXPECT_FALSE(info->forums().isEmpty());
    EXPECT_EQ(forum().requests(QStringLiteral("api_forumlist")).size(), 1);
    EXPECT_TRUE(forum().requests(QStringLiteral("ajax_dismissnotice")).isEmpty());

    info->dismissNotice(5);
    EXPECT_EQ(ids(info->notices()), QList<qint32>{7});
    EXPECT_EQ(ForumInfo::dismissedNoticesList(), QStringList{QStringLiteral("5")});
    ASSERT_TRUE(settle());
    const TestForumRequest dismissal = lastRequest(QStringLiteral("ajax_dismissnotice"));
    EXPECT_EQ(dismissal.httpMethod, u"POST");
    EXPECT_EQ(dismissal.body, QByteArray("noticeid=5"));

    ForumInfo::cleanDismissedNoticesList();
    EXPECT_TRUE(UserDefaults::standard().objectForKey(QStringLiteral("dismissed_notices")).isAbsent());
}

TEST_F(ForumInfoAnswers, ClearingEmptiesTheSharedInstanceInPlace)
{
    const CurrentUserPtr user = openGuestSession();
    const ForumInfoPtr info = ForumInfo::getInstance();
    RecordingObserver observer;
    info->addObserver(&observer);
    info->setFromRequest(answeredFixture("forum_home"));
    forum().delayMethod(QStringLiteral("api_forumlist"), 2000);
    info->reload();
    ASSERT_TRUE(info->hasRequests());
    const int changes = observer.changes;

    // What the session does when another member signs in.
    user->setUserid(77);
    EXPECT_EQ(ForumInfo::getInstance(), info);
    EXPECT_TRUE(info->forums().isEmpty());
    EXPECT_TRUE(info->notices().isEmpty());
    EXPECT_TRUE(info->notifications().isEmpty());
    EXPECT_FALSE(info->hasRequests());
    EXPECT_FALSE(info->initRequest());
    EXPECT_EQ(observer.changes, changes + 1);

    // The screens that observe it see the next load.
    info->fetchForumHome();
    ASSERT_TRUE(settle());
    EXPECT_FALSE(info->forums().isEmpty());
    EXPECT_GT(observer.changes, changes + 1);
    info->removeObserver(&observer);
}
