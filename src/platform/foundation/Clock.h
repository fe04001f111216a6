#pragma once

#include <QDateTime>

#include <functional>
#include <memory>

class ClockTimer;

// The one source of time for the whole application: wall time, a monotonic
// tick for animations, and timers. `main` installs the system clock; tests
// install a ManualClock and move time forward themselves, so a 2-second fade
// or a 3-second delay runs at once and in a known order.
class Clock : public std::enable_shared_from_this<Clock> {
public:
    using TimerId = quint64;

    virtual ~Clock() = default;

    // The installed clock; a system clock until someone installs another.
    static Clock& current();
    // Replaces the installed clock. Timers of the old clock are dropped with it.
    static void install(std::shared_ptr<Clock> clock);

    // Wall time in UTC.
    virtual QDateTime now() const = 0;
    // Milliseconds on a clock that never goes back; for durations only.
    virtual qint64 elapsedMs() const = 0;

    // Calls `fire` after `delayMs` (every `delayMs` when repeating) until
    // cancelled. Prefer `after`/`every`, whose handle cancels on destruction.
    virtual TimerId schedule(qint64 delayMs, bool repeating, std::function<void()> fire) = 0;
    // Cancelling an unknown or finished timer does nothing.
    virtual void cancel(TimerId id) = 0;
    virtual bool isScheduled(TimerId id) const = 0;

    // A one-shot timer that is cancelled when the handle goes: an owner that
    // keeps the handle as a member can never be called after it has gone.
    ClockTimer after(qint64 delayMs, std::function<void()> fire);
    ClockTimer every(qint64 intervalMs, std::function<void()> fire);
};
