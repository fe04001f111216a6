#include "ForumScreenTest.h"

#include "app/widgets/PageNavView.h"
#include "app/widgets/PullRefreshTableHeaderView.h"
#include "app/widgets/TabBarHidding.h"
#include "forum/cells/ForumCell.h"
#include "forum/cells/SubforumsHeader.h"
#include "forum/cells/ThreadCell.h"
#include "forum/model/Announcement.h"
#include "forum/screens/AnnouncementDetailsController.h"
#include "forum/screens/PostController.h"
#include "forum/screens/ThreadController.h"
#include "platform/ui/Button.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/BarButtonView.h"
#include "platform/ui/NavigationBar.h"
#include "platform/ui/Screenshot.h"
#include "platform/ui/WebView.h"

#include "platform/foundation/StringExtensions.h"

// A forum's thread list on the loopback forum: General Discussion (forum 3)
// has a subforum, announcements, stickies and four pages of threads.
namespace {

class ThreadListTest : public ForumScreenTest {
protected:
    static QStringList shownItems(ThreadController* screen)
    {
        QStringList titles;
        for (const TabBarItemPtr& item : screen->actions()->items())
            titles.append(item->title());
        return titles;
    }
    void picture(const QString& name)
    {
        finishMoving();
        EXPECT_TRUE(Screenshot::savePNG(window.get(), TestSupport::galleryPath(name)));
    }
    static QList<ModelPtr> rows(ThreadController* screen, int section = 0)
    {
        return screen->threadTable()->rowsForSection(section);
    }
};

}  // namespace

TEST_F(ThreadListTest, SubforumsAnnouncementsAndStickiesComeBeforeTheFirstPagesThreads)
{
    openGuestSession();
    const auto screen = openForum(3, QStringLiteral("General Discussion"));
    const ForumPtr forum = screen->forum();
    const TestForumRequest page1 = lastRequest(QStringLiteral("forumdisplay"));
    EXPECT_EQ(page1.field(QStringLiteral("forumid")), QStringLiteral("3"));
    EXPECT_EQ(page1.field(QStringLiteral("perpage")), QStringLiteral("20"));
    EXPECT_EQ(page1.field(QStringLiteral("pagenumber")), QStringLiteral("1"));
    EXPECT_TRUE(screen->loadingWrapper()->isHidden()) << "the box goes with the answer";
    EXPECT_EQ(screen->threadTable()->frame(), QRectF(0, 0, 320, 367));
    EXPECT_EQ(screen->actions()->frame().y(), 367.0);

    // Closed subforums: announcements, stickies, then the page's threads.
    ASSERT_EQ(forum->announcements().size(), 2);
    ASSERT_GE(forum->stickies().size(), 1);
    const int before = int(forum->announcements().size() + forum->stickies().size());
    QList<ModelPtr> shown = rows(screen.get());
    ASSERT_EQ(shown.size(), before + 20);
    for (int i = 0; i < shown.size(); ++i) {
        const auto thread = std::dynamic_pointer_cast<Thread>(shown[i]);
        ASSERT_NE(thread, nullptr);
        EXPECT_EQ(thread->isAnnouncement(), i < 2) << i;
        EXPECT_EQ(thread->isSticky(), i >= 2 && i < before) << i;
    }
    TableView* table = screen->threadTable()->tableView();
    EXPECT_EQ(table->rectForRowAtIndexPath(IndexPath{0, 0}).height(), ThreadCell::kHeight);
    auto* announcementRow = dynamic_cast<ThreadCell*>(table->cellForRowAtIndexPath(IndexPath{0, 0}));
    ASSERT_NE(announcementRow, nullptr);
    EXPECT_TRUE(announcementRow->balloon()->isHidden());

    // The header counts the subforums; opening it puts them first.
    SubforumsHeader* header = screen->header();
    ASSERT_NE(header, nullptr);
    EXPECT_EQ(table->headerViewForSection(0), header);
    EXPECT_EQ(header->title()->text(), QStringLiteral("Subforums (1)"));
    EXPECT_FALSE(header->showChilds());
    tapView(header->collapseExpandBtn());
    finishMoving();
    EXPECT_TRUE(header->showChilds());
    shown = rows(screen.get());
    ASSERT_EQ(shown.size(), before + 21);
    const auto subforum = std::dynamic_pointer_cast<Forum>(shown.first());
    ASSERT_NE(subforum, nullptr);
    EXPECT_EQ(subforum->title_clean(), QStringLiteral("Off-topic"));
    EXPECT_EQ(table->rectForRowAtIndexPath(IndexPath{0, 0}).height(), ForumCell::heightForForum(subforum));
    EXPECT_NE(dynamic_cast<ForumCell*>(table->cellForRowAtIndexPath(IndexPath{0, 0})), nullptr);
    EXPECT_EQ(table->headerViewForSection(0), header) << "made once";

    // The subforum opens a thread list of its own, which has no subforums
    // header but the forum's title.
    tapRow(table, IndexPath{0, 0});
    auto* offTopic = topAs<ThreadController>();
    ASSERT_NE(offTopic, nullptr);
    ASSERT_NE(offTopic, screen.get());
    settleAll();
    EXPECT_EQ(offTopic->forum()->forumid(), 4);
    EXPECT_EQ(offTopic->titleForTheFirstSection(), QStringLiteral("Off-topic"));
    // Off-topic has its own subforum, Jokes & Games.
    EXPECT_NE(offTopic->header(), nullptr);
    back();
    settleAll();
    // Back: the last page afresh, the subforums still open.
    EXPECT_EQ(requestsOf("forumdisplay").last().field(QStringLiteral("forumid")), QStringLiteral("3"));
    EXPECT_TRUE(screen->header()->showChilds());

    // The header counts what the forum holds now.
    ForumPtr more = std::make_shared<Forum>();
    more->setTitle_clean(QStringLiteral("Photography"));
    screen->forum()->setChildren(screen->forum()->children() + QList<ForumPtr>{more});
    screen->forum()->notifyChanged();
    EXPECT_EQ(screen->header()->title()->text(), QStringLiteral("Subforums (2)"));
    EXPECT_EQ(rows(screen.get()).at(1), more);
}

