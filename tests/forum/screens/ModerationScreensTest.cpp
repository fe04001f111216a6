#include "ForumScreenTest.h"

#include "app/session/CurrentUser.h"
#include "app/widgets/PaginableTableView.h"
#include "app/widgets/TabBarHidding.h"
#include "forum/cells/PostCell.h"
#include "forum/cells/SelectPostCell.h"
#include "forum/cells/SelectThreadCell.h"
#include "forum/model/Post.h"
#include "forum/screens/ForumModerationScreens.h"
#include "forum/screens/InsertTextController.h"
#include "forum/screens/PostController.h"
#include "forum/screens/PostModerateController.h"
#include "forum/screens/SelectForumController.h"
#include "forum/screens/ThreadController.h"
#include "forum/screens/ThreadModerateController.h"

#include "platform/ui/ActionSheet.h"
#include "platform/ui/NavigationItem.h"
#include "platform/ui/Screenshot.h"
#include "platform/ui/TextField.h"

#include "platform/foundation/Bundle.h"

#include <QJsonArray>
#include <QKeyEvent>
#include <QLineEdit>

using namespace Qt::Literals::StringLiterals;

// The moderation screens on the loopback forum: a moderator acts on the
// threads of General Discussion (forum 3) and on the posts of its threads;
// every action is read back from what the forum serves.
namespace {

class ModerationScreensTest : public ForumScreenTest {
protected:
    void SetUp() override
    {
        ForumScreenTest::SetUp();
        ForumModerationScreens::registerClasses(context());
    }
    void TearDown() override
    {
        ForumModerationScreens::unregisterClasses();
        ForumScreenTest::TearDown();
    }

    // The forum's thread list, then its moderation screen from the bar.
    ThreadModerateController* moderateForum(qint32 forumid)
    {
        auto forumModel = std::make_shared<Forum>();
        forumModel->setForumid(forumid);
        auto threads = std::make_shared<ThreadController>(context());
        threads->setForum(forumModel);
        showRoot(threads);
        settleAll();
        EXPECT_FALSE(threads->actions()->isHiddenAtIndex(ThreadController::ModerateItem));
        threads->actions()->tapItem(threads->moderate());
        finishMoving();
        settleAll();
        return topAs<ThreadModerateController>();
    }
    // A thread's page, then its moderation screen from the bar.
    PostModerateController* moderateThread(qint32 forumid, qint32 threadid)
    {
        auto forumModel = std::make_shared<Forum>();
        forumModel->setForumid(forumid);
        auto thread = Thread::initWithThreadid(threadid);
        thread->setForum(forumModel);
        m_forums.append(forumModel);
        auto page = std::make_shared<PostController>(context());
        page->setThread(thread);
        showRoot(page);
        settleAll();
        EXPECT_FALSE(page->actions()->isHiddenAtIndex(PostController::Moderate));
        page->actions()->tapItem(page->item(PostController::Moderate));
        finishMoving();
        settleAll();
        return topAs<PostModerateController>();
    }
    // The row of the object of that id in a paged list, scrolled into view and tapped.
    template <typename M>
    void tapRowOf(PaginableTableView* list, qint32 id)
    {
        for (int section = 0; section < list->tableView()->numberOfSections(); ++section) {
            const QList<ModelPtr> rows = list->rowsForSection(section);
            for (int row = 0; row < rows.size(); ++row) {
                const auto model = std::dynamic_pointer_cast<M>(rows.at(row));
                if (model && idOf(*model) == id) {
                    tapRow(list->tableView(), IndexPath{section, row});
                    return;
                }
            }
        }
        ADD_FAILURE() << "no row of " << id;
    }
    template <typename M>
    static std::shared_ptr<M> rowOf(PaginableTableView* list, qint32 id)
    {
        for (int section = 0; section < list->tableView()->numberOfSections(); ++section) {
            for (const ModelPtr& row : list->rowsForSection(section)) {
                const auto model = std::dynamic_pointer_cast<M>(row);
                if (model && idOf(*model) == id)
                    return model;
            }
        }
        return nullptr;
    }
    static qint32 idOf(const Thread& thread) { return thread.threadid(); }
    static qint32 idOf(const Post& post) { return post.postid(); }
    static QStringList shownTitles(TabBarHidding* bar)
    {
        QStringList titles;
        for (const TabBarItemPtr& item : bar->items())
            titles.append(item->title());
        return titles;
    }
    // The one alert on screen: its message; it is answered with the button.
    static QString answerAlert(int button)
    {
        EXPECT_EQ(AlertView::visibleAlerts().size(), 1);
        if (AlertView::visibleAlerts().isEmpty())
            return QString();
        const std::shared_ptr<AlertView> alert = AlertView::visibleAlerts().first();
        const QString message = alert->message();
        alert->dismissWithClickedButtonIndex(button);
        return message;
    }
    bool threadFlag(qint32 threadid, const char* flag) { return forum().threadState(threadid).value(QString::fromLatin1(flag)).toBool(); }
    bool postFlag(qint32 postid, const char* flag) { return forum().postState(postid).value(QString::fromLatin1(flag)).toBool(); }
    QList<qint32> postsOf(qint32 threadid)
    {
        QList<qint32> ids;
        for (const QJsonValue& id : forum().threadState(threadid).value(u"posts"_s).toArray())
            ids.append(id.toInt());
        return ids;
    }
    // In the forum picker on top: the forum of that id, tapped where it is listed.
    void pickForum(qint32 forumid)
    {
        auto* picker = topAs<SelectForumController>();
        ASSERT_NE(picker, nullptr);
        settleAll();
        TableView* table = picker->forumTable();
        for (int section = 0; section < table->numberOfSections(); ++section) {
            for (int row = 0; row < table->numberOfRowsInSection(section); ++row) {
                const ForumPtr forum = picker->retrieveForumAtIndexPath(IndexPath{section, row});
                if (forum && forum->forumid() == forumid) {
                    tapRow(table, IndexPath{section, row});
                    return;
                }
            }
        }
        ADD_FAILURE() << "the picker lists no forum " << forumid;
    }
    // In the one-line prompt on top: the text typed, then Return.
    void enterTitle(const QString& title)
    {
        auto* prompt = topAs<InsertTextController>();
        ASSERT_NE(prompt, nullptr);
        ASSERT_TRUE(prompt->input()->isFirstResponder()) << "the line takes the keyboard as the prompt shows";
        UserInput::key(Qt::Key_A, Qt::ControlModifier, QString(), window.get());
        UserInput::type(title, window.get());
        UserInput::key(Qt::Key_Return, Qt::NoModifier, QString(), window.get());
        finishMoving();
    }
    // Threads of the forum that were not there before.
    QList<int> newThreadsIn(qint32 forumid, const QList<int>& before)
    {
        QList<int> made = forum().threadIdsIn(forumid);
        for (int id : before)
            made.removeAll(id);
        return made;
    }
    void picture(const QString& name)
    {
        finishMoving();
        EXPECT_TRUE(Screenshot::savePNG(window.get(), TestSupport::galleryPath(name)));
    }

