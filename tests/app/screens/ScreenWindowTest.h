#pragma once

#include "AppTest.h"

#include "platform/ui/Animator.h"
#include "platform/ui/Window.h"

#include "platform/foundation/ManualClock.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPointer>

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

    // A press and release at a window point, as the toolkit delivers them.
    void tap(const QPointF& windowPoint)
    {
        QPointer<QWidget> target = window->childAt(windowPoint.toPoint());
        if (!target)
            target = window.get();
        for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
            if (!target)
                return;
            const QPointF local = target->mapFrom(window.get(), windowPoint);
            QMouseEvent event(type, local, local, window->mapToGlobal(windowPoint), Qt::LeftButton,
                              type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(target, &event);
        }
    }
    // A tap in the middle of a view.
    void tapView(View* view) { tap(view->convertPoint(view->bounds().center(), nullptr)); }

    std::unique_ptr<Window> window;
};
