#pragma once

#include "ScreenTest.h"

#include "app/screens/LoginController.h"
#include "app/screens/UIViewControllerCommon.h"
#include "app/session/CurrentUser.h"
#include "platform/ui/Label.h"
#include "platform/ui/ViewControllerRegistry.h"

#include <functional>

// The application foundation's screens open the home screen by class name;
// the forum library's stands above this library, so its tests show who is
// signed in on a plain screen of that name instead (class names are read
// without their namespace).
namespace apphome {

class HomeController : public UIViewControllerCommon {
public:
    void buildNib(View* root) override
    {
        m_memberLabel = new Label(QRectF(20, 180, 280, 30));
        root->addSubview(m_memberLabel);
    }
    void viewWillAppear(bool) override
    {
        const CurrentUserPtr user = CurrentUser::currentUser();
        m_memberLabel->setText(user->userid() >= 1 ? QStringLiteral("Signed in as %1").arg(user->username())
                                                   : QStringLiteral("Reading as a guest"));
    }
    Label* memberLabel() const { return m_memberLabel; }

private:
    Label* m_memberLabel = nullptr;
};

// The screens' fixture with that home screen registered.
class HomeScreenTest : public ScreenTest {
protected:
    void SetUp() override
    {
        ScreenTest::SetUp();
        ViewControllerRegistry::registerClass<HomeController>(QStringLiteral("HomeController"));
    }
    // Launched to the login screen, waited on until `ready` holds for it;
    // null when the login screen is not on top.
    LoginController* launchToLoginWhen(const std::function<bool(LoginController*)>& ready)
    {
        launch();
        finishAnimations();
        auto* login = topScreenAs<LoginController>();
        EXPECT_NE(login, nullptr);
        if (login) {
            EXPECT_TRUE(waitUntil([&] { return ready(login); }));
        }
        return login;
    }
};

}  // namespace apphome
