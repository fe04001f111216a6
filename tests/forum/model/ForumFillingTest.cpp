// A forum's answers: the thread pages, stickies, announcements, subforums,
// permissions and the password prompt.
#include "ForumModelTest.h"

#include "forum/model/Forum.h"
#include "forum/model/Thread.h"
#include "platform/foundation/Bundle.h"
#include "platform/foundation/StringExtensions.h"

using ForumFilling = ForumModelTest;

namespace {

QList<qint32> idsOf(const QList<ThreadPtr>& threads)
{
    QList<qint32> ids;
    for (const ThreadPtr& thread : threads)
        ids.append(thread->threadid());
    return ids;
}

// The password prompt on screen, if any.
std::shared_ptr<AlertView> prompt()
{
    for (const std::shared_ptr<AlertView>& alert : AlertView::visibleAlerts()) {
        if (alert->hasTextField())
            return alert;
    }
    return nullptr;
}

class PasswordDelegate : public ForumPasswordDelegate {
public:
    void passwordSavedForForum(Forum* forum) override { saved.append(forum->forumid()); }
    void passwordCancelledForForum(Forum* forum) override { cancelled.append(forum->forumid()); }
    QList<qint32> saved;
    QList<qint32> cancelled;
};

}  // namespace

TEST_F(ForumFilling, FirstPageGivesThreadsStickiesAnnouncementsSubforumsAndPermissions)
{
    const auto forum = Model::create<Forum>();
    RecordingObserver observer;
    forum->addObserver(&observer);
    forum->setFromRequest(answeredFixture("forumdisplay_page1"));

    EXPECT_TRUE(observer.failures.isEmpty());
    EXPECT_GE(observer.changes, 1);
    EXPECT_EQ(forum->forumid(), 3);
    EXPECT_EQ(forum->title_clean(), u"General Discussion");
    EXPECT_EQ(forum->threadcount(), 74);
    EXPECT_TRUE(forum->isNew());

    // Rows that are no dictionaries are left out; a nested "thread" fills its row.
    const QList<ThreadPtr> page = forum->threadsOnPage(1);
    EXPECT_EQ(idsOf(page), (QList<qint32>{303, 304, 306}));
    for (const ThreadPtr& thread : page)
        EXPECT_EQ(thread->forum(), forum);
    EXPECT_EQ(page[2]->threadtitle(), u"Cheap watches!!! Best prices!!!");
    EXPECT_TRUE(page[2]->isDeleted());
    EXPECT_TRUE(page[2]->deleted());

    ASSERT_EQ(forum->stickies().size(), 1);
    EXPECT_EQ(forum->stickies()[0]->threadid(), 302);
    EXPECT_TRUE(forum->stickies()[0]->isSticky());
    EXPECT_EQ(forum->stickies()[0]->forum(), forum);

    // An announcement without an id takes the number after "&a=" of its link.
    ASSERT_EQ(forum->announcements().size(), 2);
    for (const ThreadPtr& row : forum->announcements()) {
        EXPECT_TRUE(row->isAnnouncement());
        EXPECT_EQ(row->user()->userid(), 3);
        EXPECT_EQ(row->user()->username(), u"moderator");
        EXPECT_EQ(row->forum(), forum);
    }
    EXPECT_EQ(idsOf(forum->announcements()), (QList<qint32>{1, 42}));
    EXPECT_EQ(forum->announcements()[1]->threadtitle(), u"New thread prefixes");

    // A single subforum is a list of one; depth and parents follow the tree.
    ASSERT_EQ(forum->children().size(), 1);
    const ForumPtr offTopic = forum->children()[0];
    EXPECT_EQ(offTopic->level(), 1);
    EXPECT_EQ(offTopic->parent(), forum);
    ASSERT_EQ(offTopic->children().size(), 1);
    EXPECT_EQ(offTopic->children()[0]->level(), 2);
    EXPECT_EQ(offTopic->children()[0]->parent()->parent(), forum);
    // The subforum's "parent_is_category" false reached this forum.
    EXPECT_FALSE(forum->is_category());

    // The answer's top-level "show".
    EXPECT_TRUE(forum->isSubscribed());
    EXPECT_TRUE(forum->canModerate());
    EXPECT_TRUE(forum->canDeleteThreads());
    EXPECT_TRUE(forum->canDeleteThreadsAsSpam());
    EXPECT_FALSE(forum->canOpenCloseThread());
    EXPECT_TRUE(forum->canApproveUnapproveThread());
    EXPECT_TRUE(forum->canMoveThread());
    EXPECT_TRUE(forum->canStickThread());
    EXPECT_TRUE(forum->canSearchForums());
    EXPECT_TRUE(forum->canViewThreads());
    EXPECT_TRUE(forum->canPostThreads());

    ASSERT_TRUE(forum->pagenav());
    EXPECT_EQ(forum->pagenumber(), 1u);
    EXPECT_EQ(forum->totalpages(), 4u);
    ASSERT_EQ(forum->pagenav()->pagenav().size(), 2);
    EXPECT_EQ(forum->navs().keys(), QStringList{QStringLiteral("1")});
    forum->removeObserver(&observer);
}