    QList<ForumPtr> m_forums;
};

}  // namespace

TEST_F(ModerationScreensTest, EveryThreadActionChangesTheRowsAtOnceAndWhatTheForumServes)
{
    signIn(u"moderator"_s, u"modpass"_s);
    ThreadModerateController* screen = moderateForum(3);
    ASSERT_NE(screen, nullptr);
    EXPECT_EQ(screen->navigationItem()->rightBarButtonItem(), nullptr);
    EXPECT_EQ(shownTitles(screen->actions()),
              (QStringList{u"Delete"_s, u"Close"_s, u"Move"_s, u"Approve"_s, u"Stick"_s}));
    PaginableTableView* list = screen->threadTable();

    // Nothing chosen: the bar says so and asks nothing.
    const int before = int(forum().requests().size());
    screen->actions()->tapItem(screen->closeBtn());
    EXPECT_EQ(answerAlert(0), u"Please select the threads first.");
    EXPECT_EQ(forum().requests().size(), before);

    // Two threads chosen; announcements cannot be.
    for (const ModelPtr& row : list->rowsForSection(0)) {
        const auto thread = std::dynamic_pointer_cast<Thread>(row);
        if (thread && thread->isAnnouncement()) {
            tapRowOf<Thread>(list, thread->threadid());
            break;
        }
    }
    EXPECT_TRUE(screen->selectedThreads().isEmpty());
    tapRowOf<Thread>(list, 459);
    tapRowOf<Thread>(list, 458);
    EXPECT_EQ(screen->selectedThreadsId(), (QStringList{u"459"_s, u"458"_s}));
    auto* mark = qobject_cast<SelectThreadCell*>(list->tableView()->visibleCells().value(0));
    ASSERT_NE(mark, nullptr);
    picture(u"moderate-threads.png"_s);

    // Close, then open: asked first; the rows change at once, the forum follows.
    screen->actions()->tapItem(screen->closeBtn());
    EXPECT_EQ(answerAlert(1), u"Close the selected threads?");
    EXPECT_TRUE(rowOf<Thread>(list, 459)->isClosed());
    EXPECT_TRUE(screen->selectedThreads().isEmpty());
    settleAll();
    EXPECT_TRUE(threadFlag(459, "closed"));
    EXPECT_TRUE(threadFlag(458, "closed"));
    tapRowOf<Thread>(list, 459);
    tapRowOf<Thread>(list, 458);
    EXPECT_EQ(screen->closeBtn()->title(), u"Open");
    screen->actions()->tapItem(screen->closeBtn());
    EXPECT_EQ(answerAlert(1), u"Open the selected threads?");
    settleAll();
    EXPECT_FALSE(threadFlag(459, "closed"));
    EXPECT_FALSE(rowOf<Thread>(list, 459)->isClosed());
    // A "no" leaves everything as it was.
    tapRowOf<Thread>(list, 459);
    screen->actions()->tapItem(screen->closeBtn());
    EXPECT_EQ(answerAlert(0), u"Close the selected threads?");
    settleAll();
    EXPECT_FALSE(threadFlag(459, "closed"));
    EXPECT_EQ(screen->selectedThreads().size(), 1);

    // Stick and unstick.
    screen->actions()->tapItem(screen->stickBtn());
    EXPECT_EQ(answerAlert(1), u"Stick the selected threads?");
    EXPECT_TRUE(rowOf<Thread>(list, 459)->isSticky());
    settleAll();
    EXPECT_TRUE(threadFlag(459, "sticky"));
    list->refreshModel();
    settleAll();
    ASSERT_NE(rowOf<Thread>(list, 459), nullptr);
    EXPECT_TRUE(rowOf<Thread>(list, 459)->isSticky());
    tapRowOf<Thread>(list, 459);
    EXPECT_EQ(screen->stickBtn()->title(), u"Unstick");
    screen->actions()->tapItem(screen->stickBtn());
    EXPECT_EQ(answerAlert(1), u"Unstick the selected threads?");
    settleAll();
    EXPECT_FALSE(threadFlag(459, "sticky"));

    // Unapprove and approve.
    tapRowOf<Thread>(list, 458);
    EXPECT_EQ(screen->approvedBtn()->title(), u"Unapprove");
    screen->actions()->tapItem(screen->approvedBtn());
    EXPECT_EQ(answerAlert(1), u"Unapprove the selected threads?");
    EXPECT_FALSE(rowOf<Thread>(list, 458)->isApproved());
    settleAll();
    EXPECT_FALSE(threadFlag(458, "approved"));
    tapRowOf<Thread>(list, 458);
    EXPECT_EQ(screen->approvedBtn()->title(), u"Approve");
    screen->actions()->tapItem(screen->approvedBtn());
    EXPECT_EQ(answerAlert(1), u"Approve the selected threads?");
    settleAll();
    EXPECT_TRUE(threadFlag(458, "approved"));

    // Delete, from the sheet: the thread and its loaded posts are marked.
    const ThreadPtr doomed = rowOf<Thread>(list, 457);
    ASSERT_NE(doomed, nullptr);
    doomed->fetchPage(1);
    settleAll();
    ASSERT_FALSE(doomed->pages().isEmpty());
    tapRowOf<Thread>(list, 457);
    screen->actions()->tapItem(screen->deleteBtn());
    ASSERT_NE(screen->deleteAction(), nullptr);
    EXPECT_EQ(screen->deleteAction()->buttonTitleAtIndex(0), u"Delete");
    EXPECT_EQ(screen->deleteAction()->buttonTitleAtIndex(1), u"Delete as spam");
    screen->deleteAction()->dismissWithClickedButtonIndex(0, false);
    EXPECT_FALSE(screen->isSpam());
    EXPECT_EQ(answerAlert(1), u"Delete the selected threads?");
    EXPECT_TRUE(doomed->deleted());
    for (const ModelPtr& row : doomed->pages().first()) {
        const auto post = std::static_pointer_cast<Post>(row);
        EXPECT_TRUE(post->isDeleted());
        EXPECT_EQ(post->del_username(), u"moderator");
    }
    settleAll();
    EXPECT_TRUE(threadFlag(457, "deleted"));
    EXPECT_EQ(lastRequest(u"inlinemod_dodeletethreads"_s).field(u"threadids"_s), u"457");

    // A deleted and a live thread together: the item undeletes both.
    tapRowOf<Thread>(list, 457);
    tapRowOf<Thread>(list, 456);
    EXPECT_EQ(screen->deleteBtn()->title(), u"Undelete");
    screen->actions()->tapItem(screen->deleteBtn());
    EXPECT_EQ(screen->deleteAction(), nullptr);
    EXPECT_EQ(answerAlert(1), u"Undelete the selected threads?");
    settleAll();
    EXPECT_FALSE(threadFlag(457, "deleted"));
    EXPECT_FALSE(rowOf<Thread>(list, 457)->deleted());
    for (const ModelPtr& row : doomed->pages().first())
        EXPECT_FALSE(std::static_pointer_cast<Post>(row)->isDeleted());

    // Delete as spam: the starters are asked for, then the threads go.
    tapRowOf<Thread>(list, 455);
    screen->actions()->tapItem(screen->deleteBtn());
    ASSERT_NE(screen->deleteAction(), nullptr);
    screen->deleteAction()->dismissWithClickedButtonIndex(1, false);
    EXPECT_TRUE(screen->isSpam());
    EXPECT_EQ(answerAlert(1), u"Delete the selected threads?");
    settleAll();
    EXPECT_TRUE(threadFlag(455, "deleted"));
    const TestForumRequest spam = lastRequest(u"inlinemod_dodeletespam"_s);
    EXPECT_EQ(spam.field(u"threadids"_s), u"455");
    EXPECT_EQ(spam.fieldValues(u"userid[]"_s),
              QStringList{QString::number(forum().threadState(455).value(u"userid"_s).toInt())});
    EXPECT_TRUE(AlertView::visibleAlerts().isEmpty());
}

