#include "AppTest.h"

#include "app/screens/AppDelegate.h"
#include "app/screens/GlobalNavigationViewController.h"
#include "app/screens/MuController.h"
#include "app/screens/MurmoraViewController.h"
#include "app/screens/RootNavigation.h"
#include "app/screens/UnreadMessagesSource.h"
#include "forum/model/ForumInfo.h"
#include "neighbours/screens/MyProfile.h"
#include "platform/ui/Button.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/ViewControllerRegistry.h"
#include "platform/ui/Window.h"
#include "wiring/AppWiring.h"

#include "platform/foundation/ClassName.h"
#include "platform/foundation/ManualClock.h"

#include <QSet>

using AppWiringTest = AppTest;

// The application as main builds it: its session forgets the notices a
// member dismissed whenever the member signs out, from the moment the wiring
// is built (nothing need have asked for the forum tree first), and no longer
// once the wiring has gone.
TEST_F(AppWiringTest, TheSessionClearsTheForumTreesStateFromConstructionToTeardown)
{
    const CurrentUserPtr user = signIn(QStringLiteral("alice"), QStringLiteral("secret1"));
    {
        const AppWiring wiring(context());
        ASSERT_NE(context().existingPart<ForumInfo>(), nullptr);
        ForumInfo::saveDismissedNoticesList({QStringLiteral("5")});
        user->logout();
        ASSERT_TRUE(settle());
        EXPECT_FALSE(user->isMember());
        EXPECT_TRUE(ForumInfo::dismissedNoticesList().isEmpty());
    }
    EXPECT_EQ(context().existingPart<ForumInfo>(), nullptr);

    signIn(QStringLiteral("bob"), QStringLiteral("secret2"));
    ForumInfo::saveDismissedNoticesList({QStringLiteral("6")});
    user->logout();
    ASSERT_TRUE(settle());
    EXPECT_EQ(ForumInfo::dismissedNoticesList(), QStringList{QStringLiteral("6")});
}

// Two runs one after the other in one process, as the tests are: each
// context replaces its screen stack through its own delegate, counts unread
// messages from its own forum tree, and the screens made on it read its
// member, not the last run's.
TEST_F(AppWiringTest, EachContextHasItsOwnStackHandlerUnreadCountAndMember)
{
    const auto runOn = [this](const QString& member, std::weak_ptr<Model>* tree) {
        const AppWiring wiring(context());
        AppDelegate delegate(context());
        delegate.setWindow(std::make_unique<Window>());

        // The menu counts from this context's tree...
        const std::shared_ptr<UnreadMessagesSource> source = context().existingPart<UnreadMessagesSource>();
        ASSERT_NE(source, nullptr);
        const std::shared_ptr<ForumInfo> own = context().existingPart<ForumInfo>();
        ASSERT_NE(own, nullptr);
        EXPECT_EQ(source->sharedModel(), own);
        EXPECT_TRUE(tree->expired()) << "the last run's tree went with its context";
        *tree = own;

        // ...and a section it opens replaces this delegate's stack.
        const auto forums = std::dynamic_pointer_cast<MurmoraViewController>(
            ViewControllerRegistry::create(QStringLiteral("ForumController")));
        ASSERT_NE(forums, nullptr);
        context().part<RootNavigation>()->setController(forums);
        ASSERT_NE(delegate.controller(), nullptr);
        EXPECT_EQ(delegate.controller()->topViewController(), forums.get());
        forums->showGlobalNavigationView();
        GlobalNavigationViewController* menu = forums->globalNavigationView();
        ASSERT_NE(menu, nullptr);
        EXPECT_EQ(menu->observedModel(), own.get());
        menu->gotoSearch();
        EXPECT_EQ(className(*delegate.controller()->topViewController()), QStringLiteral("SearchController"));

        // The member's own profile, by an in-app link, is this context's member.
        const auto profile = std::dynamic_pointer_cast<MyProfile>(
            MuController::muController(context(), QStringLiteral("mu:profile")));
        ASSERT_NE(profile, nullptr);
        EXPECT_EQ(profile->user(), context().currentUser());
        EXPECT_EQ(profile->user()->username(), member);
        EXPECT_FALSE(menu->myprofileButton()->isHidden());
        menu->cancel();
    };

    std::weak_ptr<Model> tree;
    signIn(QStringLiteral("alice"), QStringLiteral("secret1"));
    runOn(QStringLiteral("alice"), &tree);
    ASSERT_FALSE(HasFatalFailure());

    dropContext();
    buildContext();
    signIn(QStringLiteral("bob"), QStringLiteral("secret2"));
    runOn(QStringLiteral("bob"), &tree);
}

// Every screen the application opens by name, on the wired context alone
// (this fixture sets no part of its own): each shown as the root of the
// stack, as the menu shows a section, and a section's menu opened. Whatever
// part a screen asks for as it loads and appears, the wiring has set; a part
// it misses ends this walk with the part's name.
TEST_F(AppWiringTest, EveryScreenOpensOnTheWiredContextAlone)
{
    signIn(QStringLiteral("moderator"), QStringLiteral("modpass"));
    const AppWiring wiring(context());
    AppDelegate delegate(context());
    delegate.setWindow(std::make_unique<Window>());
    const QStringList names = ViewControllerRegistry::registeredClasses();
    // The application's own, the forum's and the stand-ins' screens.
    for (const char* expected : {"LoginController", "HomeController", "ForumController", "PostController", "MyProfile"})
        ASSERT_TRUE(names.contains(QString::fromLatin1(expected))) << expected;

    QSet<QString> shown;
    for (const QString& name : names) {
        SCOPED_TRACE(qPrintable(name));
        const ViewControllerPtr screen = ViewControllerRegistry::create(name);
        ASSERT_NE(screen, nullptr);
        context().part<RootNavigation>()->setController(screen);
        settle();
        clock()->advance(5000);
        TestSupport::processEvents();
        ASSERT_NE(delegate.controller(), nullptr);
        EXPECT_TRUE(delegate.controller()->viewControllers().contains(screen)) << "the stack's root";
        if (screen->isViewLoaded())
            shown.insert(name);
        if (auto* section = dynamic_cast<MurmoraViewController*>(screen.get())) {
            section->showGlobalNavigationView();
            ASSERT_NE(section->globalNavigationView(), nullptr);
            section->globalNavigationView()->cancel();
        }
    }
    EXPECT_EQ(shown.size(), names.size()) << "every screen loaded its view";
}
