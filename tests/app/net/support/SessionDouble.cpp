#include "SessionDouble.h"

#include "app/net/JSONHTTPRequest.h"

#include <utility>

SessionDouble::SessionDouble()
{
    SessionCredentials::setCurrent(this);
    SessionRenewal::setCurrent(this);
}

SessionDouble::~SessionDouble() = default;

void SessionDouble::setCredentials(const QString& token, const QString& clientId, const QString& secret)
{
    m_token = token;
    m_clientId = clientId;
    m_secret = secret;
}

void SessionDouble::renovateAccessTokenAndCallSuccessSelector(const Selector& success, const Selector& fail,
                                                              const HTTPRequestPtr& object)
{
    ++m_renewals;
    m_success = success;
    m_fail = fail;
    m_object = object;
    m_token = QString();
}

void SessionDouble::succeed(const QString& newToken)
{
    m_token = newToken;
    report(true);
}

void SessionDouble::fail()
{
    report(false);
}

void SessionDouble::report(bool success)
{
    const HTTPRequestPtr object = std::exchange(m_object, nullptr);
    const Selector selector = success ? m_success : m_fail;
    selector.perform(object.get(), object);
}
