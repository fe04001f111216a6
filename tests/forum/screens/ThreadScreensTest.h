#pragma once

#include "ScreenWindowTest.h"

#include "forum/screens/ForumThreadScreens.h"
#include "forum/screens/PostController.h"
#include "forum/model/Thread.h"

#include "platform/ui/AlertPresenter.h"
#include "platform/ui/Application.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/Screenshot.h"
#include "platform/ui/WebView.h"

#include <memory>

// The thread screens in a phone window against the loopback forum, as a
// member or a guest reaches them: the screens registered as main does, and
// web links going to a recording handler instead of the desktop.
class ThreadScreensTest : public ScreenWindowTest {
protected:
    void SetUp() override
    {
        ScreenWindowTest::SetUp();
        AlertPresenter::install();
        registerForumThreadScreens(context());
        Application::sharedApplication().setOpenURLHandler([this](const QUrl& url) {
            openedOutside.append(url);
            return true;
        });
    }
    void TearDown() override
    {
        Animator::shared().finishAll();
        dismissAlerts();
        navigation.reset();
        ScreenWindowTest::TearDown();
        WebView::setImageProvider(nullptr);
        Application::sharedApplication().setOpenURLHandler(nullptr);
    }

    // The thread page of the thread, as the root of the window's stack.
    std::shared_ptr<PostController> openThread(const ThreadPtr& thread)
    {
        auto screen = std::make_shared<PostController>(context());
        screen->setThread(thread);
        navigation = NavigationController::create(screen);
        window->setRootViewController(navigation);
        settleAll();
        return screen;
    }
    // Answers and animations, and the event loop once more.
    void settleAll()
    {
        EXPECT_TRUE(settle());
        Animator::shared().finishAll();
        TestSupport::processEvents();
    }
    // A picture of the window for the gallery (build/gallery).
    void savePicture(const QString& name)
    {
        Animator::shared().finishAll();
        TestSupport::processEvents();
        EXPECT_TRUE(Screenshot::savePNG(window.get(), TestSupport::galleryPath(name)));
    }

    std::shared_ptr<NavigationController> navigation;
    QList<QUrl> openedOutside;
};