TEST_F(ModerationScreensTest, EachThreadActionRefusedShowsItsErrorOnceAndTheListAsTheForumHasIt)
{
    signIn(u"moderator"_s, u"modpass"_s);
    ThreadModerateController* screen = moderateForum(3);
    ASSERT_NE(screen, nullptr);
    PaginableTableView* list = screen->threadTable();
    const QString refusal = tableText(u"nopermission_loggedin"_s);
    struct Action {
        const char* method;
        TabBarItemPtr item;
        int sheetButton;  // -1: no sheet
        std::function<bool(const Thread&)> flag;
        const char* served;
    };
    const QList<Action> actions{
        {"inlinemod_close", screen->closeBtn(), -1, [](const Thread& t) { return t.isClosed(); }, "closed"},
        {"inlinemod_stick", screen->stickBtn(), -1, [](const Thread& t) { return t.isSticky(); }, "sticky"},
        {"inlinemod_unapprovethread", screen->approvedBtn(), -1, [](const Thread& t) { return !t.isApproved(); },
         "approved"},
        {"inlinemod_dodeletethreads", screen->deleteBtn(), 0, [](const Thread& t) { return t.deleted(); }, "deleted"},
        {"inlinemod_spamthread", screen->deleteBtn(), 1, [](const Thread& t) { return t.deleted(); }, "deleted"},
        {"inlinemod_dodeletespam", screen->deleteBtn(), 1, [](const Thread& t) { return t.deleted(); }, "deleted"},
    };
    for (const Action& action : actions) {
        SCOPED_TRACE(action.method);
        const QJsonObject served = forum().threadState(454);
        forum().answerError(QString::fromLatin1(action.method), QJsonValue(u"nopermission_loggedin"_s));
        tapRowOf<Thread>(list, 454);
        screen->actions()->tapItem(action.item);
        if (action.sheetButton >= 0) {
            ASSERT_NE(screen->deleteAction(), nullptr);
            screen->deleteAction()->dismissWithClickedButtonIndex(action.sheetButton, false);
        }
        answerAlert(1);
        // At once the row shows what was asked; the refusal puts it back.
        EXPECT_TRUE(action.flag(*rowOf<Thread>(list, 454)));
        settleAll();
        EXPECT_EQ(visibleAlerts(refusal).size(), 1);
        EXPECT_EQ(AlertView::visibleAlerts().size(), 1);
        dismissAlerts();
        settleAll();
        ASSERT_NE(rowOf<Thread>(list, 454), nullptr);
        EXPECT_FALSE(action.flag(*rowOf<Thread>(list, 454)));
        EXPECT_EQ(forum().threadState(454), served);
        forum().clearControls();
    }
    // Refusals of the undoing actions too.
    const QList<std::pair<const char*, TabBarItemPtr>> undoing{
        {"inlinemod_open", screen->closeBtn()},
        {"inlinemod_unstick", screen->stickBtn()},
        {"inlinemod_approvethread", screen->approvedBtn()},
        {"inlinemod_undeletethread", screen->deleteBtn()},
    };
    // The thread closed, stuck, unapproved and deleted, as the forum has it.
    for (const auto& [item, word] : QList<std::pair<TabBarItemPtr, int>>{
             {screen->closeBtn(), 1}, {screen->stickBtn(), 1}, {screen->approvedBtn(), 1}}) {
        tapRowOf<Thread>(list, 453);
        screen->actions()->tapItem(item);
        answerAlert(word);
        settleAll();
    }
    tapRowOf<Thread>(list, 453);
    screen->actions()->tapItem(screen->deleteBtn());
    screen->deleteAction()->dismissWithClickedButtonIndex(0, false);
    answerAlert(1);
    settleAll();
    list->refreshModel();
    settleAll();
    const QJsonObject undone = forum().threadState(453);
    ASSERT_TRUE(undone.value(u"closed"_s).toBool() && undone.value(u"sticky"_s).toBool()
                && !undone.value(u"approved"_s).toBool() && undone.value(u"deleted"_s).toBool());
    for (const auto& [method, item] : undoing) {
        SCOPED_TRACE(method);
        forum().answerError(QString::fromLatin1(method), QJsonValue(u"nopermission_loggedin"_s));
        tapRowOf<Thread>(list, 453);
        screen->actions()->tapItem(item);
        answerAlert(1);
        settleAll();
        EXPECT_EQ(visibleAlerts(refusal).size(), 1);
        dismissAlerts();
        settleAll();
        const ThreadPtr row = rowOf<Thread>(list, 453);
        ASSERT_NE(row, nullptr);
        EXPECT_TRUE(row->isClosed() && row->isSticky() && !row->isApproved() && row->deleted());
        EXPECT_EQ(forum().threadState(453), undone);
        forum().clearControls();
    }
}

