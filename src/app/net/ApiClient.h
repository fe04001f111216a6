#pragma once

#include "app/net/TokenRenewal.h"
#include "platform/foundation/Error.h"

#include <QList>
#include <QPointer>
#include <QSet>
#include <QString>

#include <functional>
#include <memory>

class HTTPRequestAsyncronic;
class QNetworkAccessManager;
class QUrl;

// The process's access to the forum: the one network access manager, the
// requests in flight (the pending list owns each until it finishes, fails or
// is cancelled) and the renewal of the access token. `main` installs one;
// each test installs a fresh one. A request belongs to the client that was
// installed when it was first sent.
class ApiClient : public std::enable_shared_from_this<ApiClient> {
public:
    // What reports a page view for every request; false with the reason when
    // the page view was refused (the analytics tracker, installed by `main`).
    using PageviewHandler = std::function<bool(const QString& page, Error* error)>;

    ApiClient();
    // Cancels and frees every request still in flight.
    ~ApiClient();
    ApiClient(const ApiClient&) = delete;
    ApiClient& operator=(const ApiClient&) = delete;

    // The installed client; a new one when none is installed.
    static ApiClient& current();
    static std::shared_ptr<ApiClient> currentShared();
    // Replaces the installed client; the old one ends (its requests are
    // cancelled) unless someone still holds it. Null leaves none installed.
    static void install(std::shared_ptr<ApiClient> client);

    QNetworkAccessManager* networkAccessManager();

    // The pending list; the network indicator is on exactly while it is not empty.
    void addPending(const std::shared_ptr<HTTPRequestAsyncronic>& request);
    void removePending(const HTTPRequestAsyncronic* request);
    bool isPending(const HTTPRequestAsyncronic* request) const;
    int pendingCount() const { return int(m_pending.size()); }
    const QList<std::shared_ptr<HTTPRequestAsyncronic>>& pending() const { return m_pending; }
    // Cancels every request in flight (no callbacks) and drops the renewal.
    void cancelAll();

    TokenRenewal& renewal() { return m_renewal; }
    const TokenRenewal& renewal() const { return m_renewal; }

    void setPageviewHandler(PageviewHandler handler) { m_pageviewHandler = std::move(handler); }
    // The address's path and query as a page view; a refusal is only logged,
    // each reason once (a tracker that is not started refuses every request).
    void reportPageview(const QUrl& url);

    // Shows the network indicator exactly while the pending list is not
    // empty (only the installed client speaks for the process).
    void updateNetworkIndicator() const;

private:

    QPointer<QNetworkAccessManager> m_manager;
    QList<std::shared_ptr<HTTPRequestAsyncronic>> m_pending;
    TokenRenewal m_renewal;
    PageviewHandler m_pageviewHandler;
    QSet<QString> m_pageviewRefusalsLogged;
    bool m_ending = false;
};
