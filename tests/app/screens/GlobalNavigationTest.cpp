#include "ScreenWindowTest.h"

#include "app/model/Config.h"
#include "app/config/Customizer.h"
#include "app/screens/GlobalNavigationViewController.h"
#include "app/screens/MurmoraViewController.h"
#include "app/navigation/ContextScreens.h"
#include "app/screens/RootNavigation.h"
#include "app/screens/SharedInfoUnreadMessages.h"
#include "app/session/CurrentUser.h"
#include "app/session/Notification.h"
#include "app/widgets/RoundedRectView.h"
#include "platform/ui/Button.h"
#include "platform/ui/Font.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationBar.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/NavigationItem.h"
#include "platform/ui/ResourceImages.h"
#include "platform/ui/TextField.h"
#include "platform/ui/ViewControllerRegistry.h"

#include <cmath>

// Section screens of this test, registered under the names the menu opens
// (class names are read without their namespace).
namespace menutest {
class ForumController : public MurmoraViewController {
public:
    using MurmoraViewController::MurmoraViewController;
    QString getBarTitle() const override { return QStringLiteral("Forums"); }
};
class SearchController : public MurmoraViewController {
public:
    using MurmoraViewController::MurmoraViewController;
    QString getBarTitle() const override { return QStringLiteral("Search"); }
};
class HomeController : public MurmoraViewController {
public:
    using MurmoraViewController::MurmoraViewController;
    QString getBarTitle() const override { return QStringLiteral("Home"); }
};
class LoginController : public ViewController {};
class PlainScreen : public MurmoraViewController {
public:
    using MurmoraViewController::MurmoraViewController;
};
}  // namespace menutest
using namespace menutest;

namespace {

// A shared home-data model as the forum info is one: a part of the context,
// made on first use, with the unread-messages counter.
class HomeInfo : public Model {
public:
    std::shared_ptr<Notification> inboxNotification() const { return inbox; }

    void unread(int total)
    {
        inbox = std::make_shared<Notification>();
        inbox->setPhrase(QStringLiteral("Unread Private Messages"));
        inbox->setTotal(total);
        notifyChanged();
    }
    std::shared_ptr<Notification> inbox;
};

class GlobalNavigationTest : public ScreenWindowTest {
protected:
    void SetUp() override
    {
        ScreenWindowTest::SetUp();
        ContextScreens::registerClass<ForumController>(context(), QStringLiteral("ForumController"));
        ContextScreens::registerClass<SearchController>(context(), QStringLiteral("SearchController"));
        ContextScreens::registerClass<HomeController>(context(), QStringLiteral("HomeController"));
        ViewControllerRegistry::registerClass<LoginController>(QStringLiteral("LoginController"));
        for (const char* name : {"ArticleListController", "BlogHomeScreenViewController", "PrivateMessagesController",
                                 "NotificationsController", "ProfileController", "FriendsController"})
            ContextScreens::registerClass<PlainScreen>(context(), QString::fromLatin1(name));
        Config::getInstance().setFeaturesInt(0x7FF);
    }

    void signInAs(int userid)
    {
        const std::shared_ptr<CurrentUser> user = CurrentUser::currentUser();
        user->setUserid(userid);
        user->setAnonymous(userid == 0);
    }
    // A section screen as the root of the application's stack.
    template <typename Screen>
    std::shared_ptr<Screen> showSection()
    {
        auto screen = std::make_shared<Screen>(context());
        context().part<RootNavigation>()->setController(screen);
        finishMoving();
        return screen;
    }
    NavigationController* navigation() { return RootNavigation::controller(); }
    GlobalNavigationViewController* openMenu(MurmoraViewController* screen)
    {
        tapView(screen->navButton());
        finishMoving();
        return screen->globalNavigationView();
    }
    static QList<Button*> shownEntries(GlobalNavigationViewController* menu)
    {
        QList<Button*> shown;
        for (View* entry : menu->menu()->subviews()) {
            if (auto* button = dynamic_cast<Button*>(entry); button && !button->isHidden())
                shown.append(button);
        }
        return shown;
    }
    static QStringList titles(const QList<Button*>& buttons)
    {
        QStringList list;
        for (Button* button : buttons)
            list.append(button->titleForState(ControlState::Normal));
        return list;
    }
};

}  // namespace