TEST_F(ThreadListTest, LaterPagesComeByScrollingAndFromTheStripAndBackReloadsTheLastOne)
{
    openGuestSession();
    const auto screen = openForum(3, QStringLiteral("General Discussion"));
    const ForumPtr forum = screen->forum();
    EXPECT_EQ(forum->totalpages(), 4u);
    PaginableTableView* list = screen->threadTable();
    ShadowedTableView* table = list->tableView();
    EXPECT_FALSE(list->navView()->isHidden());

    // Scrolling to the end loads page 2 below page 1.
    table->setContentOffset(table->maximumContentOffset());
    settleAll();
    EXPECT_EQ(lastRequest(QStringLiteral("forumdisplay")).field(QStringLiteral("pagenumber")), QStringLiteral("2"));
    ASSERT_EQ(table->numberOfSections(), 2);
    EXPECT_EQ(rows(screen.get(), 1).size(), 20);
    for (const ModelPtr& row : rows(screen.get(), 1))
        EXPECT_FALSE(std::dynamic_pointer_cast<Thread>(row)->isAnnouncement());

    // The last page from the strip: its threads alone, nothing before them.
    PageNavView* strip = list->navView();
    const int last = int(strip->numberOfRows()) - 1;
    tap(strip->table()->convertPoint(QPointF(last * PageNavView::kRowWidth + 25, 15), nullptr));
    settleAll();
    EXPECT_EQ(lastRequest(QStringLiteral("forumdisplay")).field(QStringLiteral("pagenumber")), QStringLiteral("4"));
    EXPECT_EQ(list->pageForSection(0), 4u);
    const QList<ModelPtr> lastPage = rows(screen.get(), 0);
    ASSERT_FALSE(lastPage.isEmpty());
    EXPECT_EQ(table->numberOfRowsInSection(0), int(lastPage.size())) << "no row loads more after the last page";

    // A thread opens the thread page, given that thread.
    const auto chosen = std::dynamic_pointer_cast<Thread>(lastPage.first());
    ASSERT_NE(chosen, nullptr);
    tapRow(table, IndexPath{0, 0});
    auto* page = topAs<PostController>();
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(page->thread(), chosen);
    settleAll();
    EXPECT_EQ(lastRequest(QStringLiteral("showthread")).field(QStringLiteral("threadid")), QString::number(chosen->threadid()));
    const int asked = int(requestsOf("forumdisplay").size());
    back();
    settleAll();
    ASSERT_EQ(requestsOf("forumdisplay").size(), asked + 1);
    EXPECT_EQ(lastRequest(QStringLiteral("forumdisplay")).field(QStringLiteral("pagenumber")), QStringLiteral("4"));

    // Pull to refresh: the page on screen again; the band closes after 3 s.
    table->setContentOffset(QPointF(0, 0));
    table->beginDragging(QPointF(160, 100));
    table->dragTo(QPointF(160, 260));
    table->endDragging();
    EXPECT_EQ(list->refreshHeaderView()->state(), PullRefreshTableHeaderView::Loading);
    settleAll();
    ASSERT_EQ(requestsOf("forumdisplay").size(), asked + 2);
    EXPECT_EQ(lastRequest(QStringLiteral("forumdisplay")).field(QStringLiteral("pagenumber")), QStringLiteral("4"));
    clock()->advance(3000);
    finishMoving();
    EXPECT_EQ(list->refreshHeaderView()->state(), PullRefreshTableHeaderView::Normal);

    // A pull whose band would close after the screen has gone closes nothing.
    {
        auto other = std::make_shared<ThreadController>(context());
        other->setForum(forum);
        navigation()->pushViewController(other, false);
        settleAll();
        ShadowedTableView* otherTable = other->threadTable()->tableView();
        otherTable->beginDragging(QPointF(160, 100));
        otherTable->dragTo(QPointF(160, 260));
        otherTable->endDragging();
        EXPECT_TRUE(other->threadTable()->isRefreshCloseScheduled());
        navigation()->popViewControllerAnimated(false);
    }
    finishMoving();
    clock()->advance(3000);
    finishMoving();
    settleAll();

    // The reload item does the same.
    const int beforeReload = int(requestsOf("forumdisplay").size());
    screen->actions()->tapItem(screen->refresh());
    settleAll();
    EXPECT_EQ(requestsOf("forumdisplay").size(), beforeReload + 1);
    EXPECT_EQ(screen->actions()->selectedItem(), nullptr);
}

