#include "app/net/ApiClient.h"

#include "app/net/HTTPRequestAsyncronic.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/NetworkActivityIndicator.h"

#include <QCoreApplication>
#include <QNetworkAccessManager>
#include <QUrl>

#include <utility>

namespace {

// Never destroyed by itself: the client must end while the event loop and
// the platform's objects are still there, so `main` (and the tests) end it
// with install(nullptr) before the application goes.
std::shared_ptr<ApiClient>& installed()
{
    static auto* client = new std::shared_ptr<ApiClient>();
    return *client;
}

}  // namespace

ApiClient::ApiClient() = default;

ApiClient::~ApiClient()
{
    m_ending = true;
    cancelAll();
    // Its replies are its children and go with it.
    delete m_manager.data();
}

ApiClient& ApiClient::current()
{
    return *currentShared();
}

std::shared_ptr<ApiClient> ApiClient::currentShared()
{
    std::shared_ptr<ApiClient>& client = installed();
    if (!client)
        client = std::make_shared<ApiClient>();
    return client;
}

void ApiClient::install(std::shared_ptr<ApiClient> client)
{
    // The old client ends after the new one is in place, so that nothing it
    // tells on its way out reaches it again.
    const std::shared_ptr<ApiClient> old = std::exchange(installed(), std::move(client));
    if (installed())
        installed()->updateNetworkIndicator();
    else
        NetworkActivityIndicator::setVisible(false);
}

QNetworkAccessManager* ApiClient::networkAccessManager()
{
    // Also a child of the application, so that it never outlives the event loop.
    if (!m_manager)
        m_manager = new QNetworkAccessManager(QCoreApplication::instance());
    return m_manager;
}

void ApiClient::addPending(const std::shared_ptr<HTTPRequestAsyncronic>& request)
{
    if (!request || m_ending || isPending(request.get()))
        return;
    m_pending.append(request);
    updateNetworkIndicator();
}

void ApiClient::removePending(const HTTPRequestAsyncronic* request)
{
    std::shared_ptr<HTTPRequestAsyncronic> leaving;
    for (qsizetype i = 0; i < m_pending.size(); ++i) {
        if (m_pending.at(i).get() == request) {
            // Released after the list is consistent again: its destructor may
            // reach back into the client.
            leaving = m_pending.takeAt(i);
            break;
        }
    }
    updateNetworkIndicator();
}

bool ApiClient::isPending(const HTTPRequestAsyncronic* request) const
{
    for (const auto& pending : m_pending) {
        if (pending.get() == request)
            return true;
    }
    return false;
}

void ApiClient::cancelAll()
{
    m_renewal.abandon();
    const QList<std::shared_ptr<HTTPRequestAsyncronic>> inFlight = std::exchange(m_pending, {});
    for (const std::shared_ptr<HTTPRequestAsyncronic>& request : inFlight)
        request->cancel();
    updateNetworkIndicator();
}

void ApiClient::reportPageview(const QUrl& url)
{
    if (!m_pageviewHandler)
        return;
    Error error;
    if (m_pageviewHandler(url.path() + u'?' + url.query(), &error))
        return;
    const QString reason = error.description();
    if (!m_pageviewRefusalsLogged.contains(reason)) {
        m_pageviewRefusalsLogged.insert(reason);
        MU_LOG(Log::network, QStringLiteral("Analytics error: ") + reason);
    }
}

void ApiClient::updateNetworkIndicator() const
{
    // Only the installed client speaks for the process.
    if (installed().get() == this)
        NetworkActivityIndicator::setVisible(!m_pending.isEmpty());
}
