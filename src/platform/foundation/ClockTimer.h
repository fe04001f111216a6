#pragma once

#include "platform/foundation/Clock.h"

// Owning handle of one timer of a clock: destroying or resetting the handle
// cancels the timer. Movable, not copyable.
class ClockTimer {
public:
    ClockTimer() = default;
    ClockTimer(std::weak_ptr<Clock> clock, Clock::TimerId id) : m_clock(std::move(clock)), m_id(id) {}
    ~ClockTimer() { cancel(); }
    ClockTimer(ClockTimer&& other) noexcept : m_clock(std::move(other.m_clock)), m_id(other.m_id) { other.m_id = 0; }
    ClockTimer& operator=(ClockTimer&& other) noexcept
    {
        if (this != &other) {
            cancel();
            m_clock = std::move(other.m_clock);
            m_id = other.m_id;
            other.m_id = 0;
        }
        return *this;
    }
    ClockTimer(const ClockTimer&) = delete;
    ClockTimer& operator=(const ClockTimer&) = delete;

    // True while the timer waits to fire (a one-shot timer that fired is not).
    bool isActive() const
    {
        const auto clock = m_clock.lock();
        return clock && m_id != 0 && clock->isScheduled(m_id);
    }

    void cancel()
    {
        if (const auto clock = m_clock.lock(); clock && m_id != 0)
            clock->cancel(m_id);
        m_id = 0;
    }

private:
    std::weak_ptr<Clock> m_clock;
    Clock::TimerId m_id = 0;
};
