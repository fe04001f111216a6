#pragma once

#include <httplib.h>

#include <QByteArray>
#include <QHash>
#include <QSet>
#include <QString>

#include <condition_variable>
#include <functional>
#include <mutex>

// The few plain HTTP routes beside the forum that the HTTP layer's tests need:
// an echo, a 404 sent in chunks, a 304, a property list, a 500, and gates that
// answer once the test opens them (see TestForum). They share the forum's lock,
// its stop signal and its log.
class ForumRawRoutes {
public:
    struct Log {
        std::function<qint64(const httplib::Request&)> arrive;  // logs the request; its number
        std::function<void(qint64, int, const QByteArray&)> finish;  // its status and answer
    };

    ForumRawRoutes(std::recursive_mutex& mutex, std::condition_variable_any& wake, const bool& stopping)
        : m_mutex(mutex), m_wake(wake), m_stopping(stopping) {}

    void install(httplib::Server& server, Log log);
    // Under the forum's lock.
    void open(const QString& gate);
    int arrived(const QString& gate) const { return m_arrived.value(gate); }
    // Counts an arrival and waits until the gate is open or the forum stops.
    // Not under the forum's lock.
    void waitAtGate(const QString& gate);

private:
    void answer(const httplib::Request& request, httplib::Response& response);
    // Waits this long, or less when the forum stops. False when it stops.
    bool pause(int ms);

    std::recursive_mutex& m_mutex;
    std::condition_variable_any& m_wake;
    const bool& m_stopping;
    Log m_log;
    QHash<QString, int> m_arrived;
    QSet<QString> m_open;
};