TEST_F(GlobalNavigationTest, TheFirstScreenOfAStackCarriesTheMenuButtonWhileItIsOnTop)
{
    signInAs(7);
    auto forums = showSection<ForumController>();
    Button* button = forums->navButton();
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->titleForState(ControlState::Normal), QStringLiteral("Forums"));
    EXPECT_EQ(button->titleLabel()->font().family(), Font::installedFamily(QStringLiteral("HelveticaNeue")));
    EXPECT_TRUE(button->titleLabel()->font().bold());
    EXPECT_EQ(button->titleLabel()->font().pixelSize(), 13);
    EXPECT_EQ(button->backgroundImageForState(ControlState::Normal),
              ResourceImages::named(QStringLiteral("bt_menu.png")));
    EXPECT_EQ(button->center(), QPointF(160, 22));
    EXPECT_GE(button->frame().width(), button->titleLabel()->sizeThatFits(QSizeF()).width());
    EXPECT_EQ(button->superview(), navigation()->navigationBar());
    EXPECT_EQ(forums->navigationItem()->titleView(), button);

    // A screen pushed above it has no button, and the first one's is not
    // shown over it; back on top, it shows again.
    auto pushed = std::make_shared<SearchController>(context());
    forums->pushController(pushed);
    finishMoving();
    EXPECT_EQ(pushed->navButton(), nullptr);
    EXPECT_NE(button->superview(), navigation()->navigationBar());
    EXPECT_TRUE(button->isHidden() || !button->isVisible());
    // A home screen gets one wherever it stands.
    auto home = std::make_shared<HomeController>(context());
    forums->pushController(home);
    finishMoving();
    ASSERT_NE(home->navButton(), nullptr);
    EXPECT_EQ(home->navButton()->superview(), navigation()->navigationBar());
    navigation()->popToRootViewControllerAnimated(false);
    finishMoving();
    EXPECT_EQ(button->superview(), navigation()->navigationBar());
    EXPECT_TRUE(button->isVisible());

    PlainScreen plain(context());
    EXPECT_EQ(plain.getBarTitle(), QStringLiteral("must overWrite"));
}

TEST_F(GlobalNavigationTest, TheMenuOpensOverTheWholeWindowWithAPulseAndEndsEditing)
{
    signInAs(7);
    auto forums = showSection<ForumController>();
    auto* field = new TextField(QRectF(10, 10, 200, 30));
    forums->view()->addSubview(field);
    field->becomeFirstResponder();
    ASSERT_TRUE(field->isFirstResponder());

    tapView(forums->navButton());
    GlobalNavigationViewController* menu = forums->globalNavigationView();
    ASSERT_NE(menu, nullptr);
    EXPECT_TRUE(menu->isOpen());
    EXPECT_EQ(menu->view()->superview(), window.get());
    EXPECT_EQ(menu->view()->frame(), QRectF(0, 20, 320, 480));
    EXPECT_FALSE(field->isFirstResponder());
    EXPECT_EQ(menu->menu()->strokeColor(), QColor(Qt::black));
    EXPECT_EQ(menu->menu()->rectColor(), Customizer::getInstance().colorForKey(kColorBackgroundButton));
    EXPECT_EQ(menu->menu()->cornerRadius(), 10.0);
    EXPECT_EQ(menu->lblTitle()->text(), Customizer::getInstance().appLabel());

    // Scale 0.6, grown to full size in 0.2 s, then 0.9 in 1/15 s, then full
    // size again in 2/15 s (the code reads each step's end value at once).
    RoundedRectView* panel = menu->menu();
    EXPECT_TRUE(panel->transform().isIdentity());
    EXPECT_GT(Animator::shared().runningCount(), 0);
    clock()->advance(199);
    EXPECT_TRUE(panel->transform().isIdentity());
    clock()->advance(1);
    EXPECT_EQ(panel->transform().scaleX, 0.9);
    EXPECT_EQ(panel->transform().scaleY, 0.9);
    clock()->advance(67);
    EXPECT_TRUE(panel->transform().isIdentity());
    clock()->advance(133);
    EXPECT_TRUE(panel->transform().isIdentity());
    EXPECT_EQ(GlobalNavigationViewController::kPulseDurations[1], 1.0 / 15);
    EXPECT_EQ(GlobalNavigationViewController::kPulseDurations[2], 2.0 / 15);

    // Cancel closes it; so does a tap beside the panel.
    tapView(menu->cancelButton());
    EXPECT_FALSE(menu->isOpen());
    menu = openMenu(forums.get());
    ASSERT_TRUE(menu->isOpen());
    tap(QPointF(10, 470));
    EXPECT_FALSE(menu->isOpen());
    menu = openMenu(forums.get());
    tap(menu->menu()->convertPoint(QPointF(4, 4), nullptr));
    EXPECT_TRUE(menu->isOpen()) << "a tap on the panel itself keeps it";
}

