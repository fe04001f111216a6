#pragma once

#include "AppTest.h"

#include "platform/ui/Animator.h"
#include "platform/ui/Window.h"

#include "platform/foundation/ManualClock.h"

#include "UserInput.h"

#include <QTest>

#include <QApplication>

#include <memory>

// The application's fixture with a phone window: screens against the
// session, the configuration and the loopback forum, touched as a user does.
class ScreenWindowTest : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        window = std::make_unique<Window>();
        window->makeKeyAndVisible();
        // As on a desktop: the shown window takes the keyboard before the user types.
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }
    void TearDown() override
    {
        Animator::shared().finishAll();
        window.reset();
        turnEventLoop();
        AppTest::TearDown();
    }

    // Runs posted calls and deferred deletions.
    static void turnEventLoop()
    {
        for (int i = 0; i < 3; ++i) {
            QCoreApplication::processEvents();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        }
    }
    // Lets every animation and delay of the manual clock run out.
    void finishMoving()
    {
        clock()->advance(1000);
        Animator::shared().finishAll();
        turnEventLoop();
    }

    // A click at a window point, through the window system.
    void tap(const QPointF& windowPoint) { UserInput::click(window.get(), windowPoint); }
    // A tap in the middle of a view.
    void tapView(View* view) { tap(view->convertPoint(view->bounds().center(), nullptr)); }

    std::unique_ptr<Window> window;
};
