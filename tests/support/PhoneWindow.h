#pragma once

#include "platform/ui/Animator.h"
#include "platform/ui/Window.h"

#include <QTest>

#include <QCoreApplication>
#include <QEvent>

#include <memory>

// The phone window a test draws in, made and taken down the same way by
// every window fixture.
class PhoneWindow {
public:
    // A new key window, shown; true once it is active, for on a desktop the
    // shown window takes the keyboard before the user types.
    static bool open(std::unique_ptr<Window>& window)
    {
        window = std::make_unique<Window>();
        window->makeKeyAndVisible();
        return QTest::qWaitForWindowActive(window.get());
    }
    // What still moves ends, the window goes, and what it held is let go.
    static void close(std::unique_ptr<Window>& window)
    {
        Animator::shared().finishAll();
        window.reset();
        turnEventLoop();
    }
    // Runs posted calls and deferred deletions.
    static void turnEventLoop()
    {
        for (int i = 0; i < 3; ++i) {
            QCoreApplication::processEvents();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        }
    }
};
