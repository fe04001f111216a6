#pragma once

#include "platform/ui/Animator.h"
#include "platform/ui/View.h"
#include "platform/ui/Window.h"

#include "platform/foundation/ManualClock.h"

#include <QApplication>
#include <QMouseEvent>

#include <gtest/gtest.h>

#include <memory>

// A fresh manual clock and a fresh phone window for each test.
class UiTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        clock = std::make_shared<ManualClock>();
        Clock::install(clock);
        window = std::make_unique<Window>();
        window->makeKeyAndVisible();
    }
    void TearDown() override
    {
        Animator::shared().finishAll();
        window.reset();
        turnEventLoop();
        Clock::install(nullptr);
    }

    // Runs posted calls and deferred deletions.
    static void turnEventLoop()
    {
        for (int i = 0; i < 3; ++i) {
            QCoreApplication::processEvents();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        }
    }

    // Mouse events as the toolkit delivers them, at window points.
    void mouse(QEvent::Type type, const QPointF& windowPoint, Qt::MouseButtons buttons = Qt::LeftButton)
    {
        QWidget* target = window->childAt(windowPoint.toPoint());
        if (!target)
            target = window.get();
        if (type == QEvent::MouseButtonPress)
            pressed = target;
        else if (pressed)
            target = pressed;
        const QPointF local = target->mapFrom(window.get(), windowPoint);
        const QPointF global = window->mapToGlobal(windowPoint);
        QMouseEvent event(type, local, local, global, Qt::LeftButton,
                          type == QEvent::MouseButtonRelease ? Qt::NoButton : buttons, Qt::NoModifier);
        QApplication::sendEvent(target, &event);
        if (type == QEvent::MouseButtonRelease)
            pressed = nullptr;
    }
    void tap(const QPointF& windowPoint)
    {
        mouse(QEvent::MouseButtonPress, windowPoint);
        mouse(QEvent::MouseButtonRelease, windowPoint);
    }
    void drag(const QPointF& from, const QPointF& to, int steps = 8)
    {
        mouse(QEvent::MouseButtonPress, from);
        for (int i = 1; i <= steps; ++i) {
            clock->advance(16);
            mouse(QEvent::MouseMove, from + (to - from) * (qreal(i) / steps));
        }
    }

    std::shared_ptr<ManualClock> clock;
    std::unique_ptr<Window> window;
    QPointer<QWidget> pressed;
};
