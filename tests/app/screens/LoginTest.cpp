#include "ScreenTest.h"

#include "app/model/Config.h"
#include "app/screens/AppDelegate.h"
#include "HomeStandIn.h"
#include "app/screens/AppScreens.h"
#include "app/screens/LoginController.h"
#include "app/screens/RegistrationController.h"
#include "app/widgets/GradientButton.h"
#include "services/BetaClient.h"
#include "platform/ui/Button.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Keyboard.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationItem.h"
#include "platform/ui/SegmentedControl.h"
#include "platform/ui/TableView.h"
#include "platform/ui/ViewControllerRegistry.h"

#include "platform/foundation/AlertView.h"
#include "platform/foundation/Bundle.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/ManualClock.h"
#include "platform/foundation/StringExtensions.h"

#include <QApplication>
#include <QJsonObject>

#include <cmath>

namespace {

class LoginTest : public apphome::HomeScreenTest {
protected:
    // Launches and waits until the forum has told the login screen its features.
    LoginController* launchToLogin()
    {
        auto* login = launchToLoginWhen([](LoginController* shown) { return shown->skipNowButton()->isEnabled(); });
        if (login)
            settle();
        return login;
    }

    void signInThroughTheForm(LoginController* login, const QString& name, const QString& password)
    {
        type(login->fieldWithTag(1), name);
        pressReturn(login->fieldWithTag(1));
        type(login->fieldWithTag(2), password);
        pressReturn(login->fieldWithTag(2));
        tap(login->loginButton());
    }

    static int checkpointsNamed(const QString& name) { return int(BetaClient::checkpoints().count(name)); }
};

}  // namespace

TEST_F(LoginTest, SigningInWithASeededMemberReachesHomeAndThePasswordIsNeverShownNorWritten)
{
    LoginController* login = launchToLogin();
    ASSERT_NE(login, nullptr);
    EXPECT_TRUE(delegate()->controller()->isNavigationBarHidden());
    EXPECT_EQ(login->versionLabel()->text(), QStringLiteral("v1.0"));
    EXPECT_EQ(login->versionLabel()->frame(), QRectF(100, login->view()->frame().height() - 20, 210, 14));
    EXPECT_FALSE(login->isBusy());
    EXPECT_TRUE(login->loadingWheel()->animationImages().isEmpty()) << "the wheel's pictures wait until it turns";
    const int passed = checkpointsNamed(QStringLiteral("ON_LOGIN_SUCCESS"));

    // The sign-in is slow (its answer waits at the gate): the session opens
    // first, and the overlay stays up until the sign-in itself has answered.
    forum().holdAtGate(QStringLiteral("login_login"), QStringLiteral("signin"));
    signInThroughTheForm(login, QStringLiteral("alice"), QStringLiteral("secret1"));
    EXPECT_TRUE(login->isBusy());
    EXPECT_TRUE(login->loadingWheel()->isAnimating());
    EXPECT_EQ(login->loadingWheel()->animationImages().size(), 12);
    // Masked on screen while it is there.
    EXPECT_FALSE(displayedText(login->fieldWithTag(2)).contains(QStringLiteral("secret")));
    EXPECT_EQ(displayedText(login->fieldWithTag(2)).size(), 7);
    EXPECT_EQ(checkpointsNamed(QStringLiteral("ON_LOGIN_SUCCESS")), passed + 1);
    ASSERT_TRUE(waitUntil([] { return !CurrentUser::currentUser()->apiaccesstoken().isEmpty(); }));
    ASSERT_TRUE(waitUntil([&] { return forum().arrivedAtGate(QStringLiteral("signin")) == 1; }));
    EXPECT_TRUE(login->isBusy()) << "the session's opening is not the sign-in's answer";
    EXPECT_NE(topScreenAs<LoginController>(), nullptr);
    forum().openGate(QStringLiteral("signin"));

    ASSERT_TRUE(waitUntil([&] { return topScreenAs<apphome::HomeController>() != nullptr; }));
    EXPECT_FALSE(login->isBusy());
    EXPECT_FALSE(login->loadingWheel()->isAnimating());
    EXPECT_EQ(topScreenAs<apphome::HomeController>()->memberLabel()->text(), QStringLiteral("Signed in as alice"));
    ASSERT_EQ(screens().size(), 2);
    EXPECT_EQ(screens().first().get(), login);
    EXPECT_FALSE(delegate()->controller()->isNavigationBarHidden());
    ASSERT_NE(login->navigationItem()->backBarButtonItem(), nullptr);

    const TestForumRequest sent = lastRequest(QStringLiteral("login_login"));
    EXPECT_EQ(sent.field(QStringLiteral("mu_login_username")), u"alice");
    EXPECT_EQ(sent.field(QStringLiteral("mu_login_md5password_utf")), StringExtensions::md5(QStringLiteral("secret1")));
    // Gone from the form once home, and in no line of the log nor in the
    // stored settings.
    EXPECT_TRUE(login->fieldWithTag(2)->text().isEmpty());
    for (const QString& line : Log::recent())
        EXPECT_FALSE(line.contains(QStringLiteral("secret1"))) << line;
    EXPECT_FALSE(CurrentUser::currentUser()->archive().contains("secret1"));
}

