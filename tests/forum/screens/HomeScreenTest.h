#pragma once

#include "ForumScreenTest.h"

#include "BlogContentWiring.h"

#include "forum/screens/HomeController.h"

namespace forumtest {
// The login screen the home screen stands on, standing in under its class
// name (read without the namespace).
class LoginController : public UIViewControllerCommon {};
}  // namespace forumtest

// The home screen on the loopback forum, with blog entries and articles
// among its rows as main registers them; the home screen stands on a plain
// screen named as the login screen it stands on in the application.
class HomeScreenTest : public ForumScreenTest {
protected:
    void SetUp() override
    {
        ForumScreenTest::SetUp();
        wireBlogContent();
    }
    std::shared_ptr<HomeController> openHome()
    {
        showRoot(std::make_shared<forumtest::LoginController>());
        auto home = std::make_shared<HomeController>(context());
        navigation()->pushViewController(home, false);
        finishMoving();
        settleAll();
        return home;
    }
};