TEST_F(ForumFilling, OneThreadIsAPageOfOneAndNullAnEmptyPage)
{
    const auto forum = Model::create<Forum>();
    forum->setFromRequest(answeredFixture("forumdisplay_page2_single"));
    forum->setFromRequest(answeredFixture("forumdisplay_empty_page"));

    ASSERT_EQ(forum->threadsOnPage(2).size(), 1);
    EXPECT_EQ(forum->threadsOnPage(2)[0]->replies(), 3);
    EXPECT_TRUE(forum->threadsOnPage(2)[0]->isNew());
    EXPECT_TRUE(forum->pages().contains(QStringLiteral("3")));
    EXPECT_TRUE(forum->threadsOnPage(3).isEmpty());
    // A "threadbits_sticky" of another kind gives no stickies.
    EXPECT_TRUE(forum->stickies().isEmpty());
    // Permissions from the second answer: it had none.
    EXPECT_FALSE(forum->canModerate());
}

TEST_F(ForumFilling, AnswerThatFailedItsChecksTouchesNothing)
{
    const auto forum = Model::create<Forum>();
    RecordingObserver observer;
    forum->addObserver(&observer);
    const HTTPRequestPtr request = answered(fixture("forumdisplay_page1"), RequestOutcome::Kind::BadSignature);
    forum->setFromRequest(request);

    EXPECT_TRUE(forum->pages().isEmpty());
    EXPECT_FALSE(forum->canModerate());
    EXPECT_EQ(observer.changes, 0);
    EXPECT_EQ(observer.failures, QStringList{tableText(QStringLiteral("unexpected_server_response"))});
    forum->removeObserver(&observer);
}

TEST_F(ForumFilling, MissingPasswordPromptsAndTheHashGoesWithTheNextPage)
{
    openGuestSession();
    CurrentUser::currentUser()->setUserid(57);
    const auto forum = Model::create<Forum>();
    forum->setForumid(9);
    forum->setTitle_clean(QStringLiteral("Staff Lounge"));

    // A plain code asks for nothing; a list whose first element is the code does.
    forum->handleProtectedForums(Value(QStringLiteral("forumpasswordmissing")));
    EXPECT_FALSE(prompt());
    forum->setFromRequest(answeredFixture("forumdisplay_password"));
    std::shared_ptr<AlertView> alert = prompt();
    ASSERT_TRUE(alert);
    EXPECT_EQ(alert->title(), u"Staff Lounge");
    EXPECT_EQ(alert->message(), QStringLiteral("\n                "));
    EXPECT_TRUE(alert->isTextFieldSecure());
    EXPECT_EQ(alert->textFieldPlaceholder(), Bundle::main().localizedString(QStringLiteral("login_password")));
    EXPECT_EQ(alert->buttonTitles().size(), 2);
    EXPECT_TRUE(forum->pages().isEmpty());
    // A second refusal while it is up shows no second prompt.
    forum->setFromRequest(answeredFixture("forumdisplay_password"));
    EXPECT_EQ(AlertView::visibleAlerts().size(), 1);

    // Cancel, and OK with nothing typed, store nothing.
    PasswordDelegate delegate;
    forum->setPasswordDelegate(&delegate);
    alert->dismissWithClickedButtonIndex(0);
    forum->setFromRequest(answeredFixture("forumdisplay_password"));
    prompt()->dismissWithClickedButtonIndex(1);
    EXPECT_EQ(delegate.cancelled, (QList<qint32>{9, 9}));
    EXPECT_TRUE(Forum::passwordHash(9).isNull());

    forum->setFromRequest(answeredFixture("forumdisplay_password"));
    alert = prompt();
    alert->setTextFieldText(QStringLiteral("abc"));
    alert->dismissWithClickedButtonIndex(1);
    EXPECT_EQ(delegate.saved, QList<qint32>{9});
    EXPECT_EQ(Forum::passwordHash(9), StringExtensions::md5(QStringLiteral("57abc")));

    // Without a delegate the forum fetches its first page again, with the hash.
    forum->setPasswordDelegate(nullptr);
    forum->setFromRequest(answeredFixture("forumdisplay_password"));
    prompt()->setTextFieldText(QStringLiteral("letmein"));
    prompt()->dismissWithClickedButtonIndex(1);
    ASSERT_TRUE(settle());
    const TestForumRequest page = lastRequest(QStringLiteral("forumdisplay"));
    EXPECT_EQ(page.httpMethod, u"GET");
    EXPECT_EQ(page.queryFields.value(QStringLiteral("forumid")), u"9");
    EXPECT_EQ(page.queryFields.value(QStringLiteral("perpage")), u"20");
    EXPECT_EQ(page.queryFields.value(QStringLiteral("pagenumber")), u"1");
    EXPECT_EQ(page.queryFields.value(QStringLiteral("forumpwdmd5")), StringExtensions::md5(QStringLiteral("57letmein")));
    EXPECT_TRUE(page.signatureValid);
}

TEST_F(ForumFilling, ForumTableHasItselfThenItsSubforums)
{
    this->forum();
    const auto forum = Model::create<Forum>();
    forum->setFromRequest(answeredFixture("forumdisplay_page1"));
    EXPECT_EQ(forum->numberOfSections(), 2);
    EXPECT_EQ(forum->numberOfRowsInSection(0), 1);
    EXPECT_EQ(forum->numberOfRowsInSection(1), 1);
    EXPECT_EQ(forum->retrieveForumAtIndexPath(0, 0), forum);
    EXPECT_EQ(forum->retrieveForumAtIndexPath(1, 0)->forumid(), 4);
    EXPECT_FALSE(forum->retrieveForumAtIndexPath(1, 1));
    EXPECT_FALSE(forum->retrieveForumAtIndexPath(2, 0));

    // A refresh drops stickies and subforums and asks for page 1 again.
    forum->refresh();
    EXPECT_TRUE(forum->stickies().isEmpty());
    EXPECT_TRUE(forum->children().isEmpty());
    EXPECT_TRUE(forum->hasRequests());
}
