#pragma once

#include "platform/foundation/Clock.h"

#include <QElapsedTimer>
#include <QHash>

class QTimer;

// The real clock: wall time from the system, timers on the event loop.
class SystemClock : public Clock {
public:
    SystemClock();
    ~SystemClock() override;

    QDateTime now() const override;
    qint64 elapsedMs() const override;
    TimerId schedule(qint64 delayMs, bool repeating, std::function<void()> fire) override;
    void cancel(TimerId id) override;
    bool isScheduled(TimerId id) const override;

private:
    QElapsedTimer m_elapsed;
    QHash<TimerId, QTimer*> m_timers;
    TimerId m_nextId = 1;
};
