#include "app/net/TokenRenewal.h"

#include "app/net/JSONHTTPRequest.h"
#include "app/net/SessionRenewal.h"
#include "platform/foundation/Log.h"

#include <utility>

void TokenRenewal::begin(const std::shared_ptr<JSONHTTPRequest>& starter)
{
    if (!starter || m_running)
        return;
    m_running = true;
    m_starter = starter;
    m_replacing = starter->extractApiAccessToken();
    enqueue(starter);
    SessionRenewal* renewer = SessionRenewal::current();
    if (!renewer) {
        MU_LOG(Log::network, QStringLiteral("No session can renew the access token"));
        fail();
        return;
    }
    renewer->renovateAccessTokenAndCallSuccessSelector(
        SELECTOR(JSONHTTPRequest, processWaitingForAccessTokenRequests),
        SELECTOR(JSONHTTPRequest, cancelWaitingForAccessTokenRequests), starter);
}

void TokenRenewal::succeed()
{
    if (m_running)
        end(true);
}

void TokenRenewal::fail()
{
    if (m_running)
        end(false);
}

void TokenRenewal::enqueue(const std::shared_ptr<JSONHTTPRequest>& request)
{
    if (request && !m_queue.contains(request))
        m_queue.append(request);
}

void TokenRenewal::remove(const JSONHTTPRequest* request)
{
    m_queue.removeIf([request](const std::shared_ptr<JSONHTTPRequest>& waiting) { return waiting.get() == request; });
}

void TokenRenewal::abandon()
{
    m_running = false;
    m_starter.reset();
    m_queue.clear();
    m_replacing = QString();
    m_givenUp.clear();
}

void TokenRenewal::end(bool renewed)
{
    m_running = false;
    if (!renewed && !m_replacing.isNull())
        m_givenUp.insert(m_replacing);
    m_replacing = QString();
    // Taken out first: the callbacks below may send, queue or renew anew.
    const std::shared_ptr<JSONHTTPRequest> starter = std::exchange(m_starter, nullptr);
    const QList<std::shared_ptr<JSONHTTPRequest>> queue = std::exchange(m_queue, {});
    for (const std::shared_ptr<JSONHTTPRequest>& request : queue) {
        // A callback of an earlier one may have cancelled it.
        if (!request->isPending())
            continue;
        if (renewed)
            request->retryRequest();
        else
            request->failRenewal();
    }
}