TEST_F(ModerationScreensTest, TheItemsFollowTheForumsPermissionsAloneAndActAsTapped)
{
    signIn(u"moderator"_s, u"modpass"_s);
    ThreadModerateController* screen = moderateForum(3);
    ASSERT_NE(screen, nullptr);
    const ForumPtr shown = screen->forum();
    // A forum that lets the moderator close but not delete, and not search:
    // the approve item stays, the delete item goes, and "Close" closes.
    shown->setCanDeleteThreads(false);
    shown->setCanDeleteThreadsAsSpam(false);
    shown->setCanSearchForums(false);
    screen->updateLayout();
    EXPECT_TRUE(screen->actions()->isHiddenAtIndex(ThreadModerateController::DeleteStatus));
    EXPECT_FALSE(screen->actions()->isHiddenAtIndex(ThreadModerateController::ApproveStatus));
    EXPECT_FALSE(screen->actions()->isHiddenAtIndex(ThreadModerateController::CloseStatus));
    tapRowOf<Thread>(screen->threadTable(), 452);
    screen->actions()->tapItem(screen->closeBtn());
    EXPECT_EQ(screen->status(), ThreadModerateController::CloseStatus);
    EXPECT_EQ(answerAlert(1), u"Close the selected threads?");
    settleAll();
    EXPECT_TRUE(threadFlag(452, "closed"));

    // Only deleting as spam: no sheet, straight to the question, then spam.
    shown->setCanDeleteThreadsAsSpam(true);
    screen->updateLayout();
    EXPECT_FALSE(screen->actions()->isHiddenAtIndex(ThreadModerateController::DeleteStatus));
    tapRowOf<Thread>(screen->threadTable(), 452);
    screen->actions()->tapItem(screen->deleteBtn());
    EXPECT_EQ(screen->deleteAction(), nullptr);
    EXPECT_TRUE(screen->isSpam());
    EXPECT_EQ(answerAlert(1), u"Delete the selected threads?");
    settleAll();
    EXPECT_TRUE(threadFlag(452, "deleted"));
    EXPECT_FALSE(forum().requests(u"inlinemod_dodeletespam"_s).isEmpty());
    EXPECT_TRUE(forum().requests(u"inlinemod_dodeletethreads"_s).isEmpty());
    // Only plain deleting: no sheet either.
    shown->setCanDeleteThreads(true);
    shown->setCanDeleteThreadsAsSpam(false);
    tapRowOf<Thread>(screen->threadTable(), 451);
    screen->actions()->tapItem(screen->deleteBtn());
    EXPECT_EQ(screen->deleteAction(), nullptr);
    EXPECT_FALSE(screen->isSpam());
    answerAlert(1);
    settleAll();
    EXPECT_EQ(lastRequest(u"inlinemod_dodeletethreads"_s).field(u"threadids"_s), u"451");
}

