#pragma once

#include "AppTest.h"

#include "platform/ui/Animator.h"
#include "platform/ui/Window.h"

#include "platform/foundation/ManualClock.h"

#include "PhoneWindow.h"
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
        ASSERT_TRUE(PhoneWindow::open(window));
    }
    void TearDown() override
    {
        PhoneWindow::close(window);
        AppTest::TearDown();
    }

    static void turnEventLoop() { PhoneWindow::turnEventLoop(); }
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
