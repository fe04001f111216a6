#include "platform/foundation/ManualClock.h"

#include <QTimeZone>

ManualClock::ManualClock() : m_start(QDate(2026, 1, 1), QTime(12, 0), Qt::UTC) {}

QDateTime ManualClock::now() const
{
    return m_start.addMSecs(m_elapsed);
}

qint64 ManualClock::elapsedMs() const
{
    return m_elapsed;
}

Clock::TimerId ManualClock::schedule(qint64 delayMs, bool repeating, std::function<void()> fire)
{
    const TimerId id = m_nextId++;
    const qint64 delay = std::max<qint64>(0, delayMs);
    // A repeating timer of interval 0 would never let time move on.
    m_timers.insert(id, Pending{m_elapsed + delay, repeating ? std::max<qint64>(1, delay) : 0, repeating, std::move(fire)});
    return id;
}

void ManualClock::cancel(TimerId id)
{
    m_timers.remove(id);
}

bool ManualClock::isScheduled(TimerId id) const
{
    return m_timers.contains(id);
}

void ManualClock::setNow(const QDateTime& utc)
{
    m_start = utc.addMSecs(-m_elapsed);
}

bool ManualClock::fireNextUntil(qint64 until)
{
    // The earliest due timer; ids grow, so among equals the first scheduled wins.
    auto next = m_timers.end();
    for (auto it = m_timers.begin(); it != m_timers.end(); ++it) {
        if (it->due <= until && (next == m_timers.end() || it->due < next->due))
            next = it;
    }
    if (next == m_timers.end())
        return false;
    m_elapsed = std::max(m_elapsed, next->due);
    std::function<void()> fire = next->fire;
    if (next->repeating)
        next->due += next->interval;
    else
        m_timers.erase(next);
    fire();
    return true;
}

void ManualClock::advance(qint64 ms)
{
    const qint64 until = m_elapsed + std::max<qint64>(0, ms);
    while (fireNextUntil(until)) {
    }
    m_elapsed = until;
}

qint64 ManualClock::runOneShots(qint64 limitMs)
{
    const qint64 start = m_elapsed;
    const qint64 limit = start + limitMs;
    auto nextOneShot = [this]() {
        qint64 due = -1;
        for (const Pending& p : std::as_const(m_timers)) {
            if (!p.repeating && (due < 0 || p.due < due))
                due = p.due;
        }
        return due;
    };
    for (qint64 due = nextOneShot(); due >= 0 && due <= limit; due = nextOneShot())
        advance(due - m_elapsed);
    return m_elapsed - start;
}
