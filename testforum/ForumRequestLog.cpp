#include "ForumRequestLog.h"

#include <algorithm>

void ForumRequestLog::setLimits(const Limits& limits)
{
    m_limits = limits;
    m_limits.maxEntries = std::max(1, m_limits.maxEntries);
    m_limits.maxItemBytes = std::max<qint64>(0, m_limits.maxItemBytes);
    trim();
}

qint64 ForumRequestLog::weight(const TestForumRequest& entry)
{
    qint64 bytes = entry.body.size() + entry.answer.size();
    for (const TestForumUpload& upload : entry.uploads)
        bytes += upload.data.size();
    return bytes;
}

void ForumRequestLog::cut(QByteArray& bytes, bool& truncated) const
{
    if (bytes.size() > m_limits.maxItemBytes) {
        bytes.truncate(m_limits.maxItemBytes);
        bytes.squeeze();
        truncated = true;
    }
}

qint64 ForumRequestLog::record(TestForumRequest entry)
{
    cut(entry.body, entry.truncated);
    for (TestForumUpload& upload : entry.uploads)
        cut(upload.data, entry.truncated);
    m_bytes += weight(entry);
    m_entries.push_back(std::move(entry));
    const qint64 number = m_first + qint64(m_entries.size()) - 1;
    trim();
    return number;
}

TestForumRequest* ForumRequestLog::find(qint64 number)
{
    const qint64 index = number - m_first;
    return index >= 0 && index < qint64(m_entries.size()) ? &m_entries[std::size_t(index)] : nullptr;
}

void ForumRequestLog::finish(qint64 number, int status, const QByteArray& answer)
{
    TestForumRequest* entry = find(number);
    if (!entry)
        return;
    m_bytes -= entry->answer.size();
    entry->status = status;
    entry->answer = answer;
    cut(entry->answer, entry->truncated);
    m_bytes += entry->answer.size();
    trim();
}

void ForumRequestLog::trim()
{
    // The newest entry always stays, whatever it weighs.
    while (m_entries.size() > 1
           && (qint64(m_entries.size()) > m_limits.maxEntries || m_bytes > m_limits.maxBytes)) {
        m_bytes -= weight(m_entries.front());
        m_entries.pop_front();
        ++m_first;
    }
}

QList<TestForumRequest> ForumRequestLog::all() const
{
    return QList<TestForumRequest>(m_entries.begin(), m_entries.end());
}

QList<TestForumRequest> ForumRequestLog::forMethod(const QString& apiMethod) const
{
    QList<TestForumRequest> found;
    for (const TestForumRequest& entry : m_entries) {
        if (entry.apiMethod == apiMethod)
            found.append(entry);
    }
    return found;
}

void ForumRequestLog::clear()
{
    m_first += qint64(m_entries.size());
    m_entries.clear();
    m_bytes = 0;
}
