// Browsing the loopback forum: the tree and home answer, a forum's pages,
// the big thread page by page and by its first unread post, a protected
// forum, a post on its own and an announcement.
#include "ForumModelTest.h"

#include "forum/model/Announcement.h"
#include "forum/model/ForumInfo.h"
#include "forum/model/Post.h"
#include "forum/model/Thread.h"
#include "platform/foundation/StringExtensions.h"

#include <QJsonDocument>
#include <QSet>

using ForumBrowsing = ForumModelTest;

namespace {

QList<qint32> forumIds(const QList<ForumPtr>& forums)
{
    QList<qint32> ids;
    for (const ForumPtr& forum : forums)
        ids.append(forum->forumid());
    return ids;
}

QList<qint32> noticeIds(const QList<NoticePtr>& notices)
{
    QList<qint32> ids;
    for (const NoticePtr& notice : notices)
        ids.append(notice->_noticeid());
    return ids;
}

std::shared_ptr<AlertView> passwordPrompt()
{
    for (const std::shared_ptr<AlertView>& alert : AlertView::visibleAlerts()) {
        if (alert->hasTextField())
            return alert;
    }
    return nullptr;
}

}  // namespace

TEST_F(ForumBrowsing, TreeAndHomeAnswerOfAGuestAndOfAMember)
{
    openGuestSession();
    const ForumInfoPtr info = ForumInfo::getInstance();
    info->fetchForumList();
    ASSERT_TRUE(settle());
    EXPECT_EQ(forumIds(info->forums()), (QList<qint32>{1, 10, 20, 21}));
    EXPECT_TRUE(info->forums()[0]->is_category());
    EXPECT_TRUE(info->forums()[3]->is_link());
    const ForumPtr jokes = info->searchForum(5);
    ASSERT_TRUE(jokes);
    EXPECT_EQ(jokes->title_clean(), u"Jokes &amp; Games");
    EXPECT_EQ(jokes->level(), 3);
    EXPECT_EQ(jokes->parent()->parent()->forumid(), 3);

    info->fetchForumHome();
    ASSERT_TRUE(settle());
    EXPECT_TRUE(info->notifications().isEmpty());
    EXPECT_EQ(noticeIds(info->notices()), (QList<qint32>{1, 3}));

    // A member: counters, the inbox, the members' notices; a dismissed
    // notice stays away, here and at the forum.
    signIn(QStringLiteral("alice"), QStringLiteral("secret1"));
    EXPECT_EQ(ForumInfo::getInstance(), info);
    EXPECT_TRUE(info->forums().isEmpty());
    info->fetchForumHome();
    ASSERT_TRUE(settle());
    ASSERT_TRUE(info->inboxNotification());
    EXPECT_EQ(info->inboxNotification()->total(), 2);
    EXPECT_GE(info->numberOfNotifications(), 2);
    EXPECT_EQ(noticeIds(info->notices()), (QList<qint32>{2, 3}));

    info->dismissNotice(2);
    ASSERT_TRUE(settle());
    EXPECT_EQ(noticeIds(info->notices()), QList<qint32>{3});
    info->fetchForumHome();
    ASSERT_TRUE(settle());
    EXPECT_EQ(noticeIds(info->notices()), QList<qint32>{3});
    // The forum no longer sends it, so the device forgets it.
    EXPECT_TRUE(ForumInfo::dismissedNoticesList().isEmpty());
}