TEST_F(ThreadListTest, TheSubforumsHeaderHeadsOnlyTheFirstPageWhoseRowsItOpens)
{
    openGuestSession();
    const auto screen = openForum(3, QStringLiteral("General Discussion"));
    PaginableTableView* list = screen->threadTable();
    TableView* table = list->tableView();
    ASSERT_EQ(table->headerViewForSection(0), screen->header());

    // A list that starts at page 2 starts with its threads: the header that
    // opens the subforums has nothing to open there, and the forum's title
    // heads the page instead.
    list->navView()->setSelectedPage(2);
    settleAll();
    ASSERT_EQ(list->pageForSection(0), 2u);
    auto* title = dynamic_cast<Label*>(table->headerViewForSection(0));
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(title->text(), QStringLiteral("    General Discussion"));
    EXPECT_EQ(table->rectForHeaderInSection(0).height(), 30.0);
    for (const ModelPtr& row : rows(screen.get()))
        EXPECT_NE(std::dynamic_pointer_cast<Thread>(row), nullptr);
    picture(QStringLiteral("thread-list-page-2.png"));

    // Back at page 1 the header is there again and opens its rows.
    list->navView()->setSelectedPage(1);
    settleAll();
    ASSERT_EQ(table->headerViewForSection(0), screen->header());
    tapView(screen->header()->collapseExpandBtn());
    finishMoving();
    EXPECT_NE(std::dynamic_pointer_cast<Forum>(rows(screen.get()).first()), nullptr);
}

