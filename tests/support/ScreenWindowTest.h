#pragma once

#include "AppTest.h"

#include "app/screens/RootNavigation.h"
#include "platform/ui/Animator.h"
#include "platform/ui/Screenshot.h"
#include "platform/ui/Window.h"

#include "platform/foundation/ManualClock.h"

#include "PhoneWindow.h"
#include "TestSupport.h"
#include "UserInput.h"

#include <QTest>

#include <QApplication>
#include <QImage>
#include <QSet>

#include <memory>

// The application's fixture with a phone window: screens against the
// session, the configuration and the loopback forum, touched as a user does,
// in the application's one screen stack (its context's part).
class ScreenWindowTest : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        context().setPart(std::make_shared<RootNavigation>());
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

    // The window saved at twice its size under the gallery, with more than
    // `fewestColours` colours below the bar: not a blank screen.
    void savePicture(const QString& name, int fewestColours)
    {
        finishMoving();
        const QString path = TestSupport::galleryPath(name);
        ASSERT_TRUE(Screenshot::savePNG(window.get(), path, 2));
        const QImage image(path);
        ASSERT_FALSE(image.isNull());
        QSet<QRgb> colours;
        for (int y = 130; y < image.height(); y += 3) {
            for (int x = 0; x < image.width(); x += 3)
                colours.insert(image.pixel(x, y));
        }
        EXPECT_GT(colours.size(), fewestColours) << name.toStdString();
    }

    std::unique_ptr<Window> window;
};