TEST_F(ModerationScreensTest, EveryPostActionChangesTheRowsAtOnceAndWhatTheForumServes)
{
    signIn(u"moderator"_s, u"modpass"_s);
    PostModerateController* screen = moderateThread(3, 302);
    ASSERT_NE(screen, nullptr);
    EXPECT_EQ(shownTitles(screen->actions()), (QStringList{u"Delete"_s, u"Approve"_s, u"Approve files"_s, u"Move"_s}));
    PaginableTableView* list = screen->postTable();
    EXPECT_TRUE(screen->appendArrayOfObjects().has_value() && screen->appendArrayOfObjects()->isEmpty());
    const QList<qint32> posts = postsOf(302);
    ASSERT_GE(posts.size(), 3);

    screen->actions()->tapItem(screen->deleteBtn());
    EXPECT_EQ(answerAlert(0), u"Please select the posts first.");

    // The row a post takes, by its id.
    const auto rowHeight = [&](qint32 id) {
        const QList<ModelPtr> rows = list->rowsForSection(0);
        for (int row = 0; row < rows.size(); ++row) {
            if (const auto post = std::dynamic_pointer_cast<Post>(rows.at(row)); post && post->postid() == id)
                return list->tableView()->rectForRowAtIndexPath(IndexPath{0, row}).height();
        }
        return qreal(-1);
    };
    const qreal pictureRow = rowHeight(posts[1]);
    ASSERT_GT(pictureRow, 150.0) << "a post with its pictures";

    // Delete two posts, asked first.
    tapRowOf<Post>(list, posts[1]);
    tapRowOf<Post>(list, posts[2]);
    auto* marked = qobject_cast<SelectPostCell*>(list->tableView()->visibleCells().value(1));
    ASSERT_NE(marked, nullptr);
    EXPECT_TRUE(marked->isMarked());
    picture(u"moderate-posts.png"_s);
    screen->actions()->tapItem(screen->deleteBtn());
    EXPECT_EQ(answerAlert(0), u"Delete the selected posts?");
    EXPECT_FALSE(rowOf<Post>(list, posts[1])->isDeleted());
    EXPECT_EQ(screen->selectedPosts().size(), 2);
    screen->actions()->tapItem(screen->deleteBtn());
    EXPECT_EQ(answerAlert(1), u"Delete the selected posts?");
    EXPECT_TRUE(rowOf<Post>(list, posts[1])->isDeleted());
    EXPECT_EQ(rowOf<Post>(list, posts[1])->del_username(), u"moderator");
    settleAll();
    EXPECT_TRUE(postFlag(posts[1], "deleted"));
    EXPECT_TRUE(postFlag(posts[2], "deleted"));
    // A deleted post is one line under its header, not the room its pictures took.
    EXPECT_GT(rowHeight(posts[1]), PostCell::kChrome);
    EXPECT_LT(rowHeight(posts[1]), PostCell::kChrome + 30);
    EXPECT_EQ(lastRequest(u"inlinemod_dodeleteposts"_s).field(u"postids"_s),
              QString::number(posts[1]) + u',' + QString::number(posts[2]));

    // A deleted and a live post: undeleted both at once, unasked.
    tapRowOf<Post>(list, posts[1]);
    tapRowOf<Post>(list, posts[0]);
    EXPECT_EQ(screen->deleteBtn()->title(), u"Undelete");
    screen->actions()->tapItem(screen->deleteBtn());
    EXPECT_TRUE(AlertView::visibleAlerts().isEmpty());
    settleAll();
    EXPECT_FALSE(postFlag(posts[1], "deleted"));
    EXPECT_FALSE(postFlag(posts[0], "deleted"));

    // Unapprove, then approve.
    tapRowOf<Post>(list, posts[0]);
    EXPECT_EQ(screen->approveBtn()->title(), u"Unapprove");
    screen->actions()->tapItem(screen->approveBtn());
    EXPECT_FALSE(rowOf<Post>(list, posts[0])->isApproved());
    settleAll();
    EXPECT_FALSE(postFlag(posts[0], "approved"));
    tapRowOf<Post>(list, posts[0]);
    EXPECT_EQ(screen->approveBtn()->title(), u"Approve");
    screen->actions()->tapItem(screen->approveBtn());
    settleAll();
    EXPECT_TRUE(postFlag(posts[0], "approved"));

    // The attachments of carol's post: one of them waits, so the item approves.
    const auto files = [&](qint32 postid) {
        QList<bool> approved;
        for (const QJsonValue& file : forum().postState(postid).value(u"attachments"_s).toArray())
            approved.append(file.toObject().value(u"approved"_s).toBool());
        return approved;
    };
    ASSERT_TRUE(files(posts[1]).contains(false));
    tapRowOf<Post>(list, posts[1]);
    EXPECT_EQ(screen->approveAttachmentBtn()->title(), u"Approve files");
    screen->actions()->tapItem(screen->approveAttachmentBtn());
    EXPECT_TRUE(rowOf<Post>(list, posts[1])->isApprovedAttachment());
    settleAll();
    EXPECT_FALSE(files(posts[1]).contains(false));
    // Both posts, one with its files approved: the item holds all of them.
    tapRowOf<Post>(list, posts[1]);
    EXPECT_EQ(screen->approveAttachmentBtn()->title(), u"Hold files");
    screen->actions()->tapItem(screen->approveAttachmentBtn());
    EXPECT_FALSE(rowOf<Post>(list, posts[1])->isApprovedAttachment());
    settleAll();
    EXPECT_FALSE(files(posts[1]).contains(true));
    // A reload shows what the forum serves: the files wait.
    list->refreshModel();
    settleAll();
    EXPECT_FALSE(rowOf<Post>(list, posts[1])->isApprovedAttachment());
    EXPECT_TRUE(AlertView::visibleAlerts().isEmpty());
}

