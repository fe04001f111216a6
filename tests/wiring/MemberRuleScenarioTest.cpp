#include "AppScenario.h"

#include "app/widgets/ShadowedTableView.h"
#include "app/widgets/TabBarHidding.h"
#include "forum/screens/PostController.h"
#include "platform/ui/NavigationBar.h"
#include "platform/ui/NavigationItem.h"

// Who may write and subscribe, screen by screen, in the real application:
// one rule, the current user's, decides it everywhere.
namespace {

class MemberRuleScenarioTest : public AppScenario {
protected:
    // What each screen offers, from the forum index down to a thread page.
    struct Offered {
        bool composeOnIndex = false;
        bool composeOnList = false;
        bool subscribeOnList = false;
        bool replyOnPage = false;
        bool subscribeOnPage = false;
    };
    Offered walkToAThread(bool takePictures)
    {
        Offered offered;
        ThreadController* threads = openGeneralDiscussion();
        EXPECT_NE(threads, nullptr);
        if (!threads)
            return offered;
        auto* index = dynamic_cast<ForumController*>(screens().value(screens().size() - 2).get());
        EXPECT_NE(index, nullptr);
        offered.composeOnIndex = index && index->navigationItem()->rightBarButtonItem();
        offered.composeOnList = threads->navigationItem()->rightBarButtonItem() != nullptr;
        offered.subscribeOnList = threads->actions()->items().contains(threads->subscribe());
        if (takePictures)
            picture(QStringLiteral("app-thread-list-guest.png"));
        const IndexPath first = firstThreadRow(threads);
        tapRow(threads->threadTable()->tableView(), first);
        auto* page = topScreenAs<PostController>();
        EXPECT_NE(page, nullptr);
        if (!page)
            return offered;
        EXPECT_TRUE(waitUntil([&] { return !page->postTable()->rowsForSection(0).isEmpty(); }));
        settleAndFinish();
        offered.replyOnPage = page->navigationItem()->rightBarButtonItem() != nullptr;
        offered.subscribeOnPage = page->actions()->items().contains(page->item(PostController::Subscribe));
        // What the bar shows is what the items say.
        EXPECT_EQ(delegate()->controller()->navigationBar()->rightButtonView() != nullptr, offered.replyOnPage);
        if (takePictures)
            picture(QStringLiteral("app-thread-page-guest-no-subscribe.png"));
        return offered;
    }
};

}  // namespace

TEST_F(MemberRuleScenarioTest, AGuestIsOfferedNoWritingNorSubscribingAnywhereAndAMemberEverywhere)
{
    HomeController* guestHome = enterAsGuest();
    ASSERT_NE(guestHome, nullptr);
    EXPECT_FALSE(CurrentUser::currentUser()->isMember());
    EXPECT_EQ(guestHome->navigationItem()->rightBarButtonItem(), nullptr) << "home offers no composer";
    const Offered guest = walkToAThread(true);
    EXPECT_FALSE(guest.composeOnIndex) << "the forum index offers a composer";
    EXPECT_FALSE(guest.composeOnList) << "the thread list offers a composer";
    EXPECT_FALSE(guest.subscribeOnList);
    EXPECT_FALSE(guest.replyOnPage);
    EXPECT_FALSE(guest.subscribeOnPage) << "the thread page offers a subscription";
    EXPECT_TRUE(alertsOnScreen().isEmpty());

    // A member signed in is offered all of it, on every screen.
    quit();
    CurrentUser::currentUser()->logout();
    settleAndFinish();
    ASSERT_NE(signInAs(QStringLiteral("alice"), QStringLiteral("secret1")), nullptr);
    EXPECT_TRUE(CurrentUser::currentUser()->isMember());
    const Offered member = walkToAThread(false);
    EXPECT_TRUE(member.composeOnIndex);
    EXPECT_TRUE(member.composeOnList);
    EXPECT_TRUE(member.subscribeOnList);
    EXPECT_TRUE(member.replyOnPage);
    EXPECT_TRUE(member.subscribeOnPage);
}
