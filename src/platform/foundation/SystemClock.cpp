#include "platform/foundation/SystemClock.h"

#include <QTimer>

SystemClock::SystemClock()
{
    m_elapsed.start();
}

SystemClock::~SystemClock()
{
    for (QTimer* timer : std::as_const(m_timers))
        delete timer;
}

QDateTime SystemClock::now() const
{
    return QDateTime::currentDateTimeUtc();
}

qint64 SystemClock::elapsedMs() const
{
    return m_elapsed.elapsed();
}

Clock::TimerId SystemClock::schedule(qint64 delayMs, bool repeating, std::function<void()> fire)
{
    const TimerId id = m_nextId++;
    auto* timer = new QTimer();
    timer->setSingleShot(!repeating);
    timer->setTimerType(Qt::PreciseTimer);
    timer->setInterval(std::chrono::milliseconds(std::max<qint64>(0, delayMs)));
    m_timers.insert(id, timer);
    QObject::connect(timer, &QTimer::timeout, timer, [this, id, repeating, fire = std::move(fire)]() {
        // A one-shot timer leaves the table before it fires, so the callback
        // may schedule or cancel freely; the QTimer itself goes later.
        if (!repeating) {
            if (QTimer* done = m_timers.take(id))
                done->deleteLater();
        }
        const auto keep = fire;
        keep();
    });
    timer->start();
    return id;
}

void SystemClock::cancel(TimerId id)
{
    if (QTimer* timer = m_timers.take(id)) {
        timer->stop();
        timer->deleteLater();
    }
}

bool SystemClock::isScheduled(TimerId id) const
{
    return m_timers.contains(id);
}
