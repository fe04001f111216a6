#include "platform/foundation/Clock.h"

#include "platform/foundation/ClockTimer.h"
#include "platform/foundation/SystemClock.h"

namespace {

std::shared_ptr<Clock>& installed()
{
    static std::shared_ptr<Clock> clock;
    return clock;
}

}  // namespace

Clock& Clock::current()
{
    auto& clock = installed();
    if (!clock)
        clock = std::make_shared<SystemClock>();
    return *clock;
}

void Clock::install(std::shared_ptr<Clock> clock)
{
    installed() = std::move(clock);
}

ClockTimer Clock::after(qint64 delayMs, std::function<void()> fire)
{
    // Handles hold the clock weakly, so a clock replaced in a test leaves
    // handles that simply do nothing.
    return ClockTimer(weak_from_this(), schedule(delayMs, false, std::move(fire)));
}

ClockTimer Clock::every(qint64 intervalMs, std::function<void()> fire)
{
    return ClockTimer(weak_from_this(), schedule(intervalMs, true, std::move(fire)));
}