TEST_F(GlobalNavigationTest, EntriesShowByFeatureAndSessionAndStayPacked)
{
    // A member on a forum with every feature: all but photos, whose screen
    // this program does not have (no test of it registers "AlbumController").
    signInAs(7);
    auto forums = showSection<ForumController>();
    GlobalNavigationViewController* menu = openMenu(forums.get());
    const QList<Button*> all = shownEntries(menu);
    EXPECT_EQ(titles(all), QStringList({QStringLiteral("Home"), QStringLiteral("Forums"), QStringLiteral("Articles"),
                                        QStringLiteral("Blogs"), QStringLiteral("Messages"),
                                        QStringLiteral("Notifications"), QStringLiteral("My Profile"),
                                        QStringLiteral("Friends"), QStringLiteral("Search"), QStringLiteral("Cancel")}));
    EXPECT_TRUE(menu->photosButton()->isHidden());
    const qreal entry = GlobalNavigationViewController::kEntryHeight;
    for (int i = 1; i < all.size(); ++i)
        EXPECT_EQ(all[i]->frame().top(), all[i - 1]->frame().bottom()) << "packed without gaps";
    const qreal memberHeight = menu->menu()->frame().height();
    EXPECT_EQ(all.last()->frame().bottom() + 8, memberHeight);
    EXPECT_EQ(menu->blogsButton()->tag(), 1);
    EXPECT_EQ(menu->articlesButton()->tag(), 2);
    EXPECT_EQ(menu->messagesButton()->tag(), 4);
    EXPECT_EQ(menu->searchButton()->tag(), 8);
    EXPECT_EQ(menu->photosButton()->tag(), 32);
    EXPECT_EQ(menu->friendsButton()->tag(), 64);
    EXPECT_LT(menu->notificationsButton()->tag(), 0);
    EXPECT_LT(menu->myprofileButton()->tag(), 0);
    EXPECT_EQ(menu->homeButton()->tag(), 0);
    menu->cancel();

    // A guest: no messages, friends, photos, notifications or own profile.
    signInAs(0);
    menu = openMenu(forums.get());
    EXPECT_EQ(titles(shownEntries(menu)),
              QStringList({QStringLiteral("Home"), QStringLiteral("Forums"), QStringLiteral("Articles"),
                           QStringLiteral("Blogs"), QStringLiteral("Search"), QStringLiteral("Cancel")}));
    EXPECT_EQ(menu->menu()->frame().height(), memberHeight - 4 * entry);
    EXPECT_EQ(menu->searchButton()->frame().top(), menu->blogsButton()->frame().bottom());
    menu->cancel();

    // A forum without blogs hides them from members too.
    signInAs(7);
    Config::getInstance().setFeaturesInt(0x7FF & ~1);
    menu = openMenu(forums.get());
    EXPECT_TRUE(menu->blogsButton()->isHidden());
    EXPECT_FALSE(menu->articlesButton()->isHidden());
    EXPECT_EQ(menu->menu()->frame().height(), memberHeight - entry);
    EXPECT_FALSE(menu->isTagShown(1));
    EXPECT_TRUE(menu->isTagShown(0));
}