TEST_F(ModerationScreensTest, EachPostActionRefusedShowsItsErrorOnceAndThePageAsTheForumHasIt)
{
    signIn(u"moderator"_s, u"modpass"_s);
    PostModerateController* screen = moderateThread(3, 302);
    ASSERT_NE(screen, nullptr);
    PaginableTableView* list = screen->postTable();
    const qint32 postid = postsOf(302).at(1);
    const QString refusal = tableText(u"nopermission_loggedin"_s);
    struct Action {
        const char* method;
        TabBarItemPtr item;
        bool asked;
        std::function<bool(const Post&)> changed;
    };
    const QList<Action> actions{
        {"inlinemod_dodeleteposts", screen->deleteBtn(), true, [](const Post& p) { return p.isDeleted(); }},
        {"inlinemod_unapproveposts", screen->approveBtn(), false, [](const Post& p) { return !p.isApproved(); }},
        {"inlinemod_approveattachments", screen->approveAttachmentBtn(), false,
         [](const Post& p) { return p.isApprovedAttachment(); }},
    };
    for (const Action& action : actions) {
        SCOPED_TRACE(action.method);
        const QJsonObject served = forum().postState(postid);
        forum().answerError(QString::fromLatin1(action.method), QJsonValue(u"nopermission_loggedin"_s));
        tapRowOf<Post>(list, postid);
        screen->actions()->tapItem(action.item);
        if (action.asked)
            answerAlert(1);
        EXPECT_TRUE(action.changed(*rowOf<Post>(list, postid)));
        settleAll();
        EXPECT_EQ(visibleAlerts(refusal).size(), 1);
        EXPECT_EQ(AlertView::visibleAlerts().size(), 1);
        dismissAlerts();
        settleAll();
        ASSERT_NE(rowOf<Post>(list, postid), nullptr);
        EXPECT_FALSE(action.changed(*rowOf<Post>(list, postid)));
        EXPECT_EQ(forum().postState(postid), served);
        forum().clearControls();
    }

    // The post deleted, unapproved and its files approved, as the forum has
    // it; then each action that would undo that refused.
    tapRowOf<Post>(list, postid);
    screen->actions()->tapItem(screen->deleteBtn());
    answerAlert(1);
    for (const TabBarItemPtr& item : {screen->approveBtn(), screen->approveAttachmentBtn()}) {
        tapRowOf<Post>(list, postid);
        screen->actions()->tapItem(item);
    }
    settleAll();
    list->refreshModel();
    settleAll();
    const QJsonObject undone = forum().postState(postid);
    const auto held = [](const Post& p) { return p.isDeleted() && !p.isApproved() && p.isApprovedAttachment(); };
    ASSERT_TRUE(held(*rowOf<Post>(list, postid)));
    const QList<std::pair<const char*, TabBarItemPtr>> undoing{
        {"inlinemod_undeleteposts", screen->deleteBtn()},
        {"inlinemod_approveposts", screen->approveBtn()},
        {"inlinemod_unapproveattachments", screen->approveAttachmentBtn()},
    };
    for (const auto& [method, item] : undoing) {
        SCOPED_TRACE(method);
        forum().answerError(QString::fromLatin1(method), QJsonValue(u"nopermission_loggedin"_s));
        tapRowOf<Post>(list, postid);
        screen->actions()->tapItem(item);
        settleAll();
        EXPECT_EQ(visibleAlerts(refusal).size(), 1);
        dismissAlerts();
        settleAll();
        ASSERT_NE(rowOf<Post>(list, postid), nullptr);
        EXPECT_TRUE(held(*rowOf<Post>(list, postid)));
        EXPECT_EQ(forum().postState(postid), undone);
        forum().clearControls();
    }
}

