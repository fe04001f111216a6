#include "HomeScreenTest.h"
#include "NamedView.h"
#include "ControlClicks.h"

#include "forum/cells/SubforumsHeader.h"
#include "forum/screens/AnnouncementDetailsController.h"
#include "forum/screens/ForumController.h"
#include "forum/screens/ThreadController.h"
#include "platform/ui/AlertPresenter.h"
#include "platform/ui/Button.h"
#include "platform/ui/Screenshot.h"
#include "platform/ui/SegmentedControl.h"
#include "platform/ui/Window.h"

// Pictures of the list screens in the states the application scenario does
// not pass through, with the seeded content, written under the build folder
// (gallery/) to be looked at as a user would.
namespace {

class ListScreensPicturesTest : public HomeScreenTest {
protected:
    void SetUp() override
    {
        HomeScreenTest::SetUp();
        // Alerts shown in the window, as the program shows them.
        AlertPresenter::install();
    }
    void picture(const QString& name)
    {
        const QString path = TestSupport::galleryPath(name);
        finishMoving();
        ASSERT_TRUE(Screenshot::savePNG(window.get(), path));
        ASSERT_FALSE(QImage(path).isNull());
    }
    // A forum's thread list, pushed over the forums, its first page shown.
    std::shared_ptr<ThreadController> pushForum(qint32 forumid, const QString& title)
    {
        auto screen = threadListOf(forumid, title);
        navigation()->pushViewController(screen, true);
        finishMoving();
        settleAll();
        return screen;
    }
};

}  // namespace

TEST_F(ListScreensPicturesTest, ThreadListsOpenScrolledProtectedAndAnAnnouncement)
{
    signIn(QStringLiteral("alice"), QStringLiteral("secret1"));
    showRoot(std::make_shared<ForumController>(context()));
    settleAll();
    const auto threads = pushForum(3, QStringLiteral("General Discussion"));
    ASSERT_NE(threads->header(), nullptr);
    tapView(threads->header()->collapseExpandBtn());
    picture(QStringLiteral("thread-list-subforums.png"));
    auto* table = threads->threadTable()->tableView();
    table->setContentOffset(table->maximumContentOffset());
    settleAll();
    table->setContentOffset(QPointF(0, table->rectForSection(1).top() - 60));
    picture(QStringLiteral("thread-list-page2.png"));

    table->setContentOffset(QPointF(0, 0));
    tapRow(table, IndexPath{0, 2});
    ASSERT_NE(topAs<AnnouncementDetailsController>(), nullptr);
    settleAll();
    picture(QStringLiteral("announcement.png"));
    back();
    pushForum(20, QStringLiteral("Staff Lounge"));
    picture(QStringLiteral("thread-list-password.png"));
    AlertView::visibleAlerts().first()->setTextFieldText(QStringLiteral("guess"));
    AlertView::visibleAlerts().first()->dismissWithClickedButtonIndex(1);
    settleAll();
    ASSERT_EQ(AlertView::visibleAlerts().size(), 1);
    picture(QStringLiteral("thread-list-password-wrong.png"));
}

TEST_F(ListScreensPicturesTest, HomeSortedFilteredAndForAGuest)
{
    signIn(QStringLiteral("alice"), QStringLiteral("secret1"));
    auto home = openHome();
    ASSERT_TRUE(waitFor([&] { return !named<PaginableTableView>(home, "news")->rowsForSection(0).isEmpty(); }));
    clickSegment(home->sort(), HomeController::Subscribed);
    settleAll();
    picture(QStringLiteral("home-subscribed.png"));
    clickSegment(home->sort(), HomeController::Newest);
    settleAll();
    clickSegment(named<SegmentedControl>(home, "filter"), 0);
    picture(QStringLiteral("home-filter.png"));
    home->closeFilter();

    CurrentUser::currentUser()->logout();
    settleAll();
    openGuestSession();
    showRoot(std::make_shared<ForumController>(context()));
    settleAll();
    pushForum(11, QStringLiteral("Using the App"));
    picture(QStringLiteral("thread-list-guest.png"));
}