TEST_F(LoginTest, AWrongPasswordShowsTheErrorOnceKeepsTheFormAndLetsTheUserTryAgain)
{
    LoginController* login = launchToLogin();
    ASSERT_NE(login, nullptr);
    signInThroughTheForm(login, QStringLiteral("alice"), QStringLiteral("wrong"));
    ASSERT_TRUE(waitUntil([&] { return !login->isBusy(); }));
    settle();
    EXPECT_EQ(alertsShown(), 1);
    ASSERT_EQ(alertsOnScreen().size(), 1);
    EXPECT_EQ(alertsOnScreen().first()->message(), tableText(QStringLiteral("badlogin")));
    EXPECT_NE(topScreenAs<LoginController>(), nullptr);
    EXPECT_EQ(login->fieldWithTag(1)->text(), QStringLiteral("alice"));
    EXPECT_EQ(login->fieldWithTag(2)->text(), QStringLiteral("wrong"));
    EXPECT_TRUE(CurrentUser::currentUser()->anonymous()) << "a guest again";
    EXPECT_EQ(CurrentUser::currentUser()->userid(), 0);

    // OK, then the right password, typed over the wrong one.
    tapAlertButton(0);
    EXPECT_TRUE(alertsOnScreen().isEmpty());
    login->fieldWithTag(2)->setText(QString());
    type(login->fieldWithTag(2), QStringLiteral("secret1"));
    tap(login->loginButton());
    ASSERT_TRUE(waitUntil([&] { return topScreenAs<apphome::HomeController>() != nullptr; }));
    EXPECT_EQ(alertsShown(), 1);
    EXPECT_EQ(CurrentUser::currentUser()->userid(), forum().memberId(QStringLiteral("alice")));
}

TEST_F(LoginTest, AnEmptyNameOrPasswordAsksForBothAndSendsNothing)
{
    LoginController* login = launchToLogin();
    ASSERT_NE(login, nullptr);
    forum().clearLog();
    const QString missing = Bundle::main().localizedString(QStringLiteral("reg_missing_user_or_pass"));
    ASSERT_NE(missing, QStringLiteral("reg_missing_user_or_pass")) << "the string table has the text";

    tap(login->loginButton());
    ASSERT_EQ(alertsOnScreen().size(), 1);
    EXPECT_EQ(alertsOnScreen().first()->message(), missing);
    EXPECT_TRUE(alertsOnScreen().first()->title().isEmpty());
    EXPECT_EQ(alertsOnScreen().first()->buttonTitles(), QStringList{Bundle::main().localizedString(QStringLiteral("ok"))});
    tapAlertButton(0);

    type(login->fieldWithTag(1), QStringLiteral("alice"));
    tap(login->loginButton());
    ASSERT_EQ(alertsOnScreen().size(), 1);
    EXPECT_EQ(alertsOnScreen().first()->message(), missing);
    EXPECT_FALSE(login->isBusy());
    settle();
    EXPECT_TRUE(forum().requests().isEmpty()) << apiLog().join(u' ');
}