TEST_F(ModerationScreensTest, ThreadsMoveOrOneIsCopiedToTheForumPickedAndARefusalSaysWhyOnce)
{
    signIn(u"moderator"_s, u"modpass"_s);
    ThreadModerateController* screen = moderateForum(3);
    ASSERT_NE(screen, nullptr);
    PaginableTableView* list = screen->threadTable();
    const QList<ViewControllerPtr> stack = navigation()->viewControllers();

    // Two threads: the sheet offers no copy; the picker closed at its top moves nothing.
    tapRowOf<Thread>(list, 459);
    tapRowOf<Thread>(list, 458);
    screen->actions()->tapItem(screen->moveBtn());
    ASSERT_NE(screen->moveAction(), nullptr);
    EXPECT_EQ(screen->moveAction()->numberOfButtons(), 2);
    EXPECT_EQ(screen->moveAction()->buttonTitleAtIndex(0), u"Move to another forum");
    EXPECT_EQ(screen->moveAction()->buttonTitleAtIndex(1), u"Cancel");
    screen->moveAction()->dismissWithClickedButtonIndex(0, false);
    finishMoving();
    auto* picker = topAs<SelectForumController>();
    ASSERT_NE(picker, nullptr);
    settleAll();
    picker->handleBack();
    finishMoving();
    EXPECT_EQ(navigation()->viewControllers(), stack);
    EXPECT_TRUE(requestsOf("inlinemod_domovethreads").isEmpty());
    EXPECT_EQ(screen->selectedThreads().size(), 2);

    // Moved to Introductions: told so, and both lists as the forum has them.
    screen->actions()->tapItem(screen->moveBtn());
    screen->moveAction()->dismissWithClickedButtonIndex(0, false);
    finishMoving();
    pickForum(6);
    finishMoving();
    EXPECT_EQ(navigation()->viewControllers(), stack);
    settleAll();
    EXPECT_EQ(answerAlert(0), Bundle::main().localizedString(u"move_thread_success"_s));
    EXPECT_EQ(forum().threadState(459).value(u"forumid"_s).toInt(), 6);
    EXPECT_EQ(forum().threadState(458).value(u"forumid"_s).toInt(), 6);
    EXPECT_EQ(lastRequest(u"inlinemod_domovethreads"_s).field(u"threadids"_s), u"459,458");
    settleAll();
    EXPECT_EQ(rowOf<Thread>(list, 459), nullptr);
    EXPECT_TRUE(screen->selectedThreads().isEmpty());

    // One thread copied: a new thread there, the thread still here, nothing to say.
    const QList<int> introductions = forum().threadIdsIn(6);
    tapRowOf<Thread>(list, 457);
    screen->actions()->tapItem(screen->moveBtn());
    ASSERT_EQ(screen->moveAction()->numberOfButtons(), 3);
    EXPECT_EQ(screen->moveAction()->buttonTitleAtIndex(1), u"Copy to another forum");
    screen->moveAction()->dismissWithClickedButtonIndex(1, false);
    EXPECT_EQ(screen->status(), ThreadModerateController::CopyStatus);
    finishMoving();
    pickForum(6);
    settleAll();
    EXPECT_TRUE(AlertView::visibleAlerts().isEmpty());
    const QList<int> copies = newThreadsIn(6, introductions);
    ASSERT_EQ(copies.size(), 1);
    EXPECT_EQ(forum().threadState(copies.first()).value(u"title"_s).toString(), forum().threadState(457).value(u"title"_s).toString());
    EXPECT_EQ(forum().threadState(457).value(u"forumid"_s).toInt(), 3);

    // Refused, a move and a copy each say why once and move nothing.
    const QString refusal = tableText(u"nopermission_loggedin"_s);
    forum().answerError(u"inlinemod_domovethreads"_s, QJsonValue(u"nopermission_loggedin"_s));
    tapRowOf<Thread>(list, 456);
    screen->actions()->tapItem(screen->moveBtn());
    screen->moveAction()->dismissWithClickedButtonIndex(0, false);
    finishMoving();
    pickForum(6);
    settleAll();
    EXPECT_EQ(answerAlert(0), refusal);
    settleAll();
    EXPECT_TRUE(AlertView::visibleAlerts().isEmpty());
    EXPECT_EQ(forum().threadState(456).value(u"forumid"_s).toInt(), 3);
    EXPECT_NE(rowOf<Thread>(list, 456), nullptr);
    forum().clearControls();
    forum().answerError(u"postings_docopythread"_s, QJsonValue(u"nopermission_loggedin"_s));
    const QList<int> beforeRefusedCopy = forum().threadIdsIn(6);
    tapRowOf<Thread>(list, 456);
    screen->actions()->tapItem(screen->moveBtn());
    screen->moveAction()->dismissWithClickedButtonIndex(1, false);
    finishMoving();
    pickForum(6);
    settleAll();
    EXPECT_EQ(answerAlert(0), u"Error copying 1/1 threads.\n"_s + refusal);
    settleAll();
    EXPECT_TRUE(AlertView::visibleAlerts().isEmpty());
    EXPECT_TRUE(newThreadsIn(6, beforeRefusedCopy).isEmpty());
}