TEST_F(ForumBrowsing, ForumPagesRunToTheEnd)
{
    openGuestSession();
    const ForumInfoPtr info = ForumInfo::getInstance();
    info->fetchForumList();
    ASSERT_TRUE(settle());
    const ForumPtr general = info->searchForum(3);
    ASSERT_TRUE(general);
    RecordingObserver observer;
    general->addObserver(&observer);

    QSet<qint32> seen;
    int page = 1;
    do {
        general->fetchPage(page);
        ASSERT_TRUE(settle());
        ASSERT_TRUE(observer.failures.isEmpty()) << observer.failures.join(u'\n').toStdString();
        const QList<ThreadPtr> threads = general->threadsOnPage(page);
        EXPECT_LE(threads.size(), Forum::ThreadsPerPage);
        for (const ThreadPtr& thread : threads) {
            EXPECT_FALSE(seen.contains(thread->threadid())) << thread->threadid();
            seen.insert(thread->threadid());
            EXPECT_EQ(thread->forum(), general);
            EXPECT_FALSE(thread->threadtitle().isEmpty());
        }
        const TestForumRequest request = lastRequest(QStringLiteral("forumdisplay"));
        EXPECT_EQ(request.queryFields.value(QStringLiteral("pagenumber")), QString::number(page));
        EXPECT_EQ(request.queryFields.value(QStringLiteral("perpage")), u"20");
        EXPECT_FALSE(request.queryFields.contains(QStringLiteral("forumpwdmd5")));
    } while (++page <= int(general->totalpages()) && page < 10);

    EXPECT_EQ(general->totalpages(), 4u);
    EXPECT_EQ(general->pages().size(), 4);
    EXPECT_EQ(seen.size(), general->pagenav()->total().toInt());
    // Stickies, announcements (one for every forum and one of its own) and
    // the subforum came with page 1.
    EXPECT_FALSE(general->stickies().isEmpty());
    for (const ThreadPtr& sticky : general->stickies())
        EXPECT_TRUE(sticky->isSticky());
    EXPECT_EQ(general->announcements().size(), 2);
    EXPECT_EQ(forumIds(general->children()), QList<qint32>{4});
    EXPECT_EQ(general->children()[0]->parent(), general);
    // A guest sees neither the thread waiting for approval nor the deleted one.
    EXPECT_FALSE(seen.contains(305));
    EXPECT_FALSE(seen.contains(306));
    EXPECT_FALSE(general->canModerate());
    EXPECT_TRUE(general->canSearchForums());
    general->removeObserver(&observer);
}

TEST_F(ForumBrowsing, BigThreadPageByPageAndByItsFirstUnreadPost)
{
    const CurrentUserPtr alice = signIn(QStringLiteral("alice"), QStringLiteral("secret1"));
    // Opened from a link: no forum, so each fetch has a temporary one.
    const ThreadPtr thread = Thread::initWithThreadid(1101);
    RecordingObserver observer;
    thread->addObserver(&observer);

    thread->fetchSpecialPage();
    EXPECT_TRUE(thread->forum());
    ASSERT_TRUE(settle());
    EXPECT_FALSE(thread->forum());
    const TestForumRequest goTo = lastRequest(QStringLiteral("api_gotonewpost"));
    EXPECT_EQ(goTo.httpMethod, u"POST");
    EXPECT_EQ(goTo.formPairs, (QList<QPair<QString, QString>>{{QStringLiteral("threadid"), QStringLiteral("1101")}}));
    const int unreadPage = int(thread->pagenumber());
    EXPECT_GT(unreadPage, 1);
    const QList<PostPtr> unread = thread->postsOnPage(unreadPage);
    ASSERT_FALSE(unread.isEmpty());
    const QJsonDocument answer = QJsonDocument::fromJson(goTo.answer);
    const int firstUnread = answer[QStringLiteral("response")][QStringLiteral("postid")].toInt();
    EXPECT_TRUE(std::any_of(unread.begin(), unread.end(), [&](const PostPtr& p) { return p->postid() == firstUnread; }));

    // Page by page, to the last.
    thread->pages().clear();
    int total = 0;
    for (int page = 1; page <= int(thread->totalpages()) || page == 1; ++page) {
        thread->fetchPage(page);
        ASSERT_TRUE(settle());
        const QList<PostPtr> posts = thread->postsOnPage(page);
        ASSERT_FALSE(posts.isEmpty()) << page;
        total += int(posts.size());
        for (const PostPtr& post : posts)
            EXPECT_EQ(post->thread(), thread);
        const TestForumRequest request = lastRequest(QStringLiteral("showthread"));
        EXPECT_EQ(request.field(QStringLiteral("pagenumber")), QString::number(page));
        EXPECT_EQ(request.field(QStringLiteral("threadid")), u"1101");
    }
    EXPECT_TRUE(observer.failures.isEmpty());
    EXPECT_GE(total, 45);
    EXPECT_EQ(total, thread->pagenav()->total().toInt());
    EXPECT_EQ(thread->threadtitle(), u"The big tips &amp; tricks thread");

    // What the first page carries: a quote three deep, alice's own post.
    const QList<PostPtr> first = thread->postsOnPage(1);
    const PostPtr deepest = first[3];
    EXPECT_EQ(deepest->postid(), 5003);
    ASSERT_TRUE(deepest->message_postquote());
    const PostQuote* node = deepest->message_postquote().get();
    int depth = 0;
    while (node->info().size() > 1 && node->info().at(1).isQuote()) {
        node = node->info().at(1).quote.get();
        ++depth;
    }
    EXPECT_EQ(depth, 3);
    EXPECT_EQ(node->author(), u"alice");
    EXPECT_EQ(first[0]->user()->userid(), alice->userid());
    EXPECT_TRUE(first[0]->canEdit());
    EXPECT_FALSE(first[0]->canReport());
    EXPECT_TRUE(first[1]->canReport());

    // Ignored authors, the deleted post and pictures, wherever they stand.
    QSet<qint32> flagsSeen;
    bool pictures = false;
    for (int page = 1; page <= int(thread->totalpages()); ++page) {
        for (const PostPtr& post : thread->postsOnPage(page)) {
            flagsSeen.insert(post->status_flags() & ~Post::Approved);
            pictures = pictures || !post->thumbnailattachments().isEmpty();
        }
    }
    EXPECT_TRUE(flagsSeen.contains(Post::UserIgnore));
    EXPECT_TRUE(flagsSeen.contains(Post::IgnoreGlobal));
    EXPECT_TRUE(flagsSeen.contains(Post::Deleted));
    EXPECT_TRUE(pictures);

    // Everything read: the first unread post is now on the last page.
    thread->fetchSpecialPage();
    ASSERT_TRUE(settle());
    EXPECT_EQ(thread->pagenumber(), thread->totalpages());
    // A reload asks for the page it shows.
    thread->reload();
    ASSERT_TRUE(settle());
    EXPECT_EQ(lastRequest(QStringLiteral("showthread")).field(QStringLiteral("pagenumber")),
              QString::number(thread->totalpages()));
    thread->removeObserver(&observer);
}

