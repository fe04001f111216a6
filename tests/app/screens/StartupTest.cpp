#include "ScreenTest.h"

#include "app/config/Customizer.h"
#include "app/screens/AppDelegate.h"
#include "HomeStandIn.h"
#include "app/screens/LoginController.h"
#include "services/AnalyticsTracker.h"
#include "services/BetaClient.h"
#include "platform/ui/AlertPresenter.h"
#include "platform/ui/Application.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationBar.h"
#include "platform/ui/ResourceImages.h"
#include "platform/ui/StatusBar.h"
#include "platform/ui/Window.h"

#include "platform/foundation/AlertView.h"
#include "platform/foundation/ManualClock.h"

using StartupTest = apphome::HomeScreenTest;

namespace {

void comeBackToTheForeground()
{
    Application& application = Application::sharedApplication();
    application.setApplicationState(Application::State::Background);
    application.setApplicationState(Application::State::Active);
}

}  // namespace

TEST_F(StartupTest, TheLoginScreenIsTheRootUnderASplashThatFadesOverTwoSeconds)
{
    AppDelegate& app = launch();
    ASSERT_EQ(screens().size(), 1);
    EXPECT_NE(topScreenAs<LoginController>(), nullptr);
    EXPECT_EQ(Window::keyWindow(), app.window());
    EXPECT_EQ(app.window()->rootViewController().get(), app.controller());
    EXPECT_EQ(app.controller()->navigationBar()->tintColor(),
              Customizer::getInstance().colorForKey(kColorBackgroundButton));
    EXPECT_TRUE(BetaClient::isStarted());
    EXPECT_EQ(BetaClient::token(), AppDelegate::kBetaServiceToken);
    EXPECT_FALSE(AnalyticsTracker::sharedTracker().isStarted()) << "no analytics account in this build";

    // The splash: our pictures, over everything but the status bar.
    ImageView* splash = app.splashView();
    ASSERT_NE(splash, nullptr);
    EXPECT_EQ(splash->frame(), QRectF(0, 0, 320, 480));
    EXPECT_EQ(app.mulogoView()->frame(), QRectF(0, 400, 320, 36));
    EXPECT_EQ(splash->superview(), app.window());
    // Built after the splash's first frame, the login screen still lies
    // beneath it, and the status bar above both.
    const QList<View*> layers = app.window()->subviews();
    EXPECT_LT(layers.indexOf(app.controller()->view()), layers.indexOf(splash));
    EXPECT_EQ(layers.last(), app.window()->statusBar());
    EXPECT_FALSE(splash->image().isNull()) << "Default.png";
    EXPECT_FALSE(app.mulogoView()->image().isNull()) << "poweredby.png";
    EXPECT_EQ(ResourceImages::pointSize(splash->image()), QSizeF(320, 480));

    clock()->advance(1000);
    ASSERT_NE(app.splashView(), nullptr);
    EXPECT_GT(splash->presentationAlpha(), 0.05);
    EXPECT_LT(splash->presentationAlpha(), 0.95);
    clock()->advance(1100);
    TestSupport::processEvents();
    EXPECT_EQ(app.splashView(), nullptr) << "gone from the window once faded";

    // Back in the foreground with the login screen on top: no forum check.
    forum().clearLog();
    comeBackToTheForeground();
    settle();
    EXPECT_FALSE(apiLog().contains(QStringLiteral("member")));
}

TEST_F(StartupTest, ARestartWithAStoredMemberGoesStraightHomeAboveTheLoginScreen)
{
    const CurrentUserPtr alice = signIn(QStringLiteral("alice"), QStringLiteral("secret1"));
    const QString token = alice->apiaccesstoken();
    ASSERT_FALSE(token.isEmpty());

    // What a restart does: the user comes back from the store.
    CurrentUser::resetInstance();
    launch();
    ASSERT_EQ(screens().size(), 2);
    EXPECT_NE(dynamic_cast<LoginController*>(screens().at(0).get()), nullptr);
    auto* home = topScreenAs<apphome::HomeController>();
    ASSERT_NE(home, nullptr);
    EXPECT_EQ(home->memberLabel()->text(), QStringLiteral("Signed in as alice"));
    EXPECT_FALSE(delegate()->controller()->isNavigationBarHidden());

    // The login screen underneath asked the forum for its features without
    // ending the member's session.
    ASSERT_TRUE(waitUntil([&] { return !forum().requests(QStringLiteral("api_init")).isEmpty(); }));
    settle();
    EXPECT_EQ(CurrentUser::currentUser()->apiaccesstoken(), token);
    EXPECT_TRUE(forum().isTokenValid(token));
    EXPECT_EQ(forum().memberIdForToken(token), forum().memberId(QStringLiteral("alice")));

    // Back leads to the login screen, which hides the bar.
    delegate()->controller()->popViewControllerAnimated(true);
    finishAnimations();
    EXPECT_NE(topScreenAs<LoginController>(), nullptr);
    EXPECT_TRUE(delegate()->controller()->isNavigationBarHidden());
    EXPECT_EQ(topScreen()->view()->frame(), QRectF(0, 0, 320, 460)) << "the whole screen once the bar has gone";
}

TEST_F(StartupTest, BackInTheForegroundWithTheForumClosedOneAlertLeadsToTheLoginScreen)
{
    signIn(QStringLiteral("bob"), QStringLiteral("secret2"));
    CurrentUser::resetInstance();
    launch();
    finishAnimations();
    ASSERT_NE(topScreenAs<apphome::HomeController>(), nullptr);
    settle();

    // Open: the probe finds nothing.
    forum().clearLog();
    comeBackToTheForeground();
    ASSERT_TRUE(waitUntil([&] { return !forum().requests(QStringLiteral("member")).isEmpty(); }));
    settle();
    EXPECT_TRUE(alertsOnScreen().isEmpty());
    EXPECT_NE(topScreenAs<apphome::HomeController>(), nullptr);

    forum().closeForum(QStringLiteral("Back at noon"));
    comeBackToTheForeground();
    ASSERT_TRUE(waitUntil([&] { return !alertsOnScreen().isEmpty(); }));
    settle();
    // Again while the alert is up: still the one alert.
    comeBackToTheForeground();
    ASSERT_TRUE(waitUntil([&] { return forum().requests(QStringLiteral("member")).size() == 3; }));
    settle();
    ASSERT_EQ(alertsOnScreen().size(), 1);
    EXPECT_EQ(alertsShown(), 1);
    const std::shared_ptr<AlertView> alert = alertsOnScreen().first();
    EXPECT_EQ(alert->message(), QStringLiteral("Back at noon"));
    EXPECT_EQ(alert->buttonTitles(), QStringList{QStringLiteral("OK")});

    // The user presses OK: the login screen is the whole stack. The old
    // stack outlives the alert's handler and goes right after it.
    const std::weak_ptr<ViewController> oldHome = screens().last();
    const std::weak_ptr<ViewController> oldLogin = screens().first();
    ASSERT_TRUE(AlertPresenter::pressButton(alert.get(), 0));
    EXPECT_FALSE(oldHome.expired());
    EXPECT_FALSE(oldLogin.expired());
    ASSERT_EQ(screens().size(), 1);
    EXPECT_NE(topScreenAs<LoginController>(), nullptr);
    EXPECT_NE(screens().first(), oldLogin.lock());
    TestSupport::processEvents();
    EXPECT_TRUE(oldHome.expired());
    EXPECT_TRUE(oldLogin.expired());
    EXPECT_TRUE(alertsOnScreen().isEmpty());
}