TEST_F(ModerationScreensTest, PostsMoveOrAreCopiedIntoANewThreadAndOnlyWhatWentThroughIsAnnounced)
{
    signIn(u"moderator"_s, u"modpass"_s);
    PostModerateController* screen = moderateThread(11, 1101);
    ASSERT_NE(screen, nullptr);
    PaginableTableView* list = screen->postTable();
    const QList<ViewControllerPtr> stack = navigation()->viewControllers();
    const QString announced = Bundle::main().localizedString(u"published_successfully"_s);

    // The move form is asked for as the sheet shows; the picker closed at
    // its top brings the moderator straight back, nothing moved.
    tapRowOf<Post>(list, 5005);
    tapRowOf<Post>(list, 5006);
    screen->actions()->tapItem(screen->moveBtn());
    ASSERT_NE(screen->moveAction(), nullptr);
    EXPECT_EQ(screen->moveAction()->buttonTitleAtIndex(0), u"Move to a new thread");
    EXPECT_EQ(screen->moveAction()->buttonTitleAtIndex(1), u"Copy to a new thread");
    EXPECT_EQ(screen->moveAction()->buttonTitleAtIndex(2), u"Cancel");
    settleAll();
    EXPECT_EQ(lastRequest(u"inlinemod_moveposts"_s).body, QByteArray("plist[5005]=1&plist[5006]=1"));
    EXPECT_FALSE(screen->mover()->forums().isEmpty());
    screen->moveAction()->dismissWithClickedButtonIndex(0, false);
    finishMoving();
    ASSERT_NE(topAs<SelectForumController>(), nullptr);
    settleAll();
    picture(u"moderate-posts-picker.png"_s);
    topAs<SelectForumController>()->handleBack();
    finishMoving();
    EXPECT_EQ(navigation()->viewControllers(), stack);

    // Moved: the prompt stands over the picker; once the title is in, both
    // go and the moderation screen is on top again.
    screen->actions()->tapItem(screen->moveBtn());
    screen->moveAction()->dismissWithClickedButtonIndex(0, false);
    finishMoving();
    pickForum(6);
    finishMoving();
    ASSERT_NE(topAs<InsertTextController>(), nullptr);
    EXPECT_EQ(topAs<InsertTextController>()->titleText(), u"Title of the new thread");
    picture(u"moderate-posts-title.png"_s);
    ASSERT_EQ(navigation()->viewControllers().size(), stack.size() + 2);
    EXPECT_NE(dynamic_cast<SelectForumController*>(navigation()->viewControllers().at(stack.size()).get()), nullptr);
    enterTitle(u"Two tips on their own"_s);
    EXPECT_EQ(navigation()->viewControllers(), stack);
    settleAll();
    ASSERT_EQ(AlertView::visibleAlerts().size(), 1);
    EXPECT_EQ(AlertView::visibleAlerts().first()->title(), announced);
    clock()->advance(PostMover::kAnnouncementMs);
    EXPECT_TRUE(AlertView::visibleAlerts().isEmpty());
    const TestForumRequest moved = lastRequest(u"inlinemod_domoveposts"_s);
    EXPECT_EQ(moved.field(u"postids"_s), u"5005,5006");
    EXPECT_EQ(moved.field(u"type"_s), u"0");
    EXPECT_EQ(moved.field(u"destforumid"_s), u"6");
    const int newThread = forum().postState(5005).value(u"threadid"_s).toInt();
    EXPECT_NE(newThread, 1101);
    EXPECT_EQ(forum().postState(5006).value(u"threadid"_s).toInt(), newThread);
    EXPECT_EQ(forum().threadState(newThread).value(u"title"_s).toString(), u"Two tips on their own");
    EXPECT_EQ(forum().threadState(newThread).value(u"forumid"_s).toInt(), 6);
    settleAll();
    EXPECT_EQ(rowOf<Post>(list, 5005), nullptr);
    EXPECT_TRUE(screen->selectedPosts().isEmpty());

    // Copied: a new thread of copies, the posts still here.
    const QList<int> introductions = forum().threadIdsIn(6);
    tapRowOf<Post>(list, 5007);
    screen->actions()->tapItem(screen->moveBtn());
    screen->moveAction()->dismissWithClickedButtonIndex(1, false);
    finishMoving();
    pickForum(6);
    finishMoving();
    enterTitle(u"A copied tip"_s);
    EXPECT_EQ(navigation()->viewControllers(), stack);
    settleAll();
    EXPECT_EQ(AlertView::visibleAlerts().size(), 1);
    clock()->advance(PostMover::kAnnouncementMs);
    const QList<int> copies = newThreadsIn(6, introductions);
    ASSERT_EQ(copies.size(), 1);
    EXPECT_EQ(forum().threadState(copies.first()).value(u"title"_s).toString(), u"A copied tip");
    EXPECT_EQ(forum().postState(5007).value(u"threadid"_s).toInt(), 1101);
    EXPECT_NE(rowOf<Post>(list, 5007), nullptr);

    // Refused, a move and a copy each say why once, and nothing is announced.
    const QString refusal = tableText(u"nopermission_loggedin"_s);
    for (const char* method : {"inlinemod_domoveposts", "inlinemod_docopyposts"}) {
        SCOPED_TRACE(method);
        const QList<int> before = forum().threadIdsIn(6);
        forum().answerError(QString::fromLatin1(method), QJsonValue(u"nopermission_loggedin"_s));
        if (screen->selectedPosts().isEmpty())
            tapRowOf<Post>(list, 5008);
        screen->actions()->tapItem(screen->moveBtn());
        screen->moveAction()->dismissWithClickedButtonIndex(QByteArray(method).contains("copy") ? 1 : 0, false);
        finishMoving();
        pickForum(6);
        finishMoving();
        enterTitle(u"Never made"_s);
        settleAll();
        EXPECT_EQ(answerAlert(0), refusal);
        settleAll();
        EXPECT_TRUE(AlertView::visibleAlerts().isEmpty());
        EXPECT_EQ(forum().postState(5008).value(u"threadid"_s).toInt(), 1101);
        EXPECT_TRUE(newThreadsIn(6, before).isEmpty());
        EXPECT_EQ(navigation()->viewControllers(), stack);
        forum().clearControls();
    }
}