TEST_F(LoginTest, SkipGoesHomeAsAGuestAndTheCheckpointsAreRecorded)
{
    LoginController* login = launchToLogin();
    ASSERT_NE(login, nullptr);
    const int skipped = checkpointsNamed(QStringLiteral("ON_SKIP_LOGIN_CLICK"));
    tap(login->skipNowButton());
    EXPECT_EQ(checkpointsNamed(QStringLiteral("ON_SKIP_LOGIN_CLICK")), skipped + 1);
    ASSERT_TRUE(waitUntil([&] { return topScreenAs<apphome::HomeController>() != nullptr; }));
    EXPECT_EQ(topScreenAs<apphome::HomeController>()->memberLabel()->text(), QStringLiteral("Reading as a guest"));
    EXPECT_TRUE(CurrentUser::currentUser()->anonymous());
    EXPECT_FALSE(CurrentUser::currentUser()->apiaccesstoken().isEmpty());
    EXPECT_TRUE(logged(QStringLiteral("BetaClient: Checkpoint Passed - ON_SKIP_LOGIN_CLICK")));

    // Back, and "skip" again with the session open: home at once, no request.
    delegate()->controller()->popViewControllerAnimated(false);
    finishAnimations();
    settle();
    forum().clearLog();
    tap(login->skipNowButton());
    finishAnimations();
    EXPECT_NE(topScreenAs<apphome::HomeController>(), nullptr);
    EXPECT_TRUE(forum().requests().isEmpty());
}

TEST_F(LoginTest, TheForumGoingSilentDuringTheSignInEndsTheOverlayWithTheConnectionError)
{
    LoginController* login = launchToLogin();
    ASSERT_NE(login, nullptr);
    // The answer waits at the gate until the overlay has been seen: on a busy
    // machine the whole sign-in may otherwise end within the press itself.
    forum().holdAtGate(QStringLiteral("login_login"), QStringLiteral("signin"));
    forum().dropConnection(QStringLiteral("login_login"), 1, TestForum::Drop::AfterHead);
    signInThroughTheForm(login, QStringLiteral("carol"), QStringLiteral("secret4"));
    ASSERT_TRUE(waitUntil([&] { return forum().arrivedAtGate(QStringLiteral("signin")) == 1; }));
    EXPECT_TRUE(login->isBusy());
    forum().openGate(QStringLiteral("signin"));
    ASSERT_TRUE(waitUntil([&] { return !login->isBusy(); }, std::chrono::milliseconds(15000)));
    settle();
    EXPECT_EQ(forum().requests(QStringLiteral("login_login")).size(), 1);
    EXPECT_EQ(alertsShown(), 1);
    ASSERT_EQ(alertsOnScreen().size(), 1);
    // The forum was reached; its answer broke off.
    EXPECT_EQ(alertsOnScreen().first()->message(), tableText(QStringLiteral("unexpected_server_response")));
    EXPECT_NE(topScreenAs<LoginController>(), nullptr);
    EXPECT_EQ(login->fieldWithTag(1)->text(), QStringLiteral("carol"));
    EXPECT_EQ(login->fieldWithTag(2)->text(), QStringLiteral("secret4"));
}

