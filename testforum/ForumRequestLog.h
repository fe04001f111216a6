#pragma once

#include "TestForumRequest.h"

#include <QList>
#include <QString>

#include <deque>

// The forum's memory of the requests it saw, bounded so that the demo server can
// run for hours: the last `maxEntries` requests, and fewer when their bodies,
// answers and uploads together pass `maxBytes`. Each of those is cut at
// `maxItemBytes` (the entry says so). Entries keep their number when older ones
// go, so that an answer can still find its request. Not locked: the forum guards it.
class ForumRequestLog {
public:
    struct Limits {
        int maxEntries = 2000;
        qint64 maxBytes = 64LL * 1024 * 1024;
        qint64 maxItemBytes = 4LL * 1024 * 1024;
    };

    void setLimits(const Limits& limits);
    const Limits& limits() const { return m_limits; }

    // Cuts the entry's bytes to the limits and keeps it; returns its number.
    qint64 record(TestForumRequest entry);
    // The entry of that number while it is kept; null once it has gone.
    TestForumRequest* find(qint64 number);
    void finish(qint64 number, int status, const QByteArray& answer);

    QList<TestForumRequest> all() const;
    QList<TestForumRequest> forMethod(const QString& apiMethod) const;
    void clear();
    qint64 keptBytes() const { return m_bytes; }

private:
    static qint64 weight(const TestForumRequest& entry);
    void cut(QByteArray& bytes, bool& truncated) const;
    void trim();

    Limits m_limits;
    std::deque<TestForumRequest> m_entries;
    qint64 m_first = 0;  // number of the oldest kept entry
    qint64 m_bytes = 0;
};