TEST_F(ThreadListTest, AThreadsLongTitleTakesTheRoomTheBackButtonLeaves)
{
    openGuestSession();
    const auto screen = openForum(11, QStringLiteral("Using the App"));
    TableView* table = screen->threadTable()->tableView();
    int row = -1;
    const QList<ModelPtr> shown = rows(screen.get());
    for (int i = 0; i < shown.size() && row < 0; ++i) {
        const auto thread = std::dynamic_pointer_cast<Thread>(shown.at(i));
        if (thread && thread->threadid() == 1101)
            row = i;
    }
    ASSERT_GE(row, 0);
    tapRow(table, IndexPath{0, row});
    settleAll();
    ASSERT_NE(topAs<PostController>(), nullptr);
    NavigationBar* bar = navigation()->navigationBar();
    const QRectF back = bar->backButtonView()->frame();
    const QRectF title = bar->titleLabel()->frame();
    EXPECT_EQ(bar->shownTitle(), QStringLiteral("The big tips & tricks thread"));
    EXPECT_GE(title.left(), back.right());
    EXPECT_GE(title.width(), bar->frame().width() - back.right() - 12) << "the room on the right is used";
    picture(QStringLiteral("thread-page-long-title.png"));
}

TEST_F(ThreadListTest, AnAnnouncementOpensOnItsOwnScreenWithItsAuthorDateAndText)
{
    openGuestSession();
    const auto screen = openForum(3, QStringLiteral("General Discussion"));
    tapRow(screen->threadTable()->tableView(), IndexPath{0, 1});
    auto* details = topAs<AnnouncementDetailsController>();
    ASSERT_NE(details, nullptr);
    ASSERT_NE(details->announcement(), nullptr);
    EXPECT_EQ(details->announcement()->announcementid(), 2);
    EXPECT_EQ(details->announcement()->forum(), screen->forum());
    settleAll();
    const TestForumRequest asked = lastRequest(QStringLiteral("announcement_view"));
    EXPECT_EQ(asked.httpMethod, QStringLiteral("POST"));
    EXPECT_EQ(asked.field(QStringLiteral("forumid")), QStringLiteral("3"));
    EXPECT_EQ(asked.field(QStringLiteral("announcementId")), QStringLiteral("2"));
    EXPECT_EQ(details->postTitle()->text(), QStringLiteral("New thread prefixes"));
    EXPECT_EQ(details->name()->text(), QStringLiteral("moderator"));
    EXPECT_FALSE(details->date()->text().isEmpty());
    EXPECT_TRUE(details->web()->shownText().contains(QStringLiteral("Discussion")));
    EXPECT_EQ(details->web()->baseURL().toString(), forum().baseUrl() + QStringLiteral("/"));
    EXPECT_EQ(details->headerBackground()->backgroundColor(), QColor(0xD8, 0xE3, 0xEB));

    // The forum gone silent: the screen says so and stays empty.
    back();
    forum().dropConnection(QStringLiteral("announcement_view"), 5, TestForum::Drop::BeforeAnswer);
    tapRow(screen->threadTable()->tableView(), IndexPath{0, 0});
    details = topAs<AnnouncementDetailsController>();
    ASSERT_NE(details, nullptr);
    // Nothing comes back: the alert says so once.
    ASSERT_TRUE(waitFor([] { return !AlertView::visibleAlerts().isEmpty(); }));
    settleAll();
    ASSERT_EQ(AlertView::visibleAlerts().size(), 1);
    EXPECT_EQ(AlertView::visibleAlerts().first()->message(), tableText(QStringLiteral("nointernet")));
    EXPECT_TRUE(details->postTitle()->text().isEmpty());
    EXPECT_TRUE(details->date()->text().isEmpty());
}

