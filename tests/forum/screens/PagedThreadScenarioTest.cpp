#include "ScreenWindowTest.h"

#include "app/navigation/ContextScreens.h"
#include "app/screens/GlobalNavigationViewController.h"
#include "app/screens/MurmoraViewController.h"
#include "app/screens/RootNavigation.h"
#include "app/screens/SharedInfoUnreadMessages.h"
#include "app/widgets/PageNavView.h"
#include "app/widgets/PaginableTableView.h"
#include "app/widgets/PaginationCell.h"
#include "app/widgets/PullRefreshTableHeaderView.h"
#include "app/widgets/ShadowedTableView.h"
#include "forum/model/ForumInfo.h"
#include "forum/model/Post.h"
#include "forum/model/Thread.h"
#include "platform/ui/Button.h"
#include "platform/ui/Label.h"
#include "platform/ui/TableViewCell.h"
#include "platform/ui/ViewControllerRegistry.h"

// The paged list and the menu on the real forum models, against the
// loopback forum.
namespace {

class PostsScreen : public PaginableTableDelegate {
public:
    TableViewCell* cellForObject(PaginableTableView* view, const ModelPtr& object) override
    {
        TableViewCell* cell = view->tableView()->dequeueReusableCellWithIdentifier(QStringLiteral("Post"));
        if (!cell)
            cell = new TableViewCell(TableViewCellStyle::Subtitle, QStringLiteral("Post"));
        const auto* post = dynamic_cast<const Post*>(object.get());
        cell->textLabel()->setText(post ? QString::number(post->postid()) : QString());
        return cell;
    }
    qreal heightForCellWithObject(PaginableTableView*, const ModelPtr&) override { return 60; }
    QString titleForTheFirstSection() override { return QString(); }
    void didSelectCell(TableViewCell*, const ModelPtr&) override {}
};

class PagedThreadScenarioTest : public ScreenWindowTest {
protected:
    void SetUp() override
    {
        ScreenWindowTest::SetUp();
        // A tree of the test's own, which the session clears as in the application.
        ForumInfo::attachTo(context());
    }
    void TearDown() override
    {
        ForumInfo::resetInstance();
        ScreenWindowTest::TearDown();
    }

    QList<TestForumRequest> threadPages() { return forum().requests(QStringLiteral("showthread")); }
    static QList<qint32> postIds(PaginableTableView* list, int section)
    {
        QList<qint32> ids;
        for (const ModelPtr& object : list->rowsForSection(section)) {
            if (const auto* post = dynamic_cast<const Post*>(object.get()))
                ids.append(post->postid());
        }
        return ids;
    }
    static QStringList stripNumbers(PageNavView* strip)
    {
        QStringList shown;
        for (int row = 0; row < strip->numberOfRows(); ++row)
            shown.append(strip->cellForRow(row)->number()->text());
        return shown;
    }
    // The network answers on its own time; the band and the animations on the
    // manual clock.
    void settleAll()
    {
        ASSERT_TRUE(settle());
        turnEventLoop();
    }
};

}  // namespace