TEST_F(LoginTest, ALineThatClosesBeforeTheAnswerOpensOneSessionAndSignsInOnce)
{
    LoginController* login = launchToLogin();
    ASSERT_NE(login, nullptr);
    const int sessionsBefore = forum().issuedTokenCount();
    const auto pressAndReadTheAlert = [&](const QString& password) {
        login->fieldWithTag(2)->setText(QString());
        type(login->fieldWithTag(2), password);
        tap(login->loginButton());
        EXPECT_TRUE(waitUntil([&] { return !login->isBusy(); }, std::chrono::milliseconds(15000)));
        settle();
        const QList<std::shared_ptr<AlertView>> shown = alertsOnScreen();
        const QString message = shown.size() == 1 ? shown.first()->message() : QString();
        if (!shown.isEmpty())
            tapAlertButton(0);
        return message;
    };
    type(login->fieldWithTag(1), QStringLiteral("alice"));

    // The forum opens the session, then the line closes before a byte of its
    // answer: the member hears of it, and the forum has opened that one.
    forum().clearLog();
    forum().dropConnection(QStringLiteral("api_init"), 1, TestForum::Drop::AfterHandling);
    EXPECT_EQ(pressAndReadTheAlert(QStringLiteral("secret1")), tableText(QStringLiteral("nointernet")));
    EXPECT_EQ(forum().requests(QStringLiteral("api_init")).size(), 1);
    EXPECT_EQ(forum().issuedTokenCount(), sessionsBefore + 1);
    EXPECT_TRUE(forum().requests(QStringLiteral("login_login")).isEmpty());
    EXPECT_EQ(topScreenAs<LoginController>(), login);

    // A wrong password whose answer is lost so: counted once by the forum.
    forum().clearLog();
    forum().dropConnection(QStringLiteral("login_login"), 1, TestForum::Drop::AfterHandling);
    EXPECT_EQ(pressAndReadTheAlert(QStringLiteral("wrong")), tableText(QStringLiteral("nointernet")));
    EXPECT_EQ(apiLog(), (QStringList{QStringLiteral("api_init"), QStringLiteral("login_login")}));
    EXPECT_EQ(forum().issuedTokenCount(), sessionsBefore + 2);

    // The next press goes through, on the session now open.
    forum().clearLog();
    login->fieldWithTag(2)->setText(QString());
    type(login->fieldWithTag(2), QStringLiteral("secret1"));
    tap(login->loginButton());
    ASSERT_TRUE(waitUntil([&] { return topScreenAs<apphome::HomeController>() != nullptr; }));
    EXPECT_EQ(apiLog().count(QStringLiteral("login_login")), 1);
    EXPECT_EQ(forum().issuedTokenCount(), sessionsBefore + 2);
    EXPECT_EQ(CurrentUser::currentUser()->userid(), forum().memberId(QStringLiteral("alice")));
}

TEST_F(LoginTest, ASignInEndedWithoutAWordStillEndsTheOverlay)
{
    LoginController* login = launchToLogin();
    ASSERT_NE(login, nullptr);
    // Another alert is up when the forum closes under the sign-in: the closed
    // answer ends the request without an alert of its own, and its verdict
    // ends the overlay.
    type(login->fieldWithTag(1), QStringLiteral("dave"));
    type(login->fieldWithTag(2), QStringLiteral("secret5"));
    AlertView::create(QString(), QStringLiteral("Something else"), nullptr, {QStringLiteral("OK")})->show();
    forum().closeForum(QStringLiteral("Closed for the night"));
    login->login();
    ASSERT_TRUE(waitUntil([&] { return !forum().requests(QStringLiteral("login_login")).isEmpty(); }));
    settle();
    TestSupport::processEvents();
    EXPECT_FALSE(login->isBusy());
    clock()->advance(LoginController::kSignInWatchMs);
    EXPECT_FALSE(login->isBusy());
    EXPECT_EQ(alertsShown(), 1) << "the alert on screen speaks for it";
    EXPECT_TRUE(CurrentUser::currentUser()->anonymous());
}

TEST_F(LoginTest, RegistrationIsOfferedOnlyWithARegistrationScreenAndNoPaidSubscriptions)
{
    // No registration screen: nothing to offer.
    ViewControllerRegistry::unregisterClass(QStringLiteral("RegistrationController"));
    LoginController* login = launchToLogin();
    ASSERT_NE(login, nullptr);
    EXPECT_TRUE(login->registerButton()->isHidden());
    EXPECT_TRUE(login->noAccountLabel()->isHidden());
    EXPECT_FALSE(Config::getInstance().isPaidSubscription());
    quit();

    // With the application's own, the button leads there.
    AppScreens::registerClasses(context());
    login = launchToLogin();
    ASSERT_NE(login, nullptr);
    EXPECT_FALSE(login->registerButton()->isHidden());
    EXPECT_FALSE(login->noAccountLabel()->isHidden());
    EXPECT_GT(login->skipNowButton()->frame().top(), login->registerButton()->frame().bottom());
    const int registered = checkpointsNamed(QStringLiteral("ON_REGISTRATION_CLICK"));
    tap(login->registerButton());
    finishAnimations();
    EXPECT_EQ(screens().size(), 2);
    EXPECT_NE(topScreenAs<RegistrationController>(), nullptr);
    // The sign-up screen opens a session for its options: that answer is not the next launch's.
    settle();
    EXPECT_EQ(checkpointsNamed(QStringLiteral("ON_REGISTRATION_CLICK")), registered + 1);
    quit();

    // A forum that sells subscriptions: no registration in the application.
    QJsonObject features;
    features.insert(QStringLiteral("paidsubs"), 1);
    forum().setAnswer(QStringLiteral("api_init"), QJsonObject{{QStringLiteral("features"), features}}, 1);
    login = launchToLogin();
    ASSERT_NE(login, nullptr);
    EXPECT_TRUE(login->registerButton()->isHidden());
    EXPECT_TRUE(login->noAccountLabel()->isHidden());
    EXPECT_TRUE(Config::getInstance().isPaidSubscription());
    EXPECT_TRUE(login->skipNowButton()->isEnabled());
}