TEST_F(ThreadListTest, TheTabBarShowsWhatTheMemberMayDoAndSubscribingAsksFirst)
{
    // A guest may only reload.
    openGuestSession();
    auto screen = openForum(3, QStringLiteral("General Discussion"));
    EXPECT_EQ(shownItems(screen.get()), QStringList{QStringLiteral("Reload")});
    EXPECT_EQ(screen->actions()->initialItems().size(), 4);

    // A member subscribed to the forum: the item offers to stop.
    signIn(QStringLiteral("alice"), QStringLiteral("secret1"));
    screen = openForum(3, QStringLiteral("General Discussion"));
    EXPECT_TRUE(screen->forum()->isSubscribed());
    EXPECT_EQ(shownItems(screen.get()), QStringList({QStringLiteral("Reload"), QStringLiteral("Unsubscribe")}));
    screen->actions()->tapItem(screen->subscribe());
    ASSERT_NE(screen->subscriptionAlert(), nullptr);
    EXPECT_EQ(screen->subscriptionAlert()->title(), QStringLiteral("Subscription"));
    EXPECT_EQ(screen->subscriptionAlert()->message(), QStringLiteral("Stop following this forum?"));
    EXPECT_EQ(screen->subscriptionAlert()->buttonTitles(), QStringList({QStringLiteral("Cancel"), QStringLiteral("Yes")}));
    // Cancel changes nothing; Yes stops it, and the item says so at once.
    screen->subscriptionAlert()->dismissWithClickedButtonIndex(0);
    EXPECT_TRUE(screen->forum()->isSubscribed());
    screen->actions()->tapItem(screen->subscribe());
    screen->subscriptionAlert()->dismissWithClickedButtonIndex(1);
    EXPECT_FALSE(screen->forum()->isSubscribed());
    EXPECT_EQ(screen->subscribe()->title(), QStringLiteral("Subscribe"));
    settleAll();
    EXPECT_FALSE(forum().subscribedForums(forum().memberId(QStringLiteral("alice"))).contains(3));
    screen->actions()->tapItem(screen->subscribe());
    EXPECT_EQ(screen->subscriptionAlert()->message(), QStringLiteral("Subscribe to this forum? You will be told of new threads."));
    screen->subscriptionAlert()->dismissWithClickedButtonIndex(1);
    settleAll();
    EXPECT_TRUE(forum().subscribedForums(forum().memberId(QStringLiteral("alice"))).contains(3));
    EXPECT_EQ(screen->subscribe()->title(), QStringLiteral("Unsubscribe"));

    // The moderator: moderating and searching the forum show once their
    // screens exist, and open them with the forum.
    signIn(QStringLiteral("moderator"), QStringLiteral("modpass"));
    screen = openForum(3, QStringLiteral("General Discussion"));
    EXPECT_TRUE(screen->forum()->canModerate());
    EXPECT_TRUE(screen->forum()->canSearchForums());
    EXPECT_EQ(shownItems(screen.get()).size(), 2);
    ViewControllerRegistry::registerClass<forumtest::ThreadModerateController>(QStringLiteral("ThreadModerateController"));
    ScreenInputs::registerSetter(QStringLiteral("ThreadModerateController"),
                                 &forumtest::ThreadModerateController::setForum);
    ViewControllerRegistry::registerClass<forumtest::SearchThreadController>(QStringLiteral("SearchThreadController"));
    ScreenInputs::registerSetter(QStringLiteral("SearchThreadController"), &forumtest::SearchThreadController::setForum);
    screen = openForum(3, QStringLiteral("General Discussion"));
    EXPECT_EQ(shownItems(screen.get()), QStringList({QStringLiteral("Reload"), QStringLiteral("Subscribe"),
                                                     QStringLiteral("Moderate"), QStringLiteral("Search")}));
    screen->actions()->tapItem(screen->moderate());
    finishMoving();
    ASSERT_NE(topAs<forumtest::ThreadModerateController>(), nullptr);
    EXPECT_EQ(topAs<forumtest::ThreadModerateController>()->forum, screen->forum());
    back();
    screen->actions()->tapItem(screen->search());
    finishMoving();
    ASSERT_NE(topAs<forumtest::SearchThreadController>(), nullptr);
    EXPECT_EQ(topAs<forumtest::SearchThreadController>()->forum, screen->forum());
}