TEST_F(ForumBrowsing, ReloadOfAThreadWithNoPageAsksForPageOne)
{
    openGuestSession();
    const ThreadPtr thread = Thread::initWithThreadid(302);
    thread->reload();
    ASSERT_TRUE(settle());
    EXPECT_EQ(lastRequest(QStringLiteral("showthread")).field(QStringLiteral("pagenumber")), u"1");
    EXPECT_FALSE(thread->postsOnPage(1).isEmpty());
}

TEST_F(ForumBrowsing, ProtectedForumWithItsPasswordEveryCallCarriesTheHash)
{
    const CurrentUserPtr alice = signIn(QStringLiteral("alice"), QStringLiteral("secret1"));
    const ForumInfoPtr info = ForumInfo::getInstance();
    info->fetchForumList();
    ASSERT_TRUE(settle());
    const ForumPtr lounge = info->searchForum(20);
    ASSERT_TRUE(lounge);

    lounge->fetchPage(1);
    ASSERT_TRUE(settle());
    EXPECT_TRUE(lounge->threadsOnPage(1).isEmpty());
    std::shared_ptr<AlertView> prompt = passwordPrompt();
    ASSERT_TRUE(prompt);

    // A wrong password asks again.
    prompt->setTextFieldText(QStringLiteral("guess"));
    prompt->dismissWithClickedButtonIndex(1);
    ASSERT_TRUE(settle());
    prompt = passwordPrompt();
    ASSERT_TRUE(prompt);
    prompt->setTextFieldText(QStringLiteral("letmein"));
    prompt->dismissWithClickedButtonIndex(1);
    ASSERT_TRUE(settle());
    EXPECT_FALSE(passwordPrompt());
    const QList<ThreadPtr> threads = lounge->threadsOnPage(1);
    ASSERT_FALSE(threads.isEmpty());

    const QString hash = StringExtensions::md5(QString::number(alice->userid()) + QStringLiteral("letmein"));
    EXPECT_EQ(lastRequest(QStringLiteral("forumdisplay")).field(QStringLiteral("forumpwdmd5")), hash);
    const ThreadPtr staff = threads.first();
    staff->fetchPage(1);
    ASSERT_TRUE(settle());
    EXPECT_EQ(lastRequest(QStringLiteral("showthread")).field(QStringLiteral("forumpwdmd5")), hash);
    EXPECT_FALSE(staff->postsOnPage(1).isEmpty());
    staff->fetchSpecialPage();
    ASSERT_TRUE(settle());
    EXPECT_EQ(lastRequest(QStringLiteral("api_gotonewpost")).field(QStringLiteral("forumpwdmd5")), hash);
    lounge->refresh();
    ASSERT_TRUE(settle());
    EXPECT_EQ(lastRequest(QStringLiteral("forumdisplay")).field(QStringLiteral("forumpwdmd5")), hash);
    // Other forums do not get it.
    info->searchForum(3)->fetchPage(1);
    ASSERT_TRUE(settle());
    EXPECT_FALSE(lastRequest(QStringLiteral("forumdisplay")).fields.contains(QStringLiteral("forumpwdmd5")));
}

