#include "PlatformTest.h"

#include "platform/foundation/ClockTimer.h"
#include "platform/foundation/ManualClock.h"
#include "platform/foundation/SystemClock.h"

using ClockTest = PlatformTest;

TEST_F(ClockTest, ManualTimeFiresTimersInDueOrderAndHandlesCancelOnDestruction)
{
    auto clock = std::make_shared<ManualClock>();
    QStringList fired;
    ClockTimer late = clock->after(300, [&] { fired << QStringLiteral("late"); });
    ClockTimer early = clock->after(100, [&] { fired << QStringLiteral("early"); });
    ClockTimer sameAsEarly = clock->after(100, [&] {
        fired << QStringLiteral("same");
        // A timer scheduled from inside a callback counts from the callback's moment.
        clock->schedule(50, false, [&] { fired << QStringLiteral("nested"); });
    });
    {
        ClockTimer dropped = clock->after(50, [&] { fired << QStringLiteral("dropped"); });
    }
    int ticks = 0;
    ClockTimer tick = clock->every(100, [&] { ++ticks; });

    clock->advance(99);
    EXPECT_TRUE(fired.isEmpty());
    clock->advance(1);
    EXPECT_EQ(fired, (QStringList{QStringLiteral("early"), QStringLiteral("same")}));
    EXPECT_FALSE(early.isActive());
    EXPECT_TRUE(late.isActive());
    clock->advance(250);
    EXPECT_EQ(fired, (QStringList{QStringLiteral("early"), QStringLiteral("same"), QStringLiteral("nested"),
                                  QStringLiteral("late")}));
    EXPECT_EQ(ticks, 3);
    EXPECT_EQ(clock->elapsedMs(), 350);

    tick.cancel();
    EXPECT_EQ(clock->runOneShots(), 0);
    EXPECT_EQ(clock->pendingCount(), 0);
}

TEST_F(ClockTest, RunOneShotsFinishesDelaysButNotRepeatingTimers)
{
    auto clock = std::make_shared<ManualClock>();
    const QDateTime start = clock->now();
    bool done = false;
    int frames = 0;
    ClockTimer frame = clock->every(16, [&] { ++frames; });
    ClockTimer fade = clock->after(2000, [&] { done = true; });
    EXPECT_EQ(clock->runOneShots(), 2000);
    EXPECT_TRUE(done);
    EXPECT_EQ(frames, 125);
    EXPECT_EQ(start.msecsTo(clock->now()), 2000);
    EXPECT_TRUE(frame.isActive());
}

TEST_F(ClockTest, TheSystemClockFiresOnTheEventLoopAndHonoursCancel)
{
    auto clock = std::make_shared<SystemClock>();
    bool fired = false;
    bool cancelledFired = false;
    ClockTimer timer = clock->after(10, [&] { fired = true; });
    ClockTimer cancelled = clock->after(5, [&] { cancelledFired = true; });
    cancelled.cancel();
    EXPECT_TRUE(waitFor([&] { return fired; }));
    TestSupport::processEvents();
    EXPECT_FALSE(cancelledFired);
    EXPECT_FALSE(timer.isActive());
}
