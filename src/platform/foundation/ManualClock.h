#pragma once

#include "platform/foundation/Clock.h"

#include <QMap>

// A clock that moves only when told: for tests. Time starts at a fixed date;
// `advance` fires every timer that falls due on the way, in due order (timers
// due at the same moment in the order they were scheduled).
class ManualClock : public Clock {
public:
    ManualClock();

    QDateTime now() const override;
    qint64 elapsedMs() const override;
    TimerId schedule(qint64 delayMs, bool repeating, std::function<void()> fire) override;
    void cancel(TimerId id) override;
    bool isScheduled(TimerId id) const override;

    void setNow(const QDateTime& utc);
    void advance(qint64 ms);
    // Advances until no one-shot timer is left (repeating timers tick along the
    // way), at most `limitMs`; returns the time advanced.
    qint64 runOneShots(qint64 limitMs = 600000);
    int pendingCount() const { return int(m_timers.size()); }

private:
    struct Pending {
        qint64 due = 0;
        qint64 interval = 0;
        bool repeating = false;
        std::function<void()> fire;
    };
    bool fireNextUntil(qint64 until);

    QDateTime m_start;
    qint64 m_elapsed = 0;
    QMap<TimerId, Pending> m_timers;
    TimerId m_nextId = 1;
};
