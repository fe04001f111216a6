#pragma once

#include <QList>
#include <QSet>
#include <QString>

#include <memory>

class JSONHTTPRequest;

// The one renewal of an expired access token an API client runs at a time,
// and the requests that wait for it. A request whose answer says its token
// is no longer valid begins it; the session renews the token and reports
// success or failure here; then every waiting request goes out again with
// the new token, or fails.
//
// A renewal that fails gives up the token it was to replace: the session
// signs the member out, and a call still on its way with that token, whose
// stale-token answer comes only now, ends as the waiting calls did. It never
// begins a renewal of its own, which would open a session nobody asked for.
class TokenRenewal {
public:
    TokenRenewal() = default;
    TokenRenewal(const TokenRenewal&) = delete;
    TokenRenewal& operator=(const TokenRenewal&) = delete;

    bool isRunning() const { return m_running; }

    // The starter waits first; the session is asked to renew. Without a
    // session that renews, the renewal fails at once.
    void begin(const std::shared_ptr<JSONHTTPRequest>& starter);
    // The session's reports. Each ends the renewal: the waiting requests, in
    // the order they came, go out again with the new token or fail. A report
    // when no renewal runs does nothing.
    void succeed();
    void fail();

    void enqueue(const std::shared_ptr<JSONHTTPRequest>& request);
    void remove(const JSONHTTPRequest* request);
    // The request that began the running renewal (held until it ends).
    const std::shared_ptr<JSONHTTPRequest>& starter() const { return m_starter; }
    // Whether a renewal failed to replace this token (never a null one).
    bool gaveUp(const QString& token) const { return !token.isNull() && m_givenUp.contains(token); }
    const QList<std::shared_ptr<JSONHTTPRequest>>& waiting() const { return m_queue; }

    // Drops the renewal and its queue without telling anyone (the client ends).
    void abandon();

private:
    void end(bool renewed);

    bool m_running = false;
    std::shared_ptr<JSONHTTPRequest> m_starter;
    // The token the running renewal is to replace.
    QString m_replacing;
    QSet<QString> m_givenUp;
    QList<std::shared_ptr<JSONHTTPRequest>> m_queue;
};
