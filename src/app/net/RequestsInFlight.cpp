#include "app/net/RequestsInFlight.h"

RequestsInFlight::~RequestsInFlight()
{
    cancelAll();
}

void RequestsInFlight::add(const HTTPRequestPtr& request)
{
    if (request)
        m_requests.add(request.get());
}

void RequestsInFlight::remove(const HTTPRequestPtr& request)
{
    if (!request)
        return;
    m_requests.remove(request.get());
    request->setCallbackObject(nullptr);
}

bool RequestsInFlight::contains(const HTTPRequest* request) const
{
    return m_requests.contains(const_cast<HTTPRequest*>(request));
}

QList<HTTPRequestPtr> RequestsInFlight::requests() const
{
    QList<HTTPRequestPtr> alive;
    for (const WeakRef<HTTPRequest>& ref : m_requests.snapshot()) {
        if (HTTPRequest* request = ref.get()) {
            if (HTTPRequestPtr held = request->weak_from_this().lock())
                alive.append(held);
        }
    }
    return alive;
}

void RequestsInFlight::cancelAll()
{
    // Taken out first: cancelling may end what holds this set.
    const QList<WeakRef<HTTPRequest>> inFlight = m_requests.snapshot();
    m_requests.clear();
    for (const WeakRef<HTTPRequest>& ref : inFlight) {
        if (HTTPRequest* request = ref.get()) {
            request->setCallbackObject(nullptr);
            request->cancel();
        }
    }
}