TEST_F(ThreadListTest, AProtectedForumStaysEmptyUntilItsPasswordIsGiven)
{
    const CurrentUserPtr alice = signIn(QStringLiteral("alice"), QStringLiteral("secret1"));
    const auto screen = openForum(20, QStringLiteral("Staff Lounge"));
    ASSERT_EQ(AlertView::visibleAlerts().size(), 1);
    std::shared_ptr<AlertView> prompt = AlertView::visibleAlerts().first();
    EXPECT_TRUE(prompt->hasTextField());
    EXPECT_TRUE(prompt->isTextFieldSecure());
    EXPECT_EQ(prompt->title(), QStringLiteral("Staff Lounge"));
    EXPECT_TRUE(rows(screen.get()).isEmpty());
    EXPECT_TRUE(screen->loadingWrapper()->isHidden());

    EXPECT_TRUE(prompt->message().trimmed().isEmpty()) << "first asked, there is nothing to say";

    // A wrong password: asked again, saying why.
    prompt->setTextFieldText(QStringLiteral("guess"));
    prompt->dismissWithClickedButtonIndex(1);
    settleAll();
    ASSERT_EQ(AlertView::visibleAlerts().size(), 1);
    EXPECT_TRUE(rows(screen.get()).isEmpty());
    prompt = AlertView::visibleAlerts().first();
    EXPECT_EQ(prompt->message(), QStringLiteral("That password is not right. Please try again."));
    EXPECT_TRUE(prompt->hasTextField());
    prompt->setTextFieldText(QStringLiteral("letmein"));
    prompt->dismissWithClickedButtonIndex(1);
    settleAll();
    EXPECT_TRUE(AlertView::visibleAlerts().isEmpty());
    EXPECT_EQ(lastRequest(QStringLiteral("forumdisplay")).field(QStringLiteral("forumpwdmd5")),
              StringExtensions::md5(QStringLiteral("%1letmein").arg(alice->userid())));
    EXPECT_FALSE(rows(screen.get()).isEmpty());
    EXPECT_GT(screen->threadTable()->tableView()->numberOfRowsInSection(0), 0);
}

TEST_F(ThreadListTest, WithoutAForumTheListIsEmptyAndAsksForNothing)
{
    openGuestSession();
    forum().clearLog();
    auto screen = std::make_shared<ThreadController>(context());
    showRoot(screen);
    screen->viewWillAppear(false);
    settleAll();
    EXPECT_TRUE(forum().requests().isEmpty());
    EXPECT_EQ(screen->threadTable()->tableView()->numberOfSections(), 0);
    EXPECT_TRUE(screen->prependArrayOfObjects()->isEmpty());
    EXPECT_EQ(screen->viewForHeaderInSection(screen->threadTable(), 0), nullptr);
    EXPECT_TRUE(screen->loadingWrapper()->isHidden());
    // A forum given later is shown from then on.
    auto general = std::make_shared<Forum>();
    general->setForumid(6);
    screen->setForum(general);
    screen->threadTable()->setModel(general);
    settleAll();
    EXPECT_FALSE(rows(screen.get()).isEmpty());
}
