#include "HomeStandIn.h"

#include "app/screens/AppDelegate.h"
#include "app/screens/LoginController.h"
#include "app/screens/RegistrationController.h"
#include "app/widgets/GradientButton.h"
#include "app/widgets/RegistrationForm.h"
#include "platform/ui/BarButtonItem.h"
#include "platform/ui/Label.h"
#include "platform/ui/Screenshot.h"
#include "platform/ui/Window.h"

#include "platform/foundation/AlertView.h"
#include "platform/foundation/Bundle.h"

using namespace Qt::Literals::StringLiterals;

// The sign-up screen before its form: it says it is loading, and says so
// when the forum's options cannot be had, with nothing to send meanwhile.
namespace {

class RegistrationControllerTest : public apphome::HomeScreenTest {
protected:
    RegistrationController* openFromLogin()
    {
        auto* login = launchToLoginWhen([](LoginController* shown) { return !shown->registerButton()->isHidden(); });
        if (!login)
            return nullptr;
        tap(login->registerButton());
        finishAnimations();
        return topScreenAs<RegistrationController>();
    }
    static void picture(const QString& name)
    {
        finishAnimations();
        ASSERT_TRUE(Screenshot::savePNG(Window::keyWindow(), TestSupport::galleryPath(name)));
    }
};

}  // namespace

TEST_F(RegistrationControllerTest, UntilTheFormComesTheScreenSaysWhyAndSendsNothing)
{
    forum().delayMethod(u"register"_s, 300);
    RegistrationController* screen = openFromLogin();
    ASSERT_NE(screen, nullptr);
    EXPECT_EQ(screen->form(), nullptr);
    EXPECT_EQ(screen->statusLabel()->text(), Bundle::main().localizedString(u"loading"_s));
    ASSERT_NE(screen->submitButton(), nullptr);
    EXPECT_FALSE(screen->submitButton()->isEnabled());
    picture(u"registration-loading.png"_s);
    ASSERT_TRUE(waitUntil([&] { return screen->form() != nullptr; }));
    EXPECT_TRUE(screen->statusLabel()->isHidden());
    EXPECT_TRUE(screen->submitButton()->isEnabled());
    quit();

    // No answer at all: an alert, and the screen says the form could not come.
    forum().answerHttpStatus(u"register"_s, 500, {}, 3);
    screen = openFromLogin();
    ASSERT_NE(screen, nullptr);
    ASSERT_TRUE(waitUntil([&] { return !alertsOnScreen().isEmpty(); }));
    settle();
    EXPECT_EQ(screen->form(), nullptr);
    EXPECT_EQ(screen->statusLabel()->text(), Bundle::main().localizedString(u"reg_load_failed"_s));
    EXPECT_FALSE(screen->submitButton()->isEnabled());
    screen->submit();
    EXPECT_TRUE(forum().requests(u"register_addmember"_s).isEmpty());
    picture(u"registration-failed.png"_s);
}
