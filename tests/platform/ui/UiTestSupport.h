#pragma once

#include "platform/ui/Animator.h"
#include "platform/ui/View.h"
#include "platform/ui/Window.h"

#include "platform/foundation/ManualClock.h"

#include "PhoneWindow.h"
#include "UserInput.h"

#include <QTest>

#include <QApplication>

#include <gtest/gtest.h>

#include <memory>

// A fresh manual clock and a fresh phone window for each test.
class UiTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        clock = std::make_shared<ManualClock>();
        Clock::install(clock);
        ASSERT_TRUE(PhoneWindow::open(window));
    }
    void TearDown() override
    {
        PhoneWindow::close(window);
        Clock::install(nullptr);
    }

    static void turnEventLoop() { PhoneWindow::turnEventLoop(); }

    // The mouse at window points, through the window system.
    void mouse(QEvent::Type type, const QPointF& windowPoint)
    {
        if (type == QEvent::MouseButtonPress)
            UserInput::press(window.get(), windowPoint);
        else if (type == QEvent::MouseButtonRelease)
            UserInput::release(window.get(), windowPoint);
        else
            UserInput::move(window.get(), windowPoint);
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
};