TEST_F(GlobalNavigationTest, TheMessagesEntryCountsTheUnreadMessagesOfTheSharedInfo)
{
    signInAs(7);
    context().setPart(std::make_shared<HomeInfo>());
    context().setPart<UnreadMessagesSource>(std::make_shared<SharedInfoUnreadMessages<HomeInfo>>(context()));
    context().part<HomeInfo>()->unread(0);
    auto forums = showSection<ForumController>();
    GlobalNavigationViewController* menu = openMenu(forums.get());
    EXPECT_EQ(menu->numberOfMessages()->text(), QString());
    EXPECT_EQ(menu->observedModel(), context().part<HomeInfo>().get());
    context().part<HomeInfo>()->unread(3);
    EXPECT_EQ(menu->numberOfMessages()->text(), QStringLiteral("(3)"));
    EXPECT_TRUE(menu->numberOfMessages()->isDescendantOfView(menu->messagesButton()));

    // A failure of the info is shown, and the count goes.
    context().part<HomeInfo>()->failedWithError(Error::withMessage(QStringLiteral("The forum is away.")));
    EXPECT_EQ(menu->numberOfMessages()->text(), QString());
    EXPECT_TRUE(alertMessages().contains(QStringLiteral("The forum is away.")));

    // Closed, the menu hears no more of it.
    menu->cancel();
    EXPECT_FALSE(context().part<HomeInfo>()->observers().contains(menu));
    EXPECT_EQ(menu->observedModel(), nullptr);
    context().part<HomeInfo>()->unread(9);
    EXPECT_EQ(menu->numberOfMessages()->text(), QString());

    // The screen that opened it goes: so does the menu, observing nothing.
    menu = openMenu(forums.get());
    ASSERT_TRUE(context().part<HomeInfo>()->observers().contains(menu));
    showSection<SearchController>();
    forums.reset();
    turnEventLoop();
    EXPECT_TRUE(context().part<HomeInfo>()->observers().isEmpty());
}

TEST_F(GlobalNavigationTest, ChoosingASectionReplacesTheStackUnlessItIsOnScreen)
{
    signInAs(7);
    auto forums = showSection<ForumController>();
    std::weak_ptr<ForumController> oldForums = forums;
    GlobalNavigationViewController* menu = openMenu(forums.get());

    // The section on screen: the menu only closes.
    tapView(menu->forumsButton());
    EXPECT_FALSE(menu->isOpen());
    EXPECT_EQ(navigation()->viewControllers().first(), forums);

    // Another section becomes the root of a new stack with its own button.
    menu = openMenu(forums.get());
    tapView(menu->searchButton());
    finishMoving();
    forums.reset();
    turnEventLoop();
    EXPECT_TRUE(oldForums.expired()) << "the old stack and its menu are let go";
    ASSERT_EQ(navigation()->viewControllers().size(), 1);
    auto* search = dynamic_cast<SearchController*>(navigation()->topViewController());
    ASSERT_NE(search, nullptr);
    ASSERT_NE(search->navButton(), nullptr);
    EXPECT_EQ(search->navButton()->titleForState(ControlState::Normal), QStringLiteral("Search"));
    EXPECT_EQ(navigation()->navigationBar()->tintColor(),
              Customizer::getInstance().colorForKey(kColorBackgroundButton));

    // Home stands on the login screen.
    menu = openMenu(search);
    tapView(menu->homeButton());
    finishMoving();
    ASSERT_EQ(navigation()->viewControllers().size(), 2);
    EXPECT_NE(dynamic_cast<LoginController*>(navigation()->viewControllers().first().get()), nullptr);
    auto* home = dynamic_cast<HomeController*>(navigation()->topViewController());
    ASSERT_NE(home, nullptr);
    const NavigationController* homeStack = navigation();

    // Home again, from home: nothing changes.
    menu = openMenu(home);
    tapView(menu->homeButton());
    finishMoving();
    EXPECT_FALSE(menu->isOpen());
    EXPECT_EQ(navigation(), homeStack);
    EXPECT_EQ(navigation()->topViewController(), home);

    // Home while the login screen itself is on top: only the menu closes.
    navigation()->popViewControllerAnimated(false);
    finishMoving();
    auto loginMenu = std::make_shared<GlobalNavigationViewController>(context());
    window->addSubview(loginMenu->view());
    loginMenu->gotoHomeScreen();
    finishMoving();
    EXPECT_FALSE(loginMenu->isOpen());
    EXPECT_EQ(navigation(), homeStack);
    EXPECT_EQ(navigation()->viewControllers().size(), 1);

    // The application delegate takes the replacing over.
    QList<ViewControllerPtr> given;
    context().part<RootNavigation>()->setHandler([&given](const ViewControllerPtr& screen) { given.append(screen); });
    loginMenu->gotoForumHomeScreen();
    ASSERT_EQ(given.size(), 1);
    EXPECT_NE(dynamic_cast<ForumController*>(given.first().get()), nullptr);
    EXPECT_EQ(navigation(), homeStack);
}