TEST_F(ForumBrowsing, PostOnItsOwnAndAnAnnouncement)
{
    openGuestSession();
    const PostPtr post = Post::initWithPostid(5021);
    RecordingObserver observer;
    post->addObserver(&observer);
    ASSERT_TRUE(settle());
    EXPECT_GE(observer.changes, 1);
    EXPECT_EQ(post->postid(), 5021);
    EXPECT_FALSE(post->user()->username().isEmpty());
    EXPECT_FALSE(post->message().isEmpty());
    const TestForumRequest request = lastRequest(QStringLiteral("showthread"));
    EXPECT_EQ(request.httpMethod, u"POST");
    EXPECT_EQ(request.formPairs, (QList<QPair<QString, QString>>{{QStringLiteral("postid"), QStringLiteral("5021")}}));
    post->removeObserver(&observer);

    // A post that is no longer there leaves the post empty, and says so.
    const PostPtr missing = Post::initWithPostid(99999);
    RecordingObserver missingObserver;
    missing->addObserver(&missingObserver);
    ASSERT_TRUE(settle());
    EXPECT_TRUE(missing->message().isNull());
    EXPECT_EQ(missingObserver.failures, QStringList{tableText(QStringLiteral("invalidid"))});
    missing->removeObserver(&missingObserver);
    // So does a page that does not hold the post.
    forum().setAnswer(QStringLiteral("showthread"), QJsonObject{{QStringLiteral("response"),
                                                                 QJsonObject{{QStringLiteral("pagenumber"), 1}}}});
    const PostPtr elsewhere = Post::initWithPostid(5021);
    RecordingObserver elsewhereObserver;
    elsewhere->addObserver(&elsewhereObserver);
    ASSERT_TRUE(settle());
    EXPECT_EQ(elsewhereObserver.failures, QStringList{tableText(QStringLiteral("invalidid"))});
    elsewhere->removeObserver(&elsewhereObserver);
    forum().clearControls();

    const auto forum3 = Model::create<Forum>();
    forum3->setForumid(3);
    const auto announcement = Model::create<Announcement>();
    announcement->setForum(forum3);
    announcement->setAnnouncementid(2);
    RecordingObserver announcementObserver;
    announcement->addObserver(&announcementObserver);
    announcement->fetchData();
    ASSERT_TRUE(settle());
    EXPECT_EQ(announcement->title(), u"New thread prefixes");
    EXPECT_EQ(announcement->username(), u"moderator");
    EXPECT_TRUE(announcement->message().contains(u"<i>Question</i>"));
    EXPECT_GT(announcement->date().toSecsSinceEpoch(), 0);
    const TestForumRequest view = lastRequest(QStringLiteral("announcement_view"));
    EXPECT_EQ(view.httpMethod, u"POST");
    EXPECT_EQ(view.field(QStringLiteral("forumid")), u"3");
    EXPECT_EQ(view.field(QStringLiteral("announcementId")), u"2");
    EXPECT_TRUE(announcementObserver.failures.isEmpty());

    // No connection: the announcement's observers hear it once.
    forum().dropConnection(QStringLiteral("announcement_view"), 3, TestForum::Drop::BeforeAnswer);
    announcement->fetchData();
    ASSERT_TRUE(settle());
    EXPECT_EQ(announcementObserver.failures, QStringList{tableText(QStringLiteral("nointernet"))});
    announcement->removeObserver(&announcementObserver);
}