TEST_F(PagedThreadScenarioTest, AThreadPageByPageWithPullToRefreshLoadingMoreAndThePageStrip)
{
    openGuestSession();
    PostsScreen screen;
    auto* list = new PaginableTableView(QRectF(0, 64, 320, 416));
    list->setDelegate(&screen);
    window->addSubview(list);
    const std::shared_ptr<Thread> thread = Thread::initWithThreadid(1101);

    // Page 1.
    list->setModel(thread);
    settleAll();
    ASSERT_EQ(threadPages().size(), 1);
    EXPECT_EQ(threadPages().last().field(QStringLiteral("pagenumber")), QStringLiteral("1"));
    EXPECT_EQ(thread->totalpages(), 5u);
    ShadowedTableView* table = list->tableView();
    ASSERT_EQ(table->numberOfSections(), 1);
    EXPECT_EQ(postIds(list, 0).size(), 10);
    EXPECT_EQ(postIds(list, 0).first(), 5000);
    EXPECT_EQ(table->numberOfRowsInSection(0), 11) << "ten posts and the row that loads more";
    EXPECT_FALSE(list->navView()->isHidden());
    EXPECT_EQ(stripNumbers(list->navView()), QStringList({QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"),
                                                          QStringLiteral("4"), QStringLiteral("5")}));
    EXPECT_EQ(list->navView()->currentPage(), 1u);

    // Pull to refresh: page 1 again; a second pull while it runs starts
    // nothing; the band closes after three seconds.
    forum().delayMethod(QStringLiteral("showthread"), 300);
    table->beginDragging(QPointF(160, 150));
    table->dragTo(QPointF(160, 300));
    table->endDragging();
    EXPECT_EQ(list->refreshHeaderView()->state(), PullRefreshTableHeaderView::Loading);
    EXPECT_TRUE(thread->hasRequests());
    table->beginDragging(QPointF(160, 150));
    table->dragTo(QPointF(160, 320));
    table->endDragging();
    settleAll();
    ASSERT_EQ(threadPages().size(), 2);
    EXPECT_EQ(threadPages().last().field(QStringLiteral("pagenumber")), QStringLiteral("1"));
    EXPECT_EQ(postIds(list, 0).size(), 10);
    EXPECT_EQ(list->refreshHeaderView()->state(), PullRefreshTableHeaderView::Loading);
    clock()->advance(3000);
    Animator::shared().finishAll();
    EXPECT_EQ(list->refreshHeaderView()->state(), PullRefreshTableHeaderView::Normal);
    EXPECT_EQ(table->contentInset().top, 0);

    // Load more: the row at the end comes into view and asks for page 2,
    // once, however often it shows while the page is on its way.
    forum().delayMethod(QStringLiteral("showthread"), 300);
    table->setContentOffset(table->maximumContentOffset());
    ASSERT_EQ(threadPages().size(), 2) << "the request leaves on the event loop";
    EXPECT_TRUE(thread->hasRequests());
    table->setContentOffset(QPointF(0, 0));
    table->setContentOffset(table->maximumContentOffset());
    settleAll();
    ASSERT_EQ(threadPages().size(), 3);
    EXPECT_EQ(threadPages().last().field(QStringLiteral("pagenumber")), QStringLiteral("2"));
    ASSERT_EQ(table->numberOfSections(), 2);
    EXPECT_GT(postIds(list, 1).first(), postIds(list, 0).last()) << "the posts after page 1's";
    EXPECT_EQ(table->numberOfRowsInSection(0), 10);
    EXPECT_EQ(table->numberOfRowsInSection(1), 11);
    auto* header = dynamic_cast<Label*>(table->headerViewForSection(1));
    ASSERT_NE(header, nullptr);
    EXPECT_EQ(header->text(), QStringLiteral("    Page 2"));

    // The strip: the last page, alone; no row loads more after it.
    PageNavView* strip = list->navView();
    const int last = int(strip->numberOfRows()) - 1;
    ASSERT_EQ(strip->cellForRow(last)->number()->text(), QStringLiteral("5"));
    tap(strip->table()->convertPoint(QPointF(last * PageNavView::kRowWidth + 25, 15), nullptr));
    EXPECT_TRUE(thread->pages().isEmpty());
    settleAll();
    EXPECT_EQ(threadPages().last().field(QStringLiteral("pagenumber")), QStringLiteral("5"));
    ASSERT_EQ(table->numberOfSections(), 1);
    EXPECT_GT(postIds(list, 0).first(), 5030);
    EXPECT_EQ(table->numberOfRowsInSection(0), int(postIds(list, 0).size())) << "the last page";
    EXPECT_EQ(strip->currentPage(), 5u);
    EXPECT_EQ(list->pageForSection(0), 5u);
    EXPECT_TRUE(strip->cellForRow(strip->selectedRow())->isCurrent());
    const int requests = threadPages().size();
    table->setContentOffset(table->maximumContentOffset());
    settleAll();
    EXPECT_EQ(threadPages().size(), requests);
}

TEST_F(PagedThreadScenarioTest, TheMenuCountsTheMembersUnreadMessagesFromTheForumInfo)
{
    class Section : public MurmoraViewController {
    public:
        using MurmoraViewController::MurmoraViewController;
    };
    ContextScreens::registerClass<Section>(context(), QStringLiteral("ForumController"));
    ContextScreens::registerClass<Section>(context(), QStringLiteral("PrivateMessagesController"));
    signIn(QStringLiteral("alice"), QStringLiteral("secret1"));
    context().setPart<UnreadMessagesSource>(std::make_shared<SharedInfoUnreadMessages<ForumInfo>>(context()));
    ForumInfo::getInstance()->fetchForumHome();
    settleAll();
    ASSERT_TRUE(ForumInfo::getInstance()->inboxNotification());

    auto screen = std::make_shared<Section>(context());
    context().part<RootNavigation>()->setController(screen);
    finishMoving();
    screen->showGlobalNavigationView();
    GlobalNavigationViewController* menu = screen->globalNavigationView();
    EXPECT_EQ(menu->numberOfMessages()->text(), QStringLiteral("(2)"));
    EXPECT_FALSE(menu->messagesButton()->isHidden());
    EXPECT_EQ(menu->observedModel(), ForumInfo::getInstance().get());

    // Signing out empties the shared info in place: the count goes.
    ForumInfo::clearInstance();
    EXPECT_EQ(menu->numberOfMessages()->text(), QString());
    // A new run's info: the open menu holds the old one only weakly, and
    // closing it leaves the new one alone.
    ForumInfo::resetInstance();
    EXPECT_EQ(menu->observedModel(), nullptr);
    ForumInfo::attachTo(context());
    const std::shared_ptr<ForumInfo> fresh = ForumInfo::getInstance();
    menu->cancel();
    EXPECT_TRUE(fresh->observers().isEmpty());
}