TEST_F(LoginTest, TheFormStaysUnderThePointerAndTheKeyboardLeadsFromFieldToFieldAndSignsIn)
{
    LoginController* login = launchToLogin();
    ASSERT_NE(login, nullptr);
    View* root = login->view();
    const QRectF rest = root->frame();
    TextField* name = login->fieldWithTag(1);
    TextField* password = login->fieldWithTag(2);
    EXPECT_EQ(name->frame(), QRectF(25, 10, 270, 25));
    EXPECT_FALSE(name->isSecureTextEntry());
    EXPECT_TRUE(password->isSecureTextEntry());
    EXPECT_EQ(name->returnKeyType(), ReturnKeyType::Next);
    EXPECT_EQ(password->returnKeyType(), ReturnKeyType::Done);
    EXPECT_EQ(name->placeholder(), Bundle::main().localizedString(QStringLiteral("login_username")));
    const QPointF nameAt = name->convertRect(name->bounds(), nullptr).center();
    const QPointF passwordAt = password->convertRect(password->bounds(), nullptr).center();

    // A click in each field, where it stood before the first: the keyboard
    // takes no room, so nothing moves and the password goes, masked, into
    // the password field.
    click(nameAt);
    finishAnimations();
    EXPECT_TRUE(name->isEditing());
    EXPECT_EQ(login->activeTextField(), name);
    EXPECT_EQ(root->frame(), rest);
    EXPECT_EQ(login->animatedDistance(), 0);
    EXPECT_TRUE(Keyboard::isShown());
    EXPECT_EQ(Keyboard::frame().height(), 0);
    EXPECT_FALSE(login->navigation()->isVisible()) << "no keyboard bar covers the foot of the form";
    EXPECT_FALSE(login->navigation()->isEnabledForSegmentAtIndex(0));
    EXPECT_TRUE(login->navigation()->isEnabledForSegmentAtIndex(1));
    typeKeys(QStringLiteral("alice"));
    click(passwordAt);
    finishAnimations();
    EXPECT_EQ(root->frame(), rest);
    EXPECT_TRUE(password->isEditing());
    EXPECT_FALSE(name->isEditing());
    typeKeys(QStringLiteral("secret1"));
    EXPECT_EQ(name->text(), QStringLiteral("alice"));
    EXPECT_EQ(password->text(), QStringLiteral("secret1"));
    EXPECT_FALSE(displayedText(password).contains(QStringLiteral("secret")));

    // Shift+Tab and Tab go back and forth, on from the fields to the
    // button under them.
    key(Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(login->activeTextField(), name);
    EXPECT_TRUE(name->isEditing());
    EXPECT_FALSE(password->isEditing());
    key(Qt::Key_Tab);
    EXPECT_EQ(login->activeTextField(), password);
    key(Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), login->loginButton());
    EXPECT_FALSE(password->isEditing());
    key(Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_TRUE(password->isEditing());
    key(Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(login->activeTextField(), name);
    EXPECT_EQ(root->frame(), rest);
    EXPECT_EQ(name->text(), QStringLiteral("alice")) << "Tab types nothing";

    // Return goes from the name to the password, and from the password it
    // signs in.
    key(Qt::Key_Return);
    EXPECT_EQ(login->activeTextField(), password);
    EXPECT_FALSE(login->isBusy());
    key(Qt::Key_Return);
    EXPECT_FALSE(password->isEditing());
    EXPECT_EQ(root->frame(), rest);
    ASSERT_TRUE(waitUntil([&] { return topScreenAs<apphome::HomeController>() != nullptr; }));
    EXPECT_EQ(lastRequest(QStringLiteral("login_login")).field(QStringLiteral("mu_login_username")), u"alice");
}
