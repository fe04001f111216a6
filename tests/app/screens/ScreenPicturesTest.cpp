#include "ScreenTest.h"

#include "app/screens/AppDelegate.h"
#include "HomeStandIn.h"
#include "app/screens/LoginController.h"
#include "platform/ui/Button.h"
#include "platform/ui/Screenshot.h"
#include "platform/ui/Window.h"

// Pictures of the application's first screens, written under the build
// folder (gallery/) to be looked at; the login screen's is the README's.
namespace {

using TestSupport::galleryPath;

// A picture is written and shows more than one colour in its middle.
bool savedAndDrawn(const QString& name)
{
    const bool saved = Screenshot::savePNG(Window::keyWindow(), galleryPath(name));
    const QImage image(galleryPath(name));
    if (!saved || image.isNull())
        return false;
    const QRgb corner = image.pixel(image.width() / 2, image.height() / 2);
    for (int y = image.height() / 4; y < image.height() * 3 / 4; y += 7) {
        for (int x = 0; x < image.width(); x += 7) {
            if (image.pixel(x, y) != corner)
                return true;
        }
    }
    return false;
}

using ScreenPicturesTest = apphome::HomeScreenTest;

}  // namespace

TEST_F(ScreenPicturesTest, SplashLoginBusyAndHome)
{
    launch();
    ASSERT_TRUE(savedAndDrawn(QStringLiteral("splash.png")));
    finishAnimations();
    auto* login = topScreenAs<LoginController>();
    ASSERT_NE(login, nullptr);
    ASSERT_TRUE(waitUntil([&] { return login->skipNowButton()->isEnabled(); }));
    settle();
    ASSERT_TRUE(savedAndDrawn(QStringLiteral("login.png")));

    type(login->fieldWithTag(1), QStringLiteral("alice"));
    finishAnimations();
    ASSERT_TRUE(savedAndDrawn(QStringLiteral("login-editing.png")));
    pressReturn(login->fieldWithTag(1));
    type(login->fieldWithTag(2), QStringLiteral("secret1"));
    finishAnimations();
    ASSERT_TRUE(savedAndDrawn(QStringLiteral("login-editing-password.png")));
    forum().delayMethod(QStringLiteral("login_login"), 1000);
    login->login();
    finishAnimations();
    ASSERT_TRUE(login->isBusy());
    ASSERT_TRUE(savedAndDrawn(QStringLiteral("login-busy.png")));
    ASSERT_TRUE(waitUntil([&] { return topScreenAs<apphome::HomeController>() != nullptr; }));
    ASSERT_TRUE(savedAndDrawn(QStringLiteral("home.png")));
}
